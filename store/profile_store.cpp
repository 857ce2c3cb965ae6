// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/profile_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

#include <cerrno>

#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"

namespace tessaly {

namespace {

// "TSLY" in the file's header: tells our store from any other SQLite file.
constexpr int kApplicationId = 0x54534c59;
constexpr int kBusyTimeoutMs = 10000;

// The schema, one step per version: a store of version N has had the first N
// steps. A new store takes them all; an older one the steps it lacks.
constexpr const char* kMigrations[] = {
    // 1: the window's inputs and readings.
    "create table profiles ("
    " name text not null, birthday text not null, sex integer not null,"
    " surname_kind integer not null, birth_hour text not null, mobile text not null,"
    " mother_age text not null, pregnancy_month text not null, conception_age text not null,"
    " wish text not null, readings integer not null, created text not null,"
    " changed text not null, primary key (name, birthday));",
    // 2: the four-pillars inputs: exact time, place or longitude, DST, late 子时.
    "alter table profiles add column birth_time text;"
    "alter table profiles add column place text not null default '';"
    "alter table profiles add column longitude real;"
    "alter table profiles add column dst integer not null default 1;"
    "alter table profiles add column late_zi integer not null default 1;",
    // 3: the reports made, with their inputs as a profile in JSON.
    "create table history (id integer primary key autoincrement, made text not null,"
    " inputs text not null);",
};
static_assert(std::size(kMigrations) == ProfileStore::kSchemaVersion);

constexpr const char* kColumns =
    "name, birthday, sex, surname_kind, birth_hour, mobile, mother_age, pregnancy_month,"
    " conception_age, wish, readings, created, changed, birth_time, place, longitude, dst,"
    " late_zi";

QString LibraryMessage(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

// Whether the result code says that the file is no database of ours to read.
bool IsDamage(int rc) {
  const int primary = rc & 0xff;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// The reason a step failed, as the user reads it.
QString Reason(sqlite3* db, int rc, const QString& path) {
  const int primary = rc & 0xff;
  const int err = sqlite3_system_errno(db);
  if (primary == SQLITE_FULL || err == ENOSPC || err == EFBIG || err == EDQUOT) {
    return QStringLiteral("磁盘已满（或超出文件大小限制）");
  }
  if (primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM ||
      err == EACCES || err == EROFS) {
    return QStringLiteral("文件夹“%1”不可写").arg(QFileInfo(path).absolutePath());
  }
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
    return QStringLiteral("档案库一直被另一个程序占用，请稍后再试");
  }
  return LibraryMessage(db);
}

QString TimeText(const QDateTime& t) { return t.toUTC().toString(Qt::ISODate); }
QDateTime TimeOf(const QString& text) { return QDateTime::fromString(text, Qt::ISODate).toUTC(); }

// One prepared statement; raises StoreError with the store's reason.
class Statement {
 public:
  Statement(sqlite3* db, const QByteArray& sql, QString path) : db_(db), path_(std::move(path)) {
    const int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &st_, nullptr);
    if (rc != SQLITE_OK) Fail(rc);
  }
  ~Statement() { sqlite3_finalize(st_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int i, const QString& text) {
    if (text.isNull()) {
      sqlite3_bind_null(st_, i);
    } else {
      const QByteArray b = text.toUtf8();
      sqlite3_bind_text(st_, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    }
    return *this;
  }
  Statement& Bind(int i, qint64 n) {
    sqlite3_bind_int64(st_, i, n);
    return *this;
  }
  Statement& Bind(int i, std::optional<double> x) {
    if (x) {
      sqlite3_bind_double(st_, i, *x);
    } else {
      sqlite3_bind_null(st_, i);
    }
    return *this;
  }
  // Whether there is a row; raises on failure.
  bool Step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) Fail(rc);
    return false;
  }
  QString Text(int i) const {
    if (sqlite3_column_type(st_, i) == SQLITE_NULL) return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st_, i)),
                             sqlite3_column_bytes(st_, i));
  }
  qint64 Int(int i) const { return sqlite3_column_int64(st_, i); }
  std::optional<double> Real(int i) const {
    if (sqlite3_column_type(st_, i) == SQLITE_NULL) return std::nullopt;
    return sqlite3_column_double(st_, i);
  }
  [[noreturn]] void Fail(int rc) const { throw StoreError(Reason(db_, rc, path_)); }

 private:
  sqlite3* db_;
  QString path_;
  sqlite3_stmt* st_ = nullptr;
};

