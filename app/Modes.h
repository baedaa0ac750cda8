#pragma once
// The modes of the lumora command line and what the headless ones share. A new mode is one
// entry in LumoraCommands() (Modes.cpp) and a run function, which may live in a file of its own.
#include "app/CommandLine.h"
#include "app/LumoraApplication.h"
#include "platform/Dialogs.h"

#include <memory>

// The table of modes and options that main() runs.
const TCommandSet& LumoraCommands();

// True when a window can be opened (a display, or a platform chosen by QT_QPA_PLATFORM).
bool HasDisplay();
// Without a display, draws off screen.
void DefaultToOffscreen();

// Message boxes go to standard error while this lives: nobody is there to close them.
class THeadlessDialogs {
public:
  THeadlessDialogs();

private:
  TDialogsScope FScope;
};

// What a headless mode that lays out or draws pages needs: the application (fonts are measured
// through the GUI, off screen when there is no display) and the console message boxes.
class THeadlessApp {
public:
  explicit THeadlessApp(const TCommandLine& command);

private:
  bool FOffscreen;
  TLumoraApplication FApp;
  THeadlessDialogs FDialogs;
};
