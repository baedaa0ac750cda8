#include "platform/widgets/FormWidgets.h"

#include "base/CodePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <map>

namespace {

// Passes focus changes and key presses of a control (and of the widgets inside it) on to the
// document's handlers.
class TControlEvents : public QObject {
public:
  TControlEvents(QWidget* widget, TFormWidget* control) : QObject(widget), FControl(control) {}

  bool eventFilter(QObject* watched, QEvent* event) override
  {
    (void)watched;
    switch (event->type()) {
    case QEvent::FocusIn:
      if (FControl->OnEnter)
        FControl->OnEnter();
      break;
    case QEvent::FocusOut:
      if (FControl->OnExit)
        FControl->OnExit();
      break;
    case QEvent::KeyPress:
      if (FControl->OnKeyDown)
        FControl->OnKeyDown(static_cast<QKeyEvent*>(event)->key());
      break;
    default: break;
    }
    return false;
  }

private:
  TFormWidget* FControl;
};

} // namespace

QString TQtFormWidget::ToQ(const std::string& s) const
{
  return codepage::Decode(s.data(), int(s.size()), TextCharset);
}

std::string TQtFormWidget::FromQ(const QString& s) const
{
  // What the code page cannot say becomes a question mark, as a single-byte text box would
  // show it.
  return codepage::Encode(s, TextCharset);
}

TQtFormWidget::TQtFormWidget(TFormWidgetKind kind, QWidget* parent)
    : TWidgetControlOf<TFormWidget>(Make(kind, parent)), FKind(kind)
{
  QWidget* w = Widget();
  w->setGeometry(0, -400, 120, 20);
  w->hide();
  Connect();
}

QWidget* TQtFormWidget::Make(TFormWidgetKind kind, QWidget* parent)
{
  switch (kind) {
  case TFormWidgetKind::Edit: return new QLineEdit(parent);
  case TFormWidgetKind::Password: {
    auto* e = new QLineEdit(parent);
    e->setEchoMode(QLineEdit::Password);
    return e;
  }
  case TFormWidgetKind::Button: return new QPushButton(parent);
  case TFormWidgetKind::CheckBox: return new QCheckBox(parent);
  case TFormWidgetKind::Radio: {
    // The document groups radio buttons by form and name: Qt's grouping of siblings is off.
    auto* r = new QRadioButton(parent);
    r->setAutoExclusive(false);
    return r;
  }
  case TFormWidgetKind::ListBox: {
    // The page decides the top item: making an item current does not scroll to it.
    auto* l = new QListWidget(parent);
    l->setAutoScroll(false);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return l;
  }
  case TFormWidgetKind::Combo: return new QComboBox(parent);
  case TFormWidgetKind::TextArea: return new QPlainTextEdit(parent);
  }
  return new QLineEdit(parent);
}

void TQtFormWidget::Connect()
{
  QWidget* w = Widget();
  auto* events = new TControlEvents(w, this);
  w->installEventFilter(events);
  if (auto* text = As<QPlainTextEdit>())
    text->viewport()->installEventFilter(events);
  if (auto* button = As<QAbstractButton>())
    QObject::connect(button, &QAbstractButton::clicked, w, [this] {
      if (OnClick)
        OnClick();
    });
}

std::string TQtFormWidget::Text() const
{
  if (auto* e = As<QLineEdit>())
    return FromQ(e->text());
  if (auto* b = As<QAbstractButton>())
    return FromQ(b->text());
  return std::string();
}

void TQtFormWidget::SetText(const std::string& text)
{
  if (auto* e = As<QLineEdit>())
    e->setText(ToQ(text));
  else if (auto* b = As<QAbstractButton>())
    b->setText(ToQ(text));
}

void TQtFormWidget::SetMaxLength(int length)
{
  if (auto* e = As<QLineEdit>(); e && length > 0)
    e->setMaxLength(length);
}

bool TQtFormWidget::Checked() const
{
  auto* b = As<QAbstractButton>();
  return b && b->isChecked();
}

void TQtFormWidget::SetChecked(bool checked)
{
  if (auto* b = As<QAbstractButton>())
    b->setChecked(checked);
}

void TQtFormWidget::SetItems(const std::vector<std::string>& items)
{
  QStringList list;
  list.reserve(qsizetype(items.size()));
  for (const std::string& s : items)
    list.append(ToQ(s));
  if (auto* l = As<QListWidget>()) {
    l->clear();
    l->addItems(list);
    l->setCurrentRow(-1, QItemSelectionModel::Clear);
  } else if (auto* c = As<QComboBox>()) {
    c->clear();
    c->addItems(list);
    c->setCurrentIndex(-1);
  }
}

int TQtFormWidget::Count() const
{
  if (auto* l = As<QListWidget>())
    return l->count();
  if (auto* c = As<QComboBox>())
    return c->count();
  return 0;
}

void TQtFormWidget::SetMultiSelect(bool multi)
{
  if (auto* l = As<QListWidget>())
    l->setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                              : QAbstractItemView::SingleSelection);
}

