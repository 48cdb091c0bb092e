#include "controls/LumMenuOfficeStyler.h"

#include <array>
#include <optional>

#include "rtl/CodePages.h"
#include "rtl/SystemInfo.h"
#include "vcl/Forms.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace controls {

using vcl::clBtnFace;
using vcl::clHighlight;
using vcl::clNone;
using vcl::clWindow;
using vcl::clWindowText;

namespace {

// The settings a preset may assign, in the order they are assigned.
enum Setting {
  BkgColor, BkgColorTo, MenuBorder,
  RootColor, RootColorTo, RootSelected, RootSelectedTo, RootSelectedBorder, RootSelectedMirror,
  RootSelectedMirrorTo, RootHover, RootHoverTo, RootHoverBorder, RootHoverText, RootDirection,
  RootHoverMirror, RootHoverMirrorTo, RootSelectedText,
  SelColor, SelColorTo, SelMirror, SelMirrorTo, SelBorder, SelCheck, SelCheckTo, SelRadio, SelRadioTo,
  SelCheckBorder, SelRadioBorder,
  IconColor, IconColorTo, IconCheck, IconCheckTo, IconCheckBorder, IconRadio, IconRadioTo, IconRadioBorder,
  IconSeparator,
  SepColor, SepColorTo,
  BtnDown, BtnDownTo, BtnHover, BtnHoverTo, BtnDownBorder, BtnHoverBorder,
  SettingCount
};

// RootDirection holds a TGradientDirection in its colour slot.
constexpr TColor kVertical = static_cast<TColor>(gdVertical);
constexpr TColor kHorizontal = static_cast<TColor>(gdHorizontal);

using Preset = std::array<std::optional<TColor>, SettingCount>;

struct Entry {
  Setting setting;
  TColor value;
};

Preset Make(std::initializer_list<Entry> entries) {
  Preset p;
  for (const Entry& e : entries) p[e.setting] = e.value;
  return p;
}

// The colours every 2003-style preset shares beyond its telling values.
void Office2003Checks(Preset& p, TColor border, TColor selBorder) {
  for (Setting s : {SelCheck, SelRadio}) p[s] = 0x3E80FE;
  for (Setting s : {SelCheckTo, SelRadioTo, IconCheckTo, IconRadioTo, RootSelectedMirror, RootSelectedMirrorTo,
                    RootHoverMirror, RootHoverMirrorTo, SelMirror, SelMirrorTo, SepColorTo})
    p[s] = clNone;
  for (Setting s : {SelCheckBorder, SelRadioBorder}) p[s] = selBorder;
  for (Setting s : {IconCheck, IconRadio}) p[s] = 0x6FC0FF;
  for (Setting s : {IconCheckBorder, IconRadioBorder}) p[s] = border;
  p[RootHoverBorder] = 0x6F4B4B;
  p[RootHoverText] = clWindowText;
  p[RootDirection] = kHorizontal;
  p[BtnDown] = 0x4E91FE;
  p[BtnDownTo] = 0x91D3FF;
  p[BtnHover] = 0xCCF4FF;
  p[BtnHoverTo] = 0x91D0FF;
  p[BtnDownBorder] = 0x800000;
  p[BtnHoverBorder] = 0x800000;
}

// The 2007, Vista and Windows 7 family: mirrored root states, a line
// between icon bar and items.
void Office2007Checks(Preset& p, TColor border) {
  for (Setting s : {SelCheck, SelRadio, IconCheck, IconRadio}) p[s] = 0x6FC0FF;
  for (Setting s : {SelCheckTo, SelRadioTo, IconCheckTo, IconRadioTo, SepColorTo}) p[s] = clNone;
  for (Setting s : {SelCheckBorder, SelRadioBorder, IconCheckBorder, IconRadioBorder, RootSelectedBorder,
                    RootHoverBorder, BtnDownBorder, BtnHoverBorder})
    p[s] = border;
  p[RootHoverText] = clWindowText;
  p[BtnDown] = 0x4E91FE;
  p[BtnDownTo] = 0x91D3FF;
  p[BtnHover] = 0xEBFDFF;
  p[BtnHoverTo] = 0xABEBFF;
}

Preset Preset2003(std::initializer_list<Entry> telling, TColor border, TColor selBorder) {
  Preset p = Make(telling);
  Office2003Checks(p, border, selBorder);
  return p;
}

const Preset& PresetOf(TOfficeStyle style) {
  static const std::array<Preset, 12>* presets = [] {
    auto* all = new std::array<Preset, 12>();  // built once, lives as long as the process
    auto& a = *all;
    a[static_cast<int>(osOffice2003Blue)] = Preset2003(
        {{BkgColor, 0xF6F6F6}, {BkgColorTo, 0xF6F6F6}, {MenuBorder, 0x962D00}, {RootColor, 0xF5BE9E},
         {RootColorTo, 0xF7CDB2}, {RootSelected, 0xFFEFE3}, {RootSelectedTo, 0xE7B593},
         {RootSelectedBorder, 0x962D00}, {RootHover, 0xCCF4FF}, {RootHoverTo, 0x9AD6FF}, {SelColor, 0xC2EEFF},
         {SelColorTo, clNone}, {SelBorder, 0x800000}, {IconColor, 0xFFEFE3}, {IconColorTo, 0xE4AD87},
         {SepColor, 0xCB8C6A}},
        0x800000, 0x800000);
    a[static_cast<int>(osOffice2003Silver)] = Preset2003(
        {{BkgColor, 0xF6F6F6}, {BkgColorTo, 0xF6F6F6}, {MenuBorder, 0x5E8D75}, {RootColor, 0xE5D7D7},
         {RootColorTo, 0xF7F3F3}, {RootSelected, 0xF1E9E8}, {RootSelectedTo, 0xCDB9BA},
         {RootSelectedBorder, 0x947C7C}, {RootHover, 0xCCF4FF}, {RootHoverTo, 0x9AD6FF}, {SelColor, 0xC2EEFF},
         {SelColorTo, clNone}, {SelBorder, 0x080000}, {IconColor, 0xFFF9F9}, {IconColorTo, 0xB99D9F},
         {SepColor, 0x8F6D6E}},
        0x6F4B4B, 0x6F4B4B);
    a[static_cast<int>(osOffice2003Olive)] = Preset2003(
        {{BkgColor, 0xF6F6F6}, {BkgColorTo, 0xF6F6F6}, {MenuBorder, 0x5E8D75}, {RootColor, 0xA8D9D9},
         {RootColorTo, 0xE4F0F2}, {RootSelected, 0xD5F0EC}, {RootSelectedTo, 0x9FCEC2},
         {RootSelectedBorder, 0x588060}, {RootHover, 0xCCF4FF}, {RootHoverTo, 0x9AD6FF}, {SelColor, 0xC2EEFF},
         {SelColorTo, clNone}, {SelBorder, 0x385D3F}, {IconColor, 0xEDFFFF}, {IconColorTo, 0x92C7B8},
         {SepColor, 0x588060}},
        0x385D3F, 0x385D3F);
    {
      // The classic look: no gradients, no direction and no radio box of
      // its own.
      Preset p = Preset2003(
          {{BkgColor, clWindow}, {BkgColorTo, clWindow}, {MenuBorder, 0x808080}, {RootColor, clBtnFace},
           {RootColorTo, clBtnFace}, {RootSelected, clBtnFace}, {RootSelectedTo, clNone},
           {RootSelectedBorder, 0x808080}, {RootHover, 0xEFD3C6}, {RootHoverTo, clNone}, {SelColor, 0xEFD3C6},
           {SelColorTo, clNone}, {SelBorder, 0xC66931}, {IconColor, clBtnFace}, {IconColorTo, clNone},
           {SepColor, 0x7A868A}},
          0xC66931, 0xC66931);
      p[RootHoverBorder] = 0xC66931;
      p[SelCheck] = p[SelRadio] = 0xD6BEB5;
      p[IconCheck] = 0xEFD3C6;
      p[BtnDown] = 0xE2B598;
      p[BtnDownTo] = clNone;
      p[BtnHover] = 0xEFD3C6;
      p[BtnHoverTo] = clNone;
      p[BtnDownBorder] = p[BtnHoverBorder] = 0xC66931;
      for (Setting s : {RootDirection, IconRadio, IconRadioTo, IconRadioBorder}) p[s].reset();
      a[static_cast<int>(osOfficeXP)] = p;
    }
    auto office2007 = [](TColor bar, TColor barTo, TColor bkg, TColor border, TColor icon, TColor direction) {
      Preset p = Make({{BkgColor, bkg}, {BkgColorTo, bkg}, {MenuBorder, border}, {RootColor, bar},
                       {RootColorTo, barTo}, {RootSelected, 0x76AFF1}, {RootSelectedTo, 0x4190F3},
                       {RootHover, 0xEBFDFF}, {RootHoverTo, 0xABEBFF}, {SelColor, 0xEBFDFF}, {SelColorTo, 0xABEBFF},
                       {SelBorder, 0x99CEDB}, {IconColor, icon}, {IconColorTo, icon}, {SepColor, 0xC5C5C5},
                       {RootSelectedMirror, 0x0E72F1}, {RootSelectedMirrorTo, 0x4C9FFD}, {RootHoverMirror, 0x69D6FF},
                       {RootHoverMirrorTo, 0x96E4FF}, {SelMirror, 0x69D6FF}, {SelMirrorTo, 0x96E4FF},
                       {RootDirection, direction}, {IconSeparator, 0xC5C5C5}});
      Office2007Checks(p, 0x99CEDB);
      return p;
    };
    a[static_cast<int>(osOffice2007Luna)] = office2007(0xF2DAC2, 0xF0D9C1, 0xF6F6F6, 0xC0C0C0, 0xEEEEE9, kVertical);
    a[static_cast<int>(osOffice2007Obsidian)] =
        office2007(0xB8B8B6, 0xA0A09E, 0xF6F6F6, 0xC0C0C0, 0xEEEEE9, kVertical);
    a[static_cast<int>(osOffice2007Silver)] =
        office2007(0xE5D7D7, 0xF7F3F3, 0xFAFAFA, 0x868686, 0xEFEFEF, kHorizontal);
    auto vista = [](TColor sel, TColor selTo, TColor rootSel, TColor rootSelTo, TColor selBorder) {
      Preset p = Make({{BkgColor, 0xEEEEEE}, {BkgColorTo, clNone}, {MenuBorder, 0x979797}, {RootColor, 0xFFFFFF},
                       {RootColorTo, 0xEEDBD4}, {RootSelected, rootSel}, {RootSelectedTo, rootSelTo},
                       {RootHover, 0xFFFFFF}, {RootHoverTo, 0xE7D9D3}, {SelColor, sel}, {SelColorTo, selTo},
                       {SelBorder, selBorder}, {IconColor, 0xEEEEEE}, {IconColorTo, clNone}, {SepColor, 0xE0E0E0},
                       {RootSelectedMirror, rootSelTo}, {RootSelectedMirrorTo, rootSel}, {RootHoverMirror, 0xE7D9D3},
                       {RootHoverMirrorTo, 0xF1E6E1}, {SelMirror, clNone}, {SelMirrorTo, clNone},
                       {RootDirection, kVertical}, {IconSeparator, 0xE0E0E0}});
      Office2007Checks(p, selBorder);
      return p;
    };
    a[static_cast<int>(osVista)] = vista(0xF4F1EB, 0xF3EBDA, 0xBBB8B6, 0xE1D0C9, 0xEBD8A8);
    a[static_cast<int>(osWindows7)] = vista(0xFCEBDC, 0xFCDBC1, 0xFCEBDC, 0xFCDBC1, 0xCEA27D);
    {
      Preset p = Preset2003(
          {{BkgColor, 0xF9FCFC}, {BkgColorTo, 0xF9FCFC}, {MenuBorder, 0x7A868A}, {RootColor, 0xD9E6E7},
           {RootColorTo, 0xD9E6E7}, {RootSelected, 0xF4F9F9}, {RootSelectedTo, clNone},
           {RootSelectedBorder, 0x7A868A}, {RootHover, 0xEFD3C6}, {RootHoverTo, clNone}, {SelColor, 0xEED2C1},
           {SelColorTo, clNone}, {SelBorder, 0xC56A31}, {IconColor, 0xFBFEFE}, {IconColorTo, 0xACC3C4},
           {SepColor, 0xB8C2C5}, {RootSelectedText, 0}},
          0xC56A31, 0xC56A31);
      p[RootHoverBorder] = 0xC56A31;
      for (Setting s : {RootSelectedMirror, RootSelectedMirrorTo, RootDirection, IconRadio, IconRadioTo,
                        IconRadioBorder, BtnDown, BtnDownTo, BtnHover, BtnHoverTo, BtnDownBorder, BtnHoverBorder})
        p[s].reset();
      a[static_cast<int>(osWhidbey)] = p;
    }
    {
      Preset p = Make({{BkgColor, clBtnFace}, {BkgColorTo, clBtnFace}, {MenuBorder, 0x808080}, {RootColor, clBtnFace},
                       {RootColorTo, clBtnFace}, {RootSelected, clHighlight}, {RootSelectedTo, clHighlight},
                       {RootHover, 0xC0C0C0}, {RootHoverTo, 0xC0C0C0}, {SelColor, 0xC0C0C0}, {SelColorTo, 0xC0C0C0},
                       {SelBorder, 0x808080}, {IconColor, clBtnFace}, {IconColorTo, clBtnFace}, {SepColor, 0x808080},
                       {RootSelectedMirror, clNone}, {RootSelectedMirrorTo, clNone}, {RootHoverMirror, clNone},
                       {RootHoverMirrorTo, clNone}, {SelMirror, clNone}, {SelMirrorTo, clNone},
                       {RootDirection, kVertical}, {IconSeparator, 0x808080}});
      Office2007Checks(p, 0x808080);
      p[BtnDown] = p[BtnDownTo] = 0xC0C0C0;
      p[BtnHover] = p[BtnHoverTo] = 0xC0C0C0;
      a[static_cast<int>(osTerminal)] = p;
    }
    return all;
  }();
  return (*presets)[static_cast<size_t>(style)];
}

void Apply(TCustomLumMenuStyler& s, Setting setting, TColor v) {
  TRootItem* root = s.RootItem();
  TSelectedItem* sel = s.SelectedItem();
  TIconBar* icon = s.IconBar();
  TButtonAppearance* btn = s.ButtonAppearance();
  switch (setting) {
    case BkgColor: s.Background()->SetColor(0, v); break;
    case BkgColorTo: s.Background()->SetColor(1, v); break;
    case MenuBorder: s.SetMenuBorderColor(v); break;
    case RootColor: root->SetColor(0, v); break;
    case RootColorTo: root->SetColor(1, v); break;
    case RootSelected: root->SetSelectedColor(0, v); break;
    case RootSelectedTo: root->SetSelectedColor(1, v); break;
    case RootSelectedBorder: root->SetSelectedBorderColor(v); break;
    case RootSelectedMirror: root->SetSelectedColor(2, v); break;
    case RootSelectedMirrorTo: root->SetSelectedColor(3, v); break;
    case RootHover: root->SetHoverColor(0, v); break;
    case RootHoverTo: root->SetHoverColor(1, v); break;
    case RootHoverBorder: root->SetHoverBorderColor(v); break;
    case RootHoverText: root->SetHoverTextColor(v); break;
    case RootDirection: root->SetGradientDirection(static_cast<TGradientDirection>(v)); break;
    case RootHoverMirror: root->SetHoverColor(2, v); break;
    case RootHoverMirrorTo: root->SetHoverColor(3, v); break;
    case RootSelectedText: root->SetSelectedTextColor(v); break;
    case SelColor: sel->SetColor(0, v); break;
    case SelColorTo: sel->SetColor(1, v); break;
    case SelMirror: sel->SetColorMirror(v); break;
    case SelMirrorTo: sel->SetColorMirrorTo(v); break;
    case SelBorder: sel->SetBorderColor(v); break;
    case SelCheck: sel->SetCheckColor(0, v); break;
    case SelCheckTo: sel->SetCheckColor(1, v); break;
    case SelRadio: sel->SetRadioColor(0, v); break;
    case SelRadioTo: sel->SetRadioColor(1, v); break;
    case SelCheckBorder: sel->SetCheckBorder(v); break;
    case SelRadioBorder: sel->SetRadioBorder(v); break;
    case IconColor: icon->SetColor(0, v); break;
    case IconColorTo: icon->SetColor(1, v); break;
    case IconCheck: icon->SetCheckColor(0, v); break;
    case IconCheckTo: icon->SetCheckColor(1, v); break;
    case IconCheckBorder: icon->SetCheckBorder(v); break;
    case IconRadio: icon->SetRadioColor(0, v); break;
    case IconRadioTo: icon->SetRadioColor(1, v); break;
    case IconRadioBorder: icon->SetRadioBorder(v); break;
    case IconSeparator: icon->SetSeparatorColor(v); break;
    case SepColor: s.Separator()->SetColor(0, v); break;
    case SepColorTo: s.Separator()->SetColor(1, v); break;
    case BtnDown: btn->SetDownColor(v); break;
    case BtnDownTo: btn->SetDownColorTo(v); break;
    case BtnHover: btn->SetHoverColor(v); break;
    case BtnHoverTo: btn->SetHoverColorTo(v); break;
    case BtnDownBorder: btn->SetDownBorderColor(v); break;
    case BtnHoverBorder: btn->SetHoverBorderColor(v); break;
    case SettingCount: break;
  }
}

// The first windowed control up the owner chain, from owner itself.
vcl::TWinControl* FirstWindowedOwner(vcl::TComponent* owner) {
  for (vcl::TComponent* c = owner; c; c = c->Owner())
    if (auto* w = dynamic_cast<vcl::TWinControl*>(c)) return w;
  return nullptr;
}

}  // namespace

