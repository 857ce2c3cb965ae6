// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `tessaly-cli report --format json`: the results of the readings that ran,
// under their domain names, for scripts and other programs.

#include <QByteArray>

namespace tessaly {

struct Report;
class ReferenceStore;

namespace cli {

// The report as one JSON object, UTF-8, ending in a newline:
//   lunar       {year, animal, month, day}, the birthday in the lunar calendar
//   name        {characters, strokes, total, heaven, person, earth, outer,
//                talents, ratings {total, person, earth, outer, talents},
//                score, section}
//   lifetime    {hour, year_weight, month_weight, day_weight, hour_weight,
//                verse_first, verse_second, star_sign, section}
//   zodiac, star_sign  {key, section}
//   mobile      {verdict}
//   child_sex, conception  {sentence}
//   bazi        {moment, corrections, pillars, hidden_stems, ten_gods,
//                hidden_ten_gods, nayin, void, elements, weighted_elements,
//                day_master, strength, favourable, unfavourable,
//                luck {forward, start {years, months, days, hours}, start_date,
//                periods [{pillar, year, age}]}, this_year {pillar, ten_god},
//                section}; pillars and the like by year, month, day, hour
//   report      the plain report's lines
// A reading that did not run is left out. Grids and stroke counts are numbers,
// null where the name cannot give them; the ratings of the name (null when
// there is none) are read from `store`, which the name reading used.
QByteArray ReportJson(const Report& report, ReferenceStore& store);

}  // namespace cli
}  // namespace tessaly
