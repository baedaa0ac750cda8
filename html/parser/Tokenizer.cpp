#include "html/parser/Tokenizer.h"

#include "base/CodePage.h"
#include "base/Exceptions.h"
#include "base/FileBytes.h"
#include "base/StringUtil.h"
#include "base/Utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <istream>
#include <iterator>
#include <memory>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr unsigned char LF = 10;
constexpr unsigned char TAB = 9;

enum TCharClass : uint8_t {
  ccPlain, // ordinary text: read in bulk
  ccBlank, // space or line end
  ccStop,  // ends a text token: control characters, '&', '<'
};

constexpr auto CharClass = [] {
  std::array<TCharClass, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[size_t(c)] = (c < 32 || c == '&' || c == '<') ? ccStop : ccPlain;
  t[' '] = ccBlank;
  t[TTokenizer::CrChar] = ccBlank;
  return t;
}();

// Bytes that StepChar passes through unchanged and AdvanceChar cannot open a comment at.
constexpr auto SimpleByte = [] {
  std::array<bool, 256> t{};
  t.fill(true);
  for (int c : {int(LF), int(TTokenizer::CrChar), int(TAB), int(TTokenizer::EofChar), int('<')})
    t[size_t(c)] = false;
  return t;
}();

// Bytes a text run takes in bulk: plain text that needs no folding and cannot open a comment.
constexpr auto RunByte = [] {
  std::array<bool, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[size_t(c)] = CharClass[size_t(c)] == ccPlain && SimpleByte[size_t(c)];
  return t;
}();

// The end of the text run that starts at p: bytes of RunByte, and (when spaces is set) single
// spaces between them. The run never ends with a space, so that a blank after it is folded as
// usual. Its bytes are copied to dst on the way, along with up to 16 bytes after it but never
// a byte at or past limit. Sixteen bytes are looked at in one step where the processor allows.
const unsigned char* CopyRun(const unsigned char* p, const unsigned char* limit, bool spaces,
                             char* dst)
{
  const unsigned char* q = p;
#if defined(__SSE2__)
  const __m128i lowest = _mm_set1_epi8(32), lt = _mm_set1_epi8('<'), amp = _mm_set1_epi8('&');
  const __m128i blank = _mm_set1_epi8(' ');
  while (limit - q >= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + (q - p)), v);
    __m128i below = _mm_cmpeq_epi8(_mm_max_epu8(v, lowest), lowest); // 32 or less
    __m128i sp = _mm_cmpeq_epi8(v, blank);
    __m128i stop = _mm_or_si128(_mm_andnot_si128(sp, below),
                                _mm_or_si128(_mm_cmpeq_epi8(v, lt), _mm_cmpeq_epi8(v, amp)));
    unsigned spaceBits = unsigned(_mm_movemask_epi8(sp));
    unsigned stopBits = unsigned(_mm_movemask_epi8(stop));
    // A space stops the run when spaces are not taken, or at the first of two.
    stopBits |= spaces ? spaceBits & (spaceBits >> 1) : spaceBits;
    if (stopBits) {
      q += __builtin_ctz(stopBits);
      break;
    }
    // A space at the end of the block may start a pair: the next block starts with it.
    q += (spaceBits & 0x8000u) ? 15 : 16;
  }
#endif
  for (; q < limit && (RunByte[*q] || (spaces && *q == ' ' && q + 1 < limit && RunByte[q[1]])); ++q)
    dst[q - p] = char(*q);
  while (q > p && q[-1] == ' ')
    --q;
  return q;
}

// The first byte above 127 in [p, end), or end.
const unsigned char* FirstHighByte(const unsigned char* p, const unsigned char* end)
{
#if defined(__SSE2__)
  // Most pages are ASCII from end to end: 64 bytes are looked at in one step until a block
  // holds a high byte, which the 16-byte steps then find.
  for (; end - p >= 64; p += 64) {
    const auto* v = reinterpret_cast<const __m128i*>(p);
    const __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(v), _mm_loadu_si128(v + 1)),
                                     _mm_or_si128(_mm_loadu_si128(v + 2), _mm_loadu_si128(v + 3)));
    if (_mm_movemask_epi8(any))
      break;
  }
  for (; end - p >= 16; p += 16) {
    int bits = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    if (bits)
      return p + __builtin_ctz(unsigned(bits));
  }
#endif
  while (p < end && *p < 0x80)
    ++p;
  return p;
}

// A '<' that cannot open a comment or declaration: read like a simple byte. p may be the end.
inline bool PlainTagOpen(const unsigned char* p, const unsigned char* end)
{
  return end - p >= 2 && *p == '<' && p[1] != '!';
}

// Blank bytes before line-end folding.
constexpr auto BlankByte = [] {
  std::array<bool, 256> t{};
  for (int c : {int(' '), int(TAB), int(LF), int(TTokenizer::CrChar)})
    t[size_t(c)] = true;
  return t;
}();

constexpr auto UpperTable = [] {
  std::array<unsigned char, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[size_t(c)] = (c >= 'a' && c <= 'z') ? (unsigned char)(c - 32) : (unsigned char)c;
  return t;
}();

// Symbols that show content has arrived after a paragraph space.
constexpr auto ClearsParaSpace = [] {
  std::array<bool, symCount> t{};
  for (TSymbol s :
       {symBR, symH, symHR, symIMG, symText, symTABLE, symINPUT, symTEXTAREA, symSELECT, symPANEL})
    t[s] = true;
  return t;
}();

// The tags whose attributes are collected, by symbol.
const auto TakesAttributes = [] {
  std::array<bool, symCount> t{};
  for (int s = 0; s < symCount; ++s)
    t[size_t(s)] = TagTakesAttributes(TSymbol(s));
  return t;
}();

