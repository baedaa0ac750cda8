// UTF-8 units, the sniffing of UTF-8 text, UTF-16 reading and the single-byte code pages.
#include "base/Utf8.h"
#include "base/CodePage.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct TUnitCase {
  const char* Name;
  std::string Bytes;
  int Length;
  char32_t Code;
};

TEST(Utf8, ReadsOneUnitAtATime)
{
  const TUnitCase cases[] = {
      {"ASCII", "A", 1, 'A'},
      {"two bytes", "\xC3\xA9", 2, 0xE9},
      {"three bytes", "\xE2\x82\xAC", 3, 0x20AC},
      {"four bytes", "\xF0\x9F\x98\x80", 4, 0x1F600},
      {"highest value", "\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
      {"written-out U+FFFD", "\xEF\xBF\xBD", 3, 0xFFFD},
      {"stray continuation byte", "\x80x", 1, utf8::Replacement},
      {"overlong two-byte form", "\xC0\x80", 1, utf8::Replacement},
      {"overlong three-byte form", "\xE0\x80\x80", 1, utf8::Replacement},
      {"overlong four-byte form", "\xF0\x80\x80\x80", 1, utf8::Replacement},
      {"surrogate", "\xED\xA0\x80", 1, utf8::Replacement},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", 1, utf8::Replacement},
      {"lead byte F5", "\xF5\x80", 1, utf8::Replacement},
      {"truncated three-byte form is one unit", "\xE2\x82x", 2, utf8::Replacement},
      {"truncated at the end", "\xF0\x9F\x98", 3, utf8::Replacement},
      {"lead byte at the very end", "\xE2", 1, utf8::Replacement},
  };
  for (const TUnitCase& c : cases) {
    char32_t cp = 0;
    EXPECT_EQ(utf8::Unit(c.Bytes.data(), int(c.Bytes.size()), cp), c.Length) << c.Name;
    EXPECT_EQ(cp, c.Code) << c.Name;
  }
}

TEST(Utf8, SniffsTextWhoseHighBytesAreAllUtf8)
{
  const struct {
    const char* Name;
    std::string Bytes;
    bool Utf8;
  } cases[] = {
      {"ASCII only", "plain <b>text</b>", false},
      {"empty", "", false},
      {"accents", "Caf\xC3\xA9 cr\xC3\xA8me", true},
      {"Windows-1252 accents", "Caf\xE9 cr\xE8me", false},
      {"one bad byte among good ones", "\xC3\xA9 \xE9", false},
      {"truncated at the end", "ok \xE2\x82", false},
      {"overlong", "\xC1\xBF", false},
      {"surrogate", "\xED\xB0\x80", false},
      {"written-out U+FFFD", "\xEF\xBF\xBD", true},
      {"CJK", "\xE4\xB8\xAD\xE6\x96\x87", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(utf8::LooksLikeUtf8(c.Bytes.data(), c.Bytes.size()), c.Utf8) << c.Name;
}

TEST(Utf8, WholeLengthLeavesOutALastCharacterCutShort)
{
  const struct {
    std::string Text;
    size_t Whole;
  } cases[] = {
      {"ab", 2},
      {"a\xc3", 1},
      {"a\xc3\xa9", 3},
      {"a\xe4\xb8", 1},
      {"a\xf0\x9f\x98", 1},
      {"a\xf0\x9f\x98\x80", 5},
      {"\xe4\xb8", 0},
      {"a\xa9", 2},     // a stray continuation byte is a whole (broken) unit
      {"a\xe0\x80", 3}, // not the start of a well-formed sequence: kept as it is
      {"\xa9\xa9\xa9\xa9", 4},
      {"", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(utf8::WholeLength(c.Text.data(), c.Text.size()), c.Whole) << c.Text;
}

TEST(Utf8, AppendsAndReadsUtf16)
{
  std::string out;
  for (char32_t cp : {char32_t('a'), char32_t(0xE9), char32_t(0x20AC), char32_t(0x1F600),
                      char32_t(0xD800), char32_t(0x110000)})
    utf8::Append(out, cp);
  EXPECT_EQ(out, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBD");

  const struct {
    const char* Name;
    std::string Bytes;
    bool BigEndian;
    std::string Utf8;
  } cases[] = {
      {"little endian", std::string("A\0\xAC\x20", 4), false, "A\xE2\x82\xAC"},
      {"big endian", std::string("\0A\x20\xAC", 4), true, "A\xE2\x82\xAC"},
      {"surrogate pair", std::string("\x3D\xD8\x00\xDE", 4), false, "\xF0\x9F\x98\x80"},
      {"lone high surrogate", std::string("\x3D\xD8x\0", 4), false, "\xEF\xBF\xBDx"},
      {"lone low surrogate", std::string("\x00\xDE", 2), false, "\xEF\xBF\xBD"},
      {"odd last byte", std::string("A\0B", 3), false, "A\xEF\xBF\xBD"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(utf8::FromUtf16(c.Bytes.data(), c.Bytes.size(), c.BigEndian), c.Utf8) << c.Name;
}

TEST(CodePage, DecodesAndFindsBytesOfItsCharset)
{
  EXPECT_EQ(codepage::ByteOf(0, 0x20AC), 0x80);   // the euro in Windows-1252
  EXPECT_EQ(codepage::ByteOf(204, 0x0416), 0xC6); // Cyrillic Zhe in Windows-1251
  EXPECT_EQ(codepage::ByteOf(0, 0x03B1), -1);     // no alpha in Windows-1252
  EXPECT_EQ(codepage::ByteOf(codepage::CharsetUtf8, 'a'), -1);
  EXPECT_EQ(codepage::Decode("\x80\xE9", 2, 0), QString::fromUtf8("\xE2\x82\xAC\xC3\xA9"));
  // UTF-8 text: one U+FFFD for each broken unit, characters beyond U+FFFF as pairs.
  EXPECT_EQ(codepage::Decode("a\xE2\x82"
                             "b\xF0\x9F\x98\x80",
                             8, codepage::CharsetUtf8),
            QString::fromUtf8("a\xEF\xBF\xBD"
                              "b\xF0\x9F\x98\x80"));
}

TEST(Utf8, TellsIdeographsFromOtherLetters)
{
  EXPECT_TRUE(utf8::IsIdeograph(0x4E2D)); // CJK ideograph
  EXPECT_TRUE(utf8::IsIdeograph(0x3042)); // hiragana
  EXPECT_TRUE(utf8::IsIdeograph(0x20000));
  EXPECT_FALSE(utf8::IsIdeograph('a'));
  EXPECT_FALSE(utf8::IsIdeograph(0x0416));
}

} // namespace
