// The code editor's construction, settings, its side of the line store,
// and the window messages of the caret.
#include "memo/LumCustomMemo.h"

#include <algorithm>
#include <mutex>

#include "memo/LumMemoCompletion.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoSource.h"
#include "memo/LumMemoStyler.h"
#include "memo/LumMemoUndo.h"
#include "memo/MemoScope.h"
#include "memo/text/MemoChars.h"
#include "memo/text/MemoTokenizer.h"
#include "rtl/Strings.h"
#include "vcl/Caret.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/Resources.h"
#include "vcl/Shell.h"
#include "vcl/Clipbrd.h"
#include "vcl/Menus.h"

namespace memo {

// The class library's notice that the desktop's look changed.
constexpr rtl::Cardinal kThemeChangedNotice = vcl::CM_BASE + 53;

// ------------------------------------------------------------ edit scopes

TEditScope::TEditScope(TLumCustomMemo& memo) : memo_(memo), store_(memo.TextStore()) {
  if (store_->Journal().ScopeDepth() == 0) memo_.scopeRecord_ = nullptr;
  store_->Journal().BeginScope();
}

TEditScope::~TEditScope() {
  TLineJournal& journal = store_->Journal();
  if (journal.ScopeDepth() == 1) {
    TUndo* record = memo_.scopeRecord_;
    if (journal.HasPending() && record && record->HasChanges() && memo_.UndoList()->Contains(record))
      record->AddChanges(journal.Take());
    memo_.scopeRecord_ = nullptr;
  }
  journal.EndScope();
}

// ---------------------------------------------------------- construction

void RegisterMemoResources();  // generated from bitmaps/

namespace {

// The editor's own bitmaps join the program's resources when the first
// editor is made, not at static initialisation.
void RegisterMemoResourcesOnce() {
  static std::once_flag once;
  std::call_once(once, RegisterMemoResources);
}

}  // namespace

TLumCustomMemo::TLumCustomMemo(vcl::TComponent* owner) : TCustomControl(owner) {
  SetControlStyle({vcl::csCaptureMouse, vcl::csClickEvents, vcl::csDoubleClicks});
  formOwner_ = owner;
  SetBounds(0, 0, 100, 40);
  SetTabStop(true);
  SetCursor(vcl::crIBeam);
  TCustomControl::SetCtl3D(false);

  vcl::TFont font;
  font.SetName("Courier New");
  font.SetSize(10);
  TControl::SetFont(&font);
  SetParentFont(false);

  lines_ = std::make_unique<TLumMemoStrings>();
  lines_->SetMemo(this);
  lines_->Add("");
  lines_->OnChange = [this](rtl::TStrings*) { LinesChanged(); };

  printOptions_ = std::make_unique<TPrintOptions>();
  autoCorrect_ = std::make_unique<TAutoCorrect>();
  autoCompletion_ = std::make_unique<TAutoCompletion>();
  markerList_ = std::make_unique<TLumMarkerList>(this);
  wrapIndexList_ = std::make_unique<TIntList>();
  bookmarks_ = std::make_unique<TIntList>();
  for (int i = 0; i < 10; ++i) bookmarks_->Add(-1);
  RegisterMemoResourcesOnce();
  flagBitmap_ = std::make_unique<vcl::TBitmap>();
  flagBitmap_->LoadFromResourceName(vcl::HInstance, "RUZ_FLAG");

  urlStyle_ = std::make_unique<TCharStyle>();
  urlStyle_->TextColor = vcl::clBlue;
  urlStyle_->BkColor = vcl::clWhite;
  urlStyle_->Style = {vcl::fsUnderline};

  vScroll_ = new vcl::TScrollBar(this);
  vScroll_->SetKind(vcl::sbVertical);
  vScroll_->SetVisible(false);
  vScroll_->SetParent(this);
  vScroll_->SetAlign(vcl::alRight);
  vScroll_->SetWidth(16);
  vScroll_->SetSmallChange(1);
  vScroll_->SetTabStop(false);
  hScroll_ = new vcl::TScrollBar(this);
  hScroll_->SetKind(vcl::sbHorizontal);
  hScroll_->SetVisible(false);
  hScroll_->SetParent(this);
  hScroll_->SetAlign(vcl::alBottom);
  hScroll_->SetHeight(16);
  hScroll_->SetTabStop(false);
  for (vcl::TScrollBar* bar : {vScroll_, hScroll_})
    bar->OnScroll = [this](TObject* sender, vcl::TScrollCode code, Integer& pos) {
      ScrollBarScroll(sender, code, pos);
    };
  vScroll_->OnChange = [this](TObject* sender) { VScrollChange(sender); };
  hScroll_->OnChange = [this](TObject* sender) { HScrollChange(sender); };

  activeLineSettings_ = std::make_unique<TLumActiveLineSettings>(this);
  gutter_ = std::make_unique<TLumGutter>(this);
  gutter_->Left = 1;
  gutter_->Top = 1;
  gutter_->Width = 45;
  gutter_->Height = 0;

  undoList_ = std::make_unique<TLumUndoList>(this);

  hintTimer_ = new vcl::TTimer(this);
  hintTimer_->SetEnabled(false);
  hintTimer_->SetInterval(static_cast<rtl::Cardinal>(autoHintParameterDelay_));
  completionTimer_ = new vcl::TTimer(this);
  completionTimer_->SetEnabled(false);
  completionTimer_->SetInterval(500);
  completionTimer_->OnTimer = [this](TObject*) { CompletionTimerFired(); };
  // An open list takes the new colour and font at once.
  autoCompletion_->OnLooksChange = [this] {
    if (!completionForm_) return;
    TAutoCompletionListBox* list = completionForm_->List();
    list->SetColor(autoCompletion_->Color());
    list->SetFont(autoCompletion_->Font());
    list->Measure();
  };
  hintTimer_->OnTimer = [this](TObject*) { HideParameterHint(); };
  completionWords_ = std::make_unique<rtl::TStringList>();
  autoCompletion_->OnDelayChange = [this] {
    completionTimer_->SetInterval(static_cast<rtl::Cardinal>(std::max(autoCompletion_->Delay(), 1)));
  };
  scrollHintWindow_ = new vcl::THintWindow(this);

  tokenizer_ = std::make_unique<TLineTokenizer>();
  stylerList_ = new TLumStylerList(this, owner);

  codeFolding_ = std::make_unique<TCodeFolding>();
  codeFolding_->OnChange = [this](TCodeFolding*, TCodeFoldingChange reason) {
    if (reason == TCodeFoldingChange::cfcEnabled) {
      ShowCaretAt(true);
      RebuildRegions();
    }
    Invalidate();
  };
  created_ = true;
}

TLumCustomMemo::~TLumCustomMemo() {
  // The typing aids' windows go first, so nothing they do reaches a memo
  // half taken down.
  if (TLumAutoform* form = completionForm_) {
    completionForm_ = nullptr;
    form->List()->DetachMemo();
    form->OnPopupDeactivate = nullptr;
    if (form->Visible()) form->HidePopup();
    vcl::Free(form);
  }
  if (TLumHintForm* hint = hintForm_) {
    hintForm_ = nullptr;
    hint->DetachMemo();
    vcl::Free(hint);
  }
  if (completionImages_) completionImages_->RemoveFreeNotification(this);
  completionImages_ = nullptr;
  markerList_->SetMarkerImageList(nullptr);
  // The source keeps this memo's view for the next one.
  if (SourceShown()) memoSource_->Attach(nullptr);
  if (memoSource_) memoSource_->RemoveFreeNotification(this);
  memoSource_ = nullptr;
  if (memoChecker_) {
    memoChecker_->RemoveFreeNotification(this);
    if (memoChecker_->Memo() == this) memoChecker_->SetMemo(nullptr);
  }
  memoChecker_ = nullptr;
  lines_->OnChange = nullptr;
  lines_->SetMemo(nullptr);
  undoList_->Clear();
  if (vcl::GetCaretState().Owner != 0 && HandleAllocated() && vcl::GetCaretState().Owner == Handle())
    vcl::DestroyCaret();
  for (vcl::TScrollBar* bar : {vScroll_, hScroll_}) {
    bar->OnScroll = nullptr;
    bar->OnChange = nullptr;
  }
  hintTimer_->SetEnabled(false);
  completionTimer_->SetEnabled(false);
  codeFolding_->OnChange = nullptr;
  autoCompletion_->OnLooksChange = nullptr;
  autoCompletion_->OnDelayChange = nullptr;
}

// -------------------------------------------------- text, undo, styler

bool TLumCustomMemo::SourceShown() const { return memoSource_ && memoSource_->Memo() == this; }

TLumMemoStrings* TLumCustomMemo::TextStore() const { return SourceShown() ? memoSource_->Lines() : lines_.get(); }

TLumUndoList* TLumCustomMemo::UndoList() const { return SourceShown() ? memoSource_->UndoList() : undoList_.get(); }

TLumCustomMemoStyler* TLumCustomMemo::ActiveStyler() const {
  if (!useStyler_) return nullptr;
  return SourceShown() ? memoSource_->SyntaxStyler() : syntaxStyles_;
}

void TLumCustomMemo::SetSyntaxStyles(TLumCustomMemoStyler* styler) {
  if (syntaxStyles_ && syntaxStyles_ != styler) {
    syntaxStyles_->RemoveFreeNotification(this);
    // The styler must not reach this editor after it has gone.
    if (syntaxStyles_->AllStyles()->Editor() == this) syntaxStyles_->AllStyles()->SetEditor(nullptr);
  }
  syntaxStyles_ = styler;
  useStyler_ = styler != nullptr;
  if (styler) {
    styler->FreeNotification(this);
    TElementStyles* styles = styler->AllStyles();
    styles->SetEditor(this);
    // The lists are sorted for the binary search; without case
    // sensitivity they hold lower case (for every editor sharing them).
    for (Integer i = 0; i < styles->Count(); ++i) {
      TElementStyle* e = styles->Items(i);
      if (e->StyleType() != stKeyword) continue;
      rtl::TStringList* keys = e->KeyWords();
      keys->SetSorted(false);
      if (!caseSensitive_)
        for (Integer k = 0; k < keys->Count(); ++k) keys->Put(k, rtl::LowerCase(keys->Get(k)));
      keys->SetSorted(true);
    }
  }
  tokenizerStyler_ = nullptr;
  StyleChanged();
  Invalidate();
}

void TLumCustomMemo::StyleChanged() { startStateLine_ = -1; }

TLineTokenizer& TLumCustomMemo::Tokenizer() const {
  TLumCustomMemoStyler* styler = ActiveStyler();
  Integer version = styler ? styler->Version() : 0;
  if (styler != tokenizerStyler_ || version != tokenizerVersion_ || caseSensitive_ != tokenizerCase_ ||
      urlAware_ != tokenizerUrls_ || (styler && !tokenizer_->Defs()) || (!styler && tokenizer_->Defs())) {
    tokenizer_->SetDefs(styler ? &styler->Defs() : nullptr, caseSensitive_, urlAware_);
    tokenizerStyler_ = styler;
    tokenizerVersion_ = version;
    tokenizerCase_ = caseSensitive_;
    tokenizerUrls_ = urlAware_;
  } else if (styler) {
    // Plain settings (markers, number characters) are read afresh.
    styler->Defs();
  }
  return *tokenizer_;
}

void TLumCustomMemo::SetLines(const rtl::TStrings* list) {
  if (!list) return;
  TLumMemoStrings* store = TextStore();
  store->Clear();
  store->AddStrings(*list);
  if (trimTrailingSpaces_)
    for (Integer i = 0; i < store->Count(); ++i) {
      AnsiString trimmed = TrimRightBlanks(store->Line(i));
      if (trimmed != store->Line(i)) store->Put(i, trimmed);
    }
  if (ComponentState().Contains(vcl::csDesigning)) {
    ResizeUpdate();
    Repaint();
  } else {
    DoSelectionChange();
    Invalidate();
  }
}

Integer TLumCustomMemo::LineCount() const { return TextStore()->Count(); }
const AnsiString& TLumCustomMemo::LineText(Integer line) const { return TextStore()->Line(line); }
Integer TLumCustomMemo::LineLen(Integer line) const {
  TLumMemoStrings* s = TextStore();
  return line >= 0 && line < s->Count() ? s->LineLength(line) : 0;
}

bool TLumCustomMemo::ContinuationsPossible() const { return wordWrap_ != wwNone || wrapIndexList_->Count() > 0; }

bool TLumCustomMemo::IsContinuation(Integer line) const {
  if (!ContinuationsPossible()) return false;
  TLineProp* p = TextStore()->GetLineProp(line);
  return p && p->Continuation;
}

// ------------------------------------------------------------- settings

void TLumCustomMemo::SetColorIndex(Integer index, TColor value) {
  TColor* slot = index == 0 ? &bkColor_ : index == 1 ? &selColor_ : &selBkColor_;
  if (*slot == value) return;
  *slot = value;
  Invalidate();
}

void TLumCustomMemo::SetSmartTabs(bool v) {
  smartTabs_ = v;
  Invalidate();
}
void TLumCustomMemo::SetEnhancedHomeKey(bool v) {
  enhancedHomeKey_ = v;
  Invalidate();
}
void TLumCustomMemo::SetTrimTrailingSpaces(bool v) {
  trimTrailingSpaces_ = v;
  Invalidate();
}
void TLumCustomMemo::SetCaseSensitive(bool v) {
  if (v == caseSensitive_) return;
  caseSensitive_ = v;
  StyleChanged();
  Invalidate();
}
void TLumCustomMemo::SetUseStyler(bool v) {
  useStyler_ = v;
  StyleChanged();
  Invalidate();
}
void TLumCustomMemo::SetHideSelection(bool v) {
  if (v == hideSelection_) return;
  hideSelection_ = v;
  Invalidate();
}
void TLumCustomMemo::SetShowRightMargin(bool v) {
  showRightMargin_ = v;
  Invalidate();
}
void TLumCustomMemo::SetRightMargin(Integer v) {
  if (v == rightMargin_) return;
  rightMargin_ = v;
  Invalidate();
}
void TLumCustomMemo::SetRightMarginColor(TColor v) {
  if (v == rightMarginColor_) return;
  rightMarginColor_ = v;
  Invalidate();
}
void TLumCustomMemo::SetUrlAware(bool v) {
  if (v == urlAware_) return;
  urlAware_ = v;
  StyleChanged();
  Invalidate();
}
void TLumCustomMemo::SetBorderColor(TColor v) {
  borderColor_ = v;
  Invalidate();
}
void TLumCustomMemo::SetBlockShow(bool v) {
  blockShow_ = v;
  Invalidate();
}
void TLumCustomMemo::SetBlockColor(TColor v) {
  blockColor_ = v;
  Invalidate();
}
void TLumCustomMemo::SetBlockLineColor(TColor v) {
  blockLineColor_ = v;
  Invalidate();
}
void TLumCustomMemo::SetBreakpointColor(TColor v) {
  if (v == breakpointColor_) return;
  breakpointColor_ = v;
  Invalidate();
}
void TLumCustomMemo::SetBreakpointTextColor(TColor v) {
  if (v == breakpointTextColor_) return;
  breakpointTextColor_ = v;
  Invalidate();
}
void TLumCustomMemo::SetAutoHintParameterDelay(Integer v) {
  autoHintParameterDelay_ = v;
  if (v > 0) hintTimer_->SetInterval(static_cast<rtl::Cardinal>(v));
}

void TLumCustomMemo::SetUndoLimit(Integer v) {
  if (v == undoLimit_) return;
  v = std::clamp(v, 1, 100);
  undoLimit_ = v;
  undoList_->SetLimit(v);
}

void TLumCustomMemo::SetAcceptFiles(bool v) {
  acceptFiles_ = v;
  if (HandleAllocated()) vcl::DragAcceptFiles(Handle(), v);
}

void TLumCustomMemo::FilesDropped(vcl::HDROP drop) {
  if (!acceptFiles_) return;
  vcl::Cardinal count = vcl::DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0);
  for (vcl::Cardinal i = 0; i < count; ++i) {
    char name[256];
    // Names longer than 255 characters cannot be read.
    if (vcl::DragQueryFile(drop, i, nullptr, 0) > 255) continue;
    vcl::DragQueryFile(drop, i, name, sizeof name);
    bool defaultHandler = true;
    if (OnFileDrop) OnFileDrop(this, name, defaultHandler);
    if (defaultHandler) TextStore()->LoadFromFile(name);
  }
}

