#include "html/viewer/FVBase.h"

#include "html/images/ImageResources.h"
#include "html/model/SectionList.h"
#include "html/viewer/Frame.h"
#include "html/viewer/FrameSet.h"

#include <algorithm>
#include <cstdlib>

TFVBase::TFVBase(QWidget* parent)
    : TFrameViewerBase(parent), FDefBackground(clBtnFace), FDefFontColor(clBtnText),
      FDefHotSpotColor(clBlue), FDefOverLinkColor(clBlue), FDefVisitedLinkColor(clPurple),
      FCursor(ViewerCursor(crTextBeam))
{
}

std::vector<THTMLViewer*> TFVBase::Viewers() const
{
  return FCurFrameSet ? FCurFrameSet->OpenViewers : std::vector<THTMLViewer*>();
}

void TFVBase::ForEachViewer(const std::function<void(THTMLViewer&)>& f) const
{
  for (THTMLViewer* v : Viewers())
    f(*v);
}

void TFVBase::SetViewImages(bool value)
{
  if (Processing() || value == FViewImages)
    return;
  FViewImages = value;
  ForEachViewer([value](THTMLViewer& v) { v.SetViewImages(value); });
}

void TFVBase::SetImageCacheCount(int value)
{
  if (Processing())
    return;
  FImageCacheCount = std::clamp(value, 0, 20);
  ForEachViewer([this](THTMLViewer& v) { v.SetImageCacheCount(FImageCacheCount); });
}

void TFVBase::SetNoSelect(bool value)
{
  FNoSelect = value;
  ForEachViewer([value](THTMLViewer& v) { v.SetNoSelect(value); });
}

void TFVBase::SetDefBackground(TColor value)
{
  FDefBackground = value;
  ForEachViewer([value](THTMLViewer& v) { v.SetDefBackground(value); });
}

void TFVBase::SetDefFontName(const std::string& value)
{
  FDefFontName = value;
  ForEachViewer([&value](THTMLViewer& v) { v.SetDefFontName(value); });
}

void TFVBase::SetDefPreFontName(const std::string& value)
{
  FDefPreFontName = value;
  ForEachViewer([&value](THTMLViewer& v) { v.SetDefPreFontName(value); });
}

void TFVBase::SetDefFontSize(int value)
{
  FDefFontSize = std::max(value, 6);
  ForEachViewer([this](THTMLViewer& v) { v.SetDefFontSize(FDefFontSize); });
}

void TFVBase::SetDefFontColor(TColor value)
{
  FDefFontColor = value;
  ForEachViewer([value](THTMLViewer& v) { v.SetDefFontColor(value); });
}

void TFVBase::SetDefHotSpotColor(TColor value)
{
  FDefHotSpotColor = value;
  ForEachViewer([value](THTMLViewer& v) { v.SetDefHotSpotColor(value); });
}

void TFVBase::SetDefOverLinkColor(TColor value)
{
  FDefOverLinkColor = value;
  ForEachViewer([value](THTMLViewer& v) { v.SetDefOverLinkColor(value); });
}

void TFVBase::SetDefVisitedLinkColor(TColor value)
{
  FDefVisitedLinkColor = value;
  ForEachViewer([value](THTMLViewer& v) { v.SetDefVisitedLinkColor(value); });
}

void TFVBase::SetCursor(const QCursor& value)
{
  FCursor = value;
  ForEachViewer([&value](THTMLViewer& v) { v.SetCursor(value); });
}

void TFVBase::SetCharSet(int value)
{
  FCharSet = value;
  ForEachViewer([value](THTMLViewer& v) { v.SetCharSet(value); });
}

void TFVBase::SetPrintMargins(double left, double top, double right, double bottom)
{
  FMargins[0] = left;
  FMargins[1] = top;
  FMargins[2] = right;
  FMargins[3] = bottom;
  ForEachViewer([&](THTMLViewer& v) {
    v.PrintMarginLeft = left;
    v.PrintMarginTop = top;
    v.PrintMarginRight = right;
    v.PrintMarginBottom = bottom;
  });
}

