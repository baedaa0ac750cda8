#pragma once
// The top set of one document: what the frame viewer shows. A plain document is a set of one
// frame. It keeps the lists every frame of the document is reached through.
#include "html/viewer/DocSource.h"
#include "html/viewer/SubFrameSet.h"

#include <QPointer>
#include <QTimer>

#include <map>
#include <string>
#include <vector>

class TFrameViewer;
class THTMLViewer;

class TFrameSet : public TSubFrameSet {
public:
  TFrameSet(TFrameViewer* owner, QWidget* parent);
  ~TFrameSet() override;

  TFrameViewer* FrameViewer;
  std::string DocumentName;
  std::string PageTitle;
  std::map<std::string, TFrame*> NamedFrames; // upper-cased names
  std::vector<THTMLViewer*> OpenViewers;
  std::vector<TFrame*> FrameList;
  THTMLViewer* LastViewer = nullptr;
  TSubFrameSet* DragSet = nullptr;
  // Frame content loads in progress; frames met at MaxLoadDepth stay empty.
  int LoadDepth = 0;
  static constexpr int MaxLoadDepth = 4;

  // Reads name (a full path, may end in "#anchor") into the set: a frameset's frames, or a
  // plain document, text file or image in one frame. Errors pass on.
  void LoadFromFile(const std::string& name);
  void Clear();
  // The frame list and the names rebuilt from the tree.
  void RebuildFrameList();
  // A viewer of the set went away.
  void ViewerGone(THTMLViewer* viewer);
  // Reads the frameset document name into set: its FRAMESET, title, base and refresh META.
  void ReadInto(TSubFrameSet& set, const TDocSource& doc);
  // A frame or nested set may be added; false once the document has MaxFrames of them, so a
  // set that includes itself many times over cannot fill the memory.
  bool TakeFrameSlot();
  // Gives back the slots of panel and everything inside it.
  void ReleaseFrameSlot(TFrameBase& panel);
  static constexpr int MaxFrames = 256;
  // Title, base target and name of a single-viewer document follow its viewer.
  void CopyFromViewer(const THTMLViewer& viewer);

  // In a set of several frames, long documents show their starts first and the rest follows
  // from the event loop, a frame at a time, when the frame viewer asks for it (ProgressiveLoad).
  bool ShowsStartsFirst() const;
  // frame shows its document's start; its whole document follows later.
  void WaitToLoad(TFrame* frame);
  // Shows every waiting frame's whole document now (a frame whose viewer is busy follows later).
  void LoadWaiting();
  bool Waiting() const;

private:
  // Loads the first waiting frame that can load now; frames whose viewers are busy go to busy.
  bool LoadFirstWaiting(std::vector<QPointer<TFrame>>& busy);
  void LoadNextWaiting();
  static constexpr int BusyRetryMs = 50;

  int FFrameCount = 0;
  std::vector<QPointer<TFrame>> FWaiting;
  QTimer FWaitTimer;
};
