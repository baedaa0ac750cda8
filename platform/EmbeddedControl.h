#pragma once
// A window control that stands inside a document: a form control or a panel a page asks for.
// The document places it where layout puts it, sizes it, shows and hides it and asks whether
// it holds the keyboard focus; the toolkit draws it and handles its input. The engine knows
// controls only through this interface, so it can be laid out and tested without widgets.
#include "base/Color.h"

#include <QRect>
#include <cstdint>
#include <memory>
#include <string>

class QObject;
class TFormWidget;
enum class TFormWidgetKind;

class TEmbeddedControl {
public:
  virtual ~TEmbeddedControl() = default;

  // Position and size on the drawing surface, in window coordinates.
  virtual QRect Geometry() const = 0;
  int32_t Width() const { return Geometry().width(); }
  int32_t Height() const { return Geometry().height(); }
  virtual void Move(int32_t x, int32_t y) = 0;
  virtual void Resize(int32_t width, int32_t height) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // True when the control or a control inside it has the keyboard focus.
  virtual bool HasFocus() const = 0;
  virtual void SetFocus() = 0;
  // The name the host finds the control by (a page's NAME attribute).
  virtual void SetName(const std::string& name) = 0;
  // The toolkit's own object, for a host that puts controls of its own inside.
  virtual QObject* Object() const = 0;
  // False while a control made on demand has no window control yet: it keeps its state and
  // takes none of the focus until it is shown, focused or clicked.
  virtual bool Realised() const { return true; }
};

// A panel a page asks for (PANEL): empty and white with a thin border until the host fills it.
// The host may keep it from being shown; a printed page draws its frame in its colour.
class TPanelControl : public TEmbeddedControl {
public:
  virtual bool PanelShown() const = 0;
  virtual TColor Color() const = 0;
  // The file the page's DATA attribute names for the control the host puts on the panel.
  virtual void SetData(const std::string& data) { (void)data; }
};

// What a document asks of the window it is shown in.
class TControlHost {
public:
  virtual ~TControlHost() = default;
  // A new hidden panel on the drawing surface.
  virtual std::unique_ptr<TPanelControl> CreatePanel() = 0;
  // A new hidden form control on the drawing surface; none when the host has no window
  // controls (the document then keeps the state itself).
  virtual std::unique_ptr<TFormWidget> CreateFormWidget(TFormWidgetKind kind);
  // Asks for the part r of the drawing surface (window coordinates) to be drawn again; an
  // empty r asks for all of it.
  virtual void Invalidate(const QRect& r) = 0;
};

// Where a control that is not on the page waits while the keyboard may reach it.
constexpr int32_t OutOfSightX = -4000;

// Hides a control that is not placed on the page. A control holding the keyboard focus is
// moved out of sight instead, so that typing and tabbing still reach it.
void HideUnplaced(TEmbeddedControl& control);
