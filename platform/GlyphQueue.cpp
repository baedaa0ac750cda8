#include "platform/GlyphQueue.h"

#include "platform/FontMetricsCache.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

namespace {

// Where a glyph's ink may fall hinted or not: half a pixel beyond the box the face gives.
constexpr qreal InkMargin = 0.5;

int16_t Int16At(const QByteArray& table, int offset)
{
  return int16_t(uint16_t(uint8_t(table[offset]) << 8 | uint8_t(table[offset + 1])));
}

// The box around every glyph of a face relative to a glyph's origin, from the face's own
// bounds. A face without them is given room enough that nothing near it is drawn out of order.
QRectF FaceInk(const TFontMetrics& m)
{
  const QRawFont& face = m.Glyph.Face();
  const QByteArray head = face.fontTable("head");
  const int units = head.size() >= 54 ? uint16_t(Int16At(head, 18)) : 0;
  const qreal size = std::max(1, m.PixelSize);
  QRectF box(-4 * size, -4 * size, 8 * size, 8 * size);
  if (units > 0) {
    const qreal scale = size / units;
    box = QRectF(QPointF(Int16At(head, 36) * scale, -Int16At(head, 42) * scale),
                 QPointF(Int16At(head, 40) * scale, -Int16At(head, 38) * scale));
  }
  // A slant the font system adds leans glyphs by up to a third of their height.
  if (m.Font.italic())
    box.adjust(-box.bottom() / 3, 0, -box.top() / 3, 0);
  return box.adjusted(-InkMargin, -InkMargin, InkMargin, InkMargin);
}

// The ink box of each byte's glyph relative to its origin, found the first time the byte is
// drawn: a page uses a few dozen of the 256.
class TByteInk {
public:
  explicit TByteInk(const TFontMetrics& m) : FMetrics(m), FFace(FaceInk(m)) {}
  const QRectF& Face() const { return FFace; }
  const QRectF& operator[](uint8_t b)
  {
    if (!FKnown[b]) {
      const quint32 glyph = FMetrics.Glyph[b];
      FBoxes[b] = glyph == 0 || FMetrics.Glyph.Inkless(b)
                      ? QRectF()
                      : FMetrics.Glyph.Face().boundingRect(glyph).adjusted(-InkMargin, -InkMargin,
                                                                           InkMargin, InkMargin);
      FKnown[b] = true;
    }
    return FBoxes[b];
  }

private:
  const TFontMetrics& FMetrics;
  QRectF FFace;
  std::array<QRectF, 256> FBoxes;
  std::array<bool, 256> FKnown{};
};

TByteInk& InkOf(const TFontMetrics& m)
{
  // Font metrics live as long as the process, and so do their entries here.
  static std::unordered_map<const TFontMetrics*, std::unique_ptr<TByteInk>> known;
  std::unique_ptr<TByteInk>& ink = known[&m];
  if (!ink)
    ink = std::make_unique<TByteInk>(m);
  return *ink;
}

} // namespace

QRectF TGlyphQueue::TextInk(const TFontMetrics& m, int x, int baseline, const char* s, int n)
{
  TByteInk& ink = InkOf(m);
  qreal left = x, right = x, top = baseline, bottom = baseline;
  int gx = x;
  for (int i = 0; i < n; ++i) {
    const auto b = uint8_t(s[i]);
    if (b >= 0x80 && m.Utf8) {
      // Characters beyond single bytes get the room of the whole face.
      const QRectF& face = ink.Face();
      return QRectF(QPointF(x + std::min<qreal>(0, face.left()), baseline + face.top()),
                    QPointF(x + m.TextWidth(s, n) + std::max<qreal>(0, face.right()),
                            baseline + face.bottom()));
    }
    const QRectF& box = ink[b];
    if (!box.isNull()) {
      left = std::min(left, gx + box.left());
      right = std::max(right, gx + box.right());
      top = std::min(top, baseline + box.top());
      bottom = std::max(bottom, baseline + box.bottom());
    }
    gx += m.Advance[b];
  }
  return QRectF(QPointF(left, top), QPointF(right, bottom));
}

TGlyphQueue::TRun* TGlyphQueue::GlyphRun()
{
  // A run kept for the end of a word takes nothing more.
  if (FUsed > 0 && !FRuns[FCurrent].Glyphs.empty() && !FRuns[FCurrent].Closed)
    return &FRuns[FCurrent];
  for (size_t i = FUsed; i-- > 0;)
    if (!FRuns[i].Glyphs.empty() && !FRuns[i].Closed)
      return &FRuns[i];
  return nullptr;
}

QRectF TGlyphQueue::LineInk(const QRect& r)
{
  return QRectF(r).adjusted(-InkMargin, -InkMargin, InkMargin, InkMargin);
}

bool TGlyphQueue::Crosses(size_t run, QRgb color, const QRectF& ink) const
{
  if (run + 1 >= FUsed)
    return false; // nothing is drawn after the last run
  for (size_t i = FBoxes.size(); i-- > 0;) {
    const TBox& b = FBoxes[i];
    if (b.Reach < ink.top())
      return false; // this piece and every earlier one lie above
    if (b.Run > run && FRuns[b.Run].Color != color && b.Ink.intersects(ink))
      return true;
  }
  return false;
}

