// SPDX-License-Identifier: GPL-3.0-or-later
// The windows when the machine lets them down: an unusable cache directory, a
// full disk under the report page or the export, an export folder that is gone,
// a missing or damaged reference store, a data directory without the sound and
// the artwork, and no 宋体 font. Each failure shows the error box, leaves the
// windows usable and leaves no file half written (QSaveFile's temporary files
// included); a device behind an exported file's name is written into, never
// replaced, while a link in a cache page's place is replaced, never followed.

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <memory>
#include <optional>

#include "app/main_window.h"
#include "app/startup.h"
#include "controls/artwork.h"
#include "controls/skin.h"
#include "core/paths.h"
#include "gui_support.h"
#include "viewer/result_viewer.h"

namespace tessaly {

using test::CachePath;
using test::DesktopRecorder;
using test::DialogWatcher;

namespace {

constexpr char kFullDevice[] = "/dev/full";

// Whether the path itself (not what a link names) is a character device.
bool IsCharDevice(const char* path) {
  struct stat st {};
  return ::lstat(path, &st) == 0 && S_ISCHR(st.st_mode);
}

// Every entry of a directory, hidden ones, links and devices included.
QStringList Entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
  QCOMPARE(file.write(bytes), bytes.size());
}

// The font files fontconfig lists for a pattern, each with its families.
QMap<QString, QStringList> FontFiles(const QString& pattern) {
  QProcess list;
  list.start(QStringLiteral("fc-list"),
             {pattern, QStringLiteral("file"), QStringLiteral("family")});
  QMap<QString, QStringList> files;
  if (!list.waitForFinished(30000)) return files;
  for (const QString& line : QString::fromUtf8(list.readAllStandardOutput()).split(u'\n')) {
    const qsizetype colon = line.indexOf(QStringLiteral(": "));
    if (colon < 0) continue;
    files[line.left(colon)] += line.mid(colon + 2).split(u',', Qt::SkipEmptyParts);
  }
  return files;
}

// Points the cache at another place for as long as it lives.
class CacheHome {
 public:
  explicit CacheHome(const QString& path) : old_(qgetenv("XDG_CACHE_HOME")) {
    qputenv("XDG_CACHE_HOME", QFile::encodeName(path));
  }
  ~CacheHome() { qputenv("XDG_CACHE_HOME", old_); }

 private:
  QByteArray old_;
};

// A small "disk": files of this process cannot grow beyond `bytes` while it
// lives (writes past the limit fail with EFBIG; SIGXFSZ is ignored).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};

}  // namespace

class FaultsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void init();
  void cleanup();

  // First: the click sound is looked up once per process.
  void MissingSoundAndArtwork();
  void FontsCoverChinese_data();
  void FontsCoverChinese();
  void FontsWithoutPreferredFamilies();
  void UnusableCache_data();
  void UnusableCache();
  void StoreAtCreation_data();
  void StoreAtCreation();
  void PageOnFullDisk_data();
  void PageOnFullDisk();
  void ExportFails_data();
  void ExportFails();

 private:
  void Open(const QString& store_path = ReferenceStore::DefaultPath());
  void Report();
  QPushButton* MainButton(const char* name) const {
    return form_->findChild<QPushButton*>(QString::fromLatin1(name));
  }

  DesktopRecorder desktop_;
  std::unique_ptr<DialogWatcher> watcher_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<TForm4> viewer_;
};

void FaultsTest::initTestCase() {
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop_, "Open");
  std::signal(SIGXFSZ, SIG_IGN);
}

void FaultsTest::cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

void FaultsTest::init() {
  desktop_.opened.clear();
  watcher_ = std::make_unique<DialogWatcher>();
  QDir(CachePath("")).removeRecursively();
}

void FaultsTest::cleanup() {
  viewer_.reset();
  form_.reset();
  watcher_.reset();
  SetExecutablePath(QString());
}

