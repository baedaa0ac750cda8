#include "html/model/FontTable.h"

#include "platform/Canvas.h"

#include <QHash>
#include <array>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

size_t FontHash(const TMyFont& f)
{
  size_t h = qHash(static_cast<const QFont&>(f));
  for (int v : {f.NominalSize, int(f.Monospace), int(f.Color), f.Charset})
    h = h * 1000003u ^ size_t(unsigned(v));
  return h;
}

// A style change asked of a font and the font it gave. The generation tells whether the slot
// still holds that font or has been freed (and maybe reused) since.
struct TDerived {
  int64_t Key = -1;
  uint32_t Id = 0;
  uint32_t Generation = 0;
};

struct TSlot {
  std::optional<TMyFont> Font;
  size_t Hash = 0;
  uint32_t Refs = 0;
  uint32_t Generation = 0;
  std::array<int, 2> Dpi{};
  std::array<const TFontMetrics*, 2> Metrics{};
  std::array<TDerived, 6> Derived{};
  uint32_t NextDerived = 0;
};

// The slots in blocks of a fixed size: a slot keeps its address while the table grows, and
// finding one by id is a shift and a mask (every reference counts through here).
class TSlots {
public:
  TSlot& operator[](uint32_t id) { return (*FBlocks[id >> BlockBits])[id & BlockMask]; }
  const TSlot& operator[](uint32_t id) const { return (*FBlocks[id >> BlockBits])[id & BlockMask]; }
  // The id of a new empty slot at the end.
  uint32_t Add()
  {
    if ((FSize & BlockMask) == 0)
      FBlocks.push_back(std::make_unique<TBlock>());
    return FSize++;
  }

private:
  static constexpr uint32_t BlockBits = 6;
  static constexpr uint32_t BlockMask = (1u << BlockBits) - 1;
  using TBlock = std::array<TSlot, size_t(1) << BlockBits>;
  std::vector<std::unique_ptr<TBlock>> FBlocks;
  uint32_t FSize = 0;
};

class TTable {
public:
  TTable() { FSlots.Add(); } // id 0 holds nothing

  // The id of the font equal to font; a new one holds no reference yet.
  uint32_t Intern(const TMyFont& font)
  {
    size_t h = FontHash(font);
    auto [first, last] = FIndex.equal_range(h);
    for (auto it = first; it != last; ++it)
      if (SameFont(*FSlots[it->second].Font, font))
        return it->second;
    uint32_t id = NewSlot();
    TSlot& s = FSlots[id];
    s.Font.emplace(font);
    s.Hash = h;
    FIndex.emplace(h, id);
    ++FLive;
    return id;
  }

  void AddRef(uint32_t id)
  {
    if (id)
      ++FSlots[id].Refs;
  }

  void Release(uint32_t id)
  {
    if (id && --FSlots[id].Refs == 0)
      Free(id);
  }

  const TMyFont& Font(uint32_t id) const
  {
    static const TMyFont none;
    return id ? *FSlots[id].Font : none;
  }

  uint32_t Styled(uint32_t id, int flags, TScriptShift shift)
  {
    return Derive(id, flags * 4 + int(shift), [&](TMyFont& f) {
      f.AddStyle(flags);
      if (shift != ssNormal)
        f.setPointSize(std::max(1, f.pointSize() * 3 / 4));
    });
  }

  uint32_t Recoloured(uint32_t id, TColor color)
  {
    return Derive(id, int64_t(1) << 40 | uint32_t(color), [&](TMyFont& f) { f.Color = color; });
  }

  const TFontMetrics& Metrics(uint32_t id, const TCanvas& canvas)
  {
    TSlot& s = FSlots[id];
    const int dpi = canvas.LogPixelsY();
    for (size_t i = 0; i < s.Dpi.size(); ++i)
      if (s.Metrics[i] && s.Dpi[i] == dpi)
        return *s.Metrics[i];
    const TFontMetrics& m = Font(id).Metrics(canvas);
    s.Dpi = {dpi, s.Dpi[0]};
    s.Metrics = {&m, s.Metrics[0]};
    return m;
  }

  size_t LiveCount() const { return FLive; }

private:
  // The font that change makes of font id, looked up by key among the changes made before.
  template <class F> uint32_t Derive(uint32_t id, int64_t key, F&& change)
  {
    for (const TDerived& d : FSlots[id].Derived)
      if (d.Key == key && FSlots[d.Id].Generation == d.Generation && FSlots[d.Id].Refs)
        return d.Id;
    TMyFont changed = *FSlots[id].Font;
    change(changed);
    uint32_t made = Intern(changed);
    // Intern may have grown the table: the slot is looked up again.
    TSlot& base = FSlots[id];
    base.Derived[base.NextDerived] = {key, made, FSlots[made].Generation};
    base.NextDerived = (base.NextDerived + 1) % base.Derived.size();
    return made;
  }

  uint32_t NewSlot()
  {
    if (FFree.empty())
      return FSlots.Add();
    uint32_t id = FFree.back();
    FFree.pop_back();
    return id;
  }

  void Free(uint32_t id)
  {
    TSlot& s = FSlots[id];
    auto [first, last] = FIndex.equal_range(s.Hash);
    for (auto it = first; it != last; ++it)
      if (it->second == id) {
        FIndex.erase(it);
        break;
      }
    const uint32_t generation = s.Generation + 1;
    s = TSlot();
    s.Generation = generation;
    FFree.push_back(id);
    --FLive;
  }

  TSlots FSlots;
  std::vector<uint32_t> FFree;
  std::unordered_multimap<size_t, uint32_t> FIndex;
  size_t FLive = 0;
};

TTable& Table()
{
  // Never destroyed: references held by objects that outlive the statics still let go of it.
  static TTable* table = new TTable;
  return *table;
}

} // namespace

bool SameFont(const TMyFont& a, const TMyFont& b)
{
  return static_cast<const QFont&>(a) == static_cast<const QFont&>(b) &&
         a.NominalSize == b.NominalSize && a.Monospace == b.Monospace && a.Color == b.Color &&
         a.Charset == b.Charset;
}

TFontRef::TFontRef(const TMyFont& font) : TFontRef(Table().Intern(font))
{
}

TFontRef::TFontRef(uint32_t id) : FId(id)
{
  Table().AddRef(FId);
}

TFontRef::TFontRef(const TFontRef& other) : TFontRef(other.FId)
{
}

TFontRef& TFontRef::operator=(const TFontRef& other)
{
  Table().AddRef(other.FId);
  Table().Release(FId);
  FId = other.FId;
  return *this;
}

TFontRef& TFontRef::operator=(TFontRef&& other) noexcept
{
  if (this != &other) {
    Table().Release(FId);
    FId = other.FId;
    other.FId = 0;
  }
  return *this;
}

void TFontRef::Release()
{
  Table().Release(FId);
}

const TMyFont& TFontRef::operator*() const
{
  return Table().Font(FId);
}

TFontRef TFontRef::Styled(int styleFlags, TScriptShift shift) const
{
  if (!FId || (styleFlags == 0 && shift == ssNormal))
    return *this;
  return TFontRef(Table().Styled(FId, styleFlags, shift));
}

TFontRef TFontRef::Recoloured(TColor color) const
{
  if (!FId || (**this).Color == color)
    return *this;
  return TFontRef(Table().Recoloured(FId, color));
}

const TFontMetrics& TFontRef::Metrics(const TCanvas& canvas) const
{
  return FId ? Table().Metrics(FId, canvas) : Table().Font(0).Metrics(canvas);
}

size_t TFontTable::LiveCount()
{
  return Table().LiveCount();
}
