#include "html/model/Section.h"

#include "base/CodePage.h"
#include "base/MulDiv.h"
#include "base/Utf8.h"
#include "html/model/Document.h"
#include "html/model/FormControlObj.h"
#include "html/model/ImageObj.h"
#include "html/model/IndentManager.h"
#include "html/model/PanelObj.h"
#include "html/model/SelTextCount.h"
#include "html/symbols/AttributeList.h"
#include "html/symbols/TokenObj.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t LevelStep = 35;
constexpr int32_t NoWrapWidth = 32000;
constexpr size_t MaxKeptWidths = 1 << 16;
constexpr size_t MaxKeptLines = 1 << 12;

bool IsBreakObject(char c)
{
  return c == placeholder::Image || c == placeholder::Control;
}

bool IsImageChar(char c)
{
  return c == placeholder::Image || c == placeholder::NoBreakImage;
}

bool IsControlChar(char c)
{
  return c == placeholder::Control || c == placeholder::NoBreakControl;
}

// The width of the character at s, with single-byte text (nearly all of it) measured in line.
inline int Advance(const TFontMetrics& m, const char* s, int32_t n, int& len)
{
  auto b = uint8_t(s[0]);
  if (b < 0x80 || !m.Utf8) {
    len = 1;
    return m.Advance[b];
  }
  return TCanvas::CharAdvance(m, s, n, len);
}

// A page is built one section after another. The buffers a section grows into while it is built
// are handed on to the next section, and a finished section keeps exact copies: each section
// then costs one allocation per buffer instead of every step of its growth and a final trim.
template <class T> class TSpareBuffers {
public:
  T Take()
  {
    if (FSpare.empty())
      return T();
    T buffer = std::move(FSpare.back());
    FSpare.pop_back();
    return buffer;
  }
  void Give(T&& buffer)
  {
    // The rare huge section (a long pre-formatted text) is not kept alive for the next ones,
    // and storage in an arena belongs to its page.
    if (buffer.capacity() * sizeof(buffer[0]) > MaxKeptBytes || FSpare.size() >= MaxKept ||
        buffer.get_allocator().Arena())
      return;
    buffer.clear();
    FSpare.push_back(std::move(buffer));
  }

private:
  static constexpr size_t MaxKeptBytes = 64 * 1024;
  static constexpr size_t MaxKept = 8;
  std::vector<T> FSpare;
};

struct TSpares {
  TSpareBuffers<TSectionText> Chars;
  TSpareBuffers<TSourceRuns> Runs;
  TSpareBuffers<TFontList::TItems> Fonts;
};

TSpares& Spares()
{
  thread_local TSpares spares;
  return spares;
}

template <class T> void KeepExact(T& buffer, TSpareBuffers<T>& spares, TArena* arena)
{
  T exact(buffer.begin(), buffer.end(), typename T::allocator_type(arena));
  buffer.swap(exact);
  spares.Give(std::move(exact));
}

} // namespace

struct TSection::TLayoutState {
  IndentManager* Indent = nullptr;
  int32_t Y = 0;
  std::vector<TFloatingObj*> Pending;
  std::vector<const TFloatingObj*> Placed; // floats placed during this layout
  int32_t StartFloatHeight = 0;
  // What the fitting pass of the line being broken measured, so that the line's width is not
  // measured again: Widths[k] is the width of the text from WidthsFrom through WidthsFrom + k
  // (floats take no room there), -1 inside a character of several bytes, for k < WidthsCount.
  std::vector<int32_t>& Widths = MeasuredWidths();
  int32_t WidthsFrom = 0;
  int32_t WidthsCount = 0;
  // Room for the widths of the characters before end.
  int32_t* WidthsUpTo(int32_t end)
  {
    if (Widths.size() < size_t(end - WidthsFrom))
      Widths.resize(size_t(end - WidthsFrom) + 256);
    return Widths.data();
  }
  bool WasPlaced(const TFloatingObj* o) const
  {
    return std::find(Placed.begin(), Placed.end(), o) != Placed.end();
  }
  // One buffer for every section's layout: lines are broken one at a time.
  static std::vector<int32_t>& MeasuredWidths()
  {
    thread_local std::vector<int32_t> widths;
    return widths;
  }
  // The lines of the section being laid out, collected here and copied to the section at the
  // end: one allocation of exactly their number instead of a growing list left with spare room.
  std::vector<LineRec>& Lines = BrokenLines();
  static std::vector<LineRec>& BrokenLines()
  {
    thread_local std::vector<LineRec> lines;
    lines.clear();
    return lines;
  }
};

TSection::TSection(TDocument* doc, TParaAlign align, const TUrlTarget& link, TFontRef font,
                   int level)
    : TSectionBase(doc), Level(level), ParaAlign(align), MarkerFont(font)
{
  TSpares& spares = Spares();
  Chars = spares.Chars.Take();
  SourceRuns = spares.Runs.Take();
  Fonts.BuildIn(spares.Fonts.Take());
  TFontObj* f = Fonts.Add(TFontObj(this, 0, std::move(font)));
  if (!link.Url.empty()) {
    f->SetLink(link);
    f->ListedAsLinkStart = doc != nullptr;
  }
}

TSection::TSection(TDocument* masterDoc, const TSection& source)
    : TSectionBase(masterDoc, source), Chars(source.Chars), SourceRuns(source.SourceRuns),
      LineList(source.LineList), Level(source.Level), ItemNumber(source.ItemNumber),
      MarkerX(source.MarkerX), ParaAlign(source.ParaAlign), MarkerFont(source.MarkerFont),
      ItemKind(source.ItemKind), ClearSide(source.ClearSide), Finished(source.Finished),
      FNoWrap(source.FNoWrap), FTallLines(source.FTallLines)
{
  for (const TFontObj& f : source.Fonts)
    Fonts.Add(TFontObj(this, f));
  Images.CopyFrom(this, source.Images);
  if (source.FControls)
    FControls = std::make_unique<std::vector<TFormControlObj*>>(*source.FControls);
}

TSection::~TSection() = default;

// ---- building ----

void TSection::AddSourcePos(int32_t bufIndex, int32_t srcPos)
{
  if (srcPos < 0)
    return;
  if (!SourceRuns.empty()) {
    const IndexObj& last = SourceRuns.back();
    if (last.SrcPos + (bufIndex - last.BufIndex) == srcPos)
      return;
  }
  SourceRuns.push_back(IndexObj{bufIndex, srcPos});
}

void TSection::AppendRaw(const char* chars, int32_t from, int32_t n, TPositionRuns runs)
{
  if (n <= from)
    return;
  // The first character, then where the runs break: the section joins runs that continue.
  const int32_t base = Length() - from;
  AddSourcePos(Length(), PositionIn(runs, from));
  for (const TPositionRun& r : runs)
    if (r.Index > from && r.Index < n)
      AddSourcePos(base + r.Index, r.Pos);
  Chars.append(chars + from, size_t(n - from));
}