// Bytes a tag may hold and still be read straight from the block: no control characters (line
// ends and tabs fold, byte 26 ends the input) and no '<' (it may open a comment).
constexpr auto TagByte = [] {
  std::array<bool, 256> t{};
  for (int c = 32; c < 256; ++c)
    t[size_t(c)] = c != '<';
  return t;
}();

#if defined(__SSE2__)
// Bytes of v from lo to hi.
inline __m128i InRange(__m128i v, char lo, char hi)
{
  const __m128i shifted = _mm_sub_epi8(v, _mm_set1_epi8(lo));
  return _mm_cmpeq_epi8(_mm_min_epu8(shifted, _mm_set1_epi8(char(hi - lo))), shifted);
}

// Sixteen bytes of which the first n (0 to 16) are 0xFF and the others 0.
inline __m128i FirstBytes(int n)
{
  static constexpr auto Bytes = [] {
    std::array<unsigned char, 32> t{};
    for (size_t i = 0; i < 16; ++i)
      t[i] = 0xFF;
    return t;
  }();
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(Bytes.data() + 16 - n));
}
#endif

// Bytes of a tag word (letters) and of an attribute name (letters and '-').
constexpr auto TagWordByte = [] {
  std::array<bool, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[size_t(c)] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return t;
}();
constexpr auto AttrNameByte = [] {
  std::array<bool, 256> t = TagWordByte;
  t['-'] = true;
  return t;
}();

// Reads the name at p into word, upper-cased: the bytes up to the first one that is not a
// letter (nor a '-' when Dashes is set). Returns the byte after the name. Names are a few
// letters long, so the sixteen bytes at p are looked at in one step where the processor allows.
template <bool Dashes>
inline const unsigned char* ReadName(const unsigned char* p, const unsigned char* end,
                                     TPackedWord& word)
{
  const auto& nameByte = Dashes ? AttrNameByte : TagWordByte;
#if defined(__SSE2__)
  if (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i lower = InRange(v, 'a', 'z');
    __m128i name = _mm_or_si128(lower, InRange(v, 'A', 'Z'));
    if (Dashes)
      name = _mm_or_si128(name, _mm_cmpeq_epi8(v, _mm_set1_epi8('-')));
    const int n = __builtin_ctz(~unsigned(_mm_movemask_epi8(name))); // 16 when all are
    const __m128i upper = _mm_sub_epi8(v, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
    const __m128i packed = _mm_and_si128(upper, FirstBytes(n));
    word.Low = uint64_t(_mm_cvtsi128_si64(packed));
    word.High = uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(packed, packed)));
    word.Length = size_t(n);
    p += n;
    if (n < 16)
      return p;
    for (; p < end && nameByte[*p]; ++p) // too long for any table: only counted
      ++word.Length;
    return p;
  }
#endif
  for (; p < end && nameByte[*p]; ++p)
    word.Append(UpperTable[*p]);
  return p;
}

// A tag word as ReadName<false> reads it. Most are a few letters: eight bytes are looked at as
// one integer, each byte's top bit telling whether it is a letter, which is quicker to come by
// than the sixteen-byte step; a word that fills them is left to ReadName.
inline const unsigned char* ReadTagWord(const unsigned char* p, const unsigned char* end,
                                        TPackedWord& word)
{
  if (end - p < 8)
    return ReadName<false>(p, end, word);
  constexpr uint64_t Ones = 0x0101010101010101ull, Tops = Ones * 0x80, Low7 = Ones * 0x7F;
  uint64_t x;
  std::memcpy(&x, p, 8); // byte k of x is p[k] on this little-endian target
  static_assert(std::endian::native == std::endian::little);
  // Between 'a' - 1 and 'z' + 1 after folding to lower case, and below 128; no byte borrows from
  // or carries into the next.
  const uint64_t t = x | (Ones * 0x20), t7 = t & Low7;
  const uint64_t letters =
      ((Ones * (127 + 'z' + 1) - t7) & (t7 + Ones * (127 - ('a' - 1))) & ~x) & Tops;
  const uint64_t others = ~letters & Tops;
  if (others == 0)
    return ReadName<false>(p, end, word);
  const uint64_t first = others & (~others + 1); // the top bit of the first byte that is no letter
  word.Low = x & (Ones * 0xDF) & ((first >> 7) - 1);
  word.High = 0;
  word.Length = size_t(__builtin_ctzll(first) >> 3);
  return p + word.Length;
}

// The first byte from p on (before end) that is a control character, a '<' or one of the
// stops a, b and c; end when there is none.
inline const unsigned char* FindValueEnd(const unsigned char* p, const unsigned char* end,
                                         unsigned char a, unsigned char b, unsigned char c)
{
#if defined(__SSE2__)
  const __m128i lowest = _mm_set1_epi8(31), lt = _mm_set1_epi8('<');
  const __m128i sa = _mm_set1_epi8(char(a)), sb = _mm_set1_epi8(char(b)),
                sc = _mm_set1_epi8(char(c));
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(v, lowest), lowest);
    const __m128i stop =
        _mm_or_si128(_mm_or_si128(control, _mm_cmpeq_epi8(v, lt)),
                     _mm_or_si128(_mm_cmpeq_epi8(v, sa),
                                  _mm_or_si128(_mm_cmpeq_epi8(v, sb), _mm_cmpeq_epi8(v, sc))));
    if (const unsigned bits = unsigned(_mm_movemask_epi8(stop)))
      return p + __builtin_ctz(bits);
  }
#endif
  while (p < end && *p >= 32 && *p != '<' && *p != a && *p != b && *p != c)
    ++p;
  return p;
}

