#include "html/viewer/FrameSet.h"

#include "base/StringUtil.h"
#include "html/parser/Builder.h"
#include "html/viewer/Frame.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/SourceName.h"

#include <QFileInfo>
#include <algorithm>

TFrameSet::TFrameSet(TFrameViewer* owner, QWidget* parent)
    : TSubFrameSet(parent, this, nullptr), FrameViewer(owner)
{
  BorderWidth = owner && (owner->fvOptions() & fvNoBorder) ? 0 : 2;
  FWaitTimer.setSingleShot(true);
  QObject::connect(&FWaitTimer, &QTimer::timeout, this, [this] { LoadNextWaiting(); });
}

TFrameSet::~TFrameSet()
{
  // The frames go first, while the lists they leave are still here; so do frames of an earlier
  // load still waiting to be deleted.
  List.clear();
  const QObjectList children = this->children();
  for (QObject* child : children)
    if (auto* frame = dynamic_cast<TFrameBase*>(child))
      delete frame;
}

bool TFrameSet::TakeFrameSlot()
{
  if (FFrameCount >= MaxFrames)
    return false;
  ++FFrameCount;
  return true;
}

void TFrameSet::ReleaseFrameSlot(TFrameBase& panel)
{
  if (panel.HoldsSlot) {
    panel.HoldsSlot = false;
    --FFrameCount;
  }
  const QObjectList children = panel.children();
  for (QObject* child : children)
    if (auto* inner = dynamic_cast<TFrameBase*>(child))
      ReleaseFrameSlot(*inner);
}

void TFrameSet::Clear()
{
  // Later, not now: a link click in one of these frames may still be running.
  for (TFrameBase* child : List) {
    ReleaseFrameSlot(*child);
    child->hide();
    child->deleteLater();
  }
  List.clear();
  FWaiting.clear();
  FWaitTimer.stop();
  Dim.clear();
  Sizes.clear();
  Ends.clear();
  Locked.clear();
  NamedFrames.clear();
  OpenViewers.clear();
  FrameList.clear();
  LastViewer = nullptr;
  DragSet = nullptr;
  PageTitle.clear();
  Base.clear();
  BaseTarget.clear();
  RefreshDelay = 0;
  RefreshURL.clear();
  LoadDepth = 0;
  IsFrameSetDocument = false;
  Title.clear();
  Rows = false;
}

void TFrameSet::ViewerGone(THTMLViewer* viewer)
{
  OpenViewers.erase(std::remove(OpenViewers.begin(), OpenViewers.end(), viewer), OpenViewers.end());
  if (LastViewer == viewer)
    LastViewer = nullptr;
  if (FrameViewer)
    FrameViewer->ViewerProcessing(viewer, false);
}

void TFrameSet::RebuildFrameList()
{
  FrameList.clear();
  NamedFrames.clear();
  UpdateFrameList();
}

void TFrameSet::CopyFromViewer(const THTMLViewer& viewer)
{
  PageTitle = viewer.PageTitle();
  BaseTarget = viewer.BaseTarget();
  Base = viewer.BaseURL();
  if (!viewer.LoadedFileName().empty())
    DocumentName = viewer.LoadedFileName();
}

bool TFrameSet::ShowsStartsFirst() const
{
  return FrameViewer && FrameViewer->ProgressiveLoad && FFrameCount > 1;
}

bool TFrameSet::Waiting() const
{
  return std::any_of(FWaiting.begin(), FWaiting.end(),
                     [](const QPointer<TFrame>& f) { return f && f->WaitsForRest(); });
}

void TFrameSet::WaitToLoad(TFrame* frame)
{
  FWaiting.emplace_back(frame);
  FWaitTimer.start(0);
}

bool TFrameSet::LoadFirstWaiting(std::vector<QPointer<TFrame>>& busy)
{
  while (!FWaiting.empty()) {
    QPointer<TFrame> frame = FWaiting.front();
    FWaiting.erase(FWaiting.begin());
    if (!frame || !frame->WaitsForRest())
      continue;
    // A viewer still at work (a nested event loop runs inside it) cannot load now.
    if (frame->Viewer() && frame->Viewer()->Processing()) {
      busy.push_back(frame);
      continue;
    }
    frame->LoadRest();
    return true;
  }
  return false;
}

