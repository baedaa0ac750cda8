#pragma once
// Format detection and the loaders behind the image cache. Loading never reports an error:
// a missing, unreadable or unknown image is a null QImage, and the caller shows a placeholder.
//
// Masks are monochrome images of the bitmap's size, index 1 (white) where transparent.
#include "base/Color.h"
#include "html/images/BitmapList.h"

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <span>
#include <string>

enum TImageType : int {
  itUnknown = 0,
  itBitmap = 1,
  itGif87 = 2,
  itGif89 = 3,
  itPng = 4,
  itJpeg = 5,
  // Pictures that pages on disk hold today, decoded through Qt's image plugins when installed.
  itWebp = 6,
  itSvg = 7,
};

// The type by the first bytes of the data. SVG is known by its first element, which may follow
// an XML declaration, comments and a document type.
TImageType DetectImageType(std::span<const uint8_t> data);
// The type by the first 11 bytes of a file; itUnknown when it cannot be read.
TImageType DetectImageFileType(const std::string& fileName);

// The picture in a file; with convert, adapted to the display (ConvertForDisplay).
QImage ReadImageFile(const std::string& fileName, bool convert);
// A bitmap, PNG, JPEG, WebP or SVG in memory (GIF data go through TGIFImage), with a corner mask
// when K is tkCorner on entry, or the colour of a PNG transparency chunk (K becomes tkPngColor).
QImage ReadImageStream(std::span<const uint8_t> stream, TTranspKind& K, QImage& Mask);
// A file with the mask its kind asks for: the GIF's or PNG's transparent colour, or the corner.
QImage LoadImageAndMask(const std::string& fileName, TTranspKind& K, QImage& Mask);

// The transparent colour of a GIF89a's first graphic control extension, when it directly
// follows the global colour table.
bool GifTransparentColor(const std::string& fileName, TColor& color);
bool GifTransparentColor(std::span<const uint8_t> data, TColor& color);
// The colour named by a PNG transparency chunk (truecolour and palette images only).
bool PngTransparentColor(const std::string& fileName, TColor& color);
bool PngTransparentColor(std::span<const uint8_t> data, TColor& color);

// Mask of the pixels of colour color (useColor) or of the lower-left pixel's colour.
QImage CreateMask(const QImage& bitmap, bool useColor, TColor color);
// On palette displays: reduced to the display's palette by the dither. On true-colour
// displays: true-colour images unchanged, palette and monochrome ones made 32-bit.
QImage ConvertForDisplay(const QImage& bitmap);

// An image of the pixels of bitmap that mask leaves opaque, for drawing with alpha.
QImage ApplyMask(const QImage& bitmap, const QImage& mask);
// Draws bitmap stretched to the rectangle with its masked pixels left out (transparent images
// on printers). Nothing is drawn on a monochrome device.
void DrawMaskedStretch(QPainter& canvas, const QImage& bitmap, const QImage& mask, int X, int Y,
                       int W, int H);
