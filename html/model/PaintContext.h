#pragma once
// What one paint pass hands down the tree: the items take the view's scroll position, the
// band to draw and the page they are printed on from here, never from the document root.
#include <QRect>
#include <cstdint>

struct TPaintContext {
  int32_t ScrollY = 0; // document y at the top of the view
  QRect Clip;          // the band to draw, in view coordinates
  // Printing: document y of the page bottom (0 when pages are not cut). A line, rule or table
  // row that does not fit moves it up to its own top: that is where the page ends.
  int32_t PageBottom = 0;
  // Set by the root: document y of the bottom of the band drawn.
  int32_t DrawBottom = 0;
};
