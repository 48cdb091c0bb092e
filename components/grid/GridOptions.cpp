#include "grid/GridOptions.h"

#include "vcl/Grids.h"
#include "vcl/Pictures.h"

namespace grid {

#define GRID_COPY(field) field = s->field

// ===== TNavigation =====

void TNavigation::SetAdvanceDirection(TAdvanceDirection value) {
  if (value == advanceDirection_) return;
  advanceDirection_ = value;
  if (OnChange) OnChange(this);
}

void TNavigation::SetAdvanceInsert(bool value) {
  if (value == advanceInsert_) return;
  advanceInsert_ = value;
  if (OnChange) OnChange(this);
}

void TNavigation::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TNavigation*>(source);
  if (s == nullptr) return;
  GRID_COPY(AllowInsertRow);
  GRID_COPY(AllowDeleteRow);
  GRID_COPY(AlwaysEdit);
  GRID_COPY(AdvanceOnEnter);
  GRID_COPY(AdvanceAutoEdit);
  GRID_COPY(AutoGotoIncremental);
  GRID_COPY(AutoComboDropSize);
  GRID_COPY(AllowClipboardShortCuts);
  GRID_COPY(AllowCtrlEnter);
  GRID_COPY(AllowSmartClipboard);
  GRID_COPY(AllowRTFClipboard);
  GRID_COPY(AllowFmtClipboard);
  GRID_COPY(AllowClipboardAlways);
  GRID_COPY(AllowClipboardRowGrow);
  GRID_COPY(AllowClipboardColGrow);
  GRID_COPY(AdvanceAuto);
  GRID_COPY(AppendOnArrowDown);
  GRID_COPY(EditSelectAll);
  GRID_COPY(InsertPosition);
  GRID_COPY(ClipboardPasteAction);
  GRID_COPY(CursorWalkEditor);
  GRID_COPY(CursorWalkAlwaysEdit);
  GRID_COPY(MoveRowOnSort);
  GRID_COPY(MoveScrollOnly);
  GRID_COPY(ImproveMaskSel);
  GRID_COPY(LeftRightRowSelect);
  GRID_COPY(CopyHTMLTagsToClipboard);
  GRID_COPY(KeepHorizScroll);
  GRID_COPY(LineFeedOnEnter);
  GRID_COPY(HomeEndKey);
  GRID_COPY(SkipFixedCells);
  GRID_COPY(TabToNextAtEnd);
  GRID_COPY(TabAdvanceDirection);
  GRID_COPY(AutoGotoWhenSorted);
  advanceDirection_ = s->advanceDirection_;
  advanceInsert_ = s->advanceInsert_;
}

// ===== TMouseActions =====

bool TMouseActions::Designing() const {
  return grid_ != nullptr && grid_->ComponentState().Contains(vcl::csDesigning);
}

void TMouseActions::SetHotmailRowSelect(bool value) {
  hotmailRowSelect_ = value;
  if (grid_) grid_->Invalidate();
}

void TMouseActions::SetEditOnDblClickOnly(bool value) {
  editOnDblClickOnly_ = value;
  if (value && grid_) grid_->SetOptions(grid_->Options() - vcl::TGridOptions{vcl::goEditing});
}

void TMouseActions::SetDisjunctRowSelect(bool value) {
  disjunctRowSelect_ = value;
  if (value && Designing()) disjunctColSelect_ = disjunctCellSelect_ = false;
}

void TMouseActions::SetDisjunctColSelect(bool value) {
  disjunctColSelect_ = value;
  if (value && Designing()) disjunctRowSelect_ = disjunctCellSelect_ = false;
}

void TMouseActions::SetDisjunctCellSelect(bool value) {
  disjunctCellSelect_ = value;
  if (value && Designing()) disjunctRowSelect_ = disjunctColSelect_ = false;
}

void TMouseActions::SetWheelAction(TWheelAction value) {
  if (value == wheelAction_) return;
  wheelAction_ = value;
  if (OnChange) OnChange(this);
}

