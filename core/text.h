// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text helpers. Inside the program text is QString; the files the program writes
// for the user are GB18030 with CR LF line ends, which is GBK (code page 936)
// byte for byte wherever GBK can hold the text. Rules that count in GBK bytes (a
// Chinese character is two bytes, a character outside GBK one whole two-byte
// piece) go through these helpers, which never split a character.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tessaly {

// Unicode to GBK. A character GBK cannot hold raises Error naming it.
QByteArray ToGbk(const QString& text);
// GBK to Unicode; malformed bytes become U+FFFD.
QString FromGbk(const QByteArray& bytes);

// Unicode to GB18030, which holds every character: GBK's bytes for each
// character GBK holds (so such text comes out exactly as GBK), GB18030's own
// two- or four-byte forms for the rest.
QByteArray ToGb18030(const QString& text);

// Whether every character of the text has a GBK form.
bool FitsGbk(const QString& text);
// The first character of the text that GBK cannot hold, or an empty string.
QString FirstNonGbk(const QString& text);

// Bytes one character takes in GBK: 1 for ASCII (and the two other single
// bytes of code page 936: the euro sign at 0x80 and U+F8F5 at 0xFF), 2 for
// everything else, characters outside GBK included.
int GbkCharWidth(char32_t ch);
// The text without its single-byte characters (letters, digits, blanks and
// punctuation of ASCII among them), so that it cuts into whole two-byte pieces.
QString WithoutSingleBytes(const QString& text);
// Length of the text in GBK bytes, by GbkCharWidth.
int GbkLength(const QString& text);

// The part of the text that lies within GBK bytes first .. first + count - 1
// (1-based, as a byte-wise copy would take them). A character that straddles
// either end of the range is left out, so no character is ever split.
QString GbkMid(const QString& text, int first, int count);
// The first `count` bytes, by GbkMid.
QString GbkLeft(const QString& text, int count);

// A character no argument, input line or imported text may hold: C0 but TAB,
// DEL, C1, the bidirectional embeddings, overrides and isolates
// (U+202A..U+202E, U+2066..U+2069) and the line and paragraph separators
// (U+2028, U+2029). Each would reach a terminal or a report line as it is.
bool IsControlCharacter(char32_t c);

// Splits a text added to a line list the way the report memos do: CR LF, LF
// and CR end a line, except that a text consisting of a single CR is a line of
// its own (the readings use it as a separator line).
QStringList SplitMemoText(const QString& text);

// What a file written by the Write*Lines functions is for.
enum class FileUse {
  // A file the user named: a link there is followed to the file it names, and
  // an existing file keeps its permissions.
  kChosen,
  // A scratch file of the program in its private cache: created for the user
  // alone (0600); a link in its place is replaced, never followed.
  kPrivate,
  // A file the user named that holds what is the user's own (the report page
  // of tessaly-cli --page): as kChosen, but a new file is for the user alone (0600).
  kChosenPrivate,
};

// Writes the lines as GB18030 (ToGb18030), each followed by CR LF, replacing
// the file whole: the bytes go into a file without a name (O_TMPFILE, or where
// the file system has none a temporary name whose own length fits beside any
// file name) that replaces the old file in one rename when complete, so that
// a killed program leaves no part-written file. A character device is written
// into; a pipe, a socket, a folder and a loop of links are refused. Raises
// FileError when the file cannot be written (the old file stays).
void WriteGb18030Lines(const QString& path, const QStringList& lines,
                       FileUse use = FileUse::kChosen);

// Writes `bytes` as the file's whole content in the same way (temporary file,
// then rename; a character device is written into). Raises FileError when the
// file cannot be written; the old file stays and no part-written file is left.
void WriteFileBytes(const QString& path, const QByteArray& bytes, FileUse use = FileUse::kChosen);

// Escapes &, < and > for use inside an HTML page.
QString EscapeHtml(const QString& text);

}  // namespace tessaly
