#pragma once
// Objects that stand at a placeholder character of a text section: images and panels.
#include "base/UrlTarget.h"
#include "html/model/Alignment.h"

#include <cstdint>
#include <memory>
#include <vector>

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

// The images and panels of a section, in text order. Nearly all sections of a long page have
// none: the list is a single pointer until its first object comes.
class TImageObjList {
public:
  using TItems = std::vector<std::unique_ptr<TFloatingObj>>;
  int Count() const { return FItems ? int(FItems->size()) : 0; }
  bool Empty() const { return !FItems || FItems->empty(); }
  TFloatingObj* Items(int i) const { return All()[size_t(i)].get(); }
  TFloatingObj* operator[](int i) const { return Items(i); }
  // Takes ownership; returns the raw pointer for convenience.
  TFloatingObj* Add(std::unique_ptr<TFloatingObj> item);
  void Clear() { FItems.reset(); }
  TItems::const_iterator begin() const { return All().begin(); }
  TItems::const_iterator end() const { return All().end(); }

  TFloatingObj* ObjectAtPos(int32_t pos) const;
  int32_t HeightAt(int32_t pos, int& align) const;
  int32_t WidthAt(int32_t pos, int& align) const;
  // Characters from pos to the next object (0 at an object, 9999 when none follows).
  int32_t CharsToNext(int32_t pos) const;
  bool ImageHit(int32_t X, int32_t Y, TImageHit& hit) const;
  TImageObj* ObjectHit(int32_t X, int32_t Y, int32_t& xr, int32_t& yr) const;
  void CopyFrom(TSection* section, const TImageObjList& source);

private:
  const TItems& All() const;
  std::unique_ptr<TItems> FItems;
};
