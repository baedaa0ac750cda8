#pragma once
// Parsing snippets into a fresh section list and describing the result compactly, so that
// builder tests can state the expected block structure in one line.
#include "html/model/ListItem.h"
#include "html/model/ParagraphSpace.h"
#include "html/model/PreFormated.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "html/model/htmlTable.h"
#include "html/parser/Builder.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace buildertest {

struct TParsed {
  std::unique_ptr<TSectionList> List = std::make_unique<TSectionList>();
  TAnchorList Anchors;
  TBuilder Builder;
};

inline std::unique_ptr<TParsed> Parse(const std::string& html, const TParseEvents& events = {})
{
  auto p = std::make_unique<TParsed>();
  p->Builder.ParseDocument(TParseSource::FromString(html), *p->List, p->Anchors, events);
  return p;
}

std::string Summary(const TCell& cell);

// Text of a section with placeholders shown as '#' and the empty-line space kept.
inline std::string SectionText(const TSection& s)
{
  std::string t;
  for (char c : s.Chars)
    t += placeholder::IsObject(c) ? '#' : c;
  return t;
}

inline std::string ItemSummary(const TSectionBase& item)
{
  std::ostringstream o;
  if (auto* t = dynamic_cast<const ThtmlTable*>(&item)) {
    o << "T{";
    bool firstRow = true;
    for (const auto& row : t->Rows) {
      if (!firstRow)
        o << '/';
      firstRow = false;
      bool firstCell = true;
      for (const auto& cell : *row) {
        if (!firstCell)
          o << '|';
        firstCell = false;
        if (cell->Content)
          o << Summary(*cell->Content);
      }
    }
    o << '}';
  } else if (auto* h = dynamic_cast<const THeadingSpace*>(&item)) {
    o << 'H' << h->HeadingLevel;
  } else if (dynamic_cast<const TParagraphSpace*>(&item)) {
    o << 'P';
  } else if (dynamic_cast<const TPage*>(&item)) {
    o << "Page";
  } else if (auto* ol = dynamic_cast<const TOListItem*>(&item)) {
    o << "OL" << ol->Level << '(' << SectionText(*ol) << ')';
  } else if (auto* dl = dynamic_cast<const TDListItem*>(&item)) {
    o << "DL" << dl->Level << '(' << SectionText(*dl) << ')';
  } else if (auto* ul = dynamic_cast<const TUListItem*>(&item)) {
    o << "UL" << ul->Level << '(' << SectionText(*ul) << ')';
  } else if (auto* pre = dynamic_cast<const TPreFormated*>(&item)) {
    o << "Pre(" << SectionText(*pre) << ')';
  } else if (auto* s = dynamic_cast<const TSection*>(&item)) {
    o << 'S';
    if (s->Level)
      o << s->Level;
    o << '(' << SectionText(*s) << ')';
  } else {
    o << item.KindName();
  }
  return o.str();
}

// Items separated by spaces; plain sections without any character are left out (they take no
// room in the layout and appear wherever a block boundary was crossed).
inline std::string Summary(const TCell& cell)
{
  std::string out;
  for (const auto& item : cell) {
    auto* s = dynamic_cast<const TSection*>(item.get());
    if (s && s->Chars.empty() && std::string(s->KindName()) == "Section")
      continue;
    if (!out.empty())
      out += ' ';
    out += ItemSummary(*item);
  }
  return out;
}

// The sections of a cell that hold text, in order.
inline std::vector<TSection*> TextSections(const TCell& cell)
{
  std::vector<TSection*> v;
  for (const auto& item : cell)
    if (auto* s = dynamic_cast<TSection*>(item.get()); s && !s->Chars.empty())
      v.push_back(s);
  return v;
}

// The section holding `text` and the font in effect at its first character.
inline const TFontObj* FontOf(const TCell& cell, const std::string& text)
{
  for (TSection* s : TextSections(cell)) {
    size_t at = s->Chars.find(text);
    if (at != std::string::npos)
      return s->Fonts.ObjAt(int32_t(at));
  }
  return nullptr;
}

inline TSection* SectionWith(const TCell& cell, const std::string& text)
{
  for (TSection* s : TextSections(cell))
    if (s->Chars.find(text) != std::string::npos)
      return s;
  return nullptr;
}

} // namespace buildertest
