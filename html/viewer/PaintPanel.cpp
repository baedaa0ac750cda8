#include "html/viewer/PaintPanel.h"

#include "html/viewer/HTMLViewer.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <algorithm>

TPaintPanel::TPaintPanel(THTMLViewer* viewer, QWidget* parent) : QWidget(parent), FViewer(viewer)
{
  // Every paint covers its whole clip, so Qt need not erase, and scrolling may move the pixels
  // already shown.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

void TPaintPanel::paintEvent(QPaintEvent* event)
{
  QRect clip = event->rect();
  PaintedRows += clip.height();
  ++PaintCount;
  FViewer->HTMLPaint(this, clip);
}

void TPaintPanel::mousePressEvent(QMouseEvent* event)
{
  FViewer->HTMLMouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TPaintPanel::mouseMoveEvent(QMouseEvent* event)
{
  FViewer->HTMLMouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void TPaintPanel::mouseReleaseEvent(QMouseEvent* event)
{
  FViewer->HTMLMouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void TPaintPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
  FViewer->HTMLMouseDouble(event->button(), event->modifiers(), event->position().toPoint());
}

void TPaintPanel::leaveEvent(QEvent* event)
{
  QWidget::leaveEvent(event);
  FViewer->HTMLMouseLeave();
}
