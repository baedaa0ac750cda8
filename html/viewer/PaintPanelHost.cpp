#include "html/viewer/PaintPanelHost.h"

#include "platform/widgets/LazyFormWidget.h"
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
  if (!FFormWidgets)
    FFormWidgets = std::make_shared<TLazyFormWidgetList>();
  return std::make_unique<TLazyFormWidget>(kind, FSurface, FFormWidgets);
}
