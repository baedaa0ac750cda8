#pragma once
// Small value types shared by the editor's buffer, commands, undo and search.
#include <cstdint>

// A position in the editor: column X and line Y, both 1-based; columns count bytes.
struct TPoint {
  int32_t X = 1;
  int32_t Y = 1;
  bool operator==(const TPoint&) const = default;
};

// Orders points by line, then column.
inline bool PointBefore(const TPoint& a, const TPoint& b)
{
  return a.Y < b.Y || (a.Y == b.Y && a.X < b.X);
}

enum TSelectionMode : uint8_t { smNormal = 0, smColumn = 1, smLine = 2 };
