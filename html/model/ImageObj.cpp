#include "html/model/ImageObj.h"

#include "base/MulDiv.h"
#include "base/StringUtil.h"
#include "html/model/FontObj.h"
#include "html/model/SectionList.h"
#include "html/parser/symbols/AttributeList.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cstdlib>

namespace {
// Placeholders are drawn by the model until the image cache supplies its own pictures.
constexpr int32_t PlaceholderSize = 20;
constexpr int32_t AltIndent = 24;
} // namespace

int TImageObj::PlacementOf(const std::string& align)
{
  std::string a = strutil::UpperCase(align);
  if (a == "TOP")
    return plTop;
  if (a == "MIDDLE" || a == "ABSMIDDLE")
    return plMiddle;
  if (a == "LEFT")
    return plLeft;
  if (a == "RIGHT")
    return plRight;
  return plBottom;
}

TImageObj::TImageObj(TSectionList* list, TCell* cell, int32_t pos, const std::string& src)
    : SrcName(strutil::Trim(src)), Cell(cell), ParentList(list)
{
  ObjPos = pos;
}

TImageObj::TImageObj(TSectionList* list, TCell* cell, int32_t pos, const TAttributeList& attributes)
    : TImageObj(list, cell, pos, std::string())
{
  for (const auto& a : attributes) {
    switch (a->Sym) {
    case attrSRC: SrcName = strutil::Trim(a->Text); break;
    case attrALT: AltText = a->Text; break;
    case attrWIDTH:
      if (a->Text.find('%') != std::string::npos) {
        if (a->Num >= 1 && a->Num <= 100) {
          ReqWidth = a->Num;
          WidthIsPct = true;
        }
      } else {
        ReqWidth = std::max(a->Num, 0);
      }
      break;
    case attrHEIGHT: ReqHeight = std::max(a->Num, 1); break;
    case attrBORDER: BorderOff = a->Num == 0; break;
    case attrTRANSP: SeeThrough = true; break;
    case attrISMAP: ServerMap = true; break;
    case attrUSEMAP: {
      ClientMap = true;
      ClientMapName = strutil::UpperCase(strutil::Trim(a->Text));
      if (ClientMapName.size() > 1 && ClientMapName[0] == '#')
        ClientMapName.erase(0, 1);
      break;
    }
    case attrHSPACE: SideGap = std::min(std::abs(int64_t(a->Num)), int64_t(40)); break;
    case attrACTIVE: NoAnimate = true; break;
    case attrALIGN: Placement = PlacementOf(a->Text); break;
    default: break;
    }
  }
}

void TImageObj::Measure(TCanvas& canvas, int32_t availableWidth, const TFontObj* fontObj)
{
  if (Picture.isNull() && IsPlaceholder && ParentList && ParentList->ImagesOn && !SrcName.empty() &&
      !FRequested) {
    FRequested = true;
    std::string name = ParentList->ExpandName ? ParentList->ExpandName(SrcName) : SrcName;
    bool pending = false, fromCache = false;
    QImage mask;
    QImage pic = ParentList->RequestImage(name, pending, fromCache, mask);
    if (!pic.isNull()) {
      Picture = pic;
      PictureMask = mask;
      IsPlaceholder = false;
    } else {
      ParentList->AddPending(name, this);
    }
  }
  if (!SizeFixed)
    ComputeSize(canvas, availableWidth);
  Bordered = fontObj && fontObj->IsLink() && !BorderOff;
  BoxWidth = ImageWidth + (Bordered ? 2 : 0);
  BoxHeight = ImageHeight + (Bordered ? 2 : 0);
}

void TImageObj::ComputeSize(TCanvas& canvas, int32_t availableWidth)
{
  int32_t pw = IsPlaceholder ? PlaceholderSize : Picture.width();
  int32_t ph = IsPlaceholder ? PlaceholderSize : Picture.height();
  bool fixed = true;
  if (IsPlaceholder) {
    if (ReqWidth >= 0 && ReqHeight >= 0 && !WidthIsPct) {
      pw = ReqWidth;
      ph = ReqHeight;
    } else {
      fixed = false;
    }
  } else if (WidthIsPct) {
    ph = ReqHeight >= 0 ? ReqHeight : ph;
    pw = MulDiv(std::max(availableWidth, 0), ReqWidth, 100);
    fixed = false;
  } else if (ReqWidth >= 0 && ReqHeight >= 0) {
    pw = ReqWidth;
    ph = ReqHeight;
  } else if (ReqHeight >= 0) {
    pw = ph > 0 ? MulDiv(ReqHeight, pw, ph) : pw;
    ph = ReqHeight;
  } else if (ReqWidth >= 0) {
    ph = pw > 0 ? MulDiv(ReqWidth, ph, pw) : ph;
    pw = ReqWidth;
  }
  if (IsPlaceholder && !fixed) {
    const TFontMetrics& m = canvas.Metrics(QStringLiteral("Arial"), 8, false, false, 0);
    int32_t alt = m.TextWidth(AltText.data(), int(AltText.size()));
    pw = std::max(pw, alt + 2 + AltIndent);
    ph = std::max({ph, int32_t(24), int32_t(AltText.empty() ? 0 : m.Height)});
  }
  ImageWidth = std::max(pw, 0);
  ImageHeight = std::max(ph, 0);
  SizeFixed = fixed;
}

int32_t TImageObj::VerticalPlace(int32_t baselineY, int32_t lineTopY, int32_t descent,
                                 int32_t textHeight) const
{
  if (IsFloating())
    return FloatY;
  switch (Placement) {
  case plMiddle: return baselineY + descent - textHeight / 2 - BoxHeight / 2;
  case plBottom: return baselineY - BoxHeight;
  default: return lineTopY;
  }
}

void TImageObj::Paint(TCanvas& canvas, int32_t x, const TFontObj* fontObj, int32_t baselineY,
                      int32_t lineTopY, int32_t descent, int32_t textHeight)
{
  int32_t y = VerticalPlace(baselineY, lineTopY, descent, textHeight);
  PaintedX = x + (Bordered ? 1 : 0);
  PaintedY = y + (Bordered ? 1 : 0);
  int32_t scroll = ParentList ? ParentList->ScrollY : 0;
  QRect r(PaintedX, PaintedY - scroll, ImageWidth, ImageHeight);
  TColor linkColor = fontObj ? fontObj->FontCopy().Color : clBlack;
  if (!IsPlaceholder) {
    canvas.DrawImage(r, Picture);
  } else {
    canvas.FrameRect(r, clGray);
    if (!AltText.empty() && r.width() > AltIndent) {
      const TFontMetrics& m = canvas.Metrics(QStringLiteral("Arial"), 8, false, false, 0);
      canvas.TextRect(m, r.adjusted(1, 1, -1, -1), r.left() + AltIndent, r.top() + 2 + m.Ascent,
                      AltText.data(), int(AltText.size()), Bordered ? linkColor : clBlack);
    }
  }
  if (Bordered)
    canvas.FrameRect(r.adjusted(-1, -1, 1, 1), linkColor);
}

std::unique_ptr<TFloatingObj> TImageObj::CloneForPrint(TSection* section) const
{
  (void)section;
  return std::make_unique<TImageObj>(*this);
}