void TFVBase::SetServerRoot(const std::string& value)
{
  std::string root = value;
  while (!root.empty() && uint8_t(root.back()) <= ' ')
    root.pop_back();
  root.erase(0, root.find_first_not_of(" \t\r\n"));
  while (!root.empty() && (root.back() == '\\' || root.back() == '/'))
    root.pop_back();
  FServerRoot = root;
  ForEachViewer([this](THTMLViewer& v) { v.SetServerRoot(FServerRoot); });
}

namespace {

ThtmlViewerOptions HtOptionsOf(TFrameViewerOptions fv)
{
  ThtmlViewerOptions ht = 0;
  if (fv & fvOverLinksActive)
    ht |= htOverLinksActive;
  if (fv & fvNoLinkUnderline)
    ht |= htNoLinkUnderline;
  if (fv & fvPrintTableBackground)
    ht |= htPrintTableBackground;
  return ht;
}

} // namespace

void TFVBase::SetfvOptions(TFrameViewerOptions value)
{
  FOptions = value;
  ForEachViewer([value](THTMLViewer& v) { v.SethtOptions(HtOptionsOf(value)); });
}

THTMLViewer* TFVBase::FocusViewer() const
{
  if (!FCurFrameSet)
    return nullptr;
  const auto& open = FCurFrameSet->OpenViewers;
  if (open.size() == 1)
    return open.front();
  THTMLViewer* last = FCurFrameSet->LastViewer;
  return std::find(open.begin(), open.end(), last) != open.end() ? last : nullptr;
}

int32_t TFVBase::SelStart() const
{
  THTMLViewer* v = FocusViewer();
  return v ? v->SelStart() : 0;
}

void TFVBase::SetSelStart(int32_t value)
{
  if (THTMLViewer* v = FocusViewer())
    v->SetSelStart(value);
}

int32_t TFVBase::SelLength() const
{
  THTMLViewer* v = FocusViewer();
  return v ? v->SelLength() : 0;
}

void TFVBase::SetSelLength(int32_t value)
{
  if (THTMLViewer* v = FocusViewer())
    v->SetSelLength(value);
}

void TFVBase::Print(int32_t FromPage, int32_t ToPage)
{
  if (FCurFrameSet) // a frame showing only its document's start prints the whole of it
    FCurFrameSet->LoadWaiting();
  if (THTMLViewer* v = FocusViewer())
    v->Print(FromPage, ToPage);
}

void TFVBase::CopySelected()
{
  THTMLViewer* v = FocusViewer();
  if (!v || v->SelLength() == 0)
    return;
  constexpr int32_t MaxCopied = 31999;
  if (std::abs(v->SelLength()) > MaxCopied)
    throw EBufferTooSmall(msg::SelectionTooBig);
  v->CopySelected();
}

void TFVBase::SetFocus()
{
  THTMLViewer* v = FocusViewer();
  if (v && v->isVisible() && v->isEnabled())
    v->setFocus();
  else
    setFocus();
}

void TFVBase::Repaint()
{
  ForEachViewer([](THTMLViewer& v) { v.Repaint(); });
}

void TFVBase::ReportBusy(bool wasBusy)
{
  if (wasBusy != Processing() && OnProcessing)
    OnProcessing(this, Processing());
}

void TFVBase::SetBusy(bool value)
{
  bool was = Processing();
  FBusy = value;
  ReportBusy(was);
}

void TFVBase::ClearBusyList()
{
  bool was = Processing();
  FBusyViewers.clear();
  ReportBusy(was);
}

void TFVBase::ViewerProcessing(THTMLViewer* viewer, bool on)
{
  bool was = Processing();
  auto it = std::find(FBusyViewers.begin(), FBusyViewers.end(), viewer);
  if (on && it == FBusyViewers.end())
    FBusyViewers.push_back(viewer);
  else if (!on && it != FBusyViewers.end())
    FBusyViewers.erase(it);
  ReportBusy(was);
}

