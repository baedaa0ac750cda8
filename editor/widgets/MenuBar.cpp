#include "editor/widgets/MenuBar.h"

#include <QMenu>
#include <QToolButton>

TMenuBar::TMenuBar(QWidget* parent) : QToolBar(parent)
{
  setMovable(false);
  setFloatable(false);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
  setStyleSheet("QToolBar { border: none; }");
}

void TMenuBar::SetMenu(QMenu* value)
{
  if (value == FMenu)
    return;
  FMenu = value;
  Rebuild();
}

void TMenuBar::Rebuild()
{
  clear();
  if (!FMenu)
    return;
  for (QAction* item : FMenu->actions()) {
    auto* button = new QToolButton(this);
    button->setDefaultAction(item);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setAutoRaise(true);
    // Like a menu bar's items, the buttons leave the keyboard focus where it is.
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumSize(ButtonWidth, ButtonHeight);
    // The drop-down arrow would hide that these are menus, as in a menu bar.
    button->setStyleSheet("QToolButton::menu-indicator { image: none; width: 0px; }");
    addWidget(button);
  }
}
