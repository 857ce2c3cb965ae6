// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/skin.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

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

const std::vector<NamedColour>& NamedColours() {
  static const std::vector<NamedColour> colours = {{"paper", kPaper},
                                                   {"dialog-paper", kDialogPaper},
                                                   {"base", kBase},
                                                   {"popup", kPopup},
                                                   {"edge", kEdge},
                                                   {"ink", kInk},
                                                   {"muted", kMuted},
                                                   {"seal-red", kSealRed},
                                                   {"seal-dark", kSealDark},
                                                   {"seal-text", kSealText},
                                                   {"olive", kOlive},
                                                   {"maroon", kMaroon},
                                                   {"term-ochre", kTermOchre},
                                                   {"warning", kWarning}};
  return colours;
}

QString WithColours(QString css) {
  for (const NamedColour& c : NamedColours()) {
    css.replace(QLatin1Char('@') + QLatin1String(c.name) + QLatin1Char('@'), c.colour.name());
  }
  return css;
}

QString StyleSheet() {
  static const QString css = [] {
    QFile file(QStringLiteral(":/tessaly/skin/skin.qss"));
    if (!file.open(QIODevice::ReadOnly)) qFatal("the skin's style sheet is not in the program");
    return WithColours(QString::fromUtf8(file.readAll()));
  }();
  return css;
}

QPalette Palette() {
  QPalette p;
  p.setColor(QPalette::Window, kDialogPaper);
  p.setColor(QPalette::WindowText, kInk);
  p.setColor(QPalette::Base, kBase);
  p.setColor(QPalette::AlternateBase, kPaper);
  p.setColor(QPalette::Text, kInk);
  p.setColor(QPalette::Button, kBase);
  p.setColor(QPalette::ButtonText, kInk);
  p.setColor(QPalette::BrightText, kSealText);
  p.setColor(QPalette::Highlight, kSealRed);
  p.setColor(QPalette::HighlightedText, kSealText);
  p.setColor(QPalette::ToolTipBase, kPopup);
  p.setColor(QPalette::ToolTipText, kInk);
  p.setColor(QPalette::PlaceholderText, kMuted);
  p.setColor(QPalette::Link, kMaroon);
  p.setColor(QPalette::LinkVisited, kMaroon);
  for (const QPalette::ColorRole role :
       {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, kMuted);
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
  // labels) in Chinese, whatever the desktop's language: the program speaks
  // Chinese throughout. qt_zh_CN gathers the catalogues of Qt's modules
  // (qtbase_zh_CN and the others). Without them installed the texts stay English.
  auto* translator = new QTranslator(qApp);
  if (translator->load(QStringLiteral("qt_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
  skin::ApplyToApplication();
}

}  // namespace tessaly
