#include "AppTestSupport.h"

#include "app/qvFormIni.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <fcntl.h>
#include <iostream>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Takes write access away from a file or folder for as long as it lives. Permission bits do not
// stop the superuser, so there the immutable flag is set as well; Usable() is false where neither
// works.
class TReadOnly {
public:
  explicit TReadOnly(const QString& path) : FPath(path)
  {
    if (path.isEmpty())
      return;
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (access(Native(), W_OK) == 0)
      SetImmutable(true);
    FUsable = access(Native(), W_OK) != 0;
  }
  ~TReadOnly()
  {
    if (FPath.isEmpty())
      return;
    if (FImmutable)
      SetImmutable(false);
    QFile::setPermissions(FPath,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  bool Usable() const { return FUsable; }

private:
  const char* Native()
  {
    FNative = FPath.toStdString();
    return FNative.c_str();
  }
  void SetImmutable(bool on)
  {
    int fd = open(Native(), O_RDONLY);
    if (fd < 0)
      return;
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
      if (ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0)
        FImmutable = on;
    }
    close(fd);
  }

  QString FPath;
  std::string FNative;
  bool FImmutable = false;
  bool FUsable = false;
};

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

TEST(qvFormIni, FileBesideTheProgramUnlessItCannotBeWritten)
{
  struct Case {
    const char* Name;
    bool IniBeside;
    bool FolderReadOnly;
    bool FileReadOnly;
    bool FolderMissing;
    bool InConfig;
  };
  const Case cases[] = {
      {"first start, writable folder", false, false, false, false, false},
      {"writable folder and file", true, false, false, false, false},
      {"folder of an installed program", false, true, false, false, true},
      {"writable file in a locked folder", true, true, false, false, false},
      {"ini file that cannot be written", true, false, true, false, true},
      {"program folder gone", false, false, false, true, true},
  };
  for (const Case& c : cases) {
    QString dir = testsupport::TempDir() + "/bin";
    QDir().mkpath(dir);
    std::string ini = (dir + "/lumora.ini").toStdString();
    if (c.IniBeside)
      testsupport::WriteFile(dir, "lumora.ini", "[LumoraF]\nLeft=1\n");
    std::string program = (dir + "/lumora").toStdString();
    std::string config = (testsupport::TempDir() + "/config/lumora").toStdString();
    if (c.FolderMissing)
      QDir(dir).removeRecursively();
    TReadOnly lockedFile(c.FileReadOnly ? QString::fromStdString(ini) : QString());
    TReadOnly lockedFolder(c.FolderReadOnly ? dir : QString());
    if ((c.FileReadOnly && !lockedFile.Usable()) || (c.FolderReadOnly && !lockedFolder.Usable())) {
      // The superuser without the right to set the immutable flag writes anywhere.
      std::cerr << c.Name << ": skipped, write access cannot be taken away here\n";
      continue;
    }
    std::string location = TqvFormIni::Location(program, config);
    EXPECT_EQ(location, c.InConfig ? config + "/lumora.ini" : ini) << c.Name;
    // The placement goes to the chosen file and comes back from it, creating its folder.
    QWidget form;
    form.setObjectName("LumoraF");
    form.setGeometry(30, 40, 320, 240);
    TqvFormIni(location).SavePlacement(form);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(location))) << c.Name;
    QWidget next;
    next.setObjectName("LumoraF");
    next.setGeometry(0, 0, 100, 100);
    TqvFormIni(location).LoadPlacement(next);
    EXPECT_EQ(QRect(next.pos(), next.size()), QRect(30, 40, 320, 240)) << c.Name;
  }
}

TEST(qvFormIni, PlacementOffEveryScreenMovesOntoThePrimary)
{
  const QRect primary(0, 0, 1280, 1000);
  const QRect right(1280, 0, 1920, 1080);
  const QList<QRect> screens{primary, right};
  struct Case {
    const char* Name;
    QRect Placement;
    QRect Expected;
  };
  const Case cases[] = {
      {"on the primary", QRect(100, 100, 600, 400), QRect(100, 100, 600, 400)},
      {"on the second screen", QRect(2000, 300, 600, 400), QRect(2000, 300, 600, 400)},
      {"across both", QRect(1000, 300, 600, 400), QRect(1000, 300, 600, 400)},
      {"mostly off, a grip left", QRect(-560, -300, 600, 400), QRect(-560, -300, 600, 400)},
      {"beyond the right screen", QRect(3300, 200, 600, 400), QRect(680, 200, 600, 400)},
      {"above everything", QRect(200, -900, 600, 400), QRect(200, 0, 600, 400)},
      {"a sliver only", QRect(-590, 100, 600, 400), QRect(0, 100, 600, 400)},
      {"below, larger than the primary", QRect(50, 1200, 1500, 1200), QRect(0, 0, 1280, 1000)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TqvFormIni::FitToScreens(c.Placement, screens, primary), c.Expected) << c.Name;
}

TEST(qvFormIni, RestoredOffScreenPlacementLandsOnThePrimaryScreen)
{
  QRect primary = QGuiApplication::primaryScreen()->availableGeometry();
  std::string ini = testsupport::WriteFile(
      testsupport::TempDir(), "f.ini",
      "[F]\nState=0\nLeft=" + std::to_string(primary.right() + 5000) +
          "\nTop=" + std::to_string(primary.bottom() + 5000) + "\nWidth=200\nHeight=150\n");
  QWidget form;
  form.setObjectName("F");
  TqvFormIni(ini).LoadPlacement(form);
  QRect placed(form.pos(), form.size());
  EXPECT_EQ(placed.size(), QSize(200, 150));
  EXPECT_TRUE(primary.contains(placed)) << placed.x() << "," << placed.y();
}

} // namespace
