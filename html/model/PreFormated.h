#pragma once
// One line of pre-formatted text: kept as written and never wrapped.
#include "html/model/Section.h"

class TPreFormated : public TSection {
public:
  TPreFormated(TDocument* doc, TParaAlign align, const TUrlTarget& link, TFontRef font, int level);
  TPreFormated(TDocument* masterDoc, const TPreFormated& source);

  using TSection::AppendRun;
  void AppendRun(const char* chars, int32_t n, TPositionRuns runs) override;
  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  int32_t Layout(TCanvas& canvas, int32_t Y, IndentManager& indent, int32_t& maxWidth,
                 int32_t& pos) override;
  void WidthRange(TCanvas& canvas, int32_t& min, int32_t& max) override;
  const char* KindName() const override { return "PreFormated"; }
};
