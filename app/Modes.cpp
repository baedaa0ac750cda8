#include "app/Modes.h"

#include "app/LumoraF.h"
#include "app/StateReport.h"
#include "app/SubmitMode.h"
#include "editor/EditScript.h"
#include "editor/HighlightDump.h"
#include "editor/widgets/EditorModes.h"
#include "html/images/Display.h"
#include "html/parser/TokenDump.h"
#include "html/viewer/FrameDump.h"
#include "html/viewer/LayoutDump.h"
#include "html/viewer/PrintPage.h"
#include "html/viewer/RenderPage.h"
#include "outline/OutlineModes.h"
#include "outline/TreeView.h"
#include "platform/ScriptedDialogs.h"

#include <QCoreApplication>
#include <cstdlib>
#include <iostream>

namespace {

std::unique_ptr<TDialogs> ConsoleDialogs()
{
  auto dialogs = std::make_unique<TScriptedDialogs>();
  dialogs->OnAsk = [](const TScriptedDialogs::TAsked& asked) { std::cerr << asked.Text << "\n"; };
  return dialogs;
}

bool Offscreen()
{
  DefaultToOffscreen();
  return true;
}

std::string Text(const QString& s)
{
  return s.toStdString();
}

// lumora [PAGE]: the main window, started on PAGE or on Lumora.htm beside the program (or
// among the installed pages).
std::unique_ptr<QWidget> MainWindow(const TCommandLine& command)
{
  std::vector<std::string> params;
  for (const QString& argument : command.Arguments)
    params.push_back(Text(argument));
  auto window = std::make_unique<TLumoraF>(Text(QCoreApplication::applicationFilePath()), params);
  // An outside test driving the window with real input reads what it shows from this file.
  if (QString report = qEnvironmentVariable("LUMORA_STATE_FILE"); !report.isEmpty())
    StartStateReport(*window, report);
  return window;
}

int RunDumpTokens(const TCommandLine& command)
{
  return DumpTokens(Text(command.ModeValue), std::cout);
}

int RunDumpHighlight(const TCommandLine& command)
{
  return DumpHighlight(Text(command.ModeValue), std::cout, std::cerr);
}

int RunEditScriptMode(const TCommandLine& command)
{
  return RunEditScript(Text(command.ModeValue), Text(command.Arguments.value(0)), std::cout,
                       std::cerr);
}

int RunDumpLayout(const TCommandLine& command)
{
  THeadlessApp app(command);
  return DumpLayout(Text(command.ModeValue), command.Number("width", 800), std::cout, std::cerr);
}

int RunSubmit(const TCommandLine& command)
{
  TSubmitRequest request;
  request.Page = Text(command.ModeValue);
  request.Form = command.Number("form", 1);
  for (const QString& s : command.ValuesOf("set"))
    request.Sets.push_back(Text(s));
  for (const QString& c : command.ValuesOf("check"))
    request.Checks.push_back(Text(c));
  request.Click = Text(command.Value("click"));
  request.At = Text(command.Value("at"));
  THeadlessApp app(command);
  return SubmitPage(request, std::cout, std::cerr);
}

int RunRender(const TCommandLine& command)
{
  THeadlessApp app(command);
  return RenderPage(Text(command.ModeValue), Text(command.Value("o")), command.Number("width", 800),
                    command.Number("height", 600), std::cerr, command.Number("frame", 0));
}

int RunDumpFrames(const TCommandLine& command)
{
  THeadlessApp app(command);
  return DumpFrames(Text(command.ModeValue), command.Number("width", 800),
                    command.Number("height", 600), std::cout, std::cerr);
}

int RunPrint(const TCommandLine& command)
{
  TPrintPageOptions options;
  options.Page = Text(command.ModeValue);
  options.Out = Text(command.Value("o"));
  options.From = command.Number("from", options.From);
  options.To = command.Number("to", options.To);
  std::string margins = Text(command.Value("margins", "2,2,2,2"));
  if (!ParseMargins(margins, options.Margins)) {
    std::cerr << "error: bad margins " << margins << " (four centimetre values L,T,R,B)\n";
    return 2;
  }
  std::string paper = Text(command.Value("paper", "a4").toLower());
  if (paper != "a4" && paper != "letter") {
    std::cerr << "error: unknown paper " << paper << " (a4 or letter)\n";
    return 2;
  }
  options.Letter = paper == "letter";
  THeadlessApp app(command);
  return PrintPage(options, std::cout, std::cerr);
}

// lumora --eval FORMULA [--var NAME=VALUE ...]: needs no application, only the evaluator.
int RunEval(const TCommandLine& command)
{
  std::vector<std::string> variables;
  for (const QString& v : command.ValuesOf("var"))
    variables.push_back(Text(v));
  return outlinemodes::EvalFormula(Text(command.ModeValue), variables, std::cout, std::cerr);
}

int RunOutline(const TCommandLine& command)
{
  THeadlessApp app(command); // the tree is a widget, if one nobody sees
  return outlinemodes::PrintOutline(Text(command.ModeValue), std::cout, std::cerr);
}

std::unique_ptr<QWidget> TreeWindow(const TCommandLine& command)
{
  return outlinemodes::NewTreeWindow(Text(command.ModeValue));
}

std::unique_ptr<QWidget> EditWindow(const TCommandLine& command)
{
  return editormodes::NewEditWindow(Text(command.ModeValue));
}

int RunPrintSource(const TCommandLine& command)
{
  THeadlessApp app(command);
  return editormodes::PrintSource(Text(command.ModeValue), Text(command.Value("o")),
                                  !command.IsSet("no-highlight"), std::cout, std::cerr);
}

void Prepare(const TCommandLine& command)
{
  // Forces the colour depth images are prepared for, so the palette path can be seen on a
  // true-colour screen.
  if (command.IsSet("display-bits"))
    SetDisplayBits(command.Number("display-bits", 24));
}

TCommandSet MakeCommands()
{
  TCommandSet set;
  set.Program = "lumora";
  set.Version = QStringLiteral("Lumora %1").arg(LUMORA_VERSION);
  set.Prepare = Prepare;
  set.Global = {"display-bits"};
  set.WindowOptions = {"snapshot"};
  set.Options = {
      {.Name = "snapshot",
       .ValueName = "OUT.png",
       .Help = "writes a PNG of the whole window once it has settled, then exits; without a "
               "display it draws off screen"},
      {.Name = "o", .ValueName = "OUT.png", .Help = "the file to write (a PDF for --print)"},
      {.Name = "from",
       .ValueName = "N",
       .Help = "the first page to print (1 by default)",
       .Number = true,
       .Min = 1},
      {.Name = "to",
       .ValueName = "M",
       .Help = "the last page to print (all by default)",
       .Number = true,
       .Min = 1},
      {.Name = "margins",
       .ValueName = "L,T,R,B",
       .Help = "print margins in centimetres (2,2,2,2 by default)"},
      {.Name = "paper",
       .ValueName = "letter",
       .Help = "paper size for --print: letter, or a4 (the default)"},
      {.Name = "width",
       .ValueName = "N",
       .Help = "width of the viewer in pixels (800 by default)",
       .Number = true,
       .Min = 1},
      {.Name = "height",
       .ValueName = "H",
       .Help = "height of the viewer in pixels (600 by default); 0 takes the whole document",
       .Number = true},
      {.Name = "frame",
       .ValueName = "K",
       .Help = "moves animated images on K frames before the picture is taken",
       .Number = true},
      {.Name = "var",
       .ValueName = "NAME=VALUE",
       .Help = "a variable for --eval (names in any case, the number in the C locale); may be "
               "given more than once",
       .Repeatable = true},
      {.Name = "form",
       .ValueName = "K",
       .Help = "for --submit: the form to submit, counted from 1 in page order (1 by default)",
       .Number = true,
       .Min = 1},
      {.Name = "set",
       .ValueName = "NAME=VALUE",
       .Help = "for --submit: types VALUE into the edit box or text area NAME (a line feed "
               "starts a new line), or picks the option of that value in the list NAME; each "
               "--set fills the next control of that name, a multiple-selection list takes "
               "them all",
       .Repeatable = true},
      {.Name = "check",
       .ValueName = "NAME[=VALUE]",
       .Help = "for --submit: clicks the check box or radio button NAME (the one of that VALUE) "
               "unless it is checked already",
       .Repeatable = true},
      {.Name = "click",
       .ValueName = "NAME",
       .Help = "for --submit: the submit or image button that submits (the form's first one "
               "by default; a form without one is submitted as Enter in an edit box does)"},
      {.Name = "at",
       .ValueName = "X,Y",
       .Help = "for --submit: where the image button is clicked, in the picture (0,0 by "
               "default)"},
      {.Name = "no-highlight",
       .Help = "for --print-source: prints the text without the highlighter's styles and "
               "colours"},
      {.Name = "display-bits",
       .ValueName = "4|8|24",
       .Help = "with any mode: prepares images for a display of that colour depth (8 shows the "
               "shared-palette dither on a true-colour screen)",
       .Number = true,
       .Allowed = {4, 8, 24}},
  };
  set.Modes = {
      {.Extra = {"[PAGE]"},
       .Help = "opens the main window; PAGE (a .htm or .html file) is the start page, else "
               "Lumora.htm beside the program (installed: in ../share/lumora)",
       .Window = MainWindow},
      {.Flag = "dump-tokens",
       .ValueName = "FILE",
       .Help = "prints the tokenizer's symbols for FILE, one per line",
       .Run = RunDumpTokens},
      {.Flag = "dump-highlight",
       .ValueName = "FILE",
       .Help = "scans FILE line by line as the source editor does and prints each line's range "
               "and its tokens",
       .Run = RunDumpHighlight},
      {.Flag = "edit-script",
       .ValueName = "FILE",
       .Extra = {"SCRIPT"},
       .Help = "loads FILE into a headless source editor of 80 x 25 cells, runs the commands of "
               "SCRIPT and prints the lines and the caret, selection and undo state",
       .Run = RunEditScriptMode},
      {.Flag = "dump-layout",
       .ValueName = "PAGE",
       .Options = {{"width"}},
       .Help = "prints the layout of PAGE laid out N pixels wide (800 by default)",
       .Run = RunDumpLayout},
      {.Flag = "render",
       .ValueName = "PAGE",
       .Options = {{"o", true}, {"width"}, {"height"}, {"frame"}},
       .Help = "writes what the viewer shows of PAGE as a PNG (animated GIFs moved on K frames), "
               "in a viewer N x H pixels (800 x 600 by default)",
       .Run = RunRender},
      {.Flag = "print",
       .ValueName = "PAGE",
       .Options = {{"o", true, "OUT.pdf"}, {"from"}, {"to"}, {"margins"}, {"paper"}},
       .Help = "prints PAGE through the Print button's code to a PDF file and writes "
               "pages=<count printed>",
       .Run = RunPrint},
      {.Flag = "submit",
       .ValueName = "PAGE",
       .Options = {{"form"}, {"set"}, {"check"}, {"click"}, {"at"}},
       .Help = "loads PAGE, fills the controls of form K, submits it through its button and "
               "prints action=\"\" target=\"\" enctype=\"\" method=\"\" then the result lines "
               "the form hands over, one each",
       .Run = RunSubmit},
      {.Flag = "dump-frames",
       .ValueName = "PAGE",
       .Options = {{"width"}, {"height"}},
       .Help = "lays PAGE out in a frame viewer N x H pixels (800 x 600 by default) and prints "
               "its frame tree, one line per frameset or frame",
       .Run = RunDumpFrames},
      {.Flag = "eval",
       .ValueName = "FORMULA",
       .Options = {{"var"}},
       .Help = "evaluates FORMULA and prints value=<result>, or error code=<code> pos=<position> "
               "with status 1",
       .Run = RunEval},
      {.Flag = "outline",
       .ValueName = "FILE",
       .Help = "loads the outline tree FILE, evaluates its formulas once and prints the tree in "
               "the file format; a load error prints error: <message> and exits 1",
       .Run = RunOutline},
      {.Flag = "tree",
       .ValueName = "FILE",
       .Help = "opens a window holding just the outline tree view on FILE",
       .Window = TreeWindow},
      {.Flag = "edit",
       .ValueName = "FILE",
       .Help = "opens a window holding just the HTML source editor box on FILE",
       .Window = EditWindow},
      {.Flag = "print-source",
       .ValueName = "FILE",
       .Options = {{"o", true, "OUT.pdf"}, {"no-highlight"}},
       .Help = "prints FILE through the source editor's print operation to a PDF file and "
               "writes pages=<count>",
       .Run = RunPrintSource},
  };
  return set;
}

} // namespace

const TCommandSet& LumoraCommands()
{
  static const TCommandSet set = MakeCommands();
  return set;
}

bool HasDisplay()
{
  return std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

void DefaultToOffscreen()
{
  if (!HasDisplay())
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

THeadlessDialogs::THeadlessDialogs() : FScope(ConsoleDialogs())
{
}

THeadlessApp::THeadlessApp(const TCommandLine& command)
    : FOffscreen(Offscreen()), FApp(*command.Argc, command.Argv)
{
}
