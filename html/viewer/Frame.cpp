#include "html/viewer/Frame.h"

#include "base/StringUtil.h"
#include "html/symbols/AttributeList.h"
#include "html/viewer/DocumentStart.h"
#include "html/viewer/FrameSet.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/PaintPanel.h"
#include "html/viewer/SourceName.h"

#include <QFileInfo>
#include <algorithm>

namespace {

int32_t HistorySeq = 0;

// What a frame shows when its document cannot be loaded; the picture does not exist, so the
// broken-image placeholder with the text "Error" stands in front of the message.
std::string ErrorPage(const std::string& name)
{
  return "<p><img src=\"qw%&.bmp\" alt=\"Error\"> Can't load " + name;
}

} // namespace

int32_t NextHistorySeq()
{
  return ++HistorySeq;
}

TFrame::TFrame(TSubFrameSet* set, TFrameSet* master, const TAttributeList* attributes,
               const std::string& directory)
    : TFrameBase(set, master)
{
  FRefreshTimer.setSingleShot(true);
  QObject::connect(&FRefreshTimer, &QTimer::timeout, this, [this] { RefreshTimer(); });
  if (set) {
    SetBevel(set->BorderWidth);
    CharSet = set->CharSet;
  }
  (void)directory;
  if (!attributes)
    return;
  if (TAttribute* a = attributes->Find(attrNAME))
    FrameName = a->Text;
  if (TAttribute* a = attributes->Find(attrSRC))
    FRawSource = strutil::Trim(a->Text);
  NoResize = attributes->Find(attrNORESIZE) != nullptr;
  if (TAttribute* a = attributes->Find(attrSCROLLING)) {
    std::string value = strutil::LowerCase(strutil::Trim(a->Text));
    NoScroll = value == "no";
    if (value == "yes" || value == "no" || value == "auto")
      Scrolling = value;
  }
  if (TAttribute* a = attributes->Find(attrMARGINWIDTH))
    FrameMarginWidth = std::clamp(a->Num, 0, 50);
  if (TAttribute* a = attributes->Find(attrMARGINHEIGHT))
    FrameMarginHeight = std::clamp(a->Num, 0, 50);
}

TFrame::~TFrame()
{
  if (MasterSet && FViewer)
    MasterSet->ViewerGone(FViewer);
}

void TFrame::ResolveSource(const std::string& base, const std::string& directory)
{
  if (FRawSource.empty())
    return;
  std::string file, anchor;
  sourcename::SplitAnchor(FRawSource, file, anchor);
  Destination = FRawSource.find('#') != std::string::npos ? "#" + anchor : std::string();
  TFrameViewer* fv = MasterSet ? MasterSet->FrameViewer : nullptr;
  if (fv && fv->RequestEvents()) {
    Source = file;
    return;
  }
  sourcename::TResolveContext context;
  context.ServerRoot = fv ? fv->ServerRoot() : std::string();
  context.BaseURL = base;
  context.LoadedFileName = directory + "/x";
  Source = file.empty() ? std::string() : sourcename::Resolve(file, context);
}

void TFrame::CreateViewer()
{
  if (FViewer)
    return;
  FViewer = new THTMLViewer(this);
  if (MasterSet && MasterSet->FrameViewer)
    MasterSet->FrameViewer->ConfigureViewer(*FViewer, *this);
  FViewer->OnMetaRefresh = [this](QObject*, int delay, const std::string& url) {
    RefreshRequest(delay, url);
  };
  FViewer->setGeometry(contentsRect());
  FViewer->show();
  if (MasterSet)
    MasterSet->OpenViewers.push_back(FViewer);
}

void TFrame::DropViewer()
{
  if (!FViewer)
    return;
  THTMLViewer* viewer = FViewer;
  FViewer = nullptr;
  if (MasterSet)
    MasterSet->ViewerGone(viewer);
  viewer->hide();
  viewer->deleteLater();
}

void TFrame::resizeEvent(QResizeEvent* event)
{
  TFrameBase::resizeEvent(event);
  if (FViewer)
    FViewer->setGeometry(contentsRect());
  PlaceNestedSet();
}

void TFrame::PlaceNestedSet()
{
  if (FFrameSet)
    FFrameSet->setGeometry(contentsRect());
}

bool TFrame::FromHost() const
{
  return MasterSet && MasterSet->FrameViewer && MasterSet->FrameViewer->RequestEvents();
}

TDocSource TFrame::Fetch(const std::string& name) const
{
  TDocSource doc;
  doc.FileName = name;
  if (FromHost())
    MasterSet->FrameViewer->RequestDocument(name, doc);
  return doc;
}

