// The editor box: its layout and menus, open and save with the safe save, the unsaved-changes
// question, and find and replace through its dialogs.
#include "editor/widgets/EditWidget.h"
#include "editor/widgets/EditorModes.h"
#include "editor/widgets/FindDialog.h"
#include "editor/widgets/MenuBar.h"
#include "editor/widgets/qvcHTMLEditor.h"
#include "platform/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QToolButton>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::TempDir;
using testsupport::WriteFile;

std::string ReadAll(const std::string& name)
{
  QFile file(QString::fromStdString(name));
  if (!file.open(QIODevice::ReadOnly))
    return "<missing>";
  return file.readAll().toStdString();
}

// A box with scripted dialogs that answer from queues.
struct Fixture {
  TScriptedDialogs* Script;
  TDialogsScope Scope;
  TqvcHTMLEditor Box;
  Fixture() : Script(new TScriptedDialogs), Scope(std::unique_ptr<TDialogs>(Script)) {}
};

// The menu bar's item buttons (not the tool bar's own overflow button).
std::vector<QToolButton*> ItemButtons(QWidget& bar)
{
  std::vector<QToolButton*> out;
  for (QToolButton* b : bar.findChildren<QToolButton*>())
    if (b->defaultAction())
      out.push_back(b);
  return out;
}

std::vector<std::string> Captions(QMenu* menu)
{
  std::vector<std::string> out;
  for (QAction* a : menu->actions())
    out.push_back(a->isSeparator() ? "-" : a->text().toStdString());
  return out;
}

TEST(EditorBox, LayoutAndMenusAreAsDesigned)
{
  Fixture f;
  EXPECT_EQ(f.Box.size(), QSize(559, 401));
  EXPECT_EQ(f.Box.MenuBar1->height(), 29);
  EXPECT_EQ(f.Box.Editor->LineCount(), 3);
  EXPECT_EQ(f.Box.Editor->MaxUndo(), 10);
  EXPECT_EQ(f.Box.Editor->TabIndent, 4);
  EXPECT_EQ(f.Box.Editor->HighLighter(), f.Box.syHTMLSyn1.get());
  EXPECT_EQ(f.Box.Editor->EditorFont().pixelSize(), 17);
  EXPECT_EQ(f.Box.syHTMLSyn1->GetDefaultFilter(), "HTML Document (*.htm,*.html)|*.htm;*.html");
  EXPECT_EQ(f.Box.OpenDialog1.Filter, "HTML Files|*.htm*");
  EXPECT_EQ(f.Box.SaveDialog1.DefaultExt, "htm");
  EXPECT_TRUE(f.Box.FileName().empty());
  EXPECT_EQ(Captions(f.Box.Menu1), (std::vector<std::string>{"&File", "&Edit"}));
  EXPECT_EQ(Captions(f.Box.File1->menu()),
            (std::vector<std::string>{"&Open...", "&Save", "Save &As...", "Close", "-",
                                      "Printer Setup...", "Print"}));
  EXPECT_EQ(Captions(f.Box.Edit1->menu()), (std::vector<std::string>{"&Find...", "&Replace..."}));
  // One flat button per top item, with the item's caption and drop-down.
  auto buttons = ItemButtons(*f.Box.MenuBar1);
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0]->defaultAction(), f.Box.File1);
  EXPECT_EQ(buttons[1]->defaultAction(), f.Box.Edit1);
  EXPECT_TRUE(buttons[1]->autoRaise());
  for (QAction* a : f.Box.File1->menu()->actions())
    EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
}

TEST(EditorBox, MenuBarFollowsItsMenu)
{
  TMenuBar bar;
  QMenu main;
  main.addMenu("One");
  main.addMenu("Two");
  main.addMenu("Three");
  bar.SetMenu(&main);
  EXPECT_EQ(ItemButtons(bar).size(), 3u);
  QMenu other;
  other.addMenu("Only");
  bar.SetMenu(&other);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  auto buttons = ItemButtons(bar);
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons[0]->text(), "Only");
}

TEST(EditorBox, BoxWithoutALayoutIsRefused)
{
  struct TUnknownBox : TBox {
    TUnknownBox() { CreateFromLayout("TUnknownBox"); }
  };
  try {
    TUnknownBox box;
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Resource for TUnknownBox is not found.");
  }
  TBox plain;
  EXPECT_EQ(plain.size(), QSize(320, 240));
}

