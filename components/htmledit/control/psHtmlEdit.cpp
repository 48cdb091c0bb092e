#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psMouseScrollManager.h"

#include "htmledit/control/psObjectSelection.h"
#include "htmledit/control/psHtmlEditSmartTagHost.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psCaret.h"
#include "htmledit/view/psHints.h"
#include "htmledit/view/psImageCache.h"
#include "htmledit/view/psSmartTagView.h"
#include "htmledit/view/psWindows.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Pictures.h"
#include "vcl/Resources.h"

namespace htmledit {

void RegisterHtmlEditResources();

using htmlview::TpsMessage;
using htmlview::TpsWindow;

namespace {

// The editor's resources are registered once, by the first editor made.
void EnsureHtmlEditResources() {
  static const bool registered = [] {
    RegisterHtmlEditResources();
    return true;
  }();
  (void)registered;
}

}  // namespace

// --- Construction and destruction ---

TpsHTMLEditBase::TpsHTMLEditBase(vcl::TComponent* aOwner)
    : vcl::TScrollingWinControl(aOwner),
      FAppWorkspaceColor(vcl::clAppWorkSpace),
      FHighlightColor(vcl::clHighlight) {
  EnsureHtmlEditResources();
  FVertBar = std::make_unique<htmlview::TpsVCLScrollBar>(htmlview::sbkVertical, &VertScrollBar(), this);
  FMouseScrollManager = std::make_unique<TpsMouseScrollManager>(this);
  FMouseScrollManager->OnScroll = [this](Integer aDelta) { AutoScrollTick(aDelta); };
  // While the user-interface thread waits for the smart-tag thread, what is
  // already invalidated keeps being painted.
  FDocumentLock.OnLock = [this](htmldoc::TpsDocumentAccess*) {
    if (FWindowManager) FWindowManager->PaintInvalidatedWindows();
  };
  if (!ComponentState().Contains(vcl::csDesigning)) {
    FRepaintEvent = std::make_unique<htmldoc::TpsEvent>(true);
    FTimer = new vcl::TTimer(this);
    FTimer->SetInterval(100);
    FTimer->OnTimer = [this](vcl::TObject*) { TimerTick(); };
    FTimer->SetEnabled(true);
  }
  SetWidth(360);
  SetHeight(230);
  SetTabStop(true);
  FStyleSheet = std::make_unique<htmldoc::TpsStyleSheet>();
  FSpareContextTree = std::make_unique<htmldoc::TpsStyleContextTree>(FStyleSheet.get());
  MakeDocumentEvents();
  ResetStyleSheet();
  FCanvas = std::make_unique<htmlview::TpsScrollCanvas>();
  FWindowManager = std::make_unique<htmlview::TpsWindowManager>(FCanvas.get());
  FWindowManager->OnGetDC = [this] { return GetDC(); };
  FWindowManager->OnReleaseDC = [this](vcl::TCanvas* aDC) { ReleaseDC(aDC); };
  FWindowManager->OnCreateTimer = [this] { return new vcl::TTimer(this); };
  FWindowManager->AddBeforePaintHandler(this, [this](TObjectPtr) {
    if (!FCaret) return;
    FCaretWasVisible = FCaret->GetVisible();
    FCaret->SetVisible(false);
  });
  FWindowManager->AddAfterPaintHandler(this, [this](TObjectPtr) {
    if (FCaret && FCaretWasVisible) FCaret->SetVisible(true);
  });
  FSmartTagHost = std::make_unique<TpsHtmlEditSmartTagHost>(*this);
  FSmartTagView = std::make_unique<htmlview::TpsSmartTagView>(*FWindowManager);
  SmartTags.SetEditor(FSmartTagHost.get());
  if (!ComponentState().Contains(vcl::csDesigning)) {
    // Started in Loaded, once the control can show what it marks.
    FSmartTagThread = std::make_unique<TpsSmartTagThread>(FSmartTagHost.get());
    FSmartTagThread->OnIdle = [this] {
      std::lock_guard<std::mutex> guard(FSmartTagIdleLock);
      if (FSmartTagIdle) FSmartTagIdle();
    };
  }
  FImageCache = std::make_unique<htmlview::TpsImageCache>();
  FImageCache->OnRequestResizedGraphic = [this](htmlview::TpsImageCache*, const AnsiString& aSource, Integer aWidth,
                                                Integer aHeight) {
    vcl::TGraphic* graphic = nullptr;
    DoRequestResizedGraphic(aSource, aWidth, aHeight, graphic);
    return std::unique_ptr<vcl::TGraphic>(graphic);
  };
  FImageDownsizeOverlay = std::make_unique<vcl::TPicture>();
  {
    auto bitmap = std::make_unique<vcl::TBitmap>();
    bitmap->LoadFromResourceName(vcl::HInstance, "PS_HTMLEDIT_DEFAULT_DOWNSIZE_OVERLAY");
    FImageDownsizeOverlay->SetGraphic(bitmap.get());
  }
  Constraints()->MinWidth = 100;
  vcl::TControl::SetCursor(vcl::crIBeam);
  FSavedCursor = vcl::TControl::Cursor();
  FMetaTags = std::make_unique<htmldoc::TpsMetaTagList>();
  FLinkTags = std::make_unique<htmldoc::TpsMarkupTagList>(true);
}

TpsHTMLEditBase::~TpsHTMLEditBase() {
  FDestroying = true;
  FLinkTags.reset();
  FMetaTags.reset();
  // The threads walk the view, so they end before anything of it goes;
  // the handlers go with the thread's list.
  StopSmartTagThread();
  if (FTimer) FTimer->SetEnabled(false);
  FRepaintEvent.reset();
  FImageDownsizeOverlay.reset();
  FreeDocument();
  FImageRecycler.reset();
  FCaret.reset();
  FWindowManager->RemoveBeforePaintHandler(this);
  FWindowManager->RemoveAfterPaintHandler(this);
  FSmartTagView.reset();
  FWindowManager.reset();
  FImageCache.reset();
  FCanvas.reset();
  FSpareContextTree.reset();
  FStyleSheet.reset();
  FVertBar.reset();
}

void TpsHTMLEditBase::Loaded() {
  if (FIsLoaded) return;
  vcl::TScrollingWinControl::Loaded();
  FSavedCursor = vcl::TControl::Cursor();
  VertScrollBar().SetTracking(true);
  FCaret = std::make_unique<htmlview::TpsCaret>(this, ComponentState().Contains(vcl::csDesigning),
                                                FWindowManager.get(), FCanvas.get());
  FCaret->SetReadOnly(FReadOnly);
  {
    AnsiString css = FDefaultStyleSheet;
    LoadStyleSheetFromString(css, false);
  }
  FCanvas->SetSize(vcl::TControl::ClientWidth(), vcl::TControl::ClientHeight());
  if (!FDocumentLoaded) LoadDefaultDocument();
  DoCreate();
  FIsLoaded = true;
  if (SmartTagsActive() && !FSmartTagThread->Started()) FSmartTagThread->Start();
}

void TpsHTMLEditBase::LoadDefaultDocument() {
  if (!ScrollBars.VertVisible) VertScrollBar().SetRange(0);
  if (FDefaultDocument.empty()) {
    ClearDocument();
  } else {
    LoadFromString(FDefaultDocument, false, true);
  }
}

void TpsHTMLEditBase::ClearDocument() { LoadFromString("<p></p>", true, true); }

void TpsHTMLEditBase::FreeDocument() {
  FEditMode = htmlview::emText;
  FImageUnselectMessage.reset();
  if (FWindowManager) {
    FWindowManager->ClearQueue();
    FWindowManager->SetRootWindow(nullptr);
  }
  FSelection.reset();
  FDocument.reset();
}

// --- Properties ---

void TpsHTMLEditBase::SetReadOnly(bool aValue) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  FReadOnly = aValue;
  if (FCaret) FCaret->SetReadOnly(aValue);
}

