#include "html/viewer/HTMLViewer.h"

#include "base/Exceptions.h"
#include "base/StringUtil.h"
#include "html/images/BitmapList.h"
#include "html/images/ImageResources.h"
#include "html/model/FontObj.h"
#include "html/model/FormControlObj.h"
#include "html/model/ImageObj.h"
#include "html/model/SectionList.h"
#include "html/parser/Builder.h"
#include "html/viewer/PaintPanel.h"
#include "html/viewer/PaintPanelHost.h"
#include "html/viewer/ScrollBar32.h"
#include "html/viewer/SourceName.h"
#include "platform/Canvas.h"
#include "platform/widgets/WidgetControl.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <exception>

namespace {

constexpr int HSmallStep = 15;
constexpr int MaxHorzWidth = 2000;

// Restores the cursor shown before a load, however the load ends.
class TWaitCursor {
public:
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace

// Processing is on for the life of one of these, also when a load fails.
class THTMLViewer::TBusy {
public:
  explicit TBusy(THTMLViewer* viewer) : FViewer(viewer) { FViewer->SetProcessing(true); }
  ~TBusy() { FViewer->SetProcessing(false); }
  TBusy(const TBusy&) = delete;
  TBusy& operator=(const TBusy&) = delete;

private:
  THTMLViewer* FViewer;
};

THTMLViewer::THTMLViewer(QWidget* parent)
    : QWidget(parent), FDefBackground(clBtnFace), FDefFontColor(clBtnText),
      FDefHotSpotColor(clBlue), FDefVisitedLinkColor(clPurple), FDefOverLinkColor(clBlue),
      FCursor(Qt::IBeamCursor)
{
  FBorderPanel = new QFrame(this);
  FBorderPanel->setFrameStyle(QFrame::NoFrame);
  FPaintPanel = new TPaintPanel(this, this);
  FPaintPanel->move(1, 1);
  FVScrollBar = new T32ScrollBar(Qt::Vertical, this);
  FVScrollBar->setSingleStep(SmallStep);
  FVScrollBar->setFocusPolicy(Qt::NoFocus);
  FVScrollBar->hide();
  FHScrollBar = new T32ScrollBar(Qt::Horizontal, this);
  FHScrollBar->setSingleStep(HSmallStep);
  FHScrollBar->setFocusPolicy(Qt::NoFocus);
  FHScrollBar->hide();
  FScrollWidth = FVScrollBar->sizeHint().width();
  connect(FVScrollBar, &QScrollBar::valueChanged, this, [this](int v) { VScrollChanged(v); });
  connect(FHScrollBar, &QScrollBar::valueChanged, this, [this](int v) { HScrollChanged(v); });
  FAutoScrollTimer = new QTimer(this);
  connect(FAutoScrollTimer, &QTimer::timeout, this, [this] { AutoScrollTick(); });

  FMeasure = std::make_unique<TCanvas>();
  FHost = std::make_unique<TPaintPanelHost>(FPaintPanel);
  FSectionList = std::make_unique<TSectionList>(this, FHost.get());
  // The section list raises the document's events through the handlers set at that moment.
  // Its panels are the ones this viewer's host made: ThvPanel widgets.
  Doc().OnPanelCreate = [this](QObject*, const std::string& src, TPanelControl* panel) {
    if (auto* p = dynamic_cast<ThvPanel*>(panel->Object()); p && OnPanelCreate)
      OnPanelCreate(this, src, p);
  };
  Doc().OnPanelDestroy = [this](QObject*, TPanelControl* panel) {
    if (auto* p = dynamic_cast<ThvPanel*>(panel->Object()); p && OnPanelDestroy)
      OnPanelDestroy(this, p);
  };
  Doc().OnScript = [this](QObject*, const std::string& language, const std::string& script) {
    if (OnScript)
      OnScript(this, language, script);
  };
  Doc().ExpandName = [this](const std::string& name) { return ResolveSourceName(name); };
  Doc().OnFormSubmit = [this](QObject*, const std::string& action, const std::string& target,
                              const std::string& encType, const std::string& method,
                              std::vector<std::string> results) {
    SubmitForm(action, target, encType, method, std::move(results));
  };
  Doc().OnObjectClick = [this](QObject*, TFormControlObj* control, const std::string& onClick) {
    if (OnObjectClick)
      OnObjectClick(this, control, onClick);
  };

  FFocusWatch = connect(qApp, &QApplication::focusChanged, this,
                        [this](QWidget*, QWidget* now) { ControlFocused(now); });
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  SetDefBackground(FDefBackground);
  ApplyDefaultsToList(FDefBackground);
  resize(150, 150);
}

TDocument& THTMLViewer::Doc() const
{
  return FSectionList->Document();
}

const TFreeList<TFormControlObj>& THTMLViewer::AllFormControls() const
{
  return Doc().AllFormControls;
}

THTMLViewer::~THTMLViewer()
{
  // Children going away move the focus; the document must not hear of it any more.
  disconnect(FFocusWatch);
  // The document's panels go first, while the handlers they call are still here.
  FSectionList->Clear();
  FSectionList.reset();
}

const std::vector<TFontObj*>& THTMLViewer::LinkStarts() const
{
  return Doc().LinkStarts;
}

// ---------------------------------------------------------------------------------------------
// Loading

void THTMLViewer::LoadFromFile(const std::string& FileName)
{
  LoadFile(FileName, dkHTML);
}

void THTMLViewer::LoadPlainFile(const std::string& FileName)
{
  LoadFile(FileName, dkText);
}

void THTMLViewer::LoadImageFile(const std::string& FileName)
{
  LoadFile(FileName, dkImage);
}

void THTMLViewer::LoadFile(const std::string& FileName, TDocKind kind)
{
  if (FProcessing || FileName.empty())
    return;
  THistoryItem left = CurrentHistoryItem();
  LoadFileCore(FileName, kind);
  if (left.Name != FLoadedFileName || left.Position.FileType != FKind)
    RecordHistory(left);
}

void THTMLViewer::LoadFileCore(const std::string& FileName, TDocKind kind)
{
  TWaitCursor wait;
  std::string file, anchor;
  sourcename::SplitAnchor(FileName, file, anchor);
  {
    TBusy busy(this);
    QFileInfo info(QString::fromStdString(file));
    if (!info.exists() || info.isDir())
      throw EViewerError(msg::CantLocateFile + file);
    if (!info.isReadable())
      throw EViewerError(msg::CantLoad + file);
    std::string name = info.absoluteFilePath().toStdString();
    ShowDocument(TParseSource::File(name), kind, name, anchor);
  }
  RaiseRefresh();
}

void THTMLViewer::LoadSource(const TParseSource& source, TDocKind kind)
{
  if (FProcessing)
    return;
  {
    TBusy busy(this);
    ShowDocument(source, kind, std::string(), std::string());
  }
  RaiseRefresh();
}

void THTMLViewer::ShowDocument(const TParseSource& source, TDocKind kind,
                               const std::string& fileName, const std::string& anchor)
{
  FRefreshDelay = 0;
  PrepareForLoad();
  // Text handed over in memory resolves its names against the file shown before it while it
  // loads, and has no file name of its own afterwards.
  if (!fileName.empty())
    FLoadedFileName = fileName;
  FKind = kind;
  std::exception_ptr failure;
  try {
    if (kind == dkHTML && !FStartOnly)
      StopSound();
    Parse(source, kind);
  } catch (...) {
    failure = std::current_exception();
  }
  FinishLoad();
  if (fileName.empty())
    FLoadedFileName.clear();
  if (failure)
    std::rethrow_exception(failure);
  MarkVisitedLinks();
  if (anchor.empty() || !ScrollToAnchor(anchor))
    ScrollTo(0, false);
  SetHScroll(0);
  FPaintPanel->update();
}

void THTMLViewer::LoadLines(const std::vector<std::string>& Strings)
{
  LoadSource(TParseSource::FromStrings(Strings), dkHTML);
}

void THTMLViewer::LoadPlainLines(const std::vector<std::string>& Strings)
{
  LoadSource(TParseSource::FromStrings(Strings), dkText);
}

void THTMLViewer::LoadFromChars(const char* Buffer, int32_t BuffSize)
{
  if (!Buffer)
    BuffSize = 0;
  LoadSource(TParseSource::FromBuffer(Buffer ? Buffer : "", std::max(BuffSize, int32_t(0))),
             dkHTML);
}

void THTMLViewer::LoadFromStream(std::istream& Stream)
{
  LoadSource(TParseSource::FromStream(Stream), dkHTML);
}

void THTMLViewer::LoadFileStart(const std::string& FileName, const std::string& text)
{
  if (FProcessing || FileName.empty())
    return;
  TBusy busy(this);
  QScopedValueRollback<bool> startOnly(FStartOnly, true);
  ShowDocument(TParseSource::FromString(text), dkHTML, FileName, std::string());
}

void THTMLViewer::PrepareForLoad()
{
  FSectionList->Clear();
  BitmapList().PurgeCache();
  ApplyDefaultsToList(FDefBackground);
  FAnchors.clear();
  FPageTitle.clear();
  FBaseTarget.clear();
  FCaretPos = 0;
  FSelAnchor = -1;
}

void THTMLViewer::Parse(const TParseSource& source, TDocKind kind)
{
  TBuilder builder;
  TParseEvents events;
  events.Sender = this;
  if (!FStartOnly) {
    events.OnMeta = [this](QObject*, const std::string& httpEq, const std::string& name,
                           const std::string& content) { MetaElement(httpEq, name, content); };
    events.OnSoundRequest = [this](QObject*, const std::string& src, int loop, bool terminate) {
      if (OnSoundRequest)
        OnSoundRequest(this, src, loop, terminate);
    };
  }
  if (OnInclude)
    events.OnInclude = [this](QObject*, const std::string& command, std::vector<std::string> params,
                              const char*& buffer, int32_t& size) {
      if (OnInclude)
        OnInclude(this, command, std::move(params), buffer, size);
    };
  std::exception_ptr failure;
  try {
    if (kind == dkText) {
      builder.ParsePlainText(source, *FSectionList, FAnchors);
    } else if (kind == dkImage) {
      std::string text = ("<img src=\"" + source.FileName + "\">").substr(0, 255);
      builder.ParseDocument(TParseSource::FromString(text), *FSectionList, FAnchors, events);
    } else {
      builder.ParseDocument(source, *FSectionList, FAnchors, events);
    }
  } catch (...) {
    failure = std::current_exception();
  }
  FPageTitle = builder.PageTitle;
  FBaseURL = builder.BaseURL.empty() ? FHostBase : builder.BaseURL;
  FBaseTarget = builder.BaseTarget;
  if (failure)
    std::rethrow_exception(failure);
}

void THTMLViewer::FinishLoad()
{
  DoLayout();
}

void THTMLViewer::RaiseRefresh()
{
  if (FRefreshDelay > 0 && OnMetaRefresh)
    OnMetaRefresh(this, FRefreshDelay, FRefreshURL);
}

void THTMLViewer::Clear()
{
  if (FProcessing)
    return;
  FSectionList->Clear();
  FSectionList->SetScroll(0);
  ApplyDefaultsToList(FDefBackground);
  FAnchors.clear();
  FLoadedFileName.clear();
  FPageTitle.clear();
  FBaseURL.clear();
  FBaseTarget.clear();
  FKind = dkHTML;
  FCaretPos = 0;
  FSelAnchor = -1;
  FDocHeight = FDocWidth = 0;
  FHPos = 0;
  FVScrollBar->hide();
  FHScrollBar->hide();
  int e = FBorderStyle == htNone ? 0 : 1;
  FPaintPanel->setGeometry(e, e, std::max(0, width() - 2 * e), std::max(0, height() - 2 * e));
  StopSound();
  FPaintPanel->update();
}

void THTMLViewer::SetProcessing(bool value)
{
  if (FProcessing == value)
    return;
  FProcessing = value;
  if (OnProcessing)
    OnProcessing(this, value);
}

void THTMLViewer::StopSound()
{
  if (OnSoundRequest)
    OnSoundRequest(this, std::string(), 0, true);
}

void THTMLViewer::ApplyDefaultsToList(TColor pageColor)
{
  TDocument& doc = Doc();
  doc.CharsetCode = FCharSet;
  doc.LinkStyle = (FOptions & htNoLinkUnderline) ? 0 : fsUnderline;
  doc.PrintBackgrounds = (FOptions & htPrintTableBackground) != 0;
  doc.CaretShown = (FOptions & htShowDummyCaret) != 0;
  doc.ImagesOn = FViewImages;
  FSectionList->ApplyDefaults(FDefFontName, FDefPreFontName, FDefFontSize, FDefFontColor,
                              FDefHotSpotColor, FDefVisitedLinkColor, FDefOverLinkColor, pageColor,
                              (FOptions & htOverLinksActive) != 0);
}

void THTMLViewer::SubmitForm(const std::string& Action, const std::string& Target,
                             const std::string& EncType, const std::string& Method,
                             std::vector<std::string> Results)
{
  if (!OnFormSubmit)
    return;
  FPendingSubmit = std::make_unique<TPendingSubmit>(
      TPendingSubmit{Action, Target, EncType, Method, std::move(Results)});
  QCoreApplication::postEvent(this, new QEvent(WM_FORMSUBMIT));
}

void THTMLViewer::MetaElement(const std::string& HttpEq, const std::string& Name,
                              const std::string& Content)
{
  if (OnMeta)
    OnMeta(this, HttpEq, Name, Content);
  int delay = 0;
  std::string url;
  if (OnMetaRefresh && strutil::SameText(HttpEq, "refresh") && ParseRefresh(Content, delay, url)) {
    FRefreshDelay = delay;
    FRefreshURL = url;
  }
}

bool THTMLViewer::ParseRefresh(const std::string& content, int& delay, std::string& url)
{
  size_t semi = content.find(';');
  int32_t d = -1;
  if (!strutil::TryStrToInt(strutil::Trim(content.substr(0, semi)), d) || d < 0)
    return false;
  delay = d == 0 ? 1 : d;
  size_t u = strutil::LowerCase(content).find("url=");
  url = u == std::string::npos ? std::string() : content.substr(u + 4);
  return true;
}

void THTMLViewer::customEvent(QEvent* event)
{
  if (event->type() == WM_FORMSUBMIT) {
    std::unique_ptr<TPendingSubmit> s = std::move(FPendingSubmit);
    if (s && OnFormSubmit)
      OnFormSubmit(this, s->Action, s->Target, s->EncType, s->Method, std::move(s->Results));
  } else if (event->type() == WM_MOUSESCROLL) {
    AutoScrollTick();
  } else {
    QWidget::customEvent(event);
  }
}

// ---------------------------------------------------------------------------------------------
// Layout and scrolling

void THTMLViewer::DoLayout()
{
  struct TLayoutFlag {
    bool& Flag;
    explicit TLayoutFlag(bool& f) : Flag(f) { Flag = true; }
    ~TLayoutFlag() { Flag = false; }
  };
  {
    TLayoutFlag inLayout(FInLayout);
    int border = FBorderStyle == htNone ? 1 : 3;
    bool vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
    int32_t avail = width() - (vertical ? FScrollWidth : 0) - border - 2 * FMarginWidth;
    int32_t scrollWidth = 0, pos = 0;
    int32_t h = FSectionList->Layout(*FMeasure, FMarginHeight, std::max(avail, int32_t(1)),
                                     scrollWidth, pos);
    FDocHeight = h + (vertical ? 2 : 1) * FMarginHeight;
    FDocWidth = scrollWidth;
    FLastWidth = width();
  }
  ArrangeScrollBars();
  if (FCursor.shape() == Qt::IBeamCursor)
    SetCursor(ViewerCursor(crTextBeam));
}

void THTMLViewer::RelayoutKeepingPosition()
{
  int32_t position = ReadingPosition();
  DoLayout();
  SetReadingPosition(position);
  FPaintPanel->update();
}

void THTMLViewer::ArrangeScrollBars()
{
  FDocWidth = std::min(FDocWidth, int32_t(MaxHorzWidth));
  int e = FBorderStyle == htNone ? 0 : 1;
  FBorderPanel->setGeometry(rect());
  FBorderPanel->setVisible(e == 1);
  int32_t need = 2 * FMarginWidth + FDocWidth, s = FScrollWidth, W = width(), H = height();
  bool horzAllowed = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  bool vBar = false, hBar = false;
  if (FScrollBars == ssNone || FScrollBars == ssHorizontal) {
    hBar = horzAllowed && W < need;
  } else {
    vBar = FDocHeight >= H - 2 || (horzAllowed && FDocHeight >= H - s - 2 && W - s < need);
    hBar = horzAllowed && (W < need || (vBar && W - s < need));
  }
  int32_t pw = std::max(0, W - (vBar ? s : 0) - 2 * e);
  int32_t ph = std::max(0, H - 2 * e - (hBar ? s : 0));
  FPaintPanel->setGeometry(e, e, pw, ph);

  QSignalBlocker hBlock(FHScrollBar), vBlock(FVScrollBar);
  int32_t hWidth = W - (vBar ? s : 0);
  FHScrollBar->SetParams(0, std::max(0, std::max(need, pw)), hWidth, std::max(1, hWidth - 20));
  FHScrollBar->setGeometry(e, H - s - e, std::max(0, hWidth - e), s);
  FHScrollBar->SetPosition(FHPos);
  FHScrollBar->setVisible(hBar);
  FVScrollBar->setGeometry(W - s - e, e, s, std::max(0, H - 2 * e));
  FVScrollBar->SetParams(0, FDocHeight, ph + 1, ph - SmallStep);
  FVScrollBar->SetPosition(FSectionList->ScrollY);
  FVScrollBar->setVisible(vBar);
  UpdateBorder();
}

void THTMLViewer::UpdateBorder()
{
  bool line = FBorderStyle == htSingle || (FBorderStyle == htFocused && hasFocus());
  int style = line ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame;
  if (FBorderPanel->frameStyle() != style)
    FBorderPanel->setFrameStyle(style);
}

int32_t THTMLViewer::PanelHeight() const
{
  return FPaintPanel->height();
}

int32_t THTMLViewer::PanelWidth() const
{
  return FPaintPanel->width();
}

int32_t THTMLViewer::MaxVScroll() const
{
  return std::max(0, FDocHeight - PanelHeight());
}

int32_t THTMLViewer::MaxHScroll() const
{
  return std::max(0, FHScrollBar->Max() - PanelWidth());
}

int32_t THTMLViewer::VScrollPosition() const
{
  return FSectionList->ScrollY;
}

void THTMLViewer::SetVScrollPosition(int32_t value)
{
  ScrollTo(value, false);
}

void THTMLViewer::ScrollTo(int32_t y, bool scrollPixels)
{
  y = std::clamp(y, int32_t(0), MaxVScroll());
  int32_t old = FSectionList->ScrollY;
  if (y == old)
    return;
  FSectionList->SetScroll(y);
  {
    QSignalBlocker block(FVScrollBar);
    FVScrollBar->SetPosition(y);
  }
  int32_t dy = old - y;
  int32_t h = PanelHeight();
  if (scrollPixels && std::abs(dy) < h) {
    // Only the strip the move uncovers needs painting; the rest is moved on screen.
    FPaintPanel->scroll(0, dy);
    QRect strip = dy < 0 ? QRect(0, h + dy, PanelWidth(), -dy) : QRect(0, 0, PanelWidth(), dy);
    FPaintPanel->repaint(strip);
  } else {
    FPaintPanel->update();
  }
}

void THTMLViewer::SetHScroll(int32_t x)
{
  x = std::clamp(x, int32_t(0), MaxHScroll());
  if (x == FHPos)
    return;
  FHPos = x;
  QSignalBlocker block(FHScrollBar);
  FHScrollBar->SetPosition(x);
  FPaintPanel->update();
}

void THTMLViewer::VScrollChanged(int value)
{
  setFocus();
  ScrollTo(value, true);
  if (FVScrollBar->value() != FSectionList->ScrollY) {
    QSignalBlocker block(FVScrollBar);
    FVScrollBar->SetPosition(FSectionList->ScrollY);
  }
}

void THTMLViewer::HScrollChanged(int value)
{
  setFocus();
  SetHScroll(value);
}

int32_t THTMLViewer::ReadingPosition() const
{
  int32_t y = FSectionList->ScrollY;
  int n = FSectionList->Count();
  for (int i = 0; i < n; ++i) {
    TSectionBase* item = FSectionList->Items(i);
    if (y < item->TopY + item->FlowHeight || i == n - 1)
      return i * 65536 + (std::max(int32_t(0), y - item->TopY) & 0xFFFF);
  }
  return 0;
}

void THTMLViewer::SetReadingPosition(int32_t value)
{
  if (value < 0)
    return;
  int index = value >> 16;
  if (index >= FSectionList->Count())
    return;
  int32_t offset = value & 0xFFFF;
  // The first block at offset 0 stands for the very top, margin included.
  int32_t y = index == 0 && offset == 0 ? 0 : FSectionList->Items(index)->TopY + offset;
  ScrollTo(y, false);
}

void THTMLViewer::resizeEvent(QResizeEvent* event)
{
  QWidget::resizeEvent(event);
  if (FProcessing || width() == FLastWidth)
    ArrangeScrollBars();
  else
    RelayoutKeepingPosition();
  if (FDocHeight < PanelHeight())
    ScrollTo(0, false);
  else
    ScrollTo(FSectionList->ScrollY, false);
  SetHScroll(std::min(FHPos, MaxHScroll()));
  FPaintPanel->update();
}

void THTMLViewer::keyPressEvent(QKeyEvent* event)
{
  if (FMiddleMode) {
    EndMiddleMode();
    return;
  }
  int32_t pos = FSectionList->ScrollY, target = pos;
  switch (event->key()) {
  case Qt::Key_PageUp: target = pos - FVScrollBar->LargeChange(); break;
  case Qt::Key_PageDown: target = pos + FVScrollBar->LargeChange(); break;
  case Qt::Key_End: target = FDocHeight; break;
  case Qt::Key_Home: target = 0; break;
  case Qt::Key_Up: target = pos - SmallStep; break;
  case Qt::Key_Down: target = pos + SmallStep; break;
  case Qt::Key_Left: SetHScroll(FHPos - HSmallStep); return;
  case Qt::Key_Right: SetHScroll(FHPos + HSmallStep); return;
  default: QWidget::keyPressEvent(event); return;
  }
  int32_t clamped = std::clamp(target, int32_t(0), MaxVScroll());
  ScrollTo(clamped, std::abs(clamped - pos) == SmallStep);
}

void THTMLViewer::wheelEvent(QWheelEvent* event)
{
  SetVScrollPosition(VScrollPosition() - event->angleDelta().y() / 2);
  event->accept();
}

void THTMLViewer::focusInEvent(QFocusEvent* event)
{
  QWidget::focusInEvent(event);
  UpdateBorder();
}

void THTMLViewer::focusOutEvent(QFocusEvent* event)
{
  QWidget::focusOutEvent(event);
  UpdateBorder();
}

// ---------------------------------------------------------------------------------------------
// Painting

void THTMLViewer::HTMLPaint(TPaintPanel* panel, const QRect& clip)
{
  if (FInLayout || clip.isEmpty())
    return;
  // The panel's backing store is the off-screen picture: Qt shows it only when the paint is
  // over, so nothing half drawn is ever seen, and drawing straight into it saves copying the
  // whole band from a picture of our own.
  QPainter painter(panel);
  if (!painter.isActive())
    throw EOutOfResources(msg::OutOfResources);
  painter.setClipRect(clip);
  PaintBackground(painter, clip);
  TCanvas canvas(&painter);
  FSectionList->Paint(canvas, clip, MaxHorzWidth, FMarginWidth - FHPos, FMarginHeight);
}

void THTMLViewer::PaintBackground(QPainter& painter, const QRect& clip)
{
  if (FViewImages && !Doc().BgImage.isNull() && TileBackground(painter, clip))
    return;
  painter.fillRect(clip, ToQColor(Doc().PageColor));
}

bool THTMLViewer::TileBackground(QPainter& painter, const QRect& clip)
{
  const QImage& bg = Doc().BgImage;
  int w = bg.width(), h = bg.height();
  if (w <= 0 || h <= 0)
    return false;
  QImage tile = bg.convertToFormat(QImage::Format_ARGB32);
  if (!Doc().BgMask.isNull()) {
    // The mask is white where the page colour shows through.
    painter.fillRect(clip, ToQColor(Doc().PageColor));
    QImage mask = Doc().BgMask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < std::min(h, mask.height()); ++y)
      for (int x = 0; x < std::min(w, mask.width()); ++x)
        if (qGray(mask.pixel(x, y)) > 127)
          tile.setPixel(x, y, 0);
  }
  // The tiles scroll with the text: the first starts at minus the scroll offsets.
  int x0 = -(FHPos % w), y0 = -(FSectionList->ScrollY % h);
  QPoint offset(((clip.left() - x0) % w + w) % w, ((clip.top() - y0) % h + h) % h);
  painter.drawTiledPixmap(clip, QPixmap::fromImage(tile), offset);
  return true;
}

void THTMLViewer::Repaint()
{
  for (const auto& control : Doc().AllFormControls)
    if (control->TheControl)
      control->TheControl->SetVisible(false);
  FPaintPanel->update();
}

// ---------------------------------------------------------------------------------------------
// Properties

void THTMLViewer::SetViewImages(bool value)
{
  if (FProcessing || value == FViewImages)
    return;
  FViewImages = value;
  Doc().ImagesOn = value;
  RelayoutKeepingPosition();
}

void THTMLViewer::SetDefBackground(TColor value)
{
  if (FProcessing)
    return;
  FDefBackground = value;
  if (!Doc().OwnPageColor)
    Doc().SetPageColor(value);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ToQColor(value));
  setPalette(pal);
  FPaintPanel->update();
}

