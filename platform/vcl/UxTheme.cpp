#include "vcl/UxTheme.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOption>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QStyleOptionProgressBar>
#include <qdrawutil.h>
#include <algorithm>
#include <map>
#include <set>

#include "rtl/CodePages.h"
#include "rtl/Strings.h"
#include "vcl/Gdi.h"
#include "vcl/Forms.h"
#include "vcl/QtCanvas.h"
#include "vcl/QtHost.h"
#include "vcl/WinApi.h"

namespace vcl {

// What an open theme handle stands for.
struct TThemeData {
  enum Class { Button, ComboBox, Spin, Header, Progress, Status } cls;
  HWND window = 0;
};

namespace {

struct ThemeClassInfo {
  TThemeData::Class cls;
  const char* name;
  Integer parts;                 // parts are 1 .. parts
  Integer states[5];             // states per part (index part - 1)
};

constexpr ThemeClassInfo kClasses[] = {
    {TThemeData::Button, "button", 4, {5, 8, 12, 2, 0}},
    {TThemeData::ComboBox, "combobox", 1, {4, 0, 0, 0, 0}},
    {TThemeData::Spin, "spin", 4, {4, 4, 4, 4, 0}},
    {TThemeData::Header, "header", 1, {3, 0, 0, 0, 0}},
    {TThemeData::Progress, "progress", 4, {1, 1, 1, 1, 0}},
    {TThemeData::Status, "status", 3, {1, 1, 1, 0, 0}},
};

const ThemeClassInfo& InfoOf(TThemeData::Class cls) { return kClasses[static_cast<int>(cls)]; }

struct ThemeState {
  bool active = true;
  Cardinal appProperties = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT;
  WideString colorScheme = u"NormalColor";
  std::set<TThemeData*> open;  // owned: freed by CloseThemeData
  std::map<HWND, TThemeData*> windowThemes;
};

ThemeState& ThemeStore() {
  static ThemeState* s = new ThemeState;  // lives as long as the process
  return *s;
}

bool IsOpen(HTHEME theme) { return theme && ThemeStore().open.count(theme) != 0; }

bool ValidPartState(const ThemeClassInfo& info, Integer part, Integer state) {
  if (part < 1 || part > info.parts) return false;
  return state >= 1 && state <= info.states[part - 1];
}

// Copies a wide text with its terminating zero into a buffer of size
// characters; false when it does not fit.
bool CopyWide(const WideString& text, char16_t* buffer, Integer size) {
  if (!buffer) return true;
  if (size < static_cast<Integer>(text.size()) + 1) return false;
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return true;
}

QStyle* Style() {
  InitApplication();
  return QApplication::style();
}

// Enabled, hot (mouse over) and pressed, as the four-state parts number them.
QStyle::State ButtonLikeState(Integer state) {
  QStyle::State s = QStyle::State_Active;
  if (state != 4) s |= QStyle::State_Enabled;
  if (state == 2) s |= QStyle::State_MouseOver;
  if (state == 3) s |= QStyle::State_Sunken;
  return s;
}

void InitOption(QStyleOption& opt, const QRect& r, QStyle::State state) {
  opt.rect = r;
  opt.state = state;
  opt.palette = QApplication::palette();
  opt.direction = Qt::LeftToRight;
  if (!(state & QStyle::State_Enabled)) opt.palette.setCurrentColorGroup(QPalette::Disabled);
}

// A raised button face with an arrow on it (combo drop-down, spin buttons).
void PaintArrowButton(QPainter& p, const QRect& r, Integer state, QStyle::PrimitiveElement arrow) {
  QStyle* style = Style();
  QStyleOptionButton face;
  InitOption(face, r, ButtonLikeState(state) | (state == 3 ? QStyle::State_On : QStyle::State_Raised));
  style->drawPrimitive(QStyle::PE_PanelButtonCommand, &face, &p);
  QStyleOption glyph;
  int side = std::max(5, std::min(r.width(), r.height()) * 3 / 5);
  QRect g(0, 0, side, side);
  g.moveCenter(r.center());
  if (state == 3) g.translate(1, 1);
  InitOption(glyph, g, ButtonLikeState(state));
  style->drawPrimitive(arrow, &glyph, &p);
}

// Indicators are square: the largest square centred in r.
QRect Square(const QRect& r) {
  int side = std::min(r.width(), r.height());
  QRect s(0, 0, side, side);
  s.moveCenter(r.center());
  return s;
}

void PaintButtonPart(QPainter& p, const QRect& r, Integer part, Integer state) {
  QStyle* style = Style();
  switch (part) {
    case BP_PUSHBUTTON: {
      QStyleOptionButton opt;
      QStyle::State s = ButtonLikeState(state == PBS_DEFAULTED ? PBS_NORMAL : state);
      InitOption(opt, r, s | (state == PBS_PRESSED ? QStyle::State_On : QStyle::State_Raised));
      if (state == PBS_DEFAULTED) {
        opt.features |= QStyleOptionButton::DefaultButton;
        opt.state |= QStyle::State_HasFocus;
      }
      style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p);
      break;
    }
    case BP_RADIOBUTTON:
    case BP_CHECKBOX: {
      // Four states (normal, hot, pressed, disabled) per check state:
      // unchecked, checked and, for check boxes, mixed.
      Integer check = (state - 1) / 4;
      Integer look = (state - 1) % 4 + 1;
      QStyleOptionButton opt;
      QStyle::State s = ButtonLikeState(look);
      // The style marks a glyph under the mouse no other way than by the
      // highlighted outline it gives the keyboard focus.
      if (look == 2) s |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
      s |= check == 0 ? QStyle::State_Off : check == 1 ? QStyle::State_On : QStyle::State_NoChange;
      InitOption(opt, Square(r), s);
      style->drawPrimitive(part == BP_CHECKBOX ? QStyle::PE_IndicatorCheckBox : QStyle::PE_IndicatorRadioButton,
                           &opt, &p);
      break;
    }
    case BP_GROUPBOX: {
      QStyleOptionFrame opt;
      InitOption(opt, r, state == GBS_DISABLED ? QStyle::State_None : QStyle::State_Enabled);
      opt.lineWidth = 1;
      opt.midLineWidth = 0;
      style->drawPrimitive(QStyle::PE_FrameGroupBox, &opt, &p);
      break;
    }
  }
}

void PaintStyled(QPainter& p, TThemeData::Class cls, Integer part, Integer state, const QRect& r) {
  QStyle* style = Style();
  switch (cls) {
    case TThemeData::Button:
      PaintButtonPart(p, r, part, state);
      break;
    case TThemeData::ComboBox:
      PaintArrowButton(p, r, state, QStyle::PE_IndicatorArrowDown);
      break;
    case TThemeData::Spin: {
      static constexpr QStyle::PrimitiveElement kArrows[] = {
          QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown, QStyle::PE_IndicatorArrowRight,
          QStyle::PE_IndicatorArrowLeft};
      PaintArrowButton(p, r, state, kArrows[part - 1]);
      break;
    }
    case TThemeData::Header: {
      QStyleOptionHeader opt;
      InitOption(opt, r, ButtonLikeState(state) | QStyle::State_Raised | QStyle::State_Horizontal);
      opt.orientation = Qt::Horizontal;
      opt.position = QStyleOptionHeader::Middle;
      style->drawControl(QStyle::CE_HeaderSection, &opt, &p);
      break;
    }
    case TThemeData::Progress: {
      QStyleOptionProgressBar opt;
      bool vertical = part == PP_BARVERT || part == PP_CHUNKVERT;
      InitOption(opt, r, QStyle::State_Enabled | (vertical ? QStyle::State_None : QStyle::State_Horizontal));
      opt.minimum = 0;
      opt.maximum = 1;
      opt.progress = 1;
      if (part == PP_BAR || part == PP_BARVERT) {
        opt.progress = 0;
        style->drawControl(QStyle::CE_ProgressBarGroove, &opt, &p);
      } else {
        // A chunk is a piece of the filled bar: the style's fill without
        // the groove's inset.
        QStyleOptionProgressBar fill = opt;
        fill.rect = r.adjusted(-1, -1, 1, 1);
        style->drawControl(QStyle::CE_ProgressBarContents, &fill, &p);
      }
      break;
    }
    case TThemeData::Status: {
      if (part == SP_GRIPPER) {
        QStyleOptionSizeGrip opt;
        InitOption(opt, r, QStyle::State_Enabled);
        opt.corner = Qt::BottomRightCorner;
        style->drawControl(QStyle::CE_SizeGrip, &opt, &p);
      } else {
        // A pane is a sunken one-pixel frame (the style draws none).
        QPalette pal = QApplication::palette();
        qDrawShadeRect(&p, r, pal, true, 1, 0, nullptr);
      }
      break;
    }
  }
}

// Moves every painted pixel of img by amount (0 to 1) towards colour,
// keeping its coverage.
void Tint(QImage& img, const QColor& colour, double amount) {
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      QRgb px = line[x];
      int a = qAlpha(px);
      if (a == 0) continue;
      // Premultiplied: the target colour is scaled by the pixel's coverage.
      auto mix = [&](int c, int t) { return static_cast<int>(c + (t * a / 255 - c) * amount + 0.5); };
      line[x] = qRgba(mix(qRed(px), colour.red()), mix(qGreen(px), colour.green()), mix(qBlue(px), colour.blue()), a);
    }
  }
}

