#include "outline/TreeFile.h"
#include "outline/FloatText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A shape written as "text:parent" per placed line, parents as line numbers or -1.
std::string Describe(const std::vector<TTreeLine>& lines, const TTreeShape& shape)
{
  std::string out;
  for (size_t i = 0; i < shape.Parent.size(); ++i)
    out += lines[i].Text.toStdString() + ":" + std::to_string(shape.Parent[i]) + " ";
  return out;
}

TEST(TreeFile, ShapesLinesByDepth)
{
  struct TCase {
    const char* File;
    const char* Shape;
    const char* Error;
  };
  const TCase cases[] = {
      {"", "", ""},
      {"a\r\nb\r\n", "a:-1 b:-1 ", ""},
      {"a\r\n\tb\r\n\t\tc\r\n\td\r\ne", "a:-1 b:0 c:1 d:0 e:-1 ", ""},
      {"a\n\tb\n\t\tc\n\t\t\td\n\te", "a:-1 b:0 c:1 d:2 e:0 ", ""}, // back up two levels
      {"a\r\tb\r\t\tc\rd", "a:-1 b:0 c:1 d:-1 ", ""},               // CR alone ends a line
      {"\t\ta\n\tb\nc", "a:-1 b:0 c:-1 ", ""}, // an indented first line is a root at level 0
      {"\t\ta\n\tb", "a:-1 b:0 ", ""},         // so one tab under it is a child
      {"a\n b\n\t c", "a:-1 b:0 c:1 ", ""},    // tabs and spaces each count one level
      {"a\n \tb", "a:-1 ", "Invalid level (2) for item \"b\""},
      {"a\n\n\tb", "a:-1 :-1 b:1 ", ""}, // an empty line is an empty root node
      {"a\n\t\tb\nc", "a:-1 ", "Invalid level (2) for item \"b\""},
      {"a\n\tb\n\t\t\t\tc", "a:-1 b:0 ", "Invalid level (4) for item \"c\""},
      {"\t\ta\n\t\t\tb", "a:-1 ", "Invalid level (3) for item \"b\""},
  };
  for (const TCase& c : cases) {
    std::vector<TTreeLine> lines = ReadTreeLines(QByteArray(c.File));
    TTreeShape shape = ShapeTree(lines);
    EXPECT_EQ(Describe(lines, shape), c.Shape) << c.File;
    EXPECT_EQ(shape.Error.toStdString(), c.Error) << c.File;
  }
}

TEST(TreeFile, ReadsUtf8AndKeepsSingleByteFiles)
{
  std::vector<TTreeLine> utf8 = ReadTreeLines("caf\xC3\xA9\r\n");
  ASSERT_EQ(utf8.size(), 1u);
  EXPECT_EQ(utf8[0].Text, QString::fromUtf8("caf\xC3\xA9"));
  std::vector<TTreeLine> latin1 = ReadTreeLines("caf\xE9\r\n\tna\xEFve");
  ASSERT_EQ(latin1.size(), 2u);
  EXPECT_EQ(latin1[0].Text, QString::fromUtf8("caf\xC3\xA9"));
  EXPECT_EQ(latin1[1].Text, QString::fromUtf8("na\xC3\xAFve"));
  EXPECT_EQ(latin1[1].Depth, 1);
  // A byte order mark is skipped at the start of the file only; the indent after it counts.
  std::vector<TTreeLine> marked = ReadTreeLines("\xEF\xBB\xBF\ta\r\n\xEF\xBB\xBF"
                                                "b\r\n\xC3\xA9");
  ASSERT_EQ(marked.size(), 3u);
  EXPECT_EQ(marked[0].Depth, 1);
  EXPECT_EQ(marked[0].Text, "a");
  EXPECT_EQ(marked[1].Depth, 0);
  EXPECT_EQ(marked[1].Text, QString(QChar(0xFEFF)) + "b");
  EXPECT_EQ(marked[2].Text, QString(QChar(0xE9)));
  // One bad sequence, even after good ones, makes the whole file single-byte, mark included.
  std::vector<TTreeLine> mixed = ReadTreeLines("\xEF\xBB\xBF"
                                               "a\r\n\xC3\xA9\r\n\xE9");
  ASSERT_EQ(mixed.size(), 3u);
  EXPECT_EQ(mixed[0].Text, QString::fromLatin1("\xEF\xBB\xBF"
                                               "a"));
  EXPECT_EQ(mixed[1].Text, QString::fromLatin1("\xC3\xA9"));
  EXPECT_EQ(mixed[2].Text, QString(QChar(0xE9)));
}

