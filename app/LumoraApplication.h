#pragma once
// The application object. An exception that escapes an event handler is shown in the error box
// and the program goes on, instead of ending with the event loop.
#include <QApplication>

class TLumoraApplication : public QApplication {
public:
  TLumoraApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

// The application title.
inline constexpr const char* AppTitle = "Lumora 2";
