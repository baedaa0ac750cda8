#include "editor/EditList.h"

#include "base/Exceptions.h"
#include "base/Utf8.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

const char* BreakText(TLineBreak lineBreak)
{
  switch (lineBreak) {
  case lbLF: return "\n";
  case lbCR: return "\r";
  case lbCRLF: return "\r\n";
  default: return "";
  }
}

// Lines longer than the entry's length field are not kept; no text file comes near it.
constexpr char ByteOrderMarkBytes[] = {char(0xEF), char(0xBB), char(0xBF)};

constexpr size_t MaxLineLength = (size_t(1) << 29) - 1;

} // namespace

TtxEditList::TtxEditList()
{
  Clear();
}

TtxEditList::~TtxEditList()
{
  ReleaseAll();
}

std::string_view TtxEditList::Strings(int index) const
{
  const TEntry& e = FEntries[index];
  return std::string_view(e.Data ? e.Data : "", e.Length);
}

TtxEditList::TEntry TtxEditList::MakeEntry(std::string_view text, TLineBreak lineBreak) const
{
  if (text.size() > MaxLineLength)
    text = text.substr(0, MaxLineLength);
  TEntry e;
  e.Length = uint32_t(text.size());
  e.Break = lineBreak;
  if (!text.empty()) {
    char* data = new char[text.size()];
    std::memcpy(data, text.data(), text.size());
    e.Data = data;
    e.Owned = 1;
  }
  return e;
}

void TtxEditList::Release(TEntry& entry)
{
  if (entry.Owned)
    delete[] entry.Data;
  entry.Data = nullptr;
  entry.Owned = 0;
}

void TtxEditList::ReleaseAll()
{
  for (auto& e : FEntries)
    Release(e);
  FEntries.clear();
}

void TtxEditList::Changed()
{
  if (FUpdateCount == 0 && OnChanged)
    OnChanged();
}

void TtxEditList::EndUpdate()
{
  if (FUpdateCount > 0 && --FUpdateCount == 0)
    Changed();
}

void TtxEditList::Put(int index, std::string_view text)
{
  BeginUpdate();
  TEntry& old = FEntries[index];
  TEntry e = MakeEntry(text, TLineBreak(old.Break));
  e.Range = old.Range;
  Release(old);
  FEntries[index] = e;
  if (AfterReplace)
    AfterReplace(index);
  EndUpdate();
}

int TtxEditList::Add(std::string_view text)
{
  BeginUpdate();
  // The new last line takes over the ending of the text; the old last line gets a break.
  TLineBreak lastBreak = FDefaultBreak;
  if (!FEntries.empty()) {
    lastBreak = TLineBreak(FEntries.back().Break);
    if (lastBreak == lbNone)
      FEntries.back().Break = FDefaultBreak;
  } else {
    lastBreak = lbNone;
  }
  FEntries.push_back(MakeEntry(text, lastBreak));
  FEntries.back().Range = -1;
  if (AfterAdd)
    AfterAdd(*this);
  EndUpdate();
  return Count() - 1;
}

void TtxEditList::Insert(int index, std::string_view text)
{
  if (index >= Count()) {
    Add(text);
    return;
  }
  BeginUpdate();
  TEntry e = MakeEntry(text, FDefaultBreak);
  e.Range = -1;
  FEntries.insert(FEntries.begin() + index, e);
  if (AfterInsert)
    AfterInsert(index);
  EndUpdate();
}

void TtxEditList::Delete(int index)
{
  BeginUpdate();
  // Deleting the last line hands its ending to the line before it.
  if (index == Count() - 1 && index > 0)
    FEntries[index - 1].Break = FEntries[index].Break;
  Release(FEntries[index]);
  FEntries.erase(FEntries.begin() + index);
  if (AfterDelete)
    AfterDelete(index);
  EndUpdate();
}

void TtxEditList::InsertLines(int index, const std::vector<std::string>& lines)
{
  if (lines.empty())
    return;
  if (index >= Count()) {
    BeginUpdate();
    for (const auto& line : lines)
      Add(line);
    EndUpdate();
    return;
  }
  BeginUpdate();
  std::vector<TEntry> entries;
  entries.reserve(lines.size());
  for (const auto& line : lines)
    entries.push_back(MakeEntry(line, FDefaultBreak));
  FEntries.insert(FEntries.begin() + index, entries.begin(), entries.end());
  if (AfterInsert)
    AfterInsert(index);
  EndUpdate();
}

void TtxEditList::DeleteLines(int index, int count)
{
  if (index < 0 || count <= 0 || index >= Count())
    return;
  if (index + count > Count())
    count = Count() - index;
  BeginUpdate();
  if (index + count == Count() && index > 0)
    FEntries[index - 1].Break = FEntries.back().Break;
  for (int i = index; i < index + count; ++i)
    Release(FEntries[i]);
  FEntries.erase(FEntries.begin() + index, FEntries.begin() + index + count);
  if (AfterDelete)
    AfterDelete(index);
  EndUpdate();
}