void TSection::AppendRawChar(char c, int32_t sourcePos)
{
  AddSourcePos(Length(), sourcePos);
  Chars += c;
}

void TSection::AppendRun(const TokenObj& token)
{
  AppendRun(token.Chars().data(), token.Leng(), token.Runs());
}

void TSection::AppendRun(const char* chars, const int32_t* positions, int32_t n)
{
  TokenObj token;
  for (int32_t k = 0; k < n; ++k)
    token.AppendChar(chars[k], positions ? positions[k] : -1);
  AppendRun(token);
}

void TSection::AppendRun(const char* chars, int32_t n, TPositionRuns runs)
{
  if (!chars || n <= 0)
    return;
  int32_t i = 0;
  if (chars[0] == ' ' && (Chars.empty() || Chars.back() == ' '))
    i = 1;
  else if ((chars[0] == ' ' || chars[0] == placeholder::NoBreakSpace) && !Chars.empty()) {
    // Text after nothing but floating images starts without a space.
    bool onlyFloats = true;
    for (int32_t k = 0; k < Length() && onlyFloats; ++k) {
      TFloatingObj* o = IsImageChar(Chars[size_t(k)]) ? Images.ObjectAtPos(k) : nullptr;
      onlyFloats = o && o->IsFloating();
    }
    if (onlyFloats)
      i = 1;
  }
  // Text without NOBR markers goes in as one piece.
  const void* marker = std::memchr(chars + i, placeholder::NoBreakMarker, size_t(n - i));
  if (!marker) {
    AppendRaw(chars, i, n, runs);
    return;
  }
  bool lastWasMarker = false;
  for (; i < n; ++i) {
    char c = chars[i];
    int32_t p = PositionIn(runs, i);
    if (c == placeholder::NoBreakMarker) {
      char last = Chars.empty() ? ' ' : Chars.back();
      if (last == ' ' || last == placeholder::NoBreakSpace || lastWasMarker) {
        lastWasMarker = last == placeholder::NoBreakSpace;
        continue;
      }
      AppendRawChar(placeholder::NoBreakSpace, p);
      lastWasMarker = true;
      continue;
    }
    if (c == ' ' && lastWasMarker) {
      lastWasMarker = false;
      continue;
    }
    lastWasMarker = false;
    AppendRawChar(c, p);
  }
}

void TSection::AppendChar(char ch, int32_t sourcePos)
{
  const TPositionRun run{0, sourcePos < 0 ? -1 : sourcePos};
  AppendRun(&ch, 1, TPositionRuns(&run, 1));
}

void TSection::FontChange(const TFontRef& font, int styleFlags, TScriptShift scriptShift)
{
  TFontRef styled = font.Styled(styleFlags, scriptShift);
  TFontObj* last = Fonts.Last();
  TFontObj* obj = last;
  if (last && last->ObjPos == Length()) {
    last->SetFont(std::move(styled));
  } else {
    // Copied before the list grows: the last object may move.
    TFontObj made(this, Length(), std::move(styled));
    if (last)
      made.ShareLink(*last);
    obj = Fonts.Add(std::move(made));
  }
  obj->ScriptShift = scriptShift;
}

void TSection::LinkMark(bool start, const TFontRef& font, int styleFlags, const TUrlTarget& link)
{
  FontChange(font, styleFlags, ssNormal);
  TFontObj* obj = Fonts.Last();
  obj->ClearLink();
  if (start) {
    obj->SetLink(link);
    // Listed when the section is done, and only once: the list does not move any more then.
    obj->ListedAsLinkStart = Doc != nullptr;
  }
}

TImageObj* TSection::PlaceImage(std::unique_ptr<TImageObj> image, int32_t tagPos, bool noBreak)
{
  if (!image)
    return nullptr;
  image->ObjPos = Length();
  auto* p = static_cast<TImageObj*>(Images.Add(std::move(image)));
  char c = noBreak ? placeholder::NoBreakImage : placeholder::Image;
  AppendRawChar(c, tagPos);
  return p;
}

TImageObj* TSection::PlaceImage(const TAttributeList& attributes, TCell* cell, int32_t tagPos,
                                bool noBreak)
{
  return PlaceImage(std::make_unique<TImageObj>(Doc, cell, Length(), attributes), tagPos, noBreak);
}

TPanelObj* TSection::PlacePanel(std::unique_ptr<TPanelObj> panel, int32_t tagPos, bool noBreak)
{
  if (!panel)
    return nullptr;
  panel->ObjPos = Length();
  auto* p = static_cast<TPanelObj*>(Images.Add(std::move(panel)));
  char c = noBreak ? placeholder::NoBreakImage : placeholder::Image;
  AppendRawChar(c, tagPos);
  return p;
}

TPanelObj* TSection::PlacePanel(const TAttributeList& attributes, int32_t tagPos, bool noBreak)
{
  return PlacePanel(std::make_unique<TPanelObj>(Doc, Length(), attributes), tagPos, noBreak);
}

void TSection::PlaceControl(TFormControlObj* control, int32_t tagPos, bool noBreak)
{
  if (!control)
    return;
  control->Pos = Length();
  if (!FControls)
    FControls = std::make_unique<std::vector<TFormControlObj*>>();
  FControls->push_back(control);
  char c = noBreak ? placeholder::NoBreakControl : placeholder::Control;
  AppendRawChar(c, tagPos);
}

TParaAlign TSection::FinishLine()
{
  if (Chars.empty()) {
    char c = ' ';
    AppendRawChar(c, -1);
  }
  return ParaAlign;
}

void TSection::Finish()
{
  TSpares& spares = Spares();
  TArena* arena = Doc ? &Doc->Arena : nullptr;
  KeepExact(Chars, spares.Chars, arena);
  KeepExact(SourceRuns, spares.Runs, arena);
  spares.Fonts.Give(Fonts.Trim(arena));
  if (Doc && !Finished)
    for (TFontObj& f : Fonts)
      if (f.ListedAsLinkStart)
        Doc->AddLinkStart(&f);
  Finished = true;
}

std::unique_ptr<TSectionBase> TSection::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<TSection>(masterDoc, *this);
}

// ---- layout ----

int32_t TSection::LevelIndent() const
{
  return Level * LevelStep;
}

const std::vector<TFormControlObj*>& TSection::Controls() const
{
  static const std::vector<TFormControlObj*> none;
  return FControls ? *FControls : none;
}

