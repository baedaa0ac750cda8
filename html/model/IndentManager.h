#pragma once
// Tracks the strips taken at the left and right of a cell by floating objects and list
// indents while the cell is laid out, and answers the margins for a line at a given y.
#include "base/FreeList.h"

#include <cstdint>

class TFloatingObj;

class IndentRec {
public:
  int32_t X = 0; // left: right edge of the strip from LeftEdge; right: (negative) from RightEdge
  int32_t YTop = 0;
  int32_t YBottom = 0; // covers YTop <= y < YBottom
  int32_t LevelId = 0; // 0 for floating objects, else a list level
};

class IndentManagerBasic {
public:
  int32_t Width = 0;
  int32_t PaintClip = 0;
  TFreeList<IndentRec> LeftList;
  TFreeList<IndentRec> RightList;
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
  void AddFloat(int32_t y, int32_t width, int side, int32_t height); // side 3 left, 4 right
  void PlaceFloat(int32_t y, TFloatingObj* obj);

protected:
  void AddRec(TFreeList<IndentRec>& list, int32_t x, int32_t top, int32_t bottom, int32_t id);
};

class IndentManager : public IndentManagerBasic {};
