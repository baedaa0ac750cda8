#include "outline/TreeView.h"

#include "base/Exceptions.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Shell.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QTest>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

class TreeView : public ::testing::Test {
protected:
  void SetUp() override
  {
    QLocale::setDefault(QLocale::c());
    auto dialogs = std::make_unique<TScriptedDialogs>();
    FDialogs = dialogs.get();
    FScope = std::make_unique<TDialogsScope>(std::move(dialogs));
  }
  void TearDown() override { QLocale::setDefault(QLocale::system()); }

  // Replaces the tree by lines in the file format.
  void Load(const char* text) { FView.LoadTreeText(QByteArray(text)); }
  std::string Text() const { return FView.TreeText().toStdString(); }
  QTreeWidgetItem* Node(const QString& text) const
  {
    QList<QTreeWidgetItem*> found = FView.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }
  void Release(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    QKeyEvent event(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(&FView, &event);
  }
  void Press(int key)
  {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, "\r");
    QCoreApplication::sendEvent(&FView, &event);
  }
  std::string Temp(const std::string& name)
  {
    return (testsupport::TempDir() + "/").toStdString() + name;
  }

  TScriptedDialogs* FDialogs = nullptr;
  std::unique_ptr<TDialogsScope> FScope;
  TqvTreeView FView;
};

using Strings = std::vector<std::string>;

TEST_F(TreeView, EnterWritesResultsIntoFirstChildren)
{
  struct TCase {
    const char* Tree;
    const char* After;
  };
  const TCase cases[] = {
      {"a=2\r\nb=a*3\r\n", "a=2\r\n\t2\r\nb=a*3\r\n\t6\r\n"},
      {"x=\r\n=5\r\n", "x=\r\n=5\r\n\t5\r\n"}, // x= is skipped
      {"r=2*pi\r\n", "r=2*pi\r\n\t6.28318530717959\r\n"},
      {"PI=3\r\nr=2*pi\r\n", "PI=3\r\n\t3\r\nr=2*pi\r\n\t6\r\n"}, // a name comes before pi
      {"Alpha=2\r\nb=ALPHA+1\r\n", "Alpha=2\r\n\t2\r\nb=ALPHA+1\r\n\t3\r\n"},
      {"k=1\r\nk=2\r\nm=k\r\n", "k=1\r\n\t1\r\nk=2\r\n\t2\r\nm=k\r\n\t1\r\n"}, // first name wins
      {"m=1/0\r\nl=ln(-1)\r\n", "m=1/0\r\n\t0\r\nl=ln(-1)\r\n\t0\r\n"},        // math errors: 0
      {"a=1\r\n\told\r\n\tsecond\r\n", "a=1\r\n\t1\r\n\tsecond\r\n"},          // first child only
      {"t=1\r\n\tu=t+1\r\n",
       "t=1\r\n\t1\r\n"}, // the first child takes the result, whatever it held
      {"a 2=1\r\nb=a 2\r\n", "a 2=1\r\n\t1\r\nb=a 2\r\n"}, // stops: "a" is no name
      {"note\r\n\ta=1+1\r\n", "note\r\n\ta=1+1\r\n\t\t2\r\n"},
      // Names fold to one case as Unicode does it: the long s folds to s.
      {"\xC5\xBF=3\r\nb=S+1\r\n", "\xC5\xBF=3\r\n\t3\r\nb=S+1\r\n\t4\r\n"},
  };
  for (const TCase& c : cases) {
    Load(c.Tree);
    FView.EvaluateAll();
    EXPECT_EQ(Text(), c.After) << c.Tree;
  }
}

TEST_F(TreeView, SyntaxErrorShowsOneMessageAndStopsThePass)
{
  Load("a=1\r\nb=2+\r\nc=3\r\n");
  Press(Qt::Key_Return);
  EXPECT_EQ(FDialogs->Messages(), Strings{"Error in: 2+"});
  EXPECT_EQ(Text(), "a=1\r\n\t1\r\nb=2+\r\nc=3\r\n");
}

