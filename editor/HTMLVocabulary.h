#pragma once
// The words the HTML highlighter knows: tag names (and end tags) looked up through a small
// hash of the name, and the entity strings it recognises in running text.
#include <cstdint>
#include <string_view>

namespace htmlvocab {

constexpr int KeywordHashSlots = 244;

// The hashing class of a character: "!" 123, "/" 122, letters their alphabet position, else 0.
int HashValue(unsigned char c);

struct THashedName {
  int Hash;
  int Length;
};
// Hashes the name at the start of `text` (a zero-terminated buffer): the run of letters, "!"
// and "/", then the digits that follow.
THashedName HashName(const char* text);

// True when the name of `length` characters at `text` is a known keyword of that hash.
bool IsKeyword(const char* text, int length, int hash);

// How many keywords exist in all (tags, end tags and the document type).
int KeywordCount();

// The entity strings in the order they are tried.
int EntityCount();
std::string_view Entity(int index);
// Index of the first entity that matches at `text` ignoring case, -1 when none.
int MatchEntity(const char* text);

} // namespace htmlvocab
