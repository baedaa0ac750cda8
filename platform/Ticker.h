#pragma once
// A repeating tick for animations and refreshes. The engine starts and stops it; the event loop
// delivers the ticks. Tests can step a document without a running loop by calling Tick.
#include <functional>
#include <memory>

class TTicker {
public:
  virtual ~TTicker() = default;
  // Ticks every intervalMs milliseconds from now on (restarts a running ticker).
  virtual void Start(int intervalMs) = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
  // Keeps the ticker running but counts the next interval from now.
  virtual void SetInterval(int intervalMs) = 0;

  std::function<void()> OnTick;
  void Tick()
  {
    if (OnTick)
      OnTick();
  }
};

// A ticker on the application's event loop.
std::unique_ptr<TTicker> MakeTicker();
