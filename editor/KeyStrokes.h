#pragma once
// The key table: (virtual key, shift state) -> editor command. Keys are the classic platform's
// virtual-key codes, so stored tables and shortcut values read as they always have.
#include "base/Exceptions.h"
#include "editor/EditorCommands.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The shift state as one byte: bit 0 Shift, bit 1 Alt, bit 2 Ctrl.
using TShiftState = uint8_t;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;

using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

namespace vk {
constexpr uint16_t Back = 8, Tab = 9, Return = 13, Escape = 27, Space = 32, Prior = 33, Next = 34,
                   End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45,
                   Delete = 46, F1 = 112;
}

TShortCut MakeShortCut(uint16_t key, TShiftState shift);
// The shortcut as the framework writes it, for example "Ctrl+Z" or "Shift+Ctrl+Up".
std::string ShortCutToText(TShortCut shortCut);

class EtxKeyError : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

class TtxKeyStrokes;

class TtxKeyStroke {
public:
  explicit TtxKeyStroke(TtxKeyStrokes* collection) : FCollection(collection) {}

  uint16_t Key = 0;
  TShiftState Shift = 0;

  TtxEditorCommand Command() const { return FCommand; }
  void SetCommand(TtxEditorCommand value) { FCommand = value; }
  TShortCut ShortCut() const { return MakeShortCut(Key, Shift); }
  // Raises "Shortcut already exists" when another item of the table has the value.
  void SetShortCut(TShortCut value);
  void Assign(const TtxKeyStroke& source);
  std::string GetDisplayName() const;

private:
  TtxKeyStrokes* FCollection;
  TtxEditorCommand FCommand = ecNone;
};

class TtxKeyStrokes {
public:
  TtxKeyStrokes() = default;
  TtxKeyStrokes(const TtxKeyStrokes&) = delete;
  TtxKeyStrokes& operator=(const TtxKeyStrokes&) = delete;

  TtxKeyStroke& Add();
  // Appends key, shift and command in one go (what the default table is made of).
  TtxKeyStroke& Add(uint16_t key, TShiftState shift, TtxEditorCommand command);
  void Assign(const TtxKeyStrokes& source);
  void Clear() { FItems.clear(); }
  int Count() const { return int(FItems.size()); }
  TtxKeyStroke& Items(int index) { return *FItems[index]; }
  const TtxKeyStroke& Items(int index) const { return *FItems[index]; }

  // First item whose key and whole shift set are equal; -1 when none.
  int IndexOfKey(uint16_t key, TShiftState shift) const;
  int IndexOfShortCut(TShortCut shortCut) const;
  // The command bound to a key, ecNone when none.
  TtxEditorCommand CommandOfKey(uint16_t key, TShiftState shift) const;
  void LoadDefaultKeys();

private:
  std::vector<std::unique_ptr<TtxKeyStroke>> FItems;
};
