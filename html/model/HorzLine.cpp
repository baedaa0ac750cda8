#include "html/model/HorzLine.h"

#include "base/StringUtil.h"
#include "html/model/Document.h"
#include "html/model/IndentManager.h"
#include "html/model/ParagraphSpace.h"
#include "html/model/SelTextCount.h"
#include "html/symbols/AttributeList.h"
#include "platform/Canvas.h"

THorzLine::THorzLine(TDocument* doc) : TSectionBase(doc)
{
}

THorzLine::THorzLine(TDocument* doc, const TAttributeList& attributes) : TSectionBase(doc)
{
  for (const auto& a : attributes) {
    switch (a->Sym) {
    case attrSIZE: SetSize(a->Num); break;
    case attrWIDTH: SetWidth(a->Num, a->Text.find('%') != std::string::npos); break;
    case attrALIGN: SetAlign(a->Text); break;
    case attrCOLOR: HasRuleColor = ParseColor(a->Text, RuleColor); break;
    case attrNOSHADE: NoShade = true; break;
    default: break;
    }
  }
}

THorzLine::THorzLine(TDocument* masterDoc, const THorzLine& source)
    : TSectionBase(masterDoc, source), RuleSize(source.RuleSize), RuleWidth(source.RuleWidth),
      RulePercent(source.RulePercent), RuleAlign(source.RuleAlign), RuleColor(source.RuleColor),
      HasRuleColor(source.HasRuleColor), NoShade(source.NoShade)
{
}

void THorzLine::SetSize(int32_t size)
{
  if (size >= 1 && size <= 20)
    RuleSize = size;
}

void THorzLine::SetWidth(int32_t number, bool percent)
{
  if (number <= 0)
    return;
  if (!percent) {
    RuleWidth = number;
    return;
  }
  RulePercent = true;
  if (number <= 100)
    RuleWidth = number;
}

void THorzLine::SetAlign(const std::string& align)
{
  std::string a = strutil::LowerCase(align);
  RuleAlign = a == "left" ? paLeft : a == "right" ? paRight : paCenter;
}

std::unique_ptr<TSectionBase> THorzLine::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<THorzLine>(masterDoc, *this);
}

void THorzLine::CopySelection(ClipBuffer& clip)
{
  clip.AddText("\r\n", 2);
}

void THorzLine::Attached()
{
  FlowHeight = ScaledHeight(Doc, 20) + RuleSize - 2;
}

int32_t THorzLine::Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                          int32_t& pos)
{
  Attached();
  FLaidY = Y;
  FLeftInset = indent.LeftMargin(Y) - indent.LeftEdge;
  FRightInset = indent.RightMargin(Y) - indent.RightEdge;
  return TSectionBase::Layout(canvas, Y, indent, maxWidth, pos);
}

void THorzLine::Margins(const IndentManager& indent, int32_t Y, int32_t& L, int32_t& R) const
{
  if (Y == FLaidY) {
    L = indent.LeftEdge + FLeftInset;
    R = indent.RightEdge + FRightInset;
    return;
  }
  L = indent.LeftMargin(Y);
  R = indent.RightMargin(Y);
}

void THorzLine::Extent(int32_t L, int32_t R, int32_t& x, int32_t& width) const
{
  if (RuleWidth < 0) {
    x = L + 10;
    width = R - 10 - x;
    return;
  }
  width = RulePercent ? (R - L) * RuleWidth / 100 : RuleWidth;
  x = RuleAlign == paLeft ? L : RuleAlign == paRight ? R - width : L + (R - L - width) / 2;
}

int32_t THorzLine::Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                         int32_t Y)
{
  (void)X;
  TopY = Y;
  int32_t result = Y + FlowHeight;

  const int32_t scroll = ctx.ScrollY;
  if (Y - scroll > ctx.Clip.bottom() || Y - scroll + FlowHeight < ctx.Clip.top())
    return result;
  if (canvas.Printing && ctx.PageBottom > 0 && Y >= ctx.PageBottom)
    return result;
  int32_t y = Y + (FlowHeight - RuleSize) / 2 - scroll;
  int32_t L = 0, R = 0, x = 0, w = 0;
  Margins(indent, Y, L, R);
  Extent(L, R, x, w);
  int32_t end = x + w;
  if (HasRuleColor) {
    canvas.FillRect(QRect(x, y, w, RuleSize), RuleColor | PaletteFlag);
    return result;
  }
  bool plain = NoShade || (canvas.Printing && canvas.NumColors <= 2);
  TColor page = Doc ? Doc->PageColor : clWhite;
  bool light = canvas.Printing || ColorToRGB(page & ~PaletteFlag) == clWhite;
  canvas.Line(x, y + RuleSize, x, y, plain ? clBlack : clBtnShadow);
  canvas.Line(x, y, end, y, plain ? clBlack : clBtnShadow);
  TColor lower = plain ? clBlack : light ? clSilver : clBtnHighlight;
  canvas.Line(end, y, end, y + RuleSize, lower);
  canvas.Line(end, y + RuleSize, x, y + RuleSize, lower);
  return result;
}
