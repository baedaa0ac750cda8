#include "editor/KeyStrokes.h"

#include <iterator>

TShortCut MakeShortCut(uint16_t key, TShiftState shift)
{
  TShortCut result = key & 0x1FFF;
  if (shift & ssShift)
    result |= scShift;
  if (shift & ssCtrl)
    result |= scCtrl;
  if (shift & ssAlt)
    result |= scAlt;
  return result;
}

namespace {

struct TKeyName {
  uint16_t Key;
  const char* Name;
};

const TKeyName KeyNames[] = {
    {vk::Back, "BkSp"},   {vk::Tab, "Tab"},    {vk::Return, "Enter"}, {vk::Escape, "Esc"},
    {vk::Space, "Space"}, {vk::Prior, "PgUp"}, {vk::Next, "PgDn"},    {vk::End, "End"},
    {vk::Home, "Home"},   {vk::Left, "Left"},  {vk::Up, "Up"},        {vk::Right, "Right"},
    {vk::Down, "Down"},   {vk::Insert, "Ins"}, {vk::Delete, "Del"},
};

std::string KeyText(uint16_t key)
{
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return std::string(1, char(key));
  if (key >= vk::F1 && key < vk::F1 + 24)
    return "F" + std::to_string(key - vk::F1 + 1);
  for (const auto& name : KeyNames)
    if (name.Key == key)
      return name.Name;
  return {};
}

} // namespace

std::string ShortCutToText(TShortCut shortCut)
{
  std::string name = KeyText(shortCut & 0x1FFF);
  if (name.empty())
    return {};
  std::string prefix;
  if (shortCut & scShift)
    prefix += "Shift+";
  if (shortCut & scCtrl)
    prefix += "Ctrl+";
  if (shortCut & scAlt)
    prefix += "Alt+";
  return prefix + name;
}

void TtxKeyStroke::SetShortCut(TShortCut value)
{
  if (value != 0 && FCollection) {
    int index = FCollection->IndexOfShortCut(value);
    if (index >= 0 && &FCollection->Items(index) != this)
      throw EtxKeyError("Shortcut already exists");
  }
  Key = value & 0x1FFF;
  Shift = TShiftState(((value & scShift) ? ssShift : 0) | ((value & scCtrl) ? ssCtrl : 0) |
                      ((value & scAlt) ? ssAlt : 0));
}

void TtxKeyStroke::Assign(const TtxKeyStroke& source)
{
  Key = source.Key;
  Shift = source.Shift;
  FCommand = source.FCommand;
}

std::string TtxKeyStroke::GetDisplayName() const
{
  std::string result = EditorCommandToString(FCommand) + " - " + ShortCutToText(ShortCut());
  return result.empty() ? "TtxKeyStroke" : result;
}

TtxKeyStroke& TtxKeyStrokes::Add()
{
  FItems.push_back(std::make_unique<TtxKeyStroke>(this));
  return *FItems.back();
}

TtxKeyStroke& TtxKeyStrokes::Add(uint16_t key, TShiftState shift, TtxEditorCommand command)
{
  TtxKeyStroke& item = Add();
  item.Key = key;
  item.Shift = shift;
  item.SetCommand(command);
  return item;
}

void TtxKeyStrokes::Assign(const TtxKeyStrokes& source)
{
  if (&source == this)
    return;
  Clear();
  for (const auto& item : source.FItems)
    Add().Assign(*item);
}

int TtxKeyStrokes::IndexOfKey(uint16_t key, TShiftState shift) const
{
  for (int i = 0; i < Count(); ++i)
    if (FItems[i]->Key == key && FItems[i]->Shift == shift)
      return i;
  return -1;
}

int TtxKeyStrokes::IndexOfShortCut(TShortCut shortCut) const
{
  for (int i = 0; i < Count(); ++i)
    if (FItems[i]->ShortCut() == shortCut)
      return i;
  return -1;
}

TtxEditorCommand TtxKeyStrokes::CommandOfKey(uint16_t key, TShiftState shift) const
{
  int index = IndexOfKey(key, shift);
  return index < 0 ? ecNone : FItems[index]->Command();
}

void TtxKeyStrokes::LoadDefaultKeys()
{
  constexpr TShiftState S = ssShift, C = ssCtrl, A = ssAlt, CS = ssCtrl | ssShift;
  struct TBinding {
    uint16_t Key;
    TShiftState Shift;
    TtxEditorCommand Command;
  };
  static const TBinding Defaults[] = {
      {vk::Up, 0, ecUp},
      {vk::Up, S, ecSelUp},
      {vk::Up, C, ecScrollUp},
      {vk::Down, 0, ecDown},
      {vk::Down, S, ecSelDown},
      {vk::Down, C, ecScrollDown},
      {vk::Left, 0, ecLeft},
      {vk::Left, S, ecSelLeft},
      {vk::Left, C, ecWordLeft},
      {vk::Left, CS, ecSelWordLeft},
      {vk::Right, 0, ecRight},
      {vk::Right, S, ecSelRight},
      {vk::Right, C, ecWordRight},
      {vk::Right, CS, ecSelWordRight},
      {vk::Next, 0, ecPageDown},
      {vk::Next, S, ecSelPageDown},
      {vk::Next, C, ecPageBottom},
      {vk::Next, CS, ecSelPageBottom},
      {vk::Prior, 0, ecPageUp},
      {vk::Prior, S, ecSelPageUp},
      {vk::Prior, C, ecPageTop},
      {vk::Prior, CS, ecSelPageTop},
      {vk::Home, 0, ecLineStart},
      {vk::Home, S, ecSelLineStart},
      {vk::Home, C, ecEditorTop},
      {vk::Home, CS, ecSelEditorTop},
      {vk::End, 0, ecLineEnd},
      {vk::End, S, ecSelLineEnd},
      {vk::End, C, ecEditorBottom},
      {vk::End, CS, ecSelEditorBottom},
      {vk::Insert, 0, ecToggleMode},
      {vk::Insert, C, ecCopy},
      {vk::Insert, S, ecPaste},
      {vk::Delete, 0, ecDeleteChar},
      {vk::Delete, S, ecCut},
      {vk::Back, 0, ecDeleteLastChar},
      {vk::Back, C, ecDeleteLastWord},
      {vk::Back, A, ecUndo},
      {vk::Back, A | S, ecRedo},
      {vk::Return, 0, ecLineBreak},
      {'A', C, ecSelectAll},
      {'C', C, ecCopy},
      {'I', CS, ecBlockIndent},
      {'M', C, ecLineBreak},
      {'N', C, ecInsertLine},
      {'T', C, ecDeleteWord},
      {'U', CS, ecBlockUnindent},
      {'V', C, ecPaste},
      {'X', C, ecCut},
      {'Y', C, ecDeleteLine},
      {'Y', CS, ecDeleteEOL},
      {'Z', C, ecUndo},
      {'Z', CS, ecRedo},
  };
  Clear();
  for (const auto& binding : Defaults)
    Add(binding.Key, binding.Shift, binding.Command);
  for (int i = 0; i < 10; ++i)
    Add(uint16_t('0' + i), C, TtxEditorCommand(ecGotoMarker0 + i));
  for (int i = 0; i < 10; ++i)
    Add(uint16_t('0' + i), CS, TtxEditorCommand(ecSetMarker0 + i));
  Add('N', CS, ecNormalSelect);
  Add('C', CS, ecColumnSelect);
  Add('L', CS, ecLineSelect);
}
