// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/result_viewer.h"

#include <QAbstractItemView>
#include <QBuffer>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QStyle>
#include <QTimer>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

#include <algorithm>
#include <utility>

#include "controls/artwork.h"
#include "controls/gradient_label.h"
#include "controls/message_box.h"
#include "controls/skin.h"
#include "core/errors.h"
#include "core/paths.h"
#include "core/text.h"

namespace tessaly {

namespace {

constexpr char kScheme[] = "tessaly";
constexpr int kWidth = 640;
constexpr int kHeight = 480;
// The picture is taken once the rendering has stayed the same for half a
// second (the first renderings can still change, while the fonts are being
// found); after 20 s without that it is given up.
constexpr int kCapturePollMs = 100;
constexpr int kCaptureSettledPolls = 5;
constexpr int kCapturePolls = 200;

// Sets up the web engine, once, before the first profile: registers the
// pages' URL scheme (the engine takes no schemes after that) and has the pages
// drawn in software. A page of text needs no OpenGL, whose drivers would cost
// more to load than drawing it does.
void PrepareWebEngine() {
  static const bool prepared = [] {
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return true;
  }();
  (void)prepared;
}

// Serves "tessaly:<file>" from the cache directory as GB18030 HTML, and
// "tessaly:" as the warm-up page. Only plain file names are served; anything
// else is not found.
class PageSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

  void requestStarted(QWebEngineUrlRequestJob* job) override {
    static const QRegularExpression plain_name(
        QStringLiteral("^[A-Za-z0-9_-]+(\\.[A-Za-z0-9]+)?$"));
    const QString name = job->requestUrl().path();
    if (name.isEmpty()) {
      // The browser's warm-up: a page set as the reports are (GB18030, their
      // title, their fonts, a script), hidden, so that the renderer has all
      // that ready for the first report.
      auto* page = new QBuffer(job);
      page->setData(ToGb18030(QStringLiteral(
          "<html><body style=\"font-size: 10pt; font-family: 宋体; visibility: hidden\">"
          "<p align=\"center\"><b><font size=\"5\">相信科学 相信命运</font></b></p>"
          "<p>【※姓名祸福预测】<b>吉</b></p><script>0</script></body></html>")));
      page->open(QIODevice::ReadOnly);
      job->reply(QByteArrayLiteral("text/html;charset=GB18030"), page);
      return;
    }
    if (!plain_name.match(name).hasMatch()) {
      job->fail(QWebEngineUrlRequestJob::UrlNotFound);
      return;
    }
    QString path;
    try {
      path = CacheDir() + QLatin1Char('/') + name;
    } catch (const Error&) {
      job->fail(QWebEngineUrlRequestJob::UrlNotFound);
      return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      job->fail(QWebEngineUrlRequestJob::UrlNotFound);
      return;
    }
    auto* buffer = new QBuffer(job);
    buffer->setData(file.readAll());
    buffer->open(QIODevice::ReadOnly);
    job->reply(QByteArrayLiteral("text/html;charset=GB18030"), buffer);
  }
};

// The families the page can name, each once and sorted. A family that several
// foundries make is listed by Qt as "Family [foundry]", a name no font
// answers to; the page names the family alone. Generic names ("Serif",
// "Monospace") stand for some other family and are left out, and so are names
// GBK cannot hold (the page is written in GBK).
QStringList PageFontFamilies() {
  static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^]]*\\]$"));
  QStringList families;
  for (QString family : QFontDatabase::families()) {
    if (QFontDatabase::isPrivateFamily(family)) continue;
    family.remove(foundry);
    if (QFontDatabase::hasFamily(family) && FitsGbk(family)) families << family;
  }
  std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  families.removeDuplicates();
  return families;
}

// A file name the save dialog can start with.
QString SuggestedFileName(const QString& name) {
  QString cleaned = name;
  cleaned.replace(QLatin1Char('/'), QLatin1Char('_'));
  return cleaned.trimmed();
}

