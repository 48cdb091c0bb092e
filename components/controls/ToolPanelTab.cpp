// The tab strip itself: its settings and colour presets, the panel list,
// the panels taken over when the form has loaded, the tab geometry,
// painting and the scroll arrows of a vertical strip shorter than its tabs.
#include <algorithm>

#include "controls/ToolPanelTiming.h"
#include "controls/ToolPanels.h"
#include "rtl/Exceptions.h"
#include "rtl/Format.h"
#include "rtl/SystemInfo.h"
#include "rtl/WideText.h"
#include "vcl/Gdi.h"
#include "vcl/Resources.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace controls {

using vcl::Integer;
using vcl::TColor;
using vcl::TRect;

void TToolPanel::Assign(const TToolPanel& source) {
  Tag = source.Tag;
  Panel = source.Panel;
  Caption = source.Caption;
  Visible = source.Visible;
  ImageIndex = source.ImageIndex;
  State = source.State;
  openWidth_ = source.openWidth_;
}

void TPanelPersistence::Assign(const vcl::TPersistent* source) {
  if (const auto* p = dynamic_cast<const TPanelPersistence*>(source)) {
    AutoSave = p->AutoSave;
    AutoLoad = p->AutoLoad;
    INIFile = p->INIFile;
    Location = p->Location;
    RegistryUserKey = p->RegistryUserKey;
    return;
  }
  vcl::TPersistent::Assign(source);
}

TToolPanelGlyphs::TToolPanelGlyphs() {
  for (auto& g : glyphs_) g = std::make_unique<vcl::TBitmap>();
}

void TToolPanelGlyphs::Assign(const vcl::TPersistent* source) {
  if (const auto* p = dynamic_cast<const TToolPanelGlyphs*>(source)) {
    for (int i = 0; i < GlyphCount; ++i) glyphs_[i]->Assign(p->glyphs_[i].get());
    if (OnChange) OnChange(this);
    return;
  }
  vcl::TPersistent::Assign(source);
}

void TToolPanelGlyphs::SetGlyph(TGlyph g, vcl::TBitmap* value) {
  glyphs_[g]->Assign(value);
  if (OnChange) OnChange(this);
}

// ------------------------------------------------------------------ strip

TLumToolPanelTab::TLumToolPanelTab(vcl::TComponent* AOwner)
    : vcl::TCustomPanel(AOwner),
      panels_(std::make_unique<TToolPanels>()),
      panelGlyphs_(std::make_unique<TToolPanelGlyphs>()),
      persist_(std::make_unique<TPanelPersistence>()),
      tabGlyph_(std::make_unique<vcl::TBitmap>()),
      scrollArrows_(std::make_unique<vcl::TBitmap>()) {
  controlStyle_.Exclude(vcl::csSetCaption);
  hostForm_ = new TToolPanelForm(this, this);
  SetCaption("");
  SetAlign(vcl::alLeft);
  SetColor(vcl::clInfoBk);
  scrollArrows_->LoadFromResourceName(vcl::HInstance, "RUZ_UPDOWN");
  SetStyle(esOffice2003Blue);
  Font()->SetName("Tahoma");
}

TLumToolPanelTab::~TLumToolPanelTab() {
  *alive_ = false;
  UnhookParentForm();
  // The panels belong to the form and outlive the strip; they must not
  // call a strip that is gone.
  for (Integer i = 0; i < panels_->Count(); ++i)
    if (TLumToolPanel* p = panels_->Items(i)->Panel) {
      if (p->strip_ == this) p->strip_ = nullptr;
      if (p->listedIn_ == this) p->listedIn_ = nullptr;
    }
  panels_->Clear();
}

void TLumToolPanelTab::ForgetPanel(TLumToolPanel* panel) {
  panel->listedIn_ = nullptr;
  const Integer i = PanelIndex(panel);
  if (i < 0) return;
  if (Destroying()) {
    panels_->Items(i)->Panel = nullptr;
    return;
  }
  if (openIndex_ == i)
    openIndex_ = -1;
  else if (openIndex_ > i)
    --openIndex_;
  RemovePanel(panel);
  Invalidate();
}

void TLumToolPanelTab::SetComponentStyle(REZORuvar AStyle) { SetStyle(static_cast<TToolPanelStyle>(AStyle)); }

void TLumToolPanelTab::SetColorTo(TColor v) {
  colorTo_ = v;
  Invalidate();
}

