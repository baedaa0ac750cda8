// Forms as the builder makes them from a page: the strings each control submits, resets,
// radio groups, the implicit form, image-button coordinates, Enter, sizes and printing. The
// documents have no window, so every control keeps its state in a TStateFormWidget and the
// user's clicks and keys are played through it.
#include "html/model/Document.h"
#include "html/model/FormControlObj.h"
#include "html/model/SectionList.h"
#include "html/model/htmlForm.h"
#include "html/parser/Builder.h"
#include "platform/Canvas.h"
#include "platform/FontMetricsCache.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using TLines = std::vector<std::string>;

struct TSubmitted {
  std::string Action, Target, EncType, Method;
  TLines Results;
};

class FormsTest : public ::testing::Test {
protected:
  void Parse(const std::string& html)
  {
    List.Clear();
    Doc().ClearControls();
    Submitted.clear();
    Doc().OnFormSubmit = [this](QObject*, const std::string& action, const std::string& target,
                                const std::string& encType, const std::string& method,
                                TLines results) {
      Submitted.push_back({action, target, encType, method, std::move(results)});
    };
    TBuilder builder;
    builder.ParseDocument(TParseSource::FromString(html), List, Anchors);
    TCanvas canvas;
    int32_t scrollWidth = 0, pos = 0;
    List.Layout(canvas, 0, 800, scrollWidth, pos);
  }
  TDocument& Doc() { return List.Document(); }
  TFormControlObj* Control(const std::string& name, int nth = 0)
  {
    for (const auto& c : Doc().AllFormControls)
      if (c->Name == name && nth-- == 0)
        return c.get();
    ADD_FAILURE() << "no control " << name;
    return nullptr;
  }
  TStateFormWidget& W(const std::string& name, int nth = 0)
  {
    return *static_cast<TStateFormWidget*>(Control(name, nth)->Widget());
  }
  // What a form submits with no button involved.
  TLines Submit(size_t form = 0)
  {
    Submitted.clear();
    Doc().Forms.at(form)->Submit();
    return Submitted.empty() ? TLines{"<nothing>"} : Submitted.back().Results;
  }

  TSectionList List;
  TAnchorList Anchors;
  std::vector<TSubmitted> Submitted;
};

TEST_F(FormsTest, EachControlSubmitsItsStringsInDocumentOrder)
{
  struct Case {
    const char* Html;
    TLines Expected;
  } cases[] = {
      {"<input type=hidden name=h value=1><input name=t value=abc>", {"h=1", "t=abc"}},
      {"<input type=password name=p value=secret size=4>", {"p=secret"}},
      // a check box without VALUE sends "on", an unchecked one nothing
      {"<input type=checkbox name=c checked><input type=checkbox name=d value=x>", {"c=on"}},
      {"<input type=checkbox name=c value=yes checked>", {"c=yes"}},
      // a radio without VALUE sends its name and "="; two CHECKED ones are both sent
      {"<input type=radio name=r value=1><input type=radio name=r value=2 checked>", {"r=2"}},
      {"<input type=radio name=r checked><input type=radio name=s checked>", {"r=", "s="}},
      // buttons and unknown types
      {"<input type=submit name=go><input type=reset><input type=button name=b>", {}},
      {"<input type=file name=f value=v><input type=weird name=g>", {"f=v", "g="}},
      {"<input value=nameless>", {"=nameless"}},
      // lists: the value when given (even empty), else the text; current item when single
      {"<select name=s><option>One<option selected value=2>Two<option>Three</select>", {"s=2"}},
      {"<select name=s><option>  One  <option value=''>Two</select>", {"s=One"}},
      {"<select name=s multiple><option selected>A<option>B<option selected value=c>C</select>",
       {"s=A", "s=c"}},
      {"<select name=s size=3><option>A<option selected>B<option selected>C</select>", {"s=C"}},
      {"<select name=s></select>", {}},
      // text areas: line ends as CR LF without WRAP, joined directly with it
      {"<textarea name=t>one\ntwo</textarea>", {"t=one\r\ntwo"}},
      {"<textarea name=t wrap=soft>one\ntwo</textarea>", {"t=onetwo"}},
      {"<textarea name=t wrap=OFF>a &amp; b</textarea>", {"t=a & b"}},
  };
  for (const Case& c : cases) {
    Parse(std::string("<form>") + c.Html + "</form>");
    EXPECT_EQ(Submit(), c.Expected) << c.Html;
  }
}

