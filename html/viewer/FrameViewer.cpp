#include "html/viewer/FrameViewer.h"

#include "base/CodePage.h"
#include "base/StringUtil.h"
#include "html/images/ImageResources.h"
#include "html/model/FontObj.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "html/viewer/Frame.h"
#include "html/viewer/FrameSet.h"
#include "html/viewer/SourceName.h"

#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <unordered_map>

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

bool IsTextName(const std::string& name)
{
  return strutil::LowerCase(strutil::ExtractFileExt(name)) == ".txt";
}

} // namespace viewerutil

void ConfigureMainViewer(TFrameViewer& viewer)
{
  viewer.SetCursor(ViewerCursor(crTextBeam));
  viewer.SetNoSelect(false);
  viewer.SetPrintMargins(2.0, 2.0, 2.0, 2.0);
  viewer.SetDefBackground(clWhite);
  viewer.SetDefFontName("Times New Roman");
  viewer.SetDefPreFontName("Courier New");
  viewer.SetDefOverLinkColor(clRed);
  viewer.SetHistoryMaxCount(50);
  viewer.SetfvOptions(fvOverLinksActive | fvNoLinkUnderline | fvMetaRefresh);
  viewer.SetViewImages(true);
}

namespace {

// Clears the busy flag however the work ends.
struct TBusyScope {
  std::function<void(bool)> Set;
  explicit TBusyScope(std::function<void(bool)> set) : Set(std::move(set)) { Set(true); }
  ~TBusyScope() { Set(false); }
};

} // namespace

TFrameViewer::TFrameViewer(QWidget* parent) : TFVBase(parent)
{
  resize(150, 150);
  setFocusPolicy(Qt::NoFocus);
  FCurFrameSet = NewSet();
  FCurFrameSet->SetBevel(2);
  FCurFrameSet->show();
  // The viewer that takes the focus becomes the one printing and copying act on.
  QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!FCurFrameSet || !now)
      return;
    for (THTMLViewer* v : FCurFrameSet->OpenViewers)
      if (v == now || v->isAncestorOf(now))
        FCurFrameSet->LastViewer = v;
  });
}

TFrameViewer::~TFrameViewer()
{
  OnProcessing = nullptr;
  OnHistoryChange = nullptr;
  OnSoundRequest = nullptr;
  // The sets go while the lists their frames leave are still here.
  const QObjectList children = this->children();
  for (QObject* child : children)
    if (auto* set = dynamic_cast<TFrameSet*>(child))
      delete set;
  FCurFrameSet = nullptr;
}

TFrameSet* TFrameViewer::NewSet()
{
  auto* set = new TFrameSet(this, this);
  set->setGeometry(rect());
  set->hide();
  return set;
}

void TFrameViewer::resizeEvent(QResizeEvent* event)
{
  TFVBase::resizeEvent(event);
  if (FCurFrameSet)
    FCurFrameSet->setGeometry(rect());
}

bool TFrameViewer::RequestEvents() const
{
  return OnStringsRequest || OnStreamRequest || OnBufferRequest || OnFileRequest;
}

bool TFrameViewer::FramesWaiting() const
{
  return FCurFrameSet->Waiting();
}

void TFrameViewer::LoadWaitingFrames()
{
  FCurFrameSet->LoadWaiting();
}

const std::string& TFrameViewer::DocumentName() const
{
  return FCurFrameSet->DocumentName;
}

const std::string& TFrameViewer::DocumentTitle() const
{
  return FCurFrameSet->PageTitle;
}

bool TFrameViewer::ShowsImage() const
{
  const auto& open = FCurFrameSet->OpenViewers;
  return open.size() == 1 && open.front()->DocumentKind() == dkImage;
}

QString TFrameViewer::DocumentText() const
{
  // The text of the top-level paragraphs of every frame, one line each.
  QString all;
  for (THTMLViewer* viewer : FCurFrameSet->OpenViewers) {
    std::string text;
    for (const auto& item : *viewer->SectionList())
      if (auto* section = dynamic_cast<const TSection*>(item.get())) {
        if (!text.empty() || !all.isEmpty())
          text += '\n';
        for (char c : section->Chars)
          if (!placeholder::IsObject(c))
            text += c == placeholder::NoBreakSpace ? ' ' : c;
      }
    // Each frame's text is in the charset of its own document.
    all += codepage::Decode(text.data(), int(text.size()),
                            viewer->SectionList()->Document().TextCharset());
  }
  return all;
}

