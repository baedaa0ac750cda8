#pragma once
// The editor box's find and replace dialogs: small modeless windows that stay open while the
// user searches, and report each button press through OnFind and OnReplace.
#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFindDialog : public QDialog {
  Q_OBJECT
public:
  // With replace, the dialog has the replacement text and the replace buttons, and always
  // searches down.
  TFindDialog(QWidget* parent, bool replace);

  // The texts as the editor's bytes: UTF-8 for a UTF-8 text, else Latin-1.
  std::string FindText(bool utf8 = false) const;
  void SetFindText(const std::string& text);
  std::string ReplaceText(bool utf8 = false) const;
  void SetReplaceText(const std::string& text);
  bool Down() const;
  void SetDown(bool down);
  bool MatchCase() const;
  void SetMatchCase(bool value);
  bool WholeWord() const;
  void SetWholeWord(bool value);
  // Set by the "Replace All" button for the OnReplace it raises, cleared by "Replace".
  bool ReplaceAll() const { return FReplaceAll; }
  bool IsReplace() const { return FReplace; }

  // The buttons, as a user presses them.
  void ClickFindNext();
  void ClickReplace();
  void ClickReplaceAll();

  std::function<void(TFindDialog&)> OnFind;
  std::function<void(TFindDialog&)> OnReplace;

private:
  bool FReplace;
  bool FReplaceAll = false;
  QLineEdit* FFind = nullptr;
  QLineEdit* FReplaceWith = nullptr;
  QCheckBox* FMatchCase = nullptr;
  QCheckBox* FWholeWord = nullptr;
  QRadioButton* FUp = nullptr;
  QRadioButton* FDown = nullptr;
};
