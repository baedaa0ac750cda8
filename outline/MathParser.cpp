#include "outline/MathParser.h"

#include "outline/FloatText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

enum class TActionKind : uint8_t { Shift, Reduce, Accept, Abort, Error };

struct TAction {
  TActionKind Kind;
  uint8_t N; // new state, production number or error code
};

constexpr TAction Shift(int state)
{
  return {TActionKind::Shift, uint8_t(state)};
}
constexpr TAction Reduce(int production)
{
  return {TActionKind::Reduce, uint8_t(production)};
}
constexpr TAction Error(int code)
{
  return {TActionKind::Error, uint8_t(code)};
}

// States where an operand must come next.
TAction OperandAction(TTokenKind token)
{
  switch (token) {
  case tokNumber: return Shift(10);
  case tokFunction: return Shift(11);
  case tokMinus: return Shift(5);
  case tokOpenParen: return Shift(9);
  case tokAbort: return {TActionKind::Abort, 0};
  default: return Error(peOperandExpected);
  }
}

// After a term: '*' and '/' continue it, anything else ends it.
TAction TermAction(TTokenKind token, int production)
{
  switch (token) {
  case tokTimes: return Shift(14);
  case tokDivide: return Shift(15);
  default: return Reduce(production);
  }
}

// After an expression inside parentheses.
TAction ParenAction(TTokenKind token, int closeState)
{
  switch (token) {
  case tokPlus: return Shift(12);
  case tokMinus: return Shift(13);
  case tokCloseParen: return Shift(closeState);
  default: return Error(peCloseParenExpected);
  }
}

TAction Action(uint8_t state, TTokenKind token)
{
  switch (state) {
  case 0:
  case 9:
  case 12:
  case 13:
  case 14:
  case 15:
  case 16:
  case 20:
  case 40: return OperandAction(token);
  case 1:
    switch (token) {
    case tokEnd: return {TActionKind::Accept, 0};
    case tokPlus: return Shift(12);
    case tokMinus: return Shift(13);
    default: return Error(peOperatorExpected);
    }
  case 2: return TermAction(token, 3);
  case 3: return token == tokMod ? Shift(40) : Reduce(6);
  case 4: return token == tokPower ? Shift(16) : Reduce(8);
  case 5:
    switch (token) {
    case tokNumber: return Shift(10);
    case tokFunction: return Shift(11);
    case tokOpenParen: return Shift(9);
    default: return Error(peOperandExpected);
    }
  case 6: return Reduce(10);
  case 8: return Reduce(12);
  case 10: return Reduce(15);
  case 11: return token == tokOpenParen ? Shift(20) : Error(peOpenParenExpected);
  case 17: return Reduce(9);
  case 19: return ParenAction(token, 27);
  case 21: return TermAction(token, 1);
  case 22: return TermAction(token, 2);
  case 23: return Reduce(4);
  case 24: return Reduce(5);
  case 25: return Reduce(7);
  case 27: return Reduce(14);
  case 28: return ParenAction(token, 29);
  case 29: return Reduce(16);
  case 80: return Reduce(100);
  default: throw std::logic_error("Bad token state");
  }
}

enum class TSymbol { E, T, F, G, H, P };

TSymbol LeftSide(int production)
{
  switch (production) {
  case 1:
  case 2:
  case 3: return TSymbol::E;
  case 4:
  case 5:
  case 6: return TSymbol::T;
  case 7:
  case 8:
  case 100: return TSymbol::F;
  case 9:
  case 10: return TSymbol::G;
  case 11:
  case 12: return TSymbol::H;
  default: return TSymbol::P;
  }
}

bool IsOperandState(uint8_t s)
{
  return s == 0 || s == 9 || s == 12 || s == 13 || s == 14 || s == 15 || s == 16 || s == 20 ||
         s == 40;
}

// The state after a reduction, from the symbol produced and the state it uncovered.
uint8_t Goto(TSymbol symbol, uint8_t uncovered)
{
  switch (symbol) {
  case TSymbol::E:
    if (uncovered == 0)
      return 1;
    if (uncovered == 9)
      return 19;
    if (uncovered == 20)
      return 28;
    break;
  case TSymbol::T:
    if (uncovered == 0 || uncovered == 9 || uncovered == 20)
      return 2;
    if (uncovered == 12)
      return 21;
    if (uncovered == 13)
      return 22;
    break;
  case TSymbol::F:
    switch (uncovered) {
    case 0:
    case 9:
    case 12:
    case 13:
    case 20: return 3;
    case 14: return 23;
    case 15: return 24;
    case 16: return 25;
    case 40: return 80;
    default: break;
    }
    break;
  case TSymbol::G:
    if (IsOperandState(uncovered))
      return 4;
    break;
  case TSymbol::H:
    if (IsOperandState(uncovered))
      return 6;
    if (uncovered == 5)
      return 17;
    break;
  case TSymbol::P:
    if (IsOperandState(uncovered) || uncovered == 5)
      return 8;
    break;
  }
  throw std::logic_error("Bad token state");
}

