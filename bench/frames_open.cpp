// Opening a frameset of four frames, each holding a 1 MB document, against opening one such
// document alone, in a frame viewer as the main window sets it up (long frame documents show
// their starts first). "Usable" is the first paint of the window: the time from LoadFromFile to
// the end of that paint, with every frame's first screen drawn. Taking the window down again
// is not part of opening it and is left out. The time until every frame has its whole document
// is reported beside it.
#include "bench/support/DocGen.h"
#include "bench/support/Timing.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/PaintPanel.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>

namespace {

std::string Write(const QString& dir, const std::string& name, const std::string& text)
{
  std::string path = (dir + "/").toStdString() + name;
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::WriteOnly);
  file.write(text.data(), qint64(text.size()));
  return path;
}

std::unique_ptr<TFrameViewer> NewViewer()
{
  auto viewer = std::make_unique<TFrameViewer>();
  viewer->ProgressiveLoad = true;
  viewer->setAttribute(Qt::WA_DontShowOnScreen);
  viewer->resize(1000, 750);
  viewer->show();
  return viewer;
}

void PaintAll(TFrameViewer& viewer)
{
  viewer.repaint();
  for (QWidget* w : viewer.findChildren<QWidget*>())
    if (w->isVisible())
      w->repaint();
}

// Frames whose first screen is drawn full (or whose document is shorter than the frame).
int FullFrames(TFrameViewer& viewer, int& frames)
{
  int full = 0;
  frames = 0;
  for (THTMLViewer* v : viewer.Viewers()) {
    ++frames;
    full += v->DocumentHeight() >= v->PaintPanel()->height() ? 1 : 0;
  }
  return full;
}

struct TOpenTimes {
  double FirstPaint = 1e300; // fastest of the runs
  double AllLoaded = 1e300;
  int Full = 0, Frames = 0;
};

TOpenTimes Open(const std::string& page)
{
  TOpenTimes best;
  for (int run = 0; run < 3; ++run) {
    std::unique_ptr<TFrameViewer> viewer = NewViewer();
    benchutil::Stopwatch w;
    viewer->LoadFromFile(page);
    PaintAll(*viewer);
    best.FirstPaint = std::min(best.FirstPaint, w.Ms());
    best.Full = FullFrames(*viewer, best.Frames);
    while (viewer->FramesWaiting())
      QApplication::processEvents();
    best.AllLoaded = std::min(best.AllLoaded, w.Ms());
  }
  return best;
}

} // namespace

int main(int argc, char** argv)
{
  if (qgetenv("QT_QPA_PLATFORM").isEmpty())
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  std::string names[4];
  for (int i = 0; i < 4; ++i)
    names[i] = "doc" + std::to_string(i) + ".htm";
  for (int i = 0; i < 4; ++i)
    Write(dir.path(), names[i], docgen::TextDocument(1 << 20, uint32_t(i + 1)));
  std::string set = Write(dir.path(), "set.htm",
                          "<frameset rows=\"*,*\"><frameset cols=\"*,*\"><frame src=doc0.htm>"
                          "<frame src=doc1.htm></frameset><frameset cols=\"*,*\">"
                          "<frame src=doc2.htm><frame src=doc3.htm></frameset></frameset>");
  std::printf("Opening a 4-frame set of 1 MB documents against one document\n");
  TOpenTimes one = Open((dir.path() + "/doc0.htm").toStdString());
  TOpenTimes four = Open(set);
  benchutil::Report("one 1 MB document, first paint", one.FirstPaint);
  benchutil::Report("4 frames of 1 MB each, first paint", four.FirstPaint);
  std::printf("  %-44s %7d of %d\n", "frames with a full first screen then", four.Full,
              four.Frames);
  benchutil::Ratio("frameset / one document, first paint", four.FirstPaint, one.FirstPaint, "< 2x");
  benchutil::Report("4 frames, every document read whole", four.AllLoaded);
  benchutil::Ratio("frameset / one document, all read", four.AllLoaded, one.AllLoaded);
  return 0;
}