void TLumToolPanelTab::SetImages(vcl::TImageList* v) {
  if (images_ == v) return;
  images_ = v;
  if (v) v->FreeNotification(this);
  Invalidate();
}

void TLumToolPanelTab::SetTabBorderColor(TColor v) {
  tabBorderColor_ = v;
  Invalidate();
}
void TLumToolPanelTab::SetTabColor(TColor v) {
  tabColor_ = v;
  Invalidate();
}
void TLumToolPanelTab::SetTabColorTo(TColor v) {
  tabColorTo_ = v;
  Invalidate();
}
void TLumToolPanelTab::SetTabWidth(Integer v) {
  tabWidth_ = v;
  Invalidate();
}
void TLumToolPanelTab::SetTabGlyph(vcl::TBitmap* v) {
  tabGlyph_->Assign(v);
  Invalidate();
}

void TLumToolPanelTab::SetStyle(TToolPanelStyle v) {
  style_ = v;
  if (const toolpanels::TStripColours* c = toolpanels::StripColoursOf(v)) {
    Font()->SetColor(c->FontColor);
    tabColor_ = c->TabColor;
    tabColorTo_ = c->TabColorTo;
    tabHoverColor_ = c->TabHoverColor;
    tabHoverColorTo_ = c->TabHoverColorTo;
    tabBorderColor_ = c->TabBorderColor;
    SetColor(c->Color);
    colorTo_ = c->ColorTo;
    if (c->StopsThemeAdapt) autoThemeAdapt_ = false;
  } else if (v == esCustom) {
    autoThemeAdapt_ = false;
  }
  Invalidate();
  if (!panels_) return;
  for (Integer i = 0; i < panels_->Count(); ++i)
    if (TLumToolPanel* p = panels_->Items(i)->Panel) p->SetStyle(v);
}

void TLumToolPanelTab::SetPosition(TPanelPosition v) {
  position_ = v;
  for (Integer i = 0; i < panels_->Count(); ++i)
    if (TLumToolPanel* p = panels_->Items(i)->Panel) p->SetVisible(false);
  if (hostForm_) hostForm_->Hide();
  switch (v) {
    case ppLeft: SetAlign(vcl::alLeft); break;
    case ppRight: SetAlign(vcl::alRight); break;
    case ppTop: SetAlign(vcl::alTop); break;
    case ppBottom: SetAlign(vcl::alBottom); break;
  }
  UpdateTabs(-1);
}

// --- the panel list ---

void TLumToolPanelTab::AddPanel(TLumToolPanel* panel) {
  TToolPanel* item = panels_->Add();
  item->Caption = panel->Caption();
  item->ImageIndex = panel->ImageIndex();
  item->Panel = panel;
  item->SetOpenWidth(panel->OpenWidth());
  panel->FreeNotification(this);
  panel->listedIn_ = this;
  UpdateTabs(-1);
}

void TLumToolPanelTab::RemovePanel(TLumToolPanel* panel) {
  if (panel) {
    const Integer i = PanelIndex(panel);
    if (i >= 0) panels_->Delete(i);
    if (panel->listedIn_ == this) panel->listedIn_ = nullptr;
  }
  for (Integer i = 0; i < panels_->Count(); ++i) {
    TLumToolPanel* p = panels_->Items(i)->Panel;
    if (!p || !p->Locked()) continue;
    if (IsVerticalStrip(position_))
      p->SetWidth(p->OpenWidth());
    else
      p->SetHeight(p->OpenWidth());
  }
  if (position_ == ppRight && Parent()) SetLeft(Parent()->ClientWidth());
  UpdateTabs(-1);
}

void TLumToolPanelTab::PanelChanged(TLumToolPanel* panel) {
  const Integer i = PanelIndex(panel);
  if (i < 0) return;
  TToolPanel* item = panels_->Items(i);
  item->Caption = panel->Caption();
  item->ImageIndex = panel->ImageIndex();
  item->SetOpenWidth(panel->OpenWidth());
  Invalidate();
}

Integer TLumToolPanelTab::PanelIndex(const TLumToolPanel* panel) const {
  if (!panels_) return -1;
  for (Integer i = 0; i < panels_->Count(); ++i)
    if (panels_->Items(i)->Panel == panel) return i;
  return -1;
}

TLumToolPanel* TLumToolPanelTab::PanelByName(const vcl::AnsiString& name) const {
  for (Integer i = 0; i < panels_->Count(); ++i)
    if (TLumToolPanel* p = panels_->Items(i)->Panel; p && p->Name() == name) return p;
  return nullptr;
}