// The number of an attribute value: most values are no number at all, and most numbers are a
// few digits, so only the rest goes to the general reader.
inline int32_t ValueNumber(std::string_view text)
{
  if (text.empty())
    return 0;
  const unsigned char first = (unsigned char)text[0];
  if (first > '9' || (first < '0' && first != '+' && first != '-' && first != '$' && first != ' '))
    return 0;
  if (text.size() <= 9) {
    int32_t n = 0;
    for (unsigned char c : text) {
      if (c < '0' || c > '9')
        return strutil::StrToIntDef(text, 0);
      n = n * 10 + (c - '0');
    }
    return n;
  }
  return strutil::StrToIntDef(text, 0);
}

// The number of a quoted value, whose '%' at the end is left out ("50%" is 50).
inline int32_t QuotedValueNumber(std::string_view text)
{
  if (!text.empty() && text.back() == '%')
    text.remove_suffix(1);
  return ValueNumber(text);
}

inline const unsigned char* SkipSpaces(const unsigned char* p, const unsigned char* end)
{
  while (p < end && *p == ' ')
    ++p;
  return p;
}

inline bool IsLetter(unsigned char up)
{
  return up >= 'A' && up <= 'Z';
}
inline bool IsDigit(unsigned char c)
{
  return c >= '0' && c <= '9';
}
inline int HexDigit(unsigned char c)
{
  if (IsDigit(c))
    return c - '0';
  unsigned char up = UpperTable[c];
  return up >= 'A' && up <= 'F' ? up - 'A' + 10 : -1;
}
inline bool IsAlnum(unsigned char c)
{
  return IsDigit(c) || IsLetter(UpperTable[c]);
}

// Clears a flag on every way out of a scope.
class TFlagGuard {
public:
  explicit TFlagGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TFlagGuard() { FFlag = false; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
  bool& FFlag;
};

} // namespace

TTokenizer::TTokenizer() = default;

// ---- Entry points -----------------------------------------------------------------------------

void TTokenizer::Reset(TSourceKind kind, const char* data, int64_t size, TIncludeType onInclude,
                       QObject* sender)
{
  if (!data || size < 0)
    size = 0;
  // Positions are 32-bit: a larger document is read up to that limit.
  if (size > INT32_MAX)
    size = INT32_MAX;
  FKind = FSavedKind = kind;
  FPtr = reinterpret_cast<const unsigned char*>(data);
  FEnd = FPtr + size;
  FMainPtr = FMainEnd = nullptr;
  FIndexStep = 1;
  FSrcIndex = -1;
  FLineEndState = 0;
  FCommentOpen = FReadingIncludeParams = false;
  PreMode = ScriptMode = NoWrapMode = ParaSpaceAdded = RawScriptBody = false;
  FCurCh = FUpCh = ' ';
  FCurSym = symEof;
  FCurToken.Clear();
  FAttributes.Clear();
  FHeadingDigit = 0;
  FTagStart = -1;
  FOnInclude = std::move(onInclude);
  FSender = sender;
  DetectEncoding();
  FSourceLength = int32_t(FEnd - FPtr) + FSrcIndex + 1;
  RefCharset = FUtf8 ? codepage::CharsetUtf8 : 0;
}

// A byte-order mark says UTF-8 or UTF-16 (read as UTF-8 from here on); without one, text whose
// bytes above 127 all form UTF-8 is UTF-8. The mark itself is no text, but positions still
// count it: they stay byte offsets of the source.
void TTokenizer::DetectEncoding()
{
  const int64_t size = FEnd - FPtr;
  const auto* p = FPtr;
  FUtf8 = true;
  if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
    FPtr += 3;
    FSrcIndex = 2;
  } else if (size >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
    // Positions of a UTF-16 document count bytes of its UTF-8 reading.
    std::string text =
        utf8::FromUtf16(reinterpret_cast<const char*>(p) + 2, size_t(size - 2), p[0] == 0xFE);
    FSource = std::move(text);
    FPtr = reinterpret_cast<const unsigned char*>(FSource.data());
    FEnd = FPtr + std::min<size_t>(FSource.size(), INT32_MAX);
  } else {
    // Text without a byte above 127 is not UTF-8; the ASCII before the first such byte tells
    // nothing, so only the rest is looked at.
    const unsigned char* high = FirstHighByte(p, FEnd);
    FUtf8 = utf8::LooksLikeUtf8(reinterpret_cast<const char*>(high), size_t(FEnd - high));
  }
}

void TTokenizer::BeginFile(const std::string& fileName, TIncludeType onInclude, QObject* sender)
{
  if (!filebytes::ReadAll(fileName, FSource))
    throw ELumoraError(msg::CantLocateFile + fileName);
  Reset(skFile, FSource.data(), int64_t(FSource.size()), std::move(onInclude), sender);
}

void TTokenizer::BeginBuffer(const char* buffer, int64_t size, TIncludeType onInclude,
                             QObject* sender)
{
  FSource.clear();
  Reset(skBuffer, buffer, size, std::move(onInclude), sender);
}

void TTokenizer::BeginStrings(const std::vector<std::string>& lines, TIncludeType onInclude,
                              QObject* sender)
{
  // The joined text of a string list: every line ends with CR LF.
  FSource.clear();
  for (const auto& line : lines) {
    FSource += line;
    FSource += "\r\n";
  }
  Reset(skStrings, FSource.data(), int64_t(FSource.size()), std::move(onInclude), sender);
}

void TTokenizer::BeginStream(std::istream& stream, TIncludeType onInclude, QObject* sender)
{
  FSource.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
  Reset(skStream, FSource.data(), int64_t(FSource.size()), std::move(onInclude), sender);
}

void TTokenizer::Prime()
{
  AdvanceChar();
  NextToken();
}

// ---- Characters -------------------------------------------------------------------------------

inline int TTokenizer::FetchByte()
{
  if (FPtr < FEnd) {
    FSrcIndex += FIndexStep;
    return *FPtr++;
  }
  return FetchAtEnd();
}

