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
  THTMLViewer viewer;
  ConfigureMainViewer(viewer);
  viewer.setAttribute(Qt::WA_DontShowOnScreen);
  viewer.resize(width, height > 0 ? height : 600);
  viewer.show();
  LetItPaint();
  // Text files and pictures are shown the way the program shows them.
  std::string file = page.substr(0, page.find('#'));
  std::string ext = strutil::LowerCase(strutil::ExtractFileExt(file));
  if (viewerutil::IsImageName(file))
    viewer.LoadImageFile(file);
  else if (ext == ".txt")
    viewer.LoadPlainFile(file);
  else
    viewer.LoadFromFile(page);
  if (height == 0) {
    // The edge lines and a horizontal bar, if any, come on top of the document; the vertical
    // bar stays away while the window is at least 3 pixels taller than the document.
    int edges = viewer.BorderStyle() == htNone ? 0 : 2;
    int bar = viewer.HScrollBar()->isVisible() ? viewer.HScrollBar()->height() : 0;
    viewer.resize(width, std::clamp(viewer.DocumentHeight() + edges + bar + 3, 1, MaxRenderHeight));
  }
  if (frames > 0 && viewer.SectionList()) {
    viewer.SectionList()->StepAnimations(frames);
    viewer.update();
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