TFormControlObj* TSection::ControlAt(int32_t index) const
{
  // Controls are kept in text order.
  const std::vector<TFormControlObj*>& controls = Controls();
  auto it = std::lower_bound(controls.begin(), controls.end(), index,
                             [](const TFormControlObj* c, int32_t p) { return c->Pos < p; });
  return it != controls.end() && (*it)->Pos == index ? *it : nullptr;
}

int32_t TSection::ObjectWidth(int32_t index) const
{
  char c = Chars[size_t(index)];
  if (IsImageChar(c)) {
    TFloatingObj* o = Images.ObjectAtPos(index);
    return o && !o->IsFloating() ? o->BoxWidth : 0;
  }
  TFormControlObj* ctl = ControlAt(index);
  return ctl ? ctl->Width() : 0;
}

int32_t TSection::TextWidthRange(int32_t start, int32_t n) const
{
  int32_t w = 0;
  int32_t end = std::min(start + n, Length());
  int fi = Fonts.IndexAt(start);
  for (int32_t i = start; i < end;) {
    while (fi + 1 < Fonts.Count() && Fonts[fi + 1]->ObjPos <= i)
      ++fi;
    int32_t runEnd = fi + 1 < Fonts.Count() ? std::min(end, Fonts[fi + 1]->ObjPos) : end;
    const TFontMetrics* m = Fonts[fi]->Metrics;
    if (m && !m->Utf8) {
      // Single-byte text is a sum of table entries.
      for (; i < runEnd; ++i) {
        char c = Chars[size_t(i)];
        w += placeholder::IsObject(c) ? ObjectWidth(i) : m->Advance[uint8_t(c)];
      }
      continue;
    }
    while (i < runEnd) {
      char c = Chars[size_t(i)];
      int len = 1;
      if (placeholder::IsObject(c))
        w += ObjectWidth(i);
      else if (m)
        w += Advance(*m, Chars.data() + i, runEnd - i, len);
      i += len;
    }
  }
  return w;
}

int32_t TSection::LineWidth(const LineRec& line, bool trimTrailing) const
{
  int32_t n = line.Count;
  if (trimTrailing)
    while (n > 0 && Chars[size_t(line.First + n - 1)] == ' ')
      --n;
  return TextWidthRange(line.First, n);
}

int32_t TSection::ClearSpace(const IndentManager& indent, int32_t Y) const
{
  if (ClearSide == clNoClear)
    return 0;
  int32_t left = 0, right = 0;
  indent.ClearBottoms(left, right);
  int32_t bottom = ClearSide == clLeftSide    ? left
                   : ClearSide == clRightSide ? right
                                              : std::max(left, right);
  return std::max(0, bottom - 1 - Y);
}

void TSection::SizeObjects(TCanvas& canvas, int32_t availableWidth, int32_t& maxWidth)
{
  for (const auto& o : Images) {
    if (auto* img = dynamic_cast<TImageObj*>(o.get()))
      img->Measure(canvas, availableWidth, Fonts.ObjAt(img->ObjPos));
    else if (auto* panel = dynamic_cast<TPanelObj*>(o.get()); panel && panel->Panel) {
      panel->BoxWidth = panel->Panel->Width();
      panel->BoxHeight = panel->Panel->Height();
    }
    maxWidth = std::max(maxWidth, o->BoxWidth + LevelIndent());
  }
  for (TFormControlObj* c : Controls())
    maxWidth = std::max(maxWidth, c->Width() + LevelIndent());
}

int32_t TSection::FitCount(TCanvas& canvas, TLayoutState& st, int32_t width, int32_t start,
                           int32_t max)
{
  (void)canvas;
  st.WidthsFrom = start;
  st.WidthsCount = 0;
  int32_t i = start;
  // What was measured goes to the state however the fitting ends.
  auto fitted = [&](int32_t measuredEnd) {
    st.WidthsCount = measuredEnd - start;
    return i - start;
  };
  int32_t total = 0;
  int32_t textWidth = 0; // total without the floats
  int32_t end = std::min(start + max, Length());
  bool lineEmpty = true; // nothing but floats placed so far
  int fi = Fonts.IndexAt(start);
  const char* text = Chars.data();
  // Without images and controls a placeholder byte is measured like a control (no room).
  const bool plain = Images.Empty() && !FControls;
  while (i < end) {
    char c = text[i];
    if (IsImageChar(c)) {
      TFloatingObj* o = Images.ObjectAtPos(i);
      if (o && o->IsFloating()) {
        if (!st.WasPlaced(o)) {
          if (lineEmpty) {
            int32_t w = o->BoxWidth + o->SideGap;
            if (total + w > width && i > start)
              return fitted(i);
            st.Indent->PlaceFloat(st.Y, o);
            st.Placed.push_back(o);
            st.StartFloatHeight = std::max(st.StartFloatHeight, o->BoxHeight);
            total += w;
          } else if (std::find(st.Pending.begin(), st.Pending.end(), o) == st.Pending.end()) {
            st.Pending.push_back(o);
          }
        }
        st.WidthsUpTo(i + 1)[i - start] = textWidth;
        ++i;
        continue;
      }
    }
    if (placeholder::IsObject(c)) {
      int32_t w = ObjectWidth(i);
      if (total + w > width)
        return fitted(i);
      total += w;
      textWidth += w;
      st.WidthsUpTo(i + 1)[i - start] = textWidth;
      lineEmpty = false;
      ++i;
      continue;
    }
    while (fi + 1 < Fonts.Count() && Fonts[fi + 1]->ObjPos <= i)
      ++fi;
    int32_t runEnd = fi + 1 < Fonts.Count() ? std::min(end, Fonts[fi + 1]->ObjPos) : end;
    const TFontMetrics& m = *Fonts[fi]->Metrics;
    lineEmpty = false;
    int32_t* widths = st.WidthsUpTo(runEnd);
    if (plain && !m.Utf8) {
      // Nearly all text: single bytes in a section without objects, a sum of table entries.
      for (; i < runEnd; ++i) {
        int32_t w = m.Advance[uint8_t(text[i])];
        total += w;
        textWidth += w;
        widths[i - start] = textWidth;
        if (total > width)
          return fitted(i + 1);
      }
      continue;
    }
    for (; i < runEnd; ++i) {
      auto b = uint8_t(text[i]);
      if (placeholder::IsObject(char(b)))
        break;
      if (b >= 0x80 && m.Utf8) {
        int len = 1;
        int32_t w = TCanvas::CharAdvance(m, text + i, runEnd - i, len);
        total += w;
        textWidth += w;
        for (int k = 0; k < len - 1; ++k)
          widths[i - start + k] = -1;
        widths[i - start + len - 1] = textWidth;
        if (total > width)
          return fitted(i + len);
        i += len - 1;
        continue;
      }
      int32_t w = m.Advance[b];
      total += w;
      textWidth += w;
      widths[i - start] = textWidth;
      if (total > width)
        return fitted(i + 1);
    }
  }
  return fitted(end);
}

