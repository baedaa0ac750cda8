#include "platform/widgets/WidgetControl.h"

#include <QPalette>

ThvPanel::ThvPanel(QWidget* parent) : QFrame(parent)
{
  setGeometry(-400, -400, 30, 20);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  setAutoFillBackground(true);
}

TPanelWidgetControl::TPanelWidgetControl(QWidget* parent)
    : TWidgetControlOf<TPanelControl>(new ThvPanel(parent))
{
  Panel()->hide();
}

bool TPanelWidgetControl::PanelShown() const
{
  return Panel() && Panel()->PanelShown;
}

void TPanelWidgetControl::SetData(const std::string& data)
{
  if (Panel())
    Panel()->Data = data;
}

TColor TPanelWidgetControl::Color() const
{
  return Panel() ? FromQColor(Panel()->palette().color(QPalette::Window)) : clWhite;
}
