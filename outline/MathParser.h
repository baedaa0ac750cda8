#pragma once
// TqvMathParser evaluates one arithmetic formula in extended precision with a table-driven
// shift-reduce parser. Its fixed limits (a 15-entry stack, 4 exponent digits, 5-character
// function names) are part of its behaviour: formulas written for it rely on them.
#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// Token kinds; their numbers index the parser's tables.
enum TTokenKind : uint8_t {
  tokPlus = 0,
  tokMinus = 1,
  tokTimes = 2,
  tokDivide = 3,
  tokPower = 4,
  tokOpenParen = 5,
  tokCloseParen = 6,
  tokNumber = 7,
  tokFunction = 8,
  tokEnd = 9,
  tokBad = 10,
  tokAbort = 11,
  tokMod = 12,
};

// Error codes left in ErrorCode.
enum TParseErrorCode : uint8_t {
  peNone = 0,
  peStackOverflow = 1,
  peOperandExpected = 3,
  peOperatorExpected = 4,
  peOpenParenExpected = 5,
  peCloseParenExpected = 6,
  peInvalidNumber = 7,
};

class TqvMathParser : public QObject {
public:
  using TGetVarEvent = std::function<void(QObject* Sender, const std::string& VarName,
                                          long double& Value, bool& Found)>;
  using TParseErrorEvent = std::function<void(QObject* Sender, int ParseError)>;

  static constexpr int StackSize = 15;
  static constexpr int ExponentDigits = 4;
  static constexpr int FunctionNameLength = 5;

  explicit TqvMathParser(QObject* owner = nullptr);

  std::string ParseString;
  // Asked for every identifier that is neither a function name nor MOD.
  TGetVarEvent OnGetVar;
  // Raised once at the end of an evaluation that stopped on an error code.
  TParseErrorEvent OnParseError;

  // Evaluates ParseString. Never throws for any text.
  void Evaluate();

  long double Value = 0;
  bool HasError = false;
  uint8_t ErrorCode = peNone;
  // 1-based scan position; after a syntax error the first character of the offending token.
  // Positions past 65535 read as 65535.
  uint16_t ErrorPosition = 0;

private:
  using TName = std::array<char, FunctionNameLength + 1>;
  struct TEntry {
    uint8_t State = 0;
    long double Value = 0;
    TName FuncName{};
  };
  struct TToken {
    TTokenKind Kind = tokEnd;
    long double Value = 0;
    TName FuncName{};
  };

  // Lexer.
  void NextToken();
  void ScanNumber();
  void ScanIdentifier();
  void SetToken(TTokenKind kind, size_t length);

  // Parser.
  bool Step();
  void Shift(uint8_t state);
  static void SetEntry(TEntry& entry, uint8_t state, long double value, const TName& name);
  void Reduce(int production);
  long double ReductionValue(int production, size_t popped);
  long double ApplyFunction(const TName& name, long double x);
  long double MathError();

  TToken FToken;
  size_t FTokenLength = 0;
  size_t FPosition = 1;
  TEntry FStack[StackSize];
  int FTop = 0; // entries in use
  bool FMathError = false;
};
