#pragma once
// The desktop's GDI+ flat interface, drawn on a canvas with anti-aliasing
// through the same painter as everything else. Objects are handles made
// and freed by the Gdip* calls; every call answers a status and never
// raises. The rules that make the pixels come out as the desktop's:
//
// - Vector drawing is offset by half a pixel: GDI+ centres pixels on
//   integer coordinates, Qt between them, so a one-pixel line at an integer
//   coordinate covers exactly one row. Images sit on the pixel grid.
// - Smoothing modes 2 and 4 to 6 anti-alias; text hints 0 and 3 to 5 draw
//   grey-scale anti-aliased text (a back buffer has no sub-pixel order),
//   1 and 2 aliased text.
// - A linear gradient is scaled to its rectangle (a diagonal one gives the
//   two other corners the middle colour) and repeats outside it under
//   WrapModeTile; a path gradient is a fan of triangles from its centre.
// - Arcs turn clockwise on the screen from the x axis, angles measured on
//   the ellipse; an arc of zero width or height is refused with
//   InvalidParameter. Dash lengths are multiples of the pen width (dash 3-1,
//   dot 1-1).
// - Strings are laid out with 1/6 em of padding at both ends; the hot-key
//   prefix, alignment, wrapping, trimming and the no-wrap flag of the
//   string format apply. A family that is neither installed nor in the
//   font substitution table gives FontFamilyNotFound.
// - Images decode through Qt's readers; their raw format comes from the
//   file's signature; metafiles are recognised but not decoded (0 x 0).
//
// Nothing works before GdiplusStartup (GdiplusNotInitialized).
#include <cstdint>

#include "rtl/Streams.h"
#include "vcl/Graphics.h"

class QImage;

