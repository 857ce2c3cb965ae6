// tessaly-cli strokes TEXT: one line per character, the character, a TAB and
// its stroke text as the store gives it (empty when the store has none).

#include "cli/commands.h"
#include "store/reference_store.h"

namespace tessaly::cli {

int RunStrokes(const QStringList& args, QByteArray& out) {
  if (args.size() != 1 || args[0].isEmpty()) {
    Err(QStringLiteral("usage: tessaly-cli strokes TEXT"));
    return 2;
  }
  ReferenceStore store;
  store.Open(ReferenceStore::DefaultPath());
  const QString& text = args[0];
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
