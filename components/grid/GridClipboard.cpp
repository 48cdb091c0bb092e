// The grid's clipboard: copy, cut and paste of cells as plain text, rich
// text and the grid's own cell stream, the smart fill after a paste, the
// cell streams of AssignCells and drags, the clipboard keys and the
// selection resizer's fill.
#include <algorithm>

#include "grid/GridComponent.h"
#include "grid/model/CellStream.h"
#include "grid/model/ClipPaste.h"
#include "grid/model/ClipText.h"
#include "grid/model/GridUtils.h"
#include "grid/model/HtmlText.h"
#include "grid/model/SmartFill.h"
#include "rtl/CodePages.h"
#include "rtl/RichText.h"
#include "vcl/ClipboardData.h"
#include "vcl/Pictures.h"
#include "vcl/PngData.h"

namespace grid {

namespace {

vcl::TClipboardFormat GridCellsFormat() {
  static const vcl::TClipboardFormat format = vcl::RegisterClipboardFormat("TVadOdizadEzev Cells");
  return format;
}

vcl::TClipboardFormat RichTextFormat() {
  static const vcl::TClipboardFormat format = vcl::RegisterClipboardFormat("Rich Text Format");
  return format;
}

// The grid's format is registered when the grid's code is loaded, so that
// its number is known before any grid copies.
[[maybe_unused]] const bool gGridClipFormatsRegistered = (GridCellsFormat(), RichTextFormat(), true);

bool IsRichText(const AnsiString& text) { return text.find("{\\") != AnsiString::npos; }

template <class T>
void FreeClipObject(void* p) {
  delete static_cast<T*>(p);
}

// UTF-16LE with its terminating zero unit.
std::string Utf16Block(const AnsiString& utf8) {
  const WideString wide = rtl::Utf8ToWide(utf8);
  std::string bytes;
  bytes.reserve(wide.size() * 2 + 2);
  for (char16_t c : wide) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  bytes.append(2, '\0');
  return bytes;
}

}  // namespace

// ===== the grid as the model's transfer host =====

class TGridTransferHost : public TCellTransferHost {
 public:
  explicit TGridTransferHost(TVadOdizadEzev* grid) : TCellTransferHost(grid->Model()), grid_(grid) {
    Multilinecells = grid->Multilinecells;
  }
  AnsiString FormattedCell(Integer col, Integer row) override {
    AnsiString text;
    grid_->GetFormattedCell(col, row, text);
    return text;
  }
  AnsiString CheckTrue(Integer col, Integer row) override {
    AnsiString v;
    grid_->GetCheckTrue(col, row, v);
    return v;
  }
  AnsiString CheckFalse(Integer col, Integer row) override {
    AnsiString v;
    grid_->GetCheckFalse(col, row, v);
    return v;
  }
  void SaveCellEvent(Integer col, Integer row, AnsiString& value) override {
    if (grid_->OnSaveCell) grid_->OnSaveCell(grid_, col, row, value);
  }
  AnsiString SaveCell(Integer col, Integer row) override { return grid_->SaveCell(col, row); }
  void LoadCell(Integer col, Integer row, const AnsiString& value) override { grid_->LoadCell(col, row, value); }
  // The grid object stands for its window: unique while both live.
  int64_t StreamId() override { return static_cast<int64_t>(reinterpret_cast<intptr_t>(grid_)); }
  void Progress(Integer percent) override {
    if (grid_->Model().OnFileProgress) grid_->Model().OnFileProgress(percent);
  }
  void CellsChanged(const TGridRect& b) override { grid_->CellsChanged({b.Left, b.Top, b.Right, b.Bottom}); }
  void CellsLoaded() override { grid_->CellsLoaded(); }

