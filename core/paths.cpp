#include "core/paths.h"

#include <QCoreApplication>
#include <QDir>
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
  return QDir::cleanPath(ExecutableDir() + QStringLiteral("/../share/tessaly"));
}

QString CacheDir() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.cache");
  const QString dir = base + QStringLiteral("/tessaly");
  if (!QDir().mkpath(dir)) {
    throw FileError(QStringLiteral("无法创建缓存目录“%1”").arg(dir));
  }
  return dir;
}

}  // namespace tessaly
