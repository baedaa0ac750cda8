#include "html/images/ImageRequest.h"

#include "html/images/GIFImage.h"
#include "html/images/ImageLoader.h"

namespace {

std::span<const uint8_t> Span(const QByteArray& bytes)
{
  return std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

bool HasGifExtension(const std::string& name)
{
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || name.size() - dot != 4)
    return false;
  std::string ext = ImageKey(name.substr(dot));
  return ext == ".GIF";
}

} // namespace

const QByteArray* PendingStream()
{
  static const QByteArray pending;
  return &pending;
}

std::unique_ptr<TGraphic> FlattenGif(std::unique_ptr<TGIFImage> gif, TTranspKind& K, QImage& Mask)
{
  if (gif->IsAnimated)
    return gif;
  auto bitmap = std::make_unique<TBitmap>(gif->FirstFrameBitmap());
  if (bitmap->Empty())
    return nullptr; // a screen without pixels shows as a missing image
  // The mask covers transparent pixels and what frame 1 leaves of the screen uncovered.
  if (QImage own = gif->FirstFrameMask(); !own.isNull()) {
    Mask = own;
    K = tkGifColor;
  } else if (K == tkCorner) {
    Mask = CreateMask(bitmap->Image, false, 0);
  }
  return bitmap;
}

TGraphic* TImageRequester::RequestImage(const std::string& S, TTranspKind& K, bool& FromCache,
                                        bool& Pending, QImage& Mask)
{
  Mask = QImage();
  FromCache = Pending = false;
  if (S.empty())
    return nullptr;
  const std::string key = ImageKey(S);
  TStringBitmapList& cache = BitmapList();
  int index;
  if (cache.Find(key, index)) {
    FromCache = true;
    return FromCacheEntry(index, K, Mask);
  }
  std::unique_ptr<TGraphic> graphic;
  if (OnBitmapRequest)
    graphic = FromBitmapHandler(S, K, Mask);
  else if (OnImageRequest)
    graphic = FromImageHandler(S, K, Pending, Mask);
  else
    graphic = FromFile(S, K, Mask);
  if (!graphic)
    return nullptr;
  TGraphic* result = graphic.get();
  auto item = std::make_unique<TBitmapItem>(std::move(graphic), Mask.isNull() ? tkNone : K, Mask);
  if (!cache.AddImage(key, std::move(item))) {
    // A handler asked for the same name meanwhile: keep the entry that is there.
    cache.Find(key, index);
    FromCache = true;
    return FromCacheEntry(index, K, Mask);
  }
  return result;
}

TGraphic* TImageRequester::FromCacheEntry(int index, TTranspKind& K, QImage& Mask)
{
  TStringBitmapList& cache = BitmapList();
  TGraphic* graphic = cache.GetImage(index);
  TBitmapItem* item = cache.Items(index);
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  if (!bitmap)
    return graphic; // an animated GIF draws its own transparency
  if (item->TranspKind == tkGifColor || item->TranspKind == tkPngColor) {
    K = item->TranspKind;
  } else if (K == tkCorner) {
    if (item->MaskBitmap.isNull())
      item->MaskBitmap = CreateMask(bitmap->Image, false, 0);
    if (!item->MaskBitmap.isNull())
      item->TranspKind = tkCorner;
  }
  Mask = item->MaskBitmap;
  return graphic;
}

std::unique_ptr<TGraphic> TImageRequester::FromBitmapHandler(const std::string& S, TTranspKind& K,
                                                             QImage& Mask)
{
  QImage bitmap;
  TColor color = -1;
  OnBitmapRequest(Sender, S, bitmap, color);
  if (bitmap.isNull())
    return nullptr;
  if (color != -1) {
    Mask = CreateMask(bitmap, true, color);
    K = tkGifColor;
  } else if (K == tkCorner) {
    Mask = CreateMask(bitmap, false, 0);
  }
  return std::make_unique<TBitmap>(bitmap);
}

std::unique_ptr<TGraphic> TImageRequester::FromImageHandler(const std::string& S, TTranspKind& K,
                                                            bool& Pending, QImage& Mask)
{
  const QByteArray* stream = nullptr;
  OnImageRequest(Sender, S, stream);
  if (stream == PendingStream()) {
    Pending = true;
    return nullptr;
  }
  if (!stream || stream->isEmpty())
    return nullptr;
  const TImageType type = DetectImageType(Span(*stream));
  if (type == itGif87 || type == itGif89) {
    bool nonAnimated = false;
    if (auto gif = TGIFImage::CreateGifFromStream(nonAnimated, Span(*stream)))
      return FlattenGif(std::move(gif), K, Mask);
  }
  QImage image = ReadImageStream(Span(*stream), K, Mask);
  if (image.isNull())
    return nullptr;
  return std::make_unique<TBitmap>(image);
}

std::unique_ptr<TGraphic> TImageRequester::FromFile(const std::string& S, TTranspKind& K,
                                                    QImage& Mask)
{
  if (HasGifExtension(S)) {
    bool nonAnimated = false;
    if (auto gif = TGIFImage::CreateGifFromFile(S, nonAnimated))
      return FlattenGif(std::move(gif), K, Mask);
  }
  QImage image = LoadImageAndMask(S, K, Mask);
  if (image.isNull())
    return nullptr;
  return std::make_unique<TBitmap>(image);
}

std::string TImageRequester::ExpandName(
    const std::string& SRC,
    const std::function<std::string(const std::string&)>& ownExpansion) const
{
  const bool hostHandles = OnBitmapRequest || OnImageRequest;
  if (!hostHandles)
    return ownExpansion ? ownExpansion(SRC) : SRC;
  std::string result = SRC;
  if (OnExpandName)
    OnExpandName(Sender, SRC, result);
  return result;
}
