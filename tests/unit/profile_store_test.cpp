// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <random>

#include "core/errors.h"
#include "store/profile_store.h"
#include "tests/unit/test_support.h"

namespace tessaly {
namespace {

Profile Someone(int n, const QString& mobile = QStringLiteral("13912340080")) {
  Profile p = NewProfile();
  p.name = QStringLiteral("李雨桐");
  p.birthday = QDate(1950, 1, 1).addDays(n);
  p.sex = Sex::Female;
  p.surname_kind = SurnameKind::Compound;
  p.birth_hour = QStringLiteral("午时");
  p.time = QTime(8, 30);
  p.place = QStringLiteral("北京");
  p.longitude = 116.4;
  p.dst = p.late_zi = false;
  p.mobile = mobile;
  p.mother_age = QStringLiteral("30");
  p.wish = QStringLiteral("女孩");
  p.readings = kAllReadings;
  return p;
}

QString Integrity(const QString& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "pragma integrity_check", -1, &st, nullptr);
  const QString result =
      sqlite3_step(st) == SQLITE_ROW
          ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)))
          : QStringLiteral("no answer");
  sqlite3_finalize(st);
  sqlite3_close_v2(db);
  return result;
}

class Store : public ::testing::Test {
 protected:
  QString Path() const { return dir_.path() + QStringLiteral("/tessaly/profiles.sqlite"); }
  void Open() { store_.Open(Path()); }
  QTemporaryDir dir_;
  ProfileStore store_;
};

TEST_F(Store, SavesReplacesAndDeletesByNameAndBirthday) {
  Open();
  struct stat file {
  }, folder{};
  stat(QFile::encodeName(Path()).constData(), &file);
  stat(QFile::encodeName(QFileInfo(Path()).absolutePath()).constData(), &folder);
  EXPECT_EQ(file.st_mode & 0777, 0600u);
  EXPECT_EQ(folder.st_mode & 0777, 0700u);
  EXPECT_FALSE(store_.Save(Someone(1)));
  EXPECT_FALSE(store_.Save(Someone(2)));  // same name, another birthday: another person
  const Profile first = *store_.Find(QStringLiteral("李雨桐"), Someone(1).birthday);
  EXPECT_TRUE(first.SameInputs(Someone(1)));
  EXPECT_TRUE(first.created.isValid());

  EXPECT_TRUE(store_.Save(Someone(1, QStringLiteral("13800000000"))));
  const Profile replaced = *store_.Find(first.name, first.birthday);
  EXPECT_EQ(replaced.mobile, QStringLiteral("13800000000"));
  EXPECT_EQ(replaced.created, first.created);
  EXPECT_EQ(store_.Profiles().size(), 2);
  EXPECT_EQ(store_.Match(QStringLiteral("李雨桐")).size(), 2);
  EXPECT_EQ(store_.Match(first.Key()).size(), 1);
  EXPECT_EQ(store_.Match(QStringLiteral("李雨桐 1950-1-2")).size(), 1);

  EXPECT_TRUE(store_.Delete(first.name, first.birthday));
  EXPECT_FALSE(store_.Delete(first.name, first.birthday));
  EXPECT_EQ(store_.Profiles().size(), 1);
}

TEST_F(Store, HistoryKeepsTheNewest500WithTheirInputs) {
  Open();
  for (int i = 0; i < ProfileStore::kHistoryLimit + 3; ++i) store_.AddHistory(Someone(i));
  const QList<HistoryEntry> history = store_.History();
  ASSERT_EQ(history.size(), ProfileStore::kHistoryLimit);
  EXPECT_TRUE(history.first().inputs.SameInputs(Someone(ProfileStore::kHistoryLimit + 2)));
  EXPECT_TRUE(history.last().inputs.SameInputs(Someone(3)));
  EXPECT_FALSE(store_.HistoryEntryOf(3).has_value());
}

TEST(ProfileJson, RoundTripsEveryField) {
  Profile p = Someone(7);
  p.created = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC);
  p.changed = p.created.addDays(1);
  const QList<Profile> back = ProfilesFromJsonText(ProfilesToJsonText({p, NewProfile()}));
  ASSERT_EQ(back.size(), 2);
  EXPECT_TRUE(back[0].SameInputs(p));
  EXPECT_EQ(back[0].changed, p.changed);
  EXPECT_TRUE(back[1].SameInputs(NewProfile()));
  // Left out: the new window's defaults.
  EXPECT_TRUE(ProfilesFromJsonText("[{}]").first().SameInputs(NewProfile()));
}

struct BadImport {
  const char* name;
  const char* json;
  const char* named;  // what the message must name
};

class BadImports : public ::testing::TestWithParam<BadImport> {};

TEST_P(BadImports, AreRefusedNamingTheEntry) {
  try {
    ProfilesFromJsonText(GetParam().json);
    FAIL() << "accepted";
  } catch (const Error& e) {
    EXPECT_TRUE(e.message().contains(QString::fromUtf8(GetParam().named))) << e.what();
  }
}

