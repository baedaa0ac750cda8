#include "editor/widgets/Box.h"

#include "base/Exceptions.h"
#include "platform/ErrorBox.h"

#include <map>

namespace {

std::map<std::string, TBoxLayout>& Layouts()
{
  static std::map<std::string, TBoxLayout> layouts;
  return layouts;
}

} // namespace

void RegisterBoxLayout(const std::string& className, TBoxLayout layout)
{
  Layouts()[className] = std::move(layout);
}

TBox::TBox(QWidget* parent) : QFrame(parent)
{
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setLineWidth(1);
  setAutoFillBackground(true);
  resize(320, 240);
}

TBox::~TBox()
{
  if (OnDestroy)
    CallGuarded(OnDestroy);
}

void TBox::CreateFromLayout(const std::string& className)
{
  auto found = Layouts().find(className);
  if (found == Layouts().end())
    throw ELumoraError("Resource for " + className + " is not found.");
  found->second(*this);
  if (OnCreate)
    CallGuarded(OnCreate);
}
