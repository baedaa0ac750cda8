#include "editor/CustomHighLighter.h"

#include <algorithm>

TtxCustomHighLighter::TtxCustomHighLighter() = default;

TtxCustomHighLighter::~TtxCustomHighLighter()
{
  // Copy first: an editor detaches itself while it is told.
  auto editors = FEditors;
  for (auto* editor : editors)
    editor->HighLighterDestroyed();
}

const TIdentChars& TtxCustomHighLighter::IdentifierChars() const
{
  static const TIdentChars chars = [] {
    TIdentChars set;
    for (int c = '0'; c <= '9'; ++c)
      set.set(c);
    for (int c = 'A'; c <= 'Z'; ++c)
      set.set(c).set(c + 32);
    set.set('_');
    return set;
  }();
  return chars;
}

TtxHighLightAttributes* TtxCustomHighLighter::AttributeAt(int index) const
{
  if (index < 0 || index >= AttributeCount())
    return nullptr;
  return FAttributes[index].get();
}

void TtxCustomHighLighter::SetDefaultFilter(const std::string& value)
{
  if (value != FDefaultFilter)
    FDefaultFilter = value;
}

void TtxCustomHighLighter::ScanToLineEnd()
{
  while (!AtLineEnd())
    NextToken();
}

int TtxCustomHighLighter::RangeAfterLine(int range, std::string_view text, int lineNumber)
{
  RestoreRange(range);
  StartLine(text, lineNumber);
  ScanToLineEnd();
  return CurrentRange();
}

bool TtxCustomHighLighter::LoadSettings(const TIniFile& ini, const std::string& key)
{
  bool any = false;
  for (auto& attribute : FAttributes)
    any = attribute->LoadFromIni(ini, key) || any;
  return any;
}

bool TtxCustomHighLighter::SaveSettings(TIniFile& ini, const std::string& key) const
{
  for (const auto& attribute : FAttributes)
    attribute->SaveToIni(ini, key);
  return true;
}

void TtxCustomHighLighter::AddEditor(THighLighterClient* editor)
{
  if (editor && std::find(FEditors.begin(), FEditors.end(), editor) == FEditors.end())
    FEditors.push_back(editor);
}

void TtxCustomHighLighter::RemoveEditor(THighLighterClient* editor)
{
  FEditors.erase(std::remove(FEditors.begin(), FEditors.end(), editor), FEditors.end());
}

TtxHighLightAttributes* TtxCustomHighLighter::AddAttribute(const std::string& name)
{
  auto at = std::lower_bound(FAttributes.begin(), FAttributes.end(), name,
                             [](const auto& a, const std::string& n) { return a->Name() < n; });
  if (at != FAttributes.end() && (*at)->Name() == name)
    return at->get();
  auto attribute = std::make_unique<TtxHighLightAttributes>(name);
  attribute->OnChange = [this] { AttributeChanged(); };
  return FAttributes.insert(at, std::move(attribute))->get();
}

void TtxCustomHighLighter::AttributeChanged()
{
  for (auto* editor : FEditors)
    editor->HighLighterChanged();
}
