// Owner-drawn menus over Qt's menu machinery: QMenu and QMenuBar keep the
// keyboard, the mouse, sub-menus and modality; a proxy style asks the
// items' measure handlers for their sizes, and the widgets paint every item
// through its draw handler into a retained image of the whole window, so a
// handler may draw beyond its own item (a side bar for the whole pop-up, a
// frame round the window). Each pop-up window is a TMenuWindow with a
// handle while it shows.
#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <map>
#include <mutex>

#include "vcl/Forms.h"
#include "vcl/QtCanvas.h"
#include "vcl/QtHost.h"
#include "vcl/QtMenus.h"
#include "vcl/Regions.h"

namespace vcl {

namespace {

// --- Items by command, and where they show ---

struct Placement {
  QPointer<QWidget> widget;  // the menu or bar showing the item
  QAction* action = nullptr;  // owned by the widget
};

struct ItemRegistry {
  std::mutex lock;
  Cardinal next = 0x100;
  std::map<Cardinal, TMenuItem*> items;
  std::map<Cardinal, Placement> shown;
  std::map<HWND, TMenuWindow*> windows;
  HWND nextWindow = 0x40000000;
};

ItemRegistry& Registry() {
  static ItemRegistry* r = new ItemRegistry;  // lives as long as the process
  return *r;
}

void Place(TMenuItem* item, QWidget* widget, QAction* action) {
  action->setData(QVariant::fromValue<qulonglong>(item->Command()));
  std::lock_guard<std::mutex> g(Registry().lock);
  Registry().shown[item->Command()] = {widget, action};
}

TMenuItem* ItemOf(const QAction* action) {
  return action ? MenuItemByCommand(static_cast<Cardinal>(action->data().toULongLong())) : nullptr;
}

// The item whose size Qt is about to ask the style for: the menu widgets
// set it in initStyleOption, which Qt calls right before.
const TMenuItem*& CurrentItem() {
  static thread_local const TMenuItem* item = nullptr;
  return item;
}

// A canvas drawing into an image the caller keeps, for the owner-drawn
// widgets' retained pixels.
class ImageCanvas : public TCanvas {
 public:
  // origin and clip: where the canvas's (0, 0) lies in the image and what
  // it may touch (null: all of it).
  void Bind(QImage* image, HWND window, QPoint origin = {}, QRect clip = {}) {
    auto s = std::make_unique<TCanvasSurface>();
    s->image = image;
    s->origin = origin;
    s->clip = clip;
    SetSurface(std::move(s));
    window_ = window;
  }
  // The state a menu's device context starts with for each item: the
  // menu font, a solid brush of the menu colour, a black pen.
  void Reset(TColor background) {
    Font()->Assign(Screen->MenuFont());
    Brush()->SetColor(background);
    Brush()->SetStyle(bsSolid);
    Pen()->SetColor(clBlack);
    Pen()->SetWidth(1);
    Pen()->SetStyle(psSolid);
    Pen()->SetMode(pmCopy);
  }
  HWND Window() const { return window_; }

