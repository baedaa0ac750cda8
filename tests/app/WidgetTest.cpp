#include "AppTestSupport.h"
#include "FakeClock.h"

#include "base/Exceptions.h"

#include <QBitmap>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

namespace {

using widgettest::Face;
using widgettest::Mouse;

// A shown form with caption widgets whose hints run on the test's clock.
class TWidgetTest : public ::testing::Test {
protected:
  TWidgetTest()
  {
    Form.setGeometry(40, 30, 400, 300);
    Form.show();
  }

  TWidget& Add()
  {
    auto* widget = new TWidget(&Form, Clock.NewTicker());
    widget->OnClick = [this](QObject* sender) { Clicks.push_back(sender); };
    return *widget;
  }

  QImage Picture(const TWidget& widget) { return Face(widget)->grab().toImage(); }

  TFakeClock Clock; // outlives the tickers of the form's widgets
  QWidget Form;
  std::vector<QObject*> Clicks;
};

// The first column from the left that holds a pixel of a clear red, as the glyph is drawn in, or
// -1.
int FirstRedColumn(const QImage& image)
{
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y) {
      QColor c = image.pixelColor(x, y);
      if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
        return x;
    }
  return -1;
}

bool HasRed(const QImage& image)
{
  return FirstRedColumn(image) >= 0;
}

TEST(Widget, MustBeOwnedByAForm)
{
  QWidget form;
  QWidget child(&form);
  QObject plain;
  for (QObject* owner : {static_cast<QObject*>(nullptr), static_cast<QObject*>(&child), &plain}) {
    try {
      TWidget widget(owner);
      ADD_FAILURE() << "accepted an owner that is not a form";
    } catch (const ELumoraError& e) {
      EXPECT_EQ(e.Message(), "A Widget must be owned by a form");
    }
  }
  EXPECT_NO_THROW(TWidget widget(&form));
}

TEST_F(TWidgetTest, DefaultsAndItsPlaceAtTheRightEndOfTheTopRow)
{
  TWidget& w = Add();
  EXPECT_FALSE(w.Down());
  EXPECT_TRUE(w.Enabled());
  EXPECT_EQ(w.Font().family(), "Marlett");
  EXPECT_EQ(w.FontColor(), Form.palette().color(QPalette::WindowText));
  EXPECT_EQ(w.Gap(), 2);
  EXPECT_EQ(w.Glyph(), QChar('v'));
  EXPECT_TRUE(w.Image().isNull());
  EXPECT_EQ(w.OffsetLeft(), 0);
  EXPECT_EQ(w.OffsetTop(), 0);
  EXPECT_FALSE(w.ShowHint);
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(w.Index(), 0);
  // The first button ends its own Gap short of the right edge, two pixels below the top.
  EXPECT_EQ(w.ButtonRect().left() + w.ButtonRect().width(), Form.width() - w.Gap());
  EXPECT_EQ(w.ButtonRect().top(), 2);
  EXPECT_EQ(w.RightDistance(), Form.width() - w.ButtonRect().left());
  EXPECT_EQ(Face(w)->geometry(), w.ButtonRect());
  // It follows the right edge.
  Form.resize(520, 300);
  EXPECT_EQ(w.ButtonRect().left() + w.ButtonRect().width(), 520 - w.Gap());
  EXPECT_EQ(Face(w)->geometry(), w.ButtonRect());
}

TEST_F(TWidgetTest, SeveralWidgetsStandRightToLeftSeparatedByTheirGaps)
{
  std::vector<TWidget*> widgets{&Add(), &Add(), &Add()};
  widgets[1]->SetGap(6);
  widgets[2]->SetGap(9);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(widgets[i]->Index(), i);
  const int w = widgets[0]->ButtonRect().width() + 2; // the caption button width
  for (int i = 1; i < 3; ++i) {
    QRect right = widgets[i - 1]->ButtonRect();
    QRect left = widgets[i]->ButtonRect();
    EXPECT_EQ(left.size(), right.size());
    EXPECT_EQ(left.top(), right.top());
    // One button width less 2 further left, and its own Gap between them.
    EXPECT_EQ(right.left() - left.left(), w - 2 + widgets[i]->Gap()) << i;
    EXPECT_EQ(right.left() - (left.left() + left.width()), widgets[i]->Gap()) << i;
  }
  // Widening the first gap moves every widget of the form along.
  std::vector<int> before;
  for (TWidget* widget : widgets)
    before.push_back(widget->ButtonRect().left());
  widgets[0]->SetGap(10);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(widgets[i]->ButtonRect().left(), before[i] - 8) << i;
}

