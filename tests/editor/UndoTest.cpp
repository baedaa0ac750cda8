#include "EditorTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

using namespace edittest;

struct TUndoCase {
  const char* Name;
  std::vector<std::string> Lines;
  TPoint Caret;
  std::function<void(TtxCustomEdit&)> Act;
  TUndoReason Reason; // of the newest undo record after the action
  const char* Text;   // its text
};

void Select(TtxCustomEdit& e, TPoint anchor, TPoint end, TSelectionMode mode = smNormal)
{
  e.SetSelectionMode(mode);
  e.SetSelAnchor(anchor);
  e.SetSelEnd(end);
  e.SetCaretXY(end);
}

std::function<void(TtxCustomEdit&)> Command(TtxEditorCommand command, char ch = 0)
{
  return [=](TtxCustomEdit& e) { e.RunCommand(command, ch, nullptr); };
}

// Each change records its reason and text, and one undo gives the text back exactly; a redo
// then makes the change again.
TEST(EditorUndo, EveryChangeUndoesAndRedoesExactly)
{
  auto overwrite = [](TtxCustomEdit& e) {
    e.InsertMode = false;
    e.RunCommand(ecChar, 'x', nullptr);
  };
  const TUndoCase cases[] = {
      {"insert", {"abc"}, {2, 1}, Command(ecChar, 'x'), UndoInsert, ""},
      {"insert past the end", {"ab  "}, {8, 1}, Command(ecChar, 'x'), UndoInsert, ""},
      {"overwrite", {"abc"}, {2, 1}, overwrite, UndoInsert, "b"},
      {"overwrite a trailing blank", {"ab  "}, {3, 1}, overwrite, UndoInsert, " "},
      {"backspace", {"abc"}, {3, 1}, Command(ecDeleteLastChar), UndoDelete, "b"},
      {"backspace join", {"ab", "cd"}, {1, 2}, Command(ecDeleteLastChar), UndoDelete, "\r\n"},
      {"backspace join keeps trailing blanks",
       {"ab  ", "   "},
       {1, 2},
       Command(ecDeleteLastChar),
       UndoDelete,
       "\r\n"},
      {"backspace unindent",
       {"  a", "      "},
       {7, 2},
       Command(ecDeleteLastChar),
       UndoDelete,
       "    "},
      {"delete", {"abc"}, {2, 1}, Command(ecDeleteChar), UndoDeleteAfterCaret, "b"},
      {"delete join", {"ab", "cd"}, {3, 1}, Command(ecDeleteChar), UndoDeleteAfterCaret, "\r\n"},
      {"delete word", {"foo bar", "x"}, {2, 1}, Command(ecDeleteWord), UndoDeleteAfterCaret, "oo "},
      {"delete word over a line end",
       {"foo", "  bar"},
       {4, 1},
       Command(ecDeleteWord),
       UndoDeleteAfterCaret,
       "\r\n  "},
      {"delete last word",
       {"foo bar"},
       {8, 1},
       Command(ecDeleteLastWord),
       UndoDeleteAfterCaret,
       "bar"},
      {"delete to line start", {"abcdef"}, {4, 1}, Command(ecDeleteBOL), UndoDelete, "abc"},
      {"delete to line end", {"abcdef"}, {4, 1}, Command(ecDeleteEOL), UndoDeleteAfterCaret, "def"},
      {"delete line",
       {"a", "b", "c"},
       {1, 2},
       Command(ecDeleteLine),
       UndoDeleteAfterCaret,
       "b\r\n"},
      {"delete the last line",
       {"a", "b"},
       {1, 2},
       Command(ecDeleteLine),
       UndoDeleteAfterCaret,
       "\r\nb"},
      {"delete the only line", {"abc"}, {1, 1}, Command(ecDeleteLine), UndoDeleteAfterCaret, "abc"},
      {"clear all", {"a", "b"}, {1, 1}, Command(ecClearAll), UndoDelete, "a\r\nb"},
      {"line break inside", {"  abcd"}, {5, 1}, Command(ecLineBreak), UndoLineBreak, "cd"},
      {"line break after trailing blanks",
       {"ab   cd"},
       {5, 1},
       Command(ecLineBreak),
       UndoLineBreak,
       " cd"},
      {"line break in the indentation",
       {"    abc"},
       {3, 1},
       Command(ecLineBreak),
       UndoLineBreak,
       "    abc"},
      {"line break at the end of an indented line",
       {"ab  "},
       {5, 1},
       Command(ecLineBreak),
       UndoLineBreak,
       ""},
      {"insert line", {"abcd"}, {3, 1}, Command(ecInsertLine), UndoLineBreak, "cd"},
      {"block indent",
       {"a", "b"},
       {1, 1},
       [](TtxCustomEdit& e) {
         e.RunCommand(ecSelectAll, 0, nullptr);
         e.RunCommand(ecBlockIndent, 0, nullptr);
       },
       UndoInsert,
       "a\r\nb"},
      {"cut a column",
       {"abcde", "fg"},
       {1, 1},
       [](TtxCustomEdit& e) {
         Select(e, {2, 1}, {5, 2}, smColumn);
         e.RunCommand(ecCut, 0, nullptr);
       },
       UndoDelete,
       "bcd\r\ng"},
      {"cut lines at the end",
       {"a", "b", "c"},
       {1, 1},
       [](TtxCustomEdit& e) {
         Select(e, {1, 2}, {1, 3}, smLine);
         e.RunCommand(ecCut, 0, nullptr);
       },
       UndoDelete,
       "b\r\nc"},
  };
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    Fill(editor, c.Lines);
    editor.SetMaxUndo(100);
    Goto(editor, c.Caret.X, c.Caret.Y);
    c.Act(editor);
    ASSERT_TRUE(editor.CanUndo()) << c.Name;
    EXPECT_EQ(editor.UndoList().Peek()->Reason, c.Reason) << c.Name;
    EXPECT_EQ(editor.UndoList().Peek()->Text, c.Text) << c.Name;
    const auto after = LinesOf(editor);
    while (editor.CanUndo())
      editor.RunCommand(ecUndo, 0, nullptr);
    EXPECT_EQ(LinesOf(editor), c.Lines) << c.Name << " undo";
    while (editor.CanRedo())
      editor.RunCommand(ecRedo, 0, nullptr);
    EXPECT_EQ(LinesOf(editor), after) << c.Name << " redo";
  }
}

