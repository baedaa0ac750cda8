#include "html/viewer/HTMLViewer.h"

#include "html/images/ImageResources.h"
#include "html/model/FormControlObj.h"
#include "html/model/ImageObj.h"
#include "html/model/SectionList.h"
#include "html/viewer/PaintPanel.h"
#include "platform/Clipboard.h"
#include "platform/FontMetricsCache.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

// The viewer's mouse: hover and cursor shapes, selection by dragging and double-click, the
// right-click report and auto-scrolling while the mouse is held outside the window.

namespace {

constexpr int AutoScrollInterval = 100; // milliseconds

bool IsWordChar(char c)
{
  auto u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 192;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Selection

void THTMLViewer::SetSelStart(int32_t value)
{
  FCaretPos = value;
  Doc().SelStartPos = Doc().SelEndPos = value;
  FPaintPanel->update();
}

int32_t THTMLViewer::SelLength() const
{
  const TDocument& doc = Doc();
  if (FCaretPos == doc.SelStartPos)
    return doc.SelEndPos - doc.SelStartPos;
  return doc.SelStartPos - doc.SelEndPos;
}

void THTMLViewer::SetSelLength(int32_t value)
{
  TDocument& doc = Doc();
  if (value >= 0) {
    doc.SelStartPos = FCaretPos;
    doc.SelEndPos = FCaretPos + value;
  } else {
    doc.SelStartPos = std::max(int32_t(0), FCaretPos + value);
    doc.SelEndPos = FCaretPos;
  }
  FPaintPanel->update();
}

void THTMLViewer::CopySelected()
{
  if (Doc().SelStartPos >= Doc().SelEndPos)
    return;
  std::string text = FSectionList->CopySelection();
  Clipboard().SetText(fontcache::Decode(text.data(), int(text.size()), Doc().TextCharset()));
}

std::string THTMLViewer::SelText() const
{
  // Copying puts the text on the clipboard too; that is what the caller asks for.
  return FSectionList->CopySelection();
}

// ---------------------------------------------------------------------------------------------
// Mouse

void THTMLViewer::ShowCursorId(int id)
{
  if (id == FShownCursor)
    return;
  FShownCursor = id;
  if (id < 0)
    FPaintPanel->setCursor(FCursor);
  else if (id == 0)
    FPaintPanel->setCursor(Qt::ArrowCursor);
  else
    FPaintPanel->setCursor(ViewerCursor(id));
}

bool THTMLViewer::LinkAtPoint(QPoint p, TFormControlObj*& control, std::string& url,
                              std::string& target)
{
  TUrlTarget ut;
  control = nullptr;
  bool found = FSectionList->LinkAt(*FMeasure, p.x(), p.y() + FSectionList->ScrollY, control, ut);
  url = found ? ut.Url : std::string();
  target = found ? ut.Target : std::string();
  return found;
}

TImageObj* THTMLViewer::ImageAtPoint(QPoint p, int32_t& x, int32_t& y)
{
  TFloatingObj* obj = nullptr;
  x = y = 0;
  if (!FSectionList->ObjectAt(p.x(), p.y() + FSectionList->ScrollY, obj, x, y))
    return nullptr;
  return dynamic_cast<TImageObj*>(obj);
}

int32_t THTMLViewer::CursorAtPoint(QPoint p, bool& inText)
{
  int32_t xr = 0, yr = 0, caretHeight = 0;
  TCell* cell = nullptr;
  inText = false;
  return FSectionList->CursorAt(*FMeasure, p.x(), p.y() + FSectionList->ScrollY, xr, yr,
                                caretHeight, cell, inText);
}

void THTMLViewer::HTMLMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint p)
{
  FMousePos = p;
  if (OnMouseDown)
    OnMouseDown(this, button, shift, p.x(), p.y());
  if (FMiddleMode) {
    EndMiddleMode();
    return;
  }
  if (button == Qt::MiddleButton) {
    FMiddleMode = true;
    FMiddleY = p.y();
    ShowCursorId(crUpDown);
    return;
  }
  if (button != Qt::LeftButton)
    return;
  setFocus();
  FButtonDown = FLeftDown = true;
  FLinkJustClicked = false;
  bool inText = false;
  int32_t index = CursorAtPoint(p, inText);
  if (index < 0)
    return;
  FSelAnchor = index;
  TDocument& doc = Doc();
  bool hadSelection = doc.SelStartPos != doc.SelEndPos;
  doc.SelStartPos = doc.SelEndPos = FCaretPos = index;
  FSelecting = true;
  if (hadSelection)
    FPaintPanel->update();
}

void THTMLViewer::HTMLMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint p)
{
  FMousePos = p;
  if (OnMouseMove)
    OnMouseMove(this, shift, p.x(), p.y());
  if (FMiddleMode) {
    if (!FAutoScrolling && std::abs(p.y() - FMiddleY) > 20) {
      FAutoScrolling = true;
      QCoreApplication::postEvent(this, new QEvent(WM_MOUSESCROLL));
    }
    return;
  }
  UpdateHover(buttons, shift, p);
  if (!FLeftDown || !(buttons & Qt::LeftButton))
    return;
  if ((p.y() < 0 || p.y() >= PanelHeight()) && !FAutoScrolling) {
    FAutoScrolling = true;
    QCoreApplication::postEvent(this, new QEvent(WM_MOUSESCROLL));
  }
  if (!FNoSelect)
    ExtendSelection(p);
}

