#include "memo/LumMemoStyler.h"

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSettings.h"
#include "rtl/Strings.h"

namespace memo {

namespace {

uint8_t StyleBits(const vcl::TFontStyles& s) {
  return static_cast<uint8_t>((s.Contains(vcl::fsBold) ? 1 : 0) | (s.Contains(vcl::fsItalic) ? 2 : 0) |
                              (s.Contains(vcl::fsUnderline) ? 4 : 0) | (s.Contains(vcl::fsStrikeOut) ? 8 : 0));
}

TRunLook LookOf(const TCharStyle& c) { return {c.TextColor, c.BkColor, StyleBits(c.Style)}; }

}  // namespace

// ------------------------------------------------------------ element style

TElementStyle::TElementStyle(rtl::TCollection* collection) : TCollectionItem(collection) {
  font_.SetName("Courier New");
  font_.SetSize(8);
  font_.SetColor(vcl::clBlack);
  if (auto* styles = dynamic_cast<TElementStyles*>(collection))
    if (TLumCustomMemo* editor = styles->Editor()) bgColor_ = editor->BkColor();
  keyWords_.OnChange = [this](rtl::TStrings*) { Changed(); };
  font_.OnChange = [this](vcl::TObject*) { Changed(); };
}

TElementStyle::~TElementStyle() {
  keyWords_.OnChange = nullptr;
  font_.OnChange = nullptr;
}

void TElementStyle::Changed() {
  if (auto* styles = dynamic_cast<TElementStyles*>(Collection())) styles->ItemChanged();
}

void TElementStyle::SetKeyWords(const rtl::TStrings& v) { keyWords_.Assign(v); }
void TElementStyle::SetFont(const vcl::TFont* v) { font_.Assign(v); }

void TElementStyle::SetBGColor(vcl::TColor v) {
  bgColor_ = v;
  Changed();
}

void TElementStyle::SetInfo(const AnsiString& v) {
  info_ = v;
  Changed();
}

void TElementStyle::SetStyleType(TStyleType v) {
  styleType_ = v;
  Changed();
}

void TElementStyle::SetBracketStart(char v) {
  bracketStart_ = v;
  Changed();
}

void TElementStyle::SetBracketEnd(char v) {
  bracketEnd_ = v;
  Changed();
}

void TElementStyle::SetSymbols(const AnsiString& v) {
  symbols_ = v;
  Changed();
}

AnsiString TElementStyle::DisplayName() const { return info_.empty() ? TCollectionItem::DisplayName() : info_; }

void TElementStyle::Assign(const rtl::TCollectionItem* source) {
  auto* from = dynamic_cast<const TElementStyle*>(source);
  if (!from || from == this) return;
  keyWords_.Assign(from->keyWords_);
  font_.Assign(&from->font_);
  bgColor_ = from->bgColor_;
  styleType_ = from->styleType_;
  bracketStart_ = from->bracketStart_;
  bracketEnd_ = from->bracketEnd_;
  symbols_ = from->symbols_;
  info_ = from->info_;
  Changed();
}

// ----------------------------------------------------------- element styles

TElementStyles::~TElementStyles() {
  // The items reach this collection while they go; the styler is going too.
  owner_ = nullptr;
  Clear();
}

void TElementStyles::ItemChanged() {
  if (UpdateCount() == 0) Update(nullptr);
}

void TElementStyles::Update(rtl::TCollectionItem*) {
  if (owner_) owner_->StylesChanged();
}

void TElementStyles::Notify(rtl::TCollectionItem*, bool added) {
  if (!added) itemRemoved_ = true;
  if (owner_) owner_->StylesChanged();
}

bool TElementStyles::IsDelimiterChar(char ch) const {
  for (Integer i = 0; i < Count(); ++i) {
    TElementStyle* s = Items(i);
    if (s->StyleType() == stSymbol && s->Symbols().find(ch) != AnsiString::npos) return true;
    if (s->StyleType() == stBracket && (ch == s->BracketStart() || ch == s->BracketEnd())) return true;
  }
  return false;
}

void TElementStyles::Assign(const TElementStyles& source) {
  if (&source == this) return;
  BeginUpdate();
  Clear();
  for (Integer i = 0; i < source.Count(); ++i) Add()->Assign(source.Items(i));
  EndUpdate();
}

// ------------------------------------------------------------------- styler

TLumCustomMemoStyler::TLumCustomMemoStyler(vcl::TComponent* owner) : TComponent(owner) {
  allStyles_ = std::make_unique<TElementStyles>(this);
  regionDefinitions_ = std::make_unique<TRegionDefinitions>(this);
  hintParameter_ = std::make_unique<THintParameter>();
  commentStyle_ = std::make_unique<TCharStyle>();
  commentStyle_->TextColor = vcl::clSilver;
  commentStyle_->Style = {vcl::fsItalic};
  numberStyle_ = std::make_unique<TCharStyle>();
  numberStyle_->TextColor = vcl::clNavy;
  numberStyle_->Style = {vcl::fsBold};
}

TLumCustomMemoStyler::~TLumCustomMemoStyler() {
  allStyles_->Clear();
}

void TLumCustomMemoStyler::SetAllStyles(const TElementStyles& v) {
  allStyles_->Assign(v);
  StylesChanged();
}

void TLumCustomMemoStyler::SetCharStyle(Integer index, TCharStyle* style) {
  if (index == 1)
    commentStyle_.reset(style);
  else if (index == 2)
    numberStyle_.reset(style);
  else
    delete style;
  StylesChanged();
}

void TLumCustomMemoStyler::StylesChanged() {
  ++version_;
  if (allStyles_ && allStyles_->Editor()) allStyles_->Editor()->StyleChanged();
}

const TStylerDefs& TLumCustomMemoStyler::Defs() {
  // Plain fields (comment markers, number characters) have no setter to
  // report through, so they are read again each time.
  defs_.LineComment = LineComment;
  defs_.MultiCommentLeft = MultiCommentLeft;
  defs_.MultiCommentRight = MultiCommentRight;
  defs_.NumberChars = NumberChars;
  defs_.HexChars = HexChars;
  defs_.EscapeChar = EscapeChar;
  defs_.CustomKeywords = CustomKeywords;
  defs_.CommentStyle = LookOf(*commentStyle_);
  defs_.NumberStyle = LookOf(*numberStyle_);
  if (defsVersion_ == version_) return defs_;
  defs_.Styles.clear();
  for (Integer i = 0; i < allStyles_->Count(); ++i) {
    TElementStyle* e = allStyles_->Items(i);
    TStyleDef d;
    d.StyleType = e->StyleType();
    d.BracketStart = e->BracketStart();
    d.BracketEnd = e->BracketEnd();
    d.Symbols = e->Symbols();
    for (Integer k = 0; k < e->KeyWords()->Count(); ++k) d.KeyWords.push_back(e->KeyWords()->Get(k));
    d.FontColor = e->Font()->Color();
    d.FontStyle = StyleBits(e->Font()->Style());
    d.BGColor = e->BGColor();
    defs_.Styles.push_back(std::move(d));
  }
  defsVersion_ = version_;
  return defs_;
}

void TLumCustomMemoStyler::Loaded() {
  TComponent::Loaded();
  // Reading stored styles first destroys the defaults; a form that stored
  // none leaves the styler without element styles.
  if (!allStyles_->ItemRemoved()) allStyles_->Clear();
  StylesChanged();
}

void TLumCustomMemoStyler::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == vcl::opRemove && allStyles_ && component == allStyles_->Editor()) allStyles_->SetEditor(nullptr);
}

