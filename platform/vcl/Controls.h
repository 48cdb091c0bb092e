#pragma once
// Controls: TControl (bounds, alignment, visibility, fonts and colours,
// mouse input, messages), TWinControl (a window of its own: children, focus,
// keyboard input, tab order), TGraphicControl (drawn on its parent's surface)
// and TCustomControl (a window that paints itself).
//
// Every windowed control that paints itself keeps a retained back buffer:
// its Canvas draws into that buffer whether or not a paint message is in
// progress, a paint message redraws the buffer, and the screen only ever
// shows a copy of it. Input arrives as window messages with the desktop's
// numbers (WM_LBUTTONDOWN, WM_KEYDOWN, CM_MOUSEENTER, ...), dispatched to
// WndProc and then Dispatch, which derived classes override to handle the
// messages they care about and pass the rest on.
#include <functional>
#include <memory>
#include <vector>

#include "vcl/Components.h"
#include "vcl/Graphics.h"
#include "vcl/Messages.h"

class QWidget;

namespace vcl {

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
struct TWinControlHost;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;
enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using enum TShiftStateItem;
using TShiftState = rtl::TSet<TShiftStateItem>;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using enum TAlign;
enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using enum TAnchorKind;
using TAnchors = rtl::TSet<TAnchorKind>;

enum class TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoStdEvents, csActionClient, csParentBackground,
  csNeedsBorderPaint
};
using enum TControlStyleItem;
using TControlStyle = rtl::TSet<TControlStyleItem>;
enum class TControlStateItem { csLButtonDown, csClicked, csFocusing, csCreating, csAligning };
using enum TControlStateItem;
using TControlState = rtl::TSet<TControlStateItem>;

// A form's border; controls with a border of their own (edits) use the
// first two values.
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
using TBorderStyle = TFormBorderStyle;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;
enum class TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
using enum TVerticalAlignment;

using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

// Hit-test answers of CM_HITTEST and WM_NCHITTEST.
inline constexpr Integer HTTRANSPARENT = -1;
inline constexpr Integer HTNOWHERE = 0;
inline constexpr Integer HTCLIENT = 1;
inline constexpr Integer HTCAPTION = 2;

// Window style bits (GWL_STYLE; the low word belongs to the control's
// class), extended style bits (GWL_EXSTYLE) and class style bits.
inline constexpr Cardinal WS_OVERLAPPED = 0x00000000;
inline constexpr Cardinal WS_TABSTOP = 0x00010000;
inline constexpr Cardinal WS_HSCROLL = 0x00100000;
inline constexpr Cardinal WS_VSCROLL = 0x00200000;
inline constexpr Cardinal WS_DLGFRAME = 0x00400000;
inline constexpr Cardinal WS_BORDER = 0x00800000;
inline constexpr Cardinal WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
inline constexpr Cardinal WS_DISABLED = 0x08000000;
inline constexpr Cardinal WS_VISIBLE = 0x10000000;
inline constexpr Cardinal WS_CHILD = 0x40000000;
inline constexpr Cardinal WS_POPUP = 0x80000000;
inline constexpr Cardinal WS_EX_TOPMOST = 0x00000008;
inline constexpr Cardinal WS_EX_TRANSPARENT = 0x00000020;
inline constexpr Cardinal WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr Cardinal WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr Cardinal CS_VREDRAW = 0x0001;
inline constexpr Cardinal CS_HREDRAW = 0x0002;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State,
                                          bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
// Target is the control that took the drop, or null when it was refused.
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled)>;
// One turn of the wheel towards the user (down) or away (up).
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, WideChar& Key)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Mouse buttons and modifier keys of a mouse message's key flags.
TShiftState KeysToShiftState(Integer keys);
// The modifier keys held now (as the last input event reported them).
TShiftState KeyboardStateToShiftState();

