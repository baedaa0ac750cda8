#include "platform/ErrorBox.h"

#include "platform/Dialogs.h"

std::string ExceptionText(const std::exception& e)
{
  std::string text = e.what();
  return text.empty() ? "Unknown error" : text;
}

void ShowException(const std::exception& e)
{
  Dialogs().MessageBox(ExceptionText(e), ApplicationTitle(), dlg::TButtons::Ok);
}

void ShowUnknownException()
{
  Dialogs().MessageBox("Unknown error", ApplicationTitle(), dlg::TButtons::Ok);
}
