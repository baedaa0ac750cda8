#include "platform/FontMetricsCache.h"

#include "base/CodePage.h"
#include "base/Utf8.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainterPath>
#include <memory>
#include <string>
#include <unordered_map>

namespace {

// Codes below 32 are placeholders and controls: they take no room and draw nothing. In UTF-8
// text the bytes above 127 are measured a character at a time (WideChar).
bool IsControlByte(const TFontMetrics& m, size_t b)
{
  return b < 32 || b == 127 || (m.Utf8 && b >= 128);
}

std::unique_ptr<TFontMetrics> Build(const QString& family, int pixelSize, bool bold, bool italic,
                                    int charset)
{
  auto m = std::make_unique<TFontMetrics>();
  QFont f(family);
  f.setPixelSize(pixelSize < 1 ? 1 : pixelSize);
  f.setBold(bold);
  f.setItalic(italic);
  f.setKerning(false);
  f.setStyleStrategy(QFont::NoFontMerging);
  m->Font = f;
  m->Charset = charset;
  m->PixelSize = pixelSize;
  QFontMetrics fm(f);
  m->Ascent = fm.ascent();
  m->Descent = fm.descent();
  m->Height = m->Ascent + m->Descent;
  m->Leading = fm.leading() > 0 ? fm.leading() : 0;
  m->UnderlinePos = fm.underlinePos();
  m->StrikeOutPos = fm.strikeOutPos();
  m->LineWidth = fm.lineWidth() > 0 ? fm.lineWidth() : 1;
  m->Utf8 = charset == codepage::CharsetUtf8;
  m->Fallback = f;
  m->Fallback.setStyleStrategy(QFont::PreferDefault);
  m->Decoded = codepage::Table(charset);
  for (size_t b = 0; b < 256; ++b)
    if (IsControlByte(*m, b))
      m->Advance.Set(b, 0);
  return m;
}

} // namespace

int16_t TByteAdvances::Measure(size_t b) const
{
  FValues[b] = int16_t(QFontMetrics(FOwner->Font).horizontalAdvance(FOwner->Decoded[qsizetype(b)]));
  return FValues[b];
}

void TFaceGlyphs::Load() const
{
  auto loaded = std::make_unique<TLoaded>();
  loaded->Raw = QRawFont::fromFont(FOwner->Font);
  QList<quint32> glyphs = loaded->Raw.glyphIndexesForString(FOwner->Decoded);
  for (size_t b = 0; b < 256; ++b)
    loaded->Glyphs[b] =
        IsControlByte(*FOwner, b) || qsizetype(b) >= glyphs.size() ? 0 : glyphs[qsizetype(b)];
  for (size_t b : {size_t(0x20), size_t(0xA0)}) {
    const quint32 g = loaded->Glyphs[b];
    loaded->Inkless[b] =
        g != 0 && loaded->Raw.pathForGlyph(g).isEmpty() && loaded->Raw.boundingRect(g).isEmpty();
  }
  FLoaded = std::move(loaded);
}

const TFontMetrics::TWide& TFontMetrics::WideChar(char32_t cp) const
{
  auto it = FWide.find(cp);
  if (it != FWide.end())
    return it->second;
  QString text = QString::fromUcs4(&cp, 1);
  TWide wide;
  QList<quint32> glyphs = Raw.Face().glyphIndexesForString(text);
  wide.Glyph = glyphs.size() == 1 ? glyphs[0] : 0;
  if (wide.Glyph != 0) {
    wide.Advance = int16_t(QFontMetrics(Font).horizontalAdvance(text));
    return FWide.emplace(cp, wide).first->second;
  }
  // The face lacks it: a fallback face draws it at its own advance.
  wide.Advance = int16_t(QFontMetrics(Fallback).horizontalAdvance(text));
  wide.Own = false;
  int category = QChar::category(cp);
  bool zeroWidth = category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing ||
                   category == QChar::Other_Format;
  if (wide.Advance <= 0 && !zeroWidth) {
    // No installed face has it: the face's missing-glyph box stands in, so that the text keeps
    // its length and a line can still break there.
    wide.Own = true;
    QList<QPointF> advances = Raw.Face().advancesForGlyphIndexes(QList<quint32>{0});
    wide.Advance = advances.isEmpty() ? int16_t(0) : int16_t(qRound(advances[0].x()));
  }
  return FWide.emplace(cp, wide).first->second;
}

int TFontMetrics::WideWidth(const char* s, int n) const
{
  int w = 0;
  for (int i = 0; i < n;) {
    auto b = uint8_t(s[i]);
    if (b < 0x80) {
      w += Advance[b];
      ++i;
      continue;
    }
    char32_t cp = 0;
    i += utf8::Unit(s + i, n - i, cp);
    w += WideChar(cp).Advance;
  }
  return w;
}

namespace fontcache {

namespace {

struct Key {
  QString Family;
  int PixelSize;
  int Charset;
  bool Bold;
  bool Italic;
  bool operator==(const Key&) const = default;
};

struct KeyHash {
  size_t operator()(const Key& k) const
  {
    size_t h = qHash(k.Family);
    h = h * 31 + size_t(k.PixelSize);
    h = h * 31 + size_t(k.Charset);
    return h * 4 + size_t(k.Bold) * 2 + size_t(k.Italic);
  }
};

} // namespace

const TFontMetrics& Lookup(const QString& family, int pixelSize, bool bold, bool italic,
                           int charset)
{
  // Keyed on the values themselves: building a text key cost more than the layout it served.
  static std::unordered_map<Key, std::unique_ptr<TFontMetrics>, KeyHash> cache;
  Key key{family, pixelSize, charset, bold, italic};
  auto it = cache.find(key);
  if (it == cache.end())
    it = cache.emplace(key, Build(family, pixelSize, bold, italic, charset)).first;
  return *it->second;
}

QString Decode(const char* s, int n, int charset)
{
  return codepage::Decode(s, n, charset);
}

} // namespace fontcache
