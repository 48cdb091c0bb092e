#pragma once
// Styled menus: the menu styler with its appearance groups, the routines
// that measure and paint every item in a styler's look, the menu bar's
// background and the pop-up windows' frame, and the popup and main menus
// that install those routines on their items.
#include <cstdint>
#include <memory>

#include "controls/LumGDIP.h"
#include "controls/LumMenuUtil.h"
#include "vcl/Components.h"
#include "vcl/Menus.h"
#include "vcl/Pictures.h"

namespace controls {

using vcl::TBitmap;
using vcl::TFont;
using vcl::TMenu;
using vcl::TMenuItem;

class TCustomLumMenuStyler;

enum class TSideBarVisibleIn : uint8_t { viFirstVisible, viFirstLevel, viAnyLevel };
using enum TSideBarVisibleIn;
// Which way the side bar's caption is written.
enum class TDirection : uint8_t { dDownToUp, dUpToDown };
using enum TDirection;

// What a styled menu offers its styler and the painting routines. A
// pointer to it never owns the menu.
class IStyledMenu {
 public:
  // Rebuilds the native items, so every item is measured again.
  virtual void UpdateItems() = 0;
  // The menu re-checks its window-list hook (no multiple-document windows
  // here: a main menu repaints its bar).
  virtual void Notify() = 0;
  virtual TMenu* GetMenu() = 0;
  virtual TCustomLumMenuStyler* GetMenuStyler() = 0;
  virtual TCustomLumMenuStyler* GetCurrentStyler() = 0;
  virtual void SetMenuStyler(TCustomLumMenuStyler* value) = 0;
  virtual bool GetShowNotes() = 0;
  virtual void SetShowNotes(bool value) = 0;
  virtual bool GetIntlKeybShortCuts() = 0;
  virtual void SetIntlKeybShortCuts(bool value) = 0;

 protected:
  virtual ~IStyledMenu() = default;
};

// After a setter: nothing, the menu's notify, or a rebuild of its items.
enum class TMenuRefresh { None, Notify, Rebuild };

// The base of the groups that keep a link to the menu whose items they
// style (null until a menu takes the styler).
class TMenuLinkedGroup : public vcl::TPersistent {
 public:
  explicit TMenuLinkedGroup(TMenu* menu) : menu_(menu) {}
  TMenu* Menu() const { return menu_; }
  virtual void SetMenu(TMenu* menu) { menu_ = menu; }

 protected:
  void Refresh(TMenuRefresh level);

 private:
  TMenu* menu_;  // not owned
};

class TGradientBar : public TMenuLinkedGroup {
 public:
  explicit TGradientBar(TMenu* menu);
  void Assign(const vcl::TPersistent* source) override;
  // Index 0 Color, 1 ColorTo; others raise EInvalidPropertyIndex.
  TColor GetColor(Integer index) const;
  void SetColor(Integer index, TColor value);
  TColor Color() const { return GetColor(0); }
  void SetColor(TColor v) { SetColor(0, v); }
  TColor ColorTo() const { return GetColor(1); }
  void SetColorTo(TColor v) { SetColor(1, v); }
  TGradientDirection GradientDirection() const { return direction_; }
  void SetGradientDirection(TGradientDirection v) { direction_ = v; }

 protected:
  TColor color_ = 0xD8BDAF;
  TColor colorTo_ = vcl::clNone;
  TGradientDirection direction_ = gdVertical;
};

class TIconBar : public TGradientBar {
 public:
  explicit TIconBar(TMenu* menu);
  void Assign(const vcl::TPersistent* source) override;
  TColor GetCheckColor(Integer index) const;
  void SetCheckColor(Integer index, TColor value);
  TColor GetRadioColor(Integer index) const;
  void SetRadioColor(Integer index, TColor value);
  TColor CheckColor() const { return GetCheckColor(0); }
  TColor CheckColorTo() const { return GetCheckColor(1); }
  TColor RadioColor() const { return GetRadioColor(0); }
  TColor RadioColorTo() const { return GetRadioColor(1); }
  TColor CheckBorder() const { return checkBorder_; }
  void SetCheckBorder(TColor v) { checkBorder_ = v; }
  TGradientDirection CheckGradientDirection() const { return checkDirection_; }
  void SetCheckGradientDirection(TGradientDirection v) { checkDirection_ = v; }
  TColor RadioBorder() const { return radioBorder_; }
  void SetRadioBorder(TColor v) { radioBorder_ = v; }
  TGradientDirection RadioGradientDirection() const { return radioDirection_; }
  void SetRadioGradientDirection(TGradientDirection v) { radioDirection_ = v; }
  TColor SeparatorColor() const { return separatorColor_; }
  void SetSeparatorColor(TColor v) { separatorColor_ = v; }
  // Pixels; a value below 16 is raised to 16. Rebuilds the menu.
  Integer Size() const { return size_; }
  void SetSize(Integer v);

