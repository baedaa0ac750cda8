#include "platform/ErrorBox.h"
#include "platform/ScriptedDialogs.h"

#include "base/Exceptions.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

TEST(ErrorBox, ShowsTheExceptionMessageCaptionedWithTheTitle)
{
  QGuiApplication::setApplicationDisplayName("Lumora 2");
  auto scripted = std::make_unique<TScriptedDialogs>();
  TScriptedDialogs* dialogs = scripted.get();
  TDialogsScope scope(std::move(scripted));
  ShowException(EViewerError(std::string(msg::CantLocateFile) + "/no/such.htm"));
  ShowException(std::runtime_error(""));
  ShowUnknownException();
  ASSERT_EQ(dialogs->Asked().size(), 3u);
  EXPECT_EQ(dialogs->Asked()[0].Text, "Can't locate file: /no/such.htm");
  EXPECT_EQ(dialogs->Asked()[0].Caption, "Lumora 2");
  EXPECT_EQ(dialogs->Asked()[0].Buttons, dlg::TButtons::Ok);
  EXPECT_FALSE(dialogs->Asked()[1].Text.empty());
  EXPECT_FALSE(dialogs->Asked()[2].Text.empty());
}

} // namespace