// Press tracking: the button is pressed only while the mouse that went down on it stays inside,
// and a click needs the release inside.
TEST_F(TWidgetTest, PressTracking)
{
  enum Step { Down, DoubleDown, MoveOut, MoveIn, Up };
  struct Case {
    const char* Name;
    std::vector<Step> Steps;
    bool PressedBeforeUp;
    int Clicks;
  };
  const Case cases[] = {
      {"press and release", {Down, Up}, true, 1},
      {"off before release", {Down, MoveOut, Up}, false, 0},
      {"off and back on", {Down, MoveOut, MoveIn, Up}, true, 1},
      {"double click presses too", {DoubleDown, Up}, true, 1},
      {"moving without a press", {MoveIn, MoveOut, Up}, false, 0},
  };
  TWidget& w = Add();
  QWidget* face = Face(w);
  const QPoint in = face->rect().center();
  const QPoint out = in + QPoint(face->width(), 0);
  for (const Case& c : cases) {
    Clicks.clear();
    bool held = false;
    QPoint at = out;
    for (Step step : c.Steps) {
      Qt::MouseButtons buttons = held ? Qt::LeftButton : Qt::NoButton;
      switch (step) {
      case Down:
      case DoubleDown:
        held = true;
        at = in;
        Mouse(face, step == Down ? QEvent::MouseButtonPress : QEvent::MouseButtonDblClick, in,
              Qt::LeftButton, Qt::LeftButton);
        break;
      case MoveOut:
        at = out;
        Mouse(face, QEvent::MouseMove, out, buttons);
        break;
      case MoveIn:
        at = in;
        Mouse(face, QEvent::MouseMove, in, buttons);
        break;
      case Up:
        EXPECT_EQ(w.Pressed(), c.PressedBeforeUp) << c.Name;
        Mouse(face, QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::LeftButton);
        held = false;
        break;
      }
    }
    EXPECT_FALSE(w.Pressed()) << c.Name;
    EXPECT_TRUE(Clicks.empty()) << c.Name << ": the click is posted, not raised at once";
    QCoreApplication::processEvents();
    EXPECT_EQ(int(Clicks.size()), c.Clicks) << c.Name;
    if (!Clicks.empty()) {
      EXPECT_EQ(Clicks.front(), &w) << c.Name;
    }
  }
}

