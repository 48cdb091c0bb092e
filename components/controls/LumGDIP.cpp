#include "controls/LumGDIP.h"

#include <algorithm>

#include "rtl/CodePages.h"

namespace controls {

using namespace vcl;

namespace {

GpRectF Flat(const TGPFloatRect& r) { return {r.X, r.Y, r.Width, r.Height}; }

// Unit-wide state.
struct GdiplusState {
  uintptr_t token = 0;
  GdiplusStartupInput input;
  GdiplusStartupOutput output;
  bool started = false;
  bool hooked = false;
  bool scenicRibbon = false;
};

GdiplusState& UnitState() {
  static GdiplusState* s = new GdiplusState;  // lives as long as the process
  return *s;
}

template <typename T>
auto NativeOf(T* wrapper) -> decltype(wrapper->Native()) {
  return wrapper ? wrapper->Native() : nullptr;
}

}  // namespace

// --- TGPGraphics ---

TGPGraphics::TGPGraphics(TCanvas* DC) : lastStatus_(GdipCreateFromHDC(DC, &native_)) {}
TGPGraphics::~TGPGraphics() { GdipDeleteGraphics(native_); }

GpStatus TGPGraphics::Keep(GpStatus s) {
  if (s != Ok) lastStatus_ = s;
  return s;
}

GpStatus TGPGraphics::SetTextRenderingHint(TextRenderingHint Hint) {
  return Keep(GdipSetTextRenderingHint(native_, Hint));
}
GpStatus TGPGraphics::SetSmoothingMode(SmoothingMode Mode) { return Keep(GdipSetSmoothingMode(native_, Mode)); }
GpStatus TGPGraphics::DrawPath(TGPPen* Pen, TGPGraphicsPath* Path) {
  return Keep(GdipDrawPath(native_, NativeOf(Pen), NativeOf(Path)));
}
GpStatus TGPGraphics::FillRectangle(TGPBrush* Brush, REAL X, REAL Y, REAL Width, REAL Height) {
  return Keep(GdipFillRectangle(native_, NativeOf(Brush), X, Y, Width, Height));
}
GpStatus TGPGraphics::FillRect(TGPBrush* Brush, const TGPFloatRect& Rect) {
  return FillRectangle(Brush, Rect.X, Rect.Y, Rect.Width, Rect.Height);
}

GpStatus TGPGraphics::DrawAnsiString(const rtl::AnsiString& Text, int32_t Length, TGPFont* Font,
                                     const TGPFloatRect& LayoutRect, TGPStringFormat* Format, TGPBrush* Brush) {
  // Our 8-bit text is UTF-8: the converted text's own length is what GDI+
  // counts, not the bytes.
  size_t bytes = Length < 0 ? Text.size() : std::min(Text.size(), static_cast<size_t>(Length));
  rtl::WideString wide = rtl::ToWide(std::string_view(Text).substr(0, bytes));
  return DrawString(wide, static_cast<int32_t>(wide.size()), Font, LayoutRect, Format, Brush);
}

GpStatus TGPGraphics::DrawString(const rtl::WideString& WideText, int32_t Length, TGPFont* Font,
                                 const TGPFloatRect& LayoutRect, TGPStringFormat* Format, TGPBrush* Brush) {
  GpRectF r = Flat(LayoutRect);
  int32_t n = Length < 0 ? -1 : std::min(Length, static_cast<int32_t>(WideText.size()));
  return Keep(GdipDrawString(native_, WideText.c_str(), n, NativeOf(Font), &r, NativeOf(Format), NativeOf(Brush)));
}

GpStatus TGPGraphics::MeasureString(const rtl::WideString& WideText, int32_t Length, TGPFont* Font,
                                    const TGPFloatRect& LayoutRect, TGPStringFormat* Format,
                                    TGPFloatRect& BoundingBox, int32_t* CodepointsFitted, int32_t* LinesFilled) {
  GpRectF r = Flat(LayoutRect), box;
  int32_t n = Length < 0 ? -1 : std::min(Length, static_cast<int32_t>(WideText.size()));
  GpStatus s = GdipMeasureString(native_, WideText.c_str(), n, NativeOf(Font), &r, NativeOf(Format), &box,
                                 CodepointsFitted, LinesFilled);
  if (s == Ok) BoundingBox = {box.X, box.Y, box.Width, box.Height};
  return Keep(s);
}

GpStatus TGPGraphics::DrawEllipse(TGPPen* Pen, REAL X, REAL Y, REAL Width, REAL Height) {
  return Keep(GdipDrawEllipse(native_, NativeOf(Pen), X, Y, Width, Height));
}
GpStatus TGPGraphics::DrawRectangle(TGPPen* Pen, REAL X, REAL Y, REAL Width, REAL Height) {
  return Keep(GdipDrawRectangle(native_, NativeOf(Pen), X, Y, Width, Height));
}
GpStatus TGPGraphics::DrawLine(TGPPen* Pen, REAL X1, REAL Y1, REAL X2, REAL Y2) {
  return Keep(GdipDrawLine(native_, NativeOf(Pen), X1, Y1, X2, Y2));
}
GpStatus TGPGraphics::FillEllipse(TGPBrush* Brush, REAL X, REAL Y, REAL Width, REAL Height) {
  return Keep(GdipFillEllipse(native_, NativeOf(Brush), X, Y, Width, Height));
}
GpStatus TGPGraphics::FillPath(TGPBrush* Brush, TGPGraphicsPath* Path) {
  return Keep(GdipFillPath(native_, NativeOf(Brush), NativeOf(Path)));
}
GpStatus TGPGraphics::DrawImage(TGPImage* Image, int32_t X, int32_t Y) {
  return Keep(GdipDrawImageI(native_, NativeOf(Image), X, Y));
}
GpStatus TGPGraphics::DrawImageRect(TGPImage* Image, int32_t X, int32_t Y, int32_t Width, int32_t Height) {
  return Keep(GdipDrawImageRect(native_, NativeOf(Image), static_cast<REAL>(X), static_cast<REAL>(Y),
                                static_cast<REAL>(Width), static_cast<REAL>(Height)));
}
GpStatus TGPGraphics::DrawImageRectRect(TGPImage* Image, const TGPFloatRect& DestRect, REAL SrcX, REAL SrcY,
                                        REAL SrcWidth, REAL SrcHeight, vcl::Unit SrcUnit, TGPImageAttributes* Attributes,
                                        void* Callback, void* CallbackData) {
  return Keep(GdipDrawImageRectRect(native_, NativeOf(Image), DestRect.X, DestRect.Y, DestRect.Width,
                                    DestRect.Height, SrcX, SrcY, SrcWidth, SrcHeight, SrcUnit, NativeOf(Attributes),
                                    Callback, CallbackData));
}
GpStatus TGPGraphics::SetClip(TGPRegion* Region, CombineMode Mode) {
  return Keep(GdipSetClipRegion(native_, NativeOf(Region), Mode));
}

// --- Pens and brushes ---

TGPPen::TGPPen(ARGB Color, REAL Width) : lastStatus_(GdipCreatePen1(Color, Width, UnitWorld, &native_)) {}
TGPPen::~TGPPen() { GdipDeletePen(native_); }
GpStatus TGPPen::SetDashStyle(DashStyle Style) {
  GpStatus s = GdipSetPenDashStyle(native_, Style);
  if (s != Ok) lastStatus_ = s;
  return s;
}

TGPBrush::~TGPBrush() { GdipDeleteBrush(native_); }
GpStatus TGPBrush::Keep(GpStatus s) {
  if (s != Ok) lastStatus_ = s;
  return s;
}

TGPSolidBrush::TGPSolidBrush(ARGB Color) { lastStatus_ = GdipCreateSolidFill(Color, &native_); }

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPFloatRect& Rect, ARGB Color1, ARGB Color2,
                                               LinearGradientMode Mode) {
  GpRectF r = Flat(Rect);
  lastStatus_ = GdipCreateLineBrushFromRect(&r, Color1, Color2, Mode, WrapModeTile, &native_);
}

