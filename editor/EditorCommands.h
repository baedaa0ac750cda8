#pragma once
// Editor command numbers and their names. Everything the editor can do is one of these; the key
// table maps keys to them and the executor carries them out.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using TtxEditorCommand = uint16_t;

constexpr TtxEditorCommand ecNone = 0;
constexpr TtxEditorCommand ecLeft = 1;
constexpr TtxEditorCommand ecRight = 2;
constexpr TtxEditorCommand ecUp = 3;
constexpr TtxEditorCommand ecDown = 4;
constexpr TtxEditorCommand ecWordLeft = 5;
constexpr TtxEditorCommand ecWordRight = 6;
constexpr TtxEditorCommand ecLineStart = 7;
constexpr TtxEditorCommand ecLineEnd = 8;
constexpr TtxEditorCommand ecPageUp = 9;
constexpr TtxEditorCommand ecPageDown = 10;
constexpr TtxEditorCommand ecPageLeft = 11;
constexpr TtxEditorCommand ecPageRight = 12;
constexpr TtxEditorCommand ecPageTop = 13;
constexpr TtxEditorCommand ecPageBottom = 14;
constexpr TtxEditorCommand ecEditorTop = 15;
constexpr TtxEditorCommand ecEditorBottom = 16;
constexpr TtxEditorCommand ecGotoXY = 17;
// Every motion has a selecting twin 100 above it.
constexpr TtxEditorCommand ecSelection = 100;
constexpr TtxEditorCommand ecSelLeft = ecLeft + ecSelection;
constexpr TtxEditorCommand ecSelRight = ecRight + ecSelection;
constexpr TtxEditorCommand ecSelUp = ecUp + ecSelection;
constexpr TtxEditorCommand ecSelDown = ecDown + ecSelection;
constexpr TtxEditorCommand ecSelWordLeft = ecWordLeft + ecSelection;
constexpr TtxEditorCommand ecSelWordRight = ecWordRight + ecSelection;
constexpr TtxEditorCommand ecSelLineStart = ecLineStart + ecSelection;
constexpr TtxEditorCommand ecSelLineEnd = ecLineEnd + ecSelection;
constexpr TtxEditorCommand ecSelPageUp = ecPageUp + ecSelection;
constexpr TtxEditorCommand ecSelPageDown = ecPageDown + ecSelection;
constexpr TtxEditorCommand ecSelPageLeft = ecPageLeft + ecSelection;
constexpr TtxEditorCommand ecSelPageRight = ecPageRight + ecSelection;
constexpr TtxEditorCommand ecSelPageTop = ecPageTop + ecSelection;
constexpr TtxEditorCommand ecSelPageBottom = ecPageBottom + ecSelection;
constexpr TtxEditorCommand ecSelEditorTop = ecEditorTop + ecSelection;
constexpr TtxEditorCommand ecSelEditorBottom = ecEditorBottom + ecSelection;
constexpr TtxEditorCommand ecSelGotoXY = ecGotoXY + ecSelection;
constexpr TtxEditorCommand ecSelectAll = 199;
constexpr TtxEditorCommand ecDeleteLastChar = 401;
constexpr TtxEditorCommand ecDeleteChar = 402;
constexpr TtxEditorCommand ecDeleteWord = 403;
constexpr TtxEditorCommand ecDeleteLastWord = 404;
constexpr TtxEditorCommand ecDeleteBOL = 405;
constexpr TtxEditorCommand ecDeleteEOL = 406;
constexpr TtxEditorCommand ecDeleteLine = 407;
constexpr TtxEditorCommand ecClearAll = 408;
constexpr TtxEditorCommand ecLineBreak = 409;
constexpr TtxEditorCommand ecInsertLine = 410;
constexpr TtxEditorCommand ecChar = 411;
constexpr TtxEditorCommand ecImeStr = 500;
constexpr TtxEditorCommand ecUndo = 601;
constexpr TtxEditorCommand ecRedo = 602;
constexpr TtxEditorCommand ecCut = 603;
constexpr TtxEditorCommand ecCopy = 604;
constexpr TtxEditorCommand ecPaste = 605;
constexpr TtxEditorCommand ecScrollUp = 606;
constexpr TtxEditorCommand ecScrollDown = 607;
constexpr TtxEditorCommand ecScrollLeft = 608;
constexpr TtxEditorCommand ecScrollRight = 609;
constexpr TtxEditorCommand ecInsertMode = 610;
constexpr TtxEditorCommand ecOverwriteMode = 611;
constexpr TtxEditorCommand ecToggleMode = 612;
constexpr TtxEditorCommand ecBlockIndent = 613;
constexpr TtxEditorCommand ecBlockUnindent = 614;
constexpr TtxEditorCommand ecNormalSelect = 615;
constexpr TtxEditorCommand ecColumnSelect = 616;
constexpr TtxEditorCommand ecLineSelect = 617;
constexpr TtxEditorCommand ecGotoMarker0 = 701;
constexpr TtxEditorCommand ecGotoMarker9 = 710;
constexpr TtxEditorCommand ecSetMarker0 = 751;
constexpr TtxEditorCommand ecSetMarker9 = 760;
constexpr TtxEditorCommand ecUserFirst = 1001;

struct TEditorCommandIdent {
  TtxEditorCommand Value;
  const char* Name;
};

// The identifier table in its streaming order (86 entries).
const TEditorCommandIdent* EditorCommandIdents();
int EditorCommandIdentCount();

// The name of a command, or nothing when the value has none.
std::optional<std::string> CommandToIdent(TtxEditorCommand command);
std::optional<TtxEditorCommand> IdentToCommand(std::string_view name);
// The name, or the decimal number when the value has no name (how forms store a command).
std::string EditorCommandToString(TtxEditorCommand command);
