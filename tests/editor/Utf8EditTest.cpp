// UTF-8 texts in the editor: which texts count as UTF-8, round trips, the caret, deletion,
// typing, search and the clipboard never parting a character's bytes, and screen cells.
#include "EditorTestSupport.h"
#include "editor/EditChars.h"
#include "editor/EditScript.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace edittest;

namespace {

// "é" has 2 bytes, "中" 3 (and two cells), "😀" 4 (and two cells).
const std::string E = "\xc3\xa9", Zh = "\xe4\xb8\xad", Smile = "\xf0\x9f\x98\x80";

TEST(Utf8Edit, TextsAreUtf8OnlyWhenTheirBytesSaySoAndComeBackUnchanged)
{
  struct TCase {
    std::string Bytes;
    bool Utf8;
    std::string FirstLine;
  } cases[] = {
      {"plain ASCII\r\n", false, "plain ASCII"},
      {"caf" + E + "\n" + Zh + "\r\n", true, "caf" + E},
      {"\xef\xbb\xbf"
       "mark\n",
       true, "mark"},
      {"\xef\xbb\xbf", true, ""},
      {"Latin-1 caf\xe9\r\n", false, "Latin-1 caf\xe9"},
      {"broken " + E + " and \xe4\xb8\n", false, "broken " + E + " and \xe4\xb8"},
      {"overlong \xc0\xaf", false, "overlong \xc0\xaf"},
      {"a mark later \xef\xbb\xbf", true, "a mark later \xef\xbb\xbf"},
  };
  const QString dir = testsupport::TempDir();
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    editor.LoadFromFile(testsupport::WriteFile(dir, "in.txt", c.Bytes));
    EXPECT_EQ(editor.Utf8(), c.Utf8) << c.Bytes;
    EXPECT_EQ(editor.LineText(1), c.FirstLine) << c.Bytes;
    const std::string out = dir.toStdString() + "/out.txt";
    editor.SaveToFile(out);
    EXPECT_EQ(testsupport::ReadFile(out), c.Bytes);
  }
}

TEST(Utf8Edit, EditedAndUndoneTextSavesAsLoaded)
{
  const std::string bytes = "\xef\xbb\xbf" + Zh + E + "\r\nx" + Smile + "\r\n";
  TtxCustomEdit editor;
  editor.SetText(bytes);
  editor.RunCommand(ecDeleteChar, '\0', nullptr);
  editor.RunCommand(ecChar, char(0xe9), nullptr);
  editor.RunCommand(ecUndo, '\0', nullptr);
  editor.RunCommand(ecUndo, '\0', nullptr);
  EXPECT_EQ(editor.Lines().Text(), bytes);
}

TEST(Utf8Edit, CellsAndColumnsOfALine)
{
  const std::string line = "a" + E + Zh + Smile + "b"; // columns 1 2 4 7 11 12, cells 1 2 3 5 7
  struct TCase {
    int Column, Cell;
  } columns[] = {{1, 1}, {2, 2}, {4, 3}, {7, 5}, {11, 7}, {12, 8}, {14, 10}};
  for (const auto& c : columns) {
    EXPECT_EQ(editchars::CellOfColumn(line, c.Column, true), c.Cell) << c.Column;
    EXPECT_EQ(editchars::ColumnOfCell(line, c.Cell, true), c.Column) << c.Cell;
  }
  // The second cell of a wide character belongs to it.
  EXPECT_EQ(editchars::ColumnOfCell(line, 4, true), 4);
  EXPECT_EQ(editchars::ColumnOfCell(line, 6, true), 7);
  // Inside a character a column goes back to its start.
  EXPECT_EQ(editchars::Snap(line, 3, true), 2);
  EXPECT_EQ(editchars::Snap(line, 10, true), 7);
  EXPECT_EQ(editchars::Snap(line, 3, false), 3);
  const auto cells = editchars::CellLine(line);
  EXPECT_EQ(cells.Cells.size(), 7u);
  EXPECT_EQ(cells.Chars, (std::u32string{0, 0xe9, 0x4e2d, 0, 0x1f600, 0, 0}));
  // A broken sequence is one character of one cell.
  EXPECT_EQ(editchars::CellOfColumn("\xe4\xb8x", 3, true), 2);
  EXPECT_EQ(editchars::CountChars("\xe4\xb8x" + E, true), 3);
  EXPECT_EQ(editchars::CellsOf(U'\uff21'), 2);
  EXPECT_EQ(editchars::CellsOf(U'\u00e9'), 1);
}

struct TCommandCase {
  const char* Name;
  std::vector<std::string> Lines;
  TPoint Start;
  std::vector<TtxEditorCommand> Commands;
  std::vector<std::string> After;
  TPoint Caret;
};

