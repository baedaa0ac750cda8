// Every command on small buffers; expected text, caret and selection worked out by hand.
#include "EditorTestSupport.h"
#include "editor/HTMLHighlighter.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using namespace edittest;

struct TStep {
  TtxEditorCommand Command;
  char Ch = '\0';
};

struct TCase {
  const char* Name;
  std::vector<std::string> Lines;
  TPoint Caret;
  std::vector<TStep> Steps;
  std::vector<std::string> Expected;
  TPoint ExpectedCaret;
  // Anchor and end after the commands; by default both at the caret.
  std::optional<std::pair<TPoint, TPoint>> ExpectedSelection = std::nullopt;
  std::function<void(TtxCustomEdit&)> Setup = nullptr;
};

void RunCase(const TCase& c, TtxCustomHighLighter* highlighter = nullptr)
{
  TtxCustomEdit editor;
  editor.SetHighLighter(highlighter);
  Fill(editor, c.Lines);
  Goto(editor, c.Caret.X, c.Caret.Y);
  if (c.Setup)
    c.Setup(editor);
  for (const auto& step : c.Steps)
    editor.RunCommand(step.Command, step.Ch, nullptr);
  EXPECT_EQ(LinesOf(editor), c.Expected) << c.Name;
  EXPECT_EQ(editor.CaretXY(), c.ExpectedCaret)
      << c.Name << " caret " << editor.CaretColumn() << "," << editor.CaretLine();
  // A collapsed selection stands at the caret, but not past the line end.
  TPoint collapsed{std::min(c.ExpectedCaret.X, int(editor.LineText(c.ExpectedCaret.Y).size()) + 1),
                   c.ExpectedCaret.Y};
  auto selection = c.ExpectedSelection.value_or(std::make_pair(collapsed, collapsed));
  EXPECT_EQ(editor.SelAnchor(), selection.first) << c.Name << " anchor";
  EXPECT_EQ(editor.SelEnd(), selection.second) << c.Name << " end";
}

void NoPastEOL(TtxCustomEdit& e)
{
  e.ScrollPastEOL = false;
}

void Select(TtxCustomEdit& e, TPoint anchor, TPoint end, TSelectionMode mode = smNormal)
{
  e.SetSelectionMode(mode);
  e.SetSelAnchor(anchor);
  e.SetSelEnd(end);
  e.SetCaretXY(end);
}

