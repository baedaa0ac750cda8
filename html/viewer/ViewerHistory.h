#pragma once
// A viewer's navigation history: names, titles and positions, newest first, with the index of
// the entry shown.
#include <cstdint>
#include <string>
#include <vector>

// One entry's extra data: the reading position and the document kind (0 HTML, 1 text,
// 2 image).
struct PositionObj {
  int32_t Pos = 0;
  uint8_t FileType = 0;
  bool operator==(const PositionObj&) const = default;
};

struct THistoryItem {
  std::string Name;
  std::string Title;
  PositionObj Position;
};

class TViewerHistory {
public:
  int Count() const { return int(FItems.size()); }
  bool Empty() const { return FItems.empty(); }
  int Index() const { return FIndex; }
  void SetIndex(int index) { FIndex = index; }
  const THistoryItem& Items(int i) const { return FItems[size_t(i)]; }
  THistoryItem& Items(int i) { return FItems[size_t(i)]; }
  int MaxCount() const { return FMaxCount; }

  // Records the document now shown (current) after leaving the one described by left. Returns
  // false when nothing was recorded (history off, or no name).
  bool Record(const THistoryItem& left, const THistoryItem& current);
  // Negative values are ignored; a smaller value empties the history. Returns true when
  // entries were removed.
  bool SetMaxCount(int value);
  // Returns true when entries were removed.
  bool Clear();

private:
  std::vector<THistoryItem> FItems;
  int FIndex = 0;
  int FMaxCount = 0;
};
