#include "dropdown/LumDropDown.h"

#include <vector>

#include "dropdown/VoeEdit.h"
#include "grid/draw/GridDraw.h"
#include "rtl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/PopupWindow.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

namespace {

// The screens as PlacePopup takes them.
std::vector<TMonitorArea> DropDownMonitorAreas() {
  std::vector<TMonitorArea> monitors;
  for (const TScreenArea& a : ScreenAreas()) monitors.push_back(TMonitorArea{a.Bounds, a.WorkArea});
  return monitors;
}

// The frame of a boxed selection look: the colours around its gradient.
struct DropDownSelectionFrame {
  TColor edge, border, bottomBorder, topBorder, mirror, mirrorTo;
};

const DropDownSelectionFrame* DropDownSelectionFrameOf(Byte style) {
  static const DropDownSelectionFrame frames[] = {
      {0xC3D9DF, 0x8DD7D3, 0xCAF8FF, 0xF4FEFF, 0x58D4FC, 0xB3F1FC},
      {0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone},
      {0xE0C5AE, 0xCEA27D, 0xFDEADB, 0xFDF4EB, clNone, clNone},
  };
  return style >= 1 && style <= 3 ? &frames[style - 1] : nullptr;
}

}  // namespace

TLumCustomDropDown::TLumCustomDropDown(TComponent* owner) : TCustomMaskEdit(owner) {
  SetBounds(Left(), Top(), 200, 21);
  if (!Designing()) CreateDropDownForm();
  CreateDropDownButton();
  controlStyle_.Exclude(csSetCaption);
  header_ = std::make_unique<THeaderAppearance>(this);
  footer_ = std::make_unique<TFooterAppearance>(this);
  buttonAppearance_ = std::make_unique<TLumButtonAppearance>();
  header_->OnChange = [this](TObject*) { AppearanceChangedWhileOpen(); };
  header_->OnButtonsChange = [this](TObject*) { AppearanceChangedWhileOpen(); };
  footer_->OnChange = [this](TObject*) { AppearanceChangedWhileOpen(); };
  footer_->OnButtonsChange = [this](TObject*) { AppearanceChangedWhileOpen(); };
  SetSelectionLook(1);
  SetPaintOverNative(true);
  UpdateButtonBounds();
}

TLumCustomDropDown::~TLumCustomDropDown() {
  if (form_) {
    // The pop-up may still be open; it must not call back into a
    // half-destroyed drop-down.
    form_->OnHide = nullptr;
    form_->SetOwnerDropDown(nullptr);
    Free(form_);
  }
  form_ = nullptr;
  button_ = nullptr;
}

void TLumCustomDropDown::CreateDropDownForm() {
  if (form_) return;
  form_ = new TDropDownForm(this);
  form_->SetOwnerDropDown(this);
  form_->SetBorderStyle(bsNone);
  form_->SetVisible(false);
  form_->SetBounds(form_->Left(), form_->Top(), dropDownWidth_, dropDownHeight_);
  form_->OnHide = [this](TObject*) { DropDownFormHide(); };
  form_->OnDestroy = [this](TObject*) { DropDownFormDestroy(); };
  form_->OnSizing = [this](TObject*) { DropDownFormSized(); };
  form_->OnMouseWheelDown = [this](TObject*, TShiftState, TPoint, bool&) { DropDownFormWheelDown(); };
  form_->OnMouseWheelUp = [this](TObject*, TShiftState, TPoint, bool&) { DropDownFormWheelUp(); };
  form_->OnKeyPress = [this](TObject*, WideChar& key) { DropDownFormKeyPress(key); };
  form_->OnKeyDown = [this](TObject*, Word& key, TShiftState shift) { DropDownFormKeyDown(key, shift); };
  form_->OnKeyUp = [this](TObject*, Word& key, TShiftState shift) { DropDownFormKeyUp(key, shift); };
}

