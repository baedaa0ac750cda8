#pragma once
// A readable listing of the tokenizer's symbols, one token per line, for scripts and tests.
#include <iosfwd>
#include <string>

class TTokenizer;

// Tokenizes the file (no include handler) and writes its tokens to `out`, "EOF" last. An
// unterminated comment ends the listing with an ERROR line. Returns 1 (with a message on
// stderr) when the file cannot be read, else 0.
int DumpTokens(const std::string& path, std::ostream& out);

// Lists the tokens of a tokenizer that has been started (Begin*) but not primed.
void DumpTokenStream(TTokenizer& tokenizer, std::ostream& out);

// The listing line of the current token, without the line end.
std::string DescribeToken(const TTokenizer& tokenizer);