// ---- top-level loading ------------------------------------------------------------------------

void TFrameViewer::LoadFromFile(const std::string& FileName)
{
  if (Processing())
    return;
  std::string file, anchor;
  viewerutil::SplitAnchor(FileName, file, anchor);
  QFileInfo info(QString::fromStdString(file));
  if (file.empty() || !info.isFile())
    throw EViewerError(msg::CantLocateFile + FileName);
  // Frames and links are found relative to the full name of the document.
  std::string full = info.absoluteFilePath().toStdString();
  LoadFromFileInternal(FileName.find('#') == std::string::npos ? full : full + "#" + anchor);
}

void TFrameViewer::LoadImageFile(const std::string& FileName)
{
  if (viewerutil::IsImageName(FileName))
    LoadFromFile(FileName);
}

int32_t TFrameViewer::SingleViewerPosition(TFrameSet* set) const
{
  return set->OpenViewers.size() == 1 ? set->OpenViewers.front()->ReadingPosition() : 0;
}

void TFrameViewer::ShowSet(TFrameSet* set)
{
  TFrameSet* old = FCurFrameSet;
  setUpdatesEnabled(false);
  FCurFrameSet = set;
  set->setGeometry(rect());
  set->show();
  set->raise();
  if (old && old != set)
    old->hide();
  setUpdatesEnabled(true);
  update();
}

void TFrameViewer::LoadFromFileInternal(const std::string& name)
{
  TBusyScope busy([this](bool on) { SetBusy(on); });
  std::string file, anchor;
  viewerutil::SplitAnchor(name, file, anchor);
  ClearBusyList();
  if (OnSoundRequest)
    OnSoundRequest(this, "", 0, true);
  TFrameSet* old = FCurFrameSet;
  int32_t oldPos = SingleViewerPosition(old);
  if (!strutil::SameText(file, old->DocumentName)) {
    TFrameSet* set = NewSet();
    try {
      set->LoadFromFile(name);
    } catch (...) {
      Discard(set);
      throw;
    }
    old->UnloadFiles();
    ShowSet(set);
    BumpHistory(old, oldPos);
  } else {
    setUpdatesEnabled(false);
    old->LoadFromFile(name);
    setUpdatesEnabled(true);
    BumpHistory(old, oldPos);
  }
  AddVisitedLink(name);
  CheckVisitedLinks();
}

void TFrameViewer::RefreshTopLevel(const std::string& name)
{
  if (Processing() || !QFileInfo(QString::fromStdString(name.substr(0, name.find('#')))).isFile())
    return;
  LoadFromFileInternal(name);
}

void TFrameViewer::Reload()
{
  if (Processing())
    return;
  TBusyScope busy([this](bool on) { SetBusy(on); });
  ClearBusyList();
  FCurFrameSet->UnloadFiles();
  FCurFrameSet->ReloadFiles(-1);
  CheckVisitedLinks();
}

// ---- history ----------------------------------------------------------------------------------

void TFrameViewer::HistoryChanged()
{
  if (OnHistoryChange)
    OnHistoryChange(this);
}

bool TFrameViewer::Referenced(const TFrameSet* set) const
{
  if (set == FCurFrameSet)
    return true;
  return std::any_of(FHistory.begin(), FHistory.end(),
                     [set](const THistoryEntry& e) { return e.Set == set; });
}

void TFrameViewer::FreeUnreferenced(TFrameSet* set)
{
  if (set && !Referenced(set))
    Discard(set);
}

void TFrameViewer::Discard(QWidget* set)
{
  // Later, not now: the link click that led here may still be running in one of its viewers.
  set->hide();
  set->deleteLater();
}

void TFrameViewer::BumpHistory(TFrameSet* left, int32_t leftPos)
{
  TFrameSet* now = FCurFrameSet;
  if (FHistoryMaxCount <= 0 || now->DocumentName.empty()) {
    if (left != now)
      Discard(left);
    return;
  }
  if (FHistory.empty() && left != now) {
    Discard(left);
    left = nullptr;
  }
  RecordTopEntry(left ? THistoryEntry{left->DocumentName, left, left->PageTitle, leftPos}
                      : THistoryEntry{});
}

void TFrameViewer::BumpSingleViewer(const std::string& oldName, const std::string& oldTitle,
                                    int32_t oldPos)
{
  if (FHistoryMaxCount > 0)
    RecordTopEntry({oldName, FCurFrameSet, oldTitle, oldPos});
}

