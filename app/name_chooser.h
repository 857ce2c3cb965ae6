// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// NameChooser, the "起名参考" window: compares candidate given names for the
// main window's surname. Candidates are typed or pasted one per line, or
// generated from the shipped character list (one or two characters, with or
// without a generation character, above a lowest rating; the best hundred
// thousand by score when there are more); a sortable table
// shows each full name's grids, three talents, ratings and score. A
// double-click asks for the full report of that name; the table exports as CSV.
// Frameless like the other windows: its own title bar moves it and carries
// the minimise and close controls; Esc closes it too.
// The window knows the rest of the program only through the hooks start-up
// gives it.

#include <QAbstractTableModel>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "readings/name_score.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace tessaly {

// The candidates and their scores, one row each.
class NameListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column {
    kName,
    kTotal,
    kHeaven,
    kPerson,
    kEarth,
    kOuter,
    kTalents,
    kTotalRating,
    kPersonRating,
    kEarthRating,
    kOuterRating,
    kTalentsRating,
    kScore,
    kColumnCount
  };
  struct Row {
    QString name;  // surname and given name
    NameScore score;
  };

  using QAbstractTableModel::QAbstractTableModel;

  void SetRows(std::vector<Row> rows);
  const Row& RowAt(int row) const { return rows_[static_cast<size_t>(row)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  // Stable: rows that sort alike keep their order. A grid or rating that is
  // missing sorts below every value.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  // The table in its present order as CSV: UTF-8 with a byte-order mark (for
  // spreadsheet programs), a heading line, CR LF line ends.
  QByteArray Csv() const;

 private:
  QString Text(const Row& row, int column) const;

  std::vector<Row> rows_;
};

class NameChooser : public QWidget {
  Q_OBJECT

 public:
  struct Surname {
    QString text;
    SurnameKind kind = SurnameKind::Single;
  };
  struct Hooks {
    // The main window's surname and surname kind, read whenever the window is shown.
    std::function<Surname()> surname;
    // The tables the scoring reads, loaded at the first scoring; raises Error.
    std::function<NameTables()> load_tables;
    // Runs the full report for a full name with the main window's other inputs.
    std::function<void(const QString& name, SurnameKind kind)> report;
  };

  explicit NameChooser(Hooks hooks, QWidget* parent = nullptr);
  ~NameChooser() override;

  NameListModel* Model() const { return model_; }

  // Commands.
  void ScoreClick();     // 评分: the candidates of the box
  void GenerateClick();  // 生成
  void ExportClick();    // 导出 CSV: asks for the file, then ExportCsv
  // Writes the table as CSV, replacing the file whole; an error box when it cannot.
  bool ExportCsv(const QString& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;  // Esc closes
  void showEvent(QShowEvent* event) override;

 private:
  // The surname and kind of the boxes; nullopt after a message box.
  std::optional<Surname> CurrentSurname();
  const NameTables* Tables();
  // Puts the rows in the table; `found` is how many names there were, when the
  // rows are only the best of them. `unknown` holds the characters without a
  // stroke count met on the way, named once each in a box.
  void Show(std::vector<NameListModel::Row> rows, const QString& unknown, bool by_score,
            qsizetype found);

  // Generating keeps at most this many rows, the best by score.
  static constexpr size_t kMaxGenerated = 100000;

  Hooks hooks_;
  std::optional<NameTables> tables_;
  SurnameKind shown_kind_ = SurnameKind::Single;  // of the rows in the table
  NameListModel* model_ = nullptr;

  QLineEdit* surname_edit_ = nullptr;
  QComboBox* kind_box_ = nullptr;
  QPlainTextEdit* candidates_ = nullptr;
  QPushButton* score_button_ = nullptr;
  QComboBox* length_box_ = nullptr;
  QLineEdit* fixed_edit_ = nullptr;
  QComboBox* position_box_ = nullptr;
  QComboBox* min_rating_box_ = nullptr;
  QPushButton* generate_button_ = nullptr;
  QTableView* table_ = nullptr;
  QLabel* count_label_ = nullptr;
  QPushButton* export_button_ = nullptr;
};

}  // namespace tessaly
