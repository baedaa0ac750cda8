#include "platform/Ticker.h"

#include <QTimer>

namespace {

class TTimerTicker : public TTicker {
public:
  TTimerTicker()
  {
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Tick(); });
  }
  void Start(int intervalMs) override { FTimer.start(intervalMs); }
  void Stop() override { FTimer.stop(); }
  bool Active() const override { return FTimer.isActive(); }
  void SetInterval(int intervalMs) override { FTimer.setInterval(intervalMs); }

private:
  QTimer FTimer;
};

} // namespace

std::unique_ptr<TTicker> MakeTicker()
{
  return std::make_unique<TTimerTicker>();
}
