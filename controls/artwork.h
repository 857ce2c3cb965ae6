// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TArtwork: a window's background picture. Shows a JPEG of the data directory
// (with a double-resolution variant for HiDPI screens when one is shipped) and
// falls back to a plain paper-coloured background when the file is missing,
// damaged or truncated. Pressing any mouse button on it drags its window.

#include <QImage>
#include <QString>
#include <QWidget>

namespace tessaly {

class TArtwork : public QWidget {
  Q_OBJECT

 public:
  // `path` is the JPEG shown at normal resolution; `hidpi_path`, if not empty,
  // a picture of twice the size used on screens with a device pixel ratio > 1.
  explicit TArtwork(const QString& path, const QString& hidpi_path = QString(),
                    QWidget* parent = nullptr);

  // Whether the picture was decoded cleanly (otherwise the plain background shows).
  bool HasPicture() const { return !picture_.isNull(); }
  QSize PictureSize() const { return picture_.size(); }

  // The window's background: DataDir()/<name>.jpg (and <name>@2x.jpg) filling
  // the whole window.
  static TArtwork* Background(const QString& name, QWidget* window);

  // Reads the JPEG at `path` and starts decoding it on a thread of its own;
  // the next TArtwork made for `path` takes that picture instead of reading
  // and decoding the file then. The
  // program starts its main window's picture so before the application object,
  // whose set-up leaves the second core idle.
  static void Prefetch(const QString& path);

  // DataDir()/<name>.jpg and DataDir()/<name>@2x.jpg.
  static QString ArtworkPath(const QString& name);
  static QString HiDpiArtworkPath(const QString& name);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage& PictureFor(qreal device_pixel_ratio);

  QImage picture_;
  QString hidpi_path_;
  QImage hidpi_picture_;
  bool hidpi_tried_ = false;
};

}  // namespace tessaly
