#pragma once
// Wall-clock and CPU timing and one-line reports shared by the benchmarks.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

namespace benchutil {

class Stopwatch {
public:
  Stopwatch() : FStart(std::chrono::steady_clock::now()) {}
  double Ms() const
  {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - FStart)
        .count();
  }

private:
  std::chrono::steady_clock::time_point FStart;
};

// Runs f `repeats` times and returns the fastest run in milliseconds.
template <class F> double BestOf(int repeats, F&& f)
{
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) {
    Stopwatch w;
    f();
    double ms = w.Ms();
    if (ms < best)
      best = ms;
  }
  return best;
}

// This thread's CPU time in milliseconds. The machine is shared: other work on it stays out of
// figures taken this way.
inline double ThreadCpuMs()
{
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Runs f `repeats` times and returns the least CPU time of this thread in milliseconds.
template <class F> double CpuBestOf(int repeats, F&& f)
{
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) {
    const double start = ThreadCpuMs();
    f();
    best = std::min(best, ThreadCpuMs() - start);
  }
  return best;
}

inline void Report(const std::string& what, double ms)
{
  std::printf("  %-44s %10.2f ms\n", what.c_str(), ms);
}

// Wall-clock and process CPU time of one timed stretch; the ratios are taken from the CPU time,
// which other work on a shared machine leaves alone.
struct TTimes {
  double Wall = 0;
  double Cpu = 0;
};

class TClock {
public:
  TTimes Elapsed() const
  {
    return {FWall.Ms(), 1000.0 * double(std::clock() - FCpu) / CLOCKS_PER_SEC};
  }

private:
  benchutil::Stopwatch FWall;
  std::clock_t FCpu = std::clock();
};

inline void Report(const std::string& what, TTimes t)
{
  std::printf("  %-44s %10.2f ms cpu %10.2f ms wall\n", what.c_str(), t.Cpu, t.Wall);
}

inline void Ratio(const std::string& what, double num, double den, const char* target = nullptr)
{
  std::printf("  %-44s %10.2fx%s%s\n", what.c_str(), den > 0 ? num / den : 0.0,
              target ? "   target " : "", target ? target : "");
}

} // namespace benchutil
