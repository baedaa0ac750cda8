#include "html/viewer/FrameViewer.h"

#include "base/StringUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The clipboard buffer holds 32000 characters with its terminator.
constexpr int MaxCopyLength = 31999;

QString Q(const std::string& s)
{
  return QString::fromStdString(s);
}

QByteArray ReadBytes(const std::string& file)
{
  QFile f(Q(file));
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return f.readAll();
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix)
{
  return s.size() >= prefix.size() && strutil::SameText(s.substr(0, prefix.size()), prefix);
}

} // namespace

namespace viewerutil {

void SplitAnchor(const std::string& name, std::string& file, std::string& anchor)
{
  size_t hash = name.find('#');
  file = name.substr(0, hash);
  anchor = hash == std::string::npos ? std::string() : name.substr(hash + 1);
}

bool IsImageName(const std::string& name)
{
  static const char* const exts[] = {".gif", ".jpg", ".jpeg", ".bmp", ".png"};
  std::string ext = strutil::LowerCase(strutil::ExtractFileExt(name));
  for (const char* e : exts)
    if (ext == e)
      return true;
  return false;
}

} // namespace viewerutil

TFrameViewer::TFrameViewer(QWidget* parent) : QWidget(parent)
{
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  FPages = new QStackedWidget(this);
  layout->addWidget(FPages);
  FText = new QPlainTextEdit(FPages);
  FText->setReadOnly(true);
  FText->setAcceptDrops(false); // dropped files are the main window's business
  FText->setFrameShape(QFrame::NoFrame);
  FText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  FText->setStyleSheet("QPlainTextEdit { background: white; color: black; }");
  FImageArea = new QScrollArea(FPages);
  FImageArea->setFrameShape(QFrame::NoFrame);
  FImageArea->setStyleSheet("QScrollArea { background: white; }");
  FImage = new QLabel(FImageArea);
  FImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FImageArea->setWidget(FImage);
  FImageArea->setWidgetResizable(true);
  FPages->addWidget(FText);
  FPages->addWidget(FImageArea);
  resize(150, 150);
}

TFrameViewer::~TFrameViewer() = default;

void TFrameViewer::LoadFromFile(const std::string& fileName)
{
  std::string file, anchor;
  viewerutil::SplitAnchor(fileName, file, anchor);
  QFileInfo info(Q(file));
  if (file.empty() || !info.exists() || info.isDir())
    throw EViewerError(msg::CantLocateFile + fileName);
  RememberPosition();
  Show(file, anchor);
  AddHistory(file);
}

void TFrameViewer::LoadImageFile(const std::string& fileName)
{
  if (viewerutil::IsImageName(fileName))
    LoadFromFile(fileName);
}

void TFrameViewer::Reload()
{
  if (FDocumentName.empty())
    return;
  int position = Position();
  Show(FDocumentName, {});
  SetPosition(position);
}

void TFrameViewer::StepBack()
{
  GoToHistory(FHistoryIndex + 1);
}

void TFrameViewer::StepForward()
{
  GoToHistory(FHistoryIndex - 1);
}

bool TFrameViewer::BackButtonEnabled() const
{
  return int(FHistory.size()) - 2 >= FHistoryIndex;
}

bool TFrameViewer::FwdButtonEnabled() const
{
  return FHistoryIndex > 0;
}

void TFrameViewer::SetHistoryMaxCount(int value)
{
  if (value < 0 || value == FHistoryMaxCount)
    return;
  FHistoryMaxCount = value;
  bool had = !FHistory.empty();
  FHistory.clear();
  FHistoryIndex = 0;
  if (had)
    HistoryChanged();
}

QPrinter& TFrameViewer::Printer()
{
  if (!FPrinter) {
    FPrinter = std::make_unique<QPrinter>();
    FPrinter->setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
  }
  return *FPrinter;
}

void TFrameViewer::Print(int fromPage, int toPage)
{
  if (FDocumentName.empty() || fromPage > toPage)
    return;
  QPrinter& printer = Printer();
  printer.setFromTo(fromPage, toPage);
  printer.setPrintRange(QPrinter::PageRange);
  if (ShowsImage())
    PrintImage(printer);
  else
    FText->document()->print(&printer);
}

