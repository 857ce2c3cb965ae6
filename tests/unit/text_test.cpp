// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/errors.h"
#include "core/text.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

// Test names and failure reports show a row by its name.
using test::PrintTo;

TEST(Gbk, RoundTripsChineseAndAscii) {
  const QString s = QStringLiteral("张三 abc，《测试》★●　");
  const QByteArray b = ToGbk(s);
  EXPECT_EQ(b.size(), GbkLength(s));
  EXPECT_EQ(FromGbk(b), s);
  EXPECT_EQ(ToGbk(QStringLiteral("张")), QByteArray("\xd5\xc5"));
  EXPECT_TRUE(FitsGbk(QStringLiteral("测算姓名祸福")));
}

struct OutsideGbkCase {
  const char* name;
  const char* text;
};

class OutsideGbkTest : public ::testing::TestWithParam<OutsideGbkCase> {};

TEST_P(OutsideGbkTest, CharacterIsNamedNotReplaced) {
  const QString bad = QString::fromUtf8(GetParam().text);
  EXPECT_FALSE(FitsGbk(bad));
  try {
    ToGbk(bad);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(e.message().contains(QStringLiteral("U+"))) << e.message().toStdString();
    EXPECT_FALSE(e.message().contains(QLatin1Char('?')));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, OutsideGbkTest,
                         ::testing::Values(OutsideGbkCase{"emoji_after_chinese", "张😀"},
                                           OutsideGbkCase{"thai_between_letters", "a\u0E01b"},
                                           OutsideGbkCase{"extension_b", "\U00020000"}),
                         test::RowName());

TEST(Gbk, LengthCountsChineseAsTwoBytes) {
  EXPECT_EQ(GbkLength(QString()), 0);
  EXPECT_EQ(GbkLength(QStringLiteral("abc")), 3);
  EXPECT_EQ(GbkLength(QStringLiteral("张三")), 4);
  EXPECT_EQ(GbkLength(QStringLiteral("23-01时 子时")), 12);
  EXPECT_EQ(GbkLength(QStringLiteral("€")), 1);
}

struct EncodeCase {
  const char* name;
  const char* text;
  const char* hex;
};

class Gb18030Test : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Gb18030Test, HoldsEveryCharacterAndKeepsGbkBytes) {
  EXPECT_EQ(ToGb18030(QString::fromUtf8(GetParam().text)).toHex(), QByteArray(GetParam().hex));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Gb18030Test,
    ::testing::Values(EncodeCase{"gbk_text", "张a", "d5c561"},
                      EncodeCase{"euro_keeps_its_gbk_byte", "€", "80"},
                      EncodeCase{"private_use_keeps_its_gbk_bytes", "\uE7C7", "a8bc"},
                      EncodeCase{"extension_a", "䶮", "fe9f"},
                      EncodeCase{"extension_b_among_gbk", "张𠮷€", "d5c59534b23580"},
                      EncodeCase{"emoji", "😀", "9439fc36"}),
    test::RowName());

TEST(WithoutSingleBytes, KeepsWholeTwoBytePieces) {
  EXPECT_EQ(WithoutSingleBytes(QStringLiteral("张a三 1-丰€·𠮷.")), QStringLiteral("张三丰·𠮷"));
}

struct MidCase {
  const char* name;
  const char* text;
  int first;
  int count;
  const char* expected;
};

class GbkMidTest : public ::testing::TestWithParam<MidCase> {};

