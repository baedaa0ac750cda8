#include "html/viewer/HTMLViewer.h"

#include "base/StringUtil.h"
#include "html/model/FontObj.h"
#include "html/model/SectionList.h"
#include "html/viewer/PaintPanel.h"
#include "html/viewer/SourceName.h"

// The viewer's links: following a link or an anchor, the visited list and the history.

// ---------------------------------------------------------------------------------------------
// Links, anchors, visited links and history

void THTMLViewer::ActivateLink()
{
  bool handled = false;
  if (OnHotSpotClick)
    OnHotSpotClick(this, FLinkURL, handled);
  if (handled)
    return;
  std::string url = FLinkURL;
  if (!url.empty() && url[0] == '#') {
    THistoryItem left = CurrentHistoryItem();
    if (ScrollToAnchor(url)) {
      RecordHistory(left);
      AddVisited(FLoadedFileName + url);
    }
    return;
  }
  std::string file, anchor;
  sourcename::SplitAnchor(url, file, anchor);
  std::string name = ResolveSourceName(file);
  if (name.empty())
    return;
  std::string ext = strutil::UpperCase(strutil::ExtractFileExt(name)).substr(0, 5);
  if (ext == ".BMP" || ext == ".GIF" || ext == ".JPG" || ext == ".JPEG" || ext == ".PNG") {
    LoadImageFile(name);
  } else if (ext == ".HTM" || ext == ".HTML") {
    std::string target = anchor.empty() ? name : name + "#" + anchor;
    if (name != FLoadedFileName) {
      LoadFromFile(target);
      AddVisited(target);
    } else {
      THistoryItem left = CurrentHistoryItem();
      if (ScrollToAnchor(anchor)) {
        RecordHistory(left);
        AddVisited(target);
      }
    }
  }
}

bool THTMLViewer::ScrollToAnchor(const std::string& Dest)
{
  std::string name = !Dest.empty() && Dest[0] == '#' ? Dest.substr(1) : Dest;
  if (name.empty())
    return false;
  std::string key = strutil::UpperCase(name);
  auto it = std::find_if(FAnchors.begin(), FAnchors.end(),
                         [&](const auto& entry) { return entry.first == key; });
  if (it == FAnchors.end() || !it->second)
    return false;
  ScrollTo(it->second->TopY, false);
  SetHScroll(0);
  FPaintPanel->update();
  AddVisited(FLoadedFileName + "#" + name);
  return true;
}

std::string THTMLViewer::FullLinkUrl(const std::string& url) const
{
  if (!url.empty() && url[0] == '#')
    return FLoadedFileName + url;
  return ResolveSourceName(url);
}

void THTMLViewer::AddVisited(const std::string& url)
{
  if (InsideFrameViewer || FVisited.MaxCount() <= 0)
    return;
  if (!FVisited.Add(url))
    return;
  bool marked = false;
  for (TFontObj* link : Doc().LinkStarts)
    if (strutil::SameText(FullLinkUrl(link->Link().Url), url)) {
      link->MarkVisited(true);
      marked = true;
    }
  if (marked)
    FPaintPanel->update();
}

void THTMLViewer::MarkVisitedLinks()
{
  if (InsideFrameViewer || FVisited.Count() == 0)
    return;
  for (TFontObj* link : Doc().LinkStarts)
    if (FVisited.Contains(FullLinkUrl(link->Link().Url)))
      link->MarkVisited(true);
}

void THTMLViewer::UnmarkVisitedLinks()
{
  for (TFontObj* link : Doc().LinkStarts)
    link->MarkVisited(false);
}

THistoryItem THTMLViewer::CurrentHistoryItem() const
{
  return THistoryItem{FLoadedFileName, FPageTitle, PositionObj{ReadingPosition(), FKind}};
}

void THTMLViewer::RecordHistory(const THistoryItem& left)
{
  if (FHistory.Record(left, CurrentHistoryItem()))
    HistoryChanged();
}

void THTMLViewer::ClearHistory()
{
  if (FHistory.Clear())
    HistoryChanged();
}

void THTMLViewer::SetHistoryIndex(int value)
{
  if (FProcessing || value == FHistory.Index() || value < 0 || value >= FHistory.Count())
    return;
  if (!FLoadedFileName.empty())
    FHistory.Items(FHistory.Index()) = CurrentHistoryItem();
  THistoryItem target = FHistory.Items(value);
  if (target.Name != FLoadedFileName || target.Position.FileType != FKind)
    LoadFileCore(target.Name, TDocKind(target.Position.FileType));
  SetReadingPosition(target.Position.Pos);
  FHistory.SetIndex(value);
  HistoryChanged();
}

void THTMLViewer::HistoryChanged()
{
  if (OnHistoryChange)
    OnHistoryChange(this);
}
