#pragma once
// The eleven shortcuts of the formula tree view. A shortcut is a key with its Shift, Ctrl and
// Alt state; the view compares a released key with them in the fixed order of TTreeAction and
// runs the first that is equal.
#include <QKeyCombination>
#include <QString>

#include <optional>

enum class TTreeAction {
  AddNode,
  DeleteNode,
  InsertNode,
  AddChildNode,
  DuplicateNode,
  EditNode,
  FindNode,
  LoadTree,
  SaveTree,
  SaveTreeAs,
  CloseTree,
};

constexpr int TreeActionCount = 11;

class TTreeKeyMappings {
public:
  TTreeKeyMappings();

  QKeyCombination AddNode;
  QKeyCombination DeleteNode;
  QKeyCombination InsertNode;
  QKeyCombination AddChildNode;
  QKeyCombination DuplicateNode;
  QKeyCombination EditNode;
  QKeyCombination FindNode;
  QKeyCombination LoadTree;
  QKeyCombination SaveTree;
  QKeyCombination SaveTreeAs;
  QKeyCombination CloseTree;

  QKeyCombination& Shortcut(TTreeAction action);
  const QKeyCombination& Shortcut(TTreeAction action) const;

  // The first mapping, in order, equal to the key with the Shift/Ctrl/Alt part of modifiers.
  std::optional<TTreeAction> Match(int key, Qt::KeyboardModifiers modifiers) const;

  // A shortcut from its text ("Ctrl+Shift+Ins"); the empty combination (0, never matched) when
  // the text does not parse.
  static QKeyCombination FromText(const QString& text);
};
