#include "grid/GridSearch.h"

#include "dropdown/LumDropDownDraw.h"
#include "grid/GridComponent.h"
#include "vcl/Graphics.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"

namespace grid {

namespace {

// The panel's own glyphs, drawn on a magenta ground (the transparent
// colour): arrows down and up, the highlight marker and the close cross,
// each also in the grey of a disabled button.
enum class TSearchGlyph { sgDown, sgUp, sgHighlight, sgClose, sgCloseHot, sgCloseDown };

std::unique_ptr<vcl::TBitmap> SearchGlyph(TSearchGlyph kind, bool disabled) {
  const bool close = kind == TSearchGlyph::sgClose || kind == TSearchGlyph::sgCloseHot ||
                     kind == TSearchGlyph::sgCloseDown;
  const Integer size = close ? 14 : 16;
  auto b = std::make_unique<vcl::TBitmap>(size, size);
  vcl::TCanvas* c = b->Canvas();
  c->Brush()->SetColor(0xFF00FF);
  c->FillRect({0, 0, size, size});
  const TColor ink = disabled ? TColor(0x999999) : TColor(0x9C5A1A);
  c->Brush()->SetColor(ink);
  c->Pen()->SetColor(ink);
  switch (kind) {
    case TSearchGlyph::sgDown:
      c->FillRect({6, 2, 10, 8});
      c->Polygon({{2, 8}, {13, 8}, {8, 13}});
      break;
    case TSearchGlyph::sgUp:
      c->FillRect({6, 8, 10, 14});
      c->Polygon({{2, 8}, {13, 8}, {8, 3}});
      break;
    case TSearchGlyph::sgHighlight:
      c->Brush()->SetColor(disabled ? TColor(0xCCCCCC) : TColor(0x00FFFF));
      c->FillRect({1, 9, 15, 14});
      c->Brush()->SetColor(ink);
      c->Polygon({{5, 10}, {9, 2}, {12, 4}, {8, 11}});
      break;
    case TSearchGlyph::sgClose:
    case TSearchGlyph::sgCloseHot:
    case TSearchGlyph::sgCloseDown: {
      if (kind != TSearchGlyph::sgClose) {
        c->Brush()->SetColor(kind == TSearchGlyph::sgCloseHot ? TColor(0xC0C0FF) : TColor(0x8080E0));
        c->FillRect({0, 0, size, size});
      }
      c->Pen()->SetColor(kind == TSearchGlyph::sgClose ? TColor(0x404040) : TColor(0x000080));
      c->Pen()->SetWidth(2);
      c->MoveTo(3, 3);
      c->LineTo(11, 11);
      c->MoveTo(11, 3);
      c->LineTo(3, 11);
      break;
    }
  }
  return b;
}

TLumGridButton* PanelButton(TSearchPanel* panel, Integer left, Integer top, Integer width, Integer height) {
  auto* b = new TLumGridButton(panel);
  b->SetParent(panel);
  b->SetBounds(left, top, width, height);
  b->SetParentFont(true);
  return b;
}

}  // namespace

// ===== TRetEdit =====

void TRetEdit::KeyDown(Word& key, vcl::TShiftState shift) {
  if (key == vcl::VK_RETURN) {
    if (shift.Contains(vcl::ssCtrl)) {
      if (OnCtrlReturn) OnCtrlReturn(this);
    } else if (OnReturn) {
      OnReturn(this);
    }
    key = 0;
    return;
  }
  vcl::TEdit::KeyDown(key, shift);
}

void TRetEdit::KeyPress(vcl::WideChar& key) {
  if (key == '\r' || key == '\n') {
    if (OnKeyPress) OnKeyPress(this, key);
    key = 0;  // no beep
    return;
  }
  vcl::TEdit::KeyPress(key);
}

// ===== TSearchPanel =====

TSearchPanel::TSearchPanel(vcl::TComponent* owner, TVadOdizadEzev* grid) : vcl::TCustomPanel(owner), grid_(grid) {
  SetBevelOuter(vcl::bvNone);
  SetBorderWidth(0);
  SetShowCaption(false);
  SetAlign(vcl::alBottom);
  SetHeight(0);
  edit_ = new TRetEdit(this);
  edit_->SetParent(this);
  edit_->SetBounds(25, 6, 110, 21);
  edit_->OnChange = [this](vcl::TObject*) { EditChanged(); };
  edit_->OnReturn = [this](vcl::TObject*) {
    if (OnForwardClick) OnForwardClick(this);
  };
  edit_->OnCtrlReturn = [this](vcl::TObject*) {
    if (OnBackwardClick) OnBackwardClick(this);
  };
  next_ = PanelButton(this, 140, 5, 90, 23);
  next_->SetGlyph(SearchGlyph(TSearchGlyph::sgDown, false).get());
  next_->SetGlyphDisabled(SearchGlyph(TSearchGlyph::sgDown, true).get());
  next_->SetEnabled(false);
  next_->OnClick = [this](vcl::TObject*) {
    if (OnForwardClick) OnForwardClick(this);
  };
  prev_ = PanelButton(this, 235, 5, 90, 23);
  prev_->SetGlyph(SearchGlyph(TSearchGlyph::sgUp, false).get());
  prev_->SetGlyphDisabled(SearchGlyph(TSearchGlyph::sgUp, true).get());
  prev_->SetEnabled(false);
  prev_->OnClick = [this](vcl::TObject*) {
    if (OnBackwardClick) OnBackwardClick(this);
  };
  close_ = PanelButton(this, 5, 7, 14, 14);
  close_->SetGlyph(SearchGlyph(TSearchGlyph::sgClose, false).get());
  close_->SetGlyphHot(SearchGlyph(TSearchGlyph::sgCloseHot, false).get());
  close_->SetGlyphDown(SearchGlyph(TSearchGlyph::sgCloseDown, false).get());
  close_->OnClick = [this](vcl::TObject*) {
    if (OnExitClick) OnExitClick(this);
  };
  highlight_ = PanelButton(this, 330, 5, 90, 23);
  highlight_->SetStyle(tasCheck);
  highlight_->SetGlyph(SearchGlyph(TSearchGlyph::sgHighlight, false).get());
  highlight_->SetGlyphDisabled(SearchGlyph(TSearchGlyph::sgHighlight, true).get());
  highlight_->SetEnabled(false);
  highlight_->OnClick = [this](vcl::TObject*) {
    if (OnHighlightClick) OnHighlightClick(this);
  };
  matchCase_ = new TLumCheckBox(this);
  matchCase_->SetParent(this);
  matchCase_->SetBounds(425, 8, 98, 18);
  matchCase_->SetTransparent(true);
}

void TSearchPanel::EditChanged() {
  const bool any = !edit_->Text().empty();
  next_->SetEnabled(any);
  prev_->SetEnabled(any);
  highlight_->SetEnabled(any);
  if (OnEditChange) OnEditChange(this);
}

void TSearchPanel::Paint() {
  vcl::TCanvas* canvas = Canvas();
  const vcl::TRect r = ClientRect();
  if (ColorTo == clNone) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(vcl::bsSolid);
    canvas->FillRect(r);
  } else {
    dropdown::DrawGradient(canvas, Color(), ColorTo, 32, r, false);
  }
  canvas->Pen()->SetColor(grid_->GridLineColor());
  canvas->MoveTo(0, 0);
  canvas->LineTo(r.Width(), 0);
}