TEST_F(TreeView, NameBelowItsUseGivesThePreviousValue)
{
  Load("c=d+1\r\nd=1\r\n");
  FView.EvaluateAll(); // d has no result yet, so c stops the pass before d is reached
  EXPECT_EQ(FDialogs->Messages(), Strings{"Error in: d+1"});
  EXPECT_EQ(Text(), "c=d+1\r\nd=1\r\n");

  Load("c=d+1\r\nd=5\r\n\t1\r\ne=d*2\r\n"); // below d, e sees the value d has just got
  FView.EvaluateAll();
  EXPECT_EQ(Text(), "c=d+1\r\n\t2\r\nd=5\r\n\t5\r\ne=d*2\r\n\t10\r\n");
  Load("c=d+1\r\nd=5\r\n\t1\r\n");
  FView.EvaluateAll();
  EXPECT_EQ(Text(), "c=d+1\r\n\t2\r\nd=5\r\n\t5\r\n");
  FView.EvaluateAll();
  EXPECT_EQ(Text(), "c=d+1\r\n\t6\r\nd=5\r\n\t5\r\n");

  Load("c=d+1\r\nd=5\r\n\tnot a number\r\n");
  FView.EvaluateAll();
  EXPECT_EQ(FDialogs->Messages().back(), "Error in: d+1");
}

TEST_F(TreeView, ResultsFollowTheLocaleDecimalSeparator)
{
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  Load("a=2.5\r\nb=a*2\r\n");
  FView.EvaluateAll();
  EXPECT_EQ(Text(), "a=2.5\r\n\t2,5\r\nb=a*2\r\n\t5\r\n");
}

TEST_F(TreeView, FilesSaveInTheEncodingTheyWereReadIn)
{
  struct TCase {
    const char* Name;
    const char* File;
    const char* Edited; // a new text for the first node, or none
    const char* Saved;
  } cases[] = {
      {"UTF-8", "caf\xC3\xA9\r\n\t\xCE\xB1\r\n", nullptr, "caf\xC3\xA9\r\n\t\xCE\xB1\r\n"},
      {"UTF-8 with its mark", "\xEF\xBB\xBF\xE4\xB8\xAD\r\n", nullptr,
       "\xEF\xBB\xBF\xE4\xB8\xAD\r\n"},
      {"single-byte", "caf\xE9\r\n\tna\xEFve\r\n", nullptr, "caf\xE9\r\n\tna\xEFve\r\n"},
      {"single-byte edited within Latin-1", "caf\xE9\r\n", "\xC3\xBC", "\xFC\r\n"},
      {"single-byte given a Greek letter", "caf\xE9\r\n\tx\r\n", "\xCE\xB1", "\xCE\xB1\r\n\tx\r\n"},
      {"ASCII", "a=1\r\n", nullptr, "a=1\r\n"},
  };
  for (const TCase& c : cases) {
    Load(c.File);
    if (c.Edited)
      FView.topLevelItem(0)->setText(0, QString::fromUtf8(c.Edited));
    EXPECT_EQ(Text(), c.Saved) << c.Name;
  }
}

TEST_F(TreeView, AFirstNodeBeginningWithAByteOrderMarkKeepsIt)
{
  // The file's own mark is skipped; the one after it belongs to the text.
  Load("\xEF\xBB\xBF\xEF\xBB\xBF\ta\r\n\tb\r\n");
  ASSERT_EQ(FView.topLevelItemCount(), 1);
  EXPECT_EQ(FView.topLevelItem(0)->text(0), QString(QChar(0xFEFF)) + "\ta");
  const std::string saved = Text();
  EXPECT_EQ(saved, "\xEF\xBB\xBF\xEF\xBB\xBF\ta\r\n\tb\r\n");
  Load(saved.c_str());
  EXPECT_EQ(Text(), saved);
  // A mark further down needs nothing.
  Load("a\r\n\xEF\xBB\xBF"
       "b\r\n");
  EXPECT_EQ(Text(), "a\r\n\xEF\xBB\xBF"
                    "b\r\n");
}

TEST_F(TreeView, LongListsKeepTheirOrderThroughLoadAndEvaluation)
{
  // More roots and more children of one node than the view takes in one piece.
  std::string file, evaluated;
  for (int i = 0; i < 150; ++i) {
    const std::string n = std::to_string(i);
    const std::string line = i == 0 ? "v0=0" : "v" + n + "=v" + std::to_string(i - 1) + "+1";
    file += line + "\r\n";
    evaluated += line + "\r\n\t" + n + "\r\n";
  }
  file += "list\r\n";
  evaluated += "list\r\n";
  for (int i = 0; i < 100; ++i) {
    const std::string line = "\tw" + std::to_string(i) + "=v149+" + std::to_string(i);
    file += line + "\r\n";
    evaluated += line + "\r\n\t\t" + std::to_string(149 + i) + "\r\n";
  }
  Load(file.c_str());
  EXPECT_EQ(Text(), file);
  FView.EvaluateAll();
  EXPECT_EQ(Text(), evaluated);
}

