// Scans arbitrary bytes line by line with the HTML highlighter, starting in the range named by
// the first byte. Tokens must follow one another without gaps or overlaps, stay inside the
// line, and every line must end after a bounded number of tokens.
#include "editor/HTMLHighlighter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

#define Check(ok)                                                                                  \
  do {                                                                                             \
    if (!(ok)) {                                                                                   \
      std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #ok);                        \
      std::abort();                                                                                \
    }                                                                                              \
  } while (0)

void ScanLine(TtxHTMLHighlighter& h, std::string_view line, int number)
{
  // The scanner reads up to the first zero byte, as its line buffer is zero-terminated.
  const size_t visible = line.substr(0, line.find('\0')).size();
  int expected = 0, tokens = 0;
  for (h.StartLine(line, number); !h.AtLineEnd(); h.NextToken()) {
    Check(h.TokenStart() == expected);
    std::string_view text = h.CurrentTokenText();
    Check(size_t(h.TokenStart()) + text.size() <= visible);
    Check(line.substr(size_t(h.TokenStart()), text.size()) == text);
    expected = h.TokenStart() + int(text.size());
    // Empty tokens only come from a state change, so each position is seen a few times at most.
    Check(++tokens <= 4 * int(visible) + 4);
  }
  Check(h.TokenStart() == expected && size_t(expected) == visible);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  TtxHTMLHighlighter h;
  h.RestoreRange(data[0] % 8);
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    ScanLine(h, line, number++);
    if (end == std::string_view::npos)
      break;
    text.remove_prefix(end + 1);
  }
  return 0;
}
