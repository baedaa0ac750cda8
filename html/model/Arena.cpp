#include "html/model/Arena.h"

#include <algorithm>
#include <cstdint>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

#ifdef LUMORA_ARENA_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace {

#ifdef LUMORA_ARENA_ASAN
// Under the address checker a chunk is unusable until handed out, every piece is followed by
// bytes that stay so, and a piece given back becomes unusable again: overruns and uses after a
// container let go of its storage are caught as on the heap. Pieces are only really freed with
// the arena, so a use after that is caught only once the chunk is gone.
constexpr size_t Redzone = 16;
void Poison(const void* p, size_t n)
{
  ASAN_POISON_MEMORY_REGION(p, n);
}
void Unpoison(const void* p, size_t n)
{
  ASAN_UNPOISON_MEMORY_REGION(p, n);
}
#else
constexpr size_t Redzone = 0;
void Poison(const void*, size_t)
{
}
void Unpoison(const void*, size_t)
{
}
#endif

// What a piece of bytes takes of its chunk: never nothing, so that pieces have addresses of
// their own.
size_t PieceSize(size_t bytes)
{
  return std::max<size_t>(bytes, 1) + Redzone;
}

char* AlignUp(char* p, size_t align)
{
  const auto a = uintptr_t(align) - 1;
  return reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(p) + a) & ~a);
}

} // namespace

void* TArena::Allocate(size_t bytes, size_t align)
{
  const size_t size = PieceSize(bytes);
  char* p = AlignUp(FNext, align);
  if (!FNext || p > FEnd || size > size_t(FEnd - p))
    return AllocateSlow(bytes, align);
  FNext = p + size;
  FUsed += bytes;
  Unpoison(p, bytes);
  return p;
}

void TArena::Deallocate(void* p, size_t bytes)
{
  if (!p)
    return;
  auto* piece = static_cast<char*>(p);
  // The last piece (a container that grew and let go of its old storage at once) is reused.
  if (piece + PieceSize(bytes) == FNext)
    FNext = piece;
  FUsed -= bytes;
  Poison(piece, bytes);
}

void* TArena::AllocateSlow(size_t bytes, size_t align)
{
  const size_t size = PieceSize(bytes);
  if (size > LargestChunk / 4) {
    // A piece of its own size: the chunk being filled stays open for the small ones.
    TChunk own = NewChunk(size);
    FChunks.push_back(own);
    FUsed += bytes;
    Unpoison(own.Base, bytes);
    return own.Base;
  }
  TChunk chunk = NewChunk(FNextChunk);
  FChunks.push_back(chunk);
  FNextChunk = std::min(FNextChunk * 2, LargestChunk);
  FNext = chunk.Base;
  FEnd = chunk.Base + chunk.Size;
  return Allocate(bytes, align);
}

TArena::TChunk TArena::NewChunk(size_t size)
{
  TChunk chunk;
  chunk.Size = size;
#ifdef __linux__
  if (size >= LargestChunk) {
    // Mapped with room to start on a boundary of its size, the rest unmapped again.
    const size_t reserve = size + LargestChunk;
    void* raw = mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
      throw std::bad_alloc();
    char* start = static_cast<char*>(raw);
    char* base = AlignUp(start, LargestChunk);
    const size_t mapped = (size + 4095) & ~size_t(4095);
    if (base > start)
      munmap(start, size_t(base - start));
    if (start + reserve > base + mapped)
      munmap(base + mapped, size_t(start + reserve - (base + mapped)));
#ifdef MADV_POPULATE_WRITE
    // Its pages are filled in one call instead of a fault each as the chunk fills up. (Huge
    // pages would take fewer still, but here they come from memory the host has to give back
    // first, and cost more than they save.)
    madvise(base, mapped, MADV_POPULATE_WRITE);
#endif
    chunk.Base = base;
    chunk.Size = mapped;
    chunk.Mapped = true;
  }
#endif
  if (!chunk.Mapped)
    chunk.Base = static_cast<char*>(::operator new(size));
  Poison(chunk.Base, chunk.Size);
  return chunk;
}

void TArena::Release()
{
  for (const TChunk& c : FChunks) {
    Unpoison(c.Base, c.Size);
#ifdef __linux__
    if (c.Mapped) {
      munmap(c.Base, c.Size);
      continue;
    }
#endif
    ::operator delete(c.Base);
  }
  FChunks.clear();
  FNext = FEnd = nullptr;
  FNextChunk = FirstChunk;
  FUsed = 0;
}

size_t TArena::Reserved() const
{
  size_t n = 0;
  for (const TChunk& c : FChunks)
    n += c.Size;
  return n;
}

size_t TArena::Mapped() const
{
  size_t n = 0;
  for (const TChunk& c : FChunks)
    n += c.Mapped ? c.Size : 0;
  return n;
}
