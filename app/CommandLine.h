#pragma once
// The command line: a table of modes and options, read with QCommandLineParser and checked
// before anything else starts, so that a mistake gives "error: <text>" and the usage, and
// --help works without a display.
//
// A mode is a flag whose value is its first argument (`--render PAGE`), possibly followed by
// more arguments (`[PAGE]`); the main window is the mode without a flag. A mode names the
// options it takes; an option given to a mode that does not take it is an error. Headless
// modes run and return the exit status; window modes build a widget, which is shown, or
// drawn into a PNG when --snapshot is given.
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QWidget;
class TCommandLine;

struct TCommandOption {
  QString Name{};      // "width" for --width, "o" for -o
  QString ValueName{}; // "N"; empty for a plain switch
  QString Help{};
  bool Number = false;        // the value is a whole number...
  int Min = 0;                // ...of at least Min...
  std::vector<int> Allowed{}; // ...and one of these, when any are listed
  bool Repeatable = false;    // may be given more than once (--set A=1 --set B=2)
};

struct TModeOption {
  QString Name{};
  bool Required = false;
  QString ValueName{}; // how this mode names the value ("OUT.pdf"); empty for the option's own
};

struct TCommandMode {
  QString Flag{};      // "render" for --render; empty for the main window
  QString ValueName{}; // the argument right after the flag ("PAGE"); empty for a plain flag
  QStringList Extra{}; // further arguments, "[PAGE]" when optional (optional ones come last)
  std::vector<TModeOption> Options{};
  QString Help{};
  int (*Run)(const TCommandLine& command) = nullptr;                         // headless
  std::unique_ptr<QWidget> (*Window)(const TCommandLine& command) = nullptr; // or a window
};

// What the program accepts: the modes and every option any of them takes.
struct TCommandSet {
  QString Program; // "lumora"
  QString Version; // "Lumora 2.0"
  std::vector<TCommandMode> Modes;
  std::vector<TCommandOption> Options;
  QStringList Global;        // options every mode takes (--display-bits)
  QStringList WindowOptions; // options every window mode takes (--snapshot)
  // Applies the global options before the mode starts.
  void (*Prepare)(const TCommandLine& command) = nullptr;

  const TCommandOption* FindOption(const QString& name) const;
  // "lumora --render PAGE -o OUT.png [--width N]" for a mode.
  QString Synopsis(const TCommandMode& mode) const;
  // "--width N" or "-o OUT.png".
  QString Spelling(const TCommandOption& option) const;
  // The full text of --help: the modes with what they do, then the options.
  QString HelpText() const;
  // The short form printed after an error: one synopsis line per mode.
  QString UsageText() const;
};

// A command line that passed every check.
class TCommandLine {
public:
  const TCommandMode* Mode = nullptr;
  QString ModeValue;                     // the argument right after the mode's flag
  QStringList Arguments;                 // the arguments after that
  std::map<QString, QStringList> Values; // option name -> its values, in order
  int* Argc = nullptr;                   // main's arguments, for starting the application
  char** Argv = nullptr;

  bool IsSet(const QString& option) const { return Values.count(option) > 0; }
  QString Value(const QString& option, const QString& otherwise = QString()) const;
  QStringList ValuesOf(const QString& option) const;
  int Number(const QString& option, int otherwise) const; // checked when parsed
};

// What reading the arguments came to.
struct TParseResult {
  enum TKind { Run, Help, Version, Error } Kind = Error;
  TCommandLine Command; // for Run
  QString Message;      // for Error, without the "error: " prefix
};

// Reads arguments (the program name first, as in argv).
TParseResult ParseCommandLine(const TCommandSet& set, const QStringList& arguments);

// Parses argv and runs the chosen mode: help and version on standard output with status 0, an
// error with the usage on standard error and status 2, else the mode's own status.
int RunCommandLine(const TCommandSet& set, int argc, char** argv);
