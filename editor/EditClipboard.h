#pragma once
// The clipboard as the editor sees it: plain text for other programs and a private block that
// keeps the selection mode, so column and line blocks survive a copy and paste inside the
// program. The widget supplies an implementation on the system clipboard; the engine and its
// tests use the in-memory one.
#include "base/Exceptions.h"
#include "editor/EditTypes.h"

#include <optional>
#include <string>
#include <string_view>

// The registered name of the private format.
inline constexpr const char* ClipBlockFormatName = "txEdit Control Block Type";

class EtxEditError : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

// The private block: one byte of selection mode (its top bit set for UTF-8 text), then the
// text, then a terminating zero.
std::string EncodeClipBlock(TSelectionMode mode, std::string_view text, bool utf8 = false);
// False when the block is too short or names no known mode. The text ends at the first zero.
bool DecodeClipBlock(std::string_view block, TSelectionMode& mode, std::string& text,
                     bool* utf8 = nullptr);

class TtxEditClipboard {
public:
  virtual ~TtxEditClipboard() = default;
  // Empties the clipboard and puts both formats on it; false when that fails.
  virtual bool SetTexts(const std::string& plainText, const std::string& block) = 0;
  virtual std::optional<std::string> PlainText() const = 0;
  virtual std::optional<std::string> Block() const = 0;
  // The encoding of the editor's bytes (UTF-8 or Latin-1), set by the editor before each
  // exchange, so that other programs get the right characters.
  bool Utf8 = false;
};

class TtxMemoryClipboard : public TtxEditClipboard {
public:
  bool SetTexts(const std::string& plainText, const std::string& block) override;
  std::optional<std::string> PlainText() const override { return FPlain; }
  std::optional<std::string> Block() const override { return FBlock; }
  // What another program would leave: plain text only.
  void SetPlainTextOnly(const std::string& text);

private:
  std::optional<std::string> FPlain;
  std::optional<std::string> FBlock;
};

// The program's clipboard (platform/Clipboard.h): plain text as Unicode for other programs, the
// block under a private MIME type beside it. What the editor window exchanges through.
class TtxSystemClipboard : public TtxEditClipboard {
public:
  static const char* const BlockMimeType;
  bool SetTexts(const std::string& plainText, const std::string& block) override;
  std::optional<std::string> PlainText() const override;
  std::optional<std::string> Block() const override;
};
