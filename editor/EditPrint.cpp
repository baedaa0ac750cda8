#include "editor/EditPrint.h"

#include "base/Color.h"
#include "editor/CustomEdit.h"
#include "editor/EditChars.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cctype>

std::string ExpandPrintMacros(const std::string& text, int page, const std::string& title,
                              const std::string& date, const std::string& time)
{
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    size_t open = text.find('$', i);
    size_t close = open == std::string::npos ? open : text.find('$', open + 1);
    if (close == std::string::npos) {
      out += text.substr(i);
      break;
    }
    out += text.substr(i, open - i);
    std::string word = text.substr(open + 1, close - open - 1);
    word.erase(0, word.find_first_not_of(' '));
    word.erase(word.find_last_not_of(' ') + 1);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    if (close == open + 1)
      out += '$';
    else if (word == "PAGENUM")
      out += std::to_string(page);
    else if (word == "TITLE")
      out += title;
    else if (word == "DATE")
      out += date;
    else if (word == "TIME")
      out += time;
    else if (word == "DATETIME")
      out += date + " " + time;
    else if (word == "TIMEDATE")
      out += time + " " + date;
    else
      out += word;
    i = close + 1;
  }
  return out;
}

namespace {

// One print run: the page geometry, the fonts and the position on the page.
class TEditPrint {
public:
  TEditPrint(const TtxCustomEdit& editor, TtxPrintTarget& target, const TtxPrintOptions& options,
             const TPrintStatusEvent& onStatus)
      : E(editor), T(target), O(options), OnStatus(onStatus)
  {
  }

  int Run(const QFont& font, int extraLineSpacing);

private:
  bool Status(TtxPrintStatus status, int page);
  void ChooseRange();
  void Measure(const QFont& font, int extraLineSpacing);
  int Margin(int value) const;
  void PrintLines(const std::vector<TtxPrintLine>& lines, int top);
  void StartPage();
  void EndPage();
  void PrintLine(int y);
  void PrintText(int column, std::string_view text, TFontStyles style, TColor fg, TColor bg);
  void SetStyle(TFontStyles style);
  int FirstColumn(int y) const;
  int LastColumn(int y) const;