Integer TLumToolPanelTab::VisibleTabCount() const {
  Integer n = 0;
  for (Integer i = 0; i < panels_->Count(); ++i)
    if (TLumToolPanel* p = panels_->Items(i)->Panel; p && !p->Locked() && !p->Floating() && !p->Hidden()) ++n;
  return n;
}

// --- tabs ---

vcl::TCanvas* TLumToolPanelTab::TabCanvas() {
  if (vcl::TCanvas* c = MeasuringCanvas()) return c;
  if (!measure_) measure_ = std::make_unique<vcl::TBitmap>(1, 1);
  return measure_->Canvas();
}

std::vector<Integer> TLumToolPanelTab::TabLengths() {
  vcl::TCanvas* c = TabCanvas();
  c->SetFont(Font());
  c->Font()->SetOrientation(0);
  std::vector<Integer> lengths;
  for (Integer i = 0; i < panels_->Count(); ++i) {
    const TToolPanel* item = panels_->Items(i);
    const TLumToolPanel* p = item->Panel;
    if (!p || p->Locked() || p->Hidden() || p->Docked()) {
      lengths.push_back(-1);
      continue;
    }
    const bool image = images_ && item->ImageIndex >= 0;
    lengths.push_back(toolpanels::TabLength(c->TextWidth(item->Caption), image, images_ ? images_->Width() : 0));
  }
  return lengths;
}

std::vector<toolpanels::TTabSpan> TLumToolPanelTab::TabSpans() {
  return toolpanels::LayOutTabs(TabLengths(), IsVerticalStrip(position_) ? scrollOffset_ : 0);
}

Integer TLumToolPanelTab::TabsLength() { return toolpanels::TabsLength(TabLengths()); }

Integer TLumToolPanelTab::TabAtPos(Integer x, Integer y) {
  const std::vector<Integer> lengths = TabLengths();
  const auto spans = toolpanels::LayOutTabs(lengths, IsVerticalStrip(position_) ? scrollOffset_ : 0);
  const bool vertical = IsVerticalStrip(position_);
  return toolpanels::TabAtPos(spans, vertical ? y : x, vertical ? Height() : Width(), toolpanels::TabsLength(lengths));
}

void TLumToolPanelTab::SetThickness(Integer v) {
  if (IsVerticalStrip(position_))
    SetWidth(v);
  else
    SetHeight(v);
}

void TLumToolPanelTab::UpdateTabs(Integer) {
  if (Destroying() || !panels_) return;
  const Integer visible = VisibleTabCount();
  // Without tabs a strip keeps a 2-pixel edge while it still has panels
  // (pinned, hidden or floating), where they can be dropped back; a strip
  // without panels takes no room.
  if (!Loading() && visible == 0) SetThickness(panels_->Count() > 0 ? 2 : 0);
  if ((IsVerticalStrip(position_) ? Width() : Height()) == 0 && visible > 0) SetThickness(23);
  if (hostForm_ && hostForm_->Visible()) {
    if (position_ == ppRight) hostForm_->SetHeight(Height());
    if (position_ == ppBottom) hostForm_->SetWidth(Width());
  }
  Invalidate();
}

void TLumToolPanelTab::ThemeAdapt() {
  bool active = false;
  char16_t scheme[255] = {};
  rtl::OSVERSIONINFO version;
  version.dwOSVersionInfoSize = sizeof version;
  if (rtl::GetVersionEx(&version) &&
      (version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1))) {
    if (vcl::HMODULE lib = vcl::LoadLibrary("uxtheme.dll")) {
      auto isActive = reinterpret_cast<decltype(&vcl::IsThemeActive)>(vcl::GetProcAddress(lib, "IsThemeActive"));
      auto themeName =
          reinterpret_cast<decltype(&vcl::GetCurrentThemeName)>(vcl::GetProcAddress(lib, "GetCurrentThemeName"));
      if (isActive && themeName && isActive()) {
        char16_t file[255] = {}, size[255] = {};
        const vcl::HRESULT hr = themeName(file, 255, scheme, 255, size, 255);
        if (hr != vcl::S_OK) {
          vcl::FreeLibrary(lib);
          throw rtl::Exception(rtl::Format("The desktop's colour scheme could not be read (error %.8X)",
                                           static_cast<unsigned>(hr)));
        }
        active = true;
      }
      vcl::FreeLibrary(lib);
    }
  }
  SetStyle(toolpanels::StyleForColorScheme(active, scheme));
}

