#include "editor/widgets/PaintOptions.h"

void TtxSelectedColor::SetBackground(TColor value)
{
  if (value == FBackground)
    return;
  FBackground = value;
  if (OnChange)
    OnChange();
}

void TtxSelectedColor::SetForeground(TColor value)
{
  if (value == FForeground)
    return;
  FForeground = value;
  if (OnChange)
    OnChange();
}

void TtxGutter::Assign(const TtxGutter& source)
{
  FColor = source.FColor;
  FWidth = source.FWidth;
  FShowLineNumbers = source.FShowLineNumbers;
  FDigitCount = source.FDigitCount;
  FLeadingZeros = source.FLeadingZeros;
  FZeroStart = source.FZeroStart;
  FLeftOffset = source.FLeftOffset;
  FRightOffset = source.FRightOffset;
  if (OnChange)
    OnChange();
}

std::string TtxGutter::FormatLineNumber(int line) const
{
  std::string digits = std::to_string(FZeroStart ? line - 1 : line);
  if (int(digits.size()) >= FDigitCount)
    return digits;
  return std::string(size_t(FDigitCount) - digits.size(), FLeadingZeros ? '0' : ' ') + digits;
}

int TtxGutter::RealGutterWidth(int cellWidth) const
{
  if (FShowLineNumbers)
    return FLeftOffset + FRightOffset + FDigitCount * cellWidth + 2;
  return FWidth;
}
