#include "Engine.h"

#include "html/model/SectionList.h"
#include "html/parser/Builder.h"
#include "platform/Canvas.h"

namespace benchengine {

std::unique_ptr<TSectionList> Build(const std::string& html)
{
  auto list = std::make_unique<TSectionList>();
  TAnchorList anchors;
  TBuilder builder;
  builder.ParseDocument(TParseSource::FromString(html), *list, anchors);
  return list;
}

int32_t LayoutAt(TSectionList& list, int width)
{
  TCanvas canvas;
  int32_t scrollWidth = 0, pos = 0;
  return list.Layout(canvas, 0, width, scrollWidth, pos);
}

} // namespace benchengine