void TpsHTMLEditBase::SetMemoStyle(bool aValue) {
  if (FMemoStyle == aValue) return;
  FMemoStyle = aValue;
  if (FDocument) Relayout(true, false);
  Invalidate();
}

void TpsHTMLEditBase::SetDocumentWidth(Integer aValue) {
  if (aValue < 100 || aValue == FDocumentWidth) return;
  FDocumentWidth = aValue;
  if (FDocument && !ComponentState().Contains(vcl::csLoading)) Relayout(true, false);
  Invalidate();
}

void TpsHTMLEditBase::SetShowDocumentFrame(bool aValue) {
  FShowDocumentFrame = aValue;
  Invalidate();
}

void TpsHTMLEditBase::SetAppWorkspaceColor(vcl::TColor aValue) {
  FAppWorkspaceColor = aValue;
  Invalidate();
}

void TpsHTMLEditBase::SetDefaultStyleSheet(const AnsiString& aCss) {
  FDefaultStyleSheet = aCss;
  LoadStyleSheetFromString(aCss, false);
}

void TpsHTMLEditBase::SetDefaultDocument(const AnsiString& aHtml) {
  FDefaultDocument = aHtml;
  LoadDefaultDocument();
}

vcl::TGraphic* TpsHTMLEditBase::GetImageDownsizeOverlayGraphic() const {
  return FImageDownsizeOverlay ? FImageDownsizeOverlay->Graphic() : nullptr;
}

