#pragma once
// Colour depth of the display and the palette shared by every image on palette displays.
//
// The depth is read from the primary screen once (4, 8 or 24) and can be forced for the whole
// process, so that the palette path can run on a true-colour screen (tests, --display-bits).
#include <QList>
#include <QRgb>

using TPalette = QList<QRgb>;

// 4, 8 or 24: bits per pixel of the display, reduced to those three classes.
int DisplayBits();
// Forces DisplayBits to 4, 8 or 24; 0 goes back to the screen's own depth. Other values are
// reduced like a screen depth would be.
void SetDisplayBits(int bits);
// Reduces a bits-per-pixel count to the class DisplayBits reports.
int DisplayClass(int bitsPerPixel);

// The 256-entry palette built for 8-bit displays; empty on other displays.
const TPalette& SharedPalette();
// The entries of that palette whatever the display (for reducing to it on request).
const TPalette& SharedPaletteEntries();
// A new palette with the same entries (empty when there is none).
TPalette CopySharedPalette();
// The 20 static colours a palette display always keeps: the target palette of 4-bit displays.
const TPalette& DefaultPalette();
// Index of the entry nearest to rgb (smallest sum of channel differences, earliest wins).
int NearestPaletteIndex(const TPalette& palette, QRgb rgb);
