// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/name_chooser.h"

#include <QCollator>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QShowEvent>
#include <QSizeGrip>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

#include "controls/gradient_label.h"
#include "controls/message_box.h"
#include "controls/skin.h"
#include "controls/title_bar.h"
#include "core/errors.h"
#include "core/text.h"

namespace tessaly {

namespace {

const char16_t* const kHeadings[] = {
    u"姓名",     u"总格",     u"天格",     u"人格",     u"地格",     u"外格", u"三才",
    u"总格吉凶", u"人格吉凶", u"地格吉凶", u"外格吉凶", u"三才吉凶", u"评分"};

// The minimum ratings of the generate form, with the rank each asks for.
const std::pair<const char16_t*, int> kMinRatings[] = {
    {u"不限", 0}, {u"凶", 2}, {u"半吉", 3}, {u"吉", 4}, {u"大吉", 5}};

int GridOf(const NameScore& s, int column) {
  switch (column) {
    case NameListModel::kTotal:
      return s.grids.total;
    case NameListModel::kHeaven:
      return s.grids.heaven;
    case NameListModel::kPerson:
      return s.grids.person;
    case NameListModel::kEarth:
      return s.grids.earth;
    case NameListModel::kOuter:
      return s.grids.outer;
    default:
      return kNoValue;
  }
}

Rating RatingOf(const NameScore& s, int column) {
  switch (column) {
    case NameListModel::kTotalRating:
      return s.total;
    case NameListModel::kPersonRating:
      return s.person;
    case NameListModel::kEarthRating:
      return s.earth;
    case NameListModel::kOuterRating:
      return s.outer;
    case NameListModel::kTalentsRating:
      return s.talents;
    default:
      return Rating::kNone;
  }
}

// The key a numeric column sorts by; missing values lowest.
int SortKey(const NameScore& s, int column) {
  if (column >= NameListModel::kTotal && column <= NameListModel::kOuter) return GridOf(s, column);
  if (column >= NameListModel::kTotalRating && column <= NameListModel::kTalentsRating) {
    return RatingRank(RatingOf(s, column));
  }
  return s.score;
}

QString CsvField(const QString& text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
      !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) {
    return text;
  }
  QString quoted = text;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QComboBox* Choice(const QString& name, const QStringList& items, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(items);
  box->setFont(skin::UiFont(13));
  return box;
}

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFont(skin::UiFont(13));
  return label;
}

}  // namespace

// --- NameListModel -----------------------------------------------------------

void NameListModel::SetRows(std::vector<Row> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int NameListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int NameListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QString NameListModel::Text(const Row& row, int column) const {
  if (column == kName) return row.name;
  if (column == kTalents) return row.score.grids.TalentsText();
  if (column == kScore) return QString::number(row.score.score);
  if (column >= kTotalRating) return RatingText(RatingOf(row.score, column));
  const int grid = GridOf(row.score, column);
  return grid == kNoValue ? QString() : QString::number(grid);
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Row& row = rows_[static_cast<size_t>(index.row())];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return Text(row, column);
    case Qt::TextAlignmentRole:
      return column == kName ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    case Qt::ForegroundRole:
      // Lucky ratings in seal red, unlucky ones muted.
      if (column >= kTotalRating && column <= kTalentsRating) {
        const int rank = RatingRank(RatingOf(row.score, column));
        if (rank >= 4) return skin::kSealRed;
        if (rank > 0 && rank <= 2) return skin::kOlive;
      }
      return {};
    default:
      return {};
  }
}

QVariant NameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kColumnCount) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return QString::fromUtf16(kHeadings[section]);
}

void NameListModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kColumnCount) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> order_of(rows_.size());
  std::iota(order_of.begin(), order_of.end(), 0);
  const bool up = order == Qt::AscendingOrder;
  if (column == kName || column == kTalents) {
    // Names in the order of the language (by their reading where Qt knows it).
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::vector<QCollatorSortKey> keys;
    keys.reserve(rows_.size());
    for (const Row& r : rows_) keys.push_back(collator.sortKey(Text(r, column)));
    std::stable_sort(order_of.begin(), order_of.end(), [&](int a, int b) {
      const int c = keys[a].compare(keys[b]);
      return up ? c < 0 : c > 0;
    });
  } else {
    std::stable_sort(order_of.begin(), order_of.end(), [&](int a, int b) {
      const int ka = SortKey(rows_[a].score, column);
      const int kb = SortKey(rows_[b].score, column);
      return up ? ka < kb : ka > kb;
    });
  }
  std::vector<Row> sorted;
  sorted.reserve(rows_.size());
  std::vector<int> new_row(rows_.size());
  for (size_t i = 0; i < order_of.size(); ++i) {
    sorted.push_back(std::move(rows_[order_of[i]]));
    new_row[order_of[i]] = static_cast<int>(i);
  }
  rows_ = std::move(sorted);
  // The selection and the current row follow their names.
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  for (const QModelIndex& i : before) after << index(new_row[i.row()], i.column());
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QByteArray NameListModel::Csv() const {
  QString text;
  text.reserve(static_cast<qsizetype>(rows_.size() + 1) * 48);
  for (int c = 0; c < kColumnCount; ++c) {
    if (c > 0) text += QLatin1Char(',');
    text += QString::fromUtf16(kHeadings[c]);
  }
  text += QLatin1String("\r\n");
  for (const Row& row : rows_) {
    for (int c = 0; c < kColumnCount; ++c) {
      if (c > 0) text += QLatin1Char(',');
      text += CsvField(Text(row, c));
    }
    text += QLatin1String("\r\n");
  }
  return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

// --- NameChooser -------------------------------------------------------------

NameChooser::NameChooser(Hooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("NameChooser"));
  setWindowTitle(QStringLiteral("起名参考"));
  setAttribute(Qt::WA_QuitOnClose, false);
  // The window draws its own frame and title bar, as the window manager's are off.
  setAttribute(Qt::WA_StyledBackground);
  skin::ApplyToWindow(this);
  resize(1080, 668);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(1, 1, 1, 1);
  outer->setSpacing(0);
  outer->addWidget(new TTitleBar(QStringLiteral("起名参考"), this));
  auto* body = new QWidget(this);
  outer->addWidget(body, 1);
  // Resized by its bottom right corner.
  outer->addWidget(new QSizeGrip(this), 0, Qt::AlignBottom | Qt::AlignRight);

  auto* layout = new QGridLayout(body);
  layout->setContentsMargins(14, 12, 14, 12);
  layout->setHorizontalSpacing(12);
  layout->setVerticalSpacing(10);

  // Left: the surname, the candidates and the generate form on a paper panel.
  QFrame* panel = skin::Panel(body, QStringLiteral("ChooserPanel"), {});
  panel->setFixedWidth(236);
  auto* form = new QGridLayout(panel);
  form->setContentsMargins(12, 10, 12, 12);
  form->setVerticalSpacing(8);
  int row = 0;
  form->addWidget(skin::Heading(QStringLiteral("SurnameHeading"), QStringLiteral("姓氏："), panel),
                  row++, 0, 1, 2);
  surname_edit_ = new QLineEdit(panel);
  surname_edit_->setObjectName(QStringLiteral("SurnameEdit"));
  surname_edit_->setFont(skin::UiFont(13));
  kind_box_ = Choice(QStringLiteral("SurnameKindBox"),
                     {QStringLiteral("单姓"), QStringLiteral("复姓")}, panel);
  form->addWidget(surname_edit_, row, 0);
  form->addWidget(kind_box_, row++, 1);

  form->addWidget(
      skin::Heading(QStringLiteral("CandidatesHeading"), QStringLiteral("候选名字："), panel),
      row++, 0, 1, 2);
  candidates_ = new QPlainTextEdit(panel);
  candidates_->setObjectName(QStringLiteral("CandidatesEdit"));
  candidates_->setFont(skin::UiFont(14));
  candidates_->setPlaceholderText(QStringLiteral("每行一个名字（不含姓），可粘贴"));
  form->addWidget(candidates_, row++, 0, 1, 2);
  score_button_ = skin::FlatButton(QStringLiteral("ScoreButton"), QStringLiteral("评分"), panel);
  score_button_->setFixedHeight(28);
  form->addWidget(score_button_, row++, 0, 1, 2);

  form->addWidget(
      skin::Heading(QStringLiteral("GenerateHeading"), QStringLiteral("生成名字："), panel), row++,
      0, 1, 2);
  length_box_ = Choice(QStringLiteral("LengthBox"),
                       {QStringLiteral("单字名"), QStringLiteral("双字名")}, panel);
  length_box_->setCurrentIndex(1);
  form->addWidget(Caption(QStringLiteral("字数"), panel), row, 0);
  form->addWidget(length_box_, row++, 1);
  fixed_edit_ = new QLineEdit(panel);
  fixed_edit_->setObjectName(QStringLiteral("GenerationEdit"));
  fixed_edit_->setFont(skin::UiFont(13));
  fixed_edit_->setPlaceholderText(QStringLiteral("不用字辈"));
  form->addWidget(Caption(QStringLiteral("字辈"), panel), row, 0);
  form->addWidget(fixed_edit_, row++, 1);
  position_box_ = Choice(QStringLiteral("PositionBox"),
                         {QStringLiteral("字辈在前"), QStringLiteral("字辈在后")}, panel);
  form->addWidget(Caption(QStringLiteral("位置"), panel), row, 0);
  form->addWidget(position_box_, row++, 1);
  QStringList ratings;
  for (const auto& [word, rank] : kMinRatings) ratings << QString::fromUtf16(word);
  min_rating_box_ = Choice(QStringLiteral("MinRatingBox"), ratings, panel);
  form->addWidget(Caption(QStringLiteral("最低吉凶"), panel), row, 0);
  form->addWidget(min_rating_box_, row++, 1);
  generate_button_ =
      skin::FlatButton(QStringLiteral("GenerateButton"), QStringLiteral("生成"), panel);
  generate_button_->setFixedHeight(28);
  form->addWidget(generate_button_, row++, 0, 1, 2);
  form->setRowStretch(3, 1);
  layout->addWidget(panel, 0, 0, 2, 1);

  // Right: the table, its count and the export.
  model_ = new NameListModel(this);
  table_ = new QTableView(body);
  table_->setObjectName(QStringLiteral("NameTable"));
  table_->setModel(model_);
  table_->setFont(skin::UiFont(14));
  table_->horizontalHeader()->setFont(skin::UiFont(13, true));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setAlternatingRowColors(true);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  // Fixed row heights and column widths: nothing measures the rows, so a
  // table of a hundred thousand names scrolls and sorts at once.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(24);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->horizontalHeader()->setStretchLastSection(true);
  const int widths[] = {84, 48, 48, 48, 48, 48, 56, 66, 66, 66, 66, 66, 52};
  for (int c = 0; c < NameListModel::kColumnCount; ++c) table_->setColumnWidth(c, widths[c]);
  table_->setSortingEnabled(true);
  table_->horizontalHeader()->setSortIndicatorShown(true);
  table_->setToolTip(QStringLiteral("双击一行，查看这个名字的完整测算结果"));
  layout->addWidget(table_, 0, 1, 1, 2);

  count_label_ = new QLabel(body);
  count_label_->setObjectName(QStringLiteral("CountLabel"));
  count_label_->setProperty("skin", QStringLiteral("olive"));
  count_label_->setFont(skin::UiFont(13));
  layout->addWidget(count_label_, 1, 1);
  export_button_ =
      skin::FlatButton(QStringLiteral("ExportButton"), QStringLiteral("导出 CSV"), body);
  export_button_->setFixedSize(96, 28);
  layout->addWidget(export_button_, 1, 2);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(0, 1);

  const auto generation_form = [this] {
    const bool pair = length_box_->currentIndex() == 1;
    fixed_edit_->setEnabled(pair);
    position_box_->setEnabled(pair);
  };
  connect(length_box_, &QComboBox::currentIndexChanged, this, generation_form);
  connect(score_button_, &QPushButton::clicked, this, &NameChooser::ScoreClick);
  connect(generate_button_, &QPushButton::clicked, this, &NameChooser::GenerateClick);
  connect(export_button_, &QPushButton::clicked, this, &NameChooser::ExportClick);
  connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid() && hooks_.report) {
      hooks_.report(model_->RowAt(index.row()).name, shown_kind_);
    }
  });
  Show({}, {}, false, 0);
  // Typing goes to the candidates, not to the title bar's controls.
  candidates_->setFocus();
  skin::CenterOnScreen(this);
}

