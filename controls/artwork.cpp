// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/artwork.h"

#include <QFile>
#include <QPainter>

#include <future>
#include <map>
#include <mutex>

#include "controls/jpeg_image.h"
#include "controls/skin.h"
#include "controls/window_drag.h"
#include "core/paths.h"

namespace tessaly {

namespace {

std::mutex prefetch_mutex;
// Decodings started by Prefetch(), by path; each is taken once.
std::map<QString, std::future<JpegDecodeResult>>& Prefetched() {
  static std::map<QString, std::future<JpegDecodeResult>> decodings;
  return decodings;
}

JpegDecodeResult Decoded(const QString& path) {
  std::future<JpegDecodeResult> pending;
  {
    const std::lock_guard lock(prefetch_mutex);
    const auto it = Prefetched().find(path);
    if (it != Prefetched().end()) {
      pending = std::move(it->second);
      Prefetched().erase(it);
    }
  }
  return pending.valid() ? pending.get() : DecodeJpegFile(path);
}

}  // namespace

void TArtwork::Prefetch(const QString& path) {
  // The file is read here, the decoding (the bulk of the work) goes on apart.
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  const std::lock_guard lock(prefetch_mutex);
  Prefetched()[path] = std::async(std::launch::async, DecodeJpeg, file.readAll());
}

TArtwork::TArtwork(const QString& path, const QString& hidpi_path, QWidget* parent)
    : QWidget(parent), hidpi_path_(hidpi_path) {
  const JpegDecodeResult decoded = Decoded(path);
  // A truncated file decodes "successfully" with warnings and a grey lower
  // part; such a picture is not shown.
  if (decoded.Clean()) picture_ = decoded.image;
  setAttribute(Qt::WA_OpaquePaintEvent);
  WindowDrag::Install(this);
}

TArtwork* TArtwork::Background(const QString& name, QWidget* window) {
  auto* artwork = new TArtwork(ArtworkPath(name), HiDpiArtworkPath(name), window);
  artwork->setGeometry(window->rect());
  return artwork;
}

QString TArtwork::ArtworkPath(const QString& name) {
  return DataDir() + QLatin1Char('/') + name + QStringLiteral(".jpg");
}

QString TArtwork::HiDpiArtworkPath(const QString& name) {
  return DataDir() + QLatin1Char('/') + name + QStringLiteral("@2x.jpg");
}

const QImage& TArtwork::PictureFor(qreal device_pixel_ratio) {
  if (device_pixel_ratio > 1.0 && !picture_.isNull() && !hidpi_path_.isEmpty()) {
    if (!hidpi_tried_) {
      hidpi_tried_ = true;
      const JpegDecodeResult decoded = DecodeJpegFile(hidpi_path_);
      if (decoded.Clean() && decoded.image.size() == picture_.size() * 2) {
        hidpi_picture_ = decoded.image;
        hidpi_picture_.setDevicePixelRatio(2.0);
      }
    }
    if (!hidpi_picture_.isNull()) return hidpi_picture_;
  }
  return picture_;
}

void TArtwork::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QImage& picture = PictureFor(devicePixelRatioF());
  if (!picture.isNull()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture);
    return;
  }
  // Plain background: paper colour inside a thin seal-red frame.
  painter.fillRect(rect(), skin::kPaper);
  painter.setPen(QPen(skin::kSealRed, 2));
  painter.drawRect(QRectF(rect()).adjusted(5, 5, -5, -5));
}

}  // namespace tessaly
