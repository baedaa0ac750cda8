#include "html/model/MyFont.h"

#include "base/MulDiv.h"
#include "html/model/Document.h"
#include "platform/Canvas.h"

TMyFont::TMyFont() : TMyFont(QStringLiteral("Times New Roman"), 12, clBlack)
{
}

TMyFont::TMyFont(const QString& name, int nominalSize, TColor color, int charset)
    : NominalSize(nominalSize), Color(color), Charset(charset)
{
  setFamily(name);
  setPointSize(nominalSize > 0 ? nominalSize : 1);
  setKerning(false);
}

void TMyFont::SetNominalSize(const TDocument* doc, int size)
{
  NominalSize = size;
  int body = doc ? doc->BodyFontSize : 12;
  int pt = MulDiv(size, body, 12);
  setPointSize(pt > 0 ? pt : 1);
}

void TMyFont::Reapply(const TDocument* doc, TColor color)
{
  if (doc) {
    const std::string& name = Monospace ? doc->FixedFontName : doc->BodyFontName;
    setFamily(QString::fromLatin1(name.data(), int(name.size())));
    Charset = doc->TextCharset();
  }
  SetNominalSize(doc, NominalSize);
  Color = color | PaletteFlag;
  if (IsSystemColor(color))
    Color = color;
}

void TMyFont::AddStyle(int flags)
{
  if (flags & fsBold)
    setBold(true);
  if (flags & fsItalic)
    setItalic(true);
  if (flags & fsUnderline)
    setUnderline(true);
  if (flags & fsStrikeOut)
    setStrikeOut(true);
}

int TMyFont::Style() const
{
  return (bold() ? fsBold : 0) | (italic() ? fsItalic : 0) | (underline() ? fsUnderline : 0) |
         (strikeOut() ? fsStrikeOut : 0);
}

const TFontMetrics& TMyFont::Metrics(const TCanvas& canvas) const
{
  int pt = pointSize();
  return canvas.Metrics(family(), pt > 0 ? pt : 1, bold(), italic(), Charset);
}
