#pragma once
// Forms, frames, the application object with its message loop, and the
// screen.
#include <functional>
#include <memory>
#include <vector>

#include "rtl/Exceptions.h"
#include "rtl/StringList.h"
#include "vcl/Controls.h"

class QWidget;
class QMenuBar;

namespace vcl {

class TMainMenu;
class TTimer;
class TActionList;
class TBasicAction;

using TModalResult = Integer;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

enum class TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
using enum TPosition;
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using enum TBorderIcon;
using TBorderIcons = rtl::TSet<TBorderIcon>;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TMessage& Msg, bool& Handled)>;

class TCustomForm : public TWinControl {
 public:
  // A form whose components are created by its constructor: it is loading
  // until AfterConstruction, which calls Loaded on every component and then
  // OnCreate.
  explicit TCustomForm(TComponent* owner);
  // A form with nothing on it; not loading.
  TCustomForm(TComponent* owner, Integer dummy);
  ~TCustomForm() override;
  void AfterConstruction() override;

  void SetVisible(bool v) override;
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  void SetText(const AnsiString& s) override;

  // Objects that follow the form's size (a grid that sizes with its form):
  // each is told of a resize before the form's own OnResize, in the order
  // they were added, and takes itself off before it goes, so no entry ever
  // outlives its object. AddResizeListener answers the entry's id.
  using TResizeListener = std::function<void(TCustomForm* form)>;
  Integer AddResizeListener(TResizeListener listener);
  void RemoveResizeListener(Integer id);
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  bool Showing() const override;
  void SetParent(TWinControl* parent) override;

  // The title bar comes and goes with the style (and with WS_CAPTION set
  // or cleared through SetWindowStyle); the window manager draws it outside
  // the form's bounds, so the client area keeps its size either way.
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle s);
  // The buttons of the title bar; none leaves a bare title.
  const TBorderIcons& BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(const TBorderIcons& icons);
  // The window this one belongs to (kept above it); 0 for none. Set with
  // SetWindowLong(GWL_HWNDPARENT).
  HWND OwnerWindow() const { return ownerWindow_; }
  void SetOwnerWindow(HWND owner);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState s);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult r) { modalResult_ = r; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* c);
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* m);
  bool Active() const;
  // True while the form runs its modal loop.
  bool Modal() const { return modal_; }

  // Shows the form and runs the message loop until ModalResult is set and
  // the form agrees to close; answers the result. Raises EInvalidOperation
  // "Cannot make a visible window modal" for a form already shown.
  virtual TModalResult ShowModal();
  // Asks OnCloseQuery; then OnClose decides (hide by default, free, or
  // nothing). A modal form closing this way answers mrCancel.
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the messages already queued for it are handled.
  void Release();
  void BringToFront();

  // Moves the focus within the form: CM_EXIT up the old control's chain,
  // CM_ENTER down the new one's.
  void SetFocusedControl(TWinControl* control);
  // Runs the shortcut through the form's menu and actions; true when
  // something took it.
  virtual bool IsShortCut(Word key, TShiftState shift);
  void Dispatch(TMessage& message) override;

  // The top-level Qt window (the form's widget is its client area).
  QWidget* WindowWidget();
  // Renders the whole window, menu included, to a PNG file.
  bool SaveWindowImage(const AnsiString& fileName);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TShortCutEvent OnShortCut;

 protected:
  void Resize() override;
  QWidget* CreateWidget() override;
  void InitWidget() override;
  void PlaceWidget() override;
  void CreateParams(TCreateParams& params) override;
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TApplication;
  friend class FormFrame;
  friend class TMenu;
  friend class TScreen;
  void BeforeDestroy() override;
  void PlaceWindow();
  void ApplyBorderStyle();
  void FrameResized(int width, int height);
  // The window manager moved the window (its client corner now at x, y)
  // or changed its state; our own changes come back here as well and say
  // nothing new.
  void FrameMoved(int x, int y);
  void FrameStateChanged(TWindowState state);
  void FrameCloseRequested();
  void RebuildMenuBar();
  int MenuBarHeight() const;
  void ActivateChanged(bool active);

  void ApplyOwnerWindow();
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  bool titleBar_ = true;  // WS_CAPTION
  HWND ownerWindow_ = 0;
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool created_ = false;
  bool destroyFired_ = false;
  bool placed_ = false;
  TWinControl* activeControl_ = nullptr;  // a control on this form
  TMainMenu* menu_ = nullptr;             // owned by the form's components
  QWidget* frame_ = nullptr;              // top-level window, owned here
  QMenuBar* menuBar_ = nullptr;           // child of frame_
  bool syncingFrame_ = false;
  std::vector<std::pair<Integer, TResizeListener>> resizeListeners_;
  Integer nextResizeListener_ = 1;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