TGlyphQueue::TRun& TGlyphQueue::Use(size_t run, const QRectF& ink)
{
  FCurrent = run;
  if (FReorder) {
    const qreal reach = FBoxes.empty() ? ink.bottom() : std::max(FBoxes.back().Reach, ink.bottom());
    FBoxes.push_back({ink, run, reach});
  }
  if (FRuns[run].Metrics) {
    FWordRun = run;
    FWordStart = FRuns[run].Glyphs.size();
    FWordBox = FBoxes.size() - 1;
  }
  return FRuns[run];
}

size_t TGlyphQueue::NewRun(const TFontMetrics* face, QRgb color, int width)
{
  if (FUsed == FRuns.size())
    FRuns.emplace_back();
  TRun& r = FRuns[FUsed];
  r.Metrics = face;
  r.Color = color;
  r.Width = width;
  r.Closed = false;
  r.Glyphs.clear();
  r.Positions.clear();
  r.Lines.clear();
  return FUsed++;
}

void TGlyphQueue::KeepWordLast()
{
  const size_t from = FWordRun;
  if (from + 1 == FUsed) {
    FRuns[from].Closed = true;
    return;
  }
  // The last piece moves to a run of its own at the end. It came after everything waiting, so
  // it may be drawn after all of it.
  const size_t to = NewRun(FRuns[from].Metrics, FRuns[from].Color, FRuns[from].Width);
  TRun& a = FRuns[from];
  TRun& b = FRuns[to];
  const auto start = std::ptrdiff_t(FWordStart);
  b.Glyphs.assign(a.Glyphs.begin() + start, a.Glyphs.end());
  b.Positions.assign(a.Positions.begin() + start, a.Positions.end());
  a.Glyphs.resize(FWordStart);
  a.Positions.resize(FWordStart);
  b.Closed = true;
  if (FReorder && FWordBox < FBoxes.size() && FBoxes[FWordBox].Run == from)
    FBoxes[FWordBox].Run = to;
  FWordRun = to;
  FWordStart = 0;
}

TGlyphQueue::TRun& TGlyphQueue::Open(const TFontMetrics* face, QRgb color, int width,
                                     const QRectF& ink, bool continuesWord)
{
  auto holds = [&](const TRun& r) {
    return !r.Closed && r.Metrics == face && r.Color == color && r.Width == width;
  };
  if (continuesWord && FReorder && face && FWordRun < FUsed) {
    // Text read back from the page takes a word as the glyphs that follow one another: the
    // rest of a word in another face or colour comes right after its start.
    if (holds(FRuns[FWordRun]) && !Crosses(FWordRun, color, ink))
      return Use(FWordRun, ink);
    KeepWordLast();
    return Use(NewRun(face, color, width), ink);
  }
  if (FUsed > 0 && holds(FRuns[FCurrent]) && !Crosses(FCurrent, color, ink))
    return Use(FCurrent, ink);
  if (FReorder) {
    // The latest run of the face and colour is the one the piece can most likely join.
    for (size_t i = FUsed; i-- > 0;)
      if (holds(FRuns[i])) {
        if (!Crosses(i, color, ink))
          return Use(i, ink);
        break;
      }
  } else {
    Flush();
  }
  return Use(NewRun(face, color, width), ink);
}

void TGlyphQueue::Flush(size_t keep)
{
  if (FUsed == 0 || !FPainter)
    return;
  for (size_t i = 0; i < FUsed; ++i) {
    TRun& run = FRuns[i];
    const size_t count = std::min(i == FCurrent ? keep : size_t(-1), run.Glyphs.size());
    if (count == 0 && run.Lines.empty())
      continue;
    // Text takes the pen of a line one pixel thick: on a printer thin underlines in the text's
    // colour then need no change of pen.
    FPainter->setPen(QPen(QColor::fromRgba(run.Color), run.Width, Qt::SolidLine, Qt::FlatCap));
    if (!run.Lines.empty())
      FPainter->drawLines(run.Lines.data(), int(run.Lines.size()));
    run.Lines.clear();
    if (count == 0)
      continue;
    QGlyphRun glyphs;
    glyphs.setRawFont(run.Metrics->Raw);
    // The run only points at the waiting glyphs: nothing is copied.
    glyphs.setRawData(run.Glyphs.data(), run.Positions.data(), int(count));
    FPainter->drawGlyphRun(QPointF(0, 0), glyphs);
    run.Glyphs.erase(run.Glyphs.begin(), run.Glyphs.begin() + std::ptrdiff_t(count));
    run.Positions.erase(run.Positions.begin(), run.Positions.begin() + std::ptrdiff_t(count));
  }
  FBoxes.clear();
  FWordRun = size_t(-1);
  // What stays of the current run waits alone, as the first run.
  const bool tail = !FRuns[FCurrent].Glyphs.empty();
  if (tail)
    std::swap(FRuns[0], FRuns[FCurrent]);
  FCurrent = 0;
  FUsed = tail ? 1 : 0;
}
