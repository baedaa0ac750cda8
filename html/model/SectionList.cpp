#include "html/model/SectionList.h"

#include "base/StringUtil.h"
#include "html/model/FontObj.h"
#include "html/model/FormControlObj.h"
#include "html/model/ImageObj.h"
#include "html/model/PanelObj.h"
#include "html/model/SelTextCount.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <ostream>

namespace {
constexpr int AnimationInterval = 50; // milliseconds
} // namespace

TSectionList::TSectionList(QObject* viewer, TControlHost* host)
    : TCell(this), Viewer(viewer), Host(host)
{
}

TSectionList::~TSectionList()
{
  FAnimTicker.reset();
  // Items go first: panels unregister themselves from the lists below.
  TFreeList<TSectionBase>::Clear();
}

void TSectionList::Clear()
{
  OwnPageColor = false;
  BgImageName.clear();
  BgImage = QImage();
  BgMask = QImage();
  BgImageTried = false;
  if (FAnimTicker)
    FAnimTicker->Stop();
  HoverLink = nullptr;
  HoverImage = nullptr;
  LinkStarts.clear();
  PendingImages.clear();
  Animations.clear();
  SelStartPos = SelEndPos = 0;
  Maps.Clear();
  TFreeList<TSectionBase>::Clear();
  AllFormControls.Clear();
  Forms.clear();
  Panels.clear();
  DocumentHeight = ScrollWidth = PositionCount = 0;
}

void TSectionList::ApplyDefaults(const std::string& bodyFont, const std::string& fixedFont,
                                 int bodySize, TColor textColor, TColor linkColor,
                                 TColor visitedColor, TColor overColor, TColor pageColor,
                                 bool hoverColoring)
{
  BodyFontName = bodyFont.substr(0, 33);
  FixedFontName = fixedFont.substr(0, 33);
  BodyFontSize = bodySize;
  TextColor = textColor;
  LinkColor = linkColor;
  VisitedColor = visitedColor;
  OverColor = overColor;
  PageColor = pageColor;
  HoverColoring = hoverColoring;
  RefreshFonts();
}

void TSectionList::SetPageColor(TColor color)
{
  PageColor = color;
  if (BackgroundChanged)
    BackgroundChanged(this);
}

void TSectionList::SetPageImage(const std::string& name)
{
  BgImageName = name;
  BgImage = QImage();
  BgMask = QImage();
  BgImageTried = false;
}

void TSectionList::SetScroll(int32_t y)
{
  if (y == ScrollY)
    return;
  ScrollY = y;
  ControlsMoved = true;
  for (const auto& c : AllFormControls)
    c->Placed = false;
  for (TPanelObj* p : Panels)
    p->Placed = false;
}

int32_t TSectionList::Layout(TCanvas& canvas, int32_t Y, int32_t width, int32_t& scrollWidth,
                             int32_t& pos)
{
  if (FAnimTicker)
    FAnimTicker->Stop();
  PageImage();
  for (const auto& c : AllFormControls)
    c->SetSizes(canvas);
  int32_t h = TCell::Layout(canvas, Y, width, scrollWidth, pos);
  DocumentHeight = h;
  ScrollWidth = scrollWidth;
  PositionCount = pos;
  RestartAnimations(canvas.Printing || PrintMode);
  UpdateControlVisibility();
  return h;
}

void TSectionList::Paint(TCanvas& canvas, const QRect& clip, int32_t clipWidth, int32_t X,
                         int32_t Y)
{
  DrawBottom = ScrollY + clip.bottom();
  bool ticking = AnimationTimerActive();
  if (ticking)
    FAnimTicker->Stop();
  ForgetShown(clip);
  TCell::Paint(canvas, clip, clipWidth, X, Y);
  if (ticking)
    FAnimTicker->Start(AnimationInterval);
  if (ControlsMoved && !canvas.Printing) {
    UpdateControlVisibility();
    ControlsMoved = false;
  }
}

void TSectionList::UpdateControlVisibility()
{
  for (const auto& c : AllFormControls)
    if (!c->Placed && c->TheControl)
      HideUnplaced(*c->TheControl);
  for (TPanelObj* p : Panels)
    if (!p->Placed && p->Panel)
      HideUnplaced(*p->Panel);
}

bool TSectionList::LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
                          TUrlTarget& urlTarget)
{
  TFontObj* oldLink = HoverLink;
  TImageObj* oldImage = HoverImage;
  HoverLink = nullptr;
  HoverImage = nullptr;
  bool found = TCell::LinkAt(canvas, X, Y, formControl, urlTarget);
  if (HoverColoring && oldImage != HoverImage && Host)
    Host->Invalidate(QRect());
  if (HoverColoring && oldLink != HoverLink) {
    // Every font object of the link changes colour, not only the one under the mouse.
    for (TFontObj* f : LinkStarts) {
      if (oldLink && f->Link == oldLink->Link)
        f->MarkHover(false);
    }
    if (oldLink)
      oldLink->MarkHover(false);
    if (HoverLink)
      HoverLink->MarkHover(true);
    if (Host)
      Host->Invalidate(QRect());
  }
  return found;
}

std::string TSectionList::CopySelection()
{
  if (SelStartPos >= SelEndPos)
    return std::string();
  ClipBuffer buffer;
  Clip = &buffer;
  TCell::CopySelection();
  Clip = nullptr;
  buffer.Terminate();
  return buffer.Text();
}