int TTokenizer::FetchAtEnd()
{
  if (FKind == skInclude) {
    EndInclude();
    return FetchByte();
  }
  return EofChar; // never advanced past
}

inline int TTokenizer::PeekByte()
{
  if (FPtr < FEnd)
    return *FPtr;
  if (FKind == skInclude) {
    EndInclude();
    return PeekByte();
  }
  return EofChar;
}

void TTokenizer::StartInclude(const char* buffer, int32_t size)
{
  FSavedKind = FKind;
  FKind = skInclude;
  FMainPtr = FPtr;
  FMainEnd = FEnd;
  FPtr = reinterpret_cast<const unsigned char*>(buffer);
  FEnd = FPtr + size;
  FIndexStep = 0;
}

void TTokenizer::EndInclude()
{
  FKind = FSavedKind;
  FPtr = FMainPtr;
  FEnd = FMainEnd;
  FIndexStep = 1;
}

void TTokenizer::StepChar()
{
  int c = FetchByte();
  // The second byte of a CR LF or LF CR pair is dropped.
  if ((c == LF && FLineEndState == 1) || (c == CrChar && FLineEndState == 2))
    c = FetchByte();
  if (c == LF) {
    FLineEndState = 2;
    c = CrChar;
  } else if (c == CrChar) {
    FLineEndState = 1;
  } else {
    FLineEndState = 0;
    if (c == TAB)
      c = ' ';
  }
  FCurCh = (unsigned char)c;
  FUpCh = UpperTable[size_t(c)];
  if (c == EofChar && FCommentOpen)
    throw EParseError(msg::OpenComment);
}

void TTokenizer::AdvanceChar()
{
  for (;;) {
    FCommentOpen = false;
    StepChar();
    if (FCurCh != '<' || ScriptMode || PeekByte() != '!')
      return;
    SkipCommentOrDeclaration();
    // The current character is the closing '>': read on after it.
  }
}

// AdvanceChar for the common case of a byte that needs no folding or comment check.
inline void TTokenizer::Advance()
{
  if (FPtr < FEnd && (SimpleByte[*FPtr] || PlainTagOpen(FPtr, FEnd))) {
    FCurCh = *FPtr++;
    FUpCh = UpperTable[FCurCh];
    FSrcIndex += FIndexStep;
    FLineEndState = 0;
    return;
  }
  AdvanceChar();
}

inline void TTokenizer::TakeSimple(const unsigned char* q)
{
  if (q == FPtr)
    return;
  FCurCh = q[-1];
  FUpCh = UpperTable[FCurCh];
  FSrcIndex += int32_t(q - FPtr) * FIndexStep;
  FLineEndState = 0;
  FPtr = q;
}

template <class F> inline const unsigned char* TTokenizer::SimpleUntil(F keep) const
{
  const unsigned char* q = FPtr;
  while (q < FEnd && SimpleByte[*q] && keep(*q))
    ++q;
  return q;
}

void TTokenizer::SkipBlanks()
{
  while (FCurCh == ' ' || FCurCh == CrChar) {
    // The blanks that follow are skipped in one go; only the state the last of them leaves
    // matters for folding the next line end.
    const unsigned char* p = FPtr;
    while (p < FEnd && BlankByte[*p])
      ++p;
    if (p != FPtr) {
      FLineEndState = p[-1] == CrChar ? 1 : p[-1] == LF ? 2 : 0;
      FSrcIndex += int32_t(p - FPtr) * FIndexStep;
      FPtr = p;
    }
    Advance();
  }
}

// At "<" with "!" next: skips a comment, a declaration, or runs an include command.
void TTokenizer::SkipCommentOrDeclaration()
{
  FetchByte(); // the '!'
  FCommentOpen = true;
  StepChar();
  if (FCurCh == '-' && PeekByte() == '-') {
    StepChar(); // the second dash
    StepChar(); // the character after the dashes
    if (FCurCh == '#' && FOnInclude && FKind != skInclude && !FReadingIncludeParams)
      RunInclude();
    else
      SkipCommentBody();
  } else {
    while (FCurCh != '>')
      StepChar();
  }
}

// A comment ends at two or more dashes, optional spaces and line ends, then '>'.
void TTokenizer::SkipCommentBody()
{
  for (;;) {
    while (FCurCh != '-')
      StepChar();
    StepChar();
    if (FCurCh != '-')
      continue;
    while (FCurCh == '-')
      StepChar();
    while (FCurCh == ' ' || FCurCh == CrChar)
      StepChar();
    if (FCurCh == '>')
      return;
  }
}

// At the '#' of "<!--#command params-->".
void TTokenizer::RunInclude()
{
  std::string command;
  StepChar();
  while (IsLetter(FUpCh)) {
    command += char(FCurCh);
    StepChar();
  }
  std::vector<std::string> params;
  {
    // Parameters may hold a comment of their own, but never another command.
    TFlagGuard guard(FReadingIncludeParams);
    while (ReadAttribute())
      params.push_back(FAttrName + "=\"" + FAttrText + "\"");
  }
  FCommentOpen = true;
  SkipCommentBody();

  const char* buffer = nullptr;
  int32_t size = 0;
  FOnInclude(FSender, command, std::move(params), buffer, size);
  if (buffer && size > 0)
    StartInclude(buffer, size);
}

// ---- Tokens -----------------------------------------------------------------------------------

void TTokenizer::NextToken()
{
  if (ParaSpaceAdded) {
    ReadToken();
    if (ClearsParaSpace[FCurSym])
      ParaSpaceAdded = false;
    return;
  }
  ReadToken();
}

