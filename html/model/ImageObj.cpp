#include "html/model/ImageObj.h"

#include "base/MulDiv.h"
#include "base/StringUtil.h"
#include "html/images/BitmapList.h"
#include "html/images/GIFImage.h"
#include "html/images/ImageLoader.h"
#include "html/images/ImageResources.h"
#include "html/model/Document.h"
#include "html/model/FontObj.h"
#include "html/symbols/AttributeList.h"
#include "platform/Canvas.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {
constexpr int32_t AltIndent = 24;
constexpr int32_t PlaceholderInset = 4;
constexpr int32_t PlaceholderMinimum = 24;
} // namespace

TCacheUse::TCacheUse(const TCacheUse& source) : FKey(source.FKey)
{
  if (!FKey.empty())
    BitmapList().IncUsage(FKey);
}

TCacheUse::~TCacheUse()
{
  if (!FKey.empty())
    BitmapList().DecUsage(FKey);
}

void TCacheUse::Adopt(const std::string& key)
{
  if (!FKey.empty())
    BitmapList().DecUsage(FKey);
  FKey = key;
}

TOwnedGif::TOwnedGif(const TOwnedGif& source)
    : FGif(source.FGif ? std::make_unique<TGIFImage>(*source.FGif) : nullptr)
{
}

TOwnedGif::~TOwnedGif() = default;

void TOwnedGif::Reset(std::unique_ptr<TGIFImage> gif)
{
  FGif = std::move(gif);
}

TPlacement TImageObj::PlacementOf(const std::string& align)
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

TImageObj::TImageObj(TDocument* doc, TCell* cell, int32_t pos, const std::string& src)
    : SrcName(strutil::Trim(src)), Cell(cell), Doc(doc)
{
  ObjPos = pos;
}

TImageObj::TImageObj(TDocument* doc, TCell* cell, int32_t pos, const TAttributeList& attributes)
    : TImageObj(doc, cell, pos, std::string())
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

TImageObj::~TImageObj()
{
  if (!Doc)
    return;
  auto& anims = Doc->Animations;
  anims.erase(std::remove(anims.begin(), anims.end(), this), anims.end());
  auto& pending = Doc->PendingImages;
  pending.erase(std::remove_if(pending.begin(), pending.end(),
                               [this](const TPendingImage& p) { return p.Obj == this; }),
                pending.end());
  if (Doc->HoverImage == this)
    Doc->HoverImage = nullptr;
}

void TImageObj::Measure(TCanvas& canvas, int32_t availableWidth, const TFontObj* fontObj)
{
  Fetch();
  if (!SizeFixed)
    ComputeSize(canvas, availableWidth);
  Bordered = fontObj && fontObj->IsLink() && !BorderOff;
  BoxWidth = ImageWidth + (Bordered ? 2 : 0);
  BoxHeight = ImageHeight + (Bordered ? 2 : 0);
}

void TImageObj::Refetch()
{
  FRequested = false;
  SizeFixed = false;
}

void TImageObj::Fetch()
{
  if (FRequested || !IsPlaceholder || !Doc)
    return;
  if (!Doc->ImagesOn) {
    // Asked for again once images are switched on.
    ShowPlaceholder(PendingBitmap(), QImage());
    return;
  }
  FRequested = true;
  std::string name = Doc->ImageName(SrcName);
  if (Doc->IsPending(name)) {
    ShowPlaceholder(PendingBitmap(), QImage());
    Doc->AddPending(name, this);
    return;
  }
  TTranspKind kind = SeeThrough ? tkCorner : tkNone;
  bool fromCache = false, pending = false;
  QImage mask;
  TGraphic* g = name.empty() ? nullptr : Doc->RequestImage(name, kind, fromCache, pending, mask);
  if (g && !g->Empty()) {
    TakeGraphic(g, name, kind != tkNone && !mask.isNull(), mask);
  } else if (pending) {
    ShowPlaceholder(PendingBitmap(), QImage());
    Doc->AddPending(name, this);
  } else {
    if (g)
      BitmapList().DecUsage(ImageKey(name));
    ShowPlaceholder(MissingBitmap(), MissingMask());
    SeeThrough = true;
  }
}

void TImageObj::ShowPlaceholder(const QImage& picture, const QImage& mask)
{
  Picture = picture;
  PictureMask = mask;
  FMasked = mask.isNull() ? QImage() : ApplyMask(picture, mask);
  IsPlaceholder = true;
  SizeFixed = false;
}

void TImageObj::TakeGraphic(TGraphic* graphic, const std::string& name, bool transparent,
                            const QImage& mask)
{
  // Every successful request counts one use of the cache entry; it is given back when the
  // image goes.
  FCacheUse.Adopt(ImageKey(name));
  IsPlaceholder = false;
  SizeFixed = false;
  if (auto* gif = dynamic_cast<TGIFImage*>(graphic)) {
    // The cached GIF is shared: this image animates a copy of its own.
    FGif.Reset(std::make_unique<TGIFImage>(*gif));
    Picture = QImage();
    PictureMask = FMasked = QImage();
    if (NoAnimate)
      FGif.Get()->SetAnimating(false);
    else
      Doc->AddAnimation(this);
    return;
  }
  Picture = static_cast<TBitmap*>(graphic)->Image;
  PictureMask = transparent ? mask : QImage();
  if (transparent)
    SeeThrough = true;
  FMasked = PictureMask.isNull() ? QImage() : ApplyMask(Picture, PictureMask);
}

void TImageObj::ComputeSize(TCanvas& canvas, int32_t availableWidth)
{
  TGIFImage* gif = FGif.Get();
  int32_t pw = gif ? gif->Width() : Picture.width();
  int32_t ph = gif ? gif->Height() : Picture.height();
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
    ph = std::max({ph, PlaceholderMinimum, int32_t(AltText.empty() ? 0 : m.Height)});
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
                      int32_t lineTopY, int32_t descent, int32_t textHeight, int32_t scrollY)
{
  int32_t y = VerticalPlace(baselineY, lineTopY, descent, textHeight);
  PaintedX = x + (Bordered ? 1 : 0);
  PaintedY = y + (Bordered ? 1 : 0);
  QRect r(PaintedX, PaintedY - scrollY, ImageWidth, ImageHeight);
  TColor linkColor = fontObj ? fontObj->FontCopy().Color : clBlack;
  PaintPicture(canvas, r);
  if (IsPlaceholder) {
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

void TImageObj::PaintPicture(TCanvas& canvas, const QRect& r)
{
  QPainter* painter = canvas.Painter();
  if (!painter)
    return;
  if (IsPlaceholder) {
    if (r.width() >= PlaceholderMinimum && r.height() >= PlaceholderMinimum) {
      QPoint at = r.topLeft() + QPoint(PlaceholderInset, PlaceholderInset);
      painter->drawImage(at, FMasked.isNull() ? Picture : FMasked);
    }
    return;
  }
  if (TGIFImage* gif = FGif.Get()) {
    if (canvas.Printing) {
      QImage mask = gif->FirstFrameMask();
      QImage frame = gif->FirstFrameBitmap();
      canvas.DrawImage(r, mask.isNull() ? frame : ApplyMask(frame, mask));
    } else {
      gif->Shown = true;
      gif->SetVisible(true);
      gif->Paint(*painter, r.x(), r.y(), r.width(), r.height());
    }
    return;
  }
  canvas.DrawImage(r, FMasked.isNull() ? Picture : FMasked);
}

std::unique_ptr<TFloatingObj> TImageObj::CloneForPrint(TSection* section) const
{
  (void)section;
  return std::make_unique<TImageObj>(*this);
}