// A container of controls designed as a unit and placed on forms or panels;
// it owns its components.
class TFrame : public TWinControl {
 public:
  explicit TFrame(TComponent* owner);
  void AfterConstruction() override;
};

// What CM_HINTSHOW hands a control (LParam points to it) before its hint
// shows; the control may change it, or answer a non-zero Result to cancel.
class THintWindow;
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint CursorPos;     // screen
  TRect CursorRect;     // client coordinates of HintControl
  TPoint HintPos;       // screen position of the hint window
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  AnsiString HintStr;
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  void* HintData = nullptr;
  // Makes the window this hint shows in; empty: the application's own.
  std::function<THintWindow*(TComponent* owner)> HintWindowClass;
};
using TShowHintEvent = std::function<void(AnsiString& HintStr, bool& CanShow, THintInfo& HintInfo)>;

// The parts of a hint written "short|long" (without '|' both are the whole).
AnsiString GetShortHint(const AnsiString& hint);
AnsiString GetLongHint(const AnsiString& hint);

// The small window a hint shows in.
class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* owner);
  // The size the text needs, at most maxWidth wide (screen coordinates from 0).
  virtual TRect CalcHintRect(Integer maxWidth, const AnsiString& hint);
  // Shows the hint in rect (screen coordinates).
  virtual void ActivateHint(const TRect& rect, const AnsiString& hint);
  void ReleaseHandle();
  bool Showing() const override;

 protected:
  QWidget* CreateWidget() override;
  void Paint() override;
};

using TExceptionEvent = std::function<void(TObject* Sender, rtl::Exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  // Creates the Qt application object when there is none (with the
  // offscreen platform when no display is set). Called by the first use
  // of a window.
  void Initialize();
  const AnsiString& Title() const { return title_; }
  void SetTitle(const AnsiString& t) { title_ = t; }
  const AnsiString& ExeName() const;

  // Creates a form and stores it in *reference; the first form created
  // this way is the main form.
  template <typename T>
  void CreateForm(T** reference) {
    T* form = new T(this);
    *reference = form;
    form->AfterConstruction();
    if (!mainForm_) mainForm_ = form;
  }
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* f) { mainForm_ = f; }

  // Shows the main form and runs the message loop until Terminate or the
  // main form closes.
  void Run();
  // Handles everything waiting (input, posted and sent messages,
  // synchronized calls, due timers) and returns.
  void ProcessMessages();
  // Handles what is waiting; when nothing was, runs the idle work (action
  // updates, OnIdle) and then waits for something to arrive.
  void HandleMessage();
  // Action updates and OnIdle; answers Done.
  bool Idle();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Hands the exception being handled to OnException, or shows its message.
  // Call only from inside a catch block.
  void HandleException(TObject* sender);
  void ShowException(const rtl::Exception& e);
  // A message box with the application title by default; answers IDOK etc.
  Integer MessageBox(const AnsiString& text, const AnsiString& caption, Cardinal flags);

  // The colour hints show on unless a control says otherwise.
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor c) { hintColor_ = c; }
  Cardinal HintPause() const { return hintPause_; }
  void SetHintPause(Cardinal ms) { hintPause_ = ms; }
  Cardinal HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(Cardinal ms) { hintHidePause_ = ms; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  // The long part of the hint of the control under the mouse; OnHint fires
  // when it changes (status bars show it).
  const AnsiString& Hint() const { return hint_; }
  void SetHint(const AnsiString& h);
  // The hint being shown, or null.
  THintWindow* HintWindow() const { return hintWindow_; }
  // Mouse bookkeeping the controls report: the hint of the control under
  // the mouse shows after HintPause on the clock service and hides after
  // HintHidePause; a click, a key or leaving the control cancels it.
  void HintMouseMessage(TControl* control, TPoint clientPos);
  void HintMouseLeave(TControl* control);
  void CancelHint();
  const AnsiString& HelpFile() const { return helpFile_; }
  void SetHelpFile(const AnsiString& f) { helpFile_ = f; }
  bool Active() const;

  // Registers an action list whose actions the idle work updates and the
  // shortcut routing searches (action lists do this themselves).
  void AddActionList(TActionList* list);
  void RemoveActionList(TActionList* list);

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  // Timers (TTimer registers itself).
  void AddTimer(TTimer* timer);
  void RemoveTimer(TTimer* timer);
  // Fires the timers that are due on the clock service; answers whether any
  // fired.
  bool FireDueTimers();
  // Keeps the loop's timer running while timers, window timers or a hint
  // wait for their time.
  void UpdatePump();

 private:
  struct Loop;
  void Wait();
  bool ProcessWaiting();
  bool CheckHint(uint64_t now);
  void ActivateHintFor(TControl* control);
  void Notification(TComponent* component, TOperation operation) override;

  AnsiString title_;
  TCustomForm* mainForm_ = nullptr;  // owned by this application
  bool terminated_ = false;
  TColor hintColor_ = clInfoBk;
  Cardinal hintPause_ = 500;
  Cardinal hintHidePause_ = 2500;
  bool showHint_ = true;
  AnsiString hint_;
  TControl* hintControl_ = nullptr;  // the control whose hint is pending or shown
  TPoint hintCursor_;                // screen position of the last move over it
  uint64_t hintStart_ = 0;
  uint64_t hintHideAt_ = 0;
  bool hintShown_ = false;
  bool hintDone_ = false;            // shown and hidden: not again until the mouse moves on
  THintWindow* hintWindow_ = nullptr;  // owned (a component of this application)
  bool hintWindowCustom_ = false;      // made by a control's HintWindowClass
  AnsiString helpFile_;
  std::vector<TTimer*> timers_;            // not owned
  std::vector<TActionList*> actionLists_;  // not owned
  std::unique_ptr<Loop> loop_;
};