TEST(EditorUndo, DeletingTheLastLineUndoesInPlace)
{
  TtxCustomEdit editor;
  Fill(editor, {"a", "b"});
  Goto(editor, 1, 2);
  editor.RunCommand(ecDeleteLine, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"a"});
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"a", "b"}));
}

TEST(EditorUndo, RedoMakesTheSameLineBreakWhateverTheSettingsAreByThen)
{
  TtxCustomEdit editor;
  Fill(editor, {"  ab"});
  Goto(editor, 5, 1);
  editor.RunCommand(ecLineBreak, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"  ab", ""}));
  editor.RunCommand(ecUndo, 0, nullptr);
  editor.ScrollPastEOL = false;
  editor.RunCommand(ecRedo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"  ab", ""}));
  EXPECT_EQ(editor.UndoList().Peek()->Reason, UndoLineBreak);
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"  ab"});
}

TEST(EditorUndo, TypingOverASelectionUndoesInOneStep)
{
  TtxCustomEdit editor;
  Fill(editor, {"hello world"});
  Select(editor, {1, 1}, {6, 1});
  editor.RunCommand(ecChar, 'X', nullptr);
  EXPECT_EQ(editor.UndoList().Count(), 2);
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"hello world"});
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_EQ(editor.SelAnchor(), (TPoint{1, 1}));
  EXPECT_EQ(editor.SelEnd(), (TPoint{6, 1}));
  editor.RunCommand(ecRedo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"X world"});
  EXPECT_FALSE(editor.CanRedo());
}

TEST(EditorUndo, ReplacingTheSelectionTextTakesTwoSteps)
{
  TtxCustomEdit editor;
  Fill(editor, {"hello world"});
  Select(editor, {7, 1}, {12, 1});
  editor.SetSelectedText("there");
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"hello there"});
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"hello "});
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"hello world"});
}

TEST(EditorUndo, DragMovesAndCopiesUndoInOneStep)
{
  struct TDrop {
    const char* Name;
    std::vector<std::string> Lines;
    TPoint Anchor, End;
    TSelectionMode Mode;
    TPoint At;
    bool Copy;
    std::vector<std::string> Expected;
  } cases[] = {
      {"move right on the line", {"abc def"}, {1, 1}, {4, 1}, smNormal, {8, 1}, false, {" defabc"}},
      {"move to an earlier line",
       {"one", "two three"},
       {5, 2},
       {10, 2},
       smNormal,
       {1, 1},
       false,
       {"threeone", "two "}},
      {"move down over lines",
       {"ab", "cd", "ef"},
       {1, 1},
       {1, 2},
       smNormal,
       {2, 3},
       false,
       {"cd", "eab", "f"}},
      {"copy", {"abc"}, {1, 1}, {3, 1}, smNormal, {4, 1}, true, {"abcab"}},
      {"copy past the line end",
       {"abc", "x"},
       {1, 1},
       {3, 1},
       smNormal,
       {3, 2},
       true,
       {"abc", "x ab"}},
      {"move lines", {"a", "b", "c"}, {1, 3}, {1, 3}, smLine, {1, 1}, false, {"c", "a", "b"}},
      {"move a column",
       {"abcd", "efgh"},
       {2, 1},
       {3, 2},
       smColumn,
       {4, 1},
       false,
       {"acbd", "egfh"}},
  };
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    Fill(editor, c.Lines);
    Select(editor, c.Anchor, c.End, c.Mode);
    if (c.Mode == smLine)
      editor.SetSelEnd({2, c.End.Y});
    ASSERT_TRUE(editor.DropSelection(c.At, c.Copy)) << c.Name;
    EXPECT_EQ(LinesOf(editor), c.Expected) << c.Name;
    editor.RunCommand(ecUndo, 0, nullptr);
    EXPECT_EQ(LinesOf(editor), c.Lines) << c.Name << " undo";
    EXPECT_FALSE(editor.CanUndo()) << c.Name;
    editor.RunCommand(ecRedo, 0, nullptr);
    EXPECT_EQ(LinesOf(editor), c.Expected) << c.Name << " redo";
  }
  TtxCustomEdit editor;
  Fill(editor, {"abcdef"});
  Select(editor, {2, 1}, {5, 1});
  EXPECT_FALSE(editor.DropSelection({3, 1}, false));
  editor.ReadOnly = true;
  EXPECT_FALSE(editor.DropSelection({6, 1}, false));
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"abcdef"});
}

