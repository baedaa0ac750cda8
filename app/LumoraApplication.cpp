#include "app/LumoraApplication.h"

#include "platform/ErrorBox.h"

TLumoraApplication::TLumoraApplication(int& argc, char** argv) : QApplication(argc, argv)
{
  setApplicationName(AppTitle);
  setApplicationDisplayName(AppTitle);
}

bool TLumoraApplication::notify(QObject* receiver, QEvent* event)
{
  bool result = false;
  CallGuarded([&] { result = QApplication::notify(receiver, event); });
  return result;
}