TEST(Utf8Edit, CommandsStepOverWholeCharacters)
{
  const std::string line = "a" + E + Zh + Smile + "b";
  const TCommandCase cases[] = {
      {"right", {line}, {1, 1}, {ecRight, ecRight, ecRight, ecRight}, {line}, {11, 1}},
      {"left", {line}, {12, 1}, {ecLeft, ecLeft, ecLeft}, {line}, {4, 1}},
      {"delete", {line}, {2, 1}, {ecDeleteChar, ecDeleteChar}, {"a" + Smile + "b"}, {2, 1}},
      {"backspace", {line}, {11, 1}, {ecDeleteLastChar, ecDeleteLastChar}, {"a" + E + "b"}, {4, 1}},
      {"selecting right", {line}, {2, 1}, {ecSelRight, ecCut}, {"a" + Zh + Smile + "b"}, {2, 1}},
      {"down keeps the cell", {Zh + Zh + "x", "abcdef"}, {7, 1}, {ecDown}, {}, {5, 2}},
      {"up lands on the start of a wide character",
       {Zh + Zh, "abcdef"},
       {4, 2},
       {ecUp},
       {},
       {4, 1}},
      {"word right over letters beyond ASCII",
       {"<b>caf" + E + " x"},
       {4, 1},
       {ecWordRight},
       {},
       {10, 1}},
      {"line end", {line}, {1, 1}, {ecLineEnd, ecLeft}, {}, {11, 1}},
      // Deleting the blank between a broken lead byte and the rest of its character joins them.
      {"a character joined around the caret",
       {"\xef\xbb\xbf"
        "ab\xf0 \x9f\x98\x80"},
       {5, 1},
       {ecDeleteLastChar},
       {"ab\xf0\x9f\x98\x80"},
       {3, 1}},
  };
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    Fill(editor, c.Lines);
    ASSERT_TRUE(editor.Utf8()) << c.Name;
    Goto(editor, c.Start.X, c.Start.Y);
    for (auto command : c.Commands)
      editor.RunCommand(command, '\0', nullptr);
    EXPECT_EQ(editor.CaretXY(), c.Caret) << c.Name;
    if (!c.After.empty()) {
      EXPECT_EQ(LinesOf(editor), c.After) << c.Name;
    }
  }
}

TEST(Utf8Edit, PointsInsideACharacterMoveToItsStart)
{
  TtxCustomEdit editor;
  Fill(editor, {"a" + Zh + "b", "x"});
  Goto(editor, 3, 1);
  EXPECT_EQ(editor.CaretXY(), (TPoint{2, 1}));
  editor.SetSelAnchor({1, 1});
  editor.SetSelEnd({4, 1});
  EXPECT_EQ(editor.SelEnd(), (TPoint{2, 1}));
  EXPECT_EQ(editor.SelectedText(), "a");
  editor.SetSelectionMode(smColumn);
  editor.SetSelAnchor({2, 1});
  editor.SetSelEnd({5, 2});
  EXPECT_EQ(editor.SelectedText(), Zh + "\r\n   ");
  // A drop inside a character lands in front of it.
  editor.SetSelectionMode(smNormal);
  editor.SetSelAnchor({5, 1});
  editor.SetSelEnd({6, 1});
  EXPECT_TRUE(editor.DropSelection({3, 1}, true));
  EXPECT_EQ(editor.LineText(1), "ab" + Zh + "b");
  // A drop below the last line goes to that line, in front of the character it would split.
  Fill(editor, {"ab", E + E});
  editor.SetSelAnchor({1, 1});
  editor.SetSelEnd({2, 1});
  EXPECT_TRUE(editor.DropSelection({2, 7}, false));
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"b", "a" + E + E}));
}

TEST(Utf8Edit, ColumnBlocksUndoAndRedoByteForByte)
{
  // A column block counts bytes on every line, so on lines of other characters its edges may
  // fall inside one; undo and redo must still give back exactly what was there.
  TtxCustomEdit editor;
  Fill(editor, {"a" + Zh + "b", "abcde", E + E});
  const auto before = LinesOf(editor);
  editor.RunCommand(ecColumnSelect, '\0', nullptr);
  editor.SetSelAnchor({2, 2});
  editor.SetSelEnd({4, 3});
  editor.RunCommand(ecDeleteChar, '\0', nullptr);
  const auto after = LinesOf(editor);
  EXPECT_NE(after, before);
  editor.RunCommand(ecUndo, '\0', nullptr);
  EXPECT_EQ(LinesOf(editor), before);
  editor.RunCommand(ecRedo, '\0', nullptr);
  EXPECT_EQ(LinesOf(editor), after);
}

