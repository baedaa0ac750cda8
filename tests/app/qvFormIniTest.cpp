#include "AppTestSupport.h"

#include "app/qvFormIni.h"
#include "platform/IniFile.h"

#include <QWidget>

namespace {

TEST(qvFormIni, FileNameBesideTheProgram)
{
  struct Case {
    const char* Program;
    const char* Ini;
  };
  const Case cases[] = {
      {"/opt/lumora/lumora", "/opt/lumora/lumora.ini"},
      {"/opt/lumora/lumora.bin", "/opt/lumora/lumora.ini"},
      {"/opt/v1.2/lumora", "/opt/v1.2/lumora.ini"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TqvFormIni::FileNameFor(c.Program), c.Ini) << c.Program;
}

TEST_F(TWindowTest, FirstStartUsesTheDesignedBounds)
{
  TLumoraF w(ProgramFile(), {});
  EXPECT_EQ(w.ini().FileName(), ProgramFile() + ".ini");
  EXPECT_FALSE(w.isMaximized());
  EXPECT_EQ(QRect(w.x(), w.y(), w.width(), w.height()), QRect(192, 121, 696, 518));
}

TEST_F(TWindowTest, NormalBoundsAreSavedAndRestored)
{
  {
    TLumoraF w(ProgramFile(), {});
    w.move(50, 60);
    w.resize(640, 480);
  }
  TIniFile file(ProgramFile() + ".ini");
  EXPECT_FALSE(file.ReadBool("LumoraF", "State", true));
  EXPECT_EQ(file.ReadInteger("LumoraF", "Left", 0), 50);
  TLumoraF w(ProgramFile(), {});
  EXPECT_EQ(QRect(w.x(), w.y(), w.width(), w.height()), QRect(50, 60, 640, 480));
}

TEST_F(TWindowTest, MaximisedWritesStateOnlyAndNextStartIsMaximised)
{
  {
    TLumoraF w(ProgramFile(), {});
    w.setWindowState(Qt::WindowMaximized);
  }
  TIniFile file(ProgramFile() + ".ini");
  EXPECT_TRUE(file.ReadBool("LumoraF", "State", false));
  for (const char* key : {"Left", "Top", "Width", "Height"})
    EXPECT_FALSE(file.ValueExists("LumoraF", key)) << key;
  TLumoraF w(ProgramFile(), {});
  EXPECT_TRUE(w.isMaximized());
  EXPECT_EQ(w.normalGeometry(), QRect(192, 121, 696, 518));
}

TEST_F(TWindowTest, MaximisedKeepsTheLastNormalBounds)
{
  std::string ini = ProgramFile() + ".ini";
  {
    TIniFile file(ini);
    file.WriteBool("LumoraF", "State", false);
    file.WriteInteger("LumoraF", "Left", 11);
  }
  {
    TLumoraF w(ProgramFile(), {});
    w.setWindowState(Qt::WindowMaximized);
  }
  TIniFile file(ini);
  EXPECT_TRUE(file.ReadBool("LumoraF", "State", false));
  EXPECT_EQ(file.ReadInteger("LumoraF", "Left", 0), 11);
}

TEST(qvFormIni, SectionIsTheFormNameAndMissingKeysKeepCurrentValues)
{
  std::string ini = (testsupport::TempDir() + "/f.ini").toStdString();
  testsupport::WriteFile(QString::fromStdString(ini).section('/', 0, -2), "f.ini",
                         "[Other]\nLeft=5\nWidth=300\n[LumoraF]\nLeft=99\n");
  QWidget form;
  form.setObjectName("Other");
  form.setGeometry(20, 30, 400, 250);
  TqvFormIni(ini).LoadPlacement(form);
  EXPECT_EQ(QRect(form.x(), form.y(), form.width(), form.height()), QRect(5, 30, 300, 250));
}

TEST(qvFormIni, UnusableSizesKeepTheDesignedSize)
{
  struct Case {
    const char* Text;
    QSize Expected;
  };
  const Case cases[] = {
      {"[F]\nWidth=0\nHeight=200\n", QSize(400, 250)},
      {"[F]\nWidth=-10\n", QSize(400, 250)},
      {"[F]\nWidth=abc\nHeight=300\n", QSize(400, 300)},
      {"[F]\nState=yes\nWidth=500\n", QSize(500, 250)}, // not a number: not maximised
  };
  for (const Case& c : cases) {
    QString dir = testsupport::TempDir();
    std::string ini = testsupport::WriteFile(dir, "f.ini", c.Text);
    QWidget form;
    form.setObjectName("F");
    form.setGeometry(20, 30, 400, 250);
    TqvFormIni(ini).LoadPlacement(form);
    EXPECT_FALSE(form.isMaximized()) << c.Text;
    EXPECT_EQ(form.size(), c.Expected) << c.Text;
  }
}

} // namespace
