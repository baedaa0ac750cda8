#include "EditorTestSupport.h"
#include "editor/EditSearch.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace edittest;

// The plain search the skip table must agree with: every position from left to right,
// matches do not overlap.
std::vector<int> BruteForce(const std::string& line, const std::string& pattern, bool matchCase,
                            bool wholeWords)
{
  auto fold = [&](unsigned char c) -> unsigned char {
    if (matchCase)
      return c;
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
      return c + 32;
    return c;
  };
  std::vector<int> found;
  const size_t m = pattern.size();
  for (size_t i = 0; i + m <= line.size();) {
    size_t k = 0;
    while (k < m && fold(line[i + k]) == fold(pattern[k]))
      ++k;
    bool ok = k == m;
    if (ok && wholeWords) {
      ok = (i == 0 || TtxEditSearch::IsDelimiter(line[i - 1])) &&
           (i + m == line.size() || TtxEditSearch::IsDelimiter(line[i + m]));
    }
    if (ok) {
      found.push_back(int(i) + 1);
      i += m;
    } else {
      ++i;
    }
  }
  return found;
}

std::vector<int> SkipTable(TtxEditSearch& search, const std::string& line)
{
  std::vector<int> found;
  for (int i = 0, n = search.FindAllInLine(line); i < n; ++i)
    found.push_back(search.MatchColumn(i));
  return found;
}

TEST(EditSearch, FindsTheDocumentedMatches)
{
  struct TCase {
    const char* Pattern;
    const char* Line;
    bool MatchCase, WholeWords;
    std::vector<int> Columns;
  } cases[] = {
      {"aa", "aaaa", false, false, {1, 3}},
      {"aa", "baaba", false, false, {2}},
      {"ab", "ab abc ab", false, true, {1, 8}},
      {"HTML", "html Html HTML", false, false, {1, 6, 11}},
      {"HTML", "html Html HTML", true, false, {11}},
      {"x", "", false, false, {}},
      {"abc", "ab", false, false, {}},
      {"\xC9t\xE9", "\xE9T\xC9", false, false, {1}},
  };
  TtxEditSearch search;
  for (const auto& c : cases) {
    search.SetPattern(c.Pattern);
    search.SetCaseSensitive(c.MatchCase);
    search.SetWholeWords(c.WholeWords);
    EXPECT_EQ(SkipTable(search, c.Line), c.Columns) << c.Pattern << " in " << c.Line;
  }
  EXPECT_EQ(search.MatchColumn(5), 0);
  EXPECT_THROW(search.SetPattern(""), ELumoraError);
}

TEST(EditSearch, AgreesWithAPlainSearchOnRandomText)
{
  std::mt19937 random(7);
  const char alphabet[] = "aAbB .c";
  TtxEditSearch search;
  for (int round = 0; round < 20000; ++round) {
    std::string line, pattern;
    for (int i = int(random() % 40); i > 0; --i)
      line += alphabet[random() % 7];
    for (int i = int(random() % 4) + 1; i > 0; --i)
      pattern += alphabet[random() % 7];
    bool matchCase = random() % 2, wholeWords = random() % 2;
    search.SetCaseSensitive(matchCase);
    search.SetPattern(pattern);
    search.SetWholeWords(wholeWords);
    ASSERT_EQ(SkipTable(search, line), BruteForce(line, pattern, matchCase, wholeWords))
        << "'" << pattern << "' in '" << line << "' case " << matchCase << " whole " << wholeWords;
  }
}

TEST(EditSearch, ShiftMatchesMovesTheLaterResults)
{
  TtxEditSearch search;
  search.SetPattern("ab");
  search.FindAllInLine("ab ab ab");
  search.ShiftMatches(1, -2);
  EXPECT_EQ(search.MatchColumn(0), 1);
  EXPECT_EQ(search.MatchColumn(1), 6);
  EXPECT_EQ(search.MatchColumn(2), 9);
  EXPECT_EQ(search.MatchCount(), 3);
}