vcl::TSize TpsHTMLEditBase::GetClientSize() {
  return {vcl::TControl::ClientWidth(), vcl::TControl::ClientHeight()};
}

void TpsHTMLEdit::LoadHTML(const AnsiString& aHtml) {
  htmldoc::TpsDocumentLockGuard lock(DocumentLock());
  LoadFromString(aHtml, true, true);
}

// --- Fire operations ---

void TpsHTMLEditBase::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TpsHTMLEditBase::DoUnknownStyle(const AnsiString& aStyleName) {
  if (OnUnknownStyle) OnUnknownStyle(this, aStyleName);
}
void TpsHTMLEditBase::DoUnknownStyleAttribute(const AnsiString& aStyleName, const AnsiString& aAttributeName,
                                              bool& ioDelete) {
  if (OnUnknownStyleAttribute) OnUnknownStyleAttribute(this, aStyleName, aAttributeName, ioDelete);
}
void TpsHTMLEditBase::DoSupportedCustomTag(const TpsMarkupTag& aTag, bool& oSupported) {
  if (OnSupportedCustomTag) OnSupportedCustomTag(this, aTag, oSupported);
}
void TpsHTMLEditBase::DoParseCustomTag(TpsMarkupTag& aTag, AnsiString& oReplace) {
  if (OnParseCustomTag) OnParseCustomTag(this, aTag, oReplace);
}
void TpsHTMLEditBase::DoParseTag(TpsMarkupTag& aTag) {
  if (OnParseTag) OnParseTag(this, aTag);
}
void TpsHTMLEditBase::DoParseImageTag(TpsMarkupTag& aTag) {
  if (OnParseImageTag) OnParseImageTag(this, aTag);
}
void TpsHTMLEditBase::DoRecreateCustomTag(TpsMarkupTag& aTag, const AnsiString& aReplacedBy) {
  if (OnRecreateCustomTag) OnRecreateCustomTag(this, aTag, aReplacedBy);
}
void TpsHTMLEditBase::DoParseDocumentRuntimeVariable(const AnsiString& aName, AnsiString& oReplace) {
  if (OnParseDocumentRuntimeVariable) OnParseDocumentRuntimeVariable(this, aName, oReplace);
}
void TpsHTMLEditBase::DoInitiateImageRequesting(const TImageIDArray& aIds) {
  if (OnInitiateImageRequesting) OnInitiateImageRequesting(this, aIds);
}
void TpsHTMLEditBase::DoRequestImage(Integer aImageID, Integer aWidth, Integer aHeight, vcl::TGraphic*& oGraphic,
                                     vcl::TPicture*& oContainer) {
  if (OnRequestImage) OnRequestImage(this, aImageID, aWidth, aHeight, oGraphic, oContainer);
}
void TpsHTMLEditBase::DoRequestResizedGraphic(const AnsiString& aSource, Integer aWidth, Integer aHeight,
                                              vcl::TGraphic*& oGraphic) {
  if (OnRequestResizedGraphic) OnRequestResizedGraphic(this, aSource, aWidth, aHeight, oGraphic);
}
void TpsHTMLEditBase::DoDocumentLoadingError(const AnsiString& aClassName, const AnsiString& aMessage) {
  if (OnDocumentLoadingError) OnDocumentLoadingError(this, aClassName, aMessage);
}
void TpsHTMLEditBase::DoDocumentChanged() {
  if (OnDocumentChanged) OnDocumentChanged(this);
}
void TpsHTMLEditBase::DoDocumentChange(htmldoc::TpsDocumentChange aChange) {
  if (OnDocumentChange) OnDocumentChange(this, aChange);
}
void TpsHTMLEditBase::DoCursorMoved() {
  if (OnCursorMoved) OnCursorMoved(this);
}
void TpsHTMLEditBase::DoDoneRequestingImages() {
  if (OnDoneRequestingImages) OnDoneRequestingImages(this);
}
void TpsHTMLEditBase::DoMergeBlocks(const AnsiString& aFirstClass, const AnsiString& aSecondClass, bool aFirstEmpty,
                                    bool aSecondEmpty, AnsiString& ioMergedClass) {
  if (OnMergeBlocks) OnMergeBlocks(this, aFirstClass, aSecondClass, aFirstEmpty, aSecondEmpty, ioMergedClass);
}
void TpsHTMLEditBase::DoTextClicked() {
  if (OnTextClicked) OnTextClicked(this);
}
void TpsHTMLEditBase::DoTextDoubleClicked(bool& oHandled) {
  if (OnTextDoubleClicked) OnTextDoubleClicked(this, oHandled);
}
void TpsHTMLEditBase::DoSplitBlock(const AnsiString& aCurrentClass, Byte aPosition,
                                   AnsiString& ioFirstClass, AnsiString& ioSecondClass, bool& oAllowSplit) {
  if (OnSplitBlock) OnSplitBlock(this, aCurrentClass, aPosition, ioFirstClass, ioSecondClass, oAllowSplit);
}
void TpsHTMLEditBase::DoSaveTag(TpsMarkupTag& ioTag, bool& oDelete) {
  if (OnSaveTag) OnSaveTag(this, ioTag, oDelete);
}
void TpsHTMLEditBase::DoLoadExternalStylesheet(const TpsMarkupTag& aLinkTag) {
  if (OnLoadExternalStylesheet) OnLoadExternalStylesheet(this, aLinkTag);
}