void TFrameSet::LoadNextWaiting()
{
  // One frame per turn of the event loop: the window keeps answering while the rest loads.
  std::vector<QPointer<TFrame>> busy;
  LoadFirstWaiting(busy);
  FWaiting.insert(FWaiting.end(), busy.begin(), busy.end());
  if (!FWaiting.empty())
    FWaitTimer.start(busy.empty() ? 0 : BusyRetryMs);
}

void TFrameSet::LoadWaiting()
{
  FWaitTimer.stop();
  std::vector<QPointer<TFrame>> busy;
  while (LoadFirstWaiting(busy)) {
  }
  FWaiting = std::move(busy);
  if (!FWaiting.empty())
    FWaitTimer.start(BusyRetryMs);
}

void TFrameSet::ReadInto(TSubFrameSet& set, const TDocSource& doc)
{
  set.Directory = strutil::ExtractFilePath(doc.FileName);
  while (set.Directory.size() > 1 && set.Directory.back() == '/')
    set.Directory.pop_back();
  TParseEvents events;
  events.Sender = FrameViewer;
  TFrameViewer* fv = FrameViewer;
  TSubFrameSet* target = &set;
  events.OnMeta = [fv, target](QObject* sender, const std::string& httpEq,
                               const std::string& metaName, const std::string& content) {
    if (fv && fv->OnMeta)
      fv->OnMeta(sender, httpEq, metaName, content);
    if (!fv || !(fv->fvOptions() & fvMetaRefresh))
      return;
    if (strutil::SameText(httpEq, "content-type")) {
      target->CharSet = TBuilder::CharsetFromContent(content, target->CharSet);
      return;
    }
    if (!strutil::SameText(httpEq, "refresh"))
      return;
    int delay = 0;
    std::string url;
    if (!THTMLViewer::ParseRefresh(content, delay, url))
      return;
    target->RefreshDelay = std::max(delay, 1);
    if (!url.empty()) {
      sourcename::TResolveContext context;
      context.LoadedFileName = target->Directory + "/x";
      target->RefreshURL = sourcename::Resolve(url, context);
    } else
      target->RefreshURL = target->OwnerFrame ? target->OwnerFrame->Source : std::string();
  };
  events.OnSoundRequest = [fv](QObject*, const std::string& src, int loop, bool terminate) {
    if (fv && fv->OnSoundRequest)
      fv->OnSoundRequest(fv, src, loop, terminate);
  };
  events.OnInclude = fv ? fv->OnInclude : TIncludeType();
  TBuilder builder;
  builder.ReadFrameDocument(doc.Parse(), set, events);
  set.Base = builder.BaseURL;
  set.BaseTarget = builder.BaseTarget;
  set.ResolveSources(set.Base);
  // Frames that name no charset of their own show their documents in the set's.
  set.PassCharSet(set.CharSet);
  set.Title = builder.PageTitle;
  set.IsFrameSetDocument = true;
  if (&set == this)
    PageTitle = builder.PageTitle;
}

void TFrameSet::LoadFromFile(const std::string& name)
{
  Clear();
  CharSet = FrameViewer ? FrameViewer->CharSet() : 0;
  std::string file, anchor;
  sourcename::SplitAnchor(name, file, anchor);
  DocumentName = file;
  bool fromHost = FrameViewer && FrameViewer->RequestEvents();
  TDocSource doc;
  doc.FileName = file;
  if (fromHost)
    FrameViewer->RequestDocument(file, doc);
  bool plain = !fromHost && (viewerutil::IsImageName(file) || viewerutil::IsTextName(file));
  if (!plain && doc.IsFrameSet()) {
    ReadInto(*this, doc);
    // Sized first, so every frame's document is laid out once, for its own width.
    CalcSizes();
    LoadFiles();
    FindLockedBorders();
    StartRefresh();
    RebuildFrameList();
    return;
  }
  Directory = strutil::ExtractFilePath(file);
  auto* frame = new TFrame(this, this, nullptr, Directory);
  frame->HoldsSlot = TakeFrameSlot();
  frame->Source = file;
  frame->Destination = name.find('#') != std::string::npos ? "#" + anchor : std::string();
  List.push_back(frame);
  Complete();
  CalcSizes();
  frame->LoadFiles();
  if (THTMLViewer* viewer = frame->Viewer()) {
    PageTitle = viewer->PageTitle();
    BaseTarget = viewer->BaseTarget();
  }
  RebuildFrameList();
}
