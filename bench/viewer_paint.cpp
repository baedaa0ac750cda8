// The viewer against Qt's rich-text engine on one large generated document:
//   (a) opening: load, layout and first paint, against QTextBrowser::setHtml and its first paint;
//       and opening it from a file as the program does (frame viewer), against
//       QTextBrowser::setSource; every open in a fresh process, best of a few rounds;
//   (b) painting the page in a full 800 x 600 window into a picture, against
//       QAbstractTextDocumentLayout::draw with the same clip into a picture of the same size;
//       and, beside it, the window's own repaint after a scroll (scroll bar and hand-over to the
//       screen included);
//   (c) a one-line scroll, counting the pixel rows it repaints.
#include "bench/support/DocGen.h"
#include "bench/support/Timing.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/PaintPanel.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using benchutil::Report;
using benchutil::TClock;
using benchutil::TTimes;

TTimes Per(TTimes t, int n)
{
  return {t.Wall / n, t.Cpu / n};
}

constexpr int Width = 800;
constexpr int Height = 600;
// Full-window paints per round; a profiling run ("paint" as second argument) takes many more.
int PaintPositions = 20;
constexpr int PaintRounds = 5;
// Fresh-process opens of each kind; the peer's take seconds each.
int OpenRounds = 3;

TTimes Faster(TTimes a, TTimes b)
{
  return b.Cpu < a.Cpu ? b : a;
}

// Each round times the viewer twice (the page into a picture, and the window) and the peer once.
constexpr int PaintKinds = 2;

// The fraction of the scroll range where paint i of a round shows the page. Every round and
// every kind of paint take other positions, so that no paint finds lines another one has
// already shaped or drawn.
double PaintAt(int i, int round, int kind = 0)
{
  const int places = PaintRounds * PaintKinds;
  return double(i * places + kind * PaintRounds + round) / (PaintPositions * places);
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

TTimes OpenViewer(const std::string& doc)
{
  auto viewer = MakeViewer();
  TClock w;
  viewer->LoadFromChars(doc.data(), int32_t(doc.size()));
  viewer->PaintPanel()->repaint();
  return w.Elapsed();
}

TTimes OpenFile(const std::string& file)
{
  TFrameViewer viewer;
  viewer.resize(Width, Height);
  viewer.show();
  Settle();
  TClock w;
  viewer.LoadFromFile(file);
  viewer.repaint();
  return w.Elapsed();
}

// The peer's open: html is set as it stands, or the file is named and read by the browser.
std::unique_ptr<QTextBrowser> MakeBrowser()
{
  auto browser = std::make_unique<QTextBrowser>();
  browser->resize(Width, Height);
  browser->show();
  Settle();
  return browser;
}

TTimes OpenBrowser(const QString& html, const std::string& file = std::string())
{
  auto owner = MakeBrowser();
  QTextBrowser& browser = *owner;
  TClock w;
  if (file.empty())
    browser.setHtml(html);
  else
    browser.setSource(QUrl::fromLocalFile(QString::fromStdString(file)),
                      QTextDocument::HtmlResource);
  browser.viewport()->repaint();
  return w.Elapsed();
}

// The page as a file in a folder of its own (no other files for the viewer to look at).
std::string WriteDocument(const QTemporaryDir& dir, const std::string& doc)
{
  std::string name = dir.filePath("page.htm").toStdString();
  std::ofstream(name, std::ios::binary).write(doc.data(), std::streamsize(doc.size()));
  return name;
}

// Average time of one full paint of the page at positions spread over the document, drawn
// into a picture of the window's size as the peer's is: the paint of the page alone.
TTimes PaintViewer(THTMLViewer& viewer, int round)
{
  int32_t span = std::max(1, viewer.DocumentHeight() - Height);
  QImage image(Width, Height, QImage::Format_RGB32);
  TPaintPanel& panel = *viewer.PaintPanel();
  TTimes sum{};
  for (int i = 0; i < PaintPositions; ++i) {
    viewer.SetVScrollPosition(int32_t(span * PaintAt(i, round)));
    TClock w;
    panel.render(&image);
    TTimes t = w.Elapsed();
    sum = {sum.Wall + t.Wall, sum.Cpu + t.Cpu};
  }
  return Per(sum, PaintPositions);
}

// The same on screen: moving the scroll bar and repainting the window, which repaints the
// scroll bar too and hands the window's picture to the screen.
TTimes RepaintWindow(THTMLViewer& viewer, int round)
{
  int32_t span = std::max(1, viewer.DocumentHeight() - Height);
  TClock w;
  for (int i = 0; i < PaintPositions; ++i) {
    viewer.SetVScrollPosition(int32_t(span * PaintAt(i, round, 1)));
    viewer.PaintPanel()->repaint();
  }
  return Per(w.Elapsed(), PaintPositions);
}

TTimes PaintDocument(QTextDocument& doc, int round)
{
  QImage image(Width, Height, QImage::Format_RGB32);
  double span = std::max(1.0, doc.size().height() - Height);
  TClock w;
  for (int i = 0; i < PaintPositions; ++i) {
    double top = std::floor(span * PaintAt(i, round));
    QPainter painter(&image);
    painter.fillRect(image.rect(), Qt::white);
    painter.translate(0, -top);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, top, Width, Height);
    painter.setClipRect(context.clip);
    doc.documentLayout()->draw(&painter, context);
  }
  return Per(w.Elapsed(), PaintPositions);
}

