#include "app/WidgetLayout.h"

#include <gtest/gtest.h>

namespace {

// Frame 3 fixed and 4 sizing; caption buttons 18 by 18, small ones 12 by 14; window 500 wide.
TCaptionMetrics Metrics()
{
  TCaptionMetrics m;
  m.FixedFrameWidth = 3;
  m.FixedFrameHeight = 3;
  m.SizingFrameWidth = 4;
  m.SizingFrameHeight = 4;
  m.ButtonWidth = 18;
  m.ButtonHeight = 18;
  m.SmallButtonWidth = 12;
  m.SmallButtonHeight = 14;
  return m;
}

TEST(WidgetLayout, EveryBorderKindAndItsCaptionButtons)
{
  using S = TFormBorderStyle;
  const TBorderIcons all{true, true, true, true};
  const TBorderIcons sysMinMax{true, true, true, false};
  const TBorderIcons sysOnly{true, false, false, false};
  const TBorderIcons sysHelp{true, false, false, true};
  const TBorderIcons none{};
  struct Case {
    const char* Name;
    S Style;
    TBorderIcons Icons;
    TWidgetSlot Slot;
    QRect Rect;
    int Distance;
  };
  const Case cases[] = {
      {"sizeable, minimise and maximise",
       S::bsSizeable,
       sysMinMax,
       {0, 0, 2},
       {424, 6, 16, 14},
       76},
      {"single, system menu only", S::bsSingle, sysOnly, {0, 0, 2}, {461, 5, 16, 14}, 39},
      {"dialog ignores minimise, counts help", S::bsDialog, all, {0, 0, 2}, {442, 5, 16, 14}, 58},
      {"sizeable with help only", S::bsSizeable, sysHelp, {0, 0, 2}, {442, 6, 16, 14}, 58},
      {"help without system menu",
       S::bsSizeable,
       {false, false, false, true},
       {0, 0, 2},
       {478, 6, 16, 14},
       22},
      {"no system menu", S::bsSizeable, none, {0, 0, 2}, {478, 6, 16, 14}, 22},
      {"fixed tool window", S::bsToolWindow, sysOnly, {0, 0, 2}, {473, 5, 10, 10}, 27},
      {"sizeable tool window", S::bsSizeToolWin, none, {0, 0, 2}, {484, 6, 10, 10}, 16},
      {"own gap widens the room to the right",
       S::bsSizeable,
       sysMinMax,
       {0, 0, 7},
       {419, 6, 16, 14},
       81},
      {"second widget", S::bsSizeable, sysMinMax, {1, 2, 2}, {406, 6, 16, 14}, 94},
      {"second widget after a wide gap", S::bsSizeable, sysMinMax, {1, 7, 2}, {401, 6, 16, 14}, 99},
      {"third widget", S::bsSingle, sysOnly, {2, 4, 2}, {425, 5, 16, 14}, 75},
  };
  for (const Case& c : cases) {
    TWidgetPlace place = WidgetPlace(c.Style, c.Icons, Metrics(), c.Slot, 500);
    EXPECT_EQ(place.Rect, c.Rect) << c.Name;
    EXPECT_EQ(place.RightDistance, c.Distance) << c.Name;
    EXPECT_EQ(place.Rect.left(), 500 - place.RightDistance) << c.Name;
  }
}

TEST(WidgetLayout, NoBorderLeavesNothingToDraw)
{
  for (int index : {0, 1, 3}) {
    TWidgetPlace place = WidgetPlace(TFormBorderStyle::bsNone, {true, true, true, true}, Metrics(),
                                     {index, 2 * index, 2}, 500);
    EXPECT_TRUE(place.Rect.isEmpty()) << index;
  }
}

} // namespace
