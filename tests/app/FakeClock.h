#pragma once
// A clock the test moves on by hand, and tickers that run on it: timers whose pauses pass when
// the test says so, not when the wall clock does.
#include "platform/Ticker.h"

#include <algorithm>
#include <memory>
#include <vector>

class TFakeClock {
public:
  class TFakeTicker : public TTicker {
  public:
    explicit TFakeTicker(TFakeClock& clock) : FClock(clock) { clock.FTickers.push_back(this); }
    ~TFakeTicker() override { std::erase(FClock.FTickers, this); }
    void Start(int intervalMs) override
    {
      FActive = true;
      SetInterval(intervalMs);
    }
    void Stop() override { FActive = false; }
    bool Active() const override { return FActive; }
    void SetInterval(int intervalMs) override
    {
      FInterval = intervalMs;
      FDue = FClock.Now + intervalMs;
    }

  private:
    friend class TFakeClock;
    TFakeClock& FClock;
    bool FActive = false;
    int FInterval = 0;
    int FDue = 0;
  };

  std::unique_ptr<TTicker> NewTicker() { return std::make_unique<TFakeTicker>(*this); }

  // Moves the clock on by ms, firing every tick that falls due on the way, in order.
  void Advance(int ms)
  {
    const int target = Now + ms;
    while (TFakeTicker* next = NextDue(target)) {
      Now = next->FDue;
      next->FDue += std::max(1, next->FInterval);
      next->Tick();
    }
    Now = target;
  }

  int Now = 0;

private:
  TFakeTicker* NextDue(int target) const
  {
    TFakeTicker* next = nullptr;
    for (TFakeTicker* t : FTickers)
      if (t->FActive && t->FDue <= target && (!next || t->FDue < next->FDue))
        next = t;
    return next;
  }

  std::vector<TFakeTicker*> FTickers;
};
