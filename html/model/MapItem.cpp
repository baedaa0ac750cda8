#include "html/model/MapItem.h"

#include "base/StringUtil.h"
#include "html/symbols/AttributeList.h"

#include <QPolygon>

namespace {
constexpr size_t MaxCoords = 301;
constexpr size_t MaxTokenLength = 20;
} // namespace

std::vector<int> TMapItem::ParseCoords(const std::string& coords)
{
  std::string s = strutil::Trim(coords);
  std::vector<int> out;
  size_t i = 0;
  while (i < s.size() && out.size() < MaxCoords) {
    while (i < s.size() && (s[i] == ',' || uint8_t(s[i]) <= ' '))
      ++i;
    if (i >= s.size())
      break;
    size_t j = i;
    while (j < s.size() && s[j] != ',' && uint8_t(s[j]) > ' ')
      ++j;
    std::string token = s.substr(i, std::min(j - i, MaxTokenLength));
    int32_t v = 0;
    bool decimal = !token.empty();
    for (size_t k = 0; k < token.size(); ++k)
      if (!(std::isdigit(uint8_t(token[k])) ||
            (k == 0 && token.size() > 1 && (token[0] == '-' || token[0] == '+'))))
        decimal = false;
    if (!decimal || !strutil::TryStrToInt(token, v))
      v = 0;
    out.push_back(v);
    i = j;
  }
  return out;
}

void TMapItem::AddArea(const std::string& shape, const std::string& coords, const std::string& href,
                       bool noHref, const std::string& target)
{
  std::string kind = strutil::LowerCase(shape).substr(0, 4);
  std::vector<int> c = ParseCoords(coords);
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  if (kind == "circ") {
    if (c.size() < 3)
      return;
    int64_t x = c[0], y = c[1], r = c[2];
    path.addEllipse(QRectF(double(x - r), double(y - r), double(2 * r + 1), double(2 * r + 1)));
  } else if (kind == "poly") {
    if (c.size() < 6)
      return;
    QPolygonF poly;
    for (size_t k = 0; k + 1 < c.size(); k += 2)
      poly << QPointF(c[k], c[k + 1]);
    path.addPolygon(poly);
    path.closeSubpath();
  } else {
    if (c.size() < 4)
      return;
    path.addRect(QRectF(QPointF(c[0], c[1]), QPointF(double(c[2]) + 1, double(c[3]) + 1)));
  }
  Areas.push_back(TArea{path, noHref ? std::string() : href, target});
}

void TMapItem::AddArea(const TAttributeList& attributes)
{
  std::string shape, coords, href, target;
  bool noHref = false;
  for (const auto& a : attributes) {
    switch (a->Sym) {
    case attrHREF:
      href = a->Text;
      noHref = false;
      break;
    case attrNOHREF:
      href.clear();
      noHref = true;
      break;
    case attrSHAPE: shape = a->Text; break;
    case attrCOORDS: coords = a->Text; break;
    case attrTARGET: target = a->Text; break;
    default: break;
    }
  }
  AddArea(shape, coords, href, noHref, target);
}

bool TMapItem::HitTest(int X, int Y, TUrlTarget& result) const
{
  // The point is the centre of the pixel, so edges of rectangles count as inside.
  QPointF p(X + 0.5, Y + 0.5);
  for (const TArea& a : Areas) {
    if (!a.Region.contains(p))
      continue;
    if (a.Href.empty())
      return false;
    result.Assign(a.Href, a.Target);
    return true;
  }
  return false;
}
