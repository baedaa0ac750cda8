// Entry point: the normal window, or one of the headless modes named by the first argument.
#include "app/LumoraApplication.h"
#include "app/LumoraF.h"
#include "base/StringUtil.h"
#include "html/images/Display.h"
#include "html/parser/TokenDump.h"
#include "html/viewer/LayoutDump.h"
#include "html/viewer/RenderPage.h"
#include "platform/ScriptedDialogs.h"

#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ParamsFrom(const QStringList& arguments, int first)
{
  std::vector<std::string> params;
  for (qsizetype i = first; i < arguments.size(); ++i)
    params.push_back(arguments[i].toStdString());
  return params;
}

// Without a display the window can still be drawn off screen.
void DefaultToOffscreen()
{
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// Nobody is there to close a message box in the headless modes: print it and go on.
std::unique_ptr<TDialogs> ConsoleDialogs()
{
  auto dialogs = std::make_unique<TScriptedDialogs>();
  dialogs->OnAsk = [](const TScriptedDialogs::TAsked& asked) { std::cerr << asked.Text << "\n"; };
  return dialogs;
}

int RunWindow(int argc, char** argv)
{
  TLumoraApplication app(argc, argv);
  TLumoraF window(QCoreApplication::applicationFilePath().toStdString(),
                  ParamsFrom(QCoreApplication::arguments(), 1));
  window.show();
  return app.exec();
}

// lumora --snapshot OUT.png [PAGE]
int RunSnapshot(int argc, char** argv)
{
  if (argc < 3) {
    std::cerr << "usage: lumora --snapshot OUT.png [PAGE]\n";
    return 2;
  }
  DefaultToOffscreen();
  TLumoraApplication app(argc, argv);
  TDialogsScope scope(ConsoleDialogs());
  QStringList arguments = QCoreApplication::arguments();
  QString out = arguments.value(2);
  TLumoraF window(QCoreApplication::applicationFilePath().toStdString(), ParamsFrom(arguments, 3));
  window.show();
  int result = 0;
  // Give the file lists and the first layout time to settle before taking the picture.
  QTimer::singleShot(500, &app, [&] {
    if (!window.grab().save(out, "PNG")) {
      std::cerr << "Can't write " << out.toStdString() << "\n";
      result = 1;
    }
    app.quit();
  });
  app.exec();
  return result;
}

// lumora --dump-tokens FILE
int RunDumpTokens(int argc, char** argv)
{
  if (argc < 3) {
    std::cerr << "usage: lumora --dump-tokens FILE\n";
    return 2;
  }
  return DumpTokens(argv[2], std::cout);
}

// The options after the page: "--width N", "--height N" (numbers of at least minimum) and
// "-o FILE". False on anything else.
struct TPageOptions {
  int Width = 800;
  int Height = 600;
  int Frames = 0;
  std::string Out;
};

bool ReadNumber(const char* text, int minimum, int& number)
{
  int32_t value = 0;
  if (!strutil::TryStrToInt(text, value) || value < minimum)
    return false;
  number = value;
  return true;
}

bool ReadPageOptions(int argc, char** argv, int first, TPageOptions& options)
{
  for (int i = first; i < argc; i += 2) {
    if (i + 1 >= argc)
      return false;
    if (std::strcmp(argv[i], "--width") == 0) {
      if (!ReadNumber(argv[i + 1], 1, options.Width))
        return false;
    } else if (std::strcmp(argv[i], "--height") == 0) {
      if (!ReadNumber(argv[i + 1], 0, options.Height))
        return false;
    } else if (std::strcmp(argv[i], "--frame") == 0) {
      if (!ReadNumber(argv[i + 1], 0, options.Frames))
        return false;
    } else if (std::strcmp(argv[i], "-o") == 0) {
      options.Out = argv[i + 1];
    } else {
      return false;
    }
  }
  return true;
}

// lumora --dump-layout PAGE [--width N]
int RunDumpLayout(int argc, char** argv)
{
  TPageOptions options;
  if (argc < 3 || !ReadPageOptions(argc, argv, 3, options)) {
    std::cerr << "usage: lumora --dump-layout PAGE [--width N]\n";
    return 2;
  }
  DefaultToOffscreen();
  TLumoraApplication app(argc, argv); // fonts are measured through the GUI
  TDialogsScope scope(ConsoleDialogs());
  return DumpLayout(argv[2], options.Width, std::cout, std::cerr);
}

// lumora --render PAGE -o OUT.png [--width N] [--height N]
int RunRender(int argc, char** argv)
{
  TPageOptions options;
  if (argc < 3 || !ReadPageOptions(argc, argv, 3, options) || options.Out.empty()) {
    std::cerr << "usage: lumora --render PAGE -o OUT.png [--width N] [--height H] [--frame K]\n";
    return 2;
  }
  DefaultToOffscreen();
  TLumoraApplication app(argc, argv);
  TDialogsScope scope(ConsoleDialogs());
  return RenderPage(argv[2], options.Out, options.Width, options.Height, std::cerr, options.Frames);
}

struct TMode {
  const char* Flag;
  int (*Run)(int argc, char** argv);
};

const TMode Modes[] = {
    {"--snapshot", RunSnapshot},
    {"--dump-tokens", RunDumpTokens},
    {"--dump-layout", RunDumpLayout},
    {"--render", RunRender},
};

} // namespace

// "--display-bits N" (4, 8 or 24) may come first, before any mode: it forces the colour depth
// the images are prepared for, so the palette path can be seen on a true-colour screen.
static bool TakeDisplayBits(int& argc, char** argv)
{
  if (argc < 3 || std::strcmp(argv[1], "--display-bits") != 0)
    return true;
  int32_t bits = 0;
  if (!strutil::TryStrToInt(argv[2], bits) || (bits != 4 && bits != 8 && bits != 24)) {
    std::cerr << "usage: lumora --display-bits 4|8|24 [mode ...]\n";
    return false;
  }
  SetDisplayBits(bits);
  for (int i = 3; i <= argc; ++i)
    argv[i - 2] = argv[i];
  argc -= 2;
  return true;
}

int main(int argc, char** argv)
{
  if (!TakeDisplayBits(argc, argv))
    return 2;
  if (argc > 1)
    for (const TMode& mode : Modes)
      if (std::strcmp(argv[1], mode.Flag) == 0)
        return mode.Run(argc, argv);
  return RunWindow(argc, argv);
}
