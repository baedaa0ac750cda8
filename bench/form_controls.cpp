// Form controls in a long table against the same table with each control replaced by text of
// about its size:
//   (a) opening: load, layout and first paint (every control is a real Qt widget);
//   (b) scrolling: one line (arrow key) and one page (Page Down) per step, each step painted
//       before the next, beside the same steps on the text table.
#include "bench/support/Timing.h"
#include "html/model/FormControlObj.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/PaintPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

namespace {

using benchutil::Report;
using benchutil::TClock;
using benchutil::TTimes;

constexpr int Width = 800;
constexpr int Height = 600;

// One kind of control and the text that stands in for it: as many characters as the control
// is wide, more or less.
struct TControlKind {
  const char* Html;
  const char* Text;
};

const TControlKind Kinds[] = {
    {"<input name=e%d value=\"text %d\">", "xxxxxxxxxxxxxxxxxxxxxxxxxxxx"},
    {"<input type=checkbox name=c%d checked>", "[x]"},
    {"<input type=radio name=r%d value=v>", "(o)"},
    {"<select name=s%d><option>first<option selected>second<option>third</select>", "second_____"},
    {"<input type=password name=p%d value=pw>", "**************************"},
    {"<input type=submit name=b%d value=Send>", "[ Send ]"},
    {"<select name=l%d size=3 multiple><option>a<option>b<option>c</select>", "abc<br>abc<br>abc"},
    {"<textarea name=t%d rows=2 cols=20>two\nlines</textarea>", "xxxxxxxxxxxxxxxxxxxxxxx<br>xxx"},
};

std::string Cell(const TControlKind& kind, bool controls, int n)
{
  if (!controls)
    return kind.Text;
  char buffer[200];
  std::snprintf(buffer, sizeof buffer, kind.Html, n, n);
  return buffer;
}

// A FORM around a table of rows of a label and two controls each.
std::string Page(int controlCount, bool controls)
{
  std::string html = "<html><body><form action=go><table border=1 cellpadding=2>\n";
  constexpr int KindCount = int(sizeof Kinds / sizeof Kinds[0]);
  for (int n = 0; n < controlCount; n += 2) {
    html += "<tr><td>Row " + std::to_string(n / 2) + "</td><td>" +
            Cell(Kinds[n % KindCount], controls, n) + "</td><td>" +
            Cell(Kinds[(n + 1) % KindCount], controls, n + 1) + "</td></tr>\n";
  }
  return html + "</table></form></body></html>\n";
}

void Settle()
{
  for (int i = 0; i < 3; ++i)
    QCoreApplication::processEvents();
}

std::unique_ptr<THTMLViewer> MakeViewer()
{
  auto viewer = std::make_unique<THTMLViewer>();
  viewer->SetDefBackground(clWhite);
  viewer->SetBorderStyle(htNone);
  viewer->resize(Width, Height);
  viewer->show();
  Settle();
  return viewer;
}

TTimes Open(THTMLViewer& viewer, const std::string& doc)
{
  TClock w;
  viewer.LoadFromChars(doc.data(), int32_t(doc.size()));
  viewer.PaintPanel()->repaint();
  return w.Elapsed();
}

// Steps of one key from a third of the way down, each painted: the average and the slowest.
struct TSteps {
  TTimes Average, Slowest;
};

TSteps Scroll(THTMLViewer& viewer, Qt::Key key)
{
  viewer.SetVScrollPosition(viewer.DocumentHeight() / 3);
  viewer.PaintPanel()->repaint();
  Settle();
  constexpr int Steps = 40;
  TSteps s;
  for (int i = 0; i < Steps; ++i) {
    TClock w;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&viewer, &press);
    viewer.PaintPanel()->repaint();
    Settle();
    TTimes t = w.Elapsed();
    s.Average.Cpu += t.Cpu / Steps;
    s.Average.Wall += t.Wall / Steps;
    s.Slowest.Cpu = std::max(s.Slowest.Cpu, t.Cpu);
    s.Slowest.Wall = std::max(s.Slowest.Wall, t.Wall);
  }
  return s;
}

void CompareScroll(THTMLViewer& forms, THTMLViewer& text, Qt::Key key, const std::string& what)
{
  TSteps f = Scroll(forms, key);
  TSteps t = Scroll(text, key);
  Report(what + ", text table, average", t.Average);
  Report(what + ", controls, average", f.Average);
  Report(what + ", controls, slowest", f.Slowest);
  benchutil::Ratio(what + ": controls step / 16 ms (cpu)", f.Average.Cpu, 16.0, "<= 1x");
}

int Realised(const THTMLViewer& viewer)
{
  int n = 0;
  for (const auto& control : viewer.AllFormControls())
    n += control->TheControl && control->TheControl->Realised();
  return n;
}

} // namespace

int main(int argc, char** argv)
{
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  int count = argc > 1 ? std::max(2, std::atoi(argv[1])) : 2000;
  std::string withControls = Page(count, true);
  std::string withText = Page(count, false);
  std::printf("form_controls: %d controls in a table of %d rows, window %d x %d\n", count,
              count / 2, Width, Height);

  std::printf("(a) open: load, layout, first paint\n");
  auto textViewer = MakeViewer();
  TTimes text = Open(*textViewer, withText);
  Report("same table, text in place of controls", text);
  auto viewer = MakeViewer();
  TTimes forms = Open(*viewer, withControls);
  Report("table of form controls", forms);
  std::printf("  controls: %d, with a Qt widget after the first paint: %d\n",
              viewer->AllFormControls().Count(), Realised(*viewer));
  benchutil::Ratio("controls / text (cpu)", forms.Cpu, text.Cpu, "< 3x");

  std::printf("(b) scrolling, each step painted (the first pass makes the widgets it shows)\n");
  CompareScroll(*viewer, *textViewer, Qt::Key_Down, "one line (Down)");
  CompareScroll(*viewer, *textViewer, Qt::Key_PageDown, "one page (Page Down)");
  std::printf("  controls with a Qt widget at the end: %d\n", Realised(*viewer));
  return 0;
}
