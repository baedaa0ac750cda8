#pragma once
// A paint device whose engine only records what reaches it, as a printer's engine would get it:
// how many text items and in which colours, which lines with which pen, how many rectangles.
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <utility>
#include <vector>

class TRecordingEngine : public QPaintEngine {
public:
  TRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState& state) override
  {
    if (state.state() & DirtyPen)
      Pen = state.pen();
  }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawTextItem(const QPointF&, const QTextItem&) override
  {
    ++TextItems;
    TextColors.push_back(Pen.color());
  }
  void drawLines(const QLineF* lines, int n) override
  {
    for (int i = 0; i < n; ++i)
      Lines.push_back({lines[i], Pen});
  }
  void drawRects(const QRectF*, int n) override { Rects += n; }
  Type type() const override { return QPaintEngine::User; }

  int TextItems = 0;
  std::vector<QColor> TextColors; // the pen of each text item, in the order they came
  int Rects = 0;
  std::vector<std::pair<QLineF, QPen>> Lines;
  QPen Pen;
};

class TRecordingDevice : public QPaintDevice {
public:
  QPaintEngine* paintEngine() const override { return &Engine; }
  mutable TRecordingEngine Engine;

protected:
  int metric(PaintDeviceMetric m) const override
  {
    switch (m) {
    case PdmWidth: return 400;
    case PdmHeight: return 100;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return 1;
    }
  }
};
