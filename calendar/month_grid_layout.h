// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Geometry and texts of the lunar month calendar: where the title, the weekday
// headers and each day of the shown month go, what a day cell says and in which
// ink, how tall the grid needs to be, and which cell a mouse position falls on.
// Plain arithmetic over measured text sizes, so it runs without a display; the
// widget (TLdKalendar) measures its fonts and draws what these functions place.

#include <QDate>
#include <QFlags>
#include <QRect>
#include <QString>

namespace tessaly {

// What the calendar paints. The values are the bits of the option set.
enum TLdKalendarOption : unsigned {
  lkoYang = 1u << 0,        // Gregorian day numbers
  lkoYin = 1u << 1,         // lunar texts
  lkoMonthTitle = 1u << 2,  // Gregorian year-and-month title
  lkoWeekTitle = 1u << 3,   // weekday header row
  lkoShengXiao = 1u << 4,   // animal-year name in the right title
  lkoGanZhi = 1u << 5,      // sexagenary pairs in the right title
};
Q_DECLARE_FLAGS(TLdKalendarOptions, TLdKalendarOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLdKalendarOptions)

inline constexpr TLdKalendarOptions kAllKalendarOptions{lkoYang | lkoYin | lkoMonthTitle |
                                                        lkoWeekTitle | lkoShengXiao | lkoGanZhi};

// The date a grid position without a day stands for: 1899-12-31.
QDate KalendarNoDate();
// The calendar shows and accepts dates from 1901-01-01 to 2050-12-31 only.
bool KalendarAcceptsDate(QDate date);

// Weekday of the first of the month of `shown`: 1 = Sunday … 7 = Saturday.
int KalendarFirstWeekday(QDate shown);

// The day at column (1 = Sunday … 7 = Saturday) and week row (1 = first) of the
// month of `shown`, or KalendarNoDate() where that position holds no day.
QDate KalendarCellDate(QDate shown, int column, int row);

// A grid position. A value below 1 means none (0 when the grid has no size yet,
// -1 when the position lies outside the sensitive part of every cell).
struct KalendarCell {
  int column = 0;
  int row = 0;
  bool IsCell() const { return column >= 1 && row >= 1; }
  friend bool operator==(const KalendarCell&, const KalendarCell&) = default;
};

// Where a day of its month sits in the grid.
KalendarCell KalendarCellOf(QDate day);

// Which colour a text is drawn in; the widget maps these to its colours
// (Font: the font's own colour).
enum class KalendarInk { Font, Sunday, Saturday, Today, Holiday, SolarTerm };

struct KalendarCellText {
  QString number;  // the Gregorian day number
  QString word;    // lunar day, lunar month name on a first, a solar term or a festival
  KalendarInk number_ink = KalendarInk::Font;
  KalendarInk word_ink = KalendarInk::Font;
};

// The texts and inks of the cell of `day` when the calendar's date is `marked`
// (its day is drawn in the Today ink). With `solar_terms` the day on which a
// solar term begins shows the term, in the SolarTerm ink, unless it is 元旦 or
// a lunar festival.
KalendarCellText KalendarCellTextOf(QDate day, QDate marked, bool solar_terms = false);

// "2004年 一月": the left title.
QString KalendarMonthTitle(QDate shown);
// The right title: the sexagenary line with lkoGanZhi, then the animal year with
// lkoShengXiao; empty when neither is set.
QString KalendarSideTitle(QDate shown, TLdKalendarOptions options);
// The header of a column: week_string + 日 / 一 / … / 六.
QString KalendarHeaderText(const QString& week_string, int column);
// Ink of a column's header.
KalendarInk KalendarHeaderInk(int column);

// Text sizes measured in the calendar's fonts.
struct KalendarTextSizes {
  int title_height = 0;  // "一月" in the title font
  int header_width = 0;  // week string + "日" in the header font
  int header_height = 0;
  int number_width = 0;  // "0" in the number font
  int number_height = 0;
  int word_width = 0;  // "初七" in the lunar-text font
  int word_height = 0;
};

// The spacing settings of the calendar.
struct KalendarSpacing {
  TLdKalendarOptions options = kAllKalendarOptions;
  int hspace = 16;  // added to the column width
  int vspace = 4;   // added to the row height; spacing of the title and header bands
  int border = 10;  // margin on all sides
  int space = 1;    // between the day number and the lunar text of a cell
};

// Places of everything the calendar draws, for one set of text sizes and spacing.
class KalendarLayout {
 public:
  KalendarLayout() = default;
  KalendarLayout(const KalendarSpacing& spacing, const KalendarTextSizes& sizes);

  const KalendarSpacing& Spacing() const { return spacing_; }
  const KalendarTextSizes& Sizes() const { return sizes_; }

  int ColumnWidth() const { return column_width_; }
  int RowHeight() const { return row_height_; }
  // Width that fits the grid: 7 columns and the border on both sides.
  int FitWidth() const;

  bool HasTitleBand() const;
  // Left edge of a text of the given width centred in a column (1..7).
  int CenteredX(int column, int text_width) const;
  // The left title and the weekday headers start where the header text of their
  // column starts.
  int HeaderX(int column) const;
  int TitleX() const { return HeaderX(1); }
  // The right title ends where the Saturday header ends.
  int SideTitleX(int text_width) const;
  int TitleY() const { return spacing_.border; }
  int HeaderY() const;
  // Top of the first week row.
  int GridTop() const;
  int RowTop(int row) const;
  int NumberY(int row) const { return RowTop(row); }
  int WordY(int row) const;
  // The area a cell's texts are drawn in: its column by its row.
  QRect CellRect(KalendarCell cell) const;

  // Height that fits the title, the headers and the weeks of the month of
  // `shown`, without an empty row below.
  int NeededHeight(QDate shown) const;

  // The cell whose sensitive part holds (x, y): the band of the lunar-word width
  // centred in the column, above the row's bottom spacing.
  KalendarCell HitTest(int x, int y) const;

 private:
  KalendarSpacing spacing_;
  KalendarTextSizes sizes_;
  int column_width_ = 0;
  int row_height_ = 0;
};

}  // namespace tessaly
