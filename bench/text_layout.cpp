// Running text, side by side: a plain byte scan (the floor), our tokenizer alone, building the
// model, layout at 800 and relayout at 600, against Qt's rich-text document on the same HTML.
// Also the model's memory per source byte.
#include "support/DocGen.h"
#include "support/Engine.h"
#include "support/Timing.h"
#include "support/alloc/HeapWatch.h"

#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "html/parser/Builder.h"
#include "html/parser/Tokenizer.h"
#include "platform/Canvas.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using benchutil::CpuBestOf;
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

// Rounds of the tokenizer and the byte loops it is measured against.
constexpr int ScanRounds = 20;

// The tokenizer beside the two byte loops, best of the repeats each. The three take turns in
// every round, so that a change in the machine's load falls on all of them alike.
struct TScanFigures {
  double Scan = 1e300, Stateful = 1e300, Tokenize = 1e300;
};

TScanFigures TimeScans(const std::string& html, int repeats)
{
  TScanFigures f;
  for (int i = 0; i < repeats; ++i) {
    f.Scan = std::min(f.Scan, CpuBestOf(1, [&] { ByteScan(html); }));
    f.Stateful = std::min(f.Stateful, CpuBestOf(1, [&] { StatefulScan(html); }));
    f.Tokenize = std::min(f.Tokenize, CpuBestOf(1, [&] { TokenizeOnly(html); }));
  }
  return f;
}

void ReportScans(const TScanFigures& f)
{
  Report("byte scan (floor)", f.Scan);
  Report("stateful byte loop (tags and words)", f.Stateful);
  Report("tokenize", f.Tokenize);
}

void ReportScanRatios(const TScanFigures& f)
{
  Ratio("tokenize / byte scan", f.Tokenize, f.Scan, "<= 4x");
  Ratio("tokenize / stateful byte loop", f.Tokenize, f.Stateful, "<= 2x");
}

using benchengine::Build;
using benchengine::LayoutAt;