// --- View host ---

htmlview::TpsBodyNode* TpsHTMLEditBase::RootWindow() const {
  return FWindowManager ? static_cast<htmlview::TpsBodyNode*>(FWindowManager->Root()) : nullptr;
}

htmldoc::TpsStyleContextTree* TpsHTMLEditBase::StyleContextTree() {
  return FDocument ? &FDocument->StyleContextTree() : FSpareContextTree.get();
}

htmlview::IpsTextSelection* TpsHTMLEditBase::TextSelection() {
  if (!FSelection) FSelection = std::make_unique<TpsTextSelection>(this);
  return FSelection.get();
}

htmlview::TpsAbstractCanvas* TpsHTMLEditBase::ScreenCanvas() {
  return FPrintSurface ? FPrintSurface : FCanvas.get();
}

vcl::TCanvas* TpsHTMLEditBase::GetDC() { return vcl::TCustomControl::Canvas(); }

void TpsHTMLEditBase::SetLayoutRunning(bool aRunning) { FSuppressedUpdates.SetFlag(suLayoutRunning, aRunning); }

const htmlview::TpsVirtualBorders* TpsHTMLEditBase::VirtualBorders() { return &Tables.VirtualBorders(); }

void TpsHTMLEditBase::UpdateCaretPosition() {
  if (!RootWindow()) return;
  FWindowManager->BroadcastMessage(TpsMessage::Create(htmlview::mrCommand, htmlview::psmUpdateCaret));
}

bool TpsHTMLEditBase::HasTextSelection() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  return FSelection && FSelection->Active();
}

void TpsHTMLEditBase::ClearSelection() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FSelection) FSelection->Clear(true);
  if (FWindowManager) FWindowManager->PaintInvalidatedWindows();
}

void TpsHTMLEditBase::SelectAll() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow()) return;
  TextSelection();
  FSelection->SelectAll();
  FWindowManager->PaintInvalidatedWindows();
}

void TpsHTMLEditBase::SelectCurrentBlock() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow()) return;
  TpsMessage m(htmlview::mrFocused, htmlview::psmSelectBlock, nullptr);
  m.AutoFree = false;
  FWindowManager->SendToFocusedNode(m);
}

void TpsHTMLEditBase::PlaceCaret(const TpsRect& aRect, bool aScroll) {
  htmlview::TpsBodyNode* root = RootWindow();
  if (!FCaret || !root) return;
  // The lines give the caret in root coordinates, which the caret keeps; a
  // page outside the memo style stands off the client's corner, so the
  // view compares it in document coordinates.
  FCaret->SetBounds(aRect.Left, aRect.Top, aRect.Right - aRect.Left + 1, aRect.Bottom - aRect.Top + 1);
  if (!aScroll) return;
  const TpsRect view = GetViewRect();
  const Integer top = aRect.Top + root->Top;
  const Integer bottom = aRect.Bottom + root->Top;
  if (bottom > view.Bottom) {
    ScrollTo(VertScrollBar().Position() + bottom - view.Bottom);
  } else if (top < view.Top) {
    ScrollTo(VertScrollBar().Position() - (view.Top - top));
  }
}

TpsPoint TpsHTMLEditBase::ScrollOrigin() { return {HorzScrollBar().Position(), VertScrollBar().Position()}; }

void TpsHTMLEditBase::SetRevealTags(bool aReveal) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (aReveal == FRevealTags) return;
  FRevealTags = aReveal;
  Relayout(false, false);
}

// --- Requests and pending updates ---

void TpsHTMLEditBase::NotifyDocumentChange(htmldoc::TpsDocumentChange aChange) {
  FDocumentChangeKind = aChange;
  FPendingUpdates.SetFlag(puDocumentChanged, true);
}