// The part painted by the style on a transparent image of r's size, with
// the states the style draws alike told apart, then put on the canvas.
void PaintPart(QPainter& p, TThemeData::Class cls, Integer part, Integer state, const QRect& r) {
  QImage img(r.size(), QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  {
    QPainter ip(&img);
    ip.setRenderHint(QPainter::Antialiasing, true);
    PaintStyled(ip, cls, part, state, QRect(QPoint(0, 0), r.size()));
  }
  QPalette pal = QApplication::palette();
  if (cls == TThemeData::Header && state == HIS_HOT) Tint(img, pal.color(QPalette::Light), 0.5);
  if (cls == TThemeData::Header && state == HIS_PRESSED) Tint(img, pal.color(QPalette::Dark), 0.3);
  if (cls == TThemeData::Button && part == BP_GROUPBOX && state == GBS_DISABLED)
    Tint(img, pal.color(QPalette::Window), 0.6);
  p.drawImage(r.topLeft(), img);
}

const ThemeClassInfo* ClassByName(const char* name) {
  for (const auto& c : kClasses)
    if (rtl::SameText(name, c.name)) return &c;
  return nullptr;
}

}  // namespace

// --- Canvas entry ---

void TCanvas::DrawThemePart(const char* themeClass, Integer part, Integer state, const TRect& r, const TRect* clip) {
  const ThemeClassInfo* info = ClassByName(themeClass);
  if (!info || r.IsEmpty()) return;
  RequiredState();
  Changing();
  {
    SurfacePainter p(*Surface());
    QRect target(r.Left, r.Top, r.Width(), r.Height());
    QRect limit = target;
    if (clip) limit &= QRect(clip->Left, clip->Top, clip->Width(), clip->Height());
    if (!limit.isEmpty()) {
      p->setClipRect(limit, Qt::IntersectClip);
      PaintPart(*p, info->cls, part, state, target);
    }
  }
  Changed();
}

