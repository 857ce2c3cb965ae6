// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/errors.h"

namespace tessaly {

namespace {
QString& ExecutablePathOverride() {
  static QString path;
  return path;
}

QString ExecutableDir() {
  if (!ExecutablePathOverride().isEmpty()) {
    return QFileInfo(ExecutablePathOverride()).absolutePath();
  }
  if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
  const QFileInfo self(QStringLiteral("/proc/self/exe"));
  return QFileInfo(self.symLinkTarget()).absolutePath();
}
}  // namespace

void SetExecutablePath(const QString& path) { ExecutablePathOverride() = path; }

QString DataDir() {
  return QDir::cleanPath(ExecutableDir() + QLatin1Char('/') +
                         QStringLiteral(TESSALY_DATA_RELATIVE_DIR));
}

QString ModuleDir() {
  return QDir::cleanPath(ExecutableDir() + QLatin1Char('/') +
                         QStringLiteral(TESSALY_MODULE_RELATIVE_DIR));
}

QString CacheDir() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.cache");
  const QString dir = base + QStringLiteral("/tessaly");
  // Created for the user alone; one that is there already must be the user's,
  // itself and (when it is a link) the folder it names, or someone else could
  // lay links in it or read the pages.
  if (!QDir().mkpath(base) ||
      (!QDir().mkdir(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
       !QFileInfo(dir).isDir())) {
    throw FileError(QStringLiteral("无法创建缓存目录“%1”").arg(dir));
  }
  const QByteArray native = QFile::encodeName(dir);
  struct stat name {
  }, folder{};
  if (::lstat(native.constData(), &name) != 0 || ::stat(native.constData(), &folder) != 0 ||
      name.st_uid != ::geteuid() || folder.st_uid != ::geteuid()) {
    throw FileError(QStringLiteral("缓存目录“%1”不属于当前用户，为安全起见不予使用。"
                                   "请删除该目录或将其改归当前用户所有后再试。")
                        .arg(dir));
  }
  return dir;
}

}  // namespace tessaly
