#include "DocGen.h"

#include <array>

namespace docgen {
namespace {

// A small linear congruential generator: portable and reproducible across libraries.
class Rng {
public:
  explicit Rng(uint32_t seed) : FState(seed * 2654435761u + 1) {}
  uint32_t Next()
  {
    FState = FState * 1664525u + 1013904223u;
    return FState >> 8;
  }
  int Below(int n) { return int(Next() % uint32_t(n)); }

private:
  uint32_t FState;
};

const std::array<const char*, 48> Words = {
    "lumen",  "paper",   "river", "quiet",  "window",  "garden", "silver", "morning",
    "stone",  "harbour", "lamp",  "letter", "winter",  "copper", "field",  "orchard",
    "signal", "meadow",  "ink",   "candle", "valley",  "thread", "bridge", "compass",
    "anchor", "lantern", "maple", "pebble", "harvest", "timber", "willow", "beacon",
    "a",      "the",     "of",    "and",    "to",      "in",     "is",     "was",
    "for",    "on",      "with",  "as",     "by",      "at",     "from",   "that"};

void AddWords(std::string& out, Rng& rng, int count)
{
  for (int i = 0; i < count; ++i) {
    if (i)
      out += ' ';
    out += Words[size_t(rng.Below(int(Words.size())))];
  }
}

void AddInline(std::string& out, Rng& rng)
{
  switch (rng.Below(6)) {
  case 0:
    out += "<B>";
    AddWords(out, rng, 1 + rng.Below(4));
    out += "</B>";
    break;
  case 1:
    out += "<I>";
    AddWords(out, rng, 1 + rng.Below(4));
    out += "</I>";
    break;
  case 2:
    out += "<FONT SIZE=" + std::to_string(1 + rng.Below(7)) + " COLOR=\"#";
    out += "3366" + std::string(rng.Below(2) ? "cc" : "00") + "\">";
    AddWords(out, rng, 1 + rng.Below(5));
    out += "</FONT>";
    break;
  case 3:
    out += "<A HREF=\"page" + std::to_string(rng.Below(100)) + ".htm\">";
    AddWords(out, rng, 1 + rng.Below(3));
    out += "</A>";
    break;
  default: AddWords(out, rng, 3 + rng.Below(8)); break;
  }
}

void AddParagraph(std::string& out, Rng& rng)
{
  out += "<P>";
  int pieces = 4 + rng.Below(10);
  for (int i = 0; i < pieces; ++i) {
    out += ' ';
    AddInline(out, rng);
    if (rng.Below(25) == 0)
      out += "<BR>";
  }
  out += "\n";
}

void AddList(std::string& out, Rng& rng, int depth)
{
  bool ordered = rng.Below(2);
  out += ordered ? "<OL>\n" : "<UL>\n";
  int items = 2 + rng.Below(5);
  for (int i = 0; i < items; ++i) {
    out += "<LI>";
    AddWords(out, rng, 3 + rng.Below(10));
    out += "\n";
    if (depth < 3 && rng.Below(4) == 0)
      AddList(out, rng, depth + 1);
  }
  out += ordered ? "</OL>\n" : "</UL>\n";
}

void AddPre(std::string& out, Rng& rng)
{
  out += "<PRE>\n";
  int lines = 2 + rng.Below(6);
  for (int i = 0; i < lines; ++i) {
    out += std::string(size_t(rng.Below(8)), ' ');
    AddWords(out, rng, 2 + rng.Below(6));
    out += "\n";
  }
  out += "</PRE>\n";
}

std::string Head(const char* title)
{
  return std::string("<HTML><HEAD><TITLE>") + title + "</TITLE></HEAD>\n<BODY>\n";
}

void AddCellText(std::string& out, Rng& rng)
{
  AddWords(out, rng, 1 + rng.Below(4));
}

void AddNested(std::string& out, Rng& rng, int depth)
{
  out += "<TABLE BORDER=1 CELLPADDING=2>\n";
  for (int r = 0; r < 2; ++r) {
    out += "<TR>";
    for (int c = 0; c < 2; ++c) {
      out += "<TD>";
      if (depth > 1 && r == 0 && c == 0)
        AddNested(out, rng, depth - 1);
      else
        AddCellText(out, rng);
      out += "</TD>";
    }
    out += "</TR>\n";
  }
  out += "</TABLE>\n";
}

} // namespace

std::string TextDocument(size_t targetBytes, uint32_t seed)
{
  Rng rng(seed);
  std::string out = Head("Generated text");
  out.reserve(targetBytes + 4096);
  while (out.size() < targetBytes) {
    int h = 1 + rng.Below(6);
    out += "<H" + std::to_string(h) + ">";
    AddWords(out, rng, 2 + rng.Below(5));
    out += "</H" + std::to_string(h) + ">\n";
    int paras = 2 + rng.Below(6);
    for (int i = 0; i < paras; ++i)
      AddParagraph(out, rng);
    switch (rng.Below(4)) {
    case 0: AddList(out, rng, 1); break;
    case 1: AddPre(out, rng); break;
    case 2: out += "<HR>\n"; break;
    default: break;
    }
  }
  out += "</BODY></HTML>\n";
  return out;
}

std::string LongTable(int rows, int cols, uint32_t seed)
{
  Rng rng(seed);
  std::string out = Head("Generated long table");
  out += "<TABLE BORDER=1 CELLSPACING=2 CELLPADDING=2>\n";
  for (int r = 0; r < rows; ++r) {
    out += "<TR>";
    for (int c = 0; c < cols; ++c) {
      out += "<TD>";
      AddCellText(out, rng);
      out += "</TD>";
    }
    out += "</TR>\n";
  }
  out += "</TABLE>\n</BODY></HTML>\n";
  return out;
}

std::string NestedTables(int depth, size_t targetBytes, uint32_t seed)
{
  Rng rng(seed);
  std::string out = Head("Generated nested tables");
  while (out.size() < targetBytes) {
    AddNested(out, rng, depth);
    out += "<P>";
    AddWords(out, rng, 6);
    out += "\n";
  }
  out += "</BODY></HTML>\n";
  return out;
}

std::string ManySmallTables(int count, uint32_t seed)
{
  Rng rng(seed);
  std::string out = Head("Generated small tables");
  for (int t = 0; t < count; ++t) {
    out += "<TABLE BORDER=1 WIDTH=" + std::to_string(30 + rng.Below(70)) + "%>\n<TR>";
    int cols = 2 + rng.Below(3);
    for (int c = 0; c < cols; ++c) {
      out += "<TD WIDTH=" + std::to_string(100 / cols) + "%>";
      AddCellText(out, rng);
      out += "</TD>";
    }
    out += "</TR>\n</TABLE>\n<P>";
    AddWords(out, rng, 5);
    out += "\n";
  }
  out += "</BODY></HTML>\n";
  return out;
}

} // namespace docgen
