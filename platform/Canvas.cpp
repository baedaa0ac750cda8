#include "platform/Canvas.h"

#include "base/MulDiv.h"
#include "base/Utf8.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstdlib>
#include <vector>

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QPainter* painter, int dpi) : FPainter(painter), FDpi(dpi > 0 ? dpi : 96)
{
  // A painter that only sets pixels shows nothing of a glyph without an outline; a printer or
  // PDF keeps the spaces, which text extraction reads words by.
  QPaintEngine* engine = painter ? painter->paintEngine() : nullptr;
  FSkipInkless = engine && engine->type() == QPaintEngine::Raster;
  FQueue = TGlyphQueue(painter, painter && !FSkipInkless);
}

TCanvas::~TCanvas()
{
  if (FPainter && FPainter->isActive())
    FlushText();
}

int TCanvas::PointsToPixels(int points) const
{
  return MulDiv(points, FDpi, 72);
}

const TFontMetrics& TCanvas::Metrics(const QString& family, int points, bool bold, bool italic,
                                     int charset) const
{
  LastFont& l = FLast;
  if (l.Metrics && l.Points == points && l.Bold == bold && l.Italic == italic &&
      l.Charset == charset && l.Family == family)
    return *l.Metrics;
  int px = PointsToPixels(points);
  l = {family, points, charset,
       bold,   italic, &fontcache::Lookup(family, px < 1 ? 1 : px, bold, italic, charset)};
  return *l.Metrics;
}

int TCanvas::FitCount(const TFontMetrics& m, const char* s, int n, int width)
{
  int w = 0;
  for (int i = 0; i < n;) {
    int len = 1;
    w += CharAdvance(m, s + i, n - i, len);
    if (w > width)
      return i;
    i += len;
  }
  return n;
}

int TCanvas::WideAdvance(const TFontMetrics& m, const char* s, int n, int& len)
{
  char32_t cp = 0;
  len = utf8::Unit(s, n, cp);
  return m.WideChar(cp).Advance;
}

void TCanvas::EndText()
{
  if (FBatchDepth > 0 && --FBatchDepth == 0)
    FlushText();
}

int TCanvas::TextOut(const TFontMetrics& m, int x, int baseline, const char* s, int n, TColor color,
                     bool underline, bool strikeOut, bool opaque, TColor background)
{
  if (!FPainter || n <= 0)
    return 0;
  if (opaque)
    FillRect(QRect(x, baseline - m.Ascent, m.TextWidth(s, n), m.Height), background);
  QRgb rgb = ToQColor(color).rgba();
  int width = 0;
  if (!FQueue.Empty() && (FQueue.Current().Metrics != &m || FQueue.Current().Color != rgb)) {
    if (JoinSpaces(m, x, baseline, s, n, width)) {
      FInWord = false;
      DrawLines(m, x, baseline, width, color, underline, strikeOut);
      return width;
    }
    AdoptSpaces(m, rgb);
  }
  // Where the piece may wait beside marks of other colours depends on where its ink can fall.
  const QRectF ink =
      FQueue.Reorders() && FBatchDepth > 0 ? TGlyphQueue::TextInk(m, x, baseline, s, n) : QRectF();
  auto space = [](char c) { return c == ' ' || uint8_t(c) == 0xA0; };
  const bool continues =
      FInWord && x == FWordEndX && std::abs(baseline - FWordBaseline) < m.Height && !space(s[0]);
  TGlyphQueue::TRun& run = FQueue.Open(&m, rgb, 1, ink, continues);
  const size_t before = run.Glyphs.size();
  QString fallback; // characters the face lacks, drawn by the fallback font
  QList<int> fallbackX;
  width = QueueGlyphs(m, run, x, baseline, s, n, fallback, fallbackX);
  if (!fallback.isEmpty()) {
    // The fallback characters go under this piece's glyphs and over everything before them.
    FlushText(before);
    DrawFallback(m, fallback, fallbackX, baseline, QColor::fromRgba(rgb));
  }
  if (FBatchDepth == 0)
    FlushText();
  FWordEndX = x + width;
  FWordBaseline = baseline;
  FInWord = !space(s[n - 1]);
  DrawLines(m, x, baseline, width, color, underline, strikeOut);
  return width;
}