TEST(SearchAndReplace, FindSelectsTheMatch)
{
  struct TCase {
    const char* Name;
    std::vector<std::string> Lines;
    TPoint Caret;
    const char* Search;
    TSearchOptions Options;
    int Count;
    TPoint Anchor, End, ExpectedCaret;
  } cases[] = {
      {"forward from the caret", {"ab ab ab"}, {2, 1}, "ab", 0, 1, {4, 1}, {6, 1}, {6, 1}},
      {"backward from the caret",
       {"ab ab ab"},
       {5, 1},
       "ab",
       SearchBackwards,
       1,
       {1, 1},
       {3, 1},
       {1, 1}},
      {"only match before the caret", {"ab cd"}, {3, 1}, "ab", 0, 0, {3, 1}, {3, 1}, {3, 1}},
      {"whole range", {"ab cd"}, {3, 1}, "ab", SearchWholeRange, 1, {1, 1}, {3, 1}, {3, 1}},
      {"on a later line", {"x", "yy AB"}, {1, 1}, "ab", 0, 1, {4, 2}, {6, 2}, {6, 2}},
      {"case", {"AB ab"}, {1, 1}, "ab", SearchMatchCase, 1, {4, 1}, {6, 1}, {6, 1}},
      {"whole words", {"abc ab"}, {1, 1}, "ab", SearchWholeWords, 1, {5, 1}, {7, 1}, {7, 1}},
  };
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    Fill(editor, c.Lines);
    Goto(editor, c.Caret.X, c.Caret.Y);
    EXPECT_EQ(editor.SearchAndReplace(c.Search, "", c.Options), c.Count) << c.Name;
    EXPECT_EQ(editor.SelAnchor(), c.Anchor) << c.Name;
    EXPECT_EQ(editor.SelEnd(), c.End) << c.Name;
    EXPECT_EQ(editor.CaretXY(), c.ExpectedCaret) << c.Name;
    EXPECT_EQ(LinesOf(editor), c.Lines) << c.Name;
  }
}

TEST(SearchAndReplace, Replaces)
{
  struct TCase {
    const char* Name;
    std::vector<std::string> Lines;
    const char* Search;
    const char* Replace;
    TSearchOptions Options;
    int Count;
    std::vector<std::string> Expected;
  } cases[] = {
      {"one", {"a cat, a cat"}, "cat", "dog", SearchReplaceOne, 1, {"a dog, a cat"}},
      {"all", {"a cat, a cat", "cat"}, "cat", "dog", SearchReplaceAll, 3, {"a dog, a dog", "dog"}},
      {"all, shorter", {"aaaa"}, "a", "", SearchReplaceAll, 4, {""}},
      {"all, containing itself", {"ab ab"}, "ab", "abab", SearchReplaceAll, 2, {"abab abab"}},
      {"all, with line breaks", {"a;b;c"}, ";", "\r\n", SearchReplaceAll, 2, {"a", "b", "c"}},
      {"all, whole words and case",
       {"Ab ab abc"},
       "ab",
       "X",
       SearchReplaceAll | SearchMatchCase | SearchWholeWords,
       1,
       {"Ab X abc"}},
      {"all, backwards",
       {"ab ab", "ab"},
       "ab",
       "xyz",
       SearchReplaceAll | SearchBackwards | SearchWholeRange,
       3,
       {"xyz xyz", "xyz"}},
  };
  for (const auto& c : cases) {
    TtxCustomEdit editor;
    Fill(editor, c.Lines);
    EXPECT_EQ(editor.SearchAndReplace(c.Search, c.Replace, c.Options), c.Count) << c.Name;
    EXPECT_EQ(LinesOf(editor), c.Expected) << c.Name;
    editor.SetMaxUndo(100);
  }
}

