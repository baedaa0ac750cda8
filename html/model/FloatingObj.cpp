#include "html/model/FloatingObj.h"

#include "html/model/Document.h"
#include "html/model/ImageObj.h"

#include <algorithm>

const TImageObjList::TItems& TImageObjList::All() const
{
  static const TItems none;
  return FItems ? *FItems : none;
}

TFloatingObj* TImageObjList::Add(std::unique_ptr<TFloatingObj> item)
{
  if (!FItems)
    FItems = std::make_unique<TItems>();
  FItems->push_back(std::move(item));
  return FItems->back().get();
}

TFloatingObj* TImageObjList::ObjectAtPos(int32_t pos) const
{
  // Objects are kept in text order.
  const TItems& items = All();
  auto it = std::lower_bound(items.begin(), items.end(), pos,
                             [](const auto& o, int32_t p) { return o->ObjPos < p; });
  return it != items.end() && (*it)->ObjPos == pos ? it->get() : nullptr;
}

int32_t TImageObjList::HeightAt(int32_t pos, int& align) const
{
  TFloatingObj* o = ObjectAtPos(pos);
  align = o ? o->Placement : -1;
  return o ? o->BoxHeight : -1;
}

int32_t TImageObjList::WidthAt(int32_t pos, int& align) const
{
  TFloatingObj* o = ObjectAtPos(pos);
  align = o ? o->Placement : -1;
  return o ? o->BoxWidth : -1;
}

int32_t TImageObjList::CharsToNext(int32_t pos) const
{
  for (const auto& o : *this)
    if (o->ObjPos >= pos)
      return o->ObjPos - pos;
  return 9999;
}

namespace {
bool Contains(const TImageObj& img, int32_t X, int32_t Y)
{
  int32_t w = img.BoxWidth - (img.Bordered ? 2 : 0);
  int32_t h = img.BoxHeight - (img.Bordered ? 2 : 0);
  return X >= img.PaintedX && X < img.PaintedX + w && Y >= img.PaintedY && Y < img.PaintedY + h;
}
} // namespace

bool TImageObjList::ImageHit(int32_t X, int32_t Y, TImageHit& hit) const
{
  for (const auto& o : *this) {
    auto* img = dynamic_cast<TImageObj*>(o.get());
    if (!img || !Contains(*img, X, Y))
      continue;
    hit.Image = img;
    hit.X = X - img->PaintedX;
    hit.Y = Y - img->PaintedY;
    hit.ServerMap = img->ServerMap;
    hit.Pos = img->ObjPos;
    hit.Map = img->ClientMap && img->Doc ? img->Doc->FindMap(img->ClientMapName) : nullptr;
    return true;
  }
  return false;
}

TImageObj* TImageObjList::ObjectHit(int32_t X, int32_t Y, int32_t& xr, int32_t& yr) const
{
  TImageHit hit;
  if (!ImageHit(X, Y, hit))
    return nullptr;
  xr = hit.X;
  yr = hit.Y;
  return hit.Image;
}

void TImageObjList::CopyFrom(TSection* section, const TImageObjList& source)
{
  Clear();
  for (const auto& o : source)
    Add(o->CloneForPrint(section));
}