TEST_F(TreeView, EmptyTreeEvaluatesNothing)
{
  FView.EvaluateAll();
  EXPECT_EQ(FView.topLevelItemCount(), 0);
  EXPECT_TRUE(FDialogs->Asked().empty());
}

TEST_F(TreeView, KeyMappingsEditTheTree)
{
  struct TCase {
    const char* Select; // "" for no selection
    int Key;
    Qt::KeyboardModifiers Modifiers;
    const char* After;
    const char* Selected;
  };
  const Qt::KeyboardModifiers shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
  const TCase cases[] = {
      {"", Qt::Key_Insert, ctrl | shift, "a\r\n\tb\r\nc\r\nnew node\r\n", "new node"},
      {"b", Qt::Key_Insert, ctrl | shift, "a\r\n\tb\r\n\tnew node\r\nc\r\n", "new node"},
      {"b", Qt::Key_Insert, shift, "a\r\n\tnew node\r\n\tb\r\nc\r\n", "new node"},
      {"c", Qt::Key_Insert, ctrl, "a\r\n\tb\r\nc\r\n\tnew node\r\n", "new node"},
      {"a", Qt::Key_D, ctrl, "a\r\n\tb\r\nc\r\na\r\n\tb\r\n", "a"},
      {"a", Qt::Key_Delete, shift, "c\r\n", "*"},
      // Without a selection the node-level actions do nothing.
      {"", Qt::Key_Insert, shift, "a\r\n\tb\r\nc\r\n", ""},
      {"", Qt::Key_Insert, ctrl, "a\r\n\tb\r\nc\r\n", ""},
      {"", Qt::Key_D, ctrl, "a\r\n\tb\r\nc\r\n", ""},
      {"", Qt::Key_Delete, shift, "a\r\n\tb\r\nc\r\n", ""},
      // Keys that are not mapped change nothing.
      {"a", Qt::Key_Delete, Qt::NoModifier, "a\r\n\tb\r\nc\r\n", "a"},
  };
  for (const TCase& c : cases) {
    Load("a\r\n\tb\r\nc\r\n");
    FView.clearSelection();
    FView.SetSelected(*c.Select ? Node(c.Select) : nullptr);
    Release(c.Key, c.Modifiers);
    EXPECT_EQ(Text(), c.After) << c.Select << " " << c.Key;
    QTreeWidgetItem* selected = FView.Selected();
    if (std::string(c.Selected) == "*")
      continue; // whichever node the control selects next
    EXPECT_EQ(selected ? selected->text(0).toStdString() : "", c.Selected) << c.Key;
    if (*c.Selected) {
      EXPECT_EQ(selected, FView.currentItem());
    }
  }
}

TEST_F(TreeView, DuplicateCopiesTheWholeSubtree)
{
  Load("a\r\n\tb\r\n\t\tc\r\nd\r\n");
  FView.SetSelected(Node("b"));
  FView.RunAction(TTreeAction::DuplicateNode);
  EXPECT_EQ(Text(), "a\r\n\tb\r\n\t\tc\r\n\tb\r\n\t\tc\r\nd\r\n");
  EXPECT_EQ(FView.Selected(), Node("b")); // the first b stays selected
}

TEST_F(TreeView, DisabledMappingsAndAutoRepeatDoNothing)
{
  Load("a\r\n");
  FView.SetSelected(Node("a"));
  FView.KeymappingsEnabled = false;
  Release(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(Text(), "a\r\n");
  FView.KeymappingsEnabled = true;
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_D, Qt::ControlModifier, QString(), true);
  QCoreApplication::sendEvent(&FView, &repeat);
  EXPECT_EQ(Text(), "a\r\n");
}

TEST_F(TreeView, EditKeyStartsInPlaceEditing)
{
  Load("a=1\r\n");
  FView.show();
  FView.SetSelected(Node("a=1"));
  Release(Qt::Key_F2);
  EXPECT_NE(FView.itemWidget(Node("a=1"), 0), nullptr); // the line editor over the label
}

