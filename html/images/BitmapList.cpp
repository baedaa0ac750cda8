#include "html/images/BitmapList.h"

#include <QByteArray>
#include <algorithm>

std::string ImageKey(const std::string& sourceName)
{
  size_t first = 0, last = sourceName.size();
  while (first < last && uint8_t(sourceName[first]) <= 32)
    ++first;
  while (last > first && uint8_t(sourceName[last - 1]) <= 32)
    --last;
  std::string key = sourceName.substr(first, last - first);
  for (char& c : key)
    if (c >= 'a' && c <= 'z')
      c = char(c - 'a' + 'A');
  return key;
}

bool TStringBitmapList::Find(const std::string& key, int& index) const
{
  auto it =
      std::lower_bound(FItems.begin(), FItems.end(), key,
                       [](const auto& entry, const std::string& k) { return entry.first < k; });
  index = int(it - FItems.begin());
  return it != FItems.end() && it->first == key;
}

int TStringBitmapList::IndexOf(const std::string& key) const
{
  int index;
  return Find(key, index) ? index : -1;
}

TBitmapItem* TStringBitmapList::AddImage(const std::string& key,
                                         std::unique_ptr<TBitmapItem>&& item)
{
  int index;
  if (!item || Find(key, index))
    return nullptr;
  TBitmapItem* added = item.get();
  FItems.insert(FItems.begin() + index, {key, std::move(item)});
  added->UserCount += 1;
  return added;
}

TGraphic* TStringBitmapList::GetImage(int index)
{
  TBitmapItem* item = Items(index);
  item->IdleCount = 0;
  item->UserCount += 1;
  return item->Graphic.get();
}

void TStringBitmapList::IncUsage(const std::string& key)
{
  int index;
  if (Find(key, index))
    Items(index)->UserCount += 1;
}

void TStringBitmapList::DecUsage(const std::string& key)
{
  int index;
  if (Find(key, index))
    Items(index)->UserCount -= 1;
}

template <class Pred> void TStringBitmapList::RemoveIf(Pred pred)
{
  for (int i = Count() - 1; i >= 0; --i)
    if (pred(*Items(i)))
      FItems.erase(FItems.begin() + i);
}

void TStringBitmapList::PurgeCache()
{
  RemoveIf([this](TBitmapItem& item) {
    item.IdleCount += 1;
    return item.IdleCount > MaxIdle && item.UserCount <= 0;
  });
}

void TStringBitmapList::SetCacheCount(int n)
{
  RemoveIf([n](const TBitmapItem& item) { return item.IdleCount > n && item.UserCount <= 0; });
  MaxIdle = n;
}

void TStringBitmapList::PurgeUnused()
{
  RemoveIf([](const TBitmapItem& item) { return item.UserCount < 1; });
}

TStringBitmapList& BitmapList()
{
  static TStringBitmapList list;
  return list;
}
