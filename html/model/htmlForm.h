#pragma once
// A FORM of the page: its attributes and its controls in document order. It resets them,
// groups its radio buttons by name, submits on Enter in an edit box and collects the strings
// its controls submit for the viewer's form-submit handler.
#include <cstdint>
#include <string>
#include <vector>

class TDocument;
class TFormControlObj;
class TAttributeList;
class TRadioButtonFormControlObj;

class ThtmlForm {
public:
  // A form with the FORM tag's attributes (none for an implicit form).
  ThtmlForm(TDocument* doc, const TAttributeList* attributes);
  ThtmlForm(const ThtmlForm&) = delete;
  ThtmlForm& operator=(const ThtmlForm&) = delete;

  TDocument* OwnerList;
  std::string Method = "Get";
  std::string Action;
  std::string Target;
  std::string EncType;
  std::vector<TFormControlObj*> Controls; // owned by the document
  int32_t VisibleControlCount = 0;

  void AddControl(TFormControlObj* control, bool hidden);
  // Collects the strings of every control (extra last when given) for the viewer's handler.
  void Submit(const std::string* extra = nullptr);
  void ResetControls();
  void UncheckOthers(TRadioButtonFormControlObj* radio);
  // A key in an edit box or text area: Enter in an edit box submits the form.
  void ControlKeyDown(TFormControlObj* sender, int key);
  void SetSizesAll(class TCanvas& canvas);
};
