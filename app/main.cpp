// Program entry: the application object, the main window, the message loop.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

#include "core/errors.h"
#include "store/reference_store.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Tessaly"));

  QLabel window(QStringLiteral("Morvane"));
  window.setWindowTitle(QStringLiteral("Morvane"));
  window.setAlignment(Qt::AlignCenter);
  window.resize(640, 480);

  tessaly::ReferenceStore store;
  try {
    store.Open(tessaly::ReferenceStore::DefaultPath());
  } catch (const tessaly::StoreMissingError& e) {
    QMessageBox::information(nullptr, QStringLiteral("Tessaly"), e.message());
  } catch (const tessaly::Error& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Tessaly"), e.message());
  }
  window.show();
  return QApplication::exec();
}
