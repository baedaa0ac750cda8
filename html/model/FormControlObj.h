#pragma once
// The controls of a form. Each owns its window control (made by the document's host, or a
// state-only one without a window), knows its initial value, sizes itself from its font,
// prints itself as a picture and gives the strings it submits.
#include "platform/EmbeddedControl.h"
#include "platform/FormWidget.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TAttributeList;
class TCanvas;
class TDocument;
class ThtmlForm;
struct TFontMetrics;

class TFormControlObj {
public:
  TFormControlObj(TDocument* doc, int32_t pos) : Pos(pos), Doc(doc) {}
  virtual ~TFormControlObj() = default;
  TFormControlObj(const TFormControlObj&) = delete;
  TFormControlObj& operator=(const TFormControlObj&) = delete;

  int32_t Pos;
  TDocument* Doc;
  ThtmlForm* Form = nullptr;
  std::string Value;
  std::string Name;
  bool IsBox = false;                           // check boxes and radio buttons sit on the baseline
  std::unique_ptr<TEmbeddedControl> TheControl; // made by the host; freed with this object
  bool ShowIt = false;
  bool Placed = false; // placed in the last paint
  int32_t YValue = 0;  // y of the line it stands on

  virtual TEmbeddedControl* ActiveControl() { return TheControl.get(); }
  virtual void Print(TCanvas& canvas, int32_t X, int32_t Y) { (void)canvas, (void)X, (void)Y; }
  virtual void ResetToValue() {}
  virtual bool GetSubmission(int index, std::string& s)
  {
    (void)index, (void)s;
    return false;
  }
  virtual void SetSizes(TCanvas& canvas) { (void)canvas; }
  // The mouse over the control's picture (image buttons), relative to the picture.
  virtual void MouseAt(int32_t x, int32_t y) { (void)x, (void)y; }

  // For the layout dump: the kind ("edit", "checkbox", ...), the value shown and the check.
  virtual const char* KindName() const { return "control"; }
  virtual std::string ShownValue() const { return Value; }
  virtual bool ShownChecked() const { return false; }

  int32_t Width() const { return TheControl ? TheControl->Width() : 0; }
  int32_t Height() const { return TheControl ? TheControl->Height() : 0; }
  // The window control of a form field (none for hidden fields and bare test controls).
  TFormWidget* Widget() const { return FWidget; }

protected:
  // Takes VALUE and NAME and makes the window control of kind, hidden above the page.
  TFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes);
  void MakeWidget(TFormWidgetKind kind);
  // Edit boxes, lists and text areas: the document's fixed-pitch font at 10 points.
  void UseFixedFont();
  // The metrics of the control's font on canvas, and of the screen's default font.
  const TFontMetrics& FontMetrics(TCanvas& canvas) const;
  static const TFontMetrics& DefaultFontMetrics(TCanvas& canvas);
  // "Name=text" (Name may be empty).
  std::string Pair(const std::string& text) const { return Name + "=" + text; }
  // The ONCLICK text to the viewer, then the form's own reaction.
  void RaiseObjectClick(const std::string& onClick);

  TFormWidget* FWidget = nullptr;
};

class THiddenFormControlObj : public TFormControlObj {
public:
  THiddenFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes);
  bool GetSubmission(int index, std::string& s) override;
  const char* KindName() const override { return "hidden"; }
};

class TEditFormControlObj : public TFormControlObj {
public:
  TEditFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes, bool password);
  int32_t EditSize = 20;
  void Print(TCanvas& canvas, int32_t X, int32_t Y) override;
  void ResetToValue() override;
  bool GetSubmission(int index, std::string& s) override;
  void SetSizes(TCanvas& canvas) override;
  const char* KindName() const override { return FPassword ? "password" : "edit"; }
  std::string ShownValue() const override;

  // The SIZE attribute's rule: the number when positive, else, when the attribute holds a
  // blank and a comma, the number before the first of them, else 20.
  static int32_t SizeOf(const TAttributeList& attributes);

private:
  bool FPassword;
};