// A cursor made from an image file (PNG, BMP, ICO, CUR), with its hot spot;
// 0 when the file cannot be read. Cursors live as long as the process.
using HCURSOR = uintptr_t;
HCURSOR LoadCursorFromFile(const AnsiString& fileName, TPoint hotSpot);

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;

  Integer FormCount() const { return static_cast<Integer>(forms_.size()); }
  TCustomForm* Forms(Integer index) const { return forms_.at(static_cast<size_t>(index)); }
  TCustomForm* ActiveForm() const;
  TWinControl* ActiveControl() const;
  // A cursor shown everywhere while it is not crDefault (crHourGlass during
  // long work).
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  // Cursors by id: the standard ones, and those a program adds under its
  // own (positive) ids from an image with its hot spot.
  HCURSOR Cursors(TCursor id) const;
  void SetCursors(TCursor id, HCURSOR cursor);
  // Installed font families, sorted.
  rtl::TStrings* Fonts();
  Integer PixelsPerInch() const { return 96; }
  Integer Width() const;
  Integer Height() const;
  TRect WorkAreaRect() const;
  // The whole bounds (not the work area) of the monitor that holds the
  // centre of r, else of the primary monitor.
  TRect MonitorBoundsRect(const TRect& r) const;
  Integer WorkAreaWidth() const { return WorkAreaRect().Width(); }
  Integer WorkAreaHeight() const { return WorkAreaRect().Height(); }
  TFont* HintFont() { return &hintFont_; }
  TFont* MenuFont() { return &menuFont_; }

 private:
  friend class TCustomForm;
  std::vector<TCustomForm*> forms_;  // not owned; forms register themselves
  TCursor cursor_ = crDefault;
  std::unique_ptr<rtl::TStringList> fonts_;
  TFont hintFont_;
  TFont menuFont_;
};

// The process's application and screen objects, made on first use.
extern TApplication* Application;
extern TScreen* Screen;
// Makes Application and Screen (and the Qt application) if not yet there.
void InitApplication();

// Frees a component or control the way the class library frees objects:
// forms get their OnDestroy while still whole.
void Free(TObject* object);

}  // namespace vcl
