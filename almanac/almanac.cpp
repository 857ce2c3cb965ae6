// SPDX-License-Identifier: GPL-3.0-or-later
#include "almanac/almanac.h"

#include "calendar/calendar_range.h"
#include "calendar/sexagenary.h"
#include "calendar/solar_terms.h"
#include "core/dates.h"
#include "core/errors.h"

namespace tessaly {
namespace {

// The Julian day of 1949-10-01, a 甲子 day (as every almanac of that day prints).
constexpr qint64 kJiaZiDay = 2433191;
// The Julian day of 2024-03-28, a 井 day of the twenty-eight mansions.
constexpr qint64 kJingDay = 2460398;
constexpr int kJing = 21;

// The activities, in the order the entries list them; every other table names them.
constexpr const char16_t* kActivities[kActivityCount] = {
    u"祭祀", u"祈福", u"求嗣", u"开光", u"嫁娶", u"纳采", u"会亲友", u"出行", u"赴任", u"入学",
    u"移徙", u"入宅", u"安床", u"修造", u"动土", u"上梁", u"开市",   u"交易", u"立券", u"纳财",
    u"开仓", u"栽种", u"牧养", u"捕捉", u"求医", u"沐浴", u"扫舍",   u"破屋", u"安葬", u"破土",
};

// Source: 《协纪辨方书》卷四, 建除十二神 (建 on the month's branch).
constexpr const char16_t* kJianchu[12] = {u"建", u"除", u"满", u"平", u"定", u"执",
                                          u"破", u"危", u"成", u"收", u"开", u"闭"};
constexpr int kPo = 6, kBi = 11;

// Source: the 十二值神 (黄道 and 黑道) of the 通书; 青龙, 明堂, 金匮, 天德, 玉堂 and
// 司命 are 黄道.
constexpr const char16_t* kTianshen[12] = {u"青龙", u"明堂", u"天刑", u"朱雀", u"金匮", u"天德",
                                           u"白虎", u"玉堂", u"天牢", u"玄武", u"司命", u"勾陈"};
constexpr bool kHuangdao[12] = {true,  true, false, false, true, true,
                                false, true, false, false, true, false};

constexpr const char16_t* kDirections[8] = {u"正北", u"东北", u"正东", u"东南",
                                            u"正南", u"西南", u"正西", u"西北"};
enum Direction { kN, kNE, kE, kSE, kS, kSW, kW, kNW };

// Source: the mansions and their 七曜 animals as almanacs print them, 角木蛟 first.
constexpr const char16_t* kXiu[28] = {
    u"角木蛟", u"亢金龙", u"氐土貉", u"房日兔", u"心月狐", u"尾火虎", u"箕水豹",
    u"斗木獬", u"牛金牛", u"女土蝠", u"虚日鼠", u"危月燕", u"室火猪", u"壁水貐",
    u"奎木狼", u"娄金狗", u"胃土雉", u"昴日鸡", u"毕月乌", u"觜火猴", u"参水猿",
    u"井木犴", u"鬼金羊", u"柳土獐", u"星日马", u"张月鹿", u"翼火蛇", u"轸水蚓",
};

// Source: 《彭祖百忌》 in the wording most printed almanacs give (壬不汲水, 酉不会客).
constexpr const char16_t* kPengzuStems[10] = {
    u"甲不开仓财物耗散", u"乙不栽植千株不长", u"丙不修灶必见灾殃", u"丁不剃头头必生疮",
    u"戊不受田田主不祥", u"己不破券二比并亡", u"庚不经络织机虚张", u"辛不合酱主人不尝",
    u"壬不汲水更难提防", u"癸不词讼理弱敌强",
};
constexpr const char16_t* kPengzuBranches[12] = {
    u"子不问卜自惹祸殃", u"丑不冠带主不还乡", u"寅不祭祀神鬼不尝", u"卯不穿井水泉不香",
    u"辰不哭泣必主重丧", u"巳不远行财物伏藏", u"午不苫盖屋主更张", u"未不服药毒气入肠",
    u"申不安床鬼祟入房", u"酉不会客醉坐颠狂", u"戌不吃犬作怪上床", u"亥不嫁娶不利新郎",
};

// Source: the verses of the 通书 on the three gods by the day stem, 甲 first:
//   喜神 "甲己在艮乙庚乾，丙辛坤位喜神安，丁壬只在离宫坐，戊癸原在巽上眠";
//   福神 "甲乙东南是福神，丙丁正东是堪宜，戊北己南庚辛坤，壬在乾方癸在西";
//   财神 "甲乙东北是财神，丙丁向在西南寻，戊己正北坐方位，庚辛正东去安身，壬癸原来正南坐".
constexpr Direction kXiShen[10] = {kNE, kNW, kSW, kS, kSE, kNE, kNW, kSW, kS, kSE};
constexpr Direction kFuShen[10] = {kSE, kSE, kE, kE, kN, kS, kSW, kSW, kNW, kW};
constexpr Direction kCaiShen[10] = {kNE, kNE, kSW, kSW, kN, kN, kE, kE, kS, kS};

// Source: the 胎神 of the day in the 通书: a place by the stem (甲己 门, 乙庚 碓磨,
// 丙辛 厨灶, 丁壬 仓库, 戊癸 房床) and one by the branch (子午 碓, 丑未 厕, 寅申 炉,
// 卯酉 门, 辰戌 栖, 巳亥 床), and a quarter that moves through the cycle: the first
// day of each run of the sixty (甲子 外东南, 丙寅 外正南, ...).
constexpr const char16_t* kTaiStem[5] = {u"门", u"碓磨", u"厨灶", u"仓库", u"房床"};
constexpr char16_t kTaiBranch[6] = {u'碓', u'厕', u'炉', u'门', u'栖', u'床'};
struct TaiRun {
  int first;  // cycle index of its first day
  const char16_t* quarter;
};
constexpr TaiRun kTaiRuns[12] = {
    {0, u"外东南"},  {2, u"外正南"},  {7, u"外西南"},  {12, u"外正西"},
    {16, u"外西北"}, {22, u"外正北"}, {27, u"外东北"}, {33, u"外正东"},
    {38, u"外东南"}, {44, u"房内北"}, {48, u"房内南"}, {53, u"房内东"},
};

// Source: 宜 and 忌 of the twelve officers, after 《协纪辨方书》 (卷四 建除十二神,
// 卷十一 用事宜忌) as the 通书 restate them, for the activities above.
struct OfficerRule {
  const char16_t* yi;
  const char16_t* ji;
};
constexpr OfficerRule kOfficerRules[12] = {
    {u"祭祀 祈福 会亲友 出行 赴任 入学", u"嫁娶 纳采 动土 开仓 安葬 破土"},          // 建
    {u"祭祀 祈福 求医 沐浴 扫舍", u"嫁娶 出行 赴任 移徙 开市"},                      // 除
    {u"祭祀 祈福 开市 交易 立券 纳财 开仓", u"赴任 栽种 求医 安葬 破土"},            // 满
    {u"祭祀 修造 扫舍", u"求嗣 嫁娶 出行 开市 栽种"},                                // 平
    {u"祭祀 祈福 嫁娶 纳采 入学 入宅 修造 开市 交易 立券 牧养", u"出行 移徙 求医"},  // 定
    {u"祭祀 纳采 修造 立券 栽种 捕捉", u"出行 移徙 入宅 开市 交易 纳财 开仓"},       // 执
    {u"求医 破屋",
     u"祈福 求嗣 开光 嫁娶 纳采 会亲友 出行 赴任 移徙 入宅 修造 动土 上梁 开市 交易 立券 "
     u"纳财 安葬 破土"},                                    // 破
    {u"祭祀 祈福 安床 沐浴", u"嫁娶 出行 移徙 入宅 开市"},  // 危
    {u"祭祀 祈福 求嗣 开光 嫁娶 纳采 出行 赴任 入学 移徙 入宅 修造 上梁 开市 交易 立券 栽种",
     u"破屋"},                                                             // 成
    {u"纳财 交易 立券 开仓 栽种 牧养 捕捉", u"出行 赴任 求医 安葬 破土"},  // 收
    {u"祭祀 祈福 求嗣 开光 嫁娶 出行 赴任 入学 移徙 入宅 修造 动土 上梁 开市 交易 立券 栽种 "
     u"牧养",
     u"安葬 破土"},                                              // 开
    {u"修造 安葬 破土", u"开光 嫁娶 出行 赴任 移徙 开市 求医"},  // 闭
};
// What 四离 and 四绝 days add to 忌: the great undertakings (大事勿用).
constexpr const char16_t* kGreatUndertakings = u"嫁娶 出行 赴任 移徙 入宅 修造 动土 开市 安葬 破土";
// What 天德, 月德 and 天赦 days take from 忌 into 宜.
constexpr const char16_t* kVirtueActivities = u"祭祀 祈福";

// Source: 《协纪辨方书》卷四: 天德 by the month from 寅 (a stem, or a branch for the
// four trigram months: 坤 申, 乾 亥, 艮 寅, 巽 巳), as {is_stem, index}.
struct Mark {
  bool stem;
  int index;
};
constexpr Mark kTianDe[12] = {  // indexed by month branch, 子 first
    {false, 5},  {true, 6}, {true, 3}, {false, 8}, {true, 8}, {true, 7},
    {false, 11}, {true, 0}, {true, 9}, {false, 2}, {true, 2}, {true, 1}};
// Source: 《协纪辨方书》卷四: 月德 寅午戌 丙, 申子辰 壬, 亥卯未 甲, 巳酉丑 庚 (by month branch %
// 4).
constexpr int kYueDe[4] = {8, 6, 2, 0};

ActivitySet ParseActivities(const char16_t* words) {
  ActivitySet set = 0;
  for (const QString& word : QString::fromUtf16(words).split(QLatin1Char(' '))) {
    const int a = ActivityOf(word);
    if (a < 0) throw Error(QStringLiteral("黄历规则里有未知的事项：%1").arg(word));
    set |= ActivitySet{1} << a;
  }
  return set;
}

struct Rules {
  ActivitySet yi[12], ji[12], great, virtue;
};

const Rules& TheRules() {
  static const Rules rules = [] {
    Rules r{};
    for (int i = 0; i < 12; ++i) {
      r.yi[i] = ParseActivities(kOfficerRules[i].yi);
      r.ji[i] = ParseActivities(kOfficerRules[i].ji);
    }
    r.great = ParseActivities(kGreatUndertakings);
    r.virtue = ParseActivities(kVirtueActivities);
    return r;
  }();
  return rules;
}

constexpr int Mod(qint64 a, int n) { return static_cast<int>((a % n + n) % n); }

// True on the day term `term` (0 小寒 .. 23 冬至) begins.
bool IsTermDay(QDate date, int term) {
  return date.month() == term / 2 + 1 && SolarTermDay(date.year(), term) == date.day();
}

// The day before 春分, 夏至, 秋分, 冬至 (四离) or before 立春, 立夏, 立秋, 立冬 (四绝).
bool IsSiLiSiJue(QDate date) {
  const QDate next = date.addDays(1);
  const int m = next.month();
  if (m % 3 == 0) return IsTermDay(next, 2 * (m - 1) + 1);
  if (m % 3 == 2) return IsTermDay(next, 2 * (m - 1));
  return false;
}

// 青龙's branch for a month branch (of the day) or a day branch (of the hours):
// 寅申 子, 卯酉 寅, 辰戌 辰, 巳亥 午, 子午 申, 丑未 戌.
constexpr int QinglongStart(int branch) { return Mod(2 * branch + 8, 12); }

}  // namespace

QString ActivityName(int activity) { return QString::fromUtf16(kActivities[activity]); }

int ActivityOf(const QString& name) {
  for (int i = 0; i < kActivityCount; ++i) {
    if (name == QStringView(kActivities[i])) return i;
  }
  return -1;
}

AlmanacDay AlmanacOf(QDate date) {
  if (!InCalendarRange(date)) {
    throw Error(
        QStringLiteral("%1 不在黄历的范围（%2 至 %3）内")
            .arg(DateToStr(date), DateToStr(FirstCalendarDay()), DateToStr(LastCalendarDay())));
  }
  const Rules& rules = TheRules();
  AlmanacDay d;
  d.date = date;
  const qint64 jd = date.toJulianDay();
  const int cycle = Mod(jd - kJiaZiDay, 60);
  d.stem = cycle % 10;
  d.branch = cycle % 12;
  // The month of the 节 of this Gregorian month (小寒 in January ... 大雪 in
  // December) from that 节's day on, the month before until then.
  const int m = date.month();
  const bool after_jie = date.day() >= SolarTermDay(date.year(), 2 * (m - 1));
  d.month_branch = after_jie ? m % 12 : (m - 1) % 12;

  d.jianchu = Mod(d.branch - d.month_branch, 12);
  d.tianshen = Mod(d.branch - QinglongStart(d.month_branch), 12);
  d.huangdao = kHuangdao[d.tianshen];
  const int start = QinglongStart(d.branch);
  for (int h = 0; h < 12; ++h) {
    const int t = Mod(h - start, 12);
    d.hours[h] = {t, kHuangdao[t]};
  }
  // The opposite branch, and the stem of the element the day's overcomes, of
  // the day's polarity (wood overcomes earth, earth water, water fire, ...).
  d.chong_branch = (d.branch + 6) % 12;
  d.chong_stem = ((d.stem / 2 + 2) % 5) * 2 + d.stem % 2;
  // 煞: 申子辰 南, 巳酉丑 东, 寅午戌 北, 亥卯未 西.
  constexpr Direction kSha[4] = {kS, kE, kN, kW};
  d.sha = kSha[d.branch % 4];
  d.xi = kXiShen[d.stem];
  d.fu = kFuShen[d.stem];
  d.cai = kCaiShen[d.stem];
  d.xiu = Mod(kJing + jd - kJingDay, 28);

  d.yi = rules.yi[d.jianchu];
  d.ji = rules.ji[d.jianchu];
  if (IsSiLiSiJue(date)) {
    d.yi = 0;
    d.ji |= rules.great;
  } else if (d.jianchu != kPo) {
    const Mark tian_de = kTianDe[d.month_branch];
    const bool virtue = (tian_de.stem ? d.stem : d.branch) == tian_de.index ||
                        d.stem == kYueDe[d.month_branch % 4] || [&] {
                          // Source: 《协纪辨方书》卷四: 天赦 春 戊寅, 夏 甲午, 秋 戊申, 冬 甲子
                          // (seasons by 节 months).
                          constexpr int kTianShe[4] = {14, 30, 44, 0};
                          return cycle == kTianShe[Mod(d.month_branch - 2, 12) / 3];
                        }();
    if (virtue) {
      d.yi |= rules.virtue;
      d.ji &= ~rules.virtue;
    }
  }
  d.nothing_suits = d.yi == 0;
  d.rest_avoided = !d.nothing_suits && (d.jianchu == kPo || d.jianchu == kBi);
  return d;
}

QString JianchuName(int jianchu) { return QString::fromUtf16(kJianchu[jianchu]); }
QString TianshenName(int tianshen) { return QString::fromUtf16(kTianshen[tianshen]); }
QString HuangdaoText(bool huangdao) {
  return huangdao ? QStringLiteral("黄道") : QStringLiteral("黑道");
}
QString DirectionName(int direction) { return QString::fromUtf16(kDirections[direction]); }
QString ShaText(const AlmanacDay& day) { return DirectionName(day.sha).right(1); }
QString XiuName(int xiu) { return QString::fromUtf16(kXiu[xiu]); }
QString ChongPillar(const AlmanacDay& day) { return GanZhi(day.chong_stem, day.chong_branch); }
QString ChongAnimal(const AlmanacDay& day) { return QString(QChar(kAnimals[day.chong_branch])); }
QString PengzuStem(const AlmanacDay& day) { return QString::fromUtf16(kPengzuStems[day.stem]); }
QString PengzuBranch(const AlmanacDay& day) {
  return QString::fromUtf16(kPengzuBranches[day.branch]);
}

QString TaishenText(const AlmanacDay& day) {
  const QString stem_place = QString::fromUtf16(kTaiStem[day.stem % 5]);
  const QChar branch_place(kTaiBranch[day.branch % 6]);
  QString place;
  if (stem_place.contains(branch_place)) {
    place = QStringLiteral("占") + (stem_place.size() == 1 ? QStringLiteral("大") : QString()) +
            stem_place;  // 占大门, 占碓磨, 占房床
  } else if (branch_place == u'栖') {
    place = stem_place + (stem_place.size() == 1 ? QStringLiteral("鸡栖") : QStringLiteral("栖"));
  } else {
    place = (stem_place.size() == 1 ? QStringLiteral("占") : QString()) + stem_place + branch_place;
  }
  const int cycle = Mod(6 * day.stem - 5 * day.branch, 60);  // the pair's place in the sixty
  int run = 11;
  while (kTaiRuns[run].first > cycle) --run;
  return place + QString::fromUtf16(kTaiRuns[run].quarter);
}

namespace {
QStringList ActivityTexts(ActivitySet set) {
  QStringList list;
  for (int a = 0; a < kActivityCount; ++a) {
    if (set & (ActivitySet{1} << a)) list.append(ActivityName(a));
  }
  return list;
}
}  // namespace

QStringList YiTexts(const AlmanacDay& day) {
  if (day.nothing_suits) return {QStringLiteral("诸事不宜")};
  QStringList list = ActivityTexts(day.yi);
  if (day.rest_avoided) list.append(QStringLiteral("馀事勿取"));
  return list;
}

QStringList JiTexts(const AlmanacDay& day) { return ActivityTexts(day.ji); }

}  // namespace tessaly
