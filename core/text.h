#pragma once
// Text helpers. Inside the program text is QString; the files the program writes
// for the user are GBK (code page 936) with CR LF line ends. Rules that count in
// GBK bytes (a Chinese character is two bytes) go through these helpers, which
// never split a character.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tessaly {

// Unicode to GBK. A character GBK cannot hold raises Error naming it.
QByteArray ToGbk(const QString& text);
// GBK to Unicode; malformed bytes become U+FFFD.
QString FromGbk(const QByteArray& bytes);

// Whether every character of the text has a GBK form.
bool FitsGbk(const QString& text);
// The first character of the text that GBK cannot hold, or an empty string.
QString FirstNonGbk(const QString& text);

// Bytes one character takes in GBK: 1 for ASCII (and the two other single
// bytes of code page 936: the euro sign at 0x80 and U+F8F5 at 0xFF), 2 for
// everything else.
int GbkCharWidth(char32_t ch);
// Length of the text in GBK bytes, by GbkCharWidth.
int GbkLength(const QString& text);

// The part of the text that lies within GBK bytes first .. first + count - 1
// (1-based, as a byte-wise copy would take them). A character that straddles
// either end of the range is left out, so no character is ever split.
QString GbkMid(const QString& text, int first, int count);
// The first `count` bytes, by GbkMid.
QString GbkLeft(const QString& text, int count);

// Splits a text added to a line list the way the report memos do: CR LF, LF
// and CR end a line, except that a text consisting of a single CR is a line of
// its own (the readings use it as a separator line).
QStringList SplitMemoText(const QString& text);

// Writes the lines as GBK, each followed by CR LF, replacing the file whole
// (temporary file, then rename). Raises Error when a character has no GBK form
// (nothing is written) or the file cannot be written (the old file stays).
void WriteGbkLines(const QString& path, const QStringList& lines);

// Escapes &, < and > for use inside an HTML page.
QString EscapeHtml(const QString& text);

}  // namespace tessaly
