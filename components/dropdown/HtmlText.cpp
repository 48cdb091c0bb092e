#include "dropdown/HtmlText.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "dropdown/PictureContainer.h"
#include "dropdown/text/HtmlMarkup.h"
#include "vcl/Gdi.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/ShellIcons.h"
#include "vcl/UxTheme.h"

namespace dropdown {

namespace {

using rtl::Cardinal;
using vcl::clNone;
using vcl::Integer;
using vcl::TCanvas;
using vcl::TColor;
using vcl::TRect;

constexpr Integer kListStep = 12;
constexpr Integer kControlLineHeight = 23;
constexpr Cardinal kEditBorderThemed = 0xB99D7F;

enum class TAlign { Left, Right, Center };

// Everything a tag changes besides the canvas font. A line's two passes
// start from the same copy of it.
struct TFlow {
  TColor brush = clNone;
  // Anchor.
  bool inAnchor = false;
  Integer link = 0;  // one-based number of the open anchor
  Integer linkCount = 0;
  rtl::AnsiString href;
  bool hovered = false;
  TColor brushBeforeLink = clNone;
  Integer anchorStartX = 0;
  bool anchorStartedHere = false;  // on the line being laid out
  Integer anchorTop = 0;
  bool anchorHit = false;
  bool focusOpen = false;
  Integer focusStartX = 0;
  // Marks and modes.
  bool error = false, hidden = false, sub = false, sup = false, shadow = false;
  TColor highlightFont = clNone, highlightBrush = clNone;
  Integer listLevel = 0;
  TAlign align = TAlign::Left;
  Integer indent = 0;
  TColor paraBack = clNone;
  TColor brushBeforePara = clNone;
  TColor brushBeforeFont = clNone;
  Integer orientationBefore = 0;
};

// What the measuring pass learns about a line.
struct TLineMetrics {
  Integer height = 0;  // tallest run, image or control ("gh" at least)
  Integer sub = 0;     // subscript depth
  Integer sup = 0;     // superscript rise
  Integer width = 0;   // pen less a trailing space
  size_t drawEnd = 0;  // the part both passes lay out
  size_t next = 0;     // where the next line starts
  bool raiseTop = false, raiseMiddle = false;  // image alignment
  TColor paraBack = clNone;
};

enum class TPass { Measure, Draw, Test };

Integer Utf8Length(std::string_view s) {
  Integer n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

Integer Scale(Integer v, Integer ppi) { return static_cast<Integer>((static_cast<long long>(v) * ppi + 48) / 96); }

bool Inside(const TRect& r, Integer x, Integer y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

class THtmlRenderer {
 public:
  THtmlRenderer(TCanvas* canvas, const TRect& bounds, const THtmlTextOptions& o, THtmlTextResult& r)
      : c_(canvas), bounds_(bounds), o_(o), r_(r) {}

  bool Run(std::string_view html);

 private:
  // Lays out (and in the second pass draws or tests) one line from pos.
  void Line(TPass pass, size_t pos, size_t end, Integer left, Integer top, TLineMetrics& m);
  // A tag at pos (text[pos] == '<'); answers false when the line ends before
  // it, and sets endLine when it ends the line after it.
  bool Tag(TPass pass, size_t& pos, Integer left, Integer top, TLineMetrics& m, bool& endLine);
  void Image(TPass pass, std::string_view tag, Integer left, Integer top, TLineMetrics& m, bool& fits);
  void Control(TPass pass, std::string_view tag, Integer left, Integer top, TLineMetrics& m, bool& fits);
  void DrawRun(const rtl::AnsiString& run, Integer x, Integer top, Integer bottom, Integer w, Integer h);
  void EndAnchor(TPass pass, Integer left, Integer top, const TLineMetrics& m);
  void DrawFocus(Integer left, Integer from, Integer to, Integer bottom);
  void ApplyBrush();
  Integer Available() const { return bounds_.Right - (bounds_.Left + 1 + flow_.indent); }
  Integer TextBottom(Integer top, const TLineMetrics& m) const { return top + m.height + m.sup; }
  Integer ImageRaise(const TLineMetrics& m) const;
  Integer GhHeight() { return c_->TextExtent("gh").cy; }
  vcl::TGraphic* FindPicture(std::string_view src);
  bool Hit(Integer x, Integer y) const { return o_.PointX == x && o_.PointY == y; }

  TCanvas* c_;
  TRect bounds_;
  const THtmlTextOptions& o_;
  THtmlTextResult& r_;
  rtl::AnsiString text_;
  TFlow flow_;
  vcl::TFont entryFont_;
  TColor entryBrush_ = clNone;
  Integer pen_ = 0;
  bool lineEndsWithSpace_ = false;
  Integer trailingSpace_ = 0;
  bool listItemOnLine_ = false;
  bool dropRest_ = false;
  bool result_ = false;
  bool themed_ = false;
  rtl::AnsiString run_;  // reused for every run
  rtl::AnsiString upper_;
};

void THtmlRenderer::ApplyBrush() {
  if (flow_.brush == clNone) {
    c_->Brush()->SetStyle(vcl::bsClear);
  } else {
    c_->Brush()->SetColor(flow_.brush);
    c_->Brush()->SetStyle(vcl::bsSolid);
  }
}

Integer THtmlRenderer::ImageRaise(const TLineMetrics& m) const {
  if (!m.raiseTop && !m.raiseMiddle) return 0;
  Integer text = c_->TextExtent("gh").cy;
  Integer diff = std::max(0, m.height - text);
  return m.raiseTop ? diff : diff / 2;
}

void THtmlRenderer::DrawFocus(Integer left, Integer from, Integer to, Integer bottom) {
  Integer gh = GhHeight();
  c_->DrawFocusRect(TRect{left + from - 1, bottom - gh, left + to + 1, bottom});
}

void THtmlRenderer::DrawRun(const rtl::AnsiString& run, Integer x, Integer top, Integer bottom, Integer w, Integer h) {
  Cardinal flags = vcl::DT_BOTTOM | vcl::DT_SINGLELINE | vcl::DT_EXPANDTABS | vcl::DT_NOPREFIX;
  Integer right = x + w;
  if (!o_.WrapWords) {
    flags |= vcl::DT_END_ELLIPSIS;
    right = std::max(x, std::min(right, bounds_.Right));
  }
  // A turned run leaves its own rectangle, which the text call would clip
  // it to: it is written from its bottom-aligned origin, clipped only by
  // the bounds.
  bool turned = c_->Font()->Orientation() != 0;
  auto put = [&](const TRect& r) {
    if (turned) {
      c_->TextOut(r.Left, r.Bottom - h, run);
    } else {
      TRect box = r;
      c_->DrawText(run, box, flags);
    }
  };
  if (flow_.shadow && o_.ShadowDepth != 0) {
    TColor color = c_->Font()->Color();
    c_->Brush()->SetStyle(vcl::bsClear);
    c_->Font()->SetColor(o_.ShadowTint);
    put(TRect{x + o_.ShadowDepth, top + o_.ShadowDepth, right + o_.ShadowDepth, bottom + o_.ShadowDepth});
    c_->Font()->SetColor(color);
  }
  ApplyBrush();
  put(TRect{x, top, right, bottom});
  if (flow_.error) {
    // A red zigzag two pixels high, four pixels a period, under the run.
    vcl::TPen saved;
    saved.Assign(c_->Pen());
    c_->Pen()->SetColor(vcl::clRed);
    c_->Pen()->SetWidth(1);
    c_->Pen()->SetStyle(vcl::psSolid);
    std::vector<vcl::TPoint> points;
    Integer start = (x + 1) & ~1;  // the first even x under the run
    for (Integer px = start, i = 0; px <= right; px += 2, ++i) points.push_back({px, bottom - 1 - ((i & 1) ? 2 : 0)});
    if (points.size() > 1) c_->Polyline(points);
    c_->Pen()->Assign(&saved);
  }
}

std::unique_ptr<vcl::TBitmap> SystemIcon(std::string_view src) {
  vcl::TShellIconSize size = (src[0] == 'S' || src[0] == 's') ? vcl::TShellIconSize::Small : vcl::TShellIconSize::Large;
  std::string_view what = src.substr(5);
  if (what.empty()) return nullptr;
  bool number = std::all_of(what.begin(), what.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
  if (number) return vcl::ShellIndexIcon(LeadingNumber(what), size);
  return vcl::ShellFileIcon(rtl::AnsiString(what), size);
}

vcl::TGraphic* THtmlRenderer::FindPicture(std::string_view src) {
  if (src.find(':') == std::string_view::npos) {
    return o_.Pictures ? o_.Pictures->PictureByName(rtl::AnsiString(src)) : nullptr;
  }
  if (src.find("://") == std::string_view::npos || !o_.PictureCache) return nullptr;
  rtl::AnsiString location(src);
  THTMLPicture* p = o_.PictureCache->PictureByLocation(location);
  if (!p) {
    p = o_.PictureCache->AppendPicture();
    try {
      p->LoadFromLocation(location);
    } catch (const rtl::Exception&) {
      // A picture that cannot be read takes no space.
    }
  }
  return p;
}

void THtmlRenderer::Image(TPass pass, std::string_view tag, Integer left, Integer top, TLineMetrics& m, bool& fits) {
  fits = true;
  // The source keeps its case: locations name files, and files are told
  // apart by case here.
  std::string_view src = TagAttribute(tag, "SRC");
  std::string_view alt = TagAttribute(tag, "ALT");
  Integer givenW = LeadingNumber(TagAttribute(tag, "WIDTH"));
  Integer givenH = LeadingNumber(TagAttribute(tag, "HEIGHT"));
  bool stretch = givenW > 0 && givenH > 0;
  Integer ppi = c_->Font()->PixelsPerInch();
  if (ppi <= 0) ppi = 96;
  Integer index = -1;
  std::unique_ptr<vcl::TBitmap> icon;
  vcl::TGraphic* picture = nullptr;
  THTMLPicture* html = nullptr;
  Integer w = 0, h = 0;
  if (StartsNoCase(src, "IDX:")) {
    index = LeadingNumber(src.substr(4));
    if (!o_.Images || index >= o_.Images->Count()) return;
    w = Scale(o_.Images->Width(), ppi);
    h = Scale(o_.Images->Height(), ppi);
  } else if (StartsNoCase(src, "SSYS:") || StartsNoCase(src, "LSYS:")) {
    icon = SystemIcon(src);
    if (!icon) return;
    w = Scale(icon->Width(), ppi);
    h = Scale(icon->Height(), ppi);
  } else {
    picture = FindPicture(src);
    html = dynamic_cast<THTMLPicture*>(picture);
    if (!picture || picture->Empty() || (html && html->Width() == 0)) return;
    if (stretch) {
      w = Scale(givenW, ppi);
      h = Scale(givenH, ppi);
    } else {
      w = Scale(html ? html->AnimationWidth() : picture->Width(), ppi);
      h = Scale(html ? html->AnimationHeight() : picture->Height(), ppi);
    }
  }
  if (w <= 0 || h <= 0) return;
  if (pen_ > 0 && pen_ + w > Available() && w <= Available()) {
    fits = false;
    return;
  }
  if (upper_.find("\"TOP") != rtl::AnsiString::npos) m.raiseTop = true;
  if (upper_.find("\"MIDDLE") != rtl::AnsiString::npos) m.raiseMiddle = true;
  m.height = std::max(m.height, h);
  Integer x = left + pen_;
  Integer y = pass == TPass::Measure ? top : top + m.sup;
  TRect box{x, y, x + w, y + h};
  bool hover = flow_.inAnchor && Inside(box, o_.PointX, o_.PointY);
  if (hover) {
    r_.HitAnchor = flow_.href;
    result_ = true;
  }
  if (pass == TPass::Draw) {
    vcl::TGraphic* shown = picture;
    if (hover && !alt.empty() && index < 0) {
      vcl::TGraphic* other = FindPicture(alt);
      if (other && !other->Empty()) shown = other;
    }
    if (icon) {
      // The icon is already a bitmap of its own; printing stretches it by
      // the printer's scale as the list images are.
      double f = o_.Printing ? o_.PrintScale : 1.0;
      TRect target{x, y, x + static_cast<Integer>(std::lround(w * f)), y + static_cast<Integer>(std::lround(h * f))};
      if (!o_.Printing && w == icon->Width() && h == icon->Height()) {
        c_->Draw(x, y, icon.get());
      } else {
        c_->StretchDraw(target, icon.get());
      }
    } else if (index >= 0) {
      bool scaled = o_.Printing || w != o_.Images->Width() || h != o_.Images->Height();
      if (!scaled) {
        o_.Images->Draw(c_, x, y, index);
      } else {
        vcl::TBitmap bitmap(o_.Images->Width(), o_.Images->Height());
        bitmap.SetPixelFormat(vcl::pf32bit);
        for (Integer row = 0; row < bitmap.Height(); ++row)
          std::fill_n(static_cast<uint32_t*>(bitmap.ScanLine(row)), bitmap.Width(), 0u);
        o_.Images->Draw(bitmap.Canvas(), 0, 0, index);
        bitmap.SetTransparent(true);
        double f = o_.Printing ? o_.PrintScale : 1.0;
        TRect target{x, y, x + static_cast<Integer>(std::lround(w * f)), y + static_cast<Integer>(std::lround(h * f))};
        c_->StretchDraw(target, &bitmap);
      }
    } else if (auto* hp = dynamic_cast<THTMLPicture*>(shown)) {
      bool was = hp->Stretch();
      if (stretch) {
        hp->SetStretch(true);
        hp->Draw(c_, box);
      } else {
        hp->SetStretch(false);
        if (hp->AnimationFrames() > 1) {
          c_->Brush()->SetStyle(vcl::bsSolid);
          c_->Brush()->SetColor(entryBrush_ == clNone ? vcl::clWhite : entryBrush_);
          if (entryBrush_ != clNone) c_->FillRect(box);
          hp->Draw(c_, TRect{x + Scale(hp->FrameLeft(), ppi), y + Scale(hp->FrameTop(), ppi), box.Right, box.Bottom});
        } else {
          hp->Draw(c_, box);
        }
      }
      hp->SetStretch(was);
    } else if (shown) {
      c_->StretchDraw(box, shown);
    }
  }
  pen_ += w;
}

void THtmlRenderer::Control(TPass pass, std::string_view tag, Integer left, Integer top, TLineMetrics& m, bool& fits) {
  fits = true;
  THtmlControlTag ctl = ParseControlTag(tag);
  if (!ctl.HasWidth) return;  // a control without a width is left out
  Integer width = LeadingNumber(ctl.Width);
  const rtl::AnsiString& type = ctl.Type;
  bool check = type == "CHECK", radio = type == "RADIO", button = type == "BUTTON", combo = type == "COMBO";
  bool edit = type == "EDIT" || type == "MASK" || type == "PASSWORD";
  Integer boxW = check || radio ? 16 : width;
  Integer boxH = check || radio ? 16 : (button || combo) ? 25 : edit ? GhHeight() + 10 : kControlLineHeight;
  if (pen_ > 0 && pen_ + boxW > Available() && boxW <= Available()) {
    fits = false;
    return;
  }
  m.height = std::max(m.height, kControlLineHeight);
  m.height = std::max(m.height, boxH);
  if (pass != TPass::Measure) {
    Integer x = left + pen_;
    Integer b = TextBottom(top, m);
    TRect box;
    if (check) {
      box = TRect{x + 2, b - 15, x + 15, b};
    } else if (radio) {
      box = TRect{x + 2, b - 14, x + 14, b};
    } else if (button) {
      box = TRect{x + 2, b - 25, x + width - 2, b};
    } else {
      box = TRect{x, b - 19, x + width, b + 2};
    }
    bool over = Inside(box, o_.PointX, o_.PointY);
    bool byId = o_.HitTestOnly && !r_.ControlId.empty() && ctl.Id == r_.ControlId;
    if (over || byId) {
      r_.HitAnchor = "ctrl";
      r_.ControlRect = box;
      r_.ControlValue = ctl.Value;
      r_.ControlId = ctl.Id;
      r_.ControlKind = type;
      result_ = true;
    }
    if (pass == TPass::Draw) {
      vcl::TFont font;
      font.Assign(c_->Font());
      if (edit || combo) {
        c_->Brush()->SetStyle(vcl::bsSolid);
        c_->Brush()->SetColor(vcl::clWhite);
        c_->FillRect(box);
        c_->Brush()->SetColor(themed_ ? static_cast<TColor>(kEditBorderThemed) : vcl::clGray);
        c_->FrameRect(box);
        TRect textArea = combo ? TRect{box.Left + 4, box.Top, box.Right - 18, box.Bottom}
                               : TRect{box.Left + 2, box.Top, box.Right - 2, box.Bottom};
        rtl::AnsiString shown = type == "PASSWORD" ? rtl::AnsiString(static_cast<size_t>(Utf8Length(ctl.Value)), '*')
                                                   : ctl.Value;
        c_->Brush()->SetStyle(vcl::bsClear);
        c_->DrawText(shown, textArea, vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_NOPREFIX);
        if (combo) {
          TRect arrow{box.Right - 18, box.Top + 1, box.Right - 1, box.Bottom - 1};
          vcl::HTHEME theme = themed_ ? vcl::OpenThemeData(o_.ThemeWindow, u"combobox") : nullptr;
          if (theme) {
            vcl::DrawThemeBackground(theme, c_, vcl::CP_DROPDOWNBUTTON, over ? vcl::CBXS_HOT : vcl::CBXS_NORMAL, &arrow,
                                     nullptr);
            vcl::CloseThemeData(theme);
          } else {
            c_->DrawFrameControl(arrow, vcl::DFC_SCROLL, vcl::DFCS_SCROLLCOMBOBOX);
          }
        }
      } else if (check || radio || button) {
        vcl::HTHEME theme = themed_ ? vcl::OpenThemeData(o_.ThemeWindow, u"button") : nullptr;
        bool on = StartsNoCase(ctl.Value, "TRUE") && ctl.Value.size() == 4;
        if (theme) {
          Integer part = check ? vcl::BP_CHECKBOX : radio ? vcl::BP_RADIOBUTTON : vcl::BP_PUSHBUTTON;
          Integer state = check ? (on ? vcl::CBS_CHECKEDNORMAL : vcl::CBS_UNCHECKEDNORMAL)
                          : radio ? (on ? vcl::RBS_CHECKEDNORMAL : vcl::RBS_UNCHECKEDNORMAL)
                          : over && o_.ButtonDown ? vcl::PBS_PRESSED
                          : over                  ? vcl::PBS_HOT
                                                  : vcl::PBS_NORMAL;
          vcl::DrawThemeBackground(theme, c_, part, state, &box, nullptr);
          vcl::CloseThemeData(theme);
        } else {
          TRect r = box;
          Cardinal state = check   ? vcl::DFCS_BUTTONCHECK | vcl::DFCS_FLAT | (on ? vcl::DFCS_CHECKED : 0)
                           : radio ? vcl::DFCS_BUTTONRADIO | vcl::DFCS_FLAT | (on ? vcl::DFCS_CHECKED : 0)
                                   : vcl::DFCS_BUTTONPUSH | (over && o_.ButtonDown ? vcl::DFCS_PUSHED : 0);
          c_->DrawFrameControl(r, vcl::DFC_BUTTON, state);
        }
        if (button) {
          TRect caption{box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2};
          c_->Brush()->SetStyle(vcl::bsClear);
          c_->Font()->SetColor(vcl::clBtnText);
          c_->DrawText(ctl.Value, caption, vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_CENTER | vcl::DT_NOPREFIX);
        }
      }
      c_->Font()->Assign(&font);
      ApplyBrush();
    }
  }
  pen_ += boxW;
}

void THtmlRenderer::EndAnchor(TPass pass, Integer left, Integer top, const TLineMetrics& m) {
  if (!flow_.inAnchor) return;
  vcl::TFontStyles style = c_->Font()->Style();
  style.Exclude(vcl::fsUnderline);
  c_->Font()->SetStyle(style);
  flow_.brush = flow_.brushBeforeLink;
  if (!o_.SelectedText) c_->Font()->SetColor(entryFont_.Color());
  bool last = pass != TPass::Measure || o_.MeasureOnly;
  if (flow_.anchorHit && last) {
    Integer from = flow_.anchorStartedHere ? left + flow_.anchorStartX : left;
    Integer bottom = pass == TPass::Measure ? top + m.height : top + m.height + m.sub + m.sup;
    r_.HitLinkRect = TRect{from, flow_.anchorTop, left + pen_, bottom};
    r_.HitLinkIndex = flow_.link;
  }
  if (flow_.focusOpen) {
    if (pass == TPass::Draw) DrawFocus(left, flow_.focusStartX, pen_, TextBottom(top, m) - ImageRaise(m));
    flow_.focusOpen = false;
  }
  flow_.inAnchor = false;
  flow_.anchorHit = false;
}

bool THtmlRenderer::Tag(TPass pass, size_t& pos, Integer left, Integer top, TLineMetrics& m, bool& endLine) {
  size_t close = text_.find('>', pos + 1);
  if (close == rtl::AnsiString::npos) {
    // A tag without its ">" takes the rest of the text with it.
    pos = text_.size();
    return true;
  }
  std::string_view tag(text_.data() + pos, close + 1 - pos);
  upper_.assign(tag);
  for (char& ch : upper_)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  auto at = [&](size_t i) -> char { return i < upper_.size() ? upper_[i] : '\0'; };
  vcl::TFont* font = c_->Font();
  auto setStyle = [&](vcl::TFontStyle s, bool on) {
    vcl::TFontStyles style = font->Style();
    if (on) {
      style.Include(s);
    } else {
      style.Exclude(s);
    }
    font->SetStyle(style);
  };
  bool drawing = pass == TPass::Draw;
  size_t after = close + 1;

  if (at(1) == '/' && upper_.size() >= 4) {
    char k = at(2), n = at(3);
    switch (k) {
      case 'A': EndAnchor(pass, left, top, m); break;
      case 'B':
        if (n == '>') {
          setStyle(vcl::fsBold, false);
        } else {
          font->SetColor(entryFont_.Color());
        }
        break;
      case 'E': flow_.error = false; break;
      case 'F':
        font->SetName(entryFont_.Name());
        font->SetHeight(entryFont_.Height());
        if (pass != TPass::Measure && !o_.SelectedText) {
          font->SetColor(entryFont_.Color());
          flow_.brush = flow_.brushBeforeFont;
        }
        break;
      case 'H':
        if (flow_.highlightFont != clNone) font->SetColor(flow_.highlightFont);
        flow_.brush = flow_.highlightBrush;
        flow_.highlightFont = clNone;
        break;
      case 'I': setStyle(vcl::fsItalic, false); break;
      case 'L': endLine = true; break;
      case 'P':
        endLine = true;
        flow_.paraBack = clNone;
        flow_.brush = flow_.brushBeforePara;
        break;
      case 'R': font->SetOrientation(flow_.orientationBefore); break;
      case 'S':
        if (n == 'U') {
          flow_.sub = flow_.sup = false;
        } else if (n == 'H') {
          flow_.shadow = false;
        } else {
          setStyle(vcl::fsStrikeOut, false);
        }
        break;
      case 'U':
        if (n == '>' || flow_.listLevel == 0) {
          setStyle(vcl::fsUnderline, false);
        } else {
          --flow_.listLevel;
        }
        break;
      case 'Z': flow_.hidden = false; break;
      default: break;
    }
    pos = after;
    return true;
  }

  char k = at(1), n = at(2);
  switch (k) {
    case 'A': {
      ++flow_.linkCount;
      flow_.inAnchor = true;
      flow_.link = flow_.linkCount;
      flow_.href.assign(TagAttribute(tag, "HREF"));
      std::string_view title = TagAttribute(tag, "TITLE");
      if (!title.empty()) r_.AnchorTitle.assign(title);
      flow_.brushBeforeLink = flow_.brush;
      flow_.hovered = !o_.HotUnderlineOnly || flow_.link == o_.HotLinkIndex;
      if (flow_.hovered) {
        setStyle(vcl::fsUnderline, true);
        if (o_.HotBackColor != clNone) flow_.brush = o_.HotBackColor;
        if (o_.HotTextColor != clNone) font->SetColor(o_.HotTextColor);
      }
      if (!o_.SelectedText && !(o_.HotUnderlineOnly && flow_.hovered && o_.HotTextColor != clNone))
        font->SetColor(o_.LinkColor);
      flow_.anchorStartX = pen_;
      flow_.anchorStartedHere = true;
      flow_.anchorTop = top;
      flow_.anchorHit = false;
      if (flow_.link == o_.FocusLinkIndex + 1) {
        flow_.focusOpen = true;
        flow_.focusStartX = pen_;
      }
      break;
    }
    case 'B':
      if (n == '>') {
        setStyle(vcl::fsBold, true);
      } else if (n == 'R') {
        if (pass == TPass::Measure) r_.PlainText += '\r';
        endLine = true;
      } else if (n == 'L') {
        if (!o_.BlinkPhase) font->SetColor(entryBrush_);
      } else if (n == 'O') {
        std::string_view back = TagAttribute(tag, "BACKGROUND");
        if (!back.empty() && drawing) {
          vcl::TGraphic* picture = FindPicture(back);
          auto* hp = dynamic_cast<THTMLPicture*>(picture);
          Integer w = hp ? hp->Width() : picture ? picture->Width() : 0;
          Integer h = hp ? hp->Height() : picture ? picture->Height() : 0;
          if (picture && !picture->Empty() && w > 0 && h > 0) {
            for (Integer y = bounds_.Top; y < bounds_.Bottom; y += h)
              for (Integer x = bounds_.Left; x < bounds_.Right; x += w) picture->Draw(c_, TRect{x, y, x + w, y + h});
          }
        }
        TColor color = clNone;
        std::string_view bg = TagAttribute(upper_, "BGCOLOR");
        if (!bg.empty() && BodyColor(bg, color)) {
          if (drawing) {
            c_->Brush()->SetStyle(vcl::bsSolid);
            c_->Brush()->SetColor(color);
            c_->FillRect(bounds_);
          }
          flow_.brush = color;
        }
      }
      break;
    case 'C': {
      bool fits = true;
      Control(pass, tag, left, top, m, fits);
      if (!fits) return false;
      break;
    }
    case 'E': flow_.error = true; break;
    case 'F': {
      std::string_view face = TagAttribute(tag, "FACE");
      if (!face.empty()) font->SetName(rtl::AnsiString(face));
      std::string_view color = TagAttribute(upper_, " COLOR");
      if (!color.empty() && !o_.SelectedText) font->SetColor(HtmlColor(color));
      flow_.brushBeforeFont = flow_.brush;
      std::string_view bg = TagAttribute(upper_, "BGCOLOR");
      if (!bg.empty() && pass != TPass::Measure && !o_.SelectedText) flow_.brush = HtmlColor(bg);
      std::string_view size = TagAttribute(upper_, "SIZE");
      if (!size.empty()) font->SetSize(HtmlFontSize(size));
      break;
    }
    case 'H':
      if (n == 'I') {
        flow_.highlightFont = font->Color();
        flow_.highlightBrush = flow_.brush;
        flow_.brush = vcl::clHighlight;
        font->SetColor(vcl::clHighlightText);
      } else if (n == 'R') {
        endLine = true;
        if (drawing) {
          Integer y = top + m.height + m.sub + m.sup;
          vcl::TPen saved;
          saved.Assign(c_->Pen());
          c_->Pen()->SetColor(vcl::clBlack);
          c_->Pen()->SetWidth(1);
          c_->Pen()->SetStyle(vcl::psSolid);
          c_->MoveTo(bounds_.Left, y);
          c_->LineTo(bounds_.Right, y);
          c_->Pen()->Assign(&saved);
        }
      }
      break;
    case 'I':
      if (n == '>') {
        setStyle(vcl::fsItalic, true);
      } else if (n == 'N') {
        size_t x = upper_.find(" X", 2);
        if (x != rtl::AnsiString::npos) {
          Integer target = LeadingNumber(TagAttribute(std::string_view(upper_).substr(x), "X")) - 1 - flow_.indent;
          pen_ = std::max(pen_, target);
        }
      } else if (n == 'M') {
        bool fits = true;
        Image(pass, tag, left, top, m, fits);
        if (!fits) return false;
      }
      break;
    case 'L': {
      if (listItemOnLine_) return false;  // a second item starts a new line
      listItemOnLine_ = true;
      Integer level = std::max<Integer>(flow_.listLevel, 1);
      pen_ += kListStep * level;
      if (drawing) {
        TRect r{left + pen_ - kListStep, top, left + pen_, TextBottom(top, m)};
        c_->Brush()->SetStyle(vcl::bsClear);
        c_->DrawText(level % 2 == 1 ? "\xE2\x80\xA2" : "o", r, vcl::DT_BOTTOM | vcl::DT_SINGLELINE | vcl::DT_NOPREFIX);
      }
      break;
    }
    case 'P': {
      std::string_view align = TagAttribute(upper_, "ALIGN");
      if (align == "LEFT") flow_.align = TAlign::Left;
      if (align == "RIGHT") flow_.align = TAlign::Right;
      if (align == "CENTER") flow_.align = TAlign::Center;
      std::string_view indent = TagAttribute(upper_, "INDENT");
      if (!indent.empty()) flow_.indent = LeadingNumber(indent);
      std::string_view bg = TagAttribute(upper_, "BGCOLOR");
      if (!bg.empty()) {
        flow_.brushBeforePara = flow_.brush;
        flow_.paraBack = HtmlColor(bg);
        flow_.brush = flow_.paraBack;
        if (m.paraBack == clNone) m.paraBack = flow_.paraBack;
      }
      break;
    }
    case 'R': {
      size_t a = upper_.find('A', 2);
      if (a != rtl::AnsiString::npos) {
        size_t q = upper_.find('"', a);
        if (q != rtl::AnsiString::npos) {
          std::string_view v(upper_.data() + q + 1, upper_.size() - q - 1);
          bool negative = !v.empty() && v[0] == '-';
          Integer angle = LeadingNumber(negative ? v.substr(1) : v, 3600);
          flow_.orientationBefore = font->Orientation();
          font->SetOrientation((negative ? -angle : angle) * 10);
        }
      }
      break;
    }
    case 'S':
      if (n == '>') {
        setStyle(vcl::fsStrikeOut, true);
      } else if (n == 'H') {
        flow_.shadow = true;
      } else if (upper_ == "<SUB>") {
        flow_.sub = true;
      } else if (upper_ == "<SUP>") {
        flow_.sup = true;
      }
      break;
    case 'U':
      if (n == '>') {
        setStyle(vcl::fsUnderline, true);
      } else {
        ++flow_.listLevel;
        endLine = true;
      }
      break;
    case 'Z': flow_.hidden = true; break;
    default: break;
  }
  pos = after;
  return true;
}

void THtmlRenderer::Line(TPass pass, size_t pos, size_t end, Integer left, Integer top, TLineMetrics& m) {
  pen_ = 0;
  lineEndsWithSpace_ = false;
  trailingSpace_ = 0;
  listItemOnLine_ = false;
  dropRest_ = false;
  flow_.anchorStartedHere = false;
  flow_.anchorTop = top;
  if (flow_.focusOpen) flow_.focusStartX = 0;
  bool measure = pass == TPass::Measure;
  bool last = !measure || o_.MeasureOnly;  // the pass that reports hits
  if (measure) {
    m = TLineMetrics{};
    m.height = GhHeight();
    m.paraBack = flow_.paraBack;
  }
  Integer raise = measure ? 0 : ImageRaise(m);
  while (pos < end) {
    if (text_[pos] == '<') {
      bool endLine = false;
      if (!Tag(pass, pos, left, top, m, endLine)) break;
      if (endLine) break;
      continue;
    }
    size_t runEnd = text_.find('<', pos);
    if (runEnd == rtl::AnsiString::npos || runEnd > end) runEnd = end;
    if (o_.WrapWords) {
      size_t space = text_.find(' ', pos);
      if (space != rtl::AnsiString::npos && space < runEnd) runEnd = space + 1;
    }
    run_.clear();
    DecodeRunEntities(std::string_view(text_.data() + pos, runEnd - pos), run_);
    vcl::TSize size = c_->TextExtent(run_);
    Integer h = size.cy;
    if (measure) {
      m.height = std::max(m.height, h);
      if (flow_.sub) m.sub = std::max(m.sub, h / 4);
      if (flow_.sup) m.sup = std::max(m.sup, h / 4);
      r_.PlainText += run_;
    }
    if (flow_.hidden) {
      pos = runEnd;
      continue;
    }
    Integer w = size.cx;
    bool fits = pen_ + w < Available() || w >= Available() || !lineEndsWithSpace_;
    if (!fits && o_.WrapWords) break;
    if (!fits && measure && pen_ > 0) dropRest_ = true;
    Integer bottom = measure ? top + m.height : TextBottom(top, m);
    Integer runBottom = bottom - (flow_.sup ? h / 4 : 0) + (flow_.sub ? h / 4 : 0) - raise;
    if (last && flow_.inAnchor) {
      Integer px = o_.PointX - left;
      Integer lineBottom = measure ? top + m.height : top + m.height + m.sub + m.sup;
      if (px >= pen_ && px < pen_ + w && o_.PointY >= top && o_.PointY < lineBottom) {
        r_.HitAnchor = flow_.href;
        flow_.anchorHit = true;
        Integer textBottom = measure ? bottom : TextBottom(top, m) - raise;
        if (o_.HitTestOnly && o_.PointY < textBottom && o_.PointY >= textBottom - GhHeight()) result_ = true;
      }
    }
    if (pass == TPass::Draw) {
      if (flow_.inAnchor && flow_.link == o_.FocusLinkIndex + 1) r_.FocusedAnchor = flow_.href;
      DrawRun(run_, left + pen_, top, runBottom, w, h);
    }
    pen_ += w;
    lineEndsWithSpace_ = !run_.empty() && run_.back() == ' ';
    trailingSpace_ = lineEndsWithSpace_ ? c_->TextExtent(" ").cx : 0;
    pos = runEnd;
    if (dropRest_) break;
  }
  if (flow_.focusOpen && pass == TPass::Draw) DrawFocus(left, flow_.focusStartX, pen_, TextBottom(top, m) - raise);
  if (measure) {
    m.width = pen_ - trailingSpace_;
    m.drawEnd = pos;
    m.next = dropRest_ ? text_.size() : pos;
  }
}

bool THtmlRenderer::Run(std::string_view html) {
  // The canvas's own state comes back as it was.
  vcl::TPen savedPen;
  savedPen.Assign(c_->Pen());
  vcl::TBrush savedBrush;
  savedBrush.Assign(c_->Brush());
  vcl::TFont savedFont;
  savedFont.Assign(c_->Font());
  entryFont_.Assign(c_->Font());
  entryBrush_ = c_->Brush()->Style() == vcl::bsClear ? clNone : c_->Brush()->Color();
  themed_ = vcl::IsThemeActive();

  rtl::AnsiString incomingId = o_.HitTestOnly ? r_.ControlId : rtl::AnsiString();
  r_ = THtmlTextResult{};
  r_.ControlId = incomingId;

  text_ = PrepareHtml(html);
  bool clip = !o_.MeasureOnly && !o_.HitTestOnly;
  if (clip) {
    c_->SaveDC();
    c_->IntersectClipRect(bounds_);
  }
  vcl::TFont lineFont;
  Integer y = bounds_.Top;
  size_t pos = 0;
  bool anyLine = false;
  while (pos < text_.size()) {
    TFlow lineFlow = flow_;
    lineFont.Assign(c_->Font());
    TLineMetrics m;
    Line(TPass::Measure, pos, text_.size(), bounds_.Left + 1 + flow_.indent, y, m);
    if (m.next == pos) m.next = m.drawEnd = pos + 1;  // never stand still
    Integer lineHeight = m.height + m.sub + m.sup;
    Integer left = bounds_.Left + 1;
    if (flow_.align == TAlign::Right) left = std::max(left, bounds_.Right - m.width);
    if (flow_.align == TAlign::Center) {
      Integer free = (bounds_.Width() - m.width) / 2;
      if (free > 0) left += free;
    }
    left += flow_.indent;
    if (!o_.MeasureOnly) {
      flow_ = lineFlow;
      c_->Font()->Assign(&lineFont);
      if (!o_.HitTestOnly && m.paraBack != clNone) {
        c_->Brush()->SetStyle(vcl::bsSolid);
        c_->Brush()->SetColor(m.paraBack);
        c_->FillRect(TRect{bounds_.Left, y, bounds_.Right, y + lineHeight});
      }
      Line(o_.HitTestOnly ? TPass::Test : TPass::Draw, pos, m.drawEnd, left, y, m);
    }
    anyLine = true;
    pos = m.next;
    y += lineHeight;
    r_.ContentHeight += lineHeight;
    r_.ContentWidth = std::max(r_.ContentWidth, m.width);
    if (!o_.MeasureOnly && y + GhHeight() > bounds_.Bottom) break;
  }
  if (!anyLine) r_.ContentHeight = GhHeight();
  r_.LinkCount = flow_.linkCount;
  if (clip) c_->RestoreDC(-1);
  c_->Pen()->Assign(&savedPen);
  c_->Brush()->Assign(&savedBrush);
  c_->Font()->Assign(&savedFont);
  return o_.MeasureOnly ? false : result_;
}

}  // namespace

bool DrawHTMLText(vcl::TCanvas* canvas, std::string_view html, const vcl::TRect& bounds,
                  const THtmlTextOptions& options, THtmlTextResult& result) {
  if (!canvas) return false;
  THtmlRenderer renderer(canvas, bounds, options, result);
  return renderer.Run(html);
}

}  // namespace dropdown
