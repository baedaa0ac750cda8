#pragma once
// The image objects the cache hands out: a plain bitmap, or an animated GIF (GIFImage.h).
// Callers tell them apart with dynamic_cast.
#include <QImage>

class TGraphic {
public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = default;
  TGraphic& operator=(const TGraphic&) = default;
  virtual ~TGraphic() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const = 0;
};

// A still picture. Indexed8 images carry their palette in the colour table.
class TBitmap : public TGraphic {
public:
  TBitmap() = default;
  explicit TBitmap(QImage image) : Image(std::move(image)) {}

  int Width() const override { return Image.width(); }
  int Height() const override { return Image.height(); }
  bool Empty() const override { return Image.isNull(); }

  QImage Image;
};
