#pragma once
// A shown frame viewer with a folder of pages, and clicks on the text of its frames.
#include "html/model/FontObj.h"
#include "html/model/SectionList.h"
#include "html/viewer/Frame.h"
#include "html/viewer/FrameSet.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/PaintPanel.h"
#include "platform/Canvas.h"
#include "support/TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>
#include <string>

struct FramesFixture : ::testing::Test {
  FramesFixture()
  {
    ConfigureMainViewer(viewer);
    viewer.resize(800, 600);
    viewer.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&viewer));
  }

  std::string File(const std::string& name, const std::string& text)
  {
    return testsupport::WriteFile(dir, name, text);
  }
  std::string Path(const std::string& name) const
  {
    return (dir + "/" + name.c_str()).toStdString();
  }

  // The frame of the document shown with this NAME.
  TFrame* Named(const std::string& name) const
  {
    auto& named = viewer.CurFrameSet()->NamedFrames;
    auto it = named.find(name);
    return it == named.end() ? nullptr : it->second;
  }

  // Clicks the first character of text in frame's viewer with the real mouse path.
  static void Click(TFrame* frame, const std::string& text)
  {
    ASSERT_NE(frame, nullptr);
    THTMLViewer* v = frame->Viewer();
    ASSERT_NE(v, nullptr);
    v->PaintPanel()->repaint();
    int32_t p = v->SectionList()->SearchText(0, text, true);
    ASSERT_GE(p, 0) << text;
    TCanvas canvas;
    int32_t x = 0, y = 0;
    // The second character: the first one's position is also the end of the block before.
    ASSERT_TRUE(v->SectionList()->CursorPoint(canvas, p + 1, x, y));
    QPoint at(x + 2, y - v->VScrollPosition() + 4);
    QTest::mouseMove(v->PaintPanel(), at);
    QTest::mouseClick(v->PaintPanel(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
  }

  // A page of n numbered paragraphs.
  static std::string LongPage(const std::string& title, int n)
  {
    std::string s = "<title>" + title + "</title>";
    for (int i = 0; i < n; ++i)
      s += "<p>" + title + " line " + std::to_string(i) + "\n";
    return s;
  }

  QString dir = testsupport::TempDir();
  TFrameViewer viewer;
};
