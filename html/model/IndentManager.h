#pragma once
// Tracks the strips taken at the left and right of a cell by floating objects and list
// indents while the cell is laid out, and answers the margins for a line at a given y.
#include "base/FreeList.h"
#include "html/model/Alignment.h"

#include <climits>
#include <cstdint>
#include <map>

class TFloatingObj;

class IndentRec {
public:
  int32_t X = 0; // left: right edge of the strip from LeftEdge; right: (negative) from RightEdge
  int32_t YTop = 0;
  int32_t YBottom = 0; // covers YTop <= y < YBottom
  int32_t LevelId = 0; // 0 for floating objects, else a list level
};

class IndentList : public TFreeList<IndentRec> {
public:
  // Moves the finished records (floats and closed levels) ending at or above y to retired,
  // keeping the order of both lists.
  void RetireEndedBy(int32_t y, IndentList& retired);
};

class IndentManagerBasic {
public:
  int32_t Width = 0;
  int32_t PaintClip = 0;
  // Records that may still apply below the layout point.
  IndentList LeftList;
  IndentList RightList;
  int32_t LeftEdge = 0;
  int32_t RightEdge = 0;
  int32_t CurrentLevel = 0;

  void Clear();
  void Reset(int32_t left, int32_t right);
  int32_t LeftMargin(int32_t y) const;
  int32_t RightMargin(int32_t y) const;
  int32_t FloatBottom() const;
  void ClearBottoms(int32_t& left, int32_t& right) const;
  int32_t LevelBottom() const;
  void SetLevel(int32_t y, int32_t level);
  // A float of width and height at y on side (plLeft or plRight).
  void AddFloat(int32_t y, int32_t width, TPlacement side, int32_t height);
  void PlaceFloat(int32_t y, TFloatingObj* obj);

protected:
  void AddRec(IndentList& list, int32_t x, int32_t top, int32_t bottom, int32_t id);

private:
  // Layout moves down a cell, so records ending above the top of the section being laid out
  // are set aside: margin lookups then cost the live records only, and the bottoms they
  // contribute are kept as running maxima. A lookup above Watermark still sees them.
  int32_t Watermark = INT32_MIN;
  IndentList RetiredLeft;
  IndentList RetiredRight;
  int32_t RetiredLeftBottom = INT32_MIN;
  int32_t RetiredRightBottom = INT32_MIN;
  std::map<int32_t, int32_t> RetiredLeftBottomByX; // X -> largest YBottom among retired
  void Retire(int32_t y);
};

class IndentManager : public IndentManagerBasic {};
