#pragma once
// The highlighter interface the editor drives one line at a time, and the token classes that
// every highlighter owns. The editor stores the range state at the start of every line, so a
// line can be scanned on its own.
#include "editor/HighLightAttributes.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TIniFile;

using TIdentChars = std::bitset<256>;

// What a highlighter tells the editors attached to it.
class THighLighterClient {
public:
  virtual ~THighLighterClient() = default;
  // A token class changed colour or style: repaint.
  virtual void HighLighterChanged() = 0;
  // The highlighter is going away: forget it.
  virtual void HighLighterDestroyed() = 0;
};

class TtxCustomHighLighter {
public:
  TtxCustomHighLighter();
  virtual ~TtxCustomHighLighter();
  TtxCustomHighLighter(const TtxCustomHighLighter&) = delete;
  TtxCustomHighLighter& operator=(const TtxCustomHighLighter&) = delete;

  virtual const TIdentChars& IdentifierChars() const;
  virtual std::string LanguageName() const = 0;
  int AttributeCount() const { return int(FAttributes.size()); }
  TtxHighLightAttributes* AttributeAt(int index) const;
  virtual uint32_t Capabilities() const { return 1u << 1; }
  virtual std::string GetDefaultFilter() const { return FDefaultFilter; }
  virtual void SetDefaultFilter(const std::string& value);

  virtual bool AtLineEnd() const = 0;
  virtual int CurrentRange() const = 0;
  virtual std::string_view CurrentTokenText() const = 0;
  // The token class of the current token; none for the end of the line.
  virtual TtxHighLightAttributes* TokenAttributes() const = 0;
  virtual int TokenKindOf() const = 0;
  virtual int TokenStart() const = 0;
  virtual void NextToken() = 0;
  // Takes the line (copied), sets the position to 0 and scans the first token.
  virtual void StartLine(std::string_view text, int lineNumber) = 0;
  virtual void RestoreRange(int value) = 0;
  // Sets the range for the first line of a text.
  virtual void StartRange() = 0;

  // Scans the rest of the line, when only the range at its end is wanted.
  void ScanToLineEnd();
  // The range a line starts in when its predecessor started in `range`.
  int RangeAfterLine(int range, std::string_view text, int lineNumber);

  // Token classes in the ini store, each in a section below `key`. Loading is false when the
  // store has no value under the key at all.
  bool LoadSettings(const TIniFile& ini, const std::string& key);
  bool SaveSettings(TIniFile& ini, const std::string& key) const;

  void AddEditor(THighLighterClient* editor);
  void RemoveEditor(THighLighterClient* editor);
  int EditorCount() const { return int(FEditors.size()); }

  // Declared for highlighters that report tokens; the HTML highlighter does not fire it.
  std::function<void(int tokenKind, std::string_view tokenText, int lineNo)> OnToken;

protected:
  // Creates a token class and keeps it in display-name order; a duplicate name is ignored
  // and the existing class returned.
  TtxHighLightAttributes* AddAttribute(const std::string& name);

private:
  void AttributeChanged();

  std::vector<std::unique_ptr<TtxHighLightAttributes>> FAttributes;
  std::vector<THighLighterClient*> FEditors;
  std::string FDefaultFilter;
};