  std::string EncodePicture(TStreamPicture kind, const void* object) override {
    if (kind == spPicture) return vcl::GraphicToPng(static_cast<const vcl::TPicture*>(object)->Graphic());
    return vcl::GraphicToPng(const_cast<vcl::TGraphic*>(static_cast<const vcl::TGraphic*>(object)));
  }
  TGraphicObject DecodePicture(TStreamPicture kind, std::string_view png) override {
    auto bitmap = std::make_unique<vcl::TBitmap>();
    if (!vcl::BitmapFromPng(png, *bitmap)) return {};
    if (kind == spBitmap) return {bitmap.release(), &FreeClipObject<vcl::TBitmap>};
    // Icons and pictures come back as pictures of the same pixels.
    if (kind == spIcon) return {bitmap.release(), &FreeClipObject<vcl::TGraphic>};
    auto* picture = new vcl::TPicture();
    picture->SetGraphic(bitmap.get());
    return {picture, &FreeClipObject<vcl::TPicture>};
  }
  bool DescribeFilePicture(const void* object, AnsiString& name, Integer& width, Integer& height) override {
    const auto* f = static_cast<const TFilePicture*>(object);
    name = f->Filename();
    width = f->Width();
    height = f->Height();
    return true;
  }
  TGraphicObject MakeFilePicture(const AnsiString& name, Integer, Integer) override {
    auto* f = new TFilePicture();
    try {
      f->SetFilename(name);
    } catch (const rtl::Exception&) {
      // The name stays; the picture shows once the file is there.
    }
    return {f, &FreeClipObject<TFilePicture>};
  }

 private:
  TVadOdizadEzev* grid_;
};

// ===== the grid as the paste's host =====

class TGridPasteHost : public TClipPasteHost {
 public:
  explicit TGridPasteHost(TVadOdizadEzev* grid) : grid_(grid) {
    const TNavigation& n = *grid->Navigation();
    RowGrow = n.AllowClipboardRowGrow;
    ColGrow = n.AllowClipboardColGrow;
    InsertLines = n.ClipboardPasteAction == paInsert;
    FooterRowLast = grid->Model().FooterRowShown();
  }
  AnsiString FillText(Integer col, Integer row) override {
    bool checked = false;
    TCellControlHost& controls = grid_->CellControlState();
    if (controls.IsCheckBoxCell(col, row) && controls.GetCellCheckState(col, grid_->RealRowIndex(row), checked)) {
      AnsiString v;
      if (checked)
        grid_->GetCheckTrue(col, row, v);
      else
        grid_->GetCheckFalse(col, row, v);
      return v;
    }
    return grid_->Model().GetDisplayCell(col, row);
  }
  bool CanFill(Integer col, Integer row) override { return CanPaste(col, row); }
  void FillCell(Integer col, Integer row, const AnsiString& value, bool topLeft) override {
    AnsiString v = value;
    bool allow = true;
    if (!topLeft && grid_->OnClipboardBeforePasteCell) grid_->OnClipboardBeforePasteCell(grid_, col, row, v, allow);
    if (!allow) return;
    grid_->PasteCell(col, row, v);
    grid_->MarkRowsModified(grid_->copyOrigin_, {col, row, col, row}, true);
    if (!topLeft && grid_->OnClipboardAfterPasteCell) grid_->OnClipboardAfterPasteCell(grid_, col, row, v);
  }
  void PasteAgainAt(Integer col, Integer row) override {
    grid_->FocusCell(col, row, true);
    Integer rows = 0, cols = 0;
    grid_->PasteFromClipboardAt(col, row, rows, cols);
  }
  void BeforePaste() override { grid_->BeforePaste(); }
  void AfterPaste() override { grid_->AfterPaste(); }
  Integer ColCount() override { return grid_->ColCount(); }
  Integer RowCount() override { return grid_->RowCount(); }
  void SetColCount(Integer count) override { grid_->SetColCount(count); }
  void AddRow() override { grid_->AddRowAtEnd(); }
  void InsertRow(Integer row) override { grid_->InsertRows(row, 1); }
  bool PasteAllowed() override {
    return grid_->Options().Contains(vcl::goEditing) || grid_->Navigation()->AllowClipboardAlways ||
           grid_->MouseActions()->RangeSelectAndEdit || grid_->EditorRequested;
  }
  bool CanPaste(Integer col, Integer row) override {
    return grid_->Navigation()->AllowClipboardAlways || grid_->IsCellEditable(col, row);
  }
  bool BeforePasteCell(Integer col, Integer row, AnsiString& value) override {
    bool allow = true;
    if (value.rfind("|\\", 0) == 0) {
      WideString wide = DecodeWideText(value);
      if (grid_->OnClipboardBeforePasteWideCell) grid_->OnClipboardBeforePasteWideCell(grid_, col, row, wide, allow);
      value = EncodeWideText(wide);
    } else if (grid_->OnClipboardBeforePasteCell) {
      grid_->OnClipboardBeforePasteCell(grid_, col, row, value, allow);
    }
    return allow;
  }
  void PasteCell(Integer col, Integer row, const AnsiString& value) override { grid_->PasteCell(col, row, value); }
  void AfterPasteCell(Integer col, Integer row, const AnsiString& value, bool lastOfLine) override {
    if (!lastOfLine && value.rfind("|\\", 0) == 0) {
      if (grid_->OnClipboardAfterPasteWideCell) grid_->OnClipboardAfterPasteWideCell(grid_, col, row, DecodeWideText(value));
    } else if (grid_->OnClipboardAfterPasteCell) {
      grid_->OnClipboardAfterPasteCell(grid_, col, row, value);
    }
  }
  void RowPasteNotify(Integer stage, Integer row) override { grid_->RowPasteNotify(stage, row); }
  void BeginUndoGroup() override {
    if (grid_->UndoRedo() != nullptr) grid_->UndoRedo()->StartSequence();
  }
  void EndUndoGroup() override {
    if (grid_->UndoRedo() != nullptr) grid_->UndoRedo()->StopSequence();
  }
  void PasteEnded(const TGridRect& b) override {
    grid_->MarkRowsModified(grid_->copyOrigin_, {b.Left, b.Top, b.Right, b.Bottom}, grid_->lastWasCopy_);
    grid_->CellsChanged({b.Left, b.Top, b.Right, b.Bottom});
  }

