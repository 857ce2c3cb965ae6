// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The birth moment of the four-pillar reading: the clock time of birth read in
// the place's time zone, turned into standard time (UTC+8) and, with a place
// or a longitude, into true solar time.
//
//  * Time zones come from the system's time-zone database (QTimeZone, tzdata):
//    Asia/Shanghai, or the place's own zone (Hong Kong, Macau, Taipei). A clock
//    time in daylight time is moved to standard time; a clock time the zone
//    skipped is refused; one it repeated is read as daylight time (the first).
//  * Local mean time = standard time + 4 minutes per degree east of 120°E.
//    True solar time adds the equation of time after J. W. Spencer, "Fourier
//    series representation of the position of the sun", Search 2 (1971) 172:
//      B = 2π(N − 1)/365, N the day of the year,
//      E = 229.18 min × (0.000075 + 0.001868 cos B − 0.032077 sin B
//                        − 0.014615 cos 2B − 0.040849 sin 2B).

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <cstdint>
#include <optional>
#include <span>

namespace tessaly {

struct BirthPlace {
  const char16_t* seat;      // 北京, 石家庄, 香港
  const char16_t* division;  // 北京市, 河北省, 香港特别行政区
  double longitude;          // degrees east
  const char* zone;          // IANA time-zone name
};

// The seats of the 34 provincial-level divisions, in the usual order.
std::span<const BirthPlace> BirthPlaces();
// The place a seat's or a division's name (with or without 省/市/自治区...) names,
// or nullptr.
const BirthPlace* FindBirthPlace(const QString& name);

inline constexpr double kMinLongitude = 73.0;
inline constexpr double kMaxLongitude = 135.0;

// "HH:MM", 00:00 .. 23:59, leading zeros optional in the hour; an invalid QTime
// for anything else.
QTime ParseBirthTime(const QString& text);

// Spencer's equation of time, in seconds, for a day of the year 1 .. 366.
double EquationOfTimeSeconds(int day_of_year);

struct BirthMomentInput {
  QDate date;
  std::optional<QTime> time;  // the clock time; none: the middle of the double hour
  int double_hour = -1;       // 0 (子时) .. 11 (亥时), used without a time
  const BirthPlace* place = nullptr;
  std::optional<double> longitude;  // instead of a place
  bool daylight_saving = true;      // false: the clock time is standard time as it is
};

struct BirthMoment {
  std::int64_t instant = 0;  // seconds since 1970-01-01 00:00 UTC
  QDate clock_date;          // as given (or assumed)
  QTime clock_time;
  QDateTime standard;  // UTC+8, as a local date and time
  QDateTime local;     // the corrected local time that gives the day and hour
  bool assumed_time = false;
  QStringList corrections;  // in words, in the order applied
};

// Raises Error with the message the user sees for a skipped clock time, a
// missing birth hour or a longitude outside kMinLongitude .. kMaxLongitude.
BirthMoment ResolveBirthMoment(const BirthMomentInput& in);

}  // namespace tessaly
