// SPDX-License-Identifier: GPL-3.0-or-later
#include "readings/birth_moment.h"

#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/errors.h"

namespace tessaly {
namespace {

// Longitudes of the seats' city centres to 0.01°, after the city coordinates of
// the GeoNames gazetteer (geonames.org); good to about 0.05° (12 s of time).
constexpr BirthPlace kPlaces[] = {
    {u"北京", u"北京市", 116.41, "Asia/Shanghai"},
    {u"天津", u"天津市", 117.20, "Asia/Shanghai"},
    {u"石家庄", u"河北省", 114.51, "Asia/Shanghai"},
    {u"太原", u"山西省", 112.55, "Asia/Shanghai"},
    {u"呼和浩特", u"内蒙古自治区", 111.75, "Asia/Shanghai"},
    {u"沈阳", u"辽宁省", 123.43, "Asia/Shanghai"},
    {u"长春", u"吉林省", 125.32, "Asia/Shanghai"},
    {u"哈尔滨", u"黑龙江省", 126.53, "Asia/Shanghai"},
    {u"上海", u"上海市", 121.47, "Asia/Shanghai"},
    {u"南京", u"江苏省", 118.80, "Asia/Shanghai"},
    {u"杭州", u"浙江省", 120.16, "Asia/Shanghai"},
    {u"合肥", u"安徽省", 117.23, "Asia/Shanghai"},
    {u"福州", u"福建省", 119.30, "Asia/Shanghai"},
    {u"南昌", u"江西省", 115.86, "Asia/Shanghai"},
    {u"济南", u"山东省", 117.00, "Asia/Shanghai"},
    {u"郑州", u"河南省", 113.63, "Asia/Shanghai"},
    {u"武汉", u"湖北省", 114.31, "Asia/Shanghai"},
    {u"长沙", u"湖南省", 112.94, "Asia/Shanghai"},
    {u"广州", u"广东省", 113.26, "Asia/Shanghai"},
    {u"南宁", u"广西壮族自治区", 108.37, "Asia/Shanghai"},
    {u"海口", u"海南省", 110.35, "Asia/Shanghai"},
    {u"重庆", u"重庆市", 106.55, "Asia/Shanghai"},
    {u"成都", u"四川省", 104.07, "Asia/Shanghai"},
    {u"贵阳", u"贵州省", 106.63, "Asia/Shanghai"},
    {u"昆明", u"云南省", 102.83, "Asia/Shanghai"},
    {u"拉萨", u"西藏自治区", 91.11, "Asia/Shanghai"},
    {u"西安", u"陕西省", 108.94, "Asia/Shanghai"},
    {u"兰州", u"甘肃省", 103.83, "Asia/Shanghai"},
    {u"西宁", u"青海省", 101.78, "Asia/Shanghai"},
    {u"银川", u"宁夏回族自治区", 106.23, "Asia/Shanghai"},
    {u"乌鲁木齐", u"新疆维吾尔自治区", 87.62, "Asia/Shanghai"},
    {u"香港", u"香港特别行政区", 114.17, "Asia/Hong_Kong"},
    {u"澳门", u"澳门特别行政区", 113.54, "Asia/Macau"},
    {u"台北", u"台湾省", 121.56, "Asia/Taipei"},
};

constexpr std::int64_t kUtc8Seconds = 8 * 3600;

QString Hm(const QDateTime& t) { return t.toString(QStringLiteral("HH:mm")); }

// "-14分22秒" for a signed number of seconds.
QString MinutesSeconds(int seconds) {
  const QChar sign = seconds < 0 ? QLatin1Char('-') : QLatin1Char('+');
  const int a = std::abs(seconds);
  return QStringLiteral("%1%2分%3秒").arg(sign).arg(a / 60).arg(a % 60);
}

// A naive local date and time for seconds counted as if UTC.
QDateTime Naive(std::int64_t seconds) { return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC); }

// The instants at which the zone's clocks read `local` (naive seconds), earliest
// first: none in a skipped hour, two in a repeated one.
std::vector<std::int64_t> InstantsShowing(const QTimeZone& zone, std::int64_t local) {
  std::vector<int> offsets;
  for (std::int64_t probe : {local - 86400, local, local + 86400}) {
    const int o = zone.offsetFromUtc(Naive(probe - kUtc8Seconds));
    if (std::find(offsets.begin(), offsets.end(), o) == offsets.end()) offsets.push_back(o);
  }
  std::vector<std::int64_t> found;
  for (int o : offsets) {
    const std::int64_t instant = local - o;
    if (zone.offsetFromUtc(Naive(instant)) == o) found.push_back(instant);
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::span<const BirthPlace> BirthPlaces() { return kPlaces; }

const BirthPlace* FindBirthPlace(const QString& name) {
  const QString wanted = name.trimmed();
  if (wanted.isEmpty()) return nullptr;
  for (const BirthPlace& p : kPlaces) {
    const QString seat = QString::fromUtf16(p.seat);
    const QString division = QString::fromUtf16(p.division);
    if (wanted == seat || wanted == division || wanted == seat + QStringLiteral("市") ||
        (division.startsWith(wanted) && wanted.size() >= 2)) {
      return &p;
    }
  }
  return nullptr;
}

QTime ParseBirthTime(const QString& text) {
  static const QRegularExpression re(QStringLiteral("^([0-9]{1,2}):([0-9]{2})$"));
  const QRegularExpressionMatch m = re.match(text.trimmed());
  if (!m.hasMatch()) return {};
  return QTime(m.captured(1).toInt(), m.captured(2).toInt());  // invalid past 23:59
}

double EquationOfTimeSeconds(int day_of_year) {
  const double b = 2 * std::numbers::pi * (day_of_year - 1) / 365.0;
  return 60 * 229.18 *
         (0.000075 + 0.001868 * std::cos(b) - 0.032077 * std::sin(b) - 0.014615 * std::cos(2 * b) -
          0.040849 * std::sin(2 * b));
}

BirthMoment ResolveBirthMoment(const BirthMomentInput& in) {
  if (!in.date.isValid()) throw Error(QStringLiteral("出生日期无效，无法排八字。"));
  BirthMoment m;
  m.clock_date = in.date;
  if (in.time) {
    m.clock_time = *in.time;
  } else if (in.double_hour >= 0 && in.double_hour < 12) {
    m.assumed_time = true;
    m.clock_time = in.double_hour == 0 ? QTime(0, 30) : QTime(2 * in.double_hour, 0);
  } else {
    throw Error(QStringLiteral("生辰八字分析需要出生时辰或出生时间。"));
  }
  const std::int64_t clock =
      QDateTime(in.date, m.clock_time, Qt::UTC).toSecsSinceEpoch();  // naive seconds

  const char* zone_name = in.place ? in.place->zone : "Asia/Shanghai";
  if (!in.daylight_saving) {
    m.instant = clock - kUtc8Seconds;
    m.corrections << QStringLiteral("出生时间按北京时间（东八区标准时）计，不作夏令时换算");
  } else {
    const QTimeZone zone(zone_name);
    if (!zone.isValid()) {
      throw Error(QStringLiteral("系统的时区数据中没有“%1”，无法换算出生时间。")
                      .arg(QString::fromLatin1(zone_name)));
    }
    const std::vector<std::int64_t> found = InstantsShowing(zone, clock);
    if (found.empty()) {
      throw Error(QStringLiteral("%1 %2 这一时刻当地正改行夏令时，时钟拨快了一小时，"
                                 "实际并不存在。请核对出生时间。")
                      .arg(in.date.toString(QStringLiteral("yyyy-MM-dd")),
                           m.clock_time.toString(QStringLiteral("HH:mm"))));
    }
    m.instant = found.front();  // a repeated hour: the first, still daylight time
    const QDateTime at = Naive(m.instant);
    const int offset = zone.offsetFromUtc(at);
    if (offset != kUtc8Seconds) {
      const QString standard = Hm(Naive(m.instant + kUtc8Seconds));
      if (zone.isDaylightTime(at)) {
        m.corrections << QStringLiteral("出生时间按夏令时换算为北京时间 %1").arg(standard);
      } else {
        m.corrections << QStringLiteral("出生时间按当时的当地标准时（UTC%1%2）换算为北京时间 %3")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(std::abs(offset) / 3600)
                             .arg(standard);
      }
    }
    if (found.size() > 1) {
      m.corrections << QStringLiteral("该钟点在夏令时结束时出现两次，按夏令时（第一次）计");
    }
  }
  m.standard = Naive(m.instant + kUtc8Seconds);
  m.local = m.standard;

  std::optional<double> longitude = in.longitude;
  QString where;
  if (in.place) {
    longitude = in.place->longitude;
    where = QString::fromUtf16(in.place->seat);
  }
  if (longitude) {
    if (!(*longitude >= kMinLongitude && *longitude <= kMaxLongitude)) {
      throw Error(QStringLiteral("出生地经度须在东经73°至135°之间。"));
    }
    const int mean = static_cast<int>(std::lround((*longitude - 120.0) * 240.0));
    const QDateTime mean_time = m.standard.addSecs(mean);
    const int equation =
        static_cast<int>(std::lround(EquationOfTimeSeconds(mean_time.date().dayOfYear())));
    m.local = mean_time.addSecs(equation);
    const QString degrees = QStringLiteral("东经%1°").arg(*longitude, 0, 'f', 2);
    m.corrections << QStringLiteral("按出生地%1换算为真太阳时 %2（经度时差%3，均时差%4）")
                         .arg(where.isEmpty()
                                  ? degrees
                                  : where + QStringLiteral("（") + degrees + QStringLiteral("）"))
                         .arg(m.local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                              MinutesSeconds(mean), MinutesSeconds(equation));
  }
  return m;
}

}  // namespace tessaly
