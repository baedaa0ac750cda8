#pragma once
// A tool bar that shows the top items of a main menu as flat buttons with captions; each
// button drops down its item's menu.
#include <QToolBar>

class QMenu;

class TMenuBar : public QToolBar {
  Q_OBJECT
public:
  explicit TMenuBar(QWidget* parent = nullptr);

  // The main menu: its actions that carry a menu are the top items. Not owned.
  QMenu* Menu() const { return FMenu; }
  void SetMenu(QMenu* value);
  int ButtonHeight = 24;
  int ButtonWidth = 39;

private:
  void Rebuild();

  QMenu* FMenu = nullptr;
};