void TFrame::LoadViewer(const std::string& name, const std::string& destination)
{
  CreateViewer();
  TSubFrameSet* set = ParentSet();
  FViewer->SetHostBase(set ? set->Base : std::string());
  TDocSource doc = Fetch(name);
  switch (doc.Kind) {
  case TDocSource::dsBuffer: FViewer->LoadFromChars(doc.Buffer, doc.BuffSize); break;
  case TDocSource::dsStrings: FViewer->LoadLines(*doc.Strings); break;
  case TDocSource::dsStream: FViewer->LoadFromStream(*doc.Stream); break;
  case TDocSource::dsFile:
    // Pictures and text files are known by their names only when documents are not the host's.
    if (!FromHost() && viewerutil::IsImageName(name))
      FViewer->LoadImageFile(name);
    else if (!FromHost() && viewerutil::IsTextName(name))
      FViewer->LoadPlainFile(name);
    else
      FViewer->LoadFromFile(doc.FileName + destination);
    return;
  }
  FViewer->ScrollToAnchor(destination);
}

bool TFrame::IsFrameSetFile(const std::string& name) const
{
  if (!FromHost() && (viewerutil::IsImageName(name) || viewerutil::IsTextName(name)))
    return false;
  TDocSource doc = Fetch(name);
  if (doc.Kind == TDocSource::dsFile && !QFileInfo(QString::fromStdString(doc.FileName)).isFile())
    throw EViewerError(msg::CantLocateFile + name);
  return doc.IsFrameSet();
}

void TFrame::LoadNestedSet(const std::string& name)
{
  if (!MasterSet->TakeFrameSlot())
    return; // the document has all the frames it may have: this one stays empty
  auto* set = new TSubFrameSet(this, MasterSet, this);
  set->HoldsSlot = true;
  set->CharSet = CharSet; // unless the nested document names its own
  try {
    MasterSet->ReadInto(*set, Fetch(name));
  } catch (...) {
    delete set;
    throw;
  }
  FFrameSet = set;
  SetBevel(0);
  PlaceNestedSet();
  set->CalcSizes();
  set->LoadFiles();
  set->FindLockedBorders();
  set->StartRefresh();
  set->show();
}

void TFrame::LoadFiles()
{
  if (Source.empty() || !MasterSet || MasterSet->LoadDepth >= TFrameSet::MaxLoadDepth)
    return; // nothing to show, or a frameset that includes itself: the frame stays empty
  struct TDepth {
    int& Depth;
    explicit TDepth(int& d) : Depth(d) { ++Depth; }
    ~TDepth() { --Depth; }
  } depth(MasterSet->LoadDepth);
  try {
    if (IsFrameSetFile(Source)) {
      LoadNestedSet(Source);
      AddFirstEntry(0);
    } else if (LoadStart()) {
      AddFirstEntry(0);
    } else {
      LoadViewer(Source, Destination);
      AddFirstEntry(FViewer->ReadingPosition());
    }
  } catch (const std::exception&) {
    ShowError(Source);
  }
}

// A long document in a set of several frames shows its start first, read until the frame's
// first screen is full: all frames show something long before their documents are read whole.
// The whole document follows from the event loop (LoadRest).
bool TFrame::LoadStart()
{
  if (!MasterSet->ShowsStartsFirst() || !Destination.empty() || FromHost() ||
      viewerutil::IsImageName(Source) || viewerutil::IsTextName(Source) ||
      QFileInfo(QString::fromStdString(Source)).size() <= docstart::WholeUpTo)
    return false;
  std::string text;
  for (int64_t part = docstart::FirstPart; part <= docstart::MostPart; part *= 2) {
    if (!docstart::Read(Source, part, text))
      break;
    CreateViewer();
    TSubFrameSet* set = ParentSet();
    FViewer->SetHostBase(set ? set->Base : std::string());
    FViewer->LoadFileStart(Source, text);
    FWaitsForRest = true;
    if (FViewer->DocumentHeight() >= FViewer->PaintPanel()->height())
      break;
  }
  if (FWaitsForRest)
    MasterSet->WaitToLoad(this);
  return FWaitsForRest;
}

void TFrame::LoadRest()
{
  if (!FWaitsForRest)
    return;
  FWaitsForRest = false;
  if (!FViewer)
    return;
  // Where the reader has got to in the start stays where it is.
  const int32_t position = FViewer->ReadingPosition();
  try {
    LoadViewer(Source, Destination);
    if (position > 0)
      FViewer->SetReadingPosition(position);
  } catch (const std::exception&) {
    ShowError(Source);
  }
}

