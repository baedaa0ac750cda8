#include "html/model/PreFormated.h"

#include "html/model/IndentManager.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <utility>

namespace {
constexpr int32_t MaxPreChars = 20000;
}

TPreFormated::TPreFormated(TDocument* doc, TParaAlign align, const TUrlTarget& link, TFontRef font,
                           int level)
    : TSection(doc, align, link, std::move(font), level)
{
  (void)align;
  ParaAlign = paLeft;
  FNoWrap = true;
}

TPreFormated::TPreFormated(TDocument* masterDoc, const TPreFormated& source)
    : TSection(masterDoc, source)
{
}

void TPreFormated::AppendRun(const char* chars, int32_t n, TPositionRuns runs)
{
  if (!chars || n <= 0 || Length() > MaxPreChars)
    return;
  AppendRaw(chars, 0, n, runs);
}

std::unique_ptr<TSectionBase> TPreFormated::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<TPreFormated>(masterDoc, *this);
}

int32_t TPreFormated::Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                             int32_t& pos)
{
  if (Chars.empty()) {
    TopY = Y;
    FirstCursor = pos;
    CursorCount = 0;
    LineList.clear();
    indent.SetLevel(Y, Level);
    // An empty line is as high as the font's point size, taken as pixels.
    const TFontObj* f = Fonts.First();
    FlowHeight = PaintHeight = f ? std::max(f->FontCopy().pointSize(), 0) : 0;
    maxWidth = 0;
    return FlowHeight;
  }
  int32_t saved = indent.Width;
  indent.Width = 32000;
  int32_t ignored = 0;
  int32_t h = TSection::Layout(canvas, Y, indent, ignored, pos);
  indent.Width = saved;
  int32_t mn = 0;
  WidthRange(canvas, mn, maxWidth);
  return h;
}

void TPreFormated::WidthRange(TCanvas& canvas, int32_t& min, int32_t& max)
{
  int32_t mn = 0, mx = 0;
  TSection::WidthRange(canvas, mn, mx);
  max = mx; // the text width plus LevelIndent
  min = std::min(int32_t(500), max);
}
