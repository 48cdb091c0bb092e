// The desktop's system libraries as modules of this layer: names, load
// counts and export tables, plus the few kernel32 and user32 exports that
// live nowhere else.
#include <QBitmap>
#include <QRegion>
#include <QWidget>
#include <map>
#include <mutex>
#include <set>

#include "rtl/CodePages.h"
#include "rtl/Locale.h"
#include "rtl/Strings.h"
#include "vcl/QtCanvas.h"
#include "vcl/QtHost.h"
#include "vcl/UxTheme.h"
#include "vcl/DesktopComposition.h"
#include "vcl/Regions.h"
#include "vcl/WinApi.h"

namespace vcl {

namespace {

struct Export {
  const char* name;
  FARPROC address;
};

template <typename F>
FARPROC Address(F* f) {
  return reinterpret_cast<FARPROC>(f);
}

struct Module {
  const char* name;
  HMODULE handle;
  bool loadedAtStart;
  std::vector<Export> exports;
};

std::vector<Module> MakeModules() {
  std::vector<Module> modules;
  modules.push_back({"kernel32", 0x10000000, true, {{"GetLocaleInfoEx", Address(&GetLocaleInfoEx)}}});
  modules.push_back({"user32",
                     0x10100000,
                     true,
                     {{"UpdateLayeredWindow", Address(&UpdateLayeredWindow)},
                      {"SetLayeredWindowAttributes", Address(&SetLayeredWindowAttributes)}}});
  modules.push_back({"msimg32", 0x10300000, false, {{"AlphaBlend", Address(&AlphaBlend)}}});
  modules.push_back({"uxtheme",
                     0x10200000,
                     false,
                     {
                         {"OpenThemeData", Address(&OpenThemeData)},
                         {"CloseThemeData", Address(&CloseThemeData)},
                         {"DrawThemeBackground", Address(&DrawThemeBackground)},
                         {"DrawThemeText", Address(&DrawThemeText)},
                         {"GetThemeBackgroundContentRect", Address(&GetThemeBackgroundContentRect)},
                         {"GetThemeBackgroundExtent", Address(&GetThemeBackgroundExtent)},
                         {"GetThemeTextExtent", Address(&GetThemeTextExtent)},
                         {"GetThemeTextMetrics", Address(&GetThemeTextMetrics)},
                         {"GetThemeBackgroundRegion", Address(&GetThemeBackgroundRegion)},
                         {"HitTestThemeBackground", Address(&HitTestThemeBackground)},
                         {"DrawThemeEdge", Address(&DrawThemeEdge)},
                         {"DrawThemeIcon", Address(&DrawThemeIcon)},
                         {"IsThemePartDefined", Address(&IsThemePartDefined)},
                         {"IsThemeBackgroundPartiallyTransparent", Address(&IsThemeBackgroundPartiallyTransparent)},
                         {"GetThemeColor", Address(&GetThemeColor)},
                         {"GetThemeMetric", Address(&GetThemeMetric)},
                         {"GetThemeString", Address(&GetThemeString)},
                         {"GetThemeBool", Address(&GetThemeBool)},
                         {"GetThemeInt", Address(&GetThemeInt)},
                         {"GetThemeEnumValue", Address(&GetThemeEnumValue)},
                         {"GetThemePosition", Address(&GetThemePosition)},
                         {"GetThemeFont", Address(&GetThemeFont)},
                         {"GetThemeRect", Address(&GetThemeRect)},
                         {"GetThemeMargins", Address(&GetThemeMargins)},
                         {"GetThemeIntList", Address(&GetThemeIntList)},
                         {"SetWindowTheme", Address(&SetWindowTheme)},
                         {"GetThemeFilename", Address(&GetThemeFilename)},
                         {"GetThemeSysColor", Address(&GetThemeSysColor)},
                         {"GetThemeSysColorBrush", Address(&GetThemeSysColorBrush)},
                         {"GetThemeSysBool", Address(&GetThemeSysBool)},
                         {"GetThemeSysSize", Address(&GetThemeSysSize)},
                         {"GetThemeSysFont", Address(&GetThemeSysFont)},
                         {"GetThemeSysString", Address(&GetThemeSysString)},
                         {"GetThemeSysInt", Address(&GetThemeSysInt)},
                         {"IsThemeActive", Address(&IsThemeActive)},
                         {"IsAppThemed", Address(&IsAppThemed)},
                         {"GetWindowTheme", Address(&GetWindowTheme)},
                         {"EnableThemeDialogTexture", Address(&EnableThemeDialogTexture)},
                         {"IsThemeDialogTextureEnabled", Address(&IsThemeDialogTextureEnabled)},
                         {"GetThemeAppProperties", Address(&GetThemeAppProperties)},
                         {"SetThemeAppProperties", Address(&SetThemeAppProperties)},
                         {"GetCurrentThemeName", Address(&GetCurrentThemeName)},
                         {"GetThemeDocumentationProperty", Address(&GetThemeDocumentationProperty)},
                         {"DrawThemeParentBackground", Address(&DrawThemeParentBackground)},
                         {"EnableTheming", Address(&EnableTheming)},
                         {"DrawThemeTextEx", Address(&DrawThemeTextEx)},
                     }});
  modules.push_back({"dwmapi", 0x10400000, false, {{"DwmIsCompositionEnabled", Address(&DwmIsCompositionEnabled)}}});
  return modules;
}

struct ModuleState {
  std::mutex lock;
  std::vector<Module> modules = MakeModules();
  std::map<HMODULE, Integer> loads;          // LoadLibrary calls not yet freed
  std::set<AnsiString> hiddenModules;        // normalised names
  std::set<std::pair<AnsiString, AnsiString>> hiddenExports;  // module, export
};

ModuleState& State() {
  static ModuleState* s = new ModuleState;  // lives as long as the process
  return *s;
}

// "UXTHEME.DLL", "uxtheme.dll" and "UxTheme" name one module.
AnsiString NormalName(const AnsiString& name) {
  AnsiString n = rtl::LowerCase(rtl::Trim(name));
  if (n.size() > 4 && n.compare(n.size() - 4, 4, ".dll") == 0) n.resize(n.size() - 4);
  return n;
}

Module* FindByName(const AnsiString& name) {
  AnsiString n = NormalName(name);
  if (State().hiddenModules.count(n)) return nullptr;
  for (Module& m : State().modules)
    if (n == m.name) return &m;
  return nullptr;
}

Module* FindByHandle(HMODULE h) {
  for (Module& m : State().modules)
    if (m.handle == h && !State().hiddenModules.count(m.name)) return &m;
  return nullptr;
}

bool Loaded(const Module& m) { return m.loadedAtStart || State().loads[m.handle] > 0; }

}  // namespace

HMODULE GetModuleHandle(const AnsiString& name) {
  std::lock_guard<std::mutex> g(State().lock);
  Module* m = FindByName(name);
  return m && Loaded(*m) ? m->handle : 0;
}

HMODULE LoadLibrary(const AnsiString& name) {
  std::lock_guard<std::mutex> g(State().lock);
  Module* m = FindByName(name);
  if (!m) return 0;
  ++State().loads[m->handle];
  return m->handle;
}

bool FreeLibrary(HMODULE module) {
  std::lock_guard<std::mutex> g(State().lock);
  Module* m = FindByHandle(module);
  if (!m) return false;
  Integer& count = State().loads[m->handle];
  if (count > 0) {
    --count;
    return true;
  }
  return m->loadedAtStart;
}

FARPROC GetProcAddress(HMODULE module, const AnsiString& name) {
  std::lock_guard<std::mutex> g(State().lock);
  Module* m = FindByHandle(module);
  if (!m || !Loaded(*m) || State().hiddenExports.count({m->name, name})) return nullptr;
  for (const Export& e : m->exports)
    if (name == e.name) return e.address;
  return nullptr;
}

void SetModuleHidden(const AnsiString& name, bool hidden) {
  std::lock_guard<std::mutex> g(State().lock);
  if (hidden)
    State().hiddenModules.insert(NormalName(name));
  else
    State().hiddenModules.erase(NormalName(name));
}

void SetExportHidden(const AnsiString& module, const AnsiString& exportName, bool hidden) {
  std::lock_guard<std::mutex> g(State().lock);
  std::pair<AnsiString, AnsiString> key{NormalName(module), exportName};
  if (hidden)
    State().hiddenExports.insert(key);
  else
    State().hiddenExports.erase(key);
}

Integer ModuleLoadCount(const AnsiString& name) {
  std::lock_guard<std::mutex> g(State().lock);
  AnsiString n = NormalName(name);
  for (Module& m : State().modules)
    if (n == m.name) return State().loads[m.handle];
  return 0;
}

// --- kernel32 ---

Integer GetLocaleInfoEx(const char16_t* localeName, Cardinal lcType, char16_t* data, Integer size) {
  if (localeName && *localeName && !rtl::SameText(WideString(localeName), u"en-US")) return 0;
  const rtl::TFormatSettings& fs = rtl::FormatSettings();
  AnsiString value;
  switch (lcType) {
    case LOCALE_SLIST: value = AnsiString(1, fs.ListSeparator); break;
    case LOCALE_SDECIMAL: value = AnsiString(1, fs.DecimalSeparator); break;
    case LOCALE_STHOUSAND: value = AnsiString(1, fs.ThousandSeparator); break;
    case LOCALE_SCURRENCY: value = fs.CurrencyString; break;
    case LOCALE_SDATE: value = AnsiString(1, fs.DateSeparator); break;
    case LOCALE_STIME: value = AnsiString(1, fs.TimeSeparator); break;
    case LOCALE_SSHORTDATE: value = fs.ShortDateFormat; break;
    case LOCALE_SLONGDATE: value = fs.LongDateFormat; break;
    case LOCALE_S1159: value = fs.TimeAMString; break;
    case LOCALE_S2359: value = fs.TimePMString; break;
    case LOCALE_SNAME: value = "en-US"; break;
    case LOCALE_SENGLISHLANGUAGENAME: value = "English"; break;
    case LOCALE_SENGLISHCOUNTRYNAME: value = "United States"; break;
    case LOCALE_STIMEFORMAT: value = "h:mm:ss tt"; break;
    default: return 0;
  }
  WideString w = rtl::ToWide(value);
  Integer needed = static_cast<Integer>(w.size()) + 1;
  if (size == 0) return needed;
  if (!data || size < needed) return 0;
  std::copy(w.begin(), w.end(), data);
  data[w.size()] = 0;
  return needed;
}

// --- user32 ---

namespace {

// The shape of a window whose key-coloured pixels are left out.
void ApplyColorKey(TWinControlHost* host, TColor key) {
  if (!host->surface || !host->widget) return;
  QImage mask = host->buffer.createMaskFromColor(ToQColor(key).rgb(), Qt::MaskOutColor);
  host->widget->setMask(QBitmap::fromImage(mask));
}

}  // namespace

bool SetLayeredWindowAttributes(HWND wnd, TColor key, Byte alpha, Cardinal flags) {
  TWinControl* c = FindControl(wnd);
  if (!c || !c->Host() || !c->Host()->widget) return false;
  QWidget* w = c->Host()->widget;
  if (flags & LWA_ALPHA) w->window()->setWindowOpacity(alpha / 255.0);
  if (flags & LWA_COLORKEY) {
    c->Host()->PaintBuffer();
    ApplyColorKey(c->Host(), key);
  }
  return true;
}

bool SetWindowRgn(HWND wnd, const TRegion* region, bool redraw) {
  TWinControl* c = FindControl(wnd);
  if (!c || !c->Host() || !c->Host()->widget) return false;
  QWidget* w = c->Host()->widget;
  if (!region) {
    w->clearMask();
  } else {
    QRegion shape;
    for (const TRect& band : region->Rects()) shape += QRect(band.Left, band.Top, band.Width(), band.Height());
    w->setMask(shape);
  }
  if (redraw) w->update();
  return true;
}

bool GetWindowRgn(HWND wnd, TRegion* region) {
  TWinControl* c = FindControl(wnd);
  if (!c || !c->Host() || !c->Host()->widget) return false;
  const QRegion mask = c->Host()->widget->mask();
  if (mask.isEmpty()) return false;
  if (region) {
    TRegion result;
    for (const QRect& b : mask) result = result.Union(TRegion(Bounds(b.x(), b.y(), b.width(), b.height())));
    *region = result;
  }
  return true;
}

bool UpdateLayeredWindow(HWND wnd, TCanvas*, const TPoint* pptDst, const TSize* psize, TCanvas* dcSrc,
                         const TPoint* pptSrc, TColor key, const BLENDFUNCTION* blend, Cardinal flags) {
  TWinControl* c = FindControl(wnd);
  if (!c || !c->Host()) return false;
  TWinControlHost* host = c->Host();
  if (pptDst || psize) {
    TPoint at = pptDst ? *pptDst : TPoint{c->Left(), c->Top()};
    TSize size = psize ? *psize : TSize{c->Width(), c->Height()};
    c->SetBounds(at.X, at.Y, size.cx, size.cy);
  }
  if (dcSrc && dcSrc->Surface() && host->surface) {
    TPoint from = pptSrc ? *pptSrc : TPoint{};
    TCanvasSurface& s = *dcSrc->Surface();
    QImage pixels = s.image->copy(QRect(from.X + s.origin.x(), from.Y + s.origin.y(), c->Width(), c->Height()));
    host->SizeBuffer(std::max(1, c->Width()), std::max(1, c->Height()));
    QPainter p(&host->buffer);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, pixels);
    p.end();
    host->dirty = false;
    if (host->widget) host->widget->update();
  }
  if (host->widget) {
    if ((flags & ULW_ALPHA) && blend) host->widget->window()->setWindowOpacity(blend->SourceConstantAlpha / 255.0);
    if (flags & ULW_COLORKEY) ApplyColorKey(host, key);
  }
  return true;
}

bool AlphaBlend(TCanvas* dest, Integer xDest, Integer yDest, Integer wDest, Integer hDest, TCanvas* source,
                Integer xSrc, Integer ySrc, Integer wSrc, Integer hSrc, BLENDFUNCTION blend) {
  if (!dest || !source || wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0) return false;
  if (blend.BlendOp != AC_SRC_OVER || blend.AlphaFormat != 0) return false;
  dest->AlphaBlendFrom(Bounds(xDest, yDest, wDest, hDest), source, Bounds(xSrc, ySrc, wSrc, hSrc),
                       blend.SourceConstantAlpha);
  return true;
}

bool ClientToScreen(HWND wnd, TPoint* point) {
  TWinControl* c = FindControl(wnd);
  if (!c || !point) return false;
  *point = c->ClientToScreen(*point);
  return true;
}

bool ScreenToClient(HWND wnd, TPoint* point) {
  TWinControl* c = FindControl(wnd);
  if (!c || !point) return false;
  *point = c->ScreenToClient(*point);
  return true;
}

}  // namespace vcl
