#include "platform/Shell.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(Shell, OpenGoesThroughTheReplaceableOpener)
{
  std::vector<QUrl> opened;
  shell::TOpenFunction previous = shell::SetShellOpen([&](const QUrl& url) {
    opened.push_back(url);
    return true;
  });
  EXPECT_TRUE(shell::ShellOpen("/music/song.wav"));
  EXPECT_FALSE(shell::ShellOpen("")); // nothing to open, nothing asked
  shell::SetShellOpen(previous);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_TRUE(opened[0].isLocalFile());
  EXPECT_EQ(opened[0].toLocalFile().toStdString(), "/music/song.wav");
}

TEST(Shell, OpenerFailureIsReported)
{
  shell::TOpenFunction previous = shell::SetShellOpen([](const QUrl&) { return false; });
  EXPECT_FALSE(shell::ShellOpen("/x.mid"));
  shell::SetShellOpen(previous);
}

} // namespace
