#pragma once
// The control the main window talks to: it shows a document that may be a frameset, follows
// links into the frames their targets name, keeps one history across all frames (each frame
// remembering its own documents and positions), and marks visited links in every frame.
#include "html/viewer/DocSource.h"
#include "html/viewer/FVBase.h"
#include "html/viewer/VisitedList.h"

#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <vector>

class TFrame;

class TFrameViewer : public TFVBase {
public:
  using THotSpotTargetEvent =
      std::function<void(QObject* Sender, const std::string& Target, const std::string& URL)>;
  using THotSpotTargetClickEvent = std::function<void(QObject* Sender, const std::string& Target,
                                                      const std::string& URL, bool& Handled)>;
  using TWindowRequestEvent = THotSpotTargetEvent;
  using TStringsRequestEvent = std::function<void(QObject* Sender, const std::string& SRC,
                                                  std::vector<std::string>*& Strings)>;
  using TStreamRequestEvent =
      std::function<void(QObject* Sender, const std::string& SRC, std::istream*& Stream)>;
  using TBufferRequestEvent = std::function<void(QObject* Sender, const std::string& SRC,
                                                 const char*& Buffer, int32_t& BuffSize)>;
  using TFileRequestEvent =
      std::function<void(QObject* Sender, const std::string& SRC, std::string& NewName)>;
  // Kept for the callers that name the history event by this type.
  using THistoryChangeEvent = THTMLViewer::TNotifyEvent;

  explicit TFrameViewer(QWidget* parent = nullptr);
  ~TFrameViewer() override;

  // Shows a file; the name may end in "#anchor". A missing file raises "Can't locate file: ".
  void LoadFromFile(const std::string& FileName);
  // LoadFromFile for image names; other names are ignored.
  void LoadImageFile(const std::string& FileName);
  void Reload();
  void StepBack();
  void StepForward();
  bool BackButtonEnabled() const;
  bool FwdButtonEnabled() const;
  void ClearHistory();
  std::string ResolveSourceName(const std::string& Name) const;

  int HistoryMaxCount() const { return FHistoryMaxCount; }
  void SetHistoryMaxCount(int value);
  int VisitedMaxCount() const { return FVisited.MaxCount(); }
  void SetVisitedMaxCount(int value);
  void SetfvOptions(TFrameViewerOptions value) override;

  // The document shown (full path without anchor) and its title.
  const std::string& DocumentName() const;
  const std::string& DocumentTitle() const;
  // Whether the document shown is a single picture; the text of a single-frame document.
  bool ShowsImage() const;
  QString DocumentText() const;
  const TVisitedList& Visited() const { return FVisited; }
  // The top-level history: index 0 is the newest entry.
  int HistoryIndex() const { return FHistoryIndex; }
  int HistoryCount() const { return int(FHistory.size()); }
  // Whether any document request event is set: documents then come from the host.
  bool RequestEvents() const;
  // In a document of several frames, a long frame document shows its start at once and the
  // rest of it from the event loop, so that the window shows every frame early. Off, every
  // frame is read whole before LoadFromFile returns.
  bool ProgressiveLoad = false;
  // Whether a frame still shows only the start of its document; LoadWaitingFrames reads every
  // such document whole now.
  bool FramesWaiting() const;
  void LoadWaitingFrames();

  THotSpotTargetEvent OnHotSpotTargetCovered;
  THotSpotTargetClickEvent OnHotSpotTargetClick;
  TWindowRequestEvent OnBlankWindowRequest;
  TStringsRequestEvent OnStringsRequest;
  TStreamRequestEvent OnStreamRequest;
  TBufferRequestEvent OnBufferRequest;
  TFileRequestEvent OnFileRequest;

  // Called by the frames and sets.
  void ConfigureViewer(THTMLViewer& viewer, TFrame& frame) override;
  void AddVisitedLink(const std::string& url);
  void CheckVisitedLinks();
  void HistoryChanged();
  // A refresh of a whole single-viewer document, or of the top set, to name.
  void RefreshTopLevel(const std::string& name);
  // Asks the request events for name in their order; false when none is set or none supplied
  // anything. A file request that names no other file keeps name.
  bool RequestDocument(const std::string& name, TDocSource& doc);
  // A frame moved to a new document in a single-viewer document: a top-level entry for the
  // document left.
  void BumpSingleViewer(const std::string& oldName, const std::string& oldTitle, int32_t oldPos);
  // A frame history entry was made: forward entries of all frames go.
  void TrimFrameHistories(TFrame* except);

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  // The full name a link of viewer is recorded under in the visited list.
  std::string VisitedName(THTMLViewer& viewer, const std::string& url) const;
  struct THistoryEntry {
    std::string Name;
    TFrameSet* Set = nullptr;
    std::string Title;
    int32_t Pos = 0;
  };

  void LoadFromFileInternal(const std::string& name);
  void SetHistoryIndex(int index);
  void BumpHistory(TFrameSet* left, int32_t leftPos);
  // Records the document shown now as the newest entry, left (if it has a set) taking the
  // place of the current entry.
  void RecordTopEntry(const THistoryEntry& left);
  bool Referenced(const TFrameSet* set) const;
  void FreeUnreferenced(TFrameSet* set);
  static void Discard(QWidget* set);
  void HotSpotClick(THTMLViewer* viewer, const std::string& url);
  void HotSpotCovered(THTMLViewer* viewer, const std::string& url);
  TFrame* FrameOf(QObject* viewer) const;
  std::string TargetFor(THTMLViewer* viewer, const std::string& linkTarget) const;
  void ShowSet(TFrameSet* set);
  TFrameSet* NewSet();
  int32_t SingleViewerPosition(TFrameSet* set) const;

  std::vector<THistoryEntry> FHistory;
  int FHistoryIndex = 0;
  int FHistoryMaxCount = 0;
  TVisitedList FVisited;
  std::string FURL;
  std::string FTarget;
};

// The main window's viewer settings (colours, fonts, cursor, options, history size).
void ConfigureMainViewer(TFrameViewer& viewer);

namespace viewerutil {
// Splits "file#anchor" at the first number sign.
void SplitAnchor(const std::string& name, std::string& file, std::string& anchor);
// Whether the extension names an image the viewer shows (ignoring case).
bool IsImageName(const std::string& name);
bool IsTextName(const std::string& name);
} // namespace viewerutil
