// SPDX-License-Identifier: GPL-3.0-or-later
// The whole report with hostile texts in every box: markup, script, quotes, SQL
// fragments, wildcards, control characters, characters outside GBK, very long
// texts. Nothing may crash, match by accident or reach the page unescaped;
// characters GBK cannot hold reach the page in GB18030. The cache directory is
// used only when it is the user's own.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <optional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/errors.h"
#include "core/paths.h"
#include "core/text.h"
#include "report/report.h"
#include "store/reference_store.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

const QString kHostile[] = {
    QStringLiteral("<script>alert(1)</script>"),
    QStringLiteral("<img src=x onerror=alert(1)>"),
    QStringLiteral("\"'\"; drop table 汉字笔划; --"),
    QStringLiteral("' or 1=1 --"),
    QStringLiteral("%_%"),
    QStringLiteral("张%"),
    QStringLiteral("a\tb\rc\nd\x01\x7f"),
    QStringLiteral("&amp;&lt;"),
    QString(5000, QChar(u'张')),
    QString(5000, QLatin1Char('<')),
    QString(),
};

class HostileInput : public ::testing::Test {
 protected:
  void SetUp() override { store_.Open(test::BuiltStorePath()); }

  Person AllTicked(const QString& text) const {
    Person person;
    person.birthday = DateTime::AtMidnight(QDate(1988, 8, 8));
    person.readings = kAllReadings;
    person.name = text;
    person.mobile = QStringLiteral("1381234") + text;
    person.wish = text;  // typed over the wished sex; the index still selects an entry
    return person;
  }

  ReferenceStore store_;
  QTemporaryDir dir_;
};

TEST_F(HostileInput, ReportEscapesTypedTextAndMatchesNothing) {
  for (const QString& text : kHostile) {
    SCOPED_TRACE(text.left(30).toStdString());
    Report report;
    QStringList messages;
    BuildReport(
        AllTicked(text), store_, [&](const QString& m) { messages << m; }, report);
    ASSERT_FALSE(report.page.isEmpty());
    // The only script in the page is the template's own.
    EXPECT_EQ(report.page.join(QLatin1Char('\n')).count(QStringLiteral("<script")), 1);
    EXPECT_FALSE(report.page.join(QLatin1Char('\n')).contains(QStringLiteral("<img")));
    // No wildcard or quote finds a stroke count: a name of such characters has
    // no strokes and no grids.
    if (!text.isEmpty() && !text.contains(QChar(u'张'))) {
      ASSERT_TRUE(report.results.name);
      for (const std::optional<int>& strokes : report.results.name->strokes) {
        EXPECT_FALSE(strokes) << *strokes;
      }
    }
    // The mobile number holds non-digits: the reading says so and the report
    // goes on (after the name reading's word on characters without strokes).
    if (!text.isEmpty()) {
      ASSERT_FALSE(messages.isEmpty());
      EXPECT_EQ(messages.last(), QStringLiteral("手机号码输入错误，测算失败！"));
    }
  }
}

TEST_F(HostileInput, CharactersOutsideGbkReachThePage) {
  const QString path = dir_.filePath(QStringLiteral("temp.htm"));
  for (const QString& name :
       {QStringLiteral("李😀"), QStringLiteral("김철수"), QStringLiteral("吉𠮷䶮")}) {
    Report report;
    QStringList messages;
    RunReport(
        AllTicked(name), store_, [&](const QString& m) { messages << m; }, report, path);
    EXPECT_TRUE(test::ReadFile(path).contains(
        ToGb18030(QStringLiteral("    ") + name + QStringLiteral("  生于"))))
        << name.toStdString();
    // 𠮷 and 䶮 have stroke counts (吉𠮷䶮 totals 32); the emoji and Hangul none.
    const bool counted = name == QStringLiteral("吉𠮷䶮");
    EXPECT_NE(!messages.isEmpty() && messages.first().startsWith(QStringLiteral("字库中查不到“")),
              counted)
        << name.toStdString();
    EXPECT_EQ(report.results.name->total, counted ? std::optional(32) : std::nullopt)
        << name.toStdString();
  }
}

TEST(CacheDirectory, UnusableCacheIsAClearFileError) {
  QTemporaryDir dir;
  const QString blocker = dir.filePath(QStringLiteral("not-a-directory"));
  QFile f(blocker);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  const QByteArray old = qgetenv("XDG_CACHE_HOME");
  qputenv("XDG_CACHE_HOME", blocker.toLocal8Bit());
  EXPECT_THROW(CacheDir(), FileError);
  EXPECT_THROW(TempPagePath(), FileError);
  qputenv("XDG_CACHE_HOME", old);
}

// The cache directory in a scratch home, as it may be found there.
enum class Found { kNothing, kOthersFolder, kLinkToOthersFolder };

// Test names and failure reports show a row by its name.
void PrintTo(const std::pair<const char*, Found>& row, std::ostream* os) { *os << row.first; }

class CacheOwner : public ::testing::TestWithParam<std::pair<const char*, Found>> {};

TEST_P(CacheOwner, OnlyTheUsersOwnFolderIsUsed) {
  const QByteArray old = qgetenv("XDG_CACHE_HOME");
  QTemporaryDir home;
  qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path()));
  const QString dir = home.filePath(QStringLiteral("tessaly"));
  // Someone else's folder: made over to another user, or the root folder.
  QString others = QStringLiteral("/");
  if (::geteuid() == 0) {
    others = home.filePath(QStringLiteral("others"));
    ASSERT_TRUE(QDir().mkdir(others));
    ASSERT_EQ(::chown(QFile::encodeName(others).constData(), 65534, 65534), 0);
  }
  if (GetParam().second == Found::kOthersFolder) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a folder over needs root";
    ASSERT_TRUE(QFile::rename(others, dir));
  }
  if (GetParam().second == Found::kLinkToOthersFolder) {
    ASSERT_TRUE(QFile::link(others, dir));
  }
  if (GetParam().second == Found::kNothing) {
    EXPECT_EQ(CacheDir(), dir);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(dir).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
  } else {
    try {
      CacheDir();
      ADD_FAILURE() << "someone else's folder was used";
    } catch (const FileError& e) {
      EXPECT_TRUE(e.message().contains(dir)) << e.message().toStdString();
    }
  }
  qputenv("XDG_CACHE_HOME", old);
}

INSTANTIATE_TEST_SUITE_P(Cases, CacheOwner,
                         ::testing::Values(std::pair{"created_for_the_user_alone", Found::kNothing},
                                           std::pair{"others_folder", Found::kOthersFolder},
                                           std::pair{"link_to_others_folder",
                                                     Found::kLinkToOthersFolder}),
                         [](const auto& i) { return std::string(i.param.first); });

}  // namespace
}  // namespace tessaly
