#pragma once
// The HTML tokenizer: turns the bytes of a document into symbols for the document builder.
//
// How a parse drives it:
//
//   TTokenizer tok;                             // one document at a time per instance
//   tok.BeginBuffer(data, size, onInclude, viewer);   // or BeginFile/BeginStrings/BeginStream
//   try {
//     tok.Prime();                              // first character and first token
//     while (tok.CurSym() != symEof) {
//       switch (tok.CurSym()) { ... }           // read CurToken(), Attributes(), HeadingDigit()
//       tok.NextToken();
//     }
//   } catch (const EParseError&) { /* unterminated comment: keep what was built */ }
//
// Symbols (html/symbols/Symbols.h):
//   - symText: CurToken() holds the text (at most about 100 characters per token; runs of blanks
//     outside PreMode are one space, code 5 instead while NoWrapMode is set) with the source
//     position of every character. A character reference is a token of its own: decoded, or
//     as written when it is not one (a lone '&' included). Text read from an include answer
//     carries the position of the include comment's '>'.
//   - a start tag symbol (symP, symTABLE, symH ...): TagStart() is the position of its '<'. For
//     a tag that takes attributes (TagTakesAttributes), Attributes() holds its attributes in
//     source order; for any other tag, and for every end tag, Attributes() still holds those of
//     the last start tag that took attributes. The attribute objects stay valid until the
//     next tag that takes attributes. HeadingDigit() is 1-6 after <H1>..<H6> and
//     </H1>..</H6>, else 0.
//   - an end tag symbol (symPEnd, symTABLEEnd ...) for the first 49 tag words; other end tags
//     and unknown words give symUnknownTag.
//   - symOtherChar: a control character, in CurToken(); the builder ignores it.
//   - symEof: the end of the input (also a byte 26 in the source). NextToken() stays there.
//
// Modes the builder sets: PreMode (keep blanks and line ends in text), NoWrapMode (blanks
// become code 5), ScriptMode (no comment detection), ParaSpaceAdded (cleared by NextToken when
// content arrives), RawScriptBody (see below). Begin* resets them all to false.
//
// Character level: CurCh() is the current character after line-end folding (every line end
// is CR) and TAB-to-space; UpCh() is its ASCII upper case; SrcIndex() its source position.
// AdvanceChar() moves on and skips comments and declarations; StepChar() moves on without
// skipping them (plain-text files). Both raise EParseError("Open Comment at End of HTML File")
// when the input ends inside a comment or declaration.
//
// Raw readers for content that is not tokenized normally; each starts at CurCh() just after
// the opening tag (as NextToken leaves it) and the builder calls NextToken() afterwards:
//   - ReadTextAreaLines(): the lines of a TEXTAREA up to and past </TEXTAREA>.
//   - ReadScriptBody(): a SCRIPT body up to and past </SCRIPT>, line ends as CR LF, with
//     comment detection off. Set RawScriptBody (after Begin*) when a script handler is
//     assigned: the character after <SCRIPT ...> is then read without comment detection, so
//     that a body starting right away with "<!--" reaches ReadScriptBody, which must follow.
//     Without it, such a comment is skipped like any other.
//   - ReadSelectOptions(): the options of a SELECT, leaving symSELECTEnd (or symEof) current.
#include "html/symbols/AttributeList.h"
#include "html/symbols/Symbols.h"
#include "html/symbols/TokenObj.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QObject;

enum TSourceKind { skFile, skBuffer, skStrings, skStream, skInclude };

// The host's answer to an include comment <!--#Command NAME="value" ...-->. Params holds one
// line NAME="value" per parameter and belongs to the handler. The handler may point Buffer at
// BuffSize bytes of text to read in place of the comment; that memory stays the handler's and
// must stay valid until the tokenizer has read it (the next include command at the earliest).
using TIncludeType =
    std::function<void(QObject* Sender, const std::string& Command, std::vector<std::string> Params,
                       const char*& Buffer, int32_t& BuffSize)>;

// One option of a SELECT as the option reader collects it.
struct TOptionItem {
  std::string Text; // trimmed, never empty
  std::string Value;
  bool Selected = false;
  bool HasValue = false; // VALUE was given (it may be empty)
};

class TTokenizer {
public:
  static constexpr unsigned char EofChar = 26;
  static constexpr unsigned char CrChar = 13;
  static constexpr unsigned char NoBreakSpaceChar = 5; // a blank inside NOBR
  static constexpr int MaxTextToken = 100;
  static constexpr int MaxTagWord = 255;

  TTokenizer();
  TTokenizer(const TTokenizer&) = delete;
  TTokenizer& operator=(const TTokenizer&) = delete;

  // Start a document. Each resets the reader state; nothing is read until Prime().
  // BeginFile loads the whole file and throws ELumoraError("Can't locate file: " + name) when
  // it cannot be read. BeginBuffer reads the caller's memory in place: keep it alive.
  void BeginFile(const std::string& fileName, TIncludeType onInclude = nullptr,
                 QObject* sender = nullptr);
  void BeginBuffer(const char* buffer, int64_t size, TIncludeType onInclude = nullptr,
                   QObject* sender = nullptr);
  void BeginStrings(const std::vector<std::string>& lines, TIncludeType onInclude = nullptr,
                    QObject* sender = nullptr);
  void BeginStream(std::istream& stream, TIncludeType onInclude = nullptr,
                   QObject* sender = nullptr);
  // AdvanceChar() then NextToken(): the first token is current.
  void Prime();

