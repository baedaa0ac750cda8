#pragma once
// Fonts shared by value: every font object and list marker that asks for an equal font holds
// the same one, so a page with many thousands of font changes keeps one copy of each distinct
// font. A font is freed with its last holder. The engine runs on one thread; so does the table.
#include "html/model/MyFont.h"

#include <cstddef>
#include <memory>

class TFontTable {
public:
  // The shared font equal to font (framework font, nominal size, colour, charset, monospace).
  static std::shared_ptr<const TMyFont> Intern(const TMyFont& font);
  // Distinct fonts held somewhere now.
  static size_t LiveCount();
};

bool SameFont(const TMyFont& a, const TMyFont& b);