  const TtxCustomEdit& E;
  TtxPrintTarget& T;
  const TtxPrintOptions& O;
  const TPrintStatusEvent& OnStatus;
  QPainter* P = nullptr;
  QFont FFont;
  std::string FDate, FTime;
  int FFirstLine = 1, FLastLine = 1, FFirstCol = 1, FLastCol = TtxCustomEdit::ColumnLimit;
  bool FStream = false; // the columns bound only the first and the last line
  // The line being printed: its shift left and, in a UTF-8 text, the character of each cell.
  int FShift = 0;
  std::u32string FChars;
  int FLeft = 0, FTop = 0, FRight = 0, FBottom = 0, FPageW = 0, FPageH = 0;
  int FCell = 1, FLineHeight = 1, FAscent = 0;
  int FPage = 0, FY = 0;
  bool FAborted = false;
};

bool TEditPrint::Status(TtxPrintStatus status, int page)
{
  bool abort = false;
  if (OnStatus)
    OnStatus(status, page, abort);
  return !abort;
}

void TEditPrint::ChooseRange()
{
  FFirstLine = 1;
  FLastLine = E.LineCount();
  if (O.SelectionOnly) {
    const TPoint s = E.SelStart(), e = E.SelStop();
    FFirstLine = s.Y;
    FLastLine = e.Y;
    if (E.SelectionMode() == smColumn) {
      FFirstCol = std::min(E.SelAnchor().X, E.SelEnd().X);
      FLastCol = std::max(E.SelAnchor().X, E.SelEnd().X) - 1;
    } else if (E.SelectionMode() == smNormal) {
      FFirstCol = s.X;
      FLastCol = e.X - 1;
      FStream = true;
    }
  } else if (!O.LineRange.Empty()) {
    FFirstCol = std::max(O.LineRange.Left, 1);
    FFirstLine = std::max(O.LineRange.Top, 1);
    FLastCol = O.LineRange.Right;
    FLastLine = std::min(O.LineRange.Bottom, E.LineCount());
  }
}

int TEditPrint::FirstColumn(int y) const
{
  return FStream && y != FFirstLine ? 1 : FFirstCol;
}

int TEditPrint::LastColumn(int y) const
{
  return FStream && y != FLastLine ? TtxCustomEdit::ColumnLimit : FLastCol;
}

int TEditPrint::Margin(int value) const
{
  switch (O.MarginUnit) {
  case 1: return int(int64_t(value) * T.ResolutionX() / 1000);
  case 2: return int(int64_t(value) * 10000 / 254 * T.ResolutionX() / 1000);
  default: return value;
  }
}

void TEditPrint::Measure(const QFont& font, int extraLineSpacing)
{
  FFont = font;
  // The screen font's pixel height becomes its point size, which the printer scales.
  if (font.pixelSize() > 0)
    FFont.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
  FFont.setKerning(false);
  QFont measured = FFont;
  if (O.WithHighlighting) {
    measured.setBold(true);
    measured.setItalic(true);
  }
  QFontMetrics metrics(measured, P->device());
  FCell = std::max(metrics.averageCharWidth(), 1);
  QFontMetrics plain(FFont, P->device());
  FAscent = plain.ascent();
  FLineHeight = plain.height() + plain.leading() + extraLineSpacing * T.ResolutionY() / 96;
  FPageW = T.PageWidth();
  FPageH = T.PageHeight();
  const int rightOffset = T.PhysicalWidth() - FPageW - T.PhysicalOffsetX();
  const int bottomOffset = T.PhysicalHeight() - FPageH - T.PhysicalOffsetY();
  FLeft = std::max(Margin(O.PageMargins.Left) - T.PhysicalOffsetX(), 0);
  FTop = std::max(Margin(O.PageMargins.Top) - T.PhysicalOffsetY(), 0);
  FRight = std::max(Margin(O.PageMargins.Right) - rightOffset, 0);
  FBottom = std::max(Margin(O.PageMargins.Bottom) - bottomOffset, 0);
}

void TEditPrint::PrintLines(const std::vector<TtxPrintLine>& lines, int top)
{
  P->setFont(FFont);
  P->setPen(Qt::black);
  for (const TtxPrintLine& line : lines) {
    const QRect rect(FLeft, top, FPageW - FRight - FLeft, FLineHeight);
    const int align = line.Align == paRight    ? Qt::AlignRight
                      : line.Align == paCenter ? Qt::AlignHCenter
                                               : Qt::AlignLeft;
    const std::string text = ExpandPrintMacros(line.Text, FPage, O.JobTitle, FDate, FTime);
    P->drawText(rect, align | Qt::AlignTop | Qt::TextSingleLine, QString::fromLatin1(text));
    top += FLineHeight;
  }
}

void TEditPrint::StartPage()
{
  if (FPage > 0)
    T.NewPage();
  ++FPage;
  P = &T.Painter();
  if (!Status(psNewPage, FPage)) {
    FAborted = true;
    return;
  }
  PrintLines(O.HeaderLines, FTop);
  FY = FTop + int(O.HeaderLines.size()) * FLineHeight;
}

void TEditPrint::EndPage()
{
  const int footers = int(O.FooterLines.size());
  PrintLines(O.FooterLines, FPageH - FBottom - footers * FLineHeight);
}

void TEditPrint::SetStyle(TFontStyles style)
{
  QFont font = FFont;
  font.setBold(style & fsBold);
  font.setItalic(style & fsItalic);
  font.setUnderline(style & fsUnderline);
  font.setStrikeOut(style & fsStrikeOut);
  P->setFont(font);
}

void TEditPrint::PrintText(int column, std::string_view text, TFontStyles style, TColor fg,
                           TColor bg)
{
  if (text.empty())
    return;
  SetStyle(style);
  const int x = FLeft + (column - 1) * FCell;
  const QRect cells(x, FY, int(text.size()) * FCell, FLineHeight);
  if (bg != clNone)
    P->fillRect(cells, ToQColor(bg));
  P->setPen(ToQColor(fg));
  const QString s = QString::fromLatin1(text.data(), qsizetype(text.size()));
  // A fixed-pitch font whose advance is the cell prints the run whole; otherwise cell by cell.
  if (FChars.empty() && P->fontMetrics().horizontalAdvance(s) == int(text.size()) * FCell) {
    P->drawText(x, FY + FAscent, s);
    return;
  }
  const size_t offset = size_t(column + FShift - 1);
  for (int i = 0; i < s.size(); ++i) {
    QString cell(s[i]);
    if (!FChars.empty() && (unsigned char)text[size_t(i)] >= 0x80) {
      // A UTF-8 character shows in its first cell; its second cell stays empty.
      const char32_t c = offset + size_t(i) < FChars.size() ? FChars[offset + size_t(i)] : 0;
      if (c == 0)
        continue;
      cell = QString::fromUcs4(&c, 1);
    }
    P->drawText(x + i * FCell, FY + FAscent, cell);
  }
}

void TEditPrint::PrintLine(int y)
{
  std::string text(E.LineText(y));
  std::replace(text.begin(), text.end(), '\t', ' ');
  int firstCol = FirstColumn(y);
  int lastCol = std::min(LastColumn(y), int(text.size()));
  // Columns left of the range are not printed, and the range starts at the left margin.
  int shift = FStream ? 0 : FFirstCol - 1;
  FChars.clear();
  if (E.Utf8()) {
    // UTF-8 lines print in cells, as the editor shows them.
    firstCol = E.CellOf({firstCol, y});
    lastCol = E.CellOf({lastCol + 1, y}) - 1;
    shift = FStream ? 0 : E.CellOf({FFirstCol, FFirstLine}) - 1;
    auto cells = editchars::CellLine(text);
    text = std::move(cells.Cells);
    FChars = std::move(cells.Chars);
  }
  FShift = shift;
  TtxCustomHighLighter* hl = O.WithHighlighting ? E.HighLighter() : nullptr;
  if (!hl) {
    if (firstCol <= lastCol)
      PrintText(firstCol - shift,
                std::string_view(text).substr(size_t(firstCol - 1), size_t(lastCol - firstCol + 1)),
                0, clBlack, clNone);
    return;
  }
  hl->RestoreRange(E.Lines().Objects(y - 1));
  hl->StartLine(text, y - 1);
  for (; !hl->AtLineEnd(); hl->NextToken()) {
    std::string_view token = hl->CurrentTokenText();
    int col = hl->TokenStart() + 1;
    int end = col + int(token.size()) - 1;
    if (end < firstCol)
      continue;
    if (col > lastCol)
      break;
    if (col < firstCol) {
      token.remove_prefix(size_t(firstCol - col));
      col = firstCol;
    }
    if (end > lastCol)
      token.remove_suffix(size_t(end - lastCol));
    const TtxHighLightAttributes* attr = hl->TokenAttributes();
    TColor fg = clBlack, bg = clNone;
    if (attr && !O.NoColors) {
      fg = attr->Foreground();
      // The editor's own paper is the sheet's.
      bg = attr->Background() == clWindow ? clNone : attr->Background();
    }
    PrintText(col - shift, token, attr ? attr->Style() : 0, fg, bg);
  }
}

int TEditPrint::Run(const QFont& font, int extraLineSpacing)
{
  if (O.SelectionOnly && !E.HasSelection())
    return 0;
  const QDateTime now = QDateTime::currentDateTime();
  FDate = QLocale().toString(now.date(), QLocale::ShortFormat).toStdString();
  FTime = QLocale().toString(now.time(), QLocale::ShortFormat).toStdString();
  ChooseRange();
  T.BeginDoc(O.JobTitle, O.CopyCount);
  if (!Status(psBegin, 0)) {
    T.Abort();
    Status(psEnd, 0);
    return 0;
  }
  P = &T.Painter();
  Measure(font, extraLineSpacing);
  StartPage();
  const int footers = int(O.FooterLines.size());
  for (int y = FFirstLine; y <= FLastLine && !FAborted; ++y) {
    PrintLine(y);
    if (y < FLastLine && FY + 2 * FLineHeight + footers * FLineHeight > FPageH - FBottom) {
      EndPage();
      StartPage();
    } else {
      FY += FLineHeight;
    }
  }
  if (FAborted) {
    T.Abort();
    Status(psEnd, FPage);
    return 0;
  }
  EndPage();
  T.EndDoc();
  Status(psEnd, FPage);
  return FPage;
}

} // namespace

int PrintEditor(const TtxCustomEdit& editor, TtxPrintTarget& target, const TtxPrintOptions& options,
                const QFont& font, int extraLineSpacing, const TPrintStatusEvent& onStatus)
{
  TEditPrint run(editor, target, options, onStatus);
  return run.Run(font, extraLineSpacing);
}