 private:
  TColor check_[2] = {0x6FC0FF, vcl::clNone};
  TColor checkBorder_ = 0x6F4B4B;
  TGradientDirection checkDirection_ = gdVertical;
  TColor radio_[2] = {0x6FC0FF, vcl::clNone};
  TColor radioBorder_ = 0x6F4B4B;
  TGradientDirection radioDirection_ = gdVertical;
  TColor separatorColor_ = vcl::clNone;
  Integer size_ = 24;
};

class TSelectedItem : public TGradientBar {
 public:
  explicit TSelectedItem(TMenu* menu);
  void Assign(const vcl::TPersistent* source) override;
  TColor ColorMirror() const { return mirror_; }
  void SetColorMirror(TColor v) { mirror_ = v; }
  TColor ColorMirrorTo() const { return mirrorTo_; }
  void SetColorMirrorTo(TColor v) { mirrorTo_ = v; }
  TColor BorderColor() const { return border_; }
  void SetBorderColor(TColor v) { border_ = v; }
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* v);
  TFont* NotesFont() const { return notesFont_.get(); }
  void SetNotesFont(const TFont* v);
  bool UseSystemFont() const { return useSystemFont_; }
  void SetUseSystemFont(bool v);
  TColor GetCheckColor(Integer index) const;
  void SetCheckColor(Integer index, TColor value);
  TColor GetRadioColor(Integer index) const;
  void SetRadioColor(Integer index, TColor value);
  TColor CheckColor() const { return GetCheckColor(0); }
  TColor CheckColorTo() const { return GetCheckColor(1); }
  TColor RadioColor() const { return GetRadioColor(0); }
  TColor RadioColorTo() const { return GetRadioColor(1); }
  TColor CheckBorder() const { return checkBorder_; }
  void SetCheckBorder(TColor v) { checkBorder_ = v; }
  TGradientDirection CheckGradientDirection() const { return checkDirection_; }
  void SetCheckGradientDirection(TGradientDirection v) { checkDirection_ = v; }
  TColor RadioBorder() const { return radioBorder_; }
  void SetRadioBorder(TColor v) { radioBorder_ = v; }
  TGradientDirection RadioGradientDirection() const { return radioDirection_; }
  void SetRadioGradientDirection(TGradientDirection v) { radioDirection_ = v; }

 private:
  TColor mirror_ = vcl::clNone, mirrorTo_ = vcl::clNone;
  TColor border_ = 0x6F4B4B;
  std::unique_ptr<TFont> font_, notesFont_;
  bool useSystemFont_ = true;
  TColor check_[2] = {0x3E80FE, vcl::clNone};
  TColor checkBorder_ = 0x6F4B4B;
  TGradientDirection checkDirection_ = gdVertical;
  TColor radio_[2] = {0x3E80FE, vcl::clNone};
  TColor radioBorder_ = 0x6F4B4B;
  TGradientDirection radioDirection_ = gdVertical;
};

