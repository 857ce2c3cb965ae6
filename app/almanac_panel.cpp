// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/almanac_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "almanac/almanac.h"
#include "calendar/calendar_range.h"
#include "calendar/lunar_calendar.h"
#include "calendar/sexagenary.h"
#include "controls/skin.h"
#include "core/dates.h"

namespace tessaly {
namespace {

const char16_t* const kWeekdays[7] = {u"一", u"二", u"三", u"四", u"五", u"六", u"日"};

QString Html(const QString& caption, const QString& value) {
  return QStringLiteral("<b>%1</b>%2<br>").arg(caption, value.toHtmlEscaped());
}

// The 择日 form: the days of a range (a year at most) that suit an activity,
// optionally without the days that clash with an animal, or only 黄道 days.
class DayChooser : public QDialog {
 public:
  DayChooser(QDate from, int person_animal, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DayChooser"));
    setWindowTitle(QStringLiteral("择日"));
    skin::ApplyToWindow(this);
    setFont(skin::UiFont(12));
    auto* grid = new QGridLayout(this);
    activity_ = new QComboBox(this);
    activity_->setObjectName(QStringLiteral("Activity"));
    for (int a = 0; a < kActivityCount; ++a) activity_->addItem(ActivityName(a));
    from_ = DateBox(QStringLiteral("From"), from);
    to_ = DateBox(QStringLiteral("To"), std::min(from.addMonths(1), LastCalendarDay()));
    animal_ = new QComboBox(this);
    animal_->setObjectName(QStringLiteral("Animal"));
    animal_->addItem(QStringLiteral("不避"));
    for (const char16_t a : kAnimals) animal_->addItem(QStringLiteral("避冲属") + QChar(a));
    animal_->setCurrentIndex(person_animal + 1);
    huangdao_ = new QCheckBox(QStringLiteral("只要黄道日"), this);
    huangdao_->setObjectName(QStringLiteral("Huangdao"));
    auto* find = skin::FlatButton(QStringLiteral("Find"), QStringLiteral("查找"), this, 12);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("Days"));
    grid->addWidget(new QLabel(QStringLiteral("事项"), this), 0, 0);
    grid->addWidget(activity_, 0, 1);
    grid->addWidget(animal_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("日期"), this), 1, 0);
    grid->addWidget(from_, 1, 1);
    grid->addWidget(to_, 1, 2);
    grid->addWidget(huangdao_, 2, 1);
    grid->addWidget(find, 2, 2);
    grid->addWidget(list_, 3, 0, 1, 3);
    connect(find, &QPushButton::clicked, this, [this] { Find(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
      const QDate d = item->data(Qt::UserRole).toDate();
      if (d.isValid()) {
        picked_ = d;
        accept();
      }
    });
    resize(320, 360);
  }

  QDate Picked() const { return picked_; }

  void Find() {
    list_->clear();
    const QDate from = from_->date(), to = to_->date();
    if (from > to || from.addYears(1) <= to) {
      list_->addItem(QStringLiteral("请选择一年以内的日期范围"));
      return;
    }
    const int activity = activity_->currentIndex();
    const int avoid = animal_->currentIndex() - 1;
    for (QDate date = from; date <= to; date = date.addDays(1)) {
      const AlmanacDay d = AlmanacOf(date);
      if (!Suits(d, activity) || d.chong_branch == avoid || (huangdao_->isChecked() && !d.huangdao))
        continue;
      auto* item = new QListWidgetItem(
          QStringLiteral("%1 星期%2 %3 %4 冲%5")
              .arg(DateToStr(date), QString::fromUtf16(kWeekdays[date.dayOfWeek() - 1]),
                   LunarDateText(date), HuangdaoText(d.huangdao), ChongAnimal(d)),
          list_);
      item->setData(Qt::UserRole, date);
    }
    if (list_->count() == 0) list_->addItem(QStringLiteral("这段日子里没有合适的日子"));
  }

 private:
  QDateEdit* DateBox(const QString& name, QDate date) {
    auto* box = new QDateEdit(date, this);
    box->setObjectName(name);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setDateRange(FirstCalendarDay(), LastCalendarDay());
    box->setCalendarPopup(true);
    return box;
  }

