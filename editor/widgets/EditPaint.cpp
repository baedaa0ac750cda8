// The editor's painting: the gutter with line numbers and mark glyphs, the text lines in
// token colours with the selection, the right edge and the caret.
#include "editor/widgets/EditWidget.h"

#include "editor/EditChars.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <map>

struct TtxEditWidget::TLinePaint {
  QPainter* Painter = nullptr;
  int Y = 1;        // the line
  int Top = 0;      // its pixel row
  int FirstCol = 1; // visible columns, inclusive
  int LastCol = 1;
  int SelFirst = 0; // selected columns [SelFirst, SelLast)
  int SelLast = 0;
  bool Whole = false;
  bool Special = false;
  TColor FG = clWindowText;
  TColor BG = clWindow;
  std::string Text;
  // In a UTF-8 text: the character each cell of Text shows, 0 for ASCII and second cells.
  std::u32string Chars;
};

void TtxEditWidget::paintEvent(QPaintEvent* event)
{
  PaintedRegion += event->region();
  QPainter painter(viewport());
  const QRect clip = event->rect();
  const int firstLine = TopLine() + clip.top() / FLinePitch;
  const int lastLine = std::min(LineCount(), TopLine() + clip.bottom() / FLinePitch);
  if (clip.left() < FGutterPixels)
    DrawGutter(painter, clip, firstLine, lastLine);
  if (clip.right() >= FGutterPixels) {
    const int left = std::max(clip.left() - FGutterPixels - 2, 0);
    const int firstCol = LeftChar() + left / FCellWidth;
    const int lastCol = LeftChar() + (clip.right() - FGutterPixels - 2) / FCellWidth;
    DrawTextLines(painter, clip, firstLine, lastLine, firstCol, lastCol);
  }
  DrawCaret(painter);
  if (OnPaint) {
    painter.setFont(EditorFont());
    painter.setBrush(ToQColor(FColor));
    OnPaint(painter);
  }
}

// ---------------------------------------------------------------- gutter

void TtxEditWidget::DrawGutter(QPainter& painter, const QRect& rect, int firstLine, int lastLine)
{
  painter.fillRect(QRect(0, rect.top(), FGutterPixels, rect.height()), ToQColor(Gutter.Color()));
  if (Gutter.ShowLineNumbers())
    DrawLineNumbers(painter, firstLine, lastLine);
  painter.setPen(ToQColor(clBtnHighlight));
  painter.drawLine(FGutterPixels - 2, rect.top(), FGutterPixels - 2, rect.bottom());
  painter.setPen(ToQColor(clBtnShadow));
  painter.drawLine(FGutterPixels - 1, rect.top(), FGutterPixels - 1, rect.bottom());
  if (BookMarkOptions.GlyphsVisible && Marks().Count() > 0)
    DrawMarks(painter, firstLine, lastLine);
}

void TtxEditWidget::DrawLineNumbers(QPainter& painter, int firstLine, int lastLine)
{
  FDrawer.BeginOutput(&painter);
  FDrawer.SetBounds(QRect(0, 0, FGutterPixels - 2, viewport()->height()));
  FDrawer.SelectStyle(0);
  FDrawer.SetTextColor(FFontColor);
  FDrawer.SetBackgroundColor(Gutter.Color());
  for (int y = firstLine; y <= lastLine; ++y) {
    const int top = (y - TopLine()) * FLinePitch;
    FDrawer.ExtTextOut(Gutter.LeftOffset(), top, true, QRect(0, top, FGutterPixels - 2, FLinePitch),
                       Gutter.FormatLineNumber(y));
  }
  FDrawer.EndOutput();
}

void TtxEditWidget::DrawMarks(QPainter& painter, int firstLine, int lastLine)
{
  std::map<int, int> offsets;
  // Plain marks first, so bookmarks lie on top of them.
  for (bool bookmarks : {false, true}) {
    for (int i = 0; i < Marks().Count(); ++i) {
      const TMark* mark = Marks().Items(i);
      if (mark->IsBookmark() != bookmarks || !mark->Visible() || mark->Line() < firstLine ||
          mark->Line() > lastLine)
        continue;
      const QImage* glyph = nullptr;
      const int n = mark->ImageIndex();
      if (BookmarkImages.empty() || mark->UseBuiltInGlyph()) {
        if (n >= 0 && n <= 9)
          glyph = &BuiltInGlyph(n);
      } else if (n >= 0 && n < int(BookmarkImages.size())) {
        glyph = &BookmarkImages[size_t(n)];
      }
      if (!glyph)
        continue;
      int& offset = offsets[mark->Line()];
      painter.drawImage(BookMarkOptions.LeftMargin + offset,
                        (mark->Line() - TopLine()) * FLinePitch, *glyph);
      offset += BookMarkOptions.Xoffset;
    }
  }
}