TEST_F(FormsTest, FormAttributesAndTheSubmitButtonString)
{
  Parse("<form action=/cgi target=frame2 enctype=text/plain method=postal>"
        "<input name=q value=x><input type=submit name=go value=Search><input type=submit>"
        "</form>");
  W("go").Click();
  ASSERT_EQ(Submitted.size(), 1u);
  EXPECT_EQ(Submitted[0].Action, "/cgi");
  EXPECT_EQ(Submitted[0].Target, "frame2");
  EXPECT_EQ(Submitted[0].EncType, "text/plain");
  EXPECT_EQ(Submitted[0].Method, "post"); // the first four characters
  EXPECT_EQ(Submitted[0].Results, (TLines{"q=x", "go=Search"}));
  // the second button has no name: nothing of its own, default caption
  auto* unnamed = static_cast<TStateFormWidget*>(Doc().Forms[0]->Controls[2]->Widget());
  EXPECT_EQ(unnamed->Text(), "Submit");
  unnamed->Click();
  ASSERT_EQ(Submitted.size(), 2u);
  EXPECT_EQ(Submitted[1].Results, TLines{"q=x"});
  // without a handler nothing happens
  Doc().OnFormSubmit = nullptr;
  W("go").Click();
  EXPECT_EQ(Submitted.size(), 2u);
  Parse("<form><input name=q></form>");
  EXPECT_EQ(Submitted.size(), 0u);
  Doc().Forms[0]->Submit();
  EXPECT_EQ(Submitted.at(0).Method, "Get");
}

TEST_F(FormsTest, ResetBringsBackTheInitialValues)
{
  Parse("<form><input name=t value=abc><input type=checkbox name=c checked>"
        "<input type=radio name=r value=1 checked><input type=radio name=r value=2>"
        "<select name=s><option>A<option selected>B</select>"
        "<select name=m multiple><option selected>X<option>Y</select>"
        "<textarea name=a>first</textarea><input type=reset name=rs></form>");
  W("t").SetText("changed");
  W("c").Click();
  W("r", 1).Click();
  W("s").SetItemIndex(0);
  W("m").SetSelected(0, false);
  W("m").SetSelected(1, true);
  W("a").SetLines({"other", "text"});
  EXPECT_EQ(Submit(), (TLines{"t=changed", "r=2", "s=A", "m=Y", "a=other\r\ntext"}));
  W("rs").Click();
  EXPECT_EQ(Submit(), (TLines{"t=abc", "c=on", "r=1", "s=B", "m=X", "a=first"}));
}

TEST_F(FormsTest, RadioButtonsExcludeTheirNameIgnoringCaseWithinOneForm)
{
  Parse("<form><input type=radio name=a value=1 checked><input type=radio name=A value=2>"
        "<input type=radio value=3 checked><input type=radio value=4></form>"
        "<form><input type=radio name=a value=5 checked></form>");
  W("A").Click();
  EXPECT_EQ(Submit(0), (TLines{"A=2", "=3"}));
  EXPECT_EQ(Submit(1), TLines{"a=5"}); // the other form keeps its button
  // a button without a name unchecks nothing
  static_cast<TStateFormWidget*>(Doc().Forms[0]->Controls[3]->Widget())->Click();
  EXPECT_EQ(Submit(0), (TLines{"A=2", "=3", "=4"}));
}

TEST_F(FormsTest, ControlsOutsideAFormShareAnImplicitFormUntilTheNextForm)
{
  Parse("<input name=a><input name=b><form action=x><input name=c></form><input name=d>"
        "<form><form action=y><input name=e></form>");
  ASSERT_EQ(Doc().Forms.size(), 5u);
  EXPECT_EQ(Submit(0), (TLines{"a=", "b="}));
  EXPECT_EQ(Doc().Forms[1]->Action, "x");
  EXPECT_EQ(Submit(1), TLines{"c="});
  EXPECT_EQ(Submit(2), TLines{"d="});
  EXPECT_EQ(Submit(3), TLines{});         // the empty form
  EXPECT_EQ(Doc().Forms[4]->Action, "y"); // a nested FORM
  EXPECT_EQ(Submit(4), TLines{"e="});
  EXPECT_EQ(Doc().Forms[0]->VisibleControlCount, 2);
  Parse("<form><input type=hidden name=h><input name=t></form>");
  EXPECT_EQ(Doc().Forms[0]->VisibleControlCount, 1);
  EXPECT_EQ(Doc().Forms[0]->Controls.size(), 2u);
}

