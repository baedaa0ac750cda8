#pragma once
// Qt's keys and modifiers as the key table's virtual keys and shift state.
#include "editor/KeyStrokes.h"

#include <Qt>

// The virtual key of a Qt key; 0 for keys the table cannot name.
uint16_t VirtualKeyOf(int qtKey);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);
