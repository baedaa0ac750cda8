// Forms in a shown viewer: every control is a real widget on the paint panel, placed where the
// layout puts it, moving with scrolling and hidden once scrolled out; a click on a real submit
// button reaches OnFormSubmit after the click, and Enter in an edit box submits too.
#include "ViewerTestSupport.h"
#include "html/model/FormControlObj.h"
#include "html/model/htmlForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

using ViewerFormsTest = ViewerFixture;

QWidget* WidgetOf(const TFormControlObj& c)
{
  return c.TheControl ? qobject_cast<QWidget*>(c.TheControl->Object()) : nullptr;
}

TEST_F(ViewerFormsTest, EachControlIsItsQtWidgetOnThePaintPanel)
{
  viewer.LoadFromFile(File("f.htm", "<form><input name=e><input type=password name=p>"
                                    "<input type=submit><input type=checkbox name=c>"
                                    "<input type=radio name=r><select name=l multiple>"
                                    "<option>a</select><select name=d><option>b</select>"
                                    "<textarea name=t></textarea></form>"));
  Paint();
  std::vector<std::string> classes;
  for (const auto& c : viewer.AllFormControls()) {
    QWidget* w = WidgetOf(*c);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), Panel());
    EXPECT_TRUE(w->isVisible());
    classes.push_back(w->metaObject()->className());
  }
  EXPECT_EQ(classes, (std::vector<std::string>{"QLineEdit", "QLineEdit", "QPushButton", "QCheckBox",
                                               "QRadioButton", "QListWidget", "QComboBox",
                                               "QPlainTextEdit"}));
  // radio buttons are grouped by the page, not by Qt
  EXPECT_FALSE(
      qobject_cast<QRadioButton*>(WidgetOf(*viewer.AllFormControls()[4]))->autoExclusive());
}

TEST_F(ViewerFormsTest, ControlsMoveWithScrollingAndHideWhenScrolledOut)
{
  viewer.LoadFromFile(
      File("s.htm", LongPage(5, "<form><input name=top value=x>", "</form>") + LongPage(60)));
  Paint();
  QWidget* w = WidgetOf(*viewer.AllFormControls()[0]);
  ASSERT_NE(w, nullptr);
  int y0 = w->y();
  EXPECT_TRUE(w->isVisible());
  viewer.SetVScrollPosition(10);
  Paint();
  EXPECT_EQ(w->y(), y0 - 10);
  EXPECT_TRUE(w->isVisible());
  viewer.SetVScrollPosition(1000);
  Paint();
  EXPECT_FALSE(w->isVisible());
}

TEST_F(ViewerFormsTest, ClicksAndEnterSubmitThroughTheViewer)
{
  std::vector<std::vector<std::string>> results;
  viewer.OnFormSubmit = [&](QObject* sender, const std::string& action, const std::string&,
                            const std::string&, const std::string& method,
                            std::vector<std::string> r) {
    EXPECT_EQ(sender, &viewer);
    EXPECT_EQ(action, "go.cgi");
    EXPECT_EQ(method, "Get");
    results.push_back(std::move(r));
  };
  viewer.LoadFromFile(File("c.htm", "<form action=go.cgi><input name=q value=v>"
                                    "<input type=checkbox name=c>"
                                    "<input type=submit name=s value=OK></form>"));
  Paint();
  const auto& controls = viewer.AllFormControls();
  auto* box = qobject_cast<QCheckBox*>(WidgetOf(*controls[1]));
  auto* button = qobject_cast<QPushButton*>(WidgetOf(*controls[2]));
  auto* edit = qobject_cast<QLineEdit*>(WidgetOf(*controls[0]));
  ASSERT_TRUE(box && button && edit);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, 6));
  EXPECT_TRUE(box->isChecked());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(results.empty()); // handed over after the click
  QCoreApplication::processEvents();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0], (std::vector<std::string>{"q=v", "c=on", "s=OK"}));
  edit->setFocus();
  QTest::keyClicks(edit, "w");
  QTest::keyClick(edit, Qt::Key_Return);
  QCoreApplication::processEvents();
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[1], (std::vector<std::string>{"q=vw", "c=on"}));
}

