#include "outline/OutlineModes.h"

#include "platform/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(OutlineModes, EvalPrintsTheValueOrTheError)
{
  struct TCase {
    const char* Formula;
    std::vector<std::string> Variables;
    const char* Out;
    int Status;
  };
  const TCase cases[] = {
      {"3+4*2", {}, "value=11\n", 0},
      {"2*pi", {}, "value=6.28318530717959\n", 0},
      {"x*Y+1", {"X=2.5", "y=4"}, "value=11\n", 0},
      {"pi", {"PI=3"}, "value=3\n", 0},      // a given name comes before pi
      {"a", {"a=1", "A=2"}, "value=1\n", 0}, // the first definition counts
      {"a", {"a= -1.5e2 "}, "value=-150\n", 0},
      {"1/3", {}, "value=0.333333333333333\n", 0},
      {"2 3", {}, "error code=4 pos=3\n", 1},
      {"", {}, "error code=3 pos=1\n", 1},
      {"q+1", {}, "error code=3 pos=2\n", 1},
      {"sqrt(-1)", {}, "error code=0 pos=9\n", 1}, // a math error has no code
      {"1E9999", {}, "error code=7 pos=1\n", 1},
  };
  for (const TCase& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(outlinemodes::EvalFormula(c.Formula, c.Variables, out, err), c.Status) << c.Formula;
    EXPECT_EQ(out.str(), c.Out) << c.Formula;
    EXPECT_EQ(err.str(), "") << c.Formula;
  }
}

TEST(OutlineModes, EvalRefusesMalformedVariables)
{
  for (const char* variable : {"x", "=1", "x=", "x=one", "x=1,5"}) {
    std::ostringstream out, err;
    EXPECT_EQ(outlinemodes::EvalFormula("1", {variable}, out, err), 2) << variable;
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find(variable), std::string::npos) << err.str();
  }
}

TEST(OutlineModes, OutlinePrintsTheEvaluatedTreeInTheCLocale)
{
  TDialogsScope scope(std::make_unique<TScriptedDialogs>());
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  std::string file =
      testsupport::WriteFile(testsupport::TempDir(), "t.txt", "a=1.5\n\tnote\nb=a*2.5\n");
  std::ostringstream out, err;
  EXPECT_EQ(outlinemodes::PrintOutline(file, out, err), 0);
  EXPECT_EQ(out.str(), "a=1.5\r\n\t1.5\r\nb=a*2.5\r\n\t3.75\r\n");
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(QLocale().language(), QLocale::German); // the caller's locale is back
  QLocale::setDefault(QLocale::c());
}

TEST(OutlineModes, OutlineLoadErrorPrintsWhatWasRead)
{
  TDialogsScope scope(std::make_unique<TScriptedDialogs>());
  std::string file =
      testsupport::WriteFile(testsupport::TempDir(), "bad.txt", "a=1\r\n\tb\r\n\t\t\tc\r\n");
  std::ostringstream out, err;
  EXPECT_EQ(outlinemodes::PrintOutline(file, out, err), 1);
  EXPECT_EQ(out.str(), "a=1\r\n\tb\r\n"); // not evaluated: the load did not finish
  EXPECT_EQ(err.str(), "error: Invalid level (3) for item \"c\"\n");

  std::ostringstream none, missing;
  EXPECT_EQ(outlinemodes::PrintOutline(file + ".gone", none, missing), 1);
  EXPECT_EQ(none.str(), "");
  EXPECT_EQ(missing.str().rfind("error: Cannot open file", 0), 0u);
}

} // namespace
