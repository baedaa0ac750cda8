#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

// Without an application object (some command-line modes) there is no clipboard: writes are
// dropped and reads give nothing.
QClipboard* System()
{
  return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

class TSystemClipboard : public TClipboard {
public:
  QString Text() const override
  {
    QClipboard* cb = System();
    return cb ? cb->text() : QString();
  }
  void SetText(const QString& text) override
  {
    if (QClipboard* cb = System())
      cb->setText(text);
  }
  void SetTextAndData(const QString& text, const QString& mimeType, const QByteArray& data) override
  {
    QClipboard* cb = System();
    if (!cb)
      return;
    auto mime = std::make_unique<QMimeData>();
    mime->setText(text);
    mime->setData(mimeType, data);
    cb->setMimeData(mime.release()); // the clipboard takes it
  }
  QByteArray Data(const QString& mimeType) const override
  {
    QClipboard* cb = System();
    const QMimeData* mime = cb ? cb->mimeData() : nullptr;
    return mime && mime->hasFormat(mimeType) ? mime->data(mimeType) : QByteArray();
  }
};

std::unique_ptr<TClipboard>& Current()
{
  static std::unique_ptr<TClipboard> current;
  return current;
}

} // namespace

TClipboard& Clipboard()
{
  auto& current = Current();
  if (!current)
    current = std::make_unique<TSystemClipboard>();
  return *current;
}

std::unique_ptr<TClipboard> SetClipboard(std::unique_ptr<TClipboard> clipboard)
{
  std::swap(Current(), clipboard);
  return clipboard;
}
