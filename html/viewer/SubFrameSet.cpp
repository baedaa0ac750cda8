#include "html/viewer/SubFrameSet.h"

#include "html/symbols/AttributeList.h"
#include "html/viewer/Frame.h"
#include "html/viewer/FrameSet.h"
#include "html/viewer/FrameSizes.h"
#include "html/viewer/FrameViewer.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {
constexpr int MaxBorderWidth = 100;
constexpr int BorderReach = 4; // pixels from a border where it can be taken

// The line that follows the mouse while a border is dragged: it inverts what lies under it, so
// it shows on any colour, and moving it restores what it covered.
class TDragLine : public QWidget {
public:
  explicit TDragLine(QWidget* parent) : QWidget(parent)
  {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

protected:
  void paintEvent(QPaintEvent*) override
  {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.fillRect(rect(), Qt::white);
  }
};
} // namespace

TSubFrameSet::TSubFrameSet(QWidget* parent, TFrameSet* master, TFrame* ownerFrame)
    : TFrameBase(parent, master), OwnerFrame(ownerFrame)
{
  FRefreshTimer.setSingleShot(true);
  QObject::connect(&FRefreshTimer, &QTimer::timeout, this, [this] { RefreshFired(); });
  if (master) {
    BorderWidth = master->BorderWidth;
    CharSet = master->CharSet;
  }
}

TSubFrameSet::~TSubFrameSet() = default;

void TSubFrameSet::InitFromAttributes(const TAttributeList& attributes)
{
  Dim.clear();
  Rows = false;
  if (TAttribute* rows = attributes.Find(attrROWS)) {
    Rows = true;
    Dim = framesizes::Parse(rows->Text);
  }
  if (TAttribute* cols = attributes.Find(attrCOLS); cols && Dim.size() <= 1) {
    Rows = false;
    Dim = framesizes::Parse(cols->Text);
  }
  // Only the outermost set of a document takes a border; nested sets inherit it.
  bool outermost = this == MasterSet || OwnerFrame;
  if (!outermost)
    return;
  bool noBorder =
      MasterSet && MasterSet->FrameViewer && (MasterSet->FrameViewer->fvOptions() & fvNoBorder);
  if (noBorder) {
    BorderWidth = 0;
    return;
  }
  TAttribute* border = attributes.Find(attrBORDER);
  if (!border)
    border = attributes.Find(attrFRAMEBORDER);
  BorderWidth = border ? std::clamp(border->Num, 0, MaxBorderWidth) : 2;
  InnerGap = std::max(2 - BorderWidth, 0);
  SetBevel(InnerGap);
}

TFrameSetReader* TSubFrameSet::AddFrameSet()
{
  if (!MasterSet || !MasterSet->TakeFrameSlot())
    return nullptr;
  auto* set = new TSubFrameSet(this, MasterSet, nullptr);
  set->HoldsSlot = true;
  set->BorderWidth = BorderWidth;
  set->Directory = Directory;
  List.push_back(set);
  return set;
}

void TSubFrameSet::AddFrame(const TAttributeList& attributes)
{
  if (!MasterSet || !MasterSet->TakeFrameSlot())
    return; // more frames than a document may have: the rest are ignored
  List.push_back(new TFrame(this, MasterSet, &attributes, Directory));
  List.back()->HoldsSlot = true;
}

void TSubFrameSet::Complete()
{
  while (Dim.size() < List.size())
    Dim.push_back(-1);
  // Entries without a FRAME get empty frames, as long as the document may have more frames.
  while (List.size() < Dim.size() && MasterSet && MasterSet->TakeFrameSlot()) {
    List.push_back(new TFrame(this, MasterSet, nullptr, Directory));
    List.back()->HoldsSlot = true;
  }
  Dim.resize(List.size());
}

void TSubFrameSet::ResolveSources(const std::string& base)
{
  for (TFrameBase* child : List) {
    if (auto* frame = dynamic_cast<TFrame*>(child))
      frame->ResolveSource(base, Directory);
    else if (auto* set = dynamic_cast<TSubFrameSet*>(child))
      set->ResolveSources(base);
  }
}

void TSubFrameSet::PassCharSet(int charSet)
{
  CharSet = charSet;
  for (TFrameBase* child : List) {
    if (auto* frame = dynamic_cast<TFrame*>(child))
      frame->CharSet = charSet;
    else if (auto* set = dynamic_cast<TSubFrameSet*>(child))
      set->PassCharSet(charSet);
  }
}

void TSubFrameSet::LoadFiles()
{
  for (TFrameBase* child : List)
    child->LoadFiles();
}

void TSubFrameSet::ReloadFiles(int32_t position)
{
  for (TFrameBase* child : List)
    child->ReloadFiles(position);
  StartRefresh();
  Unloaded = false;
}

void TSubFrameSet::UnloadFiles()
{
  FRefreshTimer.stop();
  for (TFrameBase* child : List)
    child->UnloadFiles();
  if (MasterSet && MasterSet->FrameViewer && MasterSet->FrameViewer->OnSoundRequest)
    MasterSet->FrameViewer->OnSoundRequest(MasterSet, "", 0, true);
  Unloaded = true;
}

void TSubFrameSet::UpdateFrameList()
{
  for (TFrameBase* child : List)
    child->UpdateFrameList();
}

