#pragma once
// A panel that carries a designed layout of its own, as a form does. A descendant's layout is
// registered under its class name and built when the box is created; OnCreate fires then and
// OnDestroy when the box goes, and a failure in either is shown, not passed on.
#include <QFrame>
#include <functional>
#include <string>

class TBox;

// The designed layout of a box class: makes its children and sets its handlers.
using TBoxLayout = std::function<void(TBox& box)>;
void RegisterBoxLayout(const std::string& className, TBoxLayout layout);

class TBox : public QFrame {
  Q_OBJECT
public:
  // A plain box: 320 x 240, no layout of its own.
  explicit TBox(QWidget* parent = nullptr);
  ~TBox() override;

  std::function<void()> OnCreate;
  std::function<void()> OnDestroy;

protected:
  // For a descendant: builds the layout registered for className, raising "Resource for %s is
  // not found." when there is none, then fires OnCreate. Called at the end of the descendant's
  // constructor.
  void CreateFromLayout(const std::string& className);
};
