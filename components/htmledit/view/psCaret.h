#pragma once
// The text cursor and the scroll bars as the editor component uses them.
// TpsCaret keeps the caret's place relative to the view's root window and
// shows it through the system caret in the control's client area, placed
// by the screen surface's viewport; it is shown only while the control is
// visible and focused, and never in design mode or while read-only.
// TpsScrollBar is the scroll bar the editor talks to; TpsVCLScrollBar
// stands on one of a scrolling control's own bars.
#include "htmledit/view/psViewTypes.h"

namespace vcl {
class TWinControl;
class TControlScrollBar;
}  // namespace vcl

namespace htmlview {

class TpsCaret {
 public:
  TpsCaret(vcl::TWinControl* aControl, bool aDesignMode, TpsWindowManager* aManager, TpsAbstractCanvas* aCanvas);
  ~TpsCaret();
  TpsCaret(const TpsCaret&) = delete;
  TpsCaret& operator=(const TpsCaret&) = delete;

  // Relative to the root window; a visible caret moves.
  void SetPosition(Integer aX, Integer aY);
  void SetSize(Integer aWidth, Integer aHeight);
  void SetBounds(Integer aX, Integer aY, Integer aWidth, Integer aHeight);
  Integer GetX() const { return X; }
  Integer GetY() const { return Y; }
  Integer GetWidth() const { return Width; }
  Integer GetHeight() const { return Height; }
  Integer GetDocX() const { return DocX; }
  Integer GetDocY() const { return DocY; }
  // Where the caret stands in the control's client area.
  TpsPoint GetClientPos() const;
  // Places the caret again when the root or the viewport moved.
  void UpdatePosition();
  bool GetVisible() const { return Visible; }
  void SetVisible(bool aShow);
  bool GetReadOnly() const { return ReadOnly; }
  void SetReadOnly(bool aValue);

 private:
  void StorePosition(Integer aX, Integer aY);
  TpsPoint RootOrigin() const;
  TpsPoint ViewOrigin() const;

  vcl::TWinControl* Control;  // the editor component; not owned
  TpsAbstractCanvas* Canvas;  // the screen surface; not owned
  TpsWindowManager* Manager;  // not owned
  bool DesignMode;
  bool Visible = false;
  Integer X = 0, Y = 0;
  Integer DocX = 0, DocY = 0;
  Integer Width = 2, Height = 15;
  Integer PlacedViewLeft = 0, PlacedViewTop = 0;
  bool ReadOnly = false;
};

constexpr Byte sbkVertical = 0;
constexpr Byte sbkHorizontal = 1;

// A scroll bar that is not there: getters answer False or -1, setters do
// nothing.
class TpsScrollBar {
 public:
  explicit TpsScrollBar(Byte aKind) : Kind(aKind) {}
  virtual ~TpsScrollBar() = default;
  virtual bool GetEnabled() { return false; }
  virtual void SetEnabled(bool) {}
  virtual Integer GetPosition() { return -1; }
  virtual void SetPosition(Integer) {}
  virtual Integer GetRange() { return -1; }
  virtual void SetRange(Integer) {}
  virtual bool GetTracking() { return false; }
  virtual void SetTracking(bool) {}
  virtual bool GetVisible() { return false; }
  virtual void SetVisible(bool) {}

  Byte Kind;
};

class TpsVCLScrollBar : public TpsScrollBar {
 public:
  // aScrollBar is the control's bar of that kind; neither is owned.
  TpsVCLScrollBar(Byte aKind, vcl::TControlScrollBar* aScrollBar, vcl::TWinControl* aControl);
  bool GetEnabled() override { return false; }
  // Both arrows of the control's system bar of this kind.
  void SetEnabled(bool aValue) override;
  Integer GetPosition() override;
  void SetPosition(Integer aValue) override;
  Integer GetRange() override;
  void SetRange(Integer aValue) override;
  bool GetTracking() override;
  void SetTracking(bool aValue) override;
  bool GetVisible() override;
  void SetVisible(bool aValue) override;

 private:
  vcl::TControlScrollBar* ScrollBar;
  vcl::TWinControl* Control;
};

}  // namespace htmlview