TEST(EditorCommandExecutor, CaretMotion)
{
  const TCase cases[] = {
      {"right", {"abc", "de"}, {2, 1}, {{ecRight}}, {"abc", "de"}, {3, 1}},
      {"left at the start", {"abc"}, {1, 1}, {{ecLeft}}, {"abc"}, {1, 1}},
      {"left wraps without room past the end",
       {"abc", "de"},
       {1, 2},
       {{ecLeft}},
       {"abc", "de"},
       {4, 1},
       std::nullopt,
       NoPastEOL},
      {"right wraps without room past the end",
       {"abc", "de"},
       {4, 1},
       {{ecRight}},
       {"abc", "de"},
       {1, 2},
       std::nullopt,
       NoPastEOL},
      {"right stays at the end of the last line",
       {"abc"},
       {4, 1},
       {{ecRight}},
       {"abc"},
       {4, 1},
       std::nullopt,
       NoPastEOL},
      {"right goes past the end", {"abc"}, {4, 1}, {{ecRight}, {ecRight}}, {"abc"}, {6, 1}},
      {"down onto a shorter line",
       {"abcdef", "de"},
       {6, 1},
       {{ecDown}},
       {"abcdef", "de"},
       {3, 2},
       std::nullopt,
       NoPastEOL},
      {"down keeps the column", {"abcdef", "de"}, {6, 1}, {{ecDown}}, {"abcdef", "de"}, {6, 2}},
      {"up at the top", {"a", "b"}, {1, 1}, {{ecUp}}, {"a", "b"}, {1, 1}},
      {"line end and start", {"abc"}, {2, 1}, {{ecLineEnd}}, {"abc"}, {4, 1}},
      {"line start", {"abc"}, {3, 1}, {{ecLineStart}}, {"abc"}, {1, 1}},
      {"editor bottom", {"a", "bc"}, {1, 1}, {{ecEditorBottom}}, {"a", "bc"}, {3, 2}},
      {"editor top", {"a", "bc"}, {2, 2}, {{ecEditorTop}}, {"a", "bc"}, {1, 1}},
      {"selecting right twice",
       {"abc"},
       {1, 1},
       {{ecSelRight}, {ecSelRight}},
       {"abc"},
       {3, 1},
       std::make_pair(TPoint{1, 1}, TPoint{3, 1})},
      {"plain motion drops the selection",
       {"abc"},
       {1, 1},
       {{ecSelLineEnd}, {ecLeft}},
       {"abc"},
       {3, 1}},
      {"selecting up from the second line",
       {"abc", "def"},
       {2, 2},
       {{ecSelUp}},
       {"abc", "def"},
       {2, 1},
       std::make_pair(TPoint{2, 2}, TPoint{2, 1})},
      {"select all",
       {"a", "bc"},
       {1, 1},
       {{ecSelectAll}},
       {"a", "bc"},
       {3, 2},
       std::make_pair(TPoint{1, 1}, TPoint{3, 2})},
      {"word right over blanks", {"foo bar"}, {1, 1}, {{ecWordRight}}, {"foo bar"}, {5, 1}},
      {"word right: a non-blank run is one word",
       {"a<b c"},
       {1, 1},
       {{ecWordRight}},
       {"a<b c"},
       {5, 1}},
      {"word right to the next line",
       {"ab", "  cd"},
       {3, 1},
       {{ecWordRight}},
       {"ab", "  cd"},
       {3, 2}},
      {"word right to a blank line",
       {"ab", "   ", "x"},
       {3, 1},
       {{ecWordRight}},
       {"ab", "   ", "x"},
       {1, 2}},
      {"word right at the very end", {"ab"}, {3, 1}, {{ecWordRight}}, {"ab"}, {3, 1}},
      {"word left inside a word", {"foo bar"}, {6, 1}, {{ecWordLeft}}, {"foo bar"}, {5, 1}},
      {"word left over blanks", {"foo bar"}, {5, 1}, {{ecWordLeft}}, {"foo bar"}, {1, 1}},
      {"word left to the previous line",
       {"foo", "bar"},
       {1, 2},
       {{ecWordLeft}},
       {"foo", "bar"},
       {4, 1}},
      {"word left from past the end", {"foo"}, {9, 1}, {{ecWordLeft}}, {"foo"}, {1, 1}},
      {"scroll down pulls the caret",
       {"a", "b", "c"},
       {1, 1},
       {{ecScrollDown}},
       {"a", "b", "c"},
       {1, 2}},
  };
  for (const auto& c : cases)
    RunCase(c);
}

TEST(EditorCommandExecutor, WordMotionUsesTheHighlightersIdentifierCharacters)
{
  TtxHTMLHighlighter html;
  RunCase(
      {"word right stops at the tag name", {"a<b c"}, {1, 1}, {{ecWordRight}}, {"a<b c"}, {3, 1}},
      &html);
  RunCase({"word left to the tag name", {"<table>"}, {8, 1}, {{ecWordLeft}}, {"<table>"}, {2, 1}},
          &html);
}

TEST(EditorCommandExecutor, PageMotion)
{
  std::vector<std::string> lines;
  for (int i = 1; i <= 60; ++i)
    lines.push_back("line " + std::to_string(i));
  TtxCustomEdit editor;
  Fill(editor, lines);
  editor.SetVisibleCells(40, 21);
  editor.HalfpageScroll = true;
  editor.RunCommand(ecPageDown, 0, nullptr);
  EXPECT_EQ(editor.CaretLine(), 11);
  EXPECT_EQ(editor.TopLine(), 11);
  editor.HalfpageScroll = false;
  editor.RunCommand(ecPageDown, 0, nullptr);
  EXPECT_EQ(editor.CaretLine(), 32);
  EXPECT_EQ(editor.TopLine(), 32);
  editor.RunCommand(ecPageBottom, 0, nullptr);
  EXPECT_EQ(editor.CaretLine(), 52);
  editor.RunCommand(ecPageTop, 0, nullptr);
  EXPECT_EQ(editor.CaretLine(), 32);
  editor.RunCommand(ecSelPageUp, 0, nullptr);
  EXPECT_EQ(editor.CaretLine(), 11);
  EXPECT_EQ(editor.SelAnchor(), (TPoint{1, 32}));
  EXPECT_EQ(editor.SelEnd(), (TPoint{1, 11}));
  editor.RunCommand(ecEditorBottom, 0, nullptr);
  EXPECT_EQ(editor.TopLine(), 40);
  editor.RunCommand(ecPageRight, 0, nullptr);
  EXPECT_EQ(editor.CaretColumn(), 8 + 40);
  EXPECT_EQ(editor.LeftChar(), 41);
}

