#include "app/StateReport.h"

#include "app/LumoraF.h"
#include "html/viewer/Frame.h"
#include "html/viewer/FrameDump.h"
#include "html/viewer/FrameSet.h"
#include "html/viewer/FrameViewer.h"

#include <QSaveFile>
#include <QTimer>
#include <QToolButton>
#include <sstream>

namespace {

void Place(std::ostream& out, const char* what, const QWidget& w)
{
  QPoint at = w.mapToGlobal(QPoint(0, 0));
  out << what << " x=" << at.x() << " y=" << at.y() << " w=" << w.width() << " h=" << w.height()
      << " enabled=" << (w.isEnabled() ? 1 : 0) << "\n";
}

void Write(TLumoraF& window, const QString& file)
{
  std::ostringstream out;
  Place(out, "Viewer", *window.viewer);
  Place(out, "Button btnback", *window.btnback);
  Place(out, "Button btnfwd", *window.btnfwd);
  out << "Document " << window.viewer->DocumentName() << "\n";
  DumpFrameTree(*window.viewer, out);
  for (TFrame* frame : window.viewer->CurFrameSet()->FrameList)
    if (frame->Viewer())
      out << "Position name=\"" << frame->FrameName
          << "\" pos=" << frame->Viewer()->ReadingPosition() << "\n";
  // Written whole and renamed, so a reader never sees half a report.
  QSaveFile save(file);
  if (!save.open(QIODevice::WriteOnly))
    return;
  std::string text = out.str();
  save.write(text.data(), qint64(text.size()));
  save.commit();
}

} // namespace

void StartStateReport(TLumoraF& window, const QString& file)
{
  auto* timer = new QTimer(&window);
  QObject::connect(timer, &QTimer::timeout, &window, [&window, file] { Write(window, file); });
  timer->start(200);
}
