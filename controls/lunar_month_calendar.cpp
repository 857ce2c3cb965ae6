// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/lunar_month_calendar.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "controls/skin.h"
#include "core/clock.h"

namespace tessaly {
namespace {

// Samples the sizes are measured on.
const QString kTitleSample = QStringLiteral("一月");
const QString kNumberSample = QStringLiteral("0");
const QString kWordSample = QStringLiteral("初七");

}  // namespace

TLdKalendar::TLdKalendar(QWidget* parent)
    : QWidget(parent),
      date_(Clock::Today()),
      font_number_(font()),
      font_title_(font()),
      font_word_(font()),
      font_week_(font()),
      solar_term_color_(skin::kTermOchre),
      week_string_(QStringLiteral("星期")) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  Remeasure();
  FitSize();
}

TLdKalendar::~TLdKalendar() = default;

// ---- Properties -------------------------------------------------------------

namespace {

// Sets a property's field; false when it held the value already, so the
// setter need not measure, lay out or repaint.
template <typename T>
bool Assign(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

void TLdKalendar::SetAutoSize(bool value) {
  if (Assign(auto_size_, value)) FitSize();
}

void TLdKalendar::SetBitmap(const QPixmap& value) {
  bitmap_ = value;
  update();
}

void TLdKalendar::SetDate(QDate value) {
  if (value == date_ || !KalendarAcceptsDate(value)) return;
  const bool other_month = value.year() != date_.year() || value.month() != date_.month();
  date_ = value;
  if (other_month) {
    FitSize();
    update();
  }
}

void TLdKalendar::SetOptions(TLdKalendarOptions value) {
  if (!Assign(spacing_.options, value)) return;
  Relayout();
  update();
}

void TLdKalendar::SetFontNumber(const QFont& value) {
  if (!Assign(font_number_, value)) return;
  Remeasure();
  update();
}

void TLdKalendar::SetFontTitle(const QFont& value) {
  if (!Assign(font_title_, value)) return;
  Remeasure();
  update();
}

void TLdKalendar::SetFontWord(const QFont& value) {
  if (!Assign(font_word_, value)) return;
  Remeasure();
  update();
}

void TLdKalendar::SetFontWeek(const QFont& value) {
  if (!Assign(font_week_, value)) return;
  Remeasure();
  update();
}

void TLdKalendar::SetHSpace(int value) {
  if (!Assign(spacing_.hspace, value)) return;
  Relayout();
  update();
}

void TLdKalendar::SetVSpace(int value) {
  if (!Assign(spacing_.vspace, value)) return;
  Relayout();
  update();
}

void TLdKalendar::SetBorder(int value) {
  if (!Assign(spacing_.border, value)) return;
  Relayout();
  update();
}

void TLdKalendar::SetSpace(int value) {
  if (!Assign(spacing_.space, value)) return;
  Relayout();
  update();
}

void TLdKalendar::SetSundayColor(const QColor& value) {
  if (Assign(sunday_color_, value)) update();
}

void TLdKalendar::SetSaturdayColor(const QColor& value) {
  if (Assign(saturday_color_, value)) update();
}

void TLdKalendar::SetTodayColor(const QColor& value) {
  if (Assign(today_color_, value)) update();
}

void TLdKalendar::SetHolidayColor(const QColor& value) {
  if (Assign(holiday_color_, value)) update();
}

void TLdKalendar::SetShowSolarTerms(bool value) {
  if (Assign(show_solar_terms_, value)) update();
}

void TLdKalendar::SetSolarTermColor(const QColor& value) {
  if (Assign(solar_term_color_, value)) update();
}

void TLdKalendar::SetWeekString(const QString& value) {
  // The headers change with the next repaint; this does not ask for one.
  week_string_ = value;
  Remeasure();
}

void TLdKalendar::SetFrame(FrameStyle value) {
  if (Assign(frame_, value)) update();
}

void TLdKalendar::SetMarkedDate(QDate value) {
  const QDate old = marked_;
  if (!Assign(marked_, value) || !hasFocus()) return;
  RepaintDay(old);
  RepaintDay(value);
}

QDate TLdKalendar::CursorDate() const {
  if (!hot_.IsCell()) return KalendarNoDate();
  return KalendarCellDate(date_, hot_.column, hot_.row);
}

QSize TLdKalendar::sizeHint() const {
  return QSize(layout_.FitWidth(), layout_.NeededHeight(date_));
}

// ---- Measuring ----------------------------------------------------------------

TLdKalendar::TextBox TLdKalendar::Measure(const QFont& font, const QString& text) {
  // A text's height is the font's em size, as with the classic CJK bitmap
  // fonts; the font's ascent and descent are scaled into it so that ideographs
  // fill the box. Line spacing (which is much larger in the outline CJK fonts)
  // would leave the rows far apart.
  const QFontMetrics metrics(font);
  TextBox box;
  box.width = metrics.horizontalAdvance(text);
  const int em = QFontInfo(font).pixelSize();
  box.height = em > 0 ? em : metrics.height();
  const int extent = metrics.ascent() + metrics.descent();
  box.ascent = extent > 0 ? (metrics.ascent() * box.height + extent / 2) / extent : box.height;
  return box;
}

void TLdKalendar::Remeasure() {
  title_box_ = Measure(font_title_, kTitleSample);
  header_box_ = Measure(font_week_, KalendarHeaderText(week_string_, 1));
  number_box_ = Measure(font_number_, kNumberSample);
  word_box_ = Measure(font_word_, kWordSample);
  Relayout();
}

void TLdKalendar::Relayout() {
  KalendarTextSizes sizes;
  sizes.title_height = title_box_.height;
  sizes.header_width = header_box_.width;
  sizes.header_height = header_box_.height;
  sizes.number_width = number_box_.width;
  sizes.number_height = number_box_.height;
  sizes.word_width = word_box_.width;
  sizes.word_height = word_box_.height;
  layout_ = KalendarLayout(spacing_, sizes);
  FitSize();
}

void TLdKalendar::FitSize() {
  if (auto_size_) resize(sizeHint());
}

// ---- Painting -----------------------------------------------------------------

QColor TLdKalendar::InkColor(KalendarInk ink) const {
  switch (ink) {
    case KalendarInk::Sunday:
      return sunday_color_;
    case KalendarInk::Saturday:
      return saturday_color_;
    case KalendarInk::Today:
      return today_color_;
    case KalendarInk::Holiday:
      return holiday_color_;
    case KalendarInk::SolarTerm:
      return solar_term_color_;
    case KalendarInk::Font:
      break;
  }
  return palette().color(QPalette::WindowText);
}

namespace {

// Draws `text` with its top-left corner at (x, top); bold draws it once more one
// pixel to the right.
void DrawBoxText(QPainter& painter, int x, int top, int ascent, const QString& text, bool bold) {
  if (bold) painter.drawText(x + 1, top + ascent, text);
  painter.drawText(x, top + ascent, text);
}

}  // namespace

void TLdKalendar::DrawCellTexts(QPainter& painter, QDate day, bool bold) const {
  const KalendarCell cell = KalendarCellOf(day);
  const KalendarCellText texts = KalendarCellTextOf(day, date_, show_solar_terms_);
  if (spacing_.options & lkoYang) {
    painter.setFont(font_number_);
    painter.setPen(InkColor(texts.number_ink));
    const int x =
        layout_.CenteredX(cell.column, painter.fontMetrics().horizontalAdvance(texts.number));
    DrawBoxText(painter, x, layout_.NumberY(cell.row), number_box_.ascent, texts.number, bold);
  }
  if (spacing_.options & lkoYin) {
    painter.setFont(font_word_);
    painter.setPen(InkColor(texts.word_ink));
    const int x =
        layout_.CenteredX(cell.column, painter.fontMetrics().horizontalAdvance(texts.word));
    DrawBoxText(painter, x, layout_.WordY(cell.row), word_box_.ascent, texts.word, bold);
  }
}

void TLdKalendar::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!bitmap_.isNull()) painter.drawTiledPixmap(rect(), bitmap_);

