#pragma once
// The charset codes of documents and the single-byte code pages behind them. Text of a UTF-8
// document carries CharsetUtf8; every other code is one byte per character.
#include <QString>
#include <string>

namespace codepage {

// Not a single-byte code page: the text is UTF-8 (the number is the one code pages use for it).
constexpr int CharsetUtf8 = 65001;

// The 256 byte values of a single-byte charset as Unicode (0 and unknown charsets are
// Windows-1252; bytes the code page leaves undefined keep their Latin-1 reading).
const QString& Table(int charset);

// The byte of a single-byte charset that stands for cp, or -1 when it has none.
int ByteOf(int charset, char32_t cp);

// Text of a charset as Unicode: UTF-8 (a broken unit gives one U+FFFD) or single bytes.
QString Decode(const char* s, int n, int charset);

// Unicode text in a charset: UTF-8, or a byte per character with a question mark for what the
// code page cannot say.
std::string Encode(const QString& s, int charset);

} // namespace codepage
