// The editor's keyboard and mouse: a key press looked up in the key
// command table (the component's own commands run here, every other id
// goes to the focused view node with the shift state), typed characters
// inserted as UTF-16 text, and the mouse turned into positional editor
// messages in document coordinates, with the popup menus a right click
// the view left alone shows, and the wheel.
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psMouseScrollManager.h"
#include "htmledit/control/psSpanLists.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psWindows.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"

namespace htmledit {

using htmlview::TpsMessage;

namespace {

Integer KeyShiftBits(vcl::TShiftState aShift) {
  Integer bits = 0;
  if (aShift.Contains(vcl::ssShift)) bits |= htmlview::ssShiftBit;
  if (aShift.Contains(vcl::ssAlt)) bits |= htmlview::ssAltBit;
  if (aShift.Contains(vcl::ssCtrl)) bits |= htmlview::ssCtrlBit;
  if (aShift.Contains(vcl::ssLeft)) bits |= htmlview::ssLeftBit;
  if (aShift.Contains(vcl::ssRight)) bits |= htmlview::ssRightBit;
  if (aShift.Contains(vcl::ssMiddle)) bits |= htmlview::ssMiddleBit;
  if (aShift.Contains(vcl::ssDouble)) bits |= htmlview::ssDoubleBit;
  return bits;
}

TKeyShortCut KeyShortCutOf(rtl::Word aKey, vcl::TShiftState aShift) {
  TKeyShortCut s = static_cast<TKeyShortCut>(aKey & 0xFF);
  if (aShift.Contains(vcl::ssShift)) s |= kscShift;
  if (aShift.Contains(vcl::ssCtrl)) s |= kscCtrl;
  if (aShift.Contains(vcl::ssAlt)) s |= kscAlt;
  return s;
}

Integer MouseButtonIndex(vcl::TMouseButton aButton) {
  switch (aButton) {
    case vcl::mbRight: return 1;
    case vcl::mbMiddle: return 2;
    default: return 0;
  }
}

}  // namespace

// --- Key table ---

void TpsHTMLEditBase::AddKeyCommand(Integer aCommand, const std::vector<TKeyShortCut>& aShortCuts, bool aReplace,
                                    bool aIgnoreShift) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (aReplace) FKeyCmdTable->RemoveCommand(aCommand);
  for (TKeyShortCut s : aShortCuts) FKeyCmdTable->Add(s, aCommand, aIgnoreShift);
}

bool TpsHTMLEditBase::RunControlCommand(Integer aCommand) {
  switch (aCommand) {
    case kcCopy: CopyToClipboard(); return true;
    case kcCut: CutToClipboard(); return true;
    case kcPaste: PasteFromClipboard(); return true;
    case kcUndo: Undo(); return true;
    case kcRedo: Redo(); return true;
    case kcBold:
      if (!EditingOptions.Shortcuts().Bold) return false;
      ToggleInlineTag("b");
      return true;
    case kcUnderline:
      if (!EditingOptions.Shortcuts().Underline) return false;
      ToggleInlineTag("u");
      return true;
    case kcItalic:
      if (!EditingOptions.Shortcuts().Italic) return false;
      ToggleInlineTag("i");
      return true;
    default: return false;
  }
}

void TpsHTMLEditBase::ToggleInlineTag(const AnsiString& aTagName) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow() || !GetCursorBlockNode(false)) return;
  const AnsiString tagText = "<" + aTagName + ">";
  if (HasTextSelection()) {
    if (GetSpansAroundSelection()->ContainsSpan(aTagName)) {
      RemoveSpanFromSelection(tagText);
    } else {
      AddSpanToSelection(tagText);
    }
    return;
  }
  TpsSpanList* spans = GetSpansAroundCursor();
  if (spans->ContainsSpan(aTagName)) {
    // Text typed next no longer takes the format; an empty pair the caret
    // sits in goes with it.
    spans->RemoveSpanByName(aTagName, true, false);
  } else {
    // Text typed next takes the format.
    InsertSpanAtCursor(tagText);
  }
}

// --- Keys and characters ---

void TpsHTMLEditBase::KeyDown(rtl::Word& aKey, vcl::TShiftState aShift) {
  vcl::TScrollingWinControl::KeyDown(aKey, aShift);
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FPaintFailed) return;
  if (aKey == vcl::VK_RETURN && !WantReturns) {
    // Enter belongs to the form's default button first, as in a dialog.
    if (vcl::TCustomForm* form = ParentForm(); form && form->Perform(vcl::CM_DIALOGKEY, aKey, 0) != 0) {
      aKey = 0;
      return;
    }
  }
  const Integer command = FKeyCmdTable->Find(KeyShortCutOf(aKey, aShift));
  if (command != -1 && !RunControlCommand(command) && RootWindow()) {
    auto m = TpsMessage::Create(htmlview::mrFocused, command);
    m->Shift = KeyShiftBits(aShift);
    FWindowManager->PostMessage(std::move(m));
    ProcessMessages();
  }
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::WMChar(vcl::TMessage& aMessage) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  // KeyPress and OnKeyPress run first; what they leave is typed.
  vcl::TScrollingWinControl::Dispatch(aMessage);
  if (FPaintFailed) return;
  const auto ch = static_cast<rtl::WideChar>(aMessage.WParam);
  // Control codes (Ctrl with a letter or a bracket types them) never
  // reach the page.
  if (ch >= 0xD800 && ch <= 0xDBFF) {
    // Typed as two units: both go in as one character.
    FHighSurrogate = ch;
    return;
  }
  const rtl::WideChar high = FHighSurrogate;
  FHighSurrogate = 0;
  if (ch >= 0xDC00 && ch <= 0xDFFF) {
    if (high) InsertWideText(WideString{high, ch}, false);
  } else if (ch >= 32 && ch != 127) {
    InsertWideText(WideString(1, ch), false);
  }
  ProcessPendingUpdates();
}

