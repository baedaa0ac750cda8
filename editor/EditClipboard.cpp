#include "editor/EditClipboard.h"

#include "platform/Clipboard.h"

namespace {

constexpr uint8_t Utf8Flag = 0x80;

} // namespace

std::string EncodeClipBlock(TSelectionMode mode, std::string_view text, bool utf8)
{
  std::string block;
  block.reserve(text.size() + 2);
  block.push_back(char(uint8_t(mode) | (utf8 ? Utf8Flag : 0)));
  block.append(text);
  block.push_back('\0');
  return block;
}

bool DecodeClipBlock(std::string_view block, TSelectionMode& mode, std::string& text, bool* utf8)
{
  if (block.empty() || (uint8_t(block[0]) & ~Utf8Flag) > smLine)
    return false;
  mode = TSelectionMode(uint8_t(block[0]) & ~Utf8Flag);
  if (utf8)
    *utf8 = uint8_t(block[0]) & Utf8Flag;
  std::string_view rest = block.substr(1);
  text.assign(rest.substr(0, rest.find('\0')));
  return true;
}

bool TtxMemoryClipboard::SetTexts(const std::string& plainText, const std::string& block)
{
  FPlain = plainText;
  FBlock = block;
  return true;
}

void TtxMemoryClipboard::SetPlainTextOnly(const std::string& text)
{
  FPlain = text;
  FBlock.reset();
}

const char* const TtxSystemClipboard::BlockMimeType = "application/x-lumora-txedit-block";

bool TtxSystemClipboard::SetTexts(const std::string& plainText, const std::string& block)
{
  const qsizetype size = qsizetype(plainText.size());
  Clipboard().SetTextAndData(Utf8 ? QString::fromUtf8(plainText.data(), size)
                                  : QString::fromLatin1(plainText.data(), size),
                             BlockMimeType, QByteArray(block.data(), qsizetype(block.size())));
  return true;
}

std::optional<std::string> TtxSystemClipboard::PlainText() const
{
  const QString text = Clipboard().Text();
  if (text.isEmpty())
    return std::nullopt;
  // Characters beyond Latin-1 have no byte in a single-byte text.
  return (Utf8 ? text.toUtf8() : text.toLatin1()).toStdString();
}

std::optional<std::string> TtxSystemClipboard::Block() const
{
  const QByteArray data = Clipboard().Data(BlockMimeType);
  if (data.isEmpty())
    return std::nullopt;
  return data.toStdString();
}
