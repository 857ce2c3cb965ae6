// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/month_grid_layout.h"

#include <algorithm>

#include "calendar/calendar_range.h"
#include "calendar/lunar_calendar.h"
#include "calendar/solar_terms.h"

namespace tessaly {
namespace {

#include "calendar/month_grid_texts.inc"

constexpr int kColumns = 7;

bool IsFestival(const QString& word) {
  return word == u"元旦" || word == u"春节" || word == u"元宵" || word == u"端午";
}

// The lunar text of a day other than 1 January: a festival of the first or fifth
// month, then `term` (the day's solar term, when shown), the month's name on its
// first day, the day's name otherwise.
QString LunarWordOf(QDate day, const QString& term) {
  const QString day_text = LunarDayText(day);
  const QString month_text = LunarMonthText(day, MonthNaming::Calendar);
  if (month_text == u"一月") {
    if (day_text == u"初一") return QStringLiteral("春节");
    if (day_text == u"十五") return QStringLiteral("元宵");
  }
  if (month_text == u"五月" && day_text == u"初五") return QStringLiteral("端午");
  if (!term.isEmpty()) return term;
  if (day_text == u"初一") return month_text;
  return day_text;
}

}  // namespace

QDate KalendarNoDate() { return QDate(1899, 12, 31); }

bool KalendarAcceptsDate(QDate date) { return InCalendarRange(date); }

int KalendarFirstWeekday(QDate shown) {
  // Qt counts Monday = 1 … Sunday = 7.
  return QDate(shown.year(), shown.month(), 1).dayOfWeek() % 7 + 1;
}

QDate KalendarCellDate(QDate shown, int column, int row) {
  if (column < 1 || column > kColumns || row < 1) return KalendarNoDate();
  const int day = kColumns * (row - 1) + column - KalendarFirstWeekday(shown) + 1;
  if (day < 1 || day > shown.daysInMonth()) return KalendarNoDate();
  return QDate(shown.year(), shown.month(), day);
}

KalendarCell KalendarCellOf(QDate day) {
  const int index = KalendarFirstWeekday(day) - 1 + day.day() - 1;
  return KalendarCell{index % kColumns + 1, index / kColumns + 1};
}

KalendarCellText KalendarCellTextOf(QDate day, QDate marked, bool solar_terms) {
  KalendarCellText cell;
  cell.number = QString::number(day.day());
  const int column = KalendarCellOf(day).column;
  KalendarInk ink = KalendarInk::Font;
  if (column == 1) ink = KalendarInk::Sunday;
  if (column == kColumns) ink = KalendarInk::Saturday;
  if (day == marked) ink = KalendarInk::Today;
  const bool new_year = day.month() == 1 && day.day() == 1;
  if (new_year) ink = KalendarInk::Holiday;
  cell.number_ink = ink;
  const QString term = solar_terms ? SolarTermOf(day) : QString();
  cell.word = new_year ? QStringLiteral("元旦") : LunarWordOf(day, term);
  cell.word_ink = IsFestival(cell.word) ? KalendarInk::Holiday : ink;
  if (!term.isEmpty() && cell.word == term) cell.word_ink = KalendarInk::SolarTerm;
  return cell;
}

QString KalendarMonthTitle(QDate shown) {
  return QString::number(shown.year()).rightJustified(4, u'0') + kYearMark +
         kGregorianMonthTitles[shown.month() - 1];
}

QString KalendarSideTitle(QDate shown, TLdKalendarOptions options) {
  QString text;
  if (options & lkoGanZhi) text += GanZhiLine(shown);
  if (options & lkoShengXiao) {
    text += AnimalYearText(InCalendarRange(shown) ? LunarYearOf(shown) : shown.year());
  }
  return text;
}

QString KalendarHeaderText(const QString& week_string, int column) {
  return week_string + kWeekdayNames[column - 1];
}

KalendarInk KalendarHeaderInk(int column) {
  if (column == 1) return KalendarInk::Sunday;
  if (column == kColumns) return KalendarInk::Saturday;
  return KalendarInk::Font;
}

KalendarLayout::KalendarLayout(const KalendarSpacing& spacing, const KalendarTextSizes& sizes)
    : spacing_(spacing), sizes_(sizes) {
  column_width_ =
      spacing.hspace + std::max({sizes.number_width, sizes.word_width, sizes.header_width});
  const bool yang = spacing.options & lkoYang;
  const bool yin = spacing.options & lkoYin;
  int content = 0;
  if (yang && yin) {
    content = sizes.number_height + spacing.space + sizes.word_height;
  } else if (yang) {
    content = sizes.number_height;
  } else if (yin) {
    content = sizes.word_height;
  }
  row_height_ = spacing.vspace + content;
}

int KalendarLayout::FitWidth() const { return kColumns * column_width_ + 2 * spacing_.border; }

bool KalendarLayout::HasTitleBand() const {
  return spacing_.options & (lkoMonthTitle | lkoShengXiao | lkoGanZhi);
}

int KalendarLayout::CenteredX(int column, int text_width) const {
  return (column_width_ - text_width) / 2 + (column - 1) * column_width_ + spacing_.border;
}

int KalendarLayout::HeaderX(int column) const { return CenteredX(column, sizes_.header_width); }

int KalendarLayout::SideTitleX(int text_width) const {
  return HeaderX(kColumns) + sizes_.header_width - text_width;
}

int KalendarLayout::HeaderY() const {
  int y = spacing_.border;
  if (HasTitleBand()) y += sizes_.title_height + 2 * spacing_.vspace;
  return y;
}

int KalendarLayout::GridTop() const {
  int y = HeaderY();
  if (spacing_.options & lkoWeekTitle) y += sizes_.header_height + spacing_.vspace;
  return y;
}

int KalendarLayout::RowTop(int row) const { return GridTop() + (row - 1) * row_height_; }

int KalendarLayout::WordY(int row) const {
  int y = RowTop(row);
  if (spacing_.options & lkoYang) y += sizes_.number_height + spacing_.space;
  return y;
}

QRect KalendarLayout::CellRect(KalendarCell cell) const {
  return QRect(spacing_.border + (cell.column - 1) * column_width_, RowTop(cell.row), column_width_,
               row_height_);
}

int KalendarLayout::NeededHeight(QDate shown) const {
  const QDate last(shown.year(), shown.month(), shown.daysInMonth());
  const bool yang = spacing_.options & lkoYang;
  const bool yin = spacing_.options & lkoYin;
  int height = RowTop(KalendarCellOf(last).row);
  if (yang) height += sizes_.number_height;
  if (yin) height += sizes_.word_height;
  if (yang && yin) height += spacing_.space;
  return height + spacing_.border;
}

KalendarCell KalendarLayout::HitTest(int x, int y) const {
  KalendarCell cell;
  const int dy = y - GridTop();
  if (row_height_ != 0) {
    const bool inside = dy > 0 && dy % row_height_ < row_height_ - spacing_.vspace;
    cell.row = inside ? dy / row_height_ + 1 : -1;
  }
  const int dx = x - spacing_.border;
  if (column_width_ != 0) {
    const int h = (column_width_ - sizes_.word_width) / 2;
    const int in_column = dx % column_width_;
    const bool inside = dx > 0 && in_column > h && in_column < h + sizes_.word_width &&
                        dx / column_width_ < kColumns;
    cell.column = inside ? dx / column_width_ + 1 : -1;
  }
  return cell;
}

}  // namespace tessaly
