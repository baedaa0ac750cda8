#pragma once
// Heap blocks counted as they are taken and given back while a watch runs: the net bytes taken,
// their high-water mark and the largest single block. Linked only into the benchmark that asks
// for it, in front of the C library's allocator; outside a watch it only passes requests on.
#include <cstddef>

namespace heapwatch {

// Starts a watch from zero. Blocks given back during it that were taken before it count
// negative.
void Start();
// Ends the watch; the figures stay readable.
void Stop();
// Net bytes taken since Start(), as the allocator sized the blocks (a little over what was
// asked).
long long Taken();
// Most net bytes taken at any moment of the watch.
long long HighWater();
// The largest single block taken during the watch.
size_t LargestBlock();

} // namespace heapwatch
