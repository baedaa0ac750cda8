#include "html/model/Document.h"

#include "base/StringUtil.h"
#include "html/model/FontObj.h"
#include "html/model/FormControlObj.h"
#include "html/model/ImageObj.h"
#include "html/model/PanelObj.h"
#include "platform/Canvas.h"

#include <algorithm>

namespace {
constexpr int AnimationInterval = 50; // milliseconds
} // namespace

TDocument::TDocument(QObject* viewer, TControlHost* host) : Viewer(viewer), Host(host)
{
}

TDocument::~TDocument()
{
  FAnimTicker.reset();
}

void TDocument::Clear()
{
  OwnPageColor = false;
  BgImageName.clear();
  BgImage = QImage();
  BgMask = QImage();
  BgImageTried = false;
  StopAnimations();
  HoverLink = nullptr;
  HoverImage = nullptr;
  LinkStarts.clear();
  FLinks.clear();
  PendingImages.clear();
  Animations.clear();
  SelStartPos = SelEndPos = 0;
  Utf8 = false;
  MetaCharset = -1;
  Maps.Clear();
}

void TDocument::ClearControls()
{
  AllFormControls.Clear();
  Forms.clear();
  Panels.clear();
}

void TDocument::SetPageColor(TColor color)
{
  PageColor = color;
  if (BackgroundChanged)
    BackgroundChanged(this);
}

void TDocument::SetPageImage(const std::string& name)
{
  BgImageName = name;
  BgImage = QImage();
  BgMask = QImage();
  BgImageTried = false;
}

void TDocument::Unplace()
{
  ControlsMoved = true;
  for (const auto& c : AllFormControls)
    c->Placed = c->ShowIt = false;
  for (TPanelObj* p : Panels)
    p->Placed = false;
}

void TDocument::UpdateControlVisibility()
{
  for (const auto& c : AllFormControls)
    if (!c->Placed && c->TheControl)
      HideUnplaced(*c->TheControl);
  for (TPanelObj* p : Panels)
    if (!p->Placed && p->Panel)
      HideUnplaced(*p->Panel);
}

std::unique_ptr<TFormWidget> TDocument::MakeFormWidget(TFormWidgetKind kind)
{
  std::unique_ptr<TFormWidget> w = Host ? Host->CreateFormWidget(kind) : nullptr;
  if (!w)
    w = std::make_unique<TStateFormWidget>(kind);
  return w;
}

namespace {
void ShowOutOfSight(TEmbeddedControl& control)
{
  control.Move(OutOfSightX, control.Geometry().y());
  control.SetVisible(true);
}
} // namespace

void TDocument::ControlEntered(TFormControlObj* control)
{
  if (PrintMode)
    return;
  // Controls made on demand that have no widget yet stay without one, except the controls
  // next to this one on the page, which Tab and Shift+Tab go to: they get theirs now.
  int at = -1;
  for (int i = 0; i < AllFormControls.Count() && at < 0; ++i)
    if (AllFormControls[i] == control)
      at = i;
  auto neighbour = [&](int step) {
    for (int j = at + step; at >= 0 && j >= 0 && j < AllFormControls.Count(); j += step)
      if (AllFormControls[j]->TheControl)
        return j;
    return -1;
  };
  int before = neighbour(-1), after = neighbour(1);
  for (int i = 0; i < AllFormControls.Count(); ++i) {
    TFormControlObj* c = AllFormControls[i];
    if (!c->Placed && c->TheControl && (c->TheControl->Realised() || i == before || i == after))
      ShowOutOfSight(*c->TheControl);
  }
}

void TDocument::ControlExited()
{
  if (PrintMode)
    return;
  bool focused = false;
  for (const auto& c : AllFormControls)
    focused = focused || (c->TheControl && c->TheControl->HasFocus());
  for (const auto& c : AllFormControls) {
    if (c->Placed || !c->TheControl)
      continue;
    if (focused)
      ShowOutOfSight(*c->TheControl);
    else
      c->TheControl->SetVisible(false);
  }
}

void TDocument::SizeControls(TCanvas& canvas)
{
  for (const auto& c : AllFormControls)
    c->SetSizes(canvas);
}

TGraphic* TDocument::RequestImage(const std::string& name, TTranspKind& kind, bool& fromCache,
                                  bool& pending, QImage& mask)
{
  return Requester.RequestImage(name, kind, fromCache, pending, mask);
}

std::string TDocument::ImageName(const std::string& src) const
{
  auto own = [this](const std::string& s) { return ExpandName ? ExpandName(s) : s; };
  return Requester.ExpandName(src, own);
}

bool TDocument::PageImage()
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

void TDocument::AddPending(const std::string& name, TImageObj* obj)
{
  PendingImages.push_back(TPendingImage{strutil::UpperCase(strutil::Trim(name)), obj});
}

bool TDocument::IsPending(const std::string& name) const
{
  std::string key = strutil::UpperCase(strutil::Trim(name));
  return std::any_of(PendingImages.begin(), PendingImages.end(),
                     [&key](const TPendingImage& p) { return p.Name == key; });
}

void TDocument::RetryPending(const std::string& name)
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

void TDocument::AddAnimation(TImageObj* image)
{
  if (TGIFImage* gif = image->Animation())
    gif->Clock = AnimationClock;
  if (std::find(Animations.begin(), Animations.end(), image) == Animations.end())
    Animations.push_back(image);
}

void TDocument::StopAnimations()
{
  if (FAnimTicker)
    FAnimTicker->Stop();
}

void TDocument::RestartAnimations(bool printing)
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

void TDocument::ForgetShown(const QRect& clip)
{
  // Images outside the clip were not asked to paint and keep their mark, or a partial repaint
  // would stop the others.
  for (TImageObj* image : Animations) {
    TGIFImage* gif = image->Animation();
    if (!gif)
      continue;
    QRect drawn(gif->DrawnX, gif->DrawnY, gif->DrawnWidth, gif->DrawnHeight);
    if (drawn.isEmpty() || drawn.intersects(clip))
      gif->Shown = false;
  }
}

bool TDocument::PauseAnimations()
{
  bool ticking = AnimationTimerActive();
  if (ticking)
    FAnimTicker->Stop();
  return ticking;
}

void TDocument::ResumeAnimations()
{
  if (FAnimTicker)
    FAnimTicker->Start(AnimationInterval);
}

void TDocument::AnimationTick()
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

void TDocument::StepAnimations(int k)
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

bool TDocument::AnimationTimerActive() const
{
  return FAnimTicker && FAnimTicker->Active();
}

void TDocument::SetCacheCount(int n)
{
  BitmapList().SetCacheCount(n);
}

void TDocument::PurgeCache()
{
  BitmapList().PurgeCache();
}

TMapItem* TDocument::FindMap(const std::string& name) const
{
  for (const auto& m : Maps)
    if (m->Name == name)
      return m.get();
  return nullptr;
}

size_t TDocument::TLinkHash::operator()(const TUrlTarget& l) const
{
  return std::hash<std::string>()(l.Url) * 31 + std::hash<std::string>()(l.Target);
}

std::shared_ptr<const TUrlTarget> TDocument::SharedLink(const TUrlTarget& link)
{
  auto it = FLinks.find(link);
  if (it == FLinks.end())
    it = FLinks.insert(std::make_shared<const TUrlTarget>(link)).first;
  return *it;
}
