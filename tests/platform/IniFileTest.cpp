#include "platform/IniFile.h"

#include "support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

std::string IniPath()
{
  return (testsupport::TempDir() + "/test.ini").toStdString();
}

TEST(IniFile, MissingFileAndKeysGiveDefaults)
{
  TIniFile ini(IniPath());
  EXPECT_EQ(ini.ReadInteger("Form", "Left", 192), 192);
  EXPECT_TRUE(ini.ReadBool("Form", "State", true));
  EXPECT_FALSE(ini.ReadBool("Form", "State", false));
  EXPECT_FALSE(ini.ValueExists("Form", "Left"));
}

TEST(IniFile, WrittenValuesReadBackFromANewInstance)
{
  std::string path = IniPath();
  {
    TIniFile ini(path);
    ini.WriteInteger("LumoraF", "Left", -40);
    ini.WriteBool("LumoraF", "State", true);
    ini.WriteInteger("Other", "Left", 7);
  }
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("LumoraF", "Left", 0), -40);
  EXPECT_TRUE(ini.ReadBool("LumoraF", "State", false));
  EXPECT_EQ(ini.ReadInteger("Other", "Left", 0), 7);
}

TEST(IniFile, BooleansAreWrittenAsOneAndZero)
{
  QString dir = testsupport::TempDir();
  std::string path = (dir + "/b.ini").toStdString();
  {
    TIniFile ini(path);
    ini.WriteBool("S", "On", true);
    ini.WriteBool("S", "Off", false);
  }
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QString text = QString::fromLatin1(file.readAll());
  EXPECT_TRUE(text.contains("On=1")) << text.toStdString();
  EXPECT_TRUE(text.contains("Off=0")) << text.toStdString();
}

TEST(IniFile, HandWrittenValues)
{
  struct Case {
    const char* Line;
    int32_t Integer; // read with default 5
    bool Bool;       // read with default false
  };
  const Case cases[] = {
      {"K=12", 12, true},  {"K=0", 0, false}, {"K= 3 ", 3, true},  {"K=-7", -7, true},
      {"K=abc", 5, false}, {"K=", 5, false},  {"K=$10", 16, true}, {"K=1x", 5, false},
  };
  for (const Case& c : cases) {
    QString dir = testsupport::TempDir();
    std::string path = testsupport::WriteFile(dir, "h.ini", std::string("[S]\n") + c.Line + "\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("S", "K", 5), c.Integer) << c.Line;
    EXPECT_EQ(ini.ReadBool("S", "K", false), c.Bool) << c.Line;
  }
}

TEST(IniFile, GarbageFileDoesNotBreakReading)
{
  QString dir = testsupport::TempDir();
  std::string path =
      testsupport::WriteFile(dir, "g.ini", std::string("\x01\xff[[[\n=\n[S\nK=4", 16));
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("Missing", "K", 9), 9);
}

} // namespace
