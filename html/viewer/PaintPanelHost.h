#pragma once
// The viewer's paint panel as the document sees it: panels are made on it and repaints are
// asked of it.
#include "platform/EmbeddedControl.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class TPaintPanelHost : public TControlHost {
public:
  explicit TPaintPanelHost(QWidget* surface) : FSurface(surface) {}
  std::unique_ptr<TPanelControl> CreatePanel() override;
  std::unique_ptr<TFormWidget> CreateFormWidget(TFormWidgetKind kind) override;
  void Invalidate(const QRect& r) override;

private:
  QPointer<QWidget> FSurface;
  // Form widgets are made when first shown, focused or clicked; this keeps their page order.
  std::shared_ptr<struct TLazyFormWidgetList> FFormWidgets;
};
