#pragma once
// The editor's lines: each line without its line break, plus one companion value per line (the
// highlighter's range at the line's start). A loaded file stays in one block that the lines
// point into; a line gets storage of its own only when it is changed, so a large file costs
// little more than its size. Every line remembers the break that followed it, so a file
// loaded and saved unchanged comes back byte for byte, whatever its line ends.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum TLineBreak : uint8_t { lbNone = 0, lbLF = 1, lbCR = 2, lbCRLF = 3 };

class TtxEditList {
public:
  TtxEditList();
  ~TtxEditList();
  TtxEditList(const TtxEditList&) = delete;
  TtxEditList& operator=(const TtxEditList&) = delete;

  int Count() const { return int(FEntries.size()); }
  // Line i (0-based), valid until the line changes.
  std::string_view Strings(int index) const;
  void Put(int index, std::string_view text);
  int Add(std::string_view text);
  void Insert(int index, std::string_view text);
  void Delete(int index);
  // Many lines in one go; the hooks fire once, for the first index.
  void InsertLines(int index, const std::vector<std::string>& lines);
  void DeleteLines(int index, int count);
  // Empties the list; outside loading one empty line is added, so the list is never empty.
  void Clear();

  int32_t Objects(int index) const { return FEntries[index].Range; }
  void SetObjects(int index, int32_t value) { FEntries[index].Range = value; }

  // The whole text with every line's own break (what a save writes).
  std::string Text() const;
  // Replaces the whole text: lines split at CR, LF or CR LF.
  void SetText(std::string_view text);
  void LoadFromBytes(std::string bytes);
  // Throws ELumoraError "Can't load: NAME" when the file cannot be read; the loading flag is
  // reset in every case.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  // The lines from `index` on that still lie one after another in the loaded block, as one
  // piece of text with their line ends between them; `last` gets the index of the last of
  // them. Empty when line `index` has been changed.
  std::string_view LoadedRun(int index, int& last) const;

  // Set when the last whole-text replacement was UTF-8: it began with the UTF-8 byte-order
  // mark, or its bytes above 127 all formed UTF-8. The mark is kept out of the first line and
  // put back in front by Text().
  bool Utf8() const { return FUtf8; }
  bool ByteOrderMark() const { return FByteOrderMark; }

  TLineBreak LineBreak(int index) const { return TLineBreak(FEntries[index].Break); }
  // The break new lines get: the first break of the loaded text, CR LF when there was none.
  TLineBreak DefaultBreak() const { return FDefaultBreak; }

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Bytes of memory the lines use beyond the loaded block (for the memory report).
  size_t OwnedBytes() const;
  size_t LoadedBytes() const { return FBlockSize; }
  size_t EntryBytes() const { return FEntries.capacity() * sizeof(TEntry); }

  bool loading = false;
  std::function<void(TtxEditList&)> AfterAdd;
  std::function<void(int)> AfterDelete;
  std::function<void(int)> AfterInsert;
  std::function<void(int)> AfterReplace;
  std::function<void(TtxEditList&)> AfterSetText;
  // Fired when an outermost update ends, or after a change outside any update.
  std::function<void()> OnChanged;

private:
  struct TEntry {
    const char* Data = nullptr;
    uint32_t Length : 29;
    uint32_t Owned : 1;
    uint32_t Break : 2;
    int32_t Range = -1; // not scanned yet
    TEntry() : Length(0), Owned(0), Break(0) {}
  };

  TEntry MakeEntry(std::string_view text, TLineBreak lineBreak) const;
  static void Release(TEntry& entry);
  void ReleaseAll();
  void Changed();

  std::vector<TEntry> FEntries;
  std::unique_ptr<char[]> FBlock;
  size_t FBlockSize = 0;
  TLineBreak FDefaultBreak = lbCRLF;
  bool FUtf8 = false;
  bool FByteOrderMark = false;
  int FUpdateCount = 0;
};
