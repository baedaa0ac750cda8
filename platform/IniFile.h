#pragma once
// An initialisation file of named sections with integer and boolean keys. The file is named
// explicitly so that nothing lands in the user's home directory by accident.
#include <QSettings>
#include <cstdint>
#include <string>

class TIniFile {
public:
  explicit TIniFile(const std::string& fileName);

  const std::string& FileName() const { return FFileName; }

  // A missing key, or one whose text is not a number, gives the default.
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t def) const;
  void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
  // Booleans are kept as integers: any number other than 0 reads as true.
  bool ReadBool(const std::string& section, const std::string& ident, bool def) const;
  void WriteBool(const std::string& section, const std::string& ident, bool value);
  bool ValueExists(const std::string& section, const std::string& ident) const;
  // Writes pending changes to the disk now rather than when the object goes away.
  void UpdateFile();

private:
  std::string FFileName;
  QSettings FSettings;
};
