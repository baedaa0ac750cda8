#pragma once
// A client-side image map: areas with links, tried in document order.
#include "base/UrlTarget.h"

#include <QPainterPath>
#include <string>
#include <vector>

class TAttributeList;

enum TAreaShape : int { shRect, shCircle, shPoly };

class TMapItem {
public:
  std::string Name;

  struct TArea {
    QPainterPath Region;
    std::string Href;
    std::string Target;
  };
  std::vector<TArea> Areas; // Regions and Targets of one AREA each

  // From the attributes of one AREA tag.
  void AddArea(const TAttributeList& attributes);
  // The shape, coordinate text and link of one area, as AREA gives them.
  void AddArea(const std::string& shape, const std::string& coords, const std::string& href,
               bool noHref, const std::string& target);
  // The first area containing the point decides; an area without a link answers false.
  bool HitTest(int X, int Y, TUrlTarget& result) const;

  static std::vector<int> ParseCoords(const std::string& coords);
};