void TLumCustomDropDown::CreateDropDownButton() {
  if (!button_) {
    button_ = new TDropDownEditButton(this);
    button_->SetParent(this);
    button_->OnClick = [this](TObject*) { ToggleFromClick(); };
    if (Designing()) button_->SetColor(clBtnFace);
  }
  UpdateDropDownButton();
}

void TLumCustomDropDown::UpdateDropDownButton() {
  if (!button_) return;
  button_->SetBounds(button_->Left(), button_->Top(), dropDownButtonWidth_, 17);
  button_->SetVisible(true);
  button_->SetFocusControl(this);
  button_->SetGlyph(glyph_ && !glyph_->Empty() ? glyph_.get() : nullptr);
}

void TLumCustomDropDown::SetDropDownButtonGlyph(const TBitmap* glyph) {
  if (glyph)
    glyph_->Assign(glyph);
  else
    glyph_ = std::make_unique<TBitmap>();
  if (!button_) return;
  if (glyph_->Empty())
    UpdateDropDownButton();
  else
    button_->SetGlyph(glyph_.get());
}

void TLumCustomDropDown::SetImages(TImageList* images) {
  if (images_ == images) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images) images->FreeNotification(this);
}

void TLumCustomDropDown::SetDropDownButtonWidth(Integer v) {
  if (v == dropDownButtonWidth_) return;
  dropDownButtonWidth_ = v;
  if (!button_) return;
  button_->SetButtonWidth(v);
  if (button_->HandleAllocated()) UpdateButtonBounds();
}

void TLumCustomDropDown::UpdateButtonBounds() {
  const Integer minHeight = EditMinimumHeight(Font());
  if (Height() < minHeight) {
    // The resize that follows places the button.
    SetBounds(Left(), Top(), Width(), minHeight);
  } else if (button_) {
    const Integer w = button_->ButtonWidth();
    if (Ctl3D() && BorderStyle() == bsSingle)
      button_->SetBounds(Width() - w - 4, 0, w, Height() - 4);
    else
      button_->SetBounds(Width() - w - (Ctl3D() ? 0 : 2), 1, w, Height() - 2);
    SetEditRect();
  }
  Invalidate();
}

void TLumCustomDropDown::SetEditRect() {
  TRect r{};
  Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  r.Bottom = ClientHeight() + 1;
  r.Right = ClientWidth() - (button_ ? button_->Width() : 0) - 3;
  const bool borderless = BorderStyle() == bsNone;
  r.Left = borderless ? 2 : 1;
  r.Top = borderless ? 3 : 1;
  editRect_ = r;
  if (!Ctl3D()) ++r.Left;
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TLumCustomDropDown::CreateParams(TCreateParams& params) {
  TCustomMaskEdit::CreateParams(params);
  params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TLumCustomDropDown::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  SetEditRect();
}

void TLumCustomDropDown::Resize() {
  TCustomMaskEdit::Resize();
  UpdateButtonBounds();
}

void TLumCustomDropDown::SetDropDownButtonHint(const rtl::AnsiString& hint) {
  if (hint == dropDownButtonHint_) return;
  dropDownButtonHint_ = hint;
  if (!button_) return;
  button_->SetHint(hint);
  button_->SetShowHint(!hint.empty());
}

bool TLumCustomDropDown::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  bool handled = TCustomMaskEdit::DoMouseWheelDown(shift, mousePos);
  MouseWheelDownHook();
  return handled;
}

bool TLumCustomDropDown::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  bool handled = TCustomMaskEdit::DoMouseWheelUp(shift, mousePos);
  MouseWheelUpHook();
  return handled;
}

void TLumCustomDropDown::SetDropDownWidth(Integer v) {
  if (v == dropDownWidth_) return;
  dropDownWidth_ = v;
  rememberedWidth_ = -1;
}

void TLumCustomDropDown::SetDropDownHeight(Integer v) {
  if (v == dropDownHeight_) return;
  dropDownHeight_ = v;
  rememberedHeight_ = -1;
}

