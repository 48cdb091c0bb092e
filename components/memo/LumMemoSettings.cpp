#include "memo/LumMemoSettings.h"

#include "memo/LumCustomMemo.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace memo {

// ------------------------------------------------------------ TCharStyle

void TCharStyle::Assign(const vcl::TPersistent* source) {
  if (auto* s = dynamic_cast<const TCharStyle*>(source)) {
    TextColor = s->TextColor;
    BkColor = s->BkColor;
    Style = s->Style;
    return;
  }
  TPersistent::Assign(source);
}

// ------------------------------------------------------------ TLumGutter

TLumGutter::TLumGutter(TLumCustomMemo* memo) : memo_(memo), font_(std::make_unique<vcl::TFont>()) {
  font_->SetName("Courier New");
  font_->SetSize(10);
  font_->OnChange = [this](vcl::TObject*) {
    if (OnChange) OnChange(this);
  };
}

TLumGutter::~TLumGutter() = default;

void TLumGutter::Repaint() {
  if (memo_) memo_->InvalidateGutter();
}

void TLumGutter::SetGutterColor(TColor v) {
  if (v == gutterColor_) return;
  gutterColor_ = v;
  Repaint();
}
void TLumGutter::SetGutterColorTo(TColor v) {
  gutterColorTo_ = v;
  Repaint();
}
void TLumGutter::SetShowLeadingZeros(bool v) {
  showLeadingZeros_ = v;
  Repaint();
}
void TLumGutter::SetVisible(bool v) {
  visible_ = v;
  Repaint();
  if (memo_) memo_->Invalidate();
}
void TLumGutter::SetDigitCount(Integer v) {
  digitCount_ = v;
  Repaint();
}
void TLumGutter::SetGutterWidth(Integer v) {
  gutterWidth_ = v;
  Width = v;
  if (memo_ && !memo_->Loading()) memo_->ResizeUpdate();
}
void TLumGutter::SetGutterMargin(Integer v) {
  v = std::max(v, 45);
  if (v != gutterMargin_) gutterMargin_ = v;
}
void TLumGutter::SetFont(const vcl::TFont* f) { font_->Assign(f); }
void TLumGutter::SetNumberSuffix(const AnsiString& v) {
  numberSuffix_ = v;
  Repaint();
}
void TLumGutter::SetLineNumberTextColor(TColor v) {
  if (v == lineNumberTextColor_) return;
  lineNumberTextColor_ = v;
  Repaint();
}
void TLumGutter::SetShowLineNumbers(bool v) {
  showLineNumbers_ = v;
  Repaint();
}
void TLumGutter::SetShowModified(bool v) {
  showModified_ = v;
  Repaint();
}
void TLumGutter::SetLineNumberStart(Integer v) {
  if (v == lineNumberStart_ || v < 0) return;
  lineNumberStart_ = v;
  Repaint();
}
void TLumGutter::SetModifiedColor(TColor v) {
  modifiedColor_ = v;
  Repaint();
}
void TLumGutter::SetModifiedColorBkg(TColor v) {
  modifiedColorBkg_ = v;
  Repaint();
}
void TLumGutter::SetBorderColor(TColor v) {
  borderColor_ = v;
  Repaint();
}

void TLumGutter::Assign(const vcl::TPersistent* source) {
  if (auto* g = dynamic_cast<const TLumGutter*>(source)) {
    gutterColor_ = g->gutterColor_;
    gutterColorTo_ = g->gutterColorTo_;
    showLeadingZeros_ = g->showLeadingZeros_;
    visible_ = g->visible_;
    digitCount_ = g->digitCount_;
    gutterMargin_ = g->gutterMargin_;
    font_->Assign(g->font_.get());
    numberSuffix_ = g->numberSuffix_;
    lineNumberTextColor_ = g->lineNumberTextColor_;
    showLineNumbers_ = g->showLineNumbers_;
    showModified_ = g->showModified_;
    lineNumberStart_ = g->lineNumberStart_;
    modifiedColor_ = g->modifiedColor_;
    modifiedColorBkg_ = g->modifiedColorBkg_;
    borderColor_ = g->borderColor_;
    SetGutterWidth(g->gutterWidth_);
    Repaint();
    return;
  }
  TPersistent::Assign(source);
}

// ------------------------------------------------- TLumActiveLineSettings

