#pragma once
// Form controls on Qt Widgets: an edit box (QLineEdit), a button (QPushButton), a check box
// (QCheckBox), a radio button (QRadioButton, grouped by the document, not by Qt), a list box
// (QListWidget), a drop-down list (QComboBox) and a text area (QPlainTextEdit).
#include "platform/FormWidget.h"
#include "platform/widgets/WidgetControl.h"

class TQtFormWidget : public TWidgetControlOf<TFormWidget> {
public:
  // A new hidden control of kind on parent, out of sight until placed.
  TQtFormWidget(TFormWidgetKind kind, QWidget* parent);

  std::string Text() const override;
  void SetText(const std::string& text) override;
  void SetMaxLength(int length) override;
  bool Checked() const override;
  void SetChecked(bool checked) override;
  void SetItems(const std::vector<std::string>& items) override;
  int Count() const override;
  void SetMultiSelect(bool multi) override;
  bool MultiSelect() const override;
  bool Selected(int index) const override;
  void SetSelected(int index, bool selected) override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;
  int TopIndex() const override;
  void SetTopIndex(int index) override;
  std::string Item(int index) const override;
  std::vector<std::string> Lines() const override;
  void SetLines(const std::vector<std::string>& lines) override;
  bool WordWrap() const override;
  void SetWordWrap(bool wrap) override;
  QFont Font() const override;
  void SetFont(const QFont& font) override;
  void SetClientSize(int32_t width, int32_t height) override;
  void Click() override;

  TFormWidgetKind Kind() const { return FKind; }
  // What SetClientSize adds around the inside for a control of kind (its frame, and the
  // scroll bars a text area always shows), as this style draws them.
  static QSize FrameExtra(TFormWidgetKind kind, bool wordWrap);

private:
  static QWidget* Make(TFormWidgetKind kind, QWidget* parent);
  // Texts between the document's charset and Qt.
  QString ToQ(const std::string& s) const;
  std::string FromQ(const QString& s) const;
  void Connect();
  template <class W> W* As() const { return qobject_cast<W*>(Widget()); }

  TFormWidgetKind FKind;
};
