#include "html/model/PanelObj.h"

#include "base/StringUtil.h"
#include "html/model/Document.h"
#include "html/model/ImageObj.h"
#include "html/symbols/AttributeList.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cstdlib>

namespace {
// Component names follow identifier rules; anything else is ignored.
bool ValidName(const std::string& s)
{
  if (s.empty() || !(std::isalpha(uint8_t(s[0])) || s[0] == '_'))
    return false;
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return std::isalnum(uint8_t(c)) || c == '_'; });
}

TPlacement PanelPlacement(const std::string& align)
{
  std::string a = strutil::UpperCase(align);
  if (a == "TOP" || a == "MIDDLE" || a == "ABSMIDDLE" || a == "LEFT" || a == "RIGHT")
    return TImageObj::PlacementOf(a);
  return plBottom;
}
} // namespace

TPanelObj::TPanelObj(TDocument* doc, int32_t pos, int32_t width, int32_t height,
                     const std::string& src)
    : Doc(doc)
{
  ObjPos = pos;
  CreatePanel(width, height, std::string(), src, std::string());
}

TPanelObj::TPanelObj(TDocument* doc, int32_t pos, const TAttributeList& attributes) : Doc(doc)
{
  ObjPos = pos;
  int32_t width = 30, height = 20;
  std::string src, name, data;
  for (const auto& a : attributes) {
    switch (a->Sym) {
    case attrALIGN: Placement = PanelPlacement(a->Text); break;
    case attrWIDTH: width = std::max(a->Num, 0); break;
    case attrHEIGHT: height = std::max(a->Num, 0); break;
    case attrHSPACE: SideGap = int32_t(std::min(std::abs(int64_t(a->Num)), int64_t(20))); break;
    case attrNAME: name = a->Text; break;
    case attrSRC: src = a->Text; break;
    case attrALT: AltText = a->Text; break;
    case symUnknownAttr:
      if (a->Name == "DATA")
        data = a->Text;
      break;
    default: break;
    }
  }
  CreatePanel(width, height, name, src, data);
}

void TPanelObj::CreatePanel(int32_t width, int32_t height, const std::string& name,
                            const std::string& src, const std::string& data)
{
  BoxWidth = std::min(width, 32000);
  BoxHeight = std::min(height, 32000);
  if (!Doc)
    return;
  if (Doc->Host)
    Panel = Doc->Host->CreatePanel();
  if (Panel) {
    Panel->Resize(BoxWidth, BoxHeight);
    if (ValidName(name))
      Panel->SetName(name);
    Panel->SetData(data);
    if (Doc->OnPanelCreate)
      Doc->OnPanelCreate(Doc->Viewer, src, Panel.get());
    // The host may have resized the panel: that is the size it takes in the page.
    BoxWidth = Panel->Width();
    BoxHeight = Panel->Height();
  }
  Doc->Panels.push_back(this);
}

TPanelObj::~TPanelObj()
{
  if (Doc) {
    auto& v = Doc->Panels;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    if (Panel && Doc->OnPanelDestroy)
      Doc->OnPanelDestroy(Doc->Viewer, Panel.get());
  }
}

void TPanelObj::Paint(TCanvas& canvas, int32_t x, int32_t y)
{
  if (canvas.Printing || (Doc && Doc->PrintMode)) {
    if (!(Panel ? Panel->PanelShown() : PrintShown))
      return;
    QRect r(x, y, BoxWidth, BoxHeight);
    canvas.FillRect(r, Panel ? Panel->Color() : PrintColor);
    canvas.FrameRect(r, clBlack);
    const TFontMetrics& m = canvas.Metrics(QStringLiteral("Arial"), 8, false, false, 0);
    canvas.TextRect(m, r.adjusted(15, 15, -15, -15), r.left() + 15, r.top() + 15 + m.Ascent,
                    AltText.data(), int(AltText.size()), clBlack);
    return;
  }
  if (!Panel)
    return;
  Panel->Move(x, y);
  Panel->SetVisible(Panel->PanelShown());
  Placed = true;
}

std::unique_ptr<TFloatingObj> TPanelObj::CloneForPrint(TSection* section) const
{
  (void)section;
  auto p = std::make_unique<TPanelObj>(nullptr, ObjPos, BoxWidth, BoxHeight, std::string());
  p->Placement = Placement;
  p->SideGap = SideGap;
  p->AltText = AltText;
  p->FloatX = FloatX;
  p->FloatY = FloatY;
  p->PrintShown = Panel ? Panel->PanelShown() : PrintShown;
  p->PrintColor = Panel ? Panel->Color() : PrintColor;
  return p;
}
