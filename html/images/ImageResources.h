#pragma once
// The unit's own pictures and cursors, drawn in code and made once per process.
#include <QCursor>
#include <QImage>

// Shown in place of an image that is not available yet (resource 1002).
const QImage& PendingBitmap();
// Shown, through its mask, in place of an image that could not be loaded (1001 and 1005).
const QImage& MissingBitmap();
const QImage& MissingMask();

enum TViewerCursor : int {
  crLinkHand = 1,
  crTextBeam = 2,
  crUpDown = 3,
  crUpOnly = 4,
  crDownOnly = 5,
};
// The viewer cursors 1 to 5; any other number gives the arrow.
QCursor ViewerCursor(int id);