TEST(EditorBox, OpenLoadsTheChosenFile)
{
  Fixture f;
  std::string name = WriteFile(TempDir(), "page.htm", "<p>one\r\ntwo</p>");
  f.Script->QueueFile(name);
  EXPECT_TRUE(f.Box.Open1Click());
  EXPECT_EQ(f.Box.FileName(), name);
  EXPECT_EQ(f.Box.Editor->LineText(2), "two</p>");
  EXPECT_EQ(f.Script->Asked()[0].Options.Filter, "HTML Files|*.htm*");
  // A missing file shows the error and leaves the text and the name.
  f.Script->QueueFile(TempDir().toStdString() + "/missing.htm");
  EXPECT_FALSE(f.Box.Open1Click());
  EXPECT_EQ(f.Box.FileName(), name);
  EXPECT_EQ(f.Box.Editor->LineText(1), "<p>one");
  ASSERT_EQ(f.Script->Messages().size(), 1u);
  EXPECT_NE(f.Script->Messages()[0].find("missing.htm"), std::string::npos);
}

TEST(EditorBox, SaveBeforeAnyNameAsksForOne)
{
  Fixture f;
  f.Box.Editor->SetText("<b>x</b>");
  f.Script->QueueFile(std::nullopt);
  EXPECT_FALSE(f.Box.Save1Click());
  ASSERT_EQ(f.Script->Asked().size(), 1u);
  EXPECT_EQ(f.Script->Asked()[0].Kind, TScriptedDialogs::TKind::SaveFile);
  std::string name = TempDir().toStdString() + "/saved.htm";
  f.Script->QueueFile(name);
  EXPECT_TRUE(f.Box.Save1Click());
  EXPECT_EQ(f.Box.FileName(), name);
  EXPECT_EQ(ReadAll(name), "<b>x</b>");
  // Now save writes to the name without asking.
  f.Box.Editor->SetSelectedText("y");
  EXPECT_TRUE(f.Box.Editor->Modified);
  EXPECT_TRUE(f.Box.Save1Click());
  EXPECT_EQ(f.Script->Asked().size(), 2u);
  EXPECT_EQ(ReadAll(name), "y<b>x</b>");
  EXPECT_FALSE(f.Box.Editor->Modified);
}

// Makes writes fail while it lives: a read-only folder (not for root, who writes anyway), or a
// file size limit that stands in for a full disk.
class TFailingWrites {
public:
  TFailingWrites(const QString& dir, bool sizeLimit) : FDir(dir), FSizeLimit(sizeLimit)
  {
    if (sizeLimit) {
      getrlimit(RLIMIT_FSIZE, &FOld);
      signal(SIGXFSZ, SIG_IGN);
      rlimit small = FOld;
      small.rlim_cur = 4;
      setrlimit(RLIMIT_FSIZE, &small);
    } else {
      chmod(dir.toLocal8Bit().constData(), 0500);
    }
  }
  ~TFailingWrites()
  {
    if (FSizeLimit)
      setrlimit(RLIMIT_FSIZE, &FOld);
    else
      chmod(FDir.toLocal8Bit().constData(), 0700);
  }

private:
  QString FDir;
  bool FSizeLimit;
  rlimit FOld{};
};

TEST(EditorBox, FailedSaveKeepsTheOldFileTextAndModifiedFlag)
{
  for (bool sizeLimit : {false, true}) {
    if (!sizeLimit && geteuid() == 0)
      continue; // root writes into read-only folders
    Fixture f;
    QString dir = TempDir() + (sizeLimit ? "/full" : "/locked");
    QDir().mkpath(dir);
    std::string name = WriteFile(dir, "page.htm", "old contents");
    ASSERT_TRUE(f.Box.OpenFile(name));
    f.Box.Editor->SetSelectedText("new ");
    bool saved = true;
    {
      TFailingWrites failing(dir, sizeLimit);
      saved = f.Box.Save1Click();
    }
    EXPECT_FALSE(saved) << sizeLimit;
    EXPECT_EQ(ReadAll(name), "old contents");
    EXPECT_EQ(f.Box.Editor->LineText(1), "new old contents");
    EXPECT_TRUE(f.Box.Editor->Modified);
    EXPECT_EQ(f.Box.FileName(), name);
    ASSERT_EQ(f.Script->Messages().size(), 1u);
    EXPECT_EQ(f.Script->Messages()[0].rfind("Cannot create file \"" + name + "\".", 0), 0u);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{"page.htm"}) << "no leftovers";
    // Save as to a place that fails keeps the old name.
    f.Script->QueueFile(dir.toStdString() + "/other.htm");
    {
      TFailingWrites failing(dir, sizeLimit);
      EXPECT_FALSE(f.Box.SaveAs1Click());
    }
    EXPECT_EQ(f.Box.FileName(), name);
    EXPECT_TRUE(f.Box.Editor->Modified);
  }
}