// --- The service ---

HTHEME OpenThemeData(HWND wnd, const char16_t* classList) {
  if (!ThemeStore().active || !classList) return nullptr;
  AnsiString list = rtl::ToAnsi(WideString(classList));
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == AnsiString::npos) end = list.size();
    AnsiString name = rtl::Trim(list.substr(start, end - start));
    if (const ThemeClassInfo* info = ClassByName(name.c_str())) {
      auto* theme = new TThemeData{info->cls, wnd};
      ThemeStore().open.insert(theme);
      if (wnd) ThemeStore().windowThemes[wnd] = theme;
      return theme;
    }
    start = end + 1;
  }
  return nullptr;
}

HRESULT CloseThemeData(HTHEME theme) {
  if (!IsOpen(theme)) return E_HANDLE;
  ThemeStore().open.erase(theme);
  for (auto it = ThemeStore().windowThemes.begin(); it != ThemeStore().windowThemes.end();)
    it = it->second == theme ? ThemeStore().windowThemes.erase(it) : std::next(it);
  delete theme;
  return S_OK;
}

HRESULT DrawThemeBackground(HTHEME theme, TCanvas* dc, Integer part, Integer state, const TRect* rect,
                            const TRect* clip) {
  if (!IsOpen(theme)) return E_HANDLE;
  if (!dc || !rect) return E_POINTER;
  const ThemeClassInfo& info = InfoOf(theme->cls);
  if (!ValidPartState(info, part, state)) return E_INVALIDARG;
  dc->DrawThemePart(info.name, part, state, *rect, clip);
  return S_OK;
}

