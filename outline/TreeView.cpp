#include "outline/TreeView.h"

#include "base/Exceptions.h"
#include "outline/FloatText.h"

#include "platform/Dialogs.h"
#include "platform/ErrorBox.h"
#include "platform/Shell.h"

#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QSaveFile>
#include <QStyledItemDelegate>
#include <QTreeWidgetItemIterator>
#include <QUrl>

#include <numbers>

namespace {

constexpr TColor LinkColor = 0xFF0000; // blue, in blue-green-red order

// Links and formulas draw their own text; everything else, and every selected or focused node,
// is drawn the usual way.
class TFormulaDelegate : public QStyledItemDelegate {
public:
  explicit TFormulaDelegate(TqvTreeView* view) : QStyledItemDelegate(view), FView(view) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override
  {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    const bool special =
        TqvTreeView::IsLink(text) || (FView->ColorFormulas() && text.contains('='));
    if ((opt.state & (QStyle::State_Selected | QStyle::State_HasFocus)) || !special) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QFont font = FView->font();
    TColor color = FView->FormuleColor();
    if (TqvTreeView::IsLink(text)) {
      font.setUnderline(true);
      color = LinkColor;
    }
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    QRect textRect =
        style ? style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget) : opt.rect;
    painter->save();
    painter->setFont(font);
    painter->setPen(ToQColor(color));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
  }

private:
  TqvTreeView* FView;
};

QString Utf8(const std::string& text)
{
  return QString::fromStdString(text);
}

// The text before and after the first "="; false when there is none.
bool SplitFormula(const QString& text, QString* name, QString* expression)
{
  qsizetype eq = text.indexOf(u'=');
  if (eq < 0)
    return false;
  if (name)
    *name = text.left(eq);
  if (expression)
    *expression = text.mid(eq + 1);
  return true;
}

// A name folded to one case, as UTF-8. Most names are ASCII, and folding those is lower-casing.
std::string FoldedKey(const QString& name)
{
  std::string key(size_t(name.size()), '\0');
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    if (c >= 128)
      return name.toCaseFolded().toStdString();
    key[size_t(i)] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c);
  }
  return key;
}

// Children added to the view per run when a list is long; see AddChildrenInRuns.
constexpr qsizetype RowHintRun = 64;

char LocaleDecimalPoint()
{
  QString point = QLocale().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? char(point[0].unicode()) : '.';
}

std::string SaveError(const std::string& fileName, const QString& reason)
{
  return "Cannot create file \"" + fileName + "\". " + reason.toStdString();
}

QTreeWidgetItem* ParentOrRoot(QTreeWidgetItem* node, QTreeWidget* tree)
{
  return node->parent() ? node->parent() : tree->invisibleRootItem();
}

} // namespace

TqvTreeView::TqvTreeView(QWidget* owner) : QTreeWidget(owner), FParser(new TqvMathParser(this))
{
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::SelectedClicked);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDropIndicatorShown(false);
  setMouseTracking(true);
  setItemDelegate(new TFormulaDelegate(this));
  FParser->OnGetVar = [this](QObject*, const std::string& name, long double& value, bool& found) {
    GetVar(name, value, found);
  };
  FParser->OnParseError = [this](QObject*, int) { FParseError = true; };
}

TqvTreeView::~TqvTreeView() = default;

void TqvTreeView::SetColorFormulas(bool value)
{
  FColorFormulas = value;
  viewport()->update();
}

void TqvTreeView::SetFormuleColor(TColor value)
{
  FFormuleColor = value;
  viewport()->update();
}

bool TqvTreeView::IsLink(const QString& text)
{
  QStringView start = QStringView(text).left(7);
  return start == u"http://" || start == u"mailto:";
}

QTreeWidgetItem* TqvTreeView::NewNode(const QString& text)
{
  // A copy shares the prototype's flags and column lists until the text is set: fewer
  // allocations than building each node afresh, which counts when a file brings many.
  static const QTreeWidgetItem prototype = [] {
    QTreeWidgetItem node;
    node.setFlags(node.flags() | Qt::ItemIsEditable);
    node.setText(0, QString());
    return node;
  }();
  auto* node = new QTreeWidgetItem(prototype);
  node->setText(0, text);
  return node;
}

