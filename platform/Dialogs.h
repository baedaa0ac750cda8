#pragma once
// Every question the program asks the user goes through one small interface, so that each
// flow that asks something can run headless: the Qt implementation shows real dialogs, the
// scripted one answers from a queue and records what was asked.
#include <functional>
#include <memory>
#include <string>

class QPrinter;

namespace dlg {

enum class TButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TAnswer { None, Ok, Cancel, Yes, No };

// Options of the open and save dialogs. Filter uses the "Description|*.a;*.b|..." form.
struct TFileOptions {
  std::string Title;
  std::string Filter;
  std::string DefaultExt; // without the dot, added when the chosen name has no extension
  std::string InitialDir;
  std::string FileName;
};

} // namespace dlg

class TDialogs {
public:
  virtual ~TDialogs() = default;

  virtual dlg::TAnswer MessageBox(const std::string& text, const std::string& caption,
                                  dlg::TButtons buttons) = 0;
  // The file dialogs return false when cancelled; fileName is set only on success.
  virtual bool OpenFile(const dlg::TFileOptions& options, std::string& fileName) = 0;
  virtual bool SaveFile(const dlg::TFileOptions& options, std::string& fileName) = 0;
  // Returns false when cancelled; value holds the default on entry and the answer on exit.
  virtual bool InputBox(const std::string& caption, const std::string& prompt,
                        std::string& value) = 0;
  virtual bool PrinterSetup(QPrinter& printer) = 0;

  // A plain message with an OK button, captioned with the application title.
  void ShowMessage(const std::string& text);
  // A yes/no question; true for yes.
  bool Confirm(const std::string& text);
};

// The dialogs in use by the whole process; the default ones unless replaced.
TDialogs& Dialogs();
// Replaces the dialogs in use and returns the previous ones (nullptr restores the default).
std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs);
// What Dialogs() makes when none are installed. The windowed program sets the Qt dialogs
// (UseQtDialogs); without a factory messages go to standard error and questions are declined.
using TDialogsFactory = std::function<std::unique_ptr<TDialogs>()>;
void SetDefaultDialogs(TDialogsFactory factory);

// Installs dialogs for the lifetime of a scope, restoring the previous ones afterwards.
class TDialogsScope {
public:
  explicit TDialogsScope(std::unique_ptr<TDialogs> dialogs);
  ~TDialogsScope();
  TDialogsScope(const TDialogsScope&) = delete;
  TDialogsScope& operator=(const TDialogsScope&) = delete;

private:
  std::unique_ptr<TDialogs> FPrevious;
};

// The caption of the program's own message boxes: the application title.
std::string ApplicationTitle();
