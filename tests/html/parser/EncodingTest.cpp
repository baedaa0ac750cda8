// Finding a document's encoding and reading character references in UTF-8 and single-byte
// documents.
#include "BuilderTestSupport.h"

#include "base/CodePage.h"
#include "html/parser/TokenDump.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

using namespace buildertest;

// The token listing of a document as the tokenizer finds it.
std::string Tokens(const std::string& bytes, int refCharset = -1)
{
  TTokenizer tok;
  tok.BeginBuffer(bytes.data(), int64_t(bytes.size()));
  if (refCharset >= 0)
    tok.RefCharset = refCharset;
  std::ostringstream out;
  DumpTokenStream(tok, out);
  return out.str();
}

TEST(Encoding, FirstRuleThatAppliesDecides)
{
  const struct {
    const char* Name;
    std::string Bytes;
    bool Utf8;
    int FontCharset;
  } cases[] = {
      {"UTF-8 byte-order mark", "\xEF\xBB\xBFx", true, codepage::CharsetUtf8},
      {"UTF-8 mark before bytes that are not UTF-8", "\xEF\xBB\xBF\xE9x", true,
       codepage::CharsetUtf8},
      {"UTF-16 little endian", std::string("\xFF\xFEx\0", 4), true, codepage::CharsetUtf8},
      {"UTF-16 big endian", std::string("\xFE\xFF\0x", 4), true, codepage::CharsetUtf8},
      {"META naming utf-8", "<META HTTP-EQUIV=Content-Type CONTENT=\"text/html; charset=utf-8\">x",
       true, codepage::CharsetUtf8},
      {"META naming UTF-8 over bytes that are not",
       "<META HTTP-EQUIV=Content-Type "
       "CONTENT=\"text/html; charset=UTF-8\">\xE9x",
       true, codepage::CharsetUtf8},
      {"UTF-8 bytes", "Caf\xC3\xA9 x", true, codepage::CharsetUtf8},
      {"UTF-8 bytes outweigh a code-page META",
       "<META HTTP-EQUIV=Content-Type CONTENT=\"charset=windows-1251\">\xD0\x96 x", true,
       codepage::CharsetUtf8},
      {"code-page page stays as it was",
       "<META HTTP-EQUIV=Content-Type CONTENT=\"charset=windows-1251\">\xC6 x", false, 204},
      {"Windows-1252 bytes", "Caf\xE9 x", false, 0},
      {"ASCII", "plain x", false, 0},
      {"a mark in the middle is text", "a\xEF\xBB\xBF x", true, codepage::CharsetUtf8},
  };
  for (const auto& c : cases) {
    auto p = Parse(c.Bytes);
    EXPECT_EQ(p->List->Document().Utf8, c.Utf8) << c.Name;
    const TFontObj* f = FontOf(*p->List, "x");
    ASSERT_NE(f, nullptr) << c.Name;
    EXPECT_EQ(f->FontCopy().Charset, c.FontCharset) << c.Name;
  }
}

TEST(Encoding, DefaultsAppliedAgainKeepThePagesOwnCharset)
{
  const int greek = 161;
  const struct {
    const char* Name;
    std::string Bytes;
    int Charset; // of the text and of a link's font, after the viewer's charset became Greek
  } cases[] = {
      {"code-page META",
       "<META HTTP-EQUIV=Content-Type CONTENT=\"charset=windows-1251\"><A HREF=a>x</A>", 204},
      {"META without a charset",
       "<META HTTP-EQUIV=Content-Type CONTENT=\"text/html\"><A HREF=a>x</A>", greek},
      {"no META", "<A HREF=a>x</A>", greek},
      {"UTF-8", "<A HREF=a>\xC3\xA9x</A>", codepage::CharsetUtf8},
  };
  for (const auto& c : cases) {
    auto p = Parse(c.Bytes);
    p->List->Document().CharsetCode = greek;
    p->List->ApplyDefaults("Arial", "Courier New", 14, clBlack, clBlue, clPurple, clRed, clWhite,
                           false);
    EXPECT_EQ(p->List->Document().TextCharset(), c.Charset) << c.Name;
    const TFontObj* f = FontOf(*p->List, "x");
    ASSERT_NE(f, nullptr) << c.Name;
    EXPECT_EQ(f->FontCopy().Charset, c.Charset) << c.Name;
    EXPECT_EQ(f->FontCopy().family(), "Arial") << c.Name;
  }
}