bool TQtFormWidget::MultiSelect() const
{
  auto* l = As<QListWidget>();
  return l && l->selectionMode() == QAbstractItemView::ExtendedSelection;
}

bool TQtFormWidget::Selected(int index) const
{
  if (index < 0 || index >= Count())
    return false;
  if (auto* l = As<QListWidget>())
    return MultiSelect() ? l->item(index)->isSelected() : l->currentRow() == index;
  return ItemIndex() == index;
}

void TQtFormWidget::SetSelected(int index, bool selected)
{
  if (index < 0 || index >= Count())
    return;
  if (auto* l = As<QListWidget>(); l && MultiSelect())
    l->item(index)->setSelected(selected);
  else if (selected)
    SetItemIndex(index);
}

int TQtFormWidget::ItemIndex() const
{
  if (auto* l = As<QListWidget>())
    return l->currentRow();
  if (auto* c = As<QComboBox>())
    return c->currentIndex();
  return -1;
}

void TQtFormWidget::SetItemIndex(int index)
{
  if (auto* l = As<QListWidget>())
    l->setCurrentRow(index, MultiSelect() ? QItemSelectionModel::NoUpdate
                                          : QItemSelectionModel::ClearAndSelect);
  else if (auto* c = As<QComboBox>())
    c->setCurrentIndex(index);
}

int TQtFormWidget::TopIndex() const
{
  auto* l = As<QListWidget>();
  if (!l)
    return 0;
  int row = l->indexAt(QPoint(1, 1)).row();
  return row < 0 ? 0 : row;
}

void TQtFormWidget::SetTopIndex(int index)
{
  auto* l = As<QListWidget>();
  if (!l || index < 0 || index >= l->count())
    return;
  if (index == 0)
    l->scrollToTop();
  else
    l->scrollToItem(l->item(index), QAbstractItemView::PositionAtTop);
}

std::string TQtFormWidget::Item(int index) const
{
  if (index < 0 || index >= Count())
    return std::string();
  if (auto* l = As<QListWidget>())
    return FromQ(l->item(index)->text());
  if (auto* c = As<QComboBox>())
    return FromQ(c->itemText(index));
  return std::string();
}

std::vector<std::string> TQtFormWidget::Lines() const
{
  std::vector<std::string> lines;
  auto* t = As<QPlainTextEdit>();
  if (!t)
    return lines;
  for (QTextBlock b = t->document()->firstBlock(); b.isValid(); b = b.next())
    lines.push_back(FromQ(b.text()));
  // An empty text area has no lines, and a last line end starts no line of its own.
  if (!lines.empty() && lines.back().empty())
    lines.pop_back();
  return lines;
}

void TQtFormWidget::SetLines(const std::vector<std::string>& lines)
{
  auto* t = As<QPlainTextEdit>();
  if (!t)
    return;
  QStringList list;
  for (const std::string& s : lines)
    list.append(ToQ(s));
  t->setPlainText(list.join('\n'));
  t->moveCursor(QTextCursor::Start);
}

bool TQtFormWidget::WordWrap() const
{
  auto* t = As<QPlainTextEdit>();
  return t && t->lineWrapMode() != QPlainTextEdit::NoWrap;
}

void TQtFormWidget::SetWordWrap(bool wrap)
{
  auto* t = As<QPlainTextEdit>();
  if (!t)
    return;
  t->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  t->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

QFont TQtFormWidget::Font() const
{
  return Widget() ? Widget()->font() : QFont();
}

void TQtFormWidget::SetFont(const QFont& font)
{
  if (Widget())
    Widget()->setFont(font);
}

void TQtFormWidget::Click()
{
  if (auto* b = As<QAbstractButton>())
    b->click();
}

QSize TQtFormWidget::FrameExtra(TFormWidgetKind kind, bool wordWrap)
{
  // Measured once per kind on a control of its own: frames and bars depend on the style only.
  static std::map<std::pair<TFormWidgetKind, bool>, QSize> known;
  auto [it, added] = known.try_emplace({kind, wordWrap});
  if (added) {
    TQtFormWidget probe(kind, nullptr);
    probe.SetWordWrap(wordWrap);
    probe.SetClientSize(0, 0);
    it->second = probe.Geometry().size();
  }
  return it->second;
}

void TQtFormWidget::SetClientSize(int32_t width, int32_t height)
{
  QWidget* w = Widget();
  if (!w)
    return;
  int fw = 2;
  if (auto* f = qobject_cast<QFrame*>(w))
    fw = f->frameWidth();
  int extraW = 2 * fw, extraH = 2 * fw;
  if (auto* a = qobject_cast<QAbstractScrollArea*>(w)) {
    if (a->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
      extraW += a->verticalScrollBar()->sizeHint().width();
    if (a->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
      extraH += a->horizontalScrollBar()->sizeHint().height();
  }
  w->resize(width + extraW, height + extraH);
}