// Every way on ends in a call that finishes the token, so that the usual path through here
// keeps nothing on the stack.
inline void TTokenizer::ReadToken()
{
  FCurToken.Clear();
  const unsigned char c = FCurCh;
  if (c == '<')
    ReadFastTag();
  else if (CharClass[c] == ccPlain)
    PreMode ? ReadPreText() : ReadFlowText();
  else if (CharClass[c] == ccBlank)
    PreMode ? ReadPreText() : PlainTagOpen(FPtr, FEnd) ? ReadBlankBeforeTag() : ReadFlowText();
  else if (c == '&')
    ReadCharRefToken();
  else if (c == EofChar)
    FCurSym = symEof;
  else
    ReadOtherChar();
}

void TTokenizer::ReadCharRefToken()
{
  ReadCharRef(FCurToken);
  FCurSym = symText;
}

// A control character no other rule takes.
void TTokenizer::ReadOtherChar()
{
  FCurToken.AppendChar(char(FCurCh), FSrcIndex);
  Advance();
  FCurSym = symOtherChar;
}

// Text outside preformatted blocks, where every run of blanks becomes one space. This is the
// bulk of most documents, so it works on the block directly and keeps the reader state in
// locals; whatever needs folding or may open a comment goes through AdvanceChar. The token is
// empty on entry (NextToken clears it).
void TTokenizer::ReadFlowText()
{
  unsigned char c = FCurCh;
  const bool spaces = !NoWrapMode;
  const char space = spaces ? ' ' : char(NoBreakSpaceChar);
  constexpr int room = MaxTextToken;
  char* chars = FCurToken.Extend(room);
  int n = 0;

  // Locals, not members: the stores into `chars` could alias members and force reloads.
  int32_t index = FSrcIndex;
  const unsigned char* p = FPtr;
  const unsigned char* end = FEnd;
  int32_t step = FIndexStep;
  int lineEndState = FLineEndState;
  // Positions go in as runs: the first character starts one, and after it only a character
  // that does not continue the run before it is told to the token.
  FCurToken.SetFirstPosition(index);
  int32_t expected = index;
  // Moves to the next character: straight from the block when it needs no folding.
  auto next = [&] {
    if (p < end && (SimpleByte[*p] || PlainTagOpen(p, end))) {
      c = *p++;
      index += step;
      lineEndState = 0;
      return;
    }
    FPtr = p;
    FSrcIndex = index;
    FLineEndState = lineEndState;
    AdvanceChar();
    c = FCurCh;
    index = FSrcIndex;
    p = FPtr;
    end = FEnd;
    step = FIndexStep;
    lineEndState = FLineEndState;
  };
  while (n < room) {
    const TCharClass cls = CharClass[c];
    // A single space before a word is taken with the word, as a space between words is.
    if (cls == ccPlain || (c == ' ' && spaces && p < end && RunByte[*p])) {
      if (index != expected)
        FCurToken.SetPosition(n, index);
      chars[n++] = char(c);
      // The bytes that follow up to the next stop, blank pair or line end are taken as they
      // stand, each one position on; single spaces between words too (unless NOBR turns
      // them into code 5).
      const unsigned char* q =
          CopyRun(p, p + std::min<ptrdiff_t>(end - p, room - n), spaces, chars + n);
      if (q != p) {
        const int k = int(q - p);
        if (step != 1) // include text: every character keeps the comment's position
          FCurToken.SetPositions(n, k, index + step, step);
        n += k;
        index += k * step;
        p = q;
      }
      expected = index + 1;
      next();
    } else if (cls == ccBlank) {
      if (index != expected)
        FCurToken.SetPosition(n, index);
      chars[n++] = space;
      expected = index + 1;
      do { // skip the rest of the blanks, comments between them too
        const unsigned char* q = p;
        while (q < end && BlankByte[*q])
          ++q;
        if (q != p) {
          lineEndState = q[-1] == CrChar ? 1 : q[-1] == LF ? 2 : 0;
          index += int32_t(q - p) * step;
          p = q;
        }
        next();
      } while (c == ' ' || c == CrChar);
    } else {
      break;
    }
  }
  FCurCh = c;
  FUpCh = UpperTable[c];
  FSrcIndex = index;
  FPtr = p;
  FLineEndState = lineEndState;
  FCurToken.Commit(room, n);
  FCurSym = symText;
}

// A single blank right before a tag, the most common text of all (between two tags, or a line
// end before one): the space token and the '<' after it, in one step.
void TTokenizer::ReadBlankBeforeTag()
{
  *FCurToken.Extend(1) = NoWrapMode ? char(NoBreakSpaceChar) : ' ';
  FCurToken.SetFirstPosition(FSrcIndex);
  FCurCh = FUpCh = *FPtr++;
  FSrcIndex += FIndexStep;
  FLineEndState = 0;
  FCurSym = symText;
}

// Preformatted text: a character at a time, none of them a stop (the first one is not).
void TTokenizer::ReadPreText()
{
  while (FCurToken.Leng() < MaxTextToken) {
    if (CharClass[FCurCh] == ccStop)
      break;
    FCurToken.AppendChar(char(FCurCh), FSrcIndex);
    Advance();
  }
  FCurSym = symText;
}

