#include "editor/widgets/EditKeys.h"

uint16_t VirtualKeyOf(int qtKey)
{
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return uint16_t(qtKey);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    return uint16_t(vk::F1 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
  case Qt::Key_Backspace: return vk::Back;
  case Qt::Key_Tab:
  case Qt::Key_Backtab: return vk::Tab;
  case Qt::Key_Return:
  case Qt::Key_Enter: return vk::Return;
  case Qt::Key_Escape: return vk::Escape;
  case Qt::Key_Space: return vk::Space;
  case Qt::Key_PageUp: return vk::Prior;
  case Qt::Key_PageDown: return vk::Next;
  case Qt::Key_End: return vk::End;
  case Qt::Key_Home: return vk::Home;
  case Qt::Key_Left: return vk::Left;
  case Qt::Key_Up: return vk::Up;
  case Qt::Key_Right: return vk::Right;
  case Qt::Key_Down: return vk::Down;
  case Qt::Key_Insert: return vk::Insert;
  case Qt::Key_Delete: return vk::Delete;
  default: return 0;
  }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers)
{
  TShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier)
    shift |= ssShift;
  if (modifiers & Qt::AltModifier)
    shift |= ssAlt;
  if (modifiers & Qt::ControlModifier)
    shift |= ssCtrl;
  return shift;
}
