#include "editor/HighLightAttributes.h"

#include "platform/IniFile.h"

namespace {

std::string Section(const std::string& rootKey, const std::string& name)
{
  return rootKey.empty() ? name : rootKey + "/" + name;
}

} // namespace

void TtxHighLightAttributes::Changed()
{
  if (OnChange)
    OnChange();
}

void TtxHighLightAttributes::SetBackground(TColor value)
{
  if (value != FBackground) {
    FBackground = value;
    Changed();
  }
}

void TtxHighLightAttributes::SetForeground(TColor value)
{
  if (value != FForeground) {
    FForeground = value;
    Changed();
  }
}

void TtxHighLightAttributes::SetStyle(TFontStyles value)
{
  if (value != FStyle) {
    FStyle = value;
    Changed();
  }
}

void TtxHighLightAttributes::Assign(const TtxHighLightAttributes& source)
{
  FBackground = source.FBackground;
  FForeground = source.FForeground;
  FStyle = source.FStyle;
  FName = source.FName;
  Changed();
}

bool TtxHighLightAttributes::LoadFromIni(const TIniFile& ini, const std::string& rootKey)
{
  const std::string section = Section(rootKey, FName);
  bool found = false;
  if (ini.ValueExists(section, "Background")) {
    SetBackground(ini.ReadInteger(section, "Background", FBackground));
    found = true;
  }
  if (ini.ValueExists(section, "Foreground")) {
    SetForeground(ini.ReadInteger(section, "Foreground", FForeground));
    found = true;
  }
  if (ini.ValueExists(section, "Style")) {
    SetIntegerStyle(ini.ReadInteger(section, "Style", IntegerStyle()));
    found = true;
  }
  return found;
}

void TtxHighLightAttributes::SaveToIni(TIniFile& ini, const std::string& rootKey) const
{
  const std::string section = Section(rootKey, FName);
  ini.WriteInteger(section, "Background", FBackground);
  ini.WriteInteger(section, "Foreground", FForeground);
  ini.WriteInteger(section, "Style", IntegerStyle());
}