// ===== the grid's side =====

class TVadOdizadEzev::SearchHost : public TCellSearchHost {
 public:
  explicit SearchHost(TVadOdizadEzev* grid) : grid_(grid) {}
  TGridRect Selection() override {
    const vcl::TGridRect s = grid_->Selection();
    return {s.Left, s.Top, s.Right, s.Bottom};
  }
  Integer CurrentCol() override { return grid_->Col(); }
  Integer CurrentRow() override { return grid_->Row(); }
  void RowScanNotify(Integer stage, Integer row) override { grid_->RowScanNotify(stage, row); }
  void GotoFoundCell(Integer col, Integer row, bool realRow) override {
    if (realRow) row = grid_->DisplRowIndex(row);
    if (grid_->MouseActions()->DisjunctRowSelect()) {
      grid_->ClearRowMarks();
      grid_->SetRowMarked(row, true);
    }
    grid_->SetCol(col);
    grid_->SetRow(row);
  }

 private:
  TVadOdizadEzev* grid_;
};

void TVadOdizadEzev::CreateSearchPanel() {
  searchHost_ = std::make_unique<SearchHost>(this);
  finder_ = std::make_unique<TCellFinder>(Model(), *searchHost_);
  if (!ComponentState().Contains(vcl::csDesigning)) {
    searchPanel_ = new TSearchPanel(this, this);
    searchPanel_->SetVisible(false);
    searchPanel_->OnForwardClick = [this](vcl::TObject*) { SearchFindNext(); };
    searchPanel_->OnBackwardClick = [this](vcl::TObject*) { SearchFindPrevious(); };
    searchPanel_->OnEditChange = [this](vcl::TObject*) { SearchEditChanged(); };
    searchPanel_->OnExitClick = [this](vcl::TObject*) { SearchFooterClosed(); };
    searchPanel_->OnHighlightClick = [this](vcl::TObject*) { SearchHighlightClicked(); };
  }
  searchFooter_->OnChange = [this](vcl::TObject*) { UpdateSearchPanel(); };
}

