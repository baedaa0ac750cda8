#pragma once
// A panel a page asks for (PANEL tag); the host puts its own control on it.
#include "html/model/FloatingObj.h"

#include <QFrame>
#include <QPointer>
#include <string>

class TAttributeList;
class TSectionList;

class ThvPanel : public QFrame {
public:
  explicit ThvPanel(QWidget* parent);
  bool PanelShown = true;
};

class TPanelObj : public TFloatingObj {
public:
  TPanelObj(TSectionList* list, int32_t pos, const TAttributeList& attributes);
  // A panel with explicit size and source (used where no attribute list exists).
  TPanelObj(TSectionList* list, int32_t pos, int32_t width, int32_t height, const std::string& src);
  ~TPanelObj() override;

  QPointer<ThvPanel> Panel; // parented to the paint target; freed with this object
  std::string AltText;
  TSectionList* ParentList = nullptr;
  bool Placed = false; // moved into place by the last paint

  // On screen moves the panel to (x, y) and shows it; when printing draws its frame.
  void Paint(TCanvas& canvas, int32_t x, int32_t y);
  std::unique_ptr<TFloatingObj> CloneForPrint(TSection* section) const override;
  const char* KindName() const override { return "panel"; }

private:
  std::unique_ptr<ThvPanel> FOrphan; // held here only when there is no parent widget
  void CreatePanel(int32_t width, int32_t height, const std::string& name, const std::string& src);
};
