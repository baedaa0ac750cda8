#include "base/FileBytes.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// Every byte comes back as it is in the file, whatever the size against the read steps.
TEST(FileBytes, ReadsEveryByteOfAFile)
{
  const QString dir = testsupport::TempDir();
  std::string binary;
  for (int i = 0; i < 70000; ++i) // past one 64 KB step, with NUL, CR and high bytes
    binary += char(i * 7 % 256);
  const std::string cases[] = {"", "a", "<p>one\r\ntwo\n", std::string("\0\xFF\x80", 3), binary};
  int n = 0;
  for (const std::string& bytes : cases) {
    const std::string name = testsupport::WriteFile(dir, "b" + std::to_string(n++), bytes);
    std::string read = "left over";
    EXPECT_TRUE(filebytes::ReadAll(name, read)) << name;
    EXPECT_EQ(read, bytes) << name;
  }
}

TEST(FileBytes, FailsEmptyOnWhatCannotBeRead)
{
  const QString dir = testsupport::TempDir();
  const std::string names[] = {(dir + "/missing.htm").toStdString(), dir.toStdString(), ""};
  for (const std::string& name : names) {
    std::string read = "left over";
    EXPECT_FALSE(filebytes::ReadAll(name, read)) << name;
    EXPECT_TRUE(read.empty()) << name;
  }
}

// Files whose size says nothing (a size of 0 for what the system makes up as it is read) are
// read to their end all the same.
TEST(FileBytes, ReadsFilesThatGiveNoSize)
{
  const std::string name = "/proc/self/status";
  if (!QDir("/proc/self").exists())
    GTEST_SKIP() << "no /proc here";
  std::string read;
  ASSERT_TRUE(filebytes::ReadAll(name, read));
  EXPECT_TRUE(read.starts_with("Name:")) << read.substr(0, 40);
  EXPECT_EQ(read.back(), '\n');
}

} // namespace
