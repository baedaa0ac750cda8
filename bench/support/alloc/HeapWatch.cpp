#include "HeapWatch.h"

#include <atomic>
#include <cerrno>
#include <malloc.h>

// The C library's own entry points, which these wrappers hand every request to.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {

std::atomic<bool> Watching{false};
std::atomic<long long> Used{0};
std::atomic<long long> High{0};
std::atomic<size_t> Largest{0};

void Taken(void* p)
{
  if (!p || !Watching.load(std::memory_order_relaxed))
    return;
  const size_t size = malloc_usable_size(p);
  const long long now =
      Used.fetch_add((long long)size, std::memory_order_relaxed) + (long long)size;
  long long high = High.load(std::memory_order_relaxed);
  while (now > high && !High.compare_exchange_weak(high, now, std::memory_order_relaxed)) {
  }
  size_t largest = Largest.load(std::memory_order_relaxed);
  while (size > largest &&
         !Largest.compare_exchange_weak(largest, size, std::memory_order_relaxed)) {
  }
}

void Given(void* p)
{
  if (p && Watching.load(std::memory_order_relaxed))
    Used.fetch_sub((long long)malloc_usable_size(p), std::memory_order_relaxed);
}

} // namespace

extern "C" {

void* malloc(size_t size)
{
  void* p = __libc_malloc(size);
  Taken(p);
  return p;
}

void* calloc(size_t n, size_t size)
{
  void* p = __libc_calloc(n, size);
  Taken(p);
  return p;
}

void* realloc(void* old, size_t size)
{
  Given(old);
  void* p = __libc_realloc(old, size);
  // A failed realloc leaves the old block where it was.
  Taken(p ? p : (size ? old : nullptr));
  return p;
}

void free(void* p)
{
  Given(p);
  __libc_free(p);
}

void* memalign(size_t alignment, size_t size)
{
  void* p = __libc_memalign(alignment, size);
  Taken(p);
  return p;
}

void* aligned_alloc(size_t alignment, size_t size)
{
  return memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size)
{
  if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0)
    return EINVAL;
  void* p = memalign(alignment, size);
  if (!p && size)
    return ENOMEM;
  *out = p;
  return 0;
}

} // extern "C"

namespace heapwatch {

void Start()
{
  Used.store(0, std::memory_order_relaxed);
  High.store(0, std::memory_order_relaxed);
  Largest.store(0, std::memory_order_relaxed);
  Watching.store(true, std::memory_order_relaxed);
}

void Stop()
{
  Watching.store(false, std::memory_order_relaxed);
}

long long Taken()
{
  return Used.load(std::memory_order_relaxed);
}

long long HighWater()
{
  return High.load(std::memory_order_relaxed);
}

size_t LargestBlock()
{
  return Largest.load(std::memory_order_relaxed);
}

} // namespace heapwatch
