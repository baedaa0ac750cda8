#pragma once
// A main window started from a scratch program directory, with scripted dialogs.
#include "app/LumoraF.h"
#include "platform/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class TWindowTest : public ::testing::Test {
protected:
  TWindowTest() : FScope(MakeDialogs()) {}

  std::unique_ptr<TDialogs> MakeDialogs()
  {
    auto dialogs = std::make_unique<TScriptedDialogs>();
    Dialogs = dialogs.get();
    return dialogs;
  }

  std::string ProgramFile() const { return (ProgramDir + "/lumora").toStdString(); }

  // Creates and shows the window as the program start does.
  TLumoraF& Start(std::vector<std::string> params = {})
  {
    Window = std::make_unique<TLumoraF>(ProgramFile(), std::move(params));
    Window->show();
    return *Window;
  }

  std::string Page(const QString& dir, const std::string& name)
  {
    return testsupport::WriteFile(dir, name, "<HTML><BODY>" + name + "</BODY></HTML>");
  }

  std::string Image(const QString& dir, const std::string& name)
  {
    std::string path = (dir + "/" + QString::fromStdString(name)).toStdString();
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(QString::fromStdString(path), "PNG");
    return path;
  }

  QString ProgramDir = testsupport::TempDir();
  QString DocDir = testsupport::TempDir();
  TScriptedDialogs* Dialogs = nullptr;
  TDialogsScope FScope;
  std::unique_ptr<TLumoraF> Window;
};