void THTMLViewer::UpdateHover(Qt::MouseButtons, Qt::KeyboardModifiers shift, QPoint p)
{
  TFormControlObj* control = nullptr;
  std::string url, target;
  bool overLink = LinkAtPoint(p, control, url, target);
  int cursor = overLink ? int(crLinkHand) : 0;
  int32_t ix = 0, iy = 0;
  TImageObj* image = (OnImageClick || OnImageOver) ? ImageAtPoint(p, ix, iy) : nullptr;
  if (image) {
    if (OnImageOver)
      OnImageOver(this, image, shift, ix, iy);
  } else if (!overLink) {
    bool inText = false;
    cursor = CursorAtPoint(p, inText) >= 0 && inText ? -1 : 0;
  }
  ShowCursorId(cursor);
  if (url != FLinkURL) {
    FLinkURL = url;
    FLinkTarget = target;
    if (OnHotSpotCovered)
      OnHotSpotCovered(this, url);
  }
}

void THTMLViewer::ControlFocused(QWidget* now)
{
  if (!now || FProcessing || !FSectionList)
    return;
  for (const auto& control : Doc().AllFormControls) {
    auto* w = control->TheControl ? qobject_cast<QWidget*>(control->TheControl->Object()) : nullptr;
    if (!w || (w != now && !w->isAncestorOf(now)) || w->parentWidget() != FPaintPanel)
      continue;
    // A control tabbed to outside the window, or at its very bottom, is brought into view;
    // a form control not placed by the last paint stands on its line of the layout.
    int h = PanelHeight();
    if (control->Form && w->x() <= OutOfSightX)
      SetVScrollPosition(control->YValue - h / 2);
    else if (w->y() < 0 || w->y() > h - 20)
      SetVScrollPosition(w->y() + FSectionList->ScrollY - h / 2);
    return;
  }
}

void THTMLViewer::HTMLMouseLeave()
{
  if (FLeftDown || FMiddleMode)
    return;
  // A point outside the document clears the hover colouring too.
  TFormControlObj* control = nullptr;
  std::string url, target;
  LinkAtPoint(QPoint(-30000, -30000 - FSectionList->ScrollY), control, url, target);
  ShowCursorId(0);
  if (!FLinkURL.empty()) {
    FLinkURL.clear();
    FLinkTarget.clear();
    if (OnHotSpotCovered)
      OnHotSpotCovered(this, std::string());
  }
}

void THTMLViewer::ExtendSelection(QPoint p)
{
  if (FSelAnchor < 0)
    return;
  QPoint q(p.x(), std::clamp(p.y(), 0, std::max(0, PanelHeight() - 1)));
  bool inText = false;
  int32_t index = CursorAtPoint(q, inText);
  // Spacing blocks have no character positions: the nearest line above or below stands in.
  for (int d = 1; index < 0 && d <= 64; ++d) {
    index = CursorAtPoint(q + QPoint(0, d), inText);
    if (index < 0)
      index = CursorAtPoint(q - QPoint(0, d), inText);
  }
  if (index < 0)
    return;
  TDocument& doc = Doc();
  doc.SelStartPos = std::min(FSelAnchor, index);
  doc.SelEndPos = std::max(FSelAnchor, index);
  FCaretPos = index;
  FPaintPanel->update();
}

