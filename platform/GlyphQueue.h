#pragma once
// Text marks waiting to be drawn together: glyph runs, one per face and colour, and underlines
// as strokes, one run per thickness and colour. A painter is handed a run in one call instead
// of a call per piece of text.
//
// On a raster painter only one run waits at a time: where glyphs overlap, the pixels depend on
// the order they are blended in. On a printer a piece may join a run begun earlier, so that it
// is drawn before marks that came between, as long as its ink meets none of those marks in
// another colour: marks of one colour cover the same area in any order, and marks that do not
// meet do not care. A page then costs the engine one item per face and colour rather than one
// per piece of text.
//
//   TGlyphQueue queue(&painter, true);
//   TGlyphQueue::TRun& run = queue.Open(&metrics, color, 1, TGlyphQueue::TextInk(...));
//   run.Glyphs.push_back(glyph); run.Positions.push_back(position);
//   queue.Flush();
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <cstddef>
#include <vector>

class QPainter;
struct TFontMetrics;

class TGlyphQueue {
public:
  // Marks in one colour and either one face (glyphs) or, without a face, lines Width pixels
  // thick.
  struct TRun {
    const TFontMetrics* Metrics = nullptr;
    QRgb Color = 0;
    int Width = 1;
    std::vector<quint32> Glyphs;
    std::vector<QPointF> Positions;
    std::vector<QLineF> Lines;
    bool Closed = false; // ends with a word whose rest follows in the next run: joins nothing
  };

  // reorder: pieces may join runs begun before other marks (for printers).
  TGlyphQueue(QPainter* painter, bool reorder) : FPainter(painter), FReorder(reorder) {}

  bool Empty() const { return FUsed == 0; }
  // How many runs wait, and the one the last piece went to (only while something waits).
  size_t Waiting() const { return FUsed; }
  TRun& Current() { return FRuns[FCurrent]; }
  // The current run if it holds glyphs, else the latest run that does; null if none does.
  TRun* GlyphRun();
  bool Reorders() const { return FReorder; }

  // The run for a piece in face (null for lines width pixels thick) and colour whose marks may
  // cover ink; what waits is drawn first where the piece cannot wait with it. On a raster
  // painter ink is not needed. continuesWord: the piece goes on with the word the last piece of
  // text ended in, and is kept right after it.
  TRun& Open(const TFontMetrics* face, QRgb color, int width, const QRectF& ink,
             bool continuesWord = false);
  // Draws everything waiting except the glyphs of the current run from index keep on, which
  // stay waiting.
  void Flush(size_t keep = size_t(-1));

  // The area the ink of n bytes of text in face m from x on a baseline may cover.
  static QRectF TextInk(const TFontMetrics& m, int x, int baseline, const char* s, int n);
  // The same for a line: the rectangle with room for the rendering's edge.
  static QRectF LineInk(const QRect& r);

private:
  // The ink of a waiting piece, its run, and the lowest bottom of it and every earlier piece.
  struct TBox {
    QRectF Ink;
    size_t Run;
    qreal Reach;
  };
  // Whether a piece with ink in colour, put into run, would be drawn under a mark in another
  // colour that it meets and that came before it.
  bool Crosses(size_t run, QRgb color, const QRectF& ink) const;
  TRun& Use(size_t run, const QRectF& ink);
  size_t NewRun(const TFontMetrics* face, QRgb color, int width);
  // Makes the last piece of text end the last run, which then takes nothing more.
  void KeepWordLast();

  QPainter* FPainter;
  bool FReorder;
  std::vector<TRun> FRuns; // FRuns[0, FUsed) wait in the order they are drawn; the rest keep
                           // their buffers for later runs
  size_t FUsed = 0;
  size_t FCurrent = 0;
  std::vector<TBox> FBoxes;
  // The last piece of text: its run, where its glyphs start there, and its box.
  size_t FWordRun = size_t(-1);
  size_t FWordStart = 0;
  size_t FWordBox = 0;
};
