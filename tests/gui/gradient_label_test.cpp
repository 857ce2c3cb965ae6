// SPDX-License-Identifier: GPL-3.0-or-later
// The gradient label, judged by its pixels: eleven colour bands from the
// colour nearest Color2 (left or top) to Color1 (right or bottom), one colour
// when the colours are equal or never set, and the whole of a very narrow
// label in the last colour.

#include <QImage>
#include <QtTest>

#include "controls/gradient_label.h"
#include "gui_support.h"

namespace tessaly {

namespace {

const QColor kBackground(1, 2, 3);

// A caption of solid blocks, drawn without antialiasing, so every covered
// pixel has exactly the colour of its pass.
std::unique_ptr<TMLabel> MakeLabel(QSize size) {
  auto label = std::make_unique<TMLabel>(QString(12, QChar(0x2588)));
  QFont font = label->font();
  font.setPixelSize(40);
  font.setStyleStrategy(QFont::NoAntialias);
  label->setFont(font);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setFixedSize(size);
  // Behind the caption: a colour no pass has.
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, kBackground);
  label->setPalette(palette);
  return label;
}

QImage Grab(TMLabel& label) {
  QImage image = label.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  image.setDevicePixelRatio(1.0);
  return image;
}

// The colours of the covered pixels along a row (or column), in order, with
// runs of one colour merged.
QList<QRgb> Bands(const QImage& image, bool along_row, int at) {
  QList<QRgb> bands;
  const int n = along_row ? image.width() : image.height();
  for (int i = 0; i < n; ++i) {
    const QRgb px = along_row ? image.pixel(i, at) : image.pixel(at, i);
    const QRgb rgb = px & 0xFFFFFF;
    if (qAlpha(px) != 255 || rgb == (kBackground.rgb() & 0xFFFFFF)) continue;
    if (bands.isEmpty() || bands.last() != rgb) bands.append(rgb);
  }
  return bands;
}

QRgb Rgb(int r, int g, int b) { return static_cast<QRgb>((r << 16) | (g << 8) | b); }

}  // namespace

class MLabelTest : public QObject {
  Q_OBJECT

 private slots:
  void RedToBlueHorizontal();
  void RedToBlueVertical();
  void OneColour_data();
  void OneColour();
  void StepsTruncateTowardZero();
};

void MLabelTest::RedToBlueHorizontal() {
  auto label = MakeLabel(QSize(220, 50));
  label->SetColor1(QColor(255, 0, 0));
  label->SetColor2(QColor(0, 0, 255));
  const QList<QRgb> bands = Bands(Grab(*label), true, 25);
  QCOMPARE(bands.size(), 11);
  // Blue-violet at the left, red at the right, the red falling and the blue
  // rising by 25 from band to band.
  QCOMPARE(bands.first(), Rgb(5, 0, 250));
  QCOMPARE(bands.last(), Rgb(255, 0, 0));
  for (int i = 0; i < bands.size(); ++i) {
    const int pass = 10 - i;
    QCOMPARE(bands[i], Rgb(255 - 25 * pass, 0, 25 * pass));
  }
}

void MLabelTest::RedToBlueVertical() {
  auto label = MakeLabel(QSize(220, 50));
  label->SetColor1(QColor(255, 0, 0));
  label->SetColor2(QColor(0, 0, 255));
  label->SetColorStyle(TColorStyle::Vertical);
  const QImage image = Grab(*label);
  // Down a column the colours run from the blue end at the top to red at the
  // bottom; along a row there is a single colour.
  const QList<QRgb> column = Bands(image, false, 30);
  QVERIFY2(column.size() >= 3, "the blocks should cross several bands");
  QCOMPARE(column.last(), Rgb(255, 0, 0));
  for (int i = 1; i < column.size(); ++i) {
    QVERIFY(qRed(column[i]) > qRed(column[i - 1]));
    QVERIFY(qBlue(column[i]) < qBlue(column[i - 1]));
  }
  QCOMPARE(Bands(image, true, 25).size(), 1);
}

void MLabelTest::OneColour_data() {
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("set_colours");
  QTest::addColumn<QColor>("color1");
  QTest::addColumn<QColor>("color2");
  QTest::addColumn<QColor>("expected");

  QTest::newRow("Color2 equal to Color1")
      << QSize(220, 50) << true << QColor(0, 128, 0) << QColor(0, 128, 0) << QColor(0, 128, 0);
  // Steps are only computed by the colour setters; a fresh label paints all
  // passes in its Color1 (red).
  QTest::newRow("colours never set")
      << QSize(220, 50) << false << QColor() << QColor() << QColor(255, 0, 0);
  // A tenth of 9 pixels is 0: every pass covers the whole label, the last one
  // (nearest Color2) wins.
  QTest::newRow("narrower than 10 pixels")
      << QSize(9, 50) << true << QColor(255, 0, 0) << QColor(0, 0, 255) << QColor(5, 0, 250);
}

void MLabelTest::OneColour() {
  QFETCH(QSize, size);
  QFETCH(bool, set_colours);
  QFETCH(QColor, color1);
  QFETCH(QColor, color2);
  QFETCH(QColor, expected);

  auto label = MakeLabel(size);
  if (set_colours) {
    label->SetColor1(color1);
    label->SetColor2(color2);
  }
  const QList<QRgb> bands = Bands(Grab(*label), true, 25);
  QCOMPARE(bands.size(), 1);
  QCOMPARE(QColor(bands.first()), expected);
}

void MLabelTest::StepsTruncateTowardZero() {
  // From (0, 0, 0) to (9, 19, 255) the steps are 0, 1 and 25 (0.9, 1.9 and
  // 25.5 truncated); downwards, from (255, 255, 255) to (0, 250, 246), they
  // are -25, 0 and 0 (-0.5 and -0.9 truncated toward zero, not down).
  TMLabel label(QStringLiteral("x"));
  label.SetColor1(QColor(0, 0, 0));
  label.SetColor2(QColor(9, 19, 255));
  QCOMPARE(label.PassColor(10), QColor(0, 10, 250));
  label.SetColor1(QColor(255, 255, 255));
  label.SetColor2(QColor(0, 250, 246));
  QCOMPARE(label.PassColor(10), QColor(5, 255, 255));
}

}  // namespace tessaly

TESSALY_GUI_TEST_MAIN(tessaly::MLabelTest)
#include "gradient_label_test.moc"