TGraphic* TSectionList::RequestImage(const std::string& name, TTranspKind& kind, bool& fromCache,
                                     bool& pending, QImage& mask)
{
  return Requester.RequestImage(name, kind, fromCache, pending, mask);
}

std::string TSectionList::ImageName(const std::string& src) const
{
  auto own = [this](const std::string& s) { return ExpandName ? ExpandName(s) : s; };
  return Requester.ExpandName(src, own);
}

bool TSectionList::PageImage()
{
  if (BgImageTried || BgImageName.empty() || !ImagesOn)
    return !BgImage.isNull();
  BgImageTried = true;
  std::string name = ImageName(BgImageName);
  TTranspKind kind = tkNone;
  bool fromCache = false, pending = false;
  QImage mask;
  TGraphic* g = RequestImage(name, kind, fromCache, pending, mask);
  if (pending)
    BgImageTried = false; // asked again at a later layout
  if (auto* bitmap = dynamic_cast<TBitmap*>(g)) {
    BgImage = bitmap->Image;
    BgMask = kind != tkNone ? mask : QImage();
  } else if (auto* gif = dynamic_cast<TGIFImage*>(g)) {
    // A background does not animate: its first frame is tiled.
    BgImage = gif->FirstFrameBitmap();
    BgMask = gif->FirstFrameMask();
  }
  // The picture is copied out, so the cache entry is not held.
  if (g)
    BitmapList().DecUsage(ImageKey(name));
  if (!BgImage.isNull() && BackgroundChanged)
    BackgroundChanged(this);
  return !BgImage.isNull();
}

void TSectionList::AddPending(const std::string& name, TImageObj* obj)
{
  PendingImages.push_back(TPendingImage{strutil::UpperCase(strutil::Trim(name)), obj});
}

bool TSectionList::IsPending(const std::string& name) const
{
  std::string key = strutil::UpperCase(strutil::Trim(name));
  return std::any_of(PendingImages.begin(), PendingImages.end(),
                     [&key](const TPendingImage& p) { return p.Name == key; });
}

void TSectionList::RetryPending(const std::string& name)
{
  std::string key = strutil::UpperCase(strutil::Trim(name));
  std::vector<TPendingImage> keep;
  for (const TPendingImage& p : PendingImages) {
    if (key.empty() || p.Name == key)
      p.Obj->Refetch();
    else
      keep.push_back(p);
  }
  PendingImages = std::move(keep);
  if (key.empty() || key == strutil::UpperCase(strutil::Trim(ImageName(BgImageName))))
    BgImageTried = !BgImage.isNull();
}

void TSectionList::AddAnimation(TImageObj* image)
{
  if (TGIFImage* gif = image->Animation())
    gif->Clock = AnimationClock;
  if (std::find(Animations.begin(), Animations.end(), image) == Animations.end())
    Animations.push_back(image);
}

void TSectionList::RestartAnimations(bool printing)
{
  for (TImageObj* image : Animations) {
    TGIFImage* gif = image->Animation();
    if (!gif)
      continue;
    gif->SetFrameIndex(1);
    gif->SetAnimating(false);
    if (!printing)
      gif->SetAnimating(true);
  }
  if (printing || Animations.empty())
    return;
  if (!FAnimTicker) {
    FAnimTicker = MakeTicker();
    FAnimTicker->OnTick = [this] { AnimationTick(); };
  }
  FAnimTicker->Start(AnimationInterval);
}

void TSectionList::ForgetShown(const QRect& clip)
{
  // Images in the clip mark themselves again when they paint; those outside it were not asked
  // to paint and keep their mark, or a partial repaint would stop the others.
  for (TImageObj* image : Animations) {
    TGIFImage* gif = image->Animation();
    if (!gif)
      continue;
    QRect drawn(gif->DrawnX, gif->DrawnY, gif->DrawnWidth, gif->DrawnHeight);
    if (drawn.isEmpty() || drawn.intersects(clip))
      gif->Shown = false;
  }
}

void TSectionList::AnimationTick()
{
  for (TImageObj* image : Animations) {
    TGIFImage* gif = image->Animation();
    if (!gif || !gif->Shown)
      continue;
    QRect changed = gif->AnimationStep();
    if (!changed.isEmpty() && Host)
      Host->Invalidate(changed);
  }
  if (FAnimTicker && FAnimTicker->Active())
    FAnimTicker->SetInterval(AnimationInterval);
}

void TSectionList::StepAnimations(int k)
{
  for (TImageObj* image : Animations) {
    TGIFImage* gif = image->Animation();
    if (!gif || gif->FrameCount() < 2)
      continue;
    // Frame by frame, so that each frame's disposal is applied as in the running animation.
    for (int i = 0; i < k; ++i)
      gif->SetFrameIndex(gif->FrameIndex() % gif->FrameCount() + 1);
  }
}

bool TSectionList::AnimationTimerActive() const
{
  return FAnimTicker && FAnimTicker->Active();
}

void TSectionList::SetCacheCount(int n)
{
  BitmapList().SetCacheCount(n);
}

void TSectionList::PurgeCache()
{
  BitmapList().PurgeCache();
}

TMapItem* TSectionList::FindMap(const std::string& name) const
{
  for (const auto& m : Maps)
    if (m->Name == name)
      return m.get();
  return nullptr;
}

void TSectionList::Dump(std::ostream& out, const std::string& title) const
{
  out << "SectionList h=" << DocumentHeight << " w=" << ScrollWidth << " pos=" << PositionCount
      << " title=\"" << title << "\"\n";
  DumpItems(out, 1);
}
