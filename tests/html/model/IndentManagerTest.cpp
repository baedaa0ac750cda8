#include "html/model/IndentManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Every record kept and scanned for every question: the answers the manager must keep giving.
struct Reference {
  struct Rec {
    int32_t X, Top, Bottom, Level;
  };
  std::vector<Rec> Left, Right;
  int32_t Edge = 0, Level = 0;

  int32_t LeftMargin(int32_t y) const
  {
    int32_t x = 0;
    for (const Rec& r : Left)
      if (r.Top <= y && y < r.Bottom)
        x = std::max(x, r.X);
    return Edge + x;
  }
  int32_t RightMargin(int32_t y, int32_t right) const
  {
    int32_t x = 0;
    for (const Rec& r : Right)
      if (r.Top <= y && y < r.Bottom)
        x = std::min(x, r.X);
    return right + x;
  }
  int32_t Bottom(const std::vector<Rec>& list, int32_t plus) const
  {
    int32_t b = 0;
    for (const Rec& r : list)
      if (r.Level == 0)
        b = std::max(b, r.Bottom + plus);
    return b;
  }
  int32_t LevelBottom() const
  {
    int32_t levelX = 0, b = 0;
    for (const Rec& r : Left)
      if (r.Level == Level && Level > 0)
        levelX = r.X;
    for (const Rec& r : Left)
      if (r.Level == 0 && r.X > levelX)
        b = std::max(b, r.Bottom + 1);
    return b;
  }
  void SetLevel(int32_t y, int32_t level)
  {
    for (int32_t n = Level + 1; n <= level; ++n)
      Left.push_back({LeftMargin(y) - Edge + 35, y, 9999999, n});
    if (level < Level)
      for (Rec& r : Left)
        if (r.Level > level)
          r = {r.X, r.Top, y - 1, 0};
    Level = level;
  }
};

constexpr int32_t LeftEdge = 10, RightEdge = 600;

void ExpectSame(const IndentManager& m, const Reference& ref, int32_t y)
{
  SCOPED_TRACE(y);
  EXPECT_EQ(m.LeftMargin(y), ref.LeftMargin(y));
  EXPECT_EQ(m.RightMargin(y), ref.RightMargin(y, RightEdge));
  EXPECT_EQ(m.FloatBottom(), std::max(ref.Bottom(ref.Left, 0), ref.Bottom(ref.Right, 0)));
  int32_t left = -1, right = -1;
  m.ClearBottoms(left, right);
  EXPECT_EQ(left, ref.Bottom(ref.Left, 1));
  EXPECT_EQ(right, ref.Bottom(ref.Right, 1));
  EXPECT_EQ(m.LevelBottom(), ref.LevelBottom());
}

// A cell laid out downwards with list levels opening and closing and floats on both sides;
// every step also asks about lines above the current one, which a relayout of a table may do.
class IndentAnswers : public ::testing::TestWithParam<unsigned> {};

TEST_P(IndentAnswers, MatchKeepingEveryRecord)
{
  std::mt19937 rng(GetParam());
  IndentManager m;
  m.Clear();
  m.Reset(LeftEdge, RightEdge);
  Reference ref;
  ref.Edge = LeftEdge;
  int32_t y = 0;
  for (int step = 0; step < 300; ++step) {
    y += int32_t(rng() % 40);
    if (rng() % 7 == 0)
      y -= int32_t(rng() % 60); // a section laid out again a little higher up
    switch (rng() % 3) {
    case 0: {
      int32_t level = int32_t(rng() % 4);
      m.SetLevel(y, level);
      ref.SetLevel(y, level);
      break;
    }
    default: {
      int32_t width = 5 + int32_t(rng() % 50), height = int32_t(rng() % 120);
      bool left = rng() % 2 == 0;
      if (left)
        ref.Left.push_back({ref.LeftMargin(y) + width - LeftEdge, y, y + height, 0});
      else
        ref.Right.push_back({ref.RightMargin(y, RightEdge) - RightEdge - width, y, y + height, 0});
      m.AddFloat(y, width, left ? plLeft : plRight, height);
    }
    }
    for (int32_t dy : {-200, -41, -1, 0, 1, 17, 90, 300})
      ExpectSame(m, ref, y + dy);
    if (HasFailure())
      return;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, IndentAnswers, ::testing::Values(1u, 2u, 3u, 42u, 1234u));

TEST(IndentManagerTest, ClearForgetsFinishedRecords)
{
  IndentManager m;
  m.Reset(LeftEdge, RightEdge);
  m.AddFloat(0, 40, plLeft, 100);
  m.SetLevel(500, 2);
  m.SetLevel(600, 0);
  m.Clear();
  m.Reset(LeftEdge, RightEdge);
  EXPECT_EQ(m.FloatBottom(), 0);
  EXPECT_EQ(m.LeftMargin(50), LeftEdge);
  EXPECT_EQ(m.LevelBottom(), 0);
}

} // namespace
