// Tokenizes arbitrary bytes until the end, the way the document builder drives the tokenizer:
// modes switched by the tags that set them, raw readers after TEXTAREA, SCRIPT and SELECT, and
// (when the first byte asks for it) an include handler that answers with bytes of the input.
#include "base/CodePage.h"
#include "base/Exceptions.h"
#include "html/parser/TokenDump.h"
#include "html/parser/Tokenizer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

enum TFlags : uint8_t {
  fIncludes = 1,
  fRawScript = 2,
  fRawReaders = 4,
  fPre = 8,
  fNoWrap = 16,
  fUtf8Refs = 32, // references read as in a UTF-8 document whatever the bytes say
};

// Reports the broken rule with its line before stopping the run.
#define Check(ok)                                                                                  \
  do {                                                                                             \
    if (!(ok)) {                                                                                   \
      std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #ok);                        \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)

// Every character of a token comes from the document, so its position lies inside it.
void CheckToken(const TTokenizer& tok, size_t docSize)
{
  const TokenObj& t = tok.CurToken();
  if (tok.CurSym() == symText || tok.CurSym() == symOtherChar)
    Check(t.Leng() > 0);
  Check(t.Leng() <= TTokenizer::MaxTextToken + 8);
  for (int k = 0; k < t.Leng(); ++k)
    Check(t.Position(k) >= 0 && size_t(t.Position(k)) < docSize);
  Check(tok.HeadingDigit() >= 0 && tok.HeadingDigit() <= 6);
  for (const auto& a : tok.Attributes())
    Check(IsAttributeSymbol(a->Sym));
}

void FollowModes(TTokenizer& tok, uint8_t flags)
{
  switch (tok.CurSym()) {
  case symPRE: tok.PreMode = (flags & fPre) != 0; break;
  case symPREEnd: tok.PreMode = false; break;
  case symNOBR: tok.NoWrapMode = (flags & fNoWrap) != 0; break;
  case symNOBREnd: tok.NoWrapMode = false; break;
  default: break;
  }
}

// Runs the raw reader that belongs to the current tag, if any; true when one ran.
bool RunRawReader(TTokenizer& tok)
{
  switch (tok.CurSym()) {
  case symTEXTAREA: {
    auto lines = tok.ReadTextAreaLines();
    for (const auto& l : lines)
      Check(l.find('\r') == std::string::npos);
    return true;
  }
  case symSCRIPT: tok.ReadScriptBody(); return true;
  case symSELECT: {
    auto options = tok.ReadSelectOptions();
    for (const auto& o : options)
      Check(!o.Text.empty() && o.Text.size() <= 255);
    return tok.CurSym() != symEof;
  }
  default: return false;
  }
}

// Exactly sized heap copies, so that a read past the end is caught by the address checker.
using TBytes = std::vector<char>;

void Tokenize(const TBytes& doc, uint8_t flags, const std::vector<TBytes>& answers)
{
  size_t next = 0, calls = 0, longest = 0;
  for (const auto& a : answers)
    longest = std::max(longest, a.size());
  TIncludeType include;
  if (flags & fIncludes)
    include = [&](QObject*, const std::string&, std::vector<std::string>, const char*& buffer,
                  int32_t& size) {
      ++calls;
      if (answers.empty())
        return;
      const TBytes& a = answers[next++ % answers.size()];
      buffer = a.data();
      size = int32_t(a.size());
    };

  TTokenizer tok;
  tok.BeginBuffer(doc.data(), int64_t(doc.size()), include);
  tok.RawScriptBody = (flags & fRawScript) != 0;
  // Positions count the bytes of the text read: a UTF-16 document is read as UTF-8.
  const size_t docSize = size_t(tok.SourceLength());
  if (flags & fUtf8Refs)
    tok.RefCharset = codepage::CharsetUtf8;
  size_t tokens = 0;
  try {
    tok.Prime();
    while (tok.CurSym() != symEof) {
      CheckToken(tok, docSize);
      (void)DescribeToken(tok);
      if (tok.CurSym() == symText) {
        TColor color;
        ParseColor(tok.CurToken().Chars(), color);
      }
      FollowModes(tok, flags);
      if ((flags & fRawReaders) && RunRawReader(tok)) {
        Check(!tok.ScriptMode);
        if (tok.CurSym() == symEof)
          break;
      }
      tok.NextToken();
      // Every token takes at least one byte of the document or of an answer.
      Check(++tokens <= docSize + calls * longest + 2);
    }
  } catch (const EParseError&) {
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  uint8_t flags = data[0];
  const char* rest = reinterpret_cast<const char*>(data + 1);
  const char* end = rest + (size - 1);
  const char* docEnd = end;
  std::vector<TBytes> answers;
  if (flags & fIncludes) {
    // The input after the first 0xFF byte gives the answers, separated by 0xFE bytes.
    docEnd = std::find(rest, end, '\xFF');
    if (docEnd != end) {
      const char* start = docEnd + 1;
      for (;;) {
        const char* sep = std::find(start, end, '\xFE');
        answers.emplace_back(start, sep);
        if (sep == end)
          break;
        start = sep + 1;
      }
    }
  }
  Tokenize(TBytes(rest, docEnd), flags, answers);
  return 0;
}