bool IsThemePartDefined(HTHEME theme, Integer part, Integer state) {
  if (!IsOpen(theme)) return false;
  const ThemeClassInfo& info = InfoOf(theme->cls);
  return state > 0 ? ValidPartState(info, part, state) : part >= 1 && part <= info.parts;
}

bool IsThemeBackgroundPartiallyTransparent(HTHEME theme, Integer part, Integer state) {
  return IsOpen(theme) && theme->cls == TThemeData::Button && (part == BP_CHECKBOX || part == BP_RADIOBUTTON);
}

TColor GetThemeSysColor(HTHEME, Integer colorId) { return GetSysColor(colorId); }

bool IsThemeActive() { return ThemeStore().active; }
bool IsAppThemed() { return ThemeStore().active && (ThemeStore().appProperties & STAP_ALLOW_CONTROLS) != 0; }

HTHEME GetWindowTheme(HWND wnd) {
  auto it = ThemeStore().windowThemes.find(wnd);
  return it == ThemeStore().windowThemes.end() ? nullptr : it->second;
}

Cardinal GetThemeAppProperties() { return ThemeStore().appProperties; }
void SetThemeAppProperties(Cardinal flags) { ThemeStore().appProperties = flags; }

HRESULT GetCurrentThemeName(char16_t* fileName, Integer fileNameSize, char16_t* colorName, Integer colorNameSize,
                            char16_t* sizeName, Integer sizeNameSize) {
  if (!ThemeStore().active) return E_FAIL;
  // The look is the application's Qt style; its name stands for the file.
  WideString file = rtl::ToWide(Style()->name().toStdString());
  if (!CopyWide(file, fileName, fileNameSize) || !CopyWide(ThemeStore().colorScheme, colorName, colorNameSize) ||
      !CopyWide(u"NormalSize", sizeName, sizeNameSize))
    return E_INVALIDARG;
  return S_OK;
}

HRESULT DrawThemeParentBackground(HWND wnd, TCanvas* dc, const TRect* rect) {
  TWinControl* child = FindControl(wnd);
  if (!child) return E_HANDLE;
  if (!dc) return E_POINTER;
  TRect area = Rect(0, 0, child->Width(), child->Height());
  if (rect && !IntersectRect(area, area, *rect)) return S_OK;
  TWinControl* parent = child->Parent();
  if (!parent) return S_OK;
  TWinControlHost* host = parent->HandleAllocated() ? parent->Host() : nullptr;
  if (host && host->surface) {
    host->PaintBuffer();
    // The parent's buffer covers its whole widget, where the child's
    // widget sits at its own position.
    QPoint at = child->Host()->widget ? child->Host()->widget->pos() : QPoint(child->Left(), child->Top());
    TCanvas under;
    auto surface = std::make_unique<TCanvasSurface>();
    surface->image = &host->buffer;
    under.SetSurface(std::move(surface));
    TRect src = area;
    OffsetRect(src, at.x(), at.y());
    dc->BlitFrom(area, &under, src, SRCCOPY);
  } else {
    TBrush saved;
    saved.Assign(dc->Brush());
    dc->Brush()->SetColor(parent->Color());
    dc->FillRect(area);
    dc->Brush()->Assign(&saved);
  }
  return S_OK;
}

HRESULT EnableTheming(bool enable) {
  SetThemeActive(enable);
  return S_OK;
}

void SetThemeActive(bool active) {
  if (ThemeStore().active == active) return;
  ThemeStore().active = active;
  for (HWND h : EnumWindowHandles()) SendMessage(h, WM_THEMECHANGED);
}

void SetThemeColorSchemeName(const WideString& name) { ThemeStore().colorScheme = name; }

// --- What no caller of this program needs ---