TEST(Utf8Edit, TypingPutsCharactersInTheTextsEncoding)
{
  struct TCase {
    const char* Name;
    std::string Text;
    bool Insert;
    char Typed;
    std::string After;
    int Caret;
  } cases[] = {
      {"Latin-1 letter into UTF-8", E + "x", true, char(0xfc), "\xc3\xbc" + E + "x", 3},
      {"overwrite takes the whole character", Zh + "x", false, 'y', "yx", 2},
      {"overwrite with a letter beyond ASCII", "ab" + E, false, char(0xe9), E + "b" + E, 3},
      {"single-byte text keeps its byte", "ab", true, char(0xfc),
       "\xfc"
       "ab",
       2},
  };
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    Fill(editor, {c.Text});
    editor.InsertMode = c.Insert;
    editor.RunCommand(ecChar, c.Typed, nullptr);
    EXPECT_EQ(editor.LineText(1), c.After) << c.Name;
    EXPECT_EQ(editor.CaretColumn(), c.Caret) << c.Name;
    editor.RunCommand(ecUndo, '\0', nullptr);
    EXPECT_EQ(editor.LineText(1), c.Text) << c.Name;
  }
  // Undo takes back exactly what was typed, even when it joined a broken byte into a character.
  TtxCustomEdit joined;
  joined.SetText("\xef\xbb\xbf\xb8");
  const std::string lead = "\xde\xde";
  joined.RunCommand(ecImeStr, '\0', &lead);
  joined.RunCommand(ecUndo, '\0', nullptr);
  EXPECT_EQ(joined.LineText(1), "\xb8");
  TtxCustomEdit editor;
  Fill(editor, {E + Zh + "z"});
  editor.InsertMode = false;
  const std::string input = Smile + "!";
  editor.RunCommand(ecImeStr, '\0', &input);
  EXPECT_EQ(editor.LineText(1), Smile + "!z");
}

TEST(Utf8Edit, SearchMatchesWholeCharactersOnly)
{
  struct TCase {
    const char* Name;
    std::string Line, Pattern;
    TSearchOptions Options;
    int Found;
  } cases[] = {
      // Folded as Western letters, "Á" (C3 81) would match the first bytes of "あ" (E3 81 82).
      {"no folding of lead bytes", "\xe3\x81\x82", "\xc3\x81", 0, 0},
      {"ASCII still folds", "x" + E + "AB", "ab", 0, 1},
      {"letters beyond ASCII are part of words", "caf" + E, "caf", SearchWholeWords, 0},
      {"a whole word ends at a blank", Zh + " caf" + E + " ", "caf" + E, SearchWholeWords, 1},
  };
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    Fill(editor, {c.Line, E});
    EXPECT_EQ(editor.SearchAndReplace(c.Pattern, "", c.Options), c.Found) << c.Name;
  }
}

TEST(Utf8Edit, ClipboardBlocksCrossEncodingsThroughThePlainText)
{
  TtxMemoryClipboard clipboard;
  TtxCustomEdit source;
  Fill(source, {E + "x"});
  source.SetClipboard(&clipboard);
  source.RunCommand(ecSelectAll, '\0', nullptr);
  source.RunCommand(ecColumnSelect, '\0', nullptr);
  source.RunCommand(ecCopy, '\0', nullptr);
  TSelectionMode mode;
  std::string text;
  bool utf8 = false;
  ASSERT_TRUE(DecodeClipBlock(*clipboard.Block(), mode, text, &utf8));
  EXPECT_TRUE(utf8);
  EXPECT_EQ(text, E + "x");
  // A single-byte editor takes the plain text (which the system clipboard would convert).
  clipboard.SetTexts("plain", *clipboard.Block());
  TtxCustomEdit target;
  Fill(target, {"ab"});
  target.SetClipboard(&clipboard);
  target.RunCommand(ecPaste, '\0', nullptr);
  EXPECT_EQ(target.LineText(1), "plainab");
}

TEST(Utf8Edit, ScriptsPrintCaretColumnsInBytes)
{
  const QString dir = testsupport::TempDir();
  const std::string file = testsupport::WriteFile(dir, "u.htm", "<p>" + E + Zh + "</p>\n");
  std::ostringstream out, err;
  const std::string script = "ecGotoXY 4 1\necRight\necRight\necSelLeft\necDeleteChar\n"
                             "ecImeStr " +
                             Smile + "\n";
  EXPECT_EQ(RunEditScriptText(file, script, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), "| <p>\\xc3\\xa9\\xf0\\x9f\\x98\\x80</p>\n"
                       "caret=10,1 anchor=10,1 end=10,1 mode=normal modified=1 undo=2 redo=0\n");
}

} // namespace
