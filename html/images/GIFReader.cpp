#include "html/images/GIFReader.h"

#include "html/images/Display.h"
#include "html/images/DitherEngine.h"
#include "html/images/GIFImage.h"
#include "html/images/LZWDecoder.h"

#include <algorithm>
#include <cstring>

namespace {

// Destination row of each row in file order.
std::vector<int> RowOrder(int height, bool interlaced)
{
  std::vector<int> rows;
  rows.reserve(size_t(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y)
      rows.push_back(y);
    return rows;
  }
  static constexpr int Start[4] = {0, 4, 2, 1};
  static constexpr int Step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = Start[pass]; y < height; y += Step[pass])
      rows.push_back(y);
  return rows;
}

// The frame's colours as opaque pixels; on 8-bit displays mapped to the shared palette, except
// for frames that are dithered afterwards.
void BuildPixelTable(const TGIFFrame& frame, QRgb* table)
{
  const uint8_t* rgb = frame.ColorTable();
  const TPalette& shared = SharedPalette();
  for (int i = 0; i < 256; ++i) {
    QRgb c = qRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    if (!shared.isEmpty() && !frame.DitherIt)
      c = shared[NearestPaletteIndex(shared, c)];
    table[i] = c;
  }
  if (frame.IsTransparent)
    table[frame.TransIndex] = 0;
}

QImage NewFrameImage(const TGIFFrame& frame)
{
  return QImage(frame.Width, frame.Height,
                frame.IsTransparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

// Indices in file order to pixels, row by row into their interlaced places.
void ExpandRows(const TGIFFrame& frame, const uint8_t* indices, const QRgb* table, QImage& image)
{
  const std::vector<int> rows = RowOrder(frame.Height, frame.Interlaced);
  const int w = frame.Width;
  for (int r = 0; r < frame.Height; ++r) {
    const uint8_t* src = indices + size_t(r) * size_t(w);
    QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(rows[size_t(r)]));
    for (int x = 0; x < w; ++x)
      dst[x] = table[src[x]];
  }
}

// Indices held in the last quarter of the image's own pixel block, expanded front to back: the
// pixel written at i never reaches an index not yet read.
void ExpandInPlace(size_t count, const QRgb* table, QImage& image)
{
  uchar* bits = image.bits();
  const uint8_t* indices = bits + 3 * count;
  for (size_t i = 0; i < count; ++i) {
    const QRgb c = table[indices[i]];
    std::memcpy(bits + 4 * i, &c, 4);
  }
}

// Monochrome mask, white (index 1) where the pixel has the transparent index.
QImage BuildMask(const TGIFFrame& frame, const uint8_t* indices)
{
  QImage mask(frame.Width, frame.Height, QImage::Format_Mono);
  if (mask.isNull())
    return mask;
  mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mask.fill(0);
  const std::vector<int> rows = RowOrder(frame.Height, frame.Interlaced);
  for (int r = 0; r < frame.Height; ++r) {
    const uint8_t* src = indices + size_t(r) * size_t(frame.Width);
    uchar* dst = mask.scanLine(rows[size_t(r)]);
    for (int x = 0; x < frame.Width; ++x)
      if (src[x] == frame.TransIndex)
        dst[x >> 3] |= uchar(0x80 >> (x & 7));
  }
  return mask;
}

} // namespace

TGIFReader::TGIFReader(TGIFImage& image, std::span<const uint8_t> data)
    : FImage(image), FPos(data.data()), FEnd(data.data() + data.size())
{
}

TGIFReader::~TGIFReader() = default;

int TGIFReader::Word()
{
  int lo = Byte();
  return lo | (Byte() << 8);
}

bool TGIFReader::Read()
{
  if (!ReadHeader())
    return false;
  bool trailer = false;
  while (Has(1)) {
    int block = Byte();
    if (block == 0x21) {
      if (!ReadExtension())
        break;
    } else if (block == 0x2C) {
      if (FImage.FrameCount() >= TGIFImage::MaxFrames || !ReadFrame())
        break;
    } else {
      trailer = block == 0x3B;
      break; // the trailer, or a byte that starts no block
    }
  }
  int32_t w = FDeclaredWidth, h = FDeclaredHeight;
  for (const auto& f : FImage.FFrames) {
    w = std::max(w, f->Left + f->Width);
    h = std::max(h, f->Top + f->Height);
  }
  FImage.ScreenWidth = w;
  FImage.ScreenHeight = h;
  // A complete file without an image block is a picture of its screen with nothing on it; one
  // cut short before its first image is no picture at all.
  return !FImage.FFrames.empty() || trailer;
}