void TLumCustomMemo::SetScrollBars(vcl::TScrollStyle v) {
  if (v == scrollBars_) return;
  scrollBars_ = v;
  ResizeUpdate();
  Invalidate();
}

void TLumCustomMemo::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  PlaceGutter();
  Invalidate();
}

void TLumCustomMemo::SetCtl3D(bool v) {
  TCustomControl::SetCtl3D(v);
  PlaceGutter();
  Invalidate();
}

void TLumCustomMemo::PlaceGutter() {
  if (borderStyle_ == vcl::TFormBorderStyle::bsSingle) {
    gutter_->Left = gutter_->Top = Ctl3D() ? 2 : 1;
    gutter_->Width = gutter_->GutterWidth();
  } else {
    gutter_->Left = gutter_->Top = 0;
    gutter_->Width = gutter_->GutterWidth() + 2;
  }
}

void TLumCustomMemo::InvalidateGutter() { Invalidate(); }

void TLumCustomMemo::SetCursor(vcl::TCursor c) {
  TControl::SetCursor(c);
  textCursor_ = c;
}

void TLumCustomMemo::SetCodeFolding(const TCodeFolding* v) {
  if (v) codeFolding_->Assign(v);
}

void TLumCustomMemo::SetPrintOptions(const TPrintOptions* v) {
  if (v) printOptions_->Assign(v);
}