void TpsHTMLEditBase::NotifyCursorMoved() { FPendingUpdates.SetFlag(puCursorMoved, true); }

void TpsHTMLEditBase::RequestRelayout(uint32_t aElementID) {
  FPendingUpdates.SetFlag(puRelayout, true);
  if (aElementID != 0) {
    FPendingUpdates.SetFlag(puReselect, true);
    FReselectElementID = aElementID;
  }
}

void TpsHTMLEditBase::RequestRepaint() { FPendingUpdates.SetFlag(puRepaint, true); }

void TpsHTMLEditBase::RequestSmartTagAnalysis() { FPendingUpdates.SetFlag(puSmartTagAnalysis, true); }

void TpsHTMLEditBase::ProcessPendingUpdates() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FPendingUpdates.GetFlag(puCursorMoved)) {
    FPendingUpdates.SetFlag(puCursorMoved, false);
    RefreshCursorContext();
    DoCursorMoved();
  }
  const auto reselect = [this] {
    if (FReselectElementID != 0 && RootWindow()) {
      auto m = TpsMessage::CreateToRoot(htmlview::mrCommand, htmlview::psmRefreshImage, true);
      m->ElementId = FReselectElementID;
      FWindowManager->PostAndProcess(std::move(m));
    }
    FReselectElementID = 0;
  };
  if (FPendingUpdates.GetFlag(puRelayout)) {
    FPendingUpdates.SetFlag(puRelayout, false);
    FPendingUpdates.SetFlag(puReselect, false);
    Relayout(true, false);
    reselect();
    Invalidate();
  }
  if (FPendingUpdates.GetFlag(puReselect)) {
    FPendingUpdates.SetFlag(puReselect, false);
    reselect();
    Invalidate();
  }
  if (FPendingUpdates.GetFlag(puRepaint)) {
    FPendingUpdates.SetFlag(puRepaint, false);
    Invalidate();
  }
  if (FPendingUpdates.GetFlag(puSmartTagAnalysis)) {
    FPendingUpdates.SetFlag(puSmartTagAnalysis, false);
    if (SmartTagsActive()) FSmartTagThread->RestartCaretBlock();
  }
  if (FPendingUpdates.GetFlag(puDocumentChanged) && !FSuppressedUpdates.GetFlag(suLayoutRunning)) {
    FPendingUpdates.SetFlag(puDocumentChanged, false);
    UpdateHoverCursor(FLastMousePoint);
    RefreshCursorContext();
    FStateSaved = false;
    if (!FFiringDocumentChanged) {
      FFiringDocumentChanged = true;
      try {
        DoDocumentChanged();
      } catch (...) {
        FFiringDocumentChanged = false;
        throw;
      }
      FFiringDocumentChanged = false;
    }
    if (!FFiringDocumentChange) {
      FFiringDocumentChange = true;
      try {
        DoDocumentChange(FDocumentChangeKind);
      } catch (...) {
        FFiringDocumentChange = false;
        throw;
      }
      FFiringDocumentChange = false;
    }
  }
}

void TpsHTMLEditBase::RebuildViewTree() {
  // The node a kept 260 names goes with the tree.
  FImageUnselectMessage.reset();
  FSelection = std::make_unique<TpsTextSelection>(this);
  FWindowManager->ClearQueue();
  FWindowManager->SetRootWindow(nullptr);
  if (FDocument) FDocument->ResetStyleContext();
  InstallRoot();
}

void TpsHTMLEditBase::InstallRoot() {
  FWindowManager->SetRootWindow(htmlview::NewWindow<htmlview::TpsBodyNode>(this));
  // A new tree (a load, an undo, a rebuild): its blocks are looked at
  // afresh, whatever their texts.
  if (SmartTagsActive()) FSmartTagThread->RestartAll();
}

namespace {

// The screen surface opened on the control's device context for a layout,
// closed again whatever happens.
class TpsLayoutPaintScope {
 public:
  explicit TpsLayoutPaintScope(TpsHTMLEditBase& aEditor) : FEditor(aEditor) {
    FDC = aEditor.GetDC();
    aEditor.ScreenCanvas()->BeginPaint(FDC);
  }
  ~TpsLayoutPaintScope() {
    FEditor.ScreenCanvas()->EndPaint();
    FEditor.ReleaseDC(FDC);
  }
  TpsLayoutPaintScope(const TpsLayoutPaintScope&) = delete;
  TpsLayoutPaintScope& operator=(const TpsLayoutPaintScope&) = delete;

 private:
  TpsHTMLEditBase& FEditor;
  vcl::TCanvas* FDC;
};

}  // namespace