TEST_F(TreeView, FindSearchesForwardIgnoringCase)
{
  Load("Alpha\r\n\tbeta\r\ngamma\r\nALPHABET\r\n");
  FView.SetSelected(Node("Alpha"));
  FDialogs->QueueInput("ALPHA");
  FView.RunAction(TTreeAction::FindNode);
  EXPECT_EQ(FView.Selected(), Node("ALPHABET"));
  ASSERT_EQ(FDialogs->Asked().size(), 1u);
  EXPECT_EQ(FDialogs->Asked()[0].Caption, "Search");
  EXPECT_EQ(FDialogs->Asked()[0].Text, "Search for:");

  FDialogs->QueueInput("Alpha"); // on the last node: nothing below, no wrap-around
  FView.RunAction(TTreeAction::FindNode);
  EXPECT_EQ(FView.Selected(), Node("ALPHABET"));
  EXPECT_EQ(FDialogs->Messages(), Strings{"No more alpha found"});

  FDialogs->QueueInput(""); // an empty answer, then a cancel: nothing happens
  FView.RunAction(TTreeAction::FindNode);
  FView.RunAction(TTreeAction::FindNode);
  EXPECT_EQ(FDialogs->Messages().size(), 1u);
  EXPECT_EQ(FView.Selected(), Node("ALPHABET"));

  FView.clearSelection(); // no selection: not even the question
  size_t asked = FDialogs->Asked().size();
  FView.RunAction(TTreeAction::FindNode);
  EXPECT_EQ(FDialogs->Asked().size(), asked);
}

TEST_F(TreeView, SaveAndLoadRoundTrip)
{
  const char* tree = "root\r\n\ta=2\r\n\t\t2\r\n\t\t\tdeep\r\n\tlink http://x\r\nsecond\r\n";
  Load(tree);
  std::string file = Temp("round.txt");
  FView.SaveToFile(file);
  QFile saved(QString::fromStdString(file));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll().toStdString(), tree);
  FView.clear();
  FView.LoadFromFile(file);
  EXPECT_EQ(Text(), tree);
}

TEST_F(TreeView, LoadAsksForAFileThenEvaluates)
{
  std::string file = testsupport::WriteFile(testsupport::TempDir(), "load.txt", "a=6/4\r\n");
  FDialogs->QueueFile(file);
  FView.RunAction(TTreeAction::LoadTree);
  EXPECT_EQ(Text(), "a=6/4\r\n\t1.5\r\n");
  EXPECT_EQ(FView.Filename, file);
  const dlg::TFileOptions& options = FDialogs->Asked().at(0).Options;
  EXPECT_EQ(options.Filter, "TreeView Files|*.txt");
  EXPECT_EQ(options.DefaultExt, "txt");

  FView.DefaultExt = "";
  FView.RunAction(TTreeAction::LoadTree); // cancelled: nothing changes
  EXPECT_EQ(FDialogs->Asked().at(1).Options.Filter, "TreeView Files|*.*");
  EXPECT_EQ(FView.Filename, file);
  EXPECT_EQ(Text(), "a=6/4\r\n\t1.5\r\n");
}

TEST_F(TreeView, FailedLoadKeepsNodesReadAndTheFileName)
{
  FView.Filename = "before.txt";
  std::string file =
      testsupport::WriteFile(testsupport::TempDir(), "bad.txt", "a=1\r\nb\r\n\t\tc\r\nd\r\n");
  FDialogs->QueueFile(file);
  Release(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(FDialogs->Messages(), Strings{"Invalid level (2) for item \"c\""});
  EXPECT_EQ(Text(), "a=1\r\nb\r\n"); // not evaluated either
  EXPECT_EQ(FView.Filename, "before.txt");

  Load("kept\r\n");
  const std::string missing = Temp("missing.txt");
  FDialogs->QueueFile(missing);
  Release(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(FDialogs->Messages().size(), 2u);
  EXPECT_EQ(FDialogs->Messages()[1].rfind("Cannot open file \"" + missing + "\".", 0), 0u);
  EXPECT_EQ(Text(), "kept\r\n");
}

TEST_F(TreeView, SaveUsesTheFileNameOrAsksForOne)
{
  Load("a\r\n");
  std::string file = Temp("saved.txt");
  FDialogs->QueueFile(file);
  Release(Qt::Key_S, Qt::ControlModifier); // no name yet: save as
  EXPECT_EQ(FView.Filename, file);
  ASSERT_EQ(FDialogs->Asked().size(), 1u);
  EXPECT_EQ(FDialogs->Asked()[0].Kind, TScriptedDialogs::TKind::SaveFile);
  EXPECT_EQ(FDialogs->Asked()[0].Options.Filter, "TreeView Files|*.txt");

  Load("b\r\n");
  Release(Qt::Key_S, Qt::ControlModifier); // now straight to the file
  EXPECT_EQ(FDialogs->Asked().size(), 1u);
  QFile saved(QString::fromStdString(file));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), "b\r\n");

  FDialogs->QueueFile(std::nullopt); // save as, cancelled: the name stays
  Release(Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(FView.Filename, file);
}

// Lowers the file size limit so that a write beyond it fails, the way a full disk would.
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t bytes)
  {
    getrlimit(RLIMIT_FSIZE, &FOld);
    FHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = FOld;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit()
  {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FHandler);
  }