// A tag read straight from the block: an optional '/', the word, attributes and the closing
// '>', all before the block ends and with no byte that needs folding, a reference or a
// comment check. Any other tag is left to ReadTag, which takes it byte by byte. Most tags of
// a page are read here.
void TTokenizer::ReadFastTag()
{
  const unsigned char* p = FPtr;
  const unsigned char* const end = FEnd;
  const bool endTag = p < end && *p == '/';
  p += endTag;
  TPackedWord word;
  p = ReadTagWord(p, end, word);
  if (word.Length == 0)
    return ReadTag();
  const TWordSlot& row = TagSlots.Find(word);
  // Start and end tags come in no order a branch could foresee: chosen by arithmetic.
  const uint8_t endMask = uint8_t(-int(endTag));
  const TSymbol sym = TSymbol(row.Sym ^ ((row.Sym ^ row.EndSym) & endMask));
  const bool keep = row.Attr & !endTag;
  if (keep & !FAttributes.Empty())
    FAttributes.Recycle();
  if (p < end && *p == '>') // most tags are a word alone
    return FinishFastTag(p, sym, 0);
  p = SkipSpaces(p, end);
  int digit = 0;
  if (row.Sym == symH && p < end && *p >= '1' && *p <= '6')
    digit = *p++ - '0';
  for (;;) {
    p = SkipSpaces(p, end);
    if (p == end)
      return ReadTag();
    if (!TagWordByte[*p])
      break;
    // The attributes of a tag that takes none are read all the same, and dropped.
    p = ReadFastAttribute(p, keep ? FAttributes.AddReused() : FDroppedAttribute);
    if (!p)
      return ReadTag();
  }
  while (p < end && *p != '>') { // whatever stands between the attributes and the '>'
    if (!TagByte[*p])
      return ReadTag();
    ++p;
  }
  if (p == end)
    return ReadTag();
  return FinishFastTag(p, sym, digit);
}

// The tag read by ReadFastTag becomes current, with its '>' at p.
inline void TTokenizer::FinishFastTag(const unsigned char* p, TSymbol sym, int digit)
{
  FTagStart = FSrcIndex;
  FHeadingDigit = digit;
  FCurSym = sym;
  // The byte after the '>' is current, taken straight when it needs nothing done (a raw
  // script body too: only a comment opener would read otherwise there).
  const unsigned char* next = p + 1;
  if (next < FEnd && (SimpleByte[*next] || PlainTagOpen(next, FEnd))) {
    TakeSimple(next + 1);
    return;
  }
  TakeSimple(next); // the '>' is current
  SkipPastTagEnd();
}

// An attribute for ReadFastTag, at its first letter, read into `a`: the byte after it, or
// nullptr when it must be read the general way.
const unsigned char* TTokenizer::ReadFastAttribute(const unsigned char* p, TAttribute& a)
{
  const unsigned char* const end = FEnd;
  const unsigned char* name = p;
  TPackedWord word;
  p = ReadName<true>(p, end, word);
  a.Sym = LookupAttribute(word);
  a.Name.clear();
  if (a.Sym == symUnknownAttr) // only unknown names are kept
    for (const unsigned char* r = name; r < p; ++r)
      a.Name += char(UpperTable[*r]);
  a.Text.clear();
  a.Num = a.Sym == attrBORDER ? 1 : 0; // a bare BORDER means 1
  p = SkipSpaces(p, end);
  if (p == end || *p != '=')
    return p == end ? nullptr : p;
  p = SkipSpaces(p + 1, end);
  if (p == end)
    return nullptr;
  const unsigned char quote = *p;
  if (quote == '"' || quote == '\'') {
    const unsigned char* q = FindValueEnd(p + 1, end, quote, '&', quote);
    if (q == end || *q != quote)
      return nullptr;
    // Trimmed as FinishQuotedValue trims: the value holds no control characters here.
    const unsigned char* first = SkipSpaces(p + 1, q);
    const unsigned char* last = q;
    while (last > first && last[-1] == ' ')
      --last;
    const std::string_view value(reinterpret_cast<const char*>(first), size_t(last - first));
    a.Text.append(value);
    a.Num = QuotedValueNumber(value); // from the source: the text was only just written

    return q + 1;
  }
  const bool numeric = quote == '+' || quote == '-' || IsDigit(quote);
  const unsigned char* q = FindValueEnd(p, end, ' ', '>', numeric ? '%' : '>');
  if (q == end || *q < 32 || *q == '<')
    return nullptr;
  const std::string_view value(reinterpret_cast<const char*>(p), size_t(q - p));
  a.Text.append(value);
  if (!numeric)
    return q;
  q = SkipSpaces(q, end);
  if (q == end)
    return nullptr;
  a.Num = ValueNumber(value);
  if (*q == '%') {
    a.Text += '%';
    ++q;
  }
  return q;
}

// A tag the general way, byte by byte: at its '<', with ReadFastTag having declined it.
void TTokenizer::ReadTag()
{
  FTagStart = FSrcIndex;
  Advance();
  bool endTag = false;
  if (FCurCh == '/') {
    endTag = true;
    Advance();
  } else if (!IsLetter(FUpCh)) {
    FCurToken.AppendChar('<', FTagStart);
    FCurSym = symText;
    return;
  }
  char word[MaxTagWord];
  int leng = 0;
  while (IsLetter(FUpCh)) {
    if (leng < MaxTagWord)
      word[leng++] = char(FUpCh);
    const unsigned char* q = SimpleUntil([](unsigned char c) { return IsLetter(UpperTable[c]); });
    for (const unsigned char* r = FPtr; r < q && leng < MaxTagWord; ++r)
      word[leng++] = char(UpperTable[*r]);
    TakeSimple(q);
    Advance();
  }
  TSymbol sym = LookupTag(std::string_view(word, size_t(leng)), endTag);
  SkipBlanks();
  FHeadingDigit = 0;
  if ((sym == symH || sym == symHEnd) && FCurCh >= '1' && FCurCh <= '6') {
    FHeadingDigit = FCurCh - '0';
    Advance();
  }
  bool keep = !endTag && TakesAttributes[sym];
  if (keep)
    FAttributes.Recycle();
  while (ReadAttribute())
    if (keep)
      AddAttribute();
  FCurSym = sym;
  SkipPastTagEnd();
}

void TTokenizer::AddAttribute()
{
  TAttribute& a = FAttributes.AddReused();
  a.Sym = FAttrSym;
  a.Num = FAttrNum;
  a.Text.assign(FAttrText);
  a.Name.clear();
  if (FAttrSym == symUnknownAttr) // only unknown names are kept
    a.Name.assign(FAttrName);
}

