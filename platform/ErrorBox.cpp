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

bool CallGuarded(const std::function<void()>& fn)
{
  try {
    fn();
    return true;
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    ShowUnknownException();
  }
  return false;
}
