#pragma once
// A panel a page asks for (PANEL tag); the host puts its own control on it.
#include "html/model/FloatingObj.h"
#include "platform/EmbeddedControl.h"

#include <memory>
#include <string>

class TAttributeList;
class TDocument;

class TPanelObj : public TFloatingObj {
public:
  TPanelObj(TDocument* doc, int32_t pos, const TAttributeList& attributes);
  // A panel with explicit size and source (used where no attribute list exists).
  TPanelObj(TDocument* doc, int32_t pos, int32_t width, int32_t height, const std::string& src);
  ~TPanelObj() override;

  // Made by the document's host; none without a host (print copies, documents not shown).
  std::unique_ptr<TPanelControl> Panel;
  // What a print copy draws: the shown flag and colour of the panel it was copied from.
  bool PrintShown = true;
  TColor PrintColor = clWhite;
  std::string AltText;
  TDocument* Doc = nullptr;
  bool Placed = false; // moved into place by the last paint

  // On screen moves the panel to (x, y) and shows it; when printing draws its frame.
  void Paint(TCanvas& canvas, int32_t x, int32_t y);
  std::unique_ptr<TFloatingObj> CloneForPrint(TSection* section) const override;
  const char* KindName() const override { return "panel"; }

private:
  void CreatePanel(int32_t width, int32_t height, const std::string& name, const std::string& src,
                   const std::string& data);
};
