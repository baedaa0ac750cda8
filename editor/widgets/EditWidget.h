#pragma once
// The source editor in a window: the engine's text, caret and commands (TtxCustomEdit) shown
// in fixed character cells with the highlighter's colours, a gutter with line numbers and
// bookmark glyphs, the selection in its three modes, the right edge and the caret; keys,
// mouse selection, drag and drop of text inside the control and input-method text.
#include "editor/CustomEdit.h"
#include "editor/widgets/PaintOptions.h"
#include "editor/widgets/TextDrawer.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QRegion>
#include <QTimer>
#include <functional>
#include <vector>

class QLabel;
class QMimeData;

enum TCaretType : uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

class TtxEditWidget : public QAbstractScrollArea, public TtxCustomEdit {
  Q_OBJECT
public:
  explicit TtxEditWidget(QWidget* parent = nullptr);
  ~TtxEditWidget() override;

  // --- appearance
  void SetEditorFont(const QFont& font);
  const QFont& EditorFont() const { return FDrawer.Stock().BaseFont(); }
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor value);
  int ExtraLineSpacing() const { return FExtraLineSpacing; }
  void SetExtraLineSpacing(int value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  TtxGutter Gutter;
  TtxSelectedColor SelectedColor;
  TCaretType InsertCaret = ctVerticalLine;
  TCaretType OverwriteCaret = ctBlock;
  bool HideSelection = false;
  bool ShowScrollHint = true;
  int TabWidth = 8;
  // Images of the marks whose glyph is not the built-in one (ImageIndex picks one).
  std::vector<QImage> BookmarkImages;

  // --- geometry, in viewport pixels
  int GutterPixels() const { return FGutterPixels; }
  int CellWidth() const { return FCellWidth; }
  int LinePitch() const { return FLinePitch; }
  int TextLeft() const { return FGutterPixels - (LeftChar() - 1) * FCellWidth + 2; }
  // The text position under a pixel; the right half of a cell gives the position after it.
  TPoint PixelsToPosition(int x, int y) const;
  // The top left corner of a position's cell.
  QPoint PositionToPixels(TPoint p) const;
  // Where the caret is drawn.
  QRect CaretRect() const;

  // --- repainting (1-based lines, -1 and -1 for all)
  void RepaintLines(int first, int last);
  void RepaintGutterLines(int first, int last);
  // What the viewport painted since this was last cleared (counted by the tests).
  QRegion PaintedRegion;

  // --- events
  std::function<void(QPainter&)> OnPaint;
  std::function<void(int line, bool& special, TColor& fg, TColor& bg)> OnSpecialLineColors;

  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  // The glyph of built-in mark image n (0..9), drawn once.
  static const QImage& BuiltInGlyph(int n);
  // The private MIME type of a drag of this control's selection.
  static const char* DragMimeType();

protected:
  // engine view hooks
  void InvalidateLines(int first, int last) override;
  void InvalidateGutterLines(int first, int last) override;
  void UpdateScrollBars() override;
  void PlaceCaret() override;
  void TopLineMoved(int delta) override;

  // Qt events
  void paintEvent(QPaintEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

  // Painting, in slot order.
  virtual void DrawGutter(QPainter& painter, const QRect& rect, int firstLine, int lastLine);
  virtual void DrawTextLines(QPainter& painter, const QRect& rect, int firstLine, int lastLine,
                             int firstCol, int lastCol);

private:
  struct TLinePaint;
  void FontChanged();
  void MeasureView();
  void DrawLineNumbers(QPainter& painter, int firstLine, int lastLine);
  void DrawMarks(QPainter& painter, int firstLine, int lastLine);
  // Text between the editor's bytes (UTF-8 or Latin-1) and Qt.
  QString EditorString(std::string_view bytes) const;
  std::string EditorBytes(const QString& text) const;
  void DrawLine(TLinePaint& line);
  void DrawHighlightedLine(TLinePaint& line);
  void DrawRun(TLinePaint& line, int col, std::string_view text, TFontStyles style, TColor fg,
               TColor bg);
  void DrawPiece(TLinePaint& line, int col, std::string_view text, bool selected, TColor fg,
                 TColor bg);
  void SelectedColumns(int y, int& first, int& last, bool& whole) const;
  std::string DisplayLine(int y) const;
  void DrawCaret(QPainter& painter);
  void DrawRightEdge(QPainter& painter, const QRect& clip);
  QRect LinesRect(int first, int last, int left) const;

  void AutoScrollStep();
  void ExtendSelectionTo(TPoint p);
  void SelectWordAt(TPoint p);
  void StartDrag();
  bool InsideSelection(TPoint p) const;
  bool OwnDrag(const QMimeData* data) const;
  void ShowScrollHintAt(int topLine);

  TTextDrawer FDrawer;
  TtxSystemClipboard FSystemClipboard;
  TColor FColor = clWindow;
  TColor FFontColor = clWindowText;
  int FExtraLineSpacing = 0;
  TScrollStyle FScrollBars = ssBoth;
  int FGutterPixels = 30;
  int FCellWidth = 8;
  int FLinePitch = 16;
  bool FUpdatingScrollBars = false;
  bool FCaretOn = true;
  QRect FCaretDrawn; // where the caret was last drawn
  QTimer FCaretBlink;
  // mouse
  bool FMouseDown = false;
  bool FDragPending = false;
  bool FDoubleClicked = false;
  QPoint FPressPos;
  QPoint FMousePos;
  QTimer FAutoScroll;
  int FWheelRemainder = 0;
  QLabel* FScrollHint = nullptr;
};
