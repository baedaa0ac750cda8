#include "html/images/DitherEngine.h"

TFloydSteinbergEngine::TFloydSteinbergEngine(int width, TColorLookup& lookup)
    : TDitherEngine(width, lookup), FFast(dynamic_cast<TFastColorLookup*>(&lookup))
{
  for (TChannel& ch : FChannels)
    ch.Errors.assign(size_t(width) + 2, 0);
}

void TFloydSteinbergEngine::NextLine()
{
  for (TChannel& ch : FChannels) {
    ch.Errors[size_t(FPos)] = ch.BelowBehind;
    ch.Carried = ch.Below = ch.BelowBehind = 0;
  }
  Direction = -Direction;
  Column = Direction > 0 ? 0 : Width - 1;
  FPos = Direction > 0 ? 0 : Width + 1;
}

namespace {

void DitherRow(TFloydSteinbergEngine& engine, const QRgb* src, uchar* dst, int width)
{
  int r, g, b;
  for (int x = engine.Column; x >= 0 && x < width; x = engine.Column) {
    const QRgb p = src[x];
    dst[x] = uchar(engine.Dither(qRed(p), qGreen(p), qBlue(p), r, g, b));
  }
}

} // namespace

QImage ReduceColors(const QImage& bitmap, TPaletteChoice palette, TDitherChoice)
{
  const TPalette& entries =
      palette == TPaletteChoice::pcShared ? SharedPaletteEntries() : DefaultPalette();
  QImage result(bitmap.size(), QImage::Format_Indexed8);
  if (result.isNull())
    return result;
  result.setColorTable(entries);
  result.fill(0);
  const QImage source = bitmap.convertToFormat(QImage::Format_RGB32);
  TFastColorLookup lookup(entries);
  if (lookup.Colors == 0 || source.isNull())
    return result;
  TFloydSteinbergEngine engine(source.width(), lookup);
  for (int y = 0; y < source.height(); ++y) {
    DitherRow(engine, reinterpret_cast<const QRgb*>(source.constScanLine(y)), result.scanLine(y),
              source.width());
    engine.NextLine();
  }
  return result;
}

QImage ReduceForDisplay(const QImage& bitmap)
{
  if (bitmap.isNull() || bitmap.width() == 0 || bitmap.height() == 0)
    return QImage();
  return ReduceColors(bitmap,
                      DisplayBits() < 8 ? TPaletteChoice::pcDefault : TPaletteChoice::pcShared);
}
