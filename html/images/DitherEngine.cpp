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

inline int Clamp255(int v)
{
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

} // namespace

void TFloydSteinbergEngine::DitherRow(const QRgb* src, uchar* dst, TFastColorLookup& lookup)
{
  int32_t* er = FChannels[0].Errors.data();
  int32_t* eg = FChannels[1].Errors.data();
  int32_t* eb = FChannels[2].Errors.data();
  const int dir = Direction;
  int p = FPos, x = Column;
  int cr = FChannels[0].Carried, cg = FChannels[1].Carried, cb = FChannels[2].Carried;
  int br = FChannels[0].Below, bg = FChannels[1].Below, bb = FChannels[2].Below;
  int zr = FChannels[0].BelowBehind, zg = FChannels[1].BelowBehind, zb = FChannels[2].BelowBehind;
  for (; x >= 0 && x < Width; x += dir, p += dir) {
    const QRgb px = src[x];
    const int vr = Clamp255(qRed(px) + (er[p + dir] + cr + 8) / 16);
    const int vg = Clamp255(qGreen(px) + (eg[p + dir] + cg + 8) / 16);
    const int vb = Clamp255(qBlue(px) + (eb[p + dir] + cb + 8) / 16);
    int r, g, b;
    dst[x] = uchar(lookup.Lookup(vr, vg, vb, r, g, b));
    const int dr = vr - r, dg = vg - g, db = vb - b;
    er[p] = zr + 3 * dr;
    eg[p] = zg + 3 * dg;
    eb[p] = zb + 3 * db;
    zr = br + 5 * dr;
    zg = bg + 5 * dg;
    zb = bb + 5 * db;
    br = dr;
    bg = dg;
    bb = db;
    cr = 7 * dr;
    cg = 7 * dg;
    cb = 7 * db;
  }
  FPos = p;
  Column = x;
  const int carried[3] = {cr, cg, cb}, below[3] = {br, bg, bb}, behind[3] = {zr, zg, zb};
  for (int c = 0; c < 3; ++c) {
    FChannels[c].Carried = carried[c];
    FChannels[c].Below = below[c];
    FChannels[c].BelowBehind = behind[c];
  }
}

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
    engine.DitherRow(reinterpret_cast<const QRgb*>(source.constScanLine(y)), result.scanLine(y),
                     lookup);
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
