#include "html/model/ParagraphSpace.h"

#include "base/MulDiv.h"
#include "html/model/SectionList.h"
#include "html/model/SelTextCount.h"
#include "platform/Canvas.h"

int32_t ScaledHeight(const TSectionList* list, int32_t at12)
{
  return MulDiv(at12, list ? list->BodyFontSize : 12, 12);
}

namespace {
void CopyLineEnd(TSectionList* list)
{
  if (list && list->Clip)
    list->Clip->AddText("\r\n", 2);
}
} // namespace

TParagraphSpace::TParagraphSpace(TSectionList* list) : TSectionBase(list)
{
}

TParagraphSpace::TParagraphSpace(TSectionList* masterList, const TParagraphSpace& source)
    : TSectionBase(masterList, source)
{
}

std::unique_ptr<TSectionBase> TParagraphSpace::CloneForPrint(TSectionList* masterList) const
{
  return std::make_unique<TParagraphSpace>(masterList, *this);
}

void TParagraphSpace::CopySelection()
{
  CopyLineEnd(ParentSectionList);
}

void TParagraphSpace::Attached()
{
  FlowHeight = ScaledHeight(ParentSectionList, 14);
}

THeadingSpace::THeadingSpace(TSectionList* list, int level)
    : TSectionBase(list), HeadingLevel(level)
{
}

THeadingSpace::THeadingSpace(TSectionList* masterList, const THeadingSpace& source)
    : TSectionBase(masterList, source), HeadingLevel(source.HeadingLevel)
{
}

std::unique_ptr<TSectionBase> THeadingSpace::CloneForPrint(TSectionList* masterList) const
{
  return std::make_unique<THeadingSpace>(masterList, *this);
}

void THeadingSpace::CopySelection()
{
  CopyLineEnd(ParentSectionList);
}

void THeadingSpace::Attached()
{
  int32_t h;
  switch (HeadingLevel) {
  case 1: h = 16; break;
  case 2: h = 12; break;
  case 3: h = 10; break;
  case 5: h = 6; break;
  case 6: h = 4; break;
  default: h = 8; break;
  }
  FlowHeight = ScaledHeight(ParentSectionList, h);
}

TPage::TPage(TSectionList* list) : TSectionBase(list)
{
}

TPage::TPage(TSectionList* masterList, const TPage& source) : TSectionBase(masterList, source)
{
}

std::unique_ptr<TSectionBase> TPage::CloneForPrint(TSectionList* masterList) const
{
  return std::make_unique<TPage>(masterList, *this);
}

int32_t TPage::Paint(TCanvas& canvas, const QRect& clip, IndentManager& indent, int32_t X,
                     int32_t Y)
{
  int32_t result = TSectionBase::Paint(canvas, clip, indent, X, Y);
  TSectionList* list = ParentSectionList;
  if (!canvas.Printing || !list)
    return result;
  // The printed page ends here and the print loop starts the next page at Y. A break within
  // 5 pixels of the page top is the one that just started this page: it must not end it again.
  int32_t bandTop = list->ScrollY + clip.top();
  if (Y > bandTop + 5 && Y <= list->ScrollY + clip.bottom() + 1 && Y < list->PageBottom)
    list->PageBottom = Y;
  return result;
}
