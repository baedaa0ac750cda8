// Entry point: the command line chooses the main window or one of the headless modes.
#include "app/Modes.h"

int main(int argc, char** argv)
{
  return RunCommandLine(LumoraCommands(), argc, argv);
}