Profile ProfileOfRow(const Statement& s) {
  Profile p;
  p.name = s.Text(0);
  p.birthday = QDate::fromString(s.Text(1), Qt::ISODate);
  p.sex = s.Int(2) != 0 ? Sex::Female : Sex::Male;
  p.surname_kind = s.Int(3) != 0 ? SurnameKind::Compound : SurnameKind::Single;
  p.birth_hour = s.Text(4);
  p.mobile = s.Text(5);
  p.mother_age = s.Text(6);
  p.pregnancy_month = s.Text(7);
  p.conception_age = s.Text(8);
  p.wish = s.Text(9);
  p.readings = Readings::fromInt(static_cast<unsigned>(s.Int(10)) & kEveryReading.toInt());
  p.created = TimeOf(s.Text(11));
  p.changed = TimeOf(s.Text(12));
  if (const QString t = s.Text(13); !t.isEmpty())
    p.time = QTime::fromString(t, QStringLiteral("HH:mm"));
  p.place = s.Text(14);
  p.longitude = s.Real(15);
  p.dst = s.Int(16) != 0;
  p.late_zi = s.Int(17) != 0;
  return p;
}

// The folder of the store: created for the user alone when missing; when there,
// it must be a folder of the user's own, not a link to one.
void CheckFolder(const QString& dir) {
  const QFileInfo info(dir);
  if (!QDir().mkpath(info.absolutePath()) ||
      (!QDir().mkdir(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
       !QFileInfo::exists(dir) && !info.isSymLink())) {
    throw StoreError(QStringLiteral("无法创建档案文件夹“%1”").arg(dir));
  }
  struct stat st {};
  if (::lstat(QFile::encodeName(dir).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
      st.st_uid != ::geteuid()) {
    throw StoreError(QStringLiteral("档案文件夹“%1”是符号链接、不是文件夹或不属于当前用户，"
                                    "为安全起见不予使用。请删除它或改归当前用户所有后再试。")
                         .arg(dir));
  }
  if ((st.st_mode & 077) != 0) ::chmod(QFile::encodeName(dir).constData(), 0700);
}

// The file and its journal, where they are there: plain files of the user's
// own. The file is created (0600) when missing, so that SQLite, which gives the
// journal the file's permissions, never makes either readable by others.
void CheckFile(const QString& path) {
  for (const char* suffix : {"", "-wal", "-shm"}) {
    const QByteArray name = QFile::encodeName(path) + suffix;
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
      throw StoreError(QStringLiteral("档案库文件“%1”是符号链接、不是普通文件或不属于当前用户，"
                                      "为安全起见不予使用。请删除它或改归当前用户所有后再试。")
                           .arg(QFile::decodeName(name)));
    }
    if ((st.st_mode & 077) != 0) ::chmod(name.constData(), 0600);
  }
  const int fd = ::open(QFile::encodeName(path).constData(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::close(fd);
  } else if (errno != EEXIST) {
    throw StoreError(QStringLiteral("无法创建档案库文件“%1”：文件夹不可写或磁盘已满").arg(path));
  }
}

// Why the open file cannot be our store (damaged, another program's, newer),
// or empty when it can; raises StoreError when it cannot be read at all for
// another reason (a busy store).
QString Unusable(sqlite3* db, const QString& path) {
  sqlite3_stmt* st = nullptr;
  QStringList rows;
  const auto query = [&](const char* sql) -> int {
    rows.clear();
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK) {
      while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        rows += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
      }
    }
    sqlite3_finalize(st);
    st = nullptr;
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
  };
  const auto check = [&](const char* sql) -> QString {
    const int rc = query(sql);
    if (rc == SQLITE_OK) return {};
    if (IsDamage(rc)) return QStringLiteral("已损坏");
    throw StoreError(QStringLiteral("无法打开档案库：") + Reason(db, rc, path));
  };
  if (QString fault = check("pragma quick_check"); !fault.isEmpty()) return fault;
  if (rows != QStringList(QStringLiteral("ok"))) return QStringLiteral("已损坏");
  if (QString fault = check("pragma application_id"); !fault.isEmpty()) return fault;
  const int app = rows.value(0).toInt();
  if (QString fault = check("select count(*) from sqlite_master"); !fault.isEmpty()) return fault;
  const bool empty = rows.value(0).toInt() == 0;
  if (app != kApplicationId && !(app == 0 && empty)) return QStringLiteral("不是本程序的档案库");
  if (QString fault = check("pragma user_version"); !fault.isEmpty()) return fault;
  if (rows.value(0).toInt() > ProfileStore::kSchemaVersion) {
    return QStringLiteral("由更新版本的程序写成，这个版本读不了");
  }
  return {};
}

