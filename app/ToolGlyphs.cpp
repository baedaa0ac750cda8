#include "app/ToolGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

constexpr int GlyphSize = 16;
const QColor Ink(0, 0, 0);
const QColor Navy(0, 0, 128);
const QColor Green(0, 128, 0);
const QColor Maroon(128, 0, 0);

void DrawHouse(QPainter& p)
{
  p.setPen(QPen(Ink, 1));
  p.setBrush(Maroon);
  p.drawPolygon(QPolygonF({{1.5, 8.5}, {8, 2}, {14.5, 8.5}}));
  p.setBrush(QColor(255, 255, 192));
  p.drawRect(QRectF(3.5, 8.5, 9, 6));
  p.setBrush(Navy);
  p.drawRect(QRectF(6.5, 10.5, 3, 4));
}

void DrawCircularArrow(QPainter& p)
{
  p.setPen(QPen(Green, 2, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(3, 3, 10, 10), 30 * 16, 290 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(Green);
  p.drawPolygon(QPolygonF({{9.5, 0.5}, {15, 5}, {9, 7.5}}));
}

void DrawArrow(QPainter& p, bool right)
{
  QPolygonF arrow({{1, 8}, {8, 1.5}, {8, 5}, {15, 5}, {15, 11}, {8, 11}, {8, 14.5}});
  if (right)
    arrow = QTransform(-1, 0, 0, 1, GlyphSize, 0).map(arrow);
  p.setPen(QPen(Ink, 1));
  p.setBrush(Navy);
  p.drawPolygon(arrow);
}

void DrawPrinter(QPainter& p)
{
  p.setPen(QPen(Ink, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 6)); // paper going in
  p.setBrush(QColor(192, 192, 192));
  p.drawRect(QRectF(1.5, 7.5, 13, 5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3.5, 11.5, 9, 3)); // paper coming out
  p.setPen(Green);
  p.drawPoint(QPointF(12.5, 9.5));
}

void DrawTwoPages(QPainter& p)
{
  p.setPen(QPen(Ink, 1));
  for (QPointF origin : {QPointF(1.5, 1.5), QPointF(6.5, 5.5)}) {
    p.setBrush(Qt::white);
    p.drawRect(QRectF(origin, QSizeF(8, 9)));
    p.setPen(Navy);
    for (int line = 0; line < 3; ++line)
      p.drawLine(origin + QPointF(2, 2.5 + 2 * line), origin + QPointF(6, 2.5 + 2 * line));
    p.setPen(Ink);
  }
}

} // namespace

QPixmap ToolGlyph(TToolGlyph glyph)
{
  QPixmap pixmap(GlyphSize, GlyphSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (glyph) {
  case TToolGlyph::Home: DrawHouse(p); break;
  case TToolGlyph::Reload: DrawCircularArrow(p); break;
  case TToolGlyph::Back: DrawArrow(p, false); break;
  case TToolGlyph::Forward: DrawArrow(p, true); break;
  case TToolGlyph::Print: DrawPrinter(p); break;
  case TToolGlyph::Copy: DrawTwoPages(p); break;
  }
  return pixmap;
}
