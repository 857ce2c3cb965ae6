// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli report --format json: the results of the readings as one object.

#include "cli/report_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

#include "readings/name_score.h"
#include "report/report.h"

namespace tessaly::cli {
namespace {

// A number, or null when there is none.
QJsonValue Number(const std::optional<int>& value) {
  return value ? QJsonValue(*value) : QJsonValue();
}

QJsonValue RatingValue(Rating rating) {
  return rating == Rating::kNone ? QJsonValue() : QJsonValue(RatingText(rating));
}

QJsonObject NameJson(const NameResult& r) {
  QJsonArray characters;
  QJsonArray strokes;
  for (int i = 0; i < 4 && !r.characters[i].isEmpty(); ++i) {
    characters.append(r.characters[i]);
    strokes.append(Number(r.strokes[i]));
  }
  return {
      {QStringLiteral("characters"), characters},
      {QStringLiteral("strokes"), strokes},
      {QStringLiteral("total"), Number(r.total)},
      {QStringLiteral("heaven"), Number(r.heaven)},
      {QStringLiteral("person"), Number(r.person)},
      {QStringLiteral("earth"), Number(r.earth)},
      {QStringLiteral("outer"), Number(r.outer)},
      {QStringLiteral("talents"), r.talents},
      {QStringLiteral("ratings"),
       QJsonObject{{QStringLiteral("total"), RatingValue(r.total_rating)},
                   {QStringLiteral("person"), RatingValue(r.person_rating)},
                   {QStringLiteral("earth"), RatingValue(r.earth_rating)},
                   {QStringLiteral("outer"), RatingValue(r.outer_rating)},
                   {QStringLiteral("talents"), RatingValue(r.talents_rating)}}},
      {QStringLiteral("score"), r.score},
      {QStringLiteral("section"), QJsonArray::fromStringList(r.section)},
  };
}

QJsonObject LifetimeJson(const LifetimeResult& r) {
  return {
      {QStringLiteral("hour"), r.hour},
      {QStringLiteral("year_weight"), r.year_weight},
      {QStringLiteral("month_weight"), r.month_weight},
      {QStringLiteral("day_weight"), r.day_weight},
      {QStringLiteral("hour_weight"), r.hour_weight},
      {QStringLiteral("verse_first"), r.verse_first},
      {QStringLiteral("verse_second"), r.verse_second},
      {QStringLiteral("star_sign"), r.star_sign},
      {QStringLiteral("section"), QJsonArray::fromStringList(r.section)},
  };
}

QJsonObject ForecastJson(const ForecastResult& r) {
  return {{QStringLiteral("key"), r.key},
          {QStringLiteral("section"), QJsonArray::fromStringList(r.section)}};
}

QJsonObject SentenceJson(const PregnancyResult& r) {
  return {{QStringLiteral("sentence"), r.sentence}};
}

}  // namespace

QByteArray ReportJson(const Report& report) {
  const Report::Results& r = report.results;
  QJsonObject json{
      {QStringLiteral("lunar"), QJsonObject{{QStringLiteral("year"), r.lunar.YearText()},
                                            {QStringLiteral("animal"), r.lunar.AnimalText()},
                                            {QStringLiteral("month"), r.lunar.MonthText()},
                                            {QStringLiteral("day"), r.lunar.DayText()}}},
      {QStringLiteral("report"), QJsonArray::fromStringList(report.plain)},
  };
  if (r.name) json.insert(QStringLiteral("name"), NameJson(*r.name));
  if (r.lifetime) json.insert(QStringLiteral("lifetime"), LifetimeJson(*r.lifetime));
  if (r.zodiac) json.insert(QStringLiteral("zodiac"), ForecastJson(*r.zodiac));
  if (r.star_sign) json.insert(QStringLiteral("star_sign"), ForecastJson(*r.star_sign));
  if (r.mobile) {
    json.insert(QStringLiteral("mobile"),
                QJsonObject{{QStringLiteral("verdict"), r.mobile->verdict}});
  }
  if (r.child_sex) json.insert(QStringLiteral("child_sex"), SentenceJson(*r.child_sex));
  if (r.conception) json.insert(QStringLiteral("conception"), SentenceJson(*r.conception));
  return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

}  // namespace tessaly::cli