void ScrollRows(THTMLViewer& viewer)
{
  viewer.SetVScrollPosition(viewer.DocumentHeight() / 3);
  viewer.PaintPanel()->repaint();
  Settle();
  TPaintPanel& panel = *viewer.PaintPanel();
  constexpr int Steps = 20;
  panel.PaintedRows = 0;
  panel.PaintCount = 0;
  TClock w;
  for (int i = 0; i < Steps; ++i) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&viewer, &down);
    Settle();
  }
  TTimes step = Per(w.Elapsed(), Steps);
  std::printf("  one-line scroll: %d scrolls, %lld rows painted in %d paints (panel %d rows)\n",
              Steps, static_cast<long long>(panel.PaintedRows), panel.PaintCount, panel.height());
  std::printf("  %-44s %10.2f rows   (a full repaint is %d)\n", "rows painted per scroll",
              double(panel.PaintedRows) / Steps, panel.height());
  Report("one-line scroll, per step", step);
}

// Loads the toolkit's font database, as the start of any window with text does. The peer's
// widget loads it while it is made (before its clock starts); ours would only when the page asks
// for its first font, so without this the one-off start-up cost was charged to our open alone.
void LoadFontDatabase()
{
  QFontMetrics(QApplication::font()).height();
}

std::string RatioText(TTimes peer, TTimes ours)
{
  char text[32];
  std::snprintf(text, sizeof text, " %.2fx", ours.Cpu > 0 ? peer.Cpu / ours.Cpu : 0.0);
  return text;
}

// Runs one open in a process of its own, forked before the toolkit starts, and returns its
// times: every program opens a page as it would right after start-up, and none finds the heap
// or the caches another one left behind.
template <class F> TTimes InFreshProcess(F&& open)
{
  int fds[2];
  if (pipe(fds) != 0)
    return {};
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    int argc = 1;
    char name[] = "viewer_paint";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    LoadFontDatabase();
    const TTimes t = open();
    const bool sent = write(fds[1], &t, sizeof t) == ssize_t(sizeof t);
    _exit(sent ? 0 : 1);
  }
  close(fds[1]);
  TTimes t{};
  if (pid < 0 || read(fds[0], &t, sizeof t) != ssize_t(sizeof t))
    t = {};
  close(fds[0]);
  if (pid > 0)
    waitpid(pid, nullptr, 0);
  return t;
}