void TLumCustomDropDown::SetEditorEnabled(bool v) {
  editorEnabled_ = v;
  if (v)
    controlStyle_.Include(csDoubleClicks);
  else
    controlStyle_.Exclude(csDoubleClicks);
}

void TLumCustomDropDown::SetText(const rtl::AnsiString& value) {
  const rtl::AnsiString shown = FormatEntryText(editKind_, precision_, value);
  TCustomMaskEdit::SetText(shown);
  committedText_ = shown;
  SetModified(false);
}

void TLumCustomDropDown::SetDropDownControl(TWinControl* control) {
  if (control == dropDownControl_) return;
  if (dropDownControl_) dropDownControl_->RemoveFreeNotification(this);
  dropDownControl_ = control;
  if (control) {
    control->FreeNotification(this);
    // Filling the pop-up takes the control's own size away; the pop-up
    // is sized from what it had when it was handed over.
    contentSize_ = TSize{control->Width(), control->Height()};
  }
  if (!Designing()) PlaceDropDownControl();
}

void TLumCustomDropDown::SetLinkedControl(TWinControl* control) {
  if (control == linkedControl_) return;
  if (linkedControl_) linkedControl_->RemoveFreeNotification(this);
  linkedControl_ = control;
  if (control) control->FreeNotification(this);
}

void TLumCustomDropDown::Notification(TComponent* component, TOperation operation) {
  TCustomMaskEdit::Notification(component, operation);
  if (operation != opRemove || Destroying()) return;
  if (component == dropDownControl_) SetDropDownControl(nullptr);
  if (component == linkedControl_) linkedControl_ = nullptr;
  if (images_ && component == static_cast<TComponent*>(images_)) {
    images_ = nullptr;
    Invalidate();
  }
  if (component == form_) form_ = nullptr;
  if (component == button_) button_ = nullptr;
}

void TLumCustomDropDown::BeforeDropDown() {
  if (OnBeforeDropDown) OnBeforeDropDown(this);
}

void TLumCustomDropDown::FocusLinkedControl() {
  if (linkedControl_ && linkedControl_->TabStop() && linkedControl_->CanFocus() && !linkedControl_->Focused())
    linkedControl_->SetFocus();
}

void TLumCustomDropDown::PlaceDropDownControl() {
  if (!form_ || !dropDownControl_) return;
  dropDownControl_->SetParent(form_);
  dropDownControl_->SetTop(header_ && header_->Visible() ? header_->Height() + 2 : dropDownBorderWidth_);
  dropDownControl_->SetAlign(alClient);
}

void TLumCustomDropDown::UpdateDropDownSize() {
  if (!form_) return;
  bool content = dropDownControl_ && dropDownControl_->Visible();
  Integer w = dropDownWidth_ > 0 ? dropDownWidth_ : content ? contentSize_.cx : Width();
  Integer h = dropDownHeight_;
  if (h <= 0) {
    h = 2 * dropDownBorderWidth_;
    if (header_->Visible()) h += header_->Height();
    if (footer_->Visible()) h += footer_->Height();
    if (content) h += contentSize_.cy;
  }
  form_->SetBounds(form_->Left(), form_->Top(), w, h);
}

