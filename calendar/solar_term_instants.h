// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The instants of the 24 solar terms of 1900 .. 2051, to the second, from the
// table that tools/make_solar_terms.py computes (the sun's apparent longitude
// after Meeus, "Astronomical Algorithms", ch. 25; see the tool). The calendar's
// day table comes from the same computation.

#include <cstdint>

namespace tessaly {

inline constexpr int kFirstTermYear = 1900;
inline constexpr int kLastTermYear = 2051;

namespace detail {
inline constexpr std::int64_t kSolarTermInstants[kLastTermYear - kFirstTermYear + 1][24] = {
#include "calendar/solar_term_instants.inc"
};
}  // namespace detail

// Seconds since 1970-01-01 00:00 UTC at which term `term` (0 = 小寒 .. 23 = 冬至)
// of the Gregorian `year` (kFirstTermYear .. kLastTermYear) begins.
constexpr std::int64_t SolarTermInstant(int year, int term) {
  return detail::kSolarTermInstants[year - kFirstTermYear][term];
}

// The twelve 节 are the even terms: 小寒 (0), 立春 (2), 惊蛰 (4) .. 大雪 (22).
constexpr std::int64_t JieInstant(int year, int jie) { return SolarTermInstant(year, 2 * jie); }

}  // namespace tessaly
