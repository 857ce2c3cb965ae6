// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 24 solar terms of 1901-01-01 .. 2050-12-31: the day, in Beijing time
// (UTC+8), on which each term begins. The days come from a table computed by
// tools/make_solar_terms.py; outside that range there are no terms.

#include <QDate>
#include <QString>

namespace tessaly {

// 小寒 .. 冬至 on the day the term begins; empty on any other day, for an
// invalid date and outside 1901..2050.
QString SolarTermOf(QDate date);

// The day of the month on which term `term` (0 小寒 .. 23 冬至) of `year`
// begins; terms 2m and 2m+1 fall in month m+1. 0 outside 1901..2050.
int SolarTermDay(int year, int term);

}  // namespace tessaly