void TpsHTMLEditBase::Relayout(bool aFull, bool aDocumentChanged, std::unique_ptr<TpsDataChunk> aChunk) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!FDocument || !RootWindow()) return;
  FEditMode = htmlview::emText;
  if (FSelection) FSelection->Reset();
  FWindowManager->PaintInvalidatedWindows();
  if (!aFull) {
    RunCommand(nullptr, nullptr);
    if (!aDocumentChanged) FPendingUpdates.SetFlag(puDocumentChanged, false);
  } else {
    std::unique_ptr<TpsDataChunk> chunk = std::move(aChunk);
    if (!chunk) chunk = RootWindow()->GetChunk(true);
    RebuildViewTree();
    {
      TpsLayoutPaintScope paint(*this);
      RootWindow()->LayoutChunk(*chunk);
    }
    UpdateCaretPosition();
    if (aDocumentChanged) NotifyDocumentChanged();
  }
  ProcessPendingUpdates();
  SyncScrollPosition();
}

std::unique_ptr<htmldoc::TpsHtmlTag> TpsHTMLEditBase::CreateHtmlTag(Byte aTagCode, bool aClosing,
                                                                   const AnsiString& aClass,
                                                                   const AnsiString& aStyle) {
  auto tag = std::make_unique<htmldoc::TpsHtmlTag>(FDocumentEvents, aTagCode,
                                                   aClosing ? htmldoc::ttClosing : htmldoc::ttOpening);
  if (!aClass.empty()) tag->SetAttribute("class", aClass);
  if (!aStyle.empty()) tag->SetStyleAttributeId(GetInternalStyleID(aStyle));
  return tag;
}

// --- The command frame ---

TpsMessage& TpsHTMLEditBase::PostCommand(Integer aId, TpsWindow* aTarget) {
  FWindowManager->PostMessage(TpsMessage::Create(htmlview::mrCommand, aId, aTarget ? aTarget : RootWindow()));
  return *FWindowManager->GetLastPostedMessage();
}

void TpsHTMLEditBase::RunCommand(TpsWindow* aTarget, const std::function<void()>& aPost,
                                 const std::function<void()>& aAfter) {
  PostCommand(htmlview::psmBeginEdit, aTarget);
  PostCommand(htmlview::psmExtractChunk, aTarget);
  if (aPost) aPost();
  PostCommand(htmlview::psmRelayout, aTarget);
  PostCommand(htmlview::psmDocumentChanged, aTarget);
  PostCommand(htmlview::psmEndEdit, aTarget);
  if (aAfter) aAfter();
  ProcessMessages();
  // The caret's block is looked at again even when the edit left its
  // text as it was (a block the thread skipped as unchanged).
  if (SmartTagsActive()) FSmartTagThread->RestartCaretBlock();
}

void TpsHTMLEditBase::ProcessMessages() {
  // The smart-tag thread walks the view whenever the lock is free, so the
  // queue never runs without it.
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  try {
    FWindowManager->ProcessMessages();
  } catch (...) {
    RecoverFromFailedCommand(std::current_exception());
    throw;
  }
}

namespace {

// The window whose content an edit has taken out and not yet laid out
// again, or nullptr.
TpsWindow* FindContentTakenOut(TpsWindow* aWindow) {
  if (!aWindow) return nullptr;
  if (aWindow->WindowFlags.GetFlag(htmlview::wfContentTakenOut)) return aWindow;
  for (TpsWindow* child : aWindow->ChildList())
    if (TpsWindow* found = FindContentTakenOut(child)) return found;
  return nullptr;
}

void ForgetDeferredMessages(TpsWindow* aWindow) {
  if (!aWindow) return;
  aWindow->ClearDeferredMessages();
  for (TpsWindow* child : aWindow->ChildList()) ForgetDeferredMessages(child);
}

}  // namespace

// An exception inside the queue would otherwise leave the rest of the
// command queued for the next one, and the content a 550 took out of the
// view out of it: the next command's own 550 would fail, and a save would
// write an empty body or take the page from the root for good. So the
// queue and the deferred messages go, and the document is put back from
// the snapshot the failing operation took (which then leaves the undo
// list) or else from the list as the edit left it.
void TpsHTMLEditBase::RecoverFromFailedCommand(const std::exception_ptr&) {
  FWindowManager->ClearQueue();
  TpsWindow* root = RootWindow();
  ForgetDeferredMessages(root);
  TpsWindow* out = FindContentTakenOut(root);
  if (!out) return;
  std::unique_ptr<TpsDataChunk> chunk;
  if (FCommandSnapshotCount >= 0 && FCommandSnapshotCount == FUndoList.Count()) {
    chunk = FUndoList.PopNewest();
    FStateSaved = false;
  }
  if (!chunk) {
    // The root hands over what it holds: its content as the edit left it,
    // or its children's lists with the block's taken-out list among them.
    auto* rootNode = static_cast<htmlview::TpsDocumentNode*>(root);
    if (rootNode->WindowFlags.GetFlag(htmlview::wfContentTakenOut) && rootNode->EditChunk) {
      chunk = std::move(rootNode->EditChunk);
    } else {
      chunk = rootNode->GetChunk(true);
    }
  }
  FCommandSnapshotCount = -1;
  RebuildViewTree();
  TpsLayoutPaintScope paint(*this);
  RootWindow()->LayoutChunk(*chunk);
  FPendingUpdates.SetFlag(puRelayout, false);
  RequestRepaint();
}