 private:
  HWND window_ = 0;
};

TOwnerDrawState StateOf(const QStyleOptionMenuItem& opt, const TMenuItem* item, bool bar) {
  TOwnerDrawState s;
  if (bar) {
    if (opt.state & QStyle::State_Sunken)
      s.Include(odSelected);
    else if (opt.state & QStyle::State_Selected)
      s.Include(odHotLight);
  } else if (opt.state & QStyle::State_Selected) {
    s.Include(odSelected);
  }
  if (!item->Enabled()) {
    s.Include(odDisabled);
    s.Include(odGrayed);
  }
  if (item->Checked()) s.Include(odChecked);
  if (item->Default()) s.Include(odDefault);
  return s;
}

// Sizes from the items' handlers, and no margins of the style's own: an
// owner-drawn menu is its items inside the desktop's border.
constexpr int kMenuBorder = 3;

class OwnerDrawStyle : public QProxyStyle {
 public:
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override {
    const TMenuItem* item = CurrentItem();
    if (item && (type == CT_MenuItem || type == CT_MenuBarItem)) {
      TSize m = SendMeasureItem(const_cast<TMenuItem*>(item), 0, DefaultHeight());
      // An item's rectangle is what it measures plus the 17 pixels the
      // desktop adds on the right (bar items included).
      return QSize(std::max(0, m.cx + 17), std::max(0, m.cy));
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    switch (metric) {
      case PM_MenuPanelWidth:
        // The desktop's pop-up border: items start 3 pixels in, so a frame
        // drawn one and two pixels inside the window leaves them whole.
        return kMenuBorder;
      case PM_MenuHMargin:
      case PM_MenuVMargin:
      case PM_MenuDesktopFrameWidth:
      case PM_MenuBarPanelWidth:
      case PM_MenuBarItemSpacing:
      case PM_MenuBarHMargin:
      case PM_MenuBarVMargin:
      case PM_SubMenuOverlap:
        return 0;
      default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
  }

  // The text height of the menu font: the default an item's measure
  // handler starts from, low enough that its own text rule decides.
  static int DefaultHeight() {
    static int height = [] {
      QImage scratch(1, 1, QImage::Format_RGB32);
      ImageCanvas c;
      c.Bind(&scratch, 0);
      c.Font()->Assign(Screen->MenuFont());
      return static_cast<int>(c.TextHeight("Wg"));
    }();
    return height;
  }
};

OwnerDrawStyle* Style() {
  static OwnerDrawStyle* style = new OwnerDrawStyle;  // lives as long as the process
  return style;
}

HWND NewWindowHandle(TMenuWindow* window) {
  std::lock_guard<std::mutex> g(Registry().lock);
  HWND h = Registry().nextWindow;
  Registry().nextWindow += 4;
  Registry().windows[h] = window;
  return h;
}

void DropWindowHandle(HWND h) {
  std::lock_guard<std::mutex> g(Registry().lock);
  Registry().windows.erase(h);
}

class OwnerDrawMenu;
void Fill(OwnerDrawMenu* menu, TMenu* owner, TMenuItem* parent);

// A pop-up or drop-down window of an owner-drawn menu.
class OwnerDrawMenu : public QMenu, public TMenuWindow {
 public:
  OwnerDrawMenu(TMenu* menu, TMenuItem* parentItem, QWidget* parent)
      : QMenu(parent), menu_(menu), parentItem_(parentItem) {
    setStyle(Style());
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  ~OwnerDrawMenu() override { Forget(); }

  TMenu* Menu() const override { return menu_; }
  TMenuItem* ParentItem() const override { return parentItem_; }
  TRect WindowRect() const override {
    QRect g = geometry();
    if (parentWidget() && !isWindow()) g.moveTopLeft(parentWidget()->mapToGlobal(g.topLeft()));
    return Bounds(g.x(), g.y(), g.width(), g.height());
  }
  void SetRegion(const TRegion* region) override {
    if (!region) {
      clearMask();
      return;
    }
    QRegion r;
    for (const TRect& band : region->Rects()) r += QRect(band.Left, band.Top, band.Width(), band.Height());
    setMask(r);
  }
  bool HasRegion() const override { return !mask().isEmpty(); }
  void MoveBy(Integer dx, Integer dy) override { move(pos() + QPoint(dx, dy)); }
  TCanvas* WindowCanvas() override {
    Prepare();
    return &canvas_;
  }

 protected:
  void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override {
    QMenu::initStyleOption(option, action);
    CurrentItem() = ItemOf(action);
  }

  void showEvent(QShowEvent* e) override {
    if (!handle_) handle_ = NewWindowHandle(this);
    // The first painting happens before the window shows: what it decides
    // about the window (its shape, a move) takes effect before anyone sees
    // it.
    Guarded(menu_, [this] { Render(); });
    QMenu::showEvent(e);
  }

  void hideEvent(QHideEvent* e) override {
    Forget();
    QMenu::hideEvent(e);
  }

  void paintEvent(QPaintEvent*) override {
    Guarded(menu_, [this] { Render(); });
    QPainter p(this);
    p.drawImage(0, 0, buffer_);
  }

 private:
  // Hiding undoes what the frame hook did and ends the handle.
  void Forget() {
    if (HookInstalled()) Unhook();
    clearMask();
    if (handle_) {
      DropWindowHandle(handle_);
      handle_ = 0;
    }
  }

  void Prepare() {
    QSize size = this->size().expandedTo(QSize(1, 1));
    if (buffer_.size() != size) {
      buffer_ = QImage(size, QImage::Format_RGB32);
      buffer_.fill(ToQColor(clMenu));
    }
    canvas_.Bind(&buffer_, handle_);
  }

  // Items draw on the client area, as on the desktop: (0, 0) is the first
  // item's corner, and the border is reached only through WindowCanvas.
  void Render() {
    Prepare();
    const QPoint origin(kMenuBorder, kMenuBorder);
    const QRect client = rect().adjusted(kMenuBorder, kMenuBorder, -kMenuBorder, -kMenuBorder);
    ImageCanvas itemCanvas;
    for (QAction* action : actions()) {
      TMenuItem* item = ItemOf(action);
      if (!item || !action->isVisible()) continue;
      QRect r = actionGeometry(action).translated(-origin);
      if (r.isEmpty()) continue;
      QStyleOptionMenuItem opt;
      initStyleOption(&opt, action);
      CurrentItem() = nullptr;
      itemCanvas.Bind(&buffer_, handle_, origin, client);
      itemCanvas.Reset(clMenu);
      item->AdvancedDrawItem(&itemCanvas, Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1),
                             StateOf(opt, item, false), false);
    }
  }

  TMenu* menu_;            // the menu shown (owned by its own owner)
  TMenuItem* parentItem_;  // whose sub-items show here
  QImage buffer_;
  ImageCanvas canvas_;
};

// The menu bar of a form whose main menu is owner-drawn.
class OwnerDrawMenuBar : public QMenuBar {
 public:
  OwnerDrawMenuBar(TMainMenu* menu, TCustomForm* form, QWidget* parent) : QMenuBar(parent), menu_(menu), form_(form) {
    setStyle(Style());
    setNativeMenuBar(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  TMainMenu* Menu() const { return menu_; }

 protected:
  void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override {
    QMenuBar::initStyleOption(option, action);
    CurrentItem() = ItemOf(action);
  }

  void paintEvent(QPaintEvent*) override {
    Guarded(menu_, [this] { Render(); });
    QPainter p(this);
    p.drawImage(0, 0, buffer_);
  }

 private:
  void Render() {
    QSize size = this->size().expandedTo(QSize(1, 1));
    if (buffer_.size() != size) buffer_ = QImage(size, QImage::Format_RGB32);
    buffer_.fill(ToQColor(clMenuBar));
    for (QAction* action : actions()) {
      TMenuItem* item = ItemOf(action);
      if (!item || !action->isVisible()) continue;
      QRect r = actionGeometry(action);
      if (r.isEmpty()) continue;
      QStyleOptionMenuItem opt;
      initStyleOption(&opt, action);
      CurrentItem() = nullptr;
      ImageCanvas canvas;
      canvas.Bind(&buffer_, form_->HandleAllocated() ? form_->Handle() : 0);
      canvas.Reset(clMenuBar);
      item->AdvancedDrawItem(&canvas, Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1),
                             StateOf(opt, item, true), true);
    }
  }

  TMainMenu* menu_;    // owned by the form's components
  TCustomForm* form_;  // owns the frame this bar lives in
  QImage buffer_;
};

void Connect(QAction* action, TMenuItem* item) {
  Cardinal command = item->Command();
  QObject::connect(action, &QAction::triggered, action, [command] {
    if (TMenuItem* it = MenuItemByCommand(command)) Guarded(it, [it] { it->Click(); });
  });
}

void Fill(OwnerDrawMenu* menu, TMenu* owner, TMenuItem* parent) {
  for (Integer i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!item->Visible()) continue;
    QAction* action;
    if (item->IsLine()) {
      action = menu->addSeparator();
    } else if (item->Count() > 0) {
      auto* sub = new OwnerDrawMenu(owner, item, menu);
      Fill(sub, owner, item);
      action = menu->addMenu(sub);
    } else {
      action = menu->addAction(QString::fromStdString(StripHotkey(item->Caption())));
      Connect(action, item);
    }
    action->setEnabled(item->Enabled() || item->IsLine());
    Place(item, menu, action);
  }
}

}  // namespace

// --- Registry ---

Cardinal RegisterMenuItem(TMenuItem* item) {
  std::lock_guard<std::mutex> g(Registry().lock);
  Cardinal c = Registry().next++;
  Registry().items[c] = item;
  return c;
}

void UnregisterMenuItem(TMenuItem* item) {
  std::lock_guard<std::mutex> g(Registry().lock);
  Registry().items.erase(item->Command());
  Registry().shown.erase(item->Command());
}

TMenuItem* MenuItemByCommand(Cardinal command) {
  std::lock_guard<std::mutex> g(Registry().lock);
  auto it = Registry().items.find(command);
  return it == Registry().items.end() ? nullptr : it->second;
}

TRect MenuItemScreenRect(const TMenuItem* item) {
  Placement p;
  {
    std::lock_guard<std::mutex> g(Registry().lock);
    auto it = Registry().shown.find(item->Command());
    if (it == Registry().shown.end()) return {};
    p = it->second;
  }
  if (!p.widget || !p.widget->isVisible()) return {};
  QRect r;
  if (auto* m = qobject_cast<QMenu*>(p.widget.data()))
    r = m->actionGeometry(p.action);
  else if (auto* b = qobject_cast<QMenuBar*>(p.widget.data()))
    r = b->actionGeometry(p.action);
  if (r.isEmpty()) return {};
  QPoint at = p.widget->mapToGlobal(r.topLeft());
  return Bounds(at.x(), at.y(), r.width(), r.height());
}

TMenuWindow* FindMenuWindow(HWND handle) {
  std::lock_guard<std::mutex> g(Registry().lock);
  auto it = Registry().windows.find(handle);
  return it == Registry().windows.end() ? nullptr : it->second;
}

HWND WindowFromDC(TCanvas* canvas) {
  if (auto* c = dynamic_cast<ImageCanvas*>(canvas)) return c->Window();
  if (auto* c = dynamic_cast<TControlCanvas*>(canvas)) {
    TControl* control = c->Control();
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w) w = control->Parent();
    return w && w->HandleAllocated() ? w->Handle() : 0;
  }
  return 0;
}

TSize SendMeasureItem(TMenuItem* item, Integer width, Integer height) {
  InitApplication();
  QImage scratch(1, 1, QImage::Format_RGB32);
  ImageCanvas canvas;
  canvas.Bind(&scratch, 0);
  canvas.Font()->Assign(Screen->MenuFont());
  item->MeasureItem(&canvas, width, height);
  return {width, height};
}

TSize MenuButtonSize() { return {19, 19}; }

bool MenuAnimation() {
  InitApplication();
  return QApplication::isEffectEnabled(Qt::UI_AnimateMenu);
}

void SetMenuAnimation(bool on) {
  InitApplication();
  QApplication::setEffectEnabled(Qt::UI_AnimateMenu, on);
}

void ExecOwnerDrawPopup(TPopupMenu* menu, Integer x, Integer y) {
  OwnerDrawMenu popup(menu, menu->Items(), nullptr);
  Fill(&popup, menu, menu->Items());
  popup.exec(QPoint(x, y));
}

QMenuBar* MakeMenuBar(QMenuBar* existing, TMainMenu* menu, QWidget* frame, TCustomForm* form) {
  bool ownerDraw = menu->OwnerDraw();
  auto* drawn = dynamic_cast<OwnerDrawMenuBar*>(existing);
  if (existing && (ownerDraw != (drawn != nullptr) || (drawn && drawn->Menu() != menu))) {
    delete existing;
    existing = nullptr;
  }
  QMenuBar* bar = existing ? existing : ownerDraw ? new OwnerDrawMenuBar(menu, form, frame) : new QMenuBar(frame);
  bar->clear();
  TMenuItem* root = menu->Items();
  for (Integer i = 0; i < root->Count(); ++i) {
    TMenuItem* top = root->Items(i);
    if (!top->Visible()) continue;
    if (!ownerDraw) {
      QMenu* sub = bar->addMenu(QString::fromStdString(top->Caption()));
      sub->setEnabled(top->Enabled());
      FillQtMenu(sub, top);
      continue;
    }
    QAction* action;
    if (top->Count() > 0) {
      auto* sub = new OwnerDrawMenu(menu, top, bar);
      Fill(sub, menu, top);
      action = bar->addMenu(sub);
      action->setText(QString::fromStdString(top->Caption()));
    } else {
      action = bar->addAction(QString::fromStdString(top->Caption()));
      Connect(action, top);
    }
    action->setEnabled(top->Enabled());
    Place(top, bar, action);
  }
  return bar;
}

// --- Key names of the US layout, as the desktop gives them ---

namespace {

struct KeyName {
  Byte scan;
  bool extended;
  const char* name;
};

constexpr KeyName kKeyNames[] = {
    {0x01, false, "Esc"},        {0x0E, false, "Backspace"},   {0x0F, false, "Tab"},
    {0x1C, false, "Enter"},      {0x1C, true, "Num Enter"},    {0x1D, false, "Ctrl"},
    {0x1D, true, "Right Ctrl"},  {0x2A, false, "Shift"},       {0x36, false, "Right Shift"},
    {0x37, false, "Num *"},      {0x38, false, "Alt"},         {0x38, true, "Right Alt"},
    {0x39, false, "Space"},      {0x3A, false, "Caps Lock"},   {0x45, false, "Pause"},
    {0x45, true, "Num Lock"},    {0x46, false, "Scroll Lock"}, {0x47, false, "Num 7"},
    {0x47, true, "Home"},        {0x48, false, "Num 8"},       {0x48, true, "Up"},
    {0x49, false, "Num 9"},      {0x49, true, "Page Up"},      {0x4A, false, "Num -"},
    {0x4B, false, "Num 4"},      {0x4B, true, "Left"},         {0x4C, false, "Num 5"},
    {0x4D, false, "Num 6"},      {0x4D, true, "Right"},        {0x4E, false, "Num +"},
    {0x4F, false, "Num 1"},      {0x4F, true, "End"},          {0x50, false, "Num 2"},
    {0x50, true, "Down"},        {0x51, false, "Num 3"},       {0x51, true, "Page Down"},
    {0x52, false, "Num 0"},      {0x52, true, "Insert"},       {0x53, false, "Num Del"},
    {0x53, true, "Delete"},      {0x35, true, "Num /"},        {0x5B, true, "Left Windows"},
    {0x5C, true, "Right Windows"}, {0x5D, true, "Application"},
};

// Scan codes of the printable keys, row by row.
constexpr const char* kRows[] = {"\x02" "1234567890-=", "\x10" "QWERTYUIOP[]", "\x1E" "ASDFGHJKL;'`",
                                 "\x2B" "\\ZXCVBNM,./"};

}  // namespace

AnsiString GetKeyNameText(LPARAM keyData) {
  Byte scan = static_cast<Byte>((keyData >> 16) & 0xFF);
  bool extended = (keyData >> 24) & 1;
  for (const KeyName& k : kKeyNames)
    if (k.scan == scan && k.extended == extended) return k.name;
  for (const KeyName& k : kKeyNames)
    if (k.scan == scan && !k.extended) return k.name;
  if (scan >= 0x3B && scan <= 0x44) return "F" + std::to_string(scan - 0x3A);
  if (scan == 0x57) return "F11";
  if (scan == 0x58) return "F12";
  for (const char* row : kRows) {
    Byte first = static_cast<Byte>(row[0]);
    size_t n = std::char_traits<char>::length(row) - 1;
    if (scan >= first && scan < first + n) return AnsiString(1, row[1 + scan - first]);
  }
  return {};
}

Cardinal MapVirtualKey(Cardinal code, Cardinal mapType) {
  if (mapType != MAPVK_VK_TO_VSC || code > 0xFF) return 0;
  // The keypad's own keys are told apart by their virtual keys.
  bool keypad = (code >= VK_NUMPAD0 && code <= VK_NUMPAD0 + 9) || code == VK_MULTIPLY || code == VK_ADD ||
                code == VK_SUBTRACT || code == VK_DECIMAL || code == VK_DIVIDE;
  return ScanCodeOf(static_cast<Word>(code), keypad);
}

}  // namespace vcl
