#include "platform/IniFile.h"

#include "base/StringUtil.h"

namespace {

QString Key(const std::string& section, const std::string& ident)
{
  return QString::fromStdString(section + "/" + ident);
}

} // namespace

TIniFile::TIniFile(const std::string& fileName)
    : FFileName(fileName), FSettings(QString::fromStdString(fileName), QSettings::IniFormat)
{
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& ident,
                              int32_t def) const
{
  QVariant value = FSettings.value(Key(section, ident));
  if (!value.isValid())
    return def;
  return strutil::StrToIntDef(strutil::Trim(value.toString().toStdString()), def);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int32_t value)
{
  FSettings.setValue(Key(section, ident), QString::number(value));
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const
{
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value)
{
  WriteInteger(section, ident, value ? 1 : 0);
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const
{
  return FSettings.contains(Key(section, ident));
}

void TIniFile::UpdateFile()
{
  FSettings.sync();
}
