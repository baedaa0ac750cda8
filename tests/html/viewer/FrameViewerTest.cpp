#include "html/viewer/FrameViewer.h"
#include "html/viewer/FrameSet.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TViewerTest : ::testing::Test {
  TViewerTest()
  {
    viewer.SetHistoryMaxCount(50);
    viewer.OnHistoryChange = [this](QObject* sender) {
      ++changes;
      EXPECT_EQ(sender, &viewer);
    };
  }
  std::string File(const std::string& name, const std::string& text = "text")
  {
    return testsupport::WriteFile(dir, name, text);
  }
  QString dir = testsupport::TempDir();
  TFrameViewer viewer;
  int changes = 0;
};

TEST_F(TViewerTest, MissingFileRaisesWithTheNameAsGiven)
{
  struct Case {
    std::string Name;
  };
  const Case cases[] = {{(dir + "/none.htm").toStdString()},
                        {(dir + "/none.htm#part").toStdString()},
                        {dir.toStdString()}, // a directory is not a file
                        {""}};
  for (const Case& c : cases) {
    try {
      viewer.LoadFromFile(c.Name);
      ADD_FAILURE() << "no error for " << c.Name;
    } catch (const EViewerError& e) {
      EXPECT_EQ(e.Message(), "Can't locate file: " + c.Name);
    }
  }
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(viewer.DocumentName().empty());
}

TEST_F(TViewerTest, AnchorIsStrippedToFindTheFile)
{
  std::string page = File("p.htm", "<A NAME=\"x\">here</A>");
  viewer.LoadFromFile(page + "#x");
  EXPECT_EQ(viewer.DocumentName(), page);
  EXPECT_EQ(changes, 1);
}

TEST_F(TViewerTest, LoadImageFileIgnoresOtherNames)
{
  std::string text = File("a.htm");
  viewer.LoadImageFile(text);
  EXPECT_TRUE(viewer.DocumentName().empty());
  std::string image = File("pic.JPEG", "not really a picture");
  viewer.LoadImageFile(image);
  EXPECT_EQ(viewer.DocumentName(), image);
  EXPECT_TRUE(viewer.ShowsImage()); // a broken image shows an empty page, no error
}

TEST_F(TViewerTest, HistoryDropsForwardEntriesAndKeepsTheLimit)
{
  std::string a = File("a.htm"), b = File("b.htm"), c = File("c.htm");
  viewer.SetHistoryMaxCount(2);
  viewer.LoadFromFile(a);
  viewer.LoadFromFile(b);
  viewer.LoadFromFile(c);
  viewer.StepBack();
  EXPECT_EQ(viewer.DocumentName(), b);
  EXPECT_FALSE(viewer.BackButtonEnabled()); // a fell off the end
  viewer.StepBack();                        // nothing to step to
  EXPECT_EQ(viewer.DocumentName(), b);
  viewer.LoadFromFile(a); // drops c, the forward entry
  EXPECT_FALSE(viewer.FwdButtonEnabled());
  viewer.StepBack();
  EXPECT_EQ(viewer.DocumentName(), b);
  viewer.StepForward();
  EXPECT_EQ(viewer.DocumentName(), a);
}

TEST_F(TViewerTest, NoHistoryWhenTheLimitIsZero)
{
  viewer.SetHistoryMaxCount(0);
  int before = changes;
  viewer.LoadFromFile(File("a.htm"));
  viewer.LoadFromFile(File("b.htm"));
  EXPECT_FALSE(viewer.BackButtonEnabled());
  EXPECT_EQ(changes, before);
  viewer.SetHistoryMaxCount(-3); // ignored
  EXPECT_EQ(viewer.HistoryMaxCount(), 0);
}

} // namespace
