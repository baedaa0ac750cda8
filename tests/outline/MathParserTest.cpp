#include "outline/MathParser.h"
#include "outline/FloatText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Evaluates one formula with variables (case as written) answered from a map.
struct TRun {
  TqvMathParser parser;
  std::vector<int> parseErrors;
  std::vector<std::string> asked;

  explicit TRun(const std::string& formula, const std::map<std::string, long double>& vars = {},
                bool withHandler = true)
  {
    parser.ParseString = formula;
    if (withHandler)
      parser.OnGetVar = [this, vars](QObject* sender, const std::string& name, long double& value,
                                     bool& found) {
        EXPECT_EQ(sender, &parser);
        EXPECT_FALSE(found);
        asked.push_back(name);
        auto it = vars.find(name);
        if (it != vars.end()) {
          value = it->second;
          found = true;
        }
      };
    parser.OnParseError = [this](QObject*, int code) { parseErrors.push_back(code); };
    parser.Evaluate();
  }
  std::string Text() const { return floattext::FormatGeneral(parser.Value); }
};

struct TValueCase {
  const char* Formula;
  const char* Expected; // the value in the general format, worked out by hand
};

TEST(MathParser, ComputesValuesWithPrecedenceAndAssociativity)
{
  const TValueCase cases[] = {
      {"3+4*2", "11"},
      {"(1+2)*3", "9"},
      {"10-4-3", "3"},  // left to right
      {"64/4/2", "8"},  // left to right
      {"2^3^2", "512"}, // right to left: 2^9
      {"2*3^2", "18"},  // power binds tighter than times
      {"2^-1", "0.5"},  // minus opens a power operand
      {"-3+5", "2"},
      {"-(2+3)*2", "-10"},
      {"2*-3", "-6"},
      {"1+-2", "-1"},
      {"7 MOD 4 MOD 3", "0"}, // (7 mod 4) mod 3
      {"7 MOD 4*2", "6"},     // (7 mod 4) * 2
      {"1+7 mod 4", "4"},
      {"2^3 MOD 3", "2"}, // MOD after a power: 8 mod 3
      {"-7 MOD 3", "-1"}, // sign of the dividend
      {"7 MOD -3", "1"},
      {"7.5 MOD 2", "0"}, // 7.5 rounds to 8 (ties to even)
      {"6.5 MOD 4", "2"}, // 6.5 rounds to 6
      {"-9223372036854775808 MOD -1", "0"},
      {"  1 +  2 ", "3"},
      {".5+1", "1.5"},
      {"1.", "1"},
      {"1E+2", "100"},
      {"1e-2", "0.01"},
      {"1.5E3", "1500"},
      {"1E0001", "10"},    // four exponent digits
      {"1E400", "1e+400"}, // within the extended range
      {"1E1234*1E-1234", "1"},
      {"2^0.5", "1.4142135623731"},
      {"2^10", "1024"},
      {"0.1*3", "0.3"},
      {"1E-5000", "0"}, // below the range: zero, not an error
  };
  for (const TValueCase& c : cases) {
    TRun run(c.Formula);
    EXPECT_FALSE(run.parser.HasError) << c.Formula;
    EXPECT_EQ(run.parser.ErrorCode, 0) << c.Formula;
    EXPECT_TRUE(run.parseErrors.empty()) << c.Formula;
    EXPECT_EQ(run.Text(), c.Expected) << c.Formula;
  }
}

TEST(MathParser, AppliesEveryFunctionInAnyCase)
{
  const TValueCase cases[] = {
      {"abs(-4)", "4"},
      {"ABS(4)", "4"},
      {"atan(1)", "0.785398163397448"},
      {"cos(0)", "1"},
      {"Cos(pi0)", "-1"},
      {"exp(1)", "2.71828182845905"},
      {"exp(0)", "1"},
      {"ln(1)", "0"},
      {"ln(exp(2))", "2"},
      {"round(2.5)", "2"},
      {"round(3.5)", "4"},
      {"round(-2.5)", "-2"},
      {"round(2.6)", "3"},
      {"sin(0)", "0"},
      {"sin(pi0/2)", "1"},
      {"sqrt(16)", "4"},
      {"sqr(3)", "9"},
      {"sqr(-1.5)", "2.25"},
      {"trunc(-2.7)", "-2"},
      {"trunc(2.7)", "2"},
      {"sqrt(2)^2", "2"},
      {"round(1E9)", "1000000000"},
      {"trunc(-1E9)", "-1000000000"},
      {"sqrt(sqrt(sqrt(256)))", "2"},
      {"abs(-2)^2", "4"},
  };
  for (const TValueCase& c : cases) {
    TRun run(c.Formula, {{"pi0", 3.14159265358979323846264338327950288L}});
    EXPECT_FALSE(run.parser.HasError) << c.Formula;
    EXPECT_EQ(run.Text(), c.Expected) << c.Formula;
  }
}

