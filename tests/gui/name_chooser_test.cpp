// SPDX-License-Identifier: GPL-3.0-or-later
// The name chooser as the user drives it: the surname taken from the main
// window, scoring typed candidates, generating with a generation character and
// a lowest rating, sorting by a column, a double-click asking for the report,
// and the CSV export.

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "app/name_chooser.h"
#include "gui_support.h"
#include "store/reference_store.h"

namespace tessaly {

class NameChooserTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void ScoresTypedCandidates();
  void GeneratesSortsAndReports();
  void ExportsCsv();
  void FramelessWithItsOwnControls_data();
  void FramelessWithItsOwnControls();

 private:
  template <typename T>
  T* Child(const char* name) {
    return chooser_->findChild<T*>(QString::fromLatin1(name));
  }
  QTableView* Table() { return Child<QTableView>("NameTable"); }

  test::DialogWatcher* watcher_ = nullptr;
  NameChooser* chooser_ = nullptr;
  QStringList reported_;
};

void NameChooserTest::init() {
  watcher_ = new test::DialogWatcher;
  NameChooser::Hooks hooks;
  hooks.surname = [] { return NameChooser::Surname{QStringLiteral("张"), SurnameKind::Single}; };
  hooks.load_tables = [] {
    ReferenceStore store;
    store.Open(QStringLiteral(TESSALY_BINARY_DIR "/share/tessaly/kvdata.dat"));
    return NameTables::Load(store);
  };
  hooks.report = [this](const QString& name, SurnameKind kind) {
    reported_ << name + (kind == SurnameKind::Single ? QStringLiteral(" 单姓")
                                                     : QStringLiteral(" 复姓"));
  };
  chooser_ = new NameChooser(std::move(hooks));
  chooser_->show();
  QVERIFY(QTest::qWaitForWindowExposed(chooser_));
  reported_.clear();
}

void NameChooserTest::cleanup() {
  delete chooser_;
  delete watcher_;
}

void NameChooserTest::ScoresTypedCandidates() {
  QCOMPARE(Child<QLineEdit>("SurnameEdit")->text(), QStringLiteral("张"));
  Child<QPlainTextEdit>("CandidatesEdit")->setPlainText(QStringLiteral("小明\n\n 김 \n白\n"));
  QTest::mouseClick(Child<QPushButton>("ScoreButton"), Qt::LeftButton);
  const NameListModel* model = chooser_->Model();
  QCOMPARE(model->rowCount(), 3);
  QStringList row;
  for (int c = 0; c < NameListModel::kColumnCount; ++c) row << model->index(0, c).data().toString();
  QCOMPARE(row.join(u' '), QStringLiteral("张小明 22 12 14 11 9 木火木 凶 凶 大吉 凶 大吉 55"));
  // The character without a stroke count is named once; its row stays, with empty grids.
  QCOMPARE(watcher_->boxes.size(), 1);
  QVERIFY(watcher_->boxes[0].text.contains(QStringLiteral("“김”")));
  QCOMPARE(model->index(1, NameListModel::kPerson).data().toString(), QString());
}