void THTMLViewer::SetBorderStyle(THTMLBorderStyle value)
{
  if (value == FBorderStyle)
    return;
  FBorderStyle = value;
  RelayoutKeepingPosition();
}

void THTMLViewer::SetHistoryMaxCount(int value)
{
  if (FHistory.SetMaxCount(value))
    HistoryChanged();
}

void THTMLViewer::SetDefFontName(const std::string& value)
{
  if (value == FDefFontName)
    return;
  FDefFontName = value;
  if (!FProcessing && FSectionList->Count() > 0) {
    ApplyDefaultsToList(Doc().PageColor);
    RelayoutKeepingPosition();
  }
}

void THTMLViewer::SetDefPreFontName(const std::string& value)
{
  if (value == FDefPreFontName)
    return;
  FDefPreFontName = value;
  if (!FProcessing && FSectionList->Count() > 0) {
    ApplyDefaultsToList(Doc().PageColor);
    RelayoutKeepingPosition();
  }
}

void THTMLViewer::SetDefFontSize(int value)
{
  value = std::max(6, value);
  if (value == FDefFontSize)
    return;
  FDefFontSize = value;
  if (!FProcessing && FSectionList->Count() > 0) {
    ApplyDefaultsToList(Doc().PageColor);
    RelayoutKeepingPosition();
  }
}