  void NextToken();
  void AdvanceChar();
  void StepChar();
  // Skips spaces and line ends (comments between them too).
  void SkipBlanks();

  std::vector<std::string> ReadTextAreaLines();
  std::string ReadScriptBody();
  std::vector<TOptionItem> ReadSelectOptions();

  TSymbol CurSym() const { return FCurSym; }
  const TokenObj& CurToken() const { return FCurToken; }
  const TAttributeList& Attributes() const { return FAttributes; }
  int HeadingDigit() const { return FHeadingDigit; }
  int32_t TagStart() const { return FTagStart; }
  unsigned char CurCh() const { return FCurCh; }
  unsigned char UpCh() const { return FUpCh; }
  int32_t SrcIndex() const { return FSrcIndex; }
  TSourceKind Kind() const { return FKind; }
  int LineEndState() const { return FLineEndState; }
  // The document is UTF-8: it starts with a byte-order mark (UTF-16 is read as UTF-8), or its
  // bytes above 127 all form UTF-8.
  bool Utf8() const { return FUtf8; }
  // The byte count positions run up to: the source's, or that of the UTF-8 reading of UTF-16.
  int32_t SourceLength() const { return FSourceLength; }

  bool PreMode = false;
  bool ScriptMode = false;
  bool NoWrapMode = false;
  bool ParaSpaceAdded = false;
  bool RawScriptBody = false;
  // The charset character references are written in: CharsetUtf8 for UTF-8 documents, else a
  // single-byte charset code (Begin* sets it from the detected encoding; the builder changes it
  // when a META names a charset).
  int RefCharset = 0;

private:
  void Reset(TSourceKind kind, const char* data, int64_t size, TIncludeType onInclude,
             QObject* sender);
  void Advance();
  // The bytes from the reader position up to q are simple bytes that have been read: the last
  // of them becomes the current character.
  void TakeSimple(const unsigned char* q);
  // The first byte from the reader position on (at most FEnd) that is not a simple byte
  // accepted by keep.
  template <class F> const unsigned char* SimpleUntil(F keep) const;
  int FetchByte();
  int FetchAtEnd();
  int PeekByte();
  void StartInclude(const char* buffer, int32_t size);
  void EndInclude();
  void SkipCommentOrDeclaration();
  void SkipCommentBody();
  void RunInclude();
  void ReadTag();
  void ReadToken();
  void ReadCharRefToken();
  void ReadOtherChar();
  void ReadFastTag();
  void FinishFastTag(const unsigned char* p, TSymbol sym, int digit);
  const unsigned char* ReadFastAttribute(const unsigned char* p, TAttribute& a);
  void ReadFlowText();
  void ReadBlankBeforeTag();
  void ReadPreText();
  void ReadCharRef(TokenObj& out);
  bool AppendNamedRef(TokenObj& out, std::string_view name, int32_t pos, int32_t step);
  bool AppendCharCode(TokenObj& out, char32_t cp, int32_t pos, int32_t step);
  void DetectEncoding();
  bool ReadAttribute();
  void ReadQuotedValue();
  void FinishQuotedValue();
  void ReadNumericValue();
  void ReadPlainValue();
  void SkipPastTagEnd();
  void AddAttribute();

  // Reader state.
  const unsigned char* FPtr = nullptr;
  const unsigned char* FEnd = nullptr;
  const unsigned char* FMainPtr = nullptr; // the main block while include text is read
  const unsigned char* FMainEnd = nullptr;
  int32_t FIndexStep = 1; // 0 while reading include text: it keeps the comment's position
  TSourceKind FKind = skBuffer;
  TSourceKind FSavedKind = skBuffer;
  int FLineEndState = 0;
  bool FCommentOpen = false;
  bool FReadingIncludeParams = false;
  bool FUtf8 = false;
  int32_t FSourceLength = 0;
  unsigned char FCurCh = EofChar;
  unsigned char FUpCh = EofChar;
  int32_t FSrcIndex = -1;
  std::string FSource; // owned copy of the document for files, strings and streams
  TIncludeType FOnInclude;
  QObject* FSender = nullptr;

  // Token state.
  TSymbol FCurSym = symEof;
  TokenObj FCurToken;
  TAttributeList FAttributes;
  TAttribute FDroppedAttribute{symUnknownAttr, 0, {}}; // read from a tag that takes none
  int FHeadingDigit = 0;
  int32_t FTagStart = -1;

  // Scratch, reused so that reading allocates nothing per character.
  TokenObj FLiteral;  // the characters of a reference, for literal delivery
  TokenObj FValueRef; // a reference decoded inside a quoted value
  std::string FAttrName;
  std::string FAttrText;
  TSymbol FAttrSym = symUnknownAttr;
  int32_t FAttrNum = 0;
};