TGPPathGradientBrush::TGPPathGradientBrush(TGPGraphicsPath* Path) {
  lastStatus_ = GdipCreatePathGradientFromPath(NativeOf(Path), &native_);
}

GpStatus TGPPathGradientBrush::SetCenterColor(ARGB Color) {
  Keep(GdipSetPathGradientCenterColor(native_, Color));
  return lastStatus_;
}

int32_t TGPPathGradientBrush::GetPointCount() {
  int32_t count = 0;
  if (Keep(GdipGetPathGradientPointCount(native_, &count)) != Ok) return 0;
  return count;
}

GpStatus TGPPathGradientBrush::SetSurroundColors(const ARGB* Colors, int32_t& Count) {
  if (Colors && Count > 0 && GetPointCount() >= Count) {
    int32_t used = Count;
    GpStatus s = Keep(GdipSetPathGradientSurroundColorsWithCount(native_, Colors, &used));
    if (lastStatus_ == Ok) Count = used;
    return s;
  }
  lastStatus_ = InvalidParameter;
  return lastStatus_;
}

GpStatus TGPPathGradientBrush::SetCenterPointI(const TGPIntPoint& Point) {
  GpPoint p{Point.X, Point.Y};
  return Keep(GdipSetPathGradientCenterPointI(native_, &p));
}

