// The caption bar a pager can draw in place of its form's title bar: the
// title (in two colours around " - "), the close, minimise and maximise
// buttons, the form's move by the bar, its window menu on a right click and
// maximising by a double click (see RorIvezEviPager.h).
#include <algorithm>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviFaces.h"
#include "ribbon/RorIvezEviPager.h"
#include "rtl/Streams.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/PopupWindow.h"
#include "vcl/SystemMenu.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {

constexpr int kCaptionButtonSize = 16;
constexpr int kCaptionGlyphSize = 14;
// "single line, vertically centred, end ellipsis"
constexpr rtl::Cardinal kCaptionMeasureFormat = 16420;

bool PointIn(const vcl::TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

// A 14 x 14 glyph on a background its top-left pixel makes transparent,
// into a button's picture through a stream.
template <typename Draw>
void LoadCaptionGlyph(controls::TLumGlowButton* Button, Draw draw) {
  vcl::TBitmap bitmap(kCaptionGlyphSize, kCaptionGlyphSize);
  vcl::TCanvas* c = bitmap.Canvas();
  c->Brush()->SetStyle(vcl::bsSolid);
  c->Brush()->SetColor(vcl::clFuchsia);
  c->FillRect(vcl::TRect{0, 0, kCaptionGlyphSize, kCaptionGlyphSize});
  draw(c, vcl::TRect{0, 0, kCaptionGlyphSize, kCaptionGlyphSize});
  rtl::TMemoryStream stream;
  bitmap.SaveToStream(stream);
  stream.SetPosition(0);
  controls::TGDIPPicture picture;
  picture.LoadFromStream(stream);
  Button->SetPicture(&picture);
}

}  // namespace

// --- drawing ---

void TRorIvezEviPager::DrawCaption(vcl::TCanvas* C) {
  if (!caption_.Visible()) return;
  const vcl::TRect cr = GetCaptionRect();
  const int w = cr.Width(), h = cr.Height();
  if (w <= 0 || h <= 0) return;
  TVistaTextBackground* a = CurrentStyler()->PagerCaption();
  vcl::TBitmap picture(w, h);
  vcl::TCanvas* c = picture.Canvas();
  // The bar's face, one pixel lower than the bar.
  DrawVistaButtonText(c, vcl::TRect{0, 0, w, h + 1}, a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(),
                      a->BorderColor(), a->Gradient(), a->GradientMirror(), "", a->Font(), Enabled(), false, antiAlias_,
                      false);
  // The text's room: past the indent (or a quick access toolbar above
  // the ribbon, or the tab groups), before the caption buttons.
  vcl::TRect t{caption_.Indent(), 0, w, h};
  if (qat_ && !qat_->BelowRibbon()) {
    const vcl::TRect q = GetQATRect();
    if (q.Left != -1) t.Left = q.Left + qatControl_->Width();
  }
  t.Right -= caption_.RightIndent();
  bool groups = false;
  int groupsRight = -1;
  for (int g = 0; g < tabGroups_.Count(); ++g) {
    bool le = false, re = false;
    const vcl::TRect gr = GetTabGroupRect(g, le, re);
    if (gr.Left == -1) continue;
    groups = true;
    groupsRight = std::max(groupsRight, gr.Right);
  }
  if (groups) t.Left = groupsRight;
  vcl::TFont font;
  font.Assign(a->Font());
  font.SetColor(a->TextColor());
  const rtl::AnsiString& text = caption_.Caption();
  vcl::TRect measured{};
  DrawGPText(c, vcl::taLeftJustify, kCaptionMeasureFormat, vcl::TRect{0, 0, 1000, 100}, text, rtl::WideString(), &font,
             Enabled(), false, antiAlias_, true, false, measured);
  const int textWidth = measured.Width();
  // Centred over the whole bar unless the indent or the toolbar pushes it
  // right.
  if (!groups) t.Left = std::max(t.Left, (w - textWidth) / 2);
  const size_t dash = text.find(" - ");
  vcl::TRect drawn{};
  if (dash == rtl::AnsiString::npos) {
    DrawGPWrapText(c, groups ? 2 : 0, t, text, rtl::WideString(), &font, Enabled(), true, antiAlias_, drawn);
  } else {
    if (groups && textWidth < t.Width()) t.Left += (t.Width() - textWidth) / 2;
    // The document part up to and with the dash in the extended colour,
    // the rest in the text colour.
    const rtl::AnsiString first = text.substr(0, text.find('-') + 1);
    const rtl::AnsiString rest = text.substr(first.size());
    vcl::TRect wr{};
    DrawGPText(c, vcl::taLeftJustify, kCaptionMeasureFormat, vcl::TRect{0, 0, 1000, 100}, "W...", rtl::WideString(),
               &font, Enabled(), false, antiAlias_, true, false, wr);
    vcl::TFont extended;
    extended.Assign(&font);
    extended.SetColor(a->TextColorExtended());
    vcl::TRect part = t;
    part.Right -= wr.Width();
    vcl::TRect firstDrawn{};
    DrawGPText(c, vcl::taLeftJustify, kCaptionMeasureFormat, part, first, rtl::WideString(), &extended, Enabled(), true,
               antiAlias_, true, false, firstDrawn);
    vcl::TRect firstSize{};
    DrawGPText(c, vcl::taLeftJustify, kCaptionMeasureFormat, vcl::TRect{0, 0, 1000, 100}, first, rtl::WideString(),
               &extended, Enabled(), false, antiAlias_, true, false, firstSize);
    vcl::TRect second = t;
    second.Left += firstSize.Width();
    DrawGPText(c, vcl::taLeftJustify, kCaptionMeasureFormat, second, rest, rtl::WideString(), &font, Enabled(), true,
               antiAlias_, true, false, drawn);
  }
  C->Draw(cr.Left, cr.Top, &picture);
}