void TFrame::ShowError(const std::string& name)
{
  if (FFrameSet) {
    FFrameSet->hide();
    FFrameSet->deleteLater();
    FFrameSet = nullptr;
  }
  CreateViewer();
  std::string page = ErrorPage(name);
  FViewer->LoadFromChars(page.data(), int32_t(page.size()));
  if (FrameHistory.empty())
    AddFirstEntry(0);
}

void TFrame::ReloadFiles(int32_t position)
{
  FUnloaded = false;
  FWaitsForRest = false; // the whole document is read below
  if (FFrameSet) {
    FFrameSet->ReloadFiles(-1);
    return;
  }
  if (!FViewer || Source.empty())
    return;
  try {
    LoadViewer(Source, "");
    FViewer->SetReadingPosition(position < 0 ? FViewerPosition : position);
  } catch (const std::exception&) {
    ShowError(Source);
  }
}

void TFrame::UnloadFiles()
{
  FRefreshTimer.stop();
  FWaitsForRest = false; // a reload reads the whole document
  if (FViewer) {
    FViewerPosition = FViewer->ReadingPosition();
    // A document shown again from the history plays no background sound.
    FViewer->OnSoundRequest = nullptr;
    FViewer->Clear();
  }
  if (FFrameSet)
    FFrameSet->UnloadFiles();
  FUnloaded = true;
}

void TFrame::UpdateFrameList()
{
  if (!MasterSet)
    return;
  MasterSet->FrameList.push_back(this);
  if (!FrameName.empty())
    MasterSet->NamedFrames.emplace(strutil::UpperCase(FrameName), this);
  if (FFrameSet)
    FFrameSet->UpdateFrameList();
}

void TFrame::AddFirstEntry(int32_t position)
{
  FrameHistory.insert(FrameHistory.begin(), Source);
  FrameHistorySets.insert(FrameHistorySets.begin(), FFrameSet);
  FrameHistoryPos.insert(FrameHistoryPos.begin(),
                         frameviewer::PositionObj{position, NextHistorySeq()});
  FrameHistoryIndex = 0;
}

void TFrame::TrimForward(std::vector<TSubFrameSet*>& dropped)
{
  for (int i = 0; i < FrameHistoryIndex; ++i)
    if (FrameHistorySets[size_t(i)])
      dropped.push_back(FrameHistorySets[size_t(i)]);
  FrameHistory.erase(FrameHistory.begin(), FrameHistory.begin() + FrameHistoryIndex);
  FrameHistorySets.erase(FrameHistorySets.begin(), FrameHistorySets.begin() + FrameHistoryIndex);
  FrameHistoryPos.erase(FrameHistoryPos.begin(), FrameHistoryPos.begin() + FrameHistoryIndex);
  FrameHistoryIndex = 0;
}

void TFrame::ClearHistory()
{
  if (FrameHistory.empty())
    return;
  size_t k = size_t(FrameHistoryIndex);
  for (size_t i = 0; i < FrameHistorySets.size(); ++i)
    if (i != k && FrameHistorySets[i] && FrameHistorySets[i] != FFrameSet)
      FrameHistorySets[i]->deleteLater();
  FrameHistory = {FrameHistory[k]};
  FrameHistorySets = {FrameHistorySets[k]};
  FrameHistoryPos = {FrameHistoryPos[k]};
  FrameHistoryIndex = 0;
}

bool TFrame::Refers(const TSubFrameSet* set) const
{
  return FFrameSet == set ||
         std::find(FrameHistorySets.begin(), FrameHistorySets.end(), set) != FrameHistorySets.end();
}

void TFrame::frBumpHistory(const std::string& newName, int32_t newPos, int32_t oldPos)
{
  if (!FrameHistory.empty())
    FrameHistoryPos[size_t(FrameHistoryIndex)].Pos = oldPos;
  if (MasterSet && MasterSet->FrameViewer)
    MasterSet->FrameViewer->TrimFrameHistories(this);
  AddFirstEntry(newPos);
  FrameHistory.front() = newName;
  if (MasterSet) {
    MasterSet->RebuildFrameList();
    if (MasterSet->FrameViewer)
      MasterSet->FrameViewer->HistoryChanged();
  }
}

void TFrame::DetachNestedSet()
{
  if (!FFrameSet)
    return;
  FFrameSet->UnloadFiles();
  FFrameSet->hide();
  FFrameSet = nullptr; // it lives on in the history
}