HRESULT DrawThemeText(HTHEME, TCanvas*, Integer, Integer, const char16_t*, Integer, Cardinal, Cardinal,
                      const TRect*) {
  return E_NOTIMPL;
}
HRESULT GetThemeBackgroundContentRect(HTHEME, TCanvas*, Integer, Integer, const TRect*, TRect*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundExtent(HTHEME, TCanvas*, Integer, Integer, const TRect*, TRect*) { return E_NOTIMPL; }
HRESULT GetThemeTextExtent(HTHEME, TCanvas*, Integer, Integer, const char16_t*, Integer, Cardinal, const TRect*,
                           TRect*) {
  return E_NOTIMPL;
}
HRESULT GetThemeTextMetrics(HTHEME, TCanvas*, Integer, Integer, TTextMetrics*) { return E_NOTIMPL; }
HRESULT GetThemeBackgroundRegion(HTHEME, TCanvas*, Integer, Integer, const TRect*, TRegion**) { return E_NOTIMPL; }
HRESULT HitTestThemeBackground(HTHEME, TCanvas*, Integer, Integer, Cardinal, const TRect*, TRegion*, TPoint,
                               Word*) {
  return E_NOTIMPL;
}
HRESULT DrawThemeEdge(HTHEME, TCanvas*, Integer, Integer, const TRect*, Cardinal, Cardinal, TRect*) {
  return E_NOTIMPL;
}
HRESULT DrawThemeIcon(HTHEME, TCanvas*, Integer, Integer, const TRect*, TImageList*, Integer) { return E_NOTIMPL; }
HRESULT GetThemeColor(HTHEME, Integer, Integer, Integer, TColor*) { return E_NOTIMPL; }
HRESULT GetThemeMetric(HTHEME, TCanvas*, Integer, Integer, Integer, Integer*) { return E_NOTIMPL; }
HRESULT GetThemeString(HTHEME, Integer, Integer, Integer, char16_t*, Integer) { return E_NOTIMPL; }
HRESULT GetThemeBool(HTHEME, Integer, Integer, Integer, Integer*) { return E_NOTIMPL; }
HRESULT GetThemeInt(HTHEME, Integer, Integer, Integer, Integer*) { return E_NOTIMPL; }
HRESULT GetThemeEnumValue(HTHEME, Integer, Integer, Integer, Integer*) { return E_NOTIMPL; }
HRESULT GetThemePosition(HTHEME, Integer, Integer, Integer, TPoint*) { return E_NOTIMPL; }
HRESULT GetThemeFont(HTHEME, TCanvas*, Integer, Integer, Integer, LOGFONT*) { return E_NOTIMPL; }
HRESULT GetThemeRect(HTHEME, Integer, Integer, Integer, TRect*) { return E_NOTIMPL; }
HRESULT GetThemeMargins(HTHEME, TCanvas*, Integer, Integer, Integer, const TRect*, MARGINS*) { return E_NOTIMPL; }
HRESULT GetThemeIntList(HTHEME, Integer, Integer, Integer, INTLIST*) { return E_NOTIMPL; }
HRESULT SetWindowTheme(HWND, const char16_t*, const char16_t*) { return E_NOTIMPL; }
HRESULT GetThemeFilename(HTHEME, Integer, Integer, Integer, char16_t*, Integer) { return E_NOTIMPL; }
HBRUSH GetThemeSysColorBrush(HTHEME, Integer) { return nullptr; }
bool GetThemeSysBool(HTHEME, Integer) { return false; }
Integer GetThemeSysSize(HTHEME, Integer) { return 0; }
HRESULT GetThemeSysFont(HTHEME, Integer, LOGFONT*) { return E_NOTIMPL; }
HRESULT GetThemeSysString(HTHEME, Integer, char16_t*, Integer) { return E_NOTIMPL; }
HRESULT GetThemeSysInt(HTHEME, Integer, Integer*) { return E_NOTIMPL; }
HRESULT EnableThemeDialogTexture(HWND, Cardinal) { return E_NOTIMPL; }
bool IsThemeDialogTextureEnabled(HWND) { return false; }
HRESULT GetThemeDocumentationProperty(const char16_t*, const char16_t*, char16_t*, Integer) { return E_NOTIMPL; }

}  // namespace vcl