// Whether a rendering shows anything: a page that has not been drawn yet is
// one colour throughout.
bool HasContent(const QImage& image) {
  if (image.isNull()) return false;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb first = argb.pixel(0, 0);
  for (int y = 0; y < argb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    if (std::any_of(line, line + argb.width(), [first](QRgb p) { return p != first; })) return true;
  }
  return false;
}

}  // namespace

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setWindowTitle(QStringLiteral("命运结果查阅"));
  setAttribute(Qt::WA_QuitOnClose, false);
  skin::ApplyToWindow(this);
  setFixedSize(kWidth, kHeight);

  Image1 = TArtwork::Background(QStringLiteral("viewer"), this);
  Image1->setObjectName(QStringLiteral("Image1"));

  // Left-hand panel: font list and options.
  suiPanel1 = skin::Panel(this, QStringLiteral("suiPanel1"), QRect(14, 90, 126, 276));

  MLabel1 = skin::Heading(QStringLiteral("MLabel1"), QStringLiteral("字体："), suiPanel1);
  MLabel1->setGeometry(12, 12, MLabel1->sizeHint().width(), 22);
  suiFontComboBox1 = new QComboBox(suiPanel1);
  suiFontComboBox1->setObjectName(QStringLiteral("suiFontComboBox1"));
  // A drop-down list of at most 20 rows with a scroll bar: as a pop-up menu
  // (the style's default) it ignores the row count and fills the screen. The
  // style sheet counts once the box is polished, and it must count when the
  // list is first asked for, which is when the list sets up its scroll bar.
  suiFontComboBox1->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  suiFontComboBox1->ensurePolished();
  suiFontComboBox1->setGeometry(10, 38, 106, 24);
  suiFontComboBox1->setPlaceholderText(QStringLiteral("选择字体"));
  suiFontComboBox1->setFont(skin::UiFont(13));
  suiFontComboBox1->view()->setFont(skin::UiFont(13));
  suiFontComboBox1->setMaxVisibleItems(20);
  suiFontComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

  MLabel2 = skin::Heading(QStringLiteral("MLabel2"), QStringLiteral("选项："), suiPanel1);
  MLabel2->setGeometry(12, 80, MLabel2->sizeHint().width(), 22);
  // The option buttons, one under the other; the order they are made in is
  // their tab order.
  int y = 106;
  const auto option = [this, &y](const QString& name, const QString& caption) {
    QPushButton* button = skin::FlatButton(name, caption, suiPanel1);
    button->setGeometry(10, y, 106, 28);
    y += 32;
    return button;
  };
  FlatButton3 = option(QStringLiteral("FlatButton3"), QStringLiteral("输出到文件"));
  FlatButton4 = option(QStringLiteral("FlatButton4"), QStringLiteral("保存为PDF"));
  FlatButton5 = option(QStringLiteral("FlatButton5"), QStringLiteral("保存为图片"));
  FlatButton1 = option(QStringLiteral("FlatButton1"), QStringLiteral("联系软件作者"));
  FlatButton6 = option(QStringLiteral("FlatButton6"), QStringLiteral("起名参考"));

  suiButton1 = skin::SealButton(QStringLiteral("suiButton1"), QStringLiteral("打印输出"), this);
  suiButton1->setGeometry(14, 374, 125, 38);
  suiButton2 = skin::SealButton(QStringLiteral("suiButton2"), QStringLiteral("返回算命"), this);
  suiButton2->setGeometry(14, 420, 125, 38);

  // Right-hand panel: the browser, created once the main window is up.
  suiPanel2 = new QFrame(this);
  suiPanel2->setObjectName(QStringLiteral("suiPanel2"));
  suiPanel2->setGeometry(152, 40, 457, 401);
  suiPanel2->setStyleSheet(QStringLiteral("QFrame#suiPanel2 { background: #fffdf8; }"));
  auto* layout = new QVBoxLayout(suiPanel2);
  layout->setContentsMargins(0, 0, 0, 0);

  skin::CenterOnScreen(this);

  connect(suiFontComboBox1, &QComboBox::textActivated, this, &TForm4::suiFontComboBox1Change);
  connect(FlatButton3, &QPushButton::clicked, this, &TForm4::FlatButton3Click);
  connect(FlatButton1, &QPushButton::clicked, this, &TForm4::FlatButton1Click);
  connect(FlatButton4, &QPushButton::clicked, this, &TForm4::FlatButton4Click);
  connect(FlatButton5, &QPushButton::clicked, this, &TForm4::FlatButton5Click);
  connect(FlatButton6, &QPushButton::clicked, this, [this] {
    if (name_chooser_) name_chooser_();
  });
  connect(suiButton1, &QPushButton::clicked, this, &TForm4::suiButton1Click);
  connect(suiButton2, &QPushButton::clicked, this, &TForm4::suiButton2Click);
}

TForm4::~TForm4() {
  // A PDF or picture still being made is dropped. The pages must go before
  // their profile.
  pdf_path_.clear();
  capture_path_.clear();
  delete capture_;
  capture_ = nullptr;
  delete WebBrowser1;
  WebBrowser1 = nullptr;
}

QUrl TForm4::PageUrl(const QString& path) {
  QUrl url;
  url.setScheme(QString::fromLatin1(kScheme));
  url.setPath(QFileInfo(path).fileName());
  return url;
}

