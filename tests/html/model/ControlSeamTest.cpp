// The document's side of the toolkit seam: panels made by the host, controls placed by
// painting, unplaced ones hidden (or kept reachable while focused), and repaints asked of the
// host, all without a widget.
#include "ModelTestSupport.h"
#include "html/model/FormControlObj.h"
#include "html/model/PanelObj.h"
#include "html/symbols/AttributeList.h"

#include <QPainter>

namespace {

class ControlSeamTest : public ModelTest {
protected:
  ControlSeamTest() { Doc.Host = &Host; }
  ~ControlSeamTest() override { List.Clear(); }

  void PaintAt(int32_t scroll)
  {
    List.SetScroll(scroll);
    QImage out(400, 100, QImage::Format_ARGB32);
    QPainter painter(&out);
    TCanvas canvas(&painter);
    List.Paint(canvas, QRect(0, 0, 400, 100), 400, 0, 0);
  }

  TFakeHost Host;
};

TEST_F(ControlSeamTest, PanelIsMadeByTheHostSizedAndAnnounced)
{
  std::vector<std::string> created;
  Doc.OnPanelCreate = [&](QObject*, const std::string& src, TPanelControl* panel) {
    created.push_back(src);
    panel->Resize(panel->Width() + 10, 33); // the host may resize: the page follows
  };
  TPanelObj panel(&Doc, 0, 50, 20, "calendar");
  ASSERT_EQ(Host.Panels.size(), 1u);
  EXPECT_EQ(panel.Panel.get(), Host.Panels[0]);
  EXPECT_EQ(created, std::vector<std::string>{"calendar"});
  EXPECT_EQ(panel.BoxWidth, 60);
  EXPECT_EQ(panel.BoxHeight, 33);
  EXPECT_EQ(Doc.Panels, std::vector<TPanelObj*>{&panel});
}

TEST_F(ControlSeamTest, WithoutAHostAPanelKeepsItsSizeAndHasNoControl)
{
  Doc.Host = nullptr;
  bool announced = false;
  Doc.OnPanelCreate = [&](QObject*, const std::string&, TPanelControl*) { announced = true; };
  TPanelObj panel(&Doc, 0, 70000, 25, "x");
  EXPECT_EQ(panel.Panel, nullptr);
  EXPECT_FALSE(announced);
  EXPECT_EQ(panel.BoxWidth, 32000);
  EXPECT_EQ(panel.BoxHeight, 25);
}

TEST_F(ControlSeamTest, PaintingPlacesWhatIsInViewAndHidesTheRest)
{
  // A control at the top of a long page, out of view once scrolled.
  auto control = std::make_unique<TFormControlObj>(&Doc, 0);
  control->TheControl = std::make_unique<TFakeControl>(QRect(0, 0, 40, 20));
  auto* fake = static_cast<TFakeControl*>(control->TheControl.get());
  TFormControlObj* c = Doc.AllFormControls.Add(std::move(control));
  auto s = MakeSection();
  Append(*s, "ab");
  s->PlaceControl(c, 2, false);
  Append(*s, "cd", 3);
  List.Add(std::move(s));
  for (int i = 0; i < 40; ++i)
    AddText("line " + std::to_string(i));
  LayoutAt(400);

  struct Case {
    int32_t Scroll;
    bool Focused;
    bool Shown;
    bool MovedAway;
  };
  const Case cases[] = {
      {0, false, true, false},
      {2000, false, false, false},
      {0, false, true, false},
      {2000, true, true, true}, // focused: moved out of sight, keeps the keyboard
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Scroll);
    fake->Focus = k.Focused;
    PaintAt(k.Scroll);
    EXPECT_EQ(fake->Shown, k.Shown);
    EXPECT_EQ(fake->Rect.x() < -1000, k.MovedAway);
    if (k.Shown && !k.MovedAway) {
      EXPECT_EQ(fake->Rect.x(), Width("ab"));
      EXPECT_EQ(c->Placed, true);
    }
  }
}

TEST_F(ControlSeamTest, HoverChangeAsksTheHostToRepaint)
{
  Doc.HoverColoring = true;
  auto s = MakeSection();
  TUrlTarget link;
  link.Url = "b.htm";
  s->LinkMark(true, Font(), 0, link);
  Append(*s, "link");
  s->LinkMark(false, Font(), 0, link);
  Append(*s, " plain", 4);
  List.Add(std::move(s));
  LayoutAt(400);
  PaintAt(0);
  TFormControlObj* control = nullptr;
  TUrlTarget found;
  Host.Invalidated.clear();
  EXPECT_TRUE(List.LinkAt(Canvas, 2, 5, control, found));
  EXPECT_EQ(Host.Invalidated, std::vector<QRect>{QRect()});
  List.LinkAt(Canvas, 2, 5, control, found); // same link: nothing to repaint
  EXPECT_EQ(Host.Invalidated.size(), 1u);
}

} // namespace