class TRootItem : public TGradientBar {
 public:
  explicit TRootItem(TMenu* menu);
  void Assign(const vcl::TPersistent* source) override;
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* v);
  bool UseSystemFont() const { return useSystemFont_; }
  void SetUseSystemFont(bool v);
  // Index 0 colour, 1 colour-to, 2 mirror, 3 mirror-to. Rebuild.
  TColor GetSelectedColor(Integer index) const;
  void SetSelectedColor(Integer index, TColor value);
  TColor GetHoverColor(Integer index) const;
  void SetHoverColor(Integer index, TColor value);
  TColor SelectedColor() const { return GetSelectedColor(0); }
  TColor SelectedColorTo() const { return GetSelectedColor(1); }
  TColor SelectedColorMirror() const { return GetSelectedColor(2); }
  TColor SelectedColorMirrorTo() const { return GetSelectedColor(3); }
  TColor HoverColor() const { return GetHoverColor(0); }
  TColor HoverColorTo() const { return GetHoverColor(1); }
  TColor HoverColorMirror() const { return GetHoverColor(2); }
  TColor HoverColorMirrorTo() const { return GetHoverColor(3); }
  TGradientDirection SelectedGradientDirection() const { return selectedDirection_; }
  void SetSelectedGradientDirection(TGradientDirection v) { selectedDirection_ = v; }
  TColor SelectedBorderColor() const { return selectedBorder_; }
  void SetSelectedBorderColor(TColor v) { selectedBorder_ = v; }
  TColor SelectedTextColor() const { return selectedText_; }
  void SetSelectedTextColor(TColor v) { selectedText_ = v; }
  TGradientDirection HoverGradientDirection() const { return hoverDirection_; }
  void SetHoverGradientDirection(TGradientDirection v) { hoverDirection_ = v; }
  TColor HoverBorderColor() const { return hoverBorder_; }
  void SetHoverBorderColor(TColor v) { hoverBorder_ = v; }
  TColor HoverTextColor() const { return hoverText_; }
  void SetHoverTextColor(TColor v) { hoverText_ = v; }

 private:
  std::unique_ptr<TFont> font_;
  bool useSystemFont_ = true;
  TColor selected_[4] = {0xF2E8E8, 0xCDB8B9, vcl::clNone, vcl::clNone};
  TGradientDirection selectedDirection_ = gdVertical;
  TColor selectedBorder_ = 0x947C7C;
  TColor selectedText_ = vcl::clWindowText;
  TColor hover_[4] = {0xCFF6FF, 0x9DD8FF, vcl::clNone, vcl::clNone};
  TGradientDirection hoverDirection_ = gdVertical;
  TColor hoverBorder_ = 0x6F4B4B;
  TColor hoverText_ = vcl::clWindowText;
};

// The three default glyphs, from the bitmap resources "LUMSUBMENUITEM",
// "LUMCHECKITEM" and "LUMRADIOITEM", drawn transparent.
class TMenuGlyphs : public TMenuLinkedGroup {
 public:
  explicit TMenuGlyphs(TMenu* menu);
  void Assign(const vcl::TPersistent* source) override;
  TBitmap* SubMenu() const { return subMenu_.get(); }
  void SetSubMenu(const TBitmap* v);
  TBitmap* Check() const { return check_.get(); }
  void SetCheck(const TBitmap* v);
  TBitmap* Radio() const { return radio_.get(); }
  void SetRadio(const TBitmap* v);

 private:
  void Take(TBitmap* target, const TBitmap* source);
  std::unique_ptr<TBitmap> subMenu_, check_, radio_;
};

class TBarCaption : public TMenuLinkedGroup {
 public:
  explicit TBarCaption(TMenu* menu);
  void Assign(const vcl::TPersistent* source) override;
  vcl::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(vcl::TAlignment v) { alignment_ = v; }
  const vcl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const vcl::AnsiString& v) { caption_ = v; }
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* v);
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor v) { shadowColor_ = v; }
  Integer Depth() const { return depth_; }
  void SetDepth(Integer v) { depth_ = v; }
  TDirection Direction() const { return direction_; }
  void SetDirection(TDirection v) { direction_ = v; }
  // Pixels from the bar's end to the caption (not published).
  Integer CaptionOffset() const { return captionOffset_; }

 protected:
  void CopyCaption(const TBarCaption& other);

 private:
  vcl::TAlignment alignment_ = vcl::taLeftJustify;
  vcl::AnsiString caption_;
  std::unique_ptr<TFont> font_;
  TColor shadowColor_ = vcl::clNone;
  Integer depth_ = 1;
  TDirection direction_ = dDownToUp;
  Integer captionOffset_ = 6;
};

