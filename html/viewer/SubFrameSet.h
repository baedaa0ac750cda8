#pragma once
// A FRAMESET: its children (frames and nested sets) in rows or columns, the ROWS/COLS sizes,
// the borders between the children and their dragging, and its own refresh request.
#include "html/parser/FrameSetReader.h"
#include "html/viewer/FrameBase.h"

#include <QTimer>
#include <cstdint>
#include <string>
#include <vector>

class QWidget;
class TFrame;

class TSubFrameSet : public TFrameBase, public TFrameSetReader {
public:
  // A set inside parent (a set or a frame); ownerFrame is the frame it fills, if any.
  TSubFrameSet(QWidget* parent, TFrameSet* master, TFrame* ownerFrame);
  ~TSubFrameSet() override;

  std::vector<TFrameBase*> List; // children in order, owned through Qt
  bool Rows = false;
  std::vector<int32_t> Dim;   // raw ROWS/COLS entries
  std::vector<int32_t> Sizes; // computed sizes
  int32_t Total = 0;
  std::vector<int32_t> Ends; // border positions after each child
  std::vector<bool> Locked;  // per inner border
  int BorderWidth = 2;
  int InnerGap = 0;
  std::string Base;
  std::string BaseTarget;
  std::string Directory;           // of the document the set was read from
  std::string Title;               // TITLE of the frameset document the set was read from
  bool IsFrameSetDocument = false; // read from a FRAMESET (not a plain document's one frame)
  TFrame* OwnerFrame;
  int CharSet = 0; // the character set its frames show their documents in
  int RefreshDelay = 0;
  std::string RefreshURL;
  bool Unloaded = false;

  // Reading the FRAMESET.
  void InitFromAttributes(const TAttributeList& attributes) override;
  TFrameSetReader* AddFrameSet() override;
  void AddFrame(const TAttributeList& attributes) override;
  void Complete() override;

  void LoadFiles() override;
  void ReloadFiles(int32_t position) override;
  void UnloadFiles() override;
  void UpdateFrameList() override;
  void FindLockedBorders() override;

  // Sizes for the current client size, then the children placed.
  void CalcSizes();
  void PlaceChildren();
  // Places the children again for the set's size.
  void Resized();
  // Starts the refresh timer when the set's document asked for one.
  void StartRefresh();
  // Frame sources read relative to base (the document's BASE HREF) or the set's directory.
  void ResolveSources(const std::string& base);
  // The set and everything read from the same document take charSet.
  void PassCharSet(int charSet);
  // Whether the user moved a border since the sizes were computed.
  bool Dragged() const { return FDragged; }

  // Border dragging, in this set's coordinates. False when the point is not this set's to
  // handle (near its own outer edge: the enclosing set's).
  bool FVMouseMove(QPoint p, Qt::MouseButtons buttons);
  bool FVMouseDown(QPoint p);
  bool FVMouseUp(QPoint p);
  // Index of the inner border near p (after child i), or -1.
  int BorderAt(QPoint p) const;

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  int32_t Extent() const;
  int32_t Coordinate(QPoint p) const;
  void DrawDragLine(int32_t at);
  void RefreshFired();

  bool FDragged = false;
  int FDragBorder = -1;
  int32_t FDragMin = 0, FDragMax = 0;
  QWidget* FDragLine = nullptr;
  QTimer FRefreshTimer;
};
