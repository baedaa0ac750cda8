#include "html/parser/TokenDump.h"

#include "base/Exceptions.h"
#include "html/parser/Tokenizer.h"

#include <cstdio>
#include <iostream>

namespace {

// Printable bytes as they are, others as \xNN, so that every token stays on one line.
void AppendEscaped(std::string& line, std::string_view text)
{
  for (unsigned char c : text) {
    if (c < 32 || c > 126) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      line += hex;
    } else {
      line += char(c);
    }
  }
}

void AppendCharToken(std::string& line, const char* kind, const TokenObj& token)
{
  line += kind;
  line += " @";
  line += std::to_string(token.Empty() ? -1 : token.Position(0));
  line += " \"";
  AppendEscaped(line, token.Chars());
  line += '"';
}

void AppendAttributes(std::string& line, const TAttributeList& attributes)
{
  for (const auto& a : attributes) {
    line += ' ';
    if (a->Sym == symUnknownAttr) {
      line += '?';
      line += a->Name;
    } else {
      line += SymbolWord(a->Sym);
    }
    line += '=';
    line += std::to_string(a->Num);
    line += ":\"";
    AppendEscaped(line, a->Text);
    line += '"';
  }
}

} // namespace

std::string DescribeToken(const TTokenizer& tokenizer)
{
  std::string line;
  TSymbol sym = tokenizer.CurSym();
  switch (sym) {
  case symText: AppendCharToken(line, "TEXT", tokenizer.CurToken()); break;
  case symOtherChar: AppendCharToken(line, "OTHER", tokenizer.CurToken()); break;
  case symEof: line = "EOF"; break;
  case symUnknownTag: line = "UNKNOWN"; break;
  default:
    line = IsEndTag(sym) ? "</" : "<";
    line += SymbolWord(sym);
    if (tokenizer.HeadingDigit() > 0 && StartSymbolOf(sym) == symH)
      line += char('0' + tokenizer.HeadingDigit());
    if (TagTakesAttributes(sym))
      AppendAttributes(line, tokenizer.Attributes());
    break;
  }
  return line;
}

void DumpTokenStream(TTokenizer& tokenizer, std::ostream& out)
{
  try {
    tokenizer.Prime();
    for (;;) {
      out << DescribeToken(tokenizer) << '\n';
      if (tokenizer.CurSym() == symEof)
        break;
      tokenizer.NextToken();
    }
  } catch (const EParseError& e) {
    out << "ERROR " << e.what() << '\n';
  }
}

int DumpTokens(const std::string& path, std::ostream& out)
{
  TTokenizer tokenizer;
  try {
    tokenizer.BeginFile(path);
  } catch (const ELumoraError& e) {
    std::cerr << "error: " << e.what() << '\n';
    return 1;
  }
  DumpTokenStream(tokenizer, out);
  return 0;
}