void TLumActiveLineSettings::SetActiveLineColor(TColor v) {
  if (v == activeLineColor_) return;
  activeLineColor_ = v;
  if (memo_) memo_->Invalidate();
}
void TLumActiveLineSettings::SetActiveLineTextColor(TColor v) {
  if (v == activeLineTextColor_) return;
  activeLineTextColor_ = v;
  if (memo_) memo_->Invalidate();
}
void TLumActiveLineSettings::SetActiveLineAtCursor(bool v) {
  if (v != activeLineAtCursor_) {
    activeLineAtCursor_ = v;
    if (v && memo_) memo_->SetActiveLine(memo_->CaretY());
  }
  if (memo_) memo_->Invalidate();
}
void TLumActiveLineSettings::SetShowActiveLine(bool v) {
  showActiveLine_ = v;
  if (memo_) memo_->Invalidate();
}
void TLumActiveLineSettings::SetShowActiveLineIndicator(bool v) {
  if (v == showActiveLineIndicator_) return;
  showActiveLineIndicator_ = v;
  if (memo_) memo_->Invalidate();
}

void TLumActiveLineSettings::Assign(const vcl::TPersistent* source) {
  if (auto* a = dynamic_cast<const TLumActiveLineSettings*>(source)) {
    activeLineColor_ = a->activeLineColor_;
    activeLineTextColor_ = a->activeLineTextColor_;
    showActiveLine_ = a->showActiveLine_;
    showActiveLineIndicator_ = a->showActiveLineIndicator_;
    SetActiveLineAtCursor(a->activeLineAtCursor_);
    return;
  }
  TPersistent::Assign(source);
}

// ----------------------------------------------------------------- markers

AnsiString TLumMarker::DisplayName() const { return text_.empty() ? TCollectionItem::DisplayName() : text_; }

void TLumMarker::Assign(const TLumMarker& source) {
  text_ = source.text_;
  imageIndex_ = source.imageIndex_;
  lineNumber_ = source.lineNumber_;
}

bool TLumMarkers::HasMarkerAfter(Integer line) const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->LineNumber() > line) return true;
  return false;
}

TLumMarker* TLumMarkers::MarkerAt(Integer line) const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->LineNumber() == line) return Items(i);
  return nullptr;
}

Integer TLumMarkers::ImageIndexAt(Integer line) const {
  TLumMarker* m = MarkerAt(line);
  return m ? m->ImageIndex() : -1;
}

void TLumMarkers::RemoveMarkerAt(Integer line) {
  if (TLumMarker* m = MarkerAt(line)) Delete(m->Index());
}

void TLumMarkers::ShiftUp(Integer line) {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->LineNumber() >= line) Items(i)->SetLineNumber(Items(i)->LineNumber() - 1);
}

void TLumMarkers::ShiftDown(Integer line) {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->LineNumber() >= line) Items(i)->SetLineNumber(Items(i)->LineNumber() + 1);
}

TLumMarkerList::TLumMarkerList(TLumCustomMemo* owner)
    : owner_(owner), markerImage_(std::make_unique<vcl::TBitmap>()) {}

TLumMarkerList::~TLumMarkerList() = default;

void TLumMarkerList::SetMarkerImageList(vcl::TImageList* v) {
  if (v == markerImageList_) return;
  if (markerImageList_ && owner_) markerImageList_->RemoveFreeNotification(owner_);
  markerImageList_ = v;
  if (v && owner_) v->FreeNotification(owner_);
  if (owner_) owner_->InvalidateGutter();
}

bool TLumMarkerList::OwnerLoading() const { return owner_ && owner_->Loading(); }

// Both repaint the gutter, which shows the pictures they choose.
void TLumMarkerList::SetDefaultMarkerImageIndex(Integer v) {
  if (OwnerLoading() || v == defaultMarkerImageIndex_) return;
  defaultMarkerImageIndex_ = v;
  if (owner_) owner_->InvalidateGutter();
}

void TLumMarkerList::SetUseDefaultMarkerImageIndex(bool v) {
  if (OwnerLoading() || v == useDefaultMarkerImageIndex_) return;
  useDefaultMarkerImageIndex_ = v;
  if (owner_) owner_->InvalidateGutter();
}

TColor TLumMarkerList::ImageTransparentColor() const {
  if (!markerImage_ || markerImage_->Empty()) return vcl::clWhite;
  return markerImage_->TransparentColor();
}

