#include "grid/GridComponent.h"
#include "grid/GridCombo.h"
#include "grid/GridEditBtn.h"
#include "grid/GridSpin.h"

#include <algorithm>

#include "controls/LumHintInfo.h"
#include "dropdown/PictureContainer.h"
#include "dropdown/VoeCombo.h"
#include "dropdown/VoeEdit.h"
#include "dropdown/VoeSpin.h"
#include "dropdown/VoeUni.h"
#include "grid/GridPickers.h"
#include "grid/model/GridAdvance.h"
#include "grid/model/HtmlText.h"
#include "grid/model/GridUtils.h"
#include "rtl/DateTime.h"
#include "rtl/Convert.h"
#include "rtl/Format.h"
#include "rtl/Locale.h"
#include "rtl/Strings.h"
#include "rtl/SystemInfo.h"
#include "vcl/ToolTipBalloon.h"
#include "vcl/DateTimePicker.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/Menus.h"
#include "vcl/ImgList.h"
#include "vcl/ScrollBars.h"
#include "vcl/StdCtrls.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace grid {

namespace {

// Holds the grid's committing flag for one write-back, also when the
// validation handlers raise.
class TCommittingFlag {
 public:
  explicit TCommittingFlag(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~TCommittingFlag() { flag_ = old_; }
  TCommittingFlag(const TCommittingFlag&) = delete;
  TCommittingFlag& operator=(const TCommittingFlag&) = delete;

 private:
  bool& flag_;
  bool old_;
};

vcl::TCursor linkCursor = vcl::crDefault;

// The major and minor words of a system library's file version; 0 when it
// has none.
Cardinal FileVersionMS(const char* name) {
  Cardinal handle = 0;
  const Cardinal size = rtl::GetFileVersionInfoSize(name, &handle);
  if (size == 0) return 0;
  std::vector<char> block(size);
  if (!rtl::GetFileVersionInfo(name, handle, size, block.data())) return 0;
  void* info = nullptr;
  Cardinal length = 0;
  if (!rtl::VerQueryValue(block.data(), "\\", &info, &length) || length < sizeof(rtl::VS_FIXEDFILEINFO)) return 0;
  return static_cast<const rtl::VS_FIXEDFILEINFO*>(info)->dwFileVersionMS;
}

Integer MulDiv(Integer value, Integer m, Integer d) {
  return static_cast<Integer>((static_cast<int64_t>(value) * m + (d / 2)) / d);
}

template <class T>
T* Make(TVadOdizadEzev* grid) {
  return new T(grid);
}

// The drop-down library's base controls stand for the grid's editors until
// the cell editor adapters register theirs.
std::vector<TEditorFactory>& EditorFactories() {
  static std::vector<TEditorFactory> table = [] {
    std::vector<TEditorFactory> t(GridEditorControlCount);
    t[static_cast<int>(ecCombo)] = Make<TGridCombo>;
    t[static_cast<int>(ecSpin)] = Make<TGridSpin>;
    t[static_cast<int>(ecTransEdit)] = Make<vcl::TEdit>;
    t[static_cast<int>(ecUniEdit)] = Make<dropdown::TVoeUniEdit>;
    t[static_cast<int>(ecUniMemo)] = Make<dropdown::TVoeUniMemo>;
    t[static_cast<int>(ecUniEditBtn)] = Make<dropdown::TVoeUniEditBtn>;
    t[static_cast<int>(ecUniCombo)] = Make<dropdown::TVOEUniComboBox>;
    t[static_cast<int>(ecDatePicker)] = Make<TGridDatePicker>;
    t[static_cast<int>(ecCheckBox)] = Make<vcl::TCheckBox>;
    t[static_cast<int>(ecEditBtn)] = Make<TGridEditBtn>;
    t[static_cast<int>(ecUnitEditBtn)] = Make<dropdown::TVoeUnitEditBtn>;
    t[static_cast<int>(ecButton)] = Make<vcl::TButton>;
    t[static_cast<int>(ecPopupButton)] = Make<TPopupButton>;
    t[static_cast<int>(ecControlEdit)] = Make<vcl::TEdit>;
    t[static_cast<int>(ecControlCombo)] = Make<dropdown::TVOEComboBox>;
    return t;
  }();
  return table;
}

}  // namespace

void RegisterGridEditorFactory(TGridEditorControl kind, TEditorFactory factory) {
  EditorFactories()[static_cast<int>(kind)] = std::move(factory);
}

bool HasGridEditorFactory(TGridEditorControl kind) {
  return static_cast<bool>(EditorFactories()[static_cast<int>(kind)]);
}

vcl::TCursor TVadOdizadEzev::LinkCursor() { return linkCursor; }

// The validation cycle's questions answered by the grid.
class GridValidationHost : public TValidationHost {
 public:
  explicit GridValidationHost(TVadOdizadEzev* grid) : grid_(grid) {}
  AnsiString EditCellText(Integer col, Integer row) override {
    if (col < 0 || row < 0 || col >= grid_->ColCount() || row >= grid_->RowCount()) return {};
    const TCellCoord base = grid_->Model().BaseCell(col, row);
    return grid_->Model().GetDisplayCell(base.X, base.Y);
  }
  Integer RealColumn(Integer col) override { return grid_->RealColIndex(col); }
  Integer RealRow(Integer row) override { return grid_->Model().RealRowIndex(row); }
  bool AdvanceOnEnter() override { return grid_->navigation_->AdvanceOnEnter; }
  void SetAdvanceOnEnter(bool on) override { grid_->navigation_->AdvanceOnEnter = on; }
  TCellCheck* Checker() override { return grid_->cellChecker_; }
  TUndoRedoRecords* UndoRecords() override { return grid_->UndoRedo(); }
  void CellValidateEvent(Integer col, Integer row, AnsiString& value, bool& valid) override {
    if (grid_->OnCellValidate) grid_->OnCellValidate(grid_, col, row, value, valid);
  }
  void SetGridModified() override { grid_->Modified = true; }
  Integer FixedCols() override { return grid_->FixedCols(); }
  void MarkRowModified(Integer row) override {
    // Marked by real row, so that the mark stays with its row when rows
    // are hidden or shown again.
    const Integer real = grid_->Model().RealRowIndex(row);
    if (!grid_->rowModified_->HasValue(real)) grid_->rowModified_->Add(real);
    if (grid_->showModified_->Enabled) grid_->InvalidateCell(0, row);
  }
  void CellEdited(Integer col, Integer row) override { grid_->CellEdited(col, row); }
  void CellsChanged(Integer col, Integer row) override { grid_->CellsChanged({col, row, col, row}); }
  void StoreCell(Integer col, Integer row, const AnsiString& value) override {
    TGridModel& m = grid_->Model();
    const TCellCoord base = m.BaseCell(col, row);
    m.SetDisplayCell(col, row, value);
    if (base.X != col || base.Y != row) m.SetDisplayCell(base.X, base.Y, value);
    grid_->InvalidateCell(col, row);
  }
  void CloseEditor() override {
    if (grid_->EditorMode()) grid_->HideEditor();
  }
  void ReopenEditor(Integer col, Integer row) override {
    grid_->editorActive_ = false;
    grid_->SetCol(col);
    grid_->SetRow(row);
    grid_->ShowEditor();
    // The refusal explained at the editor.
    if (!grid_->InvalidEntryTitle.empty() || !grid_->InvalidEntryText.empty()) {
      vcl::TControl* at = grid_->activeControl_ != nullptr ? static_cast<vcl::TControl*>(grid_->activeControl_)
                                                           : grid_->InplaceEditor();
      if (at != nullptr)
        vcl::ShowBalloonTip(at, grid_->InvalidEntryTitle, grid_->InvalidEntryText,
                            static_cast<vcl::TBalloonIcon>(static_cast<int>(grid_->InvalidEntryIcon)));
    }
  }
  TCellCoord CurrentCell() override { return {grid_->Col(), grid_->Row()}; }

 private:
  TVadOdizadEzev* grid_;
};

// ===== construction and destruction =====

TVadOdizadEzev::TVadOdizadEzev(vcl::TComponent* owner) : TBaseGrid(owner), selectionMarks_(Model().Marks()) {
  for (auto& c : fixedGradient_) c = clNone;

  rowIndicator_ = std::make_unique<vcl::TBitmap>();
  searchFooter_ = std::make_unique<TSearchFooter>();
  floatingFooter_ = std::make_unique<TFloatingFooter>();
  CreateFloatingFooter();
  CreateSearchPanel();
  printSettings_ = std::make_unique<TPrintSettings>();
  htmlSettings_ = std::make_unique<THTMLSettings>();
  sortSettings_ = std::make_unique<TSortSettings>();
  dragDropSettings_ = std::make_unique<TDragDropSettings>();
  dragScrollOptions_ = std::make_unique<TDragScrollOptions>();
  controlLook_ = std::make_unique<TControlLook>(this);
  controlLook_->OnFixedGradient = [this](TFixedGradientSlot slot, TColor value) { SetFixedGradientColor(slot, value); };
  // The navigation and mouse settings need no notice: their readers ask
  // them when they act.
  navigation_ = std::make_unique<TNavigation>();
  columnSize_ = std::make_unique<TColumnSize>(this);
  columnSize_->OnStretch = [this](Integer) { StretchFromSettings(); };
  cellNode_ = std::make_unique<TCellNode>(this);
  bands_ = std::make_unique<TBands>(this);
  sizeWhileTyping_ = std::make_unique<TSizeWhileTyping>();
  mouseActions_ = std::make_unique<TMouseActions>(this);
  grouping_ = std::make_unique<TGrouping>();
  columnHeaders_ = std::make_unique<rtl::TStringList>();
  columnHeaders_->OnChange = [this](rtl::TStrings*) { WriteColumnHeaders(); };
  pictureCache_ = std::make_unique<dropdown::THTMLPictureCache>();
  validationHost_ = std::make_unique<GridValidationHost>(this);
  validation_ = std::make_unique<TEditValidation>(validationHost_.get());
  richMeasure_ = new TLumRichEdit(this);
  richMeasure_->SetVisible(false);
  filterDropDownValues_ = std::make_unique<TIntList>(-1, -1);
  fixedFont_ = std::make_unique<vcl::TFont>();
  fixedFont_->SetName("Tahoma");
  fixedFont_->SetStyle(vcl::TFontStyles{vcl::fsBold});
  fixedFont_->OnChange = [this](vcl::TObject*) { Invalidate(); };
  activeCellFont_ = std::make_unique<vcl::TFont>();
  activeCellFont_->SetStyle(vcl::TFontStyles{vcl::fsBold});
  activeCellFont_->OnChange = [this](vcl::TObject*) { Invalidate(); };
  rowHeaders_ = std::make_unique<rtl::TStringList>();
  rowHeaders_->OnChange = [this](rtl::TStrings*) { WriteRowHeaders(); };
  lookupHistory_ = std::make_unique<rtl::TStringList>();
  lookupItems_ = std::make_unique<rtl::TStringList>();
  sortIndexes_ = std::make_unique<TSortIndexList>();
  sortList1_ = std::make_unique<TIntList>();
  sortList2_ = std::make_unique<TIntList>();
  Model().AutoMergeColumns().OnChange = [this](TIntList*, Integer, Integer) { Model().ApplyAutoMerge(); };
  disjunctCells_ = std::make_unique<TIntList>();
  rowModified_ = &Model().RowModified();
  Model().MarksByRealRow = [this] { return mouseActions_ && mouseActions_->RowSelectPersistent; };
  backgroundBitmap_ = std::make_unique<vcl::TBitmap>();
  backGround_ = std::make_unique<TBackGround>(this);
  cellControls_ = std::make_unique<TControlList>();
  progressAppearance_ = std::make_unique<TGridProgressAppearance>();
  progressAppearance_->OnChange = [this](vcl::TObject*) { Invalidate(); };

  SetRowCount(10);
  vcl::TControl::SetBounds(Left(), Top(), 400, 250);
  filter_ = std::make_unique<TFilter>();
  SetAutoSize(false);
  balloon_ = std::make_unique<TBalloonSettings>();
  showModified_ = std::make_unique<TShowModified>();
  // The marks are drawn in the first column.
  showModified_->OnChange = [this](vcl::TObject*) { Invalidate(); };

  if (auto* form = dynamic_cast<vcl::TCustomForm*>(owner); form != nullptr) {
    form_ = form;
    formWidth_ = form->Width();
    formHeight_ = form->Height();
    formListener_ = form->AddResizeListener([this](vcl::TCustomForm* f) { FormResized(f); });
  }

  SetFloatFormat("%.2f");
  SetDefaultRowHeight(22);
  Model().SetFixedRowHeight(DefaultRowHeight());
  fixedGradient_[static_cast<int>(fgFrom)] = 0xFFFFFF;
  fixedGradient_[static_cast<int>(fgTo)] = vcl::ColorToRGB(clBtnFace);
  ScrollWidth = vcl::GetSystemMetrics(vcl::SM_CXVSCROLL);

  rtl::OSVERSIONINFO version;
  version.dwOSVersionInfoSize = sizeof(version);
  rtl::GetVersionEx(&version);
  isWinXP_ = version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1);
  isWin7_ = version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 1);
  isVista_ = controls::IsWindowsVistaOrLater();
  newComCtrls_ = (FileVersionMS("COMCTL32.DLL") >> 16) > 5;
  Cardinal lines = 3;
  if (vcl::SystemParametersInfo(vcl::SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) wheelLines_ = static_cast<Integer>(lines);

  columnOrder_ = std::make_unique<TIntList>();
  spareGraphic_ = std::make_unique<TCellGraphic>();
  officeHint_ = std::make_unique<controls::TLumHintInfo>();
  ignoredColumns_ = std::make_unique<TIntList>(-1, -1);
  filterDropDown_ = std::make_unique<TFilterDropDown>();

  CreateEditors();
  linkCursor = vcl::crHandPoint;
}

