#include "html/images/ImageLoader.h"

#include "html/images/BMPReader.h"
#include "html/images/Display.h"
#include "html/images/DitherEngine.h"
#include "html/images/GIFImage.h"
#include "html/images/JPEGReader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstring>
#include <string_view>

namespace {

QByteArray ReadFile(const std::string& fileName, qint64 limit = -1)
{
  QFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::ReadOnly))
    return QByteArray();
  return limit < 0 ? file.readAll() : file.read(limit);
}

std::span<const uint8_t> Span(const QByteArray& bytes)
{
  return std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

// Lower-cased extension with its dot, of at most 10 characters.
std::string Extension(const std::string& fileName)
{
  size_t dot = fileName.find_last_of('.');
  size_t slash = fileName.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return std::string();
  std::string ext = fileName.substr(dot, 10);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z')
      c = char(c - 'A' + 'a');
  return ext;
}

// Qt's own reader for one named format only, so that the magic bytes decide. A picture larger
// than our own readers accept is refused before it is drawn (SVG gives any size it likes).
QImage ReadWithQt(std::span<const uint8_t> data, const char* format)
{
  QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  const QSize size = reader.size();
  if (size.isValid() &&
      (size.width() > TBMPReader::MaxDimension || size.height() > TBMPReader::MaxDimension ||
       int64_t(size.width()) * size.height() > TBMPReader::MaxPixels))
    return QImage();
  QImage image = reader.read();
  // Copy out of the borrowed bytes for formats Qt may leave sharing them.
  return image.isNull() ? image : image.copy();
}

QImage DecodeBytes(std::span<const uint8_t> data, TImageType type)
{
  switch (type) {
  case itBitmap: return TBMPReader::Decode(data);
  case itPng: return ReadWithQt(data, "png");
  case itJpeg: return TJPEGReader::Decode(data);
  case itWebp: return ReadWithQt(data, "webp");
  case itSvg: return ReadWithQt(data, "svg");
  default: return QImage();
  }
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
  return text.substr(0, prefix.size()) == prefix;
}

// Past the XML declaration, processing instructions, comments and a document type (with its
// internal subset) to the first element; empty when the text ends first.
std::string_view FirstElement(std::string_view text)
{
  if (StartsWith(text, "\xEF\xBB\xBF"))
    text.remove_prefix(3);
  for (;;) {
    const size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
      return {};
    text.remove_prefix(start);
    size_t end;
    if (StartsWith(text, "<?"))
      end = text.find("?>");
    else if (StartsWith(text, "<!--"))
      end = text.find("-->");
    else if (StartsWith(text, "<!")) {
      const size_t bracket = text.find('['), close = text.find('>');
      end = bracket < close ? text.find("]>") : close;
    } else
      return text;
    if (end == std::string_view::npos)
      return {};
    text.remove_prefix(text.find('>', end) + 1);
  }
}

bool IsSvg(std::span<const uint8_t> data)
{
  const std::string_view head(reinterpret_cast<const char*>(data.data()),
                              std::min<size_t>(data.size(), 4096));
  const std::string_view element = FirstElement(head);
  for (std::string_view name : {"<svg", "<svg:svg"})
    if (StartsWith(element, name) && element.size() > name.size() &&
        std::string_view(" \t\r\n>/").find(element[name.size()]) != std::string_view::npos)
      return true;
  return false;
}

QRgb ToRgb(TColor color)
{
  return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

uint32_t BigEndian32(const uint8_t* p)
{
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

} // namespace

TImageType DetectImageType(std::span<const uint8_t> data)
{
  const auto starts = [&](const char* magic, size_t n) {
    return data.size() >= n && std::memcmp(data.data(), magic, n) == 0;
  };
  if (starts("GIF8", 4))
    return data.size() >= 5 && data[4] == '9' ? itGif89 : itGif87;
  if (starts("BM", 2))
    return itBitmap;
  if (starts("\x89PNG", 4))
    return itPng;
  if (starts("\xFF\xD8", 2))
    return itJpeg;
  if (starts("RIFF", 4) && data.size() >= 12 && std::memcmp(data.data() + 8, "WEBP", 4) == 0)
    return itWebp;
  if (IsSvg(data))
    return itSvg;
  return itUnknown;
}

TImageType DetectImageFileType(const std::string& fileName)
{
  // Enough for the SVG prolog too; the binary formats need 12 bytes.
  return DetectImageType(Span(ReadFile(fileName, 4096)));
}

QImage ReadImageFile(const std::string& fileName, bool convert)
{
  const QByteArray bytes = ReadFile(fileName);
  const TImageType type = DetectImageType(Span(bytes));
  QImage image;
  if (type == itGif87 || type == itGif89) {
    bool nonAnimated = false;
    if (auto gif = TGIFImage::CreateGifFromStream(nonAnimated, Span(bytes))) {
      image = gif->StillBitmap();
      if (nonAnimated)
        convert = false; // its frame was reduced by the decoder already
    }
  } else {
    image = DecodeBytes(Span(bytes), type);
  }
  if (convert && !image.isNull())
    image = ConvertForDisplay(image);
  return image;
}

QImage ReadImageStream(std::span<const uint8_t> stream, TTranspKind& K, QImage& Mask)
{
  Mask = QImage();
  if (stream.size() < 20)
    return QImage();
  const TImageType type = DetectImageType(stream);
  if (type == itUnknown || type == itGif87 || type == itGif89)
    return QImage();
  QImage image = DecodeBytes(stream, type);
  if (image.isNull())
    return image;
  TColor png = 0;
  if (type == itJpeg)
    K = tkNone; // JPEG has no transparency
  else if (type == itPng && PngTransparentColor(stream, png))
    K = tkPngColor;
  if (K == tkCorner || K == tkPngColor)
    Mask = CreateMask(image, K == tkPngColor, png);
  return ConvertForDisplay(image);
}

QImage LoadImageAndMask(const std::string& fileName, TTranspKind& K, QImage& Mask)
{
  Mask = QImage();
  if (!QFileInfo::exists(QString::fromStdString(fileName)))
    return QImage();
  const std::string ext = Extension(fileName);
  TColor color = 0;
  if (ext == ".gif" && GifTransparentColor(fileName, color))
    K = tkGifColor;
  else if (ext == ".png" && PngTransparentColor(fileName, color))
    K = tkPngColor;
  if (K == tkNone)
    return ReadImageFile(fileName, true);
  QImage plain = ReadImageFile(fileName, false);
  if (plain.isNull())
    return QImage();
  Mask = CreateMask(plain, K != tkCorner, color);
  if (Mask.isNull())
    return QImage();
  return ReadImageFile(fileName, true);
}

bool GifTransparentColor(std::span<const uint8_t> data, TColor& color)
{
  data = data.first(std::min<size_t>(data.size(), 790));
  if (data.size() < 13 || std::memcmp(data.data(), "GIF89a", 6) != 0)
    return false;
  const int packed = data[10];
  if (!(packed & 0x80))
    return false; // no global table to take the colour from
  const size_t tableSize = size_t(3) << ((packed & 7) + 1);
  const size_t p = 13 + tableSize;
  if (p + 7 > data.size() || data[p] != 0x21 || data[p + 1] != 0xF9 || !(data[p + 3] & 1))
    return false;
  if (3 * size_t(data[p + 6]) >= tableSize)
    return false;
  const size_t entry = 13 + 3 * size_t(data[p + 6]);
  color = RGBColor(data[entry], data[entry + 1], data[entry + 2]);
  return true;
}

bool GifTransparentColor(const std::string& fileName, TColor& color)
{
  return GifTransparentColor(Span(ReadFile(fileName, 790)), color);
}

bool PngTransparentColor(std::span<const uint8_t> data, TColor& color)
{
  if (data.size() < 8 || std::memcmp(data.data(), "\x89PNG\r\n\x1A\n", 8) != 0)
    return false;
  size_t pos = 8;
  int colourType = -1, depth = 8;
  std::span<const uint8_t> palette;
  while (pos + 8 <= data.size()) {
    const uint32_t length = BigEndian32(&data[pos]);
    const uint8_t* type = &data[pos + 4];
    pos += 8;
    if (length > data.size() - pos)
      return false;
    const std::span<const uint8_t> body = data.subspan(pos, length);
    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (length < 13)
        return false;
      depth = body[8];
      colourType = body[9];
      if (colourType != 2 && colourType != 3)
        return false;
    } else if (std::memcmp(type, "PLTE", 4) == 0) {
      palette = body;
    } else if (std::memcmp(type, "tRNS", 4) == 0) {
      if (colourType == 3) {
        const size_t index = size_t(length) - 1; // the last index the chunk covers
        if (length == 0 || 3 * index + 2 >= palette.size())
          return false;
        color = RGBColor(palette[3 * index], palette[3 * index + 1], palette[3 * index + 2]);
        return true;
      }
      if (colourType != 2 || length < 6)
        return false;
      // 16-bit samples: the low byte holds 8-bit values, the high byte is the coarse value.
      const int o = depth == 16 ? 0 : 1;
      color = RGBColor(body[size_t(o)], body[size_t(2 + o)], body[size_t(4 + o)]);
      return true;
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      return false;
    }
    pos += length;
    if (data.size() - pos < 4)
      return false;
    pos += 4; // CRC
  }
  return false;
}

bool PngTransparentColor(const std::string& fileName, TColor& color)
{
  return PngTransparentColor(Span(ReadFile(fileName)), color);
}

QImage CreateMask(const QImage& bitmap, bool useColor, TColor color)
{
  if (bitmap.isNull() || bitmap.width() == 0 || bitmap.height() == 0)
    return QImage();
  const QRgb key = useColor ? ToRgb(color & ~PaletteFlag) : bitmap.pixel(0, bitmap.height() - 1);
  QImage mask(bitmap.size(), QImage::Format_Mono);
  if (mask.isNull())
    return mask;
  mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mask.fill(0);
  const bool indexed = bitmap.format() == QImage::Format_Indexed8;
  const int keyIndex = indexed ? NearestPaletteIndex(bitmap.colorTable(), key) : -1;
  const QImage rgb = indexed ? bitmap : bitmap.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < bitmap.height(); ++y) {
    uchar* m = mask.scanLine(y);
    const uchar* src = rgb.constScanLine(y);
    for (int x = 0; x < bitmap.width(); ++x) {
      const bool hit = indexed
                           ? src[x] == keyIndex
                           : (reinterpret_cast<const QRgb*>(src)[x] & 0xFFFFFF) == (key & 0xFFFFFF);
      if (hit)
        m[x >> 3] |= uchar(0x80 >> (x & 7));
    }
  }
  return mask;
}

