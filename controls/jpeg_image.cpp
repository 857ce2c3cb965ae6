// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/jpeg_image.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace tessaly {

namespace {

// Larger pictures than this are not artwork; refuse them before allocating.
constexpr JDIMENSION kMaxSide = 8192;

// libjpeg's error manager, extended: errors jump back to the decoder, warnings
// are counted, and nothing is printed on stderr.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  int warnings = 0;
  char message[JMSG_LENGTH_MAX] = {};
};

ErrorManager* ManagerOf(j_common_ptr cinfo) { return reinterpret_cast<ErrorManager*>(cinfo->err); }

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  ErrorManager* err = ManagerOf(cinfo);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int msg_level) {
  if (msg_level < 0) {
    ErrorManager* err = ManagerOf(cinfo);
    ++err->warnings;
    ++cinfo->err->num_warnings;
    if (err->message[0] == '\0') (*cinfo->err->format_message)(cinfo, err->message);
  }
  // Trace messages (msg_level >= 0) are ignored.
}

void OutputMessage(j_common_ptr /*cinfo*/) {}

// The libjpeg part, kept free of objects with destructors between setjmp and
// any longjmp back to it. Returns false when libjpeg raised an error.
bool Decode(jpeg_decompress_struct& cinfo, ErrorManager& err, const QByteArray& bytes,
            QImage& out) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width > kMaxSide || cinfo.image_height > kMaxSide) {
    std::snprintf(err.message, sizeof err.message, "picture too large (%ux%u)",
                  static_cast<unsigned>(cinfo.image_width),
                  static_cast<unsigned>(cinfo.image_height));
    return false;
  }
  // Straight into the layout the windows paint from (0xffRRGGBB words), so
  // that the picture is decoded once and held once.
  cinfo.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
  jpeg_start_decompress(&cinfo);
  out = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
               QImage::Format_RGB32);
  if (out.isNull() || cinfo.output_components != 4) {
    std::snprintf(err.message, sizeof err.message, "cannot hold the decoded picture");
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out.scanLine(static_cast<int>(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

JpegDecodeResult DecodeJpeg(const QByteArray& bytes) {
  JpegDecodeResult result;
  if (bytes.isEmpty()) {
    result.error = QStringLiteral("empty file");
    return result;
  }
  jpeg_decompress_struct cinfo{};
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  err.pub.output_message = OutputMessage;

  QImage decoded;
  const bool ok = Decode(cinfo, err, bytes, decoded);
  jpeg_destroy_decompress(&cinfo);

  result.warnings = err.warnings;
  if (!ok) {
    result.error = QString::fromLocal8Bit(err.message);
    return result;
  }
  if (err.warnings > 0) result.error = QString::fromLocal8Bit(err.message);
  result.image = decoded;
  return result;
}

JpegDecodeResult DecodeJpegFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    JpegDecodeResult result;
    result.error = file.errorString();
    return result;
  }
  return DecodeJpeg(file.readAll());
}

}  // namespace tessaly
