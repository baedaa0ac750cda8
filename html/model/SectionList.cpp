#include "html/model/SectionList.h"

#include "base/StringUtil.h"
#include "html/model/FontObj.h"
#include "html/model/FormControlObj.h"
#include "html/model/ImageObj.h"
#include "html/model/PanelObj.h"
#include "html/model/SelTextCount.h"
#include "platform/Canvas.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <ostream>

TSectionList::TSectionList(QObject* viewer, QWidget* paintTarget)
    : TCell(this), Viewer(viewer), PaintTarget(paintTarget)
{
}

TSectionList::~TSectionList()
{
  // Items go first: panels unregister themselves from the lists below.
  TFreeList<TSectionBase>::Clear();
}

void TSectionList::Clear()
{
  BgImageName.clear();
  BgImage = QImage();
  BgMask = QImage();
  BgImageTried = false;
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
  for (const auto& c : AllFormControls)
    c->SetSizes(canvas);
  int32_t h = TCell::Layout(canvas, Y, width, scrollWidth, pos);
  DocumentHeight = h;
  ScrollWidth = scrollWidth;
  PositionCount = pos;
  UpdateControlVisibility();
  return h;
}

void TSectionList::Paint(TCanvas& canvas, const QRect& clip, int32_t clipWidth, int32_t X,
                         int32_t Y)
{
  DrawBottom = ScrollY + clip.bottom();
  TCell::Paint(canvas, clip, clipWidth, X, Y);
  if (ControlsMoved && !canvas.Printing) {
    UpdateControlVisibility();
    ControlsMoved = false;
  }
}

void TSectionList::UpdateControlVisibility()
{
  QWidget* focused = QApplication::focusWidget();
  auto hide = [focused](QWidget* w) {
    if (!w)
      return;
    if (focused && (w == focused || w->isAncestorOf(focused)))
      w->move(-4000, w->y()); // keeps the keyboard focus
    else
      w->hide();
  };
  for (const auto& c : AllFormControls)
    if (!c->Placed)
      hide(c->TheControl);
  for (TPanelObj* p : Panels)
    if (!p->Placed && p->Panel)
      hide(p->Panel);
}

bool TSectionList::LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
                          TUrlTarget& urlTarget)
{
  TFontObj* oldLink = HoverLink;
  TImageObj* oldImage = HoverImage;
  HoverLink = nullptr;
  HoverImage = nullptr;
  bool found = TCell::LinkAt(canvas, X, Y, formControl, urlTarget);
  if (HoverColoring && oldImage != HoverImage && PaintTarget)
    PaintTarget->update();
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
    if (PaintTarget)
      PaintTarget->update();
  }
  return found;
}

std::string TSectionList::CopySelection()
{
  if (SelStartPos >= SelEndPos)
    return std::string();
  ClipBuffer buffer;
  buffer.Charset = CharsetCode;
  Clip = &buffer;
  TCell::CopySelection();
  Clip = nullptr;
  buffer.Terminate();
  return buffer.Text();
}

QImage TSectionList::RequestImage(const std::string& name, bool& pending, bool& fromCache,
                                  QImage& mask)
{
  // Images are not fetched yet: every one is reported as pending and shows its placeholder.
  (void)name;
  mask = QImage();
  fromCache = false;
  pending = true;
  return QImage();
}

void TSectionList::AddPending(const std::string& name, TImageObj* obj)
{
  PendingImages.push_back(TPendingImage{strutil::UpperCase(strutil::Trim(name)), obj});
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
