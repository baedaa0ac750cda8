#include "app/SubmitMode.h"

#include "base/CodePage.h"
#include "base/Exceptions.h"
#include "html/model/Document.h"
#include "html/model/FormControlObj.h"
#include "html/model/SectionList.h"
#include "html/model/htmlForm.h"
#include "html/viewer/FrameViewer.h"
#include "html/viewer/HTMLViewer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>

namespace {

class ESubmitError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct TAssignment {
  std::string Name;
  std::string Value;
  bool HasValue = false;
};

TAssignment Split(const std::string& text)
{
  size_t eq = text.find('=');
  if (eq == std::string::npos)
    return {text, std::string(), false};
  return {text.substr(0, eq), text.substr(eq + 1), true};
}

std::vector<std::string> Lines(const std::string& text)
{
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  lines.push_back(text.substr(start));
  return lines;
}

bool TakesValue(const TFormControlObj* c)
{
  return dynamic_cast<const TEditFormControlObj*>(c) ||
         dynamic_cast<const TTextAreaFormControlObj*>(c) ||
         dynamic_cast<const TListBoxFormControlObj*>(c);
}

bool IsBox(const TFormControlObj* c)
{
  return dynamic_cast<const TCheckBoxFormControlObj*>(c) ||
         dynamic_cast<const TRadioButtonFormControlObj*>(c);
}

bool Submits(const TFormControlObj* c)
{
  auto* button = dynamic_cast<const TButtonFormControlObj*>(c);
  return (button && button->Which == TButtonFormControlObj::Submit) ||
         dynamic_cast<const TImageFormControlObj*>(c);
}

// "X,Y": two whole numbers of at least 0.
std::optional<std::pair<int, int>> ParseAt(const std::string& at)
{
  size_t comma = at.find(',');
  if (comma == std::string::npos)
    return std::nullopt;
  auto number = [](const std::string& s) -> std::optional<int> {
    if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    return std::stoi(s);
  };
  std::optional<int> x = number(at.substr(0, comma)), y = number(at.substr(comma + 1));
  if (!x || !y)
    return std::nullopt;
  return std::make_pair(*x, *y);
}

// A click on the control's own button widget, as the user's mouse gives it.
void Press(TFormControlObj* control)
{
  if (!control->Widget())
    throw ESubmitError(control->Name + " has no button to press");
  control->Widget()->Click();
}

// Fills one form's controls by name and submits it.
class TFormFiller {
public:
  TFormFiller(ThtmlForm& form, int number)
      : FForm(form), FWhere(" in form " + std::to_string(number)),
        FCharset(form.OwnerList ? form.OwnerList->TextCharset() : 0)
  {
  }

  void Set(const std::string& assignment);
  void Check(const std::string& what);
  void Submit(const std::string& click, const std::string& at);

private:
  std::vector<TFormControlObj*> Named(const std::string& name) const;
  TFormControlObj* NextToSet(const std::string& name);
  static void SelectOption(TListBoxFormControlObj& list, const std::string& value, bool first);
  TFormControlObj* Trigger(const std::string& click) const;
  TAssignment Read(const std::string& argument) const;
  std::string PageText(const std::string& argument) const;