QTreeWidgetItem* TqvTreeView::Selected() const
{
  QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

void TqvTreeView::SetSelected(QTreeWidgetItem* node)
{
  for (QTreeWidgetItem* up = node ? node->parent() : nullptr; up; up = up->parent())
    up->setExpanded(true);
  setCurrentItem(node);
  if (node)
    node->setSelected(true);
}

// ---- Evaluation ----

std::vector<QTreeWidgetItem*> TqvTreeView::AllNodes() const
{
  std::vector<QTreeWidgetItem*> nodes;
  for (QTreeWidgetItemIterator it(const_cast<TqvTreeView*>(this)); *it; ++it)
    nodes.push_back(*it);
  return nodes;
}

// The index of the name-list entry each node defines (-1 for none).
std::vector<int> TqvTreeView::BuildNameList(const std::vector<QTreeWidgetItem*>& nodes)
{
  FNames.clear();
  FNameIndex.clear();
  FNameIndex.reserve(nodes.size());
  std::vector<int> defines(nodes.size(), -1);
  QString name;
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!SplitFormula(nodes[i]->text(0), &name, nullptr) || name.isEmpty())
      continue;
    // The first node with a name defines it.
    if (FNameIndex.try_emplace(FoldedKey(name), int(FNames.size())).second)
      defines[i] = int(FNames.size());
    FNames.emplace_back(name, nodes[i]);
  }
  FNameValues.assign(FNames.size(), TNameValue());
  return defines;
}

void TqvTreeView::GetVar(const std::string& name, long double& value, bool& found)
{
  // The parser's names are ASCII letters, digits and '_', so folding them is lower-casing them.
  std::string key = name;
  for (char& c : key)
    if (c >= 'A' && c <= 'Z')
      c = char(c - 'A' + 'a');
  auto it = FNameIndex.find(key);
  if (it == FNameIndex.end()) {
    if (key == "pi") {
      value = std::numbers::pi_v<long double>;
      found = true;
    }
    return;
  }
  TNameValue& known = FNameValues[size_t(it->second)];
  if (!known.Read) {
    QTreeWidgetItem* node = FNames[size_t(it->second)].second;
    known.Read = true;
    known.Found =
        node->childCount() > 0 &&
        floattext::TextToFloat(node->child(0)->text(0).toStdString(), known.Value, FDecimalPoint);
  }
  if (known.Found) {
    value = known.Value;
    found = true;
  }
}

// Evaluates one node; false when a syntax error stops the pass.
bool TqvTreeView::EvaluateNode(QTreeWidgetItem* node, char decimalPoint)
{
  QString expression;
  if (!SplitFormula(node->text(0), nullptr, &expression) || expression.isEmpty())
    return true;
  FParser->ParseString = expression.toStdString();
  FParseError = false;
  FParser->Evaluate();
  if (FParseError) {
    Dialogs().ShowMessage("Error in: " + FParser->ParseString);
    return false;
  }
  QString result = QString::fromStdString(floattext::FormatGeneral(FParser->Value, decimalPoint));
  if (node->childCount() == 0) {
    node->addChild(NewNode(result)); // the "new" child, given its result at once
    return true;
  }
  QTreeWidgetItem* child = node->child(0);
  if (child->text(0) != result) // an unchanged text need not tell the view
    child->setText(0, result);
  return true;
}

void TqvTreeView::EvaluateAll()
{
  if (topLevelItemCount() == 0)
    return;
  const std::vector<QTreeWidgetItem*> nodes = AllNodes();
  const std::vector<int> defines = BuildNameList(nodes);
  FDecimalPoint = LocaleDecimalPoint();
  // Every result added or changed would otherwise have the view look for its row among the
  // rows laid out; one layout after the pass replaces all of that.
  scheduleDelayedItemsLayout();
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!EvaluateNode(nodes[i], FDecimalPoint))
      break;
    if (defines[i] >= 0)
      FNameValues[size_t(defines[i])].Read = false; // its first child may hold a new value
  }
}

