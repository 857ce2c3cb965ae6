// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/result_viewer.h"

#include <QAbstractItemView>
#include <QBuffer>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QStringDecoder>
#include <QStyle>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrlQuery>
#include <QVBoxLayout>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>

#include "controls/artwork.h"
#include "controls/gradient_label.h"
#include "controls/message_box.h"
#include "controls/skin.h"
#include "controls/title_bar.h"
#include "core/errors.h"
#include "core/text.h"
#include "report/report.h"

namespace tessaly {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr char kContactAddress[] = "support@tessaly.invalid";

// The Chinese name of a family, as its font gives it (Simplified first, then
// any other), or empty when it has none. Qt lists a family under its first
// name only; fontconfig knows the others and their languages.
QString ChineseFamilyName(const QString& family) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY,
                     reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  QString best;
  int best_rank = 0;
  for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
    FcChar8* name = nullptr;
    FcChar8* lang = nullptr;
    for (int k = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &name) == FcResultMatch &&
                    FcPatternGetString(fonts->fonts[i], FC_FAMILYLANG, k, &lang) == FcResultMatch;
         ++k) {
      const QString language = QString::fromUtf8(reinterpret_cast<const char*>(lang));
      const int rank = language == u"zh-cn"         ? 3
                       : language == u"zh-sg"       ? 2
                       : language.startsWith(u"zh") ? 1
                                                    : 0;
      if (rank > best_rank) {
        best_rank = rank;
        best = QString::fromUtf8(reinterpret_cast<const char*>(name));
      }
    }
  }
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return best;
}

// The families the page can name that have Chinese glyphs, each once, under
// its Chinese name where the font has one, and sorted. A family that several
// foundries make is listed by Qt as "Family [foundry]", a name no font answers
// to; the page names the family alone. Names GBK cannot hold are left out (the
// font tag is written in GBK).
QStringList PageFontFamilies() {
  static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^]]*\\]$"));
  QStringList families;
  for (QString family : QFontDatabase::families(QFontDatabase::SimplifiedChinese)) {
    if (QFontDatabase::isPrivateFamily(family)) continue;
    family.remove(foundry);
    const QString chinese = ChineseFamilyName(family);
    if (!chinese.isEmpty() && FitsGbk(chinese) && QFontDatabase::hasFamily(chinese)) {
      family = chinese;
    }
    if (QFontDatabase::hasFamily(family) && FitsGbk(family)) families << family;
  }
  std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  families.removeDuplicates();
  return families;
}

void FillFontList(QComboBox* list) {
  list->addItems(PageFontFamilies());
  list->setCurrentIndex(-1);
  // The open list is as wide as its longest name (plus its scroll bar).
  QAbstractItemView* view = list->view();
  view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth() +
                        view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view));
}

// A file name the save dialog can start with.
QString SuggestedFileName(const QString& name) {
  QString cleaned = name;
  cleaned.replace(QLatin1Char('/'), QLatin1Char('_'));
  return cleaned.trimmed();
}

