#include "html/model/ParagraphSpace.h"

#include "base/MulDiv.h"
#include "html/model/Document.h"
#include "html/model/SelTextCount.h"
#include "platform/Canvas.h"

int32_t ScaledHeight(const TDocument* doc, int32_t at12)
{
  return MulDiv(at12, doc ? doc->BodyFontSize : 12, 12);
}

namespace {
void CopyLineEnd(ClipBuffer& clip)
{
  clip.AddText("\r\n", 2);
}
} // namespace

TParagraphSpace::TParagraphSpace(TDocument* doc) : TSectionBase(doc)
{
}

TParagraphSpace::TParagraphSpace(TDocument* masterDoc, const TParagraphSpace& source)
    : TSectionBase(masterDoc, source)
{
}

std::unique_ptr<TSectionBase> TParagraphSpace::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<TParagraphSpace>(masterDoc, *this);
}

void TParagraphSpace::CopySelection(ClipBuffer& clip)
{
  CopyLineEnd(clip);
}

void TParagraphSpace::Attached()
{
  FlowHeight = ScaledHeight(Doc, 14);
}

THeadingSpace::THeadingSpace(TDocument* doc, int level) : TSectionBase(doc), HeadingLevel(level)
{
}

THeadingSpace::THeadingSpace(TDocument* masterDoc, const THeadingSpace& source)
    : TSectionBase(masterDoc, source), HeadingLevel(source.HeadingLevel)
{
}

std::unique_ptr<TSectionBase> THeadingSpace::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<THeadingSpace>(masterDoc, *this);
}

void THeadingSpace::CopySelection(ClipBuffer& clip)
{
  CopyLineEnd(clip);
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
  FlowHeight = ScaledHeight(Doc, h);
}

TPage::TPage(TDocument* doc) : TSectionBase(doc)
{
}

TPage::TPage(TDocument* masterDoc, const TPage& source) : TSectionBase(masterDoc, source)
{
}

std::unique_ptr<TSectionBase> TPage::CloneForPrint(TDocument* masterDoc) const
{
  return std::make_unique<TPage>(masterDoc, *this);
}

int32_t TPage::Paint(TCanvas& canvas, TPaintContext& ctx, IndentManager& indent, int32_t X,
                     int32_t Y)
{
  int32_t result = TSectionBase::Paint(canvas, ctx, indent, X, Y);
  if (!canvas.Printing || !Doc)
    return result;
  // The printed page ends here and the print loop starts the next page at Y. A break within
  // 5 pixels of the page top is the one that just started this page: it must not end it again.
  int32_t bandTop = ctx.ScrollY + ctx.Clip.top();
  if (Y > bandTop + 5 && Y <= ctx.ScrollY + ctx.Clip.bottom() + 1 && Y < ctx.PageBottom)
    ctx.PageBottom = Y;
  return result;
}