// -------------------------------------------------------------- HTML styler


TLumHTMLMemoStyler::TLumHTMLMemoStyler(vcl::TComponent* owner) : TLumCustomMemoStyler(owner) {
  Description = "Web pages";
  Filter = "HTML Document (*.htm,*.html)|*.htm;*.html";
  DefaultExtension = ".html";
  StylerName = "HTML document";
  Extensions = "htm;html";
  LineComment = "//";
  MultiCommentLeft = "<!--";
  MultiCommentRight = "-->";
  CommentStyle()->TextColor = vcl::clSilver;
  CommentStyle()->BkColor = vcl::clWhite;
  CommentStyle()->Style = {vcl::fsItalic};
  NumberStyle()->TextColor = vcl::clBlack;
  NumberStyle()->BkColor = vcl::clWhite;
  NumberStyle()->Style = {};

  TElementStyles* styles = AllStyles();
  styles->BeginUpdate();
  auto add = [&](const char* info, TStyleType type, vcl::TColor colour) {
    TElementStyle* e = styles->Add();
    e->SetInfo(info);
    e->SetStyleType(type);
    e->Font()->SetColor(colour);
    return e;
  };
  TElementStyle* e = add("HTML Standard Default", stKeyword, vcl::clNavy);
  for (const char* k : HtmlStandardKeywords()) e->KeyWords()->Add(k);
  e = add("HTML Table Keywords", stKeyword, vcl::clOlive);
  for (const char* k : HtmlTableKeywords()) e->KeyWords()->Add(k);
  e = add("HTML Link Keywords", stKeyword, vcl::clRed);
  e->KeyWords()->Add("A");
  e->KeyWords()->Add("HREF");
  e = add("Simple Bracket", stBracket, vcl::clSystemColor | 1);
  e->SetBracketStart('\'');
  e->SetBracketEnd('\'');
  e = add("Double Bracket", stBracket, vcl::clBlue);
  e->SetBracketStart('"');
  e->SetBracketEnd('"');
  e = add("Symbols Delimiters", stSymbol, vcl::clTeal);
  e->SetSymbols(AnsiString(" ,;:.()[]=-*/^%<>#\r\n"));
  styles->EndUpdate();
}

// -------------------------------------------------------------- styler list

TLumStylerList::TLumStylerList(vcl::TComponent* owner, vcl::TComponent* formOwner) : TComponent(owner) {
  if (!formOwner) return;
  for (Integer i = 0; i < formOwner->ComponentCount(); ++i)
    if (auto* styler = dynamic_cast<TLumCustomMemoStyler*>(formOwner->Components(i))) stylers_.push_back(styler);
}

void TLumStylerList::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == vcl::opRemove) std::erase(stylers_, component);
}

// ------------------------------------------------------- region rules

void TRegionDefinition::SetIdentifier(const AnsiString& v) { identifier_ = rtl::Trim(v); }
void TRegionDefinition::SetRegionStart(const AnsiString& v) { regionStart_ = rtl::Trim(v); }
void TRegionDefinition::SetRegionEnd(const AnsiString& v) { regionEnd_ = rtl::Trim(v); }

void TRegionDefinition::Assign(const rtl::TCollectionItem* source) {
  auto* from = dynamic_cast<const TRegionDefinition*>(source);
  if (!from || from == this) return;
  regionType_ = from->regionType_;
  regionEnd_ = from->regionEnd_;
  identifier_ = from->identifier_;
  regionStart_ = from->regionStart_;
}

}  // namespace memo
