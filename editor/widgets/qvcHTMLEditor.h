#pragma once
// The editor box: a self-contained HTML source editor with a File and an Edit menu above the
// highlighting editor, the open, save, find, replace and printer-setup dialogs, and printing.
#include "editor/EditPrint.h"
#include "editor/HTMLHighlighter.h"
#include "editor/widgets/Box.h"
#include "platform/Dialogs.h"

#include <QImage>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class TFindDialog;
class TMenuBar;
class TtxEditWidget;
class TtxPrintTarget;

class TqvcHTMLEditor : public TBox {
  Q_OBJECT
public:
  explicit TqvcHTMLEditor(QWidget* parent = nullptr);
  ~TqvcHTMLEditor() override;

  // The designed layout's components.
  TtxEditWidget* Editor = nullptr;
  TMenuBar* MenuBar1 = nullptr;
  std::unique_ptr<TtxHTMLHighlighter> syHTMLSyn1;
  QMenu* Menu1 = nullptr;
  QAction *File1 = nullptr, *Open1 = nullptr, *Save1 = nullptr, *SaveAs1 = nullptr,
          *Close1 = nullptr, *N1 = nullptr, *PrinterSetup1 = nullptr, *Print1 = nullptr;
  QAction *Edit1 = nullptr, *Find1 = nullptr, *Replace1 = nullptr;
  dlg::TFileOptions OpenDialog1;
  dlg::TFileOptions SaveDialog1;
  TFindDialog* FindDialog1 = nullptr;
  TFindDialog* ReplaceDialog1 = nullptr;
  std::vector<QImage> ImageList1;

  // The file the text came from or went to last; empty after creation.
  const std::string& FileName() const { return FFileName; }

  // The handlers, as the menu items and dialogs call them. Open, save and save as answer
  // whether they did their work.
  void BoxCreate();
  bool Open1Click();
  bool Save1Click();
  bool SaveAs1Click();
  void Close1Click();
  void Find1Click();
  void Replace1Click();
  void FindDialog1Find(TFindDialog& dialog);
  void ReplaceDialog1Replace(TFindDialog& dialog);
  void PrinterSetup1Click();
  void Print1Click();

  // Opens fileName without asking for a name (still asking about unsaved changes).
  bool OpenFile(const std::string& fileName);
  // Asks about unsaved changes: false when the user cancels or saving them failed.
  bool CanClose();
  // The options Print uses for the current text.
  TtxPrintOptions PrintOptions() const;
  // Prints with the print options on target; the number of pages.
  int PrintTo(TtxPrintTarget& target, const TtxPrintOptions& options);

private:
  static void BuildLayout(TBox& box);
  void BuildMenu();
  void BuildDialogs();
  bool LoadFile(const std::string& fileName);
  bool SaveFile(const std::string& fileName);

  std::string FFileName;
};
