#include "html/images/ImageResources.h"

#include "html/images/ImageLoader.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace {

constexpr int PictureSize = 20;

// A sheet of paper with a folded corner; the area outside it is the corner colour (white).
void DrawSheet(QPainter& p, const QColor& paper)
{
  const QPolygon sheet({QPoint(2, 1), QPoint(13, 1), QPoint(17, 5), QPoint(17, 18), QPoint(2, 18)});
  p.setPen(QColor(96, 96, 96));
  p.setBrush(paper);
  p.drawPolygon(sheet);
  p.setBrush(QColor(210, 210, 210));
  p.drawPolygon(QPolygon({QPoint(13, 1), QPoint(13, 5), QPoint(17, 5)}));
}

QImage NewPicture()
{
  QImage image(PictureSize, PictureSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QImage DrawMissing()
{
  QImage image = NewPicture();
  QPainter p(&image);
  DrawSheet(p, QColor(240, 240, 240));
  p.setPen(QPen(QColor(200, 0, 0), 2));
  p.drawLine(6, 8, 13, 15);
  p.drawLine(13, 8, 6, 15);
  return image;
}

QImage DrawPending()
{
  QImage image = NewPicture();
  QPainter p(&image);
  DrawSheet(p, QColor(255, 255, 224));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 160));
  for (int i = 0; i < 3; ++i)
    p.drawRect(5 + 3 * i, 11, 2, 2);
  return image;
}

// A cursor from a 32 x 32 drawing: black outline over white fill, transparent elsewhere.
QCursor DrawnCursor(const QPainterPath& shape, QPoint hotSpot)
{
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPath(shape);
  p.end();
  return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

QPainterPath HandShape()
{
  QPainterPath path;
  path.addRoundedRect(QRectF(6.5, 0.5, 4, 12), 2, 2);       // pointing finger
  path.addRoundedRect(QRectF(10.5, 6.5, 3.5, 7), 1.5, 1.5); // folded fingers
  path.addRoundedRect(QRectF(13.5, 7.5, 3.5, 6), 1.5, 1.5);
  path.addRoundedRect(QRectF(16.5, 8.5, 3.5, 5), 1.5, 1.5);
  path.addRoundedRect(QRectF(2.5, 9.5, 5, 4), 2, 2); // thumb
  path.addRoundedRect(QRectF(4.5, 11.5, 15.5, 9), 3, 3);
  return path.simplified();
}

QPainterPath BeamShape()
{
  QPainterPath path;
  path.addRect(QRectF(4.5, 0.5, 7, 2));
  path.addRect(QRectF(7.5, 2.5, 1, 14));
  path.addRect(QRectF(4.5, 16.5, 7, 2));
  return path.simplified();
}

QPainterPath ArrowsShape(bool up, bool down)
{
  QPainterPath path;
  if (up)
    path.addPolygon(QPolygonF({QPointF(16, 1), QPointF(23, 9), QPointF(9, 9), QPointF(16, 1)}));
  if (down)
    path.addPolygon(QPolygonF({QPointF(16, 31), QPointF(23, 23), QPointF(9, 23), QPointF(16, 31)}));
  path.addEllipse(QPointF(16, 16), 3, 3); // where the scrolling started
  return path;
}

} // namespace

const QImage& PendingBitmap()
{
  static const QImage image = DrawPending();
  return image;
}

const QImage& MissingBitmap()
{
  static const QImage image = DrawMissing();
  return image;
}

const QImage& MissingMask()
{
  static const QImage mask = CreateMask(MissingBitmap(), false, 0);
  return mask;
}

QCursor ViewerCursor(int id)
{
  switch (id) {
  case crLinkHand: return DrawnCursor(HandShape(), QPoint(8, 1));
  case crTextBeam: return DrawnCursor(BeamShape(), QPoint(8, 9));
  case crUpDown: return DrawnCursor(ArrowsShape(true, true), QPoint(16, 16));
  case crUpOnly: return DrawnCursor(ArrowsShape(true, false), QPoint(16, 16));
  case crDownOnly: return DrawnCursor(ArrowsShape(false, true), QPoint(16, 16));
  default: return QCursor(Qt::ArrowCursor);
  }
}
