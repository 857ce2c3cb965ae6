// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/skin.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

#include <utility>

#include "controls/gradient_label.h"

namespace tessaly::skin {

QString UiFontFamily() {
  static const QString family = [] {
    for (const char* name :
         {"宋体", "SimSun", "Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN"}) {
      const QString candidate = QString::fromUtf8(name);
      if (QFontDatabase::hasFamily(candidate)) return candidate;
    }
    // None of those: an installed family that covers Simplified Chinese, a serif
    // one if there is one. The generic "serif" may well resolve to a family
    // without any Chinese glyphs.
    QStringList chinese;
    for (const QString& family : QFontDatabase::families(QFontDatabase::SimplifiedChinese)) {
      if (!QFontDatabase::isPrivateFamily(family)) chinese << family;
    }
    for (const QString& family : chinese) {
      if (family.contains(QLatin1String("Serif")) || family.contains(QLatin1String("Ming")) ||
          family.contains(QLatin1String("Song"))) {
        return family;
      }
    }
    return chinese.isEmpty() ? QStringLiteral("serif") : chinese.first();
  }();
  return family;
}

QFont UiFont(int pixel_size, bool bold) {
  QFont font(UiFontFamily());
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  // Chinese needs no glyph shaping; leaving it out spares loading the fonts'
  // large shaping tables before the first paint. Scripts that do need it
  // (Arabic, the Indic scripts) are still shaped.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

QString WithColours(QString css) {
  const std::pair<const char*, const QColor&> colours[] = {
      {"@paper@", kPaper},      {"@dialog-paper@", kDialogPaper}, {"@ink@", kInk},
      {"@seal-red@", kSealRed}, {"@seal-text@", kSealText},       {"@olive@", kOlive},
      {"@maroon@", kMaroon}};
  for (const auto& [name, colour] : colours) css.replace(QLatin1String(name), colour.name());
  return css;
}

QString StyleSheet() {
  static const QString css = WithColours(QStringLiteral(R"css(
QLineEdit, QComboBox {
  background: rgba(255, 252, 245, 235);
  border: 1px solid #c8b089;
  border-radius: 3px;
  padding: 1px 4px;
  color: @ink@;
  selection-background-color: @seal-red@;
  selection-color: @seal-text@;
}
QLineEdit:hover, QComboBox:hover { border-color: #b98f74; }
QLineEdit:focus, QComboBox:focus { border-color: @seal-red@; }
QLineEdit:read-only { color: @olive@; background: rgba(250, 244, 229, 225); }
QComboBox::drop-down {
  subcontrol-origin: padding;
  subcontrol-position: top right;
  width: 16px;
  border: none;
  border-left: 1px solid #e2d3b4;
}
QComboBox::down-arrow { image: url(:/tessaly/skin/arrow_down.png); width: 9px; height: 6px; }
QComboBox::down-arrow:on { top: 1px; }
QComboBox QAbstractItemView {
  background: #fffaf1;
  border: 1px solid #c8b089;
  color: @ink@;
  selection-background-color: #f1dcc2;
  selection-color: #8b1d17;
  outline: 0;
}
QPushButton[skin="flat"], QPushButton[skin="icon"] {
  background: #ffffff;
  border: 1px solid #c8b089;
  border-radius: 3px;
  color: @ink@;
  padding: 0px 6px;
}
QPushButton[skin="icon"] { padding: 0px; }
QPushButton[skin="flat"]:hover, QPushButton[skin="icon"]:hover {
  border-color: @seal-red@;
  background: #fffaf3;
}
QPushButton[skin="flat"]:pressed, QPushButton[skin="icon"]:pressed { background: #f2e4c8; }
QPushButton[skin="flat"]:focus, QPushButton[skin="icon"]:focus { border-color: @seal-red@; }
QPushButton[skin] { outline: none; }
QPushButton[skin="seal"] {
  color: #c21d17;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fffbf2, stop:1 #efdfbd);
  border: 1px solid @seal-red@;
  border-radius: 4px;
}
QPushButton[skin="seal"]:hover {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #f6e8cb);
  border: 2px solid @seal-red@;
}
QPushButton[skin="seal"]:pressed {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e8d5ad, stop:1 #f7ecd4);
}
QPushButton[skin="seal"]:focus { border: 2px solid @seal-red@; }
QFrame[skin="panel"] {
  background: rgba(255, 251, 240, 205);
  border: 1px solid #d0ba90;
  border-radius: 6px;
}
QCheckBox { color: @maroon@; spacing: 7px; }
QCheckBox::indicator { width: 14px; height: 14px; }
QCheckBox::indicator:unchecked { image: url(:/tessaly/skin/check_off.png); }
QCheckBox::indicator:unchecked:hover { image: url(:/tessaly/skin/check_off_hover.png); }
QCheckBox::indicator:checked { image: url(:/tessaly/skin/check_on.png); }
QLabel[skin="olive"] { color: @olive@; }
QToolTip {
  background: #fffaf1;
  color: @ink@;
  border: 1px solid @seal-red@;
  padding: 2px;
}
QMessageBox, QFileDialog { background: @dialog-paper@; }
QDialogButtonBox { dialogbuttonbox-buttons-have-icons: 0; }
QDialogButtonBox QPushButton {
  background: #ffffff;
  border: 1px solid #c8b089;
  border-radius: 3px;
  color: #2d2a26;
  padding: 3px 12px;
  min-width: 60px;
  outline: none;
}
QDialogButtonBox QPushButton:hover { border-color: #a8322d; background: #fffaf3; }
QDialogButtonBox QPushButton:pressed { background: #f2e4c8; }
QDialogButtonBox QPushButton:focus, QDialogButtonBox QPushButton:default { border-color: #a8322d; }
QDialogButtonBox QPushButton:disabled { color: #a89f8c; border-color: #ddd0b4; }
QFileDialog QAbstractItemView { background: #fffcf5; border: 1px solid #c8b089; }
)css"));
  return css;
}

QPalette Palette() {
  QPalette p;
  const QColor ground(0xF7, 0xEF, 0xDC);
  const QColor base(0xFF, 0xFC, 0xF5);
  p.setColor(QPalette::Window, ground);
  p.setColor(QPalette::WindowText, kInk);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, kPaper);
  p.setColor(QPalette::Text, kInk);
  p.setColor(QPalette::Button, base);
  p.setColor(QPalette::ButtonText, kInk);
  p.setColor(QPalette::BrightText, QColor(0xFF, 0xF8, 0xEC));
  p.setColor(QPalette::Highlight, kSealRed);
  p.setColor(QPalette::HighlightedText, QColor(0xFF, 0xF8, 0xEC));
  p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFA, 0xF1));
  p.setColor(QPalette::ToolTipText, kInk);
  p.setColor(QPalette::PlaceholderText, QColor(0xA8, 0x9F, 0x8C));
  p.setColor(QPalette::Link, kMaroon);
  p.setColor(QPalette::LinkVisited, kMaroon);
  for (const QPalette::ColorRole role :
       {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, QColor(0xA8, 0x9F, 0x8C));
  }
  return p;
}

void ApplyToWindow(QWidget* window) {
  window->setFont(UiFont(13));
  window->setPalette(Palette());
  window->setStyleSheet(StyleSheet());
  window->setWindowIcon(QIcon(QStringLiteral(":/tessaly/skin/seal.png")));
}

void CenterOnScreen(QWidget* window) {
  if (const QScreen* screen = window->screen()) {
    window->move(screen->availableGeometry().center() - window->rect().center());
  }
}

void ApplyToApplication() {
  // The style the style sheet is written against, whatever the desktop's.
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setPalette(Palette());
  QApplication::setFont(UiFont(13));
  qApp->setStyleSheet(StyleSheet());
}

QFrame* Panel(QWidget* parent, const QString& name, const QRect& geometry) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setProperty("skin", QStringLiteral("panel"));
  panel->setGeometry(geometry);
  return panel;
}

TMLabel* Heading(const QString& name, const QString& caption, QWidget* parent) {
  auto* label = new TMLabel(caption, parent);
  label->setObjectName(name);
  label->setFont(UiFont(13, true));
  label->SetColor1(QColor(255, 0, 0));
  label->SetColor2(QColor(0, 0, 255));
  label->SetColorStyle(TColorStyle::Horizontal);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

QPushButton* FlatButton(const QString& name, const QString& caption, QWidget* parent,
                        int pixel_size) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setProperty("skin", QStringLiteral("flat"));
  button->setFocusPolicy(Qt::TabFocus);
  button->setCursor(Qt::PointingHandCursor);
  // Inside a styled panel a widget does not take the window's font by itself.
  button->setFont(UiFont(pixel_size));
  return button;
}

QPushButton* SealButton(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setProperty("skin", QStringLiteral("seal"));
  button->setFont(UiFont(16, true));
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

QComboBox* EditableList(const QString& name, const QStringList& items, QWidget* parent,
                        int pixel_size) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  // Set on the box's own parts as well: the style sheet does not pass the
  // family on to them.
  const QFont font = UiFont(pixel_size);
  box->setFont(font);
  box->lineEdit()->setFont(font);
  box->view()->setFont(font);
  box->addItems(items);
  return box;
}

}  // namespace tessaly::skin

namespace tessaly {

void SetUpApplication() {
  // The task bar shows the main window's title, "Tessaly"; no display name is
  // set, as Qt would append it to every window's title.
  QCoreApplication::setApplicationName(QStringLiteral("tessaly"));
  // The settings (the calendar's 显示节气) go to ~/.config/tessaly/tessaly.conf.
  QCoreApplication::setOrganizationName(QStringLiteral("tessaly"));
  QGuiApplication::setDesktopFileName(QStringLiteral("invalid.tessaly.Tessaly"));
  // The desktop's own dialogs would neither wear the skin nor take the
  // translations below.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  // Qt's own texts (确定 and 取消 of the message boxes, the file dialog's
  // labels, the viewer's context menu) in Chinese, whatever the desktop's
  // language: the program speaks Chinese throughout. Without the translations
  // installed the texts stay English.
  const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* catalog : {"qt_zh_CN", "qtwebengine_zh_CN"}) {
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLatin1String(catalog), dir)) {
      QCoreApplication::installTranslator(translator);
    } else {
      delete translator;
    }
  }
  skin::ApplyToApplication();
}

}  // namespace tessaly