void TVadOdizadEzev::CreateEditors() {
  // The drop-down editors start in the Windows XP style.
  componentStyle_ = controls::tsWindowsXP;
  for (Integer direction = 0; direction < 4; ++direction) dropArrows_[direction] = new TArrowWindow(this, direction);
  auto& factories = EditorFactories();
  for (int i = 0; i < GridEditorControlCount; ++i) {
    if (!factories[i]) continue;
    vcl::TWinControl* control = factories[i](this);
    // The pickers get their parent once the grid's window exists.
    const auto kind = static_cast<TGridEditorControl>(i);
    if (kind != ecDatePicker && kind != ecDateTimePicker) control->SetParent(this);
    control->SetVisible(false);
    editors_[i] = control;
  }
  // The set-up each kind gets.
  auto xp = [this](auto* c) {
    if (c != nullptr) c->SetIsWinXP(isWinXP_);
  };
  auto noBorder = [](auto* c) {
    if (c != nullptr) c->SetBorderStyle(vcl::bsNone);
  };
  auto disable = [this](TGridEditorControl kind) {
    if (auto* c = EditorControl(kind)) c->SetEnabled(false);
  };
  for (auto kind : {ecCombo, ecSpin, ecUniEdit, ecUniMemo, ecUniEditBtn, ecUniCombo, ecCheckBox, ecEditBtn,
                    ecUnitEditBtn, ecButton, ecPopupButton, ecDatePicker, ecDateTimePicker})
    disable(kind);
  if (auto* picker = dynamic_cast<vcl::TDateTimePicker*>(EditorControl(ecDatePicker))) {
    picker->OnChange = [this](vcl::TObject* s) { DatePickerChanged(static_cast<vcl::TDateTimePicker*>(s)); };
    picker->OnCloseUp = [this](vcl::TObject* s) { DatePickerClosedUp(static_cast<vcl::TDateTimePicker*>(s)); };
    picker->OnDropDown = [this](vcl::TObject* s) { DatePickerDroppedDown(static_cast<vcl::TDateTimePicker*>(s)); };
  }
  if (auto* picker = dynamic_cast<vcl::TDateTimePicker*>(EditorControl(ecDateTimePicker))) {
    picker->OnChange = [this](vcl::TObject* s) { DateTimePickerChanged(static_cast<vcl::TDateTimePicker*>(s)); };
    picker->OnCloseUp = [this](vcl::TObject* s) { DatePickerClosedUp(static_cast<vcl::TDateTimePicker*>(s)); };
  }
  if (auto* c = dynamic_cast<dropdown::TVOEComboBox*>(EditorControl(ecCombo))) c->SetXPLook(isWinXP_);
  if (auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(EditorControl(ecSpin))) {
    spin->SetBorderStyle(vcl::bsNone);
    spin->SetXPLook(isWinXP_);
  }
  noBorder(dynamic_cast<vcl::TEdit*>(EditorControl(ecTransEdit)));
  noBorder(dynamic_cast<dropdown::TVoeUniEdit*>(EditorControl(ecUniEdit)));
  noBorder(dynamic_cast<dropdown::TVoeUniMemo*>(EditorControl(ecUniMemo)));
  if (auto* c = dynamic_cast<dropdown::TVoeUniEditBtn*>(EditorControl(ecUniEditBtn))) {
    c->SetBorderStyle(vcl::bsNone);
    c->SetIsWinXP(isWinXP_);
    c->SetButtonCaption("...");
  }
  xp(dynamic_cast<dropdown::TVOEUniComboBox*>(EditorControl(ecUniCombo)));
  if (auto* c = dynamic_cast<dropdown::TVoeEditBtn*>(EditorControl(ecEditBtn))) {
    c->SetBorderStyle(vcl::bsNone);
    c->SetIsWinXP(isWinXP_);
    c->SetButtonCaption("...");
  }
  if (auto* c = dynamic_cast<dropdown::TVoeUnitEditBtn*>(EditorControl(ecUnitEditBtn))) {
    c->SetBorderStyle(vcl::bsNone);
    c->SetButtonCaption("...");
  }
  for (auto*& bar : scrollBarControls_) {
    bar = new vcl::TScrollBar(this);
    bar->SetVisible(false);
  }
}

TVadOdizadEzev::~TVadOdizadEzev() {
  // The collapsed rows go back into the grid before it goes, so whatever
  // frees the rows sees every one of them. Only the model moves: the view,
  // its events and the footers have nothing left to show.
  if (HasNodes()) {
    TRowNodes& n = *rowNodes_;
    n.BeginExpand = n.EndExpand = n.FootersChanged = n.Invalidate = nullptr;
    n.EndEdit = nullptr;
    n.ExpandAll();
  }
  SaveColumnSizesAtDestruction();
  // Only our own listener goes: the form's handler and the other grids'
  // listeners stay as they are.
  if (form_ != nullptr && formListener_ != 0) form_->RemoveResizeListener(formListener_);
  form_ = nullptr;
  Model().AutoMergeColumns().OnChange = nullptr;
  columnHeaders_->OnChange = nullptr;
  rowHeaders_->OnChange = nullptr;
  fixedFont_->OnChange = nullptr;
  activeCellFont_->OnChange = nullptr;
  // The editor controls are components of the grid and go with it.
}

void TVadOdizadEzev::FormResized(vcl::TCustomForm* form) {
  if (ComponentState().Contains(vcl::csDestroying) || ComponentState().Contains(vcl::csDesigning)) return;
  if (SizeWithForm && form != nullptr) {
    const Integer w = Width() + form->Width() - formWidth_;
    const Integer h = Height() + form->Height() - formHeight_;
    if (w > 0 && h > 0) {
      SetBounds(Left(), Top(), w, h);
      formWidth_ = form->Width();
      formHeight_ = form->Height();
    }
  }
  if (columnSize_->Stretch()) StretchFromSettings();
}

void TVadOdizadEzev::DatePickerChanged(vcl::TDateTimePicker* picker) {
  if (!OnEditChange) return;
  const AnsiString text =
      picker->Kind() == vcl::dtkTime ? rtl::TimeToStr(picker->Time()) : rtl::DateToStr(picker->Date());
  OnEditChange(this, Col(), Row(), text);
}

void TVadOdizadEzev::DateTimePickerChanged(vcl::TDateTimePicker* picker) {
  if (OnDateTimeChange) OnDateTimeChange(this, Col(), Row(), picker->DateTime());
}

void TVadOdizadEzev::DatePickerClosedUp(vcl::TDateTimePicker* picker) {
  if (OnDatePickerCloseUp) OnDatePickerCloseUp(this, Row(), Col());
  if (!mouseActions_->DirectDateClose) return;
  if (editorActive_ && activeControl_ == picker) {
    // The edit the picker stands for ends, its text going into the cell.
    HideCellEditor();
  } else if (picker->Visible()) {
    picker->SetVisible(false);
    picker->SetEnabled(false);
    if (CanFocus()) SetFocus();
  }
}

void TVadOdizadEzev::DatePickerDroppedDown(vcl::TDateTimePicker* picker) {
  if (auto* datePicker = dynamic_cast<TGridDatePicker*>(picker)) {
    // Each drop shows a fresh calendar: only the bits the settings ask for.
    picker->SetCalendarStyle(datePicker->CalendarStyleBits());
    const vcl::TPoint size = picker->CalendarMinReqSize();
    picker->SetCalendarSize(size.X + 2, size.Y + 2);
  }
  if (OnDatePickerDropDown) OnDatePickerDropDown(this, Row(), Col());
}

// ===== loading, window, resizing =====

void TVadOdizadEzev::Loaded() {
  TBaseGrid::Loaded();
  restoreCursor_ = cursor_;
  WriteColumnHeaders();
  WriteRowHeaders();
  if (look_ == glRUZ) {
    look_ = glCustom;
    SetLook(glRUZ);
  }
  Model().RememberLoadedDimensions();
  Model().SetLargestRowCount(std::max(Model().LargestRowCount(), RowCount()));
  gridLoaded_ = true;
  if (AutoThemeAdapt) AdaptToTheme();
  RememberColumnSizes();
  if (columnSize_->Save) LoadColumnSizes();
  auto options = Options();
  if (options.Contains(vcl::goAlwaysShowEditor)) {
    options.Exclude(vcl::goAlwaysShowEditor);
    SetOptions(options);
    navigation_->AlwaysEdit = true;
  }
  if (!isWinXP_ && controlLook_->ControlStyle() == csTheme && !ComponentState().Contains(vcl::csDesigning))
    controlLook_->SetControlStyle(csClassic);
  ShowAlwaysScrollBars();
  columnOrder_->Clear();
  for (Integer c = 0; c < ColCount(); ++c) columnOrder_->Insert(c, c);
}

void TVadOdizadEzev::Dispatch(vcl::TMessage& message) {
  // The numeric keypad's decimal key (key data bit 22) types the locale's
  // decimal separator.
  if (message.Msg == vcl::WM_CHAR && ExcelStyleDecimalSeparator && message.WParam == '.' &&
      (message.LParam & 0x400000) != 0)
    message.WParam = static_cast<vcl::WPARAM>(static_cast<unsigned char>(rtl::FormatSettings().DecimalSeparator));
  if (message.Msg == vcl::WM_CHAR) {
    // An HTML cell's own controls take the typing, not the cell.
    const AnsiString text = GetCurrentCellRawText();
    if (GetTextKind(text, EnableHTML) == TTextKind::tkHTML &&
        rtl::UpperCase(text).find("<CONTROL") != std::string::npos) {
      message.Result = 1;
      return;
    }
    // Typing edits on demand a cell the owner lets be edited.
    if (mouseActions_->EditOnDblClickOnly()) {
      bool canEdit = true;
      CheckCanEdit(RealColIndex(Col()), Row(), canEdit);
      if (canEdit && !Options().Contains(vcl::goEditing)) {
        auto options = Options();
        options.Include(vcl::goEditing);
        SetOptions(options);
      }
    }
    // Ctrl+C, Ctrl+V and Ctrl+X did their work as keys.
    if (navigation_->AllowClipboardShortCuts && vcl::GetKeyState(vcl::VK_CONTROL) < 0 &&
        (message.WParam == 3 || message.WParam == 22 || message.WParam == 24)) {
      message.Result = 0;
      return;
    }
  }
  if (message.Msg == vcl::CM_DIALOGCHAR) {
    // Answered only for the search footer's buttons; the form takes
    // every other character.
    message.Result = SearchFooterAccelerator(static_cast<Word>(message.WParam)) ? 1 : 0;
    if (message.Result != 0) return;
  }
  if (message.Msg == vcl::WM_TIMER && message.WParam == GridTimerId) {
    if (navigation_->AutoGotoIncremental && lookupExpiry_.Tick()) lookupText_.clear();
    GridTimerTick();
  }
  if (message.Msg == GridEditDoneMessage) {
    const auto col = static_cast<Integer>(message.WParam);
    const auto row = static_cast<Integer>(message.LParam);
    if (OnEditCellDone) OnEditCellDone(this, col, row);
    if (mouseActions_->EditOnDblClickOnly()) {
      HideCellEditor();
      editorActive_ = false;
      auto options = Options();
      options.Exclude(vcl::goEditing);
      SetOptions(options);
    }
    return;
  }
  if (message.Msg == vcl::WM_SETFOCUS) {
    FocusGained(message);
    return;
  }
  if (message.Msg == vcl::WM_KILLFOCUS) {
    FocusLost(message);
    return;
  }
  TBaseGrid::Dispatch(message);
  // Typed characters reach a grid that looks rows up or does not edit.
  if (message.Msg == vcl::WM_GETDLGCODE && (navigation_->AutoGotoWhenSorted || !Options().Contains(vcl::goEditing)))
    message.Result |= vcl::DLGC_WANTCHARS;
  if (message.Msg == vcl::WM_CREATE && !ComponentState().Contains(vcl::csDestroying)) WindowCreated();
  if (message.Msg == vcl::WM_THEMECHANGED && AutoThemeAdapt) {
    AdaptToTheme();
    Invalidate();
  }
}