void THTMLViewer::SetCharSet(int value)
{
  if (value == FCharSet)
    return;
  FCharSet = value;
  if (!FProcessing && FSectionList->Count() > 0) {
    ApplyDefaultsToList(Doc().PageColor);
    RelayoutKeepingPosition();
  }
}

void THTMLViewer::SetDefFontColor(TColor value)
{
  FDefFontColor = value;
  Doc().TextColor = value;
}

void THTMLViewer::SetDefHotSpotColor(TColor value)
{
  FDefHotSpotColor = value;
  Doc().LinkColor = value;
}

void THTMLViewer::SetDefVisitedLinkColor(TColor value)
{
  FDefVisitedLinkColor = value;
  Doc().VisitedColor = value;
}

void THTMLViewer::SetDefOverLinkColor(TColor value)
{
  FDefOverLinkColor = value;
  Doc().OverColor = value;
}

void THTMLViewer::SetVisitedMaxCount(int value)
{
  FVisited.SetMaxCount(value);
  if (FVisited.MaxCount() == 0) {
    UnmarkVisitedLinks();
    FPaintPanel->update();
  }
}

void THTMLViewer::SetImageCacheCount(int value)
{
  value = std::clamp(value, 0, 20);
  if (value == FImageCacheCount)
    return;
  FImageCacheCount = value;
  BitmapList().SetCacheCount(value);
}

