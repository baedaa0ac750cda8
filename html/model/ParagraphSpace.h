#pragma once
// Vertical spaces between blocks (paragraphs, headings) and the page-break marker. Heights are
// given at a 12-point default and scale with the document's default font size.
#include "html/model/SectionBase.h"

class TParagraphSpace : public TSectionBase {
public:
  explicit TParagraphSpace(TDocument* doc);
  TParagraphSpace(TDocument* masterDoc, const TParagraphSpace& source);
  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  void CopySelection(ClipBuffer& clip) override;
  void Attached() override;
  const char* KindName() const override { return "ParagraphSpace"; }
};

class THeadingSpace : public TSectionBase {
public:
  THeadingSpace(TDocument* doc, int level);
  THeadingSpace(TDocument* masterDoc, const THeadingSpace& source);
  int HeadingLevel;
  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  void CopySelection(ClipBuffer& clip) override;
  void Attached() override;
  const char* KindName() const override { return "HeadingSpace"; }
};

class TPage : public TSectionBase {
public:
  explicit TPage(TDocument* doc);
  TPage(TDocument* masterDoc, const TPage& source);
  std::unique_ptr<TSectionBase> CloneForPrint(TDocument* masterDoc) const override;
  int32_t Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                int32_t Y) override;
  const char* KindName() const override { return "Page"; }
};

// Scales a height given at the 12-point default to the document's default font size.
int32_t ScaledHeight(const TDocument* doc, int32_t at12);