void FaultsTest::Open(const QString& store_path) {
  form_ = std::make_unique<TForm1>(store_path);
  form_->FormCreate();
  viewer_ = std::make_unique<TForm4>();
  form_->SetViewer(viewer_.get());
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

// The report command, as clicked.
void FaultsTest::Report() { QTest::mouseClick(MainButton("suiButton1"), Qt::LeftButton); }

void FaultsTest::MissingSoundAndArtwork() {
  // An installation whose data directory holds the store and nothing else.
  QTemporaryDir root;
  QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin")));
  QVERIFY(QDir(root.path()).mkpath(QStringLiteral("share/tessaly")));
  const QString data = root.filePath(QStringLiteral("share/tessaly"));
  QVERIFY(QFile::copy(QStringLiteral(TESSALY_BINARY_DIR "/share/tessaly/kvdata.dat"),
                      data + QStringLiteral("/kvdata.dat")));
  SetExecutablePath(root.filePath(QStringLiteral("bin/tessaly")));
  QCOMPARE(DataDir(), data);

  // The viewer linked in, so that it reads the data directory given above.
  const std::unique_ptr<Windows> windows = CreateWindows([] { return std::make_unique<TForm4>(); });
  QVERIFY(QTest::qWaitForWindowExposed(windows->form1.get()));
  // The viewer, its browser and the sound are made ready after the first paint.
  QTRY_VERIFY(windows->viewer != nullptr);
  auto* viewer = static_cast<TForm4*>(windows->viewer.get());
  QTRY_VERIFY(viewer->Browser() != nullptr);
  QVERIFY(watcher_->boxes.isEmpty());

  // Both windows fall back to the plain paper background.
  struct {
    QWidget* window;
    const char* artwork;
    QPoint bare;  // a point of the window with no control on it
  } const backgrounds[] = {{windows->form1.get(), "Image6", QPoint(600, 460)},
                           {viewer, "Image1", QPoint(620, 460)}};
  for (const auto& b : backgrounds) {
    const auto* artwork = b.window->findChild<TArtwork*>(QString::fromLatin1(b.artwork));
    QVERIFY2(artwork != nullptr && !artwork->HasPicture(), b.artwork);
    QCOMPARE(b.window->grab().toImage().pixelColor(b.bare), skin::kPaper);
  }

  // The click has nothing to play: no sound is loaded, nothing is raised.
  QVERIFY(qApp->findChildren<QSoundEffect*>().isEmpty());
  QTest::mouseClick(windows->form1->findChild<QPushButton*>(QStringLiteral("suiButton1")),
                    Qt::LeftButton);
  QVERIFY(watcher_->boxes.isEmpty());
  QVERIFY(qApp->findChildren<QSoundEffect*>().isEmpty());
  // And the report works as usual.
  QVERIFY(viewer->isVisible());
  QVERIFY(!windows->form1->isVisible());
  QCOMPARE(test::ReadGbkLines(CachePath("temp.htm")), viewer->Page());
}

void FaultsTest::FontsCoverChinese_data() {
  QTest::addColumn<bool>("viewer");
  QTest::addColumn<QString>("name");  // empty: the window itself
  QTest::newRow("main window") << false << "";
  QTest::newRow("heading") << false << "MLabel2";
  QTest::newRow("check box") << false << "suiCheckBox1";
  QTest::newRow("name box") << false << "FlatEdit1";
  QTest::newRow("command") << false << "suiButton1";
  QTest::newRow("drop-down") << false << "FlatComboBox6";
  QTest::newRow("viewer") << true << "";
  QTest::newRow("viewer heading") << true << "MLabel1";
  QTest::newRow("viewer command") << true << "suiButton2";
}

void FaultsTest::FontsCoverChinese() {
  QFETCH(bool, viewer);
  QFETCH(QString, name);
  Open();
  QWidget* window = viewer ? static_cast<QWidget*>(viewer_.get()) : form_.get();
  QWidget* widget = name.isEmpty() ? window : window->findChild<QWidget*>(name);
  QVERIFY(widget != nullptr);
  if (auto* box = qobject_cast<QComboBox*>(widget)) widget = box->lineEdit();

  // The family the font really resolves to, whether or not 宋体 is installed.
  const QString family = QFontInfo(widget->font()).family();
  if (!QFontDatabase::hasFamily(QStringLiteral("宋体"))) QVERIFY(family != QStringLiteral("宋体"));
  QVERIFY2(QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese),
           qPrintable(family));
  const QFontMetrics metrics(widget->font());
  for (const char16_t c : u"马上算命测姓名") {
    if (c != 0) QVERIFY2(metrics.inFont(QChar(c)), qPrintable(family));
  }
}

