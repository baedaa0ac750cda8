#pragma once
// The process-wide image cache: one entry per source name, shared by every document.
//
// Keys are source names trimmed of control characters and blanks and upper-cased (ImageKey).
// An entry counts its holders (UserCount) and the document loads since it was last handed out
// (IdleCount); purges drop entries nobody holds once they have been idle long enough.
#include "html/images/Graphic.h"

#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

enum TTranspKind : uint8_t { tkNone = 0, tkCorner = 1, tkGifColor = 2, tkPngColor = 3 };

class TBitmapItem {
public:
  TBitmapItem(std::unique_ptr<TGraphic> graphic, TTranspKind kind, QImage mask)
      : TranspKind(kind), Graphic(std::move(graphic)), MaskBitmap(std::move(mask))
  {
  }

  int32_t IdleCount = 0;
  int32_t UserCount = 0;
  TTranspKind TranspKind;
  std::unique_ptr<TGraphic> Graphic;
  QImage MaskBitmap; // monochrome, white where transparent; null when none
};

// The cache key of a source name.
std::string ImageKey(const std::string& sourceName);

class TStringBitmapList {
public:
  int Count() const { return int(FItems.size()); }
  const std::string& Keys(int index) const { return FItems[size_t(index)].first; }
  TBitmapItem* Items(int index) const { return FItems[size_t(index)].second.get(); }
  // Binary search; index is where the key is or would be inserted.
  bool Find(const std::string& key, int& index) const;
  int IndexOf(const std::string& key) const;

  // Stores the entry and counts one user. Null (item left with the caller) when the key is
  // taken already.
  TBitmapItem* AddImage(const std::string& key, std::unique_ptr<TBitmapItem>&& item);
  // The entry's graphic, now in use by one more holder and no longer idle.
  TGraphic* GetImage(int index);
  void IncUsage(const std::string& key);
  void DecUsage(const std::string& key);

  // At a document load: every entry ages by one; unused ones idle longer than MaxIdle go.
  void PurgeCache();
  // Drops unused entries idle longer than n, then keeps n as MaxIdle.
  void SetCacheCount(int n);
  // Drops every entry that nobody uses.
  void PurgeUnused();
  void ClearCache() { FItems.clear(); }

  int32_t MaxIdle = 4;

private:
  template <class Pred> void RemoveIf(Pred pred);

  std::vector<std::pair<std::string, std::unique_ptr<TBitmapItem>>> FItems;
};

// The cache of the process.
TStringBitmapList& BitmapList();
