#pragma once
// A shown viewer with a temporary folder for its pages, and the points of text in it.
#include "html/model/FontObj.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "html/viewer/HTMLViewer.h"
#include "html/viewer/PaintPanel.h"
#include "platform/Canvas.h"
#include "support/TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>
#include <string>

struct ViewerFixture : ::testing::Test {
  ViewerFixture()
  {
    viewer.SetDefBackground(clWhite);
    viewer.SetBorderStyle(htNone);
    viewer.resize(400, 300);
    viewer.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&viewer));
  }

  std::string File(const std::string& name, const std::string& text)
  {
    return testsupport::WriteFile(dir, name, text);
  }

  // Paints now, so that hit tests know where every block was drawn.
  void Paint() { viewer.PaintPanel()->repaint(); }

  QWidget* Panel() const { return viewer.PaintPanel(); }

  // The panel point of a document position (inside its character), scrolled as shown now.
  QPoint PointOf(int32_t position)
  {
    Paint();
    TCanvas canvas;
    int32_t x = 0, y = 0;
    EXPECT_TRUE(viewer.SectionList()->CursorPoint(canvas, position, x, y)) << position;
    return QPoint(x + 2, y - viewer.VScrollPosition() + 4);
  }

  // The document position of the first character of text, searched from the start.
  int32_t PositionOf(const std::string& text)
  {
    int32_t p = viewer.SectionList()->SearchText(0, text, true);
    EXPECT_GE(p, 0) << text;
    return p;
  }

  QPoint PointOfText(const std::string& text) { return PointOf(PositionOf(text)); }

  // A page of n numbered paragraphs, each "Line <i> of the page".
  static std::string LongPage(int n, const std::string& head = "", const std::string& tail = "")
  {
    std::string s = "<html><body>" + head;
    for (int i = 0; i < n; ++i)
      s += "<p>Line " + std::to_string(i) + " of the page</p>\n";
    return s + tail + "</body></html>";
  }

  QString dir = testsupport::TempDir();
  THTMLViewer viewer;
};
