// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text.h"

#include <sys/stat.h>

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

#include "core/errors.h"

namespace tessaly {

namespace {

QString DescribeChar(char32_t ch) {
  return QStringLiteral("“%1”(U+%2)")
      .arg(QString::fromUcs4(&ch, 1))
      .arg(
          QString::number(static_cast<uint>(ch), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

bool CharFitsGbk(char32_t ch) {
  if (ch < 0x80) return true;
  QStringEncoder enc("GBK", QStringConverter::Flag::Stateless);
  const QString s = QString::fromUcs4(&ch, 1);
  const QByteArray ignored = enc.encode(s);
  return !enc.hasError();
}

}  // namespace

QByteArray ToGbk(const QString& text) {
  QStringEncoder enc("GBK", QStringConverter::Flag::Stateless);
  QByteArray out = enc.encode(text);
  if (enc.hasError()) {
    const QString bad = FirstNonGbk(text);
    throw Error(QStringLiteral("字符%1无法以 GBK 编码保存").arg(bad));
  }
  return out;
}

QByteArray ToGb18030(const QString& text) {
  QStringEncoder gbk("GBK", QStringConverter::Flag::Stateless);
  QByteArray out = gbk.encode(text);
  if (!gbk.hasError()) return out;
  // Character by character: the two codes differ on the euro sign and on some
  // private-use characters, where GBK's bytes are the ones files always had.
  // An encoder's error sticks, and one must not be moved (its error report
  // would go to the old place): a fresh one is made in place after each error.
  out.clear();
  QStringEncoder gb18030("GB18030", QStringConverter::Flag::Stateless);
  std::optional<QStringEncoder> one_gbk;
  for (const char32_t ch : text.toUcs4()) {
    const QString one = QString::fromUcs4(&ch, 1);
    if (!one_gbk) one_gbk.emplace("GBK", QStringConverter::Flag::Stateless);
    const QByteArray bytes = one_gbk->encode(one);
    if (one_gbk->hasError()) {
      out += gb18030.encode(one);
      one_gbk.reset();
    } else {
      out += bytes;
    }
  }
  return out;
}

QString FromGbk(const QByteArray& bytes) {
  QStringDecoder dec("GBK", QStringConverter::Flag::Stateless);
  return dec.decode(bytes);
}

bool FitsGbk(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() >= 0x80) {
      QStringEncoder enc("GBK", QStringConverter::Flag::Stateless);
      const QByteArray ignored = enc.encode(text);
      return !enc.hasError();
    }
  }
  return true;
}

QString FirstNonGbk(const QString& text) {
  for (char32_t ch : text.toUcs4()) {
    if (!CharFitsGbk(ch)) return DescribeChar(ch);
  }
  return {};
}

int GbkCharWidth(char32_t ch) {
  // Code page 936 keeps the euro sign at 0x80 and maps the lone byte 0xFF to
  // U+F8F5; everything else outside ASCII takes two bytes.
  return (ch < 0x80 || ch == 0x20AC || ch == 0xF8F5) ? 1 : 2;
}

QString WithoutSingleBytes(const QString& text) {
  QString kept = text;
  kept.removeIf([](QChar c) { return GbkCharWidth(c.unicode()) == 1; });
  return kept;
}

int GbkLength(const QString& text) {
  int n = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      n += 2;  // outside GBK in any case; counted as a double-byte character
      ++i;
    } else {
      n += GbkCharWidth(c.unicode());
    }
  }
  return n;
}

QString GbkMid(const QString& text, int first, int count) {
  if (count <= 0) return {};
  if (first < 1) {
    count += first - 1;
    first = 1;
    if (count <= 0) return {};
  }
  const long long last = static_cast<long long>(first) + count - 1;
  QString out;
  long long pos = 1;  // byte position of the current character
  for (qsizetype i = 0; i < text.size() && pos <= last; ++i) {
    const QChar c = text.at(i);
    qsizetype units = 1;
    int width;
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      units = 2;
      width = 2;
    } else {
      width = GbkCharWidth(c.unicode());
    }
    const long long end = pos + width - 1;
    if (pos >= first && end <= last) out.append(text.mid(i, units));
    pos += width;
    i += units - 1;
  }
  return out;
}

QString GbkLeft(const QString& text, int count) { return GbkMid(text, 1, count); }

QStringList SplitMemoText(const QString& text) {
  if (text == QStringLiteral("\r")) return {QString()};
  QStringList lines;
  QString current;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == u'\r' || c == u'\n') {
      lines.append(current);
      current.clear();
      if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
    } else {
      current.append(c);
    }
  }
  lines.append(current);
  return lines;
}

namespace {

void WriteWhole(const QString& path, const QByteArray& bytes, FileUse use) {
  const QByteArray native = QFile::encodeName(path);
  struct stat st {};
  // A private file's own name is looked at, not what a link there names.
  const int found =
      use == FileUse::kPrivate ? ::lstat(native.constData(), &st) : ::stat(native.constData(), &st);
  if (found == 0 && S_ISLNK(st.st_mode)) {
    // QSaveFile would write to the file the link names: the link goes first.
    QFile link(path);
    if (!link.remove()) {
      throw FileError(QStringLiteral("无法替换文件“%1”：%2").arg(path, link.errorString()));
    }
  } else if (found == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    // A character device is written into: replacing it with a regular file would
    // destroy it. A pipe or socket could block for ever: refused.
    if (!S_ISCHR(st.st_mode)) {
      throw FileError(QStringLiteral("“%1”不是普通文件，无法写入").arg(path));
    }
    QFile device(path);
    if (!device.open(QIODevice::WriteOnly) || device.write(bytes) != bytes.size() ||
        !device.flush()) {
      throw FileError(QStringLiteral("无法写入文件“%1”：%2").arg(path, device.errorString()));
    }
    return;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    throw FileError(QStringLiteral("无法创建文件“%1”：%2").arg(path, file.errorString()));
  }
  // The temporary file takes an existing file's permissions; a private one is
  // for the user alone before any byte goes in.
  if (use == FileUse::kPrivate &&
      !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
    const QString why = file.errorString();
    file.cancelWriting();
    throw FileError(QStringLiteral("无法创建文件“%1”：%2").arg(path, why));
  }
  // The bytes sit in the file's buffer until flushed; commit() does not report
  // a flush that failed (disk full) and would put a cut-off file in place.
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    const QString why = file.errorString();
    file.cancelWriting();
    throw FileError(QStringLiteral("无法写入文件“%1”：%2").arg(path, why));
  }
  if (!file.commit()) {
    throw FileError(QStringLiteral("无法写入文件“%1”：%2").arg(path, file.errorString()));
  }
}

}  // namespace

void WriteFileBytes(const QString& path, const QByteArray& bytes, FileUse use) {
  WriteWhole(path, bytes, use);
}

void WriteGb18030Lines(const QString& path, const QStringList& lines, FileUse use) {
  QString all;
  qsizetype size = 0;
  for (const QString& l : lines) size += l.size() + 2;
  all.reserve(size);
  for (const QString& l : lines) {
    all.append(l);
    all.append(QStringLiteral("\r\n"));
  }
  WriteWhole(path, ToGb18030(all), use);
}

QString EscapeHtml(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'&':
        out.append(QStringLiteral("&amp;"));
        break;
      case u'<':
        out.append(QStringLiteral("&lt;"));
        break;
      case u'>':
        out.append(QStringLiteral("&gt;"));
        break;
      default:
        out.append(c);
    }
  }
  return out;
}

}  // namespace tessaly
