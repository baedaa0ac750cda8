#pragma once
// A push button in a form's caption row, left of the caption's own buttons, with a glyph from a
// symbol font or a bitmap. It shows a hint while the mouse rests on it and raises OnClick, or
// opens its popup menu, when it is clicked. Window managers keep programs out of the title bar
// they draw, so the caption row is the top row of the form's client area: the button is a small
// surface at its right end, raised above the form's own children.
#include "app/WidgetHint.h"
#include "app/WidgetLayout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>

class QMenu;
class QWidget;

namespace msg {
inline const char* const WidgetNeedsForm = "A Widget must be owned by a form";
} // namespace msg

class TWidget : public QObject {
public:
  // owner must be a form (a top-level widget), else ELumoraError. hintTimer runs the hint
  // pauses.
  explicit TWidget(QObject* owner, std::unique_ptr<TTicker> hintTimer = MakeTicker());
  ~TWidget() override;

  bool Down() const { return FDown; }
  void SetDown(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  const QFont& Font() const { return FFont; }
  void SetFont(const QFont& value);
  const QColor& FontColor() const { return FFontColor; }
  void SetFontColor(const QColor& value);
  int Gap() const { return FGap; }
  void SetGap(int value);
  QChar Glyph() const { return FGlyph; }
  void SetGlyph(QChar value);
  const QImage& Image() const { return FImage; }
  // The image's transparent colour is its bottom-left pixel unless one is given.
  void SetImage(const QImage& value, const QColor& transparentColor = QColor());
  const QColor& TransparentColor() const { return FTransparentColor; }
  int OffsetLeft() const { return FOffsetLeft; }
  void SetOffsetLeft(int value);
  int OffsetTop() const { return FOffsetTop; }
  void SetOffsetTop(int value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);

  QString Hint;
  bool ShowHint = false;
  QPointer<QMenu> PopupMenu;
  std::function<void(QObject* sender)> OnClick;

  int Index() const { return FIndex; }
  QWidget* Form() const { return FForm; }
  // The button rectangle in the form's coordinates and its distance from the right edge.
  QRect ButtonRect() const { return FPlace.Rect; }
  int RightDistance() const { return FPlace.RightDistance; }
  bool Pressed() const { return FPressed; }
  const TWidgetHint& HintWindow() const { return FHint; }
  // The text drawn for the glyph: a caption symbol of a font this system lacks is drawn as the
  // character it stands for.
  QString ShownGlyph() const;

  // Lays out every widget of the form (a Gap changed).
  static void LayoutAll(QWidget& form);
  // The widgets the form owns, in the order they were created.
  static std::vector<TWidget*> WidgetsOf(const QObject& form);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Layout();
  void Paint();
  bool FormEvent(QEvent* event);
  bool FaceEvent(QEvent* event);
  void MouseDown();
  void MouseMove(const QPoint& pos, const QPoint& screenPos);
  void MouseUp(const QPoint& pos);
  void ClickRequest();
  bool Inside(const QPoint& pos) const;

  QWidget* FForm = nullptr;
  QPointer<QWidget> FFace;
  int FIndex = 0;
  TWidgetPlace FPlace;
  bool FDown = false;
  bool FEnabled = true;
  QFont FFont;
  QColor FFontColor;
  int FGap = 2;
  QChar FGlyph = 'v';
  QImage FImage;
  QColor FTransparentColor;
  int FOffsetLeft = 0;
  int FOffsetTop = 0;
  bool FVisible = true;
  bool FPressed = false;
  bool FTracking = false;
  TWidgetHint FHint;
};