// --- caption buttons ---

controls::TLumGlowButton* TRorIvezEviPager::MakeCaptionButton() {
  auto* b = new controls::TLumGlowButton(this);
  b->SetAutoSize(false);
  b->SetTransparent(true);
  b->SetBounds(0, 0, kCaptionButtonSize, kCaptionButtonSize);
  b->SetParent(this);
  return b;
}

vcl::TRect TRorIvezEviPager::GetCaptionButtonsRect() {
  if (!caption_.Visible() || captionButtons_.Empty()) return vcl::TRect{-1, -1, -1, -1};
  if (!closeButton_ || !minButton_ || !maxButton_) UpdateCaptionButtons(false);
  return vcl::TRect{minButton_->Left(), maxButton_->Top(), closeButton_->Left() + closeButton_->Width(),
                    maxButton_->Top() + maxButton_->Height()};
}

void TRorIvezEviPager::ToggleFormMaximized() {
  vcl::TCustomForm* form = vcl::GetParentForm(this);
  if (!form) return;
  form->SetWindowState(form->WindowState() == vcl::wsNormal ? vcl::wsMaximized : vcl::wsNormal);
  UpdateCaptionButtons(true);
}

void TRorIvezEviPager::UpdateCaptionButtons(bool Rebuild) {
  if (!caption_.Visible() || captionButtons_.Empty()) {
    if (closeButton_ || minButton_ || maxButton_) caption_.SetRightIndent(savedRightIndent_);
    for (controls::TLumGlowButton** b : {&closeButton_, &minButton_, &maxButton_}) {
      controls::TLumGlowButton* gone = *b;
      *b = nullptr;
      vcl::Free(gone);
    }
    return;
  }
  TCustomRorIvezEviStyler* styler = CurrentStyler();
  if (!closeButton_) {
    savedRightIndent_ = caption_.RightIndent();
    closeButton_ = MakeCaptionButton();
    closeButton_->OnClick = [this](vcl::TObject* Sender) {
      if (OnCloseButtonClick) {
        OnCloseButtonClick(Sender);
        return;
      }
      if (vcl::TCustomForm* form = vcl::GetParentForm(this)) form->Close();
    };
    Rebuild = true;
  }
  if (!minButton_) {
    minButton_ = MakeCaptionButton();
    minButton_->OnClick = [this](vcl::TObject* Sender) {
      if (OnMinButtonClick) {
        OnMinButtonClick(Sender);
        return;
      }
      // The program is its main form: that form goes to the task bar.
      if (vcl::TCustomForm* form = vcl::GetParentForm(this)) form->SetWindowState(vcl::wsMinimized);
    };
    Rebuild = true;
  }
  if (!maxButton_) {
    maxButton_ = MakeCaptionButton();
    maxButton_->OnClick = [this](vcl::TObject* Sender) {
      if (OnMaxButtonClick) {
        OnMaxButtonClick(Sender);
        return;
      }
      ToggleFormMaximized();
    };
    Rebuild = true;
  }
  for (controls::TLumGlowButton* b : {closeButton_, minButton_, maxButton_})
    b->Appearance()->Assign(styler->GlowButtonAppearance());
  const int top = GetCaptionRect().Top + RibbonPageMargin();
  const int closeLeft = Width() - RibbonPageMargin() - closeButton_->Width() - 2;
  const int maxLeft = closeLeft - maxButton_->Width() - 2;
  const int minLeft = maxLeft - minButton_->Width() - 2;
  closeButton_->SetBounds(closeLeft, top, closeButton_->Width(), closeButton_->Height());
  maxButton_->SetBounds(maxLeft, top, maxButton_->Width(), maxButton_->Height());
  minButton_->SetBounds(minLeft, top, minButton_->Width(), minButton_->Height());
  caption_.SetRightIndent(std::max(caption_.RightIndent(), Width() - minLeft));
  vcl::TCustomForm* form = vcl::GetParentForm(this);
  const bool normal = !form || form->WindowState() == vcl::wsNormal;
  if (Rebuild) {
    const vcl::TColor glyph = styler->GlyphColor();
    LoadCaptionGlyph(closeButton_, [&](vcl::TCanvas* c, const vcl::TRect& r) { DrawCloseGlyph(c, r, glyph, 7); });
    LoadCaptionGlyph(maxButton_, [&](vcl::TCanvas* c, const vcl::TRect& r) {
      if (normal)
        DrawMaximizeGlyph(c, r, glyph, true);
      else
        DrawRestoreGlyph(c, r, glyph, true);
    });
    LoadCaptionGlyph(minButton_, [&](vcl::TCanvas* c, const vcl::TRect& r) { DrawMinimizeGlyph(c, r, glyph, true); });
    paintedState_ = normal ? 0 : 1;
  }
  closeButton_->SetVisible(captionButtons_.Contains(cbClose));
  minButton_->SetVisible(captionButtons_.Contains(cbMinimize));
  maxButton_->SetVisible(captionButtons_.Contains(cbMaximize) || minButton_->Visible());
  closeButton_->SetEnabled(captionButtons_.Contains(cbClose));
  minButton_->SetEnabled(captionButtons_.Contains(cbMinimize));
  maxButton_->SetEnabled(captionButtons_.Contains(cbMaximize));
  for (controls::TLumGlowButton* b : {closeButton_, minButton_, maxButton_}) b->BringToFront();
}

