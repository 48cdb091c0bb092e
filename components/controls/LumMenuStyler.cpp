// The menu styler and its appearance groups: initial values, indexed
// colours, copying rules and the refresh each setter asks of the linked
// menu.
#include "controls/LumStyleIF.h"
#include "controls/LumMenus.h"
#include "vcl/Forms.h"
#include "vcl/Resources.h"

namespace controls {

using vcl::clNone;

namespace {

[[noreturn]] void BadIndex(Integer index) { throw EInvalidPropertyIndex(index); }

TColor& Pick(TColor* colors, Integer count, Integer index) {
  if (index < 0 || index >= count) BadIndex(index);
  return colors[index];
}

// Copies a bitmap resource of the library into a bitmap drawn transparent.
std::unique_ptr<TBitmap> GlyphResource(const char* name) {
  auto b = std::make_unique<TBitmap>();
  b->LoadFromResourceName(vcl::HInstance, name);
  b->SetTransparentMode(vcl::tmAuto);
  b->SetTransparent(true);
  return b;
}

}  // namespace

std::unique_ptr<TFont> MenuFontCopy(TColor color, Integer smallerBy) {
  vcl::InitApplication();
  auto f = std::make_unique<TFont>();
  f->Assign(vcl::Screen->MenuFont());
  f->SetColor(color);
  if (smallerBy) f->SetSize(f->Size() - smallerBy);
  return f;
}

// --- Links ---

void TMenuLinkedGroup::Refresh(TMenuRefresh level) {
  if (level == TMenuRefresh::None || !menu_) return;
  auto* styled = dynamic_cast<IStyledMenu*>(menu_);
  if (!styled) return;
  if (level == TMenuRefresh::Rebuild) styled->UpdateItems();
  styled->Notify();
}

// --- TGradientBar ---

TGradientBar::TGradientBar(TMenu* menu) : TMenuLinkedGroup(menu) {}

TColor TGradientBar::GetColor(Integer index) const {
  if (index == 0) return color_;
  if (index == 1) return colorTo_;
  BadIndex(index);
}

void TGradientBar::SetColor(Integer index, TColor value) {
  if (index == 0)
    color_ = value;
  else if (index == 1)
    colorTo_ = value;
  else
    BadIndex(index);
}

void TGradientBar::Assign(const vcl::TPersistent* source) {
  if (auto* g = dynamic_cast<const TGradientBar*>(source)) {
    color_ = g->color_;
    colorTo_ = g->colorTo_;
    direction_ = g->direction_;
    return;
  }
  vcl::TPersistent::Assign(source);
}

// --- TIconBar ---

TIconBar::TIconBar(TMenu* menu) : TGradientBar(menu) {
  color_ = 0xFFF9F9;
  colorTo_ = 0xBBA0A1;
  direction_ = gdHorizontal;
}

TColor TIconBar::GetCheckColor(Integer index) const { return Pick(const_cast<TColor*>(check_), 2, index); }
void TIconBar::SetCheckColor(Integer index, TColor value) {
  Pick(check_, 2, index) = value;
  Refresh(TMenuRefresh::Notify);
}
TColor TIconBar::GetRadioColor(Integer index) const { return Pick(const_cast<TColor*>(radio_), 2, index); }
void TIconBar::SetRadioColor(Integer index, TColor value) {
  Pick(radio_, 2, index) = value;
  Refresh(TMenuRefresh::Notify);
}

void TIconBar::SetSize(Integer v) {
  size_ = std::max(v, 16);
  Refresh(TMenuRefresh::Rebuild);
}

void TIconBar::Assign(const vcl::TPersistent* source) {
  if (auto* i = dynamic_cast<const TIconBar*>(source)) {
    check_[0] = i->check_[0];
    check_[1] = i->check_[1];
    checkBorder_ = i->checkBorder_;
    checkDirection_ = i->checkDirection_;
    radio_[0] = i->radio_[0];
    radio_[1] = i->radio_[1];
    radioBorder_ = i->radioBorder_;
    radioDirection_ = i->radioDirection_;
    SetSize(i->size_);
    separatorColor_ = i->separatorColor_;
    return;
  }
  TGradientBar::Assign(source);
}

// --- TSelectedItem ---

TSelectedItem::TSelectedItem(TMenu* menu)
    : TGradientBar(menu), font_(MenuFontCopy(vcl::clWindowText)), notesFont_(MenuFontCopy(vcl::clWindowText, 2)) {
  color_ = 0xC2EEFF;
  colorTo_ = clNone;
}

void TSelectedItem::SetFont(const TFont* v) {
  font_->Assign(v);
  Refresh(TMenuRefresh::Rebuild);
}
void TSelectedItem::SetNotesFont(const TFont* v) {
  notesFont_->Assign(v);
  Refresh(TMenuRefresh::Rebuild);
}
void TSelectedItem::SetUseSystemFont(bool v) {
  useSystemFont_ = v;
  Refresh(TMenuRefresh::Rebuild);
}
TColor TSelectedItem::GetCheckColor(Integer index) const { return Pick(const_cast<TColor*>(check_), 2, index); }
void TSelectedItem::SetCheckColor(Integer index, TColor value) {
  Pick(check_, 2, index) = value;
  Refresh(TMenuRefresh::Notify);
}
TColor TSelectedItem::GetRadioColor(Integer index) const { return Pick(const_cast<TColor*>(radio_), 2, index); }
void TSelectedItem::SetRadioColor(Integer index, TColor value) {
  Pick(radio_, 2, index) = value;
  Refresh(TMenuRefresh::Notify);
}

void TSelectedItem::Assign(const vcl::TPersistent* source) {
  if (auto* s = dynamic_cast<const TSelectedItem*>(source)) {
    mirror_ = s->mirror_;
    mirrorTo_ = s->mirrorTo_;
    border_ = s->border_;
    font_->Assign(s->font_.get());
    useSystemFont_ = s->useSystemFont_;
    check_[0] = s->check_[0];
    check_[1] = s->check_[1];
    checkBorder_ = s->checkBorder_;
    checkDirection_ = s->checkDirection_;
    radio_[0] = s->radio_[0];
    radio_[1] = s->radio_[1];
    radioBorder_ = s->radioBorder_;
    radioDirection_ = s->radioDirection_;
    return;
  }
  TGradientBar::Assign(source);
}

// --- TRootItem ---

TRootItem::TRootItem(TMenu* menu) : TGradientBar(menu), font_(MenuFontCopy(vcl::clWindowText)) {
  color_ = 0xE5D7D7;
  colorTo_ = 0xF7F2F2;
  direction_ = gdHorizontal;
}

void TRootItem::SetFont(const TFont* v) {
  font_->Assign(v);
  Refresh(TMenuRefresh::Rebuild);
}
void TRootItem::SetUseSystemFont(bool v) {
  useSystemFont_ = v;
  Refresh(TMenuRefresh::Rebuild);
}
TColor TRootItem::GetSelectedColor(Integer index) const { return Pick(const_cast<TColor*>(selected_), 4, index); }
void TRootItem::SetSelectedColor(Integer index, TColor value) {
  Pick(selected_, 4, index) = value;
  Refresh(TMenuRefresh::Rebuild);
}
TColor TRootItem::GetHoverColor(Integer index) const { return Pick(const_cast<TColor*>(hover_), 4, index); }
void TRootItem::SetHoverColor(Integer index, TColor value) {
  Pick(hover_, 4, index) = value;
  Refresh(TMenuRefresh::Rebuild);
}

void TRootItem::Assign(const vcl::TPersistent* source) {
  if (auto* r = dynamic_cast<const TRootItem*>(source)) {
    font_->Assign(r->font_.get());
    useSystemFont_ = r->useSystemFont_;
    selected_[0] = r->selected_[0];
    selected_[1] = r->selected_[1];
    selectedDirection_ = r->selectedDirection_;
    selectedBorder_ = r->selectedBorder_;
    selectedText_ = r->selectedText_;
    hover_[0] = r->hover_[0];
    hover_[1] = r->hover_[1];
    hoverDirection_ = r->hoverDirection_;
    hoverBorder_ = r->hoverBorder_;
    hoverText_ = r->hoverText_;
    selected_[2] = r->selected_[2];
    selected_[3] = r->selected_[3];
    return;
  }
  TGradientBar::Assign(source);
}

// --- TMenuGlyphs ---

TMenuGlyphs::TMenuGlyphs(TMenu* menu)
    : TMenuLinkedGroup(menu),
      subMenu_(GlyphResource("LUMSUBMENUITEM")),
      check_(GlyphResource("LUMCHECKITEM")),
      radio_(GlyphResource("LUMRADIOITEM")) {}

void TMenuGlyphs::Take(TBitmap* target, const TBitmap* source) {
  target->Assign(source);
  target->SetTransparentMode(vcl::tmAuto);
  target->SetTransparent(true);
  Refresh(TMenuRefresh::Notify);
}
void TMenuGlyphs::SetSubMenu(const TBitmap* v) { Take(subMenu_.get(), v); }
void TMenuGlyphs::SetCheck(const TBitmap* v) { Take(check_.get(), v); }
void TMenuGlyphs::SetRadio(const TBitmap* v) { Take(radio_.get(), v); }

void TMenuGlyphs::Assign(const vcl::TPersistent* source) {
  if (auto* g = dynamic_cast<const TMenuGlyphs*>(source)) {
    SetSubMenu(g->subMenu_.get());
    SetCheck(g->check_.get());
    SetRadio(g->radio_.get());
    return;
  }
  vcl::TPersistent::Assign(source);
}

// --- TBarCaption ---

TBarCaption::TBarCaption(TMenu* menu) : TMenuLinkedGroup(menu), font_(std::make_unique<TFont>()) {
  font_->SetName("Tahoma");
  font_->SetSize(14);
  font_->SetColor(0xFFFFFF);
  font_->SetStyle({vcl::fsBold, vcl::fsItalic});
}

void TBarCaption::SetFont(const TFont* v) {
  font_->Assign(v);
  Refresh(TMenuRefresh::Rebuild);
}

void TBarCaption::CopyCaption(const TBarCaption& c) {
  captionOffset_ = c.captionOffset_;
  alignment_ = c.alignment_;
  caption_ = c.caption_;
  font_->Assign(c.font_.get());
  shadowColor_ = c.shadowColor_;
  depth_ = c.depth_;
  direction_ = c.direction_;
}

void TBarCaption::Assign(const vcl::TPersistent* source) {
  if (auto* c = dynamic_cast<const TBarCaption*>(source)) {
    CopyCaption(*c);
    return;
  }
  vcl::TPersistent::Assign(source);
}

// --- TBackground ---

TBackground::TBackground(TMenu* menu) : TGradientBar(menu), image_(std::make_unique<vcl::TPicture>()) {
  color_ = 0xFFFAFD;
  colorTo_ = clNone;
}

TBackground::~TBackground() = default;

vcl::TPicture* TBackground::Image() {
  if (!image_) image_ = std::make_unique<vcl::TPicture>();
  if (auto* b = dynamic_cast<TBitmap*>(image_->Graphic())) {
    b->SetTransparentMode(vcl::tmAuto);
    b->SetTransparent(true);
  }
  return image_.get();
}

bool TBackground::HasImage() const { return image_ && image_->Graphic() && !image_->Graphic()->Empty(); }

void TBackground::SetImage(const vcl::TPicture* picture) {
  if (!picture)
    image_.reset();
  else
    Image()->Assign(picture);
  Refresh(TMenuRefresh::Notify);
}

TBitmap* TBackground::WorkBitmap() {
  if (!work_) work_ = std::make_unique<TBitmap>();
  return work_.get();
}

void TBackground::Assign(const vcl::TPersistent* source) {
  if (auto* b = dynamic_cast<const TBackground*>(source)) {
    SetImage(b->image_.get());
    offsetX_ = b->offsetX_;
    offsetY_ = b->offsetY_;
    position_ = b->position_;
    color_ = b->color_;
    colorTo_ = b->colorTo_;
    return;
  }
  TGradientBar::Assign(source);
}

// --- TSideBar ---

TSideBar::TSideBar(TMenu* menu)
    : TBarCaption(menu), image_(std::make_unique<TBackground>(menu)), background_(std::make_unique<TBackground>(menu)) {}

TSideBar::~TSideBar() = default;

void TSideBar::SetMenu(TMenu* menu) {
  TBarCaption::SetMenu(menu);
  image_->SetMenu(menu);
  background_->SetMenu(menu);
}

void TSideBar::SetVisible(bool v) {
  visible_ = v;
  auto* main = dynamic_cast<TLumMainMenu*>(Menu());
  if (main && main->BarForm() && main->BarForm()->HandleAllocated()) Refresh(TMenuRefresh::Rebuild);
}

void TSideBar::SetImage(const TBackground* v) {
  image_->Assign(v);
  Refresh(TMenuRefresh::Rebuild);
}

void TSideBar::SetBackground(const TBackground* v) {
  background_->Assign(v);
  Refresh(TMenuRefresh::Rebuild);
}

void TSideBar::Assign(const vcl::TPersistent* source) {
  if (auto* s = dynamic_cast<const TSideBar*>(source)) {
    SetVisible(s->visible_);
    image_->Assign(s->image_.get());
    background_->Assign(s->background_.get());
    size_ = s->size_;
    splitterWidth_ = s->splitterWidth_;
    splitterMargin_ = s->splitterMargin_;
    splitterGradientWidth_ = s->splitterGradientWidth_;
    splitterGradientType_ = s->splitterGradientType_;
    borderColor_ = s->borderColor_;
  }
  if (auto* c = dynamic_cast<const TBarCaption*>(source)) {
    CopyCaption(*c);
    return;
  }
  vcl::TPersistent::Assign(source);
}

// --- TSeparator ---

TSeparator::TSeparator(TMenu* menu) : TGradientBar(menu) {
  color_ = 0x8F6D6E;
  colorTo_ = clNone;
  direction_ = gdHorizontal;
}

void TSeparator::Assign(const vcl::TPersistent* source) {
  if (auto* s = dynamic_cast<const TSeparator*>(source)) {
    width_ = s->width_;
    gradientType_ = s->gradientType_;
    gradientWidth_ = s->gradientWidth_;
    margin_ = s->margin_;
  }
  TGradientBar::Assign(source);
}

// --- TButtonAppearance ---

TButtonAppearance::TButtonAppearance() : captionFont_(std::make_unique<TFont>()) {
  captionFont_->SetName(IsWindowsVistaOrLater() ? "Segoe UI" : "Tahoma");
}

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TButtonAppearance::Set(TColor& field, TColor v) {
  if (field == v) return;
  field = v;
  Changed();
}

void TButtonAppearance::SetGradientDirection(TGradientDirection v) {
  if (direction_ == v) return;
  direction_ = v;
  Changed();
}

void TButtonAppearance::SetUseSystemFont(bool v) {
  if (useSystemFont_ == v) return;
  useSystemFont_ = v;
  if (v) captionFont_->SetName(IsWindowsVistaOrLater() ? "Segoe UI" : "Tahoma");
}

void TButtonAppearance::Assign(const vcl::TPersistent* source) {
  auto* b = dynamic_cast<const TButtonAppearance*>(source);
  if (!b) return;
  color_ = b->color_;
  colorTo_ = b->colorTo_;
  downColor_ = b->downColor_;
  downColorTo_ = b->downColorTo_;
  hoverColor_ = b->hoverColor_;
  hoverColorTo_ = b->hoverColorTo_;
  direction_ = b->direction_;
  borderColor_ = b->borderColor_;
  downBorderColor_ = b->downBorderColor_;
  hoverBorderColor_ = b->hoverBorderColor_;
}

// --- TCustomLumMenuStyler ---

TCustomLumMenuStyler::TCustomLumMenuStyler(vcl::TComponent* owner)
    : vcl::TComponent(owner),
      separator_(std::make_unique<TSeparator>(nullptr)),
      background_(std::make_unique<TBackground>(nullptr)),
      font_(MenuFontCopy(vcl::clWindowText)),
      iconBar_(std::make_unique<TIconBar>(nullptr)),
      glyphs_(std::make_unique<TMenuGlyphs>(nullptr)),
      rootItem_(std::make_unique<TRootItem>(nullptr)),
      selectedItem_(std::make_unique<TSelectedItem>(nullptr)),
      sideBar_(std::make_unique<TSideBar>(nullptr)),
      backgroundBitmap_(std::make_unique<TBitmap>()),
      notesFont_(MenuFontCopy(0x808080, 2)),
      buttonAppearance_(std::make_unique<TButtonAppearance>()) {}

TCustomLumMenuStyler::~TCustomLumMenuStyler() {
  background_.reset();
  iconBar_.reset();
  selectedItem_.reset();
  rootItem_.reset();
  glyphs_.reset();
  sideBar_.reset();
  separator_.reset();
  font_.reset();
  backgroundBitmap_.reset();
  notesFont_.reset();
  buttonAppearance_.reset();
}

void TCustomLumMenuStyler::Refresh(TMenuRefresh level) {
  if (level == TMenuRefresh::None || !menu_) return;
  auto* styled = dynamic_cast<IStyledMenu*>(menu_);
  if (!styled) return;
  if (level == TMenuRefresh::Rebuild) styled->UpdateItems();
  styled->Notify();
}

void TCustomLumMenuStyler::SetMenu(TMenu* menu) {
  menu_ = menu;
  if (menu) menu->FreeNotification(this);
  for (TMenuLinkedGroup* g : std::initializer_list<TMenuLinkedGroup*>{
           background_.get(), iconBar_.get(), selectedItem_.get(), rootItem_.get(), glyphs_.get(), sideBar_.get(),
           separator_.get()})
    g->SetMenu(menu);
  Refresh(TMenuRefresh::Notify);
}

void TCustomLumMenuStyler::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TComponent::Notification(component, operation);
  if (operation == vcl::opRemove && component == menu_) SetMenu(nullptr);
}

