#pragma once
// Deterministic generators of large HTML 3.2 documents for the benchmarks. The same seed always
// gives the same bytes, so figures from two runs compare the same work.
#include <cstddef>
#include <cstdint>
#include <string>

namespace docgen {

// Running text: headings, paragraphs with B/I/FONT/A, nested lists, PRE, BR and HR, until the
// document is at least targetBytes long.
std::string TextDocument(size_t targetBytes, uint32_t seed = 1);

// One table of `rows` rows and `cols` columns of short text cells.
std::string LongTable(int rows, int cols, uint32_t seed = 2);

// Tables nested `depth` deep, repeated until targetBytes.
std::string NestedTables(int depth, size_t targetBytes, uint32_t seed = 3);

// `count` small tables with percentage widths, separated by paragraphs.
std::string ManySmallTables(int count, uint32_t seed = 4);

} // namespace docgen
