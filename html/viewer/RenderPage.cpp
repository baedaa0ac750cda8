#include "html/viewer/RenderPage.h"

#include "base/Exceptions.h"
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
           std::ostream& err)
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
  viewer.LoadFromFile(page);
  if (height == 0) {
    // The viewer's edge lines and a horizontal bar, if any, come on top of the document.
    int extra = viewer.height() - viewer.VScrollBar()->height();
    viewer.resize(width, std::clamp(viewer.DocumentHeight() + extra + 2, 1, MaxRenderHeight));
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
               std::ostream& err)
{
  try {
    return Render(page, outPng, width, height, err);
  } catch (const std::exception& e) {
    err << "error: " << e.what() << "\n";
    return 1;
  }
}