void NameChooserTest::GeneratesSortsAndReports() {
  Child<QComboBox>("SurnameKindBox")->setCurrentIndex(1);
  Child<QLineEdit>("SurnameEdit")->setText(QStringLiteral("欧阳"));
  Child<QLineEdit>("GenerationEdit")->setText(QStringLiteral("明"));
  Child<QComboBox>("PositionBox")->setCurrentIndex(1);
  Child<QComboBox>("MinRatingBox")->setCurrentText(QStringLiteral("吉"));
  QTest::mouseClick(Child<QPushButton>("GenerateButton"), Qt::LeftButton);
  const NameListModel* model = chooser_->Model();
  QVERIFY(model->rowCount() > 10);
  for (int r = 0; r < model->rowCount(); ++r) {
    const NameListModel::Row& row = model->RowAt(r);
    QVERIFY2(row.name.size() == 4 && row.name.startsWith(QStringLiteral("欧阳")) &&
                 row.name.endsWith(QStringLiteral("明")),
             qPrintable(row.name));
    QVERIFY(row.score.LowestRank() >= RatingRank(Rating::kGood));
    if (r > 0) QVERIFY(model->RowAt(r - 1).score.score >= row.score.score);
  }

  // A click on 总格 sorts by it, the next click the other way; equal totals
  // keep their order by score.
  QHeaderView* header = Table()->horizontalHeader();
  const QPoint total(header->sectionViewportPosition(NameListModel::kTotal) + 5, 5);
  for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, total);
    QCOMPARE(header->sortIndicatorOrder(), order);
    for (int r = 1; r < model->rowCount(); ++r) {
      const NameScore& a = model->RowAt(r - 1).score;
      const NameScore& b = model->RowAt(r).score;
      QVERIFY(order == Qt::AscendingOrder ? a.grids.total <= b.grids.total
                                          : a.grids.total >= b.grids.total);
      if (a.grids.total == b.grids.total) QVERIFY(a.score >= b.score);
    }
  }

  // A double-click asks for that name's report, with the kind it was scored with.
  const QModelIndex third = model->index(2, NameListModel::kScore);
  const QPoint at = Table()->visualRect(third).center();
  QTest::mouseClick(Table()->viewport(), Qt::LeftButton, {},
                    at);  // the press a double-click follows
  QTest::mouseDClick(Table()->viewport(), Qt::LeftButton, {}, at);
  QCOMPARE(reported_, QStringList{model->RowAt(2).name + QStringLiteral(" 复姓")});
}

void NameChooserTest::ExportsCsv() {
  Child<QComboBox>("LengthBox")->setCurrentIndex(0);
  QTest::mouseClick(Child<QPushButton>("GenerateButton"), Qt::LeftButton);
  const NameListModel* model = chooser_->Model();
  QVERIFY(model->rowCount() > 900);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("names.csv"));
  QVERIFY(chooser_->ExportCsv(path));
  const QByteArray bytes = test::ReadBytes(path);
  QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
  const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
  QCOMPARE(lines.size(), model->rowCount() + 2);  // the heading, the rows, an empty end
  QCOMPARE(lines[0], QStringLiteral("姓名,总格,天格,人格,地格,外格,三才,总格吉凶,人格吉凶,地格吉凶,"
                                    "外格吉凶,三才吉凶,评分"));
  QStringList first;
  for (int c = 0; c < NameListModel::kColumnCount; ++c)
    first << model->index(0, c).data().toString();
  QCOMPARE(lines[1], first.join(u','));
  // A file that cannot be written gives an error box and nothing else.
  QVERIFY(!chooser_->ExportCsv(dir.filePath(QStringLiteral("no/such/dir/names.csv"))));
  QCOMPARE(watcher_->boxes.size(), 1);
  // A device chosen as the file is written into, not replaced (a node of our
  // own stands for /dev/null, where one can be made).
  const QByteArray node = QFile::encodeName(dir.filePath(QStringLiteral("null")));
  if (::mknod(node.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    QVERIFY(chooser_->ExportCsv(QFile::decodeName(node)));
    struct stat st = {};
    QVERIFY(::lstat(node.constData(), &st) == 0 && S_ISCHR(st.st_mode));
  }
}

void NameChooserTest::FramelessWithItsOwnControls_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("close control") << "CloseButton";
  QTest::newRow("Esc in the candidates") << "CandidatesEdit";
  QTest::newRow("Esc in the table") << "NameTable";
}

void NameChooserTest::FramelessWithItsOwnControls() {
  QFETCH(QString, how);
  QVERIFY(chooser_->windowFlags() & Qt::FramelessWindowHint);
  QTest::mouseClick(Child<QAbstractButton>("MinimiseButton"), Qt::LeftButton);
  QVERIFY(chooser_->isMinimized());
  chooser_->showNormal();
  auto* w = chooser_->findChild<QWidget*>(how);
  if (how == QLatin1String("CloseButton")) {
    QTest::mouseClick(static_cast<QAbstractButton*>(w), Qt::LeftButton);
  } else {
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Escape);
  }
  QVERIFY(!chooser_->isVisible());
}

}  // namespace tessaly

TESSALY_GUI_TEST_MAIN(tessaly::NameChooserTest)
#include "name_chooser_test.moc"
