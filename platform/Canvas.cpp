#include "platform/Canvas.h"

#include "base/MulDiv.h"
#include "base/Utf8.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPen>
#include <vector>

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QPainter* painter, int dpi) : FPainter(painter), FDpi(dpi > 0 ? dpi : 96)
{
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

int TCanvas::CharAdvance(const TFontMetrics& m, const char* s, int n, int& len)
{
  auto b = uint8_t(s[0]);
  if (b < 0x80 || !m.Utf8) {
    len = 1;
    return m.Advance[b];
  }
  char32_t cp = 0;
  len = utf8::Unit(s, n, cp);
  return m.WideChar(cp).Advance;
}

void TCanvas::TextOut(const TFontMetrics& m, int x, int baseline, const char* s, int n,
                      TColor color, bool underline, bool strikeOut, bool opaque, TColor background)
{
  if (!FPainter || n <= 0)
    return;
  int width = m.TextWidth(s, n);
  if (opaque)
    FPainter->fillRect(QRect(x, baseline - m.Ascent, width, m.Height), ToQColor(background));
  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(n);
  positions.reserve(n);
  QString fallback; // characters the face lacks, drawn by the fallback font
  QList<int> fallbackX;
  int cx = x;
  for (int i = 0; i < n;) {
    auto c = uint8_t(s[i]);
    quint32 glyph = m.Glyph[c];
    int advance = m.Advance[c];
    int len = 1;
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
        glyphs.append(0); // the missing-glyph box
        positions.append(QPointF(cx, baseline));
      }
    }
    if (glyph != 0) {
      glyphs.append(glyph);
      positions.append(QPointF(cx, baseline));
    }
    cx += advance;
    i += len;
  }
  QColor qc = ToQColor(color);
  DrawFallback(m, fallback, fallbackX, baseline, qc);
  if (!glyphs.isEmpty()) {
    QGlyphRun run;
    run.setRawFont(m.Raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    FPainter->setPen(qc);
    FPainter->drawGlyphRun(QPointF(0, 0), run);
  }
  if (underline)
    FPainter->fillRect(QRect(x, baseline + m.UnderlinePos, width, m.LineWidth), qc);
  if (strikeOut)
    FPainter->fillRect(QRect(x, baseline - m.StrikeOutPos, width, m.LineWidth), qc);
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
  FPainter->save();
  FPainter->setClipRect(clip, Qt::IntersectClip);
  TextOut(m, x, baseline, s, n, color);
  FPainter->restore();
}

void TCanvas::FillRect(const QRect& r, TColor color)
{
  if (FPainter)
    FPainter->fillRect(r, ToQColor(color));
}

void TCanvas::FrameRect(const QRect& r, TColor color)
{
  if (!FPainter || r.width() <= 0 || r.height() <= 0)
    return;
  QColor c = ToQColor(color);
  FPainter->fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
  FPainter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
  FPainter->fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
  FPainter->fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}

void TCanvas::Line(int x1, int y1, int x2, int y2, TColor color)
{
  if (!FPainter)
    return;
  FPainter->setPen(QPen(ToQColor(color), 0));
  FPainter->drawLine(x1, y1, x2, y2);
}

void TCanvas::Ellipse(const QRect& r, TColor pen, TColor brush, bool fill)
{
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
  if (FPainter && !image.isNull())
    FPainter->drawImage(target, image);
}
