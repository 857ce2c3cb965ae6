// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// JPEG decoding with libjpeg(-turbo) for the windows' artwork.

#include <QImage>
#include <QString>

namespace tessaly {

struct JpegDecodeResult {
  QImage image;      // RGB32; null when decoding failed
  int warnings = 0;  // libjpeg warnings (a truncated file decodes with warnings only)
  QString error;     // libjpeg's message when it failed, or why the file could not be read

  // A picture fit to show: decoded without any warning.
  bool Clean() const { return !image.isNull() && warnings == 0; }
};

// Decodes a JPEG held in memory.
JpegDecodeResult DecodeJpeg(const QByteArray& bytes);
// Reads and decodes a JPEG file.
JpegDecodeResult DecodeJpegFile(const QString& path);

}  // namespace tessaly
