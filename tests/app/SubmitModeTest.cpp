// "lumora --submit" run as a user runs it: the strings a form hands over for each kind of control,
// worked out by hand from the submission rules, after the command line has filled and clicked it,
// and the mistakes it refuses.
#include "RunLumora.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using apptest::RunLumora;
using apptest::TRun;

// One control of every kind, in this order, then a second form.
const char* const EveryControl =
    "<form action=\"go.cgi\" method=post target=out enctype=\"text/plain\">\n"
    "<input name=q value=hello> <input type=password name=pw>\n"
    "<input type=checkbox name=c> <input type=checkbox name=d value=yes checked>\n"
    "<input type=radio name=r value=a checked><input type=radio name=R value=b>\n"
    "<select name=s><option>one<option value=2>two</select>\n"
    "<select name=m multiple size=3><option selected>x<option>y<option value=zz>z</select>\n"
    "<textarea name=t>line1\nline2</textarea>\n"
    "<input type=hidden name=h value=hv>\n"
    "<input type=submit name=go value=Search> <input type=reset name=rs>\n"
    "<input type=image name=img src=x.gif>\n"
    "</form>\n"
    "<form><input name=second value=2nd><input type=submit></form>\n";

struct SubmitCase {
  const char* What;
  std::string Page;
  QStringList Arguments; // after --submit PAGE
  std::string Out;       // all of standard output
};

TEST(SubmitMode, PrintsTheFormsAttributesAndStrings)
{
  const std::string head =
      "action=\"go.cgi\" target=\"out\" enctype=\"text/plain\" method=\"post\"\n";
  const std::string implicitHead = "action=\"\" target=\"\" enctype=\"\" method=\"Get\"\n";
  const SubmitCase cases[] = {
      {"initial values; unchecked boxes send nothing; an edit box sends even when empty; the "
       "button clicked comes last",
       EveryControl,
       {},
       head + "q=hello\npw=\nd=yes\nr=a\ns=one\nm=x\nt=line1\r\nline2\nh=hv\ngo=Search\n"},
      {"filled: radio names match ignoring case, option values before texts, a multiple list "
       "sends each selected option",
       EveryControl,
       {"--set", "q=bye", "--set", "pw=secret", "--check", "c", "--check", "R=b", "--set", "s=2",
        "--set", "m=y", "--set", "m=zz", "--set", "t=A\nB"},
       head + "q=bye\npw=secret\nc=on\nd=yes\nR=b\ns=2\nm=y\nm=zz\nt=A\r\nB\nh=hv\ngo=Search\n"},
      {"an image button sends its click point, and no submit button string",
       EveryControl,
       {"--click", "img", "--at", "5,7"},
       head + "q=hello\npw=\nd=yes\nr=a\ns=one\nm=x\nt=line1\r\nline2\nh=hv\nimg.x=5\nimg.y=7\n"},
      {"the second form, a submit button without a name adds nothing",
       EveryControl,
       {"--form", "2"},
       implicitHead + "second=2nd\n"},
      {"controls outside a FORM join an implicit form; without a submit button the form goes "
       "as Enter sends it",
       "<p><input name=a value=1> <input type=checkbox name=b checked>",
       {},
       implicitHead + "a=1\nb=on\n"},
      {"two CHECKED radios both send, a radio without VALUE sends an empty value",
       "<form><input type=radio name=r value=a checked><input type=radio name=r value=b checked>"
       "<input type=radio name=n checked><input type=submit></form>",
       {},
       implicitHead + "r=a\nr=b\nn=\n"},
      {"clicking one radio of a group unchecks the others, a group in another form stays",
       "<form><input type=radio name=r value=a checked><input type=radio name=r value=b>"
       "<input type=submit></form><form><input type=radio name=r value=c checked></form>",
       {"--check", "r=b"},
       implicitHead + "r=b\n"},
      {"a named submit button without VALUE sends an empty value, not its caption",
       "<form><input name=q><input type=submit name=go></form>",
       {"--set", "q=x y"},
       implicitHead + "q=x y\ngo=\n"},
      {"a text area with WRAP=soft joins its lines without breaks",
       "<form><textarea name=t wrap=soft>ab\ncd</textarea><input type=submit></form>",
       {},
       implicitHead + "t=abcd\n"},
      {"MAXLENGTH cuts what is typed; an unknown TYPE is an edit box; a nameless field starts "
       "with =",
       "<form><input name=q maxlength=3><input type=file name=f value=v><input value=z>"
       "<input type=submit></form>",
       {"--set", "q=abcdef", "--set", "f=w"},
       implicitHead + "q=abc\nf=w\n=z\n"},
      {"a list box of SIZE 4 sends its current option; a drop-down list without a selection "
       "its first",
       "<form><select name=l size=4><option>a<option value=B>b<option>c</select>"
       "<select name=d><option value=1>one<option value=2>two</select><input type=submit></form>",
       {"--set", "l=B"},
       implicitHead + "l=B\nd=1\n"},
      {"a --set on a multiple list replaces the page's selection; two edit boxes of one name "
       "are filled in turn",
       "<form><select name=m multiple><option selected>a<option>b<option selected>c</select>"
       "<input name=e><input name=e><input type=submit></form>",
       {"--set", "m=b", "--set", "e=1", "--set", "e=2"},
       implicitHead + "m=b\ne=1\ne=2\n"},
      {"names and values given in UTF-8 reach a single-byte page in its own code page",
       "<form><select name=s><option>caf\xE9<option>th\xE9</select>"
       "<input type=radio name=\xE9t\xE9 value=a><input type=radio name=\xE9t\xE9 value=b>"
       "<input type=submit></form>",
       {"--set", "s=th\u00e9", "--check", "\u00e9t\u00e9=b"},
       implicitHead + "s=th\uFFFD\n\uFFFDt\uFFFD=b\n"},
      {"a check box already checked stays checked; a SELECT without options sends nothing",
       "<form><input type=checkbox name=c value=v checked><select name=s></select>"
       "<input type=submit></form>",
       {"--check", "c"},
       implicitHead + "c=v\n"},
  };
  const QString dir = testsupport::TempDir();
  int n = 0;
  for (const SubmitCase& c : cases) {
    std::string page = testsupport::WriteFile(dir, "p" + std::to_string(++n) + ".htm", c.Page);
    TRun run = RunLumora(QStringList{"--submit", QString::fromStdString(page)} + c.Arguments);
    EXPECT_EQ(run.Status, 0) << c.What << "\n" << run.Err.toStdString();
    EXPECT_EQ(run.Out.toStdString(), c.Out) << c.What;
  }
}

