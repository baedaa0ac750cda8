// The command line: what the parser accepts and refuses, and the built program's answers to
// --help, --version, mistakes and missing files.
#include "RunLumora.h"
#include "app/Modes.h"
#include "editor/EditScript.h"
#include "editor/HighlightDump.h"
#include "html/viewer/LayoutDump.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

namespace {

TParseResult Parse(const QStringList& arguments)
{
  return ParseCommandLine(LumoraCommands(), QStringList{"lumora"} + arguments);
}

struct ParseCase {
  QStringList Arguments;
  TParseResult::TKind Kind;
  QString Mode;    // the flag of the mode chosen, for Run
  QString Message; // part of the error text, for Error
};

TEST(CommandLine, AcceptsTheModesAndRefusesMistakes)
{
  using R = TParseResult;
  const ParseCase cases[] = {
      {{}, R::Run, "", ""},
      {{"page.htm"}, R::Run, "", ""},
      {{"--snapshot", "out.png"}, R::Run, "", ""},
      {{"--snapshot", "out.png", "page.htm"}, R::Run, "", ""},
      {{"--render", "p.htm", "-o", "o.png", "--width", "300", "--height", "0"},
       R::Run,
       "render",
       ""},
      {{"--width", "300", "--render", "p.htm", "-o", "o.png"}, R::Run, "render", ""},
      {{"--display-bits", "8", "--render", "p.htm", "-o", "o.png"}, R::Run, "render", ""},
      {{"--dump-layout", "p.htm"}, R::Run, "dump-layout", ""},
      {{"--dump-tokens", "f.htm"}, R::Run, "dump-tokens", ""},
      {{"--dump-highlight", "f.htm"}, R::Run, "dump-highlight", ""},
      {{"--edit-script", "f.htm", "s.txt"}, R::Run, "edit-script", ""},
      {{"--edit-script", "f.htm"}, R::Error, "", "--edit-script needs SCRIPT"},
      {{"--dump-highlight", "f.htm", "--width", "5"}, R::Error, "", "--width does not go with"},
      {{"--help"}, R::Help, "", ""},
      {{"-h"}, R::Help, "", ""},
      {{"--render", "--help"}, R::Help, "", ""}, // not taken for the page
      {{"--render", "p.htm", "-o", "o.png", "--", "--help"},
       R::Error,
       "",
       "unexpected argument '--help'"},
      {{"--version"}, R::Version, "", ""},
      {{"--bogus"}, R::Error, "", "Unknown option 'bogus'"},
      {{"--render"}, R::Error, "", "Missing value after '--render'"},
      {{"--render", "p.htm"}, R::Error, "", "--render needs -o OUT.png"},
      {{"--render", "p.htm", "-o", "o.png", "--width", "0"},
       R::Error,
       "",
       "--width takes a number of at least 1"},
      {{"--render", "p.htm", "-o", "o.png", "--height", "x"}, R::Error, "", "--height takes"},
      {{"--render", "p.htm", "-o", "o.png", "--frame", "-1"}, R::Error, "", "--frame takes"},
      {{"--render", "p.htm", "-o", "o.png", "--width", "5", "--width", "6"},
       R::Error,
       "",
       "more than once"},
      {{"--render", "p.htm", "-o", "o.png", "extra"}, R::Error, "", "unexpected argument 'extra'"},
      {{"--dump-tokens", "f.htm", "--width", "5"},
       R::Error,
       "",
       "--width does not go with --dump-tokens"},
      {{"--dump-layout", "p.htm", "--snapshot", "s.png"},
       R::Error,
       "",
       "--snapshot does not go with"},
      {{"--width", "5"}, R::Error, "", "--width does not go with the main window"},
      {{"--render", "a", "-o", "b", "--dump-layout", "c"}, R::Error, "", "cannot be combined"},
      {{"--display-bits", "16"}, R::Error, "", "--display-bits takes 4|8|24"},
      {{"a.htm", "b.htm"}, R::Error, "", "unexpected argument 'b.htm'"},
      {{"--snapshot"}, R::Error, "", "Missing value after '--snapshot'"},
  };
  for (const ParseCase& c : cases) {
    const QString args = c.Arguments.join(' ');
    TParseResult r = Parse(c.Arguments);
    EXPECT_EQ(r.Kind, c.Kind) << args.toStdString() << ": " << r.Message.toStdString();
    if (c.Kind == R::Run && r.Kind == R::Run) {
      EXPECT_EQ(r.Command.Mode->Flag, c.Mode) << args.toStdString();
    }
    if (c.Kind == R::Error) {
      EXPECT_TRUE(r.Message.contains(c.Message))
          << args.toStdString() << " gave: " << r.Message.toStdString();
    }
  }
}

TEST(CommandLine, HandsTheModeItsArgumentsAndOptions)
{
  TParseResult r =
      Parse({"--render", "-dash.htm", "-o", "o.png", "--frame=3", "--display-bits", "4"});
  ASSERT_EQ(r.Kind, TParseResult::Run) << r.Message.toStdString();
  const TCommandLine& c = r.Command;
  EXPECT_EQ(c.ModeValue, "-dash.htm"); // a mode's value may start with a dash
  EXPECT_EQ(c.Value("o"), "o.png");
  EXPECT_EQ(c.Number("frame", 0), 3);
  EXPECT_EQ(c.Number("width", 800), 800);
  EXPECT_EQ(c.Number("display-bits", 24), 4);
  EXPECT_FALSE(c.IsSet("height"));

  r = Parse({"--snapshot", "s.png", "start.htm"});
  ASSERT_EQ(r.Kind, TParseResult::Run);
  EXPECT_EQ(r.Command.Value("snapshot"), "s.png");
  EXPECT_EQ(r.Command.Arguments, QStringList{"start.htm"});
  EXPECT_NE(r.Command.Mode->Window, nullptr);
}

TEST(CommandLine, HelpNamesEveryModeAndOption)
{
  const TCommandSet& set = LumoraCommands();
  QString help = set.HelpText();
  QString usage = set.UsageText();
  for (const TCommandMode& mode : set.Modes) {
    EXPECT_TRUE(help.contains(set.Synopsis(mode))) << set.Synopsis(mode).toStdString();
    EXPECT_TRUE(help.contains(mode.Help)) << mode.Help.toStdString();
    EXPECT_TRUE(usage.contains(set.Synopsis(mode))) << set.Synopsis(mode).toStdString();
  }
  for (const TCommandOption& option : set.Options)
    EXPECT_TRUE(help.contains(set.Spelling(option))) << set.Spelling(option).toStdString();
  EXPECT_EQ(set.Synopsis(set.Modes[0]), "lumora [--snapshot OUT.png] [PAGE]");
  EXPECT_TRUE(
      help.contains("lumora --render PAGE -o OUT.png [--width N] [--height H] [--frame K]"));
}

// The README's table of modes is the help's: a mode missing from either is caught here.
TEST(CommandLine, ReadmeListsEveryMode)
{
  QFile readme(QStringLiteral(LUMORA_TEST_DATA "/../../README.md"));
  ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
  QString text = QString::fromUtf8(readme.readAll());
  const TCommandSet& set = LumoraCommands();
  for (const TCommandMode& mode : set.Modes)
    EXPECT_TRUE(text.contains("`" + set.Synopsis(mode) + "`")) << set.Synopsis(mode).toStdString();
}

using apptest::RunLumora;
using apptest::TRun;

bool StartsWith(const QString& text, const QString& start)
{
  return text.toStdString().rfind(start.toStdString(), 0) == 0;
}

TEST(CommandLine, ProgramAnswersHelpVersionAndMistakes)
{
  const QString missing = testsupport::TempDir() + "/missing.htm";
  struct Case {
    QStringList Arguments;
    int Status;
    QString Out; // the start of standard output
    QString Err; // the start of standard error
  };
  const Case cases[] = {
      {{"--help"}, 0, "Lumora ", ""},
      {{"--version"}, 0, "Lumora " LUMORA_VERSION "\n", ""},
      {{"--bogus"}, 2, "", "error: Unknown option 'bogus'.\nusage:\n"},
      {{"--render", "page.htm"}, 2, "", "error: --render needs -o OUT.png\nusage:\n"},
      {{"--dump-layout"}, 2, "", "error: Missing value after '--dump-layout'.\nusage:\n"},
      {{"--dump-layout", missing}, 1, "", "error: Can't locate file: " + missing},
      {{"--dump-tokens", missing}, 1, "", ""},
      {{missing}, 1, "", "error: there is no display"},
  };
  for (const Case& c : cases) {
    const std::string args = c.Arguments.join(' ').toStdString();
    TRun run = RunLumora(c.Arguments);
    EXPECT_EQ(run.Status, c.Status) << args << "\n" << run.Err.toStdString();
    EXPECT_TRUE(StartsWith(run.Out, c.Out)) << args << " printed:\n" << run.Out.toStdString();
    EXPECT_TRUE(StartsWith(run.Err, c.Err)) << args << " printed:\n" << run.Err.toStdString();
    if (c.Status != 0) {
      EXPECT_NE(run.Err, "") << args;
    }
  }
  EXPECT_EQ(RunLumora({"--help"}).Out, LumoraCommands().HelpText());
}

// The editor modes print what the editor library writes, and an unknown script line is an
// error with its number.
TEST(CommandLine, EditorModesPrintTheLibrarysOutput)
{
  const QString dir = testsupport::TempDir();
  const std::string file =
      testsupport::WriteFile(dir, "edit.htm", "<p>one <!-- two\r\n--> x</p>\r\n");
  const std::string script = testsupport::WriteFile(dir, "script.txt", "ecLineEnd\necChar !\n");
  const std::string bad = testsupport::WriteFile(dir, "bad.txt", "# fine\necFly\n");
  std::ostringstream dump, edited, errors;
  ASSERT_EQ(DumpHighlight(file, dump, errors), 0);
  ASSERT_EQ(RunEditScript(file, script, edited, errors), 0);
  TRun run = RunLumora({"--dump-highlight", QString::fromStdString(file)});
  EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out.toStdString(), dump.str());
  run = RunLumora({"--edit-script", QString::fromStdString(file), QString::fromStdString(script)});
  EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out.toStdString(), edited.str());
  EXPECT_NE(edited.str().find("| <p>one <!-- two!\n"), std::string::npos);
  run = RunLumora({"--edit-script", QString::fromStdString(file), QString::fromStdString(bad)});
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(run.Err, "error: line 2: ecFly\n");
}