bool TCanvas::JoinSpaces(const TFontMetrics& m, int x, int baseline, const char* s, int n,
                         int& width)
{
  // Spaces between pieces in other faces or colours are the most common piece of all. They set
  // no pixel in any face, so on a printer they go with the waiting glyphs, as that face's
  // spaces at the same places: the engine gets one item fewer, and text read back from the
  // page still has its spaces. (A raster painter leaves them out altogether.)
  TGlyphQueue::TRun* run = FSkipInkless || FBatchDepth == 0 ? nullptr : FQueue.GlyphRun();
  if (!run)
    return false;
  const TFontMetrics* pending = run->Metrics;
  if (std::any_of(s, s + n, [](char c) { return c != ' '; }) || !pending->Glyph.Inkless(' ') ||
      !m.Glyph.Inkless(' '))
    return false;
  const quint32 glyph = pending->Glyph[' '];
  const int advance = m.Advance[' '];
  for (int i = 0; i < n; ++i) {
    run->Glyphs.push_back(glyph);
    run->Positions.emplace_back(x + i * advance, baseline);
  }
  width = n * advance;
  return true;
}

void TCanvas::AdoptSpaces(const TFontMetrics& m, QRgb rgb)
{
  // Waiting glyphs that are all spaces (the gap after a link or a word in another face) become
  // spaces of the piece that follows, in its face and colour, instead of an item of their own.
  if (FSkipInkless || FBatchDepth == 0 || FQueue.Waiting() != 1)
    return;
  TGlyphQueue::TRun& run = FQueue.Current();
  const TFontMetrics* pending = run.Metrics;
  if (!pending || !run.Lines.empty() || !pending->Glyph.Inkless(' ') || !m.Glyph.Inkless(' '))
    return;
  const quint32 space = pending->Glyph[' '];
  if (!std::all_of(run.Glyphs.begin(), run.Glyphs.end(), [space](quint32 g) { return g == space; }))
    return;
  std::fill(run.Glyphs.begin(), run.Glyphs.end(), m.Glyph[' ']);
  run.Metrics = &m;
  run.Color = rgb;
}

void TCanvas::DrawLines(const TFontMetrics& m, int x, int baseline, int width, TColor color,
                        bool underline, bool strikeOut)
{
  if (underline)
    TextLine(QRect(x, baseline + m.UnderlinePos, width, m.LineWidth), color);
  if (strikeOut)
    TextLine(QRect(x, baseline - m.StrikeOutPos, width, m.LineWidth), color);
}

void TCanvas::TextLine(const QRect& r, TColor color)
{
  if (FSkipInkless || r.width() <= 0) {
    FillRect(r, color);
    return;
  }
  // On a printer a filled rectangle makes the painter take its pen away and give it back, and
  // the engine writes out its whole state twice for that; a stroke as thick as the rectangle
  // and as long covers the same area with the text's own kind of pen, and waits with the text.
  const double y = r.top() + r.height() / 2.0;
  FQueue.Open(nullptr, ToQColor(color).rgba(), r.height(), TGlyphQueue::LineInk(r))
      .Lines.emplace_back(QPointF(r.left(), y), QPointF(r.left() + r.width(), y));
  if (FBatchDepth == 0)
    FlushText();
}

