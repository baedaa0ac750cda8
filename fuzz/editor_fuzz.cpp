// Random command sequences on random text. The input is split at the first zero byte: the
// text before it is loaded into the editor, the bytes after it are read as commands with their
// arguments. After the run, undoing everything must give back the loaded lines exactly, and
// redoing everything the edited ones; saving unchanged text must give back the loaded bytes.
#include "base/Utf8.h"
#include "editor/CustomEdit.h"
#include "editor/EditChars.h"
#include "editor/HTMLHighlighter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

#define Check(ok)                                                                                  \
  do {                                                                                             \
    if (!(ok)) {                                                                                   \
      std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #ok);                        \
      std::abort();                                                                                \
    }                                                                                              \
  } while (0)

const TtxEditorCommand Commands[] = {
    ecLeft,
    ecRight,
    ecUp,
    ecDown,
    ecWordLeft,
    ecWordRight,
    ecLineStart,
    ecLineEnd,
    ecPageUp,
    ecPageDown,
    ecPageLeft,
    ecPageRight,
    ecPageTop,
    ecPageBottom,
    ecEditorTop,
    ecEditorBottom,
    ecGotoXY,
    ecSelLeft,
    ecSelRight,
    ecSelUp,
    ecSelDown,
    ecSelWordLeft,
    ecSelWordRight,
    ecSelLineStart,
    ecSelLineEnd,
    ecSelPageUp,
    ecSelPageDown,
    ecSelEditorTop,
    ecSelEditorBottom,
    ecSelGotoXY,
    ecSelectAll,
    ecDeleteLastChar,
    ecDeleteChar,
    ecDeleteWord,
    ecDeleteLastWord,
    ecDeleteBOL,
    ecDeleteEOL,
    ecDeleteLine,
    ecClearAll,
    ecLineBreak,
    ecInsertLine,
    ecChar,
    ecImeStr,
    ecUndo,
    ecRedo,
    ecCut,
    ecCopy,
    ecPaste,
    ecScrollUp,
    ecScrollDown,
    ecScrollLeft,
    ecScrollRight,
    ecToggleMode,
    ecBlockIndent,
    ecBlockUnindent,
    ecNormalSelect,
    ecColumnSelect,
    ecLineSelect,
    ecGotoMarker0,
    ecSetMarker0,
};

std::vector<std::string> Lines(const TtxCustomEdit& editor)
{
  std::vector<std::string> lines;
  for (int y = 1; y <= editor.LineCount(); ++y)
    lines.emplace_back(editor.LineText(y));
  return lines;
}

struct TReader {
  const uint8_t* P;
  const uint8_t* End;
  bool More() const { return P < End; }
  uint8_t Byte() { return P < End ? *P++ : 0; }
};

// Commands that search and replace, driven by the same bytes.
void RunSearch(TtxCustomEdit& editor, TReader& in)
{
  std::string pattern(1, char(in.Byte() % 4 + 'a'));
  if (in.Byte() & 1)
    pattern += char(in.Byte() % 4 + 'a');
  std::string replace(in.Byte() % 3, 'b');
  if (in.Byte() % 5 == 0)
    replace += "\r\n";
  TSearchOptions options = TSearchOptions(in.Byte() & 0x7F);
  editor.SearchAndReplace(pattern, replace, options);
}

// In a UTF-8 text the caret and the selection's ends stand at the start of a character.
void CheckWholeCharacters(const TtxCustomEdit& editor)
{
  if (!editor.Utf8())
    return;
  for (TPoint p : {editor.CaretXY(), editor.SelAnchor(), editor.SelEnd()})
    Check(editchars::Snap(editor.LineText(p.Y), p.X, true) == p.X);
}

void RunOne(TtxCustomEdit& editor, TReader& in)
{
  const uint8_t op = in.Byte();
  if (op >= 250) {
    RunSearch(editor, in);
    return;
  }
  if (op >= 240 && op < 245) {
    TPoint at{int(in.Byte() % 40) + 1, int(in.Byte() % 12) + 1};
    editor.DropSelection(at, op & 1);
    return;
  }
  if (op >= 245) {
    editor.InsertMode = op & 1;
    editor.ScrollPastEOL = op & 2;
    editor.Autoindent = op & 4;
    return;
  }
  TtxEditorCommand command = Commands[op % std::size(Commands)];
  if (command == ecImeStr && (op & 0x80)) {
    // Characters beyond ASCII, as a UTF-8 text gets them from the input method.
    std::string text;
    for (int n = in.Byte() % 3; n >= 0; --n)
      utf8::Append(text, char32_t(0xA0 + in.Byte() * 97));
    editor.RunCommand(ecImeStr, '\0', &text);
    return;
  }
  if (command == ecGotoMarker0 || command == ecSetMarker0)
    command = TtxEditorCommand(command + in.Byte() % 10);
  TPoint p{int(in.Byte() % 40) + 1, int(in.Byte() % 12) + 1};
  std::string ime(size_t(in.Byte() % 4), char(in.Byte()));
  const void* data = command == ecImeStr ? static_cast<const void*>(&ime) : &p;
  editor.RunCommand(command, char(in.Byte()), data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const uint8_t* end = data + size;
  std::string text(reinterpret_cast<const char*>(data), zero ? size_t(zero - data) : size);
  TtxHTMLHighlighter highlighter;
  TtxCustomEdit editor;
  editor.SetHighLighter(&highlighter);
  editor.SetVisibleCells(30, 8);
  editor.SetText(text);
  Check(editor.Lines().Text() == text);
  const auto original = Lines(editor);
  editor.SetMaxUndo(100000);
  TReader in{zero ? zero + 1 : end, end};
  for (int steps = 0; in.More() && steps < 400; ++steps) {
    RunOne(editor, in);
    CheckWholeCharacters(editor);
  }
  Check(editor.LineCount() >= 1);
  while (editor.CanRedo())
    editor.Redo();
  const auto edited = Lines(editor);
  while (editor.CanUndo())
    editor.Undo();
  Check(Lines(editor) == original);
  while (editor.CanRedo())
    editor.Redo();
  Check(Lines(editor) == edited);
  // The stored ranges are what a scan from the top gives.
  int range = RangeText;
  for (int i = 0; i < editor.LineCount(); ++i) {
    Check(editor.Lines().Objects(i) == range);
    range = highlighter.RangeAfterLine(range, editor.Lines().Strings(i), i);
  }
  return 0;
}
