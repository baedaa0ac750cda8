#include "app/CommandLine.h"

#include "app/LumoraApplication.h"
#include "app/Modes.h"

#include <QCommandLineParser>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <iostream>

namespace {

const QString HelpName = QStringLiteral("help");
const QString VersionName = QStringLiteral("version");
const QString SnapshotName = QStringLiteral("snapshot");

QString Dashes(const QString& name)
{
  return name.size() == 1 ? "-" + name : "--" + name;
}

bool IsOptional(const QString& argument)
{
  return argument.startsWith('[');
}

// Pads the left column of the help to a common width.
QString Row(const QString& left, const QString& right, qsizetype width)
{
  QString line = "  " + left.leftJustified(width) + "  " + right;
  return line + "\n";
}

// A mistake in the arguments, reported as "error: <text>" with the usage.
struct TUsageError {
  QString Text;
};

void CheckValue(const TCommandOption& option, const QString& value)
{
  if (!option.Number)
    return;
  bool ok = false;
  int n = value.toInt(&ok);
  bool allowed = option.Allowed.empty() ||
                 std::find(option.Allowed.begin(), option.Allowed.end(), n) != option.Allowed.end();
  if (!ok || n < option.Min || !allowed) {
    QString want = option.Allowed.empty()
                       ? QStringLiteral("a number of at least %1").arg(option.Min)
                       : option.ValueName;
    throw TUsageError{
        QStringLiteral("%1 takes %2, not '%3'").arg(Dashes(option.Name), want, value)};
  }
}

const TCommandMode& ChosenMode(const TCommandSet& set, const QCommandLineParser& parser)
{
  const TCommandMode* chosen = nullptr;
  for (const TCommandMode& mode : set.Modes) {
    if (mode.Flag.isEmpty() || !parser.isSet(mode.Flag))
      continue;
    if (chosen)
      throw TUsageError{
          QStringLiteral("--%1 and --%2 cannot be combined").arg(chosen->Flag, mode.Flag)};
    chosen = &mode;
  }
  if (!chosen)
    for (const TCommandMode& mode : set.Modes)
      if (mode.Flag.isEmpty())
        chosen = &mode;
  if (!chosen)
    throw TUsageError{QStringLiteral("no mode given")};
  return *chosen;
}

bool Takes(const TCommandSet& set, const TCommandMode& mode, const QString& name)
{
  if (set.Global.contains(name) || (mode.Window && set.WindowOptions.contains(name)))
    return true;
  return std::any_of(mode.Options.begin(), mode.Options.end(),
                     [&](const TModeOption& o) { return o.Name == name; });
}

QString ModeTitle(const TCommandMode& mode)
{
  return mode.Flag.isEmpty() ? QStringLiteral("the main window") : "--" + mode.Flag;
}

void ReadOptions(const TCommandSet& set, const QCommandLineParser& parser, TCommandLine& command)
{
  const TCommandMode& mode = *command.Mode;
  for (const TCommandOption& option : set.Options) {
    if (!parser.isSet(option.Name))
      continue;
    if (!Takes(set, mode, option.Name))
      throw TUsageError{
          QStringLiteral("%1 does not go with %2").arg(Dashes(option.Name), ModeTitle(mode))};
    QStringList values = parser.values(option.Name);
    if (values.size() > 1 && !option.Repeatable)
      throw TUsageError{QStringLiteral("%1 is given more than once").arg(Dashes(option.Name))};
    for (const QString& value : values)
      CheckValue(option, value);
    command.Values[option.Name] = option.ValueName.isEmpty() ? QStringList{QString()} : values;
  }
  for (const TModeOption& wanted : mode.Options)
    if (wanted.Required && !command.IsSet(wanted.Name))
      throw TUsageError{QStringLiteral("%1 needs %2")
                            .arg(ModeTitle(mode), set.Spelling(*set.FindOption(wanted.Name)))};
}

void ReadArguments(const QCommandLineParser& parser, TCommandLine& command)
{
  const TCommandMode& mode = *command.Mode;
  command.ModeValue =
      mode.Flag.isEmpty() || mode.ValueName.isEmpty() ? QString() : parser.value(mode.Flag);
  command.Arguments = parser.positionalArguments();
  const QStringList& extra = mode.Extra;
  qsizetype needed =
      std::count_if(extra.begin(), extra.end(), [](const QString& a) { return !IsOptional(a); });
  if (command.Arguments.size() < needed)
    throw TUsageError{
        QStringLiteral("%1 needs %2").arg(ModeTitle(mode), extra[command.Arguments.size()])};
  if (command.Arguments.size() > extra.size())
    throw TUsageError{
        QStringLiteral("unexpected argument '%1'").arg(command.Arguments[extra.size()])};
}

// --help stays a request for help where the parser took it for the value of another option
// ("lumora --render --help"); after "--" it is an argument like any other.
bool AskedFor(const QStringList& arguments, const QStringList& spellings)
{
  for (qsizetype i = 1; i < arguments.size() && arguments[i] != "--"; ++i)
    if (spellings.contains(arguments[i]))
      return true;
  return false;
}

// Shows the window of a window mode, or draws it into the --snapshot file and ends.
int RunWindow(const TCommandLine& command)
{
  const bool snap = command.IsSet(SnapshotName);
  const QString snapshot = command.Value(SnapshotName);
  if (snap)
    DefaultToOffscreen();
  else if (!HasDisplay()) {
    std::cerr << "error: there is no display to open the window on (see lumora --help for the "
                 "modes that need none)\n";
    return 1;
  }
  TLumoraApplication app(*command.Argc, command.Argv);
  if (!snap) {
    std::unique_ptr<QWidget> window = command.Mode->Window(command);
    window->show();
    return app.exec();
  }
  THeadlessDialogs dialogs;
  std::unique_ptr<QWidget> window = command.Mode->Window(command);
  window->show();
  int result = 0;
  // Give the file lists and the first layout time to settle before taking the picture.
  QTimer::singleShot(500, &app, [&] {
    if (!window->grab().save(snapshot, "PNG")) {
      std::cerr << "Can't write " << snapshot.toStdString() << "\n";
      result = 1;
    }
    app.quit();
  });
  app.exec();
  return result;
}

} // namespace

