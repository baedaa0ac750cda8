#include "EditorTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace edittest;

void Select(TtxCustomEdit& e, TPoint anchor, TPoint end, TSelectionMode mode)
{
  e.SetSelectionMode(mode);
  e.SetSelAnchor(anchor);
  e.SetSelEnd(end);
  e.SetCaretXY(end);
}

TEST(EditClipboard, BlockFormatKeepsTheMode)
{
  std::string block = EncodeClipBlock(smColumn, "ab\r\ncd");
  EXPECT_EQ(block, std::string("\x01"
                               "ab\r\ncd\0",
                               8));
  TSelectionMode mode = smNormal;
  std::string text;
  ASSERT_TRUE(DecodeClipBlock(block, mode, text));
  EXPECT_EQ(mode, smColumn);
  EXPECT_EQ(text, "ab\r\ncd");
  EXPECT_FALSE(DecodeClipBlock("", mode, text));
  EXPECT_FALSE(DecodeClipBlock("\x07xyz", mode, text));
  ASSERT_TRUE(DecodeClipBlock(std::string("\x02l1\0junk", 8), mode, text));
  EXPECT_EQ(text, "l1");
  EXPECT_STREQ(ClipBlockFormatName, "txEdit Control Block Type");
}

TEST(EditClipboard, ColumnBlocksSurviveCopyAndPaste)
{
  TtxCustomEdit editor;
  Fill(editor, {"abcd", "efgh", "ijkl", "mnop", "qrst"});
  Select(editor, {2, 1}, {4, 3}, smColumn);
  editor.RunCommand(ecCopy, 0, nullptr);
  EXPECT_EQ(*editor.Clipboard().PlainText(), "bc\r\nfg\r\njk");
  editor.SetSelectionMode(smNormal);
  Goto(editor, 5, 2);
  editor.RunCommand(ecPaste, 0, nullptr);
  EXPECT_EQ(LinesOf(editor),
            (std::vector<std::string>{"abcd", "efghbc", "ijklfg", "mnopjk", "qrst"}));
  EXPECT_EQ(editor.CaretXY(), (TPoint{5, 5}));
  EXPECT_EQ(editor.UndoList().Peek()->Reason, UndoPaste);
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"abcd", "efgh", "ijkl", "mnop", "qrst"}));
}

TEST(EditClipboard, PasteFromOtherProgramsUsesTheCurrentMode)
{
  TtxMemoryClipboard clipboard;
  TtxCustomEdit editor;
  editor.SetClipboard(&clipboard);
  Fill(editor, {"ab", "cd"});
  clipboard.SetPlainTextOnly("X\r\nY");
  Goto(editor, 2, 1);
  editor.RunCommand(ecPaste, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"aX", "Yb", "cd"}));
  EXPECT_EQ(editor.CaretXY(), (TPoint{2, 2}));
  editor.RunCommand(ecUndo, 0, nullptr);
  editor.SetSelectionMode(smLine);
  Goto(editor, 2, 2);
  editor.RunCommand(ecPaste, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"ab", "X", "Ycd"}));
  // Pasting over a selection replaces it and undoes in one step.
  editor.SetSelectionMode(smNormal);
  editor.SetText("hello world");
  Select(editor, {1, 1}, {6, 1}, smNormal);
  clipboard.SetPlainTextOnly("bye");
  editor.RunCommand(ecPaste, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"bye world"});
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"hello world"});
  // A damaged private block is an error, the text stays.
  clipboard.SetTexts("x", "\x09");
  EXPECT_THROW(editor.RunCommand(ecPaste, 0, nullptr), EtxEditError);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"hello world"});
}

TEST(EditClipboard, CutRecordsOneDelete)
{
  TtxCustomEdit editor;
  Fill(editor, {"a", "b", "c"});
  Select(editor, {1, 1}, {1, 2}, smLine);
  editor.RunCommand(ecCut, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"c"}));
  EXPECT_EQ(*editor.Clipboard().PlainText(), "a\r\nb\r\n");
  EXPECT_EQ(editor.UndoList().Count(), 1);
  Goto(editor, 1, 1);
  editor.RunCommand(ecPaste, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"a", "b", "c"}));
  editor.ReadOnly = true;
  editor.RunCommand(ecSelectAll, 0, nullptr);
  editor.RunCommand(ecCut, 0, nullptr);
  EXPECT_EQ(editor.LineCount(), 3);
}

TEST(EditorBookmarks, SetToggleAndOnePerLine)
{
  TtxCustomEdit editor;
  Fill(editor, std::vector<std::string>(9, "line"));
  Goto(editor, 2, 3);
  editor.RunCommand(ecSetMarker0 + 3, 0, nullptr);
  ASSERT_NE(editor.Bookmark(3), nullptr);
  EXPECT_EQ(editor.Bookmark(3)->Line(), 3);
  EXPECT_EQ(editor.Bookmark(3)->Column, 2);
  EXPECT_EQ(editor.Bookmark(3)->ImageIndex(), 3);
  EXPECT_TRUE(editor.Bookmark(3)->UseBuiltInGlyph());
  editor.RunCommand(ecSetMarker0 + 3, 0, nullptr);
  EXPECT_EQ(editor.Bookmark(3), nullptr);
  editor.RunCommand(ecSetMarker0 + 3, 0, nullptr);
  editor.RunCommand(ecSetMarker0 + 4, 0, nullptr);
  EXPECT_EQ(editor.Bookmark(3), nullptr);
  EXPECT_NE(editor.Bookmark(4), nullptr);
  EXPECT_EQ(editor.Marks().Count(), 1);
  // Setting it on another line moves it.
  Goto(editor, 1, 6);
  editor.RunCommand(ecSetMarker0 + 4, 0, nullptr);
  EXPECT_EQ(editor.Bookmark(4)->Line(), 6);
  Goto(editor, 1, 1);
  editor.RunCommand(ecGotoMarker0 + 4, 0, nullptr);
  EXPECT_EQ(editor.CaretXY(), (TPoint{1, 6}));
  editor.PlaceBookmark(10, 1, 1);
  editor.PlaceBookmark(1, 1, 99);
  EXPECT_EQ(editor.Marks().Count(), 1);
}

TEST(EditorBookmarks, KeysOffAndVetoAndVanishedLines)
{
  TtxCustomEdit editor;
  Fill(editor, {"a", "b", "c", "d", "e", "f"});
  editor.BookMarkOptions.EnableKeys = false;
  editor.RunCommand(ecSetMarker0, 0, nullptr);
  EXPECT_EQ(editor.Bookmark(0), nullptr);
  editor.BookMarkOptions.EnableKeys = true;
  editor.OnPlaceBookmark = [](TMark*& mark) { mark = nullptr; };
  editor.RunCommand(ecSetMarker0, 0, nullptr);
  EXPECT_EQ(editor.Bookmark(0), nullptr);
  editor.OnPlaceBookmark = nullptr;
  editor.PlaceBookmark(5, 1, 6);
  Goto(editor, 1, 6);
  editor.RunCommand(ecDeleteLine, 0, nullptr);
  Goto(editor, 1, 1);
  editor.RunCommand(ecGotoMarker0 + 5, 0, nullptr);
  EXPECT_EQ(editor.CaretXY(), (TPoint{1, 1}));
}

} // namespace
