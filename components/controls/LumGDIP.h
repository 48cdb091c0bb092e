#pragma once
// The one place where the components touch GDI+: thin wrappers round the
// flat interface's objects (graphics, pens, brushes, paths, regions, fonts,
// string formats, images, image attributes) and the colour functions that
// turn the class library's colours into ARGB values.
//
// No wrapper raises. A constructor keeps the creating call's status as the
// object's last status; a method passes the object's handle first, keeps a
// failing status as the last status (Ok leaves it as it was) and answers
// the call's status. A null wrapper argument passes a null handle where a
// method says so. Wrappers own their handle; whoever makes a wrapper owns
// it.
#include <cstdint>

#include "vcl/GdiPlus.h"

namespace rtl {
class TStream;
}

namespace controls {

using vcl::ARGB;
using vcl::GpStatus;
using vcl::REAL;
using vcl::StringTrimming;

// The text rendering of controls that draw their text through GDI+.
enum class TAntiAlias : uint8_t { aaNone, aaClearType, aaAntiAlias };
using enum TAntiAlias;

struct TGPFloatRect {
  REAL X = 0, Y = 0, Width = 0, Height = 0;
};
struct TGPIntPoint {
  int32_t X = 0, Y = 0;
};
struct TGPFloatPoint {
  REAL X = 0, Y = 0;
};

// The root of the wrappers; they cannot be copied.
class TGdiplusBase {
 public:
  TGdiplusBase(const TGdiplusBase&) = delete;
  TGdiplusBase& operator=(const TGdiplusBase&) = delete;
  virtual ~TGdiplusBase() = default;

 protected:
  TGdiplusBase() = default;
};

class TGPPen;
class TGPBrush;
class TGPGraphicsPath;
class TGPRegion;
class TGPFontFamily;
class TGPFont;
class TGPStringFormat;
class TGPImage;
class TGPImageAttributes;

class TGPGraphics : public TGdiplusBase {
 public:
  // A GDI+ surface on the canvas (the device context).
  explicit TGPGraphics(vcl::TCanvas* DC);
  ~TGPGraphics() override;

  GpStatus SetTextRenderingHint(vcl::TextRenderingHint Hint);
  GpStatus SetSmoothingMode(vcl::SmoothingMode Mode);
  // Pen, Path: nil passes null.
  GpStatus DrawPath(TGPPen* Pen, TGPGraphicsPath* Path);
  GpStatus FillRectangle(TGPBrush* Brush, REAL X, REAL Y, REAL Width, REAL Height);
  GpStatus FillRect(TGPBrush* Brush, const TGPFloatRect& Rect);
  // Converts the first Length bytes of the UTF-8 text and draws the
  // converted text with its own length (Length -1: the whole text).
  // Font, Format, Brush: nil passes null.
  GpStatus DrawAnsiString(const rtl::AnsiString& Text, int32_t Length, TGPFont* Font, const TGPFloatRect& LayoutRect,
                          TGPStringFormat* Format, TGPBrush* Brush);
  // Font, Format, Brush: nil passes null.
  GpStatus DrawString(const rtl::WideString& WideText, int32_t Length, TGPFont* Font, const TGPFloatRect& LayoutRect,
                      TGPStringFormat* Format, TGPBrush* Brush);
  // The counters may be null. Font, Format: nil passes null.
  GpStatus MeasureString(const rtl::WideString& WideText, int32_t Length, TGPFont* Font,
                         const TGPFloatRect& LayoutRect, TGPStringFormat* Format, TGPFloatRect& BoundingBox,
                         int32_t* CodepointsFitted = nullptr, int32_t* LinesFilled = nullptr);
  GpStatus DrawEllipse(TGPPen* Pen, REAL X, REAL Y, REAL Width, REAL Height);
  GpStatus DrawRectangle(TGPPen* Pen, REAL X, REAL Y, REAL Width, REAL Height);
  GpStatus DrawLine(TGPPen* Pen, REAL X1, REAL Y1, REAL X2, REAL Y2);
  GpStatus FillEllipse(TGPBrush* Brush, REAL X, REAL Y, REAL Width, REAL Height);
  GpStatus FillPath(TGPBrush* Brush, TGPGraphicsPath* Path);
  // At its own size. Image: nil passes null.
  GpStatus DrawImage(TGPImage* Image, int32_t X, int32_t Y);
  // Image: nil passes null.
  GpStatus DrawImageRect(TGPImage* Image, int32_t X, int32_t Y, int32_t Width, int32_t Height);
  // Image, Attributes: nil pass null.
  GpStatus DrawImageRectRect(TGPImage* Image, const TGPFloatRect& DestRect, REAL SrcX, REAL SrcY, REAL SrcWidth,
                             REAL SrcHeight, vcl::Unit SrcUnit, TGPImageAttributes* Attributes,
                             void* Callback = nullptr, void* CallbackData = nullptr);
  GpStatus SetClip(TGPRegion* Region, vcl::CombineMode Mode);

  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpGraphics* Native() const { return native_; }