NameChooser::~NameChooser() = default;

void NameChooser::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void NameChooser::showEvent(QShowEvent* event) {
  // The surname as the main window has it now.
  if (hooks_.surname && !event->spontaneous()) {
    const Surname s = hooks_.surname();
    surname_edit_->setText(s.text);
    kind_box_->setCurrentIndex(s.kind == SurnameKind::Single ? 0 : 1);
  }
  QWidget::showEvent(event);
}

std::optional<NameChooser::Surname> NameChooser::CurrentSurname() {
  const QString text = WithoutSingleBytes(surname_edit_->text());
  const qsizetype chars = text.toUcs4().size();
  if (chars < 1 || chars > 2) {
    InfoBox(this, QStringLiteral("姓氏请填一个或两个汉字。"));
    return std::nullopt;
  }
  return Surname{text,
                 kind_box_->currentIndex() == 0 ? SurnameKind::Single : SurnameKind::Compound};
}

const NameTables* NameChooser::Tables() {
  if (!tables_) {
    try {
      tables_ = hooks_.load_tables();
    } catch (const Error& e) {
      ErrorBox(this, e.message());
      return nullptr;
    }
  }
  return &*tables_;
}

void NameChooser::Show(std::vector<NameListModel::Row> rows, const QString& unknown, bool by_score,
                       qsizetype found) {
  model_->SetRows(std::move(rows));
  if (by_score) {
    table_->sortByColumn(NameListModel::kScore, Qt::DescendingOrder);
  } else {
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  }
  table_->scrollToTop();
  count_label_->setText(
      found > model_->rowCount()
          ? QStringLiteral("共 %1 个名字，列出评分最高的 %2 个；双击一行查看完整测算")
                .arg(found)
                .arg(model_->rowCount())
          : QStringLiteral("共 %1 个名字；双击一行查看完整测算").arg(model_->rowCount()));
  export_button_->setEnabled(model_->rowCount() > 0);
  if (!unknown.isEmpty()) {
    QStringList chars;
    for (const char32_t ch : unknown.toUcs4()) chars << QString::fromUcs4(&ch, 1);
    chars.removeDuplicates();
    InfoBox(this, QStringLiteral("字库中查不到“%1”的笔画数，姓名中与之相关的格将留空。")
                      .arg(chars.join(QStringLiteral("”“"))));
  }
}