  QComboBox* activity_ = nullptr;
  QComboBox* animal_ = nullptr;
  QDateEdit* from_ = nullptr;
  QDateEdit* to_ = nullptr;
  QCheckBox* huangdao_ = nullptr;
  QListWidget* list_ = nullptr;
  QDate picked_;
};

}  // namespace

AlmanacPanel::AlmanacPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("AlmanacPanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 8, 4);
  text_ = new QLabel(this);
  text_->setObjectName(QStringLiteral("AlmanacText"));
  text_->setFont(skin::UiFont(12));
  text_->setWordWrap(true);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  text_->setTextFormat(Qt::RichText);
  layout->addWidget(text_, 1);
  choose_ = skin::FlatButton(QStringLiteral("ChooseDay"), QStringLiteral("择日"), this, 12);
  choose_->setAutoDefault(false);
  layout->addWidget(choose_, 0, Qt::AlignRight);
  connect(choose_, &QPushButton::clicked, this, &AlmanacPanel::OpenDayChooser);
}

void AlmanacPanel::ShowDay(QDate date) {
  if (!InCalendarRange(date)) {
    day_ = QDate();
    text_->clear();
    return;
  }
  day_ = date;
  const AlmanacDay d = AlmanacOf(date);
  const QStringList pair = GanZhiLine(date).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  QString html =
      QStringLiteral("<b>%1 星期%2</b><br>农历%3 %4年 %5月 %6日<br>")
          .arg(DateToStr(date), QString::fromUtf16(kWeekdays[date.dayOfWeek() - 1]),
               LunarDateText(date), pair.value(0), pair.value(1), GanZhi(d.stem, d.branch));
  const int animal = person_animal_ ? person_animal_() : -1;
  if (animal == d.chong_branch) {
    html += QStringLiteral("<span style=\"color:%1\"><b>冲属%2</b></span><br>")
                .arg(skin::kWarning.name(), ChongAnimal(d));
  }
  html += Html(QStringLiteral("宜："), YiTexts(d).join(QLatin1Char(' ')));
  const QStringList ji = JiTexts(d);
  html += Html(QStringLiteral("忌："), ji.isEmpty() ? QStringLiteral("无") : ji.join(u' '));
  html += Html(QStringLiteral("冲煞："),
               QStringLiteral("冲%1（%2）煞%3").arg(ChongAnimal(d), ChongPillar(d), ShaText(d)));
  html +=
      Html(QStringLiteral("值神："), QStringLiteral("%1（%2） %3日 %4宿")
                                         .arg(TianshenName(d.tianshen), HuangdaoText(d.huangdao),
                                              JianchuName(d.jianchu), XiuName(d.xiu)));
  html += Html(QStringLiteral("方位："),
               QStringLiteral("喜神%1 福神%2 财神%3")
                   .arg(DirectionName(d.xi), DirectionName(d.fu), DirectionName(d.cai)));
  html += Html(QStringLiteral("胎神："), TaishenText(d));
  html += Html(QStringLiteral("彭祖百忌："), PengzuStem(d) + QLatin1Char(' ') + PengzuBranch(d));
  // 黄道 hours are 吉, 黑道 hours 凶.
  QString good, bad;
  for (int h = 0; h < 12; ++h) {
    (d.hours[h].huangdao ? good : bad) += QChar(kBranches[h]) + QLatin1Char(' ');
  }
  html += Html(QStringLiteral("吉时："), good.trimmed());
  html += Html(QStringLiteral("凶时："), bad.trimmed());
  text_->setText(html);
}

QString AlmanacPanel::PlainText() const {
  QTextDocument doc;
  doc.setHtml(text_->text());
  return doc.toPlainText();
}

void AlmanacPanel::OpenDayChooser() {
  DayChooser chooser(day_.isValid() ? day_ : FirstCalendarDay(),
                     person_animal_ ? person_animal_() : -1, this);
  if (chooser.exec() == QDialog::Accepted && chooser.Picked().isValid()) {
    emit DayPicked(chooser.Picked());
  }
}

}  // namespace tessaly