// --- Paths and regions ---

TGPGraphicsPath::TGPGraphicsPath(vcl::FillMode FillMode) : lastStatus_(GdipCreatePath(FillMode, &native_)) {}
TGPGraphicsPath::~TGPGraphicsPath() { GdipDeletePath(native_); }
GpStatus TGPGraphicsPath::Keep(GpStatus s) {
  if (s != Ok) lastStatus_ = s;
  return s;
}
GpStatus TGPGraphicsPath::CloseFigure() { return Keep(GdipClosePathFigure(native_)); }
GpStatus TGPGraphicsPath::AddLine(REAL X1, REAL Y1, REAL X2, REAL Y2) {
  return Keep(GdipAddPathLine(native_, X1, Y1, X2, Y2));
}
GpStatus TGPGraphicsPath::AddArc(REAL X, REAL Y, REAL Width, REAL Height, REAL StartAngle, REAL SweepAngle) {
  return Keep(GdipAddPathArc(native_, X, Y, Width, Height, StartAngle, SweepAngle));
}
GpStatus TGPGraphicsPath::AddEllipse(REAL X, REAL Y, REAL Width, REAL Height) {
  return Keep(GdipAddPathEllipse(native_, X, Y, Width, Height));
}
GpStatus TGPGraphicsPath::AddPolygon(const TGPFloatPoint* Points, int32_t Count) {
  static_assert(sizeof(TGPFloatPoint) == sizeof(GpPointF));
  return Keep(GdipAddPathPolygon(native_, reinterpret_cast<const GpPointF*>(Points), Count));
}
GpStatus TGPGraphicsPath::AddPolygonI(const TGPIntPoint* Points, int32_t Count) {
  static_assert(sizeof(TGPIntPoint) == sizeof(GpPoint));
  return Keep(GdipAddPathPolygonI(native_, reinterpret_cast<const GpPoint*>(Points), Count));
}
GpStatus TGPGraphicsPath::AddCurve(const TGPIntPoint* Points, int32_t Count, REAL Tension) {
  return Keep(GdipAddPathCurve2I(native_, reinterpret_cast<const GpPoint*>(Points), Count, Tension));
}

TGPRegion::TGPRegion(const TGPFloatRect& Rect) {
  GpRectF r = Flat(Rect);
  lastStatus_ = GdipCreateRegionRect(&r, &native_);
}

TGPRegion* TGPRegion::CreateFromPath(TGPGraphicsPath* Path) {
  auto* region = new TGPRegion();
  region->lastStatus_ = GdipCreateRegionPath(NativeOf(Path), &region->native_);
  return region;
}

TGPRegion::~TGPRegion() { GdipDeleteRegion(native_); }
GpStatus TGPRegion::Keep(GpStatus s) {
  if (s != Ok) lastStatus_ = s;
  return s;
}
GpStatus TGPRegion::ExcludePath(TGPGraphicsPath* Path) {
  return Keep(GdipCombineRegionPath(native_, NativeOf(Path), CombineModeExclude));
}
GpStatus TGPRegion::UnionRegion(TGPRegion* Region) {
  return Keep(GdipCombineRegionRegion(native_, NativeOf(Region), CombineModeUnion));
}

// --- Fonts and formats ---

TGPFontFamily::TGPFontFamily(const rtl::WideString& Name)
    : lastStatus_(GdipCreateFontFamilyFromName(Name.c_str(), nullptr, &native_)) {}
TGPFontFamily::~TGPFontFamily() { GdipDeleteFontFamily(native_); }

TGPFont::TGPFont(TGPFontFamily* Family, REAL EmSize, int32_t Style, vcl::Unit Unit)
    : lastStatus_(GdipCreateFont(NativeOf(Family), EmSize, Style, Unit, &native_)) {}
TGPFont::~TGPFont() { GdipDeleteFont(native_); }

TGPStringFormat::TGPStringFormat(int32_t FormatFlags, uint16_t Language)
    : lastStatus_(GdipCreateStringFormat(FormatFlags, Language, &native_)) {}
