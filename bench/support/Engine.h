#pragma once
// The engine steps the layout benchmarks time: building the model of a page and laying it out.
#include <cstdint>
#include <memory>
#include <string>

class TSectionList;

namespace benchengine {

// Parses html into a new section list with the builder's defaults.
std::unique_ptr<TSectionList> Build(const std::string& html);

// Lays the list out at width on a measuring canvas; returns the document height.
int32_t LayoutAt(TSectionList& list, int width);

} // namespace benchengine
