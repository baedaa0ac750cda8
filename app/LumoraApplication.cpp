#include "app/LumoraApplication.h"

#include "app/ProgramIcon.h"

#include "platform/ErrorBox.h"
#include "platform/widgets/QtDialogs.h"

TLumoraApplication::TLumoraApplication(int& argc, char** argv) : QApplication(argc, argv)
{
  // The program's name names its configuration folder; the title is what the user reads.
  setApplicationName("lumora");
  setApplicationDisplayName(AppTitle);
  setWindowIcon(ProgramIconSet());
  UseQtDialogs();
}

bool TLumoraApplication::notify(QObject* receiver, QEvent* event)
{
  bool result = false;
  CallGuarded([&] { result = QApplication::notify(receiver, event); });
  return result;
}