void TMouseActions::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TMouseActions*>(source);
  if (s == nullptr) return;
  GRID_COPY(AllColumnSize);
  GRID_COPY(AllRowSize);
  GRID_COPY(AllSelect);
  GRID_COPY(AutoSizeColOnDblClick);
  GRID_COPY(CaretPositioning);
  GRID_COPY(CheckAllCheck);
  GRID_COPY(ColSelect);
  GRID_COPY(DirectComboClose);
  GRID_COPY(DirectComboDrop);
  GRID_COPY(DirectDateClose);
  GRID_COPY(DirectDateDrop);
  GRID_COPY(DirectEdit);
  GRID_COPY(DisjunctRowSelectNoCtrl);
  GRID_COPY(FixedRowsEdit);
  GRID_COPY(FixedColsEdit);
  GRID_COPY(MoveRowOnNodeClick);
  GRID_COPY(NoAutoRangeScroll);
  GRID_COPY(NodeAllExpandContract);
  GRID_COPY(NoScrollOnPartialRow);
  GRID_COPY(PreciseCheckBoxCheck);
  GRID_COPY(PreciseNodeClick);
  GRID_COPY(RangeSelectAndEdit);
  GRID_COPY(RowSelect);
  GRID_COPY(RowSelectPersistent);
  GRID_COPY(SelectOnRightClick);
  GRID_COPY(SizeFixedCol);
  GRID_COPY(WheelIncrement);
  disjunctRowSelect_ = s->disjunctRowSelect_;
  disjunctColSelect_ = s->disjunctColSelect_;
  disjunctCellSelect_ = s->disjunctCellSelect_;
  wheelAction_ = s->wheelAction_;
}

// ===== TColumnSize =====

void TColumnSize::SetStretch(bool value) {
  stretch_ = value;
  if (grid_ != nullptr && grid_->Parent() != nullptr && OnStretch) OnStretch(StretchColumn);
}

void TColumnSize::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TColumnSize*>(source);
  if (s == nullptr) return;
  GRID_COPY(Save);
  GRID_COPY(Key);
  GRID_COPY(Section);
  GRID_COPY(Location);
  GRID_COPY(StretchColumn);
  GRID_COPY(SynchWithGrid);
  GRID_COPY(SynchNormalCellsOnly);
  GRID_COPY(Rows);
  stretch_ = s->stretch_;
}

// ===== TCellNode =====

TCellNode::TCellNode(vcl::TCustomGrid* grid)
    : grid_(grid), expandGlyph_(std::make_unique<vcl::TBitmap>()), contractGlyph_(std::make_unique<vcl::TBitmap>()) {}

TCellNode::~TCellNode() = default;

void TCellNode::Repaint() {
  if (grid_) grid_->Invalidate();
}

void TCellNode::SetNodeType(TNodeType value) {
  if (value == nodeType_) return;
  nodeType_ = value;
  Repaint();
}

void TCellNode::SetNodeIndent(Integer value) {
  if (value == nodeIndent_) return;
  nodeIndent_ = value;
  Repaint();
}

void TCellNode::SetShowTree(bool value) {
  if (value == showTree_) return;
  showTree_ = value;
  Repaint();
}

void TCellNode::SetShowTreeFull(bool value) {
  if (value == showTreeFull_) return;
  showTreeFull_ = value;
  Repaint();
}

void TCellNode::SetTreeColor(TColor value) {
  if (value == treeColor_) return;
  treeColor_ = value;
  Repaint();
}

void TCellNode::SetExpandGlyph(const vcl::TBitmap* value) { expandGlyph_->Assign(value); }
void TCellNode::SetContractGlyph(const vcl::TBitmap* value) { contractGlyph_->Assign(value); }

void TCellNode::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TCellNode*>(source);
  if (s == nullptr) return;
  GRID_COPY(Color);
  GRID_COPY(ExpandOne);
  GRID_COPY(NodeColor);
  nodeType_ = s->nodeType_;
  nodeIndent_ = s->nodeIndent_;
  showTree_ = s->showTree_;
  showTreeFull_ = s->showTreeFull_;
  treeColor_ = s->treeColor_;
  expandGlyph_->Assign(s->expandGlyph_.get());
  contractGlyph_->Assign(s->contractGlyph_.get());
  Repaint();
}

// ===== THTMLSettings =====

void THTMLSettings::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const THTMLSettings*>(source);
  if (s == nullptr) return;
  GRID_COPY(AutoPreview);
  GRID_COPY(BorderSize);
  GRID_COPY(CellSpacing);
  GRID_COPY(CellPadding);
  GRID_COPY(ConvertSpecialChars);
  GRID_COPY(FooterFile);
  GRID_COPY(HeaderFile);
  GRID_COPY(NonBreakingText);
  GRID_COPY(PrefixTag);
  GRID_COPY(SuffixTag);
  GRID_COPY(SaveColor);
  GRID_COPY(SaveFonts);
  GRID_COPY(Summary);
  GRID_COPY(TableStyle);
  GRID_COPY(Width);
  GRID_COPY(XHTML);
  colWidths_.Clear();
  for (Integer v : s->colWidths_.Values()) colWidths_.Insert(colWidths_.Count(), v);
}

// ===== TPrintSettings =====