TEST(EditorBox, UnsavedChangesAreAskedAboutFirst)
{
  struct Case {
    dlg::TAnswer answer;
    bool opened;
  } cases[] = {{dlg::TAnswer::Cancel, false}, {dlg::TAnswer::No, true}};
  for (const Case& c : cases) {
    Fixture f;
    std::string other = WriteFile(TempDir(), "other.htm", "other");
    f.Box.Editor->SetSelectedText("changed");
    f.Script->QueueAnswer(c.answer);
    f.Script->QueueFile(other);
    EXPECT_EQ(f.Box.Open1Click(), c.opened);
    ASSERT_GE(f.Script->Asked().size(), 1u);
    EXPECT_EQ(f.Script->Asked()[0].Text, "Save changes to Untitled?");
    EXPECT_EQ(f.Script->Asked()[0].Buttons, dlg::TButtons::YesNoCancel);
    EXPECT_EQ(f.Box.Editor->LineText(1), c.opened ? "other" : "changed");
  }
  // Yes saves first; a cancelled save cancels the open.
  Fixture f;
  f.Box.Editor->SetSelectedText("changed");
  f.Script->QueueAnswer(dlg::TAnswer::Yes);
  f.Script->QueueFile(std::nullopt);
  EXPECT_FALSE(f.Box.CanClose());
  f.Script->QueueAnswer(dlg::TAnswer::Yes);
  std::string name = TempDir().toStdString() + "/kept.htm";
  f.Script->QueueFile(name);
  EXPECT_TRUE(f.Box.CanClose());
  EXPECT_NE(ReadAll(name).find("changed"), std::string::npos);
}

TEST(EditorBox, CloseEmptiesTheBox)
{
  Fixture f;
  std::string name = WriteFile(TempDir(), "close.htm", "text");
  ASSERT_TRUE(f.Box.OpenFile(name));
  f.Box.Close1Click();
  EXPECT_TRUE(f.Box.FileName().empty());
  EXPECT_EQ(f.Box.Editor->LineText(1), "");
}

struct FindCase {
  const char* name;
  bool replace;
  std::string find, with;
  bool down, matchCase, wholeWord, all;
  TPoint caret;
  std::string line1;
  std::string selected;
  std::string message;
};

class FindReplace : public testing::TestWithParam<FindCase> {};

TEST_P(FindReplace, DialogOptionsDriveTheSearch)
{
  const FindCase& c = GetParam();
  Fixture f;
  f.Box.Editor->SetText("Alpha alphabet alpha ALPHA");
  f.Box.Editor->SetCaretXY(c.caret);
  TFindDialog& dialog = c.replace ? *f.Box.ReplaceDialog1 : *f.Box.FindDialog1;
  dialog.SetFindText(c.find);
  dialog.SetReplaceText(c.with);
  dialog.SetDown(c.down);
  dialog.SetMatchCase(c.matchCase);
  dialog.SetWholeWord(c.wholeWord);
  if (!c.replace)
    dialog.ClickFindNext();
  else if (c.all)
    dialog.ClickReplaceAll();
  else
    dialog.ClickReplace();
  EXPECT_EQ(f.Box.Editor->LineText(1), c.line1);
  EXPECT_EQ(f.Box.Editor->SelectedText(), c.selected);
  std::vector<std::string> messages = f.Script->Messages();
  EXPECT_EQ(messages.empty() ? "" : messages[0], c.message);
}

const std::string Text = "Alpha alphabet alpha ALPHA";

