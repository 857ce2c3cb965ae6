#pragma once
// The seven readings. Each is a function over the main window's inputs and its
// hidden result panel, named after the hidden button whose click runs it.
// Errors are raised as tessaly::Error (the window shows them in its error box;
// the reading stops where it was and keeps what it had written). A message the
// window shows in a box of its own, with the reading going on, is handed to
// `notify`.

#include <functional>

#include "readings/models.h"

namespace tessaly {

class ReferenceStore;

using Notify = std::function<void(const QString& message)>;

void FlatButton3Click(const MainInputs& in, ResultPanel& panel, ReferenceStore& store,
                      const Notify& notify = {});                                        // 测算姓名
void FlatButton6Click(const MainInputs& in, ResultPanel& panel, ReferenceStore& store);   // 一生祸福
void FlatButton15Click(const MainInputs& in, ResultPanel& panel);                        // 属相运程
void FlatButton13Click(const MainInputs& in, ResultPanel& panel);                        // 星座运程
void FlatButton18Click(const MainInputs& in, ResultPanel& panel, const Notify& notify);  // 手机吉凶
void FlatButton17Click(const MainInputs& in, ResultPanel& panel);                        // 胎儿性别
void FlatButton5Click(const MainInputs& in, ResultPanel& panel);                         // 怀孕时间

}  // namespace tessaly
