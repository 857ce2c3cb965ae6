// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The daily almanac (黄历) of 1901-01-01 .. 2050-12-31: each day's 建除十二值星,
// 值神 (黄道/黑道) of the day and of its twelve double hours, 冲 and 煞, 彭祖百忌,
// the directions of 喜神, 福神 and 财神, 胎神, 二十八宿, and the activities the
// day suits (宜) and those to avoid (忌).
//
// The day's stem and branch run through the cycle of sixty day by day from
// 1949-10-01, a 甲子 day; its month is the 节 month (寅 from 立春, 卯 from 惊蛰,
// ... 丑 from 小寒), taken from the solar-term table. Everything of an entry
// follows from the day pillar, the month branch and the solar terms; the
// methods and the source of each table are named in almanac.cpp.

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace tessaly {

// The activities of 宜 and 忌, in the order the entries list them.
inline constexpr int kActivityCount = 30;
QString ActivityName(int activity);  // 0 .. kActivityCount-1
// The activity of that name, or -1.
int ActivityOf(const QString& name);

// A set of activities, bit n for activity n.
using ActivitySet = std::uint32_t;
static_assert(kActivityCount <= 32);

struct AlmanacHour {
  int tianshen = 0;  // 0 (青龙) .. 11 (勾陈)
  bool huangdao = false;
};

struct AlmanacDay {
  QDate date;
  int stem = 0, branch = 0;  // the day pillar: 0 (甲) .. 9, 0 (子) .. 11
  int month_branch = 0;      // the 节 month: 2 (寅) from 立春 ...
  int jianchu = 0;           // 0 (建) .. 11 (闭)
  int tianshen = 0;          // 0 (青龙) .. 11 (勾陈)
  bool huangdao = false;
  int chong_stem = 0, chong_branch = 0;  // the clashing day pillar; its animal is the branch's
  int sha = 0;                           // the 煞 direction, as the directions below
  int xi = 0, fu = 0, cai = 0;           // 0 正北, 1 东北, 2 正东 ... 7 西北, clockwise
  int xiu = 0;                           // 0 (角) .. 27 (轸)
  ActivitySet yi = 0, ji = 0;
  bool nothing_suits = false;           // 诸事不宜: no activity suits the day
  bool rest_avoided = false;            // 馀事勿取: only those listed under 宜
  std::array<AlmanacHour, 12> hours{};  // 子 .. 亥
};

// The entry of a day 1901-01-01 .. 2050-12-31; raises Error for any other date.
AlmanacDay AlmanacOf(QDate date);

// Texts of an entry.
QString JianchuName(int jianchu);             // 建
QString TianshenName(int tianshen);           // 青龙
QString HuangdaoText(bool huangdao);          // 黄道 / 黑道
QString DirectionName(int direction);         // 正北 .. 西北
QString ShaText(const AlmanacDay& day);       // 南: the bare quarter of the 煞
QString XiuName(int xiu);                     // 角木蛟
QString ChongPillar(const AlmanacDay& day);   // 癸酉
QString ChongAnimal(const AlmanacDay& day);   // 鸡
QString PengzuStem(const AlmanacDay& day);    // 甲不开仓财物耗散
QString PengzuBranch(const AlmanacDay& day);  // 子不问卜自惹祸殃
QString TaishenText(const AlmanacDay& day);   // 占门碓外东南
// 宜: the activities, "诸事不宜" alone when none suits, "馀事勿取" after the
// list where only the listed ones suit. 忌: the activities.
QStringList YiTexts(const AlmanacDay& day);
QStringList JiTexts(const AlmanacDay& day);

// True when the day suits the activity and does not list it under 忌.
inline bool Suits(const AlmanacDay& day, int activity) {
  const ActivitySet bit = ActivitySet{1} << activity;
  return (day.yi & bit) != 0 && (day.ji & bit) == 0;
}

}  // namespace tessaly