void TFrameViewer::RecordTopEntry(const THistoryEntry& left)
{
  TFrameSet* now = FCurFrameSet;
  if (left.Set) {
    if (FHistory.empty())
      FHistory.push_back(left);
    else
      FHistory[size_t(FHistoryIndex)] = left;
  }
  std::vector<TFrameSet*> dropped;
  for (int i = 0; i < FHistoryIndex; ++i)
    dropped.push_back(FHistory[size_t(i)].Set);
  FHistory.erase(FHistory.begin(), FHistory.begin() + FHistoryIndex);
  for (TFrameSet* set : dropped)
    FreeUnreferenced(set);
  FHistoryIndex = 0;
  FHistory.insert(FHistory.begin(), {now->DocumentName, now, now->PageTitle, 0});
  if (int(FHistory.size()) > FHistoryMaxCount) {
    TFrameSet* set = FHistory[size_t(FHistoryMaxCount)].Set;
    FHistory.erase(FHistory.begin() + FHistoryMaxCount);
    FreeUnreferenced(set);
  }
  HistoryChanged();
}

void TFrameViewer::TrimFrameHistories(TFrame*)
{
  std::vector<TSubFrameSet*> dropped;
  for (TFrame* frame : FCurFrameSet->FrameList)
    frame->TrimForward(dropped);
  for (TSubFrameSet* set : dropped) {
    bool used = std::any_of(FCurFrameSet->FrameList.begin(), FCurFrameSet->FrameList.end(),
                            [set](TFrame* f) { return f->Refers(set); });
    if (!used)
      Discard(set);
  }
}

void TFrameViewer::SetHistoryIndex(int index)
{
  if (index == FHistoryIndex || index < 0 || index >= int(FHistory.size()) || Processing())
    return;
  TFrameSet* cur = FCurFrameSet;
  if (!cur->DocumentName.empty()) {
    FHistory[size_t(FHistoryIndex)].Title = cur->PageTitle;
    FHistory[size_t(FHistoryIndex)].Pos = SingleViewerPosition(cur);
  }
  const THistoryEntry& entry = FHistory[size_t(index)];
  if (entry.Set != cur) {
    TFrameSet* set = entry.Set;
    set->setGeometry(rect());
    set->ReloadFiles(set->OpenViewers.size() == 1 ? entry.Pos : -1);
    cur->UnloadFiles();
    ShowSet(set);
  } else {
    if (!strutil::SameText(entry.Name, cur->DocumentName) && cur->OpenViewers.size() == 1) {
      // An entry of the same single-viewer set that showed another document.
      cur->LoadFromFile(entry.Name);
    }
    if (cur->OpenViewers.size() == 1)
      cur->OpenViewers.front()->SetReadingPosition(entry.Pos);
  }
  FHistoryIndex = index;
  HistoryChanged();
  CheckVisitedLinks();
}

void TFrameViewer::StepBack()
{
  TFrame* best = nullptr;
  for (TFrame* f : FCurFrameSet->FrameList)
    if (f->FrameHistoryIndex <= int(f->FrameHistory.size()) - 2 &&
        (!best || f->FrameHistoryPos[size_t(f->FrameHistoryIndex)].Seq >
                      best->FrameHistoryPos[size_t(best->FrameHistoryIndex)].Seq))
      best = f;
  if (best) {
    if (!Processing())
      best->frSetHistoryIndex(best->FrameHistoryIndex + 1);
  } else
    SetHistoryIndex(FHistoryIndex + 1);
  if (OnSoundRequest)
    OnSoundRequest(this, "", 0, true);
}

void TFrameViewer::StepForward()
{
  TFrame* best = nullptr;
  for (TFrame* f : FCurFrameSet->FrameList)
    if (f->FrameHistoryIndex > 0 &&
        (!best || f->FrameHistoryPos[size_t(f->FrameHistoryIndex) - 1].Seq <
                      best->FrameHistoryPos[size_t(best->FrameHistoryIndex) - 1].Seq))
      best = f;
  if (best) {
    if (!Processing())
      best->frSetHistoryIndex(best->FrameHistoryIndex - 1);
  } else
    SetHistoryIndex(FHistoryIndex - 1);
  if (OnSoundRequest)
    OnSoundRequest(this, "", 0, true);
}

