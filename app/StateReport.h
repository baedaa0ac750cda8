#pragma once
// For tests that drive the real window from outside (an X server and synthetic input): the
// window writes where its viewer and buttons are on the screen and the frame tree it shows to
// a file, a few times a second.
#include <QString>

class TLumoraF;

void StartStateReport(TLumoraF& window, const QString& file);
