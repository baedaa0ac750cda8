#pragma once
// A horizontal rule (HR).
#include "base/Color.h"
#include "html/model/Alignment.h"
#include "html/model/SectionBase.h"

#include <climits>

class TAttributeList;

class THorzLine : public TSectionBase {
public:
  THorzLine(TDocument* doc, const TAttributeList& attributes);
  // A default rule (tests and callers without attributes).
  explicit THorzLine(TDocument* doc);
  THorzLine(TDocument* masterDoc, const THorzLine& source);

  int32_t RuleSize = 2;
  int32_t RuleWidth = -1;
  bool RulePercent = false;
  TParaAlign RuleAlign = paCenter;
  TColor RuleColor = clBlack;
  bool HasRuleColor = false;
  bool NoShade = false;

  // Applies the attribute values as HR gives them.
  void SetSize(int32_t size);
  void SetWidth(int32_t number, bool percent);
  void SetAlign(const std::string& align);

  // The rule's extent for margins L..R: x and width.
  void Extent(int32_t L, int32_t R, int32_t& x, int32_t& width) const;

  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  void CopySelection(ClipBuffer& clip) override;
  int32_t Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                 int32_t& pos) override;
  int32_t Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                int32_t Y) override;
  void Attached() override;
  const char* KindName() const override { return "HorzLine"; }

private:
  // The cell's margins at the rule, taken at layout as distances from the cell's edges: a paint
  // at the laid-out top needs no walk of the cell's indent records.
  int32_t FLaidY = INT32_MIN;
  int32_t FLeftInset = 0;
  int32_t FRightInset = 0;
  void Margins(const IndentManager& indent, int32_t Y, int32_t& L, int32_t& R) const;
};