bool TFrameViewer::BackButtonEnabled() const
{
  if (int(FHistory.size()) - 2 >= FHistoryIndex)
    return true;
  return std::any_of(FCurFrameSet->FrameList.begin(), FCurFrameSet->FrameList.end(), [](TFrame* f) {
    return f->FrameHistoryIndex <= int(f->FrameHistory.size()) - 2;
  });
}

bool TFrameViewer::FwdButtonEnabled() const
{
  if (FHistoryIndex > 0)
    return true;
  return std::any_of(FCurFrameSet->FrameList.begin(), FCurFrameSet->FrameList.end(),
                     [](TFrame* f) { return f->FrameHistoryIndex > 0; });
}

void TFrameViewer::ClearHistory()
{
  bool removed = FHistory.size() > 1;
  for (const THistoryEntry& e : FHistory)
    if (e.Set != FCurFrameSet)
      Discard(e.Set);
  FHistory.clear();
  FHistoryIndex = 0;
  for (TFrame* f : FCurFrameSet->FrameList) {
    removed = removed || f->FrameHistory.size() > 1;
    f->ClearHistory();
  }
  if (removed)
    HistoryChanged();
}

void TFrameViewer::SetHistoryMaxCount(int value)
{
  if (value < 0 || value == FHistoryMaxCount)
    return;
  ClearHistory();
  FHistoryMaxCount = value;
}

void TFrameViewer::SetVisitedMaxCount(int value)
{
  value = std::max(value, 0);
  FVisited.SetMaxCount(value);
  if (value == 0)
    for (THTMLViewer* v : FCurFrameSet->OpenViewers) {
      for (TFontObj* link : v->LinkStarts())
        link->MarkVisited(false);
      v->update();
    }
}

void TFrameViewer::SetfvOptions(TFrameViewerOptions value)
{
  TFVBase::SetfvOptions(value);
  if (FCurFrameSet && (value & fvNoBorder))
    FCurFrameSet->SetBevel(0);
}

// ---- visited links ----------------------------------------------------------------------------

void TFrameViewer::AddVisitedLink(const std::string& url)
{
  if (FVisited.MaxCount() > 0)
    FVisited.Add(url);
}

std::string TFrameViewer::VisitedName(THTMLViewer& viewer, const std::string& url) const
{
  if (!url.empty() && url[0] == '#')
    return viewer.LoadedFileName() + url;
  if (RequestEvents())
    return url;
  return viewer.ResolveSourceName(url);
}

void TFrameViewer::CheckVisitedLinks()
{
  if (FVisited.Count() == 0)
    return;
  for (THTMLViewer* v : FCurFrameSet->OpenViewers) {
    // A document links to the same pages many times over, and resolving a name asks the file
    // system: each name is looked up once.
    std::unordered_map<std::string, bool> known;
    for (TFontObj* link : v->LinkStarts()) {
      const std::string& url = link->Link().Url;
      auto [it, added] = known.try_emplace(url, false);
      if (added)
        it->second = FVisited.Contains(VisitedName(*v, url));
      if (it->second)
        link->MarkVisited(true);
    }
    v->update();
  }
}

// ---- links ------------------------------------------------------------------------------------

TFrame* TFrameViewer::FrameOf(QObject* viewer) const
{
  auto* w = dynamic_cast<QWidget*>(viewer);
  return w ? dynamic_cast<TFrame*>(w->parentWidget()) : nullptr;
}

std::string TFrameViewer::TargetFor(THTMLViewer* viewer, const std::string& linkTarget) const
{
  if (!linkTarget.empty())
    return linkTarget;
  if (!viewer->BaseTarget().empty())
    return viewer->BaseTarget();
  // The base target of the enclosing sets, from the inside out.
  TFrame* frame = FrameOf(viewer);
  for (TSubFrameSet* set = frame ? frame->ParentSet() : nullptr; set;) {
    if (!set->BaseTarget.empty())
      return set->BaseTarget;
    set = set->OwnerFrame ? set->OwnerFrame->ParentSet() : set->ParentSet();
  }
  return {};
}

void TFrameViewer::HotSpotCovered(THTMLViewer* viewer, const std::string& url)
{
  if (OnHotSpotTargetCovered)
    OnHotSpotTargetCovered(viewer, viewer->LinkTarget(), url);
}

