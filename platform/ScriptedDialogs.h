#pragma once
// Dialogs that answer from queues instead of asking anyone, and remember every question.
// Used by the tests and by the headless modes, where nobody is there to click.
#include "platform/Dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class TScriptedDialogs : public TDialogs {
public:
  enum class TKind { Message, OpenFile, SaveFile, Input, PrinterSetup };

  // One question as it was asked.
  struct TAsked {
    TKind Kind = TKind::Message;
    std::string Text; // message text, input prompt or dialog title
    std::string Caption;
    dlg::TButtons Buttons = dlg::TButtons::Ok;
    dlg::TFileOptions Options;
  };

  // Queued answers, used in order. With an empty queue a message box gets the answer of its
  // first button (OK or Yes), file and input dialogs are cancelled, printer setup is declined.
  void QueueAnswer(dlg::TAnswer answer) { FAnswers.push_back(answer); }
  // A file name for the next file dialog; nullopt cancels it.
  void QueueFile(std::optional<std::string> fileName) { FFiles.push_back(std::move(fileName)); }
  // A text for the next input box; nullopt cancels it.
  void QueueInput(std::optional<std::string> value) { FInputs.push_back(std::move(value)); }
  void QueuePrinterSetup(bool accept) { FPrinterSetups.push_back(accept); }

  const std::vector<TAsked>& Asked() const { return FAsked; }
  // Texts of the message boxes shown, in order.
  std::vector<std::string> Messages() const;

  // Called for every question as it is asked (the headless modes print them).
  std::function<void(const TAsked&)> OnAsk;

  dlg::TAnswer MessageBox(const std::string& text, const std::string& caption,
                          dlg::TButtons buttons) override;
  bool OpenFile(const dlg::TFileOptions& options, std::string& fileName) override;
  bool SaveFile(const dlg::TFileOptions& options, std::string& fileName) override;
  bool InputBox(const std::string& caption, const std::string& prompt, std::string& value) override;
  bool PrinterSetup(QPrinter& printer) override;

private:
  void Record(TAsked asked);
  bool AnswerFile(TKind kind, const dlg::TFileOptions& options, std::string& fileName);

  std::deque<dlg::TAnswer> FAnswers;
  std::deque<std::optional<std::string>> FFiles;
  std::deque<std::optional<std::string>> FInputs;
  std::deque<bool> FPrinterSetups;
  std::vector<TAsked> FAsked;
};
