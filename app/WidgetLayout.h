#pragma once
// Where a caption widget stands: its rectangle in window coordinates and its distance from the
// window's right edge, from the form's border and the caption metrics. Kept apart from the
// widget so that every border kind can be checked without a window of that kind.
#include <QRect>

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

struct TBorderIcons {
  bool SystemMenu = false;
  bool Minimize = false;
  bool Maximize = false;
  bool Help = false;
};

struct TCaptionMetrics {
  int FixedFrameWidth = 0;
  int FixedFrameHeight = 0;
  int SizingFrameWidth = 0;
  int SizingFrameHeight = 0;
  int ButtonWidth = 0;
  int ButtonHeight = 0;
  int SmallButtonWidth = 0;
  int SmallButtonHeight = 0;
};

struct TWidgetPlace {
  QRect Rect;
  int RightDistance = 0;
};

struct TWidgetSlot {
  int Index = 0;         // widgets of the same form created before this one
  int PrecedingGaps = 0; // the Gap of every widget of the form with a lower index, summed
  int Gap = 2;           // this widget's own Gap
};

TWidgetPlace WidgetPlace(TFormBorderStyle style, const TBorderIcons& icons,
                         const TCaptionMetrics& metrics, const TWidgetSlot& slot, int windowWidth);