void TTokenizer::SkipPastTagEnd()
{
  while (FCurCh != '>' && FCurCh != EofChar) {
    TakeSimple(SimpleUntil([](unsigned char c) { return c != '>'; }));
    Advance();
  }
  if (FCurCh != '>')
    return;
  // A script body is raw text from its first character on: a comment opener right after
  // the tag must reach the script reader.
  if (FCurSym == symSCRIPT && RawScriptBody)
    StepChar();
  else
    Advance();
}

bool TTokenizer::ReadAttribute()
{
  SkipBlanks();
  if (!IsLetter(FUpCh))
    return false;
  FAttrName.clear();
  auto nameByte = [](unsigned char c) { return IsLetter(UpperTable[c]) || c == '-'; };
  while (nameByte(FCurCh)) {
    FAttrName += char(FUpCh);
    const unsigned char* q = SimpleUntil(nameByte);
    for (const unsigned char* r = FPtr; r < q; ++r)
      FAttrName += char(UpperTable[*r]);
    TakeSimple(q);
    Advance();
  }
  FAttrSym = LookupAttribute(FAttrName);
  SkipBlanks();
  FAttrText.clear();
  FAttrNum = FAttrSym == attrBORDER ? 1 : 0; // a bare BORDER means 1
  if (FCurCh != '=')
    return true;
  Advance();
  SkipBlanks();
  if (FCurCh == '"' || FCurCh == '\'')
    ReadQuotedValue();
  else if (FCurCh == '+' || FCurCh == '-' || IsDigit(FCurCh))
    ReadNumericValue();
  else
    ReadPlainValue();
  return true;
}

void TTokenizer::ReadQuotedValue()
{
  unsigned char quote = FCurCh;
  Advance();
  while (FCurCh != quote && FCurCh != EofChar) {
    if (FCurCh == CrChar) {
      Advance();
    } else if (FCurCh == '&') {
      FValueRef.Clear();
      ReadCharRef(FValueRef);
      FAttrText += FValueRef.Chars();
    } else {
      FAttrText += char(FCurCh);
      const unsigned char* q =
          SimpleUntil([quote](unsigned char c) { return c != quote && c != '&'; });
      FAttrText.append(reinterpret_cast<const char*>(FPtr), size_t(q - FPtr));
      TakeSimple(q);
      Advance();
    }
  }
  if (FCurCh == quote)
    Advance();
  FinishQuotedValue();
}

// A quoted value is trimmed, and its number read without a trailing '%'.
void TTokenizer::FinishQuotedValue()
{
  // Trimmed in place: the scratch string keeps its buffer.
  size_t last = FAttrText.size();
  while (last > 0 && (unsigned char)FAttrText[last - 1] <= ' ')
    --last;
  size_t first = 0;
  while (first < last && (unsigned char)FAttrText[first] <= ' ')
    ++first;
  FAttrText.erase(last);
  FAttrText.erase(0, first);
  FAttrNum = QuotedValueNumber(FAttrText);
}

// "+5", "-1", "50%", "100px": the number is read up to a blank, '%' or '>'.
void TTokenizer::ReadNumericValue()
{
  while (FCurCh != ' ' && FCurCh != CrChar && FCurCh != EofChar && FCurCh != '%' && FCurCh != '>') {
    FAttrText += char(FCurCh);
    Advance();
  }
  SkipBlanks();
  FAttrNum = ValueNumber(FAttrText);
  if (FCurCh == '%') {
    FAttrText += '%';
    Advance();
  }
}

void TTokenizer::ReadPlainValue()
{
  while (FCurCh != ' ' && FCurCh != CrChar && FCurCh != EofChar && FCurCh != '>') {
    FAttrText += char(FCurCh);
    const unsigned char* q = SimpleUntil([](unsigned char c) { return c != ' ' && c != '>'; });
    FAttrText.append(reinterpret_cast<const char*>(FPtr), size_t(q - FPtr));
    TakeSimple(q);
    Advance();
  }
}

// At '&'. Appends the decoded text to `out`, or the characters read when they are not a known
// reference. The decoded character carries the position of the '&'.
void TTokenizer::ReadCharRef(TokenObj& out)
{
  const int32_t pos = FSrcIndex;
  const int32_t step = FIndexStep; // the reference may end where include text does
  FLiteral.Clear();
  FLiteral.AppendChar('&', pos);
  Advance();
  auto keep = [this] {
    FLiteral.AppendChar(char(FCurCh), FSrcIndex);
    Advance();
  };
  if (FCurCh == '#') {
    keep();
    const bool hex = FCurCh == 'x' || FCurCh == 'X';
    if (hex)
      keep();
    auto isDigit = [hex](unsigned char c) { return hex ? HexDigit(c) >= 0 : IsDigit(c); };
    // At most 5 digits, and a hexadecimal value no larger than a decimal one can be.
    int digits = 0;
    int32_t n = 0;
    while (isDigit(FCurCh) && digits < 5) {
      n = n * (hex ? 16 : 10) + (hex ? HexDigit(FCurCh) : FCurCh - '0');
      ++digits;
      keep();
    }
    if (!isDigit(FCurCh) && n <= 99999) { // a sixth digit makes it literal
      if (FCurCh == ';')
        keep();
      if (digits > 0 && AppendCharCode(out, char32_t(n), pos, step))
        return;
    }
  } else if (IsAlnum(FCurCh)) {
    char name[MaxCharRefName];
    int leng = 0;
    // Six letters at most, as ever, unless they begin one of the few longer names.
    auto room = [&] {
      return leng < 6 ||
             (leng < MaxCharRefName && IsLongCharRefPrefix(std::string_view(name, size_t(leng))));
    };
    while (IsAlnum(FCurCh) && room()) {
      name[leng++] = char(FCurCh);
      keep();
    }
    if (!IsAlnum(FCurCh)) { // one more letter makes it literal
      if (FCurCh == ';')
        keep();
      if (AppendNamedRef(out, std::string_view(name, size_t(leng)), pos, step))
        return;
    }
  }
  out.AppendToken(FLiteral);
}