// ---- Actions ----

void TqvTreeView::RunAction(TTreeAction action)
{
  switch (action) {
  case TTreeAction::AddNode: AddNode(); break;
  case TTreeAction::DeleteNode: DeleteNode(); break;
  case TTreeAction::InsertNode: InsertNode(); break;
  case TTreeAction::AddChildNode: AddChildNode(); break;
  case TTreeAction::DuplicateNode: DuplicateNode(); break;
  case TTreeAction::EditNode: EditNode(); break;
  case TTreeAction::FindNode: FindNode(); break;
  case TTreeAction::LoadTree: LoadTree(); break;
  case TTreeAction::SaveTree: SaveTree(); break;
  case TTreeAction::SaveTreeAs: SaveTreeAs(); break;
  case TTreeAction::CloseTree: CloseTree(); break;
  }
}

// Adds sibling at the end of node's level (a root when node is null).
void TqvTreeView::AddSibling(QTreeWidgetItem* node, QTreeWidgetItem* sibling)
{
  if (node)
    ParentOrRoot(node, this)->addChild(sibling);
  else
    addTopLevelItem(sibling);
}

void TqvTreeView::AddNode()
{
  setUpdatesEnabled(false);
  QTreeWidgetItem* node = NewNode("new node");
  AddSibling(Selected(), node);
  setUpdatesEnabled(true);
  SetSelected(node);
}

void TqvTreeView::DeleteNode()
{
  delete Selected();
}

void TqvTreeView::InsertNode()
{
  QTreeWidgetItem* selected = Selected();
  if (!selected)
    return;
  setUpdatesEnabled(false);
  QTreeWidgetItem* parent = ParentOrRoot(selected, this);
  QTreeWidgetItem* node = NewNode("new node");
  parent->insertChild(parent->indexOfChild(selected), node);
  setUpdatesEnabled(true);
  SetSelected(node);
}

void TqvTreeView::AddChildNode()
{
  QTreeWidgetItem* selected = Selected();
  if (!selected)
    return;
  QTreeWidgetItem* node = NewNode("new node");
  selected->addChild(node);
  SetSelected(node);
}

void TqvTreeView::DuplicateNode()
{
  if (QTreeWidgetItem* selected = Selected())
    AddSibling(selected, selected->clone());
}

void TqvTreeView::EditNode()
{
  if (QTreeWidgetItem* selected = Selected())
    editItem(selected, 0);
}

void TqvTreeView::FindNode()
{
  QTreeWidgetItem* selected = Selected();
  if (!selected)
    return;
  std::string answer = FSearchText;
  if (!Dialogs().InputBox("Search", "Search for:", answer) || answer.empty())
    return;
  FSearchText = answer;
  const QString wanted = Utf8(answer).toLower();
  QTreeWidgetItemIterator it(selected);
  for (++it; *it; ++it)
    if ((*it)->text(0).toLower().contains(wanted)) {
      SetSelected(*it);
      scrollToItem(*it);
      return;
    }
  Dialogs().ShowMessage("No more " + wanted.toStdString() + " found");
}

std::string TqvTreeView::FileFilter() const
{
  return "TreeView Files|*." + (DefaultExt.empty() ? std::string("*") : DefaultExt);
}

void TqvTreeView::LoadTree()
{
  dlg::TFileOptions options;
  options.Filter = FileFilter();
  options.DefaultExt = DefaultExt;
  std::string name;
  if (!Dialogs().OpenFile(options, name))
    return;
  LoadFromFile(name);
  Filename = name;
  EvaluateAll();
}

void TqvTreeView::SaveTree()
{
  if (Filename.empty())
    SaveTreeAs();
  else
    SaveToFile(Filename);
}

void TqvTreeView::SaveTreeAs()
{
  dlg::TFileOptions options;
  options.Filter = FileFilter();
  options.DefaultExt = DefaultExt;
  options.FileName = Filename;
  std::string name;
  if (!Dialogs().SaveFile(options, name))
    return;
  SaveToFile(name);
  Filename = name;
}