TEST_F(FormsTest, ImageButtonSendsTheClickPositionOnlyWithItsOwnSubmission)
{
  Parse("<form><input name=q value=v><input type=image name=n src=x.gif>"
        "<input type=image src=y.gif></form>");
  auto* named = dynamic_cast<TImageFormControlObj*>(Doc().Forms[0]->Controls[1]);
  auto* unnamed = dynamic_cast<TImageFormControlObj*>(Doc().Forms[0]->Controls[2]);
  ASSERT_TRUE(named && unnamed);
  named->MouseAt(7, 3);
  named->ImageClicked();
  ASSERT_EQ(Submitted.size(), 1u);
  EXPECT_EQ(Submitted[0].Results, (TLines{"q=v", "n.x=7", "n.y=3"}));
  W("q").PressKey(Qt::Key_Return); // a later Enter sends no coordinates
  ASSERT_EQ(Submitted.size(), 2u);
  EXPECT_EQ(Submitted[1].Results, TLines{"q=v"});
  unnamed->MouseAt(0, 12);
  unnamed->ImageClicked();
  EXPECT_EQ(Submitted.back().Results, (TLines{"q=v", "x=0", "y=12"}));
}

TEST_F(FormsTest, EnterSubmitsFromAnEditBoxOnly)
{
  Parse("<form><input name=q value=v><textarea name=t>x</textarea></form>");
  W("t").PressKey(Qt::Key_Return);
  W("q").PressKey(Qt::Key_A);
  EXPECT_TRUE(Submitted.empty());
  W("q").PressKey(Qt::Key_Enter);
  ASSERT_EQ(Submitted.size(), 1u);
  EXPECT_EQ(Submitted[0].Results, (TLines{"q=v", "t=x"}));
}

TEST_F(FormsTest, ObjectClicksCarryTheOnClickTextAndTheControlStillActs)
{
  std::vector<std::pair<TFormControlObj*, std::string>> clicks;
  Parse("<form><input type=checkbox name=c onclick='alert one'>"
        "<input type=radio name=r value=1 onclick=two><input type=reset name=rs onclick=three>"
        "</form>");
  Doc().OnObjectClick = [&](QObject*, TFormControlObj* c, const std::string& text) {
    clicks.emplace_back(c, text);
  };
  W("c").Click();
  W("r").Click();
  W("rs").Click();
  ASSERT_EQ(clicks.size(), 3u);
  EXPECT_EQ(clicks[0], std::make_pair(Control("c"), std::string("alert one")));
  EXPECT_EQ(clicks[1], std::make_pair(Control("r"), std::string("two")));
  EXPECT_EQ(clicks[2], std::make_pair(Control("rs"), std::string("three")));
  EXPECT_FALSE(W("c").Checked()); // the reset after the click unchecked both again
  EXPECT_FALSE(W("r").Checked());
}

TEST_F(FormsTest, SelectKindsAndListBoxRows)
{
  std::string twelve;
  for (int i = 0; i < 12; ++i)
    twelve += "<option>item" + std::to_string(i);
  struct Case {
    std::string Html;
    const char* Kind;
    int Rows; // list boxes only
  } cases[] = {
      {"<select size=1><option>a</select>", "combo", 0},
      {"<select size=4><option>a</select>", "listbox", 4},
      {"<select>" + twelve + "</select>", "combo", 0},
      {"<select multiple>" + twelve + "</select>", "listbox", 8},
      {"<select multiple></select>", "listbox", 1},
      {"<select size=0 multiple><option>a<option>b</select>", "listbox", 2},
      {"<select size=-3 multiple><option>a</select>", "listbox", 1},
  };
  TCanvas canvas;
  const TFontMetrics& m = canvas.Metrics("Courier New", 10, false, false, 0);
  for (const Case& c : cases) {
    Parse("<form name=f>" + c.Html + "</form>");
    TFormControlObj* ctl = Doc().Forms[0]->Controls.at(0);
    EXPECT_STREQ(ctl->KindName(), c.Kind) << c.Html;
    if (auto* lb = dynamic_cast<TListBoxFormControlObj*>(ctl); lb && c.Rows) {
      EXPECT_EQ(lb->LBSize, c.Rows) << c.Html;
      EXPECT_EQ(ctl->Height(), m.Height * c.Rows + 2 * TStateFormWidget::FrameWidth) << c.Html;
    }
  }
}

