#pragma once
// How a document obtains its images: the cache first, then the host's handlers, then files.
//
// The section list keeps one TImageRequester, fills Sender and the handlers from its viewer,
// and calls RequestImage for every inline image and background:
//
//   TTranspKind kind = wantsCornerTransparency ? tkCorner : tkNone;
//   bool fromCache, pending;
//   QImage mask;
//   TGraphic* g = requester.RequestImage(fullName, kind, fromCache, pending, mask);
//
// g is owned by the cache. A TBitmap must be released with BitmapList().DecUsage(ImageKey(name))
// when the image is no longer shown; a TGIFImage that came from the cache is shared and is
// copied (TGIFImage copy constructor) by every inline image that animates it. pending means
// the host will supply the image later (show PendingBitmap and ask again). Null with neither
// means the image is missing (show MissingBitmap with MissingMask).
#include "base/Color.h"
#include "html/images/BitmapList.h"
#include "html/images/Graphic.h"

#include <QByteArray>
#include <QImage>
#include <functional>
#include <memory>
#include <string>

class QObject;

// The host supplies a bitmap; setting Color to a colour value masks that colour out.
using TGetBitmapEvent =
    std::function<void(QObject* Sender, const std::string& SRC, QImage& Bitmap, TColor& Color)>;
// The host supplies the bytes of an image, or PendingStream() when they are not there yet.
// The bytes stay the host's; they are decoded before the handler's caller returns.
using TGetImageEvent =
    std::function<void(QObject* Sender, const std::string& SRC, const QByteArray*& Stream)>;
// The host turns a source name of the page into the name to request.
using TExpandNameEvent =
    std::function<void(QObject* Sender, const std::string& SRC, std::string& Result)>;

// The one stream that means "not available yet".
const QByteArray* PendingStream();

class TImageRequester {
public:
  TGraphic* RequestImage(const std::string& S, TTranspKind& K, bool& FromCache, bool& Pending,
                         QImage& Mask);
  // The name to request for a source name: through OnExpandName when the host handles image
  // requests and has one, else through the viewer's own expansion.
  std::string ExpandName(const std::string& SRC,
                         const std::function<std::string(const std::string&)>& ownExpansion) const;

  QObject* Sender = nullptr;
  TGetBitmapEvent OnBitmapRequest;
  TGetImageEvent OnImageRequest;
  TExpandNameEvent OnExpandName;

private:
  TGraphic* FromCacheEntry(int index, TTranspKind& K, QImage& Mask);
  std::unique_ptr<TGraphic> FromBitmapHandler(const std::string& S, TTranspKind& K, QImage& Mask);
  std::unique_ptr<TGraphic> FromImageHandler(const std::string& S, TTranspKind& K, bool& Pending,
                                             QImage& Mask);
  std::unique_ptr<TGraphic> FromFile(const std::string& S, TTranspKind& K, QImage& Mask);
};

class TGIFImage;
// A decoded GIF as the cache keeps it: a still one becomes a plain bitmap with its mask, an
// animated one stays as it is: frame 1 on its logical screen. Null for a screen without pixels.
std::unique_ptr<TGraphic> FlattenGif(std::unique_ptr<TGIFImage> gif, TTranspKind& K, QImage& Mask);