void TqvTreeView::CloseTree()
{
  // A save that fails throws before anything is removed, so the tree is never lost with it.
  if (Dialogs().Confirm("Save Current Tree"))
    SaveTree();
  clear();
  Filename.clear();
  FEncoding = TTreeEncoding::Utf8;
}

// ---- Files ----

void TqvTreeView::LoadFromFile(const std::string& fileName)
{
  QFile file(Utf8(fileName));
  if (!file.open(QIODevice::ReadOnly))
    throw ELumoraError("Cannot open file \"" + fileName + "\". " +
                       file.errorString().toStdString());
  LoadTreeText(file.readAll());
}

// QTreeWidget finds an item's row by searching its parent's children from the end and keeps the
// row as a hint; children added in one piece have no hint, so the first look-up of each (adding
// a result below it, for one) would search the list: quadratic over a long list. Long lists are
// therefore added in short runs, each item looked up while it is still near the end.
void TqvTreeView::AddChildrenInRuns(QTreeWidgetItem* parent,
                                    const QList<QTreeWidgetItem*>& children)
{
  for (qsizetype start = 0; start < children.size(); start += RowHintRun) {
    const QList<QTreeWidgetItem*> run = children.mid(start, RowHintRun);
    parent->addChildren(run);
    for (qsizetype i = run.size(); i-- > 0;)
      indexFromItem(run[i]);
  }
}

void TqvTreeView::LoadTreeText(const QByteArray& bytes)
{
  const std::vector<TTreeLine> lines = ReadTreeLines(bytes, &FEncoding);
  const TTreeShape shape = ShapeTree(lines);
  const size_t count = shape.Parent.size();
  setUpdatesEnabled(false);
  clear();
  scheduleDelayedItemsLayout();
  // Built apart from the view and added at once: far cheaper than inserting node by node. Only
  // long child lists are added to the view piece by piece (see AddChildrenInRuns).
  std::vector<int> childCount(count, 0);
  for (size_t i = 0; i < count; ++i)
    if (shape.Parent[i] >= 0)
      ++childCount[size_t(shape.Parent[i])];
  std::vector<QTreeWidgetItem*> nodes(count);
  std::vector<QList<QTreeWidgetItem*>> longLists(count);
  QList<QTreeWidgetItem*> roots;
  for (size_t i = 0; i < count; ++i) {
    nodes[i] = NewNode(lines[i].Text);
    const int parent = shape.Parent[i];
    if (parent < 0)
      roots.append(nodes[i]);
    else if (childCount[size_t(parent)] > RowHintRun)
      longLists[size_t(parent)].append(nodes[i]);
    else
      nodes[size_t(parent)]->addChild(nodes[i]);
  }
  // Parents come before their children, so each parent is in the view when its list is added.
  AddChildrenInRuns(invisibleRootItem(), roots);
  for (size_t i = 0; i < count; ++i)
    if (!longLists[i].isEmpty())
      AddChildrenInRuns(nodes[i], longLists[i]);
  setUpdatesEnabled(true);
  if (!shape.Error.isEmpty())
    throw ELumoraError(shape.Error.toStdString());
}

QByteArray TqvTreeView::TreeText() const
{
  QByteArray out;
  if (FEncoding == TTreeEncoding::Latin1 && AppendNodes(out, true))
    return out;
  out.clear();
  AppendNodes(out, false);
  // Reading skips a byte order mark at the very start of a file, so a first node whose text
  // begins with one would lose it: such a file gets a mark of its own in front.
  if (FEncoding == TTreeEncoding::Utf8WithMark || out.startsWith(Utf8Bom))
    out.prepend(Utf8Bom);
  return out;
}

bool TqvTreeView::AppendNodes(QByteArray& out, bool latin1) const
{
  // Walked with a stack of its own: a file may nest as deep as it has lines.
  std::vector<std::pair<const QTreeWidgetItem*, int>> pending; // node, next child
  const QTreeWidgetItem* root = invisibleRootItem();
  pending.emplace_back(root, 0);
  while (!pending.empty()) {
    auto& [node, next] = pending.back();
    if (next == node->childCount()) {
      pending.pop_back();
      continue;
    }
    const QTreeWidgetItem* child = node->child(next++);
    if (!AppendTreeLine(out, int(pending.size()) - 1, child->text(0), latin1))
      return false;
    pending.emplace_back(child, 0);
  }
  return true;
}

