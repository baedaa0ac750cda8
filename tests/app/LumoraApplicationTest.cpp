#include "app/LumoraApplication.h"
#include "base/Exceptions.h"
#include "platform/ErrorBox.h"
#include "platform/ScriptedDialogs.h"

#include <QApplication>
#include <QEvent>
#include <gtest/gtest.h>

namespace {

// An object whose event handler fails the way a missing file does.
class TFailingObject : public QObject {
public:
  int Handled = 0;
  bool Fail = true;

  bool event(QEvent* e) override
  {
    if (e->type() != QEvent::User)
      return QObject::event(e);
    if (Fail)
      throw EViewerError(std::string(msg::CantLocateFile) + "/gone.htm");
    ++Handled;
    return true;
  }
};

// The application object delivers every event through CallGuarded; here the delivery of the
// test's own application object is wrapped the same way.
bool Deliver(QObject* receiver, QEvent* event)
{
  bool result = false;
  CallGuarded([&] { result = qApp->QApplication::notify(receiver, event); });
  return result;
}

TEST(LumoraApplication, ExceptionFromAnEventHandlerIsShownAndTheProgramGoesOn)
{
  auto scripted = std::make_unique<TScriptedDialogs>();
  TScriptedDialogs* dialogs = scripted.get();
  TDialogsScope scope(std::move(scripted));
  TFailingObject object;
  QEvent event(QEvent::User);
  EXPECT_FALSE(Deliver(&object, &event));
  EXPECT_EQ(dialogs->Messages(), std::vector<std::string>{"Can't locate file: /gone.htm"});
  object.Fail = false;
  EXPECT_TRUE(Deliver(&object, &event));
  EXPECT_EQ(object.Handled, 1);
  EXPECT_EQ(dialogs->Messages().size(), 1u);
}

TEST(LumoraApplication, UnknownExceptionsAreShownToo)
{
  auto scripted = std::make_unique<TScriptedDialogs>();
  TScriptedDialogs* dialogs = scripted.get();
  TDialogsScope scope(std::move(scripted));
  EXPECT_FALSE(CallGuarded([] { throw 42; }));
  EXPECT_TRUE(CallGuarded([] {}));
  EXPECT_EQ(dialogs->Messages().size(), 1u);
}

} // namespace