class TSizeConstraints : public TPersistent {
 public:
  Integer MinWidth = 0;
  Integer MaxWidth = 0;  // 0: no limit
  Integer MinHeight = 0;
  Integer MaxHeight = 0;
  void Assign(const TPersistent* source) override;
  void Apply(Integer& width, Integer& height) const;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // --- place ---
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  Integer Left() const { return left_; }
  Integer Top() const { return top_; }
  Integer Width() const { return width_; }
  Integer Height() const { return height_; }
  void SetLeft(Integer v) { SetBounds(v, top_, width_, height_); }
  void SetTop(Integer v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(Integer v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(Integer v) { SetBounds(left_, top_, width_, v); }
  // Applies the constraints; a change realigns the parent, repaints and
  // calls Resize.
  virtual void SetBounds(Integer left, Integer top, Integer width, Integer height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  // The client area in the control's own coordinates.
  virtual TRect ClientRect() const;
  Integer ClientWidth() const { return ClientRect().Width(); }
  Integer ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(Integer v);
  void SetClientHeight(Integer v);
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // A point of the client area in the coordinates of the parent's client area.
  TPoint ClientToParent(TPoint p) const { return {p.X + left_, p.Y + top_}; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  const TAnchors& Anchors() const { return anchors_; }
  void SetAnchors(const TAnchors& a);
  TSizeConstraints* Constraints() { return &constraints_; }

  // --- state ---
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to a form visible too.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  const TControlStyle& ControlStyle() const { return controlStyle_; }
  void SetControlStyle(const TControlStyle& s) { controlStyle_ = s; }
  TControlState& ControlState() { return controlState_; }

  // --- looks ---
  TFont* Font() { return &font_; }
  void SetFont(const TFont* f) { font_.Assign(f); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  const AnsiString& Hint() const { return hint_; }
  void SetHint(const AnsiString& h);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);
  // Caption and Text are one property under two names.
  // A control whose caption still equals its name follows a new name.
  void SetName(const AnsiString& name) override;
  const AnsiString& Caption() const { return text_; }
  void SetCaption(const AnsiString& s) { SetText(s); }
  const AnsiString& Text() const { return GetTextRef(); }
  virtual void SetText(const AnsiString& s);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* m);
  // The action whose caption, enabled state, hint and visibility the control
  // follows and which its click executes.
  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);
  // Takes the linked action's state (called when the action changes).
  virtual void ActionChange(TBasicAction* sender);

  // --- messages ---
  // Sends a message to this control at once and answers its Result.
  LRESULT Perform(Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Where every message enters: the window hooks, newest first, then
  // WndProc.
  void WindowProc(TMessage& message);
  using TWndMethod = std::function<void(TMessage& message)>;
  // A hook sees each message before the procedure it replaced (the hook
  // added before it, or WndProc) and calls next to pass it on, or not.
  using TWindowHook = std::function<void(TMessage& message, const TWndMethod& next)>;
  // Answers the hook's id for RemoveWindowHook.
  Integer AddWindowHook(TWindowHook hook);
  // Takes out only that hook, whichever order hooks are removed in; a hook
  // removed while a message is passing never sees the rest of it.
  void RemoveWindowHook(Integer id);
  struct THookEntry;  // Controls.cpp
  virtual void WndProc(TMessage& message);
  // The message handlers: each class handles the numbers it knows and
  // passes everything to its base class's Dispatch.
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message) {}

  // --- painting ---
  // Marks the control for repainting at the next paint.
  virtual void Invalidate();
  // Paints what is marked, now.
  virtual void Update();
  void Repaint() { Invalidate(); Update(); }
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  bool MouseCapture() const;
  void SetMouseCapture(bool v);

  virtual void Click();
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;

  // --- dragging inside the program ---
  // Starts dragging this control while the left button is down: at once,
  // or once the mouse has moved threshold pixels from where it was (-1:
  // the desktop's 5). Until the button comes up, the control under the
  // mouse is asked whether it takes the drag (DragOver); the release drops
  // on it when it does (DragDrop) and cancels otherwise. The mouse moves of
  // a drag do not reach this control's MouseMove.
  void BeginDrag(bool immediate, Integer threshold = -1);
  // Drops (when asked and the control under the mouse takes it) or cancels.
  void EndDrag(bool drop);
  bool Dragging() const;
  // Refuses, unless OnDragOver is set: it is then asked with Accept true.
  virtual void DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept);
  // Fires OnDragDrop.
  virtual void DragDrop(TObject* source, Integer x, Integer y);
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  virtual const AnsiString& GetTextRef() const { return text_; }
  virtual void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y);
  virtual void MouseMove(TShiftState shift, Integer x, Integer y);
  // OnMouseWheel first; unless it handled the turn, DoMouseWheelDown (a
  // negative delta) or DoMouseWheelUp.
  virtual bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos);
  virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
  virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
  virtual void Resize();
  // The bounds changed (before the parent realigns).
  virtual void BoundsChanged() {}
  // Keeps the distances to the parent's edges that the anchors hold.
  void UpdateAnchorRules();
  void AnchorTo(Integer parentWidth, Integer parentHeight);
  // The parent form, or null.
  TCustomForm* ParentForm() const;
  void InvalidateControl();

  TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState controlState_;
  AnsiString text_;

 private:
  friend class TWinControl;
  void FontChanged();
  void HandleMouseButton(TMessage& m, TMouseButton button, bool down, bool dbl);

  std::vector<std::shared_ptr<THookEntry>> hooks_;  // oldest first
  Integer nextHookId_ = 1;
  TWinControl* parent_ = nullptr;  // the parent holds this control in its list
  Integer left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  // Distances to the parent's right and bottom edges kept by the anchors.
  Integer anchorRight_ = 0, anchorBottom_ = 0;
  TSizeConstraints constraints_;
  bool visible_ = true;
  bool enabled_ = true;
  TFont font_;
  bool parentFont_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  TCursor cursor_ = crDefault;
  AnsiString hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TPopupMenu* popupMenu_ = nullptr;  // owned by its own owner
  TBasicAction* action_ = nullptr;   // owned by its action list's owner
  bool settingParentFont_ = false;
};