TEST(CommandLine, OutlineModesPrintValuesTreesAndWindows)
{
  const QString dir = testsupport::TempDir();
  const QString tree =
      QString::fromStdString(testsupport::WriteFile(dir, "t.txt", "a=1/4\n\tb\nc=a*2\n"));
  const QString bad = QString::fromStdString(testsupport::WriteFile(dir, "b.txt", "a\n\t\tb\n"));
  const QString png = dir + "/tree.png";
  struct Case {
    QStringList Arguments;
    int Status;
    QString Out;
    QString Err; // the start of standard error
  };
  const Case cases[] = {
      {{"--eval", "3+4*2"}, 0, "value=11\n", ""},
      {{"--eval", "-(2^-1)"}, 0, "value=-0.5\n", ""},
      {{"--eval", "-2^2"}, 1, "error code=0 pos=5\n", ""}, // the minus belongs to the base
      {{"--eval", "X*y", "--var", "x=1.5", "--var", "Y=4"}, 0, "value=6\n", ""},
      {{"--eval", "2 3"}, 1, "error code=4 pos=3\n", ""},
      {{"--eval", "1/0"}, 1, "error code=0 pos=4\n", ""},
      {{"--eval", "1", "--var", "x"}, 2, "", "invalid variable \"x\""},
      {{"--outline", tree}, 0, "a=1/4\r\n\t0.25\r\nc=a*2\r\n\t0.5\r\n", ""},
      {{"--outline", bad}, 1, "a\r\n", "error: Invalid level (2) for item \"b\"\n"},
      {{"--outline", tree, "--var", "x=1"}, 2, "", "error: --var does not go with --outline"},
      {{"--tree", tree, "--snapshot", png}, 0, "", ""},
  };
  for (const Case& c : cases) {
    const std::string args = c.Arguments.join(' ').toStdString();
    TRun run = RunLumora(c.Arguments);
    EXPECT_EQ(run.Status, c.Status) << args << "\n" << run.Err.toStdString();
    EXPECT_EQ(run.Out.toStdString(), c.Out.toStdString()) << args;
    EXPECT_TRUE(StartsWith(run.Err, c.Err)) << args << " printed:\n" << run.Err.toStdString();
  }
  QImage shot(png);
  EXPECT_FALSE(shot.isNull());
}