TEST(EditorCommandExecutor, CaretColumnLimits)
{
  TtxCustomEdit editor;
  Fill(editor, {"abc"});
  Goto(editor, 5000, 1);
  EXPECT_EQ(editor.CaretColumn(), TtxCustomEdit::ColumnLimit - 80);
  editor.ScrollPastEOL = false;
  Goto(editor, 5000, 1);
  EXPECT_EQ(editor.CaretColumn(), 4);
  editor.SetSelAnchor({2000, 9});
  EXPECT_EQ(editor.SelAnchor(), (TPoint{4, 1}));
  editor.SetSelectionMode(smColumn);
  editor.SetSelEnd({2000, 1});
  EXPECT_EQ(editor.SelEnd(), (TPoint{TtxCustomEdit::ColumnLimit, 1}));
}

TEST(EditorCommandExecutor, Typing)
{
  auto overwrite = [](TtxCustomEdit& e) { e.InsertMode = false; };
  const TCase cases[] = {
      {"insert", {"abc"}, {2, 1}, {{ecChar, 'x'}}, {"axbc"}, {3, 1}},
      {"pads up to the caret", {"abc"}, {10, 1}, {{ecChar, 'x'}}, {"abc      x"}, {11, 1}},
      {"a blank at the end is trimmed", {"abc"}, {4, 1}, {{ecChar, ' '}}, {"abc"}, {5, 1}},
      {"tab inside text", {"abcdefgh"}, {6, 1}, {{ecChar, '\t'}}, {"abcde   fgh"}, {9, 1}},
      {"tab at the end", {"abcde"}, {6, 1}, {{ecChar, '\t'}}, {"abcde"}, {9, 1}},
      {"control characters are ignored",
       {"abc"},
       {2, 1},
       {{ecChar, '\x01'}, {ecChar, '\x7f'}},
       {"abc"},
       {2, 1}},
      {"overwrite", {"abc"}, {2, 1}, {{ecChar, 'x'}}, {"axc"}, {3, 1}, std::nullopt, overwrite},
      {"overwrite past the end inserts",
       {"abc"},
       {4, 1},
       {{ecChar, 'x'}},
       {"abcx"},
       {5, 1},
       std::nullopt,
       overwrite},
      {"over a selection",
       {"hello world"},
       {1, 1},
       {{ecChar, 'X'}},
       {"X world"},
       {2, 1},
       std::nullopt,
       [](TtxCustomEdit& e) {
         Select(e, {6, 1}, {1, 1});
       }},
      {"over a line selection",
       {"a", "b", "c"},
       {1, 1},
       {{ecChar, 'X'}},
       {"a", "Xc"},
       {2, 2},
       std::nullopt,
       [](TtxCustomEdit& e) {
         Select(e, {1, 2}, {2, 2}, smLine);
       }},
      {"over a column selection",
       {"abcde", "fghij"},
       {1, 1},
       {{ecChar, 'X'}},
       {"aXde", "fij"},
       {3, 1},
       std::nullopt,
       [](TtxCustomEdit& e) {
         Select(e, {2, 1}, {4, 2}, smColumn);
       }},
      {"read-only",
       {"abc"},
       {2, 1},
       {{ecChar, 'x'}, {ecDeleteChar}, {ecLineBreak}},
       {"abc"},
       {2, 1},
       std::nullopt,
       [](TtxCustomEdit& e) { e.ReadOnly = true; }},
  };
  for (const auto& c : cases)
    RunCase(c);
}