struct TErrorCase {
  const char* Formula;
  int Code;
  int Position;
};

TEST(MathParser, ReportsSyntaxErrorsWithCodeAndPosition)
{
  const TErrorCase cases[] = {
      {"", 3, 1}, // end where an operand belongs
      {"   ", 3, 4},
      {"1E12345", 4, 7}, // the exponent stops after four digits; "5" is a
                         // second number
      {"1E00001", 4, 7},
      {"1.2.3", 4, 4}, // 1.2, then the number .3
      {"2 3", 4, 3},
      {"2*7 MOD 4", 4, 5}, // MOD only follows the first factor of a term
      {"--3", 3, 2},
      {"(1+2", 6, 5},
      {"sin 1", 5, 5},
      {"sin(1", 6, 6},
      {"sin(1 2)", 6, 7},
      {"1+", 3, 3},
      {"1 # 2", 4, 3},
      {"#", 3, 1},
      {"1\t+2", 4, 2}, // only spaces are skipped
      {".", 3, 1},     // a lone point is no number
      {"1+.+2", 3, 3},
      {"1)", 4, 2},
      {"()", 3, 2},
      {"MOD", 3, 1},
      {"1 mod", 3, 6},
      {"1!", 4, 2},       // the abort mark where an operator belongs
      {"q*2", 3, 2},      // unknown variable: just after the identifier
      {"2 pi", 4, 3},     // a known variable is a number token of its own length
      {"sqrtx(4)", 3, 6}, // not a function name: a variable
      {"rounds", 3, 7},
      {"x_1+", 3, 5},
      {"\xC3\xA9", 3, 1}, // a non-ASCII letter is not
                          // recognised
  };
  for (const TErrorCase& c : cases) {
    TRun run(c.Formula, {{"pi", 3.14L}, {"x_1", 1}});
    EXPECT_EQ(run.parser.ErrorCode, c.Code) << c.Formula;
    EXPECT_EQ(run.parser.ErrorPosition, c.Position) << c.Formula;
    EXPECT_TRUE(run.parser.HasError) << c.Formula;
    EXPECT_EQ(run.parser.Value, 0) << c.Formula;
    EXPECT_EQ(run.parseErrors, std::vector<int>{c.Code}) << c.Formula;
  }
}

TEST(MathParser, InvalidNumbersStopAtTheFailingCharacter)
{
  const TErrorCase cases[] = {
      {"1E", 7, 2},                         // no exponent digits: the conversion stops at the E
      {"1E+", 7, 2},       {"2+.5E", 7, 5}, // the prefixed 0 does not move the position
      {"1E9999", 7, 1},                     // beyond the extended range
      {"3*1E+5000", 7, 3},
  };
  for (const TErrorCase& c : cases) {
    TRun run(c.Formula);
    EXPECT_EQ(run.parser.ErrorCode, c.Code) << c.Formula;
    EXPECT_EQ(run.parser.ErrorPosition, c.Position) << c.Formula;
    EXPECT_TRUE(run.parser.HasError) << c.Formula;
    EXPECT_EQ(run.parseErrors, std::vector<int>{7}) << c.Formula;
  }
}

TEST(MathParser, MathErrorsGiveZeroWithoutAnErrorCode)
{
  const char* cases[] = {
      "sqrt(-1)",
      "1/0",
      "1/(2-2)",
      "ln(0)",
      "ln(-1)",
      "0^2",
      "-2^2",
      "(-8)^(1/3)",
      "5 MOD 0",
      "5 MOD 0.4",
      "exp(11357)",
      "exp(-11357)",
      "round(1000000001)",
      "trunc(-1E9-1)",
      "sqr(1E2467)",
      "cos(1E19)",
      "sin(-1E19)",
      "10^5000",
      "!",
      "1+!",
      "1E4000*1E4000",
      "9223372036854775808 MOD 2",
      "2 MOD 1E19",
      "1/0*0+1",
  };
  for (const char* formula : cases) {
    TRun run(formula);
    EXPECT_TRUE(run.parser.HasError) << formula;
    EXPECT_EQ(run.parser.ErrorCode, 0) << formula;
    EXPECT_EQ(run.parser.Value, 0) << formula;
    EXPECT_TRUE(run.parseErrors.empty()) << formula;
  }
}

TEST(MathParser, MathErrorDoesNotHideALaterSyntaxError)
{
  TRun run("1/0+)");
  EXPECT_EQ(run.parser.ErrorCode, 3);
  EXPECT_EQ(run.parser.ErrorPosition, 5);
  EXPECT_EQ(run.parseErrors, std::vector<int>{3});
}

