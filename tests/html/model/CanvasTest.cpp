#include "ModelTestSupport.h"
#include "RecordingDevice.h"

#include "base/CodePage.h"
#include "html/model/ListItem.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <cstring>
#include <functional>
#include <regex>
#include <sstream>

namespace {

QImage Blank()
{
  QImage img(200, 40, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

TEST(Canvas, TextDrawnInPiecesMatchesTextDrawnWhole)
{
  TCanvas measure;
  const TFontMetrics& m = measure.Metrics("Times New Roman", 12, false, false, 0);
  const std::string text = "Waving flags";
  QImage whole = Blank(), pieces = Blank();
  {
    QPainter p(&whole);
    TCanvas c(&p);
    c.TextOut(m, 3, 25, text.data(), int(text.size()), clBlack);
  }
  {
    QPainter p(&pieces);
    TCanvas c(&p);
    int x = 3;
    for (size_t i = 0; i < text.size(); i += 3) {
      int n = int(std::min<size_t>(3, text.size() - i));
      c.TextOut(m, x, 25, text.data() + i, n, clBlack);
      x += TCanvas::TextWidth(m, text.data() + i, n);
    }
  }
  EXPECT_EQ(whole, pieces);
  EXPECT_NE(whole, Blank());
}

// Drawing steps run once piece by piece and once inside a text batch: the batch may only change
// how many calls reach the painter, never a pixel.
struct BatchCase {
  const char* Name;
  std::function<void(TCanvas&)> Draw;
};

QImage DrawnWith(const std::function<void(TCanvas&)>& draw, bool batched)
{
  QImage img = Blank();
  QPainter p(&img);
  TCanvas c(&p);
  if (batched) {
    TTextBatch batch(c);
    draw(c);
  } else {
    draw(c);
  }
  return img;
}

TEST(Canvas, BatchedTextDrawsTheSamePixelsAsPieceByPiece)
{
  TCanvas measure;
  const TFontMetrics& serif = measure.Metrics("Times New Roman", 12, false, false, 0);
  const TFontMetrics& bold = measure.Metrics("Arial", 12, true, false, 0);
  const TFontMetrics& wide =
      measure.Metrics("Times New Roman", 12, false, false, codepage::CharsetUtf8);
  auto out = [](TCanvas& c, const TFontMetrics& m, int x, const std::string& s,
                TColor color = clBlack) {
    return x + c.TextOut(m, x, 25, s.data(), int(s.size()), color);
  };
  const BatchCase cases[] = {
      {"one face, one colour",
       [&](TCanvas& c) { out(c, serif, out(c, serif, out(c, serif, 2, "Wav"), "ing "), "flags"); }},
      {"colours and faces change",
       [&](TCanvas& c) {
         int x = out(c, serif, 2, "red ", clRed);
         x = out(c, bold, x, "bold ", clRed);
         out(c, bold, x, "blue", clBlue);
       }},
      {"a rectangle drawn after the text covers it",
       [&](TCanvas& c) {
         out(c, serif, 2, "covered text", clBlack);
         c.FillRect(QRect(20, 10, 30, 20), clYellow);
         out(c, serif, 60, "after", clBlack);
       }},
      {"the painter taken directly draws over waiting text",
       [&](TCanvas& c) {
         out(c, serif, 2, "under a box", clBlack);
         c.Painter()->fillRect(QRect(10, 12, 25, 15), Qt::green);
       }},
      {"underlined, struck and selected pieces",
       [&](TCanvas& c) {
         int x = out(c, serif, 2, "plain ", clBlack);
         x += c.TextOut(serif, x, 25, "link", 4, clBlue, true, false);
         x += c.TextOut(serif, x, 25, " gone", 5, clBlack, false, true);
         x += c.TextOut(serif, x, 25, " picked", 7, clWhite, false, false, true, clNavy);
         out(c, serif, x, " tail", clBlack);
       }},
      {"pieces that overlap keep their order",
       [&](TCanvas& c) {
         out(c, bold, 2, "WWWW", clRed);
         out(c, bold, 6, "MMMM", clBlue);
         out(c, bold, 10, "WWWW", clRed);
       }},
      {"characters from a fallback face between own glyphs",
       [&](TCanvas& c) {
         int x = out(c, wide, 2, "ab", clBlack);
         x = out(c, wide, x, "\xE2\x98\x83\xE4\xB8\xAD cd", clBlack);
         out(c, wide, x - 4, "ef", clRed);
       }},
      {"clipped text inside the batch",
       [&](TCanvas& c) {
         out(c, serif, 2, "before ", clBlack);
         c.TextRect(serif, QRect(40, 0, 30, 40), 30, 25, "clipped text", 12, clBlue);
         out(c, serif, 40, "over", clRed);
       }},
  };
  for (const BatchCase& bc : cases) {
    QImage single = DrawnWith(bc.Draw, false);
    EXPECT_NE(single, Blank()) << bc.Name;
    EXPECT_EQ(DrawnWith(bc.Draw, true), single) << bc.Name;
  }
}

// Every glyph of single-byte text, spaces included, drawn by the painter at the measured
// advances: what the canvas drew before it left glyphs without ink out.
QImage EveryGlyph(const TFontMetrics& m, const std::string& s, QRgb color)
{
  QImage img = Blank();
  QPainter p(&img);
  QList<quint32> glyphs;
  QList<QPointF> positions;
  int x = 2;
  for (char ch : s) {
    auto c = uint8_t(ch);
    if (m.Glyph[c] != 0) {
      glyphs.append(m.Glyph[c]);
      positions.append(QPointF(x, 25));
    }
    x += m.Advance[c];
  }
  QGlyphRun run;
  run.setRawFont(m.Raw);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  p.setPen(QColor::fromRgb(color));
  p.drawGlyphRun(QPointF(0, 0), run);
  return img;
}

TEST(Canvas, SpacesLeftOutOfARasterSetTheSamePixels)
{
  TCanvas measure;
  struct Case {
    const char* Family;
    bool Bold, Italic;
    std::string Text;
  };
  const Case cases[] = {
      {"Times New Roman", false, false, "a few words  apart "},
      {"Arial", true, false,
       " bold\xA0"
       "and\xA0"
       "hard spaces"},
      {"Courier New", false, true, "  mono   italic  "},
  };
  for (const Case& c : cases) {
    const TFontMetrics& m = measure.Metrics(c.Family, 12, c.Bold, c.Italic, 0);
    EXPECT_TRUE(m.Glyph.Inkless(' ')) << c.Family;
    EXPECT_FALSE(m.Glyph.Inkless('a')) << c.Family;
    QImage drawn = Blank();
    {
      QPainter p(&drawn);
      TCanvas canvas(&p);
      canvas.TextOut(m, 2, 25, c.Text.data(), int(c.Text.size()), clNavy);
    }
    EXPECT_NE(drawn, Blank()) << c.Family;
    EXPECT_EQ(drawn, EveryGlyph(m, c.Text, qRgb(0, 0, 128))) << c.Family;
  }
}

// On a printer the spaces between pieces in other faces and colours travel with the glyphs
// around them instead of being items of their own, pieces of one colour wait together face by
// face, and underlines are strokes covering the rectangle the screen fills.
TEST(Canvas, PrinterGetsSpacesWithTheTextAroundThemAndUnderlinesAsStrokes)
{
  TCanvas measure;
  const TFontMetrics& serif = measure.Metrics("Times New Roman", 12, false, false, 0);
  const TFontMetrics& bold = measure.Metrics("Times New Roman", 12, true, false, 0);
  const TFontMetrics& italic = measure.Metrics("Times New Roman", 12, false, true, 0);
  struct Piece {
    const TFontMetrics* Font;
    const char* Text;
    TColor Color;
    bool Underline;
  };
  struct Case {
    const char* Name;
    bool Batched;
    std::vector<Piece> Pieces;
    int TextItems;
  };
  const Case cases[] = {
      {"a space after a bold word goes with it",
       true,
       {{&serif, "plain ", clBlack, false},
        {&bold, "bold", clBlack, false},
        {&serif, " ", clBlack, false},
        {&italic, "italic", clBlack, false}},
       3},
      {"spaces after a link go with the next word",
       true,
       {{&serif, "link", clBlue, true},
        {&serif, "  ", clBlack, false},
        {&bold, "bold", clRed, false}},
       2},
      {"spaces in a colour of their own between words of one face",
       true,
       {{&serif, "one", clBlack, false},
        {&serif, " ", clGreen, false},
        {&serif, "two", clBlack, false}},
       1},
      {"faces of one colour wait together",
       true,
       {{&serif, "a ", clBlack, false},
        {&bold, "b ", clBlack, false},
        {&serif, "c ", clBlack, false},
        {&italic, "d", clBlack, false},
        {&serif, " e", clBlack, false}},
       3},
      {"a link's colour coming back joins its text and underline",
       true,
       {{&serif, "one", clBlue, true},
        {&serif, " two ", clBlack, false},
        {&serif, "three", clBlue, true}},
       2},
      {"outside a batch every piece is drawn at once",
       false,
       {{&serif, "one", clBlack, false},
        {&bold, " ", clBlack, false},
        {&serif, "two", clBlack, false}},
       3},
  };
  for (const Case& c : cases) {
    TRecordingDevice device;
    std::vector<QRect> underlines;
    {
      QPainter p(&device);
      TCanvas canvas(&p);
      if (c.Batched)
        canvas.BeginText();
      int x = 5;
      for (const Piece& piece : c.Pieces) {
        int w = canvas.TextOut(*piece.Font, x, 40, piece.Text, int(strlen(piece.Text)), piece.Color,
                               piece.Underline);
        EXPECT_EQ(w, TCanvas::TextWidth(*piece.Font, piece.Text, int(strlen(piece.Text))))
            << c.Name;
        if (piece.Underline)
          underlines.emplace_back(x, 40 + piece.Font->UnderlinePos, w, piece.Font->LineWidth);
        x += w;
      }
      if (c.Batched)
        canvas.EndText();
    }
    const TRecordingEngine& e = device.Engine;
    EXPECT_EQ(e.TextItems, c.TextItems) << c.Name;
    EXPECT_EQ(e.Rects, 0) << c.Name;
    ASSERT_EQ(e.Lines.size(), underlines.size()) << c.Name;
    for (size_t i = 0; i < underlines.size(); ++i) {
      const QRect& r = underlines[i];
      const auto& [line, pen] = e.Lines[i];
      EXPECT_EQ(pen.widthF(), r.height()) << c.Name;
      EXPECT_EQ(pen.capStyle(), Qt::FlatCap) << c.Name;
      EXPECT_EQ(line, QLineF(r.left(), r.top() + r.height() / 2.0, r.left() + r.width(),
                             r.top() + r.height() / 2.0))
          << c.Name;
    }
  }
}

// Text read back from a page takes a word as glyphs that follow one another, so the rest of a
// word in another face or colour goes to the printer right after its start, while other text
// of a colour still waits together.
TEST(Canvas, PrinterKeepsTheRestOfAWordRightAfterItsStart)
{
  TCanvas measure;
  const TFontMetrics& serif = measure.Metrics("Times New Roman", 12, false, false, 0);
  struct Piece {
    const char* Text;
    TColor Color;
  };
  struct Case {
    const char* Name;
    std::vector<Piece> Pieces;
    std::vector<TColor> Items; // the colour of each text item, in order
  };
  const Case cases[] = {
      {"words apart wait by colour",
       {{"plain ", clBlack}, {"red ", clRed}, {"more", clBlack}},
       {clBlack, clRed}},
      {"a word's rest follows the last run",
       {{"plain ", clBlack}, {"Wo", clRed}, {"rd, ", clBlack}, {"more", clBlack}},
       {clBlack, clRed, clBlack}},
      {"a word's start in an earlier run moves to the end before its rest",
       {{"a ", clBlack}, {"b ", clRed}, {"Wo", clBlack}, {"rd", clRed}},
       {clBlack, clRed, clBlack, clRed}},
  };
  for (const Case& c : cases) {
    TRecordingDevice device;
    {
      QPainter p(&device);
      TCanvas canvas(&p);
      TTextBatch batch(canvas);
      int x = 5;
      for (const Piece& piece : c.Pieces)
        x += canvas.TextOut(serif, x, 40, piece.Text, int(strlen(piece.Text)), piece.Color);
    }
    std::vector<QColor> expected;
    for (TColor color : c.Items)
      expected.push_back(ToQColor(color));
    EXPECT_EQ(device.Engine.TextColors, expected) << c.Name;
  }
}

TEST(Canvas, BatchedTextWaitsForTheOutermostBatchToEnd)
{
  TCanvas measure;
  const TFontMetrics& m = measure.Metrics("Arial", 12, false, false, 0);
  QImage img = Blank();
  QPainter p(&img);
  TCanvas c(&p);
  c.BeginText();
  c.BeginText();
  int w = c.TextOut(m, 2, 25, "waiting", 7, clBlack);
  EXPECT_EQ(w, TCanvas::TextWidth(m, "waiting", 7));
  c.EndText();
  EXPECT_EQ(img, Blank()); // the inner batch ended, the outer one still holds the text
  c.EndText();
  EXPECT_NE(img, Blank());
  // Outside any batch text is drawn at once.
  QImage before = img;
  c.TextOut(m, 2, 38, "now", 3, clBlack);
  EXPECT_NE(img, before);
}

TEST(Canvas, MeasuresWithThePlatformAdvances)
{
  TCanvas canvas;
  const TFontMetrics& m = canvas.Metrics("Arial", 12, true, false, 0);
  QFont f("Arial");
  f.setPixelSize(16);
  f.setBold(true);
  QFontMetrics fm(f);
  const std::string text = "Hello, World";
  int expected = 0;
  for (char c : text)
    expected += fm.horizontalAdvance(QChar(c));
  EXPECT_EQ(TCanvas::TextWidth(m, text.data(), int(text.size())), expected);
  EXPECT_EQ(m.Height, fm.ascent() + fm.descent());
  EXPECT_EQ(TCanvas::FitCount(m, text.data(), int(text.size()), fm.horizontalAdvance("Hello")), 5);
  EXPECT_EQ(TCanvas::FitCount(m, text.data(), int(text.size()), 100000), int(text.size()));
  EXPECT_EQ(TCanvas::FitCount(m, text.data(), int(text.size()), 0), 0);
}

TEST(Canvas, DecodesByCharset)
{
  struct Case {
    const char* Byte;
    int Charset;
    char16_t Expected;
  };
  const Case cases[] = {
      {"\xE9", 0, 0xE9},     // e acute reads the same in Western and Latin-1
      {"\x93", 0, 0x201C},   // left double quote
      {"\x94", 0, 0x201D},   // right double quote
      {"\x96", 0, 0x2013},   // en dash
      {"\x85", 0, 0x2026},   // ellipsis
      {"\x80", 0, 0x20AC},   // euro sign
      {"\x99", 0, 0x2122},   // trade mark
      {"\x81", 0, 0x81},     // undefined in the code page: kept as the byte
      {"\x93", 1, 0x201C},   // a charset without a table of its own is Western
      {"\x93", 77, 0x201C},  //
      {"\xC0", 204, 0x0410}, // Cyrillic A
      {"\xC1", 161, 0x0391}, // Greek Alpha
      {"\x80", 204, 0x0402}, // the Cyrillic page has its own 0x80
  };
  for (const Case& c : cases)
    EXPECT_EQ(fontcache::Decode(c.Byte, 1, c.Charset), QString(QChar(c.Expected)))
        << int(uint8_t(c.Byte[0])) << " in charset " << c.Charset;
}

TEST(Canvas, WesternPunctuationHasGlyphsAndWidths)
{
  TCanvas canvas;
  const TFontMetrics& m = canvas.Metrics("Times New Roman", 12, false, false, 0);
  QFont f = m.Font;
  QFontMetrics fm(f);
  for (uint8_t b : {0x80, 0x85, 0x93, 0x94, 0x96, 0x97, 0x99}) {
    EXPECT_NE(m.Glyph[b], 0u) << int(b);
    EXPECT_EQ(m.Advance[b], fm.horizontalAdvance(m.Decoded[b])) << int(b);
    EXPECT_GT(m.Advance[b], 0) << int(b);
  }
}

// The byte tables are filled when first read: whatever order they are read in, every entry is
// what the platform gives for that byte (controls and placeholders take no room and draw
// nothing; in UTF-8 text the bytes above 127 are measured a character at a time).
TEST(Canvas, ByteTablesMatchThePlatformInAnyOrder)
{
  struct Case {
    const char* Family;
    int Points;
    bool Bold, Italic;
    int Charset;
    bool Backwards; // read from byte 255 down
  };
  const Case cases[] = {
      {"Times New Roman", 11, false, false, 0, false},
      {"Times New Roman", 13, true, true, 0, true},
      {"Arial", 9, false, true, 204, false},
      {"Courier New", 10, false, false, codepage::CharsetUtf8, true},
  };
  TCanvas canvas;
  for (const Case& c : cases) {
    const TFontMetrics& m = canvas.Metrics(c.Family, c.Points, c.Bold, c.Italic, c.Charset);
    QFontMetrics fm(m.Font);
    QList<quint32> glyphs = QRawFont::fromFont(m.Font).glyphIndexesForString(m.Decoded);
    ASSERT_EQ(glyphs.size(), 256) << c.Family;
    for (int k = 0; k < 256; ++k) {
      const int b = c.Backwards ? 255 - k : k;
      const bool none = b < 32 || b == 127 || (c.Charset == codepage::CharsetUtf8 && b >= 128);
      EXPECT_EQ(m.Advance[size_t(b)], none ? 0 : fm.horizontalAdvance(m.Decoded[b]))
          << c.Family << " byte " << b;
      EXPECT_EQ(m.Glyph[size_t(b)], none ? 0u : glyphs[b]) << c.Family << " byte " << b;
    }
    EXPECT_EQ(QRawFont(m.Raw).familyName(), QRawFont::fromFont(m.Font).familyName()) << c.Family;
  }
}

struct DumpRun {
  int X, W;
  std::string Text;
  bool Bold;
};

std::vector<DumpRun> RunsOf(const std::string& dump)
{
  std::vector<DumpRun> runs;
  std::regex re(
      R"re(run x=(-?\d+) w=(\d+) font="[^"]*" size=\d+ (b?)i?u?s? ?color=#[0-9a-f]{6}(?: link="[^"]*")? "(.*)")re");
  std::istringstream in(dump);
  std::string line;
  std::smatch m;
  while (std::getline(in, line))
    if (std::regex_search(line, m, re))
      runs.push_back({std::stoi(m[1]), std::stoi(m[2]), m[4], !m[3].str().empty()});
  return runs;
}

TEST_F(ModelTest, EachRunStartsWhereThePreviousOneEnded)
{
  auto s = MakeSection();
  Append(*s, "plain ");
  s->FontChange(Font(12, true));
  Append(*s, "bold", 6);
  s->FontChange(Font(14));
  Append(*s, " larger", 10);
  List.Add(std::move(s));
  LayoutAt(1000);
  std::ostringstream out;
  List.Dump(out, "Runs");
  std::vector<DumpRun> runs = RunsOf(out.str());
  ASSERT_EQ(runs.size(), 3u) << out.str();
  EXPECT_EQ(runs[0].W, Width("plain "));
  EXPECT_EQ(runs[1].W, Width("bold", 16, true));
  EXPECT_EQ(runs[2].W, Width(" larger", Canvas.PointsToPixels(14)));
  EXPECT_TRUE(runs[1].Bold);
  for (size_t i = 1; i < runs.size(); ++i)
    EXPECT_EQ(runs[i].X, runs[i - 1].X + runs[i - 1].W);
}

TEST_F(ModelTest, DumpDescribesDocumentLinesAndMarkers)
{
  auto item = std::make_unique<TOListItem>(&Doc, TUrlTarget(), Font(), 'i', 4, 1);
  Append(*item, "fourth");
  List.Add(std::move(item));
  AddText("centred", paCenter);
  LayoutAt(500);
  std::ostringstream out;
  List.Dump(out, "Title");
  std::string d = out.str();
  std::string first = d.substr(0, d.find('\n'));
  EXPECT_EQ(first, "SectionList h=" + std::to_string(List.DocumentHeight) +
                       " w=500 pos=13 title=\"Title\"");
  EXPECT_NE(d.find("  OListItem y=0 "), std::string::npos) << d;
  EXPECT_NE(d.find("pos=0+6 marker=\"iv.\" align=left"), std::string::npos) << d;
  EXPECT_NE(d.find("pos=6+7 align=center"), std::string::npos) << d;
  EXPECT_NE(d.find("    line y=0 h="), std::string::npos) << d;
  EXPECT_NE(d.find("x=35 w=" + std::to_string(Width("fourth"))), std::string::npos) << d;
}

// The list painted on a blank picture through a canvas, as the viewer paints it.
QImage PaintedOnBlank(TSectionList& list)
{
  QImage img = Blank();
  {
    QPainter p(&img);
    TCanvas canvas(&p); // draws what waits when it goes
    list.Paint(canvas, img.rect(), img.width(), 0, 0);
  }
  return img;
}

TEST_F(ModelTest, PaintDrawsTheTextOfVisibleSections)
{
  Doc.PageColor = clWhite;
  AddText("visible text");
  LayoutAt(200);
  EXPECT_NE(PaintedOnBlank(List), Blank());
  List.SetScroll(1000); // scrolled away: nothing is drawn
  EXPECT_EQ(PaintedOnBlank(List), Blank());
}

} // namespace

namespace {

TEST_F(ModelTest, PrintedPageEndsAboveALineThatDoesNotFit)
{
  TSection* s = AddText("one two three four five six seven eight nine ten");
  LayoutAt(Width("one two three"));
  ASSERT_GE(s->LineList.size(), 3u);
  const int32_t line2Top = LineTop(*s, 1), line2Bottom = LineTop(*s, 2);
  QImage page(400, 200, QImage::Format_RGB32);
  QPainter painter(&page);
  TCanvas canvas(&painter);
  canvas.Printing = true;
  // The second line reaches below the page.
  TPaintContext first = Pass(QRect(0, 0, 400, 200), 0, line2Bottom - 1);
  List.Paint(canvas, first, 400, 0, 0);
  EXPECT_EQ(first.PageBottom, line2Top);
  // The first line of the page is printed whole.
  TPaintContext second = Pass(QRect(0, line2Top, 400, 200), 0, line2Top + 1);
  List.Paint(canvas, second, 400, 0, 0);
  EXPECT_EQ(second.PageBottom, line2Top + 1);
}

} // namespace
