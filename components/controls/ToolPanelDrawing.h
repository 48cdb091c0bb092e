#pragma once
// The tool panels' shared pieces that need no window: their enumerations,
// the stepped gradient the strip, the panels and the sections fill with,
// the colour presets of the strip, the panel and the section layout as
// tables, and the tab geometry of a strip (lengths, positions, rectangles
// and hit-testing).
#include <cstdint>
#include <vector>

#include "controls/LumMenuUtil.h"
#include "vcl/Graphics.h"
#include "vcl/Types.h"

namespace controls {

enum TPanelPosition : uint8_t { ppLeft, ppRight, ppTop, ppBottom };
enum TSlideSpeed : uint8_t { ssSlow, ssMedium, ssFast, ssInstant };
enum TAutoOpenCloseSpeed : uint8_t { aocSlow, aocMedium, aocFast, aocVerySlow, aocVeryFast };
// In the order of REZORuvar, whose ordinals a style-aware strip takes over.
enum TToolPanelStyle : uint8_t {
  esOffice2003Blue,
  esOffice2003Silver,
  esOffice2003Olive,
  esOffice2003Classic,
  esOffice2007Luna,
  esOffice2007Obsidian,
  esWindowsXP,
  esWhidbey,
  esCustom,
  esOffice2007Silver,
  esWindowsVista,
  esWindows7,
  esTerminal
};
enum TPanelState : uint8_t { psClosed, psOpened, psDocked };

inline bool IsVerticalStrip(TPanelPosition p) { return p == ppLeft || p == ppRight; }

namespace toolpanels {

// Fills Rect (its right or bottom edge moved in by one) with Steps bands
// from FromColor to ToColor, left to right when Horizontal, else top to
// bottom; each band reaches one pixel into the next. 0 steps count as 1.
void DrawGradient(vcl::TCanvas* Canvas, vcl::TColor FromColor, vcl::TColor ToColor, bool Horizontal,
                  const vcl::TRect& Rect, int Steps);

// A tab's glyph drawn Length long along the strip from (X, Y): its first
// half, a 2-pixel slice from just before its middle stretched over what the
// glyph lacks of Length, then its second half; rows on a vertical strip,
// columns on a horizontal one, at the glyph's own thickness. The colour of
// its bottom-left pixel (vertical) or top-right pixel (horizontal) is left
// out.
void DrawThreeSliceGlyph(vcl::TCanvas* Canvas, vcl::TBitmap* Glyph, int X, int Y, int Length, bool Vertical);

// The strip's colours for a preset; esCustom has none (it changes nothing).
struct TStripColours {
  vcl::TColor FontColor, TabColor, TabColorTo, TabHoverColor, TabHoverColorTo, TabBorderColor, Color, ColorTo;
  // esWhidbey, esCustom, esWindowsVista, esWindows7 and esTerminal switch the
  // adaptation to the desktop's colour scheme off.
  bool StopsThemeAdapt;
};
const TStripColours* StripColoursOf(TToolPanelStyle Style);

struct TPanelColours {
  vcl::TColor Color, ColorTo, NoFocusCaptionColor, NoFocusCaptionColorTo, NoFocusCaptionFontColor,
      FocusCaptionColor, FocusCaptionColorTo, FocusCaptionFontColor, HoverButtonColor, HoverButtonColorTo,
      DownButtonColor, DownButtonColorTo;
};
const TPanelColours* PanelColoursOf(TToolPanelStyle Style);

struct TSectionLayoutColours {
  vcl::TColor CaptionColor, CaptionColorTo;
  TGradientDirection CaptionGradientDir;
  vcl::TColor CaptionFontColor, BackGroundColor, BackGroundColorTo, BorderColor, ItemFontColor, ItemHoverTextColor;
};
const TSectionLayoutColours* SectionLayoutColoursOf(TToolPanelStyle Style);

// The scheme a themed desktop names: "NormalColor", "HomeStead" and
// "Metallic" (compared exactly) have presets of their own, anything else,
// or no active theme, the classic one.
TToolPanelStyle StyleForColorScheme(bool ThemeActive, const char16_t* SchemeName);

// Tab geometry along a strip. A tab's length t is its caption's width plus 4,
// or plus the image list's width and 10 when it shows an image.
int TabLength(int CaptionWidth, bool HasImage, int ImageWidth);

struct TTabSpan {
  int Item;    // the index in the strip's panel list
  int Start;   // p: painted from p to p + Length + 4
  int Length;  // t
};
// Lengths holds one entry per panel of the list, -1 for one without a tab
// (locked, hidden or floating). The first tab starts at 2 plus Offset (a
// vertical strip's scroll offset, 0 or negative); each next one t + 10 on.
std::vector<TTabSpan> LayOutTabs(const std::vector<int>& Lengths, int Offset);
// 2 plus t + 10 for every tab, the scroll offset left out.
int TabsLength(const std::vector<int>& Lengths);
// The item whose tab's hit range (p + 1 to p + t + 9, both exclusive) holds
// Along, the position along the strip; -1 in the 10-pixel scroll band at
// the strip's end while the tabs are longer than the strip, and between tabs.
int TabAtPos(const std::vector<TTabSpan>& Tabs, int Along, int StripLength, int AllTabsLength);
// The painted rectangle of a tab at p with length t on the strip's client
// rectangle.
vcl::TRect TabRect(TPanelPosition Position, const vcl::TRect& Client, int TabWidth, int P, int T);

}  // namespace toolpanels
}  // namespace controls
