#include "html/model/FormControlObj.h"

#include "base/StringUtil.h"
#include "html/model/Document.h"
#include "html/model/htmlForm.h"
#include "html/symbols/AttributeList.h"
#include "platform/Canvas.h"
#include "platform/FontMetricsCache.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int32_t HiddenTop = -400; // out of sight until painting places the control
constexpr int FixedFontPoints = 10;

std::string AttrText(const TAttributeList& attributes, TSymbol sym)
{
  const TAttribute* a = attributes.Find(sym);
  return a ? a->Text : std::string();
}

int AWidth(const TFontMetrics& m)
{
  return m.Advance[uint8_t('A')];
}

bool Monochrome(const TCanvas& canvas)
{
  return canvas.NumColors <= 2;
}

// Draws text in the control's font, clipped to the frame less 4 pixels left and top and 8
// right and bottom.
void FramedText(TCanvas& canvas, const TFontMetrics& m, int32_t X, int32_t Y, int32_t w, int32_t h,
                int32_t x, int32_t top, const std::string& s)
{
  QRect clip(X + 4, Y + 4, std::max(0, w - 12), std::max(0, h - 12));
  canvas.TextRect(m, clip, x, top + m.Ascent, s.data(), int(s.size()), clBlack);
}

} // namespace

// ---- the base ----

TFormControlObj::TFormControlObj(TDocument* doc, int32_t pos, const TAttributeList& attributes)
    : Pos(pos), Doc(doc)
{
  Value = AttrText(attributes, attrVALUE);
  Name = AttrText(attributes, attrNAME);
}

void TFormControlObj::MakeWidget(TFormWidgetKind kind)
{
  std::unique_ptr<TFormWidget> w =
      Doc ? Doc->MakeFormWidget(kind) : std::make_unique<TStateFormWidget>(kind);
  FWidget = w.get();
  FWidget->TextCharset = Doc ? Doc->TextCharset() : 0;
  FWidget->Move(0, HiddenTop);
  FWidget->Resize(120, 20);
  FWidget->SetName(Name);
  FWidget->OnEnter = [this] {
    if (Doc)
      Doc->ControlEntered(this);
  };
  FWidget->OnExit = [this] {
    if (Doc)
      Doc->ControlExited();
  };
  TheControl = std::move(w);
}

void TFormControlObj::UseFixedFont()
{
  if (FWidget && Doc)
    FWidget->SetFont(QFont(QString::fromStdString(Doc->FixedFontName), FixedFontPoints));
}

const TFontMetrics& TFormControlObj::FontMetrics(TCanvas& canvas) const
{
  QFont f = FWidget ? FWidget->Font() : QFont();
  int points = f.pointSize() > 0 ? f.pointSize() : FixedFontPoints;
  return canvas.Metrics(f.family(), points, f.bold(), f.italic(), 0);
}

const TFontMetrics& TFormControlObj::DefaultFontMetrics(TCanvas& canvas)
{
  QFont f;
  return canvas.Metrics(f.family(), f.pointSize() > 0 ? f.pointSize() : FixedFontPoints, false,
                        false, 0);
}

void TFormControlObj::RaiseObjectClick(const std::string& onClick)
{
  if (Doc && Doc->OnObjectClick)
    Doc->OnObjectClick(Doc->Viewer, this, onClick);
}

void DrawControlFrame(TCanvas& canvas, int32_t X, int32_t Y, bool raised, int32_t X1, int32_t Y1)
{
  QPainter* p = canvas.Painter();
  if (!p)
    return;
  p->save();
  p->fillRect(QRect(QPoint(X, Y), QPoint(X1 - 2, Y1 - 2)), Qt::white);
  bool mono = Monochrome(canvas);
  int pen = mono ? 1 : 2;
  QColor silver = ToQColor(clSilver), shadow = ToQColor(clBtnShadow);
  QColor topLeft = mono ? Qt::black : raised ? silver : shadow;
  QColor bottomRight = mono ? Qt::black : raised ? shadow : silver;
  // Drawn inside the frame: each edge is pen pixels thick within X..X1-1, Y..Y1-1.
  p->fillRect(QRect(X, Y, X1 - X, pen), topLeft);
  p->fillRect(QRect(X, Y, pen, Y1 - Y), topLeft);
  p->fillRect(QRect(X, Y1 - pen, X1 - X, pen), bottomRight);
  p->fillRect(QRect(X1 - pen, Y, pen, Y1 - Y), bottomRight);
  p->restore();
}