TEST(EditorUndo, MaxUndoDropsTheOldest)
{
  TtxCustomEdit editor;
  Fill(editor, {""});
  EXPECT_EQ(editor.MaxUndo(), 10);
  Type(editor, "abcdefghijk");
  EXPECT_EQ(editor.UndoList().Count(), 10);
  while (editor.CanUndo())
    editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"a"});
  EXPECT_EQ(editor.RedoList().Count(), 10);
  editor.SetMaxUndo(2);
  EXPECT_EQ(editor.RedoList().Count(), 2);
  editor.RunCommand(ecRedo, 0, nullptr);
  editor.RunCommand(ecRedo, 0, nullptr);
  // The two newest redo records are the first two undone: k and j.
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"abc"});
}

TEST(EditorUndo, AFreshChangeEmptiesTheRedoListAndSetsModified)
{
  TtxCustomEdit editor;
  Fill(editor, {"abc"});
  int changes = 0;
  editor.OnChange = [&] { ++changes; };
  EXPECT_FALSE(editor.Modified);
  Type(editor, "x");
  EXPECT_TRUE(editor.Modified);
  EXPECT_EQ(changes, 1);
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_TRUE(editor.CanRedo());
  Type(editor, "y");
  EXPECT_FALSE(editor.CanRedo());
  editor.ClearUndoHistory();
  EXPECT_FALSE(editor.CanUndo());
  editor.SetText("new");
  EXPECT_FALSE(editor.Modified);
}

// Random commands on random text: undoing all of them gives back the original, redoing all of
// them the final text.
TEST(EditorUndo, RandomEditsUndoAndRedoExactly)
{
  const TtxEditorCommand commands[] = {
      ecLeft,        ecRight,          ecUp,         ecDown,         ecWordLeft,       ecWordRight,
      ecLineStart,   ecLineEnd,        ecSelLeft,    ecSelRight,     ecSelUp,          ecSelDown,
      ecSelWordLeft, ecSelWordRight,   ecSelLineEnd, ecSelectAll,    ecDeleteLastChar, ecDeleteChar,
      ecDeleteWord,  ecDeleteLastWord, ecDeleteBOL,  ecDeleteEOL,    ecDeleteLine,     ecClearAll,
      ecLineBreak,   ecInsertLine,     ecChar,       ecChar,         ecChar,           ecCut,
      ecCopy,        ecPaste,          ecToggleMode, ecNormalSelect, ecColumnSelect,   ecLineSelect,
      ecBlockIndent, ecBlockUnindent,  ecImeStr,     ecGotoXY,       ecSelGotoXY,      ecUndo,
      ecRedo,
  };
  std::mt19937 random(20261208);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> lines;
    for (int i = int(random() % 5); i >= 0; --i) {
      std::string line;
      for (int j = int(random() % 12); j > 0; --j)
        line += " \tab<>&x"[random() % 8];
      lines.push_back(line);
    }
    TtxCustomEdit editor;
    Fill(editor, lines);
    const auto original = LinesOf(editor);
    editor.SetMaxUndo(1000);
    editor.Autoindent = random() % 2;
    editor.ScrollPastEOL = random() % 2;
    for (int step = 0; step < 40; ++step) {
      TtxEditorCommand command = commands[random() % std::size(commands)];
      TPoint p{int(random() % 14) + 1, int(random() % 7) + 1};
      std::string ime = random() % 2 ? "q r" : "Z";
      const void* data = command == ecImeStr ? static_cast<const void*>(&ime) : &p;
      char ch = " xy\t"[random() % 4];
      editor.RunCommand(command, ch, data);
    }
    while (editor.CanRedo())
      editor.RunCommand(ecRedo, 0, nullptr);
    const auto redone = LinesOf(editor);
    while (editor.CanUndo())
      editor.RunCommand(ecUndo, 0, nullptr);
    ASSERT_EQ(LinesOf(editor), original) << "round " << round;
    while (editor.CanRedo())
      editor.RunCommand(ecRedo, 0, nullptr);
    ASSERT_EQ(LinesOf(editor), redone) << "round " << round;
  }
}

} // namespace