void TVadOdizadEzev::WindowCreated() {
  if (Parent() == nullptr) return;
  if (!ComponentState().Contains(vcl::csDesigning)) {
    for (auto kind : {ecDatePicker, ecDateTimePicker})
      if (auto* picker = EditorControl(kind)) picker->SetParent(this);
    for (auto* bar : scrollBarControls_) {
      if (bar == nullptr) continue;
      bar->SetVisible(false);
      bar->SetParent(this);
      bar->SetTabStop(false);
      bar->SetKind(vcl::sbVertical);
      bar->SetCtl3D(false);
    }
  }
  // The grid's own clock: lookups expire, hovering and blinking follow it.
  vcl::SetTimer(Handle(), GridTimerId, 500);
  // The XP look stays on only while visual styles are in use.
  isWinXP_ = isWinXP_ && vcl::IsThemeActive();
  if (columnSize_->Save) LoadColumnSizes();
  PlaceFloatingFooter();
  PlaceSearchPanel();
}

void TVadOdizadEzev::Resize() {
  GridResized();
  TBaseGrid::Resize();
  ShowAlwaysScrollBars();
}

void TVadOdizadEzev::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  const Integer rowHeight = DefaultRowHeight();
  if (IntegralHeight && rowHeight > 0 && !ComponentState().Contains(vcl::csUpdating)) {
    const Integer s = VisibleColCount() + TBaseGrid::FixedCols() < ColCount()
                          ? vcl::GetSystemMetrics(vcl::SM_CYHSCROLL)
                          : 0;
    const Integer b = BorderStyle() == vcl::TGridBorderStyle::bsSingle ? 2 : 0;
    Integer rest = (height - s - b) % rowHeight;
    if (rest < 0) rest += rowHeight;
    height = height + b - rest;
  }
  TBaseGrid::SetBounds(left, top, width, height);
}

void TVadOdizadEzev::ShowAlwaysScrollBars(bool hide) {
  // The class library grid shows a bar exactly while its content does not
  // fit, so a bar asked for always stays only as the style allows it.
  if (ScrollBarAlways == saNone && !hide) return;
  auto bars = ScrollBars();
  const bool wantVert = ScrollBarAlways == saVert || ScrollBarAlways == saBoth;
  const bool wantHorz = ScrollBarAlways == saHorz || ScrollBarAlways == saBoth;
  if (ScrollBarAlways == saNone) return;
  const bool vert = wantVert || bars == vcl::ssVertical || bars == vcl::ssBoth;
  const bool horz = wantHorz || bars == vcl::ssHorizontal || bars == vcl::ssBoth;
  const auto style = vert && horz ? vcl::ssBoth : vert ? vcl::ssVertical : horz ? vcl::ssHorizontal : vcl::ssNone;
  if (style != bars) SetScrollBars(style);
}

void TVadOdizadEzev::ChangeScale(Integer m, Integer d) {
  if (d == 0) return;
  SetDefaultRowHeight(MulDiv(DefaultRowHeight(), m, d));
  if (ComponentState().Contains(vcl::csDesigning) || m == d) return;
  fixedFont_->SetSize(MulDiv(fixedFont_->Size(), m, d));
  activeCellFont_->SetSize(MulDiv(activeCellFont_->Size(), m, d));
}

void TVadOdizadEzev::Invalidate() {
  if (skipRepaint_) {
    skipRepaint_ = false;
    return;
  }
  TBaseGrid::Invalidate();
}

// ===== dimensions =====

void TVadOdizadEzev::SetRowCount(Integer value) {
  const Integer oldCount = RowCount();
  // The floating footer shows the last row: its texts move with it.
  std::vector<AnsiString> footerTexts;
  const bool moveFooter = floatingFooter_ != nullptr && floatingFooter_->Visible;
  if (moveFooter)
    for (Integer c = 0; c < ColCount(); ++c) footerTexts.push_back(Model().GetRawCell(c, oldCount - 1));
  TBaseGrid::SetRowCount(value);
  const Integer newCount = RowCount();
  if (moveFooter && newCount != oldCount) {
    for (Integer c = 0; c < ColCount(); ++c) Model().SetRawCell(c, newCount - 1, footerTexts[c]);
    if (oldCount - 1 < newCount - 1) {
      Model().ClearCellProperties(0, oldCount - 1, ColCount() - 1, oldCount - 1);
      for (Integer c = 0; c < ColCount(); ++c) Model().SetRawCell(c, oldCount - 1, AnsiString());
    }
    Invalidate();
  }
  ShowAlwaysScrollBars();
}

void TVadOdizadEzev::SetColCount(Integer value) {
  TBaseGrid::SetColCount(value);
  // The bounds again, so that an integral height counts the new bar.
  SetBounds(Left(), Top(), Width(), Height());
  ShowAlwaysScrollBars();
}

void TVadOdizadEzev::SetFixedColWidth(Integer value) { Model().SetFixedColWidth(value); }
void TVadOdizadEzev::SetFixedRowHeight(Integer value) { Model().SetFixedRowHeight(value); }
void TVadOdizadEzev::SetFixedFooters(Integer value) { Model().SetFixedFooters(value); }
void TVadOdizadEzev::SetFixedRightCols(Integer value) { Model().SetFixedRightCols(value); }

void TVadOdizadEzev::SetWordWrap(bool value) {
  Model().SetWordWrap(value);
  if (InplaceEditor() != nullptr) InplaceEditor()->SetWordWrap(value);
}

void TVadOdizadEzev::SetVAlignment(TVAlignment value) {
  vAlignment_ = value;
  vAlignmentFlag_ = value == vtaCenter ? 4 : value == vtaBottom ? 8 : 0;
  if (!ComponentState().Contains(vcl::csUpdating)) Invalidate();
}

void TVadOdizadEzev::SetMaxEditLength(Integer value) {
  maxEditLength_ = value;
  if (InplaceEditor() != nullptr) InplaceEditor()->SetMaxLength(value);
}

void TVadOdizadEzev::SetAutoSize(bool value) {
  autoSize_ = value;
  if (value && !ComponentState().Contains(vcl::csLoading)) AutoSizeColumns(false, 10);
}

void TVadOdizadEzev::SetGridImages(vcl::TImageList* value) {
  if (value == gridImages_) return;
  if (gridImages_ != nullptr) gridImages_->RemoveFreeNotification(this);
  gridImages_ = value;
  if (gridImages_ != nullptr) gridImages_->FreeNotification(this);
  Invalidate();
}

void TVadOdizadEzev::SetFixedDropDownMenu(vcl::TPopupMenu* value) {
  if (value == fixedDropDownMenu_) return;
  if (fixedDropDownMenu_ != nullptr) fixedDropDownMenu_->RemoveFreeNotification(this);
  fixedDropDownMenu_ = value;
  if (fixedDropDownMenu_ != nullptr) fixedDropDownMenu_->FreeNotification(this);
}

void TVadOdizadEzev::SetRowIndicator(const vcl::TBitmap* value) {
  rowIndicator_->Assign(value);
  Invalidate();
}

void TVadOdizadEzev::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  if (operation == vcl::TOperation::opRemove) {
    if (component == gridImages_) gridImages_ = nullptr;
    if (component == cellChecker_) cellChecker_ = nullptr;
    if (component == fixedDropDownMenu_) fixedDropDownMenu_ = nullptr;
  }
  TBaseGrid::Notification(component, operation);
}

void TVadOdizadEzev::SetFlat(bool value) {
  flat_ = value;
  if (!ComponentState().Contains(vcl::csLoading)) Invalidate();
}

void TVadOdizadEzev::SetOfficeHint(const controls::TLumHintInfo* value) { officeHint_->Assign(value); }

void TVadOdizadEzev::SetCursor(vcl::TCursor value) {
  cursor_ = value;
  restoreCursor_ = value;
  vcl::TWinControl::SetCursor(value);
}

// ===== current cell =====

void TVadOdizadEzev::SetCurrentRow(Integer row) {
  SetRow(row);
  if (Row() != lastReportedRow_ && OnRowUpdate) {
    OnRowUpdate(this, lastReportedRow_, Row());
    lastReportedRow_ = Row();
  }
}

vcl::TRect TVadOdizadEzev::GetUsedCellsRect() {
  vcl::TRect r{0, 0, 0, 0};
  bool any = false;
  for (Integer row = 0; row < RowCount(); ++row)
    for (Integer col = 0; col < ColCount(); ++col) {
      if (Model().GetDisplayCell(col, row).empty()) continue;
      if (!any) {
        r = {col, row, col, row};
        any = true;
        continue;
      }
      r.Left = std::min(r.Left, col);
      r.Top = std::min(r.Top, row);
      r.Right = std::max(r.Right, col);
      r.Bottom = std::max(r.Bottom, row);
    }
  return r;
}

// ===== look =====

void TVadOdizadEzev::SetLook(TGridLook value) { ApplyLook(value); }

void TVadOdizadEzev::SetActiveCellShow(bool value) { SetRepainting(activeCellShow_, value); }
void TVadOdizadEzev::SetActiveCellColor(TColor value) { SetRepainting(activeCellColor_, value); }
void TVadOdizadEzev::SetActiveCellColorTo(TColor value) { SetRepainting(activeCellColorTo_, value); }

void TVadOdizadEzev::SetFixedGradientColor(TFixedGradientSlot slot, TColor value) {
  SetRepainting(fixedGradient_[static_cast<int>(slot)], value);
}

void TVadOdizadEzev::SetComponentStyle(controls::REZORuvar style) { StyleComponent(style); }

// ===== headers =====

void TVadOdizadEzev::WriteColumnHeaders() {
  if (FixedRows() == 0 || Model().RowCount() == 0) return;
  const Integer columns = ColCount() + Model().NumHiddenColumns();
  for (Integer i = 0; i < columnHeaders_->Count() && i < columns && i < ColCount(); ++i)
    SetCells(i, 0, HeaderCellText((*columnHeaders_)[i]));
}

void TVadOdizadEzev::WriteRowHeaders() {
  if (FixedCols() == 0 || Model().ColCount() == 0) return;
  for (Integer i = 0; i < rowHeaders_->Count() && i < RowCount(); ++i)
    SetCells(0, i, HeaderCellText((*rowHeaders_)[i]));
}

void TVadOdizadEzev::SetColumnHeaders(const rtl::TStrings* value) {
  auto onChange = std::move(columnHeaders_->OnChange);
  columnHeaders_->OnChange = nullptr;
  columnHeaders_->Assign(*value);
  columnHeaders_->OnChange = std::move(onChange);
  if (FixedRows() > 0)
    for (Integer c = 0; c < ColCount(); ++c) SetCells(c, 0, "");
  WriteColumnHeaders();
}

void TVadOdizadEzev::SetRowHeaders(const rtl::TStrings* value) {
  auto onChange = std::move(rowHeaders_->OnChange);
  rowHeaders_->OnChange = nullptr;
  rowHeaders_->Assign(*value);
  rowHeaders_->OnChange = std::move(onChange);
  // Only a designed grid empties its column 0 first.
  if (ComponentState().Contains(vcl::csDesigning) && FixedCols() > 0)
    for (Integer r = 0; r < RowCount(); ++r) SetCells(0, r, "");
  WriteRowHeaders();
}

AnsiString TVadOdizadEzev::Version() const {
  // 5.0.6.0, high byte first.
  constexpr Cardinal number = 0x05000600;
  return rtl::IntToStr(static_cast<Integer>(number >> 24)) + "." +
         rtl::IntToStr(static_cast<Integer>((number >> 16) & 0xFF)) + "." +
         rtl::IntToStr(static_cast<Integer>((number >> 8) & 0xFF)) + "." +
         rtl::IntToStr(static_cast<Integer>(number & 0xFF));
}

void TVadOdizadEzev::MarkTextInCells(bool wholeGrid, bool matchCase, const AnsiString& text) {
  const TMarkRange range = wholeGrid ? TMarkRange{0, 0, ColCount() - 1, RowCount() - 1}
                                     : TMarkRange{FixedCols(), FixedRows(), ColCount() - FixedRightCols() - 1,
                                                  RowCount() - FixedFooters() - 1};
  cellMarks_.Mark(Model(), range, matchCase, text);
  Invalidate();
}

void TVadOdizadEzev::UnmarkTextInCells(bool wholeGrid) {
  const TMarkRange range = wholeGrid ? TMarkRange{0, 0, ColCount() - 1, RowCount() - 1}
                                     : TMarkRange{FixedCols(), FixedRows(), ColCount() - FixedRightCols() - 1,
                                                  RowCount() - FixedFooters() - 1};
  cellMarks_.Unmark(Model(), range);
  Invalidate();
}

