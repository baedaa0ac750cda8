#pragma once
// Keeps a form's position, size and maximised state in the initialisation file beside the
// program: one section per form, named after the form.
#include <QList>
#include <QRect>
#include <string>

class QWidget;

class TqvFormIni {
public:
  // fileName is the initialisation file; by default the one Location() picks for the running
  // program.
  explicit TqvFormIni(std::string fileName = DefaultFileName());

  // The program file's name with its extension replaced by ".ini".
  static std::string FileNameFor(const std::string& programFile);
  // FileNameFor(programFile), or, when that file cannot be written (an installed program in a
  // folder owned by the system), the file of the same name in configDir.
  static std::string Location(const std::string& programFile, const std::string& configDir);
  // The user's configuration folder for this program.
  static std::string UserConfigDir();
  static std::string DefaultFileName();

  // A placement that lies on none of the screens (a monitor since unplugged, a smaller
  // resolution) moved onto the primary one, no larger than it; others come back unchanged.
  static QRect FitToScreens(const QRect& placement, const QList<QRect>& screens,
                            const QRect& primary);

  const std::string& FileName() const { return FFileName; }

  void LoadPlacement(QWidget& form) const;
  void SavePlacement(const QWidget& form) const;

private:
  std::string FFileName;
};
