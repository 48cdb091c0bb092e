#include "grid/GridSettings.h"

#include "vcl/Controls.h"
#include "vcl/Pictures.h"

namespace grid {

namespace {

// Copies a picture into an owned bitmap (an empty one when there is none).
void CopyBitmap(vcl::TBitmap& to, const vcl::TBitmap* from) {
  if (from != nullptr)
    to.Assign(from);
  else
    to.Assign(nullptr);
}

}  // namespace

// --- TSearchFooter ---

TSearchFooter::TSearchFooter() : font_(std::make_unique<vcl::TFont>()) {}
TSearchFooter::~TSearchFooter() = default;

void TSearchFooter::Changed() {
  if (OnChange) OnChange(this);
}

void TSearchFooter::SetAutoThemeAdapt(bool v) {
  autoThemeAdapt_ = v;
  Changed();
}

void TSearchFooter::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TSearchFooter*>(source);
  if (s == nullptr) return;
  Visible = s->Visible;
  Color = s->Color;
  ColorTo = s->ColorTo;
  font_->Assign(s->font_.get());
  FindNextCaption = s->FindNextCaption;
  FindPrevCaption = s->FindPrevCaption;
  HighLightCaption = s->HighLightCaption;
  MatchCaseCaption = s->MatchCaseCaption;
  HintFindNext = s->HintFindNext;
  HintFindPrev = s->HintFindPrev;
  HintHighlight = s->HintHighlight;
  HintClose = s->HintClose;
  ShowFindNext = s->ShowFindNext;
  ShowFindPrev = s->ShowFindPrev;
  ShowHighLight = s->ShowHighLight;
  ShowMatchCase = s->ShowMatchCase;
  ShowClose = s->ShowClose;
  AlwaysHighLight = s->AlwaysHighLight;
  SearchActiveColumnOnly = s->SearchActiveColumnOnly;
  SearchColumn = s->SearchColumn;
  SearchMatchStart = s->SearchMatchStart;
  SearchHiddenRows = s->SearchHiddenRows;
  SearchDirection = s->SearchDirection;
  Changed();
}

// --- TFloatingFooter ---

void TFloatingFooter::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TFloatingFooter*>(source);
  if (s == nullptr) return;
  CalculateHiddenRows = s->CalculateHiddenRows;
  Color = s->Color;
  Column = s->Column;
  CustomTemplate = s->CustomTemplate;
  FooterStyle = s->FooterStyle;
  Visible = s->Visible;
  ShowHint = s->ShowHint;
  Changed();
}

void TFloatingFooter::SetBorderColor(TColor v) {
  if (BorderColor == v) return;
  BorderColor = v;
  Changed();
}

void TFloatingFooter::SetColor(TColor v) {
  Color = v;
  Changed();
}

void TFloatingFooter::SetColumn(Integer v) {
  Column = v;
  Changed();
}

void TFloatingFooter::SetCustomTemplate(const AnsiString& v) {
  CustomTemplate = v;
  Changed();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle v) {
  FooterStyle = v;
  Changed();
}

void TFloatingFooter::SetShowHint(bool v) {
  ShowHint = v;
  Changed();
}

void TFloatingFooter::SetVisible(bool v) {
  Visible = v;
  Changed();
}

// --- TSortSettings ---

TSortSettings::TSortSettings()
    : upGlyph_(std::make_unique<vcl::TBitmap>()),
      downGlyph_(std::make_unique<vcl::TBitmap>()),
      indexUpGlyph_(std::make_unique<vcl::TBitmap>()),
      indexDownGlyph_(std::make_unique<vcl::TBitmap>()) {}
TSortSettings::~TSortSettings() = default;

void TSortSettings::SetUpGlyph(const vcl::TBitmap* v) { CopyBitmap(*upGlyph_, v); }
void TSortSettings::SetDownGlyph(const vcl::TBitmap* v) { CopyBitmap(*downGlyph_, v); }
void TSortSettings::SetIndexUpGlyph(const vcl::TBitmap* v) { CopyBitmap(*indexUpGlyph_, v); }
void TSortSettings::SetIndexDownGlyph(const vcl::TBitmap* v) { CopyBitmap(*indexDownGlyph_, v); }

