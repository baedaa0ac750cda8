#include "base/FileBytes.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace filebytes {
namespace {

struct TCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads to the end of f, appending to bytes after its first `have` bytes; a read of less than
// asked ends it (end of file or an error, told apart by the caller).
void ReadToEnd(std::FILE* f, std::string& bytes, size_t have)
{
  constexpr size_t Step = 64 * 1024;
  for (;;) {
    if (bytes.size() - have < Step)
      bytes.resize(have + Step);
    const size_t want = bytes.size() - have;
    const size_t got = std::fread(bytes.data() + have, 1, want, f);
    have += got;
    if (got < want)
      break;
  }
  bytes.resize(have);
}

} // namespace

bool ReadAll(const std::string& fileName, std::string& bytes)
{
  bytes.clear();
  std::unique_ptr<std::FILE, TCloser> f(std::fopen(fileName.c_str(), "rb"));
  struct stat st {};
  if (!f || fstat(fileno(f.get()), &st) != 0 || S_ISDIR(st.st_mode))
    return false;
  // One byte more than the size said, so that the read that finds the end is the first one.
  const size_t expected = S_ISREG(st.st_mode) && st.st_size > 0 ? size_t(st.st_size) + 1 : 0;
  bytes.resize(expected);
  const size_t got = std::fread(bytes.data(), 1, expected, f.get());
  if (got == expected)
    ReadToEnd(f.get(), bytes, got);
  else
    bytes.resize(got);
  if (std::ferror(f.get())) {
    bytes.clear();
    return false;
  }
  return true;
}

} // namespace filebytes
