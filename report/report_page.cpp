// SPDX-License-Identifier: GPL-3.0-or-later
// The report page's files in the cache directory. Apart from the report's
// assembly, so that the viewer, which writes the page again, does not bring
// in the readings and the store.
#include <QDir>
#include <QFile>

#include "core/errors.h"
#include "core/paths.h"
#include "core/text.h"
#include "report/report.h"

namespace tessaly {

namespace {

// The page files, in the cache directory.
constexpr char kPageFile[] = "temp.htm";
constexpr char kStyledPageFile[] = "temp.tmp";

QString& GivenPageDir() {
  static QString dir;
  return dir;
}

QString CacheFile(const char* name) { return PageDir() + QLatin1Char('/') + QLatin1String(name); }

}  // namespace

void WriteReportPage(const QStringList& page, const QString& path, FileUse use) {
  WriteGb18030Lines(path, page, use);
}

QString PageDir() { return GivenPageDir().isEmpty() ? CacheDir() : GivenPageDir(); }

void SetPageDir(const QString& dir) { GivenPageDir() = dir; }

QString TempPagePath() { return CacheFile(kPageFile); }

QString StyledPagePath() { return CacheFile(kStyledPageFile); }

void CleanCachePages(bool pages) {
  QString dir;
  try {
    dir = PageDir();
  } catch (const FileError&) {
    return;
  }
  const QString page = QLatin1String(kPageFile);
  const QString styled = QLatin1String(kStyledPageFile);
  QStringList names = {page + QStringLiteral(".??????"), styled + QStringLiteral(".??????")};
  if (pages) names << page << styled;
  const QDir cache(dir);
  for (const QString& name : cache.entryList(
           names, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    QFile::remove(cache.filePath(name));
  }
}

}  // namespace tessaly
