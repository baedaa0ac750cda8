#pragma once
// One FRAME: it shows a THTMLViewer or, when its document is itself a frameset, a nested
// TSubFrameSet, and keeps its own history of the documents shown in it.
#include "html/viewer/DocSource.h"
#include "html/viewer/FrameBase.h"

#include <QTimer>
#include <cstdint>
#include <string>
#include <vector>

class TAttributeList;
class THTMLViewer;
class TSubFrameSet;

namespace frameviewer {
// One frame history entry's position: where the reader was and when the entry was made. (The
// single viewer's history entry of the same name keeps a document kind instead.)
struct PositionObj {
  int32_t Pos = 0;
  int32_t Seq = 0;
};
} // namespace frameviewer

// The sequence number of the next history entry of any frame of the process.
int32_t NextHistorySeq();

class TFrame : public TFrameBase {
public:
  // A frame of set made from a FRAME's attributes; directory resolves relative sources.
  TFrame(TSubFrameSet* set, TFrameSet* master, const TAttributeList* attributes,
         const std::string& directory);
  ~TFrame() override;

  std::string Source;      // full name of the document
  std::string Destination; // "#anchor" or empty
  std::string FrameName;
  bool NoScroll = false;
  bool NoResize = false;
  std::string Scrolling; // the SCROLLING value when it is yes, no or auto
  int FrameMarginWidth = 10;
  int FrameMarginHeight = 5;
  int CharSet = 0; // its set's

  THTMLViewer* Viewer() const { return FViewer; }
  TSubFrameSet* FrameSet() const { return FFrameSet; }
  bool Unloaded() const { return FUnloaded; }
  // Whether the frame shows only the start of its document and waits for the rest.
  bool WaitsForRest() const { return FWaitsForRest; }
  // Shows the whole document of a frame that waits for it.
  void LoadRest();

  void LoadFiles() override;
  void ReloadFiles(int32_t position) override;
  void UnloadFiles() override;
  void UpdateFrameList() override;

  // Navigation inside this frame: a new document or anchor, reloaded or not, recorded in the
  // history or not.
  void frLoadFromFile(const std::string& source, const std::string& destination, bool reload,
                      bool history);
  // Steps the frame's history to entry j.
  void frSetHistoryIndex(int j);
  // A refresh META of the frame's document asked for url after delay seconds.
  void RefreshRequest(int delay, const std::string& url);

  // The frame's history: names, the nested set each entry showed (or none), positions; index 0
  // is the newest entry.
  std::vector<std::string> FrameHistory;
  std::vector<TSubFrameSet*> FrameHistorySets;
  std::vector<frameviewer::PositionObj> FrameHistoryPos;
  int FrameHistoryIndex = 0;

  // Records that the frame now shows newName at newPos, having left a document at oldPos.
  void frBumpHistory(const std::string& newName, int32_t newPos, int32_t oldPos);
  // The first entry, made when the frame's content is first loaded.
  void AddFirstEntry(int32_t position);
  // Drops the entries newer than the current one; their nested sets go to dropped.
  void TrimForward(std::vector<TSubFrameSet*>& dropped);
  // Keeps only the current entry.
  void ClearHistory();
  // Whether the frame shows set or an entry of its history does.
  bool Refers(const TSubFrameSet* set) const;
  // The SRC read from the FRAME as a full name (or as written when documents come from the
  // host), relative to base or else directory.
  void ResolveSource(const std::string& base, const std::string& directory);

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  void CreateViewer();
  void DropViewer();
  void LoadViewer(const std::string& name, const std::string& destination);
  void LoadNestedSet(const std::string& name);
  bool LoadStart();
  bool IsFrameSetFile(const std::string& name) const;
  // Whether documents come from the host, and the document for name.
  bool FromHost() const;
  TDocSource Fetch(const std::string& name) const;
  void ShowError(const std::string& name);
  void DetachNestedSet();
  void PlaceNestedSet();
  void RefreshTimer();

  THTMLViewer* FViewer = nullptr;
  TSubFrameSet* FFrameSet = nullptr;
  bool FUnloaded = false;
  bool FWaitsForRest = false;
  int32_t FViewerPosition = 0;
  QTimer FRefreshTimer;
  std::string FRefreshURL;
  std::string FRawSource;
};