void TVadOdizadEzev::PlaceSearchPanel() {
  if (searchPanel_ == nullptr || searchPanel_->Parent() == this) return;
  searchPanel_->SetParent(this);
  UpdateSearchPanel();
  if (OnCreatedSearchFooter) OnCreatedSearchFooter(this);
}

TCellCoord TVadOdizadEzev::FindCell(TCellCoord from, const AnsiString& text, TFindOptions options) {
  return finder_->FindCell(from, text, options);
}

TCellCoord TVadOdizadEzev::LastFoundCell() const { return finder_->LastFound; }

void TVadOdizadEzev::UpdateSearchPanel() {
  if (searchPanel_ == nullptr) return;
  const TSearchFooter* sf = searchFooter_.get();
  TSearchPanel* p = searchPanel_;
  if ((p->HighlightButton()->Down() && p->Visible() && !sf->Visible) || sf->AlwaysHighLight) UnmarkTextInCells(false);
  p->SetColor(sf->Color);
  p->ColorTo = sf->ColorTo;
  p->SetVisible(sf->Visible);
  p->FindNextButton()->SetCaption(sf->FindNextCaption);
  p->FindPrevButton()->SetCaption(sf->FindPrevCaption);
  p->HighlightButton()->SetCaption(sf->HighLightCaption);
  p->MatchCaseBox()->SetCaption(sf->MatchCaseCaption);
  p->Font()->Assign(sf->Font());
  const TControlStyle style = controlLook_->ControlStyle();
  bool flat = style != csClassic;
  if (style == csWinXP || style == csTheme) flat = true;
  for (TLumGridButton* b : {p->FindNextButton(), p->FindPrevButton(), p->HighlightButton()}) {
    b->SetFlat(flat);
    if (sf->AutoThemeAdapt()) b->SetAutoThemeAdapt(true);
  }
  const struct {
    TLumGridButton* button;
    bool show;
    const AnsiString& hint;
  } buttons[] = {{p->HighlightButton(), sf->ShowHighLight, sf->HintHighlight},
                 {p->CloseButton(), sf->ShowClose, sf->HintClose},
                 {p->FindPrevButton(), sf->ShowFindPrev, sf->HintFindPrev},
                 {p->FindNextButton(), sf->ShowFindNext, sf->HintFindNext}};
  for (const auto& b : buttons) {
    b.button->SetVisible(b.show);
    b.button->SetHint(b.hint);
    b.button->SetShowHint(!b.hint.empty());
    if (b.button != p->CloseButton()) b.button->SetHeight(b.show ? 23 : 0);
  }
  TLumCheckBox* box = p->MatchCaseBox();
  box->SetVisible(sf->ShowMatchCase);
  box->SetBounds(sf->ShowHighLight ? 425 : 330, 8, box->Width(), sf->ShowMatchCase ? 18 : 0);
  p->SetHeight(sf->Visible ? 32 : 0);
  p->Invalidate();
  if (sf->Visible) ScrollLastRowClear();
}

bool TVadOdizadEzev::LastRowClearOfSearchFooter() {
  if (!searchFooter_->Visible || searchPanel_ == nullptr) return false;
  if (TopRow() + VisibleRowCount() < RowCount() - 1) return false;
  const vcl::TRect r = CellRect(Col(), RowCount() - 1);
  return r.Bottom < ClientHeight() - searchPanel_->Height() + 2;
}

void TVadOdizadEzev::ScrollLastRowClear() {
  if (!searchFooter_->Visible || searchPanel_ == nullptr) return;
  const Integer panelTop = ClientHeight() - searchPanel_->Height();
  while (Row() <= RowCount() - 1 && TopRow() < RowCount()) {
    const vcl::TRect r = CellRect(Col(), RowCount() - 1);
    // A last row out of view has no rectangle: nothing to clear.
    if (r.Bottom <= panelTop + 2) break;
    const Integer top = TopRow();
    SetTopRow(top + 1);
    // Every row already in view: the top row cannot move any further.
    if (TopRow() == top) break;
  }
}

TFindOptions TVadOdizadEzev::SearchOptions(bool typed) {
  const TSearchFooter* sf = searchFooter_.get();
  TFindOptions o = fiGotoFound;
  if (searchPanel_->HighlightButton()->Down()) o |= fiIgnoreHTMLTags;
  if (searchPanel_->MatchCaseBox()->Checked()) o |= fiMatchCase;
  if (sf->SearchActiveColumnOnly) o |= fiCurrentColumnOnly;
  if (sf->SearchMatchStart) o |= fiMatchStart;
  if (typed) {
    if (sf->SearchFixedCells) o |= fiIncludeFixed;
    if (sf->SearchHiddenRows) o |= fiIncludeHiddenRows;
    if (sf->SearchDirection == sdLeftRight) o |= fiRowByRow;
  }
  if (sf->SearchColumn >= 0 && sf->SearchColumn < ColCount()) {
    o |= fiPresetColumn;
    finder_->PresetColumn = sf->SearchColumn;
  }
  return o;
}