// --- TNotifierWindow ---

TNotifierWindow::TNotifierWindow(vcl::TComponent* owner) : vcl::TWinControl(owner) {
  SetBounds(0, 0, 0, 0);
  SetVisible(false);
}

void TNotifierWindow::WndProc(vcl::TMessage& message) {
  if (message.Msg == vcl::WM_THEMECHANGED && OnThemeChange) OnThemeChange(this);
  vcl::TWinControl::WndProc(message);
}

Integer CurrentXPColorScheme() {
  rtl::OSVERSIONINFO version;
  version.dwOSVersionInfoSize = sizeof version;
  if (!rtl::GetVersionEx(&version)) return 0;
  if (!(version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion > 0))) return 0;
  vcl::HMODULE lib = vcl::LoadLibrary("uxtheme.dll");
  if (lib == 0) return 0;
  Integer scheme = 0;
  auto isActive = reinterpret_cast<decltype(&vcl::IsThemeActive)>(vcl::GetProcAddress(lib, "IsThemeActive"));
  auto themeName =
      reinterpret_cast<decltype(&vcl::GetCurrentThemeName)>(vcl::GetProcAddress(lib, "GetCurrentThemeName"));
  if (isActive && isActive() && themeName) {
    char16_t file[255] = {}, color[255] = {}, size[255] = {};
    if (themeName(file, 255, color, 255, size, 255) == vcl::S_OK) {
      vcl::AnsiString name = rtl::ToAnsi(color);
      if (name == "NormalColor")
        scheme = 1;
      else if (name == "HomeStead")
        scheme = 2;
      else if (name == "Metallic")
        scheme = 3;
    }
  }
  vcl::FreeLibrary(lib);
  return scheme;
}