void TFrameViewer::HotSpotClick(THTMLViewer* viewer, const std::string& url)
{
  if (Processing())
    return;
  FURL = url;
  FTarget = TargetFor(viewer, viewer->LinkTarget());
  bool handled = false;
  if (OnHotSpotTargetClick)
    OnHotSpotTargetClick(viewer, FTarget, FURL, handled);
  if (handled)
    return;
  std::string rest = url, anchor, query;
  if (size_t hash = rest.find('#'); hash != std::string::npos) {
    anchor = rest.substr(hash);
    rest.erase(hash);
  }
  if (size_t q = rest.find('?'); q != std::string::npos) {
    query = rest.substr(q);
    rest.erase(q);
  }
  std::string file = rest;
  if (!RequestEvents() && !file.empty())
    file = viewer->ResolveSourceName(file);
  TFrame* frame = nullptr;
  bool top = false;
  TFrame* own = FrameOf(viewer);
  std::string upper = strutil::UpperCase(FTarget);
  if (FTarget.empty() || upper == "_SELF")
    frame = own;
  else if (auto it = FCurFrameSet->NamedFrames.find(upper); it != FCurFrameSet->NamedFrames.end())
    frame = it->second;
  else if (upper == "_TOP")
    top = true;
  else if (upper == "_PARENT") {
    TSubFrameSet* set = own ? own->ParentSet() : nullptr;
    while (set && !set->OwnerFrame && set != FCurFrameSet)
      set = set->ParentSet();
    frame = set ? set->OwnerFrame : nullptr;
    top = !frame;
  } else {
    if (OnBlankWindowRequest) {
      AddVisitedLink(file + query + anchor);
      CheckVisitedLinks();
      OnBlankWindowRequest(viewer, FTarget, FURL);
    }
    return;
  }
  if (!frame && !top)
    return;
  TBusyScope busy([this](bool on) { SetBusy(on); });
  if (frame && FCurFrameSet->OpenViewers.size() == 1 && !file.empty() &&
      !strutil::SameText(file, FCurFrameSet->DocumentName))
    top = true; // a plain document is replaced by the new one
  if (top) {
    LoadFromFileInternal((file.empty() ? FCurFrameSet->DocumentName : file) + anchor);
  } else
    frame->frLoadFromFile(file, anchor, false, true);
  if (!query.empty())
    AddVisitedLink(file + query + anchor);
  CheckVisitedLinks();
}

void TFrameViewer::ConfigureViewer(THTMLViewer& viewer, TFrame& frame)
{
  TFVBase::ConfigureViewer(viewer, frame);
  THTMLViewer* v = &viewer;
  viewer.OnHotSpotClick = [this, v](QObject*, const std::string& url, bool& handled) {
    handled = true;
    HotSpotClick(v, url);
  };
  viewer.OnHotSpotCovered = [this, v](QObject*, const std::string& url) { HotSpotCovered(v, url); };
}

std::string TFrameViewer::ResolveSourceName(const std::string& Name) const
{
  if (THTMLViewer* v = FocusViewer())
    return v->ResolveSourceName(Name);
  sourcename::TResolveContext context;
  context.ServerRoot = ServerRoot();
  context.LoadedFileName = FCurFrameSet->DocumentName;
  return sourcename::Resolve(Name, context);
}

bool TFrameViewer::RequestDocument(const std::string& name, TDocSource& doc)
{
  doc = TDocSource();
  doc.FileName = name;
  if (OnStringsRequest) {
    std::vector<std::string>* strings = nullptr;
    OnStringsRequest(this, name, strings);
    if (strings) {
      doc.Kind = TDocSource::dsStrings;
      doc.Strings = strings;
      return true;
    }
  }
  if (OnStreamRequest) {
    std::istream* stream = nullptr;
    OnStreamRequest(this, name, stream);
    if (stream) {
      doc.Kind = TDocSource::dsStream;
      doc.Stream = stream;
      return true;
    }
  }
  if (OnBufferRequest) {
    const char* buffer = nullptr;
    int32_t size = 0;
    OnBufferRequest(this, name, buffer, size);
    if (buffer) {
      doc.Kind = TDocSource::dsBuffer;
      doc.Buffer = buffer;
      doc.BuffSize = std::max(size, int32_t(0));
      return true;
    }
  }
  if (OnFileRequest) {
    std::string newName;
    OnFileRequest(this, name, newName);
    if (!newName.empty())
      doc.FileName = newName;
    return true;
  }
  return false;
}