// A single-byte document keeps the text of the 103 names it always knew; the other names give
// their character as a numeric reference would.
bool TTokenizer::AppendNamedRef(TokenObj& out, std::string_view name, int32_t pos, int32_t step)
{
  std::string_view text;
  if (RefCharset != codepage::CharsetUtf8 && LookupCharRef(name, text)) {
    // "hellip" gives three characters at pos, pos + 1, pos + 2; in include text all keep
    // the position of the include comment, which is the last byte they may point at.
    out.AppendChars(text.data(), int(text.size()), pos, step);
    return true;
  }
  char32_t cp = 0;
  return LookupCharRefCode(name, cp) && AppendCharCode(out, cp, pos, step);
}

// The character of a reference in the document's charset: 9 is a space, other codes below 32
// (but 10) and surrogates stay literal. UTF-8 documents get the character (codes 128-159 as
// Windows-1252 reads them); single-byte documents get bytes up to 255 as they stand and
// beyond that the code page's byte for the character, if it has one.
bool TTokenizer::AppendCharCode(TokenObj& out, char32_t cp, int32_t pos, int32_t step)
{
  if (cp == 9)
    cp = ' ';
  if ((cp < 32 && cp != 10) || (cp >= 0xD800 && cp <= 0xDFFF))
    return false;
  if (cp < 128 || (cp <= 255 && RefCharset != codepage::CharsetUtf8)) {
    out.AppendChar(char(cp), pos);
    return true;
  }
  if (RefCharset != codepage::CharsetUtf8) {
    int byte = codepage::ByteOf(RefCharset, cp);
    if (byte < 0)
      return false;
    out.AppendChar(char(byte), pos);
    return true;
  }
  if (cp < 160)
    cp = codepage::Table(0)[int(cp)].unicode();
  std::string bytes;
  utf8::Append(bytes, cp);
  out.AppendChars(bytes.data(), int(bytes.size()), pos, step);
  return true;
}

// ---- Raw readers ------------------------------------------------------------------------------

std::vector<std::string> TTokenizer::ReadTextAreaLines()
{
  std::vector<std::string> lines;
  std::string line;
  for (;;) {
    if (FCurCh == EofChar)
      break;
    if (FCurCh == CrChar) {
      lines.push_back(std::move(line));
      line.clear();
      Advance();
    } else if (FCurCh == '&') {
      FValueRef.Clear();
      ReadCharRef(FValueRef);
      line += FValueRef.Chars();
    } else if (FCurCh == '<') {
      std::string word(1, '<');
      Advance();
      while (FCurCh != ' ' && FCurCh != CrChar && FCurCh != '>' && FCurCh != EofChar) {
        word += char(FCurCh);
        Advance();
      }
      if (strutil::SameText(word, "</textarea")) {
        while (FCurCh != '>' && FCurCh != EofChar)
          Advance();
        if (FCurCh == '>')
          Advance();
        break;
      }
      line += word;
    } else {
      line += char(FCurCh);
      Advance();
    }
  }
  if (!line.empty())
    lines.push_back(std::move(line));
  return lines;
}

std::string TTokenizer::ReadScriptBody()
{
  ScriptMode = true;
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } clear{ScriptMode};
  std::string body;
  body.reserve(32500);
  for (;;) {
    if (FCurCh == EofChar)
      break;
    if (FCurCh == CrChar) {
      body += "\r\n";
      Advance();
    } else if (FCurCh == '<') {
      // A tag-like piece: '<', up to seven of '/' and letters, and a '>' right after them.
      std::string piece(1, '<');
      Advance();
      while (piece.size() < 8 && (FCurCh == '/' || IsLetter(FUpCh))) {
        piece += char(FCurCh);
        Advance();
      }
      if (FCurCh == '>') {
        piece += '>';
        if (strutil::SameText(piece, "</script>")) {
          ScriptMode = false; // what follows the body is markup again
          Advance();
          break;
        }
        Advance();
      }
      body += piece;
    } else {
      body += char(FCurCh);
      Advance();
    }
  }
  return body;
}

std::vector<TOptionItem> TTokenizer::ReadSelectOptions()
{
  constexpr size_t MaxOptionText = 255;
  std::vector<TOptionItem> options;
  TOptionItem pending;
  bool open = false;
  auto complete = [&] {
    if (!open)
      return;
    pending.Text = strutil::Trim(pending.Text);
    if (!pending.Text.empty())
      options.push_back(std::move(pending));
    pending = TOptionItem();
    open = false;
  };
  NextToken();
  while (FCurSym != symSELECTEnd && FCurSym != symEof) {
    if (FCurSym == symText && open) {
      size_t room = MaxOptionText - std::min(MaxOptionText, pending.Text.size());
      pending.Text.append(FCurToken.Chars(), 0, room);
    } else if (FCurSym == symSCRIPT && RawScriptBody) {
      ReadScriptBody(); // a script among the options is not run
    } else if (FCurSym == symOPTION || FCurSym == symOPTIONEnd) {
      complete();
      if (FCurSym == symOPTION) {
        open = true;
        pending.Selected = FAttributes.Find(attrSELECTED) != nullptr;
        if (const TAttribute* value = FAttributes.Find(attrVALUE)) {
          pending.Value = value->Text;
          pending.HasValue = true;
        }
      }
    }
    NextToken();
  }
  complete();
  return options;
}
