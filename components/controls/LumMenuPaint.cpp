// Measuring and painting styled menu items, the menu bar's background
// behind its items, and the frame of the pop-up windows.
#include <cmath>

#include "controls/LumMenus.h"
#include "rtl/CodePages.h"
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/ImgList.h"
#include "vcl/Regions.h"

namespace controls {

using vcl::clNone;
using vcl::Cardinal;
using vcl::TCanvas;
using vcl::TOwnerDrawState;

namespace {

constexpr vcl::TShortCut kWindowsKey = 0x200;

bool IsRoot(TMenuItem* item) {
  TMenu* menu = item->GetParentMenu();
  return menu && dynamic_cast<vcl::TMainMenu*>(menu) && item->Parent() == menu->Items();
}

TMenuItem* FirstVisible(TMenuItem* parent) {
  for (Integer i = 0; i < parent->Count(); ++i)
    if (parent->Items(i)->Visible()) return parent->Items(i);
  return nullptr;
}

bool InFirstDropDown(TMenuItem* item) {
  TMenu* menu = item->GetParentMenu();
  if (!menu || !dynamic_cast<vcl::TMainMenu*>(menu) || !item->Parent()) return false;
  return item->Parent() == FirstVisible(menu->Items());
}

bool IsFirstLevel(TMenuItem* item) {
  TMenu* menu = item->GetParentMenu();
  if (!menu || !item->Parent()) return false;
  if (dynamic_cast<vcl::TPopupMenu*>(menu)) return item->Parent() == menu->Items();
  return item->Parent()->Parent() == menu->Items();
}

bool IsAfterBreak(TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  if (!parent) return item->Break() != vcl::mbNone;
  for (Integer i = 0; i < parent->Count(); ++i) {
    TMenuItem* c = parent->Items(i);
    if (c->Visible() && c->Break() != vcl::mbNone) return true;
    if (c == item) break;
  }
  return item->Break() != vcl::mbNone;
}

bool IsFirstVisible(TMenuItem* item) { return item->Parent() && FirstVisible(item->Parent()) == item; }

// The caption's lines: backslash and "n" start a note line when notes are
// shown.
std::vector<vcl::AnsiString> Lines(const vcl::AnsiString& caption, bool notes) {
  std::vector<vcl::AnsiString> lines;
  if (!notes) return {caption};
  size_t from = 0;
  for (;;) {
    size_t at = caption.find("\\n", from);
    if (at == vcl::AnsiString::npos) break;
    lines.push_back(caption.substr(from, at - from));
    from = at + 2;
  }
  lines.push_back(caption.substr(from));
  return lines;
}

bool HasNotes(TMenuItem* item, IStyledMenu* menu) {
  return menu->GetShowNotes() && item->Caption().find("\\n") != vcl::AnsiString::npos;
}

vcl::TImageList* ActionImages(TMenuItem* item) {
  auto* action = dynamic_cast<vcl::TContainedAction*>(item->Action());
  return action && action->ActionList() ? action->ActionList()->Images() : nullptr;
}

vcl::TImageList* DisabledImagesOf(TMenu* menu) {
  if (auto* p = dynamic_cast<TLumPopupMenu*>(menu)) return p->DisabledImages();
  if (auto* m = dynamic_cast<TLumMainMenu*>(menu)) return m->DisabledImages();
  return nullptr;
}

bool ValidIndex(vcl::TImageList* list, Integer index) { return list && index >= 0 && index < list->Count(); }

// Rounds to the nearest whole number, halves to even.
Integer RoundToNearestEven(double v) { return static_cast<Integer>(std::nearbyint(v)); }

// The union of the screen rectangles of the item's siblings, moved to the
// origin, less the 17 pixels the desktop adds on the right; the window's
// extent beside the item when nothing is on screen.
TRect PopupRect(TMenuItem* item, const TRect& itemRect) {
  TRect u;
  bool any = false;
  if (TMenuItem* parent = item->Parent())
    for (Integer i = 0; i < parent->Count(); ++i) {
      TRect r = parent->Items(i)->ScreenRect();
      if (r.IsEmpty()) continue;
      u = any ? vcl::Rect(std::min(u.Left, r.Left), std::min(u.Top, r.Top), std::max(u.Right, r.Right),
                          std::max(u.Bottom, r.Bottom))
              : r;
      any = true;
    }
  if (!any) return vcl::Rect(0, 0, itemRect.Right, itemRect.Bottom);
  vcl::OffsetRect(u, -u.Left, -u.Top);
  u.Right -= 17;
  return u;
}

void Line(TCanvas* canvas, TColor color, Integer x1, Integer y1, Integer x2, Integer y2) {
  canvas->Pen()->SetColor(color);
  canvas->MoveTo(x1, y1);
  canvas->LineTo(x2, y2);
}

void DrawSideBar(TCanvas* canvas, TCustomLumMenuStyler* styler, const TRect& popup) {
  TSideBar* bar = styler->SideBar();
  TRect s = vcl::Rect(popup.Left, popup.Top, popup.Left + bar->Size() + bar->SplitterWidth(), popup.Bottom);
  DrawMenuBackground(canvas, s, bar->Background(), true);
  if (bar->Image()->Color() != clNone && bar->Image()->HasImage()) DrawMenuBackground(canvas, s, bar->Image(), true);
  // The caption, written upwards or downwards.
  if (!bar->Caption().empty()) {
    canvas->Font()->Assign(bar->Font());
    vcl::TSize extent = canvas->TextExtent(bar->Caption());
    Integer w = extent.cx, h = extent.cy;
    Integer x = RoundToNearestEven((bar->Size() - h) / 2.0 - 0.5);
    Integer sh = RectHeight(s);
    bool down = bar->Direction() == dUpToDown;
    Integer y;
    if (bar->Alignment() == vcl::taCenter) {
      y = RoundToNearestEven((sh + w) / 2.0 - 0.5);
    } else if ((bar->Alignment() == vcl::taRightJustify) != down) {
      y = bar->CaptionOffset() + w;
    } else {
      y = sh - bar->CaptionOffset();
      TBackgroundPosition p = bar->Image()->Position();
      if ((p == TBackgroundPosition::bpBottomLeft || p == TBackgroundPosition::bpBottomRight) &&
          bar->Image()->HasImage())
        y -= bar->Image()->Image()->Height();
    }
    if (down) {
      y -= w;
      x += h + 1;
    }
    vcl::HFONT rotated = CreateRotatedFont(bar->Font(), down ? -90 : 90);
    vcl::AssignFontHandle(canvas->Font(), rotated);
    canvas->Font()->SetColor(bar->Font()->Color());
    canvas->Brush()->SetStyle(vcl::bsClear);
    canvas->SaveDC();
    canvas->IntersectClipRect(vcl::Rect(s.Left, s.Top, s.Right, s.Bottom + 1));
    if (bar->ShadowColor() != clNone) {
      TColor own = canvas->Font()->Color();
      canvas->Font()->SetColor(bar->ShadowColor());
      canvas->TextOut(s.Left + x + bar->Depth(), s.Top + y - bar->Depth(), bar->Caption());
      canvas->Font()->SetColor(own);
    }
    canvas->TextOut(s.Left + x, s.Top + y, bar->Caption());
    canvas->RestoreDC(-1);
    vcl::DeleteObject(rotated);
    canvas->Font()->SetOrientation(0);
    canvas->Brush()->SetStyle(vcl::bsSolid);
  }
  if (bar->BorderColor() != clNone) {
    canvas->Brush()->SetColor(bar->BorderColor());
    canvas->FrameRect(vcl::Rect(s.Left, s.Top, s.Right - bar->SplitterWidth(), s.Bottom));
  }
  if (bar->SplitterColor() != clNone)
    DrawMenuSplitLine(canvas, vcl::Rect(s.Right - bar->SplitterWidth(), s.Top, s.Right, s.Bottom),
                      bar->SplitterMargin(), bar->SplitterGradientWidth(), bar->SplitterGradientType(), false,
                      bar->SplitterColor(), bar->SplitterColorTo());
}

// The check or radio box behind a glyph, in the selected item's colours
// when selected, the icon bar's otherwise.
void GlyphBox(TCanvas* canvas, const TRect& c, TCustomLumMenuStyler* styler, bool selected, bool enabled, bool radio) {
  TSelectedItem* s = styler->SelectedItem();
  TIconBar* i = styler->IconBar();
  if (radio) {
    if (selected)
      DrawMenuBox(canvas, c, enabled, s->RadioBorder(), s->RadioGradientDirection(), s->RadioColor(), s->RadioColorTo());
    else
      DrawMenuBox(canvas, c, enabled, i->RadioBorder(), i->RadioGradientDirection(), i->RadioColor(), i->RadioColorTo());
  } else {
    if (selected)
      DrawMenuBox(canvas, c, enabled, s->CheckBorder(), s->CheckGradientDirection(), s->CheckColor(), s->CheckColorTo());
    else
      DrawMenuBox(canvas, c, enabled, i->CheckBorder(), i->CheckGradientDirection(), i->CheckColor(), i->CheckColorTo());
  }
}

void DrawSeparator(TCanvas* canvas, TCustomLumMenuStyler* styler, TRect r) {
  TSeparator* sep = styler->Separator();
  r.Left += styler->IconBar()->Size();
  Integer m = r.Top + RectHeight(r) / 2;
  Integer w = sep->Width();
  DrawMenuSplitLine(canvas, vcl::Rect(r.Left, m - w / 2, r.Right, m + (w + 1) / 2), sep->Margin(), sep->GradientWidth(),
                    sep->GradientType(), true, sep->Color(), sep->ColorTo());
}

void DrawContent(TMenuItem* item, IStyledMenu* menu, TCustomLumMenuStyler* styler, TCanvas* canvas, const TRect& r,
                 TOwnerDrawState state) {
  bool root = IsRoot(item);
  bool selected = state.Contains(vcl::odSelected);
  TRootItem* rootStyle = styler->RootItem();
  // 1. The highlight box.
  if (root) {
    if (selected || state.Contains(vcl::odHotLight)) {
      bool sel = selected;
      TColor c = sel ? rootStyle->SelectedColor() : rootStyle->HoverColor();
      TColor ct = sel ? rootStyle->SelectedColorTo() : rootStyle->HoverColorTo();
      TColor m = sel ? rootStyle->SelectedColorMirror() : rootStyle->HoverColorMirror();
      TColor mt = sel ? rootStyle->SelectedColorMirrorTo() : rootStyle->HoverColorMirrorTo();
      TColor border = sel ? rootStyle->SelectedBorderColor() : rootStyle->HoverBorderColor();
      TGradientDirection dir = sel ? rootStyle->SelectedGradientDirection() : rootStyle->HoverGradientDirection();
      if (m == clNone)
        DrawMenuBox(canvas, r, true, border, dir, c, ct);
      else
        DrawMenuMirrorBox(canvas, r, true, border, dir, c, ct, m, mt);
      // An open drop-down joins its root item.
      if (sel && item->Count() > 0) Line(canvas, styler->Background()->Color(), r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
    } else if (rootStyle->Color() != clNone) {
      DrawMenuBarSlice(item, canvas, r);
    }
  } else if (selected) {
    TSelectedItem* s = styler->SelectedItem();
    DrawMenuMirrorBox(canvas, r, true, s->BorderColor(), s->GradientDirection(), s->Color(), s->ColorTo(),
                      s->ColorMirror(), s->ColorMirrorTo());
  }
  // 2. Alignment.
  Cardinal align = vcl::DT_LEFT;
  bool rightAligned = false;
  if (root) {
    align = vcl::DT_CENTER;
  } else if (auto* popup = dynamic_cast<vcl::TPopupMenu*>(menu->GetMenu())) {
    if (popup->Alignment() == vcl::paRight) {
      align = vcl::DT_RIGHT;
      rightAligned = true;
    } else if (popup->Alignment() == vcl::paCenter) {
      align = vcl::DT_CENTER;
    }
  }
  Cardinal format = align | vcl::DT_SINGLELINE | vcl::DT_EXPANDTABS;
  // 3. The icon cell.
  Integer iconSize = styler->IconBar()->Size();
  TRect c = vcl::Rect(r.Left, r.Top + 1, r.Left + iconSize, r.Bottom - 1);
  Integer side = std::min(RectWidth(c), RectHeight(c));
  ResizeRect(c, side, side);
  // 4. Which glyph.
  vcl::TImageList* list = item->GetImageList();
  vcl::TImageList* actionList = ActionImages(item);
  bool listImage = ValidIndex(list, item->ImageIndex());
  bool actionImage = !listImage && ValidIndex(actionList, item->ImageIndex());
  bool bitmap = !listImage && !actionImage && item->HasBitmap();
  bool checkGlyph = !listImage && !actionImage && !bitmap && item->Checked() && !root;
  TRect g = c;
  bool enabled = item->Enabled();
  if (listImage || actionImage || bitmap || checkGlyph) {
    vcl::TImageList* disabled = DisabledImagesOf(menu->GetMenu());
    vcl::TImageList* use = actionImage ? actionList : (enabled || !disabled) ? list : disabled;
    if (item->Checked() && (listImage || actionImage || bitmap) && !root)
      GlyphBox(canvas, c, styler, selected, enabled, false);
    if (listImage || actionImage) {
      ResizeRect(g, use->Width(), use->Height());
      if (root) vcl::OffsetRect(g, r.Left + 6 - g.Left, 0);
      use->Draw(canvas, g.Left, g.Top, item->ImageIndex(), enabled || use == disabled);
    } else if (checkGlyph) {
      TBitmap* glyph = item->RadioItem() ? styler->Glyphs()->Radio() : styler->Glyphs()->Check();
      ResizeRect(g, glyph->Width(), glyph->Height());
      GlyphBox(canvas, c, styler, selected, enabled, item->RadioItem());
      canvas->Font()->SetColor(vcl::clBtnText);
      canvas->Draw(g.Left, g.Top, glyph);
      if (selected) {
        canvas->Brush()->SetColor(styler->SelectedItem()->BorderColor());
        canvas->FrameRect(r);
      }
    } else {
      TBitmap* b = item->Bitmap();
      ResizeRect(g, b->Width(), b->Height());
      b->SetTransparentMode(vcl::tmAuto);
      b->SetTransparent(true);
      canvas->Draw(g.Left, g.Top, b);
    }
  }
  // 6. The sub-menu arrow.
  if (!root && item->Count() > 0) {
    Integer a = (r.Top + r.Bottom - 5) / 2;
    TRect cell = rightAligned ? vcl::Rect(r.Left + 5, a, r.Left + 8, a + 6) : vcl::Rect(r.Right - 8, a, r.Right - 5, a + 6);
    TBitmap* arrow = styler->Glyphs()->SubMenu();
    ResizeRect(cell, arrow->Width(), arrow->Height());
    canvas->Font()->SetColor(vcl::clBlack);
    // The triangle's first column is full height, so its bottom-left pixel
    // (the automatic key colour) is the arrow itself: the white around it
    // is what is left out.
    canvas->BlitFrom(vcl::Bounds(cell.Left, cell.Top, arrow->Width(), arrow->Height()), arrow->Canvas(),
                     BitmapRect(arrow), vcl::SRCCOPY, vcl::clWhite);
  }
  // 7.-9. The caption.
  TRect t = r;
  if (!root)
    t.Left += iconSize + 8;
  else if (listImage || actionImage || bitmap)
    t.Left += RectWidth(g);
  TRect text = t;
  if (!HasNotes(item, menu)) {
    TRect measured = t;
    DrawMenuText(item, canvas, item->Caption(), format | vcl::DT_CALCRECT, state, measured);
    text = t;
    text.Top = t.Top + (RectHeight(r) - RectHeight(measured)) / 2;
    text.Bottom = text.Top + RectHeight(measured);
    if (root) {
      text.Left = r.Left;
      text.Right = r.Right;
    }
  }
  DrawMenuText(item, canvas, item->Caption(), format, state, text);
  // 10. The shortcut column.
  if (!root && item->ShortCut() != vcl::scNone) {
    TRect keys = text;
    keys.Right = r.Right - 10;
    Cardinal right = (format & ~(vcl::DT_CENTER | vcl::DT_RIGHT)) | vcl::DT_RIGHT;
    DrawMenuText(item, canvas, MenuShortCutText(item->ShortCut(), menu->GetIntlKeybShortCuts()), right, state, keys);
  }
}

// Re-cases a key name: first character kept, the rest lower case, a
// character after "(" upper case.
vcl::AnsiString Recase(const vcl::AnsiString& name) {
  vcl::AnsiString out = name;
  for (size_t i = 1; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    out[i] = static_cast<char>(out[i - 1] == '(' ? std::toupper(c) : std::tolower(c));
  }
  return out;
}

vcl::AnsiString KeyName(vcl::Word key, bool extended) {
  vcl::LPARAM data = static_cast<vcl::LPARAM>(vcl::MapVirtualKey(key, vcl::MAPVK_VK_TO_VSC)) << 16;
  if (extended) data |= vcl::LPARAM(1) << 24;
  return Recase(vcl::GetKeyNameText(data));
}

}  // namespace

IStyledMenu* StyledMenuOf(TMenuItem* item) { return dynamic_cast<IStyledMenu*>(item->GetParentMenu()); }

bool SideBarShown(TMenuItem* item, TCustomLumMenuStyler* styler) {
  if (!styler || !styler->SideBar()->Visible()) return false;
  switch (styler->SideBar()->VisibleIn()) {
    case viFirstVisible: return InFirstDropDown(item);
    case viFirstLevel: return IsFirstLevel(item);
    case viAnyLevel: return !IsRoot(item);
  }
  return false;
}

vcl::AnsiString MenuShortCutText(vcl::TShortCut shortCut, bool international) {
  if (!international) {
    vcl::AnsiString text = vcl::ShortCutToText(static_cast<vcl::TShortCut>(shortCut & ~kWindowsKey));
    return (shortCut & kWindowsKey) ? "Win+" + text : text;
  }
  vcl::Word key = shortCut & 0xFF;
  vcl::AnsiString text;
  if (key >= 112 && key <= 135) {
    text = "F" + std::to_string(key - 111);
  } else {
    bool extended = key != vcl::VK_BACK && key != vcl::VK_RETURN && key != vcl::VK_SHIFT &&
                    key != vcl::VK_CONTROL && key != vcl::VK_MENU;
    text = KeyName(key, extended);
  }
  if (shortCut & vcl::scShift) text = KeyName(vcl::VK_SHIFT, false) + "+" + text;
  if (shortCut & vcl::scCtrl) text = KeyName(vcl::VK_CONTROL, false) + "+" + text;
  if (shortCut & vcl::scAlt) text = KeyName(vcl::VK_MENU, false) + "+" + text;
  return text;
}

void MeasureMenuItem(TMenuItem* item, TCanvas* canvas, Integer& width, Integer& height, bool sideBarShown) {
  IStyledMenu* menu = StyledMenuOf(item);
  TCustomLumMenuStyler* styler = menu ? menu->GetCurrentStyler() : nullptr;
  if (!styler) return;  // only styled menus install this: the defaults stay
  if (!item->Visible()) {
    width = height = 0;
    return;
  }
  bool root = IsRoot(item);
  if (root) {
    vcl::TSize button = vcl::MenuButtonSize();
    width = button.cx;
    height = button.cy;
  }
  if (item->IsLine()) {
    width = -2;
    height = styler->Separator()->Width() + 2;
    return;
  }
  if (!root) width = styler->IconBar()->Size();
  vcl::TImageList* list = item->GetImageList();
  if (list && (item->ImageIndex() >= 0 || !root)) {
    if (root)
      width = list->Width();
    else
      height = std::max(height, list->Height());
  } else if (item->HasBitmap()) {
    if (root)
      width = item->Bitmap()->Width();
    else
      height = std::max(height, item->Bitmap()->Height());
  } else if (root) {
    width = -7;
  } else {
    height -= 3;
  }
  if (!root) {
    width += 15;
    height += 2;
  }
  bool notes = HasNotes(item, menu);
  std::vector<vcl::AnsiString> lines = Lines(item->Caption(), notes);
  vcl::AnsiString text = lines.front();
  if (item->ShortCut() != vcl::scNone) text += MenuShortCutText(item->ShortCut(), menu->GetIntlKeybShortCuts());
  if (root) {
    if (!styler->RootItem()->UseSystemFont()) canvas->Font()->Assign(styler->RootItem()->Font());
  } else if (!styler->UseSystemFont()) {
    canvas->Font()->Assign(styler->Font());
  } else if (!styler->SelectedItem()->UseSystemFont()) {
    canvas->Font()->Assign(styler->SelectedItem()->Font());
  }
  TRect extent;
  canvas->DrawText(text, extent, vcl::DT_CALCRECT | vcl::DT_SINGLELINE);
  width += RectWidth(extent) + 7;
  height = std::max(height, RectHeight(extent) + 6);
  if (root) return;
  if (item->ShortCut() & kWindowsKey) width += canvas->TextWidth("Win+");
  if (sideBarShown && !IsAfterBreak(item)) width += styler->SideBar()->Size() + styler->SideBar()->SplitterWidth();
  height += height % 2;
  width += 17;
  if (notes) {
    canvas->Font()->Assign(styler->NotesFont());
    Integer gh = canvas->TextHeight("gh");
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      width = std::max(width, canvas->TextWidth(lines[i]));
      height += gh;
    }
    if (!lines.back().empty())
      width = std::max(width, canvas->TextWidth(lines.back()) + styler->IconBar()->Size() + 32);
  }
}

void DrawMenuText(TMenuItem* item, TCanvas* canvas, const vcl::AnsiString& source, Cardinal format,
                  TOwnerDrawState state, TRect& rect) {
  IStyledMenu* menu = StyledMenuOf(item);
  TCustomLumMenuStyler* styler = menu ? menu->GetCurrentStyler() : nullptr;
  if (!styler) return;
  vcl::AnsiString text = source;
  bool calc = format & vcl::DT_CALCRECT;
  if (calc && (text.empty() || text == "&")) text += " ";
  canvas->Brush()->SetStyle(vcl::bsClear);
  bool root = IsRoot(item);
  bool selected = state.Contains(vcl::odSelected);
  // 2. The font.
  if (root) {
    canvas->Font()->Assign(styler->RootItem()->UseSystemFont() ? vcl::Screen->MenuFont() : styler->RootItem()->Font());
    if (selected && styler->RootItem()->SelectedTextColor() != clNone)
      canvas->Font()->SetColor(styler->RootItem()->SelectedTextColor());
    else if (!selected && state.Contains(vcl::odHotLight) && styler->RootItem()->HoverTextColor() != clNone)
      canvas->Font()->SetColor(styler->RootItem()->HoverTextColor());
  } else if (!selected) {
    canvas->Font()->Assign(styler->UseSystemFont() ? vcl::Screen->MenuFont() : styler->Font());
  } else {
    canvas->Font()->Assign(styler->SelectedItem()->UseSystemFont() ? vcl::Screen->MenuFont()
                                                                    : styler->SelectedItem()->Font());
  }
  if (item->Default() || state.Contains(vcl::odDefault)) {
    vcl::TFontStyles st = canvas->Font()->Style();
    st.Include(vcl::fsBold);
    canvas->Font()->SetStyle(st);
  }
  // 3. Disabled colours.
  auto disabledColor = [&]() {
    if (selected && vcl::ColorToRGB(vcl::clHighlight) == vcl::ColorToRGB(vcl::clBtnShadow)) return vcl::clBtnHighlight;
    return vcl::clBtnShadow;
  };
  bool disabled = !item->Enabled();
  if (disabled) canvas->Font()->SetColor(disabledColor());
  std::vector<vcl::AnsiString> lines = Lines(text, HasNotes(item, menu));
  if (lines.size() == 1) {
    if (calc || styler->AntiAlias() == aaNone) {
      canvas->DrawText(text, rect, format);
      return;
    }
    // 4. Anti-aliased through GDI+.
    TGPGraphics g(canvas);
    TGPFontFamily family(rtl::ToWide(canvas->Font()->Name()));
    int32_t style = 0;
    if (canvas->Font()->Style().Contains(vcl::fsBold)) style |= vcl::FontStyleBold;
    if (canvas->Font()->Style().Contains(vcl::fsItalic)) style |= vcl::FontStyleItalic;
    if (canvas->Font()->Style().Contains(vcl::fsUnderline)) style |= vcl::FontStyleUnderline;
    TGPFont font(&family, static_cast<REAL>(canvas->Font()->Size()), style, vcl::UnitPoint);
    TGPStringFormat sf(vcl::StringFormatFlagsNoWrap);
    sf.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
    sf.SetLineAlignment(vcl::StringAlignmentCenter);
    sf.SetAlignment(root ? vcl::StringAlignmentCenter
                         : (format & vcl::DT_RIGHT) ? vcl::StringAlignmentFar : vcl::StringAlignmentNear);
    TGPSolidBrush brush(ColorToOpaqueARGB(canvas->Font()->Color()));
    g.SetTextRenderingHint(styler->AntiAlias() == aaClearType ? vcl::TextRenderingHintClearTypeGridFit
                                                              : vcl::TextRenderingHintAntiAlias);
    g.DrawAnsiString(text, -1, &font,
                     MakeGPRectF(static_cast<REAL>(rect.Left), static_cast<REAL>(rect.Top),
                                 static_cast<REAL>(RectWidth(rect)), static_cast<REAL>(RectHeight(rect))),
                     &sf, &brush);
    return;
  }
  // 5. With notes: the first line at the top, the notes below it.
  vcl::TFont itemFont;
  itemFont.Assign(canvas->Font());
  vcl::TFont notesFont;
  notesFont.Assign(selected ? styler->SelectedItem()->NotesFont() : styler->NotesFont());
  if (disabled) notesFont.SetColor(disabledColor());
  Cardinal lineFormat = (format & ~(vcl::DT_VCENTER | vcl::DT_BOTTOM | vcl::DT_CALCRECT)) | vcl::DT_SINGLELINE;
  Integer itemGh = canvas->TextHeight("gh");
  canvas->Font()->Assign(&notesFont);
  Integer notesGh = canvas->TextHeight("gh");
  if (calc) {
    rect.Bottom = rect.Top + itemGh + notesGh * static_cast<Integer>(lines.size() - 1);
    return;
  }
  canvas->Font()->Assign(&itemFont);
  if (styler->AntiAlias() == aaNone) {
    TRect first = rect;
    canvas->DrawText(lines[0], first, lineFormat);
    canvas->Font()->Assign(&notesFont);
    Integer y = rect.Top + itemGh;
    for (size_t i = 1; i < lines.size(); ++i) {
      TRect r = vcl::Rect(rect.Left, y, rect.Right, rect.Bottom);
      canvas->DrawText(lines[i], r, lineFormat);
      y += notesGh;
    }
    return;
  }
  TGPGraphics g(canvas);
  g.SetTextRenderingHint(styler->AntiAlias() == aaClearType ? vcl::TextRenderingHintClearTypeGridFit
                                                            : vcl::TextRenderingHintAntiAlias);
  TGPStringFormat sf(vcl::StringFormatFlagsNoWrap);
  sf.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
  auto draw = [&](const vcl::TFont& f, const vcl::AnsiString& s, REAL top) {
    TGPFontFamily family(rtl::ToWide(f.Name()));
    int32_t style = f.Style().Contains(vcl::fsBold) ? vcl::FontStyleBold : 0;
    TGPFont font(&family, static_cast<REAL>(f.Size()), style, vcl::UnitPoint);
    TGPSolidBrush brush(ColorToOpaqueARGB(f.Color()));
    g.DrawAnsiString(s, -1, &font,
                     MakeGPRectF(static_cast<REAL>(rect.Left), top, static_cast<REAL>(RectWidth(rect)),
                                 static_cast<REAL>(rect.Bottom) - top),
                     &sf, &brush);
    TGPFloatRect box;
    g.MeasureString(u"gh", -1, &font, MakeGPRectF(0, 0, 0, 0), &sf, box);
    return box.Height;
  };
  draw(itemFont, lines[0], static_cast<REAL>(rect.Top));
  REAL y = static_cast<REAL>(rect.Top) + 20;
  for (size_t i = 1; i < lines.size(); ++i) y += std::round(draw(notesFont, lines[i], y));
}

void DrawMenuItem(TMenuItem* item, TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool sideBarShown) {
  IStyledMenu* menu = StyledMenuOf(item);
  TCustomLumMenuStyler* styler = menu ? menu->GetCurrentStyler() : nullptr;
  if (!styler) return;
  TRect r = rect;
  bool afterBreak = IsAfterBreak(item);
  if (sideBarShown && !afterBreak) r.Left += styler->SideBar()->Size() + styler->SideBar()->SplitterWidth();
  bool root = IsRoot(item);
  if (!root) {
    TRect p = PopupRect(item, rect);
    if (sideBarShown && !afterBreak && IsFirstVisible(item)) DrawSideBar(canvas, styler, p);
    TIconBar* icon = styler->IconBar();
    TRect strip = vcl::Rect(r.Left, p.Top, r.Left + icon->Size(), p.Bottom);
    FillMenuGradientClipped(canvas, strip, icon->GradientDirection(), icon->Color(), icon->ColorTo(), r);
    if (icon->SeparatorColor() != clNone)
      Line(canvas, icon->SeparatorColor(), strip.Right - 1, p.Top, strip.Right - 1, p.Bottom);
    TBackground* bg = styler->Background();
    TRect b = vcl::Rect(strip.Right, r.Top, r.Right, r.Bottom);
    if (bg->MarginX() > 0 || bg->MarginY() > 0) {
      canvas->Brush()->SetColor(bg->Color());
      canvas->FillRect(b);
      b = vcl::Rect(b.Left + bg->MarginX(), b.Top + bg->MarginY(), b.Right - bg->MarginX(), b.Bottom - bg->MarginY());
    }
    FillMenuGradientClipped(canvas, vcl::Rect(strip.Right, p.Top, r.Right, p.Bottom), bg->GradientDirection(),
                            bg->Color(), bg->ColorTo(), b);
    if (bg->HasImage() && !b.IsEmpty()) {
      TBitmap* composed = styler->BackgroundBitmap();
      if (composed->Width() != RectWidth(p) || composed->Height() != RectHeight(p)) {
        composed->SetSize(RectWidth(p), RectHeight(p));
        DrawMenuBackground(composed->Canvas(), p, bg, false);
      }
      canvas->SetCopyMode(vcl::SRCCOPY);
      canvas->CopyRect(b, composed->Canvas(), b);
    }
  }
  if (item->IsLine())
    DrawSeparator(canvas, styler, r);
  else
    DrawContent(item, menu, styler, canvas, r, state);
  if (!root) DrawPopupFrame(item, canvas);
}

// --- The menu bar and the pop-up frame ---

void DrawMenuBarSlice(TMenuItem* item, TCanvas* canvas, const TRect& r) {
  auto* main = dynamic_cast<TLumMainMenu*>(item->GetParentMenu());
  IStyledMenu* menu = StyledMenuOf(item);
  TCustomLumMenuStyler* styler = menu ? menu->GetCurrentStyler() : nullptr;
  if (!main || !styler) return;
  vcl::TCustomForm* form = main->BarForm();
  if (!form || !form->HandleAllocated()) return;
  // The bar's client area spans the canvas (the bar's own pixels).
  TRect k = canvas->ClipRect();
  TRect gradient = vcl::Rect(k.Left, r.Top, k.Right, r.Bottom);
  TRect clip = r;
  // The last item of its row.
  TMenuItem* root = item->Parent();
  TMenuItem* next = nullptr;
  for (Integer i = item->MenuIndex() + 1; i < root->Count() && !next; ++i)
    if (root->Items(i)->Visible()) next = root->Items(i);
  bool last = !next;
  if (next) {
    TRect mine = item->ScreenRect(), theirs = next->ScreenRect();
    last = !mine.IsEmpty() && theirs.Width() > 0 && theirs.Top != mine.Top;
  }
  if (last) {
    clip.Right = k.Right;
    vcl::HWND window = vcl::WindowFromDC(canvas);
    if (window && window != form->Handle()) {
      Integer d = std::max(0, RectWidth(k) - RectWidth(gradient));
      clip.Right += d;
      gradient.Right += d + 50;
    } else {
      gradient.Right += 100;
    }
  } else {
    gradient.Right += 100;
  }
  TRootItem* rs = styler->RootItem();
  FillMenuGradientClipped(canvas, gradient, rs->GradientDirection(), rs->Color(), rs->ColorTo(), clip);
}

void DrawPopupFrame(TMenuItem* item, TCanvas* canvas) {
  IStyledMenu* menu = StyledMenuOf(item);
  TCustomLumMenuStyler* styler = menu ? menu->GetCurrentStyler() : nullptr;
  vcl::TMenuWindow* window = vcl::FindMenuWindow(vcl::WindowFromDC(canvas));
  if (!styler || !window) return;
  TRect w = window->WindowRect();
  Integer width = RectWidth(w), height = RectHeight(w);
  TMenuItem* parent = window->ParentItem();
  bool popup = dynamic_cast<vcl::TPopupMenu*>(menu->GetMenu()) != nullptr;
  Integer level = parent->Level() + 1;
  bool firstLevel = popup ? level == 0 : level == 1;
  bool subMenu = level + (popup ? 1 : 0) >= 2;
  // Whether a sub-menu lies to the right of its parent item.
  bool toTheRight = false;
  if (subMenu) {
    TMenuItem* first = FirstVisible(parent);
    TRect f = first ? first->ScreenRect() : TRect{};
    TRect p = parent->ScreenRect();
    toTheRight = f.IsEmpty() || f.Left > p.Left || (f.Left == p.Left && f.Right > p.Right);
  }
  if (!window->HookInstalled()) {
    window->InstallHook(nullptr);
    vcl::TRegion shape(vcl::Rect(1, 1, width - 1 - 17, height - 1));
    window->SetRegion(&shape);
    if (firstLevel)
      window->MoveBy(-1, -2);
    else if (subMenu)
      window->MoveBy(toTheRight ? -14 : 20, 0);
    w = window->WindowRect();
  }
  TCanvas* frame = window->WindowCanvas();
  // The frame follows the window's shape, 17 pixels in from the right for
  // every window. (Framing a sub-menu that lies to the right 34 pixels in
  // would leave a strip of its items outside the frame, inside the shape.)
  TRect inner = vcl::Rect(1, 1, width - 1 - 17, height - 1);
  frame->Brush()->SetColor(styler->MenuBorderColor());
  frame->FrameRect(inner);
  if (!popup && level == 1) {
    TRect rootRect = parent->ScreenRect();
    if (!rootRect.IsEmpty()) {
      Integer left = rootRect.Left - w.Left, right = rootRect.Right - w.Left;
      Line(frame, styler->Background()->Color(), left + 1, 1, right - 1, 1);
    }
  }
  vcl::InflateRect(inner, -1, -1);
  frame->Brush()->SetColor(styler->Background()->Color());
  frame->FrameRect(inner);
}

}  // namespace controls
