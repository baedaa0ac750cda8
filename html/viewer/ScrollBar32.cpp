#include "html/viewer/ScrollBar32.h"

#include <algorithm>

T32ScrollBar::T32ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
}

int32_t T32ScrollBar::TopPosition() const
{
  return std::max(FMin, FMax - FPage + 1);
}

void T32ScrollBar::SetParams(int32_t min, int32_t max, int32_t page, int32_t largeChange)
{
  FMin = min;
  FMax = std::max(min, max);
  FPage = std::max(1, page);
  setPageStep(std::max(1, largeChange));
  setRange(FMin, TopPosition());
}

void T32ScrollBar::SetPosition(int32_t position)
{
  setValue(std::clamp(position, FMin, TopPosition()));
}
