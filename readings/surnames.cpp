// SPDX-License-Identifier: GPL-3.0-or-later
#include "readings/surnames.h"

namespace tessaly {

const QStringList& CompoundSurnames() {
  // Source: the two-character surnames of the 百家姓 (万俟 to 第五), with 独孤 and 太史.
  static const QStringList list = QStringLiteral(
                                      "万俟 司马 上官 欧阳 夏侯 诸葛 闻人 东方 赫连 皇甫 尉迟 公羊 "
                                      "澹台 公冶 宗政 濮阳 淳于 单于 太叔 申屠 公孙 仲孙 轩辕 令狐 "
                                      "钟离 宇文 长孙 慕容 鲜于 闾丘 司徒 司空 亓官 司寇 子车 颛孙 "
                                      "端木 巫马 公西 漆雕 乐正 壤驷 公良 拓跋 夹谷 宰父 谷梁 段干 "
                                      "百里 东郭 南门 呼延 羊舌 微生 梁丘 左丘 东门 西门 南宫 第五 "
                                      "独孤 太史")
                                      .split(QLatin1Char(' '));
  return list;
}

QString CompoundSurnameOf(const QString& name) {
  // A surname of two characters of the basic plane, and at least one more.
  if (name.size() < 3) return {};
  const QString head = name.left(2);
  return CompoundSurnames().contains(head) ? head : QString();
}

}  // namespace tessaly
