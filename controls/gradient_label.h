// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TMLabel: a heading label whose caption shows a stepped colour gradient. The
// caption is painted eleven times, each pass one colour step further from
// Color1 towards Color2 and clipped to a rectangle that shrinks by a tenth from
// the right (Horizontal) or from the bottom (Vertical). So Color1 shows at the
// right-hand (or bottom) end and the colour nearest Color2 at the left (or top).

#include <QColor>
#include <QLabel>

namespace tessaly {

enum class TColorStyle { Horizontal, Vertical };

class TMLabel : public QLabel {
  Q_OBJECT
  Q_PROPERTY(QColor Color1 READ Color1 WRITE SetColor1)
  Q_PROPERTY(QColor Color2 READ Color2 WRITE SetColor2)

 public:
  explicit TMLabel(QWidget* parent = nullptr);
  explicit TMLabel(const QString& text, QWidget* parent = nullptr);

  QColor Color1() const { return color1_; }
  QColor Color2() const { return color2_; }
  TColorStyle ColorStyle() const { return style_; }

  // The colour setters recompute the per-pass steps and repaint.
  void SetColor1(const QColor& color);
  void SetColor2(const QColor& color);
  void SetColorStyle(TColorStyle style);

  // The colour of pass `pass` (0 = Color1, 10 = the last, nearest Color2).
  QColor PassColor(int pass) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ComputeSteps();

  QColor color1_{255, 0, 0};
  QColor color2_{255, 255, 255};
  TColorStyle style_ = TColorStyle::Horizontal;
  // Components of Color1 and the signed step per pass. The steps stay 0 until
  // a colour setter runs, so a label left at its defaults paints in Color1.
  int r1_ = 255, g1_ = 0, b1_ = 0;
  int dr_ = 0, dg_ = 0, db_ = 0;
};

}  // namespace tessaly
