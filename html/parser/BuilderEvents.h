#pragma once
// What a parse hands back to its host while it runs: the event types of the document builder
// and the list of anchor names it fills.
#include "html/parser/Tokenizer.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QObject;
class TSectionBase;

// A background sound starts (Terminate false), or every sound must stop (SRC empty, Loop 0,
// Terminate true).
using TSoundType =
    std::function<void(QObject* Sender, const std::string& SRC, int Loop, bool Terminate)>;
// A META element was read.
using TMetaType = std::function<void(QObject* Sender, const std::string& HttpEq,
                                     const std::string& Name, const std::string& Content)>;
// A SCRIPT element was read; Script is its body with CR LF line ends.
using TScriptEvent =
    std::function<void(QObject* Sender, const std::string& Language, const std::string& Script)>;

// Upper-cased anchor names (without a leading '#') with the block each one stands in, in
// document order; a name given twice keeps both entries and the first one is used.
using TAnchorList = std::vector<std::pair<std::string, TSectionBase*>>;

// The handlers one parse calls, and the object passed to them as Sender.
struct TParseEvents {
  QObject* Sender = nullptr;
  TMetaType OnMeta;
  TSoundType OnSoundRequest;
  TIncludeType OnInclude;
};

// Where a document comes from: a file read whole, a caller's buffer (kept alive by the caller),
// the joined lines of a string list, or a stream copied into memory.
struct TParseSource {
  TSourceKind Kind = skBuffer;
  std::string FileName;
  const char* Buffer = nullptr;
  int64_t Size = 0;
  const std::vector<std::string>* Strings = nullptr;
  std::istream* Stream = nullptr;

  static TParseSource File(const std::string& name)
  {
    TParseSource s;
    s.Kind = skFile;
    s.FileName = name;
    return s;
  }
  static TParseSource FromBuffer(const char* buffer, int64_t size)
  {
    TParseSource s;
    s.Kind = skBuffer;
    s.Buffer = buffer;
    s.Size = size;
    return s;
  }
  // The text stays the caller's and must outlive the parse.
  static TParseSource FromString(const std::string& text)
  {
    return FromBuffer(text.data(), int64_t(text.size()));
  }
  static TParseSource FromStrings(const std::vector<std::string>& lines)
  {
    TParseSource s;
    s.Kind = skStrings;
    s.Strings = &lines;
    return s;
  }
  static TParseSource FromStream(std::istream& stream)
  {
    TParseSource s;
    s.Kind = skStream;
    s.Stream = &stream;
    return s;
  }
};
