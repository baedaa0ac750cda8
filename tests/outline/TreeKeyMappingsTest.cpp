#include "outline/TreeKeyMappings.h"

#include <gtest/gtest.h>

namespace {

TEST(TreeKeyMappings, DefaultsMatchTheirKeys)
{
  struct TCase {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    TTreeAction Action;
  };
  const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                              ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
  const TCase cases[] = {
      {Qt::Key_Insert, ctrl | shift, TTreeAction::AddNode},
      {Qt::Key_Delete, shift, TTreeAction::DeleteNode},
      {Qt::Key_Insert, shift, TTreeAction::InsertNode},
      {Qt::Key_Insert, ctrl, TTreeAction::AddChildNode},
      {Qt::Key_D, ctrl, TTreeAction::DuplicateNode},
      {Qt::Key_F2, none, TTreeAction::EditNode},
      {Qt::Key_F, ctrl, TTreeAction::FindNode},
      {Qt::Key_O, ctrl, TTreeAction::LoadTree},
      {Qt::Key_S, ctrl, TTreeAction::SaveTree},
      {Qt::Key_S, ctrl | alt, TTreeAction::SaveTreeAs},
      {Qt::Key_C, ctrl | alt, TTreeAction::CloseTree},
      // A key pad press carries a modifier of its own that shortcuts ignore.
      {Qt::Key_Insert, ctrl | Qt::KeypadModifier, TTreeAction::AddChildNode},
  };
  TTreeKeyMappings mappings;
  for (const TCase& c : cases) {
    std::optional<TTreeAction> action = mappings.Match(c.Key, c.Modifiers);
    ASSERT_TRUE(action.has_value()) << c.Key;
    EXPECT_EQ(*action, c.Action) << c.Key;
  }
}

TEST(TreeKeyMappings, OtherKeysAndModifierSetsMatchNothing)
{
  TTreeKeyMappings mappings;
  EXPECT_FALSE(mappings.Match(Qt::Key_Insert, Qt::NoModifier));
  EXPECT_FALSE(mappings.Match(Qt::Key_Delete, Qt::NoModifier));
  EXPECT_FALSE(mappings.Match(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier));
  EXPECT_FALSE(mappings.Match(Qt::Key_F2, Qt::AltModifier));
  EXPECT_FALSE(mappings.Match(Qt::Key_S, Qt::AltModifier));
}

TEST(TreeKeyMappings, FirstEqualMappingInOrderWins)
{
  TTreeKeyMappings mappings;
  // Give the last three the same key as an earlier one: the earlier action runs.
  mappings.SaveTree = mappings.DuplicateNode;
  mappings.CloseTree = TTreeKeyMappings::FromText("F5");
  mappings.EditNode = TTreeKeyMappings::FromText("F5");
  EXPECT_EQ(mappings.Match(Qt::Key_D, Qt::ControlModifier), TTreeAction::DuplicateNode);
  EXPECT_EQ(mappings.Match(Qt::Key_F5, Qt::NoModifier), TTreeAction::EditNode);
  EXPECT_FALSE(mappings.Match(Qt::Key_F2, Qt::NoModifier));
  // An emptied mapping never matches, whatever is pressed.
  mappings.AddNode = TTreeKeyMappings::FromText("");
  EXPECT_FALSE(mappings.Match(0, Qt::NoModifier));
  EXPECT_EQ(mappings.Shortcut(TTreeAction::FindNode), TTreeKeyMappings::FromText("Ctrl+F"));
}

} // namespace