  ThtmlForm& FForm;
  std::string FWhere;
  int FCharset; // the page's: names and values on the command line are UTF-8
  std::set<TFormControlObj*> FFilled;
};

std::vector<TFormControlObj*> TFormFiller::Named(const std::string& name) const
{
  std::vector<TFormControlObj*> named;
  for (TFormControlObj* c : FForm.Controls)
    if (c->Name == name)
      named.push_back(c);
  if (named.empty())
    throw ESubmitError("no control " + name + FWhere);
  return named;
}

// The first control of that name not filled yet; a multiple-selection list takes any number.
TFormControlObj* TFormFiller::NextToSet(const std::string& name)
{
  std::vector<TFormControlObj*> named = Named(name);
  bool fillable = false;
  for (TFormControlObj* c : named) {
    if (!TakesValue(c))
      continue;
    fillable = true;
    auto* list = dynamic_cast<TListBoxFormControlObj*>(c);
    bool multi = list && list->Widget() && list->Widget()->MultiSelect();
    if (!FFilled.count(c) || multi)
      return c;
  }
  if (!fillable) {
    std::string hint = IsBox(named.front()) ? " (use --check)" : "";
    throw ESubmitError(name + FWhere + " is kind=" + named.front()->KindName() +
                       ", which --set cannot fill" + hint);
  }
  throw ESubmitError("more --set " + name + " than controls of that name" + FWhere);
}

void TFormFiller::SelectOption(TListBoxFormControlObj& list, const std::string& value, bool first)
{
  int found = -1;
  for (int i = 0; i < int(list.Options.size()) && found < 0; ++i)
    if (list.OptionValue(i) == value)
      found = i;
  if (found < 0)
    throw ESubmitError("no option " + value + " in " + list.Name);
  TFormWidget* w = list.Widget();
  if (!w->MultiSelect()) {
    w->SetItemIndex(found);
    return;
  }
  // The first --set of a multiple-selection list replaces the page's selection.
  if (first)
    for (int i = 0; i < w->Count(); ++i)
      w->SetSelected(i, false);
  w->SetSelected(found, true);
}

std::string TFormFiller::PageText(const std::string& argument) const
{
  return codepage::Encode(QString::fromStdString(argument), FCharset);
}

TAssignment TFormFiller::Read(const std::string& argument) const
{
  TAssignment a = Split(argument);
  a.Name = PageText(a.Name);
  a.Value = PageText(a.Value);
  return a;
}

void TFormFiller::Set(const std::string& assignment)
{
  TAssignment a = Read(assignment);
  if (!a.HasValue)
    throw ESubmitError("--set needs NAME=VALUE, not " + assignment);
  TFormControlObj* c = NextToSet(a.Name);
  bool first = FFilled.insert(c).second;
  if (auto* list = dynamic_cast<TListBoxFormControlObj*>(c))
    SelectOption(*list, a.Value, first);
  else if (dynamic_cast<TTextAreaFormControlObj*>(c))
    c->Widget()->SetLines(Lines(a.Value));
  else
    c->Widget()->SetText(a.Value);
}

void TFormFiller::Check(const std::string& what)
{
  TAssignment a = Read(what);
  std::vector<TFormControlObj*> named = Named(a.Name);
  bool boxes = false;
  for (TFormControlObj* c : named) {
    if (!IsBox(c))
      continue;
    boxes = true;
    if (a.HasValue && c->Value != a.Value)
      continue;
    if (!c->Widget()->Checked())
      Press(c);
    return;
  }
  if (!boxes)
    throw ESubmitError(a.Name + FWhere + " is kind=" + named.front()->KindName() +
                       ", not a check box or radio button");
  throw ESubmitError("no " + what + FWhere);
}

TFormControlObj* TFormFiller::Trigger(const std::string& click) const
{
  if (click.empty()) {
    for (TFormControlObj* c : FForm.Controls)
      if (Submits(c))
        return c;
    return nullptr;
  }
  std::vector<TFormControlObj*> named = Named(PageText(click));
  for (TFormControlObj* c : named)
    if (Submits(c))
      return c;
  throw ESubmitError(click + FWhere + " is kind=" + named.front()->KindName() +
                     ", not a submit or image button");
}

void TFormFiller::Submit(const std::string& click, const std::string& at)
{
  TFormControlObj* trigger = Trigger(click);
  auto* image = dynamic_cast<TImageFormControlObj*>(trigger);
  if (!at.empty() && !image)
    throw ESubmitError("--at needs an image button to click");
  std::optional<std::pair<int, int>> point = at.empty() ? std::make_pair(0, 0) : ParseAt(at);
  if (!point)
    throw ESubmitError("bad --at " + at + " (X,Y: two whole numbers of at least 0)");
  if (image) {
    // What the viewer does for a click on the picture: the hit test records the point first.
    image->MouseAt(point->first, point->second);
    image->ImageClicked();
  } else if (trigger) {
    Press(trigger);
  } else {
    FForm.Submit(); // a form without a submit button goes as Enter in an edit box sends it
  }
}

struct TSubmitted {
  std::string Action, Target, EncType, Method;
  std::vector<std::string> Results;
};

std::vector<ThtmlForm*> FormsOf(const TFrameViewer& viewer)
{
  std::vector<ThtmlForm*> forms;
  for (THTMLViewer* v : viewer.Viewers())
    for (const auto& form : v->SectionList()->Document().Forms)
      forms.push_back(form.get());
  return forms;
}

void Print(const TSubmitted& s, std::ostream& out)
{
  out << "action=\"" << s.Action << "\" target=\"" << s.Target << "\" enctype=\"" << s.EncType
      << "\" method=\"" << s.Method << "\"\n";
  for (const std::string& line : s.Results)
    out << line << '\n';
}

void Run(const TSubmitRequest& request, std::ostream& out)
{
  QFileInfo info(QString::fromLocal8Bit(request.Page.data(), qsizetype(request.Page.size())));
  if (!info.exists() || !info.isFile())
    throw ESubmitError(msg::CantLocateFile + request.Page);
  std::optional<TSubmitted> submitted;
  TFrameViewer viewer;
  ConfigureMainViewer(viewer);
  viewer.OnFormSubmit = [&submitted](QObject*, const std::string& action, const std::string& target,
                                     const std::string& encType, const std::string& method,
                                     std::vector<std::string> results) {
    submitted = TSubmitted{action, target, encType, method, std::move(results)};
  };
  viewer.setAttribute(Qt::WA_DontShowOnScreen);
  viewer.resize(800, 600);
  viewer.show();
  viewer.LoadFromFile(request.Page);
  QCoreApplication::processEvents();

  std::vector<ThtmlForm*> forms = FormsOf(viewer);
  if (request.Form < 1 || request.Form > int(forms.size()))
    throw ESubmitError("no form " + std::to_string(request.Form) + " in " + request.Page +
                       " (it has " + std::to_string(forms.size()) + ")");
  TFormFiller filler(*forms[size_t(request.Form - 1)], request.Form);
  for (const std::string& s : request.Sets)
    filler.Set(s);
  for (const std::string& c : request.Checks)
    filler.Check(c);
  filler.Submit(request.Click, request.At);
  // The viewer hands the results over once the click has been handled.
  for (int i = 0; i < 10 && !submitted; ++i)
    QCoreApplication::processEvents();
  if (!submitted)
    throw ESubmitError("form " + std::to_string(request.Form) + " was not submitted");
  Print(*submitted, out);
}

} // namespace

int SubmitPage(const TSubmitRequest& request, std::ostream& out, std::ostream& err)
{
  if (!qApp) {
    err << "error: no application object\n";
    return 1;
  }
  try {
    Run(request, out);
    return 0;
  } catch (const std::exception& e) {
    err << "error: " << e.what() << '\n';
    return 1;
  }
}