// Moves the file (and its journal) aside as PATH.damaged-YYYYMMDD-HHMMSS.
QString MoveAside(const QString& path) {
  const QString base = path + QStringLiteral(".damaged-") +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString aside = base;
  for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n) {
    aside = base + QStringLiteral("~%1").arg(n);
  }
  const QByteArray from = QFile::encodeName(path), to = QFile::encodeName(aside);
  if (::rename(from.constData(), to.constData()) != 0) {
    throw StoreError(QStringLiteral("档案库文件“%1”无法使用，也无法改名移开").arg(path));
  }
  // The journal belongs to the old file: left here it would be read into the new one.
  ::rename((from + "-wal").constData(), (to + "-wal").constData());
  ::unlink((from + "-shm").constData());
  return aside;
}

sqlite3* OpenFile(const QString& path) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const QString reason = Reason(db, rc, path);
    sqlite3_close_v2(db);
    throw StoreError(QStringLiteral("无法打开档案库：") + reason);
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  return db;
}

}  // namespace

ProfileStore::ProfileStore() = default;
ProfileStore::~ProfileStore() { Close(); }

QString ProfileStore::DefaultPath() {
  // The same folder for the window and the command-line tool, whatever the
  // running program is called.
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
  return base + QStringLiteral("/tessaly/profiles.sqlite");
}

void ProfileStore::Close() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void ProfileStore::Exec(const char* sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
  sqlite3_free(message);
  if (rc != SQLITE_OK) throw StoreError(Reason(db_, rc, path_));
}

void ProfileStore::Open(const QString& path) {
  Close();
  notice_.clear();
  path_ = path;
  CheckFolder(QFileInfo(path).absolutePath());
  CheckFile(path);
  db_ = OpenFile(path);
  QString fault;
  try {
    fault = Unusable(db_, path);
  } catch (...) {
    Close();
    throw;
  }
  if (!fault.isEmpty()) {
    Close();
    const QString aside = MoveAside(path);
    notice_ =
        QStringLiteral("档案库文件“%1”%2，没有改动它：已改名为“%3”留存，现在从空白的档案库开始。")
            .arg(path, fault, QFileInfo(aside).fileName());
    CheckFile(path);
    db_ = OpenFile(path);
  }
  try {
    // Setting the journal mode writes the header; by now the file is ours.
    {
      Statement wal(db_, "pragma journal_mode = wal", path_);
      if (!wal.Step() || wal.Text(0) != u"wal") {
        throw StoreError(QStringLiteral("无法打开档案库：不能使用预写日志"));
      }
    }
    Exec("pragma synchronous = full");
    Transaction("无法打开档案库：", [this] {
      Statement version(db_, "pragma user_version", path_);
      version.Step();
      const qint64 from = version.Int(0);
      if (from > kSchemaVersion) {
        throw StoreError(QStringLiteral("无法打开档案库：它刚被更新版本的程序改写"));
      }
      for (qint64 v = from; v < kSchemaVersion; ++v) Exec(kMigrations[v]);
      if (from < kSchemaVersion) {
        Exec(QStringLiteral("pragma user_version = %1; pragma application_id = %2")
                 .arg(kSchemaVersion)
                 .arg(kApplicationId)
                 .toUtf8()
                 .constData());
      }
    });
  } catch (...) {
    Close();
    throw;
  }
}