TEST(TreeFile, WritesTabsTextAndCrLf)
{
  QByteArray out;
  EXPECT_TRUE(AppendTreeLine(out, 0, "a=1"));
  EXPECT_TRUE(AppendTreeLine(out, 2, QString::fromUtf8("\xC3\xA9")));
  EXPECT_EQ(out, QByteArray("a=1\r\n\t\t\xC3\xA9\r\n"));
  QByteArray latin1;
  EXPECT_TRUE(AppendTreeLine(latin1, 1, QString::fromUtf8("\xC3\xA9"), true));
  EXPECT_FALSE(AppendTreeLine(latin1, 1, QString::fromUtf8("\xE2\x82\xAC"), true));
  EXPECT_EQ(latin1, QByteArray("\t\xE9\r\n"));
}

TEST(TreeFile, TellsWhichEncodingItRead)
{
  struct TCase {
    const char* Bytes;
    TTreeEncoding Encoding;
  } cases[] = {
      {"a\r\n", TTreeEncoding::Utf8},
      {"\xC3\xA9", TTreeEncoding::Utf8},
      {"\xEF\xBB\xBF"
       "a",
       TTreeEncoding::Utf8WithMark},
      {"\xEF\xBB\xBF\xE9", TTreeEncoding::Latin1},
      {"\xE9", TTreeEncoding::Latin1},
  };
  for (const TCase& c : cases) {
    TTreeEncoding encoding = TTreeEncoding::Utf8WithMark;
    ReadTreeLines(c.Bytes, &encoding);
    EXPECT_EQ(int(encoding), int(c.Encoding)) << c.Bytes;
  }
}

TEST(FloatText, GeneralFormatHasFifteenSignificantDigits)
{
  struct TCase {
    long double Value;
    const char* Text;
  };
  const TCase cases[] = {
      {0, "0"},
      {-0.0L, "0"},
      {2, "2"},
      {-2.5L, "-2.5"},
      {1.0L / 3, "0.333333333333333"},
      {2 * 3.14159265358979323846264338327950288L, "6.28318530717959"},
      {123456789012345.0L, "123456789012345"},
      {1234567890123456.0L, "1.23456789012346e+15"},
      {0.0001L, "0.0001"},
      {0.00001L, "1e-05"},
      {1E400L, "1e+400"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(floattext::FormatGeneral(c.Value), c.Text) << c.Text;
  EXPECT_EQ(floattext::FormatGeneral(-2.5L, ','), "-2,5");
}

TEST(FloatText, TextToFloatAcceptsPlainNumbersOnly)
{
  struct TCase {
    const char* Text;
    char Point;
    bool Ok;
    long double Value;
  };
  const TCase cases[] = {
      {"6", '.', true, 6},           {" -2.5 ", '.', true, -2.5L}, {"+1e3", '.', true, 1000},
      {".5", '.', true, 0.5L},       {"5.", '.', true, 5},         {"2,5", ',', true, 2.5L},
      {"1e+400", '.', true, 1E400L}, {"", '.', false, 0},          {"new", '.', false, 0},
      {"inf", '.', false, 0},        {"nan", '.', false, 0},       {"0x10", '.', false, 0},
      {"1e", '.', false, 0},         {"1 2", '.', false, 0},       {"2.5", ',', false, 0},
      {".", '.', false, 0},          {"1e99999", '.', false, 0},   {"--1", '.', false, 0},
  };
  for (const TCase& c : cases) {
    long double value = -7;
    EXPECT_EQ(floattext::TextToFloat(c.Text, value, c.Point), c.Ok) << c.Text;
    if (c.Ok) {
      EXPECT_EQ(value, c.Value) << c.Text;
    }
  }
}

} // namespace