QUrl TForm4::ContactUrl() {
  QUrl url(QStringLiteral("mailto:support@tessaly.invalid"));
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Tessaly 用户反馈"));
  url.setQuery(query);
  return url;
}

void TForm4::FinishCreation() {
  if (finished_creation_) return;
  finished_creation_ = true;

  suiFontComboBox1->addItems(PageFontFamilies());
  suiFontComboBox1->setCurrentIndex(-1);
  // The open list is as wide as its longest name (plus its scroll bar).
  QAbstractItemView* list = suiFontComboBox1->view();
  list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                        list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list));

  PrepareWebEngine();
  // An off-the-record profile: the viewer keeps nothing on disk.
  profile_ = new QWebEngineProfile(this);
  profile_->installUrlSchemeHandler(kScheme, new PageSchemeHandler(profile_));
  WebBrowser1 = new QWebEngineView(suiPanel2);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  WebBrowser1->setPage(new QWebEnginePage(profile_, WebBrowser1));
  WebBrowser1->setContextMenuPolicy(Qt::NoContextMenu);
  WebBrowser1->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  suiPanel2->layout()->addWidget(WebBrowser1);
  connect(WebBrowser1, &QWebEngineView::printFinished, this, &TForm4::PrintFinished);
}

void TForm4::Prepare() {
  FinishCreation();
  // A page of the pages' own scheme starts the renderer that the reports will
  // use, so that the first report does not wait for it.
  if (WebBrowser1->url().isEmpty()) WebBrowser1->load(PageUrl(QString()));
}

void TForm4::ShowReport(const QStringList& page, const QString& page_path,
                        const QStringList& plain_report, const QString& name) {
  page_ = page;
  plain_report_ = plain_report;
  name_ = name;
  Navigate(page_path);
  show();
  raise();
  activateWindow();
}

void TForm4::Navigate(const QString& path) {
  FinishCreation();
  // A page without a font choice (a new report) shows in the browser's own
  // font, and the list shows no choice either, as at the start.
  if (!page_.value(0).startsWith(QLatin1String("<font"))) {
    suiFontComboBox1->setCurrentIndex(-1);
  }
  WebBrowser1->load(PageUrl(path));
}

// --- Commands ----------------------------------------------------------------

void TForm4::suiFontComboBox1Change(const QString& family) {
  if (page_.isEmpty() || family.isEmpty()) return;
  QString face = family;
  face.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
  // The face is quoted: most family names contain blanks.
  page_[0] = QStringLiteral("<font face=\"%1\">").arg(face);
  try {
    const QString path = StyledPagePath();
    WriteReportPage(page_, path, FileUse::kPrivate);
    Navigate(path);
  } catch (const Error& e) {
    ErrorBox(this, e.message());
  }
}

QString TForm4::AskSavePath(const QString& caption, const QString& filter, const QString& suffix) {
  return tessaly::AskSavePath(this, caption, SuggestedFileName(name_), filter, suffix);
}