struct MistakeCase {
  QStringList Arguments; // after --submit PAGE
  std::string Error;     // the last line of standard error
};

TEST(SubmitMode, MistakesAreErrorsWithStatusOne)
{
  const QString dir = testsupport::TempDir();
  const QString page = QString::fromStdString(testsupport::WriteFile(dir, "m.htm", EveryControl));
  const MistakeCase cases[] = {
      {{"--form", "3"}, "error: no form 3 in " + page.toStdString() + " (it has 2)"},
      {{"--set", "nobody=1"}, "error: no control nobody in form 1"},
      {{"--set", "second=1"}, "error: no control second in form 1"},
      {{"--set", "q"}, "error: --set needs NAME=VALUE, not q"},
      {{"--set", "c=1"},
       "error: c in form 1 is kind=checkbox, which --set cannot fill (use --check)"},
      {{"--set", "h=1"}, "error: h in form 1 is kind=hidden, which --set cannot fill"},
      {{"--set", "q=1", "--set", "q=2"},
       "error: more --set q than controls of that name in form 1"},
      {{"--set", "s=three"}, "error: no option three in s"},
      {{"--check", "q"}, "error: q in form 1 is kind=edit, not a check box or radio button"},
      {{"--check", "d=no"}, "error: no d=no in form 1"},
      {{"--click", "rs"}, "error: rs in form 1 is kind=reset, not a submit or image button"},
      {{"--click", "go", "--at", "1,2"}, "error: --at needs an image button to click"},
      {{"--click", "img", "--at", "1,-2"},
       "error: bad --at 1,-2 (X,Y: two whole numbers of at least 0)"},
      {{"--click", "img", "--at", "12"},
       "error: bad --at 12 (X,Y: two whole numbers of at least 0)"},
      {{"--click", "img", "--at", "a,b"},
       "error: bad --at a,b (X,Y: two whole numbers of at least 0)"},
  };
  for (const MistakeCase& c : cases) {
    const std::string args = c.Arguments.join(' ').toStdString();
    TRun run = RunLumora(QStringList{"--submit", page} + c.Arguments);
    EXPECT_EQ(run.Status, 1) << args;
    EXPECT_EQ(run.Out, "") << args;
    EXPECT_TRUE(run.Err.endsWith(QString::fromStdString(c.Error) + "\n")) << args << " printed:\n"
                                                                          << run.Err.toStdString();
  }
  TRun missing = RunLumora({"--submit", dir + "/none.htm"});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_TRUE(missing.Err.endsWith("error: Can't locate file: " + dir + "/none.htm\n"))
      << missing.Err.toStdString();
  TRun zero = RunLumora({"--submit", page, "--form", "0"});
  EXPECT_EQ(zero.Status, 2) << "a form number below 1 is a mistake of the command line";
}

} // namespace