TEST(EditorCommandExecutor, InputMethodString)
{
  TtxCustomEdit editor;
  Fill(editor, {"abc"});
  Goto(editor, 2, 1);
  std::string text = "xyz";
  editor.RunCommand(ecImeStr, 0, &text);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"axyzbc"});
  EXPECT_EQ(editor.CaretXY(), (TPoint{5, 1}));
  editor.InsertMode = false;
  Goto(editor, 1, 1);
  text = "QQ";
  editor.RunCommand(ecImeStr, 0, &text);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"QQyzbc"});
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"axyzbc"});
}

TEST(EditorCommandExecutor, Deleting)
{
  auto withBookmark = [](TtxCustomEdit& e) { e.PlaceBookmark(1, 1, 7); };
  const TCase cases[] = {
      {"backspace at the start does nothing", {"ab"}, {1, 1}, {{ecDeleteLastChar}}, {"ab"}, {1, 1}},
      {"backspace joins lines", {"ab", "cd"}, {1, 2}, {{ecDeleteLastChar}}, {"abcd"}, {3, 1}},
      {"backspace past the end only moves", {"ab"}, {6, 1}, {{ecDeleteLastChar}}, {"ab"}, {5, 1}},
      {"backspace deletes a character", {"abc"}, {3, 1}, {{ecDeleteLastChar}}, {"ac"}, {2, 1}},
      {"backspace unindents to the outer level",
       {"if", "    x", "        "},
       {9, 3},
       {{ecDeleteLastChar}},
       {"if", "    x", "    "},
       {5, 3}},
      {"backspace unindents to column 1", {"    x"}, {5, 1}, {{ecDeleteLastChar}}, {"x"}, {1, 1}},
      {"backspace over a selection",
       {"abcdef"},
       {1, 1},
       {{ecDeleteLastChar}},
       {"aef"},
       {2, 1},
       std::nullopt,
       [](TtxCustomEdit& e) {
         Select(e, {2, 1}, {5, 1});
       }},
      {"delete at the end of the last line", {"ab"}, {3, 1}, {{ecDeleteChar}}, {"ab"}, {3, 1}},
      {"delete a character", {"abc"}, {2, 1}, {{ecDeleteChar}}, {"ac"}, {2, 1}},
      {"delete joins the next line", {"ab", "cd"}, {3, 1}, {{ecDeleteChar}}, {"abcd"}, {3, 1}},
      {"delete past the end pads first",
       {"ab", "cd"},
       {5, 1},
       {{ecDeleteChar}},
       {"ab  cd"},
       {5, 1}},
      {"delete word", {"foo bar"}, {1, 1}, {{ecDeleteWord}}, {"bar"}, {1, 1}},
      {"delete last word", {"foo bar"}, {8, 1}, {{ecDeleteLastWord}}, {"foo "}, {5, 1}},
      {"delete to line start", {"abcdef"}, {4, 1}, {{ecDeleteBOL}}, {"def"}, {1, 1}},
      {"delete to line end", {"abcdef"}, {4, 1}, {{ecDeleteEOL}}, {"abc"}, {4, 1}},
      {"delete line", {"a", "b", "c"}, {1, 2}, {{ecDeleteLine}}, {"a", "c"}, {1, 2}},
      {"delete the last line", {"a", "b"}, {2, 2}, {{ecDeleteLine}}, {"a"}, {1, 1}},
      {"delete the only line", {"abc"}, {2, 1}, {{ecDeleteLine}}, {""}, {1, 1}},
      {"clear all",
       {"a", "b"},
       {2, 2},
       {{ecClearAll}},
       {""},
       {2, 2},
       std::make_pair(TPoint{2, 2}, TPoint{2, 2})},
      {"delete in a column selection",
       {"abcde", "fghij"},
       {1, 1},
       {{ecDeleteChar}},
       {"ade", "fij"},
       {2, 1},
       std::nullopt,
       [](TtxCustomEdit& e) {
         Select(e, {2, 1}, {4, 2}, smColumn);
       }},
      {"delete a line selection",
       {"a", "b", "c"},
       {1, 1},
       {{ecDeleteChar}},
       {"c"},
       {1, 1},
       std::nullopt,
       [](TtxCustomEdit& e) {
         Select(e, {1, 1}, {1, 2}, smLine);
       }},
      {"a character delete leaves bookmarks",
       std::vector<std::string>(8, "x"),
       {1, 3},
       {{ecDeleteChar}},
       {"x", "x", "", "x", "x", "x", "x", "x"},
       {1, 3},
       std::nullopt,
       withBookmark},
  };
  for (const auto& c : cases)
    RunCase(c);
}

