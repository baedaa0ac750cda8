// The builder's form reader: FORM opens a form, INPUT, SELECT and TEXTAREA make its controls
// (a control outside any form opens an implicit one), and each visible control takes a place
// in the running text.
#include "base/StringUtil.h"
#include "html/model/Document.h"
#include "html/model/FormControlObj.h"
#include "html/model/ImageObj.h"
#include "html/model/Section.h"
#include "html/model/SectionList.h"
#include "html/model/htmlForm.h"
#include "html/parser/Builder.h"

bool TBuilder::DoFormSymbol(int level)
{
  if (!Doc)
    return true;
  switch (Sym()) {
  case symFORM: {
    auto form = std::make_shared<ThtmlForm>(Doc, &Attrs());
    FForm = form.get();
    Doc->Forms.push_back(std::move(form));
    return true;
  }
  case symFORMEnd: FForm = nullptr; return true;
  case symINPUT: DoInput(level); return true;
  case symSELECT: DoSelect(level); return true;
  case symTEXTAREA: DoTextArea(level); return true;
  default: return true; // a stray </TEXTAREA>
  }
}

ThtmlForm* TBuilder::CurrentForm()
{
  if (!FForm) {
    auto form = std::make_shared<ThtmlForm>(Doc, nullptr);
    FForm = form.get();
    Doc->Forms.push_back(std::move(form));
  }
  return FForm;
}

TFormControlObj* TBuilder::AddControl(std::unique_ptr<TFormControlObj> control, bool placed,
                                      int level)
{
  ThtmlForm* form = CurrentForm();
  TFormControlObj* c = Doc->AllFormControls.Add(std::move(control));
  form->AddControl(c, !placed);
  if (placed) {
    EnsureSection(level);
    CurSection->PlaceControl(c, FTok.TagStart(), FTok.NoWrapMode);
  }
  return c;
}

void TBuilder::DoInput(int level)
{
  const TAttributeList& a = Attrs();
  std::string type = strutil::LowerCase(AttrText(attrTYPE).substr(0, 20));
  if (type == "submit" || type == "reset" || type == "button") {
    uint8_t which = type == "submit"  ? TButtonFormControlObj::Submit
                    : type == "reset" ? TButtonFormControlObj::Reset
                                      : TButtonFormControlObj::PlainButton;
    AddControl(std::make_unique<TButtonFormControlObj>(Doc, 0, a, which), true, level);
  } else if (type == "radio") {
    AddControl(std::make_unique<TRadioButtonFormControlObj>(Doc, 0, a), true, level);
  } else if (type == "checkbox") {
    AddControl(std::make_unique<TCheckBoxFormControlObj>(Doc, 0, a), true, level);
  } else if (type == "hidden") {
    AddControl(std::make_unique<THiddenFormControlObj>(Doc, 0, a), false, level);
  } else if (type == "image") {
    // The picture is an inline image that shows the button and passes its clicks on.
    TFormControlObj* c =
        AddControl(std::make_unique<TImageFormControlObj>(Doc, 0, a), false, level);
    EnsureSection(level);
    if (TImageObj* image = CurSection->PlaceImage(a, CurCell, FTok.TagStart(), FTok.NoWrapMode))
      image->FormControl = c;
  } else {
    bool password = type == "password";
    AddControl(std::make_unique<TEditFormControlObj>(Doc, 0, a, password), true, level);
  }
}

void TBuilder::DoSelect(int level)
{
  const TAttributeList& a = Attrs();
  const TAttribute* size = a.Find(attrSIZE);
  bool list = a.Find(attrMULTIPLE) || (size && size->Num > 1);
  std::unique_ptr<TListBoxFormControlObj> control;
  if (list)
    control = std::make_unique<TListBoxFormControlObj>(Doc, 0, a);
  else
    control = std::make_unique<TComboFormControlObj>(Doc, 0, a);
  auto* c = static_cast<TListBoxFormControlObj*>(AddControl(std::move(control), true, level));
  for (const TOptionItem& o : FTok.ReadSelectOptions())
    c->AddOption(o.Text, o.HasValue, o.Value, o.Selected);
  c->ResetToValue();
}

void TBuilder::DoTextArea(int level)
{
  auto* c = static_cast<TTextAreaFormControlObj*>(
      AddControl(std::make_unique<TTextAreaFormControlObj>(Doc, 0, Attrs()), true, level));
  c->InitialLines = FTok.ReadTextAreaLines();
  c->ResetToValue();
}