// --- TLumMenuOfficeStyler ---

TLumMenuOfficeStyler::TLumMenuOfficeStyler(vcl::TComponent* owner) : TCustomLumMenuStyler(owner) {
  SetStyle(osOffice2003Blue);
  notifier_ = new TNotifierWindow(this);
  if (vcl::TWinControl* parent = FirstWindowedOwner(owner)) notifier_->SetParent(parent);
  notifier_->OnThemeChange = [this](vcl::TObject*) { ThemeChanged(); };
}

TLumMenuOfficeStyler::~TLumMenuOfficeStyler() = default;

void TLumMenuOfficeStyler::SetStyle(TOfficeStyle value) {
  style_ = value;
  if (value != osCustom) {
    const Preset& p = PresetOf(value);
    for (int i = 0; i < SettingCount; ++i)
      if (p[i]) Apply(*this, static_cast<Setting>(i), *p[i]);
  }
  if (auto* main = dynamic_cast<TLumMainMenu*>(Menu())) main->RedrawBar();
}

void TLumMenuOfficeStyler::ThemeChanged() {
  if (!autoThemeAdapt_) return;
  switch (CurrentXPColorScheme()) {
    case 1: SetStyle(osOffice2003Blue); break;
    case 2: SetStyle(osOffice2003Olive); break;
    case 3: SetStyle(osOffice2003Silver); break;
    default: SetStyle(osOfficeXP); break;
  }
}

void TLumMenuOfficeStyler::Loaded() {
  TCustomLumMenuStyler::Loaded();
  ThemeChanged();
}

void TLumMenuOfficeStyler::SetComponentStyle(REZORuvar AStyle) {
  static constexpr TOfficeStyle kMap[] = {
      osOffice2003Blue, osOffice2003Silver, osOffice2003Olive, osOfficeXP, osOffice2007Luna, osOffice2007Obsidian,
      osOfficeXP,       osWhidbey,          osCustom,          osOffice2007Silver, osVista, osWindows7, osTerminal};
  if (AStyle == tsCustom) return;
  SetStyle(kMap[static_cast<int>(AStyle)]);
}

}  // namespace controls