private:
  rlimit FOld{};
  void (*FHandler)(int) = nullptr;
};

TEST_F(TreeView, FailedSaveKeepsTheOldFileAndShowsTheError)
{
  std::string file = testsupport::WriteFile(testsupport::TempDir(), "safe.txt", "old\r\n");
  FView.Filename = file;
  Load("new\r\n");
  for (int i = 0; i < 200; ++i)
    FView.RunAction(TTreeAction::AddNode);
  {
    TFileSizeLimit limit(64);
    Release(Qt::Key_S, Qt::ControlModifier);
  }
  ASSERT_EQ(FDialogs->Messages().size(), 1u);
  EXPECT_EQ(FDialogs->Messages()[0].rfind("Cannot create file \"" + file + "\".", 0), 0u);
  QFile old(QString::fromStdString(file));
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "old\r\n");
  EXPECT_EQ(QFileInfo(old).dir().entryList({"safe*"}, QDir::Files),
            QStringList{"safe.txt"}); // no half-written file left behind
}

TEST_F(TreeView, CloseAsksToSaveThenEmptiesTheTree)
{
  std::string file = Temp("close.txt");
  Load("a\r\n");
  FView.Filename = file;
  FDialogs->QueueAnswer(dlg::TAnswer::Yes);
  Release(Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(FDialogs->Messages(), Strings{"Save Current Tree"});
  EXPECT_EQ(FDialogs->Asked()[0].Buttons, dlg::TButtons::YesNo);
  EXPECT_EQ(FView.topLevelItemCount(), 0);
  EXPECT_EQ(FView.Filename, "");
  QFile saved(QString::fromStdString(file));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), "a\r\n");

  Load("b\r\n"); // No: nothing saved, still emptied
  FDialogs->QueueAnswer(dlg::TAnswer::No);
  FView.RunAction(TTreeAction::CloseTree);
  EXPECT_EQ(FView.topLevelItemCount(), 0);
  EXPECT_EQ(FDialogs->Asked().size(), 2u);

  Load("c\r\n"); // Yes without a name: save as, here cancelled; emptied all the same
  FDialogs->QueueAnswer(dlg::TAnswer::Yes);
  FView.RunAction(TTreeAction::CloseTree);
  EXPECT_EQ(FDialogs->Asked().back().Kind, TScriptedDialogs::TKind::SaveFile);
  EXPECT_EQ(FView.topLevelItemCount(), 0);
}

TEST_F(TreeView, CloseKeepsTheTreeWhenTheSaveFails)
{
  Load("precious\r\n");
  FView.Filename = Temp("no/such/folder/tree.txt");
  FDialogs->QueueAnswer(dlg::TAnswer::Yes);
  Release(Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
  ASSERT_EQ(FDialogs->Messages().size(), 2u);
  EXPECT_EQ(FDialogs->Messages()[1].rfind("Cannot create file", 0), 0u);
  EXPECT_EQ(Text(), "precious\r\n");
  EXPECT_FALSE(FView.Filename.empty());
}

TEST_F(TreeView, DoubleClickOpensLinksThroughTheShell)
{
  std::vector<QUrl> opened;
  shell::TOpenFunction previous = shell::SetShellOpen([&](const QUrl& url) {
    opened.push_back(url);
    return false; // the answer is ignored
  });
  Load("http://example.org/a\r\nHTTP://example.org/b\r\nmailto:x@example.org\r\nplain\r\n");
  FView.resize(300, 200);
  FView.show();
  for (const char* text :
       {"http://example.org/a", "HTTP://example.org/b", "mailto:x@example.org", "plain"}) {
    FView.SetSelected(Node(text));
    QTest::mouseDClick(FView.viewport(), Qt::LeftButton, {},
                       FView.visualItemRect(Node(text)).center());
  }
  shell::SetShellOpen(previous);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0].toString().toStdString(), "http://example.org/a");
  EXPECT_EQ(opened[1].toString().toStdString(), "mailto:x@example.org");
}