namespace vcl {

using ARGB = uint32_t;
using REAL = float;

enum GpStatus : int32_t {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
  PropertyNotFound = 19,
  PropertyNotSupported = 20,
};

enum SmoothingMode : int32_t {
  SmoothingModeInvalid = -1,
  SmoothingModeDefault = 0,
  SmoothingModeHighSpeed = 1,
  SmoothingModeHighQuality = 2,
  SmoothingModeNone = 3,
  SmoothingModeAntiAlias = 4,
  SmoothingModeAntiAlias8x4 = 4,
  SmoothingModeAntiAlias8x8 = 5,
};
enum TextRenderingHint : int32_t {
  TextRenderingHintSystemDefault = 0,
  TextRenderingHintSingleBitPerPixelGridFit = 1,
  TextRenderingHintSingleBitPerPixel = 2,
  TextRenderingHintAntiAliasGridFit = 3,
  TextRenderingHintAntiAlias = 4,
  TextRenderingHintClearTypeGridFit = 5,
};
enum LinearGradientMode : int32_t {
  LinearGradientModeHorizontal = 0,
  LinearGradientModeVertical = 1,
  LinearGradientModeForwardDiagonal = 2,
  LinearGradientModeBackwardDiagonal = 3,
};
enum WrapMode : int32_t { WrapModeTile, WrapModeTileFlipX, WrapModeTileFlipY, WrapModeTileFlipXY, WrapModeClamp };
enum DashStyle : int32_t { DashStyleSolid, DashStyleDash, DashStyleDot, DashStyleDashDot, DashStyleDashDotDot, DashStyleCustom };
enum CombineMode : int32_t {
  CombineModeReplace,
  CombineModeIntersect,
  CombineModeUnion,
  CombineModeXor,
  CombineModeExclude,
  CombineModeComplement,
};
enum FillMode : int32_t { FillModeAlternate, FillModeWinding };
enum Unit : int32_t { UnitWorld, UnitDisplay, UnitPixel, UnitPoint, UnitInch, UnitDocument, UnitMillimeter };
enum StringAlignment : int32_t { StringAlignmentNear, StringAlignmentCenter, StringAlignmentFar };
enum StringTrimming : int32_t {
  StringTrimmingNone,
  StringTrimmingCharacter,
  StringTrimmingWord,
  StringTrimmingEllipsisCharacter,
  StringTrimmingEllipsisWord,
  StringTrimmingEllipsisPath,
};
enum HotkeyPrefix : int32_t { HotkeyPrefixNone, HotkeyPrefixShow, HotkeyPrefixHide };
enum ColorAdjustType : int32_t {
  ColorAdjustTypeDefault,
  ColorAdjustTypeBitmap,
  ColorAdjustTypeBrush,
  ColorAdjustTypePen,
  ColorAdjustTypeText,
  ColorAdjustTypeCount,
  ColorAdjustTypeAny,
};
enum BrushType : int32_t {
  BrushTypeSolidColor,
  BrushTypeHatchFill,
  BrushTypeTextureFill,
  BrushTypePathGradient,
  BrushTypeLinearGradient,
};
// Font style bits.
inline constexpr int32_t FontStyleRegular = 0;
inline constexpr int32_t FontStyleBold = 1;
inline constexpr int32_t FontStyleItalic = 2;
inline constexpr int32_t FontStyleUnderline = 4;
inline constexpr int32_t FontStyleStrikeout = 8;
// String format flags.
inline constexpr int32_t StringFormatFlagsNoFitBlackBox = 0x4;
inline constexpr int32_t StringFormatFlagsMeasureTrailingSpaces = 0x800;
inline constexpr int32_t StringFormatFlagsNoWrap = 0x1000;
inline constexpr int32_t StringFormatFlagsLineLimit = 0x2000;
inline constexpr int32_t StringFormatFlagsNoClip = 0x4000;
// Path point types.
inline constexpr Byte PathPointTypeStart = 0;
inline constexpr Byte PathPointTypeLine = 1;
inline constexpr Byte PathPointTypeBezier = 3;
inline constexpr Byte PathPointTypePathTypeMask = 7;
inline constexpr Byte PathPointTypeCloseSubpath = 0x80;

// The raw formats of images, as GetRawFormat codes them.
enum class TGpImageFormat { Unknown, MemoryBMP, BMP, EMF, WMF, JPEG, PNG, GIF, TIFF, EXIF, Icon };

struct GpPointF {
  REAL X = 0;
  REAL Y = 0;
};
struct GpPoint {
  int32_t X = 0;
  int32_t Y = 0;
};
struct GpRectF {
  REAL X = 0;
  REAL Y = 0;
  REAL Width = 0;
  REAL Height = 0;
};

// Opaque handles (GdiPlusObjects.h holds them). Every brush is a GpBrush
// and every bitmap a GpImage, as the flat interface treats them.
struct GpGraphics;
struct GpPen;
struct GpBrush;
using GpSolidFill = GpBrush;
using GpLineGradient = GpBrush;
using GpPathGradient = GpBrush;
struct GpPath;
struct GpRegion;
struct GpFontFamily;
struct GpFontCollection;
struct GpFont;
struct GpStringFormat;
struct GpImage;
using GpBitmap = GpImage;
struct GpImageAttributes;

// --- Start and stop ---
struct GdiplusStartupInput {
  uint32_t GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  bool SuppressBackgroundThread = false;
  bool SuppressExternalCodecs = false;
};
using NotificationHookProc = GpStatus (*)(uintptr_t* token);
using NotificationUnhookProc = void (*)(uintptr_t token);
// With SuppressBackgroundThread the caller gets the hook and unhook to call
// on its own thread.
struct GdiplusStartupOutput {
  NotificationHookProc NotificationHook = nullptr;
  NotificationUnhookProc NotificationUnhook = nullptr;
};
GpStatus GdiplusStartup(uintptr_t* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
void GdiplusShutdown(uintptr_t token);
// True between a start-up and its shut-down (each start-up counts).
bool GdiplusRunning();
void* GdipAlloc(size_t size);
void GdipFree(void* ptr);

// --- Graphics ---
GpStatus GdipCreateFromHDC(TCanvas* dc, GpGraphics** graphics);
GpStatus GdipDeleteGraphics(GpGraphics* graphics);
GpStatus GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode);
GpStatus GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode);
GpStatus GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint hint);
GpStatus GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* hint);
GpStatus GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode);
GpStatus GdipResetClip(GpGraphics* graphics);
GpStatus GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
GpStatus GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);
GpStatus GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawImageI(GpGraphics* graphics, GpImage* image, int32_t x, int32_t y);
GpStatus GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height);
// The callback and its data are accepted and never called.
GpStatus GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstX, REAL dstY, REAL dstWidth,
                               REAL dstHeight, REAL srcX, REAL srcY, REAL srcWidth, REAL srcHeight, Unit srcUnit,
                               GpImageAttributes* attributes, void* callback, void* callbackData);
// length -1: up to the first zero.
GpStatus GdipDrawString(GpGraphics* graphics, const char16_t* text, int32_t length, GpFont* font,
                        const GpRectF* layoutRect, GpStringFormat* format, GpBrush* brush);
GpStatus GdipMeasureString(GpGraphics* graphics, const char16_t* text, int32_t length, GpFont* font,
                           const GpRectF* layoutRect, GpStringFormat* format, GpRectF* boundingBox,
                           int32_t* codepointsFitted, int32_t* linesFilled);

