// Test entry shared by every test executable. The test discovery step runs the binary with
// --gtest_list_tests outside CTest's environment, so the listing is answered before any Qt
// object exists, and the headless platform is chosen here rather than relied upon.
#include "platform/widgets/QtDialogs.h"
#include <QApplication>
#include <QDir>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0)
      return RUN_ALL_TESTS();
  if (!std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    std::string dir = "/tmp/lumora-test-runtime-" + std::to_string(getuid());
    QDir().mkpath(QString::fromStdString(dir));
    QFile::setPermissions(QString::fromStdString(dir),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  QApplication app(argc, argv);
  UseQtDialogs();
  return RUN_ALL_TESTS();
}
