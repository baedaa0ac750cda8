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
#include <unordered_map>

struct TFontMetrics {
  QFont Font;   // pixel-sized, kerning off, no font merging
  QRawFont Raw; // the face the glyphs come from
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
  std::array<int16_t, 256> Advance{};
  std::array<quint32, 256> Glyph{};
  QString Decoded; // the 256 byte values in the charset, for copying text out
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
