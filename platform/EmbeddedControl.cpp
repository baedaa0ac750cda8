#include "platform/EmbeddedControl.h"

#include "platform/FormWidget.h"

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