void TFrame::frLoadFromFile(const std::string& source, const std::string& destination, bool reload,
                            bool history)
{
  FRefreshTimer.stop();
  std::string name = source.empty() ? Source : source;
  bool same = strutil::SameText(name, Source);
  TFrameViewer* fv = MasterSet->FrameViewer;
  bool isFrameSet = false;
  if (!same) {
    try {
      isFrameSet = IsFrameSetFile(name);
    } catch (const std::exception&) {
      throw EViewerError(msg::CantLoad + name);
    }
  }
  // Another document needs no rest of this one; the same one is worked on whole.
  if (same)
    LoadRest();
  FWaitsForRest = false;
  std::string oldName = Source;
  Source = name;
  if (!same && (FFrameSet || isFrameSet)) {
    int32_t oldPos = FViewer ? FViewer->ReadingPosition() : 0;
    TSubFrameSet* oldSet = FFrameSet;
    DetachNestedSet();
    if (isFrameSet) {
      DropViewer();
      LoadNestedSet(name);
    } else
      LoadViewer(name, destination);
    (void)oldSet;
    fv->AddVisitedLink(name + destination);
    frBumpHistory(name, FViewer ? FViewer->ReadingPosition() : 0, oldPos);
    return;
  }
  if (!same) {
    CreateViewer();
    int32_t oldPos = FViewer->ReadingPosition();
    std::string oldTitle = FViewer->PageTitle();
    LoadViewer(name, destination);
    fv->AddVisitedLink(name + destination);
    if (!history)
      return;
    if (MasterSet->OpenViewers.size() > 1)
      frBumpHistory(name, FViewer->ReadingPosition(), oldPos);
    else {
      MasterSet->CopyFromViewer(*FViewer);
      fv->BumpSingleViewer(oldName, oldTitle, oldPos);
    }
    return;
  }
  if (!FViewer)
    return;
  int32_t oldPos = FViewer->ReadingPosition();
  if (reload) {
    LoadViewer(name, "");
    FViewer->SetReadingPosition(oldPos);
  } else {
    FViewer->ScrollToAnchor(destination);
    if (history && FViewer->ReadingPosition() != oldPos)
      frBumpHistory(name, FViewer->ReadingPosition(), oldPos);
  }
  fv->AddVisitedLink(name + destination);
}

void TFrame::frSetHistoryIndex(int j)
{
  if (j == FrameHistoryIndex || j < 0 || j >= int(FrameHistory.size()))
    return;
  LoadRest();
  FRefreshTimer.stop();
  if (FViewer)
    FrameHistoryPos[size_t(FrameHistoryIndex)].Pos = FViewer->ReadingPosition();
  if (FFrameSet)
    DetachNestedSet();
  if (TSubFrameSet* set = FrameHistorySets[size_t(j)]) {
    FFrameSet = set;
    PlaceNestedSet();
    set->show();
    set->ReloadFiles(-1);
    DropViewer();
  } else {
    CreateViewer();
    const std::string& name = FrameHistory[size_t(j)];
    if (!strutil::SameText(name, Source) || FViewer->LoadedFileName().empty())
      LoadViewer(name, "");
    FViewer->SetReadingPosition(FrameHistoryPos[size_t(j)].Pos);
  }
  Source = FrameHistory[size_t(j)];
  FrameHistoryIndex = j;
  MasterSet->RebuildFrameList();
  MasterSet->FrameViewer->HistoryChanged();
  MasterSet->FrameViewer->CheckVisitedLinks();
}

void TFrame::RefreshRequest(int delay, const std::string& url)
{
  TFrameViewer* fv = MasterSet ? MasterSet->FrameViewer : nullptr;
  if (!fv || !(fv->fvOptions() & fvMetaRefresh))
    return;
  // Resolved by the frame's own viewer: while a new document loads, the frame viewer's current
  // document may still be the one being left.
  FRefreshURL = url.empty() ? Source : FViewer ? FViewer->ResolveSourceName(url) : url;
  if (!QFileInfo::exists(QString::fromStdString(FRefreshURL)))
    return;
  FRefreshTimer.start(std::max(delay, 1) * 1000);
}

void TFrame::RefreshTimer()
{
  if (FUnloaded || !MasterSet || !MasterSet->FrameViewer)
    return;
  TFrameViewer* fv = MasterSet->FrameViewer;
  if (MasterSet->OpenViewers.size() > 1)
    frLoadFromFile(FRefreshURL, "", true, true);
  else if (strutil::SameText(FRefreshURL, MasterSet->DocumentName))
    fv->Reload();
  else
    fv->RefreshTopLevel(FRefreshURL);
}
