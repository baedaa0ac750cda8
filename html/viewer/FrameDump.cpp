#include "html/viewer/FrameDump.h"

#include "html/viewer/Frame.h"
#include "html/viewer/FrameSet.h"
#include "html/viewer/FrameViewer.h"

#include <QApplication>
#include <exception>
#include <ostream>

namespace {

void Geometry(const QWidget& w, const TFrameViewer& viewer, std::ostream& out)
{
  QPoint at = w.mapTo(&viewer, QPoint(0, 0));
  out << " x=" << at.x() << " y=" << at.y() << " w=" << w.width() << " h=" << w.height();
}

void Sizes(const char* name, const std::vector<TFrameBase*>& list, bool height, std::ostream& out)
{
  out << " " << name << "=[";
  for (size_t i = 0; i < list.size(); ++i)
    out << (i ? "," : "") << (height ? list[i]->height() : list[i]->width());
  out << "]";
}

void DumpSet(const TSubFrameSet& set, const TFrameViewer& viewer, int level, std::ostream& out);

void DumpFrame(const TFrame& frame, const TFrameViewer& viewer, int level, std::ostream& out)
{
  out << std::string(size_t(level) * 2, ' ') << "Frame name=\"" << frame.FrameName << "\" src=\""
      << frame.Source << "\"";
  Geometry(frame, viewer, out);
  if (!frame.Scrolling.empty())
    out << " scrolling=" << frame.Scrolling;
  if (frame.NoResize)
    out << " noresize";
  std::string title;
  if (frame.Viewer())
    title = frame.Viewer()->PageTitle();
  else if (frame.FrameSet())
    title = frame.FrameSet()->Title;
  out << " title=\"" << title << "\"\n";
  if (frame.FrameSet())
    DumpSet(*frame.FrameSet(), viewer, level + 1, out);
}

void DumpSet(const TSubFrameSet& set, const TFrameViewer& viewer, int level, std::ostream& out)
{
  out << std::string(size_t(level) * 2, ' ') << "FrameSet";
  Geometry(set, viewer, out);
  const std::vector<TFrameBase*> whole{const_cast<TSubFrameSet*>(&set)};
  Sizes("rows", set.Rows ? set.List : whole, true, out);
  Sizes("cols", set.Rows ? whole : set.List, false, out);
  out << "\n";
  for (TFrameBase* child : set.List) {
    if (auto* frame = dynamic_cast<const TFrame*>(child))
      DumpFrame(*frame, viewer, level + 1, out);
    else if (auto* nested = dynamic_cast<const TSubFrameSet*>(child))
      DumpSet(*nested, viewer, level + 1, out);
  }
}

} // namespace

void DumpFrameTree(const TFrameViewer& viewer, std::ostream& out)
{
  const TFrameSet* set = viewer.CurFrameSet();
  if (!set)
    return;
  // A plain page is one frame; the set round it is not a FRAMESET of the document.
  auto* only = set->List.size() == 1 ? dynamic_cast<const TFrame*>(set->List.front()) : nullptr;
  if (only && set->Dim.size() == 1 && !set->IsFrameSetDocument)
    DumpFrame(*only, viewer, 0, out);
  else
    DumpSet(*set, viewer, 0, out);
}

int DumpFrames(const std::string& page, int width, int height, std::ostream& out, std::ostream& err)
{
  try {
    TFrameViewer viewer;
    ConfigureMainViewer(viewer);
    viewer.setAttribute(Qt::WA_DontShowOnScreen);
    viewer.resize(width, height);
    viewer.show();
    QCoreApplication::processEvents();
    viewer.LoadFromFile(page);
    QCoreApplication::processEvents();
    DumpFrameTree(viewer, out);
    return 0;
  } catch (const std::exception& e) {
    err << "error: " << e.what() << "\n";
    return 1;
  }
}
