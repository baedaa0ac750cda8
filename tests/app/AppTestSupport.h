#pragma once
// A main window started from a scratch program directory, with scripted dialogs.
#include "app/LumoraF.h"
#include "app/Widget.h"
#include "platform/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace widgettest {

// The surface a caption widget is drawn on, found as the mouse finds it: by what lies under the
// middle of the button in its form.
inline QWidget* Face(const TWidget& widget)
{
  return widget.Form()->childAt(widget.ButtonRect().center());
}

// A mouse event as the button receives it while it holds the mouse: pos is in its own
// coordinates, inside or not.
inline void Mouse(QWidget* face, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons,
                  Qt::MouseButton button = Qt::NoButton)
{
  QMouseEvent event(type, QPointF(pos), QPointF(face->mapToGlobal(pos)), button, buttons,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(face, &event);
}

// Presses and releases the left button in the middle of the widget and lets the posted click run.
inline void Click(TWidget& widget)
{
  QWidget* face = Face(widget);
  QPoint middle = face->rect().center();
  Mouse(face, QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
  Mouse(face, QEvent::MouseButtonRelease, middle, Qt::NoButton, Qt::LeftButton);
  QCoreApplication::processEvents();
}

} // namespace widgettest

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
