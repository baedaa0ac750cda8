#pragma once
// Objects that stand at a placeholder character of a text section: images and panels.
#include "base/FreeList.h"
#include "base/UrlTarget.h"
#include "html/model/Alignment.h"

#include <cstdint>
#include <memory>

class TSection;
class TMapItem;
class TCanvas;
class QRect;

class TFloatingObj {
public:
  TFloatingObj() = default;
  TFloatingObj(const TFloatingObj&) = default;
  virtual ~TFloatingObj() = default;

  int32_t ObjPos = 0;
  int32_t BoxHeight = 0;
  int32_t BoxWidth = 0;
  TPlacement Placement = plBottom;
  int32_t FloatX = 0;
  int32_t FloatY = 0; // y at which a float was placed
  int32_t SideGap = 5;

  bool IsFloating() const { return Placement == plLeft || Placement == plRight; }
  virtual std::unique_ptr<TFloatingObj> CloneForPrint(TSection* section) const = 0;
  virtual const char* KindName() const = 0;
};

class TImageObj;

struct TImageHit {
  TImageObj* Image = nullptr;
  int32_t X = 0; // the point relative to the image
  int32_t Y = 0;
  bool ServerMap = false;
  int32_t Pos = 0;
  TMapItem* Map = nullptr;
};

class TImageObjList : public TFreeList<TFloatingObj> {
public:
  TFloatingObj* ObjectAtPos(int32_t pos) const;
  int32_t HeightAt(int32_t pos, int& align) const;
  int32_t WidthAt(int32_t pos, int& align) const;
  // Characters from pos to the next object (0 at an object, 9999 when none follows).
  int32_t CharsToNext(int32_t pos) const;
  bool ImageHit(int32_t X, int32_t Y, TImageHit& hit) const;
  TImageObj* ObjectHit(int32_t X, int32_t Y, int32_t& xr, int32_t& yr) const;
  void CopyFrom(TSection* section, const TImageObjList& source);
};
