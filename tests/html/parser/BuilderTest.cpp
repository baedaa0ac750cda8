// The document builder: block structure, fonts, links, lists and the head elements of HTML
// snippets, checked on the model it builds.
#include "BuilderTestSupport.h"

#include "base/CodePage.h"
#include "base/Exceptions.h"
#include "html/model/MapItem.h"

#include <gtest/gtest.h>

using namespace buildertest;

namespace {

struct TStructureCase {
  const char* Name;
  const char* Html;
  const char* Expected;
};

class BuilderStructure : public ::testing::TestWithParam<TStructureCase> {};

TEST_P(BuilderStructure, BuildsTheExpectedBlocks)
{
  auto p = Parse(GetParam().Html);
  EXPECT_EQ(Summary(*p->List), GetParam().Expected) << GetParam().Html;
}

// Expected blocks follow the reading rules: a paragraph space per run of P tags (none right
// after another space or at the start of a cell), heading spaces around headings, one list
// item per LI at the list's level, one pre-formatted section per source line.
const TStructureCase StructureCases[] = {
    {"ParagraphRunAddsOneSpace", "<P><P></P><P>x", "P S(x)"},
    {"ParagraphsBetweenText", "a<P>b<P>c", "S(a) P S(b) P S(c)"},
    {"EndParagraphAlsoSeparates", "a</P>b", "S(a) P S(b)"},
    {"HeadingSpacesAround", "<H1>Head</H1>text", "H1 S(Head) H1 S(text)"},
    {"HeadingWithoutEnd", "<H3>a<P>b", "H3 S(a) P S(b)"},
    {"Rule", "a<HR>b", "S(a) HorzLine S(b)"},
    {"PageBreak", "a<PAGE>b", "S(a) Page S(b)"},
    {"BreakStartsSection", "a<BR>b", "S(a) S(b)"},
    {"BreakOnEmptyLineKeepsALine", "a<BR><BR>b", "S(a) S( ) S(b)"},
    {"UnorderedList", "<UL><LI>a<LI>b</UL>c", "UL1(a) UL1(b) S(c)"},
    {"ListItemParagraphSkipped", "<UL><LI><P>a</UL>", "UL1(a)"},
    {"NestedLists", "<UL><LI>a<UL><LI>b</UL><LI>c</UL>", "UL1(a) UL2(b) UL1(c)"},
    {"OtherListEndClosesInnermost", "<UL><LI>a<OL><LI>b</UL>c", "UL1(a) OL2(b) S1(c)"},
    {"DefinitionTermOneLevelLeft", "<DL><DT>t<DD>d</DL>", "DL0(t) DL1(d)"},
    {"DefinitionListsNest", "<DL><DT>t<DD>d<DL><DT>u<DD>e</DL></DL>",
     "DL0(t) DL1(d) DL1(u) DL2(e)"},
    {"BlockquoteIndents", "<BLOCKQUOTE>q</BLOCKQUOTE>x", "S1(q) S(x)"},
    {"EmptyListEndsAtOnce", "<UL></UL>x", "S(x)"},
    {"PreLines", "<PRE>a  b\nc</PRE>d", "Pre(a  b) Pre(c) S(d)"},
    {"PreBreakAndParagraph", "<PRE>a<BR>\nb<P>c</PRE>", "Pre(a) Pre(b) Pre(c)"},
    {"PreDropsUnknownTags", "<PRE>a<H1>b</H1><UL>c</PRE>", "Pre(abc)"},
    {"PreKeepsReferencesAndLoneBrackets", "<PRE>&lt;&amp; <1</PRE>", "Pre(<& <1)"},
    {"PreRunsToTheEndOfInput", "a<PRE>b<B>", "S(a) Pre(b)"},
    {"PrePageBreak", "<PRE>a<PAGE>b</PRE>", "Pre(a) Page Pre(b)"},
    {"CenterBlock", "<CENTER>x</CENTER>y", "S(x) S(y)"},
    {"AddressBlock", "<ADDRESS>a</ADDRESS>b", "S(a) S(b)"},
    {"ImagePlaceholder", "a<IMG SRC=x.gif>b", "S(a#b)"},
    {"TextBeforeBodyDropped", "junk<BODY>x", "S(x)"},
    {"BodyDropsTheOpenSectionsText", "x<BODY>y", "S(y)"},
    {"BodyAfterABlockIsIgnored", "x<P><BODY>y", "S(x) P S(y)"},
    {"ScriptSkippedWithoutHandler", "<SCRIPT><!-- a --> b<I>c</SCRIPT>x", "S(x)"},
    {"UnknownTagsIgnored", "a<BLINK>b</BLINK>c</LI>", "S(abc)"},
    {"StrayEndTags", "</UL></OL></TABLE></TD></H1></FONT></A></CENTER>x", "S(x)"},
    {"FormControlsTakeAPlace", "<FORM><SELECT><OPTION>one</SELECT></FORM>x", "S(#x)"},
    {"UnterminatedCommentKeepsDocument", "a<P>b<BR><!-- never closed <P>c", "S(a) P S(b)"},
    {"EmptyDocument", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Builder, BuilderStructure, ::testing::ValuesIn(StructureCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Builder, StyleFlagsSpanParagraphBreaks)
{
  auto p = Parse("<B>a<P>b</B>c");
  ASSERT_NE(FontOf(*p->List, "a"), nullptr);
  EXPECT_TRUE(FontOf(*p->List, "a")->FontCopy().bold());
  EXPECT_TRUE(FontOf(*p->List, "b")->FontCopy().bold());
  EXPECT_FALSE(FontOf(*p->List, "c")->FontCopy().bold());
}

TEST(Builder, StyleTagsSetAndClearTheirFlags)
{
  auto p = Parse("<I>i</I><U>u</U><S>s</S><STRIKE>k</STRIKE><EM>e</EM><STRONG>g</STRONG>n");
  const TCell& c = *p->List;
  EXPECT_TRUE(FontOf(c, "i")->FontCopy().italic());
  EXPECT_TRUE(FontOf(c, "u")->FontCopy().underline());
  EXPECT_TRUE(FontOf(c, "s")->FontCopy().strikeOut());
  EXPECT_TRUE(FontOf(c, "k")->FontCopy().strikeOut());
  EXPECT_TRUE(FontOf(c, "e")->FontCopy().italic());
  EXPECT_TRUE(FontOf(c, "g")->FontCopy().bold());
  const TMyFont& n = FontOf(c, "n")->FontCopy();
  EXPECT_FALSE(n.bold() || n.italic() || n.underline() || n.strikeOut());
}

TEST(Builder, SubAndSuperscriptShift)
{
  auto p = Parse("a<SUB>b</SUB><SUP>c</SUP>d");
  EXPECT_EQ(FontOf(*p->List, "a")->ScriptShift, 0);
  EXPECT_EQ(FontOf(*p->List, "b")->ScriptShift, 1);
  EXPECT_EQ(FontOf(*p->List, "c")->ScriptShift, 2);
  EXPECT_EQ(FontOf(*p->List, "d")->ScriptShift, 0);
}

struct TFontSizeCase {
  const char* Html;
  const char* Text;
  int Nominal;
};

class BuilderFontSize : public ::testing::TestWithParam<TFontSizeCase> {};

// Sizes from the HTML size tables: normal 8 10 12 14 18 24 36, pre-formatted 7 8 10 12 15 20 30,
// relative sizes counted from the base size (3 unless BASEFONT changed it).
TEST_P(BuilderFontSize, NominalSizeFollowsTheTables)
{
  auto p = Parse(GetParam().Html);
  const TFontObj* f = FontOf(*p->List, GetParam().Text);
  ASSERT_NE(f, nullptr) << GetParam().Html;
  EXPECT_EQ(f->FontCopy().NominalSize, GetParam().Nominal) << GetParam().Html;
  // At the default size of 12 points the point size is the nominal size.
  EXPECT_EQ(f->FontCopy().pointSize(), GetParam().Nominal) << GetParam().Html;
}

const TFontSizeCase FontSizeCases[] = {
    {"x", "x", 12},
    {"<FONT SIZE=+1>x", "x", 14},
    {"<FONT SIZE=-2>x", "x", 8},
    {"<FONT SIZE=9>x", "x", 36},
    {"<FONT SIZE=0>x", "x", 8},
    {"<FONT SIZE=5>x</FONT>y", "y", 12},
    {"<FONT SIZE=5><FONT COLOR=red>x</FONT>y", "y", 18},
    {"<PRE><FONT SIZE=4>x</PRE>", "x", 12},
    {"<PRE>x</PRE>", "x", 10},
    {"<BASEFONT SIZE=5>x", "x", 18},
    {"<BASEFONT SIZE=5><FONT SIZE=+1>x", "x", 24},
    {"<BIG>x</BIG>y", "x", 14},
    {"<BIG>x</BIG>y", "y", 12},
    {"<SMALL>x", "x", 10},
    {"<FONT SIZE=7><BIG>x", "x", 36},
    {"<H1>x</H1>", "x", 24},
    {"<H6>x</H6>", "x", 8},
    {"<H>x</H>", "x", 12},
    {"<TT>x</TT>y", "x", 10},
    {"<TT>x</TT>y", "y", 12},
};

INSTANTIATE_TEST_SUITE_P(Builder, BuilderFontSize, ::testing::ValuesIn(FontSizeCases));

TEST(Builder, BaseFontInsideACellChangesOnlyTheBase)
{
  auto p = Parse("<TABLE><TR><TD><BASEFONT SIZE=5>x</TD></TR></TABLE><FONT SIZE=+1>y");
  EXPECT_EQ(p->Builder.BaseSize(), 5);
  EXPECT_EQ(FontOf(*p->List, "y")->FontCopy().NominalSize, TBuilder::FontSizeFor(6, false));
}

TEST(Builder, HeadingFontsAreBoldExceptBareH)
{
  auto p = Parse("<H2>a</H2><H>b</H>c");
  EXPECT_TRUE(FontOf(*p->List, "a")->FontCopy().bold());
  EXPECT_FALSE(FontOf(*p->List, "b")->FontCopy().bold());
  EXPECT_FALSE(FontOf(*p->List, "c")->FontCopy().bold());
}

TEST(Builder, MonospaceFontUsesTheFixedFont)
{
  auto p = Parse("<CODE>x</CODE>");
  const TMyFont& f = FontOf(*p->List, "x")->FontCopy();
  EXPECT_TRUE(f.Monospace);
  EXPECT_EQ(f.family().toStdString(), p->List->Document().FixedFontName);
}

TEST(Builder, FontColorAndFace)
{
  auto p = Parse("<FONT COLOR=red FACE=\" Arial , Helvetica\">x</FONT>y");
  const TMyFont& f = FontOf(*p->List, "x")->FontCopy();
  EXPECT_EQ(f.Color, clRed | PaletteFlag);
  EXPECT_EQ(f.family().toStdString(), "Arial");
  EXPECT_EQ(FontOf(*p->List, "y")->FontCopy().family().toStdString(),
            p->List->Document().BodyFontName);
}

TEST(Builder, FontStackStopsAtItsLimit)
{
  std::string html;
  for (int i = 0; i < 40; ++i)
    html += "<FONT SIZE=+1>";
  html += "x";
  for (int i = 0; i < 40; ++i)
    html += "</FONT>";
  html += "y";
  auto p = Parse(html);
  EXPECT_EQ(FontOf(*p->List, "x")->FontCopy().NominalSize, 14);
  EXPECT_EQ(FontOf(*p->List, "y")->FontCopy().NominalSize, 12);
}

TEST(Builder, LinksContinueAcrossBlocks)
{
  auto p = Parse("<A HREF=x TARGET=f>one<P>two</A>three");
  EXPECT_EQ(FontOf(*p->List, "one")->Link().Url, "x");
  EXPECT_EQ(FontOf(*p->List, "one")->Link().Target, "f");
  EXPECT_EQ(FontOf(*p->List, "two")->Link().Url, "x");
  EXPECT_TRUE(FontOf(*p->List, "three")->Link().Url.empty());
  EXPECT_TRUE(FontOf(*p->List, "one")->FontCopy().underline());
  EXPECT_FALSE(FontOf(*p->List, "three")->FontCopy().underline());
  EXPECT_EQ(p->List->Document().LinkStarts.size(), 2u);
}

TEST(Builder, DroppedContentLeavesNoLinkStartsBehind)
{
  struct TCase {
    const char* Html;
    const char* Kept; // the one link left, or "" for none
  };
  const TCase cases[] = {
      {"<A HREF=x>text before body</A><BODY><A HREF=y>y</A>", "y"},
      {"<A HREF=x>x</A><A HREF=z>z</A><BODY>no links", ""},
      {"<A HREF=y>y</A><P>kept<BODY>", "y"}, // the closed paragraph stays, and so does y
  };
  for (const TCase& c : cases) {
    auto p = Parse(c.Html);
    const std::vector<TFontObj*>& starts = p->List->Document().LinkStarts;
    if (*c.Kept == 0) {
      EXPECT_TRUE(starts.empty()) << c.Html;
      continue;
    }
    ASSERT_EQ(starts.size(), 1u) << c.Html;
    EXPECT_EQ(starts[0], FontOf(*p->List, c.Kept)) << c.Html;
  }
}

TEST(Builder, SecondHrefEndsTheFirstLink)
{
  auto p = Parse("<A HREF=a>x<A HREF=b>y</A>z");
  EXPECT_EQ(FontOf(*p->List, "x")->Link().Url, "a");
  EXPECT_EQ(FontOf(*p->List, "y")->Link().Url, "b");
  EXPECT_TRUE(FontOf(*p->List, "z")->Link().Url.empty());
  EXPECT_NE(FontOf(*p->List, "z")->FontCopy().Color, FontOf(*p->List, "x")->FontCopy().Color);
}

TEST(Builder, AnchorNamesAreUpperCasedWithoutHash)
{
  auto p = Parse("a<P><A NAME=#Top>x</A><P><A NAME=second></A>y");
  ASSERT_EQ(p->Anchors.size(), 2u);
  EXPECT_EQ(p->Anchors[0].first, "TOP");
  EXPECT_EQ(p->Anchors[0].second, SectionWith(*p->List, "x"));
  EXPECT_EQ(p->Anchors[1].first, "SECOND");
  EXPECT_EQ(p->Anchors[1].second, SectionWith(*p->List, "y"));
}

TEST(Builder, AnchorBeforeBodyFollowsNoDroppedSection)
{
  auto p = Parse("<A NAME=lost>junk<BODY>x");
  EXPECT_TRUE(p->Anchors.empty());
}

TEST(Builder, ParagraphAlignment)
{
  auto p = Parse("<P ALIGN=center>x</P>y<P ALIGN=right>z<P ALIGN=bogus>w");
  EXPECT_EQ(SectionWith(*p->List, "x")->ParaAlign, paCenter);
  EXPECT_EQ(SectionWith(*p->List, "y")->ParaAlign, paLeft);
  EXPECT_EQ(SectionWith(*p->List, "z")->ParaAlign, paRight);
  EXPECT_EQ(SectionWith(*p->List, "w")->ParaAlign, paLeft);
}

TEST(Builder, CenterAndDivAlignment)
{
  auto p = Parse("<CENTER>a<P>b</DIV>c<DIV ALIGN=right>d<DIV ALIGN=junk>e</DIV>f</DIV>g");
  EXPECT_EQ(SectionWith(*p->List, "a")->ParaAlign, paCenter);
  EXPECT_EQ(SectionWith(*p->List, "b")->ParaAlign, paCenter);
  EXPECT_EQ(SectionWith(*p->List, "c")->ParaAlign, paLeft);
  EXPECT_EQ(SectionWith(*p->List, "d")->ParaAlign, paRight);
  EXPECT_EQ(SectionWith(*p->List, "e")->ParaAlign, paRight);
  EXPECT_EQ(SectionWith(*p->List, "f")->ParaAlign, paRight);
  EXPECT_EQ(SectionWith(*p->List, "g")->ParaAlign, paLeft);
}

TEST(Builder, HeadingAlignment)
{
  auto p = Parse("<H2 ALIGN=right>a</H2>b");
  EXPECT_EQ(SectionWith(*p->List, "a")->ParaAlign, paRight);
  EXPECT_EQ(SectionWith(*p->List, "b")->ParaAlign, paLeft);
}

TEST(Builder, BreakClearSides)
{
  auto p = Parse("a<BR CLEAR=left>b<BR CLEAR=RIGHT>c<BR CLEAR=all>d<BR>e");
  EXPECT_EQ(SectionWith(*p->List, "b")->ClearSide, clLeftSide);
  EXPECT_EQ(SectionWith(*p->List, "c")->ClearSide, clRightSide);
  EXPECT_EQ(SectionWith(*p->List, "d")->ClearSide, clBothSides);
  EXPECT_EQ(SectionWith(*p->List, "e")->ClearSide, clNoClear);
}

TEST(Builder, BreakKeepsTheSectionAlignment)
{
  auto p = Parse("<P ALIGN=right>a<BR>b");
  EXPECT_EQ(SectionWith(*p->List, "b")->ParaAlign, paRight);
}

TEST(Builder, OrderedListStartAndType)
{
  auto p = Parse("<OL START=5 TYPE=a><LI>x<LI>y</OL>");
  auto* x = dynamic_cast<TOListItem*>(SectionWith(*p->List, "x"));
  auto* y = dynamic_cast<TOListItem*>(SectionWith(*p->List, "y"));
  ASSERT_TRUE(x && y);
  EXPECT_EQ(x->ItemNumber, 5);
  EXPECT_EQ(y->ItemNumber, 6);
  EXPECT_EQ(x->NumberType, 'a');
  EXPECT_EQ(y->NumberType, 'a');
}

TEST(Builder, OrderedListDefaultsAndNegativeStart)
{
  auto p = Parse("<OL START=-3><LI>x</OL>");
  auto* x = dynamic_cast<TOListItem*>(SectionWith(*p->List, "x"));
  ASSERT_TRUE(x);
  EXPECT_EQ(x->ItemNumber, 1);
  EXPECT_EQ(x->NumberType, '1');
}

TEST(Builder, PlainUnorderedList)
{
  auto p = Parse("<UL PLAIN><LI>x<UL><LI>y</UL></UL>");
  auto* x = dynamic_cast<TUListItem*>(SectionWith(*p->List, "x"));
  auto* y = dynamic_cast<TUListItem*>(SectionWith(*p->List, "y"));
  ASSERT_TRUE(x && y);
  EXPECT_TRUE(x->Plain);
  EXPECT_FALSE(y->Plain);
}

TEST(Builder, BodyAttributesSetTheDocumentColours)
{
  auto p = Parse("<BODY BGCOLOR=red TEXT=#0000ff LINK=green VLINK=navy OLINK=lime "
                 "BACKGROUND=\"back.gif\">x<A HREF=u>y</A>");
  const TSectionList& l = *p->List;
  EXPECT_EQ(l.Document().PageColor, clRed | PaletteFlag);
  EXPECT_EQ(l.Document().TextColor, clBlue | PaletteFlag);
  EXPECT_EQ(l.Document().LinkColor, clGreen | PaletteFlag);
  EXPECT_EQ(l.Document().VisitedColor, clNavy | PaletteFlag);
  EXPECT_EQ(l.Document().OverColor, clLime | PaletteFlag);
  EXPECT_TRUE(l.Document().HoverColoring);
  EXPECT_EQ(l.Document().BgImageName, "back.gif");
  EXPECT_EQ(FontOf(l, "x")->FontCopy().Color, clBlue | PaletteFlag);
  EXPECT_EQ(FontOf(l, "y")->FontCopy().Color, clGreen | PaletteFlag);
}

TEST(Builder, TitleAndBase)
{
  auto p = Parse("<HEAD><TITLE>My   Page</TITLE><BASE HREF=\"c:\\docs\\\" TARGET=main></HEAD>x");
  EXPECT_EQ(p->Builder.PageTitle, "My Page");
  EXPECT_EQ(p->Builder.BaseURL, "c:\\docs\\");
  EXPECT_EQ(p->Builder.BaseTarget, "main");
  EXPECT_EQ(Summary(*p->List), "S(x)");
}

TEST(Builder, TheLastTitleWins)
{
  struct Case {
    const char* Html;
    const char* Title;
  };
  const Case cases[] = {
      {"<TITLE>one</TITLE><TITLE>two</TITLE>x", "two"},
      {"<TITLE>one</TITLE><P>text<TITLE>two words</TITLE>", "two words"},
      {"<TITLE>one</TITLE><TITLE></TITLE>x", ""},
      {"<TITLE>a</TITLE><TITLE>b</TITLE><TITLE>c</TITLE>", "c"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Parse(c.Html)->Builder.PageTitle, c.Title) << c.Html;
}

TEST(Builder, TitleIsClearedByTheNextParse)
{
  TSectionList list;
  TAnchorList anchors;
  TBuilder b;
  std::string first = "<TITLE>one</TITLE>";
  std::string second = "x";
  b.ParseDocument(TParseSource::FromString(first), list, anchors);
  EXPECT_EQ(b.PageTitle, "one");
  list.Clear();
  b.ParseDocument(TParseSource::FromString(second), list, anchors);
  EXPECT_EQ(b.PageTitle, "");
}

struct TCharsetCase {
  const char* Content;
  int Code;
};

class BuilderCharset : public ::testing::TestWithParam<TCharsetCase> {};

// The first key of the table contained in the lower-cased content decides.
TEST_P(BuilderCharset, MetaContentTypeSetsTheFontCharset)
{
  std::string html =
      std::string("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"") + GetParam().Content + "\">x";
  auto p = Parse(html);
  EXPECT_EQ(FontOf(*p->List, "x")->FontCopy().Charset, GetParam().Code) << GetParam().Content;
  EXPECT_EQ(TBuilder::CharsetFromContent(GetParam().Content, 0), GetParam().Code);
}

const TCharsetCase CharsetCases[] = {
    {"text/html; charset=windows-1252", 0},
    {"text/html; charset=ISO-8859-1", 0},
    {"text/html; charset=windows-1253", 161},
    {"text/html; charset=iso-8859-7", 161},
    {"text/html; charset=windows-1250", 238},
    {"text/html; charset=iso-8859-2", 238},
    {"text/html; charset=windows-1251", 204},
    {"text/html; charset=iso-8859-5", 204},
    {"text/html; charset=KOI8-R", 204},
    {"text/html; charset=windows-1254", 162},
    {"text/html; charset=iso-8859-3", 162},
    {"text/html; charset=iso-8859-9", 162},
    {"text/html; charset=windows-1257", 186},
    {"text/html; charset=iso-8859-4", 186},
    {"text/html; charset=utf-8", codepage::CharsetUtf8},
    {"1253 and 1251", 161},
};

INSTANTIATE_TEST_SUITE_P(Builder, BuilderCharset, ::testing::ValuesIn(CharsetCases));

TEST(Builder, MetaWithoutKnownCharsetUsesTheListDefault)
{
  EXPECT_EQ(TBuilder::CharsetFromContent("text/html", 77), 77);
}

TEST(Builder, MetaHandlerReceivesTheAttributes)
{
  std::vector<std::string> seen;
  TParseEvents ev;
  ev.OnMeta = [&](QObject*, const std::string& h, const std::string& n, const std::string& c) {
    seen.push_back(h + "|" + n + "|" + c);
  };
  auto p = Parse("<META HTTP-EQUIV=refresh CONTENT=\"5; url=a.htm\"><META NAME=author "
                 "CONTENT=me>x",
                 ev);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "refresh||5; url=a.htm");
  EXPECT_EQ(seen[1], "|author|me");
}

TEST(Builder, BackgroundSoundGoesToTheSoundHandler)
{
  std::vector<std::string> calls;
  TParseEvents ev;
  ev.OnSoundRequest = [&](QObject*, const std::string& src, int loop, bool terminate) {
    calls.push_back(src + ":" + std::to_string(loop) + (terminate ? ":T" : ":F"));
  };
  Parse("<BGSOUND SRC=a.wav><BGSOUND SRC=b.mid LOOP=3><BGSOUND LOOP=2>", ev);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], "a.wav:1:F");
  EXPECT_EQ(calls[1], "b.mid:3:F");
}

TEST(Builder, ScriptHandlerGetsTheRawBody)
{
  auto list = std::make_unique<TSectionList>();
  std::string language, body;
  int calls = 0;
  list->Document().OnScript = [&](QObject*, const std::string& l, const std::string& s) {
    language = l;
    body = s;
    ++calls;
  };
  TAnchorList anchors;
  TBuilder b;
  std::string html = "<SCRIPT LANGUAGE=JavaScript><!-- if (a<b) x();\n// --></SCRIPT>y";
  b.ParseDocument(TParseSource::FromString(html), *list, anchors);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(language, "JavaScript");
  EXPECT_EQ(body, "<!-- if (a<b) x();\r\n// -->");
  EXPECT_EQ(Summary(*list), "S(y)");
}

TEST(Builder, ScriptWithoutEndRunsToTheEnd)
{
  auto p = Parse("a<SCRIPT>never ended");
  EXPECT_EQ(Summary(*p->List), "S(a)");
}

TEST(Builder, MapWithAreasIsKept)
{
  auto p = Parse("<MAP NAME=nav><AREA SHAPE=rect COORDS=\"0,0,10,10\" HREF=a.htm> "
                 "<AREA SHAPE=circle COORDS=\"5,5,5\" HREF=b.htm></MAP>x");
  ASSERT_EQ(p->List->Document().Maps.Count(), 1);
  EXPECT_EQ(p->List->Document().Maps[0]->Name, "NAV");
  EXPECT_EQ(p->List->Document().Maps[0]->Areas.size(), 2u);
  EXPECT_EQ(Summary(*p->List), "S(x)");
}

TEST(Builder, MapWithThreeStrayTagsIsDiscarded)
{
  auto p = Parse("<MAP NAME=m><AREA HREF=a><B><I><U></MAP>x");
  EXPECT_EQ(p->List->Document().Maps.Count(), 0);
  auto q = Parse("<MAP NAME=m><AREA HREF=a><B><I></MAP>x");
  EXPECT_EQ(q->List->Document().Maps.Count(), 1);
}

TEST(Builder, NoBreakMarksSpacesAndWordBreaksAllowOne)
{
  auto p = Parse("<NOBR>a b<WBR>c</NOBR> d");
  TSection* s = SectionWith(*p->List, "a");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(std::string_view(s->Chars), std::string("a\xA0") + "b c d");
}

TEST(Builder, PlainTextIsNotMarkup)
{
  TSectionList list;
  TAnchorList anchors;
  TBuilder b;
  std::vector<std::string> lines = {"a<b>&amp;", "", "<!-- x"};
  b.ParsePlainText(TParseSource::FromStrings(lines), list, anchors);
  EXPECT_EQ(Summary(list), "Pre(a<b>&amp;) Pre() Pre(<!-- x) Pre()");
  EXPECT_TRUE(FontOf(list, "a")->FontCopy().Monospace);
  EXPECT_EQ(FontOf(list, "a")->FontCopy().NominalSize, 10);
}

TEST(Builder, MissingFileRaisesAfterCleanUp)
{
  TSectionList list;
  TAnchorList anchors;
  TBuilder b;
  EXPECT_THROW(b.ParseDocument(TParseSource::File("/nonexistent/none.htm"), list, anchors),
               ELumoraError);
  EXPECT_THROW(b.ParsePlainText(TParseSource::File("/nonexistent/none.txt"), list, anchors),
               ELumoraError);
}

TEST(Builder, DeepNestingIsCutOffWithoutCrashing)
{
  std::string html;
  for (int i = 0; i < 3000; ++i)
    html += "<UL><LI><CENTER><TABLE><TR><TD>";
  html += "deep";
  auto p = Parse(html);
  EXPECT_FALSE(p->List->Empty());
}

} // namespace