// --- Mouse ---

void TpsHTMLEditBase::MouseDown(vcl::TMouseButton aButton, vcl::TShiftState aShift, Integer aX, Integer aY) {
  vcl::TScrollingWinControl::MouseDown(aButton, aShift, aX, aY);
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FPaintFailed || !RootWindow()) return;
  if (CanFocus() && !Focused()) SetFocus();
  TpsMessage m(htmlview::mrPositional, htmlview::psmMouseDown, nullptr);
  m.AutoFree = false;
  auto buttons = std::make_unique<htmlview::TpsVCLMouseButtons>();
  buttons->SetMouseButton(MouseButtonIndex(aButton));
  m.SetButtons(std::move(buttons));
  m.Shift = KeyShiftBits(aShift);
  const TpsPoint point = ClientToDocument({aX, aY});
  m.SetPos(point);
  FWindowManager->PostMessage(m);
  ProcessMessages();
  ProcessPendingUpdates();
  if (!m.IsHandled() && aButton == vcl::mbRight) {
    if (GetCursorTableNode(false)) {
      PopupTableMenu(point);
    } else {
      PopupMenuAt(point, PopupMenu());
    }
  }
  FMouseScrollManager->MouseDown(aX, aY);
}

void TpsHTMLEditBase::MouseUp(vcl::TMouseButton aButton, vcl::TShiftState aShift, Integer aX, Integer aY) {
  vcl::TScrollingWinControl::MouseUp(aButton, aShift, aX, aY);
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FPaintFailed || !RootWindow()) return;
  auto m = TpsMessage::Create(htmlview::mrPositional, htmlview::psmMouseUp);
  auto buttons = std::make_unique<htmlview::TpsVCLMouseButtons>();
  buttons->SetMouseButton(MouseButtonIndex(aButton));
  m->SetButtons(std::move(buttons));
  m->Shift = KeyShiftBits(aShift);
  m->SetPos(ClientToDocument({aX, aY}));
  FWindowManager->PostMessage(std::move(m));
  ProcessMessages();
  ProcessPendingUpdates();
  FMouseScrollManager->MouseUp(aX, aY);
}

void TpsHTMLEditBase::MouseMove(vcl::TShiftState aShift, Integer aX, Integer aY) {
  vcl::TScrollingWinControl::MouseMove(aShift, aX, aY);
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FPaintFailed || !RootWindow()) return;
  FLastMousePoint = {aX, aY};
  FLastShift = KeyShiftBits(aShift);
  auto m = TpsMessage::Create(htmlview::mrPositional, htmlview::psmMouseMove);
  m->Shift = FLastShift;
  // The held button (a drag), or none.
  if (aShift.Contains(vcl::ssLeft) || aShift.Contains(vcl::ssRight) || aShift.Contains(vcl::ssMiddle)) {
    auto buttons = std::make_unique<htmlview::TpsVCLMouseButtons>();
    buttons->SetMouseButton(aShift.Contains(vcl::ssLeft) ? 0 : aShift.Contains(vcl::ssRight) ? 1 : 2);
    m->SetButtons(std::move(buttons));
  }
  m->SetPos(ClientToDocument({aX, aY}));
  FWindowManager->PostMessage(std::move(m));
  ProcessMessages();
  UpdateHoverCursor(FLastMousePoint);
  ProcessPendingUpdates();
  FMouseScrollManager->MouseMove(FLastShift, aX, aY);
}

bool TpsHTMLEditBase::DoMouseWheel(vcl::TShiftState aShift, Integer aWheelDelta, vcl::TPoint aMousePos) {
  if (OnMouseWheel) {
    bool handled = false;
    OnMouseWheel(this, aShift, aWheelDelta, aMousePos, handled);
    if (handled) return true;
  }
  if (FPaintFailed) return false;
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  // One notch of 120 moves 120 pixels; the bar keeps the position in its
  // range.
  ScrollTo(ScrollPosition() - aWheelDelta);
  ProcessPendingUpdates();
  return true;
}

void TpsHTMLEditBase::PopupMenuAt(const TpsPoint& aDocPoint, vcl::TPopupMenu* aMenu) {
  if (!aMenu) return;
  const TpsPoint client = DocumentToClient(aDocPoint);
  const vcl::TPoint screen = vcl::TControl::ClientToScreen({client.X, client.Y});
  aMenu->SetPopupComponent(this);
  aMenu->Popup(screen.X, screen.Y);
}

}  // namespace htmledit