bool TGIFReader::ReadHeader()
{
  if (!Has(3) || std::memcmp(FPos, "GIF", 3) != 0 || !Has(13))
    return false;
  FPos += 6;
  FDeclaredWidth = Word();
  FDeclaredHeight = Word();
  // An absurd logical screen is ignored: the frames alone then give the size.
  if (FDeclaredWidth > MaxDimension || FDeclaredHeight > MaxDimension ||
      int64_t(FDeclaredWidth) * FDeclaredHeight > MaxPixels)
    FDeclaredWidth = FDeclaredHeight = 0;
  int packed = Byte();
  FPos += 2; // background index, aspect ratio
  FImage.GlobalTable.fill(0);
  if (packed & 0x80) {
    size_t bytes = size_t(3) << ((packed & 7) + 1);
    if (!Has(bytes))
      return false;
    std::memcpy(FImage.GlobalTable.data(), FPos, bytes);
    FPos += bytes;
    FImage.GlobalBits = (packed & 7) + 1;
  }
  return true;
}

// Reads a chain of data sub-blocks up to its zero-length terminator; false when the data end
// first. The bytes are appended to out when given.
bool TGIFReader::ReadSubBlocks(std::vector<uint8_t>* out)
{
  while (Has(1)) {
    size_t n = size_t(Byte());
    if (n == 0)
      return true;
    if (!Has(n))
      return false;
    if (out)
      out->insert(out->end(), FPos, FPos + n);
    FPos += n;
  }
  return false;
}

bool TGIFReader::ReadSubBlocks(std::string& out)
{
  std::vector<uint8_t> bytes;
  bool complete = ReadSubBlocks(&bytes);
  out.append(bytes.begin(), bytes.end());
  return complete;
}

bool TGIFReader::ReadExtension()
{
  if (!Has(1))
    return false;
  int label = Byte();
  std::vector<uint8_t> block;
  switch (label) {
  case 0xFE: return ReadSubBlocks(FComment);
  case 0xF9:
    if (!ReadSubBlocks(&block))
      return false;
    std::memset(FControl, 0, sizeof FControl);
    FControl[0] = 4;
    // A control block without data leaves every setting at zero.
    if (!block.empty())
      std::memcpy(FControl + 1, block.data(), std::min<size_t>(block.size(), 4));
    FHasControl = true;
    return true;
  case 0xFF: {
    if (!Has(1))
      return false;
    size_t n = size_t(*FPos);
    bool loop = Has(n + 1) && n >= 11 && std::memcmp(FPos + 1, "NETSCAPE2.0", 11) == 0;
    if (!ReadSubBlocks(&block))
      return false;
    if (loop && block.size() >= n + 3 && block[n] == 1)
      FImage.LoopLimit = block[n + 1] | (block[n + 2] << 8);
    return true;
  }
  default:
    // Plain text and extensions that later writers added: their data are skipped, so the
    // images after them are still read.
    return ReadSubBlocks(nullptr);
  }
}

bool TGIFReader::ReadDescriptor(TGIFFrame& frame)
{
  if (!Has(9))
    return false;
  frame.Left = Word();
  frame.Top = Word();
  frame.Width = Word();
  frame.Height = Word();
  int packed = Byte();
  frame.Interlaced = (packed & 0x40) != 0;
  if (packed & 0x80) {
    frame.LocalBits = (packed & 7) + 1;
    size_t bytes = size_t(3) << frame.LocalBits;
    if (!Has(bytes))
      return false;
    frame.OwnsTable = true;
    std::memcpy(frame.LocalTable.data(), FPos, bytes);
    FPos += bytes;
  }
  // Caps on what the descriptor may ask for, so memory stays bounded.
  int64_t pixels = int64_t(frame.Width) * frame.Height;
  int64_t screen = int64_t(std::max(FImage.ScreenWidth, frame.Left + frame.Width)) *
                   std::max(FImage.ScreenHeight, frame.Top + frame.Height);
  return frame.Left + frame.Width <= MaxDimension && frame.Top + frame.Height <= MaxDimension &&
         FPixels + pixels <= MaxPixels && screen <= MaxPixels;
}

