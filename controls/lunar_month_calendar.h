// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TLdKalendar: one Gregorian month as a seven-column grid, each day with its
// lunar text (lunar day, lunar month on its first day, a festival, or, when
// asked for, the solar term that begins that day), under a
// title of year and month, sexagenary pairs and animal year, and a weekday row.
// The day under the mouse is drawn bold; a click reports that day's date.
// Placing and texts come from calendar/month_grid_layout.h; this class measures its
// fonts and draws.

#include <QColor>
#include <QDate>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>

#include "calendar/month_grid_layout.h"

namespace tessaly {

class TLdKalendar;

// Called with the clicked day; clearing the flag suppresses the clicked()
// signal that would follow.
using TLdOnClickDate = std::function<void(TLdKalendar* sender, QDate t, bool& do_click)>;

class TLdKalendar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(QPixmap Bitmap READ Bitmap WRITE SetBitmap)
  Q_PROPERTY(QDate Date READ Date WRITE SetDate)
  Q_PROPERTY(tessaly::TLdKalendarOptions Options READ Options WRITE SetOptions)
  Q_PROPERTY(QFont FontNumber READ FontNumber WRITE SetFontNumber)
  Q_PROPERTY(QFont FontTitle READ FontTitle WRITE SetFontTitle)
  Q_PROPERTY(QFont FontWord READ FontWord WRITE SetFontWord)
  Q_PROPERTY(QFont FontWeek READ FontWeek WRITE SetFontWeek)
  Q_PROPERTY(int HSpace READ HSpace WRITE SetHSpace)
  Q_PROPERTY(int VSpace READ VSpace WRITE SetVSpace)
  Q_PROPERTY(int Border READ Border WRITE SetBorder)
  Q_PROPERTY(int Space READ Space WRITE SetSpace)
  Q_PROPERTY(QColor SundayColor READ SundayColor WRITE SetSundayColor)
  Q_PROPERTY(QColor SaturdayColor READ SaturdayColor WRITE SetSaturdayColor)
  Q_PROPERTY(QColor TodayColor READ TodayColor WRITE SetTodayColor)
  Q_PROPERTY(QColor HolidayColor READ HolidayColor WRITE SetHolidayColor)
  Q_PROPERTY(bool ShowSolarTerms READ ShowSolarTerms WRITE SetShowSolarTerms)
  Q_PROPERTY(QColor SolarTermColor READ SolarTermColor WRITE SetSolarTermColor)
  Q_PROPERTY(QString WeekString READ WeekString WRITE SetWeekString)

 public:
  // The frame around the control: none, or a single line one pixel wide.
  enum class FrameStyle { None, Single };

  explicit TLdKalendar(QWidget* parent = nullptr);
  ~TLdKalendar() override;

  // When set, the control takes the size that fits the grid.
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool value);

  // Background picture, tiled from the top-left corner.
  const QPixmap& Bitmap() const { return bitmap_; }
  void SetBitmap(const QPixmap& value);

  // The shown date: its month is painted, its day marked. Dates outside
  // 1901-01-01 .. 2050-12-31 are ignored.
  QDate Date() const { return date_; }
  void SetDate(QDate value);

  TLdKalendarOptions Options() const { return spacing_.options; }
  void SetOptions(TLdKalendarOptions value);

  const QFont& FontNumber() const { return font_number_; }
  void SetFontNumber(const QFont& value);
  const QFont& FontTitle() const { return font_title_; }
  void SetFontTitle(const QFont& value);
  const QFont& FontWord() const { return font_word_; }
  void SetFontWord(const QFont& value);
  const QFont& FontWeek() const { return font_week_; }
  void SetFontWeek(const QFont& value);

  int HSpace() const { return spacing_.hspace; }
  void SetHSpace(int value);
  int VSpace() const { return spacing_.vspace; }
  void SetVSpace(int value);
  int Border() const { return spacing_.border; }
  void SetBorder(int value);
  int Space() const { return spacing_.space; }
  void SetSpace(int value);

  QColor SundayColor() const { return sunday_color_; }
  void SetSundayColor(const QColor& value);
  QColor SaturdayColor() const { return saturday_color_; }
  void SetSaturdayColor(const QColor& value);
  QColor TodayColor() const { return today_color_; }
  void SetTodayColor(const QColor& value);
  QColor HolidayColor() const { return holiday_color_; }
  void SetHolidayColor(const QColor& value);

  // Whether a day on which a solar term begins shows the term in place of its
  // lunar month or day (festivals keep their names). Off by default.
  bool ShowSolarTerms() const { return show_solar_terms_; }
  void SetShowSolarTerms(bool value);
  QColor SolarTermColor() const { return solar_term_color_; }
  void SetSolarTermColor(const QColor& value);

  // Prefix of the weekday headers ("星期").
  const QString& WeekString() const { return week_string_; }
  void SetWeekString(const QString& value);

  const TLdOnClickDate& OnClickDate() const { return on_click_date_; }
  void SetOnClickDate(TLdOnClickDate handler) { on_click_date_ = std::move(handler); }

  FrameStyle Frame() const { return frame_; }
  void SetFrame(FrameStyle value);

  // The day framed in seal red while the control has the focus (the chosen
  // day of the calendar dialog), when it lies in the shown month.
  QDate MarkedDate() const { return marked_; }
  void SetMarkedDate(QDate value);

  // The day under the mouse, or KalendarNoDate() when the mouse is on no day.
  QDate CursorDate() const;
  // The cell under the mouse (below 1: none).
  KalendarCell HotCell() const { return hot_; }
  // Where everything goes with the current fonts and settings.
  const KalendarLayout& Layout() const { return layout_; }

  QSize sizeHint() const override;

 signals:
  // A click on the control (after OnClickDate, unless it cleared its flag), or
  // a double click.
  void clicked();
  void doubleClicked();

 protected:
  virtual void Click();
  virtual void DblClick();

  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Measured text box of a font: advance width, height and the baseline's
  // distance from the top.
  struct TextBox {
    int width = 0;
    int height = 0;
    int ascent = 0;
  };
  static TextBox Measure(const QFont& font, const QString& text);

  // Measures the four fonts; used when a font or the week string changes.
  void Remeasure();
  // Recomputes the layout from the measured sizes and the spacing.
  void Relayout();
  // Takes the fitting size when AutoSize is set.
  void FitSize();
  void MoveHot(KalendarCell cell);
  void RepaintCell(KalendarCell cell);
  void RepaintDay(QDate day);
  // Where the focus mark of a day goes: round its cell.
  QRect MarkRect(QDate day) const;
  QColor InkColor(KalendarInk ink) const;
  void DrawCellTexts(QPainter& painter, QDate day, bool bold) const;

  bool auto_size_ = true;
  QPixmap bitmap_;
  QDate date_;
  KalendarSpacing spacing_;
  QFont font_number_;
  QFont font_title_;
  QFont font_word_;
  QFont font_week_;
  QColor sunday_color_{255, 0, 0};
  QColor saturday_color_{0, 128, 0};
  QColor today_color_{0, 0, 255};
  QColor holiday_color_{255, 0, 0};
  bool show_solar_terms_ = false;
  QColor solar_term_color_;  // the skin's term colour
  QString week_string_;
  TLdOnClickDate on_click_date_;
  FrameStyle frame_ = FrameStyle::None;
  QDate marked_;

  // Measured boxes of each font, and the layout made from them.
  TextBox title_box_;
  TextBox header_box_;
  TextBox number_box_;
  TextBox word_box_;
  KalendarLayout layout_;

  KalendarCell hot_;
  bool pressed_ = false;
};

}  // namespace tessaly
