#include "platform/FormWidget.h"

TStateFormWidget::TStateFormWidget(TFormWidgetKind kind) : Kind(kind)
{
}

void TStateFormWidget::SetText(const std::string& text)
{
  FText =
      FMaxLength > 0 && Kind != TFormWidgetKind::Button ? text.substr(0, size_t(FMaxLength)) : text;
}

void TStateFormWidget::SetMaxLength(int length)
{
  FMaxLength = length;
  SetText(FText);
}

void TStateFormWidget::SetItems(const std::vector<std::string>& items)
{
  FItems = items;
  FSelected.assign(items.size(), false);
  FItemIndex = -1;
  FTopIndex = 0;
}

bool TStateFormWidget::Selected(int index) const
{
  if (index < 0 || index >= Count())
    return false;
  return FMulti ? bool(FSelected[size_t(index)]) : index == FItemIndex;
}

void TStateFormWidget::SetSelected(int index, bool selected)
{
  if (index < 0 || index >= Count())
    return;
  if (FMulti)
    FSelected[size_t(index)] = selected;
  else if (selected)
    FItemIndex = index;
  else if (index == FItemIndex)
    FItemIndex = -1;
}

void TStateFormWidget::SetItemIndex(int index)
{
  FItemIndex = index >= 0 && index < Count() ? index : -1;
}

std::string TStateFormWidget::Item(int index) const
{
  return index >= 0 && index < Count() ? FItems[size_t(index)] : std::string();
}

void TStateFormWidget::SetClientSize(int32_t width, int32_t height)
{
  Resize(width + 2 * FrameWidth, height + 2 * FrameWidth);
}

void TStateFormWidget::Click()
{
  if (Kind == TFormWidgetKind::CheckBox)
    FChecked = !FChecked;
  else if (Kind == TFormWidgetKind::Radio)
    FChecked = true;
  if (OnClick)
    OnClick();
}

void TStateFormWidget::PressKey(int key)
{
  if (OnKeyDown)
    OnKeyDown(key);
}