TEST_F(TWidgetTest, DisabledWidgetSwallowsTheClickAndIsDrawnGrey)
{
  TWidget& w = Add();
  w.SetGlyph('H');
  w.SetFont(QFont("DejaVu Sans"));
  w.SetFontColor(Qt::red);
  EXPECT_TRUE(HasRed(Picture(w)));
  w.SetEnabled(false);
  EXPECT_FALSE(HasRed(Picture(w)));
  widgettest::Click(w);
  EXPECT_TRUE(Clicks.empty());
  EXPECT_FALSE(w.Pressed());
  w.SetEnabled(true);
  EXPECT_TRUE(HasRed(Picture(w)));
  widgettest::Click(w);
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(TWidgetTest, PressedAndDownDrawTheSameAndOffsetsMoveTheGlyph)
{
  TWidget& w = Add();
  w.SetGlyph('I');
  w.SetFont(QFont("DejaVu Sans"));
  w.SetFontColor(Qt::red);
  QImage up = Picture(w);
  QWidget* face = Face(w);
  Mouse(face, QEvent::MouseButtonPress, face->rect().center(), Qt::LeftButton, Qt::LeftButton);
  QImage pressed = Picture(w);
  Mouse(face, QEvent::MouseButtonRelease, QPoint(-5, -5), Qt::NoButton, Qt::LeftButton);
  EXPECT_NE(pressed, up);
  EXPECT_EQ(FirstRedColumn(pressed), FirstRedColumn(up) + 1);
  w.SetDown(true);
  EXPECT_EQ(Picture(w), pressed);
  w.SetDown(false);
  EXPECT_EQ(Picture(w), up);
  w.SetOffsetLeft(3);
  EXPECT_EQ(FirstRedColumn(Picture(w)), FirstRedColumn(up) + 3);
}

TEST_F(TWidgetTest, ImageIsDrawnWithoutItsTransparentColour)
{
  TWidget& w = Add();
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::blue);
  for (int y = 0; y < 8; ++y)
    image.setPixelColor(0, y, Qt::magenta); // the bottom-left pixel names the transparent colour
  w.SetImage(image);
  EXPECT_EQ(w.TransparentColor(), QColor(Qt::magenta));
  QImage shown = Picture(w);
  bool blue = false;
  bool magenta = false;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) {
      blue |= shown.pixelColor(x, y) == QColor(Qt::blue);
      magenta |= shown.pixelColor(x, y) == QColor(Qt::magenta);
    }
  EXPECT_TRUE(blue);
  EXPECT_FALSE(magenta);
}

TEST_F(TWidgetTest, InvisibleWidgetIsNeitherDrawnNorHit)
{
  TWidget& w = Add();
  QPoint middle = w.ButtonRect().center();
  QWidget* face = Face(w);
  ASSERT_NE(face, nullptr);
  w.SetVisible(false);
  EXPECT_FALSE(face->isVisible());
  EXPECT_NE(Form.childAt(middle), face);
  w.SetVisible(true);
  EXPECT_EQ(Form.childAt(middle), face);
}

TEST_F(TWidgetTest, SymbolFontCaptionGlyphs)
{
  TWidget& w = Add();
  w.SetGlyph('s');
  if (QFontDatabase::hasFamily("Marlett"))
    EXPECT_EQ(w.ShownGlyph(), "s");
  else
    EXPECT_EQ(w.ShownGlyph(), "?");
  w.SetFont(QFont("DejaVu Sans"));
  EXPECT_EQ(w.ShownGlyph(), "s");
}

TEST_F(TWidgetTest, PopupMenuOpensInsteadOfTheClick)
{
  TWidget& w = Add();
  QMenu menu;
  menu.addAction("About");
  w.PopupMenu = &menu;
  widgettest::Click(w);
  EXPECT_TRUE(Clicks.empty());
  EXPECT_TRUE(menu.isVisible());
  QRect button = w.ButtonRect();
  EXPECT_EQ(menu.pos(), Form.mapToGlobal(QPoint(button.left(), button.top() + button.height())));
  menu.hide();
  w.PopupMenu = nullptr;
  widgettest::Click(w);
  EXPECT_EQ(Clicks.size(), 1u);
}