// Entries a production takes off the stack.
size_t RightSideLength(int production)
{
  switch (production) {
  case 1:
  case 2:
  case 4:
  case 5:
  case 7:
  case 14:
  case 100: return 3;
  case 9: return 2;
  case 16: return 4;
  case 3:
  case 6:
  case 8:
  case 10:
  case 12:
  case 15: return 1;
  default: throw std::logic_error("Invalid reduction");
  }
}

const char* const FunctionNames[] = {"ABS",   "ATAN", "COS",  "EXP", "LN",
                                     "ROUND", "SIN",  "SQRT", "SQR", "TRUNC"};

bool IsLetter(char c)
{
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}
char Upper(char c)
{
  return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool Within(long double x, long double low, long double high)
{
  return x >= low && x <= high; // false for NaN
}

// Both operands of MOD are rounded (ties to even) to 64-bit integers; false when one does not fit.
bool RoundToInt64(long double x, int64_t& n)
{
  long double r = std::nearbyint(x);
  if (!(r >= -9223372036854775808.0L && r < 9223372036854775808.0L))
    return false;
  n = int64_t(r);
  return true;
}

} // namespace

TqvMathParser::TqvMathParser(QObject* owner) : QObject(owner)
{
}

// ---- Lexer ----

void TqvMathParser::SetToken(TTokenKind kind, size_t length)
{
  FToken.Kind = kind;
  FToken.Value = 0;
  FToken.FuncName = {};
  FTokenLength = length;
}

void TqvMathParser::NextToken()
{
  const std::string& s = ParseString;
  while (FPosition <= s.size() && s[FPosition - 1] == ' ')
    ++FPosition;
  if (FPosition > s.size()) {
    SetToken(tokEnd, 0);
    return;
  }
  char c = Upper(s[FPosition - 1]);
  if (c == '!') {
    SetToken(tokAbort, 0);
  } else if (IsDigit(c) || c == '.') {
    ScanNumber();
  } else if (IsLetter(c)) {
    ScanIdentifier();
  } else {
    static const char operators[] = "+-*/^()";
    const char* op = c ? std::strchr(operators, c) : nullptr;
    if (!op) {
      SetToken(tokBad, 0);
      return;
    }
    SetToken(TTokenKind(op - operators), 1);
    ++FPosition;
  }
}

void TqvMathParser::ScanNumber()
{
  const std::string& s = ParseString;
  size_t start = FPosition - 1, i = start;
  bool dot = false;
  while (i < s.size() && (IsDigit(s[i]) || (s[i] == '.' && !dot))) {
    dot = dot || s[i] == '.';
    ++i;
  }
  if (i - start == 1 && s[start] == '.') {
    SetToken(tokBad, 0);
    return;
  }
  std::string text = s.substr(start, i - start);
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    text += 'E';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
      text += s[i++];
    for (int digits = 0; digits < ExponentDigits && i < s.size() && IsDigit(s[i]); ++digits)
      text += s[i++];
  }
  size_t prefix = text[0] == '.' ? 1 : 0;
  if (prefix)
    text.insert(text.begin(), '0');
  long double value = 0;
  size_t failIndex = 0;
  if (!floattext::ScanExtended(text, value, failIndex)) {
    ErrorCode = peInvalidNumber;
    FMathError = true;
    FPosition = start + 1 + (failIndex > prefix ? failIndex - prefix : 0);
    SetToken(tokBad, 0);
    return;
  }
  SetToken(tokNumber, i - start);
  FToken.Value = value;
  FPosition = i + 1;
}

void TqvMathParser::ScanIdentifier()
{
  const std::string& s = ParseString;
  size_t start = FPosition - 1, i = start;
  while (i < s.size() && (IsLetter(s[i]) || IsDigit(s[i]) || s[i] == '_'))
    ++i;
  size_t length = i - start;
  FPosition = i + 1;
  if (length <= size_t(FunctionNameLength)) {
    TName upper{};
    std::transform(s.begin() + start, s.begin() + i, upper.begin(), Upper);
    for (const char* name : FunctionNames)
      if (std::strcmp(upper.data(), name) == 0) {
        SetToken(tokFunction, length);
        FToken.FuncName = upper;
        return;
      }
    if (std::strcmp(upper.data(), "MOD") == 0) {
      SetToken(tokMod, length);
      return;
    }
  }
  long double value = 0;
  bool found = false;
  if (OnGetVar)
    OnGetVar(this, s.substr(start, length), value, found);
  if (!found) {
    SetToken(tokBad, 0);
    return;
  }
  SetToken(tokNumber, length);
  FToken.Value = value;
}