TEST_F(FormsTest, SizesFollowTheControlFont)
{
  Parse("<form><input name=e size=7><input name=d size='12, 3'><input name=x size=', 3'>"
        "<textarea name=t rows=3 cols=10></textarea><input type=checkbox name=c>"
        "<input type=radio name=r><input type=submit name=s value=Go>"
        "<select name=l size=2><option>abcdef</select></form>");
  TCanvas canvas;
  const TFontMetrics& fixed = canvas.Metrics("Courier New", 10, false, false, 0);
  int a = fixed.Advance['A'];
  EXPECT_EQ(Control("e")->Width(), a * 7 + 5);
  EXPECT_EQ(Control("d")->Width(), a * 12 + 5);
  EXPECT_EQ(Control("x")->Width(), a * 20 + 5);
  EXPECT_EQ(Control("e")->Height(), 20);
  int frame = 2 * TStateFormWidget::FrameWidth;
  EXPECT_EQ(Control("t")->Width(), a * 10 + 5 + frame);
  EXPECT_EQ(Control("t")->Height(), fixed.Height * 3 + 5 + frame);
  EXPECT_EQ(Control("l")->Width(), a * 6 + 15 + frame);
  EXPECT_EQ(Control("c")->TheControl->Geometry().size(), QSize(13, 13));
  EXPECT_EQ(Control("r")->TheControl->Geometry().size(), QSize(13, 14));
  QFont f = Control("s")->Widget()->Font();
  const TFontMetrics& bm = canvas.Metrics(f.family(), f.pointSize(), false, false, 0);
  EXPECT_EQ(Control("s")->Width(), bm.TextWidth("Go", 2) + 20);
  EXPECT_EQ(Control("s")->Height(), bm.Height + 8);
}

TEST_F(FormsTest, MalformedFormsEndAtTheEndOfTheFile)
{
  Parse("<form><textarea name=t>never\nclosed");
  EXPECT_EQ(Submit(), TLines{"t=never\r\nclosed"});
  Parse("<form><select name=s><option selected>one<option>two");
  EXPECT_EQ(Submit(), TLines{"s=one"});
  std::string big = "<form><select name=s>";
  for (int i = 0; i < 100000; ++i)
    big += "<option>o" + std::to_string(i);
  big += "<option selected>last</select><textarea name=t>" + std::string(10 << 20, 'x') +
         "</textarea></form>";
  Parse(big);
  TLines r = Submit();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0], "s=last");
  EXPECT_EQ(r[1].size(), 2u + (10u << 20));
}

TEST_F(FormsTest, TheLayoutDumpShowsEachControlAfterItsRun)
{
  Parse("<form>Name <input name=n value=v> <input type=checkbox name=c checked></form>");
  std::ostringstream out;
  List.Dump(out, "");
  std::string d = out.str();
  EXPECT_NE(d.find("control kind=edit x="), std::string::npos) << d;
  EXPECT_NE(d.find(" name=\"n\" value=\"v\"\n"), std::string::npos) << d;
  EXPECT_NE(d.find("control kind=checkbox"), std::string::npos) << d;
  EXPECT_NE(d.find(" name=\"c\" value=\"on\" checked\n"), std::string::npos) << d;
  EXPECT_LT(d.find("run x="), d.find("control kind=edit")) << d;
}

TEST_F(FormsTest, PrintedControlsAreDrawnOnTheCanvas)
{
  Parse("<form><input type=checkbox name=c checked><input type=checkbox name=u>"
        "<input type=radio name=r checked><input name=e value=MMMM></form>");
  QImage img(200, 60, QImage::Format_RGB32);
  img.fill(Qt::blue);
  {
    QPainter painter(&img);
    TCanvas canvas(&painter);
    canvas.Printing = true;
    Control("c")->Print(canvas, 10, 10);
    Control("u")->Print(canvas, 30, 10);
    Control("r")->Print(canvas, 50, 10);
    Control("e")->Print(canvas, 80, 10);
  }
  auto at = [&](int x, int y) { return QColor(img.pixel(x, y)); };
  // frames: silver/shadow bevel outside, white inside, untouched around
  EXPECT_EQ(at(9, 9), QColor(Qt::blue));
  EXPECT_EQ(at(30 + 6, 10 + 9), QColor(Qt::white)); // unchecked: no tick
  int ym = 10 + 13 / 2;
  EXPECT_EQ(at(10 + 5, ym + 2), QColor(Qt::black)); // the tick's lowest point
  EXPECT_EQ(at(50 + 7, 10 + 7), QColor(Qt::black)); // the radio's dot
  EXPECT_NE(at(10, 10), QColor(Qt::white));         // the bevel
  bool text = false;
  for (int x = 84; x < 80 + Control("e")->Width() - 8; ++x)
    for (int y = 12; y < 28; ++y)
      text = text || at(x, y) == QColor(Qt::black);
  EXPECT_TRUE(text);
}

TEST_F(FormsTest, UnplacedControlsJoinTheTabChainWhileAControlHasTheFocus)
{
  Parse("<form><input name=a><input name=b></form>");
  W("a").Focus = true;
  Doc().ControlEntered(Control("a"));
  EXPECT_TRUE(W("b").Shown);
  EXPECT_EQ(W("b").Rect.x(), -4000);
  Doc().ControlExited(); // a still has it
  EXPECT_TRUE(W("b").Shown);
  W("a").Focus = false;
  Doc().ControlExited();
  EXPECT_FALSE(W("b").Shown);
  EXPECT_FALSE(W("a").Shown);
}

} // namespace
