#include "app/qvFormIni.h"

#include "base/StringUtil.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>

namespace {

// How much of a window must lie on a screen for it to count as reachable: enough to grab the
// caption and move it.
constexpr int MinVisible = 40;

std::string Section(const QWidget& form)
{
  return form.objectName().toStdString();
}

bool CanWrite(const QString& file)
{
  QFileInfo info(file);
  if (info.exists())
    return info.isFile() && info.isWritable();
  QFileInfo dir(info.absolutePath());
  return dir.isDir() && dir.isWritable();
}

bool Reachable(const QRect& placement, const QRect& screen)
{
  QRect on = placement.intersected(screen);
  return on.width() >= std::min(MinVisible, placement.width()) &&
         on.height() >= std::min(MinVisible, placement.height());
}

int Clamp(int value, int low, int high)
{
  return std::max(low, std::min(value, high));
}

void KeepOnScreen(QWidget& form)
{
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens())
    screens.append(screen->availableGeometry());
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary)
    return;
  QRect placement(form.x(), form.y(), form.width(), form.height());
  QRect fitted = TqvFormIni::FitToScreens(placement, screens, primary->availableGeometry());
  if (fitted == placement)
    return;
  form.move(fitted.topLeft());
  form.resize(fitted.size());
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

std::string TqvFormIni::Location(const std::string& programFile, const std::string& configDir)
{
  std::string beside = FileNameFor(programFile);
  if (CanWrite(QString::fromStdString(beside)))
    return beside;
  QString name = QFileInfo(QString::fromStdString(beside)).fileName();
  return QDir(QString::fromStdString(configDir)).filePath(name).toStdString();
}

std::string TqvFormIni::UserConfigDir()
{
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
}

std::string TqvFormIni::DefaultFileName()
{
  return Location(QCoreApplication::applicationFilePath().toStdString(), UserConfigDir());
}

QRect TqvFormIni::FitToScreens(const QRect& placement, const QList<QRect>& screens,
                               const QRect& primary)
{
  for (const QRect& screen : screens)
    if (Reachable(placement, screen))
      return placement;
  if (primary.isEmpty())
    return placement;
  QSize size = placement.size().boundedTo(primary.size());
  int left = Clamp(placement.x(), primary.left(), primary.right() + 1 - size.width());
  int top = Clamp(placement.y(), primary.top(), primary.bottom() + 1 - size.height());
  return QRect(QPoint(left, top), size);
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
  KeepOnScreen(form);
}

void TqvFormIni::SavePlacement(const QWidget& form) const
{
  // The user's configuration folder may not exist yet on a first start.
  QDir().mkpath(QFileInfo(QString::fromStdString(FFileName)).absolutePath());
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