TEST(SearchAndReplace, ReplaceAllAsksNoMoreAfterReplaceAllWasChosen)
{
  TtxCustomEdit editor;
  Fill(editor, {"x x x x"});
  std::vector<int> asked;
  editor.OnReplaceText = [&](const std::string& search, const std::string& replace, int line,
                             int column, TtxReplaceAction& action) {
    EXPECT_EQ(search, "x");
    EXPECT_EQ(replace, "y");
    EXPECT_EQ(line, 1);
    asked.push_back(column);
    action = asked.size() == 1 ? raSkip : raReplaceAll;
  };
  EXPECT_EQ(editor.SearchAndReplace("x", "y", SearchReplaceOne), 4);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"x y y y"});
  EXPECT_EQ(asked, (std::vector<int>{1, 3}));
  // Cancel stops at once; replace-all is done without asking.
  asked.clear();
  editor.SetCaretXY({1, 1});
  editor.OnReplaceText = [&](const std::string&, const std::string&, int, int column,
                             TtxReplaceAction& action) {
    asked.push_back(column);
    action = raCancel;
  };
  EXPECT_EQ(editor.SearchAndReplace("y", "z", SearchReplaceOne), 1);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"x y y y"});
  EXPECT_EQ(editor.SearchAndReplace("y", "z", SearchReplaceAll | SearchWholeRange), 3);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"x z z z"});
  EXPECT_EQ(asked.size(), 1u);
}

TEST(SearchAndReplace, SelectionOnly)
{
  TtxCustomEdit editor;
  Fill(editor, {"ab ab ab", "ab ab ab"});
  editor.SetSelAnchor({4, 1});
  editor.SetSelEnd({6, 2});
  EXPECT_EQ(editor.SearchAndReplace("ab", "X", SearchReplaceAll | SearchSelectionOnly), 4);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"ab X X", "X X ab"}));
  editor.SetText("ab ab ab\nab ab ab");
  editor.SetSelectionMode(smColumn);
  editor.SetSelAnchor({3, 1});
  editor.SetSelEnd({6, 2});
  EXPECT_EQ(editor.SearchAndReplace("ab", "X", SearchReplaceAll | SearchSelectionOnly), 2);
  EXPECT_EQ(LinesOf(editor), (std::vector<std::string>{"ab X ab", "ab X ab"}));
  EXPECT_EQ(editor.SearchAndReplace("", "X", SearchReplaceAll), 0);
}

// Lines still in the loaded file are searched as one piece; edited lines, every kind of line
// end and whole words at line starts must come out as a line-by-line search finds them.
TEST(SearchAndReplace, FindsWhatALineByLineSearchFinds)
{
  std::mt19937 random(11);
  const char* ends[] = {"\n", "\r\n", "\r"};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int i = int(random() % 8); i >= 0; --i) {
      for (int j = int(random() % 10); j > 0; --j)
        text += "ab .A"[random() % 5];
      text += ends[random() % 3];
    }
    TtxCustomEdit editor;
    editor.SetText(text);
    if (random() % 2) {
      Goto(editor, 1, int(random() % 4) + 1);
      editor.RunCommand(ecChar, 'a', nullptr);
    }
    std::string pattern = random() % 2 ? "ab" : "a";
    const bool whole = random() % 2, matchCase = random() % 2;
    std::vector<std::pair<int, int>> expected; // (line, column)
    for (int y = 1; y <= editor.LineCount(); ++y)
      for (int column : BruteForce(std::string(editor.LineText(y)), pattern, matchCase, whole))
        expected.push_back({y, column});
    TSearchOptions options =
        SearchWholeRange | (whole ? SearchWholeWords : 0) | (matchCase ? SearchMatchCase : 0);
    const int found = editor.SearchAndReplace(pattern, "", options);
    ASSERT_EQ(found, expected.empty() ? 0 : 1) << text;
    if (!expected.empty()) {
      ASSERT_EQ(editor.SelAnchor(), (TPoint{expected[0].second, expected[0].first})) << text;
    }
    ASSERT_EQ(editor.SearchAndReplace(pattern, "#", options | SearchReplaceAll),
              int(expected.size()))
        << text;
  }
}

TEST(SearchAndReplace, EachReplacementUndoesInTwoSteps)
{
  TtxCustomEdit editor;
  Fill(editor, {"a cat"});
  editor.SearchAndReplace("cat", "dog", SearchReplaceOne);
  EXPECT_EQ(editor.UndoList().Count(), 2);
  editor.RunCommand(ecUndo, 0, nullptr);
  editor.RunCommand(ecUndo, 0, nullptr);
  EXPECT_EQ(LinesOf(editor), std::vector<std::string>{"a cat"});
}

} // namespace
