// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The almanac panel of the calendar dialog ("显示黄历"): the chosen day's lunar
// date and 干支, 宜, 忌, 冲煞, 值神 and 黄道/黑道, 建除 and 二十八宿, the
// directions, 胎神, 彭祖百忌 and the hours' 吉凶 (黄道 hours 吉, 黑道 凶). When
// the person's animal is one the day clashes with, the panel says "冲属X" in
// the skin's warning colour. Its "择日" button opens the day chooser, whose
// double-clicked day comes back through DayPicked.

#include <QDate>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace tessaly {

class AlmanacPanel : public QWidget {
  Q_OBJECT

 public:
  explicit AlmanacPanel(QWidget* parent = nullptr);

  // The person's animal as a branch, 0 (鼠) .. 11 (猪), or -1: asked each time
  // a day is shown.
  void SetPersonAnimalSource(std::function<int()> source) { person_animal_ = std::move(source); }

  // Shows the entry of a day 1901..2050 (nothing for another date).
  void ShowDay(QDate date);
  QDate Day() const { return day_; }
  // The text shown, without markup.
  QString PlainText() const;

 signals:
  void DayPicked(QDate date);

 private:
  void OpenDayChooser();

  std::function<int()> person_animal_;
  QDate day_;
  QLabel* text_ = nullptr;
  QPushButton* choose_ = nullptr;
};

}  // namespace tessaly