void FaultsTest::FontsWithoutPreferredFamilies() {
  // A machine with one Chinese font that is none of the preferred families and
  // the Latin font that the generic serif family resolves to: the font test
  // above, run in a program of its own that sees only these two files (with
  // the system's usual family aliases).
  const QStringList preferred = {
      QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
      QStringLiteral("Source Han Serif SC"), QStringLiteral("AR PL UMing CN")};
  const QMap<QString, QStringList> chinese = FontFiles(QStringLiteral(":lang=zh-cn"));
  QString chinese_file;
  for (auto it = chinese.begin(); it != chinese.end(); ++it) {
    bool other = true;
    for (const QString& family : it.value()) other = other && !preferred.contains(family.trimmed());
    if (other && (chinese_file.isEmpty() || it.key().contains(QLatin1String("Regular")))) {
      chinese_file = it.key();
    }
  }
  // The file the generic serif family resolves to here (a Latin one as a rule).
  QProcess match;
  match.start(QStringLiteral("fc-match"),
              {QStringLiteral("-f"), QStringLiteral("%{file}"), QStringLiteral("serif")});
  QString latin_file;
  if (match.waitForFinished(30000)) latin_file = QString::fromUtf8(match.readAllStandardOutput());
  if (chinese.contains(latin_file)) latin_file.clear();
  if (chinese_file.isEmpty() || latin_file.isEmpty()) {
    QSKIP("needs a Chinese font outside the preferred families and a Latin font");
  }

  QTemporaryDir dir;
  QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("fonts")));
  for (const QString& file : {chinese_file, latin_file}) {
    QVERIFY(QFile::link(file, dir.filePath(QStringLiteral("fonts/") + QFileInfo(file).fileName())));
  }
  const QString config = dir.filePath(QStringLiteral("fonts.conf"));
  WriteBytes(config,
             QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>\n"
                            "  <dir>%1/fonts</dir>\n  <cachedir>%1/cache</cachedir>\n"
                            "  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n"
                            "</fontconfig>\n")
                 .arg(dir.path())
                 .toUtf8());
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("FONTCONFIG_FILE"), config);
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("FontsCoverChinese")});
  QVERIFY(child.waitForFinished(120000));
  const QByteArray output = child.readAll();
  QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
  QVERIFY(output.contains("PASS   : tessaly::FaultsTest::FontsCoverChinese(viewer command)"));
}

void FaultsTest::UnusableCache_data() {
  QTest::addColumn<QString>("command");
  QTest::newRow("report") << "report";
  QTest::newRow("font choice") << "font";
  QTest::newRow("closing") << "close";
}