void TVadOdizadEzev::SearchEditChanged() {
  if (searchPanel_ == nullptr) return;
  const AnsiString text = searchPanel_->Edit()->Text();
  bool defaultSearch = true;
  if (OnSearchEditChange) OnSearchEditChange(this, text, defaultSearch);
  if (!defaultSearch || !searchFooter_->AutoSearch) return;
  const TFindOptions options = SearchOptions(true);
  vcl::TEdit* edit = searchPanel_->Edit();
  if (!text.empty()) {
    UnmarkTextInCells(false);
    const TCellCoord found = FindCell({-1, -1}, text, options);
    SearchFooterAction(text, found.X, found.Y, saFindFirst);
    if (found.X < 0) {
      edit->SetColor(0x0000FF);
    } else {
      edit->SetColor(vcl::clWindow);
      ScrollToCell(found.X, Row());
      if (searchPanel_->HighlightButton()->Down() || searchFooter_->AlwaysHighLight)
        MarkTextInCells(false, (options & fiMatchCase) != 0, text);
    }
  } else {
    edit->SetColor(vcl::clWindow);
    UnmarkTextInCells(false);
  }
  edit->Invalidate();
  const Integer f = floatingFooter_->Visible ? 2 : 0;
  if (Row() > TopRow() + VisibleRowCount() - f - 2 && VisibleRowCount() + FixedRows() + f < RowCount())
    SetTopRow(TopRow() + f + 1);
}

void TVadOdizadEzev::SearchStep(bool backward) {
  if (searchPanel_ == nullptr) return;
  const AnsiString text = searchPanel_->Edit()->Text();
  if (!searchFooter_->AutoSearch) {
    if (lastSearchText_ != text) finder_->LastFound = {-1, -1};
    lastSearchText_ = text;
  }
  TFindOptions options = SearchOptions(false);
  if (backward) options |= fiBackward;
  const TCellCoord found = FindCell(finder_->LastFound, text, options);
  if (!backward && found.X >= 0) ScrollToCell(found.X, Row());
  const Integer v = floatingFooter_->Visible ? 0 : 1;
  if (Row() > TopRow() + VisibleRowCount() + v - 3 && (1 - v) + VisibleRowCount() + FixedRows() < RowCount())
    SetTopRow(std::min(TopRow() + 2, RowCount() - 1));
  if (backward && found.X >= 0) ScrollToCell(found.X, Row());
  SearchFooterAction(text, found.X, found.Y, backward ? saFindPrevious : saFindNext);
  searchPanel_->Invalidate();
}

void TVadOdizadEzev::SearchFindNext() { SearchStep(false); }
void TVadOdizadEzev::SearchFindPrevious() { SearchStep(true); }

void TVadOdizadEzev::SearchFooterClosed() {
  if (OnSearchFooterClose) OnSearchFooterClose(this);
  searchFooter_->Visible = false;
  UpdateSearchPanel();
}

void TVadOdizadEzev::FocusSearchFooter() {
  if (searchPanel_ == nullptr || !searchFooter_->Visible) return;
  TRetEdit* edit = searchPanel_->Edit();
  if (edit->CanFocus()) edit->SetFocus();
}

bool TVadOdizadEzev::SearchFooterAccelerator(Word ch) {
  if (searchPanel_ == nullptr || !searchFooter_->Visible) return false;
  auto accel = [ch](const TLumGridButton* b) { return b->Visible() && b->Enabled() && vcl::IsAccel(ch, b->Caption()); };
  if (accel(searchPanel_->FindNextButton())) {
    SearchFindNext();
    return true;
  }
  if (accel(searchPanel_->FindPrevButton())) {
    SearchFindPrevious();
    return true;
  }
  TLumGridButton* highlight = searchPanel_->HighlightButton();
  if (accel(highlight)) {
    highlight->SetDown(!highlight->Down());
    SearchHighlightClicked();
    return true;
  }
  return false;
}

void TVadOdizadEzev::SearchHighlightClicked() {
  if (searchPanel_ == nullptr) return;
  if (searchPanel_->HighlightButton()->Down())
    MarkTextInCells(false, searchPanel_->MatchCaseBox()->Checked(), searchPanel_->Edit()->Text());
  else
    UnmarkTextInCells(false);
}

}  // namespace grid