void TLumCustomMemo::SetUrlStyle(TCharStyle* v) {
  if (v && v != urlStyle_.get()) urlStyle_.reset(v);
}

void TLumCustomMemo::SetHiddenCaret(bool v) {
  if (v == hiddenCaret_) return;
  hiddenCaret_ = v;
  if (Focused()) ShowCaretAt(!v);
}

void TLumCustomMemo::SetActiveLine(Integer line) {
  activeLine_ = line;
  if (activeLineSettings_->ShowActiveLine()) {
    MakeCaretVisible();
    Integer rows = GetVisibleExtent(1);
    if (line < topLine_ || line > topLine_ + rows - 1) {
      topLine_ = std::max(0, line - rows / 2);
      UpdateScrollBars(false);
    }
  }
  Invalidate();
}

void TLumCustomMemo::SetMeasuringCanvas(TCanvas* canvas) {
  measuringCanvas_ = canvas;
  lineHeight_ = 0;
  charWidth_ = 0;
  ApplyFontIfNeeded();
}

TCanvas* TLumCustomMemo::MeasureCanvas() { return measuringCanvas_ ? measuringCanvas_ : Canvas(); }

// --------------------------------------------------- events and overrides

void TLumCustomMemo::DoSelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}
void TLumCustomMemo::DoStatusChange() {
  if (OnStatusChange) OnStatusChange(this);
}
void TLumCustomMemo::DoCursorChange() {
  if (OnCursorChange) OnCursorChange(this);
}
void TLumCustomMemo::DoChange() {
  if (OnChange) OnChange(this);
}
void TLumCustomMemo::DoGutterClick(Integer lineNo) {
  if (OnGutterClick) OnGutterClick(this, lineNo);
}

