#pragma once
// Error-diffusion reduction of true-colour pictures to a fixed palette, for palette displays.
//
// The scan is serpentine: rows alternate left-to-right and right-to-left, and the error goes
// 7/16 ahead, 3/16 below-behind, 5/16 below and 1/16 below-ahead, rounded by adding 8 before
// the division by 16. Only one row of error per channel is kept.
#include "html/images/Display.h"
#include "html/images/FastColorLookup.h"

#include <QImage>
#include <cstdint>
#include <vector>

class TDitherEngine {
public:
  TDitherEngine(int width, TColorLookup& lookup) : Width(width), Lookup(&lookup) {}
  virtual ~TDitherEngine() = default;

  virtual int Dither(int red, int green, int blue, int& R, int& G, int& B) = 0;
  virtual void NextLine() = 0;

  int32_t Direction = 1;
  int32_t Column = 0;
  int32_t Width;
  TColorLookup* Lookup; // not owned
};

class TFloydSteinbergEngine final : public TDitherEngine {
public:
  TFloydSteinbergEngine(int width, TColorLookup& lookup);

  int Dither(int red, int green, int blue, int& R, int& G, int& B) override
  {
    int v[3] = {Working(0, red), Working(1, green), Working(2, blue)};
    int chosen[3];
    const int index =
        FFast ? FFast->TFastColorLookup::Lookup(v[0], v[1], v[2], chosen[0], chosen[1], chosen[2])
              : Lookup->Lookup(v[0], v[1], v[2], chosen[0], chosen[1], chosen[2]);
    for (int c = 0; c < 3; ++c)
      Spread(c, v[c] - chosen[c]);
    FPos += Direction;
    Column += Direction;
    R = chosen[0];
    G = chosen[1];
    B = chosen[2];
    return index;
  }
  void NextLine() override;
  // Dithers the whole current row (Width pixels of src, scanned in Direction) into dst; the same
  // as calling Dither for each column, with the running values kept in registers.
  void DitherRow(const QRgb* src, uchar* dst, TFastColorLookup& lookup);

private:
  struct TChannel {
    std::vector<int32_t> Errors; // Width + 2 entries, a guard at each end
    int32_t Carried = 0, Below = 0, BelowBehind = 0;
  };

  int Working(int c, int input) const
  {
    const TChannel& ch = FChannels[c];
    int v = input + (ch.Errors[size_t(FPos + Direction)] + ch.Carried + 8) / 16;
    return v < 0 ? 0 : (v > 255 ? 255 : v);
  }
  void Spread(int c, int d)
  {
    TChannel& ch = FChannels[c];
    ch.Errors[size_t(FPos)] = ch.BelowBehind + 3 * d;
    ch.BelowBehind = ch.Below + 5 * d;
    ch.Below = d;
    ch.Carried = 7 * d;
  }

  TChannel FChannels[3];
  TFastColorLookup* FFast; // the same lookup, called without indirection when it is the fast one
  int32_t FPos = 0;
};

enum class TPaletteChoice { pcDefault, pcShared };
enum class TDitherChoice { dcFloydSteinberg };

// An Indexed8 copy of bitmap on the palette chosen, its pixels picked by the dither. A palette
// without colours gives a result whose pixels are all zero.
QImage ReduceColors(const QImage& bitmap, TPaletteChoice palette,
                    TDitherChoice dither = TDitherChoice::dcFloydSteinberg);
// The reduction for the display: the 20 static colours below 8 bits, else the shared palette.
// Null for a null or empty bitmap.
QImage ReduceForDisplay(const QImage& bitmap);