TEST(CommandLine, EditorModesShowTheBoxAndPrintSource)
{
  const QString dir = testsupport::TempDir();
  const QString page = QString::fromStdString(
      testsupport::WriteFile(dir, "p.htm", "<html>\r\n<b>bold</b> text\r\n</html>\r\n"));
  const QString png = dir + "/edit.png", pdf = dir + "/p.pdf";
  struct Case {
    QStringList Arguments;
    int Status;
    QString Out;
    QString Err; // the start of standard error
  };
  const Case cases[] = {
      {{"--edit", page, "--snapshot", png}, 0, "", ""},
      {{"--print-source", page, "-o", pdf}, 0, "pages=1\n", ""},
      {{"--print-source", page, "-o", pdf, "--no-highlight"}, 0, "pages=1\n", ""},
      {{"--print-source", dir + "/missing.htm", "-o", pdf}, 1, "", "error: "},
      {{"--print-source", page}, 2, "", "error: "},
      {{"--edit", page, "--no-highlight"}, 2, "", "error: "},
  };
  for (const Case& c : cases) {
    const std::string args = c.Arguments.join(' ').toStdString();
    TRun run = RunLumora(c.Arguments);
    EXPECT_EQ(run.Status, c.Status) << args << "\n" << run.Err.toStdString();
    EXPECT_EQ(run.Out.toStdString(), c.Out.toStdString()) << args;
    EXPECT_TRUE(StartsWith(run.Err, c.Err)) << args << " printed:\n" << run.Err.toStdString();
  }
  QImage shot(png);
  EXPECT_FALSE(shot.isNull());
  EXPECT_TRUE(QFile::exists(pdf));
}

// The dump the program prints is the one the library writes.
TEST(CommandLine, DumpLayoutPrintsTheLibrarysDump)
{
  const std::string page = testsupport::WriteFile(
      testsupport::TempDir(), "page.htm", "<h1>Title</h1><p>Some <b>text</b><ul><li>one</ul>");
  std::ostringstream expected, errors;
  ASSERT_EQ(DumpLayout(page, 500, expected, errors), 0);
  TRun run = RunLumora({"--dump-layout", QString::fromStdString(page), "--width", "500"});
  EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out.toStdString(), expected.str());
}

} // namespace