void TLumCustomMemo::Resize() {
  TCustomControl::Resize();
  ResizeUpdate();
}

void TLumCustomMemo::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == vcl::opRemove && component && component == memoSource_) {
    SourceGone(memoSource_);
    return;
  }
  if (operation == vcl::opRemove && component && component == markerList_->MarkerImageList()) {
    markerList_->SetMarkerImageList(nullptr);
    return;
  }
  if (operation == vcl::opRemove && component && component == completionImages_) {
    completionImages_ = nullptr;
    if (completionForm_) completionForm_->List()->SetImages(nullptr);
    return;
  }
  if (operation == vcl::opRemove && component && component == completionForm_) {
    completionForm_ = nullptr;
    return;
  }
  if (operation == vcl::opRemove && component && component == hintForm_) {
    hintForm_ = nullptr;
    return;
  }
  if (operation == vcl::opRemove && component && component == memoChecker_) {
    memoChecker_ = nullptr;
    return;
  }
  if (operation == vcl::opRemove && component && component == syntaxStyles_) {
    syntaxStyles_ = nullptr;
    useStyler_ = false;
    tokenizerStyler_ = nullptr;
    tokenizer_->SetDefs(nullptr, caseSensitive_, urlAware_);
    StyleChanged();
    Invalidate();
  }
}

