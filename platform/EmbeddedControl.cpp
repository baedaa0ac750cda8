#include "platform/EmbeddedControl.h"

#include "platform/FormWidget.h"

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

std::unique_ptr<TFormWidget> TControlHost::CreateFormWidget(TFormWidgetKind kind)
{
  (void)kind;
  return nullptr;
}