QImage ConvertForDisplay(const QImage& bitmap)
{
  if (bitmap.isNull())
    return bitmap;
  if (DisplayBits() <= 8) {
    const TPalette& target = DisplayBits() < 8 ? DefaultPalette() : SharedPalette();
    if (bitmap.format() == QImage::Format_Indexed8 && bitmap.colorTable() == target)
      return bitmap; // already on the display's palette
    return ReduceForDisplay(bitmap);
  }
  if (bitmap.depth() > 8)
    return bitmap;
  return bitmap.convertToFormat(QImage::Format_RGB32);
}

QImage ApplyMask(const QImage& bitmap, const QImage& mask)
{
  QImage out = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (mask.isNull() || mask.size() != out.size())
    return out;
  for (int y = 0; y < out.height(); ++y) {
    const uchar* m = mask.constScanLine(y);
    QRgb* p = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if (m[x >> 3] & (0x80 >> (x & 7)))
        p[x] = 0;
  }
  return out;
}

void DrawMaskedStretch(QPainter& canvas, const QImage& bitmap, const QImage& mask, int X, int Y,
                       int W, int H)
{
  if (bitmap.isNull() || !canvas.device() || canvas.device()->depth() <= 1)
    return;
  canvas.save();
  canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
  canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
  canvas.drawImage(QRect(X, Y, W, H), ApplyMask(bitmap, mask));
  canvas.restore();
}
