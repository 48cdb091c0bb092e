#include "grid/GridObjects.h"

#include <vector>

#include "dropdown/text/HtmlTextRoutines.h"
#include "grid/draw/GridDraw.h"
#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"
#include "rtl/SystemInfo.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/Regions.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace grid {

TControlEntry& TControlList::Items(Integer index) {
  if (index < 0 || index >= Count()) throw rtl::EListError(rtl::ListIndexMessage(index));
  return *entries_[index];
}

void TControlList::DeleteEntry(Integer index) {
  if (index < 0 || index >= Count()) throw rtl::EListError(rtl::ListIndexMessage(index));
  entries_.erase(entries_.begin() + index);
}

void TFilePicture::SetFilename(const AnsiString& name) {
  filename_ = name;
  vcl::TPicture picture;
  picture.LoadFromFile(name);
  width_ = picture.Width();
  height_ = picture.Height();
}

void TFilePicture::Draw(vcl::TCanvas* canvas, const vcl::TRect& r) const {
  if (filename_.empty()) return;
  vcl::TPicture picture;
  picture.LoadFromFile(filename_);
  canvas->StretchDraw(r, picture.Graphic());
}

void TFilePicture::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TFilePicture*>(source);
  if (s == nullptr) return;
  filename_ = s->filename_;
  width_ = s->width_;
  height_ = s->height_;
}

// --- TArrowWindow ---

TArrowWindow::TArrowWindow(vcl::TWinControl* grid, Integer direction) : vcl::TPanel(grid), direction_(direction) {
  SetColor(vcl::clLime);
  SetParent(grid);
  SetVisible(false);
}

std::vector<vcl::TPoint> TArrowWindow::ArrowPoints(Integer direction) {
  switch (direction) {
    case adUp: return {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    case adDown: return {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    case adRight: return {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
    case adLeft: return {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
    default: return {};
  }
}

void TArrowWindow::CreateParams(TCreateParams& params) {
  vcl::TPanel::CreateParams(params);
  params.Style = vcl::WS_POPUP;
}

void TArrowWindow::WndProc(vcl::TMessage& message) {
  vcl::TPanel::WndProc(message);
  if (message.Msg == vcl::WM_CREATE) {
    const vcl::TRegion shape = vcl::PolygonRegion(ArrowPoints(direction_), true);
    vcl::SetWindowRgn(Handle(), &shape, true);
  }
}

void TArrowWindow::Paint() {
  vcl::TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->Pen()->SetColor(Color());
  c->FillRect(ClientRect());
}

// --- TPopupButton ---

namespace {
// The window class keeps the pixels under the window while it shows.
inline constexpr Cardinal CS_SAVEBITS = 0x0800;
}  // namespace

TPopupButton::TPopupButton(vcl::TComponent* owner) : vcl::TCustomControl(owner) {
  // It only shows a caption: the pointer goes through to the grid.
  SetEnabled(false);
  SetColor(vcl::clBtnFace);
}

void TPopupButton::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  Invalidate();
}

void TPopupButton::SetGradFrom(TColor v) {
  gradFrom_ = v;
  Invalidate();
}

void TPopupButton::SetGradTo(TColor v) {
  gradTo_ = v;
  Invalidate();
}

void TPopupButton::SetGradMirrorFrom(TColor v) {
  gradMirrorFrom_ = v;
  Invalidate();
}

void TPopupButton::SetGradMirrorTo(TColor v) {
  gradMirrorTo_ = v;
  Invalidate();
}

void TPopupButton::CreateParams(TCreateParams& params) {
  vcl::TCustomControl::CreateParams(params);
  params.Style = vcl::WS_POPUP | vcl::WS_DISABLED | vcl::WS_BORDER;
  params.ClassStyle |= CS_SAVEBITS;
}

void TPopupButton::WndProc(vcl::TMessage& message) {
  switch (message.Msg) {
    case vcl::WM_NCCALCSIZE: {
      // The thin border: one pixel on every side.
      auto* r = reinterpret_cast<vcl::TRect*>(message.LParam);
      *r = {r->Left + 1, r->Top + 1, r->Right - 1, r->Bottom - 1};
      return;
    }
    case vcl::WM_NCPAINT: {
      vcl::TWindowCanvas canvas(this, vcl::TWindowCanvas::TArea::Window);
      canvas.Brush()->SetColor(vcl::clWindowFrame);
      canvas.FrameRect(vcl::Rect(0, 0, Width(), Height()));
      return;
    }
    default: break;
  }
  vcl::TCustomControl::WndProc(message);
  if (message.Msg == vcl::WM_CREATE) SetWindowExStyle(WindowExStyle() | vcl::WS_EX_TOPMOST);
}

void TPopupButton::Paint() {
  vcl::TCanvas* c = Canvas();
  vcl::TRect r = ClientRect();
  if (!flat_) vcl::Frame3D(c, r, vcl::clWhite, 0x808080, 1);
  DrawCellBackground(c, r, gradFrom_, gradTo_, gradMirrorFrom_, gradMirrorTo_, true, clNone, false, true);
  c->Brush()->SetStyle(vcl::bsClear);
  c->Font()->Assign(Font());
  // Until the mini-HTML renderer is in the drop-down library an HTML caption
  // shows its plain text, centred like any other.
  const AnsiString text = Caption().find("</") != AnsiString::npos ? dropdown::StripHTML(Caption()) : Caption();
  c->DrawText(text, r, vcl::DT_CENTER | vcl::DT_VCENTER | vcl::DT_SINGLELINE | vcl::DT_END_ELLIPSIS);
}

// --- system facts ---

namespace {
Cardinal ComCtlVersionMS() {
  Cardinal handle = 0;
  const Cardinal size = rtl::GetFileVersionInfoSize("COMCTL32.DLL", &handle);
  if (size == 0) return 0;
  std::vector<char> block(size);
  if (!rtl::GetFileVersionInfo("COMCTL32.DLL", handle, size, block.data())) return 0;
  void* info = nullptr;
  Cardinal length = 0;
  if (!rtl::VerQueryValue(block.data(), "\\", &info, &length) || length < sizeof(rtl::VS_FIXEDFILEINFO)) return 0;
  return static_cast<const rtl::VS_FIXEDFILEINFO*>(info)->dwFileVersionMS;
}
}  // namespace

bool IsWinXPOrLater() {
  rtl::OSVERSIONINFO version;
  version.dwOSVersionInfoSize = sizeof(version);
  if (!rtl::GetVersionEx(&version)) return false;
  return version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion > 0);
}

bool IsThemedXP() { return IsWinXPOrLater() && vcl::IsThemeActive() && (ComCtlVersionMS() >> 16) > 5; }

}  // namespace grid