void TVadOdizadEzev::GetDisplText(Integer col, Integer row, AnsiString& value) {
  TBaseGrid::GetDisplText(col, row, value);
  if (URLShowInText) {
    for (const char* prefix : {"HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FILE://", "FTP://"}) {
      AnsiString linked;
      if (LinkifyURL(value, prefix, linked)) {
        value = linked;
        break;
      }
    }
  }
  if (grouping_->ShowGroupCount && col == 1 && IsNode(row)) {
    const TCellGraphic* node = Model().CellGraphic(0, row);
    const Integer count = node->CellIndex - node->CellErrFrom - 1;
    value += grouping_->GroupCountFormat.empty() ? " (" + rtl::IntToStr(count) + ")"
                                                 : rtl::Format(grouping_->GroupCountFormat, {count});
  }
}

// ===== the operations that ask the events =====

void TVadOdizadEzev::CanEditCell(Integer col, Integer row, bool& canEdit) {
  if (OnCanEditCell) OnCanEditCell(this, row, col, canEdit);
}

void TVadOdizadEzev::GridHint(Integer col, Integer row, AnsiString& hint, WideString& wideHint) {
  if (OnGridHint) OnGridHint(this, row, col, hint);
  rtl::TStringList notes;
  notes.SetText(hint);
  officeHint_->SetNotes(&notes);
  if (OnGridWideHint) OnGridWideHint(this, row, col, wideHint);
  if (!wideHint.empty()) hint = EncodeWideText(wideHint);
  if (OnOfficeHint) OnOfficeHint(this, col, row, officeHint_.get());
}

void TVadOdizadEzev::GetCellColor(Integer col, Integer row, TGridDrawState state, vcl::TBrush* brush,
                                  vcl::TFont* font) {
  if (activeCellShow_) {
    const Integer fixedCols = FixedCols();
    const Integer fixedRows = FixedRows();
    const bool headsRow = row == Row() && DisplColIndex(col) == fixedCols - 1 && fixedCols > 0;
    const bool headsCol = DisplColIndex(col) == Col() && row == fixedRows - 1 && fixedRows > 0;
    if (headsRow || headsCol) {
      font->Assign(activeCellFont_.get());
      brush->SetColor(activeCellColor_);
    }
  }
  if (Model().HasCellProperties(col, row)) {
    const TCellProperties& p = Model().CellProperties(col, row);
    const TCellType type = p.Graphic() ? p.Graphic()->CellType : ctNone;
    const bool brushed = type == ctIcon || type == ctNone || type == ctImageList || type == ctEmpty ||
                         type == ctImages || type == ctComment;
    if (brushed && p.BrushColor() != clNone) brush->SetColor(p.BrushColor());
    if (p.FontColor != clNone) font->SetColor(p.FontColor);
    if (!p.FontStyle.Empty()) font->SetStyle(vcl::TFontStyles::FromBits(p.FontStyle.Bits()));
    if (p.FontSize != 0) font->SetSize(p.FontSize);
    if (!p.FontName.empty()) font->SetName(p.FontName);
  }
  if (OnGetCellColor) OnGetCellColor(this, row, col, state, brush, font);
}

void TVadOdizadEzev::GetCellPrintColor(Integer col, Integer row, TGridDrawState state, vcl::TBrush* brush,
                                       vcl::TFont* font) {
  if (OnGetCellPrintColor) OnGetCellPrintColor(this, row, col, state, brush, font);
}

void TVadOdizadEzev::GetCellBorder(Integer col, Integer row, vcl::TPen* pen, TCellBorders& borders) {
  // Grouping's lines: under header rows, over summary rows (not in the
  // node column).
  if (col > 0 && rowNodes_) {
    if (grouping_->HeaderUnderline && IsNode(row)) {
      borders = TCellBorders{cbBottom};
      pen->SetColor(grouping_->HeaderLineColor);
      pen->SetWidth(grouping_->HeaderLineWidth);
    }
    if (grouping_->SummaryLine && rowNodes_->IsSummary(row)) {
      borders = TCellBorders{cbTop};
      pen->SetColor(grouping_->SummaryLineColor);
      pen->SetWidth(grouping_->SummaryLineWidth);
    }
  }
  if (OnGetCellBorder) OnGetCellBorder(this, row, col, pen, borders);
}

void TVadOdizadEzev::GetCellPrintBorder(Integer col, Integer row, vcl::TPen* pen, TCellBorders& borders) {
  if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, row, col, pen, borders);
}

void TVadOdizadEzev::GetAlignment(Integer col, Integer row, TAlignment& hAlign, TVAlignment& vAlign) {
  if (col == 0 && mouseActions_->HotmailRowSelect()) hAlign = taCenter;
  if (OnGetAlignment) OnGetAlignment(this, row, col, hAlign, vAlign);
}

void TVadOdizadEzev::GetEditorType(Integer col, Integer row, TEditorType& editor) {
  if (OnGetEditorType) OnGetEditorType(this, col, row, editor);
}

void TVadOdizadEzev::GetCellEditorType(Integer col, Integer row, TEditorType& editor) {
  if (OnGetEditorType) OnGetEditorType(this, col, row, editor);
}

void TVadOdizadEzev::GetFormat(Integer col, TSortStyle& style, AnsiString& prefix, AnsiString& suffix) {
  if (OnGetFormat) OnGetFormat(this, col, style, prefix, suffix);
}

void TVadOdizadEzev::SearchFooterAction(const AnsiString& value, Integer col, Integer row, TSearchAction action) {
  if (OnSearchFooterAction) OnSearchFooterAction(this, value, col, row, action);
}

void TVadOdizadEzev::IsFixedCell(Integer col, Integer row, bool& isFixed) {
  isFixed = isFixed || Model().IsFixedByCount(col, row);
  if (!isFixed && OnIsFixedCell) OnIsFixedCell(this, row, col, isFixed);
}

bool TVadOdizadEzev::IsFixed(Integer col, Integer row) {
  bool fixed = false;
  IsFixedCell(col, row, fixed);
  return fixed;
}

void TVadOdizadEzev::CheckCanEdit(Integer col, Integer row, bool& canEdit) {
  const TCellCoord base = Model().BaseCell(col, row);
  if (Model().HasCellProperties(base.X, base.Y) && canEdit) {
    canEdit = !Model().CellProperties(base.X, base.Y).ReadOnly;
    if (!Options().Contains(vcl::goEditing) && !EditorRequested && !mouseActions_->RangeSelectAndEdit)
      canEdit = false;
  }
  CanEditCell(base.X, base.Y, canEdit);
}

void TVadOdizadEzev::IsPasswordCell(Integer col, Integer row, bool& isPassword) {
  if (OnIsPasswordCell) OnIsPasswordCell(this, row, col, isPassword);
}

void TVadOdizadEzev::GetWordWrap(Integer col, Integer row, bool& wordWrap) {
  if (OnGetWordWrap) OnGetWordWrap(this, col, row, wordWrap);
}

bool TVadOdizadEzev::HasComboBox(Integer col, Integer row) {
  bool has = false;
  if (OnHasComboBox) {
    OnHasComboBox(this, col, row, has);
    return has;
  }
  if (!controlLook_->DropDownAlwaysVisible()) return false;
  TEditorType editor = DefaultEditor;
  GetCellEditorType(col, row, editor);
  return editor == edComboEdit || editor == edComboList || editor == edUniComboEdit || editor == edUniComboList;
}

bool TVadOdizadEzev::HasSpinEdit(Integer col, Integer row) {
  if (col < FixedCols() || row < FixedRows()) return false;
  bool has = false;
  if (OnHasSpinEdit) {
    OnHasSpinEdit(this, col, row, has);
    return has;
  }
  if (!controlLook_->SpinButtonsAlwaysVisible()) return false;
  TEditorType editor = DefaultEditor;
  GetEditorType(col, row, editor);
  return editor == edSpinEdit || editor == edFloatSpinEdit || editor == edTimeSpinEdit || editor == edDateSpinEdit;
}

void TVadOdizadEzev::GetCheckTrue(Integer col, Integer row, AnsiString& value) {
  value = checkTrue_;
  if (OnGetCheckTrue) OnGetCheckTrue(this, col, row, value);
}

void TVadOdizadEzev::GetCheckFalse(Integer col, Integer row, AnsiString& value) {
  value = checkFalse_;
  if (OnGetCheckFalse) OnGetCheckFalse(this, col, row, value);
}

void TVadOdizadEzev::CanAddRow(bool& canAdd) {
  if (OnCanAddRow) OnCanAddRow(this, canAdd);
}

void TVadOdizadEzev::CanInsertRow(Integer row, bool& canInsert) {
  if (OnCanInsertRow) OnCanInsertRow(this, row, canInsert);
}

AnsiString TVadOdizadEzev::GetEditMask(Integer col, Integer row) {
  AnsiString mask;
  if (OnGetEditMask) OnGetEditMask(this, col, row, mask);
  return mask;
}

vcl::TCustomForm* TVadOdizadEzev::ParentForm(vcl::TControl* control) {
  for (vcl::TControl* c = control; c != nullptr; c = c->Parent())
    if (auto* form = dynamic_cast<vcl::TCustomForm*>(c)) return form;
  return nullptr;
}

// ===== shown text =====

void TVadOdizadEzev::GetFormattedCell(Integer col, Integer row, AnsiString& text) {
  text = Model().GetDisplayCell(col, row);
  if (!OnGetFloatFormat || GetNumberKind(text) == TNumberKind::nkNone) return;
  AnsiString format = FloatFormat();
  bool isFloat = true;
  OnGetFloatFormat(this, col, row, isFloat, format);
  if (!isFloat) return;
  try {
    if (format.find('d') != AnsiString::npos)
      text = rtl::Format(format, {Model().IntegerCells(col, row)});
    else
      text = rtl::Format(format, {Model().FloatCells(col, row)});
  } catch (const rtl::Exception&) {
    // The display text stays.
  }
}

void TVadOdizadEzev::GetFilterCellText(Integer col, Integer row, AnsiString& text) {
  text = Model().GetDisplayCell(col, row);
}

void TVadOdizadEzev::ResolveCellAlignment(Integer col, Integer row, TAlignment& hAlign, TVAlignment& vAlign) {
  vAlign = vAlignment_;
  hAlign = taLeftJustify;
  if (AutoNumAlign) {
    AnsiString text;
    GetFilterCellText(col, row, text);
    if (GetNumberKind(rtl::Trim(text)) != TNumberKind::nkNone) hAlign = taRightJustify;
  } else if (Model().HasCellProperties(col, row)) {
    hAlign = Model().CellProperties(col, row).Alignment;
  }
  GetAlignment(col, row, hAlign, vAlign);
}

// ===== navigation =====

bool TVadOdizadEzev::IsCellEditable(Integer col, Integer row) {
  if (!Options().Contains(vcl::goEditing) && !mouseActions_->RangeSelectAndEdit && !EditorRequested) return false;
  const TCellCoord base = Model().BaseCell(col, row);
  bool canEdit = true;
  CheckCanEdit(base.X, base.Y, canEdit);
  bool fixed = false;
  IsFixedCell(DisplColIndex(base.X), base.Y, fixed);
  return canEdit && !fixed;
}

bool TVadOdizadEzev::IsFixedForNavigation(Integer col, Integer row) {
  const TCellCoord base = Model().BaseCell(col, row);
  const Integer displayCol = DisplColIndex(base.X);
  if (base.Y >= RowCount() - FixedFooters()) return true;
  if (displayCol >= ColCount() - FixedRightCols() && displayCol < ColCount()) return true;
  bool fixed = false;
  IsFixedCell(displayCol, base.Y, fixed);
  return fixed;
}

Integer TVadOdizadEzev::FirstNavigableColumn() { return FixedCols() > 0 || !HasNodes() ? FixedCols() : 1; }

