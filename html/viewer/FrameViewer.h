#pragma once
// The interim frame viewer. It offers the operations and events the main window relies on and
// shows documents as plain text (HTML source included) or as a single image, with a simple
// top-level history, so the program runs end to end. The HTML viewer with framesets replaces
// its inside later; this interface stays.
#include "base/Exceptions.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPrinter;
class QScrollArea;
class QStackedWidget;

// Raised by CopySelected when the selection does not fit the clipboard buffer.
class EBufferTooSmall : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

class TFrameViewer : public QWidget {
public:
  using THistoryChangeEvent = std::function<void(QObject* sender)>;
  using THotSpotTargetEvent =
      std::function<void(QObject* sender, const std::string& target, const std::string& url)>;

  explicit TFrameViewer(QWidget* parent = nullptr);
  ~TFrameViewer() override;

  // Shows a file; the name may end in "#anchor". A missing file raises EViewerError.
  void LoadFromFile(const std::string& fileName);
  // Shows an image file; names that are not images are ignored.
  void LoadImageFile(const std::string& fileName);
  void Reload();
  void StepBack();
  void StepForward();
  bool BackButtonEnabled() const;
  bool FwdButtonEnabled() const;
  // Prints the given page range of the shown document; nothing without a document.
  void Print(int fromPage, int toPage);
  void CopySelected();
  // A name found in a page as a full path, relative names taken from the current document.
  std::string ResolveSourceName(const std::string& name) const;

  int HistoryMaxCount() const { return FHistoryMaxCount; }
  // Negative values are ignored; any change empties the history.
  void SetHistoryMaxCount(int value);
  // The file shown, without anchor; empty before the first load.
  const std::string& DocumentName() const { return FDocumentName; }
  // The printer Print uses; callers may configure it (output file, printer name) first.
  QPrinter& Printer();

  // What is on screen, for the window's own checks and the tests.
  bool ShowsImage() const;
  QString DocumentText() const;

  THistoryChangeEvent OnHistoryChange;
  THotSpotTargetEvent OnHotSpotTargetCovered;

private:
  struct THistoryEntry {
    std::string Name;
    int Position = 0;
  };

  void Show(const std::string& file, const std::string& anchor);
  void ShowText(const std::string& file, const std::string& anchor);
  void ShowImage(const std::string& file);
  int Position() const;
  void SetPosition(int position);
  void RememberPosition();
  void AddHistory(const std::string& name);
  void GoToHistory(int index);
  void HistoryChanged();
  void PrintImage(QPrinter& printer);

  QStackedWidget* FPages = nullptr;
  QPlainTextEdit* FText = nullptr;
  QScrollArea* FImageArea = nullptr;
  QLabel* FImage = nullptr;
  std::unique_ptr<QPrinter> FPrinter;
  std::string FDocumentName;
  std::vector<THistoryEntry> FHistory; // newest first
  int FHistoryIndex = 0;
  int FHistoryMaxCount = 0;
};

namespace viewerutil {
// Splits "file#anchor" at the first number sign.
void SplitAnchor(const std::string& name, std::string& file, std::string& anchor);
// Whether the extension names an image the viewer shows (ignoring case).
bool IsImageName(const std::string& name);
} // namespace viewerutil
