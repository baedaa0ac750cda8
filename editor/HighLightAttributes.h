#pragma once
// One token class of a highlighter: colours and font style, with a callback on change.
#include "base/Color.h"

#include <cstdint>
#include <functional>
#include <string>

class TIniFile;

// Font styles as bits: bold, italic, underline, strike-out.
using TFontStyles = uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

class TtxHighLightAttributes {
public:
  explicit TtxHighLightAttributes(std::string name) : FName(std::move(name)) {}

  TColor Background() const { return FBackground; }
  void SetBackground(TColor value);
  TColor Foreground() const { return FForeground; }
  void SetForeground(TColor value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles value);
  int IntegerStyle() const { return FStyle & 15; }
  void SetIntegerStyle(int value) { SetStyle(TFontStyles(value & 15)); }
  const std::string& Name() const { return FName; }
  void Assign(const TtxHighLightAttributes& source);

  // Kept in the ini store under a section named after the display name (below rootKey).
  // Loading reads only the values that exist; false when none of them does.
  bool LoadFromIni(const TIniFile& ini, const std::string& rootKey);
  void SaveToIni(TIniFile& ini, const std::string& rootKey) const;

  std::function<void()> OnChange;

private:
  void Changed();

  TColor FBackground = clWindow;
  TColor FForeground = clWindowText;
  TFontStyles FStyle = 0;
  std::string FName;
};
