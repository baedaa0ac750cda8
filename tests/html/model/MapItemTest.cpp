#include "html/model/MapItem.h"

#include <gtest/gtest.h>

namespace {

struct HitCase {
  const char* Name;
  const char* Shape;
  const char* Coords;
  int X, Y;
  bool Hit;
};

class MapShapes : public ::testing::TestWithParam<HitCase> {};

TEST_P(MapShapes, PointTests)
{
  const HitCase& c = GetParam();
  TMapItem map;
  map.AddArea(c.Shape, c.Coords, "target.htm", false, "frame");
  TUrlTarget t;
  EXPECT_EQ(map.HitTest(c.X, c.Y, t), c.Hit) << c.Name;
  if (c.Hit) {
    EXPECT_EQ(t.Url, "target.htm");
    EXPECT_EQ(t.Target, "frame");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MapShapes,
    ::testing::Values(HitCase{"rect inside", "rect", "10,10,20,20", 15, 15, true},
                      HitCase{"rect right edge inclusive", "rect", "10,10,20,20", 20, 20, true},
                      HitCase{"rect outside", "rect", "10,10,20,20", 21, 15, false},
                      HitCase{"rect left of it", "RECTANGLE", "10,10,20,20", 9, 15, false},
                      HitCase{"default shape is a rectangle", "", "0 0 5 5", 3, 3, true},
                      HitCase{"rect with three numbers ignored", "rect", "1,1,50", 10, 10, false},
                      HitCase{"circle centre", "circle", "10,10,5", 10, 10, true},
                      HitCase{"circle rim", "circ", "10,10,5", 14, 10, true},
                      HitCase{"circle corner outside", "circle", "10,10,5", 14, 14, false},
                      HitCase{"circle far", "circle", "10,10,5", 17, 10, false},
                      HitCase{"poly inside", "poly", "0,0,20,0,0,20", 4, 4, true},
                      HitCase{"poly beyond the diagonal", "polygon", "0,0,20,0,0,20", 15, 15,
                              false},
                      HitCase{"poly with five numbers ignored", "poly", "0,0,20,0,0", 1, 1, false},
                      HitCase{"junk coordinates count as 0", "rect", "x,y,5,5", 0, 0, true}));

TEST(MapItem, NoHrefAreaMasksLaterAreas)
{
  TMapItem map;
  map.AddArea("rect", "0,0,10,10", "", true, "");
  map.AddArea("rect", "0,0,100,100", "big.htm", false, "");
  TUrlTarget t;
  EXPECT_FALSE(map.HitTest(5, 5, t));
  EXPECT_TRUE(map.HitTest(50, 50, t));
  EXPECT_EQ(t.Url, "big.htm");
}

TEST(MapItem, CoordinatesAreParsedLikeTheAreaTag)
{
  EXPECT_EQ(TMapItem::ParseCoords(" 1, 2 ,,3  4,x,-5 "), (std::vector<int>{1, 2, 3, 4, 0, -5}));
  EXPECT_EQ(TMapItem::ParseCoords(std::string(1000, ',') + "7").size(), 1u);
  std::string many;
  for (int i = 0; i < 400; ++i)
    many += "1,";
  EXPECT_EQ(TMapItem::ParseCoords(many).size(), 301u);
}

} // namespace
