#pragma once
// A document that a host supplied through one of the frame viewer's request events: a file
// name to read instead, a buffer, a string list or a stream (none owned).
#include "html/parser/BuilderEvents.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

struct TDocSource {
  enum TKind : uint8_t { dsFile = 0, dsBuffer = 1, dsStrings = 2, dsStream = 3 };
  TKind Kind = dsFile;
  std::string FileName;
  const std::vector<std::string>* Strings = nullptr;
  std::istream* Stream = nullptr;
  const char* Buffer = nullptr;
  int32_t BuffSize = 0;

  // What the parser reads; a stream is rewound first, so it can be read more than once.
  TParseSource Parse() const;
  // True when a FRAMESET comes before any body content. A file is judged from its start where
  // that decides it: a long page is not read whole just to learn that it is no frameset.
  bool IsFrameSet() const;
};