const QImage& TtxEditWidget::BuiltInGlyph(int n)
{
  static std::array<QImage, 10> glyphs;
  QImage& glyph = glyphs[size_t(std::clamp(n, 0, 9))];
  if (glyph.isNull()) {
    // A bookmark tag with its number, each in a hue of its own.
    glyph = QImage(11, 14, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    QPainter p(&glyph);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(QColor::fromHsv(n * 36, 160, 230));
    p.drawRect(0, 0, 10, 13);
    QFont font("Arial");
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, 11, 14), Qt::AlignCenter, QString::number(n));
  }
  return glyph;
}

// ---------------------------------------------------------------- text

std::string TtxEditWidget::DisplayLine(int y) const
{
  std::string_view raw = LineText(y);
  if (raw.find('\t') == std::string_view::npos)
    return std::string(raw);
  std::string text;
  text.reserve(raw.size() + 16);
  for (char c : raw) {
    if (c != '\t') {
      text += c;
    } else if (TabWidth <= 1) {
      text += ' ';
    } else {
      text.append(size_t(TabWidth) - text.size() % size_t(TabWidth), ' ');
    }
  }
  return text;
}

void TtxEditWidget::SelectedColumns(int y, int& first, int& last, bool& whole) const
{
  first = last = 0;
  whole = false;
  if (!HasSelection() || (HideSelection && !hasFocus()))
    return;
  const TPoint a = SelAnchor(), b = SelEnd();
  if (y < std::min(a.Y, b.Y) || y > std::max(a.Y, b.Y))
    return;
  switch (SelectionMode()) {
  case smColumn:
    first = std::min(a.X, b.X);
    last = std::max(a.X, b.X);
    return;
  case smLine:
    first = 1;
    last = INT_MAX;
    whole = true;
    return;
  default: {
    const TPoint s = SelStart(), e = SelStop();
    first = y == s.Y ? s.X : 1;
    last = y == e.Y ? e.X : INT_MAX;
    whole = first == 1 && last == INT_MAX;
  }
  }
}

void TtxEditWidget::DrawTextLines(QPainter& painter, const QRect& rect, int firstLine, int lastLine,
                                  int firstCol, int lastCol)
{
  const QRect clip =
      rect.intersected(QRect(FGutterPixels, 0, viewport()->width(), viewport()->height()));
  painter.save();
  painter.setClipRect(clip);
  FDrawer.BeginOutput(&painter);
  FDrawer.SetBounds(clip);
  // The two pixels between the gutter and the first column.
  painter.fillRect(QRect(FGutterPixels, clip.top(), 2, clip.height()), ToQColor(FColor));
  TLinePaint line;
  line.Painter = &painter;
  for (int y = firstLine; y <= lastLine; ++y) {
    line.Y = y;
    line.Top = (y - TopLine()) * FLinePitch;
    line.FirstCol = firstCol;
    line.LastCol = lastCol;
    DrawLine(line);
  }
  const int bottom = (std::max(lastLine, firstLine - 1) - TopLine() + 1) * FLinePitch;
  if (bottom <= clip.bottom())
    painter.fillRect(QRect(clip.left(), bottom, clip.width(), clip.bottom() - bottom + 1),
                     ToQColor(FColor));
  FDrawer.EndOutput();
  DrawRightEdge(painter, clip);
  painter.restore();
}

void TtxEditWidget::DrawRightEdge(QPainter& painter, const QRect& clip)
{
  if (RightEdge <= 0)
    return;
  const int x = RightEdge * FCellWidth + TextLeft();
  if (x < clip.left() || x > clip.right())
    return;
  painter.setPen(ToQColor(RightEdgeColor));
  painter.drawLine(x, clip.top(), x, clip.bottom());
}

void TtxEditWidget::DrawLine(TLinePaint& line)
{
  line.Text = DisplayLine(line.Y);
  SelectedColumns(line.Y, line.SelFirst, line.SelLast, line.Whole);
  line.Chars.clear();
  if (Utf8()) {
    // Painting works in cells; selected columns count bytes of the line.
    auto cells = editchars::CellLine(line.Text);
    line.Text = std::move(cells.Cells);
    line.Chars = std::move(cells.Chars);
    if (line.SelFirst != line.SelLast) {
      line.SelFirst = CellOf({line.SelFirst, line.Y});
      if (line.SelLast != INT_MAX)
        line.SelLast = CellOf({line.SelLast, line.Y});
    }
  }
  // A column block reaching past the line's end shows as selected blanks.
  if (SelectionMode() == smColumn && line.SelLast > int(line.Text.size()) + 1)
    line.Text.resize(size_t(line.SelLast - 1), ' ');
  if (!line.Chars.empty())
    line.Chars.resize(line.Text.size(), 0);
  line.Special = false;
  line.FG = FFontColor;
  line.BG = FColor;
  if (OnSpecialLineColors)
    OnSpecialLineColors(line.Y, line.Special, line.FG, line.BG);
  const int length = int(line.Text.size());
  const int last = std::min(line.LastCol, length);
  if (line.FirstCol <= last) {
    if (HighLighter())
      DrawHighlightedLine(line);
    else
      DrawRun(line, line.FirstCol,
              std::string_view(line.Text).substr(size_t(line.FirstCol - 1),
                                                 size_t(last - line.FirstCol + 1)),
              0, line.FG, line.BG);
  }
  // Right of the text.
  const int from = (std::max(length, line.FirstCol - 1)) * FCellWidth + TextLeft();
  const int right = viewport()->width();
  if (from < right)
    line.Painter->fillRect(QRect(from, line.Top, right - from, FLinePitch),
                           ToQColor(line.Special ? line.BG : FColor));
}

