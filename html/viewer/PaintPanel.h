#pragma once
// The surface a viewer paints its document on. It owns nothing of the document: paint and
// mouse events go straight back to the viewer.
#include "base/Exceptions.h"

#include <QWidget>
#include <cstdint>

class THTMLViewer;

// The panel could not be painted on.
class EOutOfResources : public ELumoraError {
public:
  using ELumoraError::ELumoraError;
};

class TPaintPanel : public QWidget {
public:
  TPaintPanel(THTMLViewer* viewer, QWidget* parent);

  THTMLViewer* Viewer() const { return FViewer; }
  // Pixel rows painted since the counter was last reset (every paint adds its clip height).
  int64_t PaintedRows = 0;
  int PaintCount = 0;

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  THTMLViewer* FViewer;
};
