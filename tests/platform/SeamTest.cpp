// The toolkit seam the engine talks to: ticker, clipboard, the default dialogs, and the Qt
// Widgets side of embedded controls and panels.
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Ticker.h"
#include "platform/widgets/WidgetControl.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

TEST(Ticker, StartsStopsAndTicksThroughItsHandler)
{
  auto ticker = MakeTicker();
  int ticks = 0;
  ticker->OnTick = [&] { ++ticks; };
  EXPECT_FALSE(ticker->Active());
  ticker->Start(50);
  EXPECT_TRUE(ticker->Active());
  ticker->SetInterval(60);
  EXPECT_TRUE(ticker->Active());
  ticker->Tick();
  EXPECT_EQ(ticks, 1);
  ticker->Stop();
  EXPECT_FALSE(ticker->Active());
}

class TMemoryClipboard : public TClipboard {
public:
  QString Held;
  QString Text() const override { return Held; }
  void SetText(const QString& text) override { Held = text; }
  void SetTextAndData(const QString& text, const QString&, const QByteArray&) override
  {
    Held = text;
  }
  QByteArray Data(const QString&) const override { return QByteArray(); }
};

TEST(Clipboard, SystemClipboardKeepsTextAndPrivateData)
{
  Clipboard().SetText(QStringLiteral("plain"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("plain"));
  const QString mime = QStringLiteral("application/x-lumora-test");
  Clipboard().SetTextAndData(QStringLiteral("block"), mime, QByteArray("\1\2", 2));
  EXPECT_EQ(Clipboard().Text(), QStringLiteral("block"));
  EXPECT_EQ(Clipboard().Data(mime), QByteArray("\1\2", 2));
  Clipboard().SetText(QStringLiteral("other")); // replaced: the private data is gone
  EXPECT_TRUE(Clipboard().Data(mime).isEmpty());
}

TEST(Clipboard, AReplacementTakesOverUntilRestored)
{
  auto memory = std::make_unique<TMemoryClipboard>();
  TMemoryClipboard* m = memory.get();
  QGuiApplication::clipboard()->setText(QStringLiteral("system"));
  auto previous = SetClipboard(std::move(memory));
  Clipboard().SetText(QStringLiteral("kept here"));
  EXPECT_EQ(m->Held, QStringLiteral("kept here"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("system"));
  SetClipboard(std::move(previous));
  EXPECT_EQ(Clipboard().Text(), QStringLiteral("system"));
}

TEST(Dialogs, DefaultComesFromTheInstalledFactory)
{
  auto saved = SetDialogs(nullptr);
  TScriptedDialogs* made = nullptr;
  SetDefaultDialogs([&made] {
    auto d = std::make_unique<TScriptedDialogs>();
    made = d.get();
    return d;
  });
  Dialogs().ShowMessage("hello");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Messages(), std::vector<std::string>{"hello"});
  // Without a factory nobody is asked: messages are not lost, questions are declined.
  SetDialogs(nullptr);
  SetDefaultDialogs(nullptr);
  std::string value = "keep";
  EXPECT_FALSE(Dialogs().InputBox("c", "p", value));
  EXPECT_EQ(value, "keep");
  SetDialogs(std::move(saved));
}

TEST(WidgetControl, PlacesSizesShowsAndOwnsItsWidget)
{
  QWidget surface;
  surface.resize(300, 200);
  surface.show();
  auto* edit = new QLineEdit(&surface);
  QPointer<QLineEdit> watch(edit);
  {
    TWidgetControl control(edit);
    control.Resize(80, 22);
    control.Move(10, 30);
    EXPECT_EQ(control.Geometry(), QRect(10, 30, 80, 22));
    control.SetVisible(false);
    EXPECT_FALSE(control.Visible());
    control.SetVisible(true);
    EXPECT_TRUE(control.Visible());
    control.SetName("field");
    EXPECT_EQ(edit->objectName(), QStringLiteral("field"));
    EXPECT_EQ(control.Object(), edit);
    surface.activateWindow();
    control.SetFocus();
    if (QApplication::focusWidget() == edit) { // the platform plugin may not give focus
      EXPECT_TRUE(control.HasFocus());
    }
    // Not placed while focused: moved out of sight instead of hidden.
    HideUnplaced(control);
    EXPECT_EQ(control.Visible(), control.HasFocus());
  }
  EXPECT_TRUE(watch.isNull());
}

TEST(WidgetControl, SurvivesItsWidgetDeletedByQt)
{
  auto surface = std::make_unique<QWidget>();
  TWidgetControl control(new QLineEdit(surface.get()));
  surface.reset();
  EXPECT_EQ(control.Geometry(), QRect());
  EXPECT_EQ(control.Width(), 0);
  control.Move(1, 1);
  control.SetVisible(true);
  EXPECT_FALSE(control.Visible());
  EXPECT_FALSE(control.HasFocus());
}

TEST(PanelWidgetControl, StartsHiddenWhiteAndShownByDefault)
{
  QWidget surface;
  TPanelWidgetControl panel(&surface);
  ASSERT_NE(panel.Panel(), nullptr);
  EXPECT_EQ(panel.Panel()->parentWidget(), &surface);
  EXPECT_FALSE(panel.Visible());
  EXPECT_TRUE(panel.PanelShown());
  EXPECT_EQ(panel.Color(), clWhite);
  panel.Panel()->PanelShown = false;
  EXPECT_FALSE(panel.PanelShown());
}

} // namespace
