#include "platform/widgets/LazyFormWidget.h"

#include <QApplication>

namespace {

// The font a widget of kind gets from the application, so sizes measured before the widget
// exists are the sizes it will have.
QFont DefaultFont(TFormWidgetKind kind)
{
  switch (kind) {
  case TFormWidgetKind::Button: return QApplication::font("QPushButton");
  case TFormWidgetKind::CheckBox: return QApplication::font("QCheckBox");
  case TFormWidgetKind::Radio: return QApplication::font("QRadioButton");
  case TFormWidgetKind::ListBox: return QApplication::font("QListWidget");
  case TFormWidgetKind::Combo: return QApplication::font("QComboBox");
  case TFormWidgetKind::TextArea: return QApplication::font("QPlainTextEdit");
  default: return QApplication::font("QLineEdit");
  }
}

} // namespace

TLazyFormWidget::TLazyFormWidget(TFormWidgetKind kind, QWidget* parent,
                                 std::shared_ptr<TLazyFormWidgetList> list)
    : FKind(kind), FParent(parent), FList(std::move(list)), FIndex(FList->Made.size()), FState(kind)
{
  FList->Made.push_back(this);
  ++FList->Alive;
  FState.SetFont(DefaultFont(kind));
  FState.Rect = QRect(0, -400, 120, 20);
}

TLazyFormWidget::~TLazyFormWidget()
{
  FList->Made[FIndex] = nullptr;
  if (--FList->Alive == 0)
    FList->Made.clear(); // the document is gone: the next one starts a new list
}

TFormWidget& TLazyFormWidget::Current() const
{
  if (FQt)
    return *FQt;
  return FState;
}

void TLazyFormWidget::Realise()
{
  if (FQt || !FParent)
    return;
  auto qt = std::make_unique<TQtFormWidget>(FKind, FParent);
  CopyStateTo(*qt);
  PassEventsOn(*qt);
  FQt = std::move(qt);
  TakeTabPlace();
}

void TLazyFormWidget::CopyStateTo(TQtFormWidget& qt) const
{
  qt.TextCharset = TextCharset; // before any text crosses
  qt.SetName(FName);
  qt.SetFont(FState.Font());
  qt.SetMaxLength(FMaxLength);
  qt.SetText(FState.Text());
  qt.SetChecked(FState.Checked());
  qt.SetWordWrap(FState.WordWrap());
  if (FKind == TFormWidgetKind::TextArea)
    qt.SetLines(FState.Lines());
  CopyListTo(qt);
  QRect r = FState.Geometry();
  qt.Move(r.x(), r.y());
  qt.Resize(r.width(), r.height());
  qt.SetVisible(FState.Visible());
}

void TLazyFormWidget::CopyListTo(TQtFormWidget& qt) const
{
  if (FKind != TFormWidgetKind::ListBox && FKind != TFormWidgetKind::Combo)
    return;
  std::vector<std::string> items;
  items.reserve(size_t(FState.Count()));
  for (int i = 0; i < FState.Count(); ++i)
    items.push_back(FState.Item(i));
  qt.SetMultiSelect(FState.MultiSelect());
  qt.SetItems(items);
  if (FState.MultiSelect())
    for (int i = 0; i < FState.Count(); ++i)
      if (FState.Selected(i))
        qt.SetSelected(i, true);
  qt.SetItemIndex(FState.ItemIndex());
  qt.SetTopIndex(FState.TopIndex());
}

void TLazyFormWidget::PassEventsOn(TQtFormWidget& qt)
{
  qt.OnClick = [this] {
    if (OnClick)
      OnClick();
  };
  qt.OnKeyDown = [this](int key) {
    if (OnKeyDown)
      OnKeyDown(key);
  };
  qt.OnEnter = [this] {
    if (OnEnter)
      OnEnter();
  };
  qt.OnExit = [this] {
    if (OnExit)
      OnExit();
  };
}

void TLazyFormWidget::TakeTabPlace()
{
  QWidget* mine = qobject_cast<QWidget*>(FQt->Object());
  auto widgetOf = [](TLazyFormWidget* w) {
    return w && w->FQt ? qobject_cast<QWidget*>(w->FQt->Object()) : nullptr;
  };
  // A new widget comes last in the chain: it moves behind the nearest earlier control that has
  // one; when there is none, the later controls' widgets move behind it, in their order.
  for (size_t i = FIndex; i-- > 0;)
    if (QWidget* before = widgetOf(FList->Made[i])) {
      QWidget::setTabOrder(before, mine);
      return;
    }
  QWidget* previous = mine;
  for (size_t i = FIndex + 1; i < FList->Made.size(); ++i)
    if (QWidget* after = widgetOf(FList->Made[i])) {
      QWidget::setTabOrder(previous, after);
      previous = after;
    }
}

void TLazyFormWidget::SetVisible(bool visible)
{
  if (visible)
    Realise();
  Current().SetVisible(visible);
}

void TLazyFormWidget::SetFocus()
{
  Realise();
  Current().SetFocus();
}

void TLazyFormWidget::SetName(const std::string& name)
{
  FName = name;
  Current().SetName(name);
}

void TLazyFormWidget::SetMaxLength(int length)
{
  FMaxLength = length;
  Current().SetMaxLength(length);
}

void TLazyFormWidget::SetClientSize(int32_t width, int32_t height)
{
  if (FQt) {
    FQt->SetClientSize(width, height);
    return;
  }
  QSize extra = TQtFormWidget::FrameExtra(FKind, FState.WordWrap());
  FState.Resize(width + extra.width(), height + extra.height());
}

void TLazyFormWidget::Click()
{
  Realise();
  Current().Click();
}