void TForm4::FlatButton3Click() {
  const QString path = AskSavePath(QStringLiteral("输出到文件"), QStringLiteral("文本文件 (*.txt)"),
                                   QStringLiteral("txt"));
  if (path.isEmpty()) return;
  try {
    WriteGb18030Lines(path, plain_report_);
  } catch (const Error& e) {
    ErrorBox(this, e.message());
    return;
  }
  // The desktop's text editor; no command line is built from the path.
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TForm4::FlatButton1Click() { QDesktopServices::openUrl(ContactUrl()); }

void TForm4::FlatButton4Click() {
  if (WebBrowser1 == nullptr || !pdf_path_.isEmpty()) return;
  const QString path = AskSavePath(QStringLiteral("保存为PDF"), QStringLiteral("PDF 文件 (*.pdf)"),
                                   QStringLiteral("pdf"));
  if (!path.isEmpty()) SavePdf(path);
}

void TForm4::FlatButton5Click() {
  if (WebBrowser1 == nullptr || !capture_path_.isEmpty()) return;
  const QString path = AskSavePath(QStringLiteral("保存为图片"), QStringLiteral("PNG 图片 (*.png)"),
                                   QStringLiteral("png"));
  if (!path.isEmpty()) SavePicture(path);
}

void TForm4::SavePdf(const QString& path) {
  if (WebBrowser1 == nullptr || !pdf_path_.isEmpty() || path.isEmpty()) return;
  pdf_path_ = path;
  const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
  WebBrowser1->page()->printToPdf(
      [this](const QByteArray& pdf) {
        // Empty when the viewer went away meanwhile.
        const QString target = std::exchange(pdf_path_, QString());
        if (!target.isEmpty()) {
          FinishSave(target, pdf, QStringLiteral("无法生成PDF文件，“%1”没有保存。").arg(target));
        }
      },
      a4);
}

void TForm4::SavePicture(const QString& path) {
  if (WebBrowser1 == nullptr || !capture_path_.isEmpty() || path.isEmpty()) return;
  capture_path_ = path;
  if (capture_timer_ == nullptr) {
    capture_timer_ = new QTimer(this);
    capture_timer_->setInterval(kCapturePollMs);
    connect(capture_timer_, &QTimer::timeout, this, &TForm4::CapturePoll);
  }
  // A second browser, as wide as the shown page's text and as tall as the whole
  // page, renders it in one piece; without scroll bars it lays the page out as
  // the shown one does. It lies under the shown browser, so nothing on the
  // screen changes. Its size is set once, before it loads: the page (without a
  // document type) stretches its body to the window, so fitting the window to
  // the page again would make the page taller each time.
  WebBrowser1->page()->runJavaScript(
      QStringLiteral(
          "[document.scrollingElement.clientWidth, document.scrollingElement.scrollHeight]"),
      [this](const QVariant& result) {
        if (capture_path_.isEmpty()) return;  // the viewer is going away
        const QVariantList size = result.toList();
        const int width = size.value(0).toInt();
        const int height = size.value(1).toInt();
        if (width <= 0 || height <= 0) {
          FinishCapture(QImage());
          return;
        }
        capture_last_ = QImage();
        capture_polls_ = 0;
        capture_settled_ = 0;
        capture_ = new QWebEngineView(suiPanel2);
        capture_->setFocusPolicy(Qt::NoFocus);
        capture_->setAttribute(Qt::WA_TransparentForMouseEvents);
        capture_->setGeometry(0, 0, width, height);
        capture_->stackUnder(WebBrowser1);
        capture_->show();
        capture_->setPage(new QWebEnginePage(profile_, capture_));
        capture_->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
        connect(capture_, &QWebEngineView::loadFinished, this, [this](bool ok) {
          if (ok) {
            capture_timer_->start();
          } else {
            FinishCapture(QImage());
          }
        });
        capture_->load(WebBrowser1->url());
      });
}

void TForm4::CapturePoll() {
  if (capture_ == nullptr) return;
  const QImage shot = capture_->grab().toImage();
  capture_settled_ = HasContent(shot) && shot == capture_last_ ? capture_settled_ + 1 : 0;
  if (capture_settled_ >= kCaptureSettledPolls) {
    FinishCapture(shot);
  } else if (++capture_polls_ >= kCapturePolls) {
    FinishCapture(QImage());
  } else {
    capture_last_ = shot;
  }
}

void TForm4::FinishCapture(const QImage& shot) {
  capture_timer_->stop();
  if (capture_ != nullptr) {
    capture_->hide();
    capture_->deleteLater();
    capture_ = nullptr;
  }
  capture_last_ = QImage();
  const QString path = std::exchange(capture_path_, QString());
  QByteArray png;
  if (!shot.isNull()) {
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !shot.save(&buffer, "PNG")) png.clear();
  }
  FinishSave(path, png, QStringLiteral("无法生成图片，“%1”没有保存。").arg(path));
}

void TForm4::FinishSave(const QString& path, const QByteArray& bytes, const QString& failure) {
  bool success = !bytes.isEmpty();
  if (success) {
    try {
      WriteFileBytes(path, bytes);
    } catch (const Error& e) {
      ErrorBox(this, e.message());
      success = false;
    }
  } else {
    ErrorBox(this, failure);
  }
  emit SaveFinished(path, success);
}

void TForm4::suiButton1Click() {
  if (WebBrowser1 == nullptr || printer_ != nullptr) return;
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    ErrorBox(this, QStringLiteral(
                       "没有设置默认打印机，无法打印。请先在系统设置中添加打印机并设为默认。"));
    return;
  }
  printer_name_ = info.printerName();
  printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  WebBrowser1->print(printer_.get());
}

void TForm4::PrintFinished(bool success) {
  // The printer must outlive the print job; let it go once this returns.
  QTimer::singleShot(0, this, [this] { printer_.reset(); });
  if (!success) {
    ErrorBox(this, QStringLiteral("打印失败：打印机“%1”没有接受这份结果。").arg(printer_name_));
  }
}

void TForm4::suiButton2Click() { close(); }

// --- Window ------------------------------------------------------------------

void TForm4::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TForm4::FormClose() {
  if (back_) back_();
}

}  // namespace tessaly