// The hint waits for the hint pause, stays for the hint hide pause, and goes when the mouse
// leaves or presses; all on the test's clock.
TEST_F(TWidgetTest, HintTiming)
{
  TWidget& w = Add();
  w.Hint = "About";
  w.ShowHint = true;
  QWidget* face = Face(w);
  const QPoint in = face->rect().center();
  const THintTiming timing = w.HintWindow().Timing;
  ASSERT_GT(timing.Pause, 1);
  ASSERT_GT(timing.HidePause, 1);

  Mouse(face, QEvent::MouseMove, in, Qt::NoButton);
  EXPECT_TRUE(w.HintWindow().Pending());
  Clock.Advance(timing.Pause - 1);
  EXPECT_EQ(w.HintWindow().Window(), nullptr);
  Mouse(face, QEvent::MouseMove, in + QPoint(1, 0), Qt::NoButton); // resting does not restart
  Clock.Advance(1);
  ASSERT_NE(w.HintWindow().Window(), nullptr);
  EXPECT_TRUE(w.HintWindow().Shown());
  const QLabel* hint = w.HintWindow().Window();
  EXPECT_EQ(hint->text(), "About");
  QSize text = QFontMetrics(QToolTip::font()).size(0, "About");
  EXPECT_EQ(hint->size(), text + QSize(6, 2));
  EXPECT_EQ(hint->geometry().topLeft(),
            face->mapToGlobal(in) + QPoint(0, PointerDepth(face->cursor())));
  Clock.Advance(timing.HidePause - 1);
  EXPECT_NE(w.HintWindow().Window(), nullptr);
  Clock.Advance(1);
  EXPECT_EQ(w.HintWindow().Window(), nullptr);
  EXPECT_FALSE(w.HintWindow().Pending());

  // Leaving hides a shown hint; pressing hides a pending one.
  Mouse(face, QEvent::MouseMove, in, Qt::NoButton);
  Clock.Advance(timing.Pause);
  ASSERT_NE(w.HintWindow().Window(), nullptr);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(face, &leave);
  EXPECT_EQ(w.HintWindow().Window(), nullptr);
  Mouse(face, QEvent::MouseMove, in, Qt::NoButton);
  Mouse(face, QEvent::MouseButtonPress, in, Qt::LeftButton, Qt::LeftButton);
  EXPECT_FALSE(w.HintWindow().Pending());
  Clock.Advance(timing.Pause + timing.HidePause);
  EXPECT_EQ(w.HintWindow().Window(), nullptr);
  Mouse(face, QEvent::MouseButtonRelease, QPoint(-5, -5), Qt::NoButton, Qt::LeftButton);
}

TEST_F(TWidgetTest, NoHintWhenNotWantedOrDisabled)
{
  struct Case {
    const char* Name;
    bool ShowHint;
    bool Enabled;
    const char* Text;
    bool Pending;
  };
  const Case cases[] = {
      {"ShowHint off", false, true, "About", false},
      {"disabled", true, false, "About", false},
      {"empty text: pending, nothing shown", true, true, "", true},
  };
  for (const Case& c : cases) {
    TWidget& w = Add();
    w.ShowHint = c.ShowHint;
    w.SetEnabled(c.Enabled);
    w.Hint = c.Text;
    Mouse(Face(w), QEvent::MouseMove, Face(w)->rect().center(), Qt::NoButton);
    EXPECT_EQ(w.HintWindow().Pending(), c.Pending) << c.Name;
    Clock.Advance(w.HintWindow().Timing.Pause);
    EXPECT_EQ(w.HintWindow().Window(), nullptr) << c.Name;
    delete &w;
  }
}

TEST(WidgetHint, PointerDepthBelowTheHotSpot)
{
  struct Case {
    const char* Name;
    int VisibleRows; // rows 0 .. VisibleRows-1 of the mask are drawn
    int HotY;
    int Depth;
  };
  const Case cases[] = {
      {"arrow with its tip at the top", 19, 0, 19},
      {"hot spot lower down", 10, 2, 8},
      {"whole height", 32, 0, 32},
  };
  for (const Case& c : cases) {
    QBitmap bitmap(32, 32);
    bitmap.clear();
    QPainter painter(&bitmap);
    painter.setPen(Qt::color1);
    for (int y = 0; y < c.VisibleRows; ++y)
      painter.drawPoint(y / 2, y);
    painter.end();
    QCursor cursor(bitmap, bitmap, 0, c.HotY);
    EXPECT_EQ(PointerDepth(cursor), c.Depth) << c.Name;
  }
  qputenv("XCURSOR_SIZE", "30");
  EXPECT_EQ(PointerDepth(QCursor(Qt::ArrowCursor)), 30);
  qunsetenv("XCURSOR_SIZE");
  EXPECT_GT(PointerDepth(QCursor(Qt::ArrowCursor)), 0);
}

} // namespace