int32_t TSection::BrokenLineWidth(const TLayoutState& st, const LineRec& line) const
{
  int32_t n = line.Count;
  while (n > 0 && Chars[size_t(line.First + n - 1)] == ' ')
    --n;
  if (n == 0)
    return 0;
  const size_t last = size_t(n - 1);
  if (line.First == st.WidthsFrom && int32_t(last) < st.WidthsCount && st.Widths[last] >= 0)
    return st.Widths[last];
  return TextWidthRange(line.First, n);
}

void TSection::EndLine(TCanvas& canvas, TLayoutState& st, int32_t start, int32_t count)
{
  (void)canvas;
  LineRec line;
  line.First = start;
  line.Count = count;
  int32_t end = start + count;
  bool onlyObjects = true;
  for (int32_t i = start; i < end && onlyObjects; ++i)
    onlyObjects = placeholder::IsObject(Chars[size_t(i)]);
  if (!onlyObjects) {
    for (int fi = Fonts.IndexAt(start); fi < Fonts.Count() && Fonts[fi]->ObjPos < end; ++fi) {
      // A font change at the line end that no character uses does not count.
      if (fi + 1 < Fonts.Count() && Fonts[fi + 1]->ObjPos <= start)
        continue;
      line.TextHeight = std::max(line.TextHeight, Fonts[fi]->FullHeight());
      line.MaxDescent = std::max(line.MaxDescent, Fonts[fi]->DescentPx());
    }
  }
  // Without objects no character of the line raises it.
  const bool objects = !Images.Empty() || FControls;
  for (int32_t i = start; objects && i < end; ++i) {
    char c = Chars[size_t(i)];
    if (IsImageChar(c)) {
      TFloatingObj* o = Images.ObjectAtPos(i);
      if (!o || o->IsFloating())
        continue;
      int32_t d = o->BoxHeight, diff = d - line.TextHeight;
      if (o->Placement == plTop)
        line.ExtraBelow = std::max(line.ExtraBelow, diff);
      else if (o->Placement == plMiddle) {
        line.ExtraBelow = std::max(line.ExtraBelow, diff / 2);
        line.ExtraAbove = std::max(line.ExtraAbove, diff - diff / 2);
      } else {
        line.ExtraAbove = std::max(line.ExtraAbove, d + line.MaxDescent - line.TextHeight);
      }
    } else if (IsControlChar(c)) {
      if (TFormControlObj* ctl = ControlAt(i)) {
        int32_t extra = ctl->Height() - line.TextHeight + (ctl->IsBox ? line.MaxDescent : 0);
        line.ExtraAbove = std::max(line.ExtraAbove, extra);
        ctl->YValue = st.Y;
      }
    }
  }
  IndentManager& im = *st.Indent;
  int32_t L = im.LeftMargin(st.Y), R = im.RightMargin(st.Y);
  int32_t tw = BrokenLineWidth(st, line);
  if (ParaAlign == paCenter && !FNoWrap)
    line.StartX = std::max(L, (L + R - tw) / 2);
  else if (ParaAlign == paRight && !FNoWrap)
    line.StartX = R - tw - 1;
  else
    line.StartX = L;
  int32_t h = line.Height();
  line.Top = st.Y - TopY;
  FlowHeight += h;
  st.Y += h;
  line.PaintHeight = std::max(h, st.StartFloatHeight);
  for (TFloatingObj* o : st.Pending) {
    if (o->ObjPos >= end)
      continue;
    im.PlaceFloat(st.Y, o);
    st.Placed.push_back(o);
    line.PaintHeight = std::max(line.PaintHeight, h + o->BoxHeight);
  }
  st.Pending.clear();
  st.StartFloatHeight = 0;
  FTallLines = FTallLines || line.PaintHeight > h;
  st.Lines.push_back(line);
}

int32_t TSection::Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                         int32_t& pos)
{
  TopY = Y;
  FirstCursor = pos;
  FlowHeight = 0;
  LineList.clear();
  FTallLines = false;
  indent.SetLevel(Y, Level);
  CursorCount = Length();
  if (Chars.empty()) {
    FlowHeight = PaintHeight = ClearSpace(indent, Y);
    maxWidth = 0;
    return FlowHeight;
  }
  MarkerX = indent.LeftMargin(Y);
  maxWidth = indent.Width;
  for (TFontObj& f : Fonts)
    f.UpdateMetrics(canvas);
  SizeObjects(canvas, indent.RightMargin(Y) - indent.LeftMargin(Y), maxWidth);

  TLayoutState st;
  st.Indent = &indent;
  st.Y = Y;
  if (int32_t clear = ClearSpace(indent, Y); clear > 0) {
    LineRec empty;
    empty.First = 0;
    empty.TextHeight = clear;
    empty.PaintHeight = clear;
    st.Lines.push_back(empty);
    FlowHeight += clear;
    st.Y += clear;
  }
  const int32_t n = Length();
  for (int32_t start = 0; start < n;) {
    int32_t avail = FNoWrap ? NoWrapWidth : indent.RightMargin(st.Y) - indent.LeftMargin(st.Y);
    int32_t count = BreakLine(canvas, st, avail, start, maxWidth);
    EndLine(canvas, st, start, count);
    start += count;
  }
  LineList.assign(st.Lines.begin(), st.Lines.end());
  // A line of very many characters (or a section of very many lines) left a large buffer: the
  // next sections need little of it.
  if (st.Widths.size() > MaxKeptWidths)
    std::vector<int32_t>().swap(st.Widths);
  if (st.Lines.size() > MaxKeptLines)
    std::vector<LineRec>().swap(st.Lines);
  pos = FirstCursor + CursorCount;
  if (Level > 0)
    FlowHeight = std::max(FlowHeight, indent.LevelBottom() - TopY);
  PaintHeight = std::max(FlowHeight, indent.FloatBottom() - TopY);
  return FlowHeight;
}