void TLumCustomDropDown::DropDown() {
  if (Designing() || !form_ || form_->Visible() || !Enabled() || ReadOnly()) return;
  BeforeDropDown();
  form_->SetShowShadow(dropDownShadow_);
  form_->UpdateHeaderFooter();
  form_->SetBounds(Left(), Top(), form_->Width(), form_->Height());
  UpdateDropDownSize();
  PlaceDropDownControl();
  form_->Constraints()->MinWidth = 80;
  form_->Constraints()->MinHeight = 50;
  if (dropDownControl_) {
    dropDownControl_->OnKeyDown = [this](TObject*, Word& key, TShiftState shift) { ControlKeyDown(key, shift); };
    dropDownControl_->OnKeyUp = [this](TObject*, Word& key, TShiftState shift) { ControlKeyUp(key, shift); };
    dropDownControl_->OnKeyPress = [this](TObject*, WideChar& key) { ControlKeyPress(key); };
  }

  TPoint p = Parent() ? Parent()->ClientToScreen(TPoint{Left(), Top()}) : ClientToScreen(TPoint{0, 0});
  TRect placed = PlacePopup(p, Height(), TSize{form_->Width(), form_->Height()}, dropPosition_,
                            DropDownMonitorAreas(), PrimaryWorkArea());

  bool acceptdrop = true;
  if (OnDropDown) OnDropDown(this, acceptdrop);
  if (!acceptdrop) return;

  Integer w = rememberedWidth_ != -1 ? rememberedWidth_ : placed.Width();
  Integer h = rememberedHeight_ != -1 ? rememberedHeight_ : placed.Height();
  lastPlacement_ = TRect{placed.Left, placed.Top, placed.Left + w, placed.Top + h};

  form_->SetBounds(placed.Left, placed.Top, 0, 0);
  form_->ShowPopup();
  droppedDown_ = true;
  form_->SetBounds(placed.Left, placed.Top, w, h);
  FocusLinkedControl();
}

void TLumCustomDropDown::HideDropDown(bool cancelled) {
  if (Designing() || !form_ || !form_->Visible()) return;
  rememberedWidth_ = form_->Width();
  rememberedHeight_ = form_->Height();
  form_->HidePopup();
  Application->CancelHint();
  if (cancelled) SetText(committedText_);
  if (OnDropUp) OnDropUp(this, cancelled);
}

void TLumCustomDropDown::DropDownFormHide() {
  droppedDown_ = false;
  if (TabStop() && CanFocus() && !Focused() && !Destroying()) SetFocus();
}

void TLumCustomDropDown::ToggleFromClick() {
  if (Designing() || !form_ || form_->Visible()) return;
  if (rtl::GetTickCount() - form_->LastDeactivateTick() > ReopenGuardMs) DropDown();
}

void TLumCustomDropDown::PaintFocusedText() {
  if (editorEnabled_ || !Focused() || Designing()) return;
  TCanvas* c = OverlayCanvas();
  // The box is placed in window coordinates, from the outer edge.
  const TPoint o = WidgetClientOffset();
  TRect box{2 - o.X, 2 - o.Y, Width() - dropDownButtonWidth_ - 1 - o.X, Height() - 2 - o.Y};
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetStyle(psSolid);
  c->Brush()->SetColor(clHighlight);
  c->Brush()->SetStyle(bsSolid);
  c->Rectangle(box);
  TRect text{box.Left + 2, box.Top, box.Right - 3, box.Bottom};
  c->Font()->Assign(Font());
  c->Font()->SetColor(clHighlightText);
  c->Brush()->SetStyle(bsClear);
  c->DrawText(Text(), text, DT_SINGLELINE | DT_VCENTER);
}

void TLumCustomDropDown::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomMaskEdit::MouseUp(button, shift, x, y);
  if (button == mbLeft && (!editorEnabled_ || ReadOnly())) Invalidate();
}

void TLumCustomDropDown::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomMaskEdit::MouseDown(button, shift, x, y);
  if (button == mbLeft && !editorEnabled_) ToggleFromClick();
}

// Keys pressed while the pop-up or its content is active reach the edit as
// its own key messages with key data 0.
void TLumCustomDropDown::DropDownFormKeyPress(WideChar& key) { Perform(WM_CHAR, key, 0); }
void TLumCustomDropDown::DropDownFormKeyDown(Word& key, TShiftState) { Perform(WM_KEYDOWN, key, 0); }
void TLumCustomDropDown::DropDownFormKeyUp(Word& key, TShiftState) { Perform(WM_KEYUP, key, 0); }
void TLumCustomDropDown::ControlKeyDown(Word& key, TShiftState) { Perform(WM_KEYDOWN, key, 0); }
void TLumCustomDropDown::ControlKeyUp(Word& key, TShiftState) { Perform(WM_KEYUP, key, 0); }
void TLumCustomDropDown::ControlKeyPress(WideChar& key) { Perform(WM_CHAR, key, 0); }