void THTMLViewer::SetNoSelect(bool value)
{
  if (value == FNoSelect)
    return;
  FNoSelect = value;
  if (value) {
    Doc().SelStartPos = Doc().SelEndPos = FCaretPos;
    FSelAnchor = -1;
    FPaintPanel->update();
  }
}

void THTMLViewer::SetScrollBars(TScrollStyle value)
{
  if (value == FScrollBars)
    return;
  FScrollBars = value;
  RelayoutKeepingPosition();
}

void THTMLViewer::SetMarginHeight(int value)
{
  if (value < 0 || value > 50 || FProcessing || value == FMarginHeight)
    return;
  FMarginHeight = value;
  RelayoutKeepingPosition();
}

void THTMLViewer::SetMarginWidth(int value)
{
  if (value < 0 || value > 50 || FProcessing || value == FMarginWidth)
    return;
  FMarginWidth = value;
  RelayoutKeepingPosition();
}

void THTMLViewer::SetServerRoot(const std::string& value)
{
  std::string s = strutil::Trim(value);
  while (!s.empty() && (s.back() == '/' || s.back() == '\\'))
    s.pop_back();
  FServerRoot = s;
}

void THTMLViewer::SethtOptions(ThtmlViewerOptions value)
{
  if (value == FOptions)
    return;
  FOptions = value;
  ApplyDefaultsToList(Doc().PageColor);
  FPaintPanel->update();
}

void THTMLViewer::SetCursor(const QCursor& value)
{
  FCursor = value;
  if (FShownCursor == -1)
    FPaintPanel->setCursor(FCursor);
}

void THTMLViewer::SetHostBase(const std::string& Base)
{
  FHostBase = Base;
  FBaseURL = Base;
}

std::string THTMLViewer::ResolveSourceName(const std::string& Name) const
{
  return sourcename::Resolve(Name, {FServerRoot, FBaseURL, FLoadedFileName});
}