void TSortSettings::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TSortSettings*>(source);
  if (s == nullptr || s == this) return;
  AutoSortForGrouping = s->AutoSortForGrouping;
  AutoColumnMerge = s->AutoColumnMerge;
  Column = s->Column;
  Show = s->Show;
  IndexShow = s->IndexShow;
  IndexColor = s->IndexColor;
  IndexSortKey = s->IndexSortKey;
  Full = s->Full;
  SingleColumn = s->SingleColumn;
  IgnoreBlanks = s->IgnoreBlanks;
  BlankPos = s->BlankPos;
  AutoFormat = s->AutoFormat;
  Direction = s->Direction;
  SetUpGlyph(s->UpGlyph());
  SetDownGlyph(s->DownGlyph());
  SetIndexUpGlyph(s->IndexUpGlyph());
  SetIndexDownGlyph(s->IndexDownGlyph());
  InitSortDirection = s->InitSortDirection;
  FixedCols = s->FixedCols;
  NormalCellsOnly = s->NormalCellsOnly;
  Row = s->Row;
  UndoSort = s->UndoSort;
  HeaderColor = s->HeaderColor;
  HeaderColorTo = s->HeaderColorTo;
  HeaderMirrorColor = s->HeaderMirrorColor;
  HeaderMirrorColorTo = s->HeaderMirrorColorTo;
}

// --- drag and drop, drag scrolling ---

void TDragDropSettings::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TDragDropSettings*>(source);
  if (s == nullptr) return;
  ShowCells = s->ShowCells;
  OleAcceptFiles = s->OleAcceptFiles;
  OleAcceptText = s->OleAcceptText;
  OleAcceptURLs = s->OleAcceptURLs;
  OleCopyAlways = s->OleCopyAlways;
  OleDropTarget = s->OleDropTarget;
  OleDropSource = s->OleDropSource;
  OleEntireRows = s->OleEntireRows;
  OleInsertRows = s->OleInsertRows;
  OleRemoveRows = s->OleRemoveRows;
  OleDropRTF = s->OleDropRTF;
  OleColumnDragDrop = s->OleColumnDragDrop;
}

void TDragScrollDelays::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TDragScrollDelays*>(source);
  if (s == nullptr) return;
  InitialDelay = s->InitialDelay;
  RepeatDelay = s->RepeatDelay;
}

void TDragScrollMargins::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TDragScrollMargins*>(source);
  if (s == nullptr) return;
  TopMargin = s->TopMargin;
  BottomMargin = s->BottomMargin;
  LeftMargin = s->LeftMargin;
  RightMargin = s->RightMargin;
}

TDragScrollOptions::TDragScrollOptions()
    : delays_(std::make_unique<TDragScrollDelays>()), margins_(std::make_unique<TDragScrollMargins>()) {}
TDragScrollOptions::~TDragScrollOptions() = default;

void TDragScrollOptions::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TDragScrollOptions*>(source);
  if (s == nullptr) return;
  margins_->Assign(s->margins_.get());
  delays_->Assign(s->delays_.get());
  Active = s->Active;
}

// --- TBands ---

void TBands::Repaint() {
  if (grid_ != nullptr) grid_->Invalidate();
}

void TBands::SetActive(bool v) {
  active_ = v;
  Repaint();
}

void TBands::SetPrimaryColor(TColor v) {
  primaryColor_ = v;
  if (active_) Repaint();
}

void TBands::SetPrimaryLength(Integer v) {
  primaryLength_ = v;
  totalLength_ = primaryLength_ + secondaryLength_;
  if (active_) Repaint();
}

void TBands::SetSecondaryColor(TColor v) {
  secondaryColor_ = v;
  if (active_) Repaint();
}

void TBands::SetSecondaryLength(Integer v) {
  secondaryLength_ = v;
  totalLength_ = primaryLength_ + secondaryLength_;
  if (active_) Repaint();
}

void TBands::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TBands*>(source);
  if (s == nullptr) return;
  active_ = s->active_;
  primaryColor_ = s->primaryColor_;
  primaryLength_ = s->primaryLength_;
  secondaryColor_ = s->secondaryColor_;
  secondaryLength_ = s->secondaryLength_;
  Print = s->Print;
  totalLength_ = primaryLength_ + secondaryLength_;
}

// --- TBackGround ---

TBackGround::TBackGround(vcl::TControl* grid) : grid_(grid), bitmap_(std::make_unique<vcl::TBitmap>()) {}
TBackGround::~TBackGround() = default;

void TBackGround::Repaint() {
  if (grid_ != nullptr) grid_->Invalidate();
}

void TBackGround::SetTop(Integer v) {
  top_ = v;
  Repaint();
}

void TBackGround::SetLeft(Integer v) {
  left_ = v;
  Repaint();
}

void TBackGround::SetDisplay(TBackGroundDisplay v) {
  display_ = v;
  Repaint();
}