void TLumCustomDropDown::ToggleFromKey() {
  if (droppedDown_)
    HideDropDown(false);
  else
    DropDown();
}

void TLumCustomDropDown::CloseOrOpenByKey(Word key) {
  if (key == VK_RETURN) HideDropDown(false);
  if (key == VK_ESCAPE) HideDropDown(true);
  if (key == VK_F4) {
    if (form_ && form_->Visible())
      HideDropDown(false);
    else
      DropDown();
  }
}

void TLumCustomDropDown::WantSpecialKey(TMessage& m) {
  TCustomForm* form = nullptr;
  for (TWinControl* p = Parent(); p && !form; p = p->Parent()) form = dynamic_cast<TCustomForm*>(p);
  if (!form) return;
  if (!form->KeyPreview()) {
    // The owner of an in-place editor (the grid) sees Escape and Enter as
    // its own keys.
    if (m.WParam == VK_ESCAPE) {
      SelectAll();
      SetModified(false);
      m.WParam = 0;
      m.Result = 0;
      if (Parent()) {
        PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
      }
    } else if (m.WParam == VK_RETURN && Parent() && Parent()->Focused()) {
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
      PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
  }
  TCustomMaskEdit::Dispatch(m);
  if (m.WParam == VK_ESCAPE && droppedDown_) m.Result = 1;
}

void TLumCustomDropDown::Dispatch(TMessage& m) {
  if (m.Msg == CM_WANTSPECIALKEY) {
    WantSpecialKey(m);
    return;
  }
  if (m.Msg == WM_GETDLGCODE) {
    TCustomMaskEdit::Dispatch(m);
    m.Result = DLGC_WANTARROWS;
    return;
  }
  if (m.Msg == CM_FONTCHANGED) {
    TCustomMaskEdit::Dispatch(m);
    if (HandleAllocated()) SetEditRect();
    return;
  }
  if (m.Msg == CM_ENABLEDCHANGED) {
    TCustomMaskEdit::Dispatch(m);
    if (button_) button_->SetEnabled(Enabled());
    return;
  }
  if (m.Msg == WM_PAINT) {
    TCustomMaskEdit::Dispatch(m);
    PaintFocusedText();
    return;
  }
  if (EntryMessage(m)) return;
  if (m.Msg == WM_CUT) {
    // Only an edit the user may type in gives text away.
    if (editorEnabled_ && !ReadOnly()) TCustomMaskEdit::Dispatch(m);
    return;
  }
  if (m.Msg == EM_SETREADONLY) {
    TCustomMaskEdit::Dispatch(m);
    // The arrow greys with the edit's read-only state.
    if (button_) button_->Invalidate();
    return;
  }
  if (m.Msg != WM_KEYDOWN || Designing()) {
    TCustomMaskEdit::Dispatch(m);
    return;
  }
  Word key = static_cast<Word>(m.WParam);
  if (GetKeyState(VK_MENU) < 0 && (key == VK_UP || key == VK_DOWN)) {
    // Consumed here: the class library would otherwise hand the same key
    // with Alt to KeyDown, which toggles too.
    ToggleFromKey();
    return;
  }
  if (!editorEnabled_ && Enabled()) {
    if (!ReadOnly()) CloseOrOpenByKey(key);
    if (key == VK_RETURN || key == VK_ESCAPE)
      TCustomMaskEdit::Dispatch(m);
    else
      m.Result = 1;  // neither the field nor OnKeyDown sees it
    return;
  }
  if (GetKeyState(VK_CONTROL) < 0 && (key == VK_TAB || key == VK_RETURN)) {
    TCustomMaskEdit::Dispatch(m);
    return;
  }
  if (key == VK_DELETE && EntryDelete(m)) return;
  TCustomMaskEdit::Dispatch(m);
  CloseOrOpenByKey(key);
}

void TLumCustomDropDown::KeyDown(Word& key, TShiftState shift) {
  TCustomMaskEdit::KeyDown(key, shift);
  if (shift.Contains(ssAlt) && (key == VK_UP || key == VK_DOWN)) ToggleFromKey();
}

void TLumCustomDropDown::KeyPress(WideChar& key) {
  TCustomMaskEdit::KeyPress(key);
  if (key == 13) key = 0;
}

void TLumCustomDropDown::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "SelectionColorStyle", [this](TReader& r) { selectionColorStyle_ = static_cast<Byte>(r.ReadInteger()); },
      [this](TWriter& w) { w.WriteInteger(selectionColorStyle_); }, true);
}

