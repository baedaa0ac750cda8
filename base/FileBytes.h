#pragma once
// A file's bytes read whole in one pass: the size is taken first, so a long document is read
// straight into its final buffer instead of growing a stream buffer and copying it out.
#include <string>

namespace filebytes {

// Replaces bytes with the whole content of the file. False when it cannot be opened or read
// (a folder included); bytes is then empty. A file that grows or shrinks while it is read gives
// what was there to read.
bool ReadAll(const std::string& fileName, std::string& bytes);

} // namespace filebytes