// ---- Parser ----

void TqvMathParser::Evaluate()
{
  FPosition = 1;
  FTop = 0;
  ErrorCode = peNone;
  FMathError = false;
  FStack[FTop++] = TEntry{};
  NextToken();
  while (ErrorCode == peNone && Step()) {
  }
  if (ErrorCode >= peOperandExpected && ErrorCode <= peCloseParenExpected)
    FPosition -= FTokenLength;
  ErrorPosition = uint16_t(std::min<size_t>(FPosition, 65535));
  if (ErrorCode != peNone && OnParseError)
    OnParseError(this, ErrorCode);
  HasError = ErrorCode != peNone || FMathError;
  Value = HasError ? 0 : FStack[FTop - 1].Value;
}

// One action; false when the evaluation has finished.
bool TqvMathParser::Step()
{
  TAction action = Action(FStack[FTop - 1].State, FToken.Kind);
  switch (action.Kind) {
  case TActionKind::Shift: Shift(action.N); return true;
  case TActionKind::Reduce: Reduce(action.N); return true;
  case TActionKind::Error: ErrorCode = action.N; return false;
  case TActionKind::Abort: FMathError = true; return false;
  case TActionKind::Accept: return false;
  }
  return false;
}

void TqvMathParser::Shift(uint8_t state)
{
  if (FTop == StackSize) {
    ErrorCode = peStackOverflow;
    return;
  }
  SetEntry(FStack[FTop++], state, FToken.Value, FToken.FuncName);
  NextToken();
}

// Field by field: building a whole entry first and copying it makes the processor wait for
// the partly written copy on every step.
void TqvMathParser::SetEntry(TEntry& entry, uint8_t state, long double value, const TName& name)
{
  entry.State = state;
  entry.Value = value;
  entry.FuncName = name;
}

long double TqvMathParser::MathError()
{
  FMathError = true;
  return 0;
}

void TqvMathParser::Reduce(int production)
{
  size_t popped = RightSideLength(production);
  long double value = ReductionValue(production, popped);
  // Overflow to infinity (or a NaN handed in for a variable) counts as a math error, so that
  // no later step computes with it.
  if (!std::isfinite(value))
    value = MathError();
  FTop -= int(popped);
  SetEntry(FStack[FTop], Goto(LeftSide(production), FStack[FTop - 1].State), value, {});
  ++FTop;
}

long double TqvMathParser::ReductionValue(int production, size_t popped)
{
  auto at = [this](int fromTop) -> const TEntry& { return FStack[FTop - 1 - fromTop]; };
  long double left = popped >= 3 ? at(2).Value : 0, right = at(0).Value;
  switch (production) {
  case 1: return left + right;
  case 2: return left - right;
  case 4: return left * right;
  case 5: return right == 0 ? MathError() : left / right;
  case 7: {
    if (!(left > 0))
      return MathError();
    long double exponent = right * std::log(left);
    return Within(exponent, -11356, 11356) ? std::exp(exponent) : MathError();
  }
  case 9: return -right;
  case 14: return at(1).Value;
  case 16: return ApplyFunction(at(3).FuncName, at(1).Value);
  case 100: {
    int64_t a = 0, b = 0;
    if (!RoundToInt64(left, a) || !RoundToInt64(right, b) || b == 0)
      return MathError();
    return b == -1 ? 0 : (long double)(a % b); // INT64_MIN % -1 would trap
  }
  default: return right; // the single-entry productions pass their value on
  }
}

long double TqvMathParser::ApplyFunction(const TName& name, long double x)
{
  std::string_view f = name.data();
  if (f == "ABS")
    return std::fabs(x);
  if (f == "ATAN")
    return std::atan(x);
  if (f == "COS")
    return Within(x, -9E18L, 9E18L) ? std::cos(x) : MathError();
  if (f == "EXP")
    return Within(x, -11356, 11356) ? std::exp(x) : MathError();
  if (f == "LN")
    return x > 0 ? std::log(x) : MathError();
  if (f == "ROUND")
    return Within(x, -1E9L, 1E9L) ? std::nearbyint(x) : MathError();
  if (f == "SIN")
    return Within(x, -9E18L, 9E18L) ? std::sin(x) : MathError();
  if (f == "SQRT")
    return x >= 0 ? std::sqrt(x) : MathError();
  if (f == "SQR")
    return Within(x, -1E2466L, 1E2466L) ? x * x : MathError();
  if (f == "TRUNC")
    return Within(x, -1E9L, 1E9L) ? std::trunc(x) : MathError();
  throw std::logic_error("Invalid reduction");
}
