#pragma once
// The built program, run as a user runs it: without a display, its output and status read back.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace apptest {

struct TRun {
  int Status = -1;
  QString Out, Err;
};

inline TRun RunLumora(const QStringList& arguments)
{
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    env.remove(name);
  process.setProcessEnvironment(env);
  process.start(QStringLiteral(LUMORA_BUILD_DIR "/lumora"), arguments);
  TRun run;
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.Out = QString::fromUtf8(process.readAllStandardOutput());
  run.Err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

} // namespace apptest
