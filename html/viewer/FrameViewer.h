#pragma once
// The frame viewer as the main window sees it. For now it hosts a single THTMLViewer set up
// with the main window's viewer settings: real pages, links, Back and Forward, copying. Frame
// sets come later; this interface stays.
#include "base/Exceptions.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QPrinter;
class THTMLViewer;

// Raised by CopySelected when the selection does not fit the clipboard buffer.
class EBufferTooSmall : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

// The viewer settings of the main window (colours, fonts, cursor, options, history size).
void ConfigureMainViewer(THTMLViewer& viewer);

class TFrameViewer : public QWidget {
public:
  using THistoryChangeEvent = std::function<void(QObject* sender)>;
  using THotSpotTargetEvent =
      std::function<void(QObject* sender, const std::string& target, const std::string& url)>;

  explicit TFrameViewer(QWidget* parent = nullptr);
  ~TFrameViewer() override;

  // Shows a file; the name may end in "#anchor". A missing file raises EViewerError. Text
  // files (".txt") are shown as plain pre-formatted text, images as a page of their own.
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

  int HistoryMaxCount() const;
  // Negative values are ignored; any change empties the history.
  void SetHistoryMaxCount(int value);
  // The file shown, without anchor; empty before the first load.
  const std::string& DocumentName() const;
  // The printer Print uses; callers may configure it (output file, printer name) first.
  QPrinter& Printer();

  // What is on screen, for the window's own checks and the tests.
  bool ShowsImage() const;
  QString DocumentText() const;
  THTMLViewer& Viewer() const { return *FViewer; }

  THistoryChangeEvent OnHistoryChange;
  THotSpotTargetEvent OnHotSpotTargetCovered;

private:
  THTMLViewer* FViewer = nullptr;
  std::unique_ptr<QPrinter> FPrinter;
};

namespace viewerutil {
// Splits "file#anchor" at the first number sign.
void SplitAnchor(const std::string& name, std::string& file, std::string& anchor);
// Whether the extension names an image the viewer shows (ignoring case).
bool IsImageName(const std::string& name);
} // namespace viewerutil