void FaultsTest::UnusableCache() {
  QFETCH(QString, command);
  Open();
  if (command == QLatin1String("font")) {
    Report();  // a page to restyle, while the cache still works
    QVERIFY(viewer_->isVisible());
  }
  // The cache's parent is a file: the directory cannot be made, even by root.
  QTemporaryDir scratch;
  const QString blocker = scratch.filePath(QStringLiteral("blocker"));
  WriteBytes(blocker, "a file, not a folder");
  const CacheHome home(blocker + QStringLiteral("/cache"));
  watcher_->Clear();

  if (command == QLatin1String("report")) {
    Report();
    QVERIFY(!viewer_->isVisible());
    QVERIFY(form_->isVisible());
  } else if (command == QLatin1String("font")) {
    viewer_->suiFontComboBox1Change(QStringLiteral("Noto Serif CJK SC"));
    QVERIFY(viewer_->isVisible());
  } else {
    QSignalSpy closed(form_.get(), &TForm1::Closed);
    QVERIFY(form_->close());
    QCOMPARE(closed.size(), 1);
  }

  if (command == QLatin1String("close")) {
    QVERIFY(watcher_->boxes.isEmpty());
  } else {
    QCOMPARE(watcher_->boxes.size(), 1);
    QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
    // The message names the directory that could not be made.
    QVERIFY2(watcher_->boxes[0].text.contains(QStringLiteral("缓存目录")),
             qPrintable(watcher_->boxes[0].text));
    QVERIFY(watcher_->boxes[0].text.contains(blocker));
  }
  QCOMPARE(Entries(scratch.path()), QStringList({QStringLiteral("blocker")}));
  QCOMPARE(test::ReadBytes(blocker), QByteArray("a file, not a folder"));
}

void FaultsTest::StoreAtCreation_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("creation_box");  // empty: the library's own message
  QTest::newRow("missing") << "missing"
                           << "软件非法安装";
  QTest::newRow("other key") << "other key"
                             << "";
  QTest::newRow("truncated") << "truncated"
                             << "";
  QTest::newRow("zero bytes") << "zero bytes"
                              << "";
}

void FaultsTest::StoreAtCreation() {
  QFETCH(QString, kind);
  QFETCH(QString, creation_box);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kvdata.dat"));
  const QByteArray built =
      test::ReadBytes(QStringLiteral(TESSALY_BINARY_DIR "/share/tessaly/kvdata.dat"));
  QVERIFY(built.size() > 8192);
  if (kind == QLatin1String("other key")) {
    QProcess mkstore;
    mkstore.start(QStringLiteral(TESSALY_BINARY_DIR "/tools/tessaly-mkstore"),
                  {QStringLiteral("--key"), QStringLiteral("another-password"), path,
                   QStringLiteral(TESSALY_SOURCE_DIR "/tests/data/store/strokes.txt")});
    QVERIFY(mkstore.waitForFinished(60000));
    QCOMPARE(mkstore.exitCode(), 0);
  } else if (kind == QLatin1String("truncated")) {
    WriteBytes(path, built.left(built.size() / 2));
  } else if (kind == QLatin1String("zero bytes")) {
    WriteBytes(path, QByteArray());
  }
  const QStringList files = Entries(dir.path());
  const QByteArray bytes = test::ReadBytes(path);

  Open(path);
  // One box at creation: the installation message for a missing file, the
  // library's error for one that does not open.
  QCOMPARE(watcher_->boxes.size(), 1);
  const DialogWatcher::Box box = watcher_->boxes.takeFirst();
  if (!creation_box.isEmpty()) {
    QCOMPARE(box.icon, QMessageBox::Information);
    QVERIFY2(box.text.startsWith(creation_box), qPrintable(box.text));
  } else {
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY(!box.text.isEmpty());
    QVERIFY(!box.text.startsWith(QStringLiteral("软件非法安装")));
  }

  // The window works on.
  QTest::mouseClick(MainButton("FlatButton1"), Qt::LeftButton);
  QCOMPARE(MainButton("FlatButton1")->text(), QStringLiteral("女"));
  // The name reading needs the store: the report stops with the store's error.
  form_->findChild<QCheckBox*>(QStringLiteral("suiCheckBox1"))->setChecked(true);
  Report();
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
  QVERIFY(!watcher_->boxes[0].text.isEmpty());
  QVERIFY(!viewer_->isVisible());
  QVERIFY(form_->isVisible());
  QVERIFY(!QFile::exists(CachePath("temp.htm")));

  // Opening read the store and wrote nothing beside it.
  form_.reset();
  QCOMPARE(Entries(dir.path()), files);
  QCOMPARE(test::ReadBytes(path), bytes);
}

