// Names found in pages turned into file paths, and the history and visited lists on their own.
#include "html/viewer/SourceName.h"
#include "html/viewer/ViewerHistory.h"
#include "html/viewer/VisitedList.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(SourceName, UrlsBecomePaths)
{
  struct Case {
    const char* Name;
    const char* Expected;
  };
  const Case cases[] = {
      {"my%20song.wav", "my song.wav"},
      {"%41bc", "%41bc"},     // a number sign at the start stops the decoding
      {"a%2", "a%2"},         // too short
      {"a%zz%41", "a%zz%41"}, // not hexadecimal: the rest stays as written
      {"a%41%42", "aAB"},
      {"file:///home/x.htm", "/home/x.htm"},
      {"FILE://host/x.htm", "host/x.htm"},
      {"c|/dir/x.htm", "c:/dir/x.htm"},
      {"dir\\sub\\x.htm", "dir/sub/x.htm"},
      {"file:x.htm", "file:x.htm"}, // no separator: left alone
  };
  for (const Case& c : cases)
    EXPECT_EQ(sourcename::UrlToPath(c.Name), c.Expected) << c.Name;
}

TEST(SourceName, ResolveAgainstRootBaseOrDocument)
{
  std::string dir = QDir::cleanPath(testsupport::TempDir()).toStdString();
  testsupport::WriteFile(QString::fromStdString(dir), "base/x.htm", "x");
  std::string doc = dir + "/docs/page.htm";
  struct Case {
    std::string Name;
    sourcename::TResolveContext Context;
    std::string Expected;
  };
  const Case cases[] = {
      {" pic.gif\t", {"", "", doc}, dir + "/docs/pic.gif"},
      {"../up.gif", {"", "", doc}, dir + "/up.gif"},
      {"/abs/x.gif", {"", "", doc}, "/abs/x.gif"},
      {"/abs/x.gif", {dir + "/root", "", doc}, dir + "/root/abs/x.gif"},
      {"x.gif", {"", "file://" + dir + "/base/", doc}, dir + "/base/x.gif"},
      {"x.gif", {"", dir + "/base", doc}, dir + "/base/x.gif"}, // a folder without slash
      {"x.gif", {"", dir + "/base/x.htm", doc}, dir + "/base/x.gif"},
      {"", {"", "", doc}, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(sourcename::Resolve(c.Name, c.Context), c.Expected) << c.Name;
  std::string cwd = QDir::currentPath().toStdString();
  EXPECT_EQ(sourcename::Resolve("x.gif", {"", "DosPath", doc}), cwd + "/x.gif");
}

TEST(SourceName, SplitAnchorAtTheFirstNumberSign)
{
  std::string file, anchor;
  sourcename::SplitAnchor("a.htm#one#two", file, anchor);
  EXPECT_EQ(file, "a.htm");
  EXPECT_EQ(anchor, "one#two");
  sourcename::SplitAnchor("a.htm", file, anchor);
  EXPECT_EQ(anchor, "");
}

THistoryItem Item(const std::string& name, int32_t pos, uint8_t kind = 0)
{
  return THistoryItem{name, "title " + name, PositionObj{pos, kind}};
}

TEST(ViewerHistory, RecordsRewritesAndTrims)
{
  TViewerHistory h;
  EXPECT_FALSE(h.Record(Item("", 0), Item("a", 0))); // off while the limit is 0
  h.SetMaxCount(3);
  EXPECT_TRUE(h.Record(Item("", 0), Item("a", 0)));
  EXPECT_FALSE(h.Record(Item("a", 0), Item("a", 0))); // nothing changed
  EXPECT_TRUE(h.Record(Item("a", 70), Item("b", 0)));
  EXPECT_EQ(h.Items(1).Position.Pos, 70); // the page left keeps where the reader was
  EXPECT_TRUE(h.Record(Item("b", 5), Item("b", 900)));
  EXPECT_TRUE(h.Record(Item("b", 900), Item("c", 0, 1)));
  ASSERT_EQ(h.Count(), 3);
  EXPECT_EQ(h.Items(2).Position.Pos, 5);
  h.SetIndex(1);
  EXPECT_TRUE(h.Record(Item("b", 1), Item("d", 0)));
  ASSERT_EQ(h.Count(), 3); // c, in front of the index, went
  EXPECT_EQ(h.Items(0).Name, "d");
  EXPECT_EQ(h.Items(1).Name, "b");
  EXPECT_FALSE(h.SetMaxCount(-1));
  EXPECT_FALSE(h.SetMaxCount(4)); // larger: kept
  EXPECT_EQ(h.Count(), 3);
  EXPECT_TRUE(h.SetMaxCount(1)); // smaller: emptied
  EXPECT_EQ(h.Count(), 0);
}

TEST(VisitedList, MostRecentFirstWithinTheLimit)
{
  TVisitedList v;
  v.SetMaxCount(3);
  EXPECT_TRUE(v.Add("a"));
  EXPECT_TRUE(v.Add("b"));
  EXPECT_FALSE(v.Add("b")); // already first
  EXPECT_FALSE(v.Add("a")); // moves to the front
  EXPECT_EQ(v.All(), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(v.Add("c"));
  EXPECT_TRUE(v.Add("d"));
  EXPECT_EQ(v.All(), (std::vector<std::string>{"d", "c", "a"}));
  EXPECT_TRUE(v.Contains("C"));
  v.SetMaxCount(-4);
  EXPECT_EQ(v.MaxCount(), 0);
  EXPECT_EQ(v.Count(), 0);
  EXPECT_FALSE(v.Add("e"));
  EXPECT_FALSE(v.Add(""));
}

} // namespace
