// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bone weights of the lifetime reading: the weight in qian (钱) that each
// pillar of the birth moment carries. The tables themselves are data and live
// in bone_weight_tables.cpp.

#include <array>

namespace tessaly {

struct BoneWeight {
  const char16_t* name;  // 甲子 (year, without 年), 正月, 初一, 子时
  int qian;
};

// The sixty years of the cycle in cycle order, index 0 甲子; the key compared
// with the lunar year is the name followed by 年.
extern const std::array<BoneWeight, 60> YearWeights;
// The twelve lunar months, 正月 .. 腊月.
extern const std::array<BoneWeight, 12> MonthWeights;
// The thirty lunar days, 初一 .. 三十.
extern const std::array<BoneWeight, 30> DayWeights;
// The twelve double hours by entry of the birth-hour list, 0 子时 .. 11 亥时.
extern const std::array<BoneWeight, 12> HourWeights;

}  // namespace tessaly