void TFrameViewer::PrintImage(QPrinter& printer)
{
  if (printer.fromPage() > 1)
    return; // an image is a page of its own
  QPainter painter(&printer);
  QPixmap pixmap = FImage->pixmap();
  QSize size = pixmap.size().scaled(painter.viewport().size(), Qt::KeepAspectRatio);
  if (pixmap.width() <= painter.viewport().width())
    size = pixmap.size();
  painter.drawPixmap(QRect(QPoint(0, 0), size), pixmap);
}

void TFrameViewer::CopySelected()
{
  if (ShowsImage())
    return;
  int length = int(FText->textCursor().selectedText().size());
  if (length == 0)
    return;
  if (length > MaxCopyLength)
    throw EBufferTooSmall(msg::SelectionTooBig);
  FText->copy();
}

std::string TFrameViewer::ResolveSourceName(const std::string& name) const
{
  std::string s = strutil::Trim(name);
  s = QUrl::fromPercentEncoding(QByteArray::fromStdString(s)).toStdString();
  if (StartsWithNoCase(s, "file://"))
    s = s.substr(7);
  if (s.empty() || s[0] == '/' || FDocumentName.empty())
    return s;
  return strutil::ExtractFilePath(FDocumentName) + s;
}

bool TFrameViewer::ShowsImage() const
{
  return FPages->currentWidget() == FImageArea;
}

QString TFrameViewer::DocumentText() const
{
  return FText->toPlainText();
}

void TFrameViewer::Show(const std::string& file, const std::string& anchor)
{
  if (viewerutil::IsImageName(file))
    ShowImage(file);
  else
    ShowText(file, anchor);
  FDocumentName = file;
}

void TFrameViewer::ShowText(const std::string& file, const std::string& anchor)
{
  // Single-byte text: every byte is one character.
  FText->setPlainText(QString::fromLatin1(ReadBytes(file)));
  FPages->setCurrentWidget(FText);
  FText->moveCursor(QTextCursor::Start);
  if (!anchor.empty())
    FText->find(Q("name=\"" + anchor + "\""));
}

void TFrameViewer::ShowImage(const std::string& file)
{
  QImage image;
  image.loadFromData(ReadBytes(file)); // a broken file shows an empty page
  FImage->setPixmap(QPixmap::fromImage(image));
  FPages->setCurrentWidget(FImageArea);
}

int TFrameViewer::Position() const
{
  return ShowsImage() ? FImageArea->verticalScrollBar()->value()
                      : FText->verticalScrollBar()->value();
}

void TFrameViewer::SetPosition(int position)
{
  if (ShowsImage())
    FImageArea->verticalScrollBar()->setValue(position);
  else
    FText->verticalScrollBar()->setValue(position);
}

void TFrameViewer::RememberPosition()
{
  if (FHistoryIndex < int(FHistory.size()))
    FHistory[FHistoryIndex].Position = Position();
}

void TFrameViewer::AddHistory(const std::string& name)
{
  if (FHistoryMaxCount <= 0)
    return;
  FHistory.erase(FHistory.begin(), FHistory.begin() + FHistoryIndex);
  FHistoryIndex = 0;
  FHistory.insert(FHistory.begin(), THistoryEntry{name, 0});
  if (int(FHistory.size()) > FHistoryMaxCount)
    FHistory.erase(FHistory.begin() + FHistoryMaxCount);
  HistoryChanged();
}

void TFrameViewer::GoToHistory(int index)
{
  if (index == FHistoryIndex || index < 0 || index >= int(FHistory.size()))
    return;
  RememberPosition();
  FHistoryIndex = index;
  Show(FHistory[index].Name, {});
  SetPosition(FHistory[index].Position);
  HistoryChanged();
}

void TFrameViewer::HistoryChanged()
{
  if (OnHistoryChange)
    OnHistoryChange(this);
}