TEST(Encoding, ByteOrderMarksAreNoTextAndPositionsCountSourceBytes)
{
  EXPECT_EQ(Tokens("\xEF\xBB\xBF"
                   "ab"),
            "TEXT @3 \"ab\"\nEOF\n");
  // UTF-16 is read as its UTF-8 text; positions count the bytes of that text.
  EXPECT_EQ(Tokens(std::string("\xFF\xFE\xE9\0a\0", 6)), "TEXT @0 \"\\xC3\\xA9a\"\nEOF\n");
  EXPECT_EQ(Tokens("a\xEF\xBB\xBF"), "TEXT @0 \"a\\xEF\\xBB\\xBF\"\nEOF\n");
}

TEST(Encoding, CharacterReferencesInUtf8Documents)
{
  const int u = codepage::CharsetUtf8;
  const struct {
    const char* Name;
    std::string Html;
    std::string Expected;
  } cases[] = {
      {"decimal euro", "&#8364;", "TEXT @0 \"\\xE2\\x82\\xAC\"\n"},
      {"hexadecimal euro", "&#x20AC;", "TEXT @0 \"\\xE2\\x82\\xAC\"\n"},
      {"upper-case X", "&#X20ac;", "TEXT @0 \"\\xE2\\x82\\xAC\"\n"},
      {"named euro", "&euro;", "TEXT @0 \"\\xE2\\x82\\xAC\"\n"},
      {"mdash", "&mdash;", "TEXT @0 \"\\xE2\\x80\\x94\"\n"},
      {"hellip is one character", "&hellip;", "TEXT @0 \"\\xE2\\x80\\xA6\"\n"},
      {"alpha", "&alpha;", "TEXT @0 \"\\xCE\\xB1\"\n"},
      {"eight-letter name", "&thetasym;", "TEXT @0 \"\\xCF\\x91\"\n"},
      {"Latin-1 name", "&eacute;", "TEXT @0 \"\\xC3\\xA9\"\n"},
      {"Latin-1 number", "&#233;", "TEXT @0 \"\\xC3\\xA9\"\n"},
      {"128-159 read as Windows-1252", "&#150;", "TEXT @0 \"\\xE2\\x80\\x93\"\n"},
      {"ASCII", "&#65;&amp;", "TEXT @0 \"A\"\nTEXT @5 \"&\"\n"},
      {"surrogate is literal", "&#55296;", "TEXT @0 \"&#55296;\"\n"},
      {"hexadecimal beyond five decimal digits is literal", "&#x186A0;",
       "TEXT @0 \"&#x186A0\"\nTEXT @8 \";\"\n"},
      {"hexadecimal control code is literal", "&#x7;", "TEXT @0 \"&#x7;\"\n"},
      {"hexadecimal tab is a space", "&#x9;", "TEXT @0 \" \"\n"},
      {"no hexadecimal digits", "&#x;", "TEXT @0 \"&#x;\"\n"},
      {"seven letters that begin no name stay literal", "&abcdefg;",
       "TEXT @0 \"&abcdef\"\nTEXT @7 \"g;\"\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Tokens(c.Html, u), c.Expected + "EOF\n") << c.Name;
}

TEST(Encoding, CharacterReferencesInSingleByteDocuments)
{
  const struct {
    const char* Name;
    std::string Html;
    int Charset;
    std::string Expected;
  } cases[] = {
      {"euro is 0x80 in Windows-1252", "&#8364;", 0, "TEXT @0 \"\\x80\"\n"},
      {"named euro", "&euro;", 0, "TEXT @0 \"\\x80\"\n"},
      {"mdash", "&mdash;", 0, "TEXT @0 \"\\x97\"\n"},
      {"Cyrillic in Windows-1251", "&#1046;", 204, "TEXT @0 \"\\xC6\"\n"},
      {"alpha in Windows-1253", "&alpha;", 161, "TEXT @0 \"\\xE1\"\n"},
      {"no alpha in Windows-1252", "&alpha;", 0, "TEXT @0 \"&alpha;\"\n"},
      {"above 255 without a byte", "&#256;", 0, "TEXT @0 \"&#256;\"\n"},
      {"hellip as ever", "&hellip;", 0, "TEXT @0 \"...\"\n"},
      {"Latin-1 bytes as ever", "&#150;&eacute;", 0, "TEXT @0 \"\\x96\"\nTEXT @6 \"\\xE9\"\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Tokens(c.Html, c.Charset), c.Expected + "EOF\n") << c.Name;
}

TEST(Encoding, MetaCharsetAppliesToLaterReferences)
{
  auto p = Parse("<META HTTP-EQUIV=Content-Type CONTENT=\"charset=windows-1253\">&alpha;x");
  const TFontObj* f = FontOf(*p->List, "x");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FontCopy().Charset, 161);
  EXPECT_NE(SectionWith(*p->List, "\xE1x"), nullptr);
}

} // namespace
