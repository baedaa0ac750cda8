#include "AppTestSupport.h"

#include "app/FilePane.h"
#include "base/Exceptions.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/vwPrinter.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPrinter>
#include <QStatusBar>
#include <QStringList>
#include <QToolButton>
#include <QUrl>

namespace {

std::string Dir(const std::string& path)
{
  return QDir::cleanPath(QString::fromStdString(path)).toStdString();
}

TEST_F(TWindowTest, CaptionAndToolButtons)
{
  TLumoraF& w = Start();
  EXPECT_EQ(w.windowTitle().toStdString(), "Tolk Lumora 2");
  struct Case {
    QToolButton* Button;
    int Left;
    const char* Hint;
  };
  const Case cases[] = {
      {w.btnhome, 16, "Home"},   {w.btnrefresh, 40, "Reload"}, {w.btnback, 72, "Back"},
      {w.btnfwd, 96, "Forward"}, {w.btnprint, 168, "Print"},   {w.btncopy, 200, "Copy Selection"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.Button->geometry(), QRect(c.Left, 4, 23, 22)) << c.Hint;
    EXPECT_EQ(c.Button->toolTip().toStdString(), c.Hint);
    EXPECT_TRUE(c.Button->autoRaise()) << c.Hint;
    EXPECT_FALSE(c.Button->icon().isNull()) << c.Hint;
  }
  EXPECT_EQ(w.Panel1->height(), 30);
  EXPECT_EQ(w.Panel2->width(), 177);
}

// Which page the window opens with, and what becomes the home page.
TEST_F(TWindowTest, StartPageRules)
{
  std::string page = Page(DocDir, "page.htm");
  std::string upper = Page(DocDir, "UPPER.HTML");
  std::string anchored = upper + "#top";
  std::string text = testsupport::WriteFile(DocDir, "notes.txt", "plain");
  struct Case {
    const char* Name;
    bool StartPageBesideProgram;
    std::vector<std::string> Params;
    std::string Shown; // "" when nothing is loaded
    bool FilesShowDocDir;
  };
  std::string start = (ProgramDir + "/Lumora.htm").toStdString();
  const Case cases[] = {
      {"no parameter, start page present", true, {}, start, false},
      {"no parameter, no start page", false, {}, "", false},
      {".htm parameter", true, {page}, page, true},
      {"upper-case .HTML parameter", false, {upper}, upper, true},
      {".HTML with an anchor is not an HTML name", true, {anchored}, "", false},
      {".txt parameter", true, {text}, "", false},
      {"only the first parameter counts", false, {text, page}, "", false},
  };
  for (const Case& c : cases) {
    QFile::remove(QString::fromStdString(start));
    if (c.StartPageBesideProgram)
      Page(ProgramDir, "Lumora.htm");
    std::string before = TFilePane().Directory();
    TLumoraF& w = Start(c.Params);
    EXPECT_EQ(w.viewer->DocumentName(), c.Shown) << c.Name;
    EXPECT_EQ(w.HomePage(), c.Shown) << c.Name;
    EXPECT_EQ(Dir(w.Panel2->Directory()), Dir(c.FilesShowDocDir ? DocDir.toStdString() : before))
        << c.Name;
    EXPECT_FALSE(w.btnback->isEnabled()) << c.Name;
    EXPECT_FALSE(w.btnfwd->isEnabled()) << c.Name;
    EXPECT_TRUE(Dialogs->Messages().empty()) << c.Name;
  }
}

// An installed program has its demo pages in share/lumora beside its bin folder.
TEST_F(TWindowTest, StartPageBesideTheProgramOrAmongTheInstalledPages)
{
  struct Case {
    const char* Name;
    bool Beside;
    bool Installed;
    const char* Expected; // relative to the prefix
  };
  const Case cases[] = {
      {"beside the program", true, false, "bin/Lumora.htm"},
      {"installed", false, true, "share/lumora/Lumora.htm"},
      {"both: the one beside wins", true, true, "bin/Lumora.htm"},
      {"neither", false, false, ""},
  };
  for (const Case& c : cases) {
    QString prefix = testsupport::TempDir();
    ProgramDir = prefix + "/bin";
    QDir().mkpath(ProgramDir);
    if (c.Beside)
      Page(ProgramDir, "Lumora.htm");
    if (c.Installed)
      Page(prefix + "/share/lumora", "Lumora.htm");
    std::string expected = *c.Expected ? (prefix + "/" + c.Expected).toStdString() : "";
    TLumoraF& w = Start();
    EXPECT_EQ(w.viewer->DocumentName(), expected) << c.Name;
    EXPECT_EQ(w.HomePage(), expected) << c.Name;
  }
}

TEST_F(TWindowTest, ProgramDirComesFromTheProgramFile)
{
  TLumoraF& w = Start();
  EXPECT_EQ(w.ProgramDir(), ProgramDir.toStdString() + "/");
  EXPECT_EQ(w.SaveDialog1.InitialDir, w.ProgramDir());
  EXPECT_EQ(w.SaveDialog1.DefaultExt, "txt");
  EXPECT_EQ(w.SaveDialog1.Filter, "Text Files|*.txt");
}

TEST_F(TWindowTest, MissingStartPageParameterReachesTheErrorBox)
{
  std::string missing = (DocDir + "/missing.htm").toStdString();
  TLumoraF& w = Start({missing});
  EXPECT_EQ(Dialogs->Messages(), std::vector<std::string>{"Can't locate file: " + missing});
  EXPECT_TRUE(w.HomePage().empty());
  EXPECT_TRUE(w.viewer->DocumentName().empty());
  EXPECT_TRUE(w.isVisible());
}

// A file manager may open a picture with Lumora (the desktop entry offers it): it is shown on
// its own, the file pane moves to its folder and there is no home page.
TEST_F(TWindowTest, ImageParameterIsShownAsAnImage)
{
  for (const char* name : {"p.gif", "p.JPEG", "p.png"}) {
    std::string image = Image(DocDir, name);
    TLumoraF& w = Start({image});
    EXPECT_EQ(w.viewer->DocumentName(), image) << name;
    EXPECT_TRUE(w.viewer->ShowsImage()) << name;
    EXPECT_TRUE(w.HomePage().empty()) << name;
    EXPECT_EQ(Dir(w.Panel2->Directory()), Dir(DocDir.toStdString())) << name;
  }
}

// What a click in the file list does, by extension.
TEST_F(TWindowTest, FileClickDispatchesByLowerCasedExtension)
{
  struct Case {
    std::string Path;
    bool Loads;
    bool AsImage;
  };
  const Case cases[] = {
      {Page(DocDir, "a.htm"), true, false},
      {Page(DocDir, "b.HTML"), true, false},
      {testsupport::WriteFile(DocDir, "c.txt", "text"), true, false},
      {testsupport::WriteFile(DocDir, "c.TXT", "text"), true, false},
      {Image(DocDir, "d.JPG"), true, true},
      {Image(DocDir, "e.png"), true, true},
      {Image(DocDir, "f.jpeg"), false, false}, // not in the pane's list
      {testsupport::WriteFile(DocDir, "g.doc", "doc"), false, false},
      {testsupport::WriteFile(DocDir, "noext", "x"), false, false},
  };
  for (const Case& c : cases) {
    TLumoraF& w = Start();
    w.Panel2->SetFileName(c.Path);
    w.filesClick();
    EXPECT_EQ(w.viewer->DocumentName(), c.Loads ? c.Path : "") << c.Path;
    EXPECT_EQ(w.viewer->ShowsImage(), c.AsImage) << c.Path;
    EXPECT_TRUE(w.HomePage().empty()) << c.Path;
  }
}

TEST_F(TWindowTest, TextFileIsShownAsItsText)
{
  TLumoraF& w = Start();
  w.Panel2->SetFileName(testsupport::WriteFile(DocDir, "t.txt", "line one\nline two"));
  w.filesClick();
  EXPECT_TRUE(w.viewer->DocumentText().contains("line one"));
}

TEST_F(TWindowTest, DroppedFiles)
{
  std::string a = Page(DocDir, "A.HtM");
  std::string b = Page(DocDir, "b.htm");
  std::string t = testsupport::WriteFile(DocDir, "t.txt", "x");
  struct Case {
    const char* Name;
    std::vector<std::string> Dropped;
    std::string Shown;
  };
  const Case cases[] = {
      {"three files, the first HTML", {a, b, t}, a},
      {"three files, the first not HTML", {t, a, b}, ""},
      {"nothing", {}, ""},
      {"empty name", {""}, ""},
  };
  for (const Case& c : cases) {
    TLumoraF& w = Start();
    std::string before = w.Panel2->Directory();
    w.FilesDropped(c.Dropped);
    EXPECT_EQ(w.viewer->DocumentName(), c.Shown) << c.Name;
    EXPECT_EQ(Dir(w.Panel2->Directory()), Dir(c.Shown.empty() ? before : DocDir.toStdString()))
        << c.Name;
    EXPECT_TRUE(w.HomePage().empty()) << c.Name;
  }
}

TEST_F(TWindowTest, DropEventLoadsOnlyTheFirstUrl)
{
  std::string a = Page(DocDir, "first.html");
  std::string b = Page(DocDir, "second.html");
  TLumoraF& w = Start();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)),
                QUrl::fromLocalFile(QString::fromStdString(b))});
  QDropEvent drop(QPointF(300, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  // Straight to the window's handler: the application's drop routing needs a drag in progress.
  static_cast<QObject&>(w).event(&drop);
  EXPECT_EQ(w.viewer->DocumentName(), a);
  EXPECT_TRUE(w.acceptDrops());
}

TEST_F(TWindowTest, HistoryButtonsFollowOnlyTheHistoryEvent)
{
  std::string a = Page(DocDir, "a.htm");
  std::string b = Page(DocDir, "b.htm");
  TLumoraF& w = Start();
  TFrameViewer::THistoryChangeEvent bound = w.viewer->OnHistoryChange;
  w.viewer->OnHistoryChange = nullptr;
  w.viewer->LoadFromFile(a);
  w.viewer->LoadFromFile(b);
  ASSERT_TRUE(w.viewer->BackButtonEnabled());
  EXPECT_FALSE(w.btnback->isEnabled()); // not polled
  w.viewer->OnHistoryChange = bound;
  w.viewer->LoadFromFile(a);
  EXPECT_TRUE(w.btnback->isEnabled());
  EXPECT_FALSE(w.btnfwd->isEnabled());
  w.btnback->click();
  EXPECT_EQ(w.viewer->DocumentName(), b);
  EXPECT_TRUE(w.btnback->isEnabled());
  EXPECT_TRUE(w.btnfwd->isEnabled());
  w.btnback->click();
  EXPECT_EQ(w.viewer->DocumentName(), a);
  EXPECT_FALSE(w.btnback->isEnabled());
  w.btnfwd->click();
  EXPECT_EQ(w.viewer->DocumentName(), b);
}

TEST_F(TWindowTest, FirstLoadLeavesBackDisabledSecondEnablesIt)
{
  TLumoraF& w = Start();
  w.Panel2->SetFileName(Page(DocDir, "one.htm"));
  w.filesClick();
  EXPECT_FALSE(w.btnback->isEnabled());
  w.Panel2->SetFileName(Page(DocDir, "two.htm"));
  w.filesClick();
  EXPECT_TRUE(w.btnback->isEnabled());
}

TEST_F(TWindowTest, HomeReopensTheStartPageAndShowsItsDirectory)
{
  std::string home = Page(DocDir, "home.htm");
  std::string other = Page(testsupport::TempDir(), "other.htm");
  TLumoraF& w = Start({home});
  w.FilesDropped({other});
  ASSERT_EQ(w.viewer->DocumentName(), other);
  w.btnhome->click();
  EXPECT_EQ(w.viewer->DocumentName(), home);
  EXPECT_EQ(Dir(w.Panel2->Directory()), Dir(DocDir.toStdString()));
}

TEST_F(TWindowTest, HomeWithoutHomePageDoesNothing)
{
  TLumoraF& w = Start();
  w.btnhome->click();
  EXPECT_TRUE(w.viewer->DocumentName().empty());
  EXPECT_TRUE(Dialogs->Messages().empty());
}

TEST_F(TWindowTest, HomeAfterTheFileWasDeletedShowsTheErrorAndKeepsThePage)
{
  std::string home = Page(DocDir, "home.htm");
  std::string other = Page(DocDir, "other.htm");
  TLumoraF& w = Start({home});
  w.FilesDropped({other});
  QFile::remove(QString::fromStdString(home));
  w.btnhome->click();
  EXPECT_EQ(Dialogs->Messages(), std::vector<std::string>{"Can't locate file: " + home});
  EXPECT_EQ(w.viewer->DocumentName(), other);
  EXPECT_EQ(w.HomePage(), home);
}

TEST_F(TWindowTest, StatusBarShowsTheUrlNotTheTarget)
{
  TLumoraF& w = Start();
  w.viewer->OnHotSpotTargetCovered(w.viewer, "right", "file:///docs/b.htm");
  EXPECT_EQ(w.StatusBar1->currentMessage().toStdString(), "file:///docs/b.htm");
  w.viewer->OnHotSpotTargetCovered(w.viewer, "", "");
  EXPECT_TRUE(w.StatusBar1->currentMessage().isEmpty());
}

TEST_F(TWindowTest, AboutMessageLines)
{
  TLumoraF& w = Start();
  widgettest::Click(*w.Widget1);
  ASSERT_EQ(Dialogs->Messages().size(), 1u);
  QStringList lines = QString::fromStdString(Dialogs->Messages()[0]).split("\r\n");
  ASSERT_EQ(lines.size(), 8);
  EXPECT_TRUE(lines[0].contains("Lumora 2"));
  EXPECT_FALSE(lines[1].isEmpty());
  EXPECT_TRUE(lines[2].isEmpty());
  EXPECT_EQ(lines[3], "Email:");
  EXPECT_TRUE(lines[4].contains('@'));
  EXPECT_TRUE(lines[5].isEmpty());
  EXPECT_EQ(lines[6], "WebSite:");
  EXPECT_FALSE(lines[7].isEmpty());
  EXPECT_EQ(Dialogs->Asked()[0].Buttons, dlg::TButtons::Ok);
}

TEST_F(TWindowTest, PrintWritesTheShownDocument)
{
  QString pdf = testsupport::TempDir() + "/out.pdf";
  TLumoraF& w = Start();
  SelectedPrinter().setOutputFormat(QPrinter::PdfFormat);
  SelectedPrinter().setOutputFileName(pdf);
  w.btnprint->click(); // nothing shown: nothing printed, no dialog
  EXPECT_FALSE(QFile::exists(pdf));
  EXPECT_TRUE(Dialogs->Asked().empty());
  w.FilesDropped({Page(DocDir, "p.htm")});
  w.btnprint->click(); // the dialog is cancelled
  EXPECT_FALSE(QFile::exists(pdf));
  Dialogs->QueuePrinterSetup(true);
  w.btnprint->click();
  EXPECT_TRUE(QFile::exists(pdf));
  EXPECT_EQ(SelectedPrinter().fromPage(), 1);
  EXPECT_EQ(SelectedPrinter().toPage(), 999);
}

TEST_F(TWindowTest, FilterSelectorSetsTheFileMask)
{
  TLumoraF& w = Start();
  EXPECT_EQ(w.Panel2->Mask(), QStringList{"*.htm*"});
  struct Case {
    int Index;
    QStringList Masks;
  };
  const Case cases[] = {
      {1, {"*.gif", "*.jpg", "*.png", "*.bmp"}},
      {2, {"*.txt"}},
      {0, {"*.htm", "*.html"}},
      {7, {"*.htm", "*.html"}}, // out of range: unchanged
  };
  for (const Case& c : cases) {
    w.Panel2->SetFilterIndex(c.Index);
    EXPECT_EQ(w.Panel2->Mask(), c.Masks) << c.Index;
  }
}

TEST(FilePane, FilterTextParsing)
{
  auto filters = TFilePane::ParseFilter(
      "HTML Documents|*.htm;*.html|Images|*.gif;*.jpg;*.png;*.bmp|Text Documents|*.txt");
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[0].Description, "HTML Documents");
  EXPECT_EQ(filters[1].Masks, (QStringList{"*.gif", "*.jpg", "*.png", "*.bmp"}));
  EXPECT_EQ(filters[2].Description, "Text Documents");
  EXPECT_TRUE(TFilePane::ParseFilter("").empty());
  EXPECT_TRUE(TFilePane::ParseFilter("Lonely").empty());
  EXPECT_EQ(TFilePane::ParseFilter("A|*.a||").size(), 1u);
}

TEST(LumoraF, HtmlNameTest)
{
  struct Case {
    const char* Name;
    bool Html;
  };
  const Case cases[] = {
      {"/a/b.htm", true},       {"/a/b.HTML", true}, {"b.HtMl", true},
      {"/a/b.html#top", false}, {"/a/b.txt", false}, {"/a/b.htm.bak", false},
      {"/a.htm/b", false},      {"", false},         {".htm", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(lumoraf::IsHtmlName(c.Name), c.Html) << c.Name;
}

} // namespace
