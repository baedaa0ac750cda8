// The formula outline tree, side by side with its peers: one-shot parse and evaluation of
// mixed formulas against muparser; evaluate-all on trees of 10,000 and 20,000 formula nodes;
// loading and saving a 100,000-line tree file against reading and writing the same lines
// through QTextStream alone, and what the tree control's items cost by themselves. Times are the
// benchmark thread's CPU time.
#include "support/Timing.h"

#include "outline/MathParser.h"
#include "outline/TreeFile.h"
#include "outline/TreeView.h"
#include "platform/ScriptedDialogs.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidget>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#ifdef LUMORA_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

using benchutil::Ratio;
using benchutil::Report;

volatile long double Sink = 0;

// The fastest of `repeats` runs of f, each after an untimed setup, in CPU milliseconds.
template <class S, class F> double BestAfter(int repeats, S&& setup, F&& f)
{
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) {
    setup();
    double start = benchutil::ThreadCpuMs();
    f();
    best = std::min(best, benchutil::ThreadCpuMs() - start);
  }
  return best;
}

template <class F> double BestOf(int repeats, F&& f)
{
  return BestAfter(
      repeats, [] {}, f);
}

struct TVariable {
  const char* Name;
  double Value;
};
TVariable Variables[] = {{"x", 0.7}, {"a", 3}, {"b", 4}, {"c", 5}, {"d", 6}};

// The same text for both, chosen from what both understand.
const char* const Formulas[] = {
    "3+4*2",
    "(1+2)*3-4/5+6*(7-8)/9",
    "2^3^2",
    "sqrt(16)+abs(-3)*exp(1)-ln(10)",
    "sin(x)^2+cos(x)^2",
    "a*b+c/d-a*(b-c)",
    "atan(a/b)*2+sqrt(a^2+b^2)",
    "((((a+1)*2+3)*4+5)*6+7)*8",
    "1.5E3/2.5E-2+0.125*4",
};

// Formulas per timed run: enough for a stable figure from one run.
constexpr int Repeats = 20000;

double TimeOurs(const char* formula, long double& value)
{
  TqvMathParser parser;
  parser.OnGetVar = [](QObject*, const std::string& name, long double& v, bool& found) {
    for (const TVariable& var : Variables)
      if (name == var.Name) {
        v = var.Value;
        found = true;
        return;
      }
  };
  double ms = BestOf(5, [&] {
    for (int i = 0; i < Repeats; ++i) {
      parser.ParseString = formula;
      parser.Evaluate();
      Sink = Sink + parser.Value;
    }
  });
  value = parser.Value;
  return ms;
}

#ifdef LUMORA_HAVE_MUPARSER
double TimeMuparser(const char* formula, double& value)
{
  mu::Parser parser;
  std::vector<double> storage;
  storage.reserve(std::size(Variables));
  for (const TVariable& var : Variables) {
    storage.push_back(var.Value);
    parser.DefineVar(var.Name, &storage.back());
  }
  return BestOf(5, [&] {
    for (int i = 0; i < Repeats; ++i) {
      parser.SetExpr(formula); // a new text: parsed again on the next Eval
      value = parser.Eval();
      Sink = Sink + value;
    }
  });
}
#endif

void Formulas_()
{
  std::printf("One-shot parse + evaluate, %d times each (ns per formula)\n", Repeats);
  std::printf("  %-34s %10s %10s %8s\n", "formula", "ours", "muparser", "ratio");
  double oursTotal = 0, theirsTotal = 0;
  for (const char* formula : Formulas) {
    long double ours = 0;
    double oursNs = TimeOurs(formula, ours) * 1e6 / Repeats;
    oursTotal += oursNs;
#ifdef LUMORA_HAVE_MUPARSER
    double theirs = 0;
    double theirsNs = TimeMuparser(formula, theirs) * 1e6 / Repeats;
    theirsTotal += theirsNs;
    bool same = std::fabs(double(ours) - theirs) <= 1e-9 * std::max(1.0, std::fabs(theirs));
    std::printf("  %-34s %10.1f %10.1f %7.2fx%s\n", formula, oursNs, theirsNs, oursNs / theirsNs,
                same ? "" : "  (values differ)");
#else
    std::printf("  %-34s %10.1f %10s\n", formula, oursNs, "-");
#endif
  }
#ifdef LUMORA_HAVE_MUPARSER
  Ratio("all formulas, ours / muparser", oursTotal, theirsTotal, "<= 1.00");
#else
  std::printf("  (muparser not installed: no comparison)\n");
#endif
}

// A tree of n formula roots, each referring to the one or two before it, with a note below
// every tenth node so the walk meets plain text as well.
QByteArray FormulaTree(int n)
{
  QByteArray text;
  for (int i = 0; i < n; ++i) {
    if (i == 0)
      text += "v0=1\r\n";
    else if (i == 1)
      text += "v1=v0+1\r\n";
    else
      text += QByteArray("v") + QByteArray::number(i) + "=v" + QByteArray::number(i - 1) +
              "*0.5+v" + QByteArray::number(i - 2) + "/2+1\r\n";
    if (i % 10 == 0)
      text += "\tnote\r\n";
  }
  return text;
}

// Returns {first pass (creates the result nodes), later pass} in ms.
std::pair<double, double> TimeEvaluateAll(int n)
{
  TqvTreeView view;
  const QByteArray text = FormulaTree(n);
  double first = BestAfter(
      3, [&] { view.LoadTreeText(text); }, [&] { view.EvaluateAll(); });
  double again = BestOf(5, [&] { view.EvaluateAll(); });
  return {first, again};
}

