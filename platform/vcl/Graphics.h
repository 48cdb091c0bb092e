#pragma once
// Colours, fonts, pens, brushes and the canvas every control paints with.
//
// A TCanvas draws with the desktop's rules: rectangles exclude their right
// and bottom edges, LineTo leaves out its end point, text is placed by the
// top-left corner of its cell and drawn on the brush colour unless the brush
// is clear. A canvas draws on a surface it is bound to (a control's back
// buffer, a bitmap); its primitives are virtual so that measuring and
// recording canvases can stand in for it in tests.
#include <functional>
#include <memory>
#include <vector>

#include "rtl/Types.h"
#include "vcl/Components.h"
#include "vcl/Types.h"

namespace vcl {

// 0x00BBGGRR; system colours are 0xFF000000 + their index (a colour with
// the top bit set is read as one).
using TColor = rtl::Cardinal;

constexpr TColor RGB(Byte r, Byte g, Byte b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr Byte GetRValue(TColor c) { return static_cast<Byte>(c & 0xFF); }
constexpr Byte GetGValue(TColor c) { return static_cast<Byte>((c >> 8) & 0xFF); }
constexpr Byte GetBValue(TColor c) { return static_cast<Byte>((c >> 16) & 0xFF); }

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
// What GetPixel answers outside the surface or its clipping.
inline constexpr TColor CLR_INVALID = 0xFFFFFFFF;

inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;
inline constexpr TColor clHotLight = clSystemColor | 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor | 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
inline constexpr TColor clMenuHighlight = clSystemColor | 29;
inline constexpr TColor clMenuBar = clSystemColor | 30;

// The RGB value of a system colour index (COLOR_*); black for an unknown one.
TColor GetSysColor(Integer index);
// A system colour resolved to its RGB value; other colours unchanged
// (clNone and clDefault resolve to black and the window colour).
TColor ColorToRGB(TColor color);

// --- Fonts, pens and brushes ---

class TGraphicsObject : public TPersistent {
 public:
  TNotifyEvent OnChange;

 protected:
  void Changed();
};

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using enum TFontStyle;
using TFontStyles = rtl::TSet<TFontStyle>;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using enum TFontPitch;
using TFontCharset = Byte;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;

// The installed family that stands in for a font name the program asks for
// (a metric-compatible one where there is one); other names unchanged.
AnsiString SubstituteFontName(const AnsiString& name);

class TFont : public TGraphicsObject {
 public:
  TFont();
  void Assign(const TPersistent* source) override;

  const AnsiString& Name() const { return name_; }
  void SetName(const AnsiString& name);
  // Points at PixelsPerInch; Size and Height are two views of one value.
  Integer Size() const;
  void SetSize(Integer points);
  // Pixels; negative: the character height, positive: the cell height
  // (character plus internal leading), as the desktop defines it.
  Integer Height() const { return height_; }
  void SetHeight(Integer pixels);
  const TFontStyles& Style() const { return style_; }
  void SetStyle(const TFontStyles& style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset charset);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);
  // Tenths of a degree, counter-clockwise.
  Integer Orientation() const { return orientation_; }
  void SetOrientation(Integer tenths);
  Integer PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(Integer ppi) { pixelsPerInch_ = ppi; }

  bool Equals(const TFont& other) const;

 private:
  AnsiString name_ = "Tahoma";
  Integer height_ = -11;  // 8 points at 96 pixels per inch
  TFontStyles style_;
  TColor color_ = clWindowText;
  TFontCharset charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
  Integer orientation_ = 0;
  Integer pixelsPerInch_ = 96;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
using enum TPenStyle;
enum class TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
using enum TPenMode;

class TPen : public TGraphicsObject {
 public:
  void Assign(const TPersistent* source) override;
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  Integer Width() const { return width_; }
  void SetWidth(Integer w);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle s);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode m);