void TqvTreeView::SaveToFile(const std::string& fileName) const
{
  QSaveFile file(Utf8(fileName));
  const QByteArray text = TreeText();
  // Unbuffered, so that a short write (a full disk, a size limit) shows in the count written;
  // a buffered flush can lose it and the old file would be replaced by a truncated one.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    throw ELumoraError(SaveError(fileName, file.errorString()));
  qint64 written = file.write(text);
  if (written != text.size()) {
    file.cancelWriting();
    throw ELumoraError(SaveError(
        fileName,
        written < 0 ? file.errorString()
                    : QString("Only %1 of %2 bytes were written.").arg(written).arg(text.size())));
  }
  if (!file.commit())
    throw ELumoraError(SaveError(fileName, file.errorString()));
}

// ---- Mouse, keys, drag and drop ----

QRect TqvTreeView::LabelRect(const QTreeWidgetItem* node) const
{
  QRect row = visualItemRect(node);
  if (row.isEmpty())
    return row;
  const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
  row.setWidth(fontMetrics().horizontalAdvance(node->text(0)) + 2 * margin);
  return row;
}

QTreeWidgetItem* TqvTreeView::NodeAtLabel(const QPoint& point) const
{
  QTreeWidgetItem* node = itemAt(point);
  return node && LabelRect(node).contains(point) ? node : nullptr;
}

void TqvTreeView::keyPressEvent(QKeyEvent* event)
{
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    CallGuarded([this] { EvaluateAll(); });
  QTreeWidget::keyPressEvent(event);
}

void TqvTreeView::keyReleaseEvent(QKeyEvent* event)
{
  if (KeymappingsEnabled && !event->isAutoRepeat())
    if (std::optional<TTreeAction> action = KeyMappings.Match(event->key(), event->modifiers()))
      CallGuarded([this, action] { RunAction(*action); });
  QTreeWidget::keyReleaseEvent(event);
}

void TqvTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
  if (QTreeWidgetItem* selected = Selected())
    if (IsLink(selected->text(0)))
      shell::ShellOpenUrl(QUrl(selected->text(0))); // what the desktop answers does not matter
  QTreeWidget::mouseDoubleClickEvent(event);
}

void TqvTreeView::mouseMoveEvent(QMouseEvent* event)
{
  QTreeWidgetItem* node = NodeAtLabel(event->position().toPoint());
  if (node && IsLink(node->text(0)))
    viewport()->setCursor(Qt::PointingHandCursor);
  else
    viewport()->unsetCursor();
  QTreeWidget::mouseMoveEvent(event);
}

void TqvTreeView::dragEnterEvent(QDragEnterEvent* event)
{
  if (event->source() == this)
    event->acceptProposedAction();
  else
    event->ignore();
}

void TqvTreeView::dragMoveEvent(QDragMoveEvent* event)
{
  if (event->source() != this) {
    event->ignore();
    return;
  }
  QTreeWidget::dragMoveEvent(event); // scrolls near the edges
  event->acceptProposedAction();
}

void TqvTreeView::dropEvent(QDropEvent* event)
{
  if (event->source() != this) {
    event->ignore();
    return;
  }
  if (QTreeWidgetItem* target = NodeAtLabel(event->position().toPoint()))
    MoveSelectedBefore(target);
  // The node has been moved here; a move answer would make the drag remove it at its source.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void TqvTreeView::MoveSelectedBefore(QTreeWidgetItem* target)
{
  QTreeWidgetItem* selected = Selected();
  if (!selected || !target)
    return;
  for (QTreeWidgetItem* up = target; up; up = up->parent())
    if (up == selected)
      return;
  QTreeWidgetItem* from = ParentOrRoot(selected, this);
  QTreeWidgetItem* node = from->takeChild(from->indexOfChild(selected));
  QTreeWidgetItem* to = ParentOrRoot(target, this);
  to->insertChild(to->indexOfChild(target), node);
  SetSelected(node);
}
