// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' artwork: the shipped pictures decode cleanly with libjpeg, a
// truncated, damaged, empty or missing file leaves the plain background, and a
// picture decoded ahead is taken once.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "controls/artwork.h"
#include "controls/jpeg_image.h"
#include "controls/skin.h"
#include "gui_support.h"

namespace tessaly {

class ArtworkTest : public QObject {
  Q_OBJECT

 private slots:
  void ShippedPictures_data();
  void ShippedPictures();
  void BadFiles_data();
  void BadFiles();
  void PlainBackgroundInstead();
  void PrefetchedOnce();

 private:
  QTemporaryDir dir_;
};

void ArtworkTest::ShippedPictures_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QSize>("size");
  QTest::newRow("main") << TArtwork::ArtworkPath(QStringLiteral("main")) << QSize(640, 480);
  QTest::newRow("main@2x") << TArtwork::HiDpiArtworkPath(QStringLiteral("main"))
                           << QSize(1280, 960);
  QTest::newRow("viewer") << TArtwork::ArtworkPath(QStringLiteral("viewer")) << QSize(640, 480);
  QTest::newRow("viewer@2x") << TArtwork::HiDpiArtworkPath(QStringLiteral("viewer"))
                             << QSize(1280, 960);
}

void ArtworkTest::ShippedPictures() {
  QFETCH(QString, path);
  QFETCH(QSize, size);
  const JpegDecodeResult result = DecodeJpegFile(path);
  QVERIFY2(result.Clean(), qPrintable(result.error));
  QCOMPARE(result.warnings, 0);
  QCOMPARE(result.image.size(), size);
  // Warm paper near the left edge: light and yellowish.
  const QColor centre = result.image.pixelColor(size.width() / 20, size.height() / 4);
  QVERIFY(centre.red() > 180 && centre.red() > centre.blue());
}

void ArtworkTest::BadFiles_data() {
  QTest::addColumn<QByteArray>("bytes");  // null: no file at all
  QTest::addColumn<bool>("decodes_with_warnings");

  const QByteArray good = test::ReadBytes(TArtwork::ArtworkPath(QStringLiteral("main")));
  QTest::newRow("truncated to half") << good.left(good.size() / 2) << true;
  QTest::newRow("truncated after the header") << good.left(700) << true;
  QTest::newRow("damaged header") << QByteArray("\xFF\xD8\xFF\xE0garbage", 11) + good.mid(64)
                                  << false;
  QTest::newRow("not a jpeg") << QByteArray("GIF89a, of all things") << false;
  QTest::newRow("empty") << QByteArray("") << false;
  QTest::newRow("missing") << QByteArray() << false;
}

void ArtworkTest::BadFiles() {
  QFETCH(QByteArray, bytes);
  QFETCH(bool, decodes_with_warnings);
  const QString path = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".jpg");
  if (!bytes.isNull()) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  const JpegDecodeResult result = DecodeJpegFile(path);
  QVERIFY(!result.Clean());
  QVERIFY(!result.error.isEmpty());
  if (decodes_with_warnings) {
    // libjpeg pads a truncated picture and only warns.
    QVERIFY(result.warnings > 0);
    QVERIFY(!result.image.isNull());
  } else {
    QVERIFY(result.image.isNull());
  }
  TArtwork artwork(path);
  QVERIFY(!artwork.HasPicture());
}

void ArtworkTest::PlainBackgroundInstead() {
  const QByteArray good = test::ReadBytes(TArtwork::ArtworkPath(QStringLiteral("main")));
  const QString path = dir_.filePath(QStringLiteral("cut.jpg"));
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(good.left(good.size() / 3));
  f.close();
  TArtwork artwork(path);
  artwork.resize(640, 480);
  const QImage shot = artwork.grab().toImage();
  QCOMPARE(shot.pixelColor(320, 400), skin::kPaper);
  QCOMPARE(shot.pixelColor(320, 100), skin::kPaper);
}

void ArtworkTest::PrefetchedOnce() {
  const QString path = dir_.filePath(QStringLiteral("prefetched.jpg"));
  QVERIFY(QFile::copy(TArtwork::ArtworkPath(QStringLiteral("main")), path));
  TArtwork::Prefetch(path);
  // The picture read ahead is shown even though the file has gone since; the
  // next one for the same path reads the file again.
  QVERIFY(QFile::remove(path));
  QCOMPARE(TArtwork(path).PictureSize(), QSize(640, 480));
  QVERIFY(!TArtwork(path).HasPicture());
}

}  // namespace tessaly

TESSALY_GUI_TEST_MAIN(tessaly::ArtworkTest)
#include "artwork_test.moc"
