#include "app/qvFormIni.h"

#include "base/StringUtil.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

std::string Section(const QWidget& form)
{
  return form.objectName().toStdString();
}

} // namespace

TqvFormIni::TqvFormIni(std::string fileName) : FFileName(std::move(fileName))
{
}

std::string TqvFormIni::FileNameFor(const std::string& programFile)
{
  std::string ext = strutil::ExtractFileExt(programFile);
  return programFile.substr(0, programFile.size() - ext.size()) + ".ini";
}

std::string TqvFormIni::DefaultFileName()
{
  return FileNameFor(QCoreApplication::applicationFilePath().toStdString());
}

void TqvFormIni::LoadPlacement(QWidget& form) const
{
  TIniFile ini(FFileName);
  std::string section = Section(form);
  if (ini.ReadBool(section, "State", false)) {
    form.setWindowState(form.windowState() | Qt::WindowMaximized);
    return;
  }
  int left = ini.ReadInteger(section, "Left", form.x());
  int top = ini.ReadInteger(section, "Top", form.y());
  int width = ini.ReadInteger(section, "Width", form.width());
  int height = ini.ReadInteger(section, "Height", form.height());
  // A size of nothing would leave a window nobody can see or grab; keep the designed one.
  if (width <= 0 || height <= 0) {
    width = form.width();
    height = form.height();
  }
  form.move(left, top);
  form.resize(width, height);
}

void TqvFormIni::SavePlacement(const QWidget& form) const
{
  TIniFile ini(FFileName);
  std::string section = Section(form);
  bool maximized = form.isMaximized();
  ini.WriteBool(section, "State", maximized);
  if (!maximized) {
    ini.WriteInteger(section, "Left", form.x());
    ini.WriteInteger(section, "Top", form.y());
    ini.WriteInteger(section, "Width", form.width());
    ini.WriteInteger(section, "Height", form.height());
  }
  ini.UpdateFile();
}
