#pragma once
// A scroll bar that keeps position, page, minimum and maximum as 32-bit values with the page
// counted inside the range, as documents measure it: the largest position is Max - Page + 1.
#include <QScrollBar>
#include <cstdint>

class T32ScrollBar : public QScrollBar {
public:
  explicit T32ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

  int32_t Position() const { return value(); }
  void SetPosition(int32_t position);
  int32_t Min() const { return FMin; }
  int32_t Max() const { return FMax; }
  int32_t Page() const { return FPage; }
  int32_t LargeChange() const { return pageStep(); }
  // Sets range, page and large step at once; the position is kept where the range allows.
  void SetParams(int32_t min, int32_t max, int32_t page, int32_t largeChange);
  // The largest position the range allows.
  int32_t TopPosition() const;

private:
  int32_t FMin = 0;
  int32_t FMax = 0;
  int32_t FPage = 1;
};
