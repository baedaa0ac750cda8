#include "base/Color.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace {

QColor SystemQColor(int index)
{
  // Without an application object there is no palette: fall back to the classic defaults.
  QPalette pal = QGuiApplication::instance() ? QGuiApplication::palette() : QPalette();
  switch (index) {
  case COLOR_WINDOW: return QColor(255, 255, 255);
  case COLOR_WINDOWTEXT:
  case COLOR_MENUTEXT:
  case COLOR_BTNTEXT:
  case COLOR_CAPTIONTEXT:
  case COLOR_INFOTEXT: return QColor(0, 0, 0);
  case COLOR_HIGHLIGHT: return pal.color(QPalette::Active, QPalette::Highlight);
  case COLOR_HIGHLIGHTTEXT: return pal.color(QPalette::Active, QPalette::HighlightedText);
  case COLOR_BTNFACE:
  case COLOR_MENU:
  case COLOR_SCROLLBAR:
  case COLOR_ACTIVEBORDER:
  case COLOR_INACTIVEBORDER: return QColor(192, 192, 192);
  case COLOR_BTNSHADOW:
  case COLOR_GRAYTEXT: return QColor(128, 128, 128);
  case COLOR_BTNHIGHLIGHT: return QColor(255, 255, 255);
  case COLOR_3DDKSHADOW: return QColor(64, 64, 64);
  case COLOR_3DLIGHT: return QColor(223, 223, 223);
  case COLOR_INFOBK: return QColor(255, 255, 225);
  case COLOR_APPWORKSPACE: return QColor(128, 128, 128);
  case COLOR_ACTIVECAPTION: return QColor(0, 0, 128);
  default: return QColor(192, 192, 192);
  }
}

} // namespace

TColor ColorToRGB(TColor c)
{
  if (IsSystemColor(c))
    return FromQColor(SystemQColor(c & 0xFF));
  return c & 0x00FFFFFF;
}

QColor ToQColor(TColor c)
{
  if (IsSystemColor(c))
    return SystemQColor(c & 0xFF);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& c)
{
  return RGBColor(c.red(), c.green(), c.blue());
}