namespace {

// The Enter walk's questions answered by the grid.
class EnterHost : public TEnterAdvanceHost {
 public:
  explicit EnterHost(TVadOdizadEzev* grid) : grid_(grid) {}
  TAdvanceShape Shape() const override {
    TAdvanceShape s;
    s.ColCount = grid_->ColCount();
    s.RowCount = grid_->RowCount();
    s.FixedCols = grid_->FixedCols();
    s.FixedRows = grid_->FixedRows();
    s.FixedFooters = grid_->FixedFooters();
    s.FixedRightCols = grid_->FixedRightCols();
    s.VisibleFixedRightCols = grid_->VisibleFixedRightCols();
    s.FirstNavigableColumn = grid_->FirstNavigableColumn();
    return s;
  }
  TCellCoord Span(TCellCoord cell) const override { return grid_->Model().CellSpan(cell.X, cell.Y); }
  bool CanEdit(TCellCoord cell) override {
    bool can = true;
    grid_->CheckCanEdit(grid_->RealColIndex(cell.X), cell.Y, can);
    return can;
  }
  bool AppendRow() override {
    bool canAdd = true;
    grid_->CanAddRow(canAdd);
    if (!canAdd) return false;
    grid_->SetRowCount(grid_->RowCount() + 1);
    if (grid_->OnAutoAddRow) grid_->OnAutoAddRow(grid_, grid_->RowCount() - grid_->FixedFooters() - 1);
    return true;
  }
  void AppendColumn() override {
    grid_->SetColCount(grid_->ColCount() + 1);
    if (grid_->OnAutoInsertCol) grid_->OnAutoInsertCol(grid_, grid_->ColCount() - grid_->FixedRightCols() - 1);
  }

 private:
  TVadOdizadEzev* grid_;
};

class TabHost : public TTabAdvanceHost {
 public:
  explicit TabHost(TVadOdizadEzev* grid) : grid_(grid), enter_(grid) {}
  TAdvanceShape Shape() const override { return enter_.Shape(); }
  TCellCoord Span(TCellCoord cell) const override { return grid_->Model().CellSpan(cell.X, cell.Y); }
  bool IsBaseCell(TCellCoord cell) const override { return grid_->Model().IsBaseCellAt(cell.X, cell.Y); }
  TCellCoord BaseCell(TCellCoord cell) const override { return grid_->Model().BaseCell(cell.X, cell.Y); }
  bool IsTabStop(TCellCoord cell) override {
    if (grid_->Options().Contains(vcl::goEditing)) return CanEdit(cell);
    return !grid_->IsFixedForNavigation(cell.X, cell.Y);
  }
  bool CanEdit(TCellCoord cell) override { return grid_->IsCellEditable(grid_->RealColIndex(cell.X), cell.Y); }
  bool AllowRowChange(TCellCoord from, TCellCoord to) override {
    bool allow = true;
    if (grid_->OnRowChanging) grid_->OnRowChanging(grid_, from.Y, to.Y, allow);
    if (grid_->OnCellChanging) grid_->OnCellChanging(grid_, from.Y, from.X, to.Y, to.X, allow);
    if (grid_->OnColChanging) grid_->OnColChanging(grid_, from.X, to.X, allow);
    return allow;
  }
  Integer AppendRow() override {
    bool canAdd = true;
    grid_->CanAddRow(canAdd);
    if (!canAdd) return -1;
    grid_->SetRowCount(grid_->RowCount() + 1);
    const Integer row = grid_->FloatingFooter()->Visible ? grid_->RowCount() - 2 : grid_->RowCount() - 1;
    if (grid_->OnAutoAddRow) grid_->OnAutoAddRow(grid_, grid_->RowCount() - grid_->FixedFooters() - 1);
    return row;
  }

 private:
  TVadOdizadEzev* grid_;
  EnterHost enter_;
};

}  // namespace

// ===== the edit road =====