// The page as a browser reads it: a <body> start tag after the first adds no
// attribute the first has, so that the page's own colour (#fef4d9) stays,
// where Qt's reader would take the later tag's white.
QString WithOneBody(QString page) {
  static const QRegularExpression body(QStringLiteral("<body\\b[^>]*>"),
                                       QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch first = body.match(page);
  if (!first.hasMatch()) return page;
  const qsizetype from = first.capturedEnd();
  return page.left(from) + page.mid(from).remove(body);
}

// Qt's PDF writer maps each glyph back to the lowest code point that has it,
// and the CJK fonts give a Kangxi radical (U+2F00..U+2FD5) or a radical of the
// supplement (U+2E80..U+2EF3) the same glyph as its ideograph: copied or
// searched, 雨 would read as ⾬. The text maps (ToUnicode) get the ideograph
// instead, four hex digits for four, so that no offset in the file moves.
QByteArray WithIdeographsInTextMaps(QByteArray pdf) {
  static const QRegularExpression section(QStringLiteral("begin(bfrange|bfchar)\\n(.*?)end\\1"),
                                          QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression code(QStringLiteral("<(2[EF][0-9A-Fa-f]{2})>"));
  const QString text = QString::fromLatin1(pdf);
  for (QRegularExpressionMatchIterator s = section.globalMatch(text); s.hasNext();) {
    const QRegularExpressionMatch map = s.next();
    const bool ranges = map.captured(1) == u"bfrange";
    // Line by line: the first one (bfchar) or two (bfrange) codes of a line
    // are the glyphs', the rest the text's.
    qsizetype line_start = map.capturedStart(2);
    for (const QString& line : map.captured(2).split(QLatin1Char('\n'))) {
      int seen = 0;
      for (QRegularExpressionMatchIterator c = code.globalMatch(line); c.hasNext();) {
        const QRegularExpressionMatch hex = c.next();
        // Codes before this one on the line (glyph codes need not be radicals).
        seen = static_cast<int>(line.left(hex.capturedStart()).count(QLatin1Char('<')));
        if (seen < (ranges ? 2 : 1)) continue;
        const char16_t unit = static_cast<char16_t>(hex.captured(1).toUInt(nullptr, 16));
        if (!((unit >= 0x2E80 && unit <= 0x2EF3) || (unit >= 0x2F00 && unit <= 0x2FD5))) continue;
        const QString ideograph = QString(QChar(unit)).normalized(QString::NormalizationForm_KC);
        if (ideograph.size() != 1 || ideograph[0].unicode() == unit) continue;
        const QByteArray replacement =
            QByteArray::number(ideograph[0].unicode(), 16).toUpper().rightJustified(4, '0');
        pdf.replace(line_start + hex.capturedStart(1), 4, replacement);
      }
      line_start += line.size() + 1;
    }
  }
  return pdf;
}

QString TextFilterGb18030() { return QStringLiteral("GB18030 文本文件 (*.txt)"); }
QString TextFilterUtf8() { return QStringLiteral("UTF-8 文本文件 (*.txt)"); }

}  // namespace

// --- The page view -----------------------------------------------------------

PageView::PageView(QWidget* parent) : QTextBrowser(parent) {
  setReadOnly(true);
  setOpenLinks(false);
  setOpenExternalLinks(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  setUndoRedoEnabled(false);
  // Text can be selected and copied, as in a browser, nothing else.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // A page without a face of its own shows as the browser view showed it:
  // the desktop's sans-serif face at 14 pixels, not the windows' serif one.
  QFont page_font = document()->defaultFont();
  page_font.setFamilies({QStringLiteral("sans-serif")});
  page_font.setStyleHint(QFont::SansSerif);
  page_font.setPixelSize(14);
  document()->setDefaultFont(page_font);
}

void PageView::ShowFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw FileError(QStringLiteral("无法读取结果页面“%1”：%2").arg(path, file.errorString()));
  }
  QStringDecoder decoder("GB18030");
  page_text_ = WithOneBody(decoder.decode(file.readAll()));
  page_url_ = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
  if (source() == page_url_) {
    reload();
  } else {
    setSource(page_url_, QTextDocument::HtmlResource);
  }
}

QVariant PageView::loadResource(int type, const QUrl& name) {
  if (type == QTextDocument::HtmlResource && name == page_url_) return page_text_;
  return {};
}

// --- The viewer --------------------------------------------------------------

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

  // Right-hand panel: the page.
  suiPanel2 = new QFrame(this);
  suiPanel2->setObjectName(QStringLiteral("suiPanel2"));
  suiPanel2->setGeometry(152, 40, 457, 401);
  auto* layout = new QVBoxLayout(suiPanel2);
  layout->setContentsMargins(0, 0, 0, 0);
  WebBrowser1 = new PageView(suiPanel2);
  WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
  layout->addWidget(WebBrowser1);
  FillFontList(suiFontComboBox1);

  // The title area is the artwork's: minimise and close above the page's top
  // right corner, last in the tab order.
  Buttons = new WindowButtons(this, WindowButtons::Ground::Artwork);
  Buttons->move(suiPanel2->geometry().right() + 1 - Buttons->width(),
                (suiPanel2->y() - Buttons->height()) / 2);

  // The keys of the commands: Esc goes back, Ctrl+W closes the window (which
  // goes back as well), Ctrl+S exports, Ctrl+P prints.
  const auto key = [this](const QKeySequence& keys, void (TForm4::*command)()) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, command);
  };
  key(QKeySequence(Qt::Key_Escape), &TForm4::suiButton2Click);
  key(QKeySequence(Qt::CTRL | Qt::Key_W), &TForm4::suiButton2Click);
  key(QKeySequence(Qt::CTRL | Qt::Key_S), &TForm4::FlatButton3Click);
  key(QKeySequence(Qt::CTRL | Qt::Key_P), &TForm4::suiButton1Click);

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

TForm4::~TForm4() = default;

QUrl TForm4::ContactUrl() {
  QUrl url(QStringLiteral("mailto:") + ContactAddress());
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Tessaly 用户反馈"));
  url.setQuery(query);
  return url;
}

QString TForm4::ContactAddress() { return QString::fromLatin1(kContactAddress); }

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
  // A page without a font choice (a new report) shows in the view's own
  // font, and the list shows no choice either, as at the start.
  if (!page_.value(0).startsWith(QLatin1String("<font"))) {
    suiFontComboBox1->setCurrentIndex(-1);
  }
  try {
    WebBrowser1->ShowFile(path);
  } catch (const Error& e) {
    ErrorBox(this, e.message());
  }
}

// --- Commands ----------------------------------------------------------------

void TForm4::suiFontComboBox1Change(const QString& family) {
  if (page_.isEmpty() || family.isEmpty()) return;
  QString face = family;
  face.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
  // The face is quoted: most family names contain blanks.
  page_[0] = QStringLiteral("<font face=\"%1\">").arg(face);
  // The reader stays where he was on the page.
  QScrollBar* bar = WebBrowser1->verticalScrollBar();
  const double at = bar->maximum() > 0 ? double(bar->value()) / bar->maximum() : 0;
  try {
    const QString path = StyledPagePath();
    WriteReportPage(page_, path, FileUse::kPrivate);
    Navigate(path);
  } catch (const Error& e) {
    ErrorBox(this, e.message());
  }
  bar->setValue(static_cast<int>(std::lround(at * bar->maximum())));
}

