#include "ModelTestSupport.h"

#include "html/model/HorzLine.h"
#include "html/model/ListItem.h"
#include "html/model/ParagraphSpace.h"
#include "html/model/SelTextCount.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

TEST_F(ModelTest, CopiesTheTextOfTwoSections)
{
  AddText("Hello world");
  List.Add(std::make_unique<TParagraphSpace>(&Doc));
  AddText("Second part");
  LayoutAt(1000);
  Doc.SelStartPos = 6;
  Doc.SelEndPos = 11 + 6;
  EXPECT_EQ(List.CopySelection(), "world\r\n\r\nSecond");
}

TEST_F(ModelTest, CopyGivesTheTextAndLeavesTheClipboardToTheViewer)
{
  AddText("clip me");
  LayoutAt(1000);
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  Doc.SelStartPos = 0;
  Doc.SelEndPos = 4;
  EXPECT_EQ(List.CopySelection(), "clip");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
}

TEST_F(ModelTest, NothingIsCopiedWithoutASelection)
{
  AddText("text");
  LayoutAt(1000);
  Doc.SelStartPos = Doc.SelEndPos = 2;
  EXPECT_EQ(List.CopySelection(), "");
}

TEST_F(ModelTest, SpacingItemsInsideTheSelectionAddLineEnds)
{
  AddText("a");
  List.Add(std::make_unique<THeadingSpace>(&Doc, 1));
  List.Add(std::make_unique<THorzLine>(&Doc));
  AddText("b");
  List.Add(std::make_unique<TParagraphSpace>(&Doc)); // outside the selection
  AddText("c");
  LayoutAt(1000);
  Doc.SelStartPos = 0;
  Doc.SelEndPos = 2;
  EXPECT_EQ(List.CopySelection(), "a\r\n\r\n\r\nb\r\n");
}

TEST_F(ModelTest, ListIndentBecomesThreeSpacesPer35Pixels)
{
  AddText("top");
  for (int level : {1, 2}) {
    auto item = std::make_unique<TUListItem>(&Doc, TUrlTarget(), Font(), level);
    Append(*item, "item" + std::to_string(level));
    List.Add(std::move(item));
  }
  LayoutAt(1000);
  Doc.SelStartPos = 0;
  Doc.SelEndPos = List.CursorCount;
  EXPECT_EQ(List.CopySelection(), "top\r\n   item1\r\n      item2\r\n");
}

TEST_F(ModelTest, CopyStopsAtTheClipboardLimit)
{
  AddText(std::string(40000, 'x'));
  LayoutAt(1000);
  Doc.SelStartPos = 0;
  Doc.SelEndPos = List.CursorCount;
  std::string copied = List.CopySelection();
  EXPECT_EQ(copied.size(), 32499u);
}

TEST_F(ModelTest, TheClipboardLimitNeverCutsAUtf8Character)
{
  struct TCase {
    const char* Name;
    bool Utf8;
    size_t Copied;
  } cases[] = {
      // 32498 bytes of x, then three-byte characters: the limit falls after the first byte of
      // the first of them.
      {"UTF-8 leaves the cut character out", true, 32498},
      {"single-byte takes bytes up to the limit", false, 32499},
  };
  for (const auto& c : cases) {
    List.Clear();
    Doc.Utf8 = c.Utf8;
    std::string text(32498, 'x');
    for (int i = 0; i < 10; ++i)
      text += "\xe4\xb8\xad";
    AddText(text);
    LayoutAt(1000);
    Doc.SelStartPos = 0;
    Doc.SelEndPos = List.CursorCount;
    EXPECT_EQ(List.CopySelection().size(), c.Copied) << c.Name;
  }
}

TEST(SelectedText, CollectorsSkipPlaceholdersAndRespectTheBuffer)
{
  SelTextCount count;
  count.AddText("a\2b\4c", 5);
  count.AddTextCR("d", 1);
  EXPECT_EQ(count.Terminate(), 6);

  char buf[5] = {};
  SelTextBuf small(buf, 5);
  small.AddText("a\4bcdef", 7);
  EXPECT_EQ(small.Terminate(), 5);
  EXPECT_STREQ(buf, "abcd");
}

} // namespace
