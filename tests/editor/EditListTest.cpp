#include "editor/EditList.h"
#include "EditorTestSupport.h"
#include "editor/HTMLHighlighter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using namespace edittest;

using testsupport::ReadFile;

TEST(EditList, LoadedAndSavedUnchangedIsByteIdentical)
{
  const std::string cases[] = {
      "",
      "\n",
      "one line",
      "a\r\nb\r\n",
      "a\nb",
      "a\rb\r",
      "mixed\r\nends\nand\rmore\r\n\r\n",
      "\r\n\r\n\n",
      std::string("nul\0byte\r\n\xff\xfe\x01", 14),
      "\xef\xbb\xbfUTF-8 with BOM \xc3\xa9\n",
      std::string("u\0t\0f\0-\0\x31\0\x36\0\r\0\n\0", 20),
  };
  const QString dir = testsupport::TempDir();
  for (const auto& bytes : cases) {
    const std::string in = testsupport::WriteFile(dir, "in.txt", bytes);
    TtxEditList list;
    list.LoadFromFile(in);
    EXPECT_FALSE(list.loading);
    const std::string out = dir.toStdString() + "/out.txt";
    list.SaveToFile(out);
    EXPECT_EQ(ReadFile(out), bytes);
    EXPECT_EQ(list.Text(), bytes);
  }
}

TEST(EditList, SplitsAtEveryKindOfLineEnd)
{
  struct TCase {
    const char* Bytes;
    std::vector<std::string> Lines;
  } cases[] = {
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\n", {"a"}},
      {"a\n\n", {"a", ""}},
      {"\r\r", {"", ""}},
  };
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    editor.SetText(c.Bytes);
    EXPECT_EQ(LinesOf(editor), c.Lines) << c.Bytes;
  }
}

TEST(EditList, NewLinesTakeTheTextsLineEnd)
{
  TtxCustomEdit editor;
  editor.SetText("a\nb\n");
  Goto(editor, 2, 1);
  editor.RunCommand(ecLineBreak, 0, nullptr);
  editor.RunCommand(ecEditorBottom, 0, nullptr);
  editor.RunCommand(ecLineBreak, 0, nullptr);
  Type(editor, "c");
  EXPECT_EQ(editor.Lines().Text(), "a\n\nb\nc\n");
  TtxCustomEdit fresh;
  Type(fresh, "x");
  fresh.RunCommand(ecLineBreak, 0, nullptr);
  Type(fresh, "y");
  EXPECT_EQ(fresh.Lines().Text(), "x\r\ny");
}

TEST(EditList, ClearLeavesOneLineExceptWhileLoading)
{
  TtxEditList list;
  EXPECT_EQ(list.Count(), 1);
  list.Add("x");
  list.Clear();
  EXPECT_EQ(list.Count(), 1);
  list.loading = true;
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  list.loading = false;
  EXPECT_THROW(list.LoadFromFile("/no/such/file"), ELumoraError);
  EXPECT_FALSE(list.loading);
}

TEST(EditList, UnreadableFilesLeaveTheLinesAsTheyWere)
{
  TtxEditList list;
  list.SetText("kept\nlines");
  for (const std::string name : {"/no/such/file", "/tmp"}) {
    try {
      list.LoadFromFile(name);
      ADD_FAILURE() << name << " loaded";
    } catch (const ELumoraError& e) {
      EXPECT_EQ(std::string(e.what()), "Can't load: " + name);
    }
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Strings(0), "kept");
    EXPECT_FALSE(list.loading);
  }
}

TEST(EditList, HooksFireAfterEachChange)
{
  TtxEditList list;
  std::vector<std::string> log;
  list.AfterAdd = [&](TtxEditList& l) { log.push_back("add " + std::to_string(l.Count())); };
  list.AfterDelete = [&](int i) { log.push_back("delete " + std::to_string(i)); };
  list.AfterInsert = [&](int i) { log.push_back("insert " + std::to_string(i)); };
  list.AfterReplace = [&](int i) {
    log.push_back("replace " + std::to_string(i) + " " + std::string(list.Strings(i)));
  };
  list.AfterSetText = [&](TtxEditList& l) { log.push_back("text " + std::to_string(l.Count())); };
  list.Add("a");
  list.Insert(0, "b");
  list.Put(1, "c");
  list.Delete(0);
  list.SetText("x\ny\nz");
  EXPECT_EQ(log,
            (std::vector<std::string>{"add 2", "insert 0", "replace 1 c", "delete 0", "text 3"}));
}

// The range at the start of every line is kept, and a change rescans only as far as the range
// it leaves behind differs from the one stored.
TEST(EditList, RangesAreRescannedOnlyAsFarAsAChangeCarries)
{
  TtxHTMLHighlighter html;
  TtxCustomEdit editor;
  editor.SetHighLighter(&html);
  std::vector<std::string> lines = {"<p>", "text", "<!- x", "a", "b", "-->", "c", "d"};
  Fill(editor, lines);
  auto ranges = [&] {
    std::vector<int> r;
    for (int i = 0; i < editor.LineCount(); ++i)
      r.push_back(editor.Lines().Objects(i));
    return r;
  };
  // "<!-" is a tag that the line "-->" closes.
  const std::vector<int> before = {RangeText,      RangeText,      RangeText, RangeTagInside,
                                   RangeTagInside, RangeTagInside, RangeText, RangeText};
  EXPECT_EQ(ranges(), before);
  Goto(editor, 4, 3);
  editor.RescannedLines = 0;
  Type(editor, "-"); // "<!--" opens a comment that "-->" closes three lines down
  EXPECT_EQ(ranges(), (std::vector<int>{RangeText, RangeText, RangeText, RangeComment, RangeComment,
                                        RangeComment, RangeText, RangeText}));
  EXPECT_EQ(editor.RescannedLines, 4);
  editor.RescannedLines = 0;
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(ranges(), before);
  EXPECT_EQ(editor.RescannedLines, 4);
  editor.RescannedLines = 0;
  Goto(editor, 1, 8);
  Type(editor, "<");
  EXPECT_EQ(editor.RescannedLines, 1);
  editor.RunCommand(ecLineBreak, 0, nullptr);
  EXPECT_EQ(editor.Lines().Objects(8), RangeTagName);
}

} // namespace