int32_t TSection::BreakLine(TCanvas& canvas, TLayoutState& st, int32_t avail, int32_t start,
                            int32_t& maxWidth)
{
  const int32_t n = Length();
  int32_t k = std::max(UnitLength(start), FitCount(canvas, st, avail, start, n - start));
  if (start + k >= n)
    return n - start;
  int32_t c = start + k - 1;
  auto at = [this](int32_t i) { return Chars[size_t(i)]; };
  // A word that ends exactly at the edge stays on the line; its spaces hang after it.
  if (at(c) == ' ' || at(c + 1) == ' ') {
    int32_t e = c + 1;
    while (e < n && at(e) == ' ')
      ++e;
    return e - start;
  }
  if (IsBreakObject(at(c + 1)))
    return k;
  const bool utf8 = Utf8();
  for (int32_t j = c; j > start; --j)
    if (at(j) == ' ' || IsBreakObject(at(j)) || (utf8 && IdeographBreakAt(j + 1)))
      return j + 1 - start;
  // A word wider than the line: it stays whole and widens the document.
  int32_t e = c + 1;
  while (e < n && at(e) != ' ' && !IsBreakObject(at(e)))
    ++e;
  int32_t wordEnd = e;
  while (e < n && at(e) == ' ')
    ++e;
  int32_t left = st.Indent->LeftMargin(st.Y) - st.Indent->LeftEdge;
  maxWidth = std::max(maxWidth, left + TextWidthRange(start, wordEnd - start));
  return e - start;
}

void TSection::WidthRange(TCanvas& canvas, int32_t& min, int32_t& max)
{
  for (TFontObj& f : Fonts)
    f.UpdateMetrics(canvas);
  int32_t dummy = 0;
  SizeObjects(canvas, 0, dummy);
  int32_t floatSum = 0, inlineMin = 0;
  for (const auto& o : Images) {
    if (o->IsFloating())
      floatSum += o->BoxWidth + o->SideGap;
    else
      inlineMin = std::max(inlineMin, o->BoxWidth);
  }
  int32_t widest = 0;
  const int32_t n = Length();
  for (int32_t i = 0; i < n;) {
    int32_t j = i;
    while (j < n && Chars[size_t(j)] != ' ' && !IsImageChar(Chars[size_t(j)]))
      ++j;
    widest = std::max(widest, TextWidthRange(i, j - i));
    i = j + 1;
  }
  max = floatSum + TextWidthRange(0, n) + LevelIndent();
  min = std::max(widest, inlineMin) + floatSum + LevelIndent();
}

// ---- painting ----

namespace {
// Rows of ink a glyph may draw below its line box; the cell lets a block whose bottom meets the
// band through as well.
constexpr int32_t InkOverhang = 1;
} // namespace

int32_t TSection::Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                        int32_t Y)
{
  (void)indent;
  TopY = Y;
  FPaintX = X;
  int32_t result = Y + FlowHeight;
  if (Chars.empty() || !Doc)
    return result;
  const int32_t scroll = ctx.ScrollY;
  const QRect& clip = ctx.Clip;
  // Glyph ink may reach a little below the line box (antialiased descenders): on screen a band
  // that starts right under a line still draws that line, clipped to the band.
  const int32_t overhang = canvas.Printing ? 0 : InkOverhang;
  if (Y - scroll > clip.bottom() ||
      Y - scroll + std::max(PaintHeight, FlowHeight) + overhang < clip.top())
    return result;
  // On screen the lines above the band are passed over at once.
  const size_t first = canvas.Printing ? 0 : FirstLineToPaint(clip.top() + scroll - Y - overhang);
  // The section's text goes to the painter in as few runs as its fonts and colours allow.
  TTextBatch batch(canvas);
  int32_t y = first < LineList.size() ? Y + LineList[first].Top : Y;
  for (size_t k = first; k < LineList.size(); ++k) {
    const LineRec& line = LineList[k];
    int32_t lineTop = y;
    y += line.ExtraAbove + line.TextHeight;
    int32_t baseline = y - line.MaxDescent;
    // Lines are not split across pages: the page ends above this line. A line that starts at
    // the top of the page is printed anyway, or it would never find a page.
    int32_t& pageBottom = ctx.PageBottom;
    // Past the band nothing more is drawn, and no page end above this line can move.
    if (k > 1 && lineTop - scroll > clip.bottom() &&
        (!canvas.Printing || pageBottom <= 0 || pageBottom <= lineTop))
      break;
    if (canvas.Printing && pageBottom > 0 && y > pageBottom && lineTop > scroll + clip.top()) {
      pageBottom = std::min(pageBottom, lineTop);
      break;
    }
    if (k == 0 || (k == 1 && LineList[0].Count == 0 && ClearSide != clNoClear))
      PaintMarker(canvas, X + MarkerX, baseline - scroll, line);
    bool visible =
        lineTop - scroll <= clip.bottom() &&
        lineTop - scroll + std::max(line.PaintHeight, line.Height()) + overhang > clip.top();
    if (visible && line.Count > 0)
      PaintLine(canvas, line, X, lineTop, baseline, FirstCursor, scroll);
    y += line.ExtraBelow;
  }
  PaintCaret(canvas, X, scroll);
  return result;
}

size_t TSection::FirstLineToPaint(int32_t bandTop) const
{
  if (FTallLines || LineList.empty())
    return 0;
  // Line tops and bottoms grow with the index: the first line whose bottom passes the band top.
  auto it = std::partition_point(LineList.begin(), LineList.end(), [bandTop](const LineRec& l) {
    return l.Top + l.Height() <= bandTop;
  });
  size_t k = size_t(it - LineList.begin());
  // The marker belongs to the first line (the second after a clearing gap): those are walked.
  return k <= 1 ? 0 : std::min(k, LineList.size() - 1);
}

void TSection::PaintCaret(TCanvas& canvas, int32_t X, int32_t scroll)
{

  if (!Doc->CaretShown || Doc->SelStartPos != Doc->SelEndPos)
    return;
  int32_t p = Doc->SelStartPos;
  if (p < FirstCursor || p >= FirstCursor + CursorCount)
    return;
  int32_t cx = 0, cy = 0;
  const LineRec* line = LineOfPosition(p, cy);
  if (!line)
    return;
  cx = X + line->StartX + TextWidthRange(line->First, p - FirstCursor - line->First);
  TFontObj* f = Fonts.ObjAt(p - FirstCursor);
  int32_t h = f ? f->FullHeight() : line->TextHeight;
  int32_t top = cy + line->ExtraAbove + line->TextHeight - h;
  canvas.FillRect(QRect(cx, top - scroll, 1, h), Doc->TextColor);
}

namespace {
// Printed text that is nearly white would vanish on paper.
TColor PrintColor(const TCanvas& canvas, const TDocument* doc, TColor c)
{
  if (canvas.NumColors < 3)
    return clBlack;
  TColor rgb = IsSystemColor(c) ? ColorToRGB(c) : c;
  if (!doc->PrintBackgrounds && (GetRValue(rgb) & 0xE0) == 0xE0 && (GetGValue(rgb) & 0xE0) == 0xE0)
    return RGBColor(160, 160, 160);
  return c;
}
} // namespace

