#include "platform/Dialogs.h"

#include "platform/QtDialogs.h"

#include <QGuiApplication>

namespace {

std::unique_ptr<TDialogs>& Current()
{
  static std::unique_ptr<TDialogs> current;
  return current;
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
    current = std::make_unique<TQtDialogs>();
  return *current;
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