// --- Text and HTML ---

void TpsHTMLEditBase::InsertText(const AnsiString& aText, bool aFlag) { InsertWideText(rtl::Utf8ToWide(aText), aFlag); }

void TpsHTMLEditBase::InsertWideText(const WideString& aText, bool aFlag) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (aText.empty() || !RootWindow()) return;
  FCommandSnapshotCount = -1;
  if (!CanUndo()) {
    SaveUndoState();
    FCommandSnapshotCount = FUndoList.Count();
  }
  auto m = TpsMessage::Create(htmlview::mrFocused, htmlview::psmInsertTypedText);
  m->WideText = aText;
  m->Result = aFlag;
  FWindowManager->PostMessage(std::move(m));
  ProcessMessages();
  FCommandSnapshotCount = -1;
  TextSelection();
  FSelection->UpdateFromMarks(true);
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::InsertHTML(const AnsiString& aHtml, bool aAsWhole) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (aHtml.empty()) return;
  InsertHtmlChunk(aHtml, nullptr, aAsWhole, true);
}

namespace {

bool IsBlank(const htmldoc::TpsChunkElement* e) {
  return e && e->Kind == htmldoc::ceChar && (e->Char == ' ' || e->Char == '\t' || e->Char == 0xA0);
}

void RemoveLeading(TpsDataChunk& aChunk, bool aBlockTags, bool aBlanks) {
  for (;;) {
    htmldoc::TpsChunkElement* first = aChunk.First();
    if (!first) return;
    const bool block = aBlockTags && TpsDataChunk::IsBlockTag(first);
    if (!block && !(aBlanks && IsBlank(first))) return;
    aChunk.RemoveElement(first, true);
  }
}

// The elements before aStop, moved into a list of their own.
std::unique_ptr<TpsDataChunk> TakeFront(TpsDataChunk& aChunk, htmldoc::TpsChunkElement* aStop) {
  auto piece = std::make_unique<TpsDataChunk>();
  while (aChunk.First() && aChunk.First() != aStop) {
    htmldoc::TpsChunkElement* e = aChunk.First();
    aChunk.UnlinkElement(e);
    piece->AddElement(e);
  }
  return piece;
}

}  // namespace

void TpsHTMLEditBase::InsertHtmlChunk(const AnsiString& aHtml, const TpsCharacterEncoding* aEncoding, bool aAsWhole,
                                      bool aSnapshot) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (aHtml.empty() || !RootWindow() || FReadOnly) return;
  FCommandSnapshotCount = -1;
  if (aSnapshot) {
    SaveUndoState();
    FCommandSnapshotCount = FUndoList.Count();
  }
  TpsCharacterEncoding encoding =
      aEncoding ? *aEncoding : TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  std::unique_ptr<TpsDataChunk> list = ParseString(aHtml, encoding);
  if (!list) return;
  RequestImages();
  const bool selection = FSelection && FSelection->Active();
  RunCommand(nullptr, [&] {
    if (selection) PostCommand(htmlview::psmDeleteSelection);
    if (aAsWhole) {
      PostCommand(htmlview::psmInsertChunkAtCursor).Chunk = std::move(list);
      return;
    }
    RemoveLeading(*list, true, false);
    while (list->First()) {
      htmldoc::TpsChunkElement* block = nullptr;
      for (htmldoc::TpsChunkElement* e = list->First(); e; e = e->Next)
        if (TpsDataChunk::IsBlockTag(e)) {
          block = e;
          break;
        }
      if (!block) {
        RemoveLeading(*list, false, true);
        if (!list->First()) break;
        PostCommand(htmlview::psmInsertMarkerBeforeCursor).SetParam(1, 1);
        TpsMessage& insert = PostCommand(htmlview::psmInsertChunkAtMarker);
        insert.SetParam(1, 1);
        insert.Chunk = std::move(list);
        list = std::make_unique<TpsDataChunk>();
        break;
      }
      if (block == list->First()) {
        PostCommand(htmlview::psmInsertMarkerBeforeCursor).SetParam(1, 1);
        PostCommand(htmlview::psmSplitBlockAtMarker).SetParam(1, 1);
        RemoveLeading(*list, true, true);
        continue;
      }
      PostCommand(htmlview::psmInsertMarkerBeforeCursor).SetParam(1, 1);
      TpsMessage& insert = PostCommand(htmlview::psmInsertChunkAtMarker);
      insert.SetParam(1, 1);
      insert.Chunk = TakeFront(*list, block);
    }
  });
  FCommandSnapshotCount = -1;
  if (FSelection) FSelection->Reset();
  ProcessPendingUpdates();
}

