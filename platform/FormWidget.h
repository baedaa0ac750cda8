#pragma once
// The window control of a form field as the document sees it: its state (text, check mark,
// items and selection, lines) and the user's actions on it. The host makes one per control
// (TControlHost::CreateFormWidget); a document without a window keeps the state in a
// TStateFormWidget, so forms lay out, reset and submit without any toolkit.
#include "platform/EmbeddedControl.h"

#include <QFont>
#include <functional>
#include <string>
#include <vector>

enum class TFormWidgetKind { Edit, Password, Button, CheckBox, Radio, ListBox, Combo, TextArea };

class TFormWidget : public TEmbeddedControl {
public:
  // The charset of every text exchanged (texts, items, lines): the document's, UTF-8 or a
  // single-byte code page, so that what the user types is submitted in the page's encoding.
  int TextCharset = 0;

  // The text of an edit box, the caption of a button.
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetMaxLength(int length) = 0;
  // Check boxes and radio buttons.
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  // List boxes and drop-down lists. SetItems clears the selection.
  virtual void SetItems(const std::vector<std::string>& items) = 0;
  virtual int Count() const = 0;
  virtual void SetMultiSelect(bool multi) = 0;
  virtual bool MultiSelect() const = 0;
  virtual bool Selected(int index) const = 0;
  virtual void SetSelected(int index, bool selected) = 0;
  // The current item (-1 for none).
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;
  virtual int TopIndex() const = 0;
  virtual void SetTopIndex(int index) = 0;
  virtual std::string Item(int index) const = 0;
  // Text areas: the lines as they stand, word wrap, the caret back to the start.
  virtual std::vector<std::string> Lines() const = 0;
  virtual void SetLines(const std::vector<std::string>& lines) = 0;
  virtual bool WordWrap() const = 0;
  virtual void SetWordWrap(bool wrap) = 0;
  virtual QFont Font() const = 0;
  virtual void SetFont(const QFont& font) = 0;
  // The size inside the frame; the control adds its frame around it.
  virtual void SetClientSize(int32_t width, int32_t height) = 0;
  // The user's click on a button, check box or radio button: the check mark changes, then
  // OnClick runs.
  virtual void Click() = 0;

  // What the user does: a click on a button, check box or radio button (after the check mark
  // has changed), a key pressed in an edit box or text area (the Qt key code, Enter as
  // Qt::Key_Return), the focus coming and going.
  std::function<void()> OnClick;
  std::function<void(int key)> OnKeyDown;
  std::function<void()> OnEnter;
  std::function<void()> OnExit;
};

// A form control without a window: it keeps the state and acts on Click and PressKey as a
// window control acts on the user's click and key.
class TStateFormWidget : public TFormWidget {
public:
  explicit TStateFormWidget(TFormWidgetKind kind);
  // The frame a list, drop-down list or text area has around its inside.
  static constexpr int32_t FrameWidth = 2;

  TFormWidgetKind Kind;
  QRect Rect;
  bool Shown = false;
  bool Focus = false;

  QRect Geometry() const override { return Rect; }
  void Move(int32_t x, int32_t y) override { Rect.moveTo(x, y); }
  void Resize(int32_t width, int32_t height) override { Rect.setSize(QSize(width, height)); }
  bool Visible() const override { return Shown; }
  void SetVisible(bool visible) override { Shown = visible; }
  bool HasFocus() const override { return Focus; }
  void SetFocus() override { Focus = true; }
  void SetName(const std::string& name) override { FName = name; }
  QObject* Object() const override { return nullptr; }

  std::string Text() const override { return FText; }
  void SetText(const std::string& text) override;
  void SetMaxLength(int length) override;
  bool Checked() const override { return FChecked; }
  void SetChecked(bool checked) override { FChecked = checked; }
  void SetItems(const std::vector<std::string>& items) override;
  int Count() const override { return int(FItems.size()); }
  void SetMultiSelect(bool multi) override { FMulti = multi; }
  bool MultiSelect() const override { return FMulti; }
  bool Selected(int index) const override;
  void SetSelected(int index, bool selected) override;
  int ItemIndex() const override { return FItemIndex; }
  void SetItemIndex(int index) override;
  int TopIndex() const override { return FTopIndex; }
  void SetTopIndex(int index) override { FTopIndex = index; }
  std::string Item(int index) const override;
  std::vector<std::string> Lines() const override { return FLines; }
  void SetLines(const std::vector<std::string>& lines) override { FLines = lines; }
  bool WordWrap() const override { return FWrap; }
  void SetWordWrap(bool wrap) override { FWrap = wrap; }
  QFont Font() const override { return FFont; }
  void SetFont(const QFont& font) override { FFont = font; }
  void SetClientSize(int32_t width, int32_t height) override;

  // The user's click: a check box toggles, a radio button is checked, then OnClick.
  void Click() override;
  void PressKey(int key);

private:
  std::string FName;
  std::string FText;
  int FMaxLength = 0;
  bool FChecked = false;
  std::vector<std::string> FItems;
  std::vector<bool> FSelected;
  bool FMulti = false;
  int FItemIndex = -1;
  int FTopIndex = 0;
  std::vector<std::string> FLines;
  bool FWrap = false;
  QFont FFont;
};
