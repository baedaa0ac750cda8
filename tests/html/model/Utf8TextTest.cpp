// UTF-8 text in the model: widths, line breaks, hit tests and copies never cut a character.
#include "ModelTestSupport.h"

#include "base/CodePage.h"
#include "base/Utf8.h"

#include <QString>

namespace {

class Utf8Text : public ModelTest {
protected:
  void SetUp() override { Doc.Utf8 = true; }

  TSection* AddUtf8(const std::string& text)
  {
    TMyFont f = Font();
    f.Charset = codepage::CharsetUtf8;
    auto s = std::make_unique<TSection>(&Doc, paLeft, TUrlTarget(), f, 0);
    Append(*s, text);
    TSection* p = s.get();
    List.Add(std::move(s));
    return p;
  }

  // Width of UTF-8 text in the body font: each character from the face that has it, as the
  // platform measures it.
  static int Utf8Width(const std::string& text)
  {
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(16);
    f.setKerning(false);
    QFont own = f;
    own.setStyleStrategy(QFont::NoFontMerging);
    QRawFont raw = QRawFont::fromFont(own);
    int w = 0;
    for (char32_t cp : QString::fromUtf8(text.data(), int(text.size())).toUcs4()) {
      QString ch = QString::fromUcs4(&cp, 1);
      bool has = raw.glyphIndexesForString(ch).value(0) != 0;
      w += QFontMetrics(has ? own : f).horizontalAdvance(ch);
    }
    return w;
  }

  static bool StartsACharacter(const TSection& s, int32_t index)
  {
    return index >= int32_t(s.Chars.size()) ||
           !utf8::IsContinuation(uint8_t(s.Chars[size_t(index)]));
  }
};

TEST_F(Utf8Text, MeasuresEachCharacterOnce)
{
  const char* texts[] = {"caf\xC3\xA9", "\xCE\xB1\xCE\xB2\xCE\xB3", "\xD0\x96\xD0\xB8",
                         "\xE2\x82\xAC 5 \xE2\x86\x92"};
  for (const char* t : texts) {
    const TFontMetrics& u = fontcache::Lookup(QStringLiteral("Times New Roman"), 16, false, false,
                                              codepage::CharsetUtf8);
    EXPECT_EQ(u.TextWidth(t, int(strlen(t))), Utf8Width(t)) << t;
  }
}

struct TBreakCase {
  const char* Name;
  std::string Text;
  std::string FitText;
  int Extra;
  std::vector<std::string> Expected;
};

TEST_F(Utf8Text, BreaksAtSpacesAndBetweenIdeographs)
{
  const std::string zh = "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\xE7\xAC\xA6"; // four ideographs
  const TBreakCase cases[] = {
      {"accented words break at spaces",
       "caf\xC3\xA9 cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65",
       "caf\xC3\xA9 cr\xC3\xA8",
       0,
       {"caf\xC3\xA9 ", "cr\xC3\xA8me ", "br\xC3\xBBl\xC3\xA9\x65"}},
      {"between ideographs", zh, zh.substr(0, 6), 1, {zh.substr(0, 6), zh.substr(6)}},
      {"before an ideograph after Latin text",
       "ab" + zh.substr(0, 6),
       "ab" + zh.substr(0, 3),
       1,
       {"ab" + zh.substr(0, 3), zh.substr(3, 3)}},
      {"a Greek word stays whole",
       "\xCE\xB1\xCE\xB2\xCE\xB3\xCE\xB4 x",
       "\xCE\xB1",
       0,
       {"\xCE\xB1\xCE\xB2\xCE\xB3\xCE\xB4 ", "x"}},
      {"an ideograph wider than the line stands alone",
       zh.substr(0, 6),
       "",
       1,
       {zh.substr(0, 3), zh.substr(3, 3)}},
  };
  // Measured with the document's own metrics: ideographs may have no face here and show as
  // missing-glyph boxes, which still take room.
  const TFontMetrics& u =
      fontcache::Lookup(QStringLiteral("Times New Roman"), 16, false, false, codepage::CharsetUtf8);
  ASSERT_GT(u.TextWidth(zh.data(), 3), 0);
  for (const TBreakCase& c : cases) {
    List.Clear();
    Doc.Utf8 = true; // the clear forgot it
    TSection* s = AddUtf8(c.Text);
    LayoutAt(u.TextWidth(c.FitText.data(), int(c.FitText.size())) + c.Extra);
    EXPECT_EQ(Lines(*s), c.Expected) << c.Name;
  }
}

TEST_F(Utf8Text, NoLineAndNoHitFallsInsideACharacter)
{
  const std::string text = "\xCE\xB1\xCE\xB2 \xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97 \xD0\x96"
                           "\xF0\x9F\x98\x80\xE2\x82\xAC \xE2\x82 bad";
  TSection* s = AddUtf8(text);
  const int full =
      fontcache::Lookup(QStringLiteral("Times New Roman"), 16, false, false, codepage::CharsetUtf8)
          .TextWidth(text.data(), int(text.size()));
  for (int width = 1; width <= full + 2; width += 3) {
    LayoutAt(width);
    for (const LineRec& l : s->LineList)
      EXPECT_TRUE(StartsACharacter(*s, l.First + l.Count)) << width;
    for (int x = 0; x < full + 4; x += 2) {
      int32_t xr = 0, yr = 0, h = 0;
      TCell* cell = nullptr;
      bool inText = false;
      int32_t p = List.CursorAt(Canvas, x, s->TopY + 1, xr, yr, h, cell, inText);
      EXPECT_TRUE(StartsACharacter(*s, p - s->FirstCursor)) << width << " x " << x;
    }
  }
}

TEST_F(Utf8Text, CopiesUnicodeTextAndMarksBrokenSequences)
{
  const std::string text = "\xCE\xA9mega \xE2\x82\xAC \xE2\x82 end";
  AddUtf8(text);
  LayoutAt(1000);
  Doc.SelStartPos = 0;
  Doc.SelEndPos = int32_t(text.size());
  std::string bytes = List.CopySelection();
  EXPECT_EQ(codepage::Decode(bytes.data(), int(bytes.size()), Doc.TextCharset()),
            QString::fromUtf8("\xCE\xA9mega \xE2\x82\xAC \xEF\xBF\xBD end\r\n"));
}

TEST_F(Utf8Text, ABrokenSequenceIsAsWideAsOneReplacementCharacter)
{
  const TFontMetrics& u =
      fontcache::Lookup(QStringLiteral("Times New Roman"), 16, false, false, codepage::CharsetUtf8);
  const struct {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"truncated", "\xE2\x82"},     {"stray", "\x80"},          {"overlong", "\xC0\xAF"},
      {"surrogate", "\xED\xA0\x80"}, {"at the end", "\xF0\x9F"},
  };
  const int replacement = u.WideChar(utf8::Replacement).Advance;
  for (const auto& c : cases) {
    int bad = 0;
    for (size_t i = 0; i < c.Bytes.size();) {
      char32_t cp = 0;
      i += size_t(utf8::Unit(c.Bytes.data() + i, int(c.Bytes.size() - i), cp));
      ++bad;
    }
    EXPECT_EQ(u.TextWidth(c.Bytes.data(), int(c.Bytes.size())), bad * replacement) << c.Name;
  }
}

} // namespace