void TLumCustomMemo::Dispatch(vcl::TMessage& m) {
  switch (m.Msg) {
    case vcl::WM_SETFOCUS:
      TCustomControl::Dispatch(m);
      FocusGained();
      return;
    case vcl::WM_KILLFOCUS:
      TCustomControl::Dispatch(m);
      FocusLost(static_cast<vcl::HWND>(m.WParam));
      return;
    case vcl::CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      UpdateFontMetrics();
      return;
    case vcl::WM_GETDLGCODE:
      m.Result = vcl::DLGC_WANTARROWS | vcl::DLGC_WANTCHARS | (wantTab_ ? vcl::DLGC_WANTTAB : 0);
      return;
    case vcl::CM_WANTSPECIALKEY:
      if (m.WParam == vcl::VK_RETURN) {
        m.Result = 1;
        return;
      }
      TCustomControl::Dispatch(m);
      return;
    case vcl::WM_SYSCHAR:
      // Alt+Backspace undoes (KeyDown); its character must not beep.
      if (m.WParam == vcl::VK_BACK) {
        m.Result = 0;
        return;
      }
      TCustomControl::Dispatch(m);
      return;
    case vcl::WM_ERASEBKGND:
      m.Result = 1;
      return;
    case vcl::WM_LBUTTONDBLCLK: {
      vcl::TWMMouse mm(m);
      DoubleClickAt(mm.XPos, mm.YPos);
      return;
    }
    case vcl::WM_CONTEXTMENU:
      ContextMenu(m);
      return;
    case vcl::WM_COMMAND:
      MenuCommand(static_cast<Integer>(m.WParam & 0xFFFF));
      return;
    case vcl::WM_CREATE:
      TCustomControl::Dispatch(m);
      if (acceptFiles_) vcl::DragAcceptFiles(Handle(), true);
      return;
    case vcl::WM_DROPFILES:
      FilesDropped(reinterpret_cast<vcl::HDROP>(m.WParam));
      return;
    case vcl::WM_THEMECHANGED:
    case kThemeChangedNotice:
      TCustomControl::Dispatch(m);
      ThemeChangedHook();
      return;
    default:
      TCustomControl::Dispatch(m);
  }
}