void TSection::PaintRun(TCanvas& canvas, const TFontObj* font, int32_t x, int32_t baseline,
                        int32_t start, int32_t n, bool selected, int32_t lineTop,
                        const LineRec& line)
{
  (void)lineTop, (void)line;
  const TFontMetrics& m = *font->Metrics;
  const TMyFont& f = font->FontCopy();
  int32_t y = baseline;
  if (font->ScriptShift == ssSubscript)
    y += font->DescentPx() / 2 + 1;
  else if (font->ScriptShift == ssSuperscript)
    y -= font->BodyHeight() / 3;
  TColor color = f.Color;

  if (canvas.Printing)
    color = PrintColor(canvas, Doc, color);
  const char* s = Chars.data() + start;
  if (selected)
    canvas.TextOut(m, x, y, s, n, Doc->PageColor, f.underline(), f.strikeOut(), true, color);
  else
    canvas.TextOut(m, x, y, s, n, color, f.underline(), f.strikeOut());
}

void TSection::PaintLine(TCanvas& canvas, const LineRec& line, int32_t X, int32_t lineTop,
                         int32_t baseline, int32_t posBase, int32_t scroll)
{
  int32_t x = X + line.StartX;
  int32_t end = line.First + line.Count;
  int fi = Fonts.IndexAt(line.First);
  for (int32_t i = line.First; i < end;) {
    char c = Chars[size_t(i)];
    while (fi + 1 < Fonts.Count() && Fonts[fi + 1]->ObjPos <= i)
      ++fi;
    const TFontObj* font = Fonts[fi];
    if (IsImageChar(c)) {
      TFloatingObj* o = Images.ObjectAtPos(i);
      if (auto* img = dynamic_cast<TImageObj*>(o)) {
        int32_t ix = img->IsFloating() ? X + img->FloatX : x;
        img->Paint(canvas, ix, font, baseline, lineTop + line.ExtraAbove, line.MaxDescent,
                   line.TextHeight, scroll);
      } else if (auto* panel = dynamic_cast<TPanelObj*>(o)) {
        int32_t px = panel->IsFloating() ? X + panel->FloatX : x;
        int32_t py = panel->IsFloating()         ? panel->FloatY
                     : panel->Placement == plTop ? lineTop + line.ExtraAbove
                     : panel->Placement == plMiddle
                         ? baseline + line.MaxDescent - line.TextHeight / 2 - panel->BoxHeight / 2
                         : baseline - panel->BoxHeight;
        panel->Paint(canvas, px, py - scroll);
      }
      if (o && !o->IsFloating())
        x += o->BoxWidth;
      ++i;
      continue;
    }
    if (IsControlChar(c)) {
      if (TFormControlObj* ctl = ControlAt(i); ctl && ctl->TheControl) {
        int32_t bottom = baseline - (ctl->IsBox ? 0 : -line.MaxDescent);
        if (!canvas.Printing) {
          ctl->TheControl->Move(x, bottom - ctl->Height() - scroll);
          ctl->TheControl->SetVisible(true);
          ctl->Placed = ctl->ShowIt = true;
        } else {
          ctl->Print(canvas, x, bottom - ctl->Height() - scroll);
        }
        x += ctl->Width();
      }
      ++i;
      continue;
    }
    // A text run ends at the next font change, object or selection boundary.
    int32_t runEnd = fi + 1 < Fonts.Count() ? std::min(end, Fonts[fi + 1]->ObjPos) : end;
    int32_t j = i;
    while (j < runEnd && !placeholder::IsObject(Chars[size_t(j)]))
      ++j;
    int32_t p = posBase + i;
    bool selected = p >= Doc->SelStartPos && p < Doc->SelEndPos;
    int32_t boundary = selected ? Doc->SelEndPos : Doc->SelStartPos;
    if (boundary > p && boundary < posBase + j)
      j = boundary - posBase;
    PaintRun(canvas, font, x, baseline - scroll, i, j - i, selected, lineTop, line);
    x += font->Metrics->TextWidth(Chars.data() + i, j - i);
    i = j;
  }
}

void TSection::PaintMarker(TCanvas& canvas, int32_t x0, int32_t baseline, const LineRec& line)
{
  if (ItemKind == ikOrdered) {
    std::string text = MarkerText();
    const TFontMetrics& m = MarkerFont->Metrics(canvas);
    int32_t w = m.TextWidth(text.data(), int(text.size()));
    canvas.TextOut(m, x0 - 5 - w, baseline, text.data(), int(text.size()), MarkerFont->Color);
    return;
  }
  if (ItemKind != ikUnordered || MarkerText().empty())
    return;

  int32_t cy = baseline + line.MaxDescent - line.TextHeight / 2;
  QRect disc(x0 - 8 - 2, cy - 2, 5, 5);
  TColor page = Doc->PageColor;
  TColor rgbPage = ColorToRGB(page);
  bool light = page == clBtnFace || rgbPage == clWhite || rgbPage == clSilver;
  if (light) {
    static const TColor levelColors[3] = {clRed, clNavy, clMaroon};
    canvas.Ellipse(disc, levelColors[Level % 3], levelColors[Level % 3], true);
  } else {
    canvas.Ellipse(disc, Doc->TextColor, page, false);
  }
}

// ---- positions ----

const LineRec* TSection::LineAtY(int32_t Y, int32_t& lineTop, int32_t& charsBefore) const
{
  int32_t y = TopY;
  charsBefore = 0;
  const LineRec* last = nullptr;
  for (const LineRec& line : LineList) {
    lineTop = y;
    last = &line;
    y += line.Height();
    if (Y < y)
      return &line;
    charsBefore += line.Count;
  }
  if (last)
    charsBefore -= last->Count;
  return last;
}

const LineRec* TSection::LineOfPosition(int32_t position, int32_t& lineTop) const
{
  int32_t idx = position - FirstCursor;
  int32_t y = TopY;
  const LineRec* found = nullptr;
  for (const LineRec& line : LineList) {
    if (line.Count > 0 && idx >= line.First && idx < line.First + line.Count) {
      lineTop = y;
      return &line;
    }
    if (line.Count > 0) {
      found = &line;
      lineTop = y;
    }
    y += line.Height();
  }
  return idx == Length() ? found : nullptr;
}

int32_t TSection::CharsFitting(const LineRec& line, int32_t width) const
{
  int32_t w = 0;
  for (int32_t k = 0; k < line.Count;) {
    int32_t len = UnitLength(line.First + k);
    w += TextWidthRange(line.First + k, len);
    if (w > width)
      return k;
    k += len;
  }
  return line.Count;
}

bool TSection::Utf8() const
{
  return Doc && Doc->TextCharset() == codepage::CharsetUtf8;
}

int32_t TSection::UnitLength(int32_t index) const
{
  if (index >= Length() || uint8_t(Chars[size_t(index)]) < 0x80 || !Utf8())
    return 1;
  char32_t cp = 0;
  return utf8::Unit(Chars.data() + index, Length() - index, cp);
}

