#include "html/model/htmlForm.h"

#include "base/StringUtil.h"
#include "html/model/Document.h"
#include "html/model/FormControlObj.h"
#include "html/symbols/AttributeList.h"

#include <QtCore/qnamespace.h>

ThtmlForm::ThtmlForm(TDocument* doc, const TAttributeList* attributes) : OwnerList(doc)
{
  if (!attributes)
    return;
  auto text = [attributes](TSymbol sym) {
    const TAttribute* a = attributes->Find(sym);
    return a ? a->Text : std::string();
  };
  if (attributes->Find(attrMETHOD))
    Method = text(attrMETHOD).substr(0, 4);
  Action = text(attrACTION);
  Target = text(attrTARGET);
  EncType = text(attrENCTYPE);
}

void ThtmlForm::AddControl(TFormControlObj* control, bool hidden)
{
  control->Form = this;
  Controls.push_back(control);
  if (!hidden)
    ++VisibleControlCount;
}

void ThtmlForm::Submit(const std::string* extra)
{
  if (!OwnerList || !OwnerList->OnFormSubmit)
    return;
  std::vector<std::string> results;
  for (TFormControlObj* control : Controls) {
    std::string s;
    for (int i = 0; control->GetSubmission(i, s); ++i) {
      if (!s.empty())
        results.push_back(s);
      s.clear();
    }
  }
  if (extra)
    results.push_back(*extra);
  OwnerList->OnFormSubmit(OwnerList->Viewer, Action, Target, EncType, Method, std::move(results));
}

void ThtmlForm::ResetControls()
{
  for (TFormControlObj* control : Controls)
    control->ResetToValue();
}

void ThtmlForm::UncheckOthers(TRadioButtonFormControlObj* radio)
{
  if (radio->Name.empty())
    return;
  for (TFormControlObj* control : Controls) {
    auto* other = dynamic_cast<TRadioButtonFormControlObj*>(control);
    if (other && other != radio && strutil::SameText(other->Name, radio->Name) && other->Widget())
      other->Widget()->SetChecked(false);
  }
}

void ThtmlForm::ControlKeyDown(TFormControlObj* sender, int key)
{
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && dynamic_cast<TEditFormControlObj*>(sender))
    Submit();
}

void ThtmlForm::SetSizesAll(TCanvas& canvas)
{
  for (TFormControlObj* control : Controls)
    control->SetSizes(canvas);
}