void TGIFReader::ApplyControl(TGIFFrame& frame) const
{
  if (!FHasControl)
    return;
  int packed = FControl[1];
  int code = (packed >> 2) & 7;
  frame.Disposal = uint8_t(code == 0 || code == 1 || code == 3 ? code : 2);
  frame.Delay = (FControl[2] | (FControl[3] << 8)) * 10;
  frame.IsTransparent = (packed & 1) != 0;
  frame.TransIndex = FControl[4];
}

bool TGIFReader::ReadFrame()
{
  auto frame = std::make_unique<TGIFFrame>();
  frame->Owner = &FImage;
  frame->DitherIt = FImage.DitherFrames;
  // The screen so far, for the size check of this frame.
  FImage.ScreenWidth = std::max(FImage.ScreenWidth, FDeclaredWidth);
  FImage.ScreenHeight = std::max(FImage.ScreenHeight, FDeclaredHeight);
  if (!ReadDescriptor(*frame) || !Has(1))
    return false;
  ApplyControl(*frame);
  int minCodeSize = Byte();
  FCodes.clear();
  const bool empty = frame->Width == 0 || frame->Height == 0;
  if (!ReadSubBlocks(FImage.ScanOnly || empty ? nullptr : &FCodes))
    return false;
  if (empty) {
    // An image without pixels is no frame; its control block is spent, a comment waits.
    std::memset(FControl, 0, sizeof FControl);
    FHasControl = false;
    return true;
  }
  if (!FImage.ScanOnly && !DecodePixels(*frame, minCodeSize))
    return false;
  FPixels += int64_t(frame->Width) * frame->Height;
  FImage.ScreenWidth = std::max(FImage.ScreenWidth, frame->Left + frame->Width);
  FImage.ScreenHeight = std::max(FImage.ScreenHeight, frame->Top + frame->Height);
  FImage.GlobalBits = std::max(FImage.GlobalBits, frame->LocalBits);
  FImage.HasTransparency = FImage.HasTransparency || frame->IsTransparent;
  frame->Comment = std::move(FComment);
  FComment.clear();
  std::memset(FControl, 0, sizeof FControl);
  FHasControl = false;
  FImage.FFrames.push_back(std::move(frame));
  return true;
}

bool TGIFReader::DecodePixels(TGIFFrame& frame, int minCodeSize)
{
  const uint8_t* table = frame.ColorTable();
  frame.TransRed = table[3 * frame.TransIndex];
  frame.TransGreen = table[3 * frame.TransIndex + 1];
  frame.TransBlue = table[3 * frame.TransIndex + 2];
  const size_t count = size_t(frame.Width) * size_t(frame.Height);
  QImage image = NewFrameImage(frame);
  if (image.isNull())
    return false;
  // Rows in file order are the image's rows unless interlaced: then decode aside.
  const bool inPlace = !frame.Interlaced && size_t(image.bytesPerLine()) == 4 * size_t(frame.Width);
  if (!inPlace)
    FIndices.resize(count);
  uint8_t* indices = inPlace ? image.bits() + 3 * count : FIndices.data();
  const size_t size = FCodes.size();
  FCodes.resize(size + TLZWDecoder::Padding, 0);
  if (!FDecoder)
    FDecoder = std::make_unique<TLZWDecoder>();
  const size_t done = FDecoder->Decode(minCodeSize, FCodes.data(), size, indices, count);
  std::memset(indices + done, 0, count - done); // pixels the data did not reach
  if (frame.IsTransparent) {
    frame.FrameMask = BuildMask(frame, indices);
    if (frame.FrameMask.isNull())
      return false;
  }
  QRgb pixels[256];
  BuildPixelTable(frame, pixels);
  if (inPlace)
    ExpandInPlace(count, pixels, image);
  else
    ExpandRows(frame, indices, pixels, image);
  frame.FrameBitmap = image;
  if (frame.DitherIt) {
    QImage reduced = ReduceForDisplay(frame.FrameBitmap.convertToFormat(QImage::Format_RGB32));
    if (!reduced.isNull())
      frame.FrameBitmap = reduced;
  }
  return true;
}
