#include "html/model/FontTable.h"

#include <QHash>
#include <algorithm>
#include <unordered_map>

namespace {

size_t FontHash(const TMyFont& f)
{
  size_t h = qHash(static_cast<const QFont&>(f));
  for (int v : {f.NominalSize, int(f.Monospace), int(f.Color), f.Charset})
    h = h * 1000003u ^ size_t(unsigned(v));
  return h;
}

class TTable {
public:
  std::shared_ptr<const TMyFont> Intern(const TMyFont& font)
  {
    size_t h = FontHash(font);
    auto [first, last] = FEntries.equal_range(h);
    for (auto it = first; it != last; ++it)
      if (auto held = it->second.lock(); held && SameFont(*held, font))
        return held;
    auto made = std::make_shared<const TMyFont>(font);
    FEntries.emplace(h, made);
    if (FEntries.size() >= FSweepAt)
      Sweep();
    return made;
  }

  size_t LiveCount() const
  {
    return size_t(std::count_if(FEntries.begin(), FEntries.end(),
                                [](const auto& e) { return !e.second.expired(); }));
  }

private:
  // Entries of freed fonts go now and then, so the table stays as large as the fonts in use.
  void Sweep()
  {
    std::erase_if(FEntries, [](const auto& e) { return e.second.expired(); });
    FSweepAt = std::max<size_t>(64, 2 * FEntries.size());
  }

  std::unordered_multimap<size_t, std::weak_ptr<const TMyFont>> FEntries;
  size_t FSweepAt = 64;
};

TTable& Table()
{
  static TTable table;
  return table;
}

} // namespace

bool SameFont(const TMyFont& a, const TMyFont& b)
{
  return static_cast<const QFont&>(a) == static_cast<const QFont&>(b) &&
         a.NominalSize == b.NominalSize && a.Monospace == b.Monospace && a.Color == b.Color &&
         a.Charset == b.Charset;
}

std::shared_ptr<const TMyFont> TFontTable::Intern(const TMyFont& font)
{
  return Table().Intern(font);
}

size_t TFontTable::LiveCount()
{
  return Table().LiveCount();
}