// A fill with an optional picture: the pop-up background and the side
// bar's fill and image.
class TBackground : public TGradientBar, public IMenuBackground {
 public:
  explicit TBackground(TMenu* menu);
  ~TBackground() override;
  void Assign(const vcl::TPersistent* source) override;
  // Made again when asked for after it was cleared; a bitmap in it is made
  // transparent (automatic colour) whenever it is asked for.
  vcl::TPicture* Image() override;
  // A copy of picture; null empties and frees it. Notifies the menu.
  void SetImage(const vcl::TPicture* picture);
  // Whether the picture holds a graphic that is not empty (does not make
  // a picture).
  bool HasImage() const;
  TBackgroundPosition Position() const override { return position_; }
  void SetPosition(TBackgroundPosition v) { position_ = v; }
  Integer OffsetX() const override { return offsetX_; }
  void SetOffsetX(Integer v) { offsetX_ = v; }
  Integer OffsetY() const override { return offsetY_; }
  void SetOffsetY(Integer v) { offsetY_ = v; }
  Integer MarginX() const override { return marginX_; }
  void SetMarginX(Integer v) { marginX_ = v; }
  Integer MarginY() const override { return marginY_; }
  void SetMarginY(Integer v) { marginY_ = v; }
  TColor Color() const override { return TGradientBar::Color(); }
  TColor ColorTo() const override { return TGradientBar::ColorTo(); }
  TGradientDirection GradientDirection() const override { return TGradientBar::GradientDirection(); }
  TBitmap* WorkBitmap() override;

 private:
  std::unique_ptr<vcl::TPicture> image_;
  TBackgroundPosition position_ = TBackgroundPosition::bpCenter;
  Integer offsetX_ = 0, offsetY_ = 0, marginX_ = 0, marginY_ = 0;
  std::unique_ptr<TBitmap> work_;
};

class TSideBar : public TBarCaption {
 public:
  explicit TSideBar(TMenu* menu);
  ~TSideBar() override;
  void Assign(const vcl::TPersistent* source) override;
  void SetMenu(TMenu* menu) override;
  bool Visible() const { return visible_; }
  // Rebuilds only a main menu whose window exists.
  void SetVisible(bool v);
  TSideBarVisibleIn VisibleIn() const { return visibleIn_; }
  void SetVisibleIn(TSideBarVisibleIn v) { visibleIn_ = v; }
  TBackground* Image() const { return image_.get(); }
  void SetImage(const TBackground* v);
  TBackground* Background() const { return background_.get(); }
  void SetBackground(const TBackground* v);
  Integer Size() const { return size_; }
  void SetSize(Integer v) { size_ = v; }
  TColor SplitterColor() const { return splitterColor_; }
  void SetSplitterColor(TColor v) { splitterColor_ = v; }
  TColor SplitterColorTo() const { return splitterColorTo_; }
  void SetSplitterColorTo(TColor v) { splitterColorTo_ = v; }
  Integer SplitterWidth() const { return splitterWidth_; }
  void SetSplitterWidth(Integer v) { splitterWidth_ = v; }
  Integer SplitterMargin() const { return splitterMargin_; }
  void SetSplitterMargin(Integer v) { splitterMargin_ = v; }
  Integer SplitterGradientWidth() const { return splitterGradientWidth_; }
  void SetSplitterGradientWidth(Integer v) { splitterGradientWidth_ = v; }
  TGradientType SplitterGradientType() const { return splitterGradientType_; }
  void SetSplitterGradientType(TGradientType v) { splitterGradientType_ = v; }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v) { borderColor_ = v; }

 private:
  bool visible_ = false;
  TSideBarVisibleIn visibleIn_ = viFirstVisible;
  std::unique_ptr<TBackground> image_, background_;
  Integer size_ = 24;
  TColor splitterColor_ = 0x808080;
  TColor splitterColorTo_ = 0;  // black; its stored default is none
  Integer splitterWidth_ = 1;
  Integer splitterMargin_ = 0;
  Integer splitterGradientWidth_ = 0;
  TGradientType splitterGradientType_ = gtBoth;
  TColor borderColor_ = 0xA19D9D;
};

class TSeparator : public TGradientBar {
 public:
  explicit TSeparator(TMenu* menu);
  void Assign(const vcl::TPersistent* source) override;
  Integer Width() const { return width_; }
  void SetWidth(Integer v) { width_ = v; }
  TGradientType GradientType() const { return gradientType_; }
  void SetGradientType(TGradientType v) { gradientType_ = v; }
  Integer GradientWidth() const { return gradientWidth_; }
  void SetGradientWidth(Integer v) { gradientWidth_ = v; }
  Integer Margin() const { return margin_; }
  void SetMargin(Integer v) { margin_ = v; }

