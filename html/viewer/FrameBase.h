#pragma once
// The panels a frame viewer shows a document in: TFrame for a FRAME, TSubFrameSet for a
// FRAMESET, TFrameSet for the whole document. TFrameBase is what they share: the master set,
// an optional lowered bevel, the content operations and the mouse handling that lets the user
// drag the borders between frames.
#include <QFrame>
#include <cstdint>

class TFrameSet;
class TSubFrameSet;

class TFrameBase : public QFrame {
public:
  TFrameBase(QWidget* parent, TFrameSet* master);

  TFrameSet* MasterSet;

  // Content: load, reload at a position (-1: the one remembered at unloading), unload.
  virtual void LoadFiles() = 0;
  virtual void ReloadFiles(int32_t position) = 0;
  virtual void UnloadFiles() = 0;
  // Adds the frames below this panel to the master set's frame list and names.
  virtual void UpdateFrameList() = 0;
  // Borders next to a NORESIZE frame cannot be dragged.
  virtual void FindLockedBorders() {}

  // A lowered frame of width pixels round the content; 0 for none.
  void SetBevel(int width);
  int Bevel() const { return FBevel; }
  // The set this panel is a child of; none for the top set.
  TSubFrameSet* ParentSet() const;
  // The panel holds one of the master set's frame slots until it is destroyed or released.
  bool HoldsSlot = false;
  ~TFrameBase() override;

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  int FBevel = 0;
};
