#pragma once
// The attributes of a tag: symbol, number and text, kept in source order.
#include "base/FreeList.h"
#include "html/symbols/Symbols.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TAttribute {
public:
  TAttribute(TSymbol sym, int32_t num, std::string text, std::string name = {});

  TSymbol Sym;      // from the attribute table, symUnknownAttr for other names
  int32_t Num;      // numeric value; 0 when the value is not a number (1 for a bare BORDER)
  std::string Text; // the value as written (quotes removed, trimmed when quoted)
  std::string Name; // the upper-cased name as written, kept only for unknown attributes
};

class TAttributeList : public TFreeList<TAttribute> {
public:
  // The first attribute with the given symbol; a repeated attribute is stored twice and the
  // first one wins.
  bool Lookup(TSymbol sym, TAttribute*& attr) const;
  // The same, as a pointer (nullptr when absent).
  TAttribute* Find(TSymbol sym) const;

  // Empties the list but keeps its attributes, so that the next ones cost no allocation.
  // Inline, as is AddReused: the tokenizer does this for most tags it reads.
  void Recycle()
  {
    if (FItems.empty())
      return;
    if (FSpare.empty())
      FItems.swap(FSpare); // spares are taken in any order: every field is filled again
    else
      RecycleEach();
  }
  // Appends an attribute for the caller to fill in (every field): a kept one when there is one.
  [[gnu::always_inline]] TAttribute& AddReused()
  {
    if (FSpare.empty())
      return AddNew();
    FItems.push_back(std::move(FSpare.back()));
    FSpare.pop_back();
    return *FItems.back();
  }

private:
  void RecycleEach();
  TAttribute& AddNew();

  std::vector<std::unique_ptr<TAttribute>> FSpare;
};