void TLumCustomMemo::ContextMenu(vcl::TMessage& m) {
  if (CanFocus() && !Focused()) SetFocus();
  vcl::TPoint screen{vcl::GET_X_LPARAM(m.LParam), vcl::GET_Y_LPARAM(m.LParam)};
  if (PopupMenu()) {
    TCustomControl::Dispatch(m);
    return;
  }
  vcl::TPoint client = ScreenToClient(screen);
  Integer gutterWidth = gutter_->Visible() ? gutter_->Width : 0;
  if (client.X <= gutterWidth) return;
  bool selection = HasSelection();
  std::vector<vcl::TPopupItem> items = {
      {"Undo\tCtrl-Z", 5, CanUndo() && !readOnly_},
      {"Redo\tCtrl-Y", 6, CanRedo() && !readOnly_},
      {},
      {"Copy\tCtrl-C", 1, selection},
      {"Cut\tCtrl-X", 2, selection},
      {"Paste\tCtrl-V", 3, vcl::Clipboard()->HasFormat(vcl::CF_TEXT) && !readOnly_},
      {"Delete", 7, selection},
      {},
      {"Select All\tCtrl-A", 4, true},
  };
  vcl::TCursor before = TControl::Cursor();
  TControl::SetCursor(vcl::crDefault);
  Integer command = vcl::TrackPopupItems(items, screen);
  TControl::SetCursor(before);
  m.Result = 1;
  if (command) Perform(vcl::WM_COMMAND, static_cast<vcl::WPARAM>(command), 0);
}

void TLumCustomMemo::MenuCommand(Integer id) {
  switch (id) {
    case 1: CopyToClipboard(); break;
    case 2: CutToClipboard(); break;
    case 3: PasteFromClipboard(); break;
    case 4: SelectAll(); break;
    case 5: Undo(); break;
    case 6: Redo(); break;
    case 7: DeleteSelection(true); break;
    default: break;
  }
}

void TLumCustomMemo::CreateSystemCaret() {
  vcl::CreateCaret(Handle(), 2, std::max(lineHeight_ - 2, 1));
}

void TLumCustomMemo::FocusGained() {
  ApplyFontIfNeeded();
  CreateSystemCaret();
  caretShown_ = false;
  caretPos_ = {0xFFFF, 0xFFFF};
  ShowCaretAt(true);
  vcl::SetCaretBlinkTime(vcl::GetCaretBlinkTime());
  Invalidate();
}

void TLumCustomMemo::FocusLost(vcl::HWND newFocus) {
  hintTimer_->SetEnabled(true);
  bool toOwnBar = newFocus != 0 && ((vScroll_->HandleAllocated() && newFocus == vScroll_->Handle()) ||
                                    (hScroll_->HandleAllocated() && newFocus == hScroll_->Handle()));
  if (toOwnBar) return;
  vcl::SetCaretBlinkTime(vcl::GetCaretBlinkTime());
  if (vcl::GetCaretState().Owner == Handle()) vcl::DestroyCaret();
  caretShown_ = false;
  Invalidate();
}

// ------------------------------------------------------ the store's side

void TLumCustomMemo::StoreLineChanged(Integer index) {
  if (index < topLine_) startStateLine_ = -1;
}

void TLumCustomMemo::StoreBeginLoad() {
  selStartX_ = selEndX_ = lastCaretX_ = caretX_;
  selStartY_ = selEndY_ = lastCaretY_ = caretY_;
  UndoList()->Clear();
  caretX_ = caretY_ = 0;
  notifications_ = false;
}

