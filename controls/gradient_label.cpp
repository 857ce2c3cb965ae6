// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/gradient_label.h"

#include <QPainter>

namespace tessaly {

namespace {
constexpr int kPasses = 10;  // passes after the first one in Color1
}

TMLabel::TMLabel(QWidget* parent) : TMLabel(QString(), parent) {}

TMLabel::TMLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  QFont f = font();
  f.setFamily(QStringLiteral("楷体_GB2312"));
  setFont(f);
  // The caption is drawn straight onto whatever lies behind the label.
  setAutoFillBackground(false);
}

void TMLabel::SetColor1(const QColor& color) {
  color1_ = color;
  ComputeSteps();
  update();
}

void TMLabel::SetColor2(const QColor& color) {
  color2_ = color;
  ComputeSteps();
  update();
}

void TMLabel::SetColorStyle(TColorStyle style) {
  style_ = style;
  update();
}

void TMLabel::ComputeSteps() {
  r1_ = color1_.red();
  g1_ = color1_.green();
  b1_ = color1_.blue();
  // C++ integer division truncates toward zero, as the steps require.
  dr_ = (color2_.red() - r1_) / kPasses;
  dg_ = (color2_.green() - g1_) / kPasses;
  db_ = (color2_.blue() - b1_) / kPasses;
}

QColor TMLabel::PassColor(int pass) const {
  if (pass <= 0) return color1_;
  // Each component is taken as its low byte.
  return QColor((r1_ + pass * dr_) & 0xFF, (g1_ + pass * dg_) & 0xFF, (b1_ + pass * db_) & 0xFF);
}

void TMLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setFont(font());
  int flags = static_cast<int>(alignment());
  if (wordWrap()) flags |= Qt::TextWordWrap;
  const QRect text_rect = contentsRect();

  int left = 0, top = 0, right = width(), bottom = height();
  for (int pass = 0; pass <= kPasses; ++pass) {
    if (pass > 0) {
      if (style_ == TColorStyle::Horizontal) {
        right -= (right - left) / kPasses;
      } else {
        bottom -= (bottom - top) / kPasses;
      }
    }
    painter.setClipRect(QRect(left, top, right - left, bottom - top));
    painter.setPen(PassColor(pass));
    painter.drawText(text_rect, flags, text());
  }
}

}  // namespace tessaly