TEST_F(TreeView, HandCursorOverLinkLabelsOnly)
{
  Load("http://example.org\r\nplain\r\n");
  FView.resize(400, 200);
  FView.show();
  auto shapeAt = [&](QPoint point) {
    QTest::mouseMove(FView.viewport(), point);
    QMouseEvent move(QEvent::MouseMove, point, FView.viewport()->mapToGlobal(point), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(FView.viewport(), &move);
    return FView.viewport()->cursor().shape();
  };
  QRect link = FView.LabelRect(Node("http://example.org"));
  EXPECT_EQ(shapeAt(link.center()), Qt::PointingHandCursor);
  EXPECT_EQ(shapeAt(QPoint(link.right() + 40, link.center().y())), Qt::ArrowCursor);
  EXPECT_EQ(shapeAt(FView.LabelRect(Node("plain")).center()), Qt::ArrowCursor);
}

// Pixels of exactly this colour inside a node's row.
int CountColor(const QImage& image, QRect row, QColor color)
{
  int count = 0;
  for (int y = row.top(); y <= row.bottom(); ++y)
    for (int x = row.left(); x <= row.right(); ++x)
      if (image.pixelColor(x, y).rgb() == color.rgb())
        ++count;
  return count;
}

TEST_F(TreeView, DrawsLinksBlueUnderlinedAndFormulasInTheirColour)
{
  Load("http://example.org\r\nHTTP://example.org\r\nx=1\r\nplain\r\n");
  FView.setFont(QFont("Arial", 20));
  FView.SetFormuleColor(clPurple);
  FView.resize(400, 300);
  FView.show();
  auto draw = [&] {
    QImage image(FView.viewport()->size(), QImage::Format_RGB32);
    FView.viewport()->render(&image);
    return image;
  };
  auto row = [&](const char* text) { return FView.visualItemRect(Node(text)); };
  const QColor blue(0, 0, 255), purple(128, 0, 128);
  QImage image = draw();
  EXPECT_GT(CountColor(image, row("http://example.org"), blue), 20);
  EXPECT_EQ(CountColor(image, row("HTTP://example.org"), blue), 0);
  EXPECT_GT(CountColor(image, row("x=1"), purple), 0);
  EXPECT_EQ(CountColor(image, row("plain"), purple), 0);

  FView.SetColorFormulas(false);
  FView.SetSelected(Node("http://example.org")); // selected nodes are drawn the usual way
  image = draw();
  EXPECT_EQ(CountColor(image, row("x=1"), purple), 0);
  EXPECT_EQ(CountColor(image, row("http://example.org"), blue), 0);
}

TEST_F(TreeView, DropMovesTheSelectedNodeBeforeTheTarget)
{
  struct TCase {
    const char* Selected;
    const char* Target;
    const char* After;
  };
  const TCase cases[] = {
      {"c", "a", "c\r\na\r\n\tb\r\n\t\td\r\n"},
      {"d", "a", "d\r\na\r\n\tb\r\nc\r\n"},       // out of its parent, to the top level
      {"c", "b", "a\r\n\tc\r\n\tb\r\n\t\td\r\n"}, // into another parent
      {"a", "a", "a\r\n\tb\r\n\t\td\r\nc\r\n"},   // onto itself: nothing
      {"a", "d", "a\r\n\tb\r\n\t\td\r\nc\r\n"},   // into its own subtree: nothing
  };
  for (const TCase& c : cases) {
    Load("a\r\n\tb\r\n\t\td\r\nc\r\n");
    FView.SetSelected(Node(c.Selected));
    FView.MoveSelectedBefore(Node(c.Target));
    EXPECT_EQ(Text(), c.After) << c.Selected << " " << c.Target;
    EXPECT_EQ(FView.Selected(), Node(c.Selected));
  }
}

TEST_F(TreeView, DropsFromElsewhereAreRefused)
{
  Load("a\r\nb\r\n");
  FView.resize(300, 200);
  FView.show();
  FView.SetSelected(Node("b"));
  QMimeData data;
  data.setText("a");
  QPoint at = FView.LabelRect(Node("a")).center();
  QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(FView.viewport(), &enter);
  EXPECT_FALSE(enter.isAccepted());
  QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(FView.viewport(), &drop);
  EXPECT_FALSE(drop.isAccepted());
  EXPECT_EQ(Text(), "a\r\nb\r\n");
}

} // namespace