void NameChooser::ScoreClick() {
  const std::optional<Surname> surname = CurrentSurname();
  if (!surname) return;
  const NameTables* tables = Tables();
  if (tables == nullptr) return;
  std::vector<NameListModel::Row> rows;
  QString unknown;
  for (const QString& line : candidates_->toPlainText().split(QLatin1Char('\n'))) {
    const QString given = WithoutSingleBytes(line).trimmed();
    if (given.isEmpty()) continue;
    rows.push_back({surname->text + given,
                    tables->ScoreName({surname->text, given}, surname->kind, &unknown)});
  }
  if (rows.empty()) {
    InfoBox(this, QStringLiteral("请先在候选名字框中每行填一个名字。"));
    return;
  }
  shown_kind_ = surname->kind;
  Show(std::move(rows), unknown, false, 0);
}

void NameChooser::GenerateClick() {
  const std::optional<Surname> surname = CurrentSurname();
  if (!surname) return;
  const int length = length_box_->currentIndex() + 1;
  const QString fixed = length == 2 ? WithoutSingleBytes(fixed_edit_->text()).trimmed() : QString();
  if (fixed.toUcs4().size() > 1) {
    InfoBox(this, QStringLiteral("字辈请填一个汉字。"));
    return;
  }
  const NameTables* tables = Tables();
  if (tables == nullptr) return;
  const int min_rank = kMinRatings[min_rating_box_->currentIndex()].second;
  QString unknown;
  tables->ScoreName({surname->text, fixed}, surname->kind, &unknown);
  // Every name is scored; the best kMaxGenerated of those kept make the rows.
  const GivenNames names{DefaultCharacterList(), length, fixed, position_box_->currentIndex() + 1};
  std::vector<qsizetype> kept;
  std::vector<std::uint8_t> scores;
  for (qsizetype k = 0; k < names.Count(); ++k) {
    const auto [a, b] = names.At(k);
    const NameScore s = tables->ScoreName({surname->text, a, b}, surname->kind);
    if (min_rank == 0 || s.LowestRank() >= min_rank) {
      kept.push_back(k);
      scores.push_back(static_cast<std::uint8_t>(s.score));
    }
  }
  std::vector<NameListModel::Row> rows;
  rows.reserve(std::min<size_t>(kept.size(), kMaxGenerated));
  for (const qsizetype i : OrderByScore(scores)) {
    if (rows.size() == kMaxGenerated) break;
    const auto [a, b] = names.At(kept[static_cast<size_t>(i)]);
    rows.push_back({QString(surname->text).append(a).append(b),
                    tables->ScoreName({surname->text, a, b}, surname->kind)});
  }
  shown_kind_ = surname->kind;
  Show(std::move(rows), unknown, true, static_cast<qsizetype>(kept.size()));
}

void NameChooser::ExportClick() {
  const QString path = AskSavePath(this, QStringLiteral("导出 CSV"), QStringLiteral("起名参考.csv"),
                                   QStringLiteral("CSV 表格 (*.csv)"), QStringLiteral("csv"));
  if (!path.isEmpty()) ExportCsv(path);
}

bool NameChooser::ExportCsv(const QString& path) {
  try {
    // Whole or not at all; a device chosen as the file is written into.
    WriteFileBytes(path, model_->Csv());
    return true;
  } catch (const Error& e) {
    ErrorBox(this, e.message());
    return false;
  }
}

}  // namespace tessaly