bool TSection::IdeographBreakAt(int32_t index) const
{
  if (index <= 0 || index >= Length() || utf8::IsContinuation(uint8_t(Chars[size_t(index)])))
    return false;
  char32_t after = 0, before = 0;
  utf8::Unit(Chars.data() + index, Length() - index, after);
  int32_t b = index - 1;
  while (b > 0 && index - b < 4 && utf8::IsContinuation(uint8_t(Chars[size_t(b)])))
    --b;
  if (b + utf8::Unit(Chars.data() + b, Length() - b, before) != index)
    return false; // the byte before index does not end a character
  return utf8::IsIdeograph(after) || utf8::IsIdeograph(before);
}

int32_t TSection::CursorAt(TCanvas& canvas, int32_t X, int32_t Y, int32_t& xr, int32_t& yr,
                           int32_t& caretHeight, TCell*& cell, bool& inText)
{
  (void)canvas, (void)cell;
  int32_t lineTop = TopY, before = 0;
  const LineRec* line = LineAtY(Y, lineTop, before);
  if (!line)
    return -1;
  int32_t rx = X - FPaintX;
  int32_t count = 0;
  inText = rx >= line->StartX;
  if (inText) {
    count = CharsFitting(*line, rx - line->StartX);
    if (count < line->Count) {
      int32_t left = line->StartX + TextWidthRange(line->First, count);
      int32_t len = UnitLength(line->First + count);
      int32_t w = TextWidthRange(line->First + count, len);
      if (left + w / 2 < rx)
        count += len;
    }
  }
  xr = FPaintX + line->StartX + TextWidthRange(line->First, count);
  yr = lineTop;
  caretHeight = line->Height();
  return FirstCursor + line->First + count;
}

bool TSection::CursorPoint(TCanvas& canvas, int32_t position, int32_t& X, int32_t& Y)
{
  (void)canvas;
  int32_t lineTop = TopY;
  const LineRec* line = LineOfPosition(position, lineTop);
  if (!line)
    return false;
  X = FPaintX + line->StartX + TextWidthRange(line->First, position - FirstCursor - line->First);
  Y = lineTop;
  return true;
}

bool TSection::CharAt(int32_t position, char& ch, TCharObject& obj)
{
  int32_t idx = position - FirstCursor;
  if (idx < 0 || idx >= Length())
    return false;
  ch = Chars[size_t(idx)];
  obj = TCharObject();
  obj.Item = this;
  if (IsImageChar(ch))
    obj.Floating = Images.ObjectAtPos(idx);
  else if (IsControlChar(ch))
    obj.Control = ControlAt(idx);
  return true;
}

namespace {
// Case folding for single-byte Latin text; in UTF-8 text only ASCII letters fold, since the
// bytes above 127 are parts of characters.
uint8_t FoldCase(uint8_t c, bool utf8)
{
  if (c >= 'a' && c <= 'z')
    return uint8_t(c - 32);
  if (!utf8 && c >= 0xE0 && c <= 0xFE && c != 0xF7)
    return uint8_t(c - 32);
  return c;
}
} // namespace

int32_t TSection::SearchText(int32_t from, const std::string& text, bool matchCase)
{
  if (text.empty())
    return -1;
  size_t start = size_t(std::max(from - FirstCursor, int32_t(0)));
  if (start >= Chars.size())
    return -1;
  if (matchCase) {
    size_t p = Chars.find(text, start);
    return p == std::string::npos ? -1 : FirstCursor + int32_t(p);
  }
  size_t len = std::min(text.size(), size_t(256));
  const bool utf8 = Utf8();
  uint8_t first = FoldCase(uint8_t(text[0]), utf8);
  for (size_t p = start; p + len <= Chars.size(); ++p) {
    if (FoldCase(uint8_t(Chars[p]), utf8) != first)
      continue;
    size_t k = 1;
    while (k < len && FoldCase(uint8_t(Chars[p + k]), utf8) == FoldCase(uint8_t(text[k]), utf8))
      ++k;
    if (k == len)
      return FirstCursor + int32_t(p);
  }
  return -1;
}

int32_t TSection::SourcePosOf(int32_t docPos)
{
  int32_t off = docPos - FirstCursor;
  if (off < 0 || off >= Length() || SourceRuns.empty() || SourceRuns[0].BufIndex > off)
    return -1;
  auto it = std::upper_bound(SourceRuns.begin(), SourceRuns.end(), off,
                             [](int32_t v, const IndexObj& r) { return v < r.BufIndex; });
  --it;
  return it->SrcPos + (off - it->BufIndex);
}

int32_t TSection::DocPosOf(int32_t sourcePos, bool prev)
{
  if (SourceRuns.empty())
    return -1;
  // The last run starting at or before sourcePos (runs rise with the source).
  int k = -1;
  for (int i = 0; i < int(SourceRuns.size()); ++i) {
    if (SourceRuns[size_t(i)].SrcPos > sourcePos)
      break;
    k = i;
  }
  if (k < 0)
    return -1;
  const IndexObj& r = SourceRuns[size_t(k)];
  int32_t runEnd = k + 1 < int(SourceRuns.size()) ? SourceRuns[size_t(k) + 1].BufIndex : Length();
  if (sourcePos < r.SrcPos + (runEnd - r.BufIndex))
    return FirstCursor + r.BufIndex + (sourcePos - r.SrcPos);
  if (k + 1 >= int(SourceRuns.size()))
    return prev ? FirstCursor + Length() - 1 : -1;
  return FirstCursor + (prev ? runEnd - 1 : runEnd);
}

bool TSection::LinkAt(TCanvas& canvas, int32_t X, int32_t Y, TFormControlObj*& formControl,
                      TUrlTarget& urlTarget, TLinkHover& hover)
{
  (void)canvas;
  TImageHit hit;
  if (Images.ImageHit(X, Y, hit)) {
    if (hit.Image->FormControl) {
      formControl = hit.Image->FormControl;
      formControl->MouseAt(hit.X, hit.Y);
      return true;
    }
    if (hit.Map)
      return hit.Map->HitTest(hit.X, hit.Y, urlTarget);
    hover.Image = hit.Image;
    TFontObj* f = Fonts.ObjAt(hit.Pos);
    if (f && f->IsLink()) {
      urlTarget = f->Link();
      if (hit.ServerMap)
        urlTarget.Url += "?" + std::to_string(hit.X) + "," + std::to_string(hit.Y);
      hover.Link = f;
      return true;
    }
    return false;
  }
  int32_t lineTop = 0, before = 0;
  const LineRec* line = LineAtY(Y, lineTop, before);
  if (!line || Y < TopY || line->Count == 0)
    return false;
  int32_t rx = X - FPaintX - line->StartX;
  if (rx < 0 || rx >= LineWidth(*line, true))
    return false;
  int32_t k = CharsFitting(*line, rx);
  TFontObj* f = Fonts.ObjAt(line->First + std::min(k, line->Count - 1));
  if (!f || !f->IsLink())
    return false;
  urlTarget = f->Link();
  hover.Link = f;
  return true;
}