void TLumMarkerList::SetImageTransparentColor(TColor v) { markerImage_->SetTransparentColor(v); }

// ------------------------------------------------------------ TCodeFolding

TCodeFolding::TCodeFolding()
    : expandGlyph_(std::make_unique<vcl::TBitmap>()), collapsedGlyph_(std::make_unique<vcl::TBitmap>()) {}

TCodeFolding::~TCodeFolding() = default;

void TCodeFolding::Changed(TCodeFoldingChange reason) {
  if (OnChange) OnChange(this, reason);
}

void TCodeFolding::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed(TCodeFoldingChange::cfcEnabled);
}

void TCodeFolding::SetLineColor(TColor v) {
  if (v == lineColor_) return;
  lineColor_ = v;
  Changed(TCodeFoldingChange::cfcLooks);
}

void TCodeFolding::SetExpandGlyph(const vcl::TBitmap* v) {
  expandGlyph_->Assign(v);
  Changed(TCodeFoldingChange::cfcLooks);
}

void TCodeFolding::SetCollapsedGlyph(const vcl::TBitmap* v) {
  collapsedGlyph_->Assign(v);
  Changed(TCodeFoldingChange::cfcLooks);
}

void TCodeFolding::Assign(const vcl::TPersistent* source) {
  if (auto* f = dynamic_cast<const TCodeFolding*>(source)) {
    enabled_ = f->enabled_;
    lineColor_ = f->lineColor_;
    return;
  }
  TPersistent::Assign(source);
}

// ---------------------------------------------------------- TAutoCompletion

TAutoCompletion::TAutoCompletion() : font_(std::make_unique<vcl::TFont>()) {}

TAutoCompletion::~TAutoCompletion() = default;

void TAutoCompletion::SetDelay(Integer v) {
  delay_ = v;
  if (OnDelayChange) OnDelayChange();
}

void TAutoCompletion::SetColor(TColor v) {
  color_ = v;
  if (OnLooksChange) OnLooksChange();
}

void TAutoCompletion::SetFont(const vcl::TFont* f) {
  font_->Assign(f);
  if (OnLooksChange) OnLooksChange();
}

TColor TAutoCompletion::KindColor(Integer kind) const {
  switch (kind) {
    case 1: return ColorVar;
    case 2: return ColorProp;
    case 3: return ColorEvent;
    case 4: return ColorMethod;
    case 5: return ColorFunc;
    case 6: return ColorProc;
    default: return ColorIdentifier;
  }
}

void TAutoCompletion::Assign(const vcl::TPersistent* source) {
  if (auto* a = dynamic_cast<const TAutoCompletion*>(source)) {
    Active = a->Active;
    AutoDisplay = a->AutoDisplay;
    Height = a->Height;
    Width = a->Width;
    SizeDropDown = a->SizeDropDown;
    ShowImages = a->ShowImages;
    ColorIdentifier = a->ColorIdentifier;
    ColorVar = a->ColorVar;
    ColorProp = a->ColorProp;
    ColorEvent = a->ColorEvent;
    ColorMethod = a->ColorMethod;
    ColorFunc = a->ColorFunc;
    ColorProc = a->ColorProc;
    SetDelay(a->delay_);
    color_ = a->color_;
    SetFont(a->font_.get());
    return;
  }
  TPersistent::Assign(source);
}

// --------------------------------------------------- auto-correct, printing

void TAutoCorrect::Assign(const vcl::TPersistent* source) {
  if (auto* a = dynamic_cast<const TAutoCorrect*>(source)) {
    Active = a->Active;
    oldValue_.Assign(a->oldValue_);
    newValue_.Assign(a->newValue_);
    return;
  }
  TPersistent::Assign(source);
}

void TPrintOptions::Assign(const vcl::TPersistent* source) {
  if (auto* p = dynamic_cast<const TPrintOptions*>(source)) {
    JobName = p->JobName;
    Title = p->Title;
    PagePrefix = p->PagePrefix;
    MarginLeft = p->MarginLeft;
    MarginRight = p->MarginRight;
    MarginTop = p->MarginTop;
    MarginBottom = p->MarginBottom;
    PageNr = p->PageNr;
    PrintLineNumbers = p->PrintLineNumbers;
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace memo
