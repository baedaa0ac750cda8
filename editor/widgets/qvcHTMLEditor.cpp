#include "editor/widgets/qvcHTMLEditor.h"

#include "editor/widgets/EditWidget.h"
#include "editor/widgets/FindDialog.h"
#include "editor/widgets/MenuBar.h"
#include "editor/widgets/vwPrintTarget.h"
#include "html/viewer/vwPrinter.h"
#include "platform/ErrorBox.h"

#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

const char* const ClassName = "TqvcHTMLEditor";

} // namespace

TqvcHTMLEditor::TqvcHTMLEditor(QWidget* parent) : TBox(parent)
{
  static const bool registered = (RegisterBoxLayout(ClassName, BuildLayout), true);
  (void)registered;
  CreateFromLayout(ClassName);
}

TqvcHTMLEditor::~TqvcHTMLEditor()
{
  // The editor goes before its highlighter.
  if (Editor)
    Editor->SetHighLighter(nullptr);
}

void TqvcHTMLEditor::BuildLayout(TBox& box)
{
  auto& self = static_cast<TqvcHTMLEditor&>(box);
  self.resize(559, 401);
  self.setFrameShape(QFrame::NoFrame);
  self.OnCreate = [&self] { self.BoxCreate(); };
  auto* layout = new QVBoxLayout(&self);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  self.MenuBar1 = new TMenuBar(&self);
  self.MenuBar1->setFixedHeight(29);
  layout->addWidget(self.MenuBar1);
  self.Editor = new TtxEditWidget(&self);
  layout->addWidget(self.Editor, 1);
  QFont font("Courier New");
  font.setPixelSize(17);
  self.Editor->SetEditorFont(font);
  self.Editor->SetFontColor(clWindowText);
  self.syHTMLSyn1 = std::make_unique<TtxHTMLHighlighter>();
  self.syHTMLSyn1->SetDefaultFilter("HTML Document (*.htm,*.html)|*.htm;*.html");
  self.Editor->SetHighLighter(self.syHTMLSyn1.get());
  for (int i = 0; i < 10; ++i)
    self.ImageList1.push_back(TtxEditWidget::BuiltInGlyph(i));
  self.Editor->BookmarkImages = self.ImageList1;
  self.Editor->HasBookmarkImages = true;
  self.Editor->SetText("\r\n\r\n\r\n");
  self.Editor->SetMaxUndo(10);
  self.Editor->ReadOnly = false;
  self.Editor->TabIndent = 4;
  self.Editor->WantTabs = false;
  self.BuildMenu();
  self.BuildDialogs();
  self.setFocusProxy(self.Editor);
}

void TqvcHTMLEditor::BuildMenu()
{
  Menu1 = new QMenu(this);
  QMenu* file = Menu1->addMenu("&File");
  File1 = file->menuAction();
  Open1 = file->addAction("&Open...", this, [this] { Open1Click(); });
  Save1 = file->addAction("&Save", this, [this] { Save1Click(); });
  SaveAs1 = file->addAction("Save &As...", this, [this] { SaveAs1Click(); });
  Close1 = file->addAction("Close", this, [this] { Close1Click(); });
  N1 = file->addSeparator();
  PrinterSetup1 = file->addAction("Printer Setup...", this, [this] { PrinterSetup1Click(); });
  Print1 = file->addAction("Print", this, [this] { Print1Click(); });
  QMenu* edit = Menu1->addMenu("&Edit");
  Edit1 = edit->menuAction();
  Find1 = edit->addAction("&Find...", this, [this] { Find1Click(); });
  Replace1 = edit->addAction("&Replace...", this, [this] { Replace1Click(); });
  MenuBar1->SetMenu(Menu1);
}

void TqvcHTMLEditor::BuildDialogs()
{
  OpenDialog1.DefaultExt = "htm";
  OpenDialog1.Filter = "HTML Files|*.htm*";
  SaveDialog1 = OpenDialog1;
  FindDialog1 = new TFindDialog(this, false);
  FindDialog1->OnFind = [this](TFindDialog& d) { FindDialog1Find(d); };
  ReplaceDialog1 = new TFindDialog(this, true);
  ReplaceDialog1->OnFind = [this](TFindDialog& d) { FindDialog1Find(d); };
  ReplaceDialog1->OnReplace = [this](TFindDialog& d) { ReplaceDialog1Replace(d); };
}

void TqvcHTMLEditor::BoxCreate()
{
  FFileName.clear();
}

// ---------------------------------------------------------------- files

bool TqvcHTMLEditor::CanClose()
{
  if (!Editor->Modified)
    return true;
  const std::string name = FFileName.empty() ? "Untitled" : FFileName;
  switch (Dialogs().MessageBox("Save changes to " + name + "?", ApplicationTitle(),
                               dlg::TButtons::YesNoCancel)) {
  case dlg::TAnswer::Yes: return Save1Click();
  case dlg::TAnswer::No: return true;
  default: return false;
  }
}

bool TqvcHTMLEditor::Open1Click()
{
  if (!CanClose())
    return false;
  std::string name;
  if (!Dialogs().OpenFile(OpenDialog1, name))
    return false;
  return LoadFile(name);
}