TEST_P(GbkMidTest, NeverSplitsACharacter) {
  const MidCase& c = GetParam();
  EXPECT_EQ(GbkMid(QString::fromUtf8(c.text), c.first, c.count), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkMidTest,
    ::testing::Values(MidCase{"hour_name", "23-01时 子时", 9, 12, "子时"},
                      MidCase{"clock_range", "23-01时 子时", 1, 5, "23-01"},
                      MidCase{"second_char", "欧阳明月", 3, 2, "阳"},
                      MidCase{"past_end", "张三", 5, 2, ""},
                      MidCase{"straddle_start", "张三", 2, 3, "三"},
                      MidCase{"straddle_end", "张三李", 1, 3, "张"},
                      MidCase{"odd_cut_of_five", "一二三四五", 1, 9, "一二三四"},
                      MidCase{"eight_of_five", "一二三四五", 1, 8, "一二三四"},
                      MidCase{"mixed", "a张b三", 2, 3, "张b"},
                      MidCase{"zero_count", "张三", 1, 0, ""},
                      MidCase{"negative_start", "张三", -1, 4, "张"},
                      MidCase{"verse_second_half",
                              "一二三四五六七，一二三四五六七。八八八八八八八，九九九九九九九。",
                              33, 64, "八八八八八八八，九九九九九九九。"},
                      MidCase{"surrogate_pair", "张😀三", 3, 4, "😀三"},
                      MidCase{"outside_gbk_is_one_piece", "䶮𠮷张", 3, 2, "𠮷"}),
    test::RowName());

TEST(SplitMemoText, LinesAndSeparators) {
  EXPECT_EQ(SplitMemoText(QStringLiteral("\r\n    【※姓名祸福预测】")),
            (QStringList{QString(), QStringLiteral("    【※姓名祸福预测】")}));
  EXPECT_EQ(SplitMemoText(QStringLiteral("\r")), QStringList{QString()});
  EXPECT_EQ(SplitMemoText(QString()), QStringList{QString()});
  EXPECT_EQ(SplitMemoText(QStringLiteral("a\nb\r\nc")), (QStringList{"a", "b", "c"}));
  EXPECT_EQ(SplitMemoText(QStringLiteral("a\r\n")), (QStringList{"a", QString()}));
}

TEST(WriteGb18030Lines, WritesCrLfAndReplacesWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.txt"));
  WriteGb18030Lines(path, {QStringLiteral("张三"), QString(), QStringLiteral("ab")});
  EXPECT_EQ(test::ReadFile(path), QByteArray("\xd5\xc5\xc8\xfd\r\n\r\nab\r\n"));
  WriteGb18030Lines(path, {QStringLiteral("x")});
  EXPECT_EQ(test::ReadFile(path), QByteArray("x\r\n"));
}

// What is at the file's name before a write.
enum class Before { kNothing, kFile, kLinkToFile, kDanglingLink };

struct PlaceCase {
  const char* name;
  FileUse use;
  Before before;
};

class WritePlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(WritePlaceTest, LinksAreFollowedForChosenFilesOnly) {
  const PlaceCase& c = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("temp.htm"));
  const QString other = dir.filePath(QStringLiteral("other.txt"));
  if (c.before == Before::kFile) {
    WriteGb18030Lines(path, {QStringLiteral("old")});
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
  }
  if (c.before == Before::kLinkToFile) WriteGb18030Lines(other, {QStringLiteral("other")});
  if (c.before == Before::kLinkToFile || c.before == Before::kDanglingLink) {
    ASSERT_TRUE(QFile::link(other, path));
  }
  WriteGb18030Lines(path, {QStringLiteral("new")}, c.use);

  const bool link = c.before == Before::kLinkToFile || c.before == Before::kDanglingLink;
  const bool followed = link && c.use == FileUse::kChosen;
  EXPECT_EQ(QFileInfo(path).isSymLink(), followed);
  EXPECT_EQ(test::ReadFile(path), QByteArray("new\r\n"));
  const QByteArray other_before = c.before == Before::kLinkToFile ? "other\r\n" : "";
  EXPECT_EQ(test::ReadFile(other), followed ? QByteArray("new\r\n") : other_before);
  if (c.use == FileUse::kPrivate) {
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WritePlaceTest,
    ::testing::Values(
        PlaceCase{"private_new", FileUse::kPrivate, Before::kNothing},
        PlaceCase{"private_over_readable_file", FileUse::kPrivate, Before::kFile},
        PlaceCase{"private_link_replaced", FileUse::kPrivate, Before::kLinkToFile},
        PlaceCase{"private_dangling_link_replaced", FileUse::kPrivate, Before::kDanglingLink},
        PlaceCase{"chosen_link_followed", FileUse::kChosen, Before::kLinkToFile},
        PlaceCase{"chosen_dangling_link_followed", FileUse::kChosen, Before::kDanglingLink}),
    test::RowName());

// A file named with all 255 bytes a name may have is replaced (the temporary
// name is shortened, not the file's); nothing else is left in the folder.
TEST(WriteGb18030Lines, LongestNamesAreReplaced) {
  QTemporaryDir dir;
  for (const QString& name : {QString(85, QChar(u'张')), QString(255, QLatin1Char('a')),
                              QString(84, QChar(u'张')) + QStringLiteral("a.b")}) {
    const QString path = dir.filePath(name);
    for (const char* text : {"old", "new"}) {
      WriteGb18030Lines(path, {QString::fromLatin1(text)}, FileUse::kChosenPrivate);
      EXPECT_EQ(test::ReadFile(path), QByteArray(text) + "\r\n") << name.size();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
    QFile::remove(path);
  }
}

// A new page the user names is the user's alone; one replaced keeps its mode.
TEST(WriteGb18030Lines, NewPrivateChosenFileIsTheUsersAlone) {
  QTemporaryDir dir;
  const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("page.htm")));
  const auto mode = [&path] {
    struct stat st {};
    ::stat(path.constData(), &st);
    return st.st_mode & 07777;
  };
  WriteGb18030Lines(QFile::decodeName(path), {QStringLiteral("x")}, FileUse::kChosenPrivate);
  EXPECT_EQ(mode(), 0600u);
  ::chmod(path.constData(), 0644);
  WriteGb18030Lines(QFile::decodeName(path), {QStringLiteral("y")}, FileUse::kChosenPrivate);
  EXPECT_EQ(mode(), 0644u);
}

