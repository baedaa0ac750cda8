#include "base/Color.h"
#include "base/FreeList.h"
#include "base/MulDiv.h"
#include "base/StringUtil.h"

#include <QColor>
#include <gtest/gtest.h>

TEST(MulDiv, RoundsToNearestWithWideIntermediate)
{
  struct Case {
    int32_t a, b, c, expected;
  } cases[] = {
      {10, 3, 4, 8},                    // 7.5 rounds up
      {10, 1, 4, 3},                    // 2.5 rounds away from zero
      {7, 1, 3, 2},                     // 2.33 rounds down
      {-10, 3, 4, -8},                  // symmetric for negatives
      {100000, 100000, 100000, 100000}, // the product overflows 32 bits
      {1, 1, 0, -1},                    // zero divisor
      {2000000000, 2, 1, -1},           // result does not fit
  };
  for (const auto& k : cases)
    EXPECT_EQ(MulDiv(k.a, k.b, k.c), k.expected) << k.a << "*" << k.b << "/" << k.c;
}

TEST(Color, RedSitsInTheLowByteAndSystemColoursAreNegative)
{
  EXPECT_EQ(RGBColor(255, 0, 0), 0x0000FF);
  EXPECT_EQ(RGBColor(0, 0, 255), 0xFF0000);
  EXPECT_LT(clBtnFace, 0);
  QColor q = ToQColor(RGBColor(1, 2, 3) | PaletteFlag);
  EXPECT_EQ(q, QColor(1, 2, 3));
  EXPECT_EQ(ColorToRGB(RGBColor(9, 8, 7) | PaletteFlag), RGBColor(9, 8, 7));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
}

TEST(FreeList, OwnsItemsAndFreesThemOnClear)
{
  struct Probe {
    int* alive;
    explicit Probe(int* a) : alive(a) { ++*alive; }
    ~Probe() { --*alive; }
  };
  int alive = 0;
  {
    TFreeList<Probe> list;
    list.Add(std::make_unique<Probe>(&alive));
    list.Add(std::make_unique<Probe>(&alive));
    Probe* third = list.Add(std::make_unique<Probe>(&alive));
    EXPECT_EQ(alive, 3);
    EXPECT_EQ(list.IndexOf(third), 2);
    list.Delete(0);
    EXPECT_EQ(alive, 2);
    auto taken = list.Extract(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(alive, 2);
    taken.reset();
    EXPECT_EQ(alive, 1);
    list.Add(std::make_unique<Probe>(&alive));
  }
  EXPECT_EQ(alive, 0);
}

TEST(StringUtil, ConversionsAndPaths)
{
  int32_t v = 0;
  struct Case {
    const char* text;
    bool ok;
    int32_t value;
  } cases[] = {{"42", true, 42},   {"-7", true, -7},   {"+3", true, 3},
               {"$ff", true, 255}, {"0x10", true, 16}, {"12px", false, 0},
               {"", false, 0},     {"-", false, 0},    {"99999999999", false, 0}};
  for (const auto& k : cases) {
    v = 0;
    EXPECT_EQ(strutil::TryStrToInt(k.text, v), k.ok) << k.text;
    if (k.ok) {
      EXPECT_EQ(v, k.value) << k.text;
    }
  }
  EXPECT_EQ(strutil::Trim("\r\n  a b \t"), "a b");
  EXPECT_EQ(strutil::ExtractFileExt("/x.y/file.HTML"), ".HTML");
  EXPECT_EQ(strutil::ExtractFileExt("/x.y/file"), "");
  EXPECT_EQ(strutil::ExtractFileExt("/d/a.html#top.x"), ".x");
  EXPECT_EQ(strutil::ExtractFilePath("/d/e/f.htm"), "/d/e/");
  EXPECT_EQ(strutil::ExtractFileName("/d/e/f.htm"), "f.htm");
  EXPECT_TRUE(strutil::SameText("Arial", "ARIAL"));
}
