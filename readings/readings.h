// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The readings, each a function from the person to its result. Errors are
// raised as tessaly::Error (the window shows them in its error box) and leave no
// result. A message the window shows in a box of its own, with the reading
// going on, is handed to `notify`.

#include <functional>

#include "readings/person.h"
#include "readings/results.h"

namespace tessaly {

class ReferenceStore;

using Notify = std::function<void(const QString& message)>;

// The fixed texts shipped with the program, one line per line.
const QStringList& StarForecastLines();
const QStringList& ZodiacForecastLines();
const QStringList& FetalDisclaimerLines();
const QStringList& PageTemplateLines();

// Adds a text to a list of lines: CR LF inside the text starts a new line; a
// text that is a single CR is an (empty) line of its own.
void AddLine(QStringList& lines, const QString& text);

// The birthday's lunar year, animal, month and day. Raises Error for a birthday
// outside the lunar calendar's range.
LunarBirth LunarBirthOf(const DateTime& birthday);

// 测算姓名: the name's strokes, five grids and three talents. A character the
// store has no stroke count for leaves the grids that need it empty; the
// reading goes on and `notify` names such characters in one message.
NameResult ReadName(const Person& person, ReferenceStore& store, const Notify& notify = {});
// 一生命运: the bone weight of the birth moment and its texts.
LifetimeResult ReadLifetime(const Person& person, const LunarBirth& lunar, ReferenceStore& store);
// 属相运程 and 星座运程: the sign's block of the forecast texts.
ForecastResult ReadZodiacForecast(const Person& person,
                                  const QStringList& texts = ZodiacForecastLines());
ForecastResult ReadStarForecast(const Person& person,
                                const QStringList& texts = StarForecastLines());
// 手机吉凶: the verdict on the mobile number.
MobileResult ReadMobile(const Person& person, const Notify& notify);
// 胎儿性别 and 怀孕时间. Their boxes take digits alone (no blank, no sign): a
// nominal age from 18 to 44, a month from 1 to 12. Any other text is refused,
// quoted as typed; a number outside the charts names the allowed range.
bool IsNominalAge(const QString& text);
bool IsPregnancyMonth(const QString& text);
PregnancyResult PredictChildSex(const Person& person);
PregnancyResult ChooseConceptionMonths(const Person& person);
// 生辰八字: the four pillars of the corrected birth moment, their details, luck
// periods and this year's pillar by the clock in use (core/clock.h).
BaziResult ReadBazi(const Person& person);
// The texts of the four-pillar reading by key (a day stem 甲, 缺木, 木旺, a ten
// god); empty for an unknown key.
QString BaziText(const QString& key);

}  // namespace tessaly
