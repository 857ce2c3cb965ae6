// SPDX-License-Identifier: GPL-3.0-or-later
// Source: the traditional bone-weighing (称骨) weights of birth year, month, day and hour.
// DATA: the bone-weighing tables, weights in qian. Fixed data of the lifetime
// reading; the algorithm is in lifetime.cpp.

#include "readings/bone_weights.h"

namespace tessaly {

// clang-format off
const std::array<BoneWeight, 60> YearWeights = {{
    {u"甲子", 12}, {u"乙丑",  9}, {u"丙寅",  6}, {u"丁卯",  7}, {u"戊辰", 12},
    {u"己巳",  5}, {u"庚午",  9}, {u"辛未",  8}, {u"壬申",  7}, {u"癸酉",  8},
    {u"甲戌", 15}, {u"乙亥",  9}, {u"丙子", 16}, {u"丁丑",  8}, {u"戊寅",  8},
    {u"己卯", 19}, {u"庚辰", 12}, {u"辛巳",  6}, {u"壬午",  8}, {u"癸未",  7},
    {u"甲申",  5}, {u"乙酉", 15}, {u"丙戌",  6}, {u"丁亥", 16}, {u"戊子", 15},
    {u"己丑",  7}, {u"庚寅",  9}, {u"辛卯", 12}, {u"壬辰", 10}, {u"癸巳",  7},
    {u"甲午", 15}, {u"乙未",  6}, {u"丙申",  5}, {u"丁酉", 14}, {u"戊戌", 14},
    {u"己亥",  9}, {u"庚子",  7}, {u"辛丑",  7}, {u"壬寅",  9}, {u"癸卯", 12},
    {u"甲辰",  8}, {u"乙巳",  7}, {u"丙午", 13}, {u"丁未",  5}, {u"戊申", 14},
    {u"己酉",  5}, {u"庚戌",  9}, {u"辛亥", 17}, {u"壬子",  5}, {u"癸丑",  7},
    {u"甲寅", 12}, {u"乙卯",  8}, {u"丙辰",  8}, {u"丁巳",  6}, {u"戊午", 19},
    {u"己未",  6}, {u"庚申",  8}, {u"辛酉", 16}, {u"壬戌", 10}, {u"癸亥",  6},
}};

const std::array<BoneWeight, 12> MonthWeights = {{
    {u"正月",  6}, {u"二月",  7}, {u"三月", 18}, {u"四月",  9}, {u"五月",  5}, {u"六月", 16},
    {u"七月",  9}, {u"八月", 15}, {u"九月", 18}, {u"十月",  8}, {u"冬月",  9}, {u"腊月",  5},
}};

const std::array<BoneWeight, 30> DayWeights = {{
    {u"初一",  5}, {u"初二", 10}, {u"初三",  8}, {u"初四", 15}, {u"初五", 16},
    {u"初六", 15}, {u"初七",  8}, {u"初八", 16}, {u"初九",  8}, {u"初十", 16},
    {u"十一",  9}, {u"十二", 17}, {u"十三",  8}, {u"十四", 17}, {u"十五", 10},
    {u"十六",  8}, {u"十七",  9}, {u"十八", 18}, {u"十九",  5}, {u"二十", 15},
    {u"廿一", 10}, {u"廿二",  9}, {u"廿三",  8}, {u"廿四",  9}, {u"廿五", 15},
    {u"廿六", 18}, {u"廿七",  7}, {u"廿八",  8}, {u"廿九", 16}, {u"三十",  6},
}};

const std::array<BoneWeight, 12> HourWeights = {{
    {u"子时", 16}, {u"丑时",  6}, {u"寅时",  7}, {u"卯时", 10}, {u"辰时",  9}, {u"巳时", 16},
    {u"午时", 10}, {u"未时",  8}, {u"申时",  8}, {u"酉时",  9}, {u"戌时",  6}, {u"亥时",  6},
}};
// clang-format on

}  // namespace tessaly
