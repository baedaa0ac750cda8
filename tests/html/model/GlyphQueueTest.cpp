// Text waiting to be drawn: a queue that lets pieces join runs begun earlier must draw the
// same picture as one that draws every piece in the order it came, with fewer items.
#include "platform/GlyphQueue.h"
#include "RecordingDevice.h"
#include "base/CodePage.h"
#include "base/Utf8.h"
#include "platform/Canvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Piece {
  const TFontMetrics* Font;
  int X, Baseline;
  std::string Text;
  QRgb Color;
};

void Queue(TGlyphQueue& queue, const Piece& p)
{
  const TFontMetrics& m = *p.Font;
  const int n = int(p.Text.size());
  TGlyphQueue::TRun& run =
      queue.Open(&m, p.Color, 1, TGlyphQueue::TextInk(m, p.X, p.Baseline, p.Text.data(), n));
  int x = p.X;
  for (char ch : p.Text) {
    auto b = uint8_t(ch);
    run.Glyphs.push_back(m.Glyph[b]);
    run.Positions.emplace_back(x, p.Baseline);
    x += m.Advance[b];
  }
}

void DrawAll(QPaintDevice& device, const std::vector<Piece>& pieces, bool reorder)
{
  QPainter painter(&device);
  TGlyphQueue queue(&painter, reorder);
  for (const Piece& p : pieces)
    Queue(queue, p);
  queue.Flush();
}

QImage Picture(const std::vector<Piece>& pieces, bool reorder)
{
  QImage image(320, 140, QImage::Format_RGB32);
  image.fill(Qt::white);
  DrawAll(image, pieces, reorder);
  return image;
}

int Items(const std::vector<Piece>& pieces, bool reorder)
{
  TRecordingDevice device;
  DrawAll(device, pieces, reorder);
  return device.Engine.TextItems;
}

TEST(GlyphQueue, PiecesJoinEarlierRunsOnlyWhereThePictureStaysTheSame)
{
  TCanvas measure;
  const TFontMetrics& serif = measure.Metrics("Times New Roman", 12, false, false, 0);
  const TFontMetrics& bold = measure.Metrics("Times New Roman", 12, true, false, 0);
  const TFontMetrics& big = measure.Metrics("Arial", 30, true, false, 0);
  const QRgb black = qRgb(0, 0, 0), red = qRgb(200, 0, 0), blue = qRgb(0, 0, 220),
             green = qRgb(0, 140, 0);
  const int lineGap = 2 * serif.Height; // lines far enough apart that no ink meets
  struct Case {
    const char* Name;
    std::vector<Piece> Pieces;
    int Joined; // items with pieces joining earlier runs
  };
  const Case cases[] = {
      {"faces of one colour interleaved on a line",
       {{&serif, 2, 30, "one ", black},
        {&bold, 40, 30, "two ", black},
        {&serif, 80, 30, "three ", black},
        {&bold, 130, 30, "four", black}},
       2},
      {"colours taking turns line by line",
       {{&serif, 2, 30, "first line", black},
        {&serif, 2, 30 + lineGap, "second line", blue},
        {&serif, 2, 30 + 2 * lineGap, "third line", black},
        {&serif, 2, 30 + 3 * lineGap, "fourth line", blue}},
       2},
      {"a piece over a mark of another colour that came between keeps its place",
       {{&big, 2, 60, "WWWW", red}, {&big, 12, 60, "MMMM", blue}, {&big, 22, 60, "WWWW", red}},
       3},
      {"a piece apart from the colour between joins its run",
       {{&serif, 2, 30, "ab", red}, {&serif, 60, 30, "cd", blue}, {&serif, 2, 90, "ef", red}},
       2},
      {"a low mark queued before a high one still holds back a piece that meets it",
       {{&big, 2, 40, "Top", red},
        {&big, 2, 110, "WWW", blue},
        {&serif, 200, 30, "high", green},
        {&big, 8, 110, "MMM", red}},
       4},
  };
  for (const Case& c : cases) {
    const QImage inOrder = Picture(c.Pieces, false);
    EXPECT_EQ(Picture(c.Pieces, true), inOrder) << c.Name;
    EXPECT_EQ(Items(c.Pieces, false), int(c.Pieces.size())) << c.Name;
    EXPECT_EQ(Items(c.Pieces, true), c.Joined) << c.Name;
  }
}

// The glyph of the character at s and its byte length, as the canvas draws it.
quint32 GlyphAt(const TFontMetrics& m, const char* s, int n, int& len)
{
  len = 1;
  if (uint8_t(s[0]) < 0x80 || !m.Utf8)
    return m.Glyph[uint8_t(s[0])];
  char32_t cp = 0;
  len = utf8::Unit(s, n, cp);
  const TFontMetrics::TWide& wide = m.WideChar(cp);
  return wide.Own ? wide.Glyph : 0; // a fallback face draws the others
}

TEST(GlyphQueue, TextInkCoversEveryGlyphOfThePiece)
{
  TCanvas measure;
  struct Case {
    const char* Family;
    int Points;
    bool Bold, Italic;
    int Charset;
    std::string Text;
  };
  const Case cases[] = {
      {"Times New Roman", 12, false, false, 0, "plain words"},
      {"Times New Roman", 24, false, true, 0, "fjord Quay"},
      {"Arial", 9, true, false, 0, "\xC5ngstr\xF6m gap"},
      {"Courier New", 14, false, false, 0, "  spaced  "},
      // Beyond single bytes the whole face's bounds stand for the piece.
      {"Times New Roman", 20, false, false, codepage::CharsetUtf8,
       "\xC3\x85ngstr\xC3\xB6m \xC5\x81\xC3\xB3"
       "d\xC5\xBA"},
      {"Arial", 16, false, true, codepage::CharsetUtf8, "gy\xC3\x89\xC3\x87"},
  };
  for (const Case& c : cases) {
    const TFontMetrics& m = measure.Metrics(c.Family, c.Points, c.Bold, c.Italic, c.Charset);
    const int n = int(c.Text.size());
    const QRectF ink = TGlyphQueue::TextInk(m, 10, 50, c.Text.data(), n);
    int x = 10;
    for (int i = 0; i < n;) {
      int len = 1;
      const quint32 glyph = GlyphAt(m, c.Text.data() + i, n - i, len);
      if (glyph != 0) {
        const QRectF box = m.Glyph.Face().boundingRect(glyph).translated(x, 50);
        EXPECT_TRUE(box.isEmpty() || ink.contains(box)) << c.Family << " byte " << i;
      }
      x += TCanvas::CharAdvance(m, c.Text.data() + i, n - i, len);
      i += len;
    }
  }
}

} // namespace