 private:
  TColor color_ = clBlack;
  Integer width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
using enum TBrushStyle;

class TBrush : public TGraphicsObject {
 public:
  void Assign(const TPersistent* source) override;
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle s);

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

struct TTextMetrics {
  Integer Height = 0;  // Ascent + Descent
  Integer Ascent = 0;
  Integer Descent = 0;
  Integer InternalLeading = 0;
  Integer ExternalLeading = 0;
  Integer AveCharWidth = 0;
  Integer MaxCharWidth = 0;
  // Characters of different widths (a proportional face).
  bool VariablePitch = false;
};

// --- The canvas ---

struct TCanvasSurface;  // the bound drawing target (Qt side)
class TGraphic;         // Pictures.h
class TBitmap;          // Pictures.h
class TRegion;          // Regions.h
// GDI+ objects (GdiPlus.h).
struct GpGraphics;
struct GpPath;
struct GpBrush;
struct GpPen;
struct GpImage;
struct GpImageAttributes;
struct GpFont;
struct GpRectF;

// What GDI+ text layout needs of a font on a canvas, in pixels.
struct TGdipFontMetrics {
  double Ascent = 0;
  double Descent = 0;
  double LineSpacing = 0;
};

// Text layout flags of TCanvas::DrawText.
inline constexpr Cardinal DT_TOP = 0x0;
inline constexpr Cardinal DT_LEFT = 0x0;
inline constexpr Cardinal DT_CENTER = 0x1;
inline constexpr Cardinal DT_RIGHT = 0x2;
inline constexpr Cardinal DT_VCENTER = 0x4;
inline constexpr Cardinal DT_BOTTOM = 0x8;
inline constexpr Cardinal DT_WORDBREAK = 0x10;
inline constexpr Cardinal DT_SINGLELINE = 0x20;
inline constexpr Cardinal DT_EXPANDTABS = 0x40;
inline constexpr Cardinal DT_NOCLIP = 0x100;
inline constexpr Cardinal DT_CALCRECT = 0x400;
inline constexpr Cardinal DT_NOPREFIX = 0x800;
// A partly visible last line is left out, as an edit field shows it.
inline constexpr Cardinal DT_EDITCONTROL = 0x2000;
inline constexpr Cardinal DT_HIDEPREFIX = 0x100000;
inline constexpr Cardinal DT_END_ELLIPSIS = 0x8000;

enum class TFillStyle { fsSurface, fsBorder };
using enum TFillStyle;

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  TFont* Font() { return &font_; }
  TPen* Pen() { return &pen_; }
  TBrush* Brush() { return &brush_; }
  void SetFont(const TFont* f) { font_.Assign(f); }
  void SetPen(const TPen* p) { pen_.Assign(p); }
  void SetBrush(const TBrush* b) { brush_.Assign(b); }
  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }

  // Fills r (right and bottom excluded) with the brush.
  virtual void FillRect(const TRect& r);
  // A one-pixel frame just inside r, in the brush colour.
  virtual void FrameRect(const TRect& r);
  // Outline with the pen, inside filled with the brush; covers x1..x2-1,
  // y1..y2-1.
  virtual void Rectangle(Integer x1, Integer y1, Integer x2, Integer y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  virtual void MoveTo(Integer x, Integer y);
  // A line from the pen position to (x, y), the end point left out; the pen
  // position moves there.
  virtual void LineTo(Integer x, Integer y);
  // Text whose cell's top-left corner is (x, y), on the brush colour unless
  // the brush is clear; the pen position moves to the end of the text.
  virtual void TextOut(Integer x, Integer y, const AnsiString& text);
  // Text at (x, y) clipped to r, r filled with the brush first unless the
  // brush is clear.
  virtual void TextRect(const TRect& r, Integer x, Integer y, const AnsiString& text);
  virtual TSize TextExtent(const AnsiString& text);
  // UTF-16 text. Every character (a surrogate pair is one) stands at the
  // integer advance measured for it alone, plus the character extra, with
  // no kerning or ligatures between characters, so the text covers exactly
  // the sum of what its characters measure one by one. TextOutW draws the
  // cell on the brush colour unless the brush is clear and moves the pen
  // position to the end; TextExtentW's width counts the extra after every
  // character, as the desktop measures it.
  virtual void TextOutW(Integer x, Integer y, const WideString& text);
  virtual TSize TextExtentW(const WideString& text);
  // Spacing added after every character by TextOutW and TextExtentW;
  // answers the previous value.
  virtual Integer SetTextCharacterExtra(Integer extra);
  Integer TextCharacterExtra() const { return characterExtra_; }
  // ExtTextOut's options (ETO_*), kept for the text calls.
  Cardinal TextFlags() const { return textFlags_; }
  void SetTextFlags(Cardinal flags) { textFlags_ = flags; }
  // Source's rectangle stretched to dest over what is there, with the
  // constant opacity alpha (0 leaves dest, 255 copies): per channel
  // (source * alpha + dest * (255 - alpha)) / 255, rounded.
  virtual void AlphaBlendFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Byte alpha);
  Integer TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
  Integer TextHeight(const AnsiString& text) { return TextExtent(text).cy; }
  virtual TTextMetrics GetTextMetrics();
  // CLR_INVALID outside the surface.
  virtual TColor Pixels(Integer x, Integer y);
  virtual void SetPixels(Integer x, Integer y, TColor color);

  // --- Shapes, clipping and copies (CanvasGdi.cpp, DrawText.cpp) ---
  // Shapes take their bounds as rectangles do (right and bottom excluded),
  // are outlined with the pen and filled with the brush, both through the
  // pen mode.
  virtual void RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer cornerWidth, Integer cornerHeight);
  virtual void Ellipse(Integer x1, Integer y1, Integer x2, Integer y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  virtual void Polygon(const std::vector<TPoint>& points);
  // Lines through the points, the last point left out; the pen position
  // stays where it was.
  virtual void Polyline(const std::vector<TPoint>& points);
  // The part of the ellipse in (x1, y1, x2, y2) that runs counter-clockwise
  // from the ray towards (x3, y3) to the ray towards (x4, y4).
  virtual void Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4);
  // Inverts every other pixel of a one-pixel frame just inside r; drawn
  // twice it leaves nothing behind.
  virtual void DrawFocusRect(const TRect& r);
  // Fills with the brush from (x, y) over the pixels bounded by color
  // (fsBorder) or of color (fsSurface).
  virtual void FloodFill(Integer x, Integer y, TColor color, TFillStyle style);

  // Clipping. Regions are in this canvas's coordinates. SaveDC answers the
  // new saving level (1 for the first); RestoreDC takes a level, or a
  // negative count relative to the newest, and answers false for a level
  // that was never saved.
  virtual Integer SaveDC();
  virtual bool RestoreDC(Integer level);
  virtual void IntersectClipRect(const TRect& r);
  virtual void ExcludeClipRect(const TRect& r);
  // A copy of region becomes the clipping; null removes all clipping.
  virtual void SelectClipRegion(const TRegion* region);
  // The bounds of the area drawing reaches (the whole surface without
  // clipping); empty without a surface.
  TRect ClipRect();

  // Pictures and copies between canvases. The copy mode is a ternary
  // raster operation (SRCCOPY unless set) that CopyRect applies.
  virtual void Draw(Integer x, Integer y, TGraphic* graphic);
  virtual void StretchDraw(const TRect& r, TGraphic* graphic);
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
  // Copies source's rectangle (stretched to dest) combining source,
  // destination and brush by the raster operation; with a transparent
  // colour other than clNone, source pixels of that colour are left out.
  virtual void BlitFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Cardinal rop,
                        TColor transparent = clNone);
  // Copies source's rectangle with every pixel of colour `transparent`
  // replaced by the brush.
  virtual void BrushCopy(const TRect& dest, TBitmap* source, const TRect& sourceRect, TColor transparent);
  Cardinal CopyMode() const { return copyMode_; }
  void SetCopyMode(Cardinal rop) { copyMode_ = rop; }

  // Text in a rectangle laid out by the DT_* flags (above): lines, word
  // breaks, alignment, tabs, & prefixes, an ellipsis at the end of text
  // that does not fit. With DT_CALCRECT r becomes the rectangle the text
  // needs and nothing is drawn. Answers the text's height (with DT_VCENTER
  // or DT_BOTTOM: from r's top to the text's bottom).
  Integer DrawText(const AnsiString& text, TRect& r, Cardinal format);
  // The 3D edges of buttons and fields (BDR_*, EDGE_*, BF_* of Gdi.h).
  bool DrawEdge(TRect& r, Cardinal edge, Cardinal flags);
  // Buttons, check and radio boxes, scroll arrows, caption and menu glyphs
  // (DFC_*, DFCS_* of Gdi.h).
  bool DrawFrameControl(TRect& r, Cardinal type, Cardinal state);

  // True while the canvas has a surface to draw on.
  bool HandleAllocated() const;
  // Drops the surface (a control canvas binds again on the next drawing).
  void Refresh();

  // A part of the desktop theme (vcl/UxTheme.h) drawn by the application's
  // style inside r and, when given, the clip rectangle.
  virtual void DrawThemePart(const char* themeClass, Integer part, Integer state, const TRect& r,
                             const TRect* clip);

  // GDI+ drawing (vcl/GdiPlus.h) arrives here, so stand-in canvases see
  // it: paths filled and outlined, images, and text as laid-out lines
  // (top-left of the line's cell, the UTF-16 index of an underlined hot-key
  // character or -1, the layout clip when there is one). Text layout
  // measures through the last two.
  virtual void GdipFillPath(const GpGraphics* g, const GpPath* path, const GpBrush* brush);
  virtual void GdipDrawPath(const GpGraphics* g, const GpPath* path, const GpPen* pen);
  virtual void GdipDrawImage(const GpGraphics* g, const GpImage* image, const GpRectF& dest, const GpRectF& source,
                             const GpImageAttributes* attributes);
  virtual void GdipDrawTextLine(const GpGraphics* g, const GpFont* font, const GpBrush* brush, double x, double top,
                                const WideString& text, Integer underlined, const GpRectF* clip);
  virtual double GdipTextAdvance(const GpFont* font, const WideString& text);
  virtual TGdipFontMetrics GdipFontMetrics(const GpFont* font);

  // Fired before and after each drawing operation.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

  // The Qt-side surface; null while none is bound.
  TCanvasSurface* Surface() const { return surface_.get(); }
  void SetSurface(std::unique_ptr<TCanvasSurface> surface);

 protected:
  // Binds a surface on demand; a canvas without one raises
  // EInvalidOperation "Canvas does not allow drawing".
  virtual void CreateHandle() {}
  void RequiredState();
  void Changing();
  void Changed();

 private:
  TFont font_;
  TPen pen_;
  TBrush brush_;
  TPoint penPos_;
  std::unique_ptr<TCanvasSurface> surface_;
  Cardinal copyMode_ = 0x00CC0020;  // SRCCOPY
  Integer characterExtra_ = 0;
  Cardinal textFlags_ = 0;
};

// ExtTextOut options, as TCanvas::TextFlags keeps them.
inline constexpr Cardinal ETO_OPAQUE = 0x0002;
inline constexpr Cardinal ETO_CLIPPED = 0x0004;

// The characters of UTF-16 text as TextOutW places them: each entry is the
// index of a character's first unit and its length (2 for a surrogate
// pair, 1 otherwise, a lone surrogate included).
struct TTextCharacter {
  size_t Index;
  size_t Length;
};
std::vector<TTextCharacter> SplitTextCharacters(const WideString& text);

}  // namespace vcl