namespace {

// A check box, radio button or button of the cell's own takes the clicks;
// no editor opens over it.
bool IsCellControlGraphic(const TCellGraphic* graphic) {
  if (graphic == nullptr) return false;
  switch (graphic->CellType) {
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadio:
    case ctButton:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctRadioButton:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TVadOdizadEzev::CanEditShow() const {
  // The class library asks through a const hook; starting an edit changes
  // the grid's editing state.
  return const_cast<TVadOdizadEzev*>(this)->StartCellEdit();
}

bool TVadOdizadEzev::StartCellEdit() {
  TEditStartInput in;
  in.Validating = validation_->Validating();
  in.LibraryAllows = TBaseGrid::CanEditShow();
  in.EditorActive = editorActive_;
  const TCellCoord base = Model().BaseCell(Col(), Row());
  in.HasCellControl = IsCellControlGraphic(Model().CellGraphic(base.X, base.Y));
  if (in.LibraryAllows && !in.EditorActive && !in.Validating && !in.HasCellControl) {
    TEditorType type = DefaultEditor;
    GetEditorType(RealColIndex(base.X), base.Y, type);
    in.Editor = type;
  } else {
    in.Editor = editorType_;
  }
  const TEditStartDecision decision = DecideEditStart(in);
  if (decision.Start == esRefused) return false;
  if (decision.Begins) {
    StartEditCell(base.X, base.Y);
    editorType_ = in.Editor;
    editorActive_ = true;
  }
  if (decision.Start == esInplaceEditor) {
    validation_->SetPending(true);
    return true;
  }
  if (decision.Begins) OpenCellEditor(base.X, base.Y);
  return false;
}

void TVadOdizadEzev::OpenCellEditor(Integer col, Integer row) {
  const TEditorRoute route = EditorRoute(editorType_);
  vcl::TWinControl* control = route.Control ? EditorControl(*route.Control) : nullptr;
  if (control == nullptr) {
    // No control stands for this type yet: the edit ends at once.
    editorActive_ = false;
    return;
  }
  const AnsiString text = GetEditText(col, row);
  switch (route.Variant) {
    case evSpinInteger:
    case evSpinFloat:
    case evSpinTime:
    case evSpinDate:
      if (auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(control)) {
        if (route.Variant == evSpinInteger) {
          spin->SetSpinType(dropdown::sptNormal);
          spin->SetValue(rtl::StrToIntDef(text, 0));
        } else if (route.Variant == evSpinFloat) {
          spin->SetSpinType(dropdown::sptFloat);
          double value = 0;
          spin->SetFloatValue(rtl::TryStrToFloat(text, value) ? value : 0.0);
        } else if (route.Variant == evSpinTime) {
          spin->SetSpinType(dropdown::sptTime);
          spin->SetText(text);
        } else {
          spin->SetSpinType(dropdown::sptDate);
          rtl::TDateTime date = 0;
          if (!rtl::TryStrToDate(text, date)) date = rtl::Now();
          spin->SetText(rtl::DateToStr(date));
        }
      } else {
        control->SetText(text);
      }
      break;
    case evComboEditable:
    case evComboList:
      if (auto* combo = dynamic_cast<vcl::TCustomComboBox*>(control)) {
        const bool list = route.Variant == evComboList;
        combo->SetStyle(list ? vcl::csDropDownList : vcl::csDropDown);
        combo->SetMaxLength(MaxComboLength);
        if (list) {
          const AnsiString shown = Model().GetDisplayCell(col, row);
          Integer index = 0;
          for (Integer i = 0; i < combo->Items()->Count(); ++i)
            if (rtl::SameText(combo->Items()->Strings(i), shown)) {
              index = i;
              break;
            }
          combo->SetItemIndex(combo->Items()->Count() > 0 ? index : -1);
        } else {
          combo->SetText(text);
        }
      } else {
        control->SetText(text);
      }
      break;
    case evDateDropDown:
    case evDateUpDown:
    case evTime:
      if (auto* picker = dynamic_cast<vcl::TDateTimePicker*>(control)) {
        picker->SetKind(route.Variant == evTime ? vcl::dtkTime : vcl::dtkDate);
        picker->SetDateMode(route.Variant == evDateUpDown ? vcl::dmUpDown : vcl::dmComboBox);
        rtl::TDateTime value = 0;
        if (route.Variant == evTime ? rtl::TryStrToTime(text, value) : rtl::TryStrToDate(text, value)) {
          if (route.Variant == evTime)
            picker->SetTime(value);
          else
            picker->SetDate(value);
        }
      }
      break;
    default:
      if (auto* edit = dynamic_cast<vcl::TCustomEdit*>(control)) {
        edit->SetMaxLength(maxEditLength_);
        edit->SetText(text);
      } else {
        control->SetText(text);
      }
      break;
  }
  const vcl::TRect r = CellRect(Col(), Row());
  const TEditorBounds b =
      PlaceEditor(route.Placement, {r.Left, r.Top, r.Right, r.Bottom}, XYOffsetX, XYOffsetY, false, control->Height());
  control->SetBounds(b.Left, b.Top, b.Width, b.Height);
  control->SetEnabled(true);
  control->SetVisible(true);
  activeControl_ = control;
  validation_->SetPending(true);
  if (control->CanFocus()) control->SetFocus();
}

void TVadOdizadEzev::CommitCellEditor(Integer col, Integer row) {
  vcl::TWinControl* control = activeControl_;
  if (control == nullptr) return;
  // Hiding the control moves the focus; the grid must not treat that as
  // the user leaving it while the value is on its way into the cell.
  const TCommittingFlag committing(committing_);
  activeControl_ = nullptr;
  const TEditorRoute route = EditorRoute(editorType_);
  const TCellCoord base = Model().BaseCell(col, row);
  const Integer realCol = RealColIndex(base.X);
  switch (route.Variant) {
    case evSpinInteger:
      if (auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(control)) Model().SetIntegerCells(realCol, base.Y, spin->Value());
      break;
    case evSpinFloat:
      if (auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(control))
        Model().SetFloatCells(realCol, base.Y, spin->FloatValue());
      break;
    case evSpinDate:
      if (auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(control)) {
        rtl::TDateTime date = 0;
        if (rtl::TryStrToDate(spin->Text(), date)) Model().SetDateCells(realCol, base.Y, date);
      }
      break;
    case evDateDropDown:
    case evDateUpDown:
    case evTime:
      if (auto* picker = dynamic_cast<vcl::TDateTimePicker*>(control)) SetEditText(base.X, base.Y, picker->Text());
      break;
    default:
      // Check boxes and buttons write nothing back.
      if (route.Control != ecCheckBox && route.Control != ecButton) SetEditText(base.X, base.Y, control->Text());
      break;
  }
  control->SetVisible(false);
  control->SetEnabled(false);
  editorActive_ = false;
  InvalidateCell(col, row);
  // A refused value has put the editor back on the cell.
  if (!CellValidate(Model().GetDisplayCell(base.X, base.Y))) return;
  if (CanFocus()) SetFocus();
  EditingDone(col, row);
}

void TVadOdizadEzev::HideCellEditor() {
  if (!editorActive_) return;
  const TCommittingFlag committing(committing_);
  const bool inplace = EditorMode();
  HideEditor();
  if (activeControl_ != nullptr) {
    CommitCellEditor(Col(), Row());
  } else if (inplace) {
    // The class library's editor writes the text into the cell as it is
    // typed; the cycle decides what the cell keeps.
    const Integer col = Col(), row = Row();
    editorActive_ = false;
    const TCellCoord base = Model().BaseCell(col, row);
    if (!CellValidate(Model().GetDisplayCell(base.X, base.Y))) return;
    EditingDone(col, row);
  } else {
    editorActive_ = false;
  }
}

// ===== validation and change notification =====

vcl::TInplaceEdit* TVadOdizadEzev::CreateEditor() { return new TLumInplaceEdit(this); }

AnsiString TVadOdizadEzev::GetEditText(Integer col, Integer row) {
  const AnsiString text = TBaseGrid::GetEditText(col, row);
  // The in-place editor loads this text next; that is no edit change.
  if (auto* edit = LumInplaceEditor()) edit->ExpectLoad(text);
  return text;
}

Integer TVadOdizadEzev::GetEditLimit() {
  if (auto* edit = LumInplaceEditor()) {
    edit->LengthLimit = maxEditLength_;
    edit->SetPasswordChar(editorType_ == edPassword ? PasswordChar : 0);
  }
  return maxEditLength_;
}

TLumInplaceEdit* TVadOdizadEzev::LumInplaceEditor() const { return dynamic_cast<TLumInplaceEdit*>(InplaceEditor()); }

AnsiString TVadOdizadEzev::GetCurrentCellRawText() {
  const TCellCoord base = Model().BaseCell(Col(), Row());
  return Model().GetRawCell(RealColIndex(base.X), base.Y);
}

void TVadOdizadEzev::SetCurrentCellText(const AnsiString& value) {
  const TCellCoord base = Model().BaseCell(Col(), Row());
  Model().SetDisplayCell(base.X, base.Y, value);
  InvalidateCell(Col(), Row());
}

AnsiString TVadOdizadEzev::EllipsClick(const AnsiString& value) {
  AnsiString s = value;
  if (OnEllipsClick) OnEllipsClick(this, RealColIndex(Col()), Row(), s);
  return s;
}

void TVadOdizadEzev::ShowCellEditor() {
  if (HasCellControl(Col(), Row())) return;
  ShowEditor();
}

void TVadOdizadEzev::StartEditCell(Integer col, Integer row) {
  validation_->StartEditCell(col, row);
  editStartText_ = validation_->StartText();
}

bool TVadOdizadEzev::CellValidate(const AnsiString& value) {
  const bool valid = validation_->CellValidate(value);
  editStartText_ = validation_->StartText();
  return valid;
}

void TVadOdizadEzev::CellEdited(Integer col, Integer row) {
  (void)row;
  UpdateFooter(col);
}

void TVadOdizadEzev::CellsChanged(const vcl::TRect& r) {
  UpdateFooter(-1);
  if (OnCellsChanged) OnCellsChanged(this, r);
}

void TVadOdizadEzev::SetEditorCellText(Integer col, Integer row, const AnsiString& value) {
  SetEditText(DisplColIndex(col), row, value);
  SetCells(col, row, value);
}

void TVadOdizadEzev::SetCellChecker(TVadOdizadEzevCheck* value) {
  if (cellChecker_ == value) return;
  if (cellChecker_ != nullptr) RemoveFreeNotification(cellChecker_);
  cellChecker_ = value;
  if (value != nullptr) FreeNotification(value);
}

void TVadOdizadEzev::RestoreCellText() {
  const TCellCoord base = Model().BaseCell(Col(), Row());
  Model().SetDisplayCell(base.X, base.Y, editStartText_);
  InvalidateCell(Col(), Row());
}

void TVadOdizadEzev::EditingDone(Integer col, Integer row) {
  vcl::HideBalloonTip();
  if (OnEditingDone) OnEditingDone(this);
  editorActive_ = false;
  if (HandleAllocated())
    vcl::PostMessage(Handle(), GridEditDoneMessage, static_cast<vcl::WPARAM>(col), static_cast<vcl::LPARAM>(row));
}

void TVadOdizadEzev::KeyDown(vcl::Word& key, vcl::TShiftState shift) {
  if (ClipboardKey(key, shift)) return;
  if (EditorMode() && editorActive_ && activeControl_ == nullptr) {
    if (key == vcl::VK_ESCAPE) {
      RestoreCellText();
      HideCellEditor();
      key = 0;
      return;
    }
    if (key == vcl::VK_RETURN) {
      HideCellEditor();
      // A refused value keeps the editor on its cell: no advance.
      if (editorActive_) {
        key = 0;
        return;
      }
      AdvanceAfterEnter(Col(), Row(), false, !shift.Contains(vcl::ssShift), true, false);
      key = 0;
      return;
    }
  }
  // Vertical keys that only scroll: the current cell stays and no event
  // fires.
  if (navigation_->MoveScrollOnly) {
    const Integer visible = VisibleRowCount();
    switch (key) {
      case vcl::VK_PRIOR:
        SetTopRow(visible + FixedRows() < TopRow() ? TopRow() - visible : FixedRows());
        key = 0;
        return;
      case vcl::VK_NEXT:
        if (TopRow() + visible < RowCount()) SetTopRow(TopRow() + visible);
        key = 0;
        return;
      case vcl::VK_END:
        SetTopRow(std::max(FixedRows(), RowCount() - visible));
        key = 0;
        return;
      case vcl::VK_HOME:
        SetTopRow(FixedRows());
        key = 0;
        return;
      case vcl::VK_UP:
        if (FixedRows() < TopRow()) SetTopRow(TopRow() - 1);
        key = 0;
        return;
      case vcl::VK_DOWN:
        if (TopRow() + visible < RowCount()) SetTopRow(TopRow() + 1);
        key = 0;
        return;
      default:
        break;
    }
  }
  if ((key == vcl::VK_INSERT || key == vcl::VK_DELETE) && RowKey(key, shift)) lookupText_.clear();
  if (key == 'F' && shift.Contains(vcl::ssCtrl)) FocusSearchFooter();
  if ((key == vcl::VK_RETURN || key == vcl::VK_F2) && !EditorMode()) {
    // Grids that edit on demand take editing on for a cell that allows it.
    // The class library's own Enter would close the editor just opened, so
    // a key that opened one is the grid's.
    bool opened = false;
    if (mouseActions_->EditOnDblClickOnly()) {
      const bool rangeEdit = mouseActions_->RangeSelectAndEdit;
      mouseActions_->RangeSelectAndEdit = true;
      const bool allowed = IsCellEditable(RealColIndex(Col()), Row());
      mouseActions_->RangeSelectAndEdit = rangeEdit;
      if (allowed) {
        auto options = Options();
        options.Include(vcl::goEditing);
        SetOptions(options);
        ShowCellEditor();
        opened = EditorMode();
      }
    }
    if (!opened && mouseActions_->RangeSelectAndEdit && !Options().Contains(vcl::goEditing)) {
      if (!IsCellEditable(RealColIndex(Col()), Row())) {
        Word copy = key;
        if (OnKeyDown) OnKeyDown(this, copy, shift);
        key = 0;
        return;
      }
      auto options = Options();
      options.Include(vcl::goEditing);
      SetOptions(options);
      ShowCellEditor();
      opened = EditorMode();
    }
    if (opened) {
      Word copy = key;
      if (OnKeyDown) OnKeyDown(this, copy, shift);
      key = 0;
      return;
    }
  }
  if (key == vcl::VK_RETURN || key == vcl::VK_F2) {
    const bool editable = IsCellEditable(RealColIndex(Col()), Row());
    // Enter and F2 never open an editor on a cell that may not be edited.
    if (Options().Contains(vcl::goEditing) && !editable) {
      Word copy = key;
      if (OnKeyDown) OnKeyDown(this, copy, shift);
      key = 0;
      return;
    }
    // The controls of an HTML cell take their keys themselves.
    const AnsiString text = GetCurrentCellRawText();
    if (GetTextKind(text, EnableHTML) == TTextKind::tkHTML && rtl::UpperCase(text).find("<CONTROL") != std::string::npos) {
      key = 0;
      return;
    }
    // Enter on a cell that may not be edited belongs to the form: with
    // KeyPreview it goes the class library's way, else it is consumed.
    if (key == vcl::VK_RETURN && !editable) {
      vcl::TCustomForm* form = ParentForm(this);
      if (form != nullptr && form->KeyPreview()) {
        TBaseGrid::KeyDown(key, shift);
        return;
      }
      Word copy = key;
      if (OnKeyDown) OnKeyDown(this, copy, shift);
      key = 0;
      return;
    }
  }
  if (key == vcl::VK_RETURN || key == vcl::VK_SPACE) KeyOnCellControl(key);
  // Home and End to the first and last data row (HomeEndKey =
  // heFirstLastRow), or with row selection to the first and last column;
  // Shift stretches the selection over whole rows. Other combinations go
  // the general way.
  if ((key == vcl::VK_HOME || key == vcl::VK_END) && !(FixedRowAlways() && RowCount() == 1)) {
    const bool home = key == vcl::VK_HOME;
    if (navigation_->HomeEndKey == heFirstLastRow) {
      const Integer startRow = Row();
      Integer row = FixedRows();
      if (!home) row = floatingFooter_->Visible && RowCount() > 2 ? RowCount() - 2 : RowCount() - FixedFooters() - 1;
      const Integer startLeft = LeftCol();
      if (row >= FixedRows() && row < RowCount()) {
        const TCellCoord base = Model().BaseCell(Col(), row);
        SetRow(base.Y);
        if (base.X != Col()) SetCol(base.X);
        if (!home && (FixedFooters() > 0 || floatingFooter_->Visible))
          SetTopRow(std::max(FixedRows(), RowCount() - VisibleRowCount()));
        // Plain Home and End leave the disjunct marks on the rows they
        // select; Shift adds the stretched rows to the marks already set.
        if (!shift.Contains(vcl::ssShift)) {
          if (mouseActions_->DisjunctRowSelect()) {
            ClearRowMarks();
            MarkSelectionRows(false);
          }
        } else {
          // The anchor stays on the starting row and the current cell is
          // on the row reached (Home stretches upwards).
          SetSelection({0, startRow, ColCount() - 1, Row()});
          if (mouseActions_->DisjunctRowSelect()) MarkSelectionRows(false);
        }
      }
      Word copy = key;
      if (OnKeyDown) OnKeyDown(this, copy, shift);
      if (Options().Contains(vcl::goRowSelect) && navigation_->KeepHorizScroll) SetLeftCol(startLeft);
      key = 0;
      return;
    }
    if (Options().Contains(vcl::goRowSelect)) {
      const Integer col = home ? FirstNavigableColumn() : ColCount() - 1;
      const TCellCoord base = Model().BaseCell(col, Row());
      SetCol(base.X);
      if (base.Y != Row()) SetRow(base.Y);
      SetLeftCol(home ? FirstNavigableColumn() : std::max(FixedCols(), ColCount() - VisibleColCount()));
      Word copy = key;
      if (OnKeyDown) OnKeyDown(this, copy, shift);
      key = 0;
      return;
    }
  }
  // On a node row shown as one merged line (a group header) Right opens
  // the node and Left closes it; the key then moves on as usual.
  if ((key == vcl::VK_LEFT || key == vcl::VK_RIGHT) && IsNode(Row()) &&
      Model().IsMergedCell(RealColIndex(Col()), Row())) {
    if (key == vcl::VK_RIGHT)
      ExpandNode(RealRowIndex(Row()));
    else
      ContractNode(RealRowIndex(Row()));
  }
  // With row selection the horizontal keys scroll the columns: with
  // LeftRightRowSelect only together with Ctrl (the key goes on), without
  // it plain Left and Right, which then do nothing more.
  if ((key == vcl::VK_LEFT || key == vcl::VK_RIGHT) && Options().Contains(vcl::goRowSelect) && !IsNode(Row()) &&
      VisibleColCount() < ColCount()) {
    const bool ctrl = shift.Contains(vcl::ssCtrl);
    if (navigation_->LeftRightRowSelect ? ctrl : true) {
      if (key == vcl::VK_LEFT && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
      if (key == vcl::VK_RIGHT && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
      if (!navigation_->LeftRightRowSelect) {
        Word copy = key;
        if (OnKeyDown) OnKeyDown(this, copy, shift);
        key = 0;
        return;
      }
    }
  }
  // Arrows jump over cells that count as fixed; when none beyond them
  // may be reached the current cell stays. The key is the grid's then.
  if (navigation_->SkipFixedCells && key >= vcl::VK_LEFT && key <= vcl::VK_DOWN) {
    // The class library has no right-to-left controls, so Left is left.
    const Word k = key;
    const Integer col = Col(), row = Row();
    Integer dc = 0, dr = 0, bound = 0;
    bool applies = false;
    switch (k) {
      case vcl::VK_LEFT:
        dc = -1;
        bound = FixedCols() - 1;
        applies = FixedCols() < col && IsFixedForNavigation(col - 1, row);
        break;
      case vcl::VK_RIGHT:
        dc = 1;
        bound = ColCount() - FixedRightCols();
        applies = col < ColCount() - FixedRightCols() && col + 1 < ColCount() && IsFixedForNavigation(col + 1, row);
        break;
      case vcl::VK_UP:
        dr = -1;
        bound = FixedRows() - 1;
        applies = FixedRows() < row && IsFixedForNavigation(col, row - 1);
        break;
      default:
        dr = 1;
        bound = RowCount() - FixedFooters();
        applies = row < RowCount() - FixedFooters() && row + 1 < RowCount() && IsFixedForNavigation(col, row + 1);
        break;
    }
    if (applies) {
      Integer c = col + dc, r = row + dr;
      while ((dc != 0 ? c : r) != bound && IsFixedForNavigation(c, r)) {
        c += dc;
        r += dr;
      }
      if ((dc != 0 ? c : r) != bound) {
        if (dc != 0)
          SetCol(c);
        else
          SetRow(r);
      }
      Word copy = key;
      if (OnKeyDown) OnKeyDown(this, copy, shift);
      key = 0;
      return;
    }
  }
  // Tab in a grid that takes it moves as Tab does here, not as the class
  // library's plain step.
  if (key == vcl::VK_TAB && Options().Contains(vcl::goTabs)) {
    TabAdvance(shift.Contains(vcl::ssShift));
    key = 0;
    return;
  }
  const vcl::TGridRect before = Selection();
  const Word pressed = key;
  // With row selection a vertical key may keep the columns the user
  // scrolled to rather than bring the current column back into view.
  const bool vertical =
      key == vcl::VK_PRIOR || key == vcl::VK_NEXT || key == vcl::VK_UP || key == vcl::VK_DOWN;
  const bool keepHoriz = vertical && Options().Contains(vcl::goRowSelect) && LeftCol() != FixedCols() &&
                         navigation_->KeepHorizScroll;
  const Integer startLeft = LeftCol();
  TBaseGrid::KeyDown(key, shift);
  if (keepHoriz && LeftCol() != startLeft) SetLeftCol(startLeft);
  // The disjunct marks follow the moving keys and Space.
  const Integer currentRow = mouseActions_->RowSelectPersistent ? Model().RealRowIndex(Row()) : Row();
  if (pressed >= vcl::VK_PRIOR && pressed <= vcl::VK_DOWN) {
    const bool plain = !shift.Contains(vcl::ssShift) && !shift.Contains(vcl::ssCtrl);
    if (mouseActions_->DisjunctRowSelect()) {
      if (plain)
        ClearRowMarks();
      else if (shift.Contains(vcl::ssShift))
        MarkSelectionRows(true);
      else
        SetRowMarked(currentRow, true);
    }
    if (mouseActions_->DisjunctColSelect()) {
      if (plain)
        ClearColMarks();
      else if (shift.Contains(vcl::ssShift))
        MarkSelectionCols(true);
      else
        SetColMarked(Col(), true);
    }
  }
  if (pressed == vcl::VK_SPACE) {
    if (mouseActions_->DisjunctRowSelect()) SetRowMarked(currentRow, !IsRowMarked(currentRow));
    if (mouseActions_->DisjunctColSelect()) SetColMarked(Col(), !IsColMarked(Col()));
    if (mouseActions_->DisjunctCellSelect() && !Options().Contains(vcl::goEditing)) {
      const TCellCoord base = Model().BaseCell(Col(), Row());
      if (!IsFixedForNavigation(base.X, base.Y)) {
        bool canSelect = true;
        if (OnSelectCell) OnSelectCell(this, base.X, base.Y, canSelect);
        if (canSelect) {
          if (shift.Contains(vcl::ssCtrl)) {
            selectionMarks_.SetCellMark(base.X, base.Y, !selectionMarks_.CellMarked(base.X, base.Y));
          } else {
            selectionMarks_.ClearCellMarks();
            selectionMarks_.SetCellMark(base.X, base.Y, true);
          }
          Invalidate();
        }
      }
    }
  }
  if (pressed == 'A' && shift.Contains(vcl::ssCtrl) &&
      (Options().Contains(vcl::goRowSelect) || Options().Contains(vcl::goRangeSelect)))
    KeySelectAll();
  const vcl::TGridRect after = Selection();
  if (after.Left != before.Left || after.Top != before.Top || after.Right != before.Right ||
      after.Bottom != before.Bottom)
    SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}

// ===== selection =====

void TVadOdizadEzev::KeySelectAll() {
  vcl::TGridRect r{FirstNavigableColumn(), FixedRows(), ColCount() - FixedRightCols() - 1,
                   RowCount() - FixedFooters() - 1};
  if (r.Right < r.Left || r.Bottom < r.Top) return;
  if (mouseActions_->DisjunctRowSelect())
    for (Integer row = r.Top; row <= r.Bottom; ++row)
      SetRowMarked(mouseActions_->RowSelectPersistent ? Model().RealRowIndex(row) : row, true);
  KeySelectAllHook(r);
  SetSelection(r);
  // The last cell becomes current as a click on it would make it (the
  // single-cell selection brings it into view first, so the click lands
  // on it), and the whole area is selected again afterwards.
  SetSelection({r.Right, r.Bottom, r.Right, r.Bottom});
  if (HandleAllocated()) {
    const vcl::TRect cell = CellRect(r.Right, r.Bottom);
    if (!cell.IsEmpty()) {
      TBaseGrid::MouseDown(vcl::mbLeft, vcl::TShiftState{vcl::ssLeft}, cell.Left + 2, cell.Top + 2);
      TBaseGrid::MouseUp(vcl::mbLeft, vcl::TShiftState{}, cell.Left + 2, cell.Top + 2);
    }
  }
  SetSelection(r);
}

void TVadOdizadEzev::SelectRows(Integer row, Integer count) {
  if (!mouseActions_->DisjunctRowSelect()) {
    SetSelection({FixedCols(), row, ColCount() - 1, row + count - 1});
    return;
  }
  for (Integer r = row; r < row + count && r < RowCount(); ++r)
    SetRowMarked(mouseActions_->RowSelectPersistent ? Model().RealRowIndex(r) : r, true);
}

bool TVadOdizadEzev::IsRowMarked(Integer row) {
  CheckMarkRow(row, RowCount() + Model().NumHiddenRows());
  if (mouseActions_->DisjunctRowSelect()) return selectionMarks_.RowMarked(row);
  const vcl::TGridRect sel = Selection();
  return row >= std::min(sel.Top, sel.Bottom) && row <= std::max(sel.Top, sel.Bottom);
}

void TVadOdizadEzev::SetRowMarked(Integer row, bool state) {
  CheckMarkRow(row, RowCount() + Model().NumHiddenRows());
  bool allow = true;
  if (OnRowDisjunctSelect) OnRowDisjunctSelect(this, row, state, allow);
  if (!allow) return;
  if (selectionMarks_.SetRowMark(row, state)) RepaintRow(row);
  if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, row);
}

bool TVadOdizadEzev::IsColMarked(Integer col) {
  CheckMarkColumn(col, ColCount());
  return selectionMarks_.ColMarked(col);
}

void TVadOdizadEzev::SetColMarked(Integer col, bool state) {
  CheckMarkColumn(col, ColCount());
  if (selectionMarks_.SetColMark(col, state)) RepaintColumn(col);
}

void TVadOdizadEzev::ClearRowMarks() {
  for (Integer row : selectionMarks_.ClearRowMarks()) RepaintRow(row);
}

void TVadOdizadEzev::ClearColMarks() {
  for (Integer col : selectionMarks_.ClearColMarks()) RepaintColumn(col);
}

void TVadOdizadEzev::MarkSelectionRows(bool all) {
  const vcl::TGridRect sel = Selection();
  for (Integer r = FixedRows(); r < RowCount(); ++r) {
    const bool inside = r >= sel.Top && r <= sel.Bottom;
    const Integer index = mouseActions_->RowSelectPersistent ? Model().RealRowIndex(r) : r;
    if (all || inside)
      if (selectionMarks_.SetRowMark(index, inside)) RepaintRow(r);
  }
}

void TVadOdizadEzev::MarkSelectionCols(bool all) {
  const vcl::TGridRect sel = Selection();
  for (Integer c = FixedCols(); c < ColCount(); ++c) {
    const bool inside = c >= sel.Left && c <= sel.Right;
    if (all || inside)
      if (selectionMarks_.SetColMark(c, inside)) RepaintColumn(c);
  }
}

Integer TVadOdizadEzev::MarkedRowCount() {
  if (mouseActions_->DisjunctRowSelect()) return selectionMarks_.MarkedRowCount(RowCount() + Model().NumHiddenRows());
  const vcl::TGridRect sel = Selection();
  return std::abs(sel.Bottom - sel.Top) + 1;
}

bool TVadOdizadEzev::IsCellSelected(Integer col, Integer row) {
  if (row < FixedRows() || col < FixedCols()) return false;
  if (mouseActions_->DisjunctRowSelect())
    return selectionMarks_.RowMarked(mouseActions_->RowSelectPersistent ? Model().RealRowIndex(row) : row);
  if (mouseActions_->DisjunctColSelect()) return selectionMarks_.ColMarked(col);
  const vcl::TGridRect sel = Selection();
  return col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom;
}

void TVadOdizadEzev::ParkSelection() {
  parkedSelection_ = Selection();
  SetSelection({ColCount(), RowCount(), ColCount(), RowCount()});
  selectionParked_ = true;
}

void TVadOdizadEzev::RestoreParkedSelection() {
  selectionParked_ = false;
  if (parkedSelection_.Top < RowCount() && parkedSelection_.Left < ColCount()) {
    SetSelection(parkedSelection_);
    return;
  }
  const Integer top = FixedRowAlways() && FixedRows() == RowCount() ? 0 : FixedRows();
  const Integer left = Model().FixedColAlways() && FixedCols() == ColCount() ? 0 : FixedCols();
  SelectSingleCell(left, top);
}

// The class library repaints whole windows; the areas below decide only
// whether anything needs repainting.
void TVadOdizadEzev::RepaintGridRect(const vcl::TGridRect& r) {
  if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0) return;
  Invalidate();
}

void TVadOdizadEzev::RepaintRow(Integer row) {
  if (row < 0 || row >= RowCount()) return;
  Invalidate();
}

void TVadOdizadEzev::RepaintColumn(Integer col) {
  if (col < 0 || col >= ColCount()) return;
  Invalidate();
}

void TVadOdizadEzev::SelectionChanged(Integer left, Integer top, Integer right, Integer bottom) {
  if (look_ == glVista || look_ == glWin7 || look_ == glOffice2007) RepaintGridRect({left, top, right, bottom});
  if (OnSelectionChanged) OnSelectionChanged(this, left, top, right, bottom);
}

TRect TVadOdizadEzev::SelectionResizerHandle() const {
  if (!selectionResizer_ || !selectionRectangle_) return {};
  const vcl::TGridRect sel = Selection();
  TRect r = CellRect(sel.Right, sel.Bottom);
  if (r.IsEmpty()) return {};
  r.Top = r.Bottom - 6;
  r.Left = r.Right - 6;
  return r;
}

void TVadOdizadEzev::EditorLeaveKey(Word key, vcl::TShiftState shift) {
  editorHandover_ = true;
  validation_->SetPending(false);
  HideCellEditor();
  if (navigation_->AppendOnArrowDown && key == vcl::VK_DOWN && IsLastDataRow()) AutoAddRow();
  if (key == vcl::VK_TAB || (key >= vcl::VK_LEFT && key <= vcl::VK_DOWN)) {
    Word k = key;
    KeyDown(k, shift);
  }
  const bool alwaysEdit = navigation_->AlwaysEdit;
  navigation_->AlwaysEdit = false;
  if (CanFocus()) SetFocus();
  if (key == vcl::VK_RETURN) AdvanceAfterEnter(Col(), Row(), false, true, true, false);
  navigation_->AlwaysEdit = alwaysEdit;
  editorHandover_ = false;
}

void TVadOdizadEzev::AutoAddRow() {
  bool canAdd = true;
  CanAddRow(canAdd);
  if (!canAdd) return;
  const bool footer = floatingFooter_->Visible;
  // With the floating footer the count setter carries the footer's texts
  // to the new last row and empties the row above it.
  SetRowCount(RowCount() + 1);
  if (!footer)
    for (Integer col = 0; col < ColCount(); ++col) Model().SetRawCell(col, RowCount() - 1, "");
  if (footer || FixedFooters() > 0) SetRow(std::min(Row() + 1, RowCount() - 1));
  if (OnAutoAddRow) OnAutoAddRow(this, Row());
}

void TVadOdizadEzev::KeyPress(vcl::WideChar& key) {
  // Escape puts back the text the cell had when its edit began.
  if (key == 27 && Options().Contains(vcl::goEditing) && validation_->Pending()) {
    RestoreCellText();
    if (OnKeyPress) OnKeyPress(this, key);
    return;
  }
  if (key == '\r') {
    // Enter on a cell that may not be edited is the owner's alone.
    if (!navigation_->AdvanceOnEnter && !IsCellEditable(RealColIndex(Col()), Row())) {
      vcl::WideChar copy = key;
      if (OnKeyPress) OnKeyPress(this, copy);
      key = 0;
      return;
    }
    // A control cell has no editor to leave: Enter moves on from it
    // directly and the editor opens in the cell reached.
    if (HasCellControl(Col(), Row())) {
      AdvanceAfterEnter(Col(), Row(), editorActive_, true, true, false);
      vcl::WideChar copy = key;
      if (OnKeyPress) OnKeyPress(this, copy);
      if (navigation_->AdvanceAutoEdit && navigation_->AdvanceOnEnter) ShowCellEditor();
      key = 0;
      return;
    }
  }
  if (!Options().Contains(vcl::goEditing) && navigation_->AutoGotoWhenSorted && key > 0 && key < 256 &&
      key != '\r' && key != 27) {
    lookupText_ = NextLookupText(lookupText_, static_cast<char>(key), navigation_->AutoGotoIncremental);
    lookupExpiry_.Typed();
    Integer col = FixedCols();
    if (sortSettings_->Show) col = sortSettings_->IndexShow ? (sortIndexes_->Count() > 0 ? sortIndexes_->SortColumnAt(0) : FixedCols())
                                                             : sortSettings_->Column;
    Integer found = -1;
    if (col >= 0 && col < ColCount() && RowCount() >= 2)
      found = FindLookupRow([&](Integer row) { return StripHTML(Model().GetDisplayCell(col, row)); }, FixedRows(),
                            RowCount(), lookupText_);
    if (found >= 0)
      SetRow(found);
    else
      lookupText_.clear();
  }
  const bool opensControl = activeControl_ == nullptr;
  TBaseGrid::KeyPress(key);
  // A character that opened an editor control goes on to it.
  if (opensControl && activeControl_ != nullptr && key >= 32 && activeControl_->HandleAllocated()) {
    vcl::PostMessage(activeControl_->Handle(), vcl::WM_CHAR, static_cast<vcl::WPARAM>(key), 0);
    key = 0;
  }
}

void TVadOdizadEzev::KeyUp(vcl::Word& key, vcl::TShiftState shift) {
  switch (key) {
    case vcl::VK_PRIOR:
    case vcl::VK_NEXT:
    case vcl::VK_END:
    case vcl::VK_LEFT:
    case vcl::VK_UP:
    case vcl::VK_RIGHT:
    case vcl::VK_DOWN:
    case vcl::VK_INSERT:
    case vcl::VK_DELETE:
      lookupText_.clear();
      break;
    default:
      break;
  }
  const Word released = key;
  TBaseGrid::KeyUp(key, shift);
  // With AlwaysEdit the cell an arrow or Tab arrived in opens its editor.
  if (navigation_->AlwaysEdit && !EditorMode() &&
      ((released >= vcl::VK_LEFT && released <= vcl::VK_DOWN) ||
       (released == vcl::VK_TAB && Options().Contains(vcl::goTabs))))
    ShowCellEditor();
}

void TVadOdizadEzev::TabAdvance(bool backward) {
  if (OnKeyDown) {
    Word key = vcl::VK_TAB;
    vcl::TShiftState shift;
    if (backward) shift.Include(vcl::ssShift);
    OnKeyDown(this, key, shift);
    if (key != vcl::VK_TAB) return;
  }
  // A Tab that arrives while one is moving from this very cell (a handler
  // of the events below) does nothing.
  if (tabGuard_ == TCellCoord{Col(), Row()}) return;
  tabGuard_ = {Col(), Row()};
  TTabOptions options;
  options.Backward = backward;
  options.Direction = navigation_->TabAdvanceDirection;
  options.Editing = Options().Contains(vcl::goEditing);
  options.AdvanceInsert = navigation_->AdvanceInsert();
  options.TabToNextAtEnd = navigation_->TabToNextAtEnd;
  TabHost host(this);
  const TTabAdvance plan = PlanTabAdvance(host, {Col(), Row()}, options);
  if (plan.Moved) {
    if (plan.Target.X >= 0 && plan.Target.X < ColCount()) SetCol(plan.Target.X);
    if (plan.Target.Y >= 0 && plan.Target.Y < RowCount()) SetRow(plan.Target.Y);
  }
  if (plan.EndOfGrid && navigation_->TabToNextAtEnd && Parent() != nullptr)
    vcl::PostMessage(Parent()->Handle(), vcl::WM_KEYDOWN, vcl::VK_TAB, 0);
  if (navigation_->AdvanceAutoEdit && options.Editing && HandleAllocated()) {
    // A click just inside the current cell starts editing there.
    const vcl::TRect r = CellRect(Col(), Row());
    TBaseGrid::MouseDown(vcl::mbLeft, vcl::TShiftState{vcl::ssLeft}, r.Left + 2, r.Top + 2);
    TBaseGrid::MouseUp(vcl::mbLeft, vcl::TShiftState{}, r.Left + 2, r.Top + 2);
  }
  tabGuard_ = {-1, -1};
  if (navigation_->AlwaysEdit && CanFocus()) SetFocus();
}

void TVadOdizadEzev::AdvanceAfterEnter(Integer col, Integer row, bool showEditor, bool forward, bool autoEdit,
                                       bool force) {
  if (!navigation_->AdvanceOnEnter && !force) return;
  if (mouseActions_->RangeSelectAndEdit && !Options().Contains(vcl::goEditing)) {
    auto options = Options();
    options.Include(vcl::goEditing);
    SetOptions(options);
  }
  EnterHost host(this);
  const TEnterAdvance plan =
      PlanEnterAdvance(host, {col, row}, forward, navigation_->AdvanceDirection(), navigation_->AdvanceInsert());
  if (!plan.Moved) return;
  Integer newCol = plan.Target.X;
  Integer newRow = plan.Target.Y;
  bool allow = true;
  if (OnAutoAdvance) OnAutoAdvance(this, row, col, newRow, newCol, allow);
  if (allow && OnCellChanging) OnCellChanging(this, row, col, newRow, newCol, allow);
  if (!allow) {
    // A refused move leaves the selection on the cell the advance began at.
    SelectCell(col, row);
    return;
  }
  advanceMoving_ = true;
  if (newCol >= 0 && newCol < ColCount()) SetCol(newCol);
  if (newRow >= 0 && newRow < RowCount()) SetRow(newRow);
  advanceMoving_ = false;
  if (showEditor) {
    const bool controlTarget = HasCellControl(Col(), Row());
    bool can = true;
    if ((autoEdit && navigation_->AdvanceAutoEdit) || controlTarget) CheckCanEdit(RealColIndex(Col()), Row(), can);
    if (((autoEdit && navigation_->AdvanceAutoEdit) || controlTarget) && can) {
      ShowEditor();
      if (controlTarget) {
        // A control cell takes the edit through its own click, as if the
        // user had clicked it from the cell the advance began at.
        const Integer targetCol = Col(), targetRow = Row();
        advanceMoving_ = true;
        SetCol(col);
        SetRow(row);
        SetCol(targetCol);
        SetRow(targetRow);
        advanceMoving_ = false;
        if (!HasCellControl(col, row)) {
          const TRect r = CellRect(Col(), Row());
          TBaseGrid::MouseDown(vcl::mbLeft, vcl::TShiftState{vcl::ssLeft}, r.Left + 2, r.Top + 2);
          TBaseGrid::MouseUp(vcl::mbLeft, vcl::TShiftState{}, r.Left + 2, r.Top + 2);
          if (navigation_->AdvanceDirection() == adTopBottom) HideEditor();
        }
        bool unused = true;
        if (OnCellChanging) OnCellChanging(this, row, col, Row(), Col(), unused);
        TEditorType startEditor = DefaultEditor;
        GetCellEditorType(col, row, startEditor);
        const bool startText = startEditor == edNormal || startEditor == edNumeric ||
                               startEditor == edPositiveNumeric || startEditor == edFloat ||
                               startEditor == edCapital || startEditor == edMixedCase || startEditor == edPassword ||
                               startEditor == edLowerCase || startEditor == edUpperCase;
        if (!startText) HideEditor();
      }
    }
  }
  // With disjunct row selection the advance's row becomes the one marked.
  if (mouseActions_->DisjunctRowSelect()) {
    ClearRowMarks();
    SetRowMarked(mouseActions_->RowSelectPersistent ? Model().RealRowIndex(Row()) : Row(), true);
  }
}

bool TVadOdizadEzev::HasCellControl(Integer col, Integer row) { return CellControlState().HasCellControl(col, row); }

// ===== in-cell controls =====

bool TVadOdizadEzev::IsCheckBoxCell(Integer col, Integer row) { return CellControlState().IsCheckBoxCell(col, row); }

bool TVadOdizadEzev::CheckBoxChecked(Integer col, Integer row) {
  bool state = false;
  TCellControlHost& controls = CellControlState();
  if (!controls.IsCheckBoxCell(col, row)) return false;
  return controls.GetCellCheckState(col, RealRowIndex(row), state) && state;
}

bool TVadOdizadEzev::ToggleCheckBox(Integer col, Integer row, bool fromUser) {
  return CellControlState().ToggleCheckBox(col, row, fromUser);
}

void TVadOdizadEzev::CheckBoxChange(Integer col, Integer row, bool state) {
  if (OnCheckBoxChange) OnCheckBoxChange(this, col, row, state);
}

bool TVadOdizadEzev::SetCellRadioButton(Integer col, Integer row, bool state) {
  return CellControlState().SetCellRadioButton(col, row, state);
}

void TVadOdizadEzev::SelectColumnRadioButton(Integer col, Integer row) {
  CellControlState().SelectColumnRadioButton(col, row);
}

// Enter or Space on a cell holding a control of its own (or a bitmap
// button): the control acts as a click on it would.
void TVadOdizadEzev::KeyOnCellControl(Word key) {
  const TCellCoord base = Model().BaseCell(Col(), Row());
  const TCellGraphic* g = Model().CellGraphic(base.X, base.Y);
  if (g == nullptr) return;
  const TCellType type = g->CellType;
  const bool button = type == ctButton || type == ctBitButton;
  if (!HasCellControl(Col(), Row()) && !button) return;
  const Integer col = RealColIndex(Col());
  bool canAct = Options().Contains(vcl::goEditing) || mouseActions_->RangeSelectAndEdit;
  CheckCanEdit(col, Row(), canAct);
  if (key == vcl::VK_SPACE) {
    if (IsCheckBoxCell(Col(), Row()) && (canAct || controlLook_->CheckAlwaysActive)) {
      if (ToggleCheckBox(col, base.Y, true)) {
        if (showModified_->Enabled) {
          const Integer real = Model().RealRowIndex(Row());
          if (!rowModified_->HasValue(real)) rowModified_->Add(real);
          InvalidateCell(0, Row());
        }
        if (OnCheckBoxClick) OnCheckBoxClick(this, col, base.Y, CheckBoxChecked(col, base.Y));
      }
    } else if (type == ctRadioButton && (canAct || controlLook_->RadioAlwaysActive)) {
      SelectColumnRadioButton(col, base.Y);
      if (OnRadioButtonClick) OnRadioButtonClick(this, col, base.Y);
    }
  }
  if (button && canAct && OnButtonClick) OnButtonClick(this, col, base.Y);
  InvalidateCell(Col(), Row());
}

// ===== copying =====

void TVadOdizadEzev::AssignCells(const vcl::TPersistent* source) {
  auto* s = dynamic_cast<const TVadOdizadEzev*>(source);
  if (s == nullptr || s == this) return;
  // Through the cell text stream, as the source saves its cells.
  LoadCellsFromTextStream(const_cast<TVadOdizadEzev*>(s)->SaveCellsToTextStream());
}

void TVadOdizadEzev::Assign(const vcl::TPersistent* source) {
  auto* s = dynamic_cast<const TVadOdizadEzev*>(source);
  if (s == nullptr || s == this) return;
  SetFont(const_cast<TVadOdizadEzev*>(s)->Font());
  activeCellColor_ = s->activeCellColor_;
  activeCellColorTo_ = s->activeCellColorTo_;
  activeCellFont_->Assign(s->activeCellFont_.get());
  activeCellShow_ = s->activeCellShow_;
  SetActiveRowShow(s->ActiveRowShow());
  SetAlign(s->Align());
  filterDropDown_->Assign(s->filterDropDown_.get());
  AnchorHint = s->AnchorHint;
  AutoNumAlign = s->AutoNumAlign;
  autoSize_ = s->autoSize_;
  AutoThemeAdapt = s->AutoThemeAdapt;
  AutoFilterUpdate = s->AutoFilterUpdate;
  mouseActions_->Assign(s->mouseActions_.get());
  navigation_->Assign(s->navigation_.get());
  grouping_->Assign(s->grouping_.get());
  searchFooter_->Assign(s->searchFooter_.get());
  printSettings_->Assign(s->printSettings_.get());
  filter_->Assign(*s->filter_);
  htmlSettings_->Assign(s->htmlSettings_.get());
  bands_->Assign(s->bands_.get());
  cellNode_->Assign(s->cellNode_.get());
  sortSettings_->Assign(s->sortSettings_.get());
  dragScrollOptions_->Assign(s->dragScrollOptions_.get());
  dragDropSettings_->Assign(s->dragDropSettings_.get());
  progressAppearance_->Assign(s->progressAppearance_.get());
  columnSize_->Assign(s->columnSize_.get());
  officeHint_->Assign(s->officeHint_.get());
  SetFixedRowAlways(s->FixedRowAlways());
  SetColCount(s->ColCount());
  SetRowCount(s->RowCount());
  SetFixedRows(s->FixedRows());
  SetFixedCols(s->FixedCols());
  SetDefaultColWidth(s->DefaultColWidth());
  SetDefaultRowHeight(s->DefaultRowHeight());
  SetFixedRowHeight(s->FixedRowHeight());
  SetFixedColWidth(s->FixedColWidth());
  InvalidEntryTitle = s->InvalidEntryTitle;
  InvalidEntryIcon = s->InvalidEntryIcon;
  InvalidEntryText = s->InvalidEntryText;
  SetOptions(s->Options());
  for (Integer c = 0; c < ColCount(); ++c) SetColWidths(c, s->ColWidths(c));
  columnHeaders_->Assign(*s->columnHeaders_);
  for (Integer r = 0; r < RowCount(); ++r) SetRowHeights(r, s->RowHeights(r));
  ScrollProportional = s->ScrollProportional;
  ScrollSynch = s->ScrollSynch;
  ScrollHints = s->ScrollHints;
  ScrollBarAlways = s->ScrollBarAlways;
  SetScrollBars(s->ScrollBars());
  ScrollColor = s->ScrollColor;
  ScrollType = s->ScrollType;
  ScrollWidth = s->ScrollWidth;
  AssignCells(s);
}

}  // namespace grid