  const QColor font_color = palette().color(QPalette::WindowText);
  if (spacing_.options & lkoMonthTitle) {
    painter.setFont(font_title_);
    painter.setPen(font_color);
    DrawBoxText(painter, layout_.TitleX(), layout_.TitleY(), title_box_.ascent,
                KalendarMonthTitle(date_), false);
  }
  if (spacing_.options & (lkoShengXiao | lkoGanZhi)) {
    const QString side = KalendarSideTitle(date_, spacing_.options);
    painter.setFont(font_title_);
    painter.setPen(font_color);
    const int x = layout_.SideTitleX(painter.fontMetrics().horizontalAdvance(side));
    DrawBoxText(painter, x, layout_.TitleY(), title_box_.ascent, side, false);
  }
  if (spacing_.options & lkoWeekTitle) {
    painter.setFont(font_week_);
    for (int column = 1; column <= 7; ++column) {
      painter.setPen(InkColor(KalendarHeaderInk(column)));
      DrawBoxText(painter, layout_.HeaderX(column), layout_.HeaderY(), header_box_.ascent,
                  KalendarHeaderText(week_string_, column), false);
    }
  }

  // Only the days whose cells need painting: moving the mouse repaints two.
  const QDate hot_day = CursorDate();
  const QRect dirty = event->rect();
  for (int d = 1; d <= date_.daysInMonth(); ++d) {
    const QDate day(date_.year(), date_.month(), d);
    if (dirty.intersects(layout_.CellRect(KalendarCellOf(day)))) {
      DrawCellTexts(painter, day, day == hot_day);
    }
  }
  if (hasFocus() && marked_.isValid() && marked_.year() == date_.year() &&
      marked_.month() == date_.month()) {
    painter.setPen(skin::kSealRed);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(MarkRect(marked_).adjusted(0, 0, -1, -1));
  }

