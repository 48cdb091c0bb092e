#include "controls/ToolPanelDrawing.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "rtl/Convert.h"
#include "vcl/Gdi.h"
#include "vcl/Pictures.h"

namespace controls::toolpanels {

using vcl::TColor;

void DrawGradient(vcl::TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const vcl::TRect& Rect,
                  int Steps) {
  vcl::TRect r = Rect;
  if (Horizontal)
    r.Right -= 1;
  else
    r.Bottom -= 1;
  if (Steps <= 0) Steps = 1;
  const TColor from = vcl::ColorToRGB(FromColor);
  const TColor to = vcl::ColorToRGB(ToColor);
  const int fr = vcl::GetRValue(from), fg = vcl::GetGValue(from), fb = vcl::GetBValue(from);
  const double dr = static_cast<double>(vcl::GetRValue(to) - fr) / Steps;
  const double dg = static_cast<double>(vcl::GetGValue(to) - fg) / Steps;
  const double db = static_cast<double>(vcl::GetBValue(to) - fb) / Steps;
  const double band = static_cast<double>(Horizontal ? r.Right - r.Left : r.Bottom - r.Top) / Steps;
  const int extent = static_cast<int>(rtl::Round(band)) + 1;
  for (int i = 0; i < Steps; ++i) {
    const TColor c = vcl::RGB(static_cast<uint8_t>(fr + rtl::Round(i * dr)), static_cast<uint8_t>(fg + rtl::Round(i * dg)),
                              static_cast<uint8_t>(fb + rtl::Round(i * db)));
    Canvas->Pen()->SetColor(c);
    Canvas->Pen()->SetStyle(vcl::psSolid);
    Canvas->Brush()->SetColor(c);
    Canvas->Brush()->SetStyle(vcl::bsSolid);
    const int offset = static_cast<int>(rtl::Round(i * band));
    if (Horizontal)
      Canvas->Rectangle(r.Left + offset, r.Top, r.Left + offset + extent, r.Bottom);
    else
      Canvas->Rectangle(r.Left, r.Top + offset, r.Right, r.Top + offset + extent);
  }
}

void DrawThreeSliceGlyph(vcl::TCanvas* Canvas, vcl::TBitmap* Glyph, int X, int Y, int Length, bool Vertical) {
  if (!Glyph || Glyph->Empty()) return;
  const int w = Glyph->Width(), h = Glyph->Height();
  if (w < 2 || h < 2) return;
  vcl::TCanvas* source = Glyph->Canvas();
  const TColor key = Vertical ? source->Pixels(0, h - 1) : source->Pixels(w - 1, 0);
  constexpr vcl::Cardinal kCopy = vcl::SRCCOPY;
  if (Vertical) {
    const int half = h / 2, stretch = Length - h;
    Canvas->BlitFrom(vcl::Rect(X, Y, X + w, Y + half), source, vcl::Rect(0, 0, w, half), kCopy, key);
    if (stretch > 0)
      Canvas->BlitFrom(vcl::Rect(X, Y + half, X + w, Y + half + stretch), source, vcl::Rect(0, half - 1, w, half + 1),
                       kCopy, key);
    const int rest = Y + half + std::max(stretch, 0);
    Canvas->BlitFrom(vcl::Rect(X, rest, X + w, rest + h - half), source, vcl::Rect(0, half, w, h), kCopy, key);
  } else {
    const int half = w / 2, stretch = Length - w;
    Canvas->BlitFrom(vcl::Rect(X, Y, X + half, Y + h), source, vcl::Rect(0, 0, half, h), kCopy, key);
    if (stretch > 0)
      Canvas->BlitFrom(vcl::Rect(X + half, Y, X + half + stretch, Y + h), source, vcl::Rect(half - 1, 0, half + 1, h),
                       kCopy, key);
    const int rest = X + half + std::max(stretch, 0);
    Canvas->BlitFrom(vcl::Rect(rest, Y, rest + w - half, Y + h), source, vcl::Rect(half, 0, w, h), kCopy, key);
  }
}

namespace {

using vcl::clBtnFace;
using vcl::clHighlight;
using vcl::clInactiveCaption;
using vcl::clNone;

constexpr int kStyles = esTerminal + 1;

// esWhidbey, esWindowsVista and esWindows7 paint the strip in the tabs' own
// pair of colours.
constexpr std::array<TStripColours, kStyles> kStrip{{
    {0, 0xFCE1CB, 0xE0A57D, 0xDCFFFF, 0x5BC0F7, 0x962D00, 0xFFFFFF, 0xF7EFDE, false},
    {0, 0xECE2E1, 0xB39698, 0xDCFFFF, 0x5BC0F7, 0x947C7C, 0xFFFFFF, 0xEFE7E7, false},
    {0, 0xCFF0EA, 0x8CC0B1, 0xDCFFFF, 0x5BC0F7, 0x588060, 0xFFFFFF, 0xCEE7E7, false},
    {0, 0xFFFFFF, 0xC9D1D5, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xFFFFFF, 0xECEFF0, false},
    {0x723708, 0xFFEFE3, 0xFFD2AF, 0xDCFFFF, 0x5BC0F7, 0xFFD2AF, 0xFFF4E3, 0xEDD9C8, false},
    {0x433C37, 0xF2F1F0, 0xC9C2BD, 0xDCFFFF, 0x5BC0F7, 0x5C534C, 0xF1F0E6, 0xC6BCB5, false},
    {0xFFFFFF, clInactiveCaption, clInactiveCaption, clHighlight, clHighlight, 0, clBtnFace, clBtnFace, false},
    {0, 0xEBEEEF, 0x7E9898, 0xDCFFFF, 0x5BC0F7, 0x962D00, 0xEBEEEF, 0x7E9898, true},
    {},  // esCustom
    {0x723708, 0xF8F7F6, 0xE8E0DB, 0xDCFFFF, 0x5BC0F7, 0x74706F, 0xFFFFFF, 0xDDD4D0, false},
    {0, 0xFDF8F1, 0xFCEFD5, 0xFFFDF9, 0xFFFAF0, 0xFDDE99, 0xFDF8F1, 0xFCEFD5, true},
    {0, 0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, 0xCEA27D, 0xFCEBDC, 0xFCDBC1, true},
    {0, clBtnFace, clNone, 0xFFFFFF, 0xFFFFFF, 0, clBtnFace, clNone, true},
}};

constexpr std::array<TPanelColours, kStyles> kPanel{{
    {0xFFE7D6, 0xC67B52, 0xD68759, 0x933803, 0xFFFFFF, 0x94E6FB, 0x1595EE, 0, 0xDCFFFF, 0x5BC0F7, 0x087FE8, 0x7CDAF7},
    {0xF7E7E7, 0xB5A5A5, 0xEFE7E7, 0xAA8888, 0, 0x94E6FB, 0x1595EE, 0, 0xDCFFFF, 0x5BC0F7, 0x087FE8, 0x7CDAF7},
    {0xDEEFEF, 0x84ADA5, 0xC6EFE7, 0x94BDB5, 0, 0x94E6FB, 0x1595EE, 0, 0xDCFFFF, 0x5BC0F7, 0x087FE8, 0x7CDAF7},
    {0xE7E7EF, 0xC6CECE, 0xEFEFEF, 0xC0C9C9, 0, 0xDFDFDF, 0xAFA7A3, 0, 0xD2BDB6, 0xD2BDB6, 0xB59285, 0xB59285},
    {0xFFF4E3, 0xEDD9C8, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xBBEEFF, 0x78DAFF, 0x723708, 0xDCFFFF, 0x5BC0F7, 0x087FE8,
     0x7CDAF7},
    {0xF1F0E6, 0xC6BCB5, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0xBBEEFF, 0x78DAFF, 0, 0xDCFFFF, 0x5BC0F7, 0x087FE8, 0x7CDAF7},
    {clBtnFace, clBtnFace, clInactiveCaption, clInactiveCaption, 0xFFFFFF, clHighlight, clHighlight, 0xFFFFFF,
     clHighlight, clNone, clInactiveCaption, clNone},
    {0xEBEEEF, 0x7E9898, 0xEBEEEF, 0x7E9898, 0, 0x94E6FB, 0x1595EE, 0, 0xF5F9FA, 0xA8C0C0, 0x087FE8, 0x7CDAF7},
    {},  // esCustom
    {0xDEDDDE, 0xF7F3F3, 0xF8F7F6, 0xE8E0DB, 0, 0xBBEEFF, 0x78DAFF, 0x723708, 0xDCFFFF, 0x5BC0F7, 0x087FE8, 0x7CDAF7},
    {0xFDF8F1, 0xFCEFD5, 0xFDF8F1, 0xFCEFD5, 0, 0xE4DED6, 0xE3D6BD, 0, 0xFFFDF9, 0xFFFAF0, 0xFDF8F1, 0xFCEFD5},
    {0xFDFBFA, 0xFDF3EB, 0xFCEBDC, 0xFCDBC1, 0, 0xE3D1C1, 0xE3C2A9, 0, 0xFDFBFA, 0xFDF3EB, 0xFCEBDC, 0xFCDBC1},
    {clBtnFace, clNone, 0xC0C0C0, clNone, 0, 0x808080, clNone, 0xFFFFFF, clBtnFace, clBtnFace, 0xC0C0C0, 0xC0C0C0},
}};

constexpr std::array<TSectionLayoutColours, kStyles> kSections{{
    {0xF7DEC6, 0xD68C63, gdHorizontal, 0x842900, 0xF7EFDE, 0xF7D6BD, 0xFFFFFF, 0xB53900, 0xB53900},
    {0xDECACE, 0xBDADAD, gdHorizontal, 0x7B5A5A, 0xEFE7E7, 0xE7D6D6, 0xFFFFFF, 0xB53900, 0xB53900},
    {0xADDED2, 0x7BB5A5, gdHorizontal, 0x842900, 0xCEE7E7, 0xB5DED6, 0xFFFFFF, 0xB53900, 0xB53900},
    {0xE7E7E7, 0xDEDEDE, gdHorizontal, 0, 0xF7F7F7, 0xECEFF0, 0xFFFFFF, 0xFF0000, 0xFF0000},
    {0xFDD6B7, 0xC89A76, gdVertical, 0, 0xF7EFDE, 0xF7D6BD, 0xFFD2AF, 0xB53900, 0xB53900},
    {0xB8B8B6, 0x6E6E6D, gdVertical, 0xFFFFFF, 0xE6E6DF, 0xD7D5CE, 0x5C534C, 0xB53900, 0xB53900},
    {0xFFFFFF, vcl::cl3DLight, gdVertical, 0, clBtnFace, clBtnFace, 0xFFFFFF, 0, 0},
    {0xEBEEEF, 0xA8C0C0, gdVertical, 0, 0xFFFFFF, clNone, 0xFFFFFF, 0, 0},
    {},  // esCustom
    {0xFAEEEB, 0xE5DBD7, gdVertical, 0, 0xE7DCD5, 0xFBFAF0, 0xCCCAC9, 0xB53900, 0xB53900},
    {0xFFFDF9, 0xFFFAF0, gdVertical, 0, 0xFFFFFF, 0xFFFFFF, 0xFDDE99, 0, 0},
    {0xFDFBFA, 0xFDF3EB, gdVertical, 0, 0xFDFBFA, 0xFDF3EB, 0xCEA27D, 0, 0},
    {0xC0C0C0, 0xC0C0C0, gdVertical, 0, 0xFFFFFF, clNone, 0, 0, 0},
}};

template <typename T>
const T* PresetOf(const std::array<T, kStyles>& table, TToolPanelStyle style) {
  if (style == esCustom || style >= kStyles) return nullptr;
  return &table[style];
}

}  // namespace

const TStripColours* StripColoursOf(TToolPanelStyle Style) { return PresetOf(kStrip, Style); }
const TPanelColours* PanelColoursOf(TToolPanelStyle Style) { return PresetOf(kPanel, Style); }
const TSectionLayoutColours* SectionLayoutColoursOf(TToolPanelStyle Style) { return PresetOf(kSections, Style); }

TToolPanelStyle StyleForColorScheme(bool ThemeActive, const char16_t* SchemeName) {
  if (!ThemeActive || !SchemeName) return esOffice2003Classic;
  const std::u16string_view name(SchemeName);
  if (name == u"NormalColor") return esOffice2003Blue;
  if (name == u"HomeStead") return esOffice2003Olive;
  if (name == u"Metallic") return esOffice2003Silver;
  return esOffice2003Classic;
}

int TabLength(int CaptionWidth, bool HasImage, int ImageWidth) {
  return HasImage ? CaptionWidth + ImageWidth + 10 : CaptionWidth + 4;
}

std::vector<TTabSpan> LayOutTabs(const std::vector<int>& Lengths, int Offset) {
  std::vector<TTabSpan> tabs;
  int p = 2 + Offset;
  for (size_t i = 0; i < Lengths.size(); ++i) {
    if (Lengths[i] < 0) continue;
    tabs.push_back({static_cast<int>(i), p, Lengths[i]});
    p += Lengths[i] + 10;
  }
  return tabs;
}

int TabsLength(const std::vector<int>& Lengths) {
  int total = 2;
  for (int t : Lengths)
    if (t >= 0) total += t + 10;
  return total;
}

int TabAtPos(const std::vector<TTabSpan>& Tabs, int Along, int StripLength, int AllTabsLength) {
  if (AllTabsLength > StripLength && Along > StripLength - 10) return -1;
  for (const TTabSpan& tab : Tabs)
    if (Along > tab.Start + 1 && Along < tab.Start + tab.Length + 9) return tab.Item;
  return -1;
}

vcl::TRect TabRect(TPanelPosition Position, const vcl::TRect& Client, int TabWidth, int P, int T) {
  switch (Position) {
    case ppLeft: return {Client.Left, P, Client.Left + TabWidth - 1, P + T + 4};
    case ppRight: return {Client.Right - TabWidth + 2, P, Client.Right, P + T + 4};
    case ppTop: return {P, Client.Top, P + T + 4, Client.Bottom - 1};
    case ppBottom: return {P, Client.Top + 1, P + T + 4, Client.Bottom};
  }
  return {};
}

}  // namespace controls::toolpanels
