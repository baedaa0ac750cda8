#pragma once
// The clipboard as the program uses it: plain text, and a private format beside it for the
// editor's blocks. The system clipboard unless a test puts its own in place.
#include <QByteArray>
#include <QString>
#include <memory>

class TClipboard {
public:
  virtual ~TClipboard() = default;
  virtual QString Text() const = 0;
  virtual void SetText(const QString& text) = 0;
  // Text together with data of a private MIME type; Data answers the data of that type only
  // while the clipboard still holds what was put there.
  virtual void SetTextAndData(const QString& text, const QString& mimeType,
                              const QByteArray& data) = 0;
  virtual QByteArray Data(const QString& mimeType) const = 0;
};

// The clipboard in use by the whole process.
TClipboard& Clipboard();
// Replaces the clipboard in use and returns the previous one (nullptr restores the system's).
std::unique_ptr<TClipboard> SetClipboard(std::unique_ptr<TClipboard> clipboard);
