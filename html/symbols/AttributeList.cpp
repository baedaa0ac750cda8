#include "html/symbols/AttributeList.h"

#include <utility>

TAttribute::TAttribute(TSymbol sym, int32_t num, std::string text, std::string name)
    : Sym(sym), Num(num), Text(std::move(text)), Name(std::move(name))
{
}

bool TAttributeList::Lookup(TSymbol sym, TAttribute*& attr) const
{
  attr = Find(sym);
  return attr != nullptr;
}

TAttribute* TAttributeList::Find(TSymbol sym) const
{
  for (const auto& a : FItems)
    if (a->Sym == sym)
      return a.get();
  return nullptr;
}

void TAttributeList::RecycleEach()
{
  for (auto& a : FItems)
    FSpare.push_back(std::move(a));
  FItems.clear();
}

TAttribute& TAttributeList::AddNew()
{
  return *Add(std::make_unique<TAttribute>(symUnknownAttr, 0, std::string()));
}