// Pages no form should be written as still load into real widgets, with what they submit.
TEST_F(ViewerFormsTest, HugeAndMalformedFormsLoadIntoWidgets)
{
  std::vector<std::string> submitted;
  viewer.OnFormSubmit = [&](QObject*, const std::string&, const std::string&, const std::string&,
                            const std::string&,
                            std::vector<std::string> r) { submitted = std::move(r); };
  std::string options;
  for (int i = 0; i < 100000; ++i)
    options += "<option>o" + std::to_string(i);
  std::string lines;
  for (int i = 0; i < (10 << 20) / 80; ++i)
    lines += std::string(79, 'a' + i % 26) + "\n";
  viewer.LoadFromFile(File("huge.htm", "<form><select name=d>" + options +
                                           "<option selected>last</select><select name=l "
                                           "multiple>" +
                                           options +
                                           "<option selected>last</select>"
                                           "<textarea name=t>" +
                                           lines + "</textarea></form>"));
  Paint();
  const auto& controls = viewer.AllFormControls();
  ASSERT_EQ(controls.Count(), 3);
  EXPECT_EQ(controls[0]->Widget()->Count(), 100001);
  EXPECT_EQ(controls[1]->Widget()->Count(), 100001);
  EXPECT_EQ(controls[2]->Widget()->Lines().size(), lines.size() / 80);
  controls[0]->Form->Submit();
  QCoreApplication::processEvents();
  ASSERT_EQ(submitted.size(), 3u);
  EXPECT_EQ(submitted[0], "d=last");
  EXPECT_EQ(submitted[1], "l=last");
  // "t=", then the lines of 79 letters joined by CR LF
  size_t n = lines.size() / 80;
  EXPECT_EQ(submitted[2].size(), 2 + n * 79 + (n - 1) * 2);

  struct Case {
    const char* Html;
    std::vector<std::string> Kinds; // of every control, in order
  } cases[] = {
      {"<input name=a><form><input name=b><form><input name=c></form><input name=d>",
       {"edit", "edit", "edit", "edit"}},
      {"<form><select name=s><option>one<option>two", {"combo"}},
      {"<form><select name=s size=0 multiple><option>a</select><select size=-2 multiple></select>"
       "<textarea name=t>never closed",
       {"listbox", "listbox", "textarea"}},
  };
  for (const Case& c : cases) {
    viewer.LoadFromFile(File("bad.htm", c.Html));
    Paint();
    std::vector<std::string> kinds;
    for (const auto& control : viewer.AllFormControls()) {
      kinds.push_back(control->KindName());
      EXPECT_GT(control->Height(), 0) << c.Html;
    }
    EXPECT_EQ(kinds, c.Kinds) << c.Html;
  }
}

