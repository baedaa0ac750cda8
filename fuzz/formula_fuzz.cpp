// Evaluates arbitrary bytes as a formula. The first byte chooses how variables are answered:
// not at all, found with a value taken from the input (including infinities and NaN), or
// found for some names only. Each formula is evaluated twice to check that a run leaves no
// state behind.
#include "outline/MathParser.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

#define Check(ok)                                                                                  \
  do {                                                                                             \
    if (!(ok)) {                                                                                   \
      std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #ok);                        \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)

struct TOutcome {
  long double Value;
  bool HasError;
  int Code;
  int Position;
  int ParseErrors;
  int Asked;
};

long double VariableValue(uint8_t mode, const std::string& name)
{
  switch (mode % 4) {
  case 1: return std::numeric_limits<long double>::infinity();
  case 2: return std::numeric_limits<long double>::quiet_NaN();
  default: return (long double)(name.size()) * (mode % 2 ? -1.5L : 1E300L);
  }
}

TOutcome Run(TqvMathParser& parser, uint8_t mode)
{
  TOutcome out{};
  parser.OnGetVar = nullptr;
  if (mode & 1)
    parser.OnGetVar = [&](QObject*, const std::string& name, long double& value, bool& found) {
      Check(!name.empty() && name.size() <= parser.ParseString.size());
      ++out.Asked;
      if ((mode & 2) && name.size() % 2 == 0)
        return;
      value = VariableValue(mode >> 2, name);
      found = true;
    };
  parser.OnParseError = [&](QObject*, int code) {
    ++out.ParseErrors;
    Check(code == parser.ErrorCode);
  };
  parser.Evaluate();
  out.Value = parser.Value;
  out.HasError = parser.HasError;
  out.Code = parser.ErrorCode;
  out.Position = parser.ErrorPosition;
  return out;
}

void CheckOutcome(const TqvMathParser& parser, const TOutcome& o)
{
  const int code = o.Code;
  Check(code == 0 || code == 1 || (code >= 3 && code <= 7));
  Check(o.ParseErrors == (code != 0 ? 1 : 0));
  Check(!code || o.HasError);
  Check(std::isfinite(o.Value));
  Check(!o.HasError || o.Value == 0);
  Check(o.Position >= 1);
  Check(size_t(o.Position) <= std::min<size_t>(parser.ParseString.size() + 1, 65535));
  Check(size_t(o.Asked) <= parser.ParseString.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  static TqvMathParser parser;
  parser.ParseString.assign(reinterpret_cast<const char*>(data + 1), size - 1);
  TOutcome first = Run(parser, data[0]);
  CheckOutcome(parser, first);
  TOutcome again = Run(parser, data[0]);
  Check(std::memcmp(&first.Value, &again.Value, 10) == 0 || first.Value == again.Value);
  Check(first.HasError == again.HasError && first.Code == again.Code &&
        first.Position == again.Position && first.Asked == again.Asked);
  return 0;
}
