#include "platform/ScriptedDialogs.h"

namespace {

template <class T> std::optional<T> Take(std::deque<T>& queue)
{
  if (queue.empty())
    return std::nullopt;
  T front = std::move(queue.front());
  queue.pop_front();
  return front;
}

dlg::TAnswer FirstButton(dlg::TButtons buttons)
{
  return buttons == dlg::TButtons::Ok || buttons == dlg::TButtons::OkCancel ? dlg::TAnswer::Ok
                                                                            : dlg::TAnswer::Yes;
}

} // namespace

std::vector<std::string> TScriptedDialogs::Messages() const
{
  std::vector<std::string> texts;
  for (const TAsked& asked : FAsked)
    if (asked.Kind == TKind::Message)
      texts.push_back(asked.Text);
  return texts;
}

void TScriptedDialogs::Record(TAsked asked)
{
  FAsked.push_back(std::move(asked));
  if (OnAsk)
    OnAsk(FAsked.back());
}

dlg::TAnswer TScriptedDialogs::MessageBox(const std::string& text, const std::string& caption,
                                          dlg::TButtons buttons)
{
  Record({TKind::Message, text, caption, buttons, {}});
  return Take(FAnswers).value_or(FirstButton(buttons));
}

bool TScriptedDialogs::AnswerFile(TKind kind, const dlg::TFileOptions& options,
                                  std::string& fileName)
{
  Record({kind, options.Title, {}, dlg::TButtons::OkCancel, options});
  std::optional<std::string> answer = Take(FFiles).value_or(std::nullopt);
  if (!answer)
    return false;
  fileName = *answer;
  return true;
}

bool TScriptedDialogs::OpenFile(const dlg::TFileOptions& options, std::string& fileName)
{
  return AnswerFile(TKind::OpenFile, options, fileName);
}

bool TScriptedDialogs::SaveFile(const dlg::TFileOptions& options, std::string& fileName)
{
  return AnswerFile(TKind::SaveFile, options, fileName);
}

bool TScriptedDialogs::InputBox(const std::string& caption, const std::string& prompt,
                                std::string& value)
{
  Record({TKind::Input, prompt, caption, dlg::TButtons::OkCancel, {}});
  std::optional<std::string> answer = Take(FInputs).value_or(std::nullopt);
  if (!answer)
    return false;
  value = *answer;
  return true;
}

bool TScriptedDialogs::PrinterSetup(QPrinter&)
{
  Record({TKind::PrinterSetup, {}, {}, dlg::TButtons::OkCancel, {}});
  return Take(FPrinterSetups).value_or(false);
}