void TLumCustomMemo::StoreEndLoad(Integer longestLine) {
  startStateLine_ = -1;
  caretX_ = caretY_ = 0;
  selStartX_ = selStartY_ = selEndX_ = selEndY_ = lastCaretX_ = lastCaretY_ = 0;
  longestLine_ = longestLine;
  notifications_ = true;
  LinesChanged();
  Rewrap();
  RebuildRegions();
  Invalidate();
}

void TLumCustomMemo::StoreAbortLoad() { notifications_ = true; }

void TLumCustomMemo::StoreBeforeInsert() { ClearSelection(); }

void TLumCustomMemo::StoreAfterInsert() {
  caretY_ = std::clamp(caretY_, 0, std::max(LineCount() - 1, 0));
  Invalidate();
}

void TLumCustomMemo::StoreLineInserted(Integer index) { ShiftBookmarksDown(index); }

void TLumCustomMemo::StoreDeleteLine(Integer index) {
  Integer oldX = caretX_, oldY = caretY_;
  bool single = LineCount() == 1;
  RemoveRegionsForDeletedLine(index);
  caretY_ = index;
  DeleteLine();
  caretX_ = single ? 0 : oldX;
  caretY_ = std::clamp(oldY - (index < oldY ? 1 : 0), 0, std::max(LineCount() - 1, 0));
  Invalidate();
}

void TLumCustomMemo::StoreBeforeClear() {
  selStartX_ = selStartY_ = selEndX_ = selEndY_ = 0;
  caretX_ = caretY_ = 0;
  Invalidate();
}

void TLumCustomMemo::StoreAfterClear() { regionCount_ = 0; }

bool TLumCustomMemo::StoreFoldingEnabled() const { return codeFolding_->Enabled(); }

void TLumCustomMemo::StoreAssign(const rtl::TStrings& source) {
  bool folding = codeFolding_->Enabled();
  if (folding) codeFolding_->SetEnabled(false);
  ClearAll();
  startStateLine_ = -1;
  SetLines(&source);
  RecalcLongestLine();
  UpdateScrollBars(false);
  if (folding) codeFolding_->SetEnabled(true);
}

void TLumCustomMemo::StoreLinesAppended() {
  RecalcLongestLine();
  Invalidate();
}

void TLumCustomMemo::StoreLinesReplaced() {
  startStateLine_ = -1;
  RecalcLongestLine();
}

// ------------------------------------------------------ shared text sources

void TLumCustomMemo::SetMemoSource(TLumMemoSource* source) {
  if (source == memoSource_) return;
  if (memoSource_) {
    TLumMemoSource* old = memoSource_;
    if (old->Memo() == this) old->Attach(nullptr);
    old->RemoveFreeNotification(this);
  }
  memoSource_ = source;
  if (source) source->FreeNotification(this);
  if (!LoadingOrDesigning()) {
    if (source) {
      source->Attach(this);
    } else {
      // Back to the memo's own text, from its top.
      RestoreViewState(TMemoSavedView{});
    }
  }
  StyleChanged();
  RecalcLongestLine();
  UpdateScrollBars(false);
  Invalidate();
}

void TLumCustomMemo::SourceAttaching(TLumMemoSource* source) {
  if (memoSource_ != source) {
    if (memoSource_) {
      TLumMemoSource* old = memoSource_;
      memoSource_ = nullptr;
      if (old->Memo() == this) old->Attach(nullptr);
      old->RemoveFreeNotification(this);
    }
    memoSource_ = source;
    source->FreeNotification(this);
  }
  ExpandSourceTabs();
  StyleChanged();
}

void TLumCustomMemo::ExpandSourceTabs() {
  TLumMemoStrings* store = memoSource_->Lines();
  AnsiString blanks(static_cast<size_t>(std::max(tabSize_, 0)), ' ');
  for (Integer i = 0; i < store->Count(); ++i) {
    const AnsiString& line = store->Line(i);
    if (line.find('\t') == AnsiString::npos) continue;
    AnsiString expanded;
    for (char c : line)
      if (c == '\t')
        expanded += blanks;
      else
        expanded += c;
    store->PutRaw(i, std::move(expanded));
  }
}

void TLumCustomMemo::SourceGone(TLumMemoSource* source) {
  if (source != memoSource_) return;
  memoSource_ = nullptr;
  RestoreViewState(TMemoSavedView{});
  StyleChanged();
  RecalcLongestLine();
  UpdateScrollBars(false);
  Invalidate();
}

TMemoSavedView TLumCustomMemo::SavedViewState() const {
  return {caretX_, caretY_, leftCol_, topLine_, selStartX_, selStartY_, selEndX_, selEndY_};
}

