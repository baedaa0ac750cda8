#include "platform/Canvas.h"

#include "base/MulDiv.h"

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
  for (int i = 0; i < n; ++i) {
    w += m.Advance[uint8_t(s[i])];
    if (w > width)
      return i;
  }
  return n;
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
  int cx = x;
  for (int i = 0; i < n; ++i) {
    uint8_t c = uint8_t(s[i]);
    if (m.Glyph[c] != 0) {
      glyphs.append(m.Glyph[c]);
      positions.append(QPointF(cx, baseline));
    }
    cx += m.Advance[c];
  }
  QColor qc = ToQColor(color);
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