void TFVBase::ConfigureViewer(THTMLViewer& viewer, TFrame& frame)
{
  viewer.SetViewImages(FViewImages);
  viewer.SetImageCacheCount(FImageCacheCount);
  viewer.SetNoSelect(FNoSelect);
  viewer.SetDefBackground(FDefBackground);
  viewer.SetDefFontColor(FDefFontColor);
  viewer.SetDefHotSpotColor(FDefHotSpotColor);
  viewer.SetDefOverLinkColor(FDefOverLinkColor);
  viewer.SetDefVisitedLinkColor(FDefVisitedLinkColor);
  viewer.SetDefFontSize(FDefFontSize);
  viewer.SetDefFontName(FDefFontName);
  viewer.SetDefPreFontName(FDefPreFontName);
  viewer.SetCharSet(frame.CharSet);
  viewer.SethtOptions(HtOptionsOf(FOptions));
  viewer.SetCursor(FCursor);
  viewer.SetServerRoot(FServerRoot);
  viewer.PrintMarginLeft = FMargins[0];
  viewer.PrintMarginTop = FMargins[1];
  viewer.PrintMarginRight = FMargins[2];
  viewer.PrintMarginBottom = FMargins[3];
  viewer.SetMarginWidth(frame.FrameMarginWidth);
  viewer.SetMarginHeight(frame.FrameMarginHeight);
  if (frame.NoScroll)
    viewer.SetScrollBars(ssNone);
  TSubFrameSet* set = frame.ParentSet();
  if (!set || set->BorderWidth == 0)
    viewer.SetBorderStyle(htNone);
  viewer.InsideFrameViewer = true;
  viewer.SetHistoryMaxCount(0); // the frame viewer keeps the history
  ForwardEvents(viewer);
}

void TFVBase::ForwardEvents(THTMLViewer& viewer)
{
  viewer.OnImageRequest = [this](auto&&... a) {
    if (OnImageRequest)
      OnImageRequest(a...);
  };
  viewer.OnBitmapRequest = [this](auto&&... a) {
    if (OnBitmapRequest)
      OnBitmapRequest(a...);
  };
  viewer.OnScript = [this](auto&&... a) {
    if (OnScript)
      OnScript(a...);
  };
  viewer.OnImageClick = [this](auto&&... a) {
    if (OnImageClick)
      OnImageClick(a...);
  };
  viewer.OnImageOver = [this](auto&&... a) {
    if (OnImageOver)
      OnImageOver(a...);
  };
  viewer.OnObjectClick = [this](auto&&... a) {
    if (OnObjectClick)
      OnObjectClick(a...);
  };
  viewer.OnRightClick = [this](auto&&... a) {
    if (OnRightClick)
      OnRightClick(a...);
  };
  viewer.OnMouseDouble = [this](auto&&... a) {
    if (OnMouseDouble)
      OnMouseDouble(a...);
  };
  viewer.OnMouseDown = [this](auto&&... a) {
    if (OnMouseDown)
      OnMouseDown(a...);
  };
  viewer.OnMouseUp = [this](auto&&... a) {
    if (OnMouseUp)
      OnMouseUp(a...);
  };
  viewer.OnMouseMove = [this](auto&&... a) {
    if (OnMouseMove)
      OnMouseMove(a...);
  };
  viewer.OnInclude = [this](auto&&... a) {
    if (OnInclude)
      OnInclude(a...);
  };
  viewer.OnSoundRequest = [this](auto&&... a) {
    if (OnSoundRequest)
      OnSoundRequest(a...);
  };
  viewer.OnMeta = [this](auto&&... a) {
    if (OnMeta)
      OnMeta(a...);
  };
  viewer.OnPanelCreate = [this](auto&&... a) {
    if (OnPanelCreate)
      OnPanelCreate(a...);
  };
  viewer.OnPanelDestroy = [this](auto&&... a) {
    if (OnPanelDestroy)
      OnPanelDestroy(a...);
  };
  viewer.OnFormSubmit = [this](QObject* sender, const std::string& action,
                               const std::string& target, const std::string& encType,
                               const std::string& method, std::vector<std::string> results) {
    if (OnFormSubmit)
      OnFormSubmit(sender, action, target, encType, method, std::move(results));
  };
  viewer.OnPrintHeader = [this](auto&&... a) {
    if (OnPrintHeader)
      OnPrintHeader(a...);
  };
  viewer.OnPrintFooter = [this](auto&&... a) {
    if (OnPrintFooter)
      OnPrintFooter(a...);
  };
  THTMLViewer* v = &viewer;
  viewer.OnProcessing = [this, v](QObject*, bool on) { ViewerProcessing(v, on); };
}
