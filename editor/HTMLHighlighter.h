#pragma once
// A line scanner for HTML source: tag names, attribute names and values, entities, comments,
// server-script blocks, text, blanks and symbols. A small range state carries comments, script
// blocks and open tags from one line to the next.
#include "editor/CustomHighLighter.h"

#include <string>

enum TtkTokenKind : int {
  TokenEntity = 0,
  TokenAsp = 1,
  TokenComment = 2,
  TokenIdentifier = 3,
  TokenKey = 4,
  TokenNull = 5,
  TokenSpace = 6,
  TokenString = 7,
  TokenSymbol = 8,
  TokenText = 9,
  TokenUndefKey = 10,
  TokenValue = 11,
};

enum TRangeState : int {
  RangeEntity = 0,
  RangeAsp = 1,
  RangeComment = 2,
  RangeTagName = 3,
  RangeTagInside = 4,
  RangeText = 5,
  RangeAttrValue = 7,
};

// The token kind's name ("TokenKey"), or the number for a kind out of range.
std::string TokenKindName(int kind);

class TtxHTMLHighlighter : public TtxCustomHighLighter {
public:
  TtxHTMLHighlighter();

  const TIdentChars& IdentifierChars() const override;
  std::string LanguageName() const override { return "HTML Document"; }
  uint32_t Capabilities() const override { return TtxCustomHighLighter::Capabilities() | 5u; }

  bool AtLineEnd() const override { return FTokenKind == TokenNull; }
  int CurrentRange() const override { return FRange; }
  std::string_view CurrentTokenText() const override;
  TtxHighLightAttributes* TokenAttributes() const override;
  int TokenKindOf() const override { return FTokenKind; }
  int TokenStart() const override { return FTokenPos; }
  void NextToken() override;
  void StartLine(std::string_view text, int lineNumber) override;
  void RestoreRange(int value) override { FRange = value; }
  void StartRange() override { FRange = RangeText; }

  TtxHighLightAttributes* AndAttri;
  TtxHighLightAttributes* ASPAttri;
  TtxHighLightAttributes* CommentAttri;
  TtxHighLightAttributes* IdentifierAttri;
  TtxHighLightAttributes* KeyAttri;
  TtxHighLightAttributes* SpaceAttri;
  TtxHighLightAttributes* SymbolAttri;
  TtxHighLightAttributes* TextAttri;
  TtxHighLightAttributes* UndefKeyAttri;
  TtxHighLightAttributes* ValueAttri;

private:
  unsigned char At(int pos) const { return (unsigned char)FLine[pos]; }
  void Dispatch();
  void TextScan();
  void BlockScan(int kind, char closer, int closerLength);
  void BlanksProc();
  void AndProc();
  void LowerProc();
  void NameProc();
  void StringProc();

  std::string FLine;
  int FRun = 0;
  int FTokenPos = 0;
  int FTokenKind = TokenNull;
  int FRange = RangeText;
  int FEntityIndex = -1;
  int FLineNumber = 0;
};
