#pragma once
// The mini-HTML renderer: draws, measures and hit-tests a short text with
// markup (fonts, colours, links, pictures, lists, embedded form controls) on
// a canvas. The grid draws its HTML cells, footers, hints and captions with
// it, and the drop-down pop-ups their headers, footers and item captions.
// The markup reading and the routines that draw nothing live in
// dropdown/text (HtmlMarkup.h, HtmlTextRoutines.h).
#include <string_view>

#include "dropdown/text/HtmlTextRoutines.h"
#include "vcl/Graphics.h"
#include "vcl/Types.h"

namespace vcl {
class TImageList;
}

namespace dropdown {

class THTMLPictureCache;
class TPictureContainer;

// What a call asks for, beside the canvas (its font, brush and pen are the
// starting state and come back as they were), the text and the rectangle.
struct THtmlTextOptions {
  vcl::TImageList* Images = nullptr;  // "IDX:" images
  // The point to hit-test, in canvas coordinates; (-1, -1) for none.
  vcl::Integer PointX = -1;
  vcl::Integer PointY = -1;
  vcl::Integer FocusLinkIndex = -1;  // zero-based; -1: no focus rectangle
  vcl::Integer HotLinkIndex = 0;     // one-based link under the pointer
  vcl::Integer ShadowDepth = 1;
  bool HitTestOnly = false;  // the second pass tests and draws nothing
  bool MeasureOnly = false;  // only the measuring pass runs
  bool Printing = false;     // list and icon images stretched by PrintScale
  bool SelectedText = false; // link and font-tag colours leave the caller's
  bool BlinkPhase = true;    // blinking text visible
  bool HotUnderlineOnly = false;
  bool WrapWords = true;     // false: an overflowing line ends with an ellipsis
  bool ButtonDown = false;   // pressed look of embedded push buttons
  double PrintScale = 1.0;
  vcl::TColor LinkColor = 0xFF0000;
  vcl::TColor HotBackColor = vcl::clNone;
  vcl::TColor HotTextColor = vcl::clNone;
  vcl::TColor ShadowTint = 0x808080;
  THTMLPictureCache* PictureCache = nullptr;
  TPictureContainer* Pictures = nullptr;
  vcl::HWND ThemeWindow = 0;  // window the visual-styles data open for
};

// What a call gives back.
struct THtmlTextResult {
  rtl::AnsiString HitAnchor;      // HREF at the point, "ctrl" for a control
  rtl::AnsiString PlainText;      // runs once each, CR per line-break tag
  rtl::AnsiString FocusedAnchor;  // HREF of the focused link
  rtl::AnsiString AnchorTitle;    // TITLE of the last anchor that has one
  vcl::Integer ContentWidth = 0;  // widest line, trailing space excluded
  vcl::Integer ContentHeight = 0; // sum of the line heights
  vcl::Integer LinkCount = 0;
  vcl::Integer HitLinkIndex = -1;  // one-based; -1 for none
  vcl::TRect HitLinkRect;
  vcl::TRect ControlRect;          // all zero when no control is hit
  // In with HitTestOnly: the control with this ID counts as hit wherever the
  // point is. Out: the ID of the control hit.
  rtl::AnsiString ControlId;
  rtl::AnsiString ControlValue;    // entities decoded
  rtl::AnsiString ControlKind;     // TYPE, upper-cased
};

// Draws (or with HitTestOnly tests, or with MeasureOnly measures) html in
// bounds. True when the point lies on an embedded control or an image
// inside an anchor, or in a hit-test call on an anchor's text within its
// line's text band; always false when measuring only. Never raises on
// malformed markup. result's outputs are cleared on entry (ControlId only
// without HitTestOnly).
bool DrawHTMLText(vcl::TCanvas* canvas, std::string_view html, const vcl::TRect& bounds,
                  const THtmlTextOptions& options, THtmlTextResult& result);

}  // namespace dropdown
