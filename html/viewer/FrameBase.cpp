#include "html/viewer/FrameBase.h"

#include "html/viewer/Frame.h"
#include "html/viewer/FrameSet.h"
#include "html/viewer/FrameViewer.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The set that takes a point near s's own outer edge: the set round s, through the frame that
// holds s when s is a frame's document.
TSubFrameSet* EnclosingSet(TSubFrameSet* s)
{
  if (s->OwnerFrame)
    return s->OwnerFrame->ParentSet();
  return s->ParentSet();
}

bool NearOuterEdge(const TSubFrameSet* s, QPoint p)
{
  int c = s->Rows ? p.y() : p.x();
  int extent = s->Rows ? s->height() : s->width();
  return c < 3 || c >= extent - 3;
}

// The set whose inner border the point p (in from's coordinates) may be on, and p in its
// coordinates.
TSubFrameSet* SetUnder(TFrameBase* from, QPoint& p)
{
  TSubFrameSet* set = from->ParentSet();
  if (!set)
    return nullptr;
  p = from->mapTo(set, p);
  while (NearOuterEdge(set, p)) {
    TSubFrameSet* outer = EnclosingSet(set);
    if (!outer)
      break;
    p = set->mapTo(outer, p);
    set = outer;
  }
  return set;
}

} // namespace

TFrameBase::TFrameBase(QWidget* parent, TFrameSet* master) : QFrame(parent), MasterSet(master)
{
  setMouseTracking(true);
}

TFrameBase::~TFrameBase()
{
  if (HoldsSlot && MasterSet)
    MasterSet->ReleaseFrameSlot(*this);
}

TSubFrameSet* TFrameBase::ParentSet() const
{
  return dynamic_cast<TSubFrameSet*>(parentWidget());
}

void TFrameBase::SetBevel(int width)
{
  FBevel = std::max(width, 0);
  setContentsMargins(FBevel, FBevel, FBevel, FBevel);
  update();
}

void TFrameBase::paintEvent(QPaintEvent* event)
{
  QFrame::paintEvent(event);
  if (FBevel <= 0)
    return;
  // A lowered bevel: dark on the top and left, light on the bottom and right.
  QPainter painter(this);
  QColor dark = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
  int w = width(), h = height();
  for (int i = 0; i < FBevel; ++i) {
    painter.fillRect(i, i, w - 2 * i, 1, dark);
    painter.fillRect(i, i, 1, h - 2 * i, dark);
    painter.fillRect(i, h - 1 - i, w - 2 * i, 1, light);
    painter.fillRect(w - 1 - i, i, 1, h - 2 * i, light);
  }
}

void TFrameBase::mouseMoveEvent(QMouseEvent* event)
{
  QPoint p = event->position().toPoint();
  if (MasterSet && MasterSet->DragSet) {
    MasterSet->DragSet->FVMouseMove(mapTo(MasterSet->DragSet, p), event->buttons());
    return;
  }
  if (auto* frame = dynamic_cast<TFrame*>(this); frame && frame->NoResize)
    return;
  TSubFrameSet* set = SetUnder(this, p);
  bool split = set && set->FVMouseMove(p, event->buttons());
  if (split)
    setCursor(set->Rows ? Qt::SplitVCursor : Qt::SplitHCursor);
  else if (MasterSet && MasterSet->FrameViewer)
    setCursor(Qt::ArrowCursor);
}

void TFrameBase::mousePressEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton)
    return;
  if (auto* frame = dynamic_cast<TFrame*>(this); frame && frame->NoResize)
    return;
  QPoint p = event->position().toPoint();
  TSubFrameSet* set = SetUnder(this, p);
  if (set && set->FVMouseDown(p) && MasterSet)
    MasterSet->DragSet = set;
}

void TFrameBase::mouseReleaseEvent(QMouseEvent* event)
{
  if (!MasterSet || !MasterSet->DragSet || event->button() != Qt::LeftButton)
    return;
  TSubFrameSet* set = MasterSet->DragSet;
  MasterSet->DragSet = nullptr;
  set->FVMouseUp(mapTo(set, event->position().toPoint()));
}