// --- class-library overrides ---

void TLumToolPanelTab::Loaded() {
  vcl::TCustomPanel::Loaded();
  if (ComponentState().Contains(vcl::csDesigning)) return;
  // Every tool panel placed on the strip becomes one of its panels and
  // moves beside it onto the strip's parent.
  for (;;) {
    TLumToolPanel* p = nullptr;
    for (Integer i = 0; i < ControlCount() && !p; ++i) p = dynamic_cast<TLumToolPanel*>(Controls(i));
    if (!p) break;
    TToolPanel* item = panels_->Add();
    item->Caption = p->Caption();
    item->ImageIndex = p->ImageIndex();
    item->SetOpenWidth(p->OpenWidth());
    item->Panel = p;
    p->SetVisible(false);
    p->strip_ = this;
    p->listedIn_ = this;
    p->FreeNotification(this);
    p->SetParent(Parent());
  }
  SetThickness(tabWidth_);
  BringToFront();
  if (persist_->AutoLoad) LoadPanelLayout();
  if (autoThemeAdapt_) ThemeAdapt();
}

void TLumToolPanelTab::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TCustomPanel::Notification(component, operation);
  if (operation != vcl::opRemove) return;
  if (component == images_) images_ = nullptr;
  if (component == hostForm_) hostForm_ = nullptr;
  if (component == hookedForm_) {
    hookedForm_ = nullptr;
    hookId_ = 0;
  }
  // A panel being freed is no tool panel any more by the time its
  // component base tells us: it is found by address.
  if (!panels_) return;
  for (Integer i = 0; i < panels_->Count(); ++i) {
    TLumToolPanel* p = panels_->Items(i)->Panel;
    if (p && static_cast<vcl::TComponent*>(p) == component) {
      // While the strip goes too (its form freeing everything) the list
      // only forgets the panel.
      if (Destroying()) {
        panels_->Items(i)->Panel = nullptr;
        return;
      }
      RemovePanel(p);
      Invalidate();
      return;
    }
  }
}

void TLumToolPanelTab::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  const Integer oldLeft = Left();
  vcl::TCustomPanel::SetBounds(left, top, width, height);
  if (!panels_ || Loading() || ComponentState().Contains(vcl::csDesigning)) return;
  for (Integer i = 0; i < panels_->Count(); ++i) {
    TLumToolPanel* p = panels_->Items(i)->Panel;
    if (!p || !p->Visible() || p->Floating()) continue;
    if (IsVerticalStrip(position_))
      p->SetHeight(Height());
    else
      p->SetWidth(Width());
  }
  if (position_ == ppRight && hostForm_ && hostForm_->Visible() && Left() != oldLeft)
    hostForm_->SetLeft(hostForm_->Left() + Left() - oldLeft);
}

void TLumToolPanelTab::Resize() {
  vcl::TCustomPanel::Resize();
  scrollOffset_ = 0;
  UpdateTabs(-1);
}

void TLumToolPanelTab::Dispatch(vcl::TMessage& message) {
  switch (message.Msg) {
    case vcl::WM_ERASEBKGND: message.Result = 1; return;
    case vcl::WM_TIMER:
      if (message.WParam == toolpanels::kStripTimerId) {
        Timer();
        return;
      }
      break;
    case vcl::CM_MOUSELEAVE:
      vcl::TCustomPanel::Dispatch(message);
      MouseLeft();
      return;
    default: break;
  }
  vcl::TCustomPanel::Dispatch(message);
}

void TLumToolPanelTab::WndProc(vcl::TMessage& message) {
  const bool designing = ComponentState().Contains(vcl::csDesigning);
  if (message.Msg == vcl::WM_DESTROY) {
    windowDestroyed_ = true;
    if (timerWindow_) vcl::KillTimer(timerWindow_, toolpanels::kStripTimerId);
    timerWindow_ = 0;
    if (!designing && hostForm_) {
      // Panels the host form still shows go back beside the strip first:
      // they belong to the form, not to the host.
      while (hostForm_->ControlCount() > 0) {
        vcl::TControl* c = hostForm_->Controls(0);
        c->SetVisible(false);
        c->SetParent(Parent() && !Parent()->Destroying() ? Parent() : nullptr);
      }
      vcl::TCustomForm* host = hostForm_;
      hostForm_ = nullptr;
      vcl::Free(host);
    }
    UnhookParentForm();
  } else if (message.Msg == vcl::WM_THEMECHANGED && autoThemeAdapt_) {
    ThemeAdapt();
  }
  vcl::TCustomPanel::WndProc(message);
  if (message.Msg == vcl::WM_CREATE && !designing) {
    windowDestroyed_ = false;
    timerWindow_ = Handle();
    vcl::SetTimer(timerWindow_, toolpanels::kStripTimerId, toolpanels::AutoOpenCloseInterval(autoOpenCloseSpeed_));
    HookParentForm();
  }
}