void ProfileStore::CreateAtVersion(const QString& path, int version) {
  QFile::remove(path);
  CheckFile(path);
  sqlite3* db = OpenFile(path);
  QByteArray sql;
  for (int v = 0; v < version; ++v) sql += kMigrations[v];
  sql += QStringLiteral("pragma user_version = %1; pragma application_id = %2;")
             .arg(version)
             .arg(kApplicationId)
             .toUtf8();
  const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
  sqlite3_close_v2(db);
  if (rc != SQLITE_OK) throw StoreError(QStringLiteral("无法建立旧版本的档案库"));
}

void ProfileStore::Transaction(const char* what, const std::function<void()>& body) {
  if (db_ == nullptr) throw StoreError(QStringLiteral("档案库没有打开"));
  const QString prefix = QString::fromUtf8(what);
  try {
    // Taking the write lock first: a reader that wants to write later could
    // only fail, where this one waits for the other writer.
    Exec("begin immediate");
  } catch (const StoreError& e) {
    throw StoreError(prefix + e.message());
  }
  try {
    body();
    Exec("commit");
  } catch (const StoreError& e) {
    sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    throw StoreError(e.message().startsWith(prefix) ? e.message() : prefix + e.message());
  } catch (...) {
    sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    throw;
  }
}

QList<Profile> ProfileStore::Profiles() {
  if (db_ == nullptr) throw StoreError(QStringLiteral("档案库没有打开"));
  Statement s(db_, QByteArray("select ") + kColumns + " from profiles order by name, birthday",
              path_);
  QList<Profile> list;
  while (s.Step()) list += ProfileOfRow(s);
  return list;
}

std::optional<Profile> ProfileStore::Find(const QString& name, QDate birthday) {
  if (db_ == nullptr) throw StoreError(QStringLiteral("档案库没有打开"));
  Statement s(db_,
              QByteArray("select ") + kColumns + " from profiles where name = ?1 and birthday = ?2",
              path_);
  s.Bind(1, name).Bind(2, birthday.toString(Qt::ISODate));
  if (!s.Step()) return std::nullopt;
  return ProfileOfRow(s);
}

QList<Profile> ProfileStore::Match(const QString& key) {
  const QString text = key.trimmed();
  const qsizetype space = text.lastIndexOf(QLatin1Char(' '));
  if (space > 0) {
    QDate day;
    try {
      day = StrToDate(text.mid(space + 1));  // also without leading zeros: 2004-3-21
    } catch (const ConvertError&) {
    }
    if (day.isValid()) {
      const auto found = Find(text.left(space).trimmed(), day);
      return found ? QList<Profile>{*found} : QList<Profile>{};
    }
  }
  QList<Profile> list;
  for (const Profile& p : Profiles()) {
    if (p.name == text) list += p;
  }
  return list;
}