TEST(WriteGb18030Lines, LinkLoopIsRefused) {
  QTemporaryDir dir;
  const QString a = dir.filePath(QStringLiteral("a.htm"));
  const QString b = dir.filePath(QStringLiteral("b.htm"));
  ASSERT_TRUE(QFile::link(b, a) && QFile::link(a, b));
  try {
    WriteGb18030Lines(a, {QStringLiteral("x")});
    ADD_FAILURE() << "written";
  } catch (const FileError& e) {
    EXPECT_TRUE(e.message().contains(QStringLiteral("循环"))) << e.message().toStdString();
  }
  EXPECT_TRUE(QFileInfo(a).isSymLink() && QFileInfo(b).isSymLink());
}

TEST(WriteGb18030Lines, UnwritablePlacesRaiseFileError) {
  QTemporaryDir dir;
  EXPECT_THROW(
      WriteGb18030Lines(dir.filePath(QStringLiteral("missing/out.txt")), {QStringLiteral("x")}),
      FileError);
  // A full disk: the write fails, and the device stays a device.
  const QFileInfo full(QStringLiteral("/dev/full"));
  if (full.exists() && !full.isFile()) {
    EXPECT_THROW(WriteGb18030Lines(full.filePath(), {QString(70000, QLatin1Char('x'))}), FileError);
    EXPECT_FALSE(QFileInfo(full.filePath()).isFile());
  }
  // A directory in the file's place.
  EXPECT_THROW(WriteGb18030Lines(dir.path(), {QStringLiteral("x")}), FileError);
}

TEST(WriteGb18030Lines, DiskFullKeepsTheOldFileWhole) {
  // A file-size limit stands in for a full disk: the write fails part-way.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("page.htm"));
  WriteGb18030Lines(path, {QStringLiteral("old")});
  rlimit old_limit{};
  ::getrlimit(RLIMIT_FSIZE, &old_limit);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old_limit;
  small.rlim_cur = 1024;
  ::setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(WriteGb18030Lines(path, {QString(9000, QLatin1Char('x'))}), FileError);
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(test::ReadFile(path), QByteArray("old\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("page.htm")});
}

TEST(WriteGb18030Lines, PipesAreRefusedRatherThanBlocking) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath(QStringLiteral("fifo"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_THROW(WriteGb18030Lines(fifo, {QStringLiteral("x")}), FileError);
  EXPECT_FALSE(QFileInfo(fifo).isFile());
}

TEST(EscapeHtml, EscapesMarkupOnly) {
  EXPECT_EQ(EscapeHtml(QStringLiteral("<b>a&b</b> \"q\" '")),
            QStringLiteral("&lt;b&gt;a&amp;b&lt;/b&gt; \"q\" '"));
}

}  // namespace
}  // namespace tessaly