int TCanvas::QueueGlyphs(const TFontMetrics& m, TGlyphQueue::TRun& run, int x, int baseline,
                         const char* s, int n, QString& fallback, QList<int>& fallbackX)
{
  std::vector<quint32>& glyphs = run.Glyphs;
  std::vector<QPointF>& positions = run.Positions;
  glyphs.reserve(glyphs.size() + size_t(n));
  positions.reserve(positions.size() + size_t(n));
  int cx = x;
  for (int i = 0; i < n;) {
    auto c = uint8_t(s[i]);
    quint32 glyph = m.Glyph[c];
    int advance = m.Advance[c];
    int len = 1;
    bool ink = !(FSkipInkless && m.Glyph.Inkless(c));
    if (c >= 0x80 && m.Utf8) {
      char32_t cp = 0;
      len = utf8::Unit(s + i, n - i, cp);
      const TFontMetrics::TWide& wide = m.WideChar(cp);
      glyph = wide.Glyph;
      advance = wide.Advance;
      if (!wide.Own) {
        fallback += QString::fromUcs4(&cp, 1);
        fallbackX.append(cx);
      } else if (glyph == 0 && advance > 0) {
        glyphs.push_back(0); // the missing-glyph box
        positions.emplace_back(cx, baseline);
      }
    }
    if (glyph != 0 && ink) {
      glyphs.push_back(glyph);
      positions.emplace_back(cx, baseline);
    }
    cx += advance;
    i += len;
  }
  return cx - x;
}

void TCanvas::DrawFallback(const TFontMetrics& m, const QString& chars, const QList<int>& xs,
                           int baseline, const QColor& color)
{
  if (chars.isEmpty())
    return;
  FPainter->save();
  FPainter->setFont(m.Fallback);
  FPainter->setPen(color);
  int k = 0;
  for (int i = 0; i < chars.size(); ++k) {
    int len = chars[i].isHighSurrogate() && i + 1 < chars.size() ? 2 : 1;
    FPainter->drawText(QPointF(xs[k], baseline), chars.mid(i, len));
    i += len;
  }
  FPainter->restore();
}

void TCanvas::TextRect(const TFontMetrics& m, const QRect& clip, int x, int baseline, const char* s,
                       int n, TColor color)
{
  if (!FPainter)
    return;
  FlushText();
  FPainter->save();
  FPainter->setClipRect(clip, Qt::IntersectClip);
  TextOut(m, x, baseline, s, n, color);
  FlushText(); // inside the clip
  FPainter->restore();
}

void TCanvas::FillRect(const QRect& r, TColor color)
{
  FlushText();
  if (FPainter)
    FPainter->fillRect(r, ToQColor(color));
}

void TCanvas::FrameRect(const QRect& r, TColor color)
{
  if (!FPainter || r.width() <= 0 || r.height() <= 0)
    return;
  FlushText();
  QColor c = ToQColor(color);
  FPainter->fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
  FPainter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
  FPainter->fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
  FPainter->fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}

void TCanvas::Line(int x1, int y1, int x2, int y2, TColor color)
{
  FlushText();
  if (!FPainter)
    return;
  FPainter->setPen(QPen(ToQColor(color), 0));
  FPainter->drawLine(x1, y1, x2, y2);
}

void TCanvas::Ellipse(const QRect& r, TColor pen, TColor brush, bool fill)
{
  FlushText();
  if (!FPainter)
    return;
  FPainter->save();
  FPainter->setRenderHint(QPainter::Antialiasing, false);
  FPainter->setPen(QPen(ToQColor(pen), 0));
  if (fill)
    FPainter->setBrush(ToQColor(brush));
  else
    FPainter->setBrush(Qt::NoBrush);
  // A one-pixel pen covers the right and bottom edges of the rectangle it is given.
  FPainter->drawEllipse(r.adjusted(0, 0, -1, -1));
  FPainter->restore();
}

void TCanvas::Bevel(const QRect& r, bool sunken)
{
  TColor dark = sunken ? clBtnShadow : clBtnHighlight;
  TColor light = sunken ? clBtnHighlight : clBtnShadow;
  Line(r.left(), r.bottom(), r.left(), r.top(), dark);
  Line(r.left(), r.top(), r.right(), r.top(), dark);
  Line(r.right(), r.top(), r.right(), r.bottom(), light);
  Line(r.right(), r.bottom(), r.left(), r.bottom(), light);
}

void TCanvas::DrawImage(const QRect& target, const QImage& image)
{
  FlushText();
  if (FPainter && !image.isNull())
    FPainter->drawImage(target, image);
}