void THTMLViewer::HTMLMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint p)
{
  FMousePos = p;
  if (OnMouseUp)
    OnMouseUp(this, button, shift, p.x(), p.y());
  if (FMiddleMode) {
    if (button != Qt::MiddleButton || p.y() != FMiddleY)
      EndMiddleMode();
    return;
  }
  bool wentDown = FButtonDown && button == Qt::LeftButton;
  if (button == Qt::LeftButton) {
    FButtonDown = FLeftDown = FSelecting = false;
  }
  if (OnImageClick) {
    int32_t ix = 0, iy = 0;
    if (TImageObj* image = ImageAtPoint(p, ix, iy))
      OnImageClick(this, image, button, shift, ix, iy);
  }
  if (button == Qt::RightButton) {
    RightClick(p);
    return;
  }
  if (!wentDown || Doc().SelStartPos != Doc().SelEndPos)
    return;
  TFormControlObj* control = nullptr;
  std::string url, target;
  if (!LinkAtPoint(p, control, url, target))
    return;
  if (auto* image = dynamic_cast<TImageFormControlObj*>(control)) {
    image->ImageClicked();
    return;
  }
  if (control)
    return;
  FLinkURL = url;
  FLinkTarget = target;
  FLinkJustClicked = true;
  ActivateLink();
}

void THTMLViewer::RightClick(QPoint p)
{
  if (!OnRightClick)
    return;
  TRightClickParameters params;
  params.ClickedImage = ImageAtPoint(p, params.ImageClickX, params.ImageClickY);
  TFormControlObj* control = nullptr;
  LinkAtPoint(p, control, params.URL, params.Target);
  bool inText = false;
  int32_t index = CursorAtPoint(p, inText);
  int32_t start = 0, end = 0;
  if (index >= 0)
    params.ClickedWord = WordAt(index, start, end);
  OnRightClick(this, params);
}

void THTMLViewer::HTMLMouseDouble(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint p)
{
  FMousePos = p;
  if (button != Qt::LeftButton || FProcessing || FLinkJustClicked)
    return;
  if (!FNoSelect) {
    bool inText = false;
    int32_t index = CursorAtPoint(p, inText);
    int32_t start = 0, end = 0;
    if (index >= 0 && !WordAt(index, start, end).empty()) {
      Doc().SelStartPos = start;
      Doc().SelEndPos = end;
      FCaretPos = start;
      FPaintPanel->update();
    }
  }
  if (OnMouseDouble)
    OnMouseDouble(this, Qt::LeftButton, shift, p.x(), p.y());
}

std::string THTMLViewer::WordAt(int32_t position, int32_t& start, int32_t& end) const
{
  start = end = position;
  char ch = 0;
  TCharObject obj;
  if (!FSectionList->CharAt(position, ch, obj) || !IsWordChar(ch))
    return std::string();
  // A character of another block item, even one in the next table cell, counts as a space.
  const TSectionBase* item = obj.Item;
  auto wordCharAt = [&](int32_t pos, char& c) {
    return FSectionList->CharAt(pos, c, obj) && obj.Item == item && IsWordChar(c);
  };
  std::string word(1, ch);
  char c = 0;
  while (start > 0 && wordCharAt(start - 1, c)) {
    --start;
    word.insert(word.begin(), c);
  }
  end = position + 1;
  while (wordCharAt(end, c)) {
    ++end;
    word.push_back(c);
  }
  return word;
}

void THTMLViewer::EndMiddleMode()
{
  FMiddleMode = false;
  ShowCursorId(-1);
}

int32_t THTMLViewer::AutoScrollStep(QPoint p)
{
  if (FMiddleMode) {
    int d = p.y() - FMiddleY;
    int32_t step = d < -60 ? -32 : d < -20 ? -8 : d > 60 ? 32 : d <= 20 ? 0 : 8;
    if (step != 0)
      ShowCursorId(step < 0 ? crUpOnly : crDownOnly);
    return step;
  }
  int h = PanelHeight();
  if (p.y() < -15)
    return -8 * SmallStep;
  if (p.y() <= 0)
    return -SmallStep;
  if (p.y() > h + 15)
    return 8 * SmallStep;
  return SmallStep;
}

bool THTMLViewer::AutoScrollWanted() const
{
  bool outside = FMousePos.y() < 0 || FMousePos.y() >= PanelHeight();
  return (FLeftDown && outside) || (FMiddleMode && std::abs(FMousePos.y() - FMiddleY) > 20);
}

void THTMLViewer::AutoScrollTick()
{
  if (!AutoScrollWanted()) {
    FAutoScrollTimer->stop();
    FAutoScrolling = false;
    if (FMiddleMode)
      ShowCursorId(crUpDown);
    return;
  }
  ScrollTo(FSectionList->ScrollY + AutoScrollStep(FMousePos), false);
  if (FLeftDown && !FNoSelect)
    ExtendSelection(FMousePos);
  FPaintPanel->update();
  // Moves and the button release keep arriving between ticks and end the scrolling.
  if (!FAutoScrollTimer->isActive())
    FAutoScrollTimer->start(AutoScrollInterval);
}
