// Running text, side by side: a plain byte scan (the floor), our tokenizer alone, building the
// model, layout at 800 and relayout at 600, against Qt's rich-text document on the same HTML.
// Also the model's memory per source byte.
#include "support/DocGen.h"
#include "support/Engine.h"
#include "support/Timing.h"

#include "html/model/SectionList.h"
#include "html/parser/Builder.h"
#include "html/parser/Tokenizer.h"
#include "platform/Canvas.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <string>

namespace {

using benchutil::BestOf;
using benchutil::Ratio;
using benchutil::Report;

volatile size_t Sink = 0;

// The least any reader must do: touch every byte once.
void ByteScan(const std::string& html)
{
  size_t tags = 0;
  for (unsigned char c : html)
    tags += c == '<';
  Sink = Sink + tags;
}

// One step further: a byte loop that keeps a little state (inside a tag or not) and
// counts tags and words, as any reader of HTML has to. The compiler cannot vectorise it.
void StatefulScan(const std::string& html)
{
  size_t tags = 0, words = 0;
  bool inTag = false, inWord = false;
  for (unsigned char c : html) {
    if (inTag) {
      inTag = c != '>';
    } else if (c == '<') {
      inTag = true;
      ++tags;
      inWord = false;
    } else {
      bool letter = c > ' ';
      words += letter && !inWord;
      inWord = letter;
    }
  }
  Sink = Sink + tags + words;
}

void TokenizeOnly(const std::string& html)
{
  TTokenizer tok;
  tok.BeginBuffer(html.data(), int64_t(html.size()));
  tok.Prime();
  size_t n = 0;
  while (tok.CurSym() != symEof) {
    tok.NextToken();
    ++n;
  }
  Sink = Sink + n;
}

using benchengine::Build;
using benchengine::LayoutAt;

size_t HeapInUse()
{
  struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

void Run(size_t bytes, int repeats)
{
  std::string html = docgen::TextDocument(bytes);
  std::printf("TextDocument %.1f MB (%zu bytes), width 800, best of %d\n",
              double(html.size()) / (1 << 20), html.size(), repeats);

  double scan = BestOf(repeats, [&] { ByteScan(html); });
  double stateful = BestOf(repeats, [&] { StatefulScan(html); });
  double tokenize = BestOf(repeats, [&] { TokenizeOnly(html); });
  double build = BestOf(repeats, [&] { Build(html); });

  std::unique_ptr<TSectionList> list;
  double layout = 0, relayout = 0;
  int32_t height = 0;
  for (int i = 0; i < repeats; ++i) {
    list = Build(html);
    benchutil::Stopwatch w;
    height = LayoutAt(*list, 800);
    double ms = w.Ms();
    layout = i == 0 ? ms : std::min(layout, ms);
    benchutil::Stopwatch r;
    LayoutAt(*list, 600);
    ms = r.Ms();
    relayout = i == 0 ? ms : std::min(relayout, ms);
  }

  double qtLoad = 0, qtRelayout = 0;
  double qtHeight = 0;
  for (int i = 0; i < repeats; ++i) {
    QTextDocument doc;
    QString source = QString::fromLatin1(html.data(), qsizetype(html.size()));
    benchutil::Stopwatch w;
    doc.setHtml(source);
    doc.setTextWidth(800);
    qtHeight = doc.documentLayout()->documentSize().height();
    double ms = w.Ms();
    qtLoad = i == 0 ? ms : std::min(qtLoad, ms);
    benchutil::Stopwatch r;
    doc.setTextWidth(600);
    Sink = Sink + size_t(doc.documentLayout()->documentSize().height());
    ms = r.Ms();
    qtRelayout = i == 0 ? ms : std::min(qtRelayout, ms);
  }

  Report("byte scan (floor)", scan);
  Report("stateful byte loop (tags and words)", stateful);
  Report("tokenize", tokenize);
  Report("build model (tokenize + builder)", build);
  Report("layout at 800", layout);
  Report("relayout at 600", relayout);
  Report("QTextDocument setHtml + layout at 800", qtLoad);
  Report("QTextDocument relayout at 600", qtRelayout);
  std::printf("  document height: ours %d px, QTextDocument %.0f px\n", height, qtHeight);
  Ratio("QTextDocument load / our parse+layout", qtLoad, build + layout, ">= 5x");
  Ratio("QTextDocument relayout / our relayout", qtRelayout, relayout, ">= 10x");
  Ratio("tokenize / byte scan", tokenize, scan, "<= 4x");
  Ratio("tokenize / stateful byte loop", tokenize, stateful);
}

void Memory(size_t bytes)
{
  std::string html = docgen::TextDocument(bytes);
  malloc_trim(0);
  size_t before = HeapInUse();
  auto list = Build(html);
  size_t built = HeapInUse();
  LayoutAt(*list, 800);
  size_t laidOut = HeapInUse();
  std::printf("Memory for %zu source bytes: model %.2f bytes/source byte, with layout %.2f\n",
              html.size(), double(built - before) / double(html.size()),
              double(laidOut - before) / double(html.size()));
}

} // namespace

int main(int argc, char** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  SetProcessErrorHandler([](const std::string& m) { std::fprintf(stderr, "%s\n", m.c_str()); });
  Run(1 << 20, 3);
  Run(8 << 20, 1);
  Memory(8 << 20);
  return 0;
}