// A long page of controls makes widgets only for the controls shown, focused or clicked; the
// others keep their state, have the sizes their widgets will have and submit the same.
TEST_F(ViewerFormsTest, WidgetsAreMadeForTheControlsShown)
{
  std::string page = "<form>";
  for (int i = 0; i < 300; ++i)
    page += "<p>Field " + std::to_string(i) + " <input name=e" + std::to_string(i) + " value=v" +
            std::to_string(i) + "></p>\n";
  // a UTF-8 page: the widget made late still shows the text in the page's charset
  page += "<p><input name=u value=\"Gr\xC3\xBC\xC3\x9F\xC3\xA9\">";
  page += "<p><select name=l size=3><option>a<option selected>b</select>"
          "<textarea name=t rows=2>x\ny</textarea><select name=d><option>c</select></form>";
  viewer.LoadFromFile(File("many.htm", page));
  Paint();
  const auto& controls = viewer.AllFormControls();
  ASSERT_EQ(controls.Count(), 304);
  auto realised = [&] {
    std::vector<int> made;
    for (int i = 0; i < controls.Count(); ++i)
      if (controls[i]->TheControl->Realised())
        made.push_back(i);
    return made;
  };
  std::vector<int> shown = realised();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.front(), 0);
  EXPECT_LT(shown.size(), 30u);
  // the sizes measured without widgets are the widgets' sizes
  std::vector<QSize> before;
  for (int i = 301; i < 304; ++i)
    before.push_back(controls[i]->TheControl->Geometry().size());
  viewer.SetVScrollPosition(viewer.DocumentHeight());
  Paint();
  for (int i = 301; i < 304; ++i) {
    QWidget* w = WidgetOf(*controls[i]);
    ASSERT_NE(w, nullptr) << i;
    EXPECT_TRUE(w->isVisible()) << i;
    EXPECT_EQ(w->size(), before[size_t(i - 301)]) << controls[i]->KindName();
  }
  auto* utf8 = qobject_cast<QLineEdit*>(WidgetOf(*controls[300]));
  ASSERT_NE(utf8, nullptr);
  EXPECT_EQ(utf8->text(), QString::fromUtf8("Gr\xC3\xBC\xC3\x9F\xC3\xA9"));
  EXPECT_LT(realised().size(), 60u);
  std::vector<std::string> results;
  viewer.OnFormSubmit = [&](QObject*, const std::string&, const std::string&, const std::string&,
                            const std::string&,
                            std::vector<std::string> r) { results = std::move(r); };
  controls[0]->Form->Submit();
  QCoreApplication::processEvents();
  ASSERT_EQ(results.size(), 304u);
  EXPECT_EQ(results[150], "e150=v150");
  EXPECT_EQ(results[300], "u=Gr\xC3\xBC\xC3\x9F\xC3\xA9");
  EXPECT_EQ(results[301], "l=b");
  EXPECT_EQ(results[302], "t=x\r\ny");
  EXPECT_EQ(results[303], "d=c");
}

// Widgets made late stand in the tab chain in page order, and a focused control gets widgets
// for its neighbours so that Tab and Shift+Tab reach them.
TEST_F(ViewerFormsTest, TabFollowsThePageWhateverOrderWidgetsAreMadeIn)
{
  std::string lines;
  for (int i = 0; i < 80; ++i)
    lines += "<p>Line " + std::to_string(i) + "</p>\n";
  viewer.LoadFromFile(File("tabs.htm", "<form><input name=a>" + lines + "<input name=b>" + lines +
                                           "<input name=c>" + lines + "</form>"));
  const auto& controls = viewer.AllFormControls();
  ASSERT_EQ(controls.Count(), 3);
  // shown from the bottom up: c first, then b, then a
  for (int i : {2, 1, 0}) {
    viewer.SetVScrollPosition(controls[i]->YValue - 20);
    Paint();
    EXPECT_TRUE(controls[i]->TheControl->Realised()) << i;
    EXPECT_EQ(controls[0]->TheControl->Realised(), i == 0) << i;
  }
  QWidget* a = WidgetOf(*controls[0]);
  QWidget* b = WidgetOf(*controls[1]);
  QWidget* c = WidgetOf(*controls[2]);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->nextInFocusChain(), b);
  EXPECT_EQ(b->nextInFocusChain(), c);

  viewer.LoadFromFile(File("tabs2.htm", "<form><input name=a>" + lines + "<input name=b>" + lines +
                                            "<input name=c></form>"));
  Paint();
  const auto& again = viewer.AllFormControls();
  ASSERT_TRUE(again[0]->TheControl->Realised());
  EXPECT_FALSE(again[1]->TheControl->Realised());
  WidgetOf(*again[0])->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(again[1]->TheControl->Realised()); // the next one, for Tab
  EXPECT_FALSE(again[2]->TheControl->Realised());
  EXPECT_EQ(WidgetOf(*again[0])->nextInFocusChain(), WidgetOf(*again[1]));
}

} // namespace