// --- painting ---

void TLumToolPanelTab::Paint() {
  vcl::TCanvas* c = Canvas();
  const TRect client = ClientRect();
  const bool vertical = IsVerticalStrip(position_);
  if (colorTo_ == vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(Color());
    c->Pen()->SetColor(Color());
    c->Rectangle(client);
  } else {
    toolpanels::DrawGradient(c, Color(), colorTo_, vertical, client, 16);
  }
  c->SetFont(Font());
  if (vertical) c->Font()->SetOrientation(-900);
  const Integer gh = c->TextWidth("gh");
  const Integer L = client.Left, T = client.Top, R = client.Right, B = client.Bottom;
  const Integer imageWidth = images_ ? images_->Width() : 0;
  const Integer imageHeight = images_ ? images_->Height() : 0;
  for (const toolpanels::TTabSpan& tab : TabSpans()) {
    const TToolPanel* item = panels_->Items(tab.Item);
    const Integer p = tab.Start, t = tab.Length;
    const bool hot = tab.Item == hotTab_ && tabHoverColor_ != vcl::clNone;
    const TColor from = hot ? tabHoverColor_ : tabColor_;
    const TColor to = hot ? tabHoverColorTo_ : tabColorTo_;
    const TRect r = toolpanels::TabRect(position_, client, tabWidth_, p, t);
    if (tabGlyph_->Empty()) {
      if (to == vcl::clNone) {
        c->Brush()->SetStyle(vcl::bsSolid);
        c->Brush()->SetColor(from);
      } else {
        toolpanels::DrawGradient(c, from, to, true, r, 16);
        c->Brush()->SetStyle(vcl::bsClear);
      }
      c->Pen()->SetColor(tabBorderColor_);
      c->Pen()->SetStyle(vcl::psSolid);
      c->Pen()->SetWidth(1);
      c->Rectangle(r);
    } else {
      const Integer length = t + 8 + (images_ ? (vertical ? imageHeight : imageWidth) : 0);
      Integer x = p, y = T;
      switch (position_) {
        case ppLeft: x = L, y = p; break;
        case ppRight: x = R - tabWidth_, y = p; break;
        case ppTop: x = p, y = T; break;
        case ppBottom: x = p, y = B - tabWidth_; break;
      }
      toolpanels::DrawThreeSliceGlyph(c, tabGlyph_.get(), x, y, length, vertical);
    }
    const bool image = images_ && item->ImageIndex >= 0;
    if (image) {
      const Integer k = (tabWidth_ - imageWidth) / 2;
      Integer x = 0, y = 0;
      switch (position_) {
        case ppLeft: x = L + k, y = p + 6; break;
        case ppRight: x = R + 1 - imageWidth - k, y = p + 6; break;
        case ppTop: x = p + 6, y = T + k; break;
        case ppBottom: x = p + 6, y = B + 1 - imageWidth - k; break;
      }
      images_->Draw(c, x, y, item->ImageIndex);
    }
    Integer x = 0, y = 0;
    switch (position_) {
      case ppLeft: x = L + tabWidth_ - (tabWidth_ - gh) / 2, y = p + 4; break;
      case ppRight: x = R - (tabWidth_ - gh) / 2 + 4, y = p + 4; break;
      case ppTop:
      case ppBottom: x = p + 4, y = T + 4; break;
    }
    if (image) {
      if (vertical)
        y += imageHeight + 4;
      else
        x += imageWidth + 4;
    }
    c->Brush()->SetStyle(vcl::bsClear);
    c->TextOut(x, y, item->Caption);
  }
  if (vertical && TabsLength() > Height()) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(TRect{L, B - 9, R, B});
    const Integer w = scrollArrows_->Width(), h = scrollArrows_->Height();
    c->BlitFrom(TRect{L + 1, B - 9, L + 1 + w, B - 9 + h}, scrollArrows_->Canvas(), TRect{0, 0, w, h}, vcl::SRCCOPY,
                vcl::clWhite);
  }
}