  if (frame_ == FrameStyle::Single) {
    // Filled rectangles rather than a pen, so the line stays one pixel of the
    // layout on every device pixel ratio.
    const QColor line = palette().color(QPalette::Shadow);
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, 1, line);
    painter.fillRect(0, h - 1, w, 1, line);
    painter.fillRect(0, 0, 1, h, line);
    painter.fillRect(w - 1, 0, 1, h, line);
  }
}

// ---- Mouse --------------------------------------------------------------------

QRect TLdKalendar::MarkRect(QDate day) const {
  return layout_.CellRect(KalendarCellOf(day)).adjusted(-3, -2, 3, 1);
}

void TLdKalendar::RepaintDay(QDate day) {
  if (day.isValid() && day.year() == date_.year() && day.month() == date_.month()) {
    update(MarkRect(day));
  }
}

void TLdKalendar::focusInEvent(QFocusEvent* event) {
  RepaintDay(marked_);
  QWidget::focusInEvent(event);
}

void TLdKalendar::focusOutEvent(QFocusEvent* event) {
  RepaintDay(marked_);
  QWidget::focusOutEvent(event);
}

void TLdKalendar::RepaintCell(KalendarCell cell) {
  if (KalendarCellDate(date_, cell.column, cell.row) == KalendarNoDate()) return;
  update(layout_.CellRect(cell));
}

void TLdKalendar::MoveHot(KalendarCell cell) {
  if (cell.IsCell()) {
    if (hot_ == cell) return;
    const KalendarCell old = hot_;
    hot_ = cell;
    if (old.IsCell()) RepaintCell(old);
    RepaintCell(cell);
    return;
  }
  const KalendarCell old = hot_;
  hot_ = KalendarCell{-1, -1};
  if (old.IsCell()) RepaintCell(old);
}

void TLdKalendar::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  MoveHot(layout_.HitTest(pos.x(), pos.y()));
  QWidget::mouseMoveEvent(event);
}

void TLdKalendar::mousePressEvent(QMouseEvent* event) {
  // A press comes where the mouse already is; tracking it here as well keeps
  // the hot cell right for input without hover (touch, synthetic clicks).
  const QPoint pos = event->position().toPoint();
  MoveHot(layout_.HitTest(pos.x(), pos.y()));
  if (event->button() == Qt::LeftButton) pressed_ = true;
  QWidget::mousePressEvent(event);
}

void TLdKalendar::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) pressed_ = false;
  QWidget::mouseReleaseEvent(event);
  if (click) Click();
}

void TLdKalendar::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click: a double click, and no second click.
  const QPoint pos = event->position().toPoint();
  MoveHot(layout_.HitTest(pos.x(), pos.y()));
  if (event->button() == Qt::LeftButton) DblClick();
}

void TLdKalendar::leaveEvent(QEvent* event) {
  MoveHot(KalendarCell{-1, -1});
  QWidget::leaveEvent(event);
}

void TLdKalendar::Click() {
  bool do_click = true;
  if (on_click_date_ && hot_.IsCell()) {
    const QDate t = KalendarCellDate(date_, hot_.column, hot_.row);
    if (t != KalendarNoDate()) on_click_date_(this, t, do_click);
  }
  if (do_click) emit clicked();
}

void TLdKalendar::DblClick() { emit doubleClicked(); }

}  // namespace tessaly
