#pragma once
// What the fuzz targets share: one off-screen Qt application for the whole run, and a stream
// buffer that swallows output.
#include <QApplication>
#include <cstdlib>
#include <memory>
#include <streambuf>

namespace fuzzsupport {

// Starts the application on the first call and answers true then, so that a target can make
// its own one-time settings; later calls answer false.
inline bool StartQt()
{
  static QApplication* app = nullptr;
  if (app)
    return false;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "lumora_fuzz";
  static char* argv[] = {name, nullptr};
  // Never destroyed: at exit Qt's own statics may already be gone.
  app = std::make_unique<QApplication>(argc, argv).release();
  return true;
}

class TNullBuf : public std::streambuf {
protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

} // namespace fuzzsupport