void TPrintSettings::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TPrintSettings*>(source);
  if (s == nullptr) return;
  GRID_COPY(FooterSize);
  GRID_COPY(HeaderSize);
  GRID_COPY(Time);
  GRID_COPY(Date);
  GRID_COPY(PageNr);
  GRID_COPY(Title);
  GRID_COPY(DateFormat);
  GRID_COPY(TitleText);
  GRID_COPY(Borders);
  GRID_COPY(BorderStyle);
  GRID_COPY(BorderColor);
  GRID_COPY(Centered);
  GRID_COPY(RepeatFixedRows);
  GRID_COPY(RepeatFixedCols);
  GRID_COPY(LeftSize);
  GRID_COPY(RightSize);
  GRID_COPY(ColumnSpacing);
  GRID_COPY(RowSpacing);
  GRID_COPY(TitleSpacing);
  GRID_COPY(Orientation);
  GRID_COPY(PagePrefix);
  GRID_COPY(PageSuffix);
  GRID_COPY(PageNumSep);
  GRID_COPY(PageNumberOffset);
  GRID_COPY(MaxPagesOffset);
  GRID_COPY(FixedWidth);
  GRID_COPY(FixedHeight);
  GRID_COPY(UseFixedHeight);
  GRID_COPY(UseFixedWidth);
  GRID_COPY(FitToPage);
  GRID_COPY(JobName);
  GRID_COPY(NoAutoSize);
  GRID_COPY(NoAutoSizeRow);
  GRID_COPY(PrintGraphics);
  GRID_COPY(UseDisplayFont);
  GRID_COPY(UseDefaultOrientation);
  font_.Assign(&s->font_);
  fixedFont_.Assign(&s->fixedFont_);
  headerFont_.Assign(&s->headerFont_);
  footerFont_.Assign(&s->footerFont_);
  titleLines_.Assign(s->titleLines_);
}


// ===== TControlLook =====

TControlLook::TControlLook(vcl::TCustomGrid* grid) : grid_(grid) {
  for (auto& g : glyphs_) g = std::make_unique<vcl::TBitmap>();
  for (auto& c : fixedGradient_) c = clNone;
}

TControlLook::~TControlLook() = default;

void TControlLook::Repaint() {
  if (grid_) grid_->Invalidate();
}

void TControlLook::SetColor(TColor value) { Set(color_, value); }
void TControlLook::SetCommentColor(TColor value) { Set(commentColor_, value); }
void TControlLook::SetCheckSize(Integer value) { Set(checkSize_, value); }
void TControlLook::SetRadioSize(Integer value) { Set(radioSize_, value); }
void TControlLook::SetControlStyle(TControlStyle value) { Set(controlStyle_, value); }
void TControlLook::SetDropDownAlwaysVisible(bool value) { Set(dropDownAlwaysVisible_, value); }
void TControlLook::SetSpinButtonsAlwaysVisible(bool value) { Set(spinButtonsAlwaysVisible_, value); }
void TControlLook::SetFlatButton(bool value) { Set(flatButton_, value); }
void TControlLook::SetNoDisabledCheckRadioLook(bool value) { Set(noDisabledCheckRadioLook_, value); }
void TControlLook::SetNoDisabledButtonLook(bool value) { Set(noDisabledButtonLook_, value); }
void TControlLook::SetProgressMarginX(Integer value) { Set(progressMarginX_, value); }
void TControlLook::SetProgressMarginY(Integer value) { Set(progressMarginY_, value); }
void TControlLook::SetProgressXP(bool value) { Set(progressXP_, value); }

void TControlLook::SetGlyph(int index, const vcl::TBitmap* value) {
  glyphs_[index]->Assign(value);
  Repaint();
}

void TControlLook::SetFixedGradient(TFixedGradientSlot slot, TColor value) {
  fixedGradient_[static_cast<int>(slot)] = value;
  if (value == clNone) return;
  if (OnFixedGradient) OnFixedGradient(slot, vcl::ColorToRGB(value));
  Repaint();
}

void TControlLook::Assign(const vcl::TPersistent* source) {
  const auto* s = dynamic_cast<const TControlLook*>(source);
  if (s == nullptr) return;
  checkSize_ = s->checkSize_;
  radioSize_ = s->radioSize_;
  controlStyle_ = s->controlStyle_;
  for (int i = 0; i < 4; ++i) glyphs_[i]->Assign(s->glyphs_[i].get());
  progressMarginX_ = s->progressMarginX_;
  progressMarginY_ = s->progressMarginY_;
  commentColor_ = s->commentColor_;
  color_ = s->color_;
  GRID_COPY(ProgressBorderColor);
  GRID_COPY(CheckAlwaysActive);
  GRID_COPY(RadioAlwaysActive);
  for (int i = 0; i < FixedGradientSlotCount; ++i) fixedGradient_[i] = s->fixedGradient_[i];
  dropDownAlwaysVisible_ = s->dropDownAlwaysVisible_;
  spinButtonsAlwaysVisible_ = s->spinButtonsAlwaysVisible_;
}

#undef GRID_COPY

}  // namespace grid