// --- Undo ---

void TpsHTMLEditBase::SaveUndoState(Integer) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow()) return;
  FUndoList.Push(RootWindow()->GetChunk(true));
  FStateSaved = true;
}

bool TpsHTMLEditBase::CanUndo() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  return FUndoList.CanUndo();
}

bool TpsHTMLEditBase::CanRedo() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  return FUndoList.CanRedo();
}

void TpsHTMLEditBase::Undo() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !FUndoList.CanUndo() || !RootWindow()) return;
  if (!FUndoList.CanRedo() && !FStateSaved) {
    SaveUndoState();
    FUndoList.Undo();
  }
  std::unique_ptr<TpsDataChunk> chunk = FUndoList.Undo();
  if (!chunk) return;
  Relayout(true, false, std::move(chunk));
  Invalidate();
  NotifyDocumentChanged();
  NotifyCursorMoved();
  ProcessPendingUpdates();
  FStateSaved = true;
}

void TpsHTMLEditBase::Redo() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !FUndoList.CanRedo() || !RootWindow()) return;
  std::unique_ptr<TpsDataChunk> chunk = FUndoList.Redo();
  if (!chunk) return;
  Relayout(true, false, std::move(chunk));
  Invalidate();
  NotifyDocumentChanged();
  NotifyCursorMoved();
  ProcessPendingUpdates();
  FStateSaved = true;
}

// --- Images ---

bool TpsHTMLEditBase::RequestImages() {
  const std::vector<Integer> ids = FImageCache->GetMissingImageIDs();
  if (!ids.empty()) DoInitiateImageRequesting(ids);
  for (Integer id : ids) LoadImageIntoCache(id);
  if (!ids.empty()) DoDoneRequestingImages();
  return true;
}

namespace {

// A picture file as a picture object, or nothing when the file is missing
// or cannot be read.
std::unique_ptr<vcl::TPicture> LoadPictureFile(const AnsiString& aFileName) {
  if (aFileName.empty() || !rtl::FileExists(aFileName)) return nullptr;
  auto picture = std::make_unique<vcl::TPicture>();
  try {
    picture->LoadFromFile(aFileName);
  } catch (const rtl::Exception&) {
    return nullptr;
  }
  if (!picture->Graphic()) return nullptr;
  return picture;
}

}  // namespace

void TpsHTMLEditBase::LoadImageIntoCache(Integer aImageID) {
  htmlview::TpsImageCacheElement element;
  if (!FImageCache->GetImageByID(aImageID, element)) return;
  // The size asked for is the one the img tag gives, when it gives one.
  Integer width = 0, height = 0;
  if (element.Tag) {
    if (!element.Tag->GetAttributeAsInteger("width", width)) width = 0;
    if (!element.Tag->GetAttributeAsInteger("height", height)) height = 0;
  }
  vcl::TGraphic* graphic = nullptr;
  vcl::TPicture* container = nullptr;
  DoRequestImage(aImageID, width, height, graphic, container);
  if (container) {
    FImageCache->SetPictureByID(aImageID, std::unique_ptr<vcl::TPicture>(container));
  } else if (graphic) {
    FImageCache->SetGraphicByID(aImageID, std::unique_ptr<vcl::TGraphic>(graphic));
  } else if (std::unique_ptr<vcl::TPicture> picture = LoadPictureFile(element.Source)) {
    FImageCache->SetPictureByID(aImageID, std::move(picture));
  }
}

void TpsHTMLEditBase::LoadImageBySrc(const AnsiString& aSrc) {
  const Integer id = FImageCache->GetImageID(aSrc);
  if (id >= 0) LoadImageIntoCache(id);
}

AnsiString TpsHTMLEditBase::GetImageSrc(Integer aImageID) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  htmlview::TpsImageCacheElement element;
  return FImageCache->GetImageByID(aImageID, element) ? element.Source : AnsiString();
}

}  // namespace htmledit
