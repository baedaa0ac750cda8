#pragma once
// Vertical spaces between blocks (paragraphs, headings) and the page-break marker. Heights are
// given at a 12-point default and scale with the document's default font size.
#include "html/model/SectionBase.h"

class TParagraphSpace : public TSectionBase {
public:
  explicit TParagraphSpace(TSectionList* list);
  TParagraphSpace(TSectionList* masterList, const TParagraphSpace& source);
  std::unique_ptr<TSectionBase> CloneForPrint(TSectionList* masterList) const override;
  void CopySelection() override;
  void Attached() override;
  const char* KindName() const override { return "ParagraphSpace"; }
};

class THeadingSpace : public TSectionBase {
public:
  THeadingSpace(TSectionList* list, int level);
  THeadingSpace(TSectionList* masterList, const THeadingSpace& source);
  int HeadingLevel;
  std::unique_ptr<TSectionBase> CloneForPrint(TSectionList* masterList) const override;
  void CopySelection() override;
  void Attached() override;
  const char* KindName() const override { return "HeadingSpace"; }
};

class TPage : public TSectionBase {
public:
  explicit TPage(TSectionList* list);
  TPage(TSectionList* masterList, const TPage& source);
  std::unique_ptr<TSectionBase> CloneForPrint(TSectionList* masterList) const override;
  int32_t Paint(TCanvas& canvas, const QRect& clip, IndentManager& indent, int32_t X,
                int32_t Y) override;
  const char* KindName() const override { return "Page"; }
};

// Scales a height given at the 12-point default to the list's default font size.
int32_t ScaledHeight(const TSectionList* list, int32_t at12);
