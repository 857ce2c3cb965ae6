// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common compound surnames (复姓). A name that begins with one while the
// surname kind is 单姓 is worth a word to the user: the name reading takes its
// first character alone as the surname, and every grid comes out otherwise.
// Nothing here changes the kind; the windows and the command-line tool say it.

#include <QString>
#include <QStringList>

namespace tessaly {

// The list, in the order of its source.
const QStringList& CompoundSurnames();

// The compound surname the name begins with, when a given name follows it;
// otherwise an empty text.
QString CompoundSurnameOf(const QString& name);

}  // namespace tessaly
