// Build step: writes the program's icon into an icon theme folder,
// <DIR>/hicolor/<N>x<N>/apps/lumora.png for every icon size.
#include "app/ProgramIcon.h"

#include <QDir>
#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: lumora_write_icons DIR\n");
    return 2;
  }
  for (int size : ProgramIconSizes) {
    QString dir =
        QStringLiteral("%1/hicolor/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    QString file = dir + "/lumora.png";
    if (!QDir().mkpath(dir) || !ProgramIcon(size).save(file, "PNG")) {
      std::fprintf(stderr, "error: can't write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
