#pragma once
// The 16 by 16 glyphs of the tool buttons, drawn in code on a transparent ground.
#include <QPixmap>

enum class TToolGlyph { Home, Reload, Back, Forward, Print, Copy };

QPixmap ToolGlyph(TToolGlyph glyph);