void TLumCustomMemo::RestoreViewState(const TMemoSavedView& view) {
  Integer last = std::max(LineCount() - 1, 0);
  auto line = [last](Integer y) { return std::clamp(y, 0, last); };
  caretX_ = std::max(view.CaretX, 0);
  caretY_ = line(view.CaretY);
  leftCol_ = std::max(view.LeftCol, 0);
  topLine_ = line(view.TopLine);
  selStartX_ = std::max(view.SelStartX, 0);
  selStartY_ = line(view.SelStartY);
  selEndX_ = std::max(view.SelEndX, 0);
  selEndY_ = line(view.SelEndY);
  lastCaretX_ = caretX_;
  lastCaretY_ = caretY_;
  startStateLine_ = -1;
  RecalcLongestLine();
  UpdateScrollBars(false);
  if (caretShown_) ShowCaretAt(true);
}

void TLumCustomMemo::SetMemoChecker(TLumMemoChecker* checker) {
  if (checker == memoChecker_) return;
  if (memoChecker_) memoChecker_->RemoveFreeNotification(this);
  memoChecker_ = checker;
  if (checker) {
    checker->FreeNotification(this);
    checker->SetMemo(this);
  }
}

// ---------------------------------------------------------------- bookmarks

void TLumCustomMemo::ShiftBookmarksDown(Integer from) {
  for (Integer i = 0; i < bookmarks_->Count(); ++i)
    if (bookmarks_->Items(i) >= from) bookmarks_->SetItems(i, bookmarks_->Items(i) + 1);
}

void TLumCustomMemo::ShiftBookmarksUp(Integer from) {
  for (Integer i = 0; i < bookmarks_->Count(); ++i)
    if (bookmarks_->Items(i) >= from && bookmarks_->Items(i) > 0) bookmarks_->SetItems(i, bookmarks_->Items(i) - 1);
}

void TLumCustomMemo::ResetBookmarksBeyondText() {
  for (Integer i = 0; i < bookmarks_->Count(); ++i)
    if (bookmarks_->Items(i) >= LineCount()) bookmarks_->SetItems(i, -1);
}

// ------------------------------------------- hooks of the later parts

std::optional<TParameterHintText> TLumCustomMemo::ParameterHintAtCaret() {
  TLumCustomMemoStyler* styler = ActiveStyler();
  TLumMemoStrings* store = TextStore();
  if (!styler || caretY_ < 0 || caretY_ >= store->Count()) return std::nullopt;
  return ParameterHintFor(store->Strings(caretY_), caretX_, *styler->HintParameter(), caseSensitive_, OnGetParameterHint,
                          this);
}

bool TLumCustomMemo::CompletionCandidatesAtCaret(rtl::TStrings& out) {
  out.Clear();
  TLumCustomMemoStyler* styler = ActiveStyler();
  if (!autoCompletion_->Active || readOnly_ || !styler || styler->CompletionList()->Count() == 0) return false;
  CaretToTextForWord();
  const AnsiString token =
      caretY_ < LineCount() ? rtl::UpperCase(CompletionTokenAt(LineText(caretY_), caretX_)) : AnsiString();
  bool show = true;
  if (OnBeforeAutoCompletion) OnBeforeAutoCompletion(this, token, show);
  if (!show) return false;
  CollectCompletionCandidates(*styler->CompletionList(), token, out);
  DoGetAutoCompletionList(token, &out);
  return out.Count() > 0;
}

bool TLumCustomMemo::InsertCompletionEntry(const AnsiString& entry, bool byKey, bool member, Integer memberStart) {
  if (readOnly_ || !CanEdit()) return false;
  CaretToTextForWord();
  bool parentheses = false;
  const AnsiString text = CompletionInsertText(entry, byKey, OnInsertAutoCompletionEntry, this, parentheses);
  const AnsiString line = caretY_ < LineCount() ? LineText(caretY_) : AnsiString();
  const auto [first, last] = CompletionReplaceRange(line, caretX_, member, memberStart, CompletionName(entry));
  SetSelection({first, caretY_}, {last, caretY_});
  if (OnAutoCompletion) OnAutoCompletion(this);
  InsertText(text);
  if (parentheses) SetCaretX(caretX_ - 1);
  return parentheses;
}

void TLumCustomMemo::DoGetAutoCompletionList(const AnsiString& token, rtl::TStrings* list) {
  if (OnGetAutoCompletionList) OnGetAutoCompletionList(this, token, list);
}


}  // namespace memo
