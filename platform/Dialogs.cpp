#include "platform/Dialogs.h"

#include "platform/ScriptedDialogs.h"

#include <iostream>

#include <QGuiApplication>

namespace {

std::unique_ptr<TDialogs>& Current()
{
  static std::unique_ptr<TDialogs> current;
  return current;
}

TDialogsFactory& DefaultFactory()
{
  static TDialogsFactory factory;
  return factory;
}

// Without a window system nobody can answer: messages go to standard error and every question
// gets the answer of an empty script (first button, cancel).
std::unique_ptr<TDialogs> ConsoleDialogs()
{
  auto dialogs = std::make_unique<TScriptedDialogs>();
  dialogs->OnAsk = [](const TScriptedDialogs::TAsked& asked) { std::cerr << asked.Text << "\n"; };
  return dialogs;
}

} // namespace

void TDialogs::ShowMessage(const std::string& text)
{
  MessageBox(text, ApplicationTitle(), dlg::TButtons::Ok);
}

bool TDialogs::Confirm(const std::string& text)
{
  return MessageBox(text, "Confirm", dlg::TButtons::YesNo) == dlg::TAnswer::Yes;
}

TDialogs& Dialogs()
{
  auto& current = Current();
  if (!current)
    current = DefaultFactory() ? DefaultFactory()() : ConsoleDialogs();
  return *current;
}

void SetDefaultDialogs(TDialogsFactory factory)
{
  DefaultFactory() = std::move(factory);
}

std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs)
{
  std::swap(Current(), dialogs);
  return dialogs;
}

TDialogsScope::TDialogsScope(std::unique_ptr<TDialogs> dialogs)
    : FPrevious(SetDialogs(std::move(dialogs)))
{
}

TDialogsScope::~TDialogsScope()
{
  SetDialogs(std::move(FPrevious));
}

std::string ApplicationTitle()
{
  return QGuiApplication::applicationDisplayName().toStdString();
}