TEST(EditorCommandExecutor, ClearAllLeavesTheCaretWhereItWas)
{
  TtxCustomEdit editor;
  Fill(editor, {"a", "bcd"});
  Goto(editor, 3, 2);
  editor.RunCommand(ecClearAll, 0, nullptr);
  EXPECT_EQ(editor.LineCount(), 1);
  EXPECT_EQ(editor.CaretXY(), (TPoint{3, 2}));
  editor.RunCommand(ecDown, 0, nullptr);
  EXPECT_EQ(editor.CaretLine(), 1);
}

TEST(EditorCommandExecutor, JoiningLinesMovesBookmarksUp)
{
  TtxCustomEdit editor;
  Fill(editor, std::vector<std::string>(8, "x"));
  editor.PlaceBookmark(4, 1, 7);
  Goto(editor, 2, 3);
  editor.RunCommand(ecDeleteChar, 0, nullptr); // joins line 4
  EXPECT_EQ(editor.Bookmark(4)->Line(), 6);
  Goto(editor, 1, 3);
  editor.RunCommand(ecDeleteLastChar, 0, nullptr); // joins line 3 onto 2
  EXPECT_EQ(editor.Bookmark(4)->Line(), 5);
  Goto(editor, 1, 2);
  editor.RunCommand(ecLineBreak, 0, nullptr);
  EXPECT_EQ(editor.Bookmark(4)->Line(), 6);
}

TEST(EditorCommandExecutor, LineBreaks)
{
  auto noPastEOL = [](TtxCustomEdit& e) { e.ScrollPastEOL = false; };
  auto noIndent = [](TtxCustomEdit& e) { e.Autoindent = false; };
  const TCase cases[] = {
      {"inside the text keeps the indentation",
       {"  abcd"},
       {5, 1},
       {{ecLineBreak}},
       {"  ab", "  cd"},
       {3, 2}},
      {"trailing blanks before the caret go",
       {"ab  cd"},
       {5, 1},
       {{ecLineBreak}},
       {"ab", "cd"},
       {1, 2}},
      {"at column 1", {"abc"}, {1, 1}, {{ecLineBreak}}, {"", "abc"}, {1, 2}},
      {"inside the leading blanks", {"    abc"}, {3, 1}, {{ecLineBreak}}, {"", "    abc"}, {3, 2}},
      {"on an empty line", {""}, {1, 1}, {{ecLineBreak}}, {"", ""}, {1, 2}},
      {"at the end with room past it", {"  ab"}, {5, 1}, {{ecLineBreak}}, {"  ab", ""}, {3, 2}},
      {"at the end without room past it",
       {"  ab"},
       {5, 1},
       {{ecLineBreak}},
       {"  ab", "  "},
       {3, 2},
       std::nullopt,
       noPastEOL},
      {"at the end without indenting",
       {"  ab"},
       {5, 1},
       {{ecLineBreak}},
       {"  ab", ""},
       {1, 2},
       std::nullopt,
       noIndent},
      {"insert line keeps the caret",
       {"  abcd"},
       {5, 1},
       {{ecInsertLine}},
       {"  ab", "  cd"},
       {5, 1}},
      {"insert line on an empty line",
       {"a", "", "b"},
       {1, 2},
       {{ecInsertLine}},
       {"a", "", "", "b"},
       {1, 2}},
      {"over a selection",
       {"abcdef"},
       {1, 1},
       {{ecLineBreak}},
       {"a", "ef"},
       {1, 2},
       std::nullopt,
       [](TtxCustomEdit& e) {
         Select(e, {2, 1}, {5, 1});
       }},
  };
  for (const auto& c : cases)
    RunCase(c);
}

