// SPDX-License-Identifier: GPL-3.0-or-later
// tessaly-cli strokes TEXT: one line per character, the character, a TAB and
// its stroke text as the store gives it (empty when the store has none).

#include "cli/commands.h"
#include "store/reference_store.h"

namespace tessaly::cli {

int RunStrokes(const QStringList& args, QByteArray& out) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("The stroke count of each character of TEXT: one line per character, the\n"
                     "character, a TAB and its stroke count as the reference store gives it\n"
                     "(empty when the store has none)."));
  parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("the characters"));
  if (const int status = ParseArguments(parser, "strokes", args, out); status >= 0) return status;
  const QStringList texts = parser.positionalArguments();
  if (texts.size() > 1) {
    return BadArguments(parser, "strokes",
                        QStringLiteral("unexpected argument '%1'").arg(texts[1]));
  }
  if (texts.isEmpty() || texts[0].isEmpty()) {
    return BadArguments(
        parser, "strokes",
        texts.isEmpty() ? QString() : QStringLiteral("TEXT is empty: give the characters"));
  }

  ReferenceStore store;
  store.Open(ReferenceStore::DefaultPath());
  const QString& text = texts[0];
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype n = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
    const QString ch = text.mid(i, n);
    i += n - 1;
    Out(out, ch + QLatin1Char('\t') +
                 store.LookupField(Statement{Table::Strokes, ch}, QStringLiteral("数字")));
  }
  return 0;
}

}  // namespace tessaly::cli