// --- mouse on the bar ---

bool TRorIvezEviPager::CaptionMouseDown(vcl::TMouseButton Button, int X, int Y) {
  if (!caption_.Visible()) return false;
  const vcl::TRect c = GetCaptionRect();
  if (!PointIn(c, X, Y)) return false;
  vcl::TCustomForm* form = vcl::GetParentForm(this);
  if (Button == vcl::mbRight && form) {
    const vcl::TPoint at = ClientToScreen({X, Y});
    if (const vcl::Cardinal command = vcl::TrackSystemMenu(form, at))
      form->Perform(vcl::WM_SYSCOMMAND, command, 0);
    return true;
  }
  if (canMove_ && TabGroupAtPos(X, Y) < 0 && form) {
    // A maximised form that fills its work area stays where it is.
    const vcl::TPoint at = ClientToScreen({X, Y});
    vcl::TRect work = vcl::PrimaryWorkArea();
    for (const vcl::TScreenArea& a : vcl::ScreenAreas())
      if (at.X >= a.Bounds.Left && at.X < a.Bounds.Right && at.Y >= a.Bounds.Top && at.Y < a.Bounds.Bottom)
        work = a.WorkArea;
    if (form->WindowState() == vcl::wsMaximized && form->Width() >= work.Width() - 10) return true;
    SetMouseCapture(false);
    form->Perform(vcl::WM_SYSCOMMAND, vcl::SC_MOVE | 1, 0);
  }
  return true;
}

void TRorIvezEviPager::CaptionDblClick(int X, int Y) {
  const int tab = InTabsArea(X, Y) ? TabAtPos(X, Y) : -1;
  if (tab >= 0 && OnTabDblClick) OnTabDblClick(this, tab);
  if (captionButtons_.Contains(cbMaximize) && caption_.Visible() && PointIn(GetCaptionRect(), X, Y))
    ToggleFormMaximized();
}

}  // namespace ribbon