 private:
  Integer width_ = 1;
  TGradientType gradientType_ = gtBoth;
  Integer gradientWidth_ = 0;
  Integer margin_ = 2;
};

// Button colours kept with the styler for components that draw buttons in
// their menus.
class TButtonAppearance : public vcl::TPersistent {
 public:
  TButtonAppearance();
  ~TButtonAppearance() override;
  // Copies the ten colour and direction settings; other sources are
  // ignored.
  void Assign(const vcl::TPersistent* source) override;
  TColor Color() const { return color_; }
  void SetColor(TColor v) { Set(color_, v); }
  TColor ColorTo() const { return colorTo_; }
  void SetColorTo(TColor v) { Set(colorTo_, v); }
  TColor DownColor() const { return downColor_; }
  void SetDownColor(TColor v) { Set(downColor_, v); }
  TColor DownColorTo() const { return downColorTo_; }
  void SetDownColorTo(TColor v) { Set(downColorTo_, v); }
  TColor HoverColor() const { return hoverColor_; }
  void SetHoverColor(TColor v) { Set(hoverColor_, v); }
  TColor HoverColorTo() const { return hoverColorTo_; }
  void SetHoverColorTo(TColor v) { Set(hoverColorTo_, v); }
  TGradientDirection GradientDirection() const { return direction_; }
  void SetGradientDirection(TGradientDirection v);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v) { Set(borderColor_, v); }
  TColor DownBorderColor() const { return downBorderColor_; }
  void SetDownBorderColor(TColor v) { Set(downBorderColor_, v); }
  TColor HoverBorderColor() const { return hoverBorderColor_; }
  void SetHoverBorderColor(TColor v) { Set(hoverBorderColor_, v); }
  TFont* CaptionFont() const { return captionFont_.get(); }
  bool UseSystemFont() const { return useSystemFont_; }
  void SetUseSystemFont(bool v);

  vcl::TNotifyEvent OnChange;

 private:
  void Set(TColor& field, TColor v);
  void Changed();
  TColor color_ = vcl::clNone, colorTo_ = vcl::clNone;
  TColor downColor_ = 0xB59285, downColorTo_ = vcl::clNone;
  TColor hoverColor_ = 0xD2BDB6, hoverColorTo_ = vcl::clNone;
  TGradientDirection direction_ = gdVertical;
  TColor borderColor_ = vcl::clNone;
  TColor downBorderColor_ = 0x6A240A, hoverBorderColor_ = 0x6A240A;
  std::unique_ptr<TFont> captionFont_;
  bool useSystemFont_ = true;
};

class TCustomLumMenuStyler : public vcl::TComponent {
 public:
  explicit TCustomLumMenuStyler(vcl::TComponent* owner);
  ~TCustomLumMenuStyler() override;
  // Only from a TLumMenuStyler: the groups through the setters, the font
  // and UseSystemFont. Anything else raises the conversion error.
  void Assign(const vcl::TPersistent* source) override;

  // The menu link: given to the seven groups that keep one; the menu is
  // told of its own destruction to the styler, and notified.
  void SetMenu(TMenu* menu);
  TMenu* Menu() const { return menu_; }

