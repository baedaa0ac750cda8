#pragma once
// Fonts shared by value: every font object and list marker that asks for an equal font holds
// the same one, so a page with many thousands of font changes keeps one copy of each distinct
// font. A holder keeps a 4-byte counted reference (TFontRef) instead of a font; a font is freed
// with its last holder. The engine runs on one thread; so does the table.
#include "html/model/Alignment.h"
#include "html/model/MyFont.h"

#include <cstddef>
#include <cstdint>

class TCanvas;
struct TFontMetrics;

class TFontRef {
public:
  TFontRef() = default; // holds no font
  // The shared font equal to font (framework font, nominal size, colour, charset, monospace).
  // Implicit: wherever a font is handed over, the shared copy is what is kept.
  TFontRef(const TMyFont& font); // NOLINT(google-explicit-constructor)
  TFontRef(const TFontRef& other);
  TFontRef(TFontRef&& other) noexcept : FId(other.FId) { other.FId = 0; }
  TFontRef& operator=(const TFontRef& other);
  TFontRef& operator=(TFontRef&& other) noexcept;
  ~TFontRef()
  {
    if (FId)
      Release();
  }

  explicit operator bool() const { return FId != 0; }
  bool operator==(const TFontRef& other) const { return FId == other.FId; }
  const TMyFont& operator*() const;
  const TMyFont* operator->() const { return &**this; }

  // The font with style flags (TFontStyleFlag) added and, raised or lowered, three quarters of
  // its size. Remembered per font, so a builder asking again for the same change is not charged
  // a comparison of fonts.
  TFontRef Styled(int styleFlags, TScriptShift shift) const;
  // The font in another colour, remembered the same way.
  TFontRef Recoloured(TColor color) const;
  // Metrics of the font on a canvas, remembered for the last two resolutions.
  const TFontMetrics& Metrics(const TCanvas& canvas) const;

private:
  explicit TFontRef(uint32_t id); // takes a new hold on id
  void Release();
  uint32_t FId = 0;
};

class TFontTable {
public:
  // Distinct fonts held somewhere now.
  static size_t LiveCount();
};

bool SameFont(const TMyFont& a, const TMyFont& b);