// ---- hidden ----

THiddenFormControlObj::THiddenFormControlObj(TDocument* doc, int32_t pos,
                                             const TAttributeList& attributes)
    : TFormControlObj(doc, pos, attributes)
{
}

bool THiddenFormControlObj::GetSubmission(int index, std::string& s)
{
  if (index != 0)
    return false;
  s = Pair(Value);
  return true;
}

// ---- edit ----

TEditFormControlObj::TEditFormControlObj(TDocument* doc, int32_t pos,
                                         const TAttributeList& attributes, bool password)
    : TFormControlObj(doc, pos, attributes), FPassword(password)
{
  EditSize = SizeOf(attributes);
  MakeWidget(password ? TFormWidgetKind::Password : TFormWidgetKind::Edit);
  UseFixedFont();
  if (const TAttribute* a = attributes.Find(attrMAXLENGTH); a && a->Num > 0)
    FWidget->SetMaxLength(a->Num);
  FWidget->OnKeyDown = [this](int key) {
    if (Form)
      Form->ControlKeyDown(this, key);
  };
  ResetToValue();
}

int32_t TEditFormControlObj::SizeOf(const TAttributeList& attributes)
{
  const TAttribute* a = attributes.Find(attrSIZE);
  if (!a)
    return 20;
  if (a->Num > 0)
    return a->Num;
  size_t blank = a->Text.find(' '), comma = a->Text.find(',');
  if (blank == std::string::npos || comma == std::string::npos)
    return 20;
  size_t first = std::min(blank, comma);
  if (first == 0)
    return 20;
  int32_t n = 0;
  return strutil::TryStrToInt(a->Text.substr(0, first), n) && n > 0 ? n : 20;
}

void TEditFormControlObj::ResetToValue()
{
  FWidget->SetText(Value);
}

bool TEditFormControlObj::GetSubmission(int index, std::string& s)
{
  if (index != 0)
    return false;
  s = Pair(FWidget->Text());
  return true;
}

void TEditFormControlObj::SetSizes(TCanvas& canvas)
{
  const TFontMetrics& m = FontMetrics(canvas);
  FWidget->Resize(AWidth(m) * EditSize + 5, FWidget->Height());
}

std::string TEditFormControlObj::ShownValue() const
{
  return FWidget->Text();
}

void TEditFormControlObj::Print(TCanvas& canvas, int32_t X, int32_t Y)
{
  int32_t w = Width(), h = Height();
  DrawControlFrame(canvas, X, Y, false, X + w, Y + h);
  const TFontMetrics& m = FontMetrics(canvas);
  std::string text = FWidget->Text();
  if (FPassword)
    text.assign(text.size(), '*');
  QRect clip(X + 4, Y, std::max(0, w - 12), h);
  int32_t top = Y + (h - m.Height) / 2;
  canvas.TextRect(m, clip, X + 4, top + m.Ascent, text.data(), int(text.size()), clBlack);
}

// ---- buttons ----

TButtonFormControlObj::TButtonFormControlObj(TDocument* doc, int32_t pos,
                                             const TAttributeList& attributes, uint8_t which)
    : TFormControlObj(doc, pos, attributes), Which(which)
{
  OnClickText = AttrText(attributes, attrONCLICK);
  // Without VALUE only the caption has a default: a named submit button still sends "name=".
  std::string caption = Value;
  if (!attributes.Find(attrVALUE))
    caption = Which == Submit ? "Submit" : Which == Reset ? "Reset" : "Button";
  MakeWidget(TFormWidgetKind::Button);
  FWidget->SetText(caption);
  FWidget->OnClick = [this] { Clicked(); };
}

void TButtonFormControlObj::Clicked()
{
  if (!OnClickText.empty() || (Doc && Doc->OnObjectClick))
    RaiseObjectClick(OnClickText);
  if (!Form)
    return;
  if (Which == Reset) {
    Form->ResetControls();
  } else if (Which == Submit) {
    if (Name.empty()) {
      Form->Submit();
    } else {
      std::string extra = Pair(Value);
      Form->Submit(&extra);
    }
  }
}

const char* TButtonFormControlObj::KindName() const
{
  return Which == Submit ? "submit" : Which == Reset ? "reset" : "button";
}

std::string TButtonFormControlObj::ShownValue() const
{
  return FWidget->Text();
}