const TCommandOption* TCommandSet::FindOption(const QString& name) const
{
  for (const TCommandOption& option : Options)
    if (option.Name == name)
      return &option;
  return nullptr;
}

QString TCommandSet::Spelling(const TCommandOption& option) const
{
  QString text = Dashes(option.Name);
  return option.ValueName.isEmpty() ? text : text + " " + option.ValueName;
}

QString TCommandSet::Synopsis(const TCommandMode& mode) const
{
  QStringList parts{Program};
  if (mode.Window)
    for (const QString& name : WindowOptions)
      if (const TCommandOption* o = FindOption(name))
        parts << "[" + Spelling(*o) + "]";
  if (!mode.Flag.isEmpty())
    parts << (mode.ValueName.isEmpty() ? "--" + mode.Flag
                                       : "--" + mode.Flag + " " + mode.ValueName);
  parts << mode.Extra;
  for (const TModeOption& wanted : mode.Options)
    if (const TCommandOption* o = FindOption(wanted.Name)) {
      TCommandOption shown = *o;
      if (!wanted.ValueName.isEmpty())
        shown.ValueName = wanted.ValueName;
      parts << (wanted.Required ? Spelling(shown) : "[" + Spelling(shown) + "]");
    }
  return parts.join(' ');
}

QString TCommandSet::UsageText() const
{
  QString text = "usage:\n";
  for (const TCommandMode& mode : Modes)
    text += "  " + Synopsis(mode) + "\n";
  text += QStringLiteral("  %1 --help | --version\n").arg(Program);
  return text;
}

QString TCommandSet::HelpText() const
{
  QString text = Version + "\n\nModes:\n";
  for (const TCommandMode& mode : Modes)
    text += "  " + Synopsis(mode) + "\n      " + mode.Help + "\n";
  text += "\nOptions:\n";
  qsizetype optionWidth = 0;
  for (const TCommandOption& option : Options)
    optionWidth = std::max(optionWidth, Spelling(option).size());
  for (const TCommandOption& option : Options)
    text += Row(Spelling(option), option.Help, optionWidth);
  text += Row("--help", "prints this text", optionWidth);
  text += Row("--version", "prints the version", optionWidth);
  return text;
}

QString TCommandLine::Value(const QString& option, const QString& otherwise) const
{
  auto it = Values.find(option);
  return it == Values.end() || it->second.isEmpty() ? otherwise : it->second.front();
}

QStringList TCommandLine::ValuesOf(const QString& option) const
{
  auto it = Values.find(option);
  return it == Values.end() ? QStringList() : it->second;
}

int TCommandLine::Number(const QString& option, int otherwise) const
{
  auto it = Values.find(option);
  return it == Values.end() || it->second.isEmpty() ? otherwise : it->second.front().toInt();
}

TParseResult ParseCommandLine(const TCommandSet& set, const QStringList& arguments)
{
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOption(QCommandLineOption(QStringList{"h", HelpName}));
  parser.addOption(QCommandLineOption(VersionName));
  for (const TCommandMode& mode : set.Modes)
    if (!mode.Flag.isEmpty())
      parser.addOption(QCommandLineOption(mode.Flag, mode.Help, mode.ValueName));
  for (const TCommandOption& option : set.Options)
    parser.addOption(QCommandLineOption(option.Name, option.Help, option.ValueName));
  TParseResult result;
  if (!parser.parse(arguments)) {
    result.Message = parser.errorText();
    return result;
  }
  if (parser.isSet(HelpName) || AskedFor(arguments, {"--help", "-h"})) {
    result.Kind = TParseResult::Help;
    return result;
  }
  if (parser.isSet(VersionName) || AskedFor(arguments, {"--version"})) {
    result.Kind = TParseResult::Version;
    return result;
  }
  try {
    result.Command.Mode = &ChosenMode(set, parser);
    ReadOptions(set, parser, result.Command);
    ReadArguments(parser, result.Command);
    result.Kind = TParseResult::Run;
  } catch (const TUsageError& error) {
    result.Message = error.Text;
  }
  return result;
}

int RunCommandLine(const TCommandSet& set, int argc, char** argv)
{
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  TParseResult parsed = ParseCommandLine(set, arguments);
  switch (parsed.Kind) {
  case TParseResult::Help: std::cout << set.HelpText().toStdString(); return 0;
  case TParseResult::Version: std::cout << set.Version.toStdString() << "\n"; return 0;
  case TParseResult::Error:
    std::cerr << "error: " << parsed.Message.toStdString() << "\n" << set.UsageText().toStdString();
    return 2;
  case TParseResult::Run: break;
  }
  TCommandLine& command = parsed.Command;
  command.Argc = &argc;
  command.Argv = argv;
  if (set.Prepare)
    set.Prepare(command);
  return command.Mode->Window ? RunWindow(command) : command.Mode->Run(command);
}
