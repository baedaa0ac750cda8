#include "html/viewer/VisitedList.h"

#include "base/StringUtil.h"

#include <algorithm>

void TVisitedList::SetMaxCount(int value)
{
  FMaxCount = std::max(0, value);
  if (Count() > FMaxCount)
    FItems.resize(size_t(FMaxCount));
}

bool TVisitedList::Add(const std::string& url)
{
  if (FMaxCount <= 0 || url.empty())
    return false;
  if (!FItems.empty() && FItems.front() == url)
    return false;
  auto it = std::find(FItems.begin(), FItems.end(), url);
  if (it != FItems.end()) {
    std::rotate(FItems.begin(), it, it + 1);
    return false;
  }
  FItems.insert(FItems.begin(), url);
  if (Count() > FMaxCount)
    FItems.resize(size_t(FMaxCount));
  return true;
}

bool TVisitedList::Contains(const std::string& url) const
{
  return std::any_of(FItems.begin(), FItems.end(),
                     [&](const std::string& s) { return strutil::SameText(s, url); });
}
