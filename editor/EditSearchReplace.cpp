// Search and replace over a range of lines, selecting each match and replacing it through the
// selection so that every replacement can be undone.
#include "editor/CustomEdit.h"

#include <algorithm>
#include <climits>

struct TtxCustomEdit::TSearchRun {
  TPoint First;
  TPoint Last;
  bool ColumnRange = false;
  bool Backwards = false;
  bool Replace = false;
  bool ReplaceAll = false;
  int PatternLength = 0;
  std::string Search;
  std::string Replacement;
  int Count = 0;
};

int TtxCustomEdit::SearchAndReplace(const std::string& search, const std::string& replace,
                                    TSearchOptions options)
{
  if (search.empty())
    return 0;
  TSearchRun run;
  run.Backwards = options & SearchBackwards;
  run.Replace = options & (SearchReplaceOne | SearchReplaceAll);
  run.ReplaceAll = options & SearchReplaceAll;
  run.Search = search;
  run.Replacement = replace;
  run.PatternLength = int(search.size());
  run.First = {1, 1};
  run.Last = {LineLength(LineCount()) + 1, LineCount()};
  if ((options & SearchSelectionOnly) && HasSelection()) {
    run.First = SelStart();
    run.Last = SelStop();
    if (FSelectionMode == smLine) {
      run.First.X = 1;
      run.Last.X = LineLength(run.Last.Y) + 1;
    } else if (FSelectionMode == smColumn) {
      run.First.X = std::min(FSelAnchor.X, FSelEnd.X);
      run.Last.X = std::max(FSelAnchor.X, FSelEnd.X);
      run.ColumnRange = true;
    }
  } else if (!(options & SearchWholeRange)) {
    (run.Backwards ? run.Last : run.First) = CaretXY();
  }
  FSearch.SetPattern(search);
  FSearch.SetCaseSensitive(options & SearchMatchCase);
  FSearch.SetUtf8(Utf8());
  FSearch.SetWholeWords(options & SearchWholeWords);
  const bool hold = run.ReplaceAll;
  if (hold)
    ++PaintHold;
  int count = run.Backwards ? SearchBackward(run) : SearchForward(run);
  if (hold && --PaintHold == 0) {
    // What the window held back while the replacements ran.
    UpdateScrollBars();
    PlaceCaret();
  }
  return count;
}

int TtxCustomEdit::SearchForward(TSearchRun& run)
{
  int y = run.First.Y;
  int minX = run.First.X;
  int lineShift = 0;
  while (y <= run.Last.Y && y <= LineCount()) {
    if (minX <= 1 && !run.ColumnRange && SkipLinesWithoutMatch(run, y))
      continue;
    int maxEnd = run.ColumnRange ? run.Last.X + lineShift : y == run.Last.Y ? run.Last.X : INT_MAX;
    int found = 0;
    for (int i = 0, n = FSearch.FindAllInLine(LineText(y)); i < n && !found; ++i) {
      int col = FSearch.MatchColumn(i);
      if (col >= minX && col + run.PatternLength <= maxEnd)
        found = col;
    }
    if (!found) {
      ++y;
      minX = run.ColumnRange ? run.First.X : 1;
      lineShift = 0;
      continue;
    }
    const int linesBefore = LineCount();
    const int tail = LineLength(run.Last.Y) - (run.Last.X - 1);
    bool replaced = false;
    if (!ActOnMatch(run, found, y, replaced))
      break;
    if (!replaced) {
      minX = found + run.PatternLength;
      continue;
    }
    // The replacement may have changed the line's length or added lines.
    const int added = LineCount() - linesBefore;
    if (run.ColumnRange) {
      lineShift += int(run.Replacement.size()) - run.PatternLength;
      run.Last.Y += added;
    } else if (y == run.Last.Y) {
      run.Last = {LineLength(run.Last.Y + added) - tail + 1, run.Last.Y + added};
    } else {
      run.Last.Y += added;
    }
    y = FCaretY;
    minX = FCaretX;
  }
  return run.Count;
}

// Lines that still lie in the loaded file one after another are searched as one piece of
// text: a pattern without line ends cannot match across a line end, so where that finds
// nothing, none of those lines holds a match. Moves y past them, or to the first line with a
// match, and answers whether it skipped any.
bool TtxCustomEdit::SkipLinesWithoutMatch(TSearchRun& run, int& y)
{
  if (run.Search.find_first_of("\r\n") != std::string::npos || y >= run.Last.Y)
    return false;
  int last = 0;
  std::string_view span = FLines.LoadedRun(y - 1, last);
  last = std::min(last, run.Last.Y - 2); // the range's last line has a column limit
  if (span.empty() || last < y - 1)
    return false;
  const std::string_view lastLine = FLines.Strings(last);
  span = span.substr(0, size_t(lastLine.data() + lastLine.size() - span.data()));
  const size_t at = FSearch.FindFirst(span);
  const int before = y;
  if (at == std::string_view::npos) {
    y = last + 2;
  } else {
    const char* match = span.data() + at;
    while (y - 1 < last && FLines.Strings(y - 1).data() + FLines.Strings(y - 1).size() < match)
      ++y;
  }
  return y != before;
}

int TtxCustomEdit::SearchBackward(TSearchRun& run)
{
  int y = std::min(run.Last.Y, LineCount());
  int maxEnd = run.Last.X;
  while (y >= run.First.Y && y >= 1) {
    int minX = (y == run.First.Y || run.ColumnRange) ? run.First.X : 1;
    int found = 0;
    for (int i = FSearch.FindAllInLine(LineText(y)) - 1; i >= 0 && !found; --i) {
      int col = FSearch.MatchColumn(i);
      if (col >= minX && col + run.PatternLength <= maxEnd)
        found = col;
    }
    if (!found) {
      --y;
      maxEnd = run.ColumnRange ? run.Last.X : INT_MAX;
      continue;
    }
    bool replaced = false;
    if (!ActOnMatch(run, found, y, replaced))
      break;
    if (replaced)
      SetCaretXY({found, y});
    maxEnd = found;
  }
  return run.Count;
}

bool TtxCustomEdit::ActOnMatch(TSearchRun& run, int column, int line, bool& replaced)
{
  ++run.Count;
  const TPoint start{column, line}, end{column + run.PatternLength, line};
  SetSelAnchor(start);
  SetSelEnd(end);
  SetCaretXY(run.Backwards ? start : end);
  if (!run.Replace)
    return false;
  TtxReplaceAction action = raReplace;
  if (OnReplaceText && !run.ReplaceAll) {
    OnReplaceText(run.Search, run.Replacement, line, column, action);
    // Selection and caret may have moved while the handler asked the user.
    SetSelAnchor(start);
    SetSelEnd(end);
  }
  if (action == raCancel)
    return false;
  if (action == raSkip)
    return true;
  if (action == raReplaceAll)
    run.ReplaceAll = true;
  // The match is replaced as a run of characters whatever the selection mode.
  const TSelectionMode mode = FSelectionMode;
  FSelectionMode = smNormal;
  SetSelAnchor(start);
  SetSelEnd(end);
  SetSelectedText(run.Replacement);
  FSelectionMode = mode;
  replaced = true;
  // Without a handler a plain replace does one match; replace-all goes on to the end.
  return run.ReplaceAll || OnReplaceText;
}