 private:
  GpStatus Keep(GpStatus s);
  vcl::GpGraphics* native_ = nullptr;
  GpStatus lastStatus_;
};

class TGPPen : public TGdiplusBase {
 public:
  explicit TGPPen(ARGB Color, REAL Width = 1.0f);
  ~TGPPen() override;
  GpStatus SetDashStyle(vcl::DashStyle Style);
  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpPen* Native() const { return native_; }

 private:
  vcl::GpPen* native_ = nullptr;
  GpStatus lastStatus_;
};

class TGPBrush : public TGdiplusBase {
 public:
  ~TGPBrush() override;
  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpBrush* Native() const { return native_; }

 protected:
  TGPBrush() = default;
  GpStatus Keep(GpStatus s);
  vcl::GpBrush* native_ = nullptr;
  GpStatus lastStatus_ = vcl::Ok;
};

class TGPSolidBrush : public TGPBrush {
 public:
  explicit TGPSolidBrush(ARGB Color);
};

class TGPLinearGradientBrush : public TGPBrush {
 public:
  // Color1 at the rectangle's start, Color2 at its end; tiled outside.
  TGPLinearGradientBrush(const TGPFloatRect& Rect, ARGB Color1, ARGB Color2, vcl::LinearGradientMode Mode);
};

class TGPPathGradientBrush : public TGPBrush {
 public:
  explicit TGPPathGradientBrush(TGPGraphicsPath* Path);
  // Answers the last status, not the call's.
  GpStatus SetCenterColor(ARGB Color);
  // The path's point count (0 when the call fails).
  int32_t GetPointCount();
  // Only with colours, a count from 1 to the point count; otherwise no
  // call is made, the last status becomes InvalidParameter and Count
  // stays. Count receives the number of colours used while the last
  // status is Ok.
  GpStatus SetSurroundColors(const ARGB* Colors, int32_t& Count);
  GpStatus SetCenterPointI(const TGPIntPoint& Point);
};

class TGPGraphicsPath : public TGdiplusBase {
 public:
  explicit TGPGraphicsPath(vcl::FillMode FillMode = vcl::FillModeAlternate);
  ~TGPGraphicsPath() override;
  GpStatus CloseFigure();
  GpStatus AddLine(REAL X1, REAL Y1, REAL X2, REAL Y2);
  // Degrees, clockwise.
  GpStatus AddArc(REAL X, REAL Y, REAL Width, REAL Height, REAL StartAngle, REAL SweepAngle);
  GpStatus AddEllipse(REAL X, REAL Y, REAL Width, REAL Height);
  GpStatus AddPolygon(const TGPFloatPoint* Points, int32_t Count);
  GpStatus AddPolygonI(const TGPIntPoint* Points, int32_t Count);
  GpStatus AddCurve(const TGPIntPoint* Points, int32_t Count, REAL Tension);
  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpPath* Native() const { return native_; }

 private:
  GpStatus Keep(GpStatus s);
  vcl::GpPath* native_ = nullptr;
  GpStatus lastStatus_;
};

class TGPRegion : public TGdiplusBase {
 public:
  explicit TGPRegion(const TGPFloatRect& Rect);
  // A region from a path.
  static TGPRegion* CreateFromPath(TGPGraphicsPath* Path);
  ~TGPRegion() override;
  GpStatus ExcludePath(TGPGraphicsPath* Path);
  GpStatus UnionRegion(TGPRegion* Region);
  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpRegion* Native() const { return native_; }

 private:
  TGPRegion() = default;
  GpStatus Keep(GpStatus s);
  vcl::GpRegion* native_ = nullptr;
  GpStatus lastStatus_ = vcl::Ok;
};

class TGPFontFamily : public TGdiplusBase {
 public:
  // Last status FontFamilyNotFound (14) or FontStyleNotFound (15) when the
  // family cannot be had. The collection is always the installed fonts.
  explicit TGPFontFamily(const rtl::WideString& Name);
  ~TGPFontFamily() override;
  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpFontFamily* Native() const { return native_; }

 private:
  vcl::GpFontFamily* native_ = nullptr;
  GpStatus lastStatus_;
};

class TGPFont : public TGdiplusBase {
 public:
  // Family: nil passes null. Style: bold 1, italic 2, underline 4,
  // strike-out 8.
  TGPFont(TGPFontFamily* Family, REAL EmSize, int32_t Style, vcl::Unit Unit);
  ~TGPFont() override;
  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpFont* Native() const { return native_; }

