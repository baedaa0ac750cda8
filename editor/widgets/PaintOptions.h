#pragma once
// The editor's published paint options: the selection colours and the gutter. Every setter
// that stores a different value fires OnChange, which the editor answers with a repaint.
#include "base/Color.h"

#include <functional>
#include <string>

class TtxSelectedColor {
public:
  TColor Background() const { return FBackground; }
  void SetBackground(TColor value);
  TColor Foreground() const { return FForeground; }
  void SetForeground(TColor value);
  std::function<void()> OnChange;

private:
  TColor FBackground = clHighlight;
  TColor FForeground = clHighlightText;
};

class TtxGutter {
public:
  TColor Color() const { return FColor; }
  void SetColor(TColor value) { Set(FColor, value); }
  int Width() const { return FWidth; }
  void SetWidth(int value) { Set(FWidth, value); }
  bool ShowLineNumbers() const { return FShowLineNumbers; }
  void SetShowLineNumbers(bool value) { Set(FShowLineNumbers, value); }
  int DigitCount() const { return FDigitCount; }
  void SetDigitCount(int value) { Set(FDigitCount, value); }
  bool LeadingZeros() const { return FLeadingZeros; }
  void SetLeadingZeros(bool value) { Set(FLeadingZeros, value); }
  bool ZeroStart() const { return FZeroStart; }
  void SetZeroStart(bool value) { Set(FZeroStart, value); }
  int LeftOffset() const { return FLeftOffset; }
  void SetLeftOffset(int value) { Set(FLeftOffset, value); }
  int RightOffset() const { return FRightOffset; }
  void SetRightOffset(int value) { Set(FRightOffset, value); }
  // Copies every value (and fires OnChange once).
  void Assign(const TtxGutter& source);

  // Line `line` as the gutter shows it: right-aligned in DigitCount characters.
  std::string FormatLineNumber(int line) const;
  // The gutter's width in pixels for a cell width.
  int RealGutterWidth(int cellWidth) const;

  std::function<void()> OnChange;

private:
  template <class T> void Set(T& field, T value)
  {
    if (field == value)
      return;
    field = value;
    if (OnChange)
      OnChange();
  }

  TColor FColor = clBtnFace;
  int FWidth = 30;
  bool FShowLineNumbers = false;
  int FDigitCount = 4;
  bool FLeadingZeros = false;
  bool FZeroStart = false;
  int FLeftOffset = 16;
  int FRightOffset = 2;
};
