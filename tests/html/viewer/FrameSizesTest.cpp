#include "html/viewer/FrameSizes.h"

#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <vector>

namespace {

using Dims = std::vector<int32_t>;

TEST(FrameSizes, ParseReadsPixelsPercentagesAndShares)
{
  struct Case {
    std::string Value;
    Dims Expected;
  };
  const Case cases[] = {
      {"100,*,2*", {100, -1, -2}},
      {"50%,*", {-150, -1}},
      {"*", {-1}},
      {"", {}},
      {"0", {1}},        // at least one pixel
      {"0*", {-1}},      // at least one share
      {"7000", {5000}},  // pixels capped
      {"150*", {-99}},   // shares capped
      {"950%", {-1000}}, // 900 per cent at most
      {"100,", {100}},   // a trailing comma adds nothing
      {" , ", {-1, -1}}, // blanks are entries of one share
      {"  30 px , 20 % ,3 *", {30, -120, -3}},
      {"abc,12x*", {-1, -12}},             // characters before the number are skipped
      {"99999999999999999999999", {5000}}, // too long for 32 bits: clamped, not an error
      {"99999999999999999999999%", {-1000}},
      {"12345678901234567890123456*", {-99}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(framesizes::Parse(c.Value), c.Expected) << c.Value;
}

TEST(FrameSizes, ParseKeepsTwentyEntries)
{
  std::string value;
  for (int i = 1; i <= 30; ++i)
    value += std::to_string(i) + ",";
  Dims dims = framesizes::Parse(value);
  ASSERT_EQ(dims.size(), 20u);
  EXPECT_EQ(dims.front(), 1);
  EXPECT_EQ(dims.back(), 20);
}

TEST(FrameSizes, SizesFollowTheArithmetic)
{
  struct Case {
    const char* Name;
    Dims Dims_;
    int32_t Extent;
    Dims Expected;
  };
  const Case cases[] = {
      // P=100, R=3: u = (400-100)/3 = 100.
      {"pixels and shares", {100, -1, -2}, 400, {100, 100, 200}},
      // Q=50: S = min(150, 300) = 150; u = (300-150)/1.
      {"percent and share", {-150, -1}, 300, {150, 150}},
      // E-P = -200: each pixel entry scaled by 400/600.
      {"pixels overflow", {300, 300}, 400, {200, 200}},
      // Overflow leaves nothing for shares or percentages.
      {"pixels overflow others", {300, 300, -1, -150}, 400, {200, 200, 0, 0}},
      // Q=200: S = min(1000, 400) = 400: percentages take the rest, shares nothing.
      {"percentages overflow", {100, -200, -200, -1}, 500, {100, 200, 200, 0}},
      // Q=60: S = 300; the unit is (500-300)/3 = 66, two pixels stay over.
      {"percent and shares", {-160, -1, -2}, 500, {300, 66, 132}},
      // Only pixels that do not fill: kept as they are.
      {"pixels underflow", {100, 100}, 500, {100, 100}},
      // Q=30: S = MulDiv(333, 30, 100) = 100; p 10 gets MulDiv(100,10,30) = 33.
      {"percent rounding", {-110, -120}, 333, {33, 67}},
      {"empty", {}, 400, {}},
      {"no room", {-1, -1}, 0, {0, 0}},
      {"negative extent", {10, -1}, -5, {0, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(framesizes::Sizes(c.Dims_, c.Extent), c.Expected) << c.Name;
}

TEST(FrameSizes, EndsFillTheExtentExactly)
{
  struct Case {
    const char* Name;
    Dims Sizes;
    int32_t Extent;
    Dims Expected;
  };
  const Case cases[] = {
      {"same total", {100, 100, 200}, 400, {100, 200, 400}},
      {"stretched", {100, 100, 200}, 800, {200, 400, 800}},
      // Three equal thirds of 100: 33.3, 66.7, 100; rounding never passes the end.
      {"thirds", {1, 1, 1}, 100, {33, 67, 100}},
      // The 2 pixels the shares left over are spread, not lost.
      {"remainder spread", {300, 66, 132}, 500, {301, 367, 500}},
      {"all zero shares equally", {0, 0, 0, 0}, 10, {3, 5, 8, 10}},
      {"nothing to place", {5, 5}, 0, {0, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(framesizes::Ends(c.Sizes, c.Extent), c.Expected) << c.Name;
}

TEST(FrameSizes, EndsNeverLeaveAGapForOddExtents)
{
  for (int32_t extent = 1; extent < 300; extent += 7)
    for (const Dims& sizes : {Dims{1, 1, 1}, Dims{7, 13, 2, 5}, Dims{1000, 1}, Dims{0, 3}}) {
      Dims ends = framesizes::Ends(sizes, extent);
      EXPECT_EQ(ends.back(), extent);
      EXPECT_TRUE(std::is_sorted(ends.begin(), ends.end()));
    }
}

TEST(FrameSizes, DraggedBordersKeepTheTotal)
{
  // Two columns of 200 in 400 pixels; the border moved to 100 gives 100 and 300 of 400.
  Dims sizes = framesizes::SizesFromEnds({100, 400}, 400, 400);
  EXPECT_EQ(sizes, (Dims{100, 300}));
  // Shown at 800 pixels for a total of 400: the border at 200 is a quarter.
  sizes = framesizes::SizesFromEnds({200, 800}, 800, 400);
  EXPECT_EQ(sizes, (Dims{100, 300}));
  EXPECT_EQ(std::accumulate(sizes.begin(), sizes.end(), 0), 400);
  EXPECT_EQ(framesizes::Ends(sizes, 800), (Dims{200, 800}));
}

} // namespace