class TButtonFormControlObj : public TFormControlObj {
public:
  enum : uint8_t { Submit = 0, Reset = 1, PlainButton = 2 };
  TButtonFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes,
                        uint8_t which);
  uint8_t Which;
  std::string OnClickText;
  void Print(TCanvas& canvas, int32_t X, int32_t Y) override;
  void SetSizes(TCanvas& canvas) override;
  const char* KindName() const override;
  std::string ShownValue() const override;
  // What a click does: the ONCLICK text to the viewer, then reset or submit.
  void Clicked();
};

class TCheckBoxFormControlObj : public TFormControlObj {
public:
  TCheckBoxFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes);
  bool IsChecked = false;
  std::string OnClickText;
  void Print(TCanvas& canvas, int32_t X, int32_t Y) override;
  void ResetToValue() override;
  bool GetSubmission(int index, std::string& s) override;
  void SetSizes(TCanvas& canvas) override;
  const char* KindName() const override { return "checkbox"; }
  bool ShownChecked() const override;
};

class TRadioButtonFormControlObj : public TFormControlObj {
public:
  TRadioButtonFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes);
  bool IsChecked = false;
  std::string OnClickText;
  void Print(TCanvas& canvas, int32_t X, int32_t Y) override;
  void ResetToValue() override;
  bool GetSubmission(int index, std::string& s) override;
  void SetSizes(TCanvas& canvas) override;
  const char* KindName() const override { return "radio"; }
  bool ShownChecked() const override;
  // A click: the others of the group are unchecked, then the ONCLICK text goes to the viewer.
  void Clicked();
};

class TImageFormControlObj : public TFormControlObj {
public:
  TImageFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes);
  int32_t XPos = -1, YPos = -1;
  int32_t XTmp = -1, YTmp = -1;
  bool GetSubmission(int index, std::string& s) override;
  void MouseAt(int32_t x, int32_t y) override;
  const char* KindName() const override { return "image"; }
  // The viewer saw a click on the picture: the last mouse position is sent with the form.
  void ImageClicked();
};

struct TOptionObj {
  std::string Value;
  bool HasValue = false;
  bool Selected = false;
};

class TListBoxFormControlObj : public TFormControlObj {
public:
  TListBoxFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes);
  int32_t LBSize = -1;
  int32_t Longest = 3;
  std::vector<std::string> Options;   // option texts
  std::vector<TOptionObj> OptionObjs; // beside Options, one each
  void AddOption(const std::string& text, bool hasValue, const std::string& value, bool selected);
  void Print(TCanvas& canvas, int32_t X, int32_t Y) override;
  void ResetToValue() override;
  bool GetSubmission(int index, std::string& s) override;
  void SetSizes(TCanvas& canvas) override;
  const char* KindName() const override { return "listbox"; }
  std::string ShownValue() const override;
  // What option index submits: its VALUE when it has one, else its text.
  std::string OptionValue(int index) const;

protected:
  TListBoxFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes,
                         TFormWidgetKind kind);
  // The last selected option, or 0 when none is.
  int LastSelected() const;
};

class TComboFormControlObj : public TListBoxFormControlObj {
public:
  TComboFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes);
  void Print(TCanvas& canvas, int32_t X, int32_t Y) override;
  void ResetToValue() override;
  bool GetSubmission(int index, std::string& s) override;
  void SetSizes(TCanvas& canvas) override;
  const char* KindName() const override { return "combo"; }
};

class TTextAreaFormControlObj : public TFormControlObj {
public:
  TTextAreaFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes);
  int32_t Rows = 5;
  int32_t Cols = 30;
  std::vector<std::string> InitialLines;
  void Print(TCanvas& canvas, int32_t X, int32_t Y) override;
  void ResetToValue() override;
  bool GetSubmission(int index, std::string& s) override;
  void SetSizes(TCanvas& canvas) override;
  const char* KindName() const override { return "textarea"; }
  std::string ShownValue() const override;
};

// The frame every printed control but the radio button stands in: white inside, a 2 pixel
// bevel (1 pixel and black on a monochrome device).
void DrawControlFrame(TCanvas& canvas, int32_t X, int32_t Y, bool raised, int32_t X1, int32_t Y1);