  bool UseSystemFont() const { return useSystemFont_; }
  void SetUseSystemFont(bool v);
  TSeparator* Separator() const { return separator_.get(); }
  void SetSeparator(const TSeparator* v);
  TBackground* Background() const { return background_.get(); }
  void SetBackground(const TBackground* v);
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* v);
  TIconBar* IconBar() const { return iconBar_.get(); }
  void SetIconBar(const TIconBar* v);
  TMenuGlyphs* Glyphs() const { return glyphs_.get(); }
  void SetGlyphs(const TMenuGlyphs* v);
  TRootItem* RootItem() const { return rootItem_.get(); }
  void SetRootItem(const TRootItem* v);
  TSelectedItem* SelectedItem() const { return selectedItem_.get(); }
  void SetSelectedItem(const TSelectedItem* v);
  TSideBar* SideBar() const { return sideBar_.get(); }
  void SetSideBar(const TSideBar* v);
  TColor MenuBorderColor() const { return menuBorderColor_; }
  void SetMenuBorderColor(TColor v) { menuBorderColor_ = v; }
  // Composed backgrounds of the pop-up (the background picture's).
  TBitmap* BackgroundBitmap() const { return backgroundBitmap_.get(); }
  TFont* NotesFont() const { return notesFont_.get(); }
  void SetNotesFont(const TFont* v);
  TAntiAlias AntiAlias() const { return antiAlias_; }
  void SetAntiAlias(TAntiAlias v);
  TButtonAppearance* ButtonAppearance() const { return buttonAppearance_.get(); }
  void SetButtonAppearance(const TButtonAppearance* v);

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void Refresh(TMenuRefresh level);

 private:
  bool useSystemFont_ = true;
  std::unique_ptr<TSeparator> separator_;
  std::unique_ptr<TBackground> background_;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TIconBar> iconBar_;
  std::unique_ptr<TMenuGlyphs> glyphs_;
  std::unique_ptr<TRootItem> rootItem_;
  std::unique_ptr<TSelectedItem> selectedItem_;
  std::unique_ptr<TSideBar> sideBar_;
  TColor menuBorderColor_ = 0x7C7C94;
  TMenu* menu_ = nullptr;  // not owned
  std::unique_ptr<TBitmap> backgroundBitmap_;
  std::unique_ptr<TFont> notesFont_;
  TAntiAlias antiAlias_ = aaNone;
  std::unique_ptr<TButtonAppearance> buttonAppearance_;
};

class TLumMenuStyler : public TCustomLumMenuStyler {
 public:
  using TCustomLumMenuStyler::TCustomLumMenuStyler;
};

// A copy of the system menu font (the class library's), coloured; a size
// change in points when given.
std::unique_ptr<TFont> MenuFontCopy(TColor color, Integer smallerBy = 0);

// --- Measuring and painting items (the menus install them) ---

// Whether the side bar shows beside the item, by the styler's setting.
bool SideBarShown(TMenuItem* item, TCustomLumMenuStyler* styler);
void MeasureMenuItem(TMenuItem* item, vcl::TCanvas* canvas, Integer& width, Integer& height, bool sideBarShown);
void DrawMenuItem(TMenuItem* item, vcl::TCanvas* canvas, const TRect& rect, vcl::TOwnerDrawState state,
                  bool sideBarShown);
// One piece of item text (caption, notes, shortcut) with the item's font
// and colour rules; format holds DT_* flags (DT_CALCRECT measures).
void DrawMenuText(TMenuItem* item, vcl::TCanvas* canvas, const vcl::AnsiString& text, vcl::Cardinal format,
                  vcl::TOwnerDrawState state, TRect& rect);
// The shortcut column's text.
vcl::AnsiString MenuShortCutText(vcl::TShortCut shortCut, bool international);
// The menu-bar background behind a root item that is neither selected nor
// hot.
void DrawMenuBarSlice(TMenuItem* item, vcl::TCanvas* canvas, const TRect& rect);
// The shape, place and frame of the pop-up window the canvas draws into.
void DrawPopupFrame(TMenuItem* item, vcl::TCanvas* canvas);

// The styling interface of the item's menu, or null.
IStyledMenu* StyledMenuOf(TMenuItem* item);

// --- The menus ---

class TLumPopupMenu : public vcl::TPopupMenu, public IStyledMenu {
 public:
  explicit TLumPopupMenu(vcl::TComponent* owner);
  ~TLumPopupMenu() override;

  // Adjusts X for the alignment by the first item's measure, then shows
  // the menu.
  void Popup(Integer X, Integer Y) override;
  void PopupAtPoint(vcl::TPoint p) { Popup(p.X, p.Y); }

