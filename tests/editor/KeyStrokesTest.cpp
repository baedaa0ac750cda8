#include "editor/KeyStrokes.h"
#include "editor/EditorCommands.h"

#include <gtest/gtest.h>

namespace {

TEST(EditorCommands, IdentifierTableHasEveryNameOnceInStreamingOrder)
{
  ASSERT_EQ(EditorCommandIdentCount(), 86);
  const TEditorCommandIdent* idents = EditorCommandIdents();
  EXPECT_STREQ(idents[0].Name, "ecNone");
  EXPECT_STREQ(idents[17].Name, "ecGotoXY");
  EXPECT_STREQ(idents[18].Name, "ecSelLeft");
  EXPECT_STREQ(idents[65].Name, "ecUserFirst");
  EXPECT_STREQ(idents[85].Name, "ecSetMarker9");
  for (int i = 0; i < EditorCommandIdentCount(); ++i)
    for (int j = i + 1; j < EditorCommandIdentCount(); ++j) {
      EXPECT_NE(idents[i].Value, idents[j].Value) << idents[i].Name;
      EXPECT_STRNE(idents[i].Name, idents[j].Name);
    }
}

TEST(EditorCommands, NamesAndNumbersConvertBothWays)
{
  struct TCase {
    const char* Name;
    TtxEditorCommand Value;
  } cases[] = {{"ecUndo", 601},      {"ecSelEditorBottom", 116}, {"ecChar", 411},
               {"ecImeStr", 500},    {"ecGotoMarker0", 701},     {"ecSetMarker9", 760},
               {"ecSelectAll", 199}, {"ecLineSelect", 617},      {"ecUserFirst", 1001}};
  for (const auto& c : cases) {
    EXPECT_EQ(IdentToCommand(c.Name), c.Value) << c.Name;
    EXPECT_EQ(CommandToIdent(c.Value), std::string(c.Name));
  }
  EXPECT_FALSE(IdentToCommand("ecFly").has_value());
  EXPECT_EQ(EditorCommandToString(1500), "1500");
}

TEST(KeyStrokes, DefaultTableHas76BindingsInTheirOrder)
{
  TtxKeyStrokes keys;
  keys.LoadDefaultKeys();
  ASSERT_EQ(keys.Count(), 76);
  struct TRow {
    int Index;
    TShortCut ShortCut;
    TtxEditorCommand Command;
  } rows[] = {
      {0, 38, ecUp},
      {1, 8230, ecSelUp},
      {2, 16422, ecScrollUp},
      {30, vk::Insert, ecToggleMode},
      {31, scCtrl | vk::Insert, ecCopy},
      {32, scShift | vk::Insert, ecPaste},
      {37, 32776, ecUndo},
      {38, 40968, ecRedo},
      {39, vk::Return, ecLineBreak},
      {40, scCtrl | 'A', ecSelectAll},
      {52, scCtrl | scShift | 'Z', ecRedo},
      {53, scCtrl | '0', ecGotoMarker0},
      {63, 24624, ecSetMarker0},
      {72, scCtrl | scShift | '9', ecSetMarker9},
      {73, scCtrl | scShift | 'N', ecNormalSelect},
      {74, scCtrl | scShift | 'C', ecColumnSelect},
      {75, scCtrl | scShift | 'L', ecLineSelect},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(keys.Items(r.Index).ShortCut(), r.ShortCut) << r.Index;
    EXPECT_EQ(keys.Items(r.Index).Command(), r.Command) << r.Index;
  }
  // Every shortcut of the defaults is unique.
  for (int i = 0; i < keys.Count(); ++i)
    EXPECT_EQ(keys.IndexOfShortCut(keys.Items(i).ShortCut()), i);
}

TEST(KeyStrokes, LookupNeedsTheWholeShiftSet)
{
  TtxKeyStrokes keys;
  keys.LoadDefaultKeys();
  EXPECT_EQ(keys.CommandOfKey('C', ssCtrl), ecCopy);
  EXPECT_EQ(keys.CommandOfKey('C', ssCtrl | ssShift), ecColumnSelect);
  EXPECT_EQ(keys.CommandOfKey('C', ssCtrl | ssShift | ssAlt), ecNone);
  EXPECT_EQ(keys.CommandOfKey('C', 0), ecNone);
  EXPECT_EQ(keys.IndexOfKey(vk::Back, ssAlt | ssShift), 38);
}

TEST(KeyStrokes, DuplicateShortcutIsRefusedAndLeavesTheItem)
{
  TtxKeyStrokes keys;
  keys.LoadDefaultKeys();
  TtxKeyStroke& item = keys.Add();
  item.Key = 'Q';
  item.Shift = ssCtrl;
  try {
    item.SetShortCut(scCtrl | 'Z');
    FAIL() << "no error";
  } catch (const EtxKeyError& e) {
    EXPECT_STREQ(e.what(), "Shortcut already exists");
  }
  EXPECT_EQ(item.Key, 'Q');
  // Its own value and 0 are never duplicates.
  TtxKeyStroke& undo = keys.Items(keys.IndexOfKey('Z', ssCtrl));
  EXPECT_NO_THROW(undo.SetShortCut(scCtrl | 'Z'));
  EXPECT_NO_THROW(item.SetShortCut(0));
  EXPECT_NO_THROW(keys.Add().SetShortCut(0));
  item.SetShortCut(scAlt | scShift | 'Q');
  EXPECT_EQ(item.Key, 'Q');
  EXPECT_EQ(item.Shift, ssAlt | ssShift);
}

TEST(KeyStrokes, DisplayNames)
{
  TtxKeyStrokes keys;
  keys.LoadDefaultKeys();
  EXPECT_EQ(keys.Items(0).GetDisplayName(), "ecUp - Up");
  EXPECT_EQ(keys.Items(9).GetDisplayName(), "ecSelWordLeft - Shift+Ctrl+Left");
  EXPECT_EQ(keys.Items(38).GetDisplayName(), "ecRedo - Shift+Alt+BkSp");
  TtxKeyStrokes other;
  TtxKeyStroke& item = other.Add();
  item.SetCommand(1500);
  item.SetShortCut(scCtrl | 'Z');
  EXPECT_EQ(item.GetDisplayName(), "1500 - Ctrl+Z");
}

TEST(KeyStrokes, AssignCopiesEveryItemInOrder)
{
  TtxKeyStrokes keys, copy;
  keys.LoadDefaultKeys();
  copy.Add();
  copy.Assign(keys);
  ASSERT_EQ(copy.Count(), keys.Count());
  for (int i = 0; i < keys.Count(); ++i) {
    EXPECT_EQ(copy.Items(i).ShortCut(), keys.Items(i).ShortCut());
    EXPECT_EQ(copy.Items(i).Command(), keys.Items(i).Command());
  }
}

} // namespace