void ProfileStore::Upsert(const Profile& in, bool& replaced) {
  Profile p = in;
  const QDateTime now = Clock::Now().toUTC();
  const std::optional<Profile> old = Find(p.name, p.birthday);
  replaced = old.has_value();
  if (old && old->created.isValid()) p.created = old->created;
  if (!p.created.isValid()) p.created = now;
  if (!p.changed.isValid() || in.changed == (old ? old->changed : QDateTime())) p.changed = now;
  Statement s(db_,
              "insert or replace into profiles (name, birthday, sex, surname_kind, birth_hour,"
              " mobile, mother_age, pregnancy_month, conception_age, wish, readings, created,"
              " changed, birth_time, place, longitude, dst, late_zi) values"
              " (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18)",
              path_);
  s.Bind(1, p.name)
      .Bind(2, p.birthday.toString(Qt::ISODate))
      .Bind(3, qint64{p.sex == Sex::Female})
      .Bind(4, qint64{p.surname_kind == SurnameKind::Compound})
      .Bind(5, p.birth_hour)
      .Bind(6, p.mobile)
      .Bind(7, p.mother_age)
      .Bind(8, p.pregnancy_month)
      .Bind(9, p.conception_age)
      .Bind(10, p.wish)
      .Bind(11, qint64{p.readings.toInt()})
      .Bind(12, TimeText(p.created))
      .Bind(13, TimeText(p.changed))
      .Bind(14, p.time ? p.time->toString(QStringLiteral("HH:mm")) : QString())
      .Bind(15, p.place.isNull() ? QStringLiteral("") : p.place)
      .Bind(16, p.longitude)
      .Bind(17, qint64{p.dst})
      .Bind(18, qint64{p.late_zi});
  s.Step();
}

bool ProfileStore::Save(const Profile& profile) {
  bool replaced = false;
  Transaction("档案没有保存：", [&] { Upsert(profile, replaced); });
  return replaced;
}

void ProfileStore::SaveAll(const QList<Profile>& profiles) {
  Transaction("档案没有导入：", [&] {
    bool replaced = false;
    for (const Profile& p : profiles) Upsert(p, replaced);
  });
}

bool ProfileStore::Delete(const QString& name, QDate birthday) {
  bool deleted = false;
  Transaction("档案没有删除：", [&] {
    Statement s(db_, "delete from profiles where name = ?1 and birthday = ?2", path_);
    s.Bind(1, name).Bind(2, birthday.toString(Qt::ISODate));
    s.Step();
    deleted = sqlite3_changes(db_) > 0;
  });
  return deleted;
}

qint64 ProfileStore::AddHistory(const Profile& inputs) {
  Profile p = inputs;
  p.created = p.changed = QDateTime();
  qint64 id = 0;
  Transaction("报告没有记入历史：", [&] {
    Statement add(db_, "insert into history (made, inputs) values (?1, ?2)", path_);
    add.Bind(1, TimeText(Clock::Now()))
        .Bind(2, QString::fromUtf8(QJsonDocument(ProfileToJson(p)).toJson(QJsonDocument::Compact)));
    add.Step();
    id = sqlite3_last_insert_rowid(db_);
    Statement trim(db_, "delete from history where id <= ?1", path_);
    trim.Bind(1, id - kHistoryLimit);
    trim.Step();
  });
  return id;
}

namespace {
HistoryEntry EntryOfRow(const Statement& s) {
  HistoryEntry e;
  e.id = s.Int(0);
  e.made = TimeOf(s.Text(1));
  // Inputs this program wrote itself; a field it cannot read keeps its default.
  ProfileFromJson(QJsonDocument::fromJson(s.Text(2).toUtf8()).object(), e.inputs);
  e.inputs.created = e.inputs.changed = QDateTime();
  return e;
}
}  // namespace

QList<HistoryEntry> ProfileStore::History(int limit) {
  if (db_ == nullptr) throw StoreError(QStringLiteral("档案库没有打开"));
  Statement s(db_, "select id, made, inputs from history order by id desc limit ?1", path_);
  s.Bind(1, limit);
  QList<HistoryEntry> list;
  while (s.Step()) list += EntryOfRow(s);
  return list;
}

std::optional<HistoryEntry> ProfileStore::HistoryEntryOf(qint64 id) {
  if (db_ == nullptr) throw StoreError(QStringLiteral("档案库没有打开"));
  Statement s(db_, "select id, made, inputs from history where id = ?1", path_);
  s.Bind(1, id);
  if (!s.Step()) return std::nullopt;
  return EntryOfRow(s);
}

}  // namespace tessaly