std::string Repeat(const std::string& s, int n)
{
  std::string out;
  for (int i = 0; i < n; ++i)
    out += s;
  return out;
}

TEST(MathParser, StackHoldsFifteenEntries)
{
  struct TCase {
    std::string Formula;
    int Code;
  };
  const TCase cases[] = {
      {Repeat("(", 12) + "1" + Repeat(")", 12), 0}, // the closing ")" is the 15th entry
      {Repeat("(", 13) + "1" + Repeat(")", 13), 1},
      {Repeat("(", 13) + "1", 6}, // 15 entries, then the end is missing ")"
      {Repeat("(", 14) + "1", 1}, // the number would be the 16th entry
      {"2" + Repeat("^1", 6), 0}, // each power holds two entries
      {"2" + Repeat("^1", 7), 1},
      {Repeat("sin(", 6) + "0" + Repeat(")", 6), 0},
      {Repeat("sin(", 7) + "0" + Repeat(")", 7), 1},
      {"1" + Repeat("+1", 200), 0}, // a long flat formula reduces as it goes
  };
  for (const TCase& c : cases) {
    TRun run(c.Formula);
    EXPECT_EQ(run.parser.ErrorCode, c.Code) << c.Formula;
    EXPECT_EQ(run.parser.HasError, c.Code != 0) << c.Formula;
  }
  EXPECT_EQ(TRun(Repeat("(", 12) + "7" + Repeat(")", 12)).Text(), "7");
  EXPECT_EQ(TRun("1" + Repeat("+1", 200)).Text(), "201");
}

TEST(MathParser, FunctionNamesAreWholeIdentifiersOfAtMostFiveLetters)
{
  // ROUND has five letters and is a function; longer names and names with digits are variables.
  TRun run("ROUND(2.4)+ROUNDS+abs1", {{"ROUNDS", 10}, {"abs1", 100}});
  EXPECT_FALSE(run.parser.HasError);
  EXPECT_EQ(run.Text(), "112");
  EXPECT_EQ(run.asked, (std::vector<std::string>{"ROUNDS", "abs1"}));
}

TEST(MathParser, VariablesComeFromTheHandlerAsWritten)
{
  TRun run("Pi*r^2 + x_1", {{"Pi", 3}, {"r", 2}, {"x_1", 0.5}});
  EXPECT_FALSE(run.parser.HasError);
  EXPECT_EQ(run.Text(), "12.5");
  EXPECT_EQ(run.asked, (std::vector<std::string>{"Pi", "r", "x_1"}));

  TRun none("pi*2", {}, false); // without a handler every variable is bad
  EXPECT_EQ(none.parser.ErrorCode, 3);
  EXPECT_EQ(none.parser.ErrorPosition, 3);
}

TEST(MathParser, NonFiniteVariableIsAMathError)
{
  TRun run("x+1", {{"x", std::numeric_limits<long double>::infinity()}});
  EXPECT_TRUE(run.parser.HasError);
  EXPECT_EQ(run.parser.ErrorCode, 0);
  EXPECT_EQ(run.parser.Value, 0);
}

TEST(MathParser, LongLiteralsAreReadWhole)
{
  // A literal of any length is one number with its correctly rounded value.
  EXPECT_EQ(TRun("1" + std::string(400, '0')).Text(), "1e+400");
  EXPECT_EQ(TRun("0." + std::string(300, '0') + "5").Text(), "5e-301");
  EXPECT_EQ(TRun(std::string(100, '9') + "+1").Text(), "1e+100");
  TRun tooLarge("1" + std::string(5000, '0'));
  EXPECT_EQ(tooLarge.parser.ErrorCode, 7);
  EXPECT_EQ(tooLarge.parser.ErrorPosition, 1);
}

TEST(MathParser, ResultsKeepExtendedPrecision)
{
  // A double would round 1+1E-18 to 1; the extended sum keeps the small part to within
  // one step of 2^-63 (about 1.08E-19).
  TRun run("1+1E-18");
  EXPECT_NEAR(double(run.parser.Value - 1), 1E-18, 1.1E-19);
}

TEST(MathParser, EvaluatingAgainStartsAfresh)
{
  TqvMathParser parser;
  parser.ParseString = "1+";
  parser.Evaluate();
  EXPECT_EQ(parser.ErrorCode, 3);
  parser.ParseString = "2*3";
  parser.Evaluate();
  EXPECT_EQ(parser.ErrorCode, 0);
  EXPECT_FALSE(parser.HasError);
  EXPECT_EQ(parser.Value, 6);
}

} // namespace
