// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The birthday's signs: its zodiac year and the year's cyclic name (from the
// sexagenary cycle, calendar/sexagenary.h), and the Western star sign.

#include <QDate>
#include <QString>

#include "calendar/sexagenary.h"

namespace tessaly {

// The star sign of the month and day (摩羯座 .. 射手座).
QString StarSignOf(QDate birthday);

}  // namespace tessaly
