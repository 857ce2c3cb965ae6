// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's look: colours, fonts, the style sheet shared by its windows,
// and the standard widgets of that look (headings, buttons, lists, panels).

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

class QComboBox;
class QPushButton;

namespace tessaly {
class TMLabel;
}

namespace tessaly::skin {

// The skin's named colours. The style sheet (skin/skin.qss) writes them as
// @name@ with the names of NamedColours(); the palette uses the same ones.
inline const QColor kPaper{0xF4, 0xEA, 0xD2};        // paper: the windows' plain background
inline const QColor kDialogPaper{0xF7, 0xEF, 0xDC};  // dialog-paper: dialogs and message boxes
inline const QColor kBase{0xFF, 0xFC, 0xF5};         // base: the ground of lists and buttons
inline const QColor kPopup{0xFF, 0xFA, 0xF1};        // popup: drop-down lists and tooltips
inline const QColor kEdge{0xC8, 0xB0, 0x89};         // edge: the boxes' and buttons' borders
inline const QColor kInk{0x2D, 0x2A, 0x26};          // ink: text
inline const QColor kMuted{0xA8, 0x9F, 0x8C};        // muted: disabled text, placeholders
inline const QColor kSealRed{0xA8, 0x32, 0x2D};      // seal-red: seal, focus and selection
inline const QColor kSealDark{0x6E, 0x1F, 0x1A};     // seal-dark: the seal's edges
inline const QColor kSealText{0xFF, 0xF8, 0xEC};     // seal-text: text on seal red
inline const QColor kOlive{0x6F, 0x6A, 0x12};        // olive: small captions, read-only text
inline const QColor kMaroon{0x80, 0x00, 0x00};       // maroon: check box captions
inline const QColor kTermOchre{0xA0, 0x58, 0x00};    // term-ochre: solar terms in the calendar
inline const QColor kWarning{0xD0, 0x10, 0x10};      // warning: a day that clashes with the person

struct NamedColour {
  const char* name;
  const QColor& colour;
};
// Every colour above with its name in the style sheet.
const std::vector<NamedColour>& NamedColours();

// The family of the windows' text: 宋体 where it is installed, else a CJK serif.
QString UiFontFamily();
// That family at a pixel size.
QFont UiFont(int pixel_size, bool bold = false);

// Fills the named colours into a style sheet written with @name@.
QString WithColours(QString css);

// Style sheet of the windows, skin/skin.qss with its colours filled in.
// Widgets pick their look by the dynamic property "skin": "flat" (flat white
// button), "seal" (large command button), "panel" (translucent paper panel),
// "olive" (small caption label), "icon" (small picture button), "title" (a
// frameless window's caption bar and its controls), "artwork" (those controls
// standing on the artwork).
QString StyleSheet();

// The windows' colours: paper grounds, ink text, and seal red for selections
// and focus marks.
QPalette Palette();

// Applies fonts, colours, style sheet and the seal icon to a top-level window.
void ApplyToWindow(QWidget* window);

// Gives the whole application the skin (its style, font, colours and style
// sheet), so that Qt's own windows, the message boxes and the file dialog,
// look like the program's. Needs the application object.
void ApplyToApplication();

// Moves a top-level window to the middle of its screen's free area.
void CenterOnScreen(QWidget* window);

// A translucent paper panel named `name` at `geometry` inside `parent`.
QFrame* Panel(QWidget* parent, const QString& name, const QRect& geometry);

// A heading: the caption in bold, its colour stepping from red to blue. Mouse
// clicks go through it to what lies below (the artwork, which drags the window).
TMLabel* Heading(const QString& name, const QString& caption, QWidget* parent);

// A flat white button. Like a flat button it takes no focus when clicked (a
// box being edited keeps it), but it can be reached with the Tab key.
QPushButton* FlatButton(const QString& name, const QString& caption, QWidget* parent,
                        int pixel_size = 13);

// A large command button in seal red.
QPushButton* SealButton(const QString& name, const QString& caption, QWidget* parent);

// An editable drop-down list whose typed text is never added to its items.
QComboBox* EditableList(const QString& name, const QStringList& items, QWidget* parent,
                        int pixel_size = 13);

}  // namespace tessaly::skin

namespace tessaly {

// What is set up once the application object exists: the program's name, Qt's
// own texts in Chinese, Qt's own dialogs in place of the desktop's, and the
// skin for all windows, the message boxes and the file dialog included.
void SetUpApplication();

}  // namespace tessaly