 private:
  TVadOdizadEzev* grid_;
};

// ===== the per-cell exchange and the streams =====

AnsiString TVadOdizadEzev::SaveCell(Integer col, Integer row) {
  TGridTransferHost host(this);
  return host.TCellTransferHost::SaveCell(col, row);
}

void TVadOdizadEzev::LoadCell(Integer col, Integer row, const AnsiString& value) { Model().LoadCell(col, row, value); }

std::string TVadOdizadEzev::SaveCellsToStream(const vcl::TGridRect& r) {
  TGridTransferHost host(this);
  return grid::SaveCellsToStream(host, {r.Left, r.Top, r.Right, r.Bottom});
}

void TVadOdizadEzev::LoadCellsFromStream(TCellCoord at, std::string_view stream) {
  TGridTransferHost host(this);
  grid::LoadCellsFromStream(host, at, stream);
  Invalidate();
}

std::string TVadOdizadEzev::SaveCellsToTextStream() {
  TGridTransferHost host(this);
  return grid::SaveCellsToTextStream(host);
}

void TVadOdizadEzev::LoadCellsFromTextStream(std::string_view stream) {
  TGridTransferHost host(this);
  grid::LoadCellsFromTextStream(host, stream);
  Invalidate();
}

bool TVadOdizadEzev::IsWideTextCell(Integer col, Integer row) {
  return Model().GetDisplayCell(col, row).rfind("|\\", 0) == 0;
}

// ===== the clipboard's formats =====

bool TVadOdizadEzev::ClipHas(Word format) {
  if (!useResizeBuffer_) return vcl::HasClipboardBlock(format);
  return std::any_of(resizeBuffer_.begin(), resizeBuffer_.end(), [&](const auto& b) { return b.first == format; });
}

std::string TVadOdizadEzev::ClipGet(Word format) {
  if (!useResizeBuffer_) return vcl::GetClipboardBlock(format);
  for (const auto& [f, bytes] : resizeBuffer_)
    if (f == format) return bytes;
  return {};
}

bool TVadOdizadEzev::CanUseFmtClipboard() { return navigation_->AllowFmtClipboard; }

vcl::TGridRect TVadOdizadEzev::WidenToMerges(vcl::TGridRect r) {
  if (r.Left >= 0 && r.Top >= 0 && r.Left < ColCount() && r.Top < RowCount() &&
      Model().IsMergedCell(r.Left, r.Top)) {
    const TCellCoord base = Model().BaseCell(r.Left, r.Top);
    r.Left = base.X;
    r.Top = base.Y;
  }
  if (r.Right >= 0 && r.Bottom >= 0 && r.Right < ColCount() && r.Bottom < RowCount() &&
      Model().IsMergedCell(r.Right, r.Bottom)) {
    const TCellCoord base = Model().BaseCell(r.Right, r.Bottom);
    const TCellCoord span = Model().CellSpan(base.X, base.Y);
    r.Right = std::max(r.Right, base.X + span.X);
    r.Bottom = std::max(r.Bottom, base.Y + span.Y);
  }
  return r;
}

// ===== copy and cut =====

void TVadOdizadEzev::CopySelectionToClipboard() {
  const vcl::TGridRect sel = Selection();
  const vcl::TGridRect wide = WidenToMerges(sel);
  if (!(wide == sel)) SetSelection(wide);
  const bool disjunct = mouseActions_->DisjunctRowSelect() || mouseActions_->DisjunctColSelect();
  if (!disjunct || navigation_->AllowFmtClipboard) {
    CopyRectToClipboard(wide, false);
  } else {
    TGridTransferHost host(this);
    const TGridRect t = host.TransferRange();
    CopyRectToClipboard({t.Left, t.Top, t.Right, t.Bottom}, true);
  }
  lastWasCopy_ = true;
}

void TVadOdizadEzev::CopyRectToClipboard(const vcl::TGridRect& r, bool selectedOnly) {
  copyOrigin_ = {r.Left, r.Top};
  const bool rowMarks = mouseActions_->DisjunctRowSelect(), colMarks = mouseActions_->DisjunctColSelect();
  auto rowSkipped = [&](Integer row) {
    if (!selectedOnly || !rowMarks || colMarks) return false;
    return !IsRowMarked(row);
  };
  auto colSkipped = [&](Integer col) { return selectedOnly && colMarks && !IsColMarked(col); };
  Integer rowCount = 0;
  for (Integer row = r.Top; row <= r.Bottom; ++row)
    if (!rowSkipped(row)) ++rowCount;
  TClipTextWriter text(rowCount);
  for (Integer row = r.Top; row <= r.Bottom; ++row) {
    if (rowSkipped(row)) continue;
    for (Integer col = r.Left; col <= r.Right; ++col) {
      if (colSkipped(col)) continue;
      AnsiString t = SaveCell(col, row);
      if (t.rfind("|\\", 0) == 0) t = rtl::WideToUtf8(DecodeWideText(t));
      if (!navigation_->CopyHTMLTagsToClipboard && t.find("</") != AnsiString::npos)
        t = StripHTML(Model().GetDisplayCell(col, row));
      else if (IsRichText(t))
        t = rtl::RichTextToPlainText(t);
      if (PackMultiLineCells && Multilinecells && LineCount(t, true) > 1)
        text.AddField(PackedClipField(t));
      else
        text.Cell(t);
    }
    text.EndRow();
  }
  vcl::TClipboardBlocks blocks;
  blocks.emplace_back(vcl::CF_TEXT, text.Text());
  blocks.emplace_back(vcl::CF_UNICODETEXT, Utf16Block(text.Text()));
  if (navigation_->AllowRTFClipboard && r.Left >= 0 && r.Top >= 0 && r.Left < ColCount() && r.Top < RowCount()) {
    const AnsiString rich = Model().GetDisplayCell(r.Left, r.Top);
    if (IsRichText(rich)) blocks.emplace_back(RichTextFormat(), rich + '\0');
  }
  if (navigation_->AllowFmtClipboard) blocks.emplace_back(GridCellsFormat(), SaveCellsToStream(r));
  if (useResizeBuffer_)
    resizeBuffer_ = blocks;
  else
    vcl::SetClipboardBlocks(blocks);
}

void TVadOdizadEzev::CutSelectionToClipboard() {
  CopySelectionToClipboard();
  if (mouseActions_->DisjunctRowSelect()) {
    for (Integer row = FixedRows(); row < RowCount(); ++row) {
      if (!IsRowMarked(row)) continue;
      ClearRows(row, 1);
      if (showModified_->Enabled) MarkRowsModified({-1, -1}, {0, row, 0, row}, false);
    }
  } else if (mouseActions_->DisjunctColSelect()) {
    for (Integer col = FixedCols(); col < ColCount(); ++col)
      if (IsColMarked(col)) ClearCols(col, 1);
  } else {
    const vcl::TGridRect sel = Selection();
    if (UndoRedo() != nullptr) UndoRedo()->StartSequence();
    for (Integer row = sel.Top; row <= sel.Bottom; ++row) {
      for (Integer col = sel.Left; col <= sel.Right; ++col) {
        if (!IsCellEditable(col, row) && !navigation_->AllowClipboardAlways) continue;
        if (UndoRedo() != nullptr)
          UndoRedo()->AddChange(col, RealRowIndex(row), Model().GetDisplayCell(col, row), AnsiString());
        Model().SetDisplayCell(col, row, AnsiString());
        if (navigation_->AllowFmtClipboard) Model().FreeCellProperties(col, row);
      }
    }
    if (UndoRedo() != nullptr) UndoRedo()->StopSequence();
    if (showModified_->Enabled) MarkRowsModified({-1, -1}, sel, false);
    CellsChanged({sel.Left, sel.Top, sel.Right, sel.Bottom});
    Invalidate();
  }
  lastWasCopy_ = false;
}

// ===== paste =====

void TVadOdizadEzev::PasteCell(Integer col, Integer row, const AnsiString& value) {
  if (UndoRedo() != nullptr) UndoRedo()->AddChange(col, RealRowIndex(row), Model().GetDisplayCell(col, row), value);
  TCellControlHost& controls = CellControlState();
  const TCellType type = controls.GetCellType(col, row);
  if (type == ctCheckBox || type == ctDataCheckBox || type == ctVirtCheckBox || type == ctRowCheckBox) {
    AnsiString checkTrue;
    GetCheckTrue(col, row, checkTrue);
    controls.SetCellCheckState(col, row, value == checkTrue);
  } else {
    Model().SetDisplayCell(col, row, value);
  }
}

void TVadOdizadEzev::MarkRowsModified(TCellCoord, const vcl::TGridRect& r, bool) {
  if (!showModified_->Enabled) return;
  for (Integer row = std::max(r.Top, 0); row <= std::min(r.Bottom, RowCount() - 1); ++row) {
    const Integer real = RealRowIndex(row);
    if (!rowModified_->HasValue(real)) rowModified_->Add(real);
  }
  Invalidate();
}

Integer TVadOdizadEzev::PasteTextAt(Integer col, Integer row, Integer& rows, Integer& cols, const AnsiString& text) {
  TGridPasteHost host(this);
  const TPasteCounts c = grid::PasteTextAt(host, col, row, text);
  rows = c.Rows;
  cols = c.Cols;
  Invalidate();
  return c.Count;
}

Integer TVadOdizadEzev::PasteFromClipboardAt(Integer col, Integer row, Integer& rows, Integer& cols) {
  rows = cols = 0;
  if (CanUseFmtClipboard() && ClipHas(GridCellsFormat())) {
    BeforePaste();
    const std::string stream = ClipGet(GridCellsFormat());
    const TCellStreamHeader h = ReadCellStreamHeader(stream);
    if (navigation_->AllowClipboardRowGrow || navigation_->AllowClipboardColGrow ||
        navigation_->ClipboardPasteAction == paInsert) {
      if (navigation_->AllowClipboardColGrow && col + h.ColCount >= ColCount()) SetColCount(col + h.ColCount);
      if (navigation_->AllowClipboardRowGrow && row + h.RowCount >= RowCount()) SetRowCount(row + h.RowCount);
      rows = RowCount();
      cols = ColCount();
      if (navigation_->ClipboardPasteAction == paInsert) InsertRows(row, h.RowCount);
    }
    LoadCellsFromStream({col, row}, stream);
    const vcl::TGridRect pasted{col, row, col + h.ColCount - 1, row + h.RowCount - 1};
    const bool fromHere = h.ID == static_cast<int64_t>(reinterpret_cast<intptr_t>(this));
    MarkRowsModified(fromHere ? copyOrigin_ : TCellCoord{-1, -1}, pasted, lastWasCopy_);
    AfterPaste();
    return h.ColCount * h.RowCount;
  }
  if (navigation_->AllowRTFClipboard && ClipHas(RichTextFormat())) {
    std::string rich = ClipGet(RichTextFormat());
    rich = rich.substr(0, rich.find('\0'));
    // The cell keeps the rich text; it is drawn and measured through the
    // RTF reader.
    if (col < ColCount() && row < RowCount() && IsCellEditable(col, row)) PasteCell(col, row, rich);
    rows = cols = 1;
    Invalidate();
    return 0;
  }
  return PasteTextAt(col, row, rows, cols, ClipGet(vcl::CF_TEXT));
}

void TVadOdizadEzev::PasteSelectionFromClipboard() {
  RowPasteNotify(0, -1);
  const vcl::TGridRect sel = Selection();
  const vcl::TGridRect wide = WidenToMerges(sel);
  if (!(wide == sel)) SetSelection(wide);
  Integer rows = 0, cols = 0;
  const Integer left = Options().Contains(vcl::goRowSelect) ? FixedCols() : wide.Left;
  // What the paste brought, for the fill: the text's own counts, or one
  // block of the grid format or one rich cell.
  const bool text = !(CanUseFmtClipboard() && ClipHas(GridCellsFormat())) &&
                    !(navigation_->AllowRTFClipboard && ClipHas(RichTextFormat()));
  TSmartFillInput fill;
  fill.Selection = {wide.Left, wide.Top, wide.Right, wide.Bottom};
  if (text) {
    const TPasteCounts c = ClipTextCounts(ParseClipText(ClipGet(vcl::CF_TEXT)));
    fill.PastedCount = c.PastedCount;
    fill.PastedRows = c.PastedRows;
    fill.PastedCols = c.PastedCols;
  }
  fill.Count = PasteFromClipboardAt(left, wide.Top, rows, cols);
  if (!text) {
    fill.PastedCount = std::max<Integer>(fill.Count, 1);
    fill.PastedRows = fill.Count == 0 ? 1 : ReadCellStreamHeader(ClipGet(GridCellsFormat())).RowCount;
    fill.PastedCols = fill.Count == 0 ? 1 : ReadCellStreamHeader(ClipGet(GridCellsFormat())).ColCount;
  }
  if (navigation_->AllowSmartClipboard) {
    TGridPasteHost host(this);
    // Repeated pastes move the current cell; the selection is kept.
    if (SmartFill(host, fill, FloatFormat()) == sfRepaste) SetSelection(wide);
  }
  RowPasteNotify(2, -1);
  CellsLoaded();
  Invalidate();
}

// ===== drag texts =====

AnsiString TVadOdizadEzev::GetSelectionText() {
  vcl::TGridRect r = Selection();
  if (Options().Contains(vcl::goRowSelect) && dragDropSettings_->OleEntireRows) {
    r.Left = 0;
    r.Right = ColCount() - 1;
  }
  AnsiString out;
  bool firstRow = true;
  for (Integer row = r.Top; row <= r.Bottom; ++row) {
    if (mouseActions_->DisjunctRowSelect() && !IsRowMarked(row)) continue;
    if (!firstRow) out += "\r\n";
    firstRow = false;
    for (Integer col = r.Left; col <= r.Right; ++col) {
      AnsiString t = Model().GetDisplayCell(col, row);
      if (IsRichText(t)) t = rtl::RichTextToPlainText(t);
      if (PackMultiLineCells && Multilinecells && LineCount(t, true) > 1) PackLineBreaks(t);
      if (col > r.Left) out += '\t';
      out += t;
    }
  }
  return out;
}

void TVadOdizadEzev::GetTextDimensions(const AnsiString& text, Integer& cols, Integer& lastLine) {
  cols = 0;
  lastLine = -1;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\r', start);
    const bool last = end == AnsiString::npos;
    if (last) end = text.size();
    const std::string_view line(text.data() + start, end - start);
    cols = std::max<Integer>(cols, static_cast<Integer>(std::count(line.begin(), line.end(), '\t')) + 1);
    if (!line.empty()) ++lastLine;
    if (last) break;
    start = end + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
}

// ===== keys and the resizer =====

bool TVadOdizadEzev::ClipboardKey(Word& key, vcl::TShiftState shift) {
  if (!navigation_->AllowClipboardShortCuts || EditorMode()) return false;
  const bool ctrl = shift.Contains(vcl::ssCtrl), shiftKey = shift.Contains(vcl::ssShift);
  enum { none, copy, cut, paste } action = none;
  if (ctrl && !shiftKey && (key == 'C' || key == vcl::VK_INSERT)) action = copy;
  if ((ctrl && !shiftKey && key == 'X') || (shiftKey && !ctrl && key == vcl::VK_DELETE)) action = cut;
  if ((ctrl && !shiftKey && key == 'V') || (shiftKey && !ctrl && key == vcl::VK_INSERT)) action = paste;
  if (action == none) return false;
  bool allow = true;
  if (action == copy) {
    if (OnClipboardCopy) OnClipboardCopy(this, allow);
    if (allow) CopySelectionToClipboard();
  } else if (action == cut) {
    if (OnClipboardCut) OnClipboardCut(this, allow);
    if (allow) CutSelectionToClipboard();
  } else {
    if (OnClipboardPaste) OnClipboardPaste(this, allow);
    if (allow) PasteSelectionFromClipboard();
  }
  key = 0;
  return true;
}

bool TVadOdizadEzev::ResizerPress(Integer x, Integer y) {
  const TRect handle = SelectionResizerHandle();
  if (handle.IsEmpty() || x < handle.Left || x >= handle.Right || y < handle.Top || y >= handle.Bottom) return false;
  resizeOrigin_ = Selection();
  useResizeBuffer_ = true;
  CopySelectionToClipboard();
  useResizeBuffer_ = false;
  resizing_ = true;
  const Integer col = Col(), row = Row();
  // The class library's press puts the grid into its selecting state, in
  // which mouse moves stretch the selection; in an editing grid an editor
  // it opened goes again.
  TBaseGrid::MouseDown(vcl::mbLeft, vcl::TShiftState{vcl::ssLeft}, x, y);
  if (EditorMode()) HideEditor();
  // Dragging stretches the copied block from its top-left corner.
  SetSelection(resizeOrigin_);
  SetCol(col);
  SetRow(row);
  SetSelection(resizeOrigin_);
  TBaseGrid::MouseMove(vcl::TShiftState{vcl::ssLeft}, x, y);
  return true;
}

bool TVadOdizadEzev::ResizerRelease() {
  if (!resizing_) return false;
  const vcl::TGridRect now = Selection();
  if (OnSelectionResize) OnSelectionResize(this, resizeOrigin_, now);
  EditorRequested = true;
  useResizeBuffer_ = true;
  // The copied cells fill the new area through the smart fill, whatever
  // the program set for pastes.
  const bool smart = navigation_->AllowSmartClipboard;
  navigation_->AllowSmartClipboard = true;
  try {
    PasteSelectionFromClipboard();
  } catch (...) {
    navigation_->AllowSmartClipboard = smart;
    useResizeBuffer_ = false;
    EditorRequested = false;
    resizing_ = false;
    throw;
  }
  navigation_->AllowSmartClipboard = smart;
  useResizeBuffer_ = false;
  EditorRequested = false;
  resizing_ = false;
  resizeBuffer_.clear();
  if (OnSelectionResized) OnSelectionResized(this, resizeOrigin_, now);
  return true;
}

}  // namespace grid