 private:
  vcl::GpFont* native_ = nullptr;
  GpStatus lastStatus_;
};

class TGPStringFormat : public TGdiplusBase {
 public:
  explicit TGPStringFormat(int32_t FormatFlags = 0, uint16_t Language = 0);
  ~TGPStringFormat() override;
  GpStatus SetAlignment(vcl::StringAlignment Align);
  GpStatus SetLineAlignment(vcl::StringAlignment Align);
  GpStatus SetTrimming(StringTrimming Trimming);
  GpStatus SetHotkeyPrefix(vcl::HotkeyPrefix Prefix);
  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpStringFormat* Native() const { return native_; }

 private:
  GpStatus Keep(GpStatus s);
  vcl::GpStringFormat* native_ = nullptr;
  GpStatus lastStatus_;
};

// The raw formats GetRawFormat answers.
inline constexpr int32_t kRawFormatUnknown = 0;
inline constexpr int32_t kRawFormatMemoryBMP = 1;
inline constexpr int32_t kRawFormatBMP = 2;
inline constexpr int32_t kRawFormatEMF = 3;
inline constexpr int32_t kRawFormatWMF = 4;
inline constexpr int32_t kRawFormatJPEG = 5;
inline constexpr int32_t kRawFormatPNG = 6;
inline constexpr int32_t kRawFormatGIF = 7;
inline constexpr int32_t kRawFormatTIFF = 8;
inline constexpr int32_t kRawFormatEXIF = 9;
inline constexpr int32_t kRawFormatIcon = 10;

class TGPImage : public TGdiplusBase {
 public:
  // Decodes the whole stream (a picture file).
  explicit TGPImage(rtl::TStream* Stream, bool UseICM = false);
  ~TGPImage() override;
  // The kRawFormat* code of the picture's file format.
  int32_t GetRawFormat();
  // Pixels; 0 when the call fails.
  uint32_t GetWidth();
  uint32_t GetHeight();
  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpImage* Native() const { return native_; }

 protected:
  struct AsBitmap {};
  TGPImage(rtl::TStream* Stream, bool UseICM, AsBitmap);
  GpStatus Keep(GpStatus s);
  vcl::GpImage* native_ = nullptr;
  GpStatus lastStatus_;
};

class TGPBitmap : public TGPImage {
 public:
  explicit TGPBitmap(rtl::TStream* Stream, bool UseICM = false);
  GpStatus GetPixel(int32_t X, int32_t Y, ARGB& Color);
};

class TGPImageAttributes : public TGdiplusBase {
 public:
  TGPImageAttributes();
  ~TGPImageAttributes() override;
  // Colours from Low to High become transparent.
  GpStatus SetColorKey(ARGB Low, ARGB High, vcl::ColorAdjustType Type = vcl::ColorAdjustTypeDefault);
  GpStatus GetLastStatus() const { return lastStatus_; }
  vcl::GpImageAttributes* Native() const { return native_; }

 private:
  vcl::GpImageAttributes* native_ = nullptr;
  GpStatus lastStatus_;
};

// --- Unit-wide ---

// The Windows 7 scenic-ribbon look, false until the ribbon sets it.
void SetGlobalWin7ScenicRibbon(bool Value);
bool GetGlobalWin7ScenicRibbon();

// A class-library colour (system colours resolved) as ARGB with alpha 255
// or the given alpha.
ARGB ColorToOpaqueARGB(vcl::TColor Color);
ARGB AlphaColorToARGB(uint8_t Alpha, vcl::TColor Color);
constexpr ARGB MakeARGB(uint8_t A, uint8_t R, uint8_t G, uint8_t B) {
  return (static_cast<ARGB>(A) << 24) | (static_cast<ARGB>(R) << 16) | (static_cast<ARGB>(G) << 8) | B;
}
constexpr ARGB MakeOpaqueARGB(uint8_t R, uint8_t G, uint8_t B) { return MakeARGB(255, R, G, B); }
// The value shifted to the channel; callers keep the low byte.
constexpr ARGB ARGBRed(ARGB Color) { return Color >> 16; }
constexpr ARGB ARGBGreen(ARGB Color) { return Color >> 8; }
constexpr ARGB ARGBBlue(ARGB Color) { return Color; }
constexpr TGPIntPoint MakeGPPoint(int32_t X, int32_t Y) { return {X, Y}; }
constexpr TGPFloatRect MakeGPRectF(REAL X, REAL Y, REAL Width, REAL Height) { return {X, Y, Width, Height}; }

// GDI+ for the whole process: started at the library's start-up (with its
// background thread suppressed, so the notification hook is called here)
// and stopped at its shut-down. Wrappers live only in between.
void StartUpGdiplus();
void ShutDownGdiplus();

}  // namespace controls
