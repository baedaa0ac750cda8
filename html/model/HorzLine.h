#pragma once
// A horizontal rule (HR).
#include "base/Color.h"
#include "html/model/Alignment.h"
#include "html/model/SectionBase.h"

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
};
