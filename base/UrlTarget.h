#pragma once
// A link destination: the URL and the frame it targets.
#include <string>

struct TUrlTarget {
  std::string Url;
  std::string Target;

  void Assign(const std::string& url, const std::string& target)
  {
    Url = url;
    Target = target;
  }
  void Clear()
  {
    Url.clear();
    Target.clear();
  }
  bool Empty() const { return Url.empty() && Target.empty(); }
  bool operator==(const TUrlTarget&) const = default;
};
