#pragma once
// An inline or floating image of a text section (from IMG or an image form control).
#include "html/model/FloatingObj.h"

#include <QImage>
#include <memory>
#include <string>

class TAttributeList;
class TCell;
class TFontObj;
class TFormControlObj;
class TGIFImage;
class TGraphic;
class TDocument;
class QRect;

// One use of a cache entry: counted while the holder lives, released when it goes.
class TCacheUse {
public:
  TCacheUse() = default;
  TCacheUse(const TCacheUse& source);
  TCacheUse& operator=(const TCacheUse&) = delete;
  ~TCacheUse();
  // Takes over the use that a successful request has already counted.
  void Adopt(const std::string& key);
  const std::string& Key() const { return FKey; }

private:
  std::string FKey;
};

// An animated picture owned by one image; copies (for printing) get their own frames.
class TOwnedGif {
public:
  TOwnedGif() = default;
  TOwnedGif(const TOwnedGif& source);
  TOwnedGif& operator=(const TOwnedGif&) = delete;
  ~TOwnedGif();
  void Reset(std::unique_ptr<TGIFImage> gif);
  TGIFImage* Get() const { return FGif.get(); }

private:
  std::unique_ptr<TGIFImage> FGif;
};

class TImageObj : public TFloatingObj {
public:
  TImageObj(TDocument* doc, TCell* cell, int32_t pos, const TAttributeList& attributes);
  // An image with only a source name (image form controls, tests, fuzzing).
  TImageObj(TDocument* doc, TCell* cell, int32_t pos, const std::string& src);
  TImageObj(const TImageObj& source) = default;
  ~TImageObj() override;

  std::string SrcName;
  std::string AltText;
  int32_t ReqWidth = -1;
  bool WidthIsPct = false;
  int32_t ReqHeight = -1;
  bool BorderOff = false;
  bool SeeThrough = false;
  bool ServerMap = false;
  bool ClientMap = false;
  std::string ClientMapName;
  bool NoAnimate = false;

  QImage Picture;     // the still picture, or the pending or missing placeholder
  QImage PictureMask; // white where transparent; null when opaque
  bool IsPlaceholder = true;
  bool SizeFixed = false;
  bool Bordered = false;
  int32_t PaintedX = 0;
  int32_t PaintedY = 0;
  TCell* Cell = nullptr;
  TFormControlObj* FormControl = nullptr;
  TDocument* Doc = nullptr;

  // Size for a line of availableWidth; fontObj is the font at the image's position.
  void Measure(TCanvas& canvas, int32_t availableWidth, const TFontObj* fontObj);
  // Draws at x; baselineY and lineTopY (document y) place it against its line, scrollY is the
  // document y at the top of the view.
  void Paint(TCanvas& canvas, int32_t x, const TFontObj* fontObj, int32_t baselineY,
             int32_t lineTopY, int32_t descent, int32_t textHeight, int32_t scrollY);
  std::unique_ptr<TFloatingObj> CloneForPrint(TSection* section) const override;
  const char* KindName() const override { return "image"; }

  // The animated picture this image shows, or null.
  TGIFImage* Animation() const { return FGif.Get(); }
  // Forgets the picture so that the next layout asks for it again (a pending image arrived).
  void Refetch();

  // Applies an ALIGN value ("TOP", "MIDDLE"...) as images read it.
  static TPlacement PlacementOf(const std::string& align);
  // Top of the image when drawn against a line with that baseline.
  int32_t VerticalPlace(int32_t baselineY, int32_t lineTopY, int32_t descent,
                        int32_t textHeight) const;

  int32_t ImageWidth = 0; // without the link border
  int32_t ImageHeight = 0;

private:
  bool FRequested = false;
  TCacheUse FCacheUse;
  TOwnedGif FGif;
  QImage FMasked; // Picture with its masked pixels clear, for drawing transparently

  void Fetch();
  void ShowPlaceholder(const QImage& picture, const QImage& mask);
  void TakeGraphic(TGraphic* graphic, const std::string& name, bool transparent,
                   const QImage& mask);
  void ComputeSize(TCanvas& canvas, int32_t availableWidth);
  void PaintPicture(TCanvas& canvas, const QRect& r);
};
