// The main window's answers to the page hooks: include commands, panels, sounds, object
// clicks and submitted forms, with scripted dialogs and a scripted shell.
#include "AppTestSupport.h"

#include "editor/widgets/qvcHTMLEditor.h"
#include "html/model/FormControlObj.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/HTMLViewer.h"
#include "outline/TreeView.h"
#include "platform/Shell.h"
#include "platform/widgets/WidgetControl.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>

namespace {

TEST(PageHookRules, DateTimeAndIncludeNames)
{
  QLocale english(QLocale::English, QLocale::UnitedStates);
  EXPECT_EQ(lumoraf::IncludeDate(QDate(2026, 12, 7), english), "7-Dec-2026");
  QLocale german(QLocale::German, QLocale::Germany);
  EXPECT_EQ(lumoraf::IncludeDate(QDate(2026, 3, 17), german),
            "17-" + german.toString(QDate(2026, 3, 17), "MMM").toStdString() + "-2026");
  EXPECT_EQ(lumoraf::IncludeTime(QTime(13, 5, 9), english),
            english.toString(QTime(13, 5, 9), QLocale::LongFormat).toStdString());
  struct Case {
    std::vector<std::string> Params;
    std::string Name;
  } cases[] = {
      {{"FILE=\"part.htm\""}, "part.htm"},
      {{"FILE=\"a b.htm\" more"}, "a b.htm"},
      {{"FILE=\"part.htm"}, "part.htm"},
      {{"file=\"part.htm\""}, ""}, // the tokenizer upper-cases names; case matters here
      {{"SRC=\"x\"", "FILE=\"y\""}, ""},
      {{}, ""},
      {{"XFILE=\"part.htm\""}, ""}, // read from the seventh character on: the quote ends it
      {{"FILE=\"\"x"}, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(lumoraf::IncludeFileName(c.Params), c.Name);
  for (const char* played : {"a.wav", "b.MID", "c.Mp3"})
    EXPECT_TRUE(lumoraf::IsPlayedSound(played)) << played;
  for (const char* ignored : {"a.au", "b", "", "wav"})
    EXPECT_FALSE(lumoraf::IsPlayedSound(ignored)) << ignored;
}

TEST_F(TWindowTest, IncludeCommandsAnswerWithTextOrNothing)
{
  TLumoraF& w = Start();
  QString old = QDir::currentPath();
  QDir::setCurrent(DocDir);
  testsupport::WriteFile(DocDir, "one.htm", "<b>one</b>");
  testsupport::WriteFile(DocDir, "two.htm", "two");
  auto answer = [&](const std::string& command, std::vector<std::string> params) {
    const char* buffer = nullptr;
    int32_t size = -1;
    w.viewerInclude(&w, command, std::move(params), buffer, size);
    return size > 0 ? std::string(buffer, size_t(size)) : std::string();
  };
  EXPECT_EQ(answer("include", {"FILE=\"one.htm\""}), "<b>one</b>");
  EXPECT_EQ(answer("INCLUDE", {"FILE=\"two.htm\""}), "two");
  EXPECT_EQ(answer("include", {"FILE=\"missing.htm\""}), "");
  EXPECT_EQ(answer("include", {}), "");
  EXPECT_EQ(answer("other", {"FILE=\"one.htm\""}), "");
  EXPECT_EQ(answer("Date", {}), lumoraf::IncludeDate(QDate::currentDate(), QLocale()));
  EXPECT_FALSE(answer("time", {}).empty());
  QDir::setCurrent(old);
}

TEST_F(TWindowTest, PanelsGetTheirControlByName)
{
  TLumoraF& w = Start();
  struct Case {
    const char* Src;
    std::function<bool(QWidget*)> Is; // none: the panel stays empty
  } cases[] = {
      {"calendar", [](QWidget* c) { return qobject_cast<QCalendarWidget*>(c) != nullptr; }},
      {"TreeView", [](QWidget* c) { return dynamic_cast<TqvTreeView*>(c) != nullptr; }},
      {"htmleditor", [](QWidget* c) { return dynamic_cast<TqvcHTMLEditor*>(c) != nullptr; }},
      {"clock", nullptr}};
  for (const Case& c : cases) {
    ThvPanel panel(nullptr);
    panel.resize(200, 150);
    w.viewerPanelCreate(&w, c.Src, &panel);
    QList<QWidget*> children = panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (!c.Is) {
      EXPECT_TRUE(children.isEmpty()) << c.Src;
      continue;
    }
    ASSERT_FALSE(children.isEmpty()) << c.Src;
    QWidget* control = children.front();
    EXPECT_TRUE(c.Is(control)) << c.Src;
    if (auto* tree = dynamic_cast<TqvTreeView*>(control)) {
      EXPECT_EQ(tree->FormuleColor(), RGBColor(128, 0, 128));
      EXPECT_EQ(tree->font().family(), "Arial");
      EXPECT_EQ(tree->font().pointSize(), 10);
    }
    if (auto* calendar = qobject_cast<QCalendarWidget*>(control)) {
      EXPECT_EQ(calendar->size(), QSize(200, 150));
    }
  }
}

TEST_F(TWindowTest, SoundsOpenThroughTheShellByExtension)
{
  TLumoraF& w = Start();
  std::vector<std::string> opened;
  shell::TOpenFunction previous = shell::SetShellOpen([&](const QUrl& url) {
    opened.push_back(QFileInfo(url.toLocalFile()).fileName().toStdString());
    return true;
  });
  w.viewerSoundRequest(&w, "/tmp/a.wav", 1, false);
  w.viewerSoundRequest(&w, "/tmp/b.au", 1, false);
  w.viewerSoundRequest(&w, "", 0, true); // the stop request
  w.viewerSoundRequest(&w, "/tmp/c.MP3", 3, false);
  shell::SetShellOpen(previous);
  EXPECT_EQ(opened, (std::vector<std::string>{"a.wav", "c.MP3"}));
}

TEST_F(TWindowTest, FormResultsAreSavedUnlessTheDialogIsCancelled)
{
  TLumoraF& w = Start();
  std::string file = (DocDir + "/results.txt").toStdString();
  Dialogs->QueueFile(std::nullopt);
  w.viewerFormSubmit(&w, "a", "t", "e", "m", {"x=1"});
  EXPECT_FALSE(QFile::exists(QString::fromStdString(file)));
  Dialogs->QueueFile(file);
  w.viewerFormSubmit(&w, "a", "t", "e", "m", {"x=1", "y=two"});
  QFile f(QString::fromStdString(file));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll().toStdString(), "x=1\ny=two\n");
  ASSERT_EQ(Dialogs->Asked().size(), 2u);
  EXPECT_EQ(Dialogs->Asked()[1].Options.DefaultExt, "txt");
  EXPECT_EQ(Dialogs->Asked()[1].Options.Filter, "Text Files|*.txt");
}

// A page shown in the window reaches every hook: two includes, panels whose DATA names the
// file their control opens, an ONCLICK message and the saved form results.
TEST_F(TWindowTest, PagesShownInTheWindowReachEveryHook)
{
  TLumoraF& w = Start();
  QString old = QDir::currentPath();
  QDir::setCurrent(DocDir); // include files are found from the process's folder
  testsupport::WriteFile(DocDir, "one.htm", "first");
  testsupport::WriteFile(DocDir, "two.htm", "second");
  std::string tree = testsupport::WriteFile(DocDir, "t.txt", "sum=2+3\r\n");
  std::string source = testsupport::WriteFile(DocDir, "e.htm", "<p>edited</p>\r\n");
  std::string page = testsupport::WriteFile(
      DocDir, "hooks.htm",
      "<p>[<!--#include FILE=\"one.htm\"-->|<!--#include FILE=\"two.htm\"-->]"
      "<panel src=treeview data=\"t.txt\" width=120 height=90>"
      "<panel src=HTMLEditor data=\"e.htm\" width=200 height=120>"
      "<panel src=treeview data=\"missing.txt\">"
      "<form action=a><input type=checkbox name=c onclick=\"Checked!\">"
      "<input type=submit name=go value=Go></form>");
  w.FilesDropped({page});
  QDir::setCurrent(old);
  ASSERT_EQ(w.viewer->Viewers().size(), 1u);
  THTMLViewer& v = *w.viewer->Viewers().front();
  v.SetSelStart(0);
  v.SetSelLength(20);
  EXPECT_EQ(v.SelText().substr(0, 14), "[first|second]");

  std::vector<TqvTreeView*> trees;
  std::vector<TqvcHTMLEditor*> editors;
  for (QWidget* child : v.findChildren<QWidget*>()) {
    if (auto* t = dynamic_cast<TqvTreeView*>(child))
      trees.push_back(t);
    if (auto* e = dynamic_cast<TqvcHTMLEditor*>(child))
      editors.push_back(e);
  }
  ASSERT_EQ(trees.size(), 2u);
  EXPECT_EQ(trees[0]->Filename, tree);
  EXPECT_NE(trees[0]->TreeText().toStdString().find("sum=2+3"), std::string::npos);
  EXPECT_EQ(trees[1]->topLevelItemCount(), 0); // a missing file: an empty tree, no message
  ASSERT_EQ(editors.size(), 1u);
  EXPECT_EQ(editors[0]->FileName(), source);
  EXPECT_TRUE(Dialogs->Asked().empty());

  const auto& controls = v.AllFormControls();
  ASSERT_EQ(controls.Count(), 2);
  // clicked as the user clicks them: their widgets are made for the click if not yet shown
  TFormWidget* box = controls[0]->Widget();
  TFormWidget* go = controls[1]->Widget();
  ASSERT_TRUE(box && go);
  box->Click();
  EXPECT_TRUE(qobject_cast<QAbstractButton*>(box->Object()));
  EXPECT_TRUE(box->Checked()); // the message does not stop the toggle
  ASSERT_EQ(Dialogs->Asked().size(), 1u);
  EXPECT_EQ(Dialogs->Asked()[0].Text, "Checked!");
  std::string results = (DocDir + "/results.txt").toStdString();
  Dialogs->QueueFile(results);
  go->Click();
  QCoreApplication::processEvents();
  QFile f(QString::fromStdString(results));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll().toStdString(), "c=on\ngo=Go\n");
}

} // namespace