size_t HeapInUse()
{
  struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

// Times are processor time of this thread, best of the repeats: the machine is shared, and
// the wall clock would time the others too.
void Run(size_t bytes, int repeats)
{
  std::string html = docgen::TextDocument(bytes);
  std::printf("TextDocument %.1f MB (%zu bytes), width 800, best of %d, processor time\n",
              double(html.size()) / (1 << 20), html.size(), repeats);

  // The scans are cheap, so they get the rounds the tokenizer alone gets: a best of a few is
  // mostly the machine's noise at these sizes.
  const TScanFigures scans = TimeScans(html, std::max(repeats, ScanRounds));

  // The model is freed outside the timed part: tearing a page down is not opening it.
  std::unique_ptr<TSectionList> list;
  double build = 1e300, layout = 1e300, relayout = 1e300;
  int32_t height = 0;
  for (int i = 0; i < repeats; ++i) {
    list.reset();
    const double b = benchutil::ThreadCpuMs();
    list = Build(html);
    build = std::min(build, benchutil::ThreadCpuMs() - b);
    const double w = benchutil::ThreadCpuMs();
    height = LayoutAt(*list, 800);
    layout = std::min(layout, benchutil::ThreadCpuMs() - w);
    const double r = benchutil::ThreadCpuMs();
    LayoutAt(*list, 600);
    relayout = std::min(relayout, benchutil::ThreadCpuMs() - r);
  }
  list.reset();

  double qtLoad = 1e300, qtRelayout = 1e300;
  double qtHeight = 0;
  for (int i = 0; i < repeats; ++i) {
    QTextDocument doc;
    QString source = QString::fromLatin1(html.data(), qsizetype(html.size()));
    const double w = benchutil::ThreadCpuMs();
    doc.setHtml(source);
    doc.setTextWidth(800);
    qtHeight = doc.documentLayout()->documentSize().height();
    qtLoad = std::min(qtLoad, benchutil::ThreadCpuMs() - w);
    const double r = benchutil::ThreadCpuMs();
    doc.setTextWidth(600);
    Sink = Sink + size_t(doc.documentLayout()->documentSize().height());
    qtRelayout = std::min(qtRelayout, benchutil::ThreadCpuMs() - r);
  }

  ReportScans(scans);
  Report("build model (tokenize + builder)", build);
  Report("layout at 800", layout);
  Report("relayout at 600", relayout);
  Report("builder + layout at 800", build + layout);
  Report("QTextDocument setHtml + layout at 800", qtLoad);
  Report("QTextDocument relayout at 600", qtRelayout);
  std::printf("  document height: ours %d px, QTextDocument %.0f px\n", height, qtHeight);
  Ratio("QTextDocument load / our parse+layout", qtLoad, build + layout, ">= 5x");
  Ratio("QTextDocument relayout / our relayout", qtRelayout, relayout, ">= 10x");
  ReportScanRatios(scans);
}

// The model's memory: the heap's, and the chunks its document's arena mapped from the system
// (the arena's smaller chunks are on the heap already).
size_t ModelBytes(const std::unique_ptr<TSectionList>& list)
{
  return HeapInUse() + (list ? list->Document().Arena.Mapped() : 0);
}

// What the arena has handed out, or holds in its chunks beyond that.
size_t ArenaBytes(const std::unique_ptr<TSectionList>& list, bool room)
{
  if (!list)
    return 0;
  const TArena& arena = list->Document().Arena;
  return room ? arena.Reserved() - arena.Used() : arena.Used();
}

// Heap and arena pieces freed by f, in bytes per source byte.
template <class F>
double Freed(size_t sourceBytes, const std::unique_ptr<TSectionList>& list, F&& f)
{
  size_t before = HeapInUse() + ArenaBytes(list, false);
  f();
  return double(before - HeapInUse() - ArenaBytes(list, false)) / double(sourceBytes);
}

// The text sections of a cell (the generated page has no tables).
std::vector<TSection*> Sections(TCell& cell)
{
  std::vector<TSection*> out;
  for (const auto& item : cell)
    if (auto* s = dynamic_cast<TSection*>(item.get()))
      out.push_back(s);
  return out;
}

// The model's memory by owner: each owner is dropped in turn and the heap it gave back counted,
// so shared pieces count with the owner that lets go of them last.
void Memory(size_t bytes)
{
  std::string html = docgen::TextDocument(bytes);
  const size_t n = html.size();
  malloc_trim(0);
  size_t before = HeapInUse();
  auto list = Build(html);
  size_t built = ModelBytes(list);
  LayoutAt(*list, 800);
  size_t laidOut = ModelBytes(list);
  std::printf("Memory for %zu source bytes: model %.2f bytes/source byte, with layout %.2f"
              "   target <= 6\n",
              n, double(built - before) / double(n), double(laidOut - before) / double(n));
  const double arenaRoom = double(ArenaBytes(list, true)) / double(n);
  std::vector<TSection*> sections = Sections(*list);
  auto each = [&](auto&& f) {
    return Freed(n, list, [&] {
      for (TSection* s : sections)
        f(*s);
    });
  };
  size_t fonts = 0, lines = 0, runs = 0;
  for (const TSection* s : sections) {
    fonts += size_t(s->Fonts.Count());
    lines += s->LineList.size();
    runs += s->SourceRuns.size();
  }
  std::printf("  by owner (bytes/source byte); %zu text sections of %d blocks, %zu font objects,"
              " %zu lines, %zu position runs:\n",
              sections.size(), list->Count(), fonts, lines, runs);
  std::printf("    %-36s %6.2f\n", "line records",
              each([](TSection& s) { std::vector<LineRec>().swap(s.LineList); }));
  std::printf("    %-36s %6.2f\n", "source positions",
              each([](TSection& s) { TSourceRuns().swap(s.SourceRuns); }));
  std::printf("    %-36s %6.2f\n", "section text",
              each([](TSection& s) { TSectionText().swap(s.Chars); }));
  std::printf("    %-36s %6.2f\n", "link list",
              Freed(n, list, [&] { std::vector<TFontObj*>().swap(list->Document().LinkStarts); }));
  std::printf("    %-36s %6.2f\n", "font objects", each([](TSection& s) { s.Fonts.Clear(); }));
  std::printf("    %-36s %6.2f\n", "arena room not handed out", arenaRoom);
  // Pieces given back to the arena above are room now: what the rest frees is counted without.
  const size_t room = ArenaBytes(list, true);
  const size_t held = ModelBytes(list);
  list.reset();
  std::printf("    %-36s %6.2f\n", "blocks and the rest",
              double(held - HeapInUse() - room) / double(n));
}

// What a step leaves on the heap, what it held at its height beyond that, and its largest single
// block, all per source byte.
struct THeapUse {
  double Kept = 0, Transient = 0, Largest = 0;
};

template <class F> THeapUse Watch(size_t sourceBytes, F&& step)
{
  heapwatch::Start();
  step();
  heapwatch::Stop();
  const double n = double(sourceBytes);
  const long long kept = heapwatch::Taken();
  return {double(kept) / n, double(heapwatch::HighWater() - kept) / n,
          double(heapwatch::LargestBlock()) / n};
}

// Parse, layout and relayout of pages from 1 to 64 MB: the time per megabyte and the model per
// source byte stay flat when the work grows linearly. A pass of its own counts every heap block
// of the parse and of the layout: a second copy of the source, held to the end of a step or made
// in one piece, would show as 1.0 more kept or peak+ bytes per source byte, or as a largest
// block of 1.0 (the page itself is the benchmark's and was allocated before). The timed passes
// run without the counting.
void Scaling()
{
  std::printf("Scaling, processor time, best of 2 (ms per MB in brackets); heap per source byte"
              " of parse and of layout at 800: kept after it, held beyond that at its height"
              " (peak+), largest block\n");
  std::printf("  %6s %22s %22s %22s %6s %6s %7s %6s %6s %7s\n", "MB", "parse", "layout 800",
              "relayout 600", "kept", "peak+", "largest", "kept", "peak+", "largest");
  for (size_t mb = 1; mb <= 64; mb *= 2) {
    std::string html = docgen::TextDocument(mb << 20);
    const double size = double(html.size()) / (1 << 20);
    double parse = 1e300, layout = 1e300, relayout = 1e300;
    THeapUse built, laid;
    {
      std::unique_ptr<TSectionList> list;
      built = Watch(html.size(), [&] { list = Build(html); });
      // The arena's large chunks are mapped from the system: the heap watch does not see them.
      const double mapped = double(list->Document().Arena.Mapped()) / double(html.size());
      built.Kept += mapped;
      laid = Watch(html.size(), [&] { LayoutAt(*list, 800); });
    }
    for (int i = 0; i < 2; ++i) {
      std::unique_ptr<TSectionList> list;
      const double p = benchutil::ThreadCpuMs();
      list = Build(html);
      parse = std::min(parse, benchutil::ThreadCpuMs() - p);
      const double l = benchutil::ThreadCpuMs();
      LayoutAt(*list, 800);
      layout = std::min(layout, benchutil::ThreadCpuMs() - l);
      const double r = benchutil::ThreadCpuMs();
      LayoutAt(*list, 600);
      relayout = std::min(relayout, benchutil::ThreadCpuMs() - r);
    }
    std::printf("  %6.1f %10.1f (%7.2f) %10.1f (%7.2f) %10.1f (%7.2f)", size, parse, parse / size,
                layout, layout / size, relayout, relayout / size);
    for (const THeapUse& use : {built, laid})
      std::printf(" %6.2f %6.3f %7.3f", use.Kept, use.Transient, use.Largest);
    std::printf("\n");
  }
}

// Builder and layout of the 8 MB page alone, for a profiler. Each step is its best of the
// repeats, and the sum the best whole run.
void BuildOnly(size_t bytes, int repeats)
{
  std::string html = docgen::TextDocument(bytes);
  double best = 1e300, build = 1e300, layout = 1e300;
  for (int i = 0; i < repeats; ++i) {
    const double t = benchutil::ThreadCpuMs();
    auto list = Build(html);
    const double b = benchutil::ThreadCpuMs();
    LayoutAt(*list, 800);
    const double l = benchutil::ThreadCpuMs();
    build = std::min(build, b - t);
    layout = std::min(layout, l - b);
    best = std::min(best, l - t);
  }
  Report("build model (tokenize + builder)", build);
  Report("layout at 800", layout);
  Report("builder + layout at 800", best);
}

// The tokenizer alone on the 8 MB page, beside the byte loops it is measured against.
void TokenizeAlone(size_t bytes, int repeats)
{
  std::string html = docgen::TextDocument(bytes);
  const TScanFigures scans = TimeScans(html, repeats);
  ReportScans(scans);
  ReportScanRatios(scans);
}

} // namespace

int main(int argc, char** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  SetProcessErrorHandler([](const std::string& m) { std::fprintf(stderr, "%s\n", m.c_str()); });
  // "memory" measures the model's memory alone; "build [MB]" times builder and layout alone and
  // "tokenize" the tokenizer alone (for a profiler); "scale" runs the pages of 1 to 64 MB (slow,
  // and about 1 GB of memory at the top).
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "scale") {
    Scaling();
    return 0;
  }
  if (mode == "build") {
    // An optional size in MB: a small page suits an instruction-counting profiler.
    const long mb = argc > 2 ? std::atol(argv[2]) : 8;
    BuildOnly(size_t(std::clamp(mb, 1L, 64L)) << 20, 5);
    return 0;
  }
  if (mode == "tokenize") {
    TokenizeAlone(8 << 20, ScanRounds);
    return 0;
  }
  const bool memoryOnly = mode == "memory";
  if (!memoryOnly) {
    Run(1 << 20, 5);
    Run(8 << 20, 3);
  }
  Memory(8 << 20);
  return 0;
}