void TtxEditList::Clear()
{
  ReleaseAll();
  FBlock.reset();
  FBlockSize = 0;
  if (!loading)
    Add("");
}

std::string TtxEditList::Text() const
{
  std::string result;
  size_t size = FByteOrderMark ? sizeof(ByteOrderMarkBytes) : 0;
  for (const auto& e : FEntries)
    size += e.Length + 2;
  result.reserve(size);
  if (FByteOrderMark)
    result.append(ByteOrderMarkBytes, sizeof(ByteOrderMarkBytes));
  for (int i = 0; i < Count(); ++i) {
    result.append(Strings(i));
    result.append(BreakText(LineBreak(i)));
  }
  return result;
}

void TtxEditList::SetText(std::string_view text)
{
  LoadFromBytes(std::string(text));
}

void TtxEditList::LoadFromBytes(std::string bytes)
{
  BeginUpdate();
  bool wasLoading = loading;
  loading = true;
  Clear();
  loading = wasLoading;
  FBlockSize = bytes.size();
  FBlock = std::make_unique<char[]>(bytes.size() + 1);
  std::memcpy(FBlock.get(), bytes.data(), bytes.size());
  std::string().swap(bytes);
  const char* p = FBlock.get();
  FByteOrderMark = FBlockSize >= sizeof(ByteOrderMarkBytes) &&
                   std::memcmp(p, ByteOrderMarkBytes, sizeof(ByteOrderMarkBytes)) == 0;
  FUtf8 = FByteOrderMark || utf8::LooksLikeUtf8(p, FBlockSize);
  if (FByteOrderMark)
    p += sizeof(ByteOrderMarkBytes);
  const char* end = FBlock.get() + FBlockSize;
  size_t lines = 1;
  for (const char* q = p; q < end; ++q)
    lines += (*q == '\n') || (*q == '\r' && (q + 1 == end || q[1] != '\n'));
  FEntries.reserve(lines);
  FDefaultBreak = lbNone;
  while (p < end) {
    const char* q = p;
    while (q < end && *q != '\n' && *q != '\r' && size_t(q - p) < MaxLineLength)
      ++q;
    TEntry e;
    e.Data = p;
    e.Length = uint32_t(q - p);
    TLineBreak lb = lbNone;
    // A line too long for one entry goes on in the next without a break between them.
    if (q < end && (*q == '\n' || *q == '\r'))
      lb = *q == '\n' ? lbLF : (q + 1 < end && q[1] == '\n' ? lbCRLF : lbCR);
    e.Break = lb;
    if (FDefaultBreak == lbNone)
      FDefaultBreak = lb;
    FEntries.push_back(e);
    p = q + (lb == lbCRLF ? 2 : lb == lbNone ? 0 : 1);
  }
  if (FDefaultBreak == lbNone)
    FDefaultBreak = lbCRLF;
  if (FEntries.empty() && !loading)
    FEntries.emplace_back();
  if (AfterSetText)
    AfterSetText(*this);
  EndUpdate();
}

void TtxEditList::LoadFromFile(const std::string& fileName)
{
  struct TResetLoading {
    bool& flag;
    ~TResetLoading() { flag = false; }
  } reset{loading};
  std::ifstream in(fileName, std::ios::binary);
  if (!in)
    throw ELumoraError(std::string(msg::CantLoad) + fileName);
  std::string bytes;
  try {
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) {
    // The library reports a folder or a failing device by throwing from the read.
    throw ELumoraError(std::string(msg::CantLoad) + fileName);
  }
  if (in.bad())
    throw ELumoraError(std::string(msg::CantLoad) + fileName);
  loading = true;
  LoadFromBytes(std::move(bytes));
}

void TtxEditList::SaveToFile(const std::string& fileName) const
{
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  std::string text = Text();
  out.write(text.data(), std::streamsize(text.size()));
  if (!out)
    throw ELumoraError("Can't save: " + fileName);
}

std::string_view TtxEditList::LoadedRun(int index, int& last) const
{
  last = index;
  const TEntry& first = FEntries[index];
  if (first.Owned || !first.Data)
    return {};
  const char* end = first.Data + first.Length;
  while (last + 1 < Count()) {
    const TEntry& here = FEntries[last];
    const TEntry& next = FEntries[last + 1];
    const size_t gap = here.Break == lbCRLF ? 2 : here.Break == lbNone ? 0 : 1;
    if (gap == 0 || next.Owned || next.Data != end + gap)
      break;
    end = next.Data + next.Length;
    ++last;
  }
  return std::string_view(first.Data, size_t(end - first.Data));
}

size_t TtxEditList::OwnedBytes() const
{
  size_t total = 0;
  for (const auto& e : FEntries)
    if (e.Owned)
      total += e.Length;
  return total;
}
