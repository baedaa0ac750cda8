#pragma once
// The hint of a caption widget: shown in a tooltip-coloured window after the hint pause, below
// the mouse pointer, and hidden again after the hint hide pause or when the mouse leaves. The
// timer is a ticker so that tests can run the pauses on a clock of their own.
#include "platform/Ticker.h"

#include <QPoint>
#include <QString>
#include <memory>

class QCursor;
class QLabel;

struct THintTiming {
  int Pause = 0;     // from the mouse coming to rest to the hint showing, in milliseconds
  int HidePause = 0; // how long a shown hint stays
};

// The application's pauses: the style's tooltip delay, and as long as a tooltip stays.
THintTiming ApplicationHintTiming();

// How far the visible part of a pointer reaches below its hot spot: for a bitmap pointer, down to
// the last mask row that is not blank; otherwise the pointer size of the display.
int PointerDepth(const QCursor& cursor);

class TWidgetHint {
public:
  explicit TWidgetHint(std::unique_ptr<TTicker> timer = MakeTicker());
  ~TWidgetHint();

  // Starts the hint pause for the mouse at screenPoint; pointerDepth is where the hint goes
  // below it.
  void Start(const QPoint& screenPoint, int pointerDepth);
  void Hide();

  bool Pending() const { return FPending; }
  bool Shown() const { return FShown; }
  // The hint window while it is shown, else null.
  const QLabel* Window() const { return FWindow.get(); }

  QString Text;
  THintTiming Timing = ApplicationHintTiming();

private:
  void TimerFired();
  void Show();

  std::unique_ptr<TTicker> FTimer;
  std::unique_ptr<QLabel> FWindow;
  QPoint FPoint;
  int FPointerDepth = 0;
  bool FPending = false;
  bool FShown = false;
};
