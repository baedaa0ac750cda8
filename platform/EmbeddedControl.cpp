#include "platform/EmbeddedControl.h"

namespace {
constexpr int32_t OutOfSightX = -4000;
} // namespace

void HideUnplaced(TEmbeddedControl& control)
{
  if (control.HasFocus())
    control.Move(OutOfSightX, control.Geometry().y());
  else
    control.SetVisible(false);
}