bool TqvcHTMLEditor::OpenFile(const std::string& fileName)
{
  return CanClose() && LoadFile(fileName);
}

bool TqvcHTMLEditor::LoadFile(const std::string& fileName)
{
  // A failed load leaves the text and the file name as they were: the lines read the whole
  // file before they replace anything.
  return CallGuarded([&] {
    Editor->LoadFromFile(fileName);
    FFileName = fileName;
  });
}

bool TqvcHTMLEditor::SaveAs1Click()
{
  std::string name;
  dlg::TFileOptions options = SaveDialog1;
  options.FileName = FFileName;
  if (!Dialogs().SaveFile(options, name))
    return false;
  if (!SaveFile(name))
    return false;
  FFileName = name;
  return true;
}

bool TqvcHTMLEditor::Save1Click()
{
  if (FFileName.empty())
    return SaveAs1Click();
  return SaveFile(FFileName);
}

bool TqvcHTMLEditor::SaveFile(const std::string& fileName)
{
  // The new text goes to a file beside the old one, which it replaces only once complete: a
  // failed save leaves the old file, the text and its modified flag as they were.
  QSaveFile file(QString::fromLocal8Bit(fileName.c_str()));
  const std::string text = Editor->Lines().Text();
  // Unbuffered, so a short write (a full disk) shows in what write answers.
  bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  ok = ok && file.write(text.data(), qint64(text.size())) == qint64(text.size());
  if (!ok)
    file.cancelWriting();
  ok = file.commit() && ok;
  if (!ok) {
    Dialogs().ShowMessage("Cannot create file \"" + fileName + "\". " +
                          file.errorString().toStdString());
    return false;
  }
  Editor->Modified = false;
  return true;
}

void TqvcHTMLEditor::Close1Click()
{
  // Closes the file: the box is left empty and nameless, once unsaved changes are dealt with.
  if (!CanClose())
    return;
  Editor->SetText("\r\n\r\n\r\n");
  FFileName.clear();
}

// ---------------------------------------------------------------- find and replace

void TqvcHTMLEditor::Find1Click()
{
  FindDialog1->show();
  FindDialog1->raise();
}

void TqvcHTMLEditor::Replace1Click()
{
  ReplaceDialog1->show();
  ReplaceDialog1->raise();
}

void TqvcHTMLEditor::FindDialog1Find(TFindDialog& dialog)
{
  const std::string text = dialog.FindText(Editor->Utf8());
  if (text.empty()) {
    Dialogs().ShowMessage("Can't search for empty text!");
    return;
  }
  TSearchOptions options = 0;
  if (!dialog.Down())
    options |= SearchBackwards;
  if (dialog.MatchCase())
    options |= SearchMatchCase;
  if (dialog.WholeWord())
    options |= SearchWholeWords;
  if (Editor->SearchAndReplace(text, "", options) == 0)
    Dialogs().ShowMessage("SearchText '" + dialog.FindText(true) + "' not found!");
}

void TqvcHTMLEditor::ReplaceDialog1Replace(TFindDialog& dialog)
{
  const std::string text = dialog.FindText(Editor->Utf8());
  if (text.empty()) {
    Dialogs().ShowMessage("Can't replace an empty text!");
    return;
  }
  TSearchOptions options = dialog.ReplaceAll() ? SearchReplaceAll : SearchReplaceOne;
  if (dialog.MatchCase())
    options |= SearchMatchCase;
  if (dialog.WholeWord())
    options |= SearchWholeWords;
  if (Editor->SearchAndReplace(text, dialog.ReplaceText(Editor->Utf8()), options) == 0)
    Dialogs().ShowMessage("SearchText '" + dialog.FindText(true) + "' could not be replaced!");
}

// ---------------------------------------------------------------- printing

void TqvcHTMLEditor::PrinterSetup1Click()
{
  Dialogs().PrinterSetup(SelectedPrinter());
}

TtxPrintOptions TqvcHTMLEditor::PrintOptions() const
{
  TtxPrintOptions options;
  options.SelectionOnly = Editor->HasSelection();
  options.WithHighlighting = Editor->HighLighter() != nullptr;
  options.CopyCount = 1;
  options.MarginUnit = 1;
  options.PageMargins = {500, 500, 500, 500};
  options.JobTitle =
      QFileInfo(QString::fromLocal8Bit(FFileName.c_str())).completeBaseName().toStdString();
  options.HeaderLines = {{"Title: $title$", paCenter}, {"$date$  $time$ ", paLeft}, {"", paLeft}};
  options.FooterLines = {{"", paLeft}, {"Page Number: $pagenum$  $datetime$", paRight}};
  return options;
}

int TqvcHTMLEditor::PrintTo(TtxPrintTarget& target, const TtxPrintOptions& options)
{
  return PrintEditor(*Editor, target, options, Editor->EditorFont(), Editor->ExtraLineSpacing(),
                     nullptr);
}

void TqvcHTMLEditor::Print1Click()
{
  CallGuarded([this] {
    TvwPrinter printer(&SelectedPrinter());
    TvwPrintTarget target(printer);
    PrintTo(target, PrintOptions());
  });
}