namespace {

bool OnlyBlanks(std::string_view text)
{
  return text.find_first_not_of(' ') == std::string_view::npos;
}

} // namespace

void TtxEditWidget::DrawHighlightedLine(TLinePaint& line)
{
  TtxCustomHighLighter& hl = *HighLighter();
  hl.RestoreRange(Lines().Objects(line.Y - 1));
  hl.StartLine(line.Text, line.Y - 1);
  const bool wholeSelected = line.Whole;
  int runCol = 0;
  std::string run;
  TFontStyles runStyle = 0;
  TColor runFG = 0, runBG = 0;
  const TFontStyles baseStyle = 0;
  for (; !hl.AtLineEnd(); hl.NextToken()) {
    std::string_view token = hl.CurrentTokenText();
    int col = hl.TokenStart() + 1;
    int end = col + int(token.size()) - 1;
    if (end < line.FirstCol)
      continue;
    if (col > line.LastCol)
      break;
    // Only the visible part of a token is drawn.
    if (col < line.FirstCol) {
      token.remove_prefix(size_t(line.FirstCol - col));
      col = line.FirstCol;
    }
    if (end > line.LastCol)
      token.remove_suffix(size_t(end - line.LastCol));
    const TtxHighLightAttributes* attr = hl.TokenAttributes();
    TFontStyles style = attr ? attr->Style() : baseStyle;
    TColor fg = attr ? attr->Foreground() : line.FG;
    TColor bg = attr && attr->Background() != clNone ? attr->Background() : line.BG;
    if (fg == clNone)
      fg = line.FG;
    const bool blanks = OnlyBlanks(token);
    if (!run.empty()) {
      const bool sameStyle = style == runStyle || blanks;
      const bool sameColours =
          line.Special || wholeSelected || (bg == runBG && (fg == runFG || blanks));
      if (sameStyle && sameColours) {
        run += token;
        continue;
      }
      DrawRun(line, runCol, run, runStyle, runFG, runBG);
    }
    runCol = col;
    run.assign(token);
    runStyle = style;
    runFG = fg;
    runBG = bg;
  }
  if (!run.empty())
    DrawRun(line, runCol, run, runStyle, runFG, runBG);
}

void TtxEditWidget::DrawRun(TLinePaint& line, int col, std::string_view text, TFontStyles style,
                            TColor fg, TColor bg)
{
  FDrawer.SelectStyle(style);
  if (line.Special) {
    fg = line.FG;
    bg = line.BG;
  }
  const int end = col + int(text.size());
  const int selFirst = std::clamp(line.SelFirst, col, end);
  const int selLast = std::clamp(line.SelLast, col, end);
  if (selFirst >= selLast) {
    DrawPiece(line, col, text, false, fg, bg);
    return;
  }
  DrawPiece(line, col, text.substr(0, size_t(selFirst - col)), false, fg, bg);
  DrawPiece(line, selFirst, text.substr(size_t(selFirst - col), size_t(selLast - selFirst)), true,
            fg, bg);
  DrawPiece(line, selLast, text.substr(size_t(selLast - col)), false, fg, bg);
}

void TtxEditWidget::DrawPiece(TLinePaint& line, int col, std::string_view text, bool selected,
                              TColor fg, TColor bg)
{
  if (text.empty())
    return;
  if (selected && line.Special) {
    std::swap(fg, bg);
  } else if (selected) {
    fg = SelectedColor.Foreground();
    bg = SelectedColor.Background();
  }
  FDrawer.SetTextColor(fg);
  FDrawer.SetBackgroundColor(bg);
  const int x = (col - 1) * FCellWidth + TextLeft();
  const QRect rect(x, line.Top, int(text.size()) * FCellWidth, FLinePitch);
  if (line.Chars.empty())
    FDrawer.ExtTextOut(x, line.Top, true, rect, text);
  else
    FDrawer.ExtTextOut(x, line.Top, true, rect, text,
                       std::u32string_view(line.Chars).substr(size_t(col - 1), text.size()));
}

void TtxEditWidget::DrawCaret(QPainter& painter)
{
  if (!hasFocus() || !FCaretOn)
    return;
  const QRect caret = CaretRect();
  if (caret.left() < FGutterPixels || caret.bottom() > viewport()->height())
    return;
  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  painter.fillRect(caret, Qt::white);
  painter.restore();
  FCaretDrawn = caret;
}
