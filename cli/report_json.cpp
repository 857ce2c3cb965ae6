// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli report --format json: the results of the readings as one object.

#include "cli/report_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "core/dates.h"
#include "readings/name_score.h"
#include "report/report.h"

namespace tessaly::cli {
namespace {

// A number as the readings write it, or null for an empty text.
QJsonValue Number(const QString& text) {
  return text.isEmpty() ? QJsonValue() : QJsonValue(StrToInt(text));
}

QJsonValue RatingValue(Rating rating) {
  return rating == Rating::kNone ? QJsonValue() : QJsonValue(RatingText(rating));
}

QJsonObject NameJson(const NameResult& r, ReferenceStore& store) {
  QJsonArray characters;
  QJsonArray strokes;
  for (int i = 0; i < 4 && !r.characters[i].isEmpty(); ++i) {
    characters.append(r.characters[i]);
    strokes.append(Number(r.strokes[i]));
  }
  // The grids as the reading found them; the ratings and the score from them.
  const auto grid = [](const QString& text) { return text.isEmpty() ? kNoValue : StrToInt(text); };
  NameGrids grids;
  grids.heaven = grid(r.heaven);
  grids.person = grid(r.person);
  grids.earth = grid(r.earth);
  grids.outer = grid(r.outer);
  grids.total = grid(r.total);
  grids.talents = {ElementOfGrid(grids.heaven), ElementOfGrid(grids.person),
                   ElementOfGrid(grids.earth)};
  const NameScore s = ScoreGrids(grids, store);
  return {
      {QStringLiteral("characters"), characters},
      {QStringLiteral("strokes"), strokes},
      {QStringLiteral("total"), Number(r.total)},
      {QStringLiteral("heaven"), Number(r.heaven)},
      {QStringLiteral("person"), Number(r.person)},
      {QStringLiteral("earth"), Number(r.earth)},
      {QStringLiteral("outer"), Number(r.outer)},
      {QStringLiteral("talents"), r.talents},
      {QStringLiteral("ratings"), QJsonObject{{QStringLiteral("total"), RatingValue(s.total)},
                                              {QStringLiteral("person"), RatingValue(s.person)},
                                              {QStringLiteral("earth"), RatingValue(s.earth)},
                                              {QStringLiteral("outer"), RatingValue(s.outer)},
                                              {QStringLiteral("talents"), RatingValue(s.talents)}}},
      {QStringLiteral("score"), s.score},
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

// Four values by pillar.
template <class F>
QJsonObject ByPillar(F value) {
  return {{QStringLiteral("year"), value(0)},
          {QStringLiteral("month"), value(1)},
          {QStringLiteral("day"), value(2)},
          {QStringLiteral("hour"), value(3)}};
}

template <class T>
QJsonObject ByElement(const std::array<T, 5>& values) {
  QJsonObject o;
  const QString names = QStringLiteral("木火土金水");
  for (int e = 0; e < 5; ++e) o.insert(names.mid(e, 1), values[e]);
  return o;
}

QJsonObject BaziJson(const BaziResult& r) {
  QJsonArray periods;
  for (const BaziResult::Period& p : r.periods) {
    periods.append(QJsonObject{{QStringLiteral("pillar"), p.pillar},
                               {QStringLiteral("year"), p.year},
                               {QStringLiteral("age"), p.age}});
  }
  return {
      {QStringLiteral("moment"), r.moment},
      {QStringLiteral("corrections"), QJsonArray::fromStringList(r.corrections)},
      {QStringLiteral("pillars"), ByPillar([&](int i) { return r.pillars[i]; })},
      {QStringLiteral("hidden_stems"), ByPillar([&](int i) { return r.hidden_stems[i]; })},
      {QStringLiteral("ten_gods"), QJsonObject{{QStringLiteral("year"), r.ten_gods[0]},
                                               {QStringLiteral("month"), r.ten_gods[1]},
                                               {QStringLiteral("hour"), r.ten_gods[3]}}},
      {QStringLiteral("hidden_ten_gods"),
       ByPillar([&](int i) { return QJsonArray::fromStringList(r.hidden_ten_gods[i]); })},
      {QStringLiteral("nayin"), ByPillar([&](int i) { return r.nayin[i]; })},
      {QStringLiteral("void"), r.void_branches},
      {QStringLiteral("elements"), ByElement(r.elements)},
      {QStringLiteral("weighted_elements"), ByElement(r.weighted)},
      {QStringLiteral("day_master"), r.day_master},
      {QStringLiteral("strength"), r.strength},
      {QStringLiteral("favourable"), r.favourable},
      {QStringLiteral("unfavourable"), r.unfavourable},
      {QStringLiteral("luck"),
       QJsonObject{{QStringLiteral("forward"), r.luck_forward},
                   {QStringLiteral("start"), QJsonObject{{QStringLiteral("years"), r.luck_years},
                                                         {QStringLiteral("months"), r.luck_months},
                                                         {QStringLiteral("days"), r.luck_days},
                                                         {QStringLiteral("hours"), r.luck_hours}}},
                   {QStringLiteral("start_date"), DateToStr(r.luck_start)},
                   {QStringLiteral("periods"), periods}}},
      {QStringLiteral("this_year"), QJsonObject{{QStringLiteral("pillar"), r.this_year_pillar},
                                                {QStringLiteral("ten_god"), r.this_year_ten_god}}},
      {QStringLiteral("section"), QJsonArray::fromStringList(r.section)},
  };
}

}  // namespace

QByteArray ReportJson(const Report& report, ReferenceStore& store) {
  const Report::Results& r = report.results;
  QJsonObject json{
      {QStringLiteral("lunar"), QJsonObject{{QStringLiteral("year"), r.lunar.year},
                                            {QStringLiteral("animal"), r.lunar.animal},
                                            {QStringLiteral("month"), r.lunar.month},
                                            {QStringLiteral("day"), r.lunar.day}}},
      {QStringLiteral("report"), QJsonArray::fromStringList(report.plain)},
  };
  if (r.name) json.insert(QStringLiteral("name"), NameJson(*r.name, store));
  if (r.lifetime) json.insert(QStringLiteral("lifetime"), LifetimeJson(*r.lifetime));
  if (r.zodiac) json.insert(QStringLiteral("zodiac"), ForecastJson(*r.zodiac));
  if (r.star_sign) json.insert(QStringLiteral("star_sign"), ForecastJson(*r.star_sign));
  if (r.mobile) {
    json.insert(QStringLiteral("mobile"),
                QJsonObject{{QStringLiteral("verdict"), r.mobile->verdict}});
  }
  if (r.child_sex) json.insert(QStringLiteral("child_sex"), SentenceJson(*r.child_sex));
  if (r.conception) json.insert(QStringLiteral("conception"), SentenceJson(*r.conception));
  if (r.bazi) json.insert(QStringLiteral("bazi"), BaziJson(*r.bazi));
  return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

}  // namespace tessaly::cli