INSTANTIATE_TEST_SUITE_P(
    EditorBox, FindReplace,
    testing::Values(
        FindCase{"Down", false, "alpha", "", true, false, false, false, {2, 1}, Text, "alpha", ""},
        FindCase{
            "MatchCase", false, "ALPHA", "", true, true, false, false, {1, 1}, Text, "ALPHA", ""},
        FindCase{
            "WholeWord", false, "alpha", "", true, true, true, false, {1, 1}, Text, "alpha", ""},
        FindCase{"Up", false, "alpha", "", false, false, false, false, {20, 1}, Text, "alpha", ""},
        FindCase{"Empty",
                 false,
                 "",
                 "",
                 true,
                 false,
                 false,
                 false,
                 {1, 1},
                 Text,
                 "",
                 "Can't search for empty text!"},
        FindCase{"NotFound",
                 false,
                 "gamma",
                 "",
                 true,
                 false,
                 false,
                 false,
                 {1, 1},
                 Text,
                 "",
                 "SearchText 'gamma' not found!"},
        // The message box shows UTF-8 whatever the text's own encoding is.
        FindCase{"NotFoundAccented",
                 false,
                 "caf\xE9",
                 "",
                 true,
                 false,
                 false,
                 false,
                 {1, 1},
                 Text,
                 "",
                 "SearchText 'caf\xC3\xA9' not found!"},
        FindCase{"ReplaceOne",
                 true,
                 "alpha",
                 "X",
                 true,
                 true,
                 true,
                 false,
                 {1, 1},
                 "Alpha alphabet X ALPHA",
                 "",
                 ""},
        FindCase{"ReplaceAll",
                 true,
                 "alpha",
                 "X",
                 true,
                 false,
                 true,
                 true,
                 {1, 1},
                 "X alphabet X X",
                 "",
                 ""},
        FindCase{"ReplaceEmpty",
                 true,
                 "",
                 "X",
                 true,
                 false,
                 false,
                 false,
                 {1, 1},
                 Text,
                 "",
                 "Can't replace an empty text!"},
        FindCase{"ReplaceNone",
                 true,
                 "beta",
                 "X",
                 true,
                 false,
                 true,
                 false,
                 {1, 1},
                 Text,
                 "",
                 "SearchText 'beta' could not be replaced!"},
        FindCase{"ReplaceNoneAccented",
                 true,
                 "\xE9t\xE9",
                 "X",
                 true,
                 false,
                 true,
                 false,
                 {1, 1},
                 Text,
                 "",
                 "SearchText '\xC3\xA9t\xC3\xA9' could not be replaced!"},
        FindCase{"ReplaceDialogFinds",
                 false,
                 "ALPHA",
                 "",
                 true,
                 true,
                 false,
                 false,
                 {1, 1},
                 Text,
                 "ALPHA",
                 ""}),
    [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

TEST(EditorBox, FindBackwardsSelectsThePreviousMatch)
{
  Fixture f;
  f.Box.Editor->SetText("one two one two one");
  f.Box.Editor->SetCaretXY({12, 1});
  f.Box.FindDialog1->SetFindText("one");
  f.Box.FindDialog1->SetDown(false);
  f.Box.FindDialog1->ClickFindNext();
  EXPECT_EQ(f.Box.Editor->SelStart(), (TPoint{9, 1}));
  EXPECT_EQ(f.Box.Editor->CaretXY(), (TPoint{9, 1}));
  f.Box.FindDialog1->ClickFindNext();
  EXPECT_EQ(f.Box.Editor->CaretXY(), (TPoint{1, 1}));
}

TEST(EditorBox, MenuItemsShowTheirDialogs)
{
  Fixture f;
  f.Box.Find1->trigger();
  EXPECT_TRUE(f.Box.FindDialog1->isVisible());
  f.Box.Replace1->trigger();
  EXPECT_TRUE(f.Box.ReplaceDialog1->isVisible());
  f.Script->QueuePrinterSetup(false);
  f.Box.PrinterSetup1->trigger();
  ASSERT_EQ(f.Script->Asked().size(), 1u);
  EXPECT_EQ(f.Script->Asked()[0].Kind, TScriptedDialogs::TKind::PrinterSetup);
}

} // namespace

namespace {

TEST(EditorBox, EditWindowAsksBeforeClosingOverChanges)
{
  TScriptedDialogs* script = new TScriptedDialogs;
  TDialogsScope scope{std::unique_ptr<TDialogs>(script)};
  std::string name = WriteFile(TempDir(), "window.htm", "<p>text</p>");
  std::unique_ptr<QWidget> window = editormodes::NewEditWindow(name);
  window->show();
  auto* box = window->findChild<TqvcHTMLEditor*>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Editor->LineText(1), "<p>text</p>");
  EXPECT_TRUE(window->close()) << "nothing changed, nothing asked";
  EXPECT_TRUE(script->Asked().empty());
  window->show();
  box->Editor->SetSelectedText("x");
  script->QueueAnswer(dlg::TAnswer::Cancel);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  script->QueueAnswer(dlg::TAnswer::No);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(ReadAll(name), "<p>text</p>");
}

} // namespace

namespace {

TEST(EditorBox, FailuresInCreateAndDestroyAreShownNotPassedOn)
{
  TScriptedDialogs* script = new TScriptedDialogs;
  TDialogsScope scope{std::unique_ptr<TDialogs>(script)};
  RegisterBoxLayout("TFailingBox", [](TBox& box) {
    box.OnCreate = [] { throw std::runtime_error("create failed"); };
    box.OnDestroy = [] { throw std::runtime_error("destroy failed"); };
  });
  struct TFailingBox : TBox {
    TFailingBox() { CreateFromLayout("TFailingBox"); }
  };
  {
    TFailingBox box;
    EXPECT_EQ(script->Messages(), std::vector<std::string>{"create failed"});
  }
  EXPECT_EQ(script->Messages(), (std::vector<std::string>{"create failed", "destroy failed"}));
}

} // namespace