  TCustomLumMenuStyler* MenuStyler() const { return menuStyler_; }
  vcl::TImageList* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(vcl::TImageList* v);
  bool ShowNotes() const { return showNotes_; }
  bool IntlKeybShortCuts() const { return intlKeyb_; }
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updating_; }
  Integer UpdateCount() const { return updateCount_; }
  // 0x02050301; Version() is its bytes in decimal: "2.5.3.1".
  virtual vcl::Cardinal GetVersionNumber() const;
  vcl::AnsiString Version() const;
  // The menu's internal styler, or null while a user styler is in use.
  TCustomLumMenuStyler* InternalStyler() const { return internal_; }
  // How many times the menu hooked its items (all of them, or a changed
  // one with its sub-items).
  Integer HookPasses() const { return hookPasses_; }

  // IStyledMenu
  void UpdateItems() override { vcl::TPopupMenu::UpdateItems(); }
  void Notify() override;
  TMenu* GetMenu() override { return this; }
  TCustomLumMenuStyler* GetMenuStyler() override { return menuStyler_; }
  TCustomLumMenuStyler* GetCurrentStyler() override { return current_; }
  void SetMenuStyler(TCustomLumMenuStyler* value) override;
  bool GetShowNotes() override { return showNotes_; }
  void SetShowNotes(bool value) override { showNotes_ = value; }
  bool GetIntlKeybShortCuts() override { return intlKeyb_; }
  void SetIntlKeybShortCuts(bool value) override { intlKeyb_ = value; }

 protected:
  void Loaded() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void ItemChanged(TMenuItem* source, bool rebuild) override;

 private:
  friend struct StyledMenuParts;
  void MakeInternalStyler();
  void HookItem(TMenuItem* item, bool recursive);

  TCustomLumMenuStyler* menuStyler_ = nullptr;  // the user's; owned by its own owner
  TCustomLumMenuStyler* internal_ = nullptr;    // owned by this menu (a component it owns)
  TCustomLumMenuStyler* current_ = nullptr;
  bool showNotes_ = true;
  bool updating_ = false;
  Integer updateCount_ = 0;
  vcl::TImageList* disabledImages_ = nullptr;  // owned by its own owner
  bool intlKeyb_ = false;
  Integer hookPasses_ = 0;
};

class TLumMainMenu : public vcl::TMainMenu, public IStyledMenu {
 public:
  explicit TLumMainMenu(vcl::TComponent* owner);
  ~TLumMainMenu() override;

  TCustomLumMenuStyler* MenuStyler() const { return menuStyler_; }
  vcl::TImageList* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(vcl::TImageList* v);
  bool ShowNotes() const { return showNotes_; }
  bool IntlKeybShortCuts() const { return intlKeyb_; }
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updating_; }
  Integer UpdateCount() const { return updateCount_; }
  virtual vcl::Cardinal GetVersionNumber() const;
  vcl::AnsiString Version() const;
  TCustomLumMenuStyler* InternalStyler() const { return internal_; }
  Integer HookPasses() const { return hookPasses_; }
  // The form whose bar shows this menu, or null.
  vcl::TCustomForm* BarForm() const;
  // Repaints the form's menu bar (when it shows).
  void RedrawBar();

  void UpdateItems() override { vcl::TMainMenu::UpdateItems(); }
  void Notify() override;
  TMenu* GetMenu() override { return this; }
  TCustomLumMenuStyler* GetMenuStyler() override { return menuStyler_; }
  TCustomLumMenuStyler* GetCurrentStyler() override { return current_; }
  void SetMenuStyler(TCustomLumMenuStyler* value) override;
  bool GetShowNotes() override { return showNotes_; }
  void SetShowNotes(bool value) override { showNotes_ = value; }
  bool GetIntlKeybShortCuts() override { return intlKeyb_; }
  void SetIntlKeybShortCuts(bool value) override { intlKeyb_ = value; }

 protected:
  void Loaded() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void ItemChanged(TMenuItem* source, bool rebuild) override;

 private:
  friend struct StyledMenuParts;
  void MakeInternalStyler();
  void HookItem(TMenuItem* item, bool recursive);

  TCustomLumMenuStyler* menuStyler_ = nullptr;
  TCustomLumMenuStyler* internal_ = nullptr;
  TCustomLumMenuStyler* current_ = nullptr;
  bool showNotes_ = true;
  bool updating_ = false;
  Integer updateCount_ = 0;
  vcl::TImageList* disabledImages_ = nullptr;
  bool intlKeyb_ = false;
  Integer hookPasses_ = 0;
};

// Where a pop-up opens for a wanted X, its alignment, the first item's
// measured width and the desktop's width.
Integer PopupPlacementX(vcl::TPopupAlignment alignment, Integer x, Integer firstItemWidth, Integer desktopWidth);

// Switches Qt's menu animation off for this program at start-up and back
// to what it was at shut-down.
void StartUpLumMenus();
void ShutDownLumMenus();

}  // namespace controls
