#include "outline/TreeKeyMappings.h"

#include <QKeySequence>

namespace {

constexpr Qt::KeyboardModifiers ShortcutModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

} // namespace

QKeyCombination TTreeKeyMappings::FromText(const QString& text)
{
  QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
  return sequence.isEmpty() ? QKeyCombination::fromCombined(0) : sequence[0];
}

TTreeKeyMappings::TTreeKeyMappings()
    : AddNode(FromText("Ctrl+Shift+Ins")), DeleteNode(FromText("Shift+Del")),
      InsertNode(FromText("Shift+Ins")), AddChildNode(FromText("Ctrl+Ins")),
      DuplicateNode(FromText("Ctrl+D")), EditNode(FromText("F2")), FindNode(FromText("Ctrl+F")),
      LoadTree(FromText("Ctrl+O")), SaveTree(FromText("Ctrl+S")),
      SaveTreeAs(FromText("Ctrl+Alt+S")), CloseTree(FromText("Ctrl+Alt+C"))
{
}

QKeyCombination& TTreeKeyMappings::Shortcut(TTreeAction action)
{
  QKeyCombination* all[TreeActionCount] = {&AddNode,       &DeleteNode, &InsertNode, &AddChildNode,
                                           &DuplicateNode, &EditNode,   &FindNode,   &LoadTree,
                                           &SaveTree,      &SaveTreeAs, &CloseTree};
  return *all[int(action)];
}

const QKeyCombination& TTreeKeyMappings::Shortcut(TTreeAction action) const
{
  return const_cast<TTreeKeyMappings*>(this)->Shortcut(action);
}

std::optional<TTreeAction> TTreeKeyMappings::Match(int key, Qt::KeyboardModifiers modifiers) const
{
  QKeyCombination pressed(modifiers & ShortcutModifiers, Qt::Key(key));
  for (int i = 0; i < TreeActionCount; ++i) {
    const QKeyCombination& shortcut = Shortcut(TTreeAction(i));
    if (shortcut.toCombined() != 0 && shortcut == pressed)
      return TTreeAction(i);
  }
  return std::nullopt;
}
