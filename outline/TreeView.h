#pragma once
// TqvTreeView: an outline editor whose node texts are free text, links ("http://", "mailto:")
// or formulas "name=expression". Enter evaluates every formula and writes each result into the
// formula node's first child; formulas refer to each other by name and to pi.
#include "base/Color.h"
#include "outline/MathParser.h"
#include "outline/TreeFile.h"
#include "outline/TreeKeyMappings.h"

#include <QTreeWidget>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class TqvTreeView : public QTreeWidget {
public:
  explicit TqvTreeView(QWidget* owner = nullptr);
  ~TqvTreeView() override;

  TTreeKeyMappings KeyMappings;
  bool KeymappingsEnabled = true;
  std::string Filename;
  std::string DefaultExt = "txt";

  bool ColorFormulas() const { return FColorFormulas; }
  void SetColorFormulas(bool value);
  TColor FormuleColor() const { return FFormuleColor; }
  void SetFormuleColor(TColor value);

  TqvMathParser& Parser() { return *FParser; }
  // The node that node-level actions work on, or nullptr.
  QTreeWidgetItem* Selected() const;
  void SetSelected(QTreeWidgetItem* node);

  // Evaluates every formula once (what Enter does).
  void EvaluateAll();
  // Runs one mapped action; failures are raised as ELumoraError with the message to show.
  void RunAction(TTreeAction action);

  // Replaces the tree by a file's nodes. Throws ELumoraError when the file cannot be read or a
  // line has an invalid level; the nodes read before that line stay.
  void LoadFromFile(const std::string& fileName);
  // The same from the file's bytes.
  void LoadTreeText(const QByteArray& bytes);
  // Writes the tree beside the old file and replaces it only when the write succeeded. Throws
  // ELumoraError when it did not; the old file is then untouched.
  void SaveToFile(const std::string& fileName) const;
  // The whole tree in the file format.
  // Written as the file was read: single-byte as Latin-1 (as UTF-8 once a node holds a
  // character Latin-1 lacks), UTF-8 with its byte-order mark when it had one.
  QByteArray TreeText() const;

  // Moves the selected node with its subtree to just before target, as a drop does. Nothing
  // happens when target is the node itself or lies inside its subtree.
  void MoveSelectedBefore(QTreeWidgetItem* target);
  // The rectangle of a node's label (its text), in viewport coordinates.
  QRect LabelRect(const QTreeWidgetItem* node) const;
  // The node whose label lies under a viewport point, or nullptr.
  QTreeWidgetItem* NodeAtLabel(const QPoint& point) const;

  static bool IsLink(const QString& text);
  static QTreeWidgetItem* NewNode(const QString& text);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  void AddNode();
  void DeleteNode();
  void InsertNode();
  void AddChildNode();
  void DuplicateNode();
  void EditNode();
  void FindNode();
  void LoadTree();
  void SaveTree();
  void SaveTreeAs();
  void CloseTree();

  void AddSibling(QTreeWidgetItem* node, QTreeWidgetItem* sibling);
  void AddChildrenInRuns(QTreeWidgetItem* parent, const QList<QTreeWidgetItem*>& children);
  std::vector<QTreeWidgetItem*> AllNodes() const;
  std::vector<int> BuildNameList(const std::vector<QTreeWidgetItem*>& nodes);
  bool EvaluateNode(QTreeWidgetItem* node, char decimalPoint);
  void GetVar(const std::string& name, long double& value, bool& found);
  std::string FileFilter() const;
  // Appends every node in display order; false when one cannot be written in Latin-1.
  bool AppendNodes(QByteArray& out, bool latin1) const;

  TqvMathParser* FParser;
  bool FColorFormulas = true;
  TTreeEncoding FEncoding = TTreeEncoding::Utf8;
  TColor FFormuleColor = clBlack;
  std::string FSearchText;
  bool FParseError = false;
  char FDecimalPoint = '.';
  // The name list: names in tree order with their nodes, and the first index of each name
  // folded to one case (as UTF-8, so that the parser's names need no conversion).
  std::vector<std::pair<QString, QTreeWidgetItem*>> FNames;
  std::unordered_map<std::string, int> FNameIndex;
  // What each name's node holds in its first child, read once per pass and read again after
  // that node has been evaluated: a name is usually looked up by several formulas.
  struct TNameValue {
    bool Read = false;
    bool Found = false;
    long double Value = 0;
  };
  std::vector<TNameValue> FNameValues;
};
