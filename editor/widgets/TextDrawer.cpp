#include "editor/widgets/TextDrawer.h"

#include <QGlyphRun>
#include <QPainter>
#include <QtGlobal>

void TTextDrawer::BeginOutput(QPainter* painter)
{
  if (FNesting > 0 && painter != FPainter)
    qFatal("TTextDrawer: BeginOutput on another painter while drawing");
  if (FNesting++ == 0) {
    FPainter = painter;
    FPainter->save();
  }
}

void TTextDrawer::EndOutput()
{
  if (FNesting <= 0)
    qFatal("TTextDrawer: EndOutput without BeginOutput");
  if (--FNesting == 0) {
    FPainter->restore();
    FPainter = nullptr;
  }
}

void TTextDrawer::SelectStyle(TFontStyles style)
{
  FStyle = style;
  FStock.SelectStyle(style);
}

void TTextDrawer::SetTextColor(TColor color)
{
  FForeground = ToQColor(color);
}

void TTextDrawer::SetBackgroundColor(TColor color)
{
  FBackground = ToQColor(color);
}

void TTextDrawer::GrowAdvances(size_t count)
{
  const int cell = CellWidth();
  if (cell != FAdvanceWidth) {
    FAdvances.clear();
    FAdvanceWidth = cell;
  }
  // Grown in steps of 64 cells, every entry one cell further right.
  while (FAdvances.size() < count) {
    size_t from = FAdvances.size();
    FAdvances.resize(from + 64);
    for (size_t i = from; i < FAdvances.size(); ++i)
      FAdvances[i] = QPointF(double(i) * cell, 0);
  }
}

void TTextDrawer::TextOut(int x, int y, std::string_view text)
{
  QRect rect(x, y, int(text.size()) * CellWidth(), CellHeight());
  ExtTextOut(x, y, true, rect, text);
}

void TTextDrawer::ExtTextOut(int x, int y, bool opaque, const QRect& rect, std::string_view text,
                             std::u32string_view chars)
{
  std::string plain(text);
  for (size_t i = 0; i < plain.size(); ++i)
    if ((unsigned char)plain[i] >= 0x80)
      plain[i] = ' ';
  ExtTextOut(x, y, opaque, rect, plain);
  FPainter->setClipRect(FBounds.isNull() ? rect : rect & FBounds);
  FPainter->setFont(FStock.Current().Font);
  FPainter->setPen(FForeground);
  const int cell = CellWidth();
  for (size_t i = 0; i < chars.size() && i < text.size(); ++i)
    if (chars[i] != 0)
      FPainter->drawText(QPointF(x + int(i) * cell, y + FStock.Ascent()),
                         QString::fromUcs4(&chars[i], 1));
  FPainter->setClipping(false);
}

void TTextDrawer::ExtTextOut(int x, int y, bool opaque, const QRect& rect, std::string_view text)
{
  if (!FPainter)
    qFatal("TTextDrawer: drawing without BeginOutput");
  // A rectangle clip replaced per run costs far less than saving the painter each time; the
  // paint event's own region still applies.
  FPainter->setClipRect(FBounds.isNull() ? rect : rect & FBounds);
  if (opaque)
    FPainter->fillRect(rect, FBackground);
  if (!text.empty()) {
    const TFontStock::TSlot& slot = FStock.Current();
    GrowAdvances(text.size());
    FGlyphs.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i)
      FGlyphs[i] = slot.Glyphs[(unsigned char)text[i]];
    QGlyphRun run;
    run.setRawFont(slot.Raw);
    run.setRawData(FGlyphs.data(), FAdvances.data(), int(text.size()));
    run.setUnderline(FStyle & fsUnderline);
    run.setStrikeOut(FStyle & fsStrikeOut);
    if (FPainter->pen().color() != FForeground)
      FPainter->setPen(FForeground);
    FPainter->drawGlyphRun(QPointF(x, y + FStock.Ascent()), run);
  }
  FPainter->setClipping(false);
}