void TButtonFormControlObj::SetSizes(TCanvas& canvas)
{
  const TFontMetrics& m = FontMetrics(canvas);
  std::string caption = FWidget->Text();
  FWidget->Resize(m.TextWidth(caption.data(), int(caption.size())) + 20, m.Height + 8);
}

void TButtonFormControlObj::Print(TCanvas& canvas, int32_t X, int32_t Y)
{
  int32_t w = Width(), h = Height();
  DrawControlFrame(canvas, X, Y, true, X + w, Y + h);
  const TFontMetrics& m = FontMetrics(canvas);
  std::string caption = FWidget->Text();
  int32_t tw = m.TextWidth(caption.data(), int(caption.size()));
  int32_t top = Y + (h - m.Height) / 2;
  canvas.TextRect(m, QRect(X, Y, w, h), X + w / 2 - tw / 2, top + m.Ascent, caption.data(),
                  int(caption.size()), clBlack);
}

// ---- check box ----

TCheckBoxFormControlObj::TCheckBoxFormControlObj(TDocument* doc, int32_t pos,
                                                 const TAttributeList& attributes)
    : TFormControlObj(doc, pos, attributes)
{
  if (Value.empty())
    Value = "on";
  IsBox = true;
  IsChecked = attributes.Find(attrCHECKED) != nullptr;
  OnClickText = AttrText(attributes, attrONCLICK);
  MakeWidget(TFormWidgetKind::CheckBox);
  FWidget->OnClick = [this] { RaiseObjectClick(OnClickText); };
  ResetToValue();
}

void TCheckBoxFormControlObj::ResetToValue()
{
  FWidget->SetChecked(IsChecked);
}

bool TCheckBoxFormControlObj::GetSubmission(int index, std::string& s)
{
  if (index != 0)
    return false;
  if (FWidget->Checked())
    s = Pair(Value);
  return true;
}

void TCheckBoxFormControlObj::SetSizes(TCanvas& canvas)
{
  (void)canvas;
  FWidget->Resize(13, 13);
}

bool TCheckBoxFormControlObj::ShownChecked() const
{
  return FWidget->Checked();
}

void TCheckBoxFormControlObj::Print(TCanvas& canvas, int32_t X, int32_t Y)
{
  int32_t w = Width(), h = Height();
  DrawControlFrame(canvas, X, Y, false, X + w, Y + h);
  if (!FWidget->Checked())
    return;
  int32_t ym = Y + h / 2;
  canvas.Line(X + 3, ym, X + 5, ym + 2, clBlack);
  canvas.Line(X + 5, ym + 2, X + 9, ym - 2, clBlack);
}

// ---- radio button ----

TRadioButtonFormControlObj::TRadioButtonFormControlObj(TDocument* doc, int32_t pos,
                                                       const TAttributeList& attributes)
    : TFormControlObj(doc, pos, attributes)
{
  IsBox = true;
  IsChecked = attributes.Find(attrCHECKED) != nullptr;
  OnClickText = AttrText(attributes, attrONCLICK);
  MakeWidget(TFormWidgetKind::Radio);
  FWidget->OnClick = [this] { Clicked(); };
  ResetToValue();
}

void TRadioButtonFormControlObj::Clicked()
{
  FWidget->SetChecked(true);
  if (Form)
    Form->UncheckOthers(this);
  RaiseObjectClick(OnClickText);
}

void TRadioButtonFormControlObj::ResetToValue()
{
  FWidget->SetChecked(IsChecked);
}

bool TRadioButtonFormControlObj::GetSubmission(int index, std::string& s)
{
  if (index != 0)
    return false;
  if (FWidget->Checked())
    s = Pair(Value);
  return true;
}

void TRadioButtonFormControlObj::SetSizes(TCanvas& canvas)
{
  (void)canvas;
  FWidget->Resize(13, 14);
}

bool TRadioButtonFormControlObj::ShownChecked() const
{
  return FWidget->Checked();
}

