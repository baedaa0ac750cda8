#include "platform/FontMetricsCache.h"

#include <QFontMetrics>
#include <QHash>
#include <iconv.h>
#include <memory>
#include <string>
#include <unordered_map>

namespace {

// Windows code pages of the document charsets; Western (0) and any charset not listed is read
// as Western too, so the quotes, dashes and the euro sign of 0x80-0x9F come out right.
const char* CodePageOf(int charset)
{
  switch (charset) {
  case 161: return "CP1253";
  case 238: return "CP1250";
  case 204: return "CP1251";
  case 162: return "CP1254";
  case 186: return "CP1257";
  default: return "CP1252";
  }
}

// The 256 byte values of a charset as Unicode; bytes the code page leaves undefined (and all of
// them when the converter is missing) stay as their Latin-1 reading.
QString DecodeTable(int charset)
{
  QString table(256, QChar(0));
  for (int i = 0; i < 256; ++i)
    table[i] = QChar(ushort(i));
  iconv_t cd = iconv_open("UTF-32LE", CodePageOf(charset));
  if (cd == iconv_t(-1))
    return table;
  for (int i = 128; i < 256; ++i) {
    char in = char(i);
    char* inp = &in;
    size_t inLeft = 1;
    uint32_t out = 0;
    char* outp = reinterpret_cast<char*>(&out);
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1) && outLeft == 0 && out < 0x10000)
      table[i] = QChar(ushort(out));
  }
  iconv_close(cd);
  return table;
}

const QString& TableFor(int charset)
{
  static std::unordered_map<int, QString> tables;
  auto it = tables.find(charset);
  if (it == tables.end())
    it = tables.emplace(charset, DecodeTable(charset)).first;
  return it->second;
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
  m->Raw = QRawFont::fromFont(f);
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
  m->Decoded = TableFor(charset);
  QList<quint32> glyphs = m->Raw.glyphIndexesForString(m->Decoded);
  for (int i = 0; i < 256; ++i) {
    // Codes below 32 are placeholders and controls: they take no room and draw nothing.
    bool control = i < 32 || i == 127;
    m->Advance[size_t(i)] = control ? 0 : int16_t(fm.horizontalAdvance(m->Decoded[i]));
    m->Glyph[size_t(i)] = control || i >= glyphs.size() ? 0 : glyphs[i];
  }
  return m;
}

} // namespace

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
  const QString& table = TableFor(charset);
  QString out(n, QChar(0));
  for (int i = 0; i < n; ++i)
    out[i] = table[uint8_t(s[i])];
  return out;
}

} // namespace fontcache