// --- Pens and brushes ---
GpStatus GdipCreatePen1(ARGB color, REAL width, Unit unit, GpPen** pen);
GpStatus GdipDeletePen(GpPen* pen);
GpStatus GdipSetPenDashStyle(GpPen* pen, DashStyle style);
GpStatus GdipGetPenDashStyle(GpPen* pen, DashStyle* style);
GpStatus GdipGetPenColor(GpPen* pen, ARGB* color);
GpStatus GdipGetPenWidth(GpPen* pen, REAL* width);
GpStatus GdipDeleteBrush(GpBrush* brush);
GpStatus GdipGetBrushType(GpBrush* brush, BrushType* type);
GpStatus GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
GpStatus GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);
GpStatus GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                     WrapMode wrap, GpLineGradient** brush);
GpStatus GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush);
GpStatus GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color);
GpStatus GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color);
GpStatus GdipGetPathGradientPointCount(GpPathGradient* brush, int32_t* count);
// count is in-out: the colours given in, the colours used out.
GpStatus GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, int32_t* count);
GpStatus GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point);
GpStatus GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point);

// --- Paths and regions ---
GpStatus GdipCreatePath(FillMode fillMode, GpPath** path);
GpStatus GdipDeletePath(GpPath* path);
GpStatus GdipClosePathFigure(GpPath* path);
GpStatus GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
GpStatus GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipAddPathPolygon(GpPath* path, const GpPointF* points, int32_t count);
GpStatus GdipAddPathPolygonI(GpPath* path, const GpPoint* points, int32_t count);
GpStatus GdipAddPathCurve2I(GpPath* path, const GpPoint* points, int32_t count, REAL tension);
GpStatus GdipGetPointCount(GpPath* path, int32_t* count);
// count must be the path's point count.
GpStatus GdipGetPathPoints(GpPath* path, GpPointF* points, int32_t count);
GpStatus GdipGetPathTypes(GpPath* path, Byte* types, int32_t count);
GpStatus GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const void* matrix, const GpPen* pen);
GpStatus GdipCreateRegionRect(const GpRectF* rect, GpRegion** region);
GpStatus GdipCreateRegionPath(GpPath* path, GpRegion** region);
GpStatus GdipDeleteRegion(GpRegion* region);
GpStatus GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode);
GpStatus GdipCombineRegionRegion(GpRegion* region, GpRegion* other, CombineMode mode);
// Whether the point lies in the region (graphics may be null).
GpStatus GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, int32_t* result);

// --- Fonts and string formats ---
GpStatus GdipCreateFontFamilyFromName(const char16_t* name, GpFontCollection* collection, GpFontFamily** family);
GpStatus GdipDeleteFontFamily(GpFontFamily* family);
GpStatus GdipCreateFont(const GpFontFamily* family, REAL emSize, int32_t style, Unit unit, GpFont** font);
GpStatus GdipDeleteFont(GpFont* font);
GpStatus GdipGetFontSize(GpFont* font, REAL* size);
GpStatus GdipCreateStringFormat(int32_t flags, uint16_t language, GpStringFormat** format);
GpStatus GdipDeleteStringFormat(GpStringFormat* format);
GpStatus GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align);
GpStatus GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align);
GpStatus GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming);
GpStatus GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, int32_t prefix);

// --- Images ---
// The whole stream from its start; it is not kept.
GpStatus GdipLoadImageFromStream(rtl::TStream* stream, GpImage** image);
GpStatus GdipLoadImageFromStreamICM(rtl::TStream* stream, GpImage** image);
GpStatus GdipCreateBitmapFromStream(rtl::TStream* stream, GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromStreamICM(rtl::TStream* stream, GpBitmap** bitmap);
GpStatus GdipDisposeImage(GpImage* image);
GpStatus GdipGetImageRawFormat(GpImage* image, TGpImageFormat* format);
GpStatus GdipGetImageWidth(GpImage* image, uint32_t* width);
GpStatus GdipGetImageHeight(GpImage* image, uint32_t* height);
GpStatus GdipBitmapGetPixel(GpBitmap* bitmap, int32_t x, int32_t y, ARGB* color);
GpStatus GdipCreateImageAttributes(GpImageAttributes** attributes);
GpStatus GdipDisposeImageAttributes(GpImageAttributes* attributes);
GpStatus GdipSetImageAttributesColorKeys(GpImageAttributes* attributes, ColorAdjustType type, bool enable,
                                         ARGB low, ARGB high);

// --- The layer's own, beside the flat interface ---
// The raw format of a picture file's first bytes.
TGpImageFormat GdipFormatOfSignature(const Byte* bytes, size_t size);
// The decoded pixels of an image (null while it holds none), for the
// class library's pictures.
const QImage* GdipImagePixels(GpImage* image);

}  // namespace vcl
