// Installing: cmake --install into a scratch prefix, then the installed program started from
// there finds its start page among the installed demo pages and draws its window.
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

QString ReadText(const QString& file)
{
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool RunProcess(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& env, const QString& dir = QString())
{
  QProcess process;
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(dir.isEmpty() ? QDir::tempPath() : dir);
  process.start(program, arguments);
  bool ok = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
            process.exitCode() == 0;
  if (!ok)
    ADD_FAILURE() << program.toStdString() << ": " << process.readAllStandardError().toStdString();
  return ok;
}

TEST(Install, InstalledProgramRunsFromItsPrefix)
{
  QString prefix = testsupport::TempDir() + "/usr";
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  ASSERT_TRUE(RunProcess(LUMORA_CMAKE, {"--install", LUMORA_BUILD_DIR, "--prefix", prefix}, env));

  EXPECT_TRUE(QFileInfo(prefix + "/bin/lumora").isExecutable());
  EXPECT_TRUE(QFileInfo(prefix + "/share/lumora/Lumora.htm").isFile());
  QString desktop = ReadText(prefix + "/share/applications/lumora.desktop");
  EXPECT_TRUE(desktop.contains("\nExec=lumora %f\n"));
  EXPECT_TRUE(desktop.contains("\nIcon=lumora\n"));
  EXPECT_TRUE(desktop.contains("\nMimeType=text/html;image/gif;image/bmp;image/jpeg;image/png;\n"));
  for (int size : {16, 48, 256}) {
    QImage icon(
        QStringLiteral("%1/share/icons/hicolor/%2x%2/apps/lumora.png").arg(prefix).arg(size));
    EXPECT_EQ(icon.size(), QSize(size, size)) << size;
  }

  // Started with no page, from a folder that holds no demo, it opens the installed start page.
  QString work = testsupport::TempDir();
  QString config = testsupport::TempDir();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_CONFIG_HOME", config);
  env.insert("LUMORA_STATE_FILE", work + "/state.txt");
  QString snapshot = work + "/window.png";
  ASSERT_TRUE(RunProcess(prefix + "/bin/lumora", {"--snapshot", snapshot}, env, work));
  QImage picture(snapshot);
  EXPECT_FALSE(picture.isNull());
  EXPECT_TRUE(
      ReadText(work + "/state.txt")
          .contains("Document " + QDir::cleanPath(prefix + "/share/lumora/Lumora.htm") + "\n"));
}

} // namespace