void TRadioButtonFormControlObj::Print(TCanvas& canvas, int32_t X, int32_t Y)
{
  QPainter* p = canvas.Painter();
  if (!p)
    return;
  p->save();
  p->setRenderHint(QPainter::Antialiasing, false);
  QRect box(X, Y, 14, 14);
  p->setPen(Qt::NoPen);
  p->setBrush(Qt::white);
  p->drawEllipse(box.adjusted(0, 0, -1, -1));
  bool mono = Monochrome(canvas);
  QPen rim(mono ? QColor(Qt::black) : ToQColor(clBtnShadow), mono ? 1 : 2);
  p->setBrush(Qt::NoBrush);
  p->setPen(rim);
  QRect arc = box.adjusted(1, 1, -2, -2);
  p->drawArc(arc, 45 * 16, 180 * 16); // upper left
  rim.setColor(mono ? QColor(Qt::black) : ToQColor(clSilver));
  p->setPen(rim);
  p->drawArc(arc, 225 * 16, 180 * 16); // lower right
  if (FWidget->Checked()) {
    p->setPen(Qt::NoPen);
    p->setBrush(Qt::black);
    p->drawEllipse(QRect(QPoint(X + 5, Y + 5), QPoint(X + 8, Y + 8)));
  }
  p->restore();
}

// ---- image button ----

TImageFormControlObj::TImageFormControlObj(TDocument* doc, int32_t pos,
                                           const TAttributeList& attributes)
    : TFormControlObj(doc, pos, attributes)
{
}

void TImageFormControlObj::MouseAt(int32_t x, int32_t y)
{
  XTmp = x;
  YTmp = y;
}

void TImageFormControlObj::ImageClicked()
{
  XPos = XTmp;
  YPos = YTmp;
  if (Form)
    Form->Submit();
}

bool TImageFormControlObj::GetSubmission(int index, std::string& s)
{
  if (XPos < 0 || index > 1)
    return false;
  std::string prefix = Name.empty() ? std::string() : Name + ".";
  if (index == 0) {
    s = prefix + "x=" + std::to_string(XPos);
  } else {
    s = prefix + "y=" + std::to_string(YPos);
    XPos = -1; // the coordinates go with this submission only
  }
  return true;
}

// ---- list box ----

TListBoxFormControlObj::TListBoxFormControlObj(TDocument* doc, int32_t pos,
                                               const TAttributeList& attributes)
    : TListBoxFormControlObj(doc, pos, attributes, TFormWidgetKind::ListBox)
{
  if (const TAttribute* a = attributes.Find(attrSIZE); a && a->Num > 0)
    LBSize = a->Num;
  FWidget->SetMultiSelect(attributes.Find(attrMULTIPLE) != nullptr);
}

TListBoxFormControlObj::TListBoxFormControlObj(TDocument* doc, int32_t pos,
                                               const TAttributeList& attributes,
                                               TFormWidgetKind kind)
    : TFormControlObj(doc, pos, attributes)
{
  MakeWidget(kind);
  UseFixedFont();
}

void TListBoxFormControlObj::AddOption(const std::string& text, bool hasValue,
                                       const std::string& value, bool selected)
{
  std::string t = strutil::Trim(text);
  Options.push_back(t);
  OptionObjs.push_back(TOptionObj{value, hasValue, selected});
  Longest = std::max(Longest, int32_t(t.size()));
}

int TListBoxFormControlObj::LastSelected() const
{
  for (size_t i = OptionObjs.size(); i-- > 0;)
    if (OptionObjs[i].Selected)
      return int(i);
  return 0;
}

std::string TListBoxFormControlObj::OptionValue(int index) const
{
  const TOptionObj& o = OptionObjs[size_t(index)];
  return o.HasValue ? o.Value : Options[size_t(index)];
}

void TListBoxFormControlObj::ResetToValue()
{
  FWidget->SetItems(Options);
  if (Options.empty())
    return;
  if (FWidget->MultiSelect()) {
    for (size_t i = 0; i < OptionObjs.size(); ++i)
      FWidget->SetSelected(int(i), OptionObjs[i].Selected);
    FWidget->SetItemIndex(LastSelected());
  } else {
    FWidget->SetItemIndex(LastSelected());
  }
  FWidget->SetTopIndex(0);
}

bool TListBoxFormControlObj::GetSubmission(int index, std::string& s)
{
  if (index < 0 || index >= FWidget->Count() || index >= int(Options.size()))
    return false;
  if (FWidget->Selected(index))
    s = Pair(OptionValue(index));
  else
    s.clear();
  return true;
}

void TListBoxFormControlObj::SetSizes(TCanvas& canvas)
{
  const TFontMetrics& m = FontMetrics(canvas);
  if (LBSize <= 0)
    LBSize = std::max(1, std::min(8, int(Options.size())));
  FWidget->SetClientSize(AWidth(m) * Longest + 15, m.Height * LBSize);
}