// clang-format off
const BadImport kBadImports[] = {
    {"NotJson",       "[{\"name\":",                                            "JSON"},
    {"NotAList",      "{\"name\":\"张三\"}",                                     "列表"},
    {"UnknownField",  "[{}, {\"name\":\"张三\",\"nmae\":\"x\"}]",                "第2项（张三）"},
    {"BadSex",        "[{\"name\":\"张三\",\"sex\":\"M\"}]",                     "sex"},
    {"BadBirthday",   "[{\"birthday\":\"2004-02-30\"}]",                         "birthday"},
    {"OutOfRange",    "[{\"birthday\":\"1900-12-31\"}]",                         "birthday"},
    {"BadHour",       "[{\"birth_hour\":\"午\"}]",                               "birth_hour"},
    {"BadTime",       "[{\"time\":\"25:00\"}]",                                  "time"},
    {"BadLongitude",  "[{\"longitude\":200}]",                                   "longitude"},
    {"BadReading",    "[{\"readings\":[\"name\",\"tarot\"]}]",                   "readings"},
    {"ControlInName", "[{\"name\":\"张\\u001b三\"}]",                            "第1项"},
    {"BidiInName",    "[{\"name\":\"\\u202e张三\"}]",                            "第1项"},
    {"LoneSurrogate", "[{\"name\":\"张\\ud800三\"}]",                           "第1项："},
    {"BidiInMobile",  "[{\"name\":\"张三\",\"mobile\":\"139\\u2066\"}]",         "mobile"},
    {"FieldTwice",    "[{\"name\":\"王五\",\"readings\":[\"name\"],\"name\":\"赵六\"}]",    "两次"},
    {"SameKeyTwice",  "[{\"name\":\"张三\",\"birthday\":\"2004-03-21\"},"
                      " {\"name\":\"张三\",\"birthday\":\"2004-03-21\"}]",       "第2项（张三）与第1项"},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Files, BadImports, ::testing::ValuesIn(kBadImports), test::RowName());

// A store of each earlier schema version, with a profile in it, comes up to
// date with the profile kept and the later columns at their defaults.
class Migration : public Store, public ::testing::WithParamInterface<int> {};

TEST_P(Migration, KeepsTheProfilesOfAnEarlierVersion) {
  QDir().mkpath(QFileInfo(Path()).absolutePath());
  ProfileStore::CreateAtVersion(Path(), GetParam());
  if (GetParam() >= 1) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(Path()).constData(), &db);
    const std::string sql =
        "insert into profiles values ('张小明', '2005-03-02', 0, 0, '子时', '13113213313', '18',"
        " '01', '18', '男孩', 15, '2020-01-01T00:00:00Z', '2020-01-01T00:00:00Z'" +
        std::string(GetParam() >= 2 ? ", null, '', null, 1, 1" : "") + ")";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  Open();
  EXPECT_TRUE(store_.notice().isEmpty()) << store_.notice().toStdString();
  EXPECT_EQ(store_.Profiles().size(), GetParam() >= 1 ? 1 : 0);
  if (GetParam() >= 1) {
    const Profile p = store_.Profiles().first();
    EXPECT_EQ(p.name, QStringLiteral("张小明"));
    EXPECT_FALSE(p.time.has_value());
    EXPECT_TRUE(p.dst && p.late_zi);
  }
  store_.AddHistory(Someone(1));
  store_.Save(Someone(1));
  EXPECT_EQ(store_.History().size(), 1);
}
INSTANTIATE_TEST_SUITE_P(FromVersion, Migration, ::testing::Range(0, ProfileStore::kSchemaVersion));

// A file the program cannot read as its store is moved aside byte for byte and
// an empty store started.
struct Unreadable {
  const char* name;
  void (*make)(const QString& path);
};

class UnreadableFiles : public Store, public ::testing::WithParamInterface<Unreadable> {};

TEST_P(UnreadableFiles, AreMovedAsideUntouched) {
  {
    ProfileStore first;
    first.Open(Path());
    for (int i = 0; i < 50; ++i) first.Save(Someone(i));
  }
  GetParam().make(Path());
  const QByteArray bytes = test::ReadFile(Path());
  Open();
  EXPECT_TRUE(store_.notice().contains(QStringLiteral("profiles.sqlite.damaged-")))
      << store_.notice().toStdString();
  EXPECT_TRUE(store_.Profiles().isEmpty());
  const QStringList aside =
      QDir(QFileInfo(Path()).absolutePath()).entryList({QStringLiteral("*.damaged-*")});
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(test::ReadFile(QFileInfo(Path()).absolutePath() + QLatin1Char('/') + aside[0]), bytes);
}