void TSubFrameSet::FindLockedBorders()
{
  Locked.assign(List.size() > 0 ? List.size() - 1 : 0, false);
  auto noResize = [this](size_t i) {
    auto* frame = dynamic_cast<TFrame*>(List[i]);
    return frame && frame->NoResize;
  };
  for (size_t i = 0; i + 1 < List.size(); ++i)
    Locked[i] = noResize(i) || noResize(i + 1);
  for (TFrameBase* child : List)
    child->FindLockedBorders();
}

int32_t TSubFrameSet::Extent() const
{
  return std::max(0, (Rows ? height() : width()) - 2 * InnerGap);
}

int32_t TSubFrameSet::Coordinate(QPoint p) const
{
  return (Rows ? p.y() : p.x()) - InnerGap;
}

void TSubFrameSet::CalcSizes()
{
  Sizes = framesizes::Sizes(Dim, Extent());
  Total = 0;
  for (int32_t s : Sizes)
    Total += s;
  FDragged = false;
  PlaceChildren();
}

void TSubFrameSet::PlaceChildren()
{
  if (Sizes.size() != List.size()) {
    Sizes = framesizes::Sizes(Dim, Extent());
    Sizes.resize(List.size(), 0);
  }
  Ends = framesizes::Ends(Sizes, Extent());
  int32_t start = 0;
  int across = std::max(0, (Rows ? width() : height()) - 2 * InnerGap);
  for (size_t i = 0; i < List.size(); ++i) {
    int32_t end = Ends[i];
    if (Rows)
      List[i]->setGeometry(InnerGap, InnerGap + start, across, end - start);
    else
      List[i]->setGeometry(InnerGap + start, InnerGap, end - start, across);
    start = end;
    // A hidden set hears of its new size only when shown; its frames need theirs now.
    if (auto* nested = dynamic_cast<TSubFrameSet*>(List[i]); nested && !nested->isVisible())
      nested->Resized();
  }
}

void TSubFrameSet::Resized()
{
  // Until the user drags a border the ROWS and COLS values decide; after, the shares do.
  if (FDragged)
    PlaceChildren();
  else
    CalcSizes();
}

void TSubFrameSet::resizeEvent(QResizeEvent* event)
{
  TFrameBase::resizeEvent(event);
  Resized();
}

void TSubFrameSet::StartRefresh()
{
  FRefreshTimer.stop();
  if (RefreshDelay <= 0 || RefreshURL.empty())
    return;
  if (!QFileInfo::exists(QString::fromStdString(RefreshURL)))
    return;
  FRefreshTimer.start(RefreshDelay * 1000);
}

void TSubFrameSet::RefreshFired()
{
  if (Unloaded || !MasterSet || !MasterSet->FrameViewer)
    return;
  if (OwnerFrame)
    OwnerFrame->frLoadFromFile(RefreshURL, "", true, true);
  else if (this == MasterSet && MasterSet->FrameViewer->CurFrameSet() == MasterSet)
    MasterSet->FrameViewer->RefreshTopLevel(RefreshURL);
}

int TSubFrameSet::BorderAt(QPoint p) const
{
  if (Ends.size() < 2)
    return -1;
  int32_t c = Coordinate(p);
  int best = -1;
  int32_t bestDistance = 0;
  for (size_t i = 0; i + 1 < Ends.size(); ++i) {
    int32_t d = std::abs(c - Ends[i]);
    // On equal distance the later border wins when the mouse is at or past it.
    if (best < 0 || d < bestDistance || (d == bestDistance && c >= Ends[i])) {
      best = int(i);
      bestDistance = d;
    }
  }
  if (bestDistance > BorderReach || (size_t(best) < Locked.size() && Locked[size_t(best)]))
    return -1;
  return best;
}

bool TSubFrameSet::FVMouseMove(QPoint p, Qt::MouseButtons)
{
  if (FDragBorder >= 0) {
    DrawDragLine(std::clamp(Coordinate(p), FDragMin + 1, FDragMax - 1));
    return true;
  }
  return BorderAt(p) >= 0;
}

bool TSubFrameSet::FVMouseDown(QPoint p)
{
  int border = BorderAt(p);
  if (border < 0)
    return false;
  FDragBorder = border;
  FDragMin = border > 0 ? Ends[size_t(border) - 1] : 0;
  FDragMax = Ends[size_t(border) + 1];
  DrawDragLine(std::clamp(Coordinate(p), FDragMin + 1, FDragMax - 1));
  return true;
}

bool TSubFrameSet::FVMouseUp(QPoint p)
{
  if (FDragBorder < 0)
    return false;
  int32_t at = std::clamp(Coordinate(p), FDragMin + 1, FDragMax - 1);
  Ends[size_t(FDragBorder)] = at;
  FDragBorder = -1;
  delete FDragLine;
  FDragLine = nullptr;
  Sizes = framesizes::SizesFromEnds(Ends, Extent(), Total);
  FDragged = true;
  PlaceChildren();
  update();
  return true;
}

void TSubFrameSet::DrawDragLine(int32_t at)
{
  if (!FDragLine)
    FDragLine = new TDragLine(this);
  if (Rows)
    FDragLine->setGeometry(0, InnerGap + at - 1, width(), 2);
  else
    FDragLine->setGeometry(InnerGap + at - 1, 0, 2, height());
  FDragLine->show();
  FDragLine->raise();
}
