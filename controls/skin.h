#pragma once
// The program's look: colours, fonts and the style sheet shared by its windows.

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QPalette>
#include <QRect>
#include <QString>

namespace tessaly::skin {

inline const QColor kPaper{0xF4, 0xEA, 0xD2};
inline const QColor kInk{0x2D, 0x2A, 0x26};
inline const QColor kSealRed{0xA8, 0x32, 0x2D};
inline const QColor kOlive{0x6F, 0x6A, 0x12};
inline const QColor kMaroon{0x80, 0x00, 0x00};

// The family of the windows' text: 宋体 where it is installed, else a CJK serif.
QString UiFontFamily();
// That family at a pixel size.
QFont UiFont(int pixel_size, bool bold = false);

// Style sheet of the windows. Widgets pick their look by the dynamic property
// "skin": "flat" (flat white button), "seal" (large command button), "panel"
// (translucent paper panel), "olive" (small caption label), "icon" (small
// picture button).
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

// A translucent paper panel named `name` at `geometry` inside `parent`.
QFrame* Panel(QWidget* parent, const QString& name, const QRect& geometry);

}  // namespace tessaly::skin