// The opens of a round, each in a fresh process: ours and the peer's take turns, from memory
// and from a file. Each keeps its least time over the rounds, and every round's ratio is printed
// too, so that a round slowed by other work on the shared machine shows as what it is.
void OpenAll(const std::string& doc, const QString& html, const std::string& file)
{
  std::printf("(a) open: load, layout, first paint, each in a fresh process, best of %d rounds\n",
              OpenRounds);
  const TTimes none{1e300, 1e300};
  TTimes viewer = none, browser = none, frames = none, browserFile = none;
  std::string memoryRatios, fileRatios;
  for (int round = 0; round < OpenRounds; ++round) {
    const TTimes v = InFreshProcess([&] { return OpenViewer(doc); });
    const TTimes b = InFreshProcess([&] { return OpenBrowser(html); });
    const TTimes f = InFreshProcess([&] { return OpenFile(file); });
    const TTimes bf = InFreshProcess([&] { return OpenBrowser(QString(), file); });
    memoryRatios += RatioText(b, v);
    fileRatios += RatioText(bf, f);
    viewer = Faster(viewer, v);
    browser = Faster(browser, b);
    frames = Faster(frames, f);
    browserFile = Faster(browserFile, bf);
  }
  Report("THTMLViewer::LoadFromChars + paint", viewer);
  Report("QTextBrowser::setHtml + paint", browser);
  benchutil::Ratio("QTextBrowser / THTMLViewer (cpu)", browser.Cpu, viewer.Cpu, ">= 10x");
  std::printf("    rounds:%s\n", memoryRatios.c_str());
  Report("TFrameViewer::LoadFromFile + paint", frames);
  Report("QTextBrowser::setSource + paint", browserFile);
  benchutil::Ratio("QTextBrowser / TFrameViewer (cpu)", browserFile.Cpu, frames.Cpu, ">= 10x");
  std::printf("    rounds:%s\n", fileRatios.c_str());
}

} // namespace

int main(int argc, char** argv)
{
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  size_t bytes = argc > 1 ? size_t(std::atol(argv[1])) : size_t(8) << 20;
  std::string doc = docgen::TextDocument(bytes);
  QString html = QString::fromLatin1(doc.data(), qsizetype(doc.size()));
  QTemporaryDir dir;
  const std::string file = WriteDocument(dir, doc);
  std::printf("viewer_paint: text document of %zu bytes, window %d x %d\n", doc.size(), Width,
              Height);
  // "paint" after the size times the full-window paints only, over many positions.
  const std::string mode = argc > 2 ? argv[2] : "";
  const bool paintOnly = mode == "paint";
  // "open", "open-file" and "open-peer" time one open in this process alone, for a profiler.
  if (mode.rfind("open", 0) == 0) {
    QApplication app(argc, argv);
    LoadFontDatabase();
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    if (mode == "open")
      Report("THTMLViewer::LoadFromChars + paint", OpenViewer(doc));
    else if (mode == "open-file")
      Report("TFrameViewer::LoadFromFile + paint", OpenFile(file));
    else
      Report("QTextBrowser::setHtml + paint", OpenBrowser(html));
    getrusage(RUSAGE_SELF, &after);
    auto ms = [](timeval a, timeval b) {
      return (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_usec - a.tv_usec) / 1e3;
    };
    std::printf("  with the teardown: user %.1f ms sys %.1f ms minor faults %ld\n",
                ms(before.ru_utime, after.ru_utime), ms(before.ru_stime, after.ru_stime),
                after.ru_minflt - before.ru_minflt);
    return 0;
  }
  if (paintOnly) {
    PaintPositions = 400;
  } else {
    OpenAll(doc, html, file);
  }

  QApplication app(argc, argv);
  std::printf("(b) full-window paint, average of %d positions, best of %d rounds\n", PaintPositions,
              PaintRounds);
  auto viewer = MakeViewer();
  viewer->LoadFromChars(doc.data(), int32_t(doc.size()));
  QTextDocument textDoc;
  textDoc.setHtml(html);
  textDoc.setTextWidth(Width);
  textDoc.documentLayout()->documentSize(); // lay it all out before timing the paint
  // The two take turns, and each keeps its best round: on the shared machine a round can be
  // slowed by other work, which would land on whichever happened to run then.
  TTimes viewerPaint{1e300, 1e300}, windowPaint{1e300, 1e300}, docPaint{1e300, 1e300};
  for (int round = 0; round < PaintRounds; ++round) {
    viewerPaint = Faster(viewerPaint, PaintViewer(*viewer, round));
    docPaint = Faster(docPaint, PaintDocument(textDoc, round));
    windowPaint = Faster(windowPaint, RepaintWindow(*viewer, round));
  }
  Report("THTMLViewer paint 800x600", viewerPaint);
  Report("QAbstractTextDocumentLayout::draw 800x600", docPaint);
  benchutil::Ratio("THTMLViewer / QTextDocument (cpu)", viewerPaint.Cpu, docPaint.Cpu, "<= 0.2x");
  Report("THTMLViewer window repaint after a scroll", windowPaint);
  benchutil::Ratio("window repaint / QTextDocument (cpu)", windowPaint.Cpu, docPaint.Cpu);

  if (paintOnly)
    return 0;
  std::printf("(c) scrolling by one line\n");
  ScrollRows(*viewer);
  return 0;
}
