// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
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

bool IsControlCharacter(char32_t c) {
  return (c < 0x20 && c != u'\t') || (c >= 0x7f && c <= 0x9f) || (c >= 0x202a && c <= 0x202e) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029;
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

// Why a system call failed, for a message.
QString Reason() { return QString::fromLocal8Bit(std::strerror(errno)); }

// The path a chosen file's write replaces: the file at the end of the links
// at `path` (each relative one read against its own folder), or `path` when it
// is no link. A chain of more than 40 links is a loop, refused.
QByteArray FollowLinks(QByteArray path, const QString& shown) {
  for (int hops = 0; hops <= 40; ++hops) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::array<char, PATH_MAX> target;
    const ssize_t n = ::readlink(path.constData(), target.data(), target.size());
    if (n < 0 || n == static_cast<ssize_t>(target.size())) return path;
    QByteArray next(target.data(), n);
    const qsizetype slash = path.lastIndexOf('/');
    if (!next.startsWith('/') && slash >= 0) next = path.left(slash + 1) + next;
    path = next;
  }
  throw FileError(QStringLiteral("无法写入文件“%1”：符号链接形成循环").arg(shown));
}

// A temporary name beside `base` in its folder: the name cut to leave room
// for ".XXXXXX" within the 255 bytes a name may have (never inside a UTF-8
// character), and six random letters.
QByteArray TemporaryName(const QByteArray& base) {
  qsizetype keep = std::min<qsizetype>(base.size(), NAME_MAX - 7);
  while (keep > 0 && keep < base.size() &&
         (static_cast<unsigned char>(base[keep]) & 0xc0) == 0x80) {
    --keep;
  }
  QByteArray name = base.left(keep) + '.';
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int i = 0; i < 6; ++i) name += kLetters[QRandomGenerator::global()->bounded(62)];
  return name;
}

// Writes all of `bytes` to the descriptor and flushes them to the disk.
bool WriteAll(int fd, const QByteArray& bytes) {
  for (qsizetype done = 0; done < bytes.size();) {
    const ssize_t n =
        ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return ::fdatasync(fd) == 0 || errno == EINVAL;
}

// Signals that would end the program between naming the written file and
// moving it into place are held back meanwhile, so that no temporary name is
// left behind by them.
class HeldSignals {
 public:
  HeldSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) sigaddset(&set, s);
    ::pthread_sigmask(SIG_BLOCK, &set, &old_);
  }
  ~HeldSignals() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t old_{};
};

// A descriptor closed at the end of the scope.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

// Replaces the file at folder/base with `bytes`. The bytes go into a file
// without a name (O_TMPFILE) that gets one only when complete: a process
// killed before that leaves nothing behind. Where the file system has no such
// files, a temporary name is created instead. The name then replaces the old
// file in one rename.
void ReplaceFile(const QByteArray& folder, const QByteArray& base, const QByteArray& bytes,
                 mode_t mode, bool keep_mode, const QString& shown) {
  const auto fail = [&shown](const char* what) {
    throw FileError(QString::fromUtf8(what).arg(shown, Reason()));
  };
  Fd dir{::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
  if (dir.fd < 0) fail("无法创建文件“%1”：%2");
  Fd file{::openat(dir.fd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode)};
  QByteArray named;  // the temporary name, when the file has one
  if (file.fd < 0) {
    for (int tries = 0; file.fd < 0 && tries < 100; ++tries) {
      named = TemporaryName(base);
      file.fd = ::openat(dir.fd, named.constData(),
                         O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, mode);
      if (file.fd < 0 && errno != EEXIST) break;
    }
    if (file.fd < 0) fail("无法创建文件“%1”：%2");
  }
  // The mode of the file replaced, whatever the umask.
  if ((keep_mode && ::fchmod(file.fd, mode) != 0) || !WriteAll(file.fd, bytes)) {
    const int error = errno;
    if (!named.isEmpty()) ::unlinkat(dir.fd, named.constData(), 0);
    errno = error;
    fail("无法写入文件“%1”：%2");
  }
  const HeldSignals held;
  if (named.isEmpty()) {
    // The file is named through /proc (linkat with AT_EMPTY_PATH would need a
    // privilege); a new file straight under its own name.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.fd);
    const auto name_as = [&](const QByteArray& name) {
      return ::linkat(AT_FDCWD, self.constData(), dir.fd, name.constData(), AT_SYMLINK_FOLLOW) ==
                 0 ||
             (errno == ENOENT &&
              ::linkat(file.fd, "", dir.fd, name.constData(), AT_EMPTY_PATH) == 0);
    };
    if (name_as(base)) return;
    for (int tries = 0; tries < 100 && errno == EEXIST; ++tries) {
      const QByteArray name = TemporaryName(base);
      if (name_as(name)) {
        named = name;
        break;
      }
    }
    if (named.isEmpty()) fail("无法写入文件“%1”：%2");
  }
  if (::renameat(dir.fd, named.constData(), dir.fd, base.constData()) != 0) {
    const int error = errno;
    ::unlinkat(dir.fd, named.constData(), 0);
    errno = error;
    fail("无法写入文件“%1”：%2");
  }
}

void WriteWhole(const QString& path, const QByteArray& bytes, FileUse use) {
  QByteArray native = QFile::encodeName(path);
  // A chosen file is the one its links lead to; a private file's own name is
  // replaced, a link there too, never followed.
  if (use != FileUse::kPrivate) native = FollowLinks(native, path);
  struct stat st {};
  const bool found = ::lstat(native.constData(), &st) == 0;
  if (found && S_ISDIR(st.st_mode)) {
    throw FileError(QStringLiteral("无法创建文件“%1”：是一个文件夹").arg(path));
  }
  if (found && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
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
  // An existing chosen file keeps its permissions; a new one is made under the
  // umask, or for the user alone. A private file is always for the user alone.
  const bool keep = found && S_ISREG(st.st_mode) && use != FileUse::kPrivate;
  const mode_t mode = keep ? (st.st_mode & 07777) : use == FileUse::kChosen ? 0666 : 0600;
  const qsizetype slash = native.lastIndexOf('/');
  const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? "/" : native.left(slash);
  const QByteArray base = native.mid(slash + 1);
  if (base.isEmpty()) throw FileError(QStringLiteral("无法创建文件“%1”：没有文件名").arg(path));
  ReplaceFile(folder, base, bytes, mode, keep || use != FileUse::kChosen, path);
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