void TBackGround::SetBitmap(const vcl::TBitmap* v) {
  CopyBitmap(*bitmap_, v);
  Repaint();
}

void TBackGround::SetCells(TBackGroundCells v) {
  cells_ = v;
  Repaint();
}

void TBackGround::SetColor(TColor v) {
  color_ = v;
  Repaint();
}

void TBackGround::SetColorTo(TColor v) {
  colorTo_ = v;
  Repaint();
}

void TBackGround::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TBackGround*>(source);
  if (s == nullptr || s == this) return;
  top_ = s->top_;
  left_ = s->left_;
  display_ = s->display_;
  CopyBitmap(*bitmap_, s->bitmap_.get());
  cells_ = s->cells_;
  color_ = s->color_;
  colorTo_ = s->colorTo_;
  Repaint();
}

// --- TGrouping ---

void TGrouping::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TGrouping*>(source);
  if (s == nullptr) return;
  GroupCountFormat = s->GroupCountFormat;
  HeaderColor = s->HeaderColor;
  HeaderColorTo = s->HeaderColorTo;
  HeaderTextColor = s->HeaderTextColor;
  HeaderUnderline = s->HeaderUnderline;
  MergeHeader = s->MergeHeader;
  MergeSummary = s->MergeSummary;
  ShowGroupCount = s->ShowGroupCount;
  SummaryColor = s->SummaryColor;
  SummaryColorTo = s->SummaryColorTo;
  SummaryTextColor = s->SummaryTextColor;
  SummaryLine = s->SummaryLine;
}

// --- TBalloonSettings ---

void TBalloonSettings::SetEnable(bool v) {
  enable_ = v;
  if (OnEnableChange) OnEnableChange(this);
}

void TBalloonSettings::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TBalloonSettings*>(source);
  if (s == nullptr) return;
  TextColor = s->TextColor;
  BackgroundColor = s->BackgroundColor;
  InitialDelay = s->InitialDelay;
  AutoHideDelay = s->AutoHideDelay;
  ReshowDelay = s->ReshowDelay;
  enable_ = s->enable_;
}

// --- TShowModified ---

void TShowModified::SetColor(TColor v) {
  color_ = v;
  if (OnChange) OnChange(this);
}

void TShowModified::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TShowModified*>(source);
  if (s == nullptr) return;
  color_ = s->color_;
  Enabled = s->Enabled;
}

// --- TGridProgressAppearance ---

void TGridProgressAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TGridProgressAppearance::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TGridProgressAppearance*>(source);
  if (s == nullptr) return;
  CompleteColor = s->CompleteColor;
  CompleteFontColor = s->CompleteFontColor;
  UnCompleteColor = s->UnCompleteColor;
  UnCompleteFontColor = s->UnCompleteFontColor;
  Level0Color = s->Level0Color;
  Level0ColorTo = s->Level0ColorTo;
  Level1Color = s->Level1Color;
  Level1ColorTo = s->Level1ColorTo;
  Level2Color = s->Level2Color;
  Level2ColorTo = s->Level2ColorTo;
  Level3Color = s->Level3Color;
  Level3ColorTo = s->Level3ColorTo;
  Level1Perc = s->Level1Perc;
  Level2Perc = s->Level2Perc;
  BorderColor = s->BorderColor;
  ShowBorder = s->ShowBorder;
  Stacked = s->Stacked;
  ShowPercentage = s->ShowPercentage;
  CompletionSmooth = s->CompletionSmooth;
  ShowGradient = s->ShowGradient;
  Steps = s->Steps;
  Changed();
}

// --- the filter ---

// --- TFilterDropDown ---

TFilterDropDown::TFilterDropDown()
    : font_(std::make_unique<vcl::TFont>()), glyph_(std::make_unique<vcl::TBitmap>()) {
  glyph_->OnChange = [this](vcl::TObject*) {
    if (OnChange) OnChange(this);
  };
}

TFilterDropDown::~TFilterDropDown() { glyph_->OnChange = nullptr; }

void TFilterDropDown::SetFont(const vcl::TFont* v) { font_->Assign(v); }

void TFilterDropDown::SetGlyph(const vcl::TBitmap* v) { CopyBitmap(*glyph_, v); }

void TFilterDropDown::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TFilterDropDown*>(source);
  if (s == nullptr) return;
  Color = s->Color;
  ColumnWidth = s->ColumnWidth;
  font_->Assign(s->font_.get());
  Height = s->Height;
  Width = s->Width;
}

}  // namespace grid