class TControlCanvas;

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // --- children ---
  Integer ControlCount() const { return static_cast<Integer>(controls_.size()); }
  TControl* Controls(Integer index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  // The visible child (graphic or windowed) under p (client coordinates),
  // the topmost one; disabled ones only with allowDisabled.
  TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false) const;
  // Sends a message to every child.
  void Broadcast(TMessage& message);
  void NotifyControls(Cardinal msg);

  // --- the window ---
  HWND Handle();
  bool HandleAllocated() const;
  void HandleNeeded();
  // The Qt widget that stands for this control's window (created on demand).
  QWidget* Widget();

  // --- focus and tab order ---
  bool Focused() const;
  virtual bool CanFocus() const;
  virtual void SetFocus();
  Integer TabOrder() const;
  void SetTabOrder(Integer v);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  // The three-dimensional look of borders; a control whose ParentCtl3D is
  // on follows its parent's.
  bool Ctl3D() const;
  void SetCtl3D(bool v);
  bool ParentCtl3D() const { return parentCtl3D_; }
  void SetParentCtl3D(bool v);
  // The windowed children in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list);
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  // --- alignment ---
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  // The area aligned children share (the tab control leaves out its tabs).
  virtual void AdjustClientRect(TRect& rect) const;

  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  void Invalidate() override;
  void Update() override;
  void Dispatch(TMessage& message) override;

  // --- the non-client area ---
  // A control that paints itself may claim a border by shrinking the
  // rectangle WM_NCCALCSIZE hands it (LParam: a TRect*, the window's bounds
  // in its parent's client coordinates). Its back buffer covers the whole
  // window; WM_NCPAINT paints the border through a window canvas, the
  // client area is what ClientRect says, and children, client canvases and
  // mouse positions are all relative to the client area's corner.
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  // The border widths on each side (all 0 without a border or a window).
  const TRect& NonClientInsets() const { return ncInsets_; }
  // Asks WM_NCCALCSIZE again (the frame changed) and repaints the frame.
  void UpdateNonClientArea();

  // --- the window itself ---
  // Destroys the window (windowed children first, each told WM_DESTROY)
  // and makes it again with fresh creation parameters.
  void RecreateWnd();
  // The style bits of the window (GetWindowLong): those CreateParams gave
  // or SetWindowLong set, with WS_VISIBLE, WS_DISABLED, WS_CHILD and
  // WS_TABSTOP following the control's state. 0 without a window.
  Cardinal WindowStyle() const;
  Cardinal WindowExStyle() const;
  Cardinal ClassStyle() const { return classStyle_; }
  // Sets the bits (the four state bits are not taken) and sends
  // WM_STYLECHANGED when they changed.
  void SetWindowStyle(Cardinal style);
  void SetWindowExStyle(Cardinal exStyle);
  void SetClassStyle(Cardinal style) { classStyle_ = style; }
  void WndProc(TMessage& message) override;
  // A window still there gets WM_DESTROY.
  void BeforeDestroy() override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Qt side (see QtHost.h).
  TWinControlHost* Host() const { return host_.get(); }

 protected:
  // What a window of this control is made with.
  struct TCreateParams {
    Cardinal Style = WS_CHILD;
    Cardinal ExStyle = 0;
    Cardinal ClassStyle = CS_HREDRAW | CS_VREDRAW;
    AnsiString WinClassName;
  };
  virtual void CreateParams(TCreateParams& params);
  // Tells the windowed children and this control WM_DESTROY and destroys
  // their windows, children first.
  virtual void DestroyWnd();
  // Makes the Qt widget; the default is a surface that paints through
  // WM_PAINT into the control's back buffer. Standard controls return a
  // native Qt widget instead.
  virtual QWidget* CreateWidget();
  // Pushes properties into a newly made widget.
  virtual void InitWidget() {}
  // Whether this control paints itself into a back buffer.
  virtual bool HasSurface() const;
  virtual void AlignControls(TControl* control, TRect& rect);
  virtual void PaintWindow() {}
  void PaintControls();
  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(Word& key, TShiftState shift);
  virtual void KeyUp(Word& key, TShiftState shift);
  virtual void KeyPress(WideChar& key);
  // True when the key was consumed (the form's preview included).
  bool DoKeyDown(TMessage& m);
  bool DoKeyUp(TMessage& m);
  bool DoKeyPress(TMessage& m);
  // Offset of the client area's origin inside the widget (the border's
  // left and top widths).
  virtual TPoint WidgetClientOffset() const { return {ncInsets_.Left, ncInsets_.Top}; }
  // For a control over a native widget that draws on top of it (a frame, a
  // button face, a label): each time the widget has painted itself, the
  // control gets WM_PAINT and draws through OverlayCanvas, whose pixels
  // cover the widget's where it draws and leave them elsewhere.
  void SetPaintOverNative(bool v);
  bool PaintOverNative() const { return paintOverNative_; }
  // The canvas of that drawing; it draws only during that WM_PAINT.
  TCanvas* OverlayCanvas();
  void BoundsChanged() override;
  void CreateSurfaceCanvas();
  // Deletes the widget; no messages arrive after this.
  void DestroyHandle();
  // Moves the widget to the control's bounds (children follow their parent).
  virtual void PlaceWidget();
  void Loaded() override;

  bool tabStop_ = false;
  // A native control whose Color is the colour of its text field.
  bool nativeField_ = false;
  std::unique_ptr<TControlCanvas> windowCanvas_;  // for controls with a surface

 private:
  friend class TControl;
  friend struct TWinControlHost;
  friend class TControlCanvas;
  friend class TWindowCanvas;
  void CreateHandle();
  void AlignChildren();
  void ApplyNativeColors();
  // Sends WM_NCCALCSIZE; answers whether the insets changed.
  bool CalcNonClientInsets();
  void PaintDefaultNonClient();

  std::vector<TControl*> controls_;   // z-order, bottom first; not owned
  std::vector<TWinControl*> tabList_;  // windowed children in tab order
  std::unique_ptr<TWinControlHost> host_;
  Integer alignDisabled_ = 0;
  bool alignPending_ = false;
  bool routingContextMenu_ = false;
  TRect ncInsets_;  // border widths: Left, Top, Right, Bottom
  Cardinal style_ = 0, exStyle_ = 0, classStyle_ = 0;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  bool paintOverNative_ = false;
  std::unique_ptr<TControlCanvas> overlayCanvas_;
};

