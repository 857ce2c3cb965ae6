// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's own store of profiles (档案) and of the reports made (the
// history): an SQLite database, profiles.sqlite, in the user's data folder
// (~/.local/share/tessaly), kept for the user alone.
//
// The folder is 0700 and the file 0600, and both are used only when they are
// the user's own and not symbolic links. Every change is one transaction, the
// journal is a write-ahead log and a busy store is waited for, so the window and
// tessaly-cli can use it at the same time. A file that is damaged, belongs to
// another program or was written by a newer version is never written to: it is
// moved aside as profiles.sqlite.damaged-YYYYMMDD-HHMMSS, an empty store takes
// its place and notice() says so.

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

#include "store/profile.h"

struct sqlite3;

namespace tessaly {

// One report made: when, and the inputs and readings it was made from.
struct HistoryEntry {
  qint64 id = 0;   // grows with each entry; `history show N` takes it
  QDateTime made;  // UTC
  Profile inputs;  // created and changed left empty
};

class ProfileStore {
 public:
  // The schema version this program writes; older files are brought up to it.
  static constexpr int kSchemaVersion = 3;
  // The history keeps this many entries, the newest.
  static constexpr int kHistoryLimit = 500;

  ProfileStore();
  ~ProfileStore();
  ProfileStore(const ProfileStore&) = delete;
  ProfileStore& operator=(const ProfileStore&) = delete;

  // $XDG_DATA_HOME/tessaly/profiles.sqlite.
  static QString DefaultPath();

  // Opens the store, creating the folder and the file when they are missing.
  // Raises StoreError with the reason when it cannot be used (a link, another
  // user's file, a folder that cannot be written, a busy store).
  void Open(const QString& path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  // What Open had to do with a damaged, foreign or newer file; empty otherwise.
  const QString& notice() const { return notice_; }

  // Every profile, by name and then birthday.
  QList<Profile> Profiles();
  std::optional<Profile> Find(const QString& name, QDate birthday);
  // The profiles of a KEY, "name birthday" or a name alone: every profile of
  // that name (none, one, or several for an ambiguous name).
  QList<Profile> Match(const QString& key);

  // Saves the profile under its key, replacing one of the same key (whose
  // created time stays). Returns whether one was replaced. Raises StoreError
  // and changes nothing when it cannot be written (a full disk).
  bool Save(const Profile& profile);
  // Saves every profile in one transaction: all of them or none.
  void SaveAll(const QList<Profile>& profiles);
  bool Delete(const QString& name, QDate birthday);

  // Adds an entry (made now) and drops the oldest beyond kHistoryLimit.
  // Returns its id.
  qint64 AddHistory(const Profile& inputs);
  // The newest `limit` entries, newest first.
  QList<HistoryEntry> History(int limit = kHistoryLimit);
  std::optional<HistoryEntry> HistoryEntryOf(qint64 id);

  // For the tests of the migrations: creates a store of an earlier schema
  // version at `path`, as that version's program left it.
  static void CreateAtVersion(const QString& path, int version);

 private:
  void Transaction(const char* what, const std::function<void()>& body);
  void Exec(const char* sql);
  void Upsert(const Profile& profile, bool& replaced);

  sqlite3* db_ = nullptr;
  QString path_;
  QString notice_;
};

}  // namespace tessaly
