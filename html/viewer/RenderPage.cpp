#include "html/viewer/RenderPage.h"
#include "html/model/SectionList.h"

#include "base/Exceptions.h"
#include "base/StringUtil.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/ScrollBar32.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <exception>

namespace {

// Taller pictures than this are cut: image sizes beyond it are not safe to allocate.
constexpr int MaxRenderHeight = 32000;

void LetItPaint()
{
  for (int i = 0; i < 3; ++i)
    QCoreApplication::processEvents();
}

int Render(const std::string& page, const std::string& outPng, int width, int height,
           std::ostream& err, int frames)
{
  if (!qApp) {
    err << "error: no application object\n";
    return 1;
  }
  if (width <= 0 || height < 0) {
    err << "error: bad picture size " << width << " x " << height << "\n";
    return 1;
  }
  TFrameViewer viewer;
  ConfigureMainViewer(viewer);
  viewer.setAttribute(Qt::WA_DontShowOnScreen);
  viewer.resize(width, height > 0 ? height : 600);
  viewer.show();
  LetItPaint();
  // Text files, pictures and framesets are shown the way the program shows them.
  viewer.LoadFromFile(page);
  std::vector<THTMLViewer*> shown = viewer.Viewers();
  if (height == 0 && shown.size() == 1) {
    // The edge lines and a horizontal bar, if any, come on top of the document; the vertical
    // bar stays away while the window is at least 3 pixels taller than the document.
    THTMLViewer& only = *shown.front();
    int edges = only.BorderStyle() == htNone ? 0 : 2;
    int bevel = viewer.height() - only.height();
    int bar = only.HScrollBar()->isVisible() ? only.HScrollBar()->height() : 0;
    viewer.resize(width,
                  std::clamp(only.DocumentHeight() + edges + bevel + bar + 3, 1, MaxRenderHeight));
  }
  if (frames > 0)
    for (THTMLViewer* v : viewer.Viewers()) {
      v->SectionList()->Document().StepAnimations(frames);
      v->update();
    }
  LetItPaint();
  QImage picture = viewer.grab().toImage();
  if (picture.isNull() || !picture.save(QString::fromStdString(outPng), "PNG")) {
    err << "error: cannot write " << outPng << "\n";
    return 1;
  }
  return 0;
}

} // namespace

int RenderPage(const std::string& page, const std::string& outPng, int width, int height,
               std::ostream& err, int frames)
{
  try {
    return Render(page, outPng, width, height, err, frames);
  } catch (const std::exception& e) {
    err << "error: " << e.what() << "\n";
    return 1;
  }
}
