// Table-heavy documents side by side with Qt's rich-text document: a long table (and the same
// with twice the rows, to see that layout grows linearly), tables nested four deep, and many
// small tables with percentage widths. Parse + layout at 800 and relayout at 600 for each.
#include "support/DocGen.h"
#include "support/Engine.h"
#include "support/Timing.h"

#include "html/model/Cell.h"
#include "html/model/SectionList.h"
#include "html/parser/Builder.h"
#include "platform/Canvas.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using benchutil::BestOf;
using benchutil::Ratio;
using benchutil::Report;

volatile double Sink = 0;

using benchengine::Build;
using benchengine::LayoutAt;

struct TFigures {
  double Parse = 0, Layout = 0, Relayout = 0, QtLoad = 0, QtRelayout = 0;
};

TFigures Measure(const std::string& name, const std::string& html, int repeats)
{
  std::printf("%s: %.2f MB, best of %d\n", name.c_str(), double(html.size()) / (1 << 20), repeats);
  TFigures f;
  f.Parse = BestOf(repeats, [&] { Build(html); });
  int32_t height = 0;
  for (int i = 0; i < repeats; ++i) {
    auto list = Build(html);
    benchutil::Stopwatch w;
    height = LayoutAt(*list, 800);
    double ms = w.Ms();
    f.Layout = i == 0 ? ms : std::min(f.Layout, ms);
    benchutil::Stopwatch r;
    LayoutAt(*list, 600);
    ms = r.Ms();
    f.Relayout = i == 0 ? ms : std::min(f.Relayout, ms);
  }
  double qtHeight = 0;
  for (int i = 0; i < repeats; ++i) {
    QTextDocument doc;
    QString source = QString::fromLatin1(html.data(), qsizetype(html.size()));
    benchutil::Stopwatch w;
    doc.setHtml(source);
    doc.setTextWidth(800);
    qtHeight = doc.documentLayout()->documentSize().height();
    double ms = w.Ms();
    f.QtLoad = i == 0 ? ms : std::min(f.QtLoad, ms);
    benchutil::Stopwatch r;
    doc.setTextWidth(600);
    Sink = Sink + doc.documentLayout()->documentSize().height();
    ms = r.Ms();
    f.QtRelayout = i == 0 ? ms : std::min(f.QtRelayout, ms);
  }
  Report("parse (tokenize + builder)", f.Parse);
  Report("layout at 800", f.Layout);
  Report("relayout at 600", f.Relayout);
  Report("QTextDocument setHtml + layout at 800", f.QtLoad);
  Report("QTextDocument relayout at 600", f.QtRelayout);
  std::printf("  document height: ours %d px, QTextDocument %.0f px\n", height, qtHeight);
  Ratio("QTextDocument load / our parse+layout", f.QtLoad, f.Parse + f.Layout, ">= 5x");
  Ratio("QTextDocument relayout / our relayout", f.QtRelayout, f.Relayout, ">= 10x");
  return f;
}

} // namespace

int main(int argc, char** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  SetProcessErrorHandler([](const std::string& m) { std::fprintf(stderr, "%s\n", m.c_str()); });
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

  TFigures rows5k = Measure("LongTable 5,000 x 6", docgen::LongTable(5000, 6), repeats);
  TFigures rows10k = Measure("LongTable 10,000 x 6", docgen::LongTable(10000, 6), repeats);
  std::printf("Doubling the rows:\n");
  Ratio("parse+layout 10,000 / 5,000 rows", rows10k.Parse + rows10k.Layout,
        rows5k.Parse + rows5k.Layout, "<= 2.2x");
  Ratio("relayout 10,000 / 5,000 rows", rows10k.Relayout, rows5k.Relayout, "<= 2.2x");

  Measure("NestedTables depth 4", docgen::NestedTables(4, 1 << 20), repeats);
  Measure("ManySmallTables 300", docgen::ManySmallTables(300), repeats);
  return 0;
}
