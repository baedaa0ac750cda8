// Forms in a shown viewer: every control is a real widget on the paint panel, placed where the
// layout puts it, moving with scrolling and hidden once scrolled out; a click on a real submit
// button reaches OnFormSubmit after the click, and Enter in an edit box submits too.
#include "ViewerTestSupport.h"
#include "html/model/FormControlObj.h"

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

} // namespace