bool TSection::ObjectAt(int32_t X, int32_t Y, TFloatingObj*& obj, int32_t& objX, int32_t& objY)
{
  TImageObj* img = Images.ObjectHit(X, Y, objX, objY);
  if (!img)
    return false;
  obj = img;
  return true;
}

void TSection::CopySelection(ClipBuffer& clip)
{
  const TDocument* doc = Doc;
  if (!doc)
    return;
  for (const LineRec& line : LineList) {
    if (line.Count == 0)
      continue;
    int32_t ls = FirstCursor + line.First, le = ls + line.Count;
    if (le <= doc->SelStartPos || ls >= doc->SelEndPos)
      continue;
    if (ls >= doc->SelStartPos)
      for (int32_t k = 0; k < line.StartX / LevelStep; ++k)
        clip.AddText("   ", 3);
    int32_t a = std::max(ls, doc->SelStartPos), b = std::min(le, doc->SelEndPos);
    clip.AddText(Chars.data() + (a - FirstCursor), b - a);
    if (doc->SelEndPos >= le)
      clip.AddText("\r\n", 2);
  }
}

void TSection::RefreshFonts()
{
  Fonts.RefreshAll();
  TMyFont marker = *MarkerFont;
  marker.Reapply(Doc, Doc ? Doc->TextColor : clBlack);
  MarkerFont = TFontRef(marker);
}

// ---- layout dump ----

namespace {
const char* AlignName(int a)
{
  return a == paCenter ? "center" : a == paRight ? "right" : "left";
}

void Quoted(std::ostream& out, const char* s, size_t n)
{
  static const char hex[] = "0123456789abcdef";
  out << '"';
  for (size_t i = 0; i < n; ++i) {
    uint8_t c = uint8_t(s[i]);
    if (c == '"' || c == '\\')
      out << '\\' << char(c);
    else if (c < 32 || c >= 127)
      out << "\\x" << hex[c >> 4] << hex[c & 15];
    else
      out << char(c);
  }
  out << '"';
}

void ColorHex(std::ostream& out, TColor c)
{
  static const char hex[] = "0123456789abcdef";
  TColor rgb = ColorToRGB(c);
  int v[3] = {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
  out << '#';
  for (int x : v)
    out << hex[x >> 4] << hex[x & 15];
}
} // namespace

void TSection::Dump(std::ostream& out, int indent) const
{
  DumpHead(out, indent);
  std::string marker = MarkerText();
  if (ItemKind != ikNone && !marker.empty())
    out << " marker=\"" << marker << '"';
  out << " align=" << AlignName(ParaAlign) << '\n';
  int32_t y = TopY;
  for (const LineRec& line : LineList) {
    DumpLine(out, indent + 1, line, y);
    y += line.Height();
  }
}

void TSection::DumpControl(std::ostream& out, const std::string& pad, const TFormControlObj& ctl,
                           int32_t x, int32_t bottom)
{
  out << pad << "control kind=" << ctl.KindName() << " x=" << x << " y=" << bottom - ctl.Height()
      << " w=" << ctl.Width() << " h=" << ctl.Height() << " name=";
  Quoted(out, ctl.Name.data(), ctl.Name.size());
  std::string value = ctl.ShownValue();
  out << " value=";
  Quoted(out, value.data(), value.size());
  if (ctl.ShownChecked())
    out << " checked";
  out << '\n';
}

void TSection::DumpLine(std::ostream& out, int indent, const LineRec& line, int32_t lineTop) const
{
  std::string pad(size_t(indent) * 2, ' ');
  out << pad << "line y=" << lineTop << " h=" << line.Height() << " x=" << line.StartX
      << " w=" << LineWidth(line, true) << '\n';
  std::string inner(size_t(indent + 1) * 2, ' ');
  int32_t x = line.StartX, end = line.First + line.Count;
  int32_t baseline = lineTop + line.ExtraAbove + line.TextHeight - line.MaxDescent;
  for (int32_t i = line.First; i < end;) {
    char c = Chars[size_t(i)];
    if (placeholder::IsObject(c)) {
      TFloatingObj* o = IsImageChar(c) ? Images.ObjectAtPos(i) : nullptr;
      if (auto* img = dynamic_cast<const TImageObj*>(o)) {
        int32_t ix = img->IsFloating() ? img->FloatX : x;
        int32_t iy = img->VerticalPlace(baseline, lineTop + line.ExtraAbove, line.MaxDescent,
                                        line.TextHeight);
        out << inner << "image x=" << ix << " y=" << iy << " w=" << img->BoxWidth
            << " h=" << img->BoxHeight << " src=";
        Quoted(out, img->SrcName.data(), img->SrcName.size());
        if (img->IsFloating())
          out << " float=" << (img->Placement == plLeft ? "left" : "right");
        out << '\n';
      } else if (const TFormControlObj* ctl = ControlAt(i)) {
        DumpControl(out, inner, *ctl, x, baseline + (ctl->IsBox ? 0 : line.MaxDescent));
      }
      x += ObjectWidth(i);
      ++i;
      continue;
    }
    int fi = Fonts.IndexAt(i);
    const TFontObj* f = Fonts[fi];
    int32_t runEnd = fi + 1 < Fonts.Count() ? std::min(end, Fonts[fi + 1]->ObjPos) : end;
    int32_t j = i;
    while (j < runEnd && !placeholder::IsObject(Chars[size_t(j)]))
      ++j;
    int32_t w = f->Metrics ? f->Metrics->TextWidth(Chars.data() + i, j - i) : 0;
    const TMyFont& font = f->FontCopy();
    out << inner << "run x=" << x << " w=" << w << " font=\"" << font.family().toStdString()
        << "\" size=" << (f->Metrics ? f->Metrics->PixelSize : 0) << ' ' << (font.bold() ? "b" : "")
        << (font.italic() ? "i" : "") << (font.underline() ? "u" : "")
        << (font.strikeOut() ? "s" : "") << (font.Style() ? " " : "") << "color=";
    ColorHex(out, font.Color);
    if (f->IsLink()) {
      out << " link=";
      Quoted(out, f->Link().Url.data(), f->Link().Url.size());
    }
    out << ' ';
    Quoted(out, Chars.data() + i, size_t(j - i));
    out << '\n';
    x += w;
    i = j;
  }
}