std::string TListBoxFormControlObj::ShownValue() const
{
  std::string shown;
  for (int i = 0; i < FWidget->Count(); ++i)
    if (FWidget->Selected(i))
      shown += (shown.empty() ? "" : ",") + OptionValue(i);
  return shown;
}

void TListBoxFormControlObj::Print(TCanvas& canvas, int32_t X, int32_t Y)
{
  int32_t w = Width(), h = Height();
  DrawControlFrame(canvas, X, Y, false, X + w, Y + h);
  const TFontMetrics& m = FontMetrics(canvas);
  int top = std::max(0, FWidget->TopIndex());
  for (int row = 0; row < LBSize && top + row < FWidget->Count(); ++row)
    FramedText(canvas, m, X, Y, w, h, X + 4, Y + 4 + row * m.Height, FWidget->Item(top + row));
}

// ---- drop-down list ----

TComboFormControlObj::TComboFormControlObj(TDocument* doc, int32_t pos,
                                           const TAttributeList& attributes)
    : TListBoxFormControlObj(doc, pos, attributes, TFormWidgetKind::Combo)
{
}

void TComboFormControlObj::ResetToValue()
{
  FWidget->SetItems(Options);
  if (!Options.empty())
    FWidget->SetItemIndex(LastSelected());
}

bool TComboFormControlObj::GetSubmission(int index, std::string& s)
{
  if (index != 0)
    return false;
  int current = FWidget->ItemIndex();
  if (current >= 0 && current < int(Options.size()))
    s = Pair(OptionValue(current));
  return true;
}

void TComboFormControlObj::SetSizes(TCanvas& canvas)
{
  const TFontMetrics& m = FontMetrics(canvas);
  FWidget->SetClientSize(AWidth(DefaultFontMetrics(canvas)) * Longest + 30, m.Height + 4);
}

void TComboFormControlObj::Print(TCanvas& canvas, int32_t X, int32_t Y)
{
  int32_t w = Width(), h = Height();
  DrawControlFrame(canvas, X, Y, false, X + w, Y + h);
  FramedText(canvas, FontMetrics(canvas), X, Y, w, h, X + 4, Y + 4,
             FWidget->Item(FWidget->ItemIndex()));
}

// ---- text area ----

TTextAreaFormControlObj::TTextAreaFormControlObj(TDocument* doc, int32_t pos,
                                                 const TAttributeList& attributes)
    : TFormControlObj(doc, pos, attributes)
{
  if (const TAttribute* a = attributes.Find(attrROWS); a && a->Num > 0)
    Rows = a->Num;
  if (const TAttribute* a = attributes.Find(attrCOLS); a && a->Num > 0)
    Cols = a->Num;
  MakeWidget(TFormWidgetKind::TextArea);
  UseFixedFont();
  std::string wrap = strutil::LowerCase(AttrText(attributes, attrWRAP));
  FWidget->SetWordWrap(wrap == "soft" || wrap == "hard");
  // The key handler is shared with edit boxes; the form acts on Enter in edit boxes only.
  FWidget->OnKeyDown = [this](int key) {
    if (Form)
      Form->ControlKeyDown(this, key);
  };
}

void TTextAreaFormControlObj::ResetToValue()
{
  FWidget->SetLines(InitialLines);
}

bool TTextAreaFormControlObj::GetSubmission(int index, std::string& s)
{
  if (index != 0)
    return false;
  s = Pair(ShownValue());
  return true;
}

std::string TTextAreaFormControlObj::ShownValue() const
{
  std::vector<std::string> lines = FWidget->Lines();
  const char* between = FWidget->WordWrap() ? "" : "\r\n";
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i)
    text += (i ? between : "") + lines[i];
  return text;
}

void TTextAreaFormControlObj::SetSizes(TCanvas& canvas)
{
  const TFontMetrics& m = FontMetrics(canvas);
  FWidget->SetClientSize(AWidth(m) * Cols + 5, m.Height * Rows + 5);
}

void TTextAreaFormControlObj::Print(TCanvas& canvas, int32_t X, int32_t Y)
{
  int32_t w = Width(), h = Height();
  DrawControlFrame(canvas, X, Y, false, X + w, Y + h);
  const TFontMetrics& m = FontMetrics(canvas);
  std::vector<std::string> lines = FWidget->Lines();
  for (int i = 0; i < Rows && i < int(lines.size()); ++i)
    FramedText(canvas, m, X, Y, w, h, X + 4, Y + 4 + i * m.Height, lines[size_t(i)]);
}