void EvaluateAll_()
{
  std::printf("\nEvaluate-all (formulas referring to each other)\n");
  auto [first10, again10] = TimeEvaluateAll(10000);
  auto [first20, again20] = TimeEvaluateAll(20000);
  Report("10,000 nodes, first pass (adds results)", first10);
  Report("10,000 nodes, later pass", again10);
  Report("20,000 nodes, first pass", first20);
  Report("20,000 nodes, later pass", again20);
  std::printf("  %-44s %10s   target < 50 ms\n", "", "");
  Ratio("20,000 / 10,000, first pass", first20, first10, "<= 2.2");
  Ratio("20,000 / 10,000, later pass", again20, again10, "<= 2.2");
}

// n lines of a tree five levels deep, each a formula, a link or a note.
QByteArray TreeFile(int n)
{
  QByteArray text;
  const int depths[] = {0, 1, 2, 3, 4, 3, 2, 1};
  for (int i = 0; i < n; ++i) {
    text += QByteArray(depths[i % 8], '\t');
    switch (i % 3) {
    case 0: text += "x" + QByteArray::number(i) + "=" + QByteArray::number(i) + "*2+1"; break;
    case 1: text += "http://example.org/page" + QByteArray::number(i); break;
    default: text += "a note about item " + QByteArray::number(i); break;
    }
    text += "\r\n";
  }
  return text;
}

double StreamRead(const QString& path)
{
  return BestOf(5, [&] {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QTextStream in(&file);
    QStringList lines;
    QString line;
    while (in.readLineInto(&line))
      lines.append(line);
    Sink = Sink + lines.size();
  });
}

double StreamWrite(const QString& path, const QStringList& lines)
{
  return BestOf(5, [&] {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QTextStream out(&file);
    for (const QString& line : lines)
      out << line << "\r\n";
  });
}

// The least a tree control of QTreeWidgetItems costs for these lines: plain items made from
// lines already read and placed, added to a bare QTreeWidget in one piece. No reading, no
// file format: what is left of a load once the file's own work is taken away.
double ItemsAlone(const QString& path)
{
  QFile in(path);
  in.open(QIODevice::ReadOnly);
  const std::vector<TTreeLine> lines = ReadTreeLines(in.readAll());
  const TTreeShape shape = ShapeTree(lines);
  QTreeWidget tree;
  return BestAfter(
      5, [&] { tree.clear(); },
      [&] {
        std::vector<QTreeWidgetItem*> items(shape.Parent.size());
        QList<QTreeWidgetItem*> roots;
        for (size_t i = 0; i < items.size(); ++i) {
          items[i] = new QTreeWidgetItem;
          items[i]->setText(0, lines[i].Text);
          if (shape.Parent[i] < 0)
            roots.append(items[i]);
          else
            items[size_t(shape.Parent[i])]->addChild(items[i]);
        }
        tree.addTopLevelItems(roots);
      });
}

void LoadSave_(const QString& dir)
{
  std::printf("\nTree file load and save, against QTextStream on the same lines\n");
  double loads[2] = {0, 0}, saves[2] = {0, 0};
  const int sizes[2] = {50000, 100000};
  for (int k = 0; k < 2; ++k) {
    const QString path = dir + QString("/tree%1.txt").arg(sizes[k]);
    const QByteArray text = TreeFile(sizes[k]);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    file.close();
    TqvTreeView view;
    // Clearing the previous tree is not the load's work.
    loads[k] = BestAfter(
        5, [&] { view.clear(); }, [&] { view.LoadFromFile(path.toStdString()); });
    const QString out = dir + QString("/saved%1.txt").arg(sizes[k]);
    saves[k] = BestOf(5, [&] { view.SaveToFile(out.toStdString()); });
    if (sizes[k] == 100000) {
      QStringList lines = QString::fromUtf8(text).split("\r\n", Qt::SkipEmptyParts);
      double streamRead = StreamRead(path);
      double streamWrite = StreamWrite(dir + "/stream.txt", lines);
      // The file format alone, without the tree control's nodes, shows what the nodes cost.
      double shapeOnly = BestOf(5, [&] {
        QFile in(path);
        in.open(QIODevice::ReadOnly);
        std::vector<TTreeLine> lines = ReadTreeLines(in.readAll());
        Sink = Sink + ShapeTree(lines).Parent.size();
      });
      double itemsAlone = ItemsAlone(path);
      Report("load 100,000 lines", loads[k]);
      Report("  of which reading and placing the lines", shapeOnly);
      Report("QTreeWidgetItems alone, made and added", itemsAlone);
      Report("QTextStream read 100,000 lines", streamRead);
      Ratio("load / QTextStream read", loads[k], streamRead, "<= 2.00");
      Ratio("reading and placing / QTextStream read", shapeOnly, streamRead);
      Ratio("QTreeWidgetItems alone / QTextStream read", itemsAlone, streamRead);
      Report("save 100,000 lines", saves[k]);
      Report("QTextStream write 100,000 lines", streamWrite);
      Ratio("save / QTextStream write", saves[k], streamWrite, "<= 2.00");
    }
  }
  Ratio("load 100,000 / 50,000 lines", loads[1], loads[0], "~ 2 (linear)");
  Ratio("save 100,000 / 50,000 lines", saves[1], saves[0], "~ 2 (linear)");
}

} // namespace

int main(int argc, char** argv)
{
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  TDialogsScope quiet(std::make_unique<TScriptedDialogs>());
  // An argument picks one part: "formulas", "evaluate" or "files".
  const QString only = app.arguments().value(1);
  if (only.isEmpty() || only == "formulas")
    Formulas_();
  if (only.isEmpty() || only == "evaluate")
    EvaluateAll_();
  QTemporaryDir dir;
  if (only.isEmpty() || only == "files")
    LoadSave_(dir.path());
  return 0;
}
