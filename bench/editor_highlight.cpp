// The source editor on a 20 MB HTML file, side by side with QScintilla's HTML lexer: loading
// with every line highlighted, one typed character near the top that opens a comment and its
// undo (with the lines our range upkeep rescans), memory per file byte, and a search for a
// word the file does not hold against memmem over the same bytes.
#include "support/Timing.h"

#include "editor/CustomEdit.h"
#include "editor/HTMLHighlighter.h"

#include <QApplication>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <string>

namespace {

using benchutil::BestOf;
using benchutil::Ratio;
using benchutil::Report;
using benchutil::Stopwatch;

// The line the edit goes into, and the column where typing "-" turns "<!-" into "<!--".
constexpr int EditLine = 3;
constexpr const char* EditLineText = "<p class=start>before <!- after</p>";

struct TRandom {
  uint32_t State;
  uint32_t Next(uint32_t n)
  {
    State = State * 1664525u + 1013904223u;
    return (State >> 8) % n;
  }
};

// HTML source: nested blocks with attributes, text with entities, links, comments spanning
// lines and server-script blocks, until the text holds targetBytes.
std::string SourceDocument(size_t targetBytes)
{
  static const char* const words[] = {"alpha", "beta",  "gamma", "delta", "text",  "with",
                                      "some",  "words", "and",   "more",  "lines", "here"};
  static const char* const entities[] = {"&amp;", "&lt;", "&gt;", "&copy;", "&nbsp;", "&eacute;"};
  TRandom r{42};
  std::string out = "<html>\r\n<body bgcolor=\"#ffffff\">\r\n";
  out += EditLineText;
  out += "\r\n";
  int depth = 0;
  while (out.size() < targetBytes) {
    std::string indent(size_t(depth) * 2, ' ');
    switch (r.Next(12)) {
    case 0:
      if (depth < 8) {
        out += indent + "<div class=\"c" + std::to_string(r.Next(50)) + "\" id=d" +
               std::to_string(r.Next(1000)) + ">\r\n";
        ++depth;
      }
      break;
    case 1:
      if (depth > 0) {
        --depth;
        out += std::string(size_t(depth) * 2, ' ') + "</div>\r\n";
      }
      break;
    case 2:
      out += indent + "<!-- a comment that\r\n" + indent + "   runs over " +
             std::to_string(r.Next(9) + 2) + " lines\r\n" + indent + "-->\r\n";
      break;
    case 3: out += indent + "<% if x then %>server block<% end if %>\r\n"; break;
    case 4:
      out += indent + "<a href=\"page" + std::to_string(r.Next(500)) + ".htm\">" +
             words[r.Next(12)] + "</a> " + entities[r.Next(6)] + " " + words[r.Next(12)] + "\r\n";
      break;
    default: {
      std::string line = indent + "<p align=center>";
      for (int i = int(r.Next(8)) + 3; i > 0; --i) {
        line += words[r.Next(12)];
        line += r.Next(5) == 0 ? std::string(" ") + entities[r.Next(6)] + " " : " ";
      }
      out += line + "<b>" + words[r.Next(12)] + "</b></p>\r\n";
    }
    }
  }
  return out + "</body>\r\n</html>\r\n";
}

size_t HeapInUse()
{
  struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

volatile size_t Sink = 0;

void Ours(const std::string& html, double& load, double& edit, double& undo, long long& editLines,
          long long& undoLines, double& search, double& searchAll)
{
  TtxHTMLHighlighter highlighter;
  auto editor = std::make_unique<TtxCustomEdit>();
  editor->SetHighLighter(&highlighter);
  editor->SetVisibleCells(80, 40);
  load = BestOf(3, [&] { editor->SetText(html); });
  const int column = int(std::strstr(EditLineText, "<!-") - EditLineText) + 4;
  TPoint at{column, EditLine};
  editor->RunCommand(ecGotoXY, 0, &at);
  editor->RescannedLines = 0;
  Stopwatch typed;
  editor->RunCommand(ecChar, '-', nullptr);
  edit = typed.Ms();
  editLines = editor->RescannedLines;
  editor->RescannedLines = 0;
  Stopwatch undone;
  editor->RunCommand(ecUndo, 0, nullptr);
  undo = undone.Ms();
  undoLines = editor->RescannedLines;
  TtxEditSearch& engine = editor->Search();
  engine.SetPattern("zqxwvj");
  engine.SetCaseSensitive(true);
  search = BestOf(3, [&] {
    size_t found = 0;
    const TtxEditList& lines = editor->Lines();
    for (int i = 0; i < lines.Count(); ++i)
      found += size_t(engine.FindAllInLine(lines.Strings(i)));
    Sink = Sink + found;
  });
  searchAll = BestOf(3, [&] {
    Sink =
        Sink + size_t(editor->SearchAndReplace("zqxwvj", "", SearchMatchCase | SearchWholeRange));
  });
}

void Scintilla(const std::string& html, double& load, double& setText, double& edit, double& undo,
               double& editVisible)
{
  QsciScintilla sci;
  QsciLexerHTML lexer;
  sci.setLexer(&lexer);
  const QString text = QString::fromLatin1(html.data(), qsizetype(html.size()));
  load = BestOf(3, [&] {
    Stopwatch w;
    sci.setText(text);
    setText = w.Ms();
    sci.SendScintilla(QsciScintilla::SCI_COLOURISE, 0L, -1L);
  });
  const long pos = long(sci.positionFromLineIndex(
      EditLine - 1, int(std::strstr(EditLineText, "<!-") - EditLineText) + 3));
  Stopwatch typed;
  sci.SendScintilla(QsciScintilla::SCI_INSERTTEXT, (unsigned long)pos, "-");
  sci.SendScintilla(QsciScintilla::SCI_COLOURISE, 0L, -1L);
  edit = typed.Ms();
  Stopwatch undone;
  sci.SendScintilla(QsciScintilla::SCI_UNDO);
  sci.SendScintilla(QsciScintilla::SCI_COLOURISE, 0L, -1L);
  undo = undone.Ms();
  // What a screen needs at once: the lines down to the bottom of a 40-line window.
  const long screenEnd = long(sci.positionFromLineIndex(EditLine + 40, 0));
  Stopwatch visible;
  sci.SendScintilla(QsciScintilla::SCI_INSERTTEXT, (unsigned long)pos, "-");
  sci.SendScintilla(QsciScintilla::SCI_COLOURISE, 0L, screenEnd);
  editVisible = visible.Ms();
}

void Memory(const std::string& html)
{
  malloc_trim(0);
  size_t before = HeapInUse();
  {
    TtxHTMLHighlighter highlighter;
    TtxCustomEdit editor;
    editor.SetHighLighter(&highlighter);
    editor.SetText(html);
    size_t ours = HeapInUse() - before;
    std::printf("  %-44s %10.2f bytes per file byte   target <= 2\n",
                "our editor, loaded and highlighted", double(ours) / double(html.size()));
  }
  malloc_trim(0);
  before = HeapInUse();
  {
    QsciScintilla sci;
    QsciLexerHTML lexer;
    sci.setLexer(&lexer);
    sci.setText(QString::fromLatin1(html.data(), qsizetype(html.size())));
    sci.SendScintilla(QsciScintilla::SCI_COLOURISE, 0L, -1L);
    std::printf("  %-44s %10.2f bytes per file byte\n", "QScintilla, loaded and styled",
                double(HeapInUse() - before) / double(html.size()));
  }
}

} // namespace

int main(int argc, char** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const std::string html = SourceDocument(20u << 20);
  std::printf("editor on %.1f MB of HTML source\n", double(html.size()) / (1 << 20));
  double load, edit, undo, search, searchAll;
  long long editLines, undoLines;
  Ours(html, load, edit, undo, editLines, undoLines, search, searchAll);
  double sciLoad, sciSetText, sciEdit, sciUndo, sciVisible;
  Scintilla(html, sciLoad, sciSetText, sciEdit, sciUndo, sciVisible);
  const double memmemMs = BestOf(
      3, [&] { Sink = Sink + size_t(memmem(html.data(), html.size(), "zqxwvj", 6) != nullptr); });
  Report("ours: load + highlight every line", load);
  Report("QScintilla: setText + colourise all", sciLoad);
  Report("QScintilla: setText alone", sciSetText);
  Ratio("load + highlight, QScintilla / ours", sciLoad, load, ">= 2");
  Report("ours: type '-' opening a comment", edit);
  std::printf("  %-44s %10lld lines\n", "ours: lines rescanned after the edit", editLines);
  Report("QScintilla: insert + colourise to the end", sciEdit);
  Report("QScintilla: insert + colourise one screen", sciVisible);
  Ratio("edit, QScintilla / ours", sciEdit, edit, ">= 2");
  Ratio("edit, QScintilla one screen / ours", sciVisible, edit);
  Report("ours: undo", undo);
  std::printf("  %-44s %10lld lines\n", "ours: lines rescanned after the undo", undoLines);
  Report("QScintilla: undo + colourise to the end", sciUndo);
  Ratio("undo, QScintilla / ours", sciUndo, undo, ">= 2");
  Report("memmem over the file bytes", memmemMs);
  Report("ours: SearchAndReplace over the whole text", searchAll);
  Report("ours: FindAllInLine on each line in turn", search);
  Ratio("SearchAndReplace / memmem", searchAll, memmemMs, "<= 3");
  Ratio("line by line / memmem", search, memmemMs);
  Memory(html);
  return 0;
}