void TLumToolPanelTab::ScrollTabs(Integer x, Integer y) {
  if (!IsVerticalStrip(position_) || y < Height() - 10) return;
  const Integer total = TabsLength();
  if (total <= Height()) return;
  if (x < 12) {
    if (scrollOffset_ < 0) {
      scrollOffset_ += 10;
      Invalidate();
    }
  } else if (x >= 13 && x <= 23) {
    if (Height() - total < scrollOffset_) {
      scrollOffset_ -= 10;
      Invalidate();
    }
  }
}

// ---------------------------------------------------------------- host form

TToolPanelForm::TToolPanelForm(vcl::TComponent* owner, TLumToolPanelTab* strip) : vcl::TForm(owner, 0), strip_(strip) {
  SetBorderStyle(vcl::bsNone);
  SetVisible(false);
  SetName("tabf" + strip->Name());
}

void TToolPanelForm::Dispatch(vcl::TMessage& message) {
  if (sizer_.Handle(this, message)) return;
  vcl::TForm::Dispatch(message);
  if (message.Msg != vcl::WM_NCHITTEST || !strip_) return;
  const Integer open = strip_->OpenIndex();
  if (open < 0 || open >= strip_->Panels()->Count()) return;
  TLumToolPanel* panel = strip_->Panels()->Items(open)->Panel;
  if (!panel || !panel->CanSize()) return;
  const Integer x = vcl::GET_X_LPARAM(message.LParam), y = vcl::GET_Y_LPARAM(message.LParam);
  const vcl::TPoint origin = ClientOrigin();
  if (strip_->Position() == ppRight && x - origin.X < 2) message.Result = toolpanels::kHitLeft;
  if (strip_->Position() == ppBottom && y - origin.Y < 2) message.Result = toolpanels::kHitTop;
}

// ------------------------------------------------------------ border sizing

namespace toolpanels {

bool TBorderSizer::Handle(vcl::TWinControl* window, vcl::TMessage& message) {
  const vcl::TPoint at{vcl::GET_X_LPARAM(message.LParam), vcl::GET_Y_LPARAM(message.LParam)};
  switch (message.Msg) {
    case vcl::WM_LBUTTONDOWN: {
      if (hit_ != 0) return true;
      const vcl::TPoint screen = window->ClientToScreen(at);
      const vcl::Integer hit = static_cast<vcl::Integer>(window->Perform(vcl::WM_NCHITTEST, 0, vcl::PointToLParam(screen)));
      if (hit != kHitLeft && hit != kHitRight && hit != kHitTop && hit != kHitBottom) return false;
      hit_ = hit;
      start_ = screen;
      bounds_ = window->BoundsRect();
      window->SetMouseCapture(true);
      window->Perform(vcl::WM_ENTERSIZEMOVE);
      return true;
    }
    case vcl::WM_MOUSEMOVE: {
      if (hit_ == 0) return false;
      const vcl::TPoint screen = window->ClientToScreen(at);
      const vcl::Integer dx = screen.X - start_.X, dy = screen.Y - start_.Y;
      vcl::TRect r = bounds_;
      switch (hit_) {
        case kHitLeft: r.Left = std::min(r.Left + dx, r.Right - 1); break;
        case kHitRight: r.Right = std::max(r.Right + dx, r.Left + 1); break;
        case kHitTop: r.Top = std::min(r.Top + dy, r.Bottom - 1); break;
        case kHitBottom: r.Bottom = std::max(r.Bottom + dy, r.Top + 1); break;
        default: break;
      }
      window->SetBounds(r.Left, r.Top, r.Width(), r.Height());
      return true;
    }
    case vcl::WM_LBUTTONUP:
      if (hit_ == 0) return false;
      hit_ = 0;
      window->SetMouseCapture(false);
      window->Perform(vcl::WM_EXITSIZEMOVE);
      return true;
    default: return false;
  }
}

}  // namespace toolpanels

TToolPanelFloatForm::TToolPanelFloatForm(vcl::TComponent* owner) : vcl::TForm(owner, 0) {
  SetBorderStyle(vcl::bsSizeToolWin);
  SetVisible(false);
}

TLumToolPanel* TToolPanelFloatForm::Client() const {
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* p = dynamic_cast<TLumToolPanel*>(Controls(i))) return p;
  return nullptr;
}

}  // namespace controls