void Exec(const QString& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(QFile::encodeName(path).constData(), &db);
  sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

const Unreadable kUnreadable[] = {
    {"Truncated", [](const QString& p) { QFile(p).resize(QFile(p).size() / 2); }},
    {"RandomBytes",
     [](const QString& p) {
       QFile f(p);
       f.open(QIODevice::WriteOnly | QIODevice::Truncate);
       std::mt19937 random(7);
       for (int i = 0; i < 8192; ++i) f.putChar(static_cast<char>(random()));
     }},
    {"ForeignDatabase",
     [](const QString& p) {
       QFile::remove(p);
       Exec(p, "create table notes (text); insert into notes values ('mine')");
     }},
    {"NewerVersion", [](const QString& p) { Exec(p, "pragma user_version = 99"); }},
};
INSTANTIATE_TEST_SUITE_P(Kinds, UnreadableFiles, ::testing::ValuesIn(kUnreadable), test::RowName());

TEST_F(Store, FollowsNoSymbolicLink) {
  const QString elsewhere = dir_.path() + QStringLiteral("/elsewhere");
  QDir().mkpath(elsewhere);
  QFile::link(elsewhere, QFileInfo(Path()).absolutePath());  // the folder
  EXPECT_THROW(Open(), StoreError);
  QFile::remove(QFileInfo(Path()).absolutePath());
  QDir().mkpath(QFileInfo(Path()).absolutePath());
  QFile::link(elsewhere + QStringLiteral("/target"), Path());  // the file
  EXPECT_THROW(Open(), StoreError);
  EXPECT_TRUE(QDir(elsewhere).isEmpty());
}

// Runs `body` in a child process; its exit status (0 when it returned true).
int InChild(const std::function<bool()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    try {
      _exit(body() ? 0 : 1);
    } catch (const Error& e) {
      fprintf(stderr, "%s\n", e.what());
      _exit(2);
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Store, FullDiskFailsTheSaveAndKeepsTheOldData) {
  Open();
  store_.Save(Someone(0));
  store_.Close();
  const int status = InChild([this] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{65536, 65536};  // no file may grow beyond 64 KiB
    setrlimit(RLIMIT_FSIZE, &limit);
    ProfileStore store;
    store.Open(Path());
    QList<Profile> many;
    for (int i = 1; i < 500; ++i) many += Someone(i);
    try {
      store.SaveAll(many);
    } catch (const StoreError& e) {
      return e.message().contains(QStringLiteral("磁盘已满"));
    }
    return false;
  });
  EXPECT_EQ(status, 0);
  Open();
  EXPECT_EQ(store_.Profiles().size(), 1);
  EXPECT_EQ(Integrity(Path()), QStringLiteral("ok"));
}

TEST_F(Store, TwoWritersAtOnceLoseNothing) {
  Open();
  const auto writer = [this](int from) {
    return [this, from] {
      ProfileStore store;
      store.Open(Path());
      for (int i = from; i < from + 40; ++i) store.Save(Someone(i));
      return true;
    };
  };
  const pid_t a = fork();
  if (a == 0) _exit(InChild(writer(0)));
  EXPECT_EQ(InChild(writer(1000)), 0);
  int status = 0;
  waitpid(a, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(store_.Profiles().size(), 80);
}

// A writer killed at any moment leaves a sound file with every profile as it
// was or as it was being saved: an import wholly or not at all.
TEST_F(Store, KilledWritersLeaveEveryProfileAsBeforeOrAsSaved) {
  constexpr int kPeople = 20;
  const auto round = [](int r) {
    QList<Profile> list;
    for (int i = 0; i < kPeople; ++i) list += Someone(i, QString::number(r));
    return list;
  };
  Open();
  store_.SaveAll(round(0));  // and left open, as the window would be
  std::vector<int> before(kPeople, 0);
  std::mt19937 random(22);
  for (int r = 1; r <= 200; ++r) {
    const bool import = r % 2 == 0;
    const pid_t pid = fork();
    if (pid == 0) {
      ProfileStore store;
      store.Open(Path());
      if (import) {
        store.SaveAll(round(r));
      } else {
        for (const Profile& p : round(r)) store.Save(p);
      }
      _exit(0);
    }
    usleep(std::uniform_int_distribution<useconds_t>(0, 10000)(random));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);

    ProfileStore store;
    store.Open(Path());
    ASSERT_TRUE(store.notice().isEmpty()) << store.notice().toStdString();
    const QList<Profile> now = store.Profiles();
    ASSERT_EQ(now.size(), kPeople);
    for (int i = 0; i < kPeople; ++i) {
      const int got = now[i].mobile.toInt();
      ASSERT_TRUE(got == before[i] || got == r) << "round " << r << ": " << got;
      // An import wholly or not at all.
      ASSERT_TRUE(!import || (got == r) == (now[0].mobile.toInt() == r)) << "round " << r;
    }
    for (int i = 0; i < kPeople; ++i) before[i] = now[i].mobile.toInt();
  }
  EXPECT_EQ(Integrity(Path()), QStringLiteral("ok"));
}

}  // namespace
}  // namespace tessaly
