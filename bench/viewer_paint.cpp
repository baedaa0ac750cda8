// The viewer against Qt's rich-text engine on one large generated document:
//   (a) opening: load, layout and first paint, against QTextBrowser::setHtml and its first paint;
//   (b) painting a full 800 x 600 window, against QAbstractTextDocumentLayout::draw with the
//       same clip;
//   (c) a one-line scroll, counting the pixel rows it repaints.
#include "bench/support/DocGen.h"
#include "bench/support/Timing.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/PaintPanel.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBrowser>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

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
constexpr int PaintPositions = 20;

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

TTimes OpenBrowser(const QString& html)
{
  QTextBrowser browser;
  browser.resize(Width, Height);
  browser.show();
  Settle();
  TClock w;
  browser.setHtml(html);
  browser.viewport()->repaint();
  return w.Elapsed();
}

// Average time of one full-window paint at positions spread over the document.
TTimes PaintViewer(THTMLViewer& viewer)
{
  int32_t span = std::max(1, viewer.DocumentHeight() - Height);
  TClock w;
  for (int i = 0; i < PaintPositions; ++i) {
    viewer.SetVScrollPosition(int32_t(int64_t(span) * i / PaintPositions));
    viewer.PaintPanel()->repaint();
  }
  return Per(w.Elapsed(), PaintPositions);
}

TTimes PaintDocument(QTextDocument& doc)
{
  QImage image(Width, Height, QImage::Format_RGB32);
  double span = std::max(1.0, doc.size().height() - Height);
  TClock w;
  for (int i = 0; i < PaintPositions; ++i) {
    double top = span * i / PaintPositions;
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

} // namespace

int main(int argc, char** argv)
{
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  size_t bytes = argc > 1 ? size_t(std::atol(argv[1])) : size_t(8) << 20;
  std::string doc = docgen::TextDocument(bytes);
  QString html = QString::fromLatin1(doc.data(), qsizetype(doc.size()));
  std::printf("viewer_paint: text document of %zu bytes, window %d x %d\n", doc.size(), Width,
              Height);

  std::printf("(a) open: load, layout, first paint\n");
  TTimes viewerOpen = OpenViewer(doc);
  Report("THTMLViewer::LoadFromChars + paint", viewerOpen);
  TTimes browserOpen = OpenBrowser(html);
  Report("QTextBrowser::setHtml + paint", browserOpen);
  benchutil::Ratio("QTextBrowser / THTMLViewer (cpu)", browserOpen.Cpu, viewerOpen.Cpu, ">= 5x");

  std::printf("(b) full-window paint, average of %d positions\n", PaintPositions);
  auto viewer = MakeViewer();
  viewer->LoadFromChars(doc.data(), int32_t(doc.size()));
  TTimes viewerPaint = PaintViewer(*viewer);
  Report("THTMLViewer paint 800x600", viewerPaint);
  QTextDocument textDoc;
  textDoc.setHtml(html);
  textDoc.setTextWidth(Width);
  textDoc.documentLayout()->documentSize(); // lay it all out before timing the paint
  TTimes docPaint = PaintDocument(textDoc);
  Report("QAbstractTextDocumentLayout::draw 800x600", docPaint);
  benchutil::Ratio("THTMLViewer / QTextDocument (cpu)", viewerPaint.Cpu, docPaint.Cpu, "<= 0.2x");

  std::printf("(c) scrolling by one line\n");
  ScrollRows(*viewer);
  return 0;
}