QString TForm4::AskSavePath(const QString& caption, const QStringList& filters, QString* chosen) {
  QString suffix = filters.value(0);
  static const QRegularExpression extension(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)"));
  suffix = extension.match(suffix).captured(1);
  return tessaly::AskSavePath(this, caption, SuggestedFileName(name_), filters, suffix, chosen);
}

void TForm4::FlatButton3Click() {
  QString filter;
  const QString path =
      AskSavePath(QStringLiteral("输出到文件"), {TextFilterGb18030(), TextFilterUtf8()}, &filter);
  if (path.isEmpty()) return;
  if (!ExportText(path, filter == TextFilterUtf8())) return;
  // The desktop's text editor; no command line is built from the path.
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool TForm4::ExportText(const QString& path, bool utf8) {
  QByteArray bytes;
  if (utf8) bytes = plain_report_.join(QLatin1Char('\n')).toUtf8() + '\n';
  try {
    if (utf8) {
      WriteFileBytes(path, bytes);
    } else {
      WriteGb18030Lines(path, plain_report_);
    }
  } catch (const Error& e) {
    ErrorBox(this, e.message());
    return false;
  }
  Saved(path);
  return true;
}

void TForm4::FlatButton1Click() {
  if (QDesktopServices::openUrl(ContactUrl())) return;
  // No mail program: the address, to copy into one.
  QMessageBox box(
      QMessageBox::Information, QStringLiteral("Tessaly"),
      QStringLiteral("没有找到邮件程序。请把意见和建议发到：\n%1").arg(ContactAddress()),
      QMessageBox::Ok, isVisible() ? this : nullptr);
  box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box.exec();
}

void TForm4::FlatButton4Click() {
  const QString path =
      AskSavePath(QStringLiteral("保存为PDF"), {QStringLiteral("PDF 文件 (*.pdf)")});
  if (!path.isEmpty()) SavePdf(path);
}

void TForm4::FlatButton5Click() {
  const QString path =
      AskSavePath(QStringLiteral("保存为图片"), {QStringLiteral("PNG 图片 (*.png)")});
  if (!path.isEmpty()) SavePicture(path);
}

void TForm4::SavePdf(const QString& path) {
  if (path.isEmpty()) return;
  QByteArray pdf;
  {
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Tessaly"));
    writer.setTitle(windowTitle());
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    WebBrowser1->document()->print(&writer);
  }
  pdf = WithIdeographsInTextMaps(pdf);
  emit SaveFinished(
      path, FinishSave(path, pdf, QStringLiteral("无法生成PDF文件，“%1”没有保存。").arg(path)));
}

QImage TForm4::PagePicture() const {
  QTextDocument* document = WebBrowser1->document();
  const qreal ratio = WebBrowser1->devicePixelRatioF();
  const QSizeF size(document->textWidth(), std::ceil(document->size().height()));
  QImage picture((size * ratio).toSize(), QImage::Format_RGB32);
  if (picture.isNull()) return picture;  // too big to hold
  picture.setDevicePixelRatio(ratio);
  // The page's own colour, as the view paints it, or the view's.
  const QBrush page = document->rootFrame()->frameFormat().background();
  picture.fill(page.style() != Qt::NoBrush
                   ? page.color()
                   : WebBrowser1->viewport()->palette().color(QPalette::Base));
  QPainter painter(&picture);
  document->drawContents(&painter);
  return picture;
}

void TForm4::SavePicture(const QString& path) {
  if (path.isEmpty()) return;
  const QImage picture = PagePicture();
  QByteArray png;
  if (!picture.isNull()) {
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) png.clear();
  }
  emit SaveFinished(
      path, FinishSave(path, png, QStringLiteral("无法生成图片，“%1”没有保存。").arg(path)));
}

bool TForm4::FinishSave(const QString& path, const QByteArray& bytes, const QString& failure) {
  if (bytes.isEmpty()) {
    ErrorBox(this, failure);
    return false;
  }
  try {
    WriteFileBytes(path, bytes);
  } catch (const Error& e) {
    ErrorBox(this, e.message());
    return false;
  }
  Saved(path);
  return true;
}

void TForm4::Saved(const QString& path) {
  InfoBox(this, QStringLiteral("已保存到“%1”。").arg(QDir::toNativeSeparators(path)));
}

void TForm4::suiButton1Click() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    ErrorBox(this, QStringLiteral(
                       "没有设置默认打印机，无法打印。请先在系统设置中添加打印机并设为默认。"));
    return;
  }
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setDocName(windowTitle());
  WebBrowser1->document()->print(&printer);
  if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
    ErrorBox(this,
             QStringLiteral("打印失败：打印机“%1”没有接受这份结果。").arg(info.printerName()));
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
