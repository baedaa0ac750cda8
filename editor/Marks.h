#pragma once
// Bookmarks and other marks in the gutter, and the options of the ten numbered bookmarks.
#include <functional>
#include <memory>
#include <vector>

// Told when a mark moves or changes look, so the gutter lines can be repainted.
class TMarkOwner {
public:
  virtual ~TMarkOwner() = default;
  virtual void MarkLinesChanged(int oldLine, int newLine) = 0;
};

class TMark {
public:
  explicit TMark(TMarkOwner* owner) : FOwner(owner) {}

  int Line() const { return FLine; }
  void SetLine(int value);
  int Column = 1;
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool UseBuiltInGlyph() const { return FUseBuiltInGlyph; }
  void SetUseBuiltInGlyph(bool value);
  // 0 to 9 for a bookmark; a negative number marks a plain mark.
  int Number = -1;
  bool IsBookmark() const { return Number >= 0; }

private:
  void Changed(int oldLine);

  TMarkOwner* FOwner;
  int FLine = 1;
  int FImageIndex = 0;
  bool FVisible = false;
  bool FUseBuiltInGlyph = false;
};

class TMarkList {
public:
  TMark* Add(std::unique_ptr<TMark> mark);
  // Removes and frees the mark.
  void Remove(TMark* mark);
  int Count() const { return int(FMarks.size()); }
  TMark* Items(int index) const { return FMarks[index].get(); }
  void Clear();

  std::function<void()> OnChange;

private:
  std::vector<std::unique_ptr<TMark>> FMarks;
};

struct TtxBookMarkOpt {
  bool EnableKeys = true;
  bool GlyphsVisible = true;
  int LeftMargin = 2;
  int Xoffset = 12;
};
