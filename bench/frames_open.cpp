// Opening a frameset of four frames, each holding a 1 MB document, against opening one such
// document alone: the time until the window has painted for the first time.
#include "bench/support/DocGen.h"
#include "bench/support/Timing.h"
#include "html/viewer/FrameViewer.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
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

// Load and the first paint of everything shown.
double OpenAndPaint(const std::string& page)
{
  return benchutil::BestOf(3, [&] {
    TFrameViewer viewer;
    viewer.setAttribute(Qt::WA_DontShowOnScreen);
    viewer.resize(1000, 750);
    viewer.show();
    viewer.LoadFromFile(page);
    viewer.repaint();
    for (QWidget* w : viewer.findChildren<QWidget*>())
      if (w->isVisible())
        w->repaint();
  });
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
  double one = OpenAndPaint((dir.path() + "/doc0.htm").toStdString());
  double four = OpenAndPaint(set);
  benchutil::Report("one 1 MB document, first paint", one);
  benchutil::Report("4 frames of 1 MB each, first paint", four);
  benchutil::Ratio("frameset / one document", four, one, "< 2x");
  return 0;
}