// A canvas that draws on a control: a windowed control's own back buffer,
// or the part of its parent's buffer a graphic control covers.
class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TControl* control) : control_(control) {}
  TControl* Control() const { return control_; }

 protected:
  void CreateHandle() override;

 private:
  TControl* control_;  // the control that owns this canvas
};

// A canvas on a windowed control's back buffer the way a device context
// from GetDC (the client area) or GetWindowDC (the whole window, border
// included) draws. While the control is not showing, all drawing is clipped
// away and GetClipBox finds an empty area. The canvas must not outlive the
// control.
class TWindowCanvas : public TCanvas {
 public:
  enum class TArea { Client, Window };
  TWindowCanvas(TWinControl* control, TArea area) : control_(control), area_(area) {}
  TWinControl* Control() const { return control_; }

 protected:
  void CreateHandle() override;

 private:
  TWinControl* control_;  // the control that owns or outlives this canvas
  TArea area_;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() { return canvas_.get(); }
  void Dispatch(TMessage& message) override;
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner);
  TCanvas* Canvas();

 protected:
  virtual void Paint() {}
  void PaintWindow() override;
};

// True when caption marks ch (case ignored) as its accelerator with '&'.
bool IsAccel(Word ch, const AnsiString& caption);

// The form a control sits on, or null.
TCustomForm* GetParentForm(const TControl* control);

// The control whose window has the handle, or null once it is gone.
TWinControl* FindControl(HWND handle);

}  // namespace vcl
