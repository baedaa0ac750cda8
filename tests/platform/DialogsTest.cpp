#include "platform/Dialogs.h"
#include "platform/ScriptedDialogs.h"
#include "platform/widgets/QtDialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(ScriptedDialogs, MessageBoxWithoutQueuedAnswerTakesFirstButton)
{
  struct Case {
    dlg::TButtons Buttons;
    dlg::TAnswer Expected;
  };
  const Case cases[] = {
      {dlg::TButtons::Ok, dlg::TAnswer::Ok},
      {dlg::TButtons::OkCancel, dlg::TAnswer::Ok},
      {dlg::TButtons::YesNo, dlg::TAnswer::Yes},
      {dlg::TButtons::YesNoCancel, dlg::TAnswer::Yes},
  };
  for (const Case& c : cases) {
    TScriptedDialogs dialogs;
    EXPECT_EQ(dialogs.MessageBox("text", "caption", c.Buttons), c.Expected);
  }
}

TEST(ScriptedDialogs, AnswersComeFromTheQueueInOrderAndQuestionsAreRecorded)
{
  TScriptedDialogs dialogs;
  dialogs.QueueAnswer(dlg::TAnswer::No);
  dialogs.QueueAnswer(dlg::TAnswer::Cancel);
  EXPECT_EQ(dialogs.MessageBox("first", "A", dlg::TButtons::YesNo), dlg::TAnswer::No);
  EXPECT_EQ(dialogs.MessageBox("second", "B", dlg::TButtons::YesNoCancel), dlg::TAnswer::Cancel);
  EXPECT_EQ(dialogs.MessageBox("third", "C", dlg::TButtons::YesNo), dlg::TAnswer::Yes);
  ASSERT_EQ(dialogs.Asked().size(), 3u);
  EXPECT_EQ(dialogs.Asked()[1].Caption, "B");
  EXPECT_EQ(dialogs.Asked()[1].Buttons, dlg::TButtons::YesNoCancel);
  EXPECT_EQ(dialogs.Messages(), (std::vector<std::string>{"first", "second", "third"}));
}

TEST(ScriptedDialogs, FileDialogsAnswerOrCancel)
{
  TScriptedDialogs dialogs;
  dialogs.QueueFile(std::string("/tmp/out.txt"));
  dialogs.QueueFile(std::nullopt);
  dlg::TFileOptions options;
  options.Filter = "Text Files|*.txt";
  std::string name = "unchanged";
  EXPECT_TRUE(dialogs.SaveFile(options, name));
  EXPECT_EQ(name, "/tmp/out.txt");
  name = "unchanged";
  EXPECT_FALSE(dialogs.OpenFile(options, name));
  EXPECT_EQ(name, "unchanged");
  EXPECT_FALSE(dialogs.SaveFile(options, name)); // queue empty: cancelled
  ASSERT_EQ(dialogs.Asked().size(), 3u);
  EXPECT_EQ(dialogs.Asked()[0].Kind, TScriptedDialogs::TKind::SaveFile);
  EXPECT_EQ(dialogs.Asked()[1].Kind, TScriptedDialogs::TKind::OpenFile);
  EXPECT_EQ(dialogs.Asked()[0].Options.Filter, "Text Files|*.txt");
  EXPECT_TRUE(dialogs.Messages().empty());
}

TEST(ScriptedDialogs, InputBoxKeepsValueWhenCancelled)
{
  TScriptedDialogs dialogs;
  dialogs.QueueInput(std::string("42"));
  std::string value = "7";
  EXPECT_TRUE(dialogs.InputBox("Go to", "Line:", value));
  EXPECT_EQ(value, "42");
  EXPECT_FALSE(dialogs.InputBox("Go to", "Line:", value));
  EXPECT_EQ(value, "42");
  EXPECT_EQ(dialogs.Asked()[0].Text, "Line:");
}

TEST(ScriptedDialogs, ConfirmIsTrueOnlyForYes)
{
  TScriptedDialogs dialogs;
  dialogs.QueueAnswer(dlg::TAnswer::No);
  dialogs.QueueAnswer(dlg::TAnswer::Yes);
  EXPECT_FALSE(dialogs.Confirm("Replace?"));
  EXPECT_TRUE(dialogs.Confirm("Replace?"));
  EXPECT_EQ(dialogs.Asked()[0].Buttons, dlg::TButtons::YesNo);
}

TEST(ScriptedDialogs, OnAskSeesEveryQuestion)
{
  TScriptedDialogs dialogs;
  std::vector<std::string> seen;
  dialogs.OnAsk = [&](const TScriptedDialogs::TAsked& asked) { seen.push_back(asked.Text); };
  dialogs.ShowMessage("hello");
  std::string value;
  dialogs.InputBox("c", "prompt", value);
  EXPECT_EQ(seen, (std::vector<std::string>{"hello", "prompt"}));
}

TEST(Dialogs, ScopeInstallsAndRestores)
{
  TDialogs* before = &Dialogs();
  {
    auto scripted = std::make_unique<TScriptedDialogs>();
    TScriptedDialogs* raw = scripted.get();
    TDialogsScope scope(std::move(scripted));
    EXPECT_EQ(&Dialogs(), raw);
    Dialogs().ShowMessage("through the accessor");
    EXPECT_EQ(raw->Messages(), std::vector<std::string>{"through the accessor"});
  }
  EXPECT_EQ(&Dialogs(), before);
}

TEST(QtDialogs, FilterConversion)
{
  struct Case {
    const char* Filter;
    const char* Expected;
  };
  const Case cases[] = {
      {"Text Files|*.txt", "Text Files (*.txt)"},
      {"HTML Documents|*.htm;*.html|Images|*.gif;*.jpg",
       "HTML Documents (*.htm *.html);;Images (*.gif *.jpg)"},
      {"", ""},
      {"Dangling description", ""}, // no mask part: nothing to offer
  };
  for (const Case& c : cases)
    EXPECT_EQ(dlg::QtFilter(c.Filter).toStdString(), c.Expected) << c.Filter;
}

TEST(QtDialogs, DefaultExtensionAddedOnlyWhenMissing)
{
  struct Case {
    const char* Name;
    const char* Ext;
    const char* Expected;
  };
  const Case cases[] = {
      {"/tmp/result", "txt", "/tmp/result.txt"},
      {"/tmp/result.csv", "txt", "/tmp/result.csv"},
      {"/tmp/dir.d/result", "txt", "/tmp/dir.d/result.txt"},
      {"/tmp/result", "", "/tmp/result"},
      {"", "txt", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(dlg::WithDefaultExt(c.Name, c.Ext), c.Expected) << c.Name;
}

} // namespace
