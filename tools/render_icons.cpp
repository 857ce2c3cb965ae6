// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the skin's pictures, drawn as SVG, to PNG files for the program: at
// the SVG's own size, and "@2x" and "@3x" for screens of higher pixel density,
// which Qt picks by the screen's device pixel ratio. The program then draws its
// first window without loading the SVG renderer.
//
//   tessaly-render-icons OUTPUT_DIR FILE.svg...
//
// writes OUTPUT_DIR/FILE.png, FILE@2x.png and FILE@3x.png for each FILE.svg.

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool Render(const QString& svg, const QString& out_dir) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "tessaly-render-icons: cannot read %s\n", qPrintable(svg));
    return false;
  }
  const QString base = out_dir + QLatin1Char('/') + QFileInfo(svg).completeBaseName();
  for (const int scale : {1, 2, 3}) {
    QImage image(renderer.defaultSize() * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      renderer.render(&painter);
    }
    const QString path = base + (scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale)) +
                         QStringLiteral(".png");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
      std::fprintf(stderr, "tessaly-render-icons: cannot write %s\n", qPrintable(path));
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tessaly-render-icons OUTPUT_DIR FILE.svg...\n");
    return 2;
  }
  const QString out_dir = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    if (!Render(QString::fromLocal8Bit(argv[i]), out_dir)) return 1;
  }
  return 0;
}
