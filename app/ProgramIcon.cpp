#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Drawn on a 64 by 64 grid and scaled.
constexpr qreal Grid = 64;
const QColor Ink(40, 48, 72);
const QColor Paper(252, 252, 246);
const QColor Line(120, 132, 160);
const QColor Light(245, 170, 30);
const QColor Glow(255, 222, 120);

void DrawPage(QPainter& p)
{
  QPainterPath page;
  page.moveTo(10, 4);
  page.lineTo(42, 4);
  page.lineTo(54, 16);
  page.lineTo(54, 60);
  page.lineTo(10, 60);
  page.closeSubpath();
  p.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Paper);
  p.drawPath(page);
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{42, 4}, {42, 16}, {54, 16}}));
}

void DrawLines(QPainter& p)
{
  p.setPen(QPen(Line, 3, Qt::SolidLine, Qt::RoundCap));
  for (qreal y : {24.0, 31.0, 38.0})
    p.drawLine(QPointF(17, y), QPointF(47, y));
  p.drawLine(QPointF(17, 45), QPointF(30, 45));
}

void DrawLight(QPainter& p)
{
  QRadialGradient glow(QPointF(44, 50), 14);
  glow.setColorAt(0, Glow);
  glow.setColorAt(1, Light);
  p.setPen(QPen(Ink, 2));
  p.setBrush(glow);
  p.drawEllipse(QPointF(44, 50), 11, 11);
}

} // namespace

QImage ProgramIcon(int size)
{
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / Grid, size / Grid);
  DrawPage(p);
  DrawLines(p);
  DrawLight(p);
  return image;
}

QIcon ProgramIconSet()
{
  QIcon icon;
  for (int size : ProgramIconSizes)
    icon.addPixmap(QPixmap::fromImage(ProgramIcon(size)));
  return icon;
}