TEST(EditorCommandExecutor, ModesAndBlockIndent)
{
  const TCase cases[] = {
      {"block indent",
       {"a", "", "b"},
       {1, 1},
       {{ecSelectAll}, {ecBlockIndent}},
       {"    a", "", "    b"},
       {6, 3},
       std::make_pair(TPoint{1, 1}, TPoint{6, 3})},
      {"block unindent", {"      a", "  b"}, {1, 1}, {{ecBlockUnindent}}, {"  a", "  b"}, {1, 1}},
  };
  for (const auto& c : cases)
    RunCase(c);
  TtxCustomEdit editor;
  editor.RunCommand(ecColumnSelect, 0, nullptr);
  EXPECT_EQ(editor.SelectionMode(), smColumn);
  editor.RunCommand(ecLineSelect, 0, nullptr);
  EXPECT_EQ(editor.SelectionMode(), smLine);
  editor.RunCommand(ecNormalSelect, 0, nullptr);
  EXPECT_EQ(editor.SelectionMode(), smNormal);
  editor.RunCommand(ecToggleMode, 0, nullptr);
  EXPECT_FALSE(editor.InsertMode);
  editor.RunCommand(ecInsertMode, 0, nullptr);
  EXPECT_TRUE(editor.InsertMode);
  editor.RunCommand(ecOverwriteMode, 0, nullptr);
  EXPECT_FALSE(editor.InsertMode);
}

TEST(EditorCommandExecutor, SelectedTextInEachMode)
{
  struct TSel {
    std::vector<std::string> Lines;
    TPoint Anchor, End;
    TSelectionMode Mode;
    const char* Expected;
  } cases[] = {
      {{"abc", "def"}, {2, 1}, {3, 2}, smNormal, "bc\r\nde"},
      {{"abc", "def"}, {3, 2}, {2, 1}, smNormal, "bc\r\nde"},
      {{"ab", "abcdef"}, {2, 1}, {5, 2}, smColumn, "b  \r\nbcd"},
      {{"ab", "abcdef"}, {5, 2}, {2, 1}, smColumn, "b  \r\nbcd"},
      {{"a", "b", "c"}, {1, 1}, {1, 2}, smLine, "a\r\nb\r\n"},
      {{"a", "b", "c"}, {1, 2}, {1, 3}, smLine, "b\r\nc"},
  };
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    Fill(editor, c.Lines);
    Select(editor, c.Anchor, c.End, c.Mode);
    EXPECT_EQ(editor.SelectedText(), c.Expected);
  }
}

TEST(EditorCommandExecutor, ProcessEventsMayChangeOrCancelACommand)
{
  TtxCustomEdit editor;
  Fill(editor, {"abc"});
  int done = 0, user = 0;
  editor.OnCommandDone = [&] { ++done; };
  editor.OnProcessCommand = [](TtxEditorCommand& command, char& ch, const void*) {
    if (command == ecChar && ch == 'q')
      command = ecNone;
    if (command == ecChar && ch == 'u')
      ch = 'U';
  };
  editor.OnProcessUserCommand = [&](TtxEditorCommand& command, char&, const void*) {
    user = command;
  };
  Type(editor, "qu");
  editor.RunCommand(1234, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"Uabc"});
  EXPECT_EQ(done, 1);
  EXPECT_EQ(user, 1234);
}

TEST(EditorCommandExecutor, KeysRunTheirBoundCommands)
{
  TtxCustomEdit editor;
  Fill(editor, {"abc"});
  uint16_t key = vk::End;
  editor.KeyDown(key, 0);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(editor.CaretColumn(), 4);
  key = 'Q';
  editor.KeyDown(key, ssCtrl);
  EXPECT_EQ(key, 'Q');
  editor.SwallowChars = 1;
  editor.KeyPress('x');
  editor.KeyPress('y');
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"abcy"});
}

} // namespace