void TCustomLumMenuStyler::SetUseSystemFont(bool v) {
  useSystemFont_ = v;
  Refresh(TMenuRefresh::Rebuild);
}
void TCustomLumMenuStyler::SetSeparator(const TSeparator* v) {
  separator_->Assign(v);
  Refresh(TMenuRefresh::Notify);
}
void TCustomLumMenuStyler::SetBackground(const TBackground* v) {
  background_->Assign(v);
  Refresh(TMenuRefresh::Notify);
}
void TCustomLumMenuStyler::SetFont(const TFont* v) {
  font_->Assign(v);
  Refresh(TMenuRefresh::Rebuild);
}
void TCustomLumMenuStyler::SetIconBar(const TIconBar* v) {
  iconBar_->Assign(v);
  Refresh(TMenuRefresh::Notify);
}
void TCustomLumMenuStyler::SetGlyphs(const TMenuGlyphs* v) {
  glyphs_->Assign(v);
  Refresh(TMenuRefresh::Notify);
}
void TCustomLumMenuStyler::SetRootItem(const TRootItem* v) {
  rootItem_->Assign(v);
  Refresh(TMenuRefresh::Notify);
}
void TCustomLumMenuStyler::SetSelectedItem(const TSelectedItem* v) {
  selectedItem_->Assign(v);
  Refresh(TMenuRefresh::Notify);
}
void TCustomLumMenuStyler::SetSideBar(const TSideBar* v) {
  sideBar_->Assign(v);
  Refresh(TMenuRefresh::Rebuild);
}
void TCustomLumMenuStyler::SetNotesFont(const TFont* v) {
  notesFont_->Assign(v);
  Refresh(TMenuRefresh::Rebuild);
}
void TCustomLumMenuStyler::SetAntiAlias(TAntiAlias v) {
  antiAlias_ = v;
  Refresh(TMenuRefresh::Rebuild);
}
void TCustomLumMenuStyler::SetButtonAppearance(const TButtonAppearance* v) { buttonAppearance_->Assign(v); }

void TCustomLumMenuStyler::Assign(const vcl::TPersistent* source) {
  if (auto* s = dynamic_cast<const TLumMenuStyler*>(source)) {
    SetBackground(s->background_.get());
    SetIconBar(s->iconBar_.get());
    SetSelectedItem(s->selectedItem_.get());
    SetRootItem(s->rootItem_.get());
    SetGlyphs(s->glyphs_.get());
    SetSideBar(s->sideBar_.get());
    SetSeparator(s->separator_.get());
    font_->Assign(s->font_.get());
    SetUseSystemFont(s->useSystemFont_);
    return;
  }
  vcl::TComponent::Assign(source);
}

}  // namespace controls
