#pragma once
// Embedded controls on Qt Widgets: any widget as a document's control, and the page's panel.
#include "platform/EmbeddedControl.h"

#include <QApplication>
#include <QFrame>
#include <QPointer>
#include <QWidget>

// A widget standing in a document. The control owns the widget: it is deleted with the
// control unless Qt has deleted it first (with its parent).
template <class Base> class TWidgetControlOf : public Base {
public:
  explicit TWidgetControlOf(QWidget* widget) : FWidget(widget) {}
  ~TWidgetControlOf() override { delete FWidget.data(); }
  TWidgetControlOf(const TWidgetControlOf&) = delete;
  TWidgetControlOf& operator=(const TWidgetControlOf&) = delete;

  QRect Geometry() const override { return FWidget ? FWidget->geometry() : QRect(); }
  void Move(int32_t x, int32_t y) override
  {
    if (FWidget)
      FWidget->move(x, y);
  }
  void Resize(int32_t width, int32_t height) override
  {
    if (FWidget)
      FWidget->resize(width, height);
  }
  // The widget's own state, whether or not its window is on screen.
  bool Visible() const override { return FWidget && !FWidget->isHidden(); }
  void SetVisible(bool visible) override
  {
    if (FWidget)
      FWidget->setVisible(visible);
  }
  bool HasFocus() const override
  {
    QWidget* focused = QApplication::focusWidget();
    return FWidget && focused && (focused == FWidget || FWidget->isAncestorOf(focused));
  }
  void SetFocus() override
  {
    if (FWidget)
      FWidget->setFocus();
  }
  void SetName(const std::string& name) override
  {
    if (FWidget)
      FWidget->setObjectName(QString::fromLatin1(name.data(), int(name.size())));
  }
  QObject* Object() const override { return FWidget; }
  QWidget* Widget() const { return FWidget; }

private:
  QPointer<QWidget> FWidget;
};

using TWidgetControl = TWidgetControlOf<TEmbeddedControl>;

// The widget of a PANEL: white, with a single plain border, until the host puts its own
// control on it. The host clears PanelShown to keep it off the page.
class ThvPanel : public QFrame {
public:
  explicit ThvPanel(QWidget* parent);
  bool PanelShown = true;
  std::string Data; // the PANEL's DATA attribute: a file for the host's control, as written
};

class TPanelWidgetControl : public TWidgetControlOf<TPanelControl> {
public:
  // A new hidden panel on parent.
  explicit TPanelWidgetControl(QWidget* parent);
  ThvPanel* Panel() const { return static_cast<ThvPanel*>(Widget()); }
  bool PanelShown() const override;
  TColor Color() const override;
  void SetData(const std::string& data) override;
};
