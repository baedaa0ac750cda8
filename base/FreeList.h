#pragma once
// A list that owns its items and frees them when cleared or destroyed.
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <class T> class TFreeList {
public:
  TFreeList() = default;
  TFreeList(const TFreeList&) = delete;
  TFreeList& operator=(const TFreeList&) = delete;
  TFreeList(TFreeList&&) noexcept = default;
  TFreeList& operator=(TFreeList&&) noexcept = default;
  virtual ~TFreeList() = default;

  int Count() const { return int(FItems.size()); }
  bool Empty() const { return FItems.empty(); }
  T* Items(int i) const { return FItems[size_t(i)].get(); }
  T* operator[](int i) const { return Items(i); }
  T* First() const { return FItems.empty() ? nullptr : FItems.front().get(); }
  T* Last() const { return FItems.empty() ? nullptr : FItems.back().get(); }

  // Takes ownership; returns the raw pointer for convenience.
  T* Add(std::unique_ptr<T> item)
  {
    FItems.push_back(std::move(item));
    return FItems.back().get();
  }
  void Insert(int index, std::unique_ptr<T> item)
  {
    FItems.insert(FItems.begin() + index, std::move(item));
  }
  // Frees the item at index.
  void Delete(int index) { FItems.erase(FItems.begin() + index); }
  // Removes the item at index without freeing it; the caller takes it.
  std::unique_ptr<T> Extract(int index)
  {
    auto p = std::move(FItems[size_t(index)]);
    FItems.erase(FItems.begin() + index);
    return p;
  }
  int IndexOf(const T* item) const
  {
    for (size_t i = 0; i < FItems.size(); ++i)
      if (FItems[i].get() == item)
        return int(i);
    return -1;
  }
  virtual void Clear() { FItems.clear(); }

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

protected:
  std::vector<std::unique_ptr<T>> FItems;
};
