#pragma once
// The full URLs a viewer has visited, most recent first.
#include <string>
#include <vector>

class TVisitedList {
public:
  int Count() const { return int(FItems.size()); }
  const std::string& Items(int i) const { return FItems[size_t(i)]; }
  const std::vector<std::string>& All() const { return FItems; }
  int MaxCount() const { return FMaxCount; }
  // Values below 0 count as 0; the list is cut to the new size.
  void SetMaxCount(int value);
  // Puts url in front. Returns true when it was not in the list before (links to it must be
  // marked), false when it was already there or the list is off.
  bool Add(const std::string& url);
  // Whether url is in the list, ignoring case.
  bool Contains(const std::string& url) const;
  void Clear() { FItems.clear(); }

private:
  std::vector<std::string> FItems;
  int FMaxCount = 50;
};