TGPStringFormat::~TGPStringFormat() { GdipDeleteStringFormat(native_); }
GpStatus TGPStringFormat::Keep(GpStatus s) {
  if (s != Ok) lastStatus_ = s;
  return s;
}
GpStatus TGPStringFormat::SetAlignment(StringAlignment Align) { return Keep(GdipSetStringFormatAlign(native_, Align)); }
GpStatus TGPStringFormat::SetLineAlignment(StringAlignment Align) {
  return Keep(GdipSetStringFormatLineAlign(native_, Align));
}
GpStatus TGPStringFormat::SetTrimming(StringTrimming Trimming) {
  return Keep(GdipSetStringFormatTrimming(native_, Trimming));
}
GpStatus TGPStringFormat::SetHotkeyPrefix(HotkeyPrefix Prefix) {
  return Keep(GdipSetStringFormatHotkeyPrefix(native_, Prefix));
}

// --- Images ---

TGPImage::TGPImage(rtl::TStream* Stream, bool UseICM)
    : lastStatus_(UseICM ? GdipLoadImageFromStreamICM(Stream, &native_) : GdipLoadImageFromStream(Stream, &native_)) {}

TGPImage::TGPImage(rtl::TStream* Stream, bool UseICM, AsBitmap)
    : lastStatus_(UseICM ? GdipCreateBitmapFromStreamICM(Stream, &native_)
                         : GdipCreateBitmapFromStream(Stream, &native_)) {}

TGPImage::~TGPImage() { GdipDisposeImage(native_); }

GpStatus TGPImage::Keep(GpStatus s) {
  if (s != Ok) lastStatus_ = s;
  return s;
}

int32_t TGPImage::GetRawFormat() {
  TGpImageFormat format = TGpImageFormat::Unknown;
  GdipGetImageRawFormat(native_, &format);  // the status is not kept
  return static_cast<int32_t>(format);
}

uint32_t TGPImage::GetWidth() {
  uint32_t w = 0;
  return Keep(GdipGetImageWidth(native_, &w)) == Ok ? w : 0;
}

uint32_t TGPImage::GetHeight() {
  uint32_t h = 0;
  return Keep(GdipGetImageHeight(native_, &h)) == Ok ? h : 0;
}

TGPBitmap::TGPBitmap(rtl::TStream* Stream, bool UseICM) : TGPImage(Stream, UseICM, AsBitmap{}) {}

GpStatus TGPBitmap::GetPixel(int32_t X, int32_t Y, ARGB& Color) {
  return Keep(GdipBitmapGetPixel(native_, X, Y, &Color));
}

TGPImageAttributes::TGPImageAttributes() : lastStatus_(GdipCreateImageAttributes(&native_)) {}
TGPImageAttributes::~TGPImageAttributes() { GdipDisposeImageAttributes(native_); }
GpStatus TGPImageAttributes::SetColorKey(ARGB Low, ARGB High, ColorAdjustType Type) {
  GpStatus s = GdipSetImageAttributesColorKeys(native_, Type, true, Low, High);
  if (s != Ok) lastStatus_ = s;
  return s;
}

// --- Unit-wide ---

void SetGlobalWin7ScenicRibbon(bool Value) { UnitState().scenicRibbon = Value; }
bool GetGlobalWin7ScenicRibbon() { return UnitState().scenicRibbon; }

ARGB ColorToOpaqueARGB(TColor Color) { return AlphaColorToARGB(255, Color); }

ARGB AlphaColorToARGB(uint8_t Alpha, TColor Color) {
  TColor c = ColorToRGB(Color);
  return MakeARGB(Alpha, GetRValue(c), GetGValue(c), GetBValue(c));
}

void StartUpGdiplus() {
  GdiplusState& s = UnitState();
  s.input.GdiplusVersion = 1;
  s.input.DebugEventCallback = nullptr;
  s.input.SuppressBackgroundThread = true;
  s.input.SuppressExternalCodecs = false;
  if (s.started || GdiplusStartup(&s.token, &s.input, &s.output) != Ok) return;
  s.started = true;
  s.hooked = s.output.NotificationHook && s.output.NotificationHook(&s.token) == Ok;
}

void ShutDownGdiplus() {
  GdiplusState& s = UnitState();
  if (!s.started) return;
  if (s.hooked && s.output.NotificationUnhook) s.output.NotificationUnhook(s.token);
  s.hooked = false;
  s.started = false;
  GdiplusShutdown(s.token);
}

}  // namespace controls
