#include "html/viewer/PaintPanelHost.h"

#include "platform/widgets/FormWidgets.h"
#include "platform/widgets/WidgetControl.h"

std::unique_ptr<TPanelControl> TPaintPanelHost::CreatePanel()
{
  if (!FSurface)
    return nullptr;
  return std::make_unique<TPanelWidgetControl>(FSurface);
}

void TPaintPanelHost::Invalidate(const QRect& r)
{
  if (!FSurface)
    return;
  if (r.isEmpty())
    FSurface->update();
  else
    FSurface->update(r);
}

std::unique_ptr<TFormWidget> TPaintPanelHost::CreateFormWidget(TFormWidgetKind kind)
{
  if (!FSurface)
    return nullptr;
  return std::make_unique<TQtFormWidget>(kind, FSurface);
}
