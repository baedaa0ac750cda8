#include "app/WidgetLayout.h"

namespace {

struct TCaptionBox {
  int X = 0; // room taken from the right edge by the frame and the caption's own buttons
  int Y = 0;
  int W = 0;
  int H = 0;
};

TCaptionBox ToolWindowBox(TFormBorderStyle style, const TBorderIcons& icons,
                          const TCaptionMetrics& m)
{
  bool fixed = style == TFormBorderStyle::bsToolWindow;
  TCaptionBox box;
  box.X = fixed ? m.FixedFrameWidth : m.SizingFrameWidth;
  if (icons.SystemMenu)
    box.X += m.SmallButtonWidth;
  box.Y = fixed ? m.FixedFrameHeight : m.SizingFrameHeight;
  box.W = m.SmallButtonWidth;
  box.H = m.SmallButtonHeight;
  return box;
}

TCaptionBox WindowBox(TFormBorderStyle style, const TBorderIcons& icons, const TCaptionMetrics& m)
{
  bool single = style == TFormBorderStyle::bsSingle;
  bool dialog = style == TFormBorderStyle::bsDialog;
  TCaptionBox box;
  box.X = single ? m.FixedFrameWidth : m.SizingFrameWidth;
  if (icons.SystemMenu) {
    box.X += m.ButtonWidth;
    if (!dialog && (icons.Minimize || icons.Maximize))
      box.X += 2 * m.ButtonWidth;
    else if (icons.Help)
      box.X += m.ButtonWidth;
  }
  box.Y = single || dialog ? m.FixedFrameHeight : m.SizingFrameHeight;
  box.W = m.ButtonWidth;
  box.H = m.ButtonHeight;
  return box;
}

TCaptionBox CaptionBox(TFormBorderStyle style, const TBorderIcons& icons, const TCaptionMetrics& m)
{
  switch (style) {
  case TFormBorderStyle::bsNone: return {};
  case TFormBorderStyle::bsToolWindow:
  case TFormBorderStyle::bsSizeToolWin: return ToolWindowBox(style, icons, m);
  default: return WindowBox(style, icons, m);
  }
}

} // namespace

TWidgetPlace WidgetPlace(TFormBorderStyle style, const TBorderIcons& icons,
                         const TCaptionMetrics& metrics, const TWidgetSlot& slot, int windowWidth)
{
  TCaptionBox box = CaptionBox(style, icons, metrics);
  int gaps = 2 + slot.PrecedingGaps;
  int x = box.X + (box.W - 2) * slot.Index + gaps;
  TWidgetPlace place;
  place.RightDistance = box.W + x + slot.Gap - 4;
  place.Rect = QRect(windowWidth - place.RightDistance, box.Y + 2, box.W - 2, box.H - 4);
  return place;
}
