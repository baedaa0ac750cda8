#include "html/viewer/FrameViewer.h"

#include "base/StringUtil.h"
#include "html/images/ImageResources.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "html/model/SelTextCount.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/SourceName.h"
#include "platform/Canvas.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QVBoxLayout>
#include <algorithm>

namespace viewerutil {

void SplitAnchor(const std::string& name, std::string& file, std::string& anchor)
{
  sourcename::SplitAnchor(name, file, anchor);
}

bool IsImageName(const std::string& name)
{
  static const char* const exts[] = {".gif", ".jpg", ".jpeg", ".bmp", ".png"};
  std::string ext = strutil::LowerCase(strutil::ExtractFileExt(name));
  return std::any_of(std::begin(exts), std::end(exts), [&](const char* e) { return ext == e; });
}

} // namespace viewerutil

void ConfigureMainViewer(THTMLViewer& viewer)
{
  viewer.SetCursor(ViewerCursor(crTextBeam));
  viewer.SetNoSelect(false);
  viewer.PrintMarginLeft = viewer.PrintMarginRight = 2.0;
  viewer.PrintMarginTop = viewer.PrintMarginBottom = 2.0;
  viewer.SetDefBackground(clWhite);
  viewer.SetDefFontName("Times New Roman");
  viewer.SetDefPreFontName("Courier New");
  viewer.SetDefOverLinkColor(clRed);
  viewer.SetHistoryMaxCount(50);
  viewer.SetBorderStyle(htNone);
  viewer.SethtOptions(htOverLinksActive | htNoLinkUnderline);
  viewer.SetViewImages(true);
}

TFrameViewer::TFrameViewer(QWidget* parent) : QWidget(parent)
{
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  FViewer = new THTMLViewer(this);
  layout->addWidget(FViewer);
  ConfigureMainViewer(*FViewer);
  FViewer->SetHistoryMaxCount(0); // the host chooses the history size
  FViewer->OnHistoryChange = [this](QObject*) {
    if (OnHistoryChange)
      OnHistoryChange(this);
  };
  FViewer->OnHotSpotCovered = [this](QObject* sender, const std::string& url) {
    if (OnHotSpotTargetCovered)
      OnHotSpotTargetCovered(sender, FViewer->LinkTarget(), url);
  };
  resize(150, 150);
}

TFrameViewer::~TFrameViewer() = default;

void TFrameViewer::LoadFromFile(const std::string& fileName)
{
  if (FViewer->Processing())
    return;
  std::string file, anchor;
  viewerutil::SplitAnchor(fileName, file, anchor);
  QFileInfo info(QString::fromStdString(file));
  if (file.empty() || !info.exists() || info.isDir())
    throw EViewerError(msg::CantLocateFile + fileName);
  std::string ext = strutil::LowerCase(strutil::ExtractFileExt(file));
  if (viewerutil::IsImageName(file))
    FViewer->LoadImageFile(file);
  else if (ext == ".txt")
    FViewer->LoadPlainFile(file);
  else
    FViewer->LoadFromFile(fileName);
}

void TFrameViewer::LoadImageFile(const std::string& fileName)
{
  if (viewerutil::IsImageName(fileName))
    LoadFromFile(fileName);
}

void TFrameViewer::Reload()
{
  std::string name = FViewer->LoadedFileName();
  if (name.empty() || FViewer->Processing())
    return;
  int32_t position = FViewer->ReadingPosition();
  switch (FViewer->DocumentKind()) {
  case dkText: FViewer->LoadPlainFile(name); break;
  case dkImage: FViewer->LoadImageFile(name); break;
  default: FViewer->LoadFromFile(name); break;
  }
  FViewer->SetReadingPosition(position);
}

void TFrameViewer::StepBack()
{
  FViewer->StepBack();
}

void TFrameViewer::StepForward()
{
  FViewer->StepForward();
}

bool TFrameViewer::BackButtonEnabled() const
{
  return FViewer->BackButtonEnabled();
}

bool TFrameViewer::FwdButtonEnabled() const
{
  return FViewer->FwdButtonEnabled();
}

int TFrameViewer::HistoryMaxCount() const
{
  return FViewer->HistoryMaxCount();
}

void TFrameViewer::SetHistoryMaxCount(int value)
{
  if (value < 0 || value == FViewer->HistoryMaxCount())
    return;
  FViewer->ClearHistory();
  FViewer->SetHistoryMaxCount(value);
}

const std::string& TFrameViewer::DocumentName() const
{
  return FViewer->LoadedFileName();
}

std::string TFrameViewer::ResolveSourceName(const std::string& name) const
{
  return FViewer->ResolveSourceName(name);
}

bool TFrameViewer::ShowsImage() const
{
  return FViewer->DocumentKind() == dkImage;
}

QString TFrameViewer::DocumentText() const
{
  // The text of the document's top-level paragraphs, one line each.
  std::string text;
  for (const auto& item : *FViewer->SectionList())
    if (auto* section = dynamic_cast<const TSection*>(item.get())) {
      if (!text.empty())
        text += '\n';
      for (char c : section->Chars)
        if (!placeholder::IsObject(c))
          text += c == placeholder::NoBreakSpace ? ' ' : c;
    }
  return QString::fromLatin1(text.data(), int(text.size()));
}

void TFrameViewer::CopySelected()
{
  TSectionList& list = *FViewer->SectionList();
  if (list.SelStartPos >= list.SelEndPos)
    return;
  if (list.SelEndPos - list.SelStartPos >= ClipBuffer::DefaultSize)
    throw EBufferTooSmall(msg::SelectionTooBig);
  FViewer->CopySelected();
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
  // Until the print layout exists, pages are bands of the screen layout scaled to the paper.
  if (DocumentName().empty() || fromPage > toPage || fromPage < 1)
    return;
  QPrinter& printer = Printer();
  printer.setFromTo(fromPage, toPage);
  printer.setPrintRange(QPrinter::PageRange);
  QPainter painter(&printer);
  if (!painter.isActive())
    return;
  QRect page = painter.viewport();
  int width = std::max(1, FViewer->width());
  double scale = double(page.width()) / std::max(1, width);
  int band = std::max(1, int(page.height() / scale));
  int pages = std::max(1, (FViewer->DocumentHeight() + band - 1) / band);
  TSectionList& list = *FViewer->SectionList();
  int32_t savedScroll = list.ScrollY;
  bool first = true;
  for (int n = fromPage; n <= std::min(toPage, pages); ++n) {
    if (!first)
      printer.newPage();
    first = false;
    QImage image(width, band, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter bandPainter(&image);
    TCanvas canvas(&bandPainter);
    list.SetScroll((n - 1) * band);
    list.Paint(canvas, image.rect(), 2000, FViewer->MarginWidth(), FViewer->MarginHeight());
    bandPainter.end();
    painter.drawImage(QRect(0, 0, page.width(), int(band * scale)), image);
  }
  list.SetScroll(savedScroll);
  FViewer->update();
}
