#pragma once
// A form control whose Qt widget is made when it is first needed: shown on the page, given the
// focus or clicked. Until then it keeps its state without a window, measured as the widget
// will be, so a page of thousands of controls makes widgets only for those the user reaches.
// Widgets made late still follow the page's order in the tab chain.
#include "platform/FormWidget.h"
#include "platform/widgets/FormWidgets.h"

#include <QPointer>
#include <memory>
#include <vector>

class TLazyFormWidget;

// The controls made on one surface, in the order they were made (the page's order).
struct TLazyFormWidgetList {
  std::vector<TLazyFormWidget*> Made; // nullptr once freed
  int Alive = 0;
};

class TLazyFormWidget : public TFormWidget {
public:
  TLazyFormWidget(TFormWidgetKind kind, QWidget* parent, std::shared_ptr<TLazyFormWidgetList> list);
  ~TLazyFormWidget() override;
  TLazyFormWidget(const TLazyFormWidget&) = delete;
  TLazyFormWidget& operator=(const TLazyFormWidget&) = delete;

  bool Realised() const override { return FQt != nullptr; }
  // Makes the Qt widget with the state kept so far.
  void Realise();

  QRect Geometry() const override { return Current().Geometry(); }
  void Move(int32_t x, int32_t y) override { Current().Move(x, y); }
  void Resize(int32_t width, int32_t height) override { Current().Resize(width, height); }
  bool Visible() const override { return Current().Visible(); }
  void SetVisible(bool visible) override;
  bool HasFocus() const override { return FQt && FQt->HasFocus(); }
  void SetFocus() override;
  void SetName(const std::string& name) override;
  QObject* Object() const override { return FQt ? FQt->Object() : nullptr; }

  std::string Text() const override { return Current().Text(); }
  void SetText(const std::string& text) override { Current().SetText(text); }
  void SetMaxLength(int length) override;
  bool Checked() const override { return Current().Checked(); }
  void SetChecked(bool checked) override { Current().SetChecked(checked); }
  void SetItems(const std::vector<std::string>& items) override { Current().SetItems(items); }
  int Count() const override { return Current().Count(); }
  void SetMultiSelect(bool multi) override { Current().SetMultiSelect(multi); }
  bool MultiSelect() const override { return Current().MultiSelect(); }
  bool Selected(int index) const override { return Current().Selected(index); }
  void SetSelected(int index, bool selected) override { Current().SetSelected(index, selected); }
  int ItemIndex() const override { return Current().ItemIndex(); }
  void SetItemIndex(int index) override { Current().SetItemIndex(index); }
  int TopIndex() const override { return Current().TopIndex(); }
  void SetTopIndex(int index) override { Current().SetTopIndex(index); }
  std::string Item(int index) const override { return Current().Item(index); }
  std::vector<std::string> Lines() const override { return Current().Lines(); }
  void SetLines(const std::vector<std::string>& lines) override { Current().SetLines(lines); }
  bool WordWrap() const override { return Current().WordWrap(); }
  void SetWordWrap(bool wrap) override { Current().SetWordWrap(wrap); }
  QFont Font() const override { return Current().Font(); }
  void SetFont(const QFont& font) override { Current().SetFont(font); }
  void SetClientSize(int32_t width, int32_t height) override;
  void Click() override;

private:
  TFormWidget& Current() const;
  void CopyStateTo(TQtFormWidget& qt) const;
  void CopyListTo(TQtFormWidget& qt) const;
  void PassEventsOn(TQtFormWidget& qt);
  // Puts the new widget between the widgets of the controls before and after it on the page.
  void TakeTabPlace();

  TFormWidgetKind FKind;
  QPointer<QWidget> FParent;
  std::shared_ptr<TLazyFormWidgetList> FList;
  size_t FIndex;
  std::string FName;
  int FMaxLength = 0;
  mutable TStateFormWidget FState;
  std::unique_ptr<TQtFormWidget> FQt;
};
