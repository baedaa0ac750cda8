#pragma once
// Memory for the many small pieces of one page's model (its text sections and what they keep
// once built), handed out from large chunks and given back all at once with the page. A long
// page has hundreds of thousands of such pieces: one by one they cost a heap call each, a header
// each, a copy when their section is finished, and a free each when the page closes. The large
// chunks are mapped and filled with pages in one call each, not a page fault every 4 KB.
#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define LUMORA_ARENA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMORA_ARENA_ASAN 1
#endif
#endif

class TArena {
public:
#ifdef LUMORA_ARENA_ASAN
  // Under the address checker whole objects come from the heap, each checked on its own.
  static constexpr bool Checked = true;
#else
  static constexpr bool Checked = false;
#endif

  TArena() = default;
  ~TArena()
  {
    Release();
  }
  TArena(const TArena&) = delete;
  TArena& operator=(const TArena&) = delete;

  // bytes aligned to align (a power of two, at most 16).
  void* Allocate(size_t bytes, size_t align);
  // The piece is not reused unless it was the last one handed out; a checking build marks it
  // unusable.
  void Deallocate(void* p, size_t bytes);
  // Frees every chunk: nothing allocated here may be used after.
  void Release();

  size_t ChunkCount() const
  {
    return FChunks.size();
  }
  // Bytes of all chunks, of those mapped from the system (not from the heap), and handed out
  // (not counting pieces given back).
  size_t Reserved() const;
  size_t Mapped() const;
  size_t Used() const
  {
    return FUsed;
  }

  // Chunks grow from the first size to the largest, doubling; a piece above a quarter of the
  // largest gets a chunk of its own.
  static constexpr size_t FirstChunk = size_t(64) << 10;
  static constexpr size_t LargestChunk = size_t(2) << 20;

private:
  struct TChunk {
    char* Base = nullptr;
    size_t Size = 0;
    bool Mapped = false; // from the system directly, else from the heap
  };
  std::vector<TChunk> FChunks;
  char* FNext = nullptr;
  char* FEnd = nullptr;
  size_t FNextChunk = FirstChunk;
  size_t FUsed = 0;

  void* AllocateSlow(size_t bytes, size_t align);
  TChunk NewChunk(size_t size);
};

// An allocator for standard containers: from the arena when it has one, else from the heap. A
// container copied from an arena-backed one (a section copied for printing, which may outlast
// the page) is on the heap; moves and swaps take their storage's allocator along.
template <class T> class TArenaAllocator {
public:
  using value_type = T;
  using propagate_on_container_move_assignment = std::true_type;
  using propagate_on_container_swap = std::true_type;
  using propagate_on_container_copy_assignment = std::false_type;
  using is_always_equal = std::false_type;

  TArenaAllocator() noexcept = default;
  explicit TArenaAllocator(TArena* arena) noexcept : FArena(arena) {}
  template <class U>
  TArenaAllocator(const TArenaAllocator<U>& other) noexcept // NOLINT(google-explicit-constructor)
      : FArena(other.Arena())
  {
  }

  T* allocate(size_t n)
  {
    if (!FArena)
      return std::allocator<T>().allocate(n);
    static_assert(alignof(T) <= 16, "arena pieces are aligned to at most 16 bytes");
    return static_cast<T*>(FArena->Allocate(n * sizeof(T), alignof(T)));
  }
  void deallocate(T* p, size_t n) noexcept
  {
    if (FArena)
      FArena->Deallocate(p, n * sizeof(T));
    else
      std::allocator<T>().deallocate(p, n);
  }
  TArenaAllocator select_on_container_copy_construction() const { return TArenaAllocator(); }

  TArena* Arena() const { return FArena; }
  template <class U> bool operator==(const TArenaAllocator<U>& other) const
  {
    return FArena == other.Arena();
  }

private:
  TArena* FArena = nullptr;
};
