#include "html/model/SectionList.h"

#include "html/model/FontObj.h"
#include "html/model/ImageObj.h"
#include "html/model/SelTextCount.h"
#include "platform/Canvas.h"

#include <ostream>

// The base cell only keeps the address; the document is built before anything reads it.
TSectionList::TSectionList(QObject* viewer, TControlHost* host)
    : TCell(&FDocument), FDocument(viewer, host)
{
}

TSectionList::~TSectionList()
{
  FDocument.StopAnimations();
  // Items go first: panels and images unregister themselves from the document's lists.
  TFreeList<TSectionBase>::Clear();
}

void TSectionList::Clear()
{
  FDocument.Clear();
  TFreeList<TSectionBase>::Clear();
  FDocument.Arena.Release();
  FDocument.ClearControls();
  DocumentHeight = ScrollWidth = PositionCount = 0;
}

void TSectionList::ApplyDefaults(const std::string& bodyFont, const std::string& fixedFont,
                                 int bodySize, TColor textColor, TColor linkColor,
                                 TColor visitedColor, TColor overColor, TColor pageColor,
                                 bool hoverColoring)
{
  TDocument& d = FDocument;
  d.BodyFontName = bodyFont.substr(0, 33);
  d.FixedFontName = fixedFont.substr(0, 33);
  d.BodyFontSize = bodySize;
  d.TextColor = textColor;
  d.LinkColor = linkColor;
  d.VisitedColor = visitedColor;
  d.OverColor = overColor;
  d.PageColor = pageColor;
  d.HoverColoring = hoverColoring;
  RefreshFonts();
}

void TSectionList::SetScroll(int32_t y)
{
  if (y == ScrollY)
    return;
  ScrollY = y;
  FDocument.Unplace();
}

int32_t TSectionList::Layout(TCanvas& canvas, int32_t Y, int32_t width, int32_t& scrollWidth,
                             int32_t& pos)
{
  FDocument.StopAnimations();
  FDocument.PageImage();
  FDocument.SizeControls(canvas);
  int32_t h = TCell::Layout(canvas, Y, width, scrollWidth, pos);
  DocumentHeight = h;
  ScrollWidth = scrollWidth;
  PositionCount = pos;
  FDocument.RestartAnimations(canvas.Printing || FDocument.PrintMode);
  FDocument.UpdateControlVisibility();
  return h;
}

void TSectionList::Paint(TCanvas& canvas, const QRect& clip, int32_t clipWidth, int32_t X,
                         int32_t Y)
{
  TPaintContext ctx;
  ctx.ScrollY = ScrollY;
  ctx.Clip = clip;
  Paint(canvas, ctx, clipWidth, X, Y);
}

void TSectionList::Paint(TCanvas& canvas, TPaintContext& ctx, int32_t clipWidth, int32_t X,
                         int32_t Y)
{
  ctx.DrawBottom = ctx.ScrollY + ctx.Clip.bottom();
  bool ticking = FDocument.PauseAnimations();
  FDocument.ForgetShown(ctx.Clip);
  TCell::Paint(canvas, ctx, clipWidth, X, Y);
  if (ticking)
    FDocument.ResumeAnimations();
  if (FDocument.ControlsMoved && !canvas.Printing) {
    FDocument.UpdateControlVisibility();
    FDocument.ControlsMoved = false;
  }
}

bool TSectionList::LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
                          TUrlTarget& urlTarget)
{
  TDocument& d = FDocument;
  TFontObj* oldLink = d.HoverLink;
  TImageObj* oldImage = d.HoverImage;
  TLinkHover hover;
  bool found = TCell::LinkAt(canvas, X, Y, formControl, urlTarget, hover);
  d.HoverLink = hover.Link;
  d.HoverImage = hover.Image;
  if (d.HoverColoring && oldImage != d.HoverImage && d.Host)
    d.Host->Invalidate(QRect());
  if (d.HoverColoring && oldLink != d.HoverLink) {
    // Every font object of the link changes colour, not only the one under the mouse.
    for (TFontObj* f : d.LinkStarts) {
      if (oldLink && f->Link() == oldLink->Link())
        f->MarkHover(false);
    }
    if (oldLink)
      oldLink->MarkHover(false);
    if (d.HoverLink)
      d.HoverLink->MarkHover(true);
    if (d.Host)
      d.Host->Invalidate(QRect());
  }
  return found;
}

std::string TSectionList::CopySelection()
{
  if (FDocument.SelStartPos >= FDocument.SelEndPos)
    return std::string();
  ClipBuffer buffer;
  buffer.Utf8 = FDocument.Utf8;
  TCell::CopySelection(buffer);
  buffer.Terminate();
  return buffer.Text();
}

void TSectionList::Dump(std::ostream& out, const std::string& title) const
{
  out << "SectionList h=" << DocumentHeight << " w=" << ScrollWidth << " pos=" << PositionCount
      << " title=\"" << title << "\"\n";
  DumpItems(out, 1);
}
