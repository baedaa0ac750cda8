#pragma once
// Keeps a form's position, size and maximised state in the initialisation file beside the
// program: one section per form, named after the form.
#include <string>

class QWidget;

class TqvFormIni {
public:
  // fileName is the initialisation file; by default the one beside the running program.
  explicit TqvFormIni(std::string fileName = DefaultFileName());

  // The program file's name with its extension replaced by ".ini".
  static std::string FileNameFor(const std::string& programFile);
  static std::string DefaultFileName();

  const std::string& FileName() const { return FFileName; }

  void LoadPlacement(QWidget& form) const;
  void SavePlacement(const QWidget& form) const;

private:
  std::string FFileName;
};
