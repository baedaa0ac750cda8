#pragma once
// The surface the document model measures and draws on: a QPainter over a QImage, QPixmap or
// printer, or no painter at all for measuring only. Text is single-byte or UTF-8; it is measured
// from the per-font advance tables and drawn glyph by glyph at those advances, so a measured run
// ends exactly where the next one starts. Inside a text batch, consecutive pieces of text in one
// face and colour are drawn as one glyph run: a line of many pieces costs the painter one call.
// On a printer the pieces of every face in the colour wait together, with their underlines, until
// another colour or another kind of drawing comes: a page costs the engine one item per face
// and colour change rather than one per piece.
#include "base/Color.h"
#include "platform/FontMetricsCache.h"
#include "platform/GlyphQueue.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

class TCanvas {
public:
  // Measure-only canvas at the screen resolution.
  TCanvas();
  // Draws through painter (not owned); dpi is the vertical resolution fonts are sized for.
  explicit TCanvas(QPainter* painter, int dpi = 96);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The painter, for drawing that does not go through the canvas: text still waiting in a batch
  // is drawn first, so everything lands in the order it was asked for.
  QPainter* Painter() const
  {
    FlushText();
    return FPainter;
  }
  int LogPixelsY() const { return FDpi; }
  // Printing changes colours of light text and page breaks; set by the print loop.
  bool Printing = false;
  int NumColors = 1 << 24;

  // Points to pixels for this canvas.
  int PointsToPixels(int points) const;
  // The metrics for a font with size in points.
  const TFontMetrics& Metrics(const QString& family, int points, bool bold, bool italic,
                              int charset) const;

  // Width of n bytes of text.
  static int TextWidth(const TFontMetrics& m, const char* s, int n) { return m.TextWidth(s, n); }
  // The largest count of bytes (at most n) whose width is at most width; in UTF-8 text it ends
  // between characters.
  static int FitCount(const TFontMetrics& m, const char* s, int n, int width);
  // The advance of the character at s (n > 0 bytes left) and its byte length. Inline: layout
  // asks it once per byte, and single bytes need only their table entry.
  static int CharAdvance(const TFontMetrics& m, const char* s, int n, int& len)
  {
    auto b = uint8_t(s[0]);
    if (b < 0x80 || !m.Utf8) {
      len = 1;
      return m.Advance[b];
    }
    return WideAdvance(m, s, n, len);
  }

  // Text pieces drawn between BeginText and EndText may wait and be drawn together, at the
  // latest when something else is drawn, the painter is asked for or the batch ends. Batches
  // nest; a canvas outside any batch draws each piece at once.
  void BeginText() { ++FBatchDepth; }
  void EndText();

  // Text with its baseline at y; opaque draws the background first. Returns the text's width.
  int TextOut(const TFontMetrics& m, int x, int baseline, const char* s, int n, TColor color,
              bool underline = false, bool strikeOut = false, bool opaque = false,
              TColor background = clWhite);
  // Text in any font (placeholder captions, markers) clipped to a rectangle.
  void TextRect(const TFontMetrics& m, const QRect& clip, int x, int baseline, const char* s, int n,
                TColor color);
  void FillRect(const QRect& r, TColor color);
  void FrameRect(const QRect& r, TColor color);
  void Line(int x1, int y1, int x2, int y2, TColor color);
  // An ellipse whose outline stays inside r: a 5 x 5 rectangle gives a disc 5 pixels across.
  void Ellipse(const QRect& r, TColor pen, TColor brush, bool fill);
  // A frame lit from the top left (raised) or the bottom right (sunken).
  void Bevel(const QRect& r, bool sunken);
  void DrawImage(const QRect& target, const QImage& image);

private:
  // Draws what waits except the glyphs of the current run from index keep on.
  void FlushText(size_t keep = size_t(-1)) const { FQueue.Flush(keep); }
  // Appends the glyphs of n bytes of text from x and returns the width they take.
  int QueueGlyphs(const TFontMetrics& m, TGlyphQueue::TRun& run, int x, int baseline, const char* s,
                  int n, QString& fallback, QList<int>& fallbackX);
  // Queues a piece of spaces in another face or colour with the waiting glyphs where that sets
  // the same pixels; returns false (and queues nothing) where it would not.
  bool JoinSpaces(const TFontMetrics& m, int x, int baseline, const char* s, int n, int& width);
  // Lets waiting glyphs that are all spaces join a piece in face m and colour rgb instead of
  // being drawn first.
  void AdoptSpaces(const TFontMetrics& m, QRgb rgb);
  // The underline and strike-out of a piece of text.
  void DrawLines(const TFontMetrics& m, int x, int baseline, int width, TColor color,
                 bool underline, bool strikeOut);
  void TextLine(const QRect& r, TColor color);
  // CharAdvance of a UTF-8 character beyond ASCII.
  static int WideAdvance(const TFontMetrics& m, const char* s, int n, int& len);
  void DrawFallback(const TFontMetrics& m, const QString& chars, const QList<int>& xs, int baseline,
                    const QColor& color);

  QPainter* FPainter = nullptr;
  int FDpi = 96;
  bool FSkipInkless = false; // leave out glyphs that set no pixel (spaces) on a raster painter
  // The last font asked for: runs of text mostly repeat the font before them.
  struct LastFont {
    QString Family;
    int Points = 0;
    int Charset = 0;
    bool Bold = false;
    bool Italic = false;
    const TFontMetrics* Metrics = nullptr;
  };
  mutable LastFont FLast;
  mutable TGlyphQueue FQueue{nullptr, false};
  // Where the last piece of text ended, and whether in the middle of a word (no space last).
  int FWordEndX = 0;
  int FWordBaseline = 0;
  bool FInWord = false;
  int FBatchDepth = 0;
};

// Keeps a canvas batching text for as long as it lives.
class TTextBatch {
public:
  explicit TTextBatch(TCanvas& canvas) : FCanvas(canvas) { FCanvas.BeginText(); }
  ~TTextBatch() { FCanvas.EndText(); }
  TTextBatch(const TTextBatch&) = delete;
  TTextBatch& operator=(const TTextBatch&) = delete;

private:
  TCanvas& FCanvas;
};
