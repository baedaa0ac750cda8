#pragma once
// Per-font tables for single-byte text: one advance and one glyph per byte value, so that
// measuring a run is a sum of table entries and drawing places every glyph at exactly the
// measured x. Entries live for the whole process; documents use only a handful of fonts.
// UTF-8 text (charset CharsetUtf8) keeps the table for ASCII and caches the advance and glyph
// of every other character the first time it is measured.
#include <QFont>
#include <QRawFont>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>

struct TFontMetrics;

// The advance of each byte value, measured the first time it is asked for: measuring one is a
// hinted glyph load, and a page uses a few dozen of the 256 bytes of each of its fonts.
class TByteAdvances {
public:
  explicit TByteAdvances(const TFontMetrics* owner) : FOwner(owner) { FValues.fill(-1); }
  int16_t operator[](size_t b) const
  {
    const int16_t a = FValues[b];
    return a >= 0 ? a : Measure(b);
  }
  void Set(size_t b, int16_t advance) { FValues[b] = advance; }

private:
  int16_t Measure(size_t b) const;
  const TFontMetrics* FOwner;
  mutable std::array<int16_t, 256> FValues;
};

// The face the glyphs come from and the glyph of each byte value, made when the font is first
// drawn with (a font that only measures never needs them).
class TFaceGlyphs {
public:
  explicit TFaceGlyphs(const TFontMetrics* owner) : FOwner(owner) {}
  quint32 operator[](size_t b) const { return Loaded().Glyphs[b]; }
  // Whether the glyph of byte b has no outline (the spaces): drawing it sets no pixel.
  bool Inkless(size_t b) const { return Loaded().Inkless[b]; }
  const QRawFont& Face() const { return Loaded().Raw; }
  operator const QRawFont&() const { return Face(); } // NOLINT(google-explicit-constructor)

private:
  struct TLoaded {
    QRawFont Raw;
    std::array<quint32, 256> Glyphs{};
    std::array<bool, 256> Inkless{};
  };
  const TLoaded& Loaded() const
  {
    if (!FLoaded)
      Load();
    return *FLoaded;
  }
  void Load() const;
  const TFontMetrics* FOwner;
  mutable std::unique_ptr<TLoaded> FLoaded;
};

struct TFontMetrics {
  TFontMetrics() = default;
  TFontMetrics(const TFontMetrics&) = delete; // the tables point back at their font
  TFontMetrics& operator=(const TFontMetrics&) = delete;

  QFont Font; // pixel-sized, kerning off, no font merging
  int Charset = 0;
  int PixelSize = 0;
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;  // ascent + descent
  int Leading = 0; // external leading
  int Overhang = 0;
  int UnderlinePos = 1; // below the baseline
  int StrikeOutPos = 3; // above the baseline
  int LineWidth = 1;
  TByteAdvances Advance{this};
  TFaceGlyphs Glyph{this};        // Glyph[b] is the glyph of byte b
  const TFaceGlyphs& Raw = Glyph; // the face the glyphs come from
  QString Decoded;                // the 256 byte values in the charset, for copying text out
  bool Utf8 = false;
  QFont Fallback; // Font with font merging: draws what the face lacks

  // A character of UTF-8 text beyond ASCII. Own: drawn with Glyph of this face (0 is its
  // missing-glyph box, for characters no installed face has); else a fallback face draws it.
  struct TWide {
    int16_t Advance = 0;
    quint32 Glyph = 0;
    bool Own = true;
  };
  const TWide& WideChar(char32_t cp) const;

  int TextWidth(const char* s, int n) const
  {
    if (Utf8)
      return WideWidth(s, n);
    int w = 0;
    for (int i = 0; i < n; ++i)
      w += Advance[uint8_t(s[i])];
    return w;
  }
  int WideWidth(const char* s, int n) const;

private:
  mutable std::unordered_map<char32_t, TWide> FWide;
};

namespace fontcache {

// The metrics of a font with the given family, pixel size, style and charset. The returned
// reference stays valid for the process.
const TFontMetrics& Lookup(const QString& family, int pixelSize, bool bold, bool italic,
                           int charset);

// Decodes text of a charset: UTF-8 for CharsetUtf8, else single bytes (0 and unknown charsets
// are Windows-1252).
QString Decode(const char* s, int n, int charset);

} // namespace fontcache
