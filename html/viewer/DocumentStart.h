#pragma once
// The start of a long document read on its own: enough of it for a first screen, cut where a
// tag begins, so that no tag, word or character is split at the cut.
#include <cstdint>
#include <string>
#include <string_view>

namespace docstart {

// Files up to this size are read whole at once: reading a start of them first saves nothing.
constexpr int64_t WholeUpTo = 256 * 1024;
// The first start read, and the most a start may grow to while it does not fill a screen; always
// less than WholeUpTo, so a start is never the whole of a file.
constexpr int64_t FirstPart = 16 * 1024;
constexpr int64_t MostPart = 128 * 1024;

// Where to cut bytes read from a document's start: before the last '<' in their second half,
// else after the last line break there, else before a last character that is not plain ASCII
// (it may be cut short); the whole length when none of these is found.
size_t CutPoint(std::string_view bytes);

// Reads up to `bytes` bytes from the start of fileName into text, cut at CutPoint unless the file
// ended before. False when
// the file cannot be read, or starts with a UTF-16 byte-order mark (its bytes cannot be cut
// this way).
bool Read(const std::string& fileName, int64_t bytes, std::string& text);

} // namespace docstart
