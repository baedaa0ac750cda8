#include "base/MulDiv.h"
#include "html/model/FontObj.h"
#include "html/model/FontTable.h"
#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <vector>

namespace {

struct FontCase {
  const char* Family;
  int Points;
  bool Bold;
  bool Italic;
  int Charset;
};

// Neighbours differ in one property each, so a lookup that ignored any of them would hand
// back the record of the font before.
const FontCase Cases[] = {
    {"Times New Roman", 12, false, false, 0}, {"Times New Roman", 12, true, false, 0},
    {"Times New Roman", 12, true, true, 0},   {"Times New Roman", 12, false, true, 0},
    {"Times New Roman", 14, false, true, 0},  {"Courier New", 14, false, true, 0},
    {"Courier New", 14, false, true, 204},    {"Courier New", 9, false, true, 204},
    {"Times New Roman", 12, false, false, 0},
};

const TFontMetrics& Expected(const FontCase& c, int dpi)
{
  int px = MulDiv(c.Points, dpi, 72);
  return fontcache::Lookup(c.Family, px < 1 ? 1 : px, c.Bold, c.Italic, c.Charset);
}

TEST(FontLookup, CanvasGivesTheRecordOfEachFontInTurn)
{
  TCanvas canvas;
  for (int round = 0; round < 2; ++round)
    for (const FontCase& c : Cases) {
      const TFontMetrics& m = canvas.Metrics(c.Family, c.Points, c.Bold, c.Italic, c.Charset);
      EXPECT_EQ(&m, &Expected(c, canvas.LogPixelsY())) << c.Family << ' ' << c.Points;
      EXPECT_EQ(m.Charset, c.Charset);
      EXPECT_EQ(m.Font.bold(), c.Bold);
      EXPECT_EQ(m.Font.italic(), c.Italic);
    }
}

TEST(FontLookup, FontObjectFollowsTheDeviceAndFontChanges)
{
  TFontObj obj(nullptr, 0, TMyFont("Times New Roman", 12, clBlack));
  TCanvas screen;
  const TFontMetrics* first = &obj.UpdateMetrics(screen);
  EXPECT_EQ(first, &Expected({"Times New Roman", 12, false, false, 0}, 96));
  EXPECT_EQ(obj.BodyHeight(), first->Height);

  QImage img(10, 10, QImage::Format_RGB32);
  QPainter p(&img);
  TCanvas printer(&p, 300);
  const TFontMetrics* printed = &obj.UpdateMetrics(printer);
  EXPECT_EQ(printed, &Expected({"Times New Roman", 12, false, false, 0}, 300));
  EXPECT_EQ(obj.BodyHeight(), printed->Height);

  TMyFont bold = obj.FontCopy();
  bold.setBold(true);
  obj.SetFont(bold);
  EXPECT_EQ(&obj.UpdateMetrics(printer), &Expected({"Times New Roman", 12, true, false, 0}, 300));
}

// Font objects hold their fonts by value from one table: equal fonts are one copy, a font that
// differs in any property the text is drawn with is another, and a font goes with its last holder.
TEST(FontTable, SharesEqualFontsAndKeepsEveryDifference)
{
  const TMyFont base("Times New Roman", 12, clBlack);
  struct TChange {
    const char* Name;
    void (*Apply)(TMyFont&);
  };
  const TChange changes[] = {
      {"bold", [](TMyFont& f) { f.setBold(true); }},
      {"underline", [](TMyFont& f) { f.setUnderline(true); }},
      {"point size", [](TMyFont& f) { f.setPointSize(13); }},
      {"family", [](TMyFont& f) { f.setFamily("Courier New"); }},
      {"colour", [](TMyFont& f) { f.Color = clRed; }},
      {"charset", [](TMyFont& f) { f.Charset = 161; }},
      {"nominal size", [](TMyFont& f) { f.NominalSize = 14; }},
      {"monospace", [](TMyFont& f) { f.Monospace = true; }},
  };
  TFontObj a(nullptr, 0, base), b(nullptr, 5, TMyFont(base));
  EXPECT_EQ(&a.FontCopy(), &b.FontCopy());
  for (const auto& c : changes) {
    TMyFont changed = base;
    c.Apply(changed);
    TFontObj other(nullptr, 0, changed);
    EXPECT_NE(&other.FontCopy(), &a.FontCopy()) << c.Name;
    EXPECT_TRUE(SameFont(other.FontCopy(), changed)) << c.Name;
  }
  size_t live = TFontTable::LiveCount();
  {
    TMyFont unique("Times New Roman", 77, clBlack);
    TFontObj holder(nullptr, 0, unique);
    TFontObj copy(nullptr, holder);
    EXPECT_EQ(TFontTable::LiveCount(), live + 1);
    EXPECT_EQ(&copy.FontCopy(), &holder.FontCopy());
  }
  EXPECT_EQ(TFontTable::LiveCount(), live);
}

// A style change asked of a shared font is remembered; what it hands back must always equal the
// change made by hand, also after the font it gave was freed and its place in the table reused.
TEST(FontTable, StyledFontsEqualTheChangeMadeByHand)
{
  struct TStyle {
    int Flags;
    TScriptShift Shift;
    TColor Color; // the base font's colour keeps it
  };
  const TColor keep = clGreen;
  const TStyle styles[] = {{0, ssNormal, keep},
                           {fsBold, ssNormal, keep},
                           {fsItalic, ssNormal, keep},
                           {fsBold | fsUnderline, ssNormal, keep},
                           {0, ssSuperscript, keep},
                           {fsStrikeOut, ssSubscript, keep},
                           {fsBold, ssNormal, keep},
                           {0, ssNormal, clBlue},
                           {fsUnderline, ssNormal, clRed},
                           {fsUnderline, ssNormal, clBlue}};
  auto byHand = [](TMyFont f, const TStyle& s) {
    f.AddStyle(s.Flags);
    if (s.Shift != ssNormal)
      f.setPointSize(std::max(1, f.pointSize() * 3 / 4));
    f.Color = s.Color;
    return f;
  };
  auto derived = [](const TFontRef& f, const TStyle& s) {
    return f.Styled(s.Flags, s.Shift).Recoloured(s.Color);
  };
  const TMyFont base("Times New Roman", 23, keep);
  const TFontRef shared(base);
  std::vector<TFontRef> others;
  for (int round = 0; round < 3; ++round) {
    for (const TStyle& s : styles) {
      TFontRef styled = derived(shared, s);
      EXPECT_TRUE(SameFont(*styled, byHand(base, s))) << s.Flags << ' ' << int(s.Shift);
      EXPECT_EQ(styled, derived(shared, s));
    }
    // The styled fonts are freed now; unrelated fonts take their places in the table.
    for (int k = 0; k < 8; ++k)
      others.emplace_back(TMyFont("Courier New", 31 + 8 * round + k, clRed));
  }
  EXPECT_FALSE(TFontRef());
  EXPECT_EQ(TFontRef().Styled(fsBold, ssNormal), TFontRef());
  EXPECT_EQ(TFontRef().Recoloured(clRed), TFontRef());
}

// Fonts stay where they are while the table grows by many hundreds, and each reference keeps
// reading its own font; places freed in between are taken again by new fonts.
TEST(FontTable, FontsKeepTheirPlaceWhileTheTableGrows)
{
  constexpr int Count = 700;
  std::vector<TFontRef> held;
  std::vector<const TMyFont*> places;
  for (int k = 0; k < Count; ++k) {
    held.emplace_back(TMyFont("Times New Roman", 200 + k, clBlack));
    places.push_back(&*held.back());
    if (k % 3 == 0) { // a font only held for a moment frees its place again
      const TFontRef moment(TMyFont("Courier New", 200 + k, clRed));
      EXPECT_NE(moment, held.back());
    }
  }
  for (int k = 0; k < Count; ++k) {
    EXPECT_EQ(&*held[size_t(k)], places[size_t(k)]) << k;
    EXPECT_TRUE(SameFont(*held[size_t(k)], TMyFont("Times New Roman", 200 + k, clBlack))) << k;
    EXPECT_EQ(TFontRef(TMyFont("Times New Roman", 200 + k, clBlack)), held[size_t(k)]) << k;
  }
}

} // namespace
