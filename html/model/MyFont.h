#pragma once
// A document font: the framework font plus the HTML nominal size it was asked for, its colour
// and its charset. Sizes scale with the viewer's default font size (12 is the default).
#include "base/Color.h"

#include <QFont>
#include <cstdint>

class TDocument;
class TCanvas;
struct TFontMetrics;

// Style flags the builder adds to fonts (bold, italic, underline, strike-out).
enum TFontStyleFlag : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TMyFont : public QFont {
public:
  TMyFont();
  // Name, nominal size (points at a 12-point default), colour, charset.
  TMyFont(const QString& name, int nominalSize, TColor color, int charset = 0);

  int NominalSize = 12;
  bool Monospace = false;
  TColor Color = clBlack;
  int Charset = 0;

  void Assign(const TMyFont& other) { *this = other; }
  // NominalSize := size; point size := size x body font size / 12.
  void SetNominalSize(const TDocument* doc, int size);
  // Name, charset and size from the document's settings; colour with the palette flag.
  void Reapply(const TDocument* doc, TColor color);
  void AddStyle(int flags);
  int Style() const;
  // Metrics of this font on a canvas.
  const TFontMetrics& Metrics(const TCanvas& canvas) const;
};