void FaultsTest::PageOnFullDisk_data() {
  QTest::addColumn<QString>("file");  // temp.htm (report) or temp.tmp (font choice)
  QTest::addColumn<bool>("device");   // the file is a link to /dev/full; else a size limit
  QTest::newRow("report page a link to /dev/full") << "temp.htm" << true;
  QTest::newRow("report page, disk full") << "temp.htm" << false;
  QTest::newRow("restyled page a link to /dev/full") << "temp.tmp" << true;
  QTest::newRow("restyled page, disk full") << "temp.tmp" << false;
}

void FaultsTest::PageOnFullDisk() {
  QFETCH(QString, file);
  QFETCH(bool, device);
  if (device && !IsCharDevice(kFullDevice)) QSKIP("no /dev/full character device here");
  const bool report = file == QLatin1String("temp.htm");
  Open();
  if (!report) {
    Report();
    QVERIFY(viewer_->isVisible());
  }
  const QString cache = CacheDir();
  const QString path = cache + QLatin1Char('/') + file;
  QFile::remove(path);
  const QByteArray old_page = "<html>an earlier page</html>\r\n";
  if (device) {
    QVERIFY(QFile::link(QString::fromLatin1(kFullDevice), path));
  } else {
    WriteBytes(path, old_page);
  }
  const QStringList before = Entries(cache);
  watcher_->Clear();

  {
    std::optional<FileSizeLimit> small_disk;
    if (!device) small_disk.emplace(1024);
    if (report) {
      Report();
    } else {
      viewer_->suiFontComboBox1Change(QStringLiteral("Noto Serif CJK SC"));
    }
  }

  if (device) {
    // The link is no way out of the cache: the page takes its place, for the
    // user alone, and the device stays a device.
    QVERIFY(watcher_->boxes.isEmpty());
    QVERIFY(viewer_->isVisible());
    QCOMPARE(Entries(cache), before);
    QVERIFY(!QFileInfo(path).isSymLink());
    struct stat st {};
    QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, 0600u);
    QVERIFY(test::ReadBytes(path).startsWith(report ? "<html>" : "<font face="));
  } else {
    QCOMPARE(watcher_->boxes.size(), 1);
    QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
    QVERIFY2(watcher_->boxes[0].text.contains(file), qPrintable(watcher_->boxes[0].text));
    // The report's viewer does not open on a page that was not written.
    QCOMPARE(viewer_->isVisible(), !report);
    QCOMPARE(form_->isVisible(), report);
    // Nothing half written, no temporary file left.
    QCOMPARE(Entries(cache), before);
    QCOMPARE(test::ReadBytes(path), old_page);
  }
  QVERIFY(IsCharDevice(kFullDevice));

  // Closing deletes the pages; the device stays.
  viewer_->close();
  QVERIFY(form_->close());
  QVERIFY(!QFileInfo(path).isSymLink() && !QFileInfo::exists(path));
  QVERIFY(IsCharDevice(kFullDevice));
}

void FaultsTest::ExportFails_data() {
  QTest::addColumn<QString>("target");    // relative to a scratch folder, or absolute
  QTest::addColumn<QString>("existing");  // there before: "", "file", "device", "link to device"
  QTest::addColumn<int>("limit");         // file size limit in bytes; 0: none
  QTest::newRow("/dev/full chosen") << kFullDevice << "device" << 0;
  QTest::newRow("/dev/full behind the name") << "out/结果.txt"
                                             << "link to device" << 0;
  QTest::newRow("disk full, new file") << "out/结果.txt"
                                       << "" << 1024;
  QTest::newRow("disk full, earlier file kept") << "out/结果.txt"
                                                << "file" << 1024;
  QTest::newRow("folder missing") << "gone/结果.txt"
                                  << "" << 0;
}

