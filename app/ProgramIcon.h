#pragma once
// The program's icon, drawn in code at any size: a page with lines of text and a rising light.
// The window shows it, and the build writes it into the freedesktop icon folders for installing.
#include <QIcon>
#include <QImage>

// The icon sizes written for the icon theme.
inline constexpr int ProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

QImage ProgramIcon(int size);
QIcon ProgramIconSet();