void TLumCustomDropDown::SetSelectionLook(Byte style) {
  selectionColorStyle_ = style;
  static const TColor looks[3][2] = {{0xD7FFFD, 0x58D4FC}, {0xFDF8F1, 0xFCEFD5}, {0xFCEBDC, 0xFCDBC1}};
  if (style < 1 || style > 3) return;
  selectionColor_ = looks[style - 1][0];
  selectionColorTo_ = looks[style - 1][1];
}

void TLumCustomDropDown::DrawSelectionBackground(TCanvas* canvas, TRect r, Integer part, TColor bkColor) {
  if (selectionColorStyle_ == 0) {
    canvas->Brush()->SetColor(selectionColor_);
    canvas->Pen()->SetColor(selectionColor_);
    canvas->FillRect(r);
    return;
  }
  const DropDownSelectionFrame* f = DropDownSelectionFrameOf(selectionColorStyle_);
  if (!f) return;
  grid::DrawSelectionBox(canvas, selectionColor_, selectionColorTo_, f->mirror, f->mirrorTo, f->topBorder,
                         f->bottomBorder, f->border, f->edge, bkColor, r, static_cast<Byte>(part));
}

void TLumCustomDropDown::DrawGradientBackground(TCanvas* canvas, TColor color, TGradientDirection direction,
                                                TRect r, Integer steps, TColor colorTo) {
  DrawGradient(canvas, color, colorTo, steps, r, direction == TGradientDirection::gdHorizontal);
}

namespace {

template <class Bar>
void ApplyDropDownBarStyle(Bar& bar, const TBarStyle& style) {
  if (style.Color) bar.SetColor(*style.Color);
  if (style.ColorTo) bar.SetColorTo(*style.ColorTo);
  if (style.FontColor) bar.Font()->SetColor(*style.FontColor);
  if (style.BorderColor) bar.SetBorderColor(*style.BorderColor);
}

}  // namespace

void TLumCustomDropDown::SetComponentStyle(REZORuvar style) {
  if (style == controls::tsCustom) return;
  const TPopupStyle& p = PopupStyle(style);
  if (p.DropDownColor) dropDownColor_ = *p.DropDownColor;
  if (p.DropDownColorTo) dropDownColorTo_ = *p.DropDownColorTo;
  if (p.DropDownBorderColor) dropDownBorderColor_ = *p.DropDownBorderColor;
  ApplyDropDownBarStyle(*header_, p.Header);
  ApplyDropDownBarStyle(*footer_, p.Footer);
  ApplyButtonAppearanceStyle(*buttonAppearance_, style);
}

void TLumCustomDropDown::AppearanceChangedWhileOpen() {
  if (form_ && droppedDown_) form_->UpdateHeaderFooter();
}

void TLumCustomDropDown::HeaderButtonClick(Integer buttonIndex) {
  if (OnDropDownHeaderButtonClick) OnDropDownHeaderButtonClick(this, buttonIndex);
}

void TLumCustomDropDown::FooterButtonClick(Integer buttonIndex) {
  if (OnDropDownFooterButtonClick) OnDropDownFooterButtonClick(this, buttonIndex);
}

}  // namespace dropdown
