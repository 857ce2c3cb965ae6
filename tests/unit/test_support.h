// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared helpers of the unit tests.

#include <QString>
#include <QTemporaryDir>

#include <concepts>
#include <ostream>
#include <string>

namespace tessaly::test {

// The store built for the program (share/tessaly/kvdata.dat in the build tree).
QString BuiltStorePath();
// Source tree and build tree.
QString SourceDir();
QString BinaryDir();
// Builds a store from the given sources with tessaly-mkstore into dir/name;
// returns its path. `key` empty means the program's own password; `sql` runs on
// the finished tables. A text table without a source holds one row "-", which
// no lookup finds.
QString MakeStore(const QTemporaryDir& dir, const QString& name, const QString& strokes_file,
                  const QStringList& tables, const QString& key = {}, const QString& sql = {});
QByteArray ReadFile(const QString& path);

// A row of a parameterised suite named by its `name` member.
template <class Row>
concept NamedRow = requires(const Row& row) {
  { row.name } -> std::convertible_to<const char*>;
};

// Names each row's test after the row:
//   INSTANTIATE_TEST_SUITE_P(Group, Suite, testing::ValuesIn(kRows), test::RowName());
struct RowName {
  template <class Info>
  std::string operator()(const Info& info) const {
    return std::string(info.param.name);
  }
};

// Shows a row by its name, in failure reports and in the test names the test
// runner discovers: a file opts in with `using test::PrintTo;` where its rows
// are declared (argument-dependent lookup finds it there).
template <NamedRow Row>
void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

}  // namespace tessaly::test