void FaultsTest::ExportFails() {
  QFETCH(QString, target);
  QFETCH(QString, existing);
  QFETCH(int, limit);
  const bool device = existing.endsWith(QLatin1String("device"));
  if (device && !IsCharDevice(kFullDevice)) QSKIP("no /dev/full character device here");
  Open();
  Report();
  QVERIFY(viewer_->isVisible());
  QVERIFY(form_->LastReport().plain.join(QString()).size() > limit);

  QTemporaryDir scratch;
  QVERIFY(QDir(scratch.path()).mkpath(QStringLiteral("out")));
  const QString path = QDir(scratch.path()).filePath(target);
  const QByteArray earlier = "an earlier export\r\n";
  if (existing == QLatin1String("link to device")) {
    QVERIFY(QFile::link(QString::fromLatin1(kFullDevice), path));
  } else if (existing == QLatin1String("file")) {
    WriteBytes(path, earlier);
  }
  const QStringList before = Entries(scratch.filePath(QStringLiteral("out")));
  const QStringList cache_before = Entries(CacheDir());
  const QString stray = QString::fromLatin1(kFullDevice) + QStringLiteral(".txt");
  const bool stray_before = QFileInfo::exists(stray);
  watcher_->Clear();

  int dialogs = 0;
  std::optional<FileSizeLimit> small_disk;
  watcher_->on_file_dialog = [&](QFileDialog* dialog) {
    if (++dialogs > 1) {
      dialog->reject();
      return;
    }
    // The user has agreed to replace an existing file.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    // The dialog gives a name without an extension the file type's (as
    // /dev/full.txt); the device itself is reached without it.
    if (existing == QLatin1String("device")) dialog->setDefaultSuffix(QString());
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
    if (limit > 0) small_disk.emplace(static_cast<rlim_t>(limit));
    static_cast<QDialog*>(dialog)->accept();
  };
  QTest::mouseClick(viewer_->findChild<QPushButton*>(QStringLiteral("FlatButton3")),
                    Qt::LeftButton);
  small_disk.reset();
  // The file the user chose is the file written, not a sibling with ".txt".
  if (!stray_before && QFileInfo(stray).isFile()) {
    QFile::remove(stray);
    QFAIL("wrote /dev/full.txt instead of the chosen device");
  }

  QCOMPARE(dialogs, 1);
  QCOMPARE(watcher_->boxes.size(), 1);
  QCOMPARE(watcher_->boxes[0].icon, QMessageBox::Critical);
  QVERIFY2(watcher_->boxes[0].text.contains(QFileInfo(path).fileName()),
           qPrintable(watcher_->boxes[0].text));
  // The editor is not asked to open a file that was not written.
  QVERIFY(desktop_.opened.isEmpty());
  QVERIFY(viewer_->isVisible());

  // Written whole or not at all, and nothing else touched.
  QCOMPARE(Entries(scratch.filePath(QStringLiteral("out"))), before);
  QCOMPARE(Entries(scratch.path()), QStringList({QStringLiteral("out")}));
  QCOMPARE(Entries(CacheDir()), cache_before);
  if (existing == QLatin1String("link to device")) {
    QCOMPARE(QFileInfo(path).symLinkTarget(), QString::fromLatin1(kFullDevice));
  } else if (existing == QLatin1String("file")) {
    QCOMPARE(test::ReadBytes(path), earlier);
  }
  if (device) QVERIFY(IsCharDevice(kFullDevice));
}

}  // namespace tessaly

TESSALY_VIEWER_TEST_MAIN(tessaly::FaultsTest)
#include "faults_test.moc"
