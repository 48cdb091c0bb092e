// The editor's clipboard: the selection copied as plain text, Unicode text
// and "HTML Format" (its fragment the selected body content), cut, and
// pasted back as HTML through the importer or as text in paragraphs.
#include "htmledit/control/psClipboard.h"
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psHtmlImporter.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psWindows.h"
#include "rtl/CodePages.h"

namespace htmledit {

using htmlview::TpsMessage;

namespace {

// The clipboard open for the bracket's life, closed also when a step
// raises.
class TpsClipboardOpen {
 public:
  TpsClipboardOpen() { ClipboardBackend().Open(); }
  ~TpsClipboardOpen() { ClipboardBackend().Close(); }
  TpsClipboardOpen(const TpsClipboardOpen&) = delete;
  TpsClipboardOpen& operator=(const TpsClipboardOpen&) = delete;
};

}  // namespace

void TpsHTMLEditBase::CopyToClipboard() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow() || !HasTextSelection()) return;
  std::unique_ptr<TpsDataChunk> list = RootWindow()->CopyChunk();
  // The caret is no part of what is copied (nor is the comment a save with
  // the editing position would write for it).
  if (htmldoc::TpsChunkElement* cursor = list->GetCursor()) list->RemoveElement(cursor, true);
  TpsClipboardOpen open;
  const WideString text = list->GetPlainText();
  const AnsiString utf8 = rtl::WideToUtf8(text);
  TpsClipboard::SetData(CF_TEXT, utf8.c_str(), utf8.size() + 1);
  TpsClipboard::PutUnicodeText(text);
  list->InsertElement(htmldoc::NewTagElement(CreateHtmlTag(htmldoc::TAG_BODY, false, "", "")), list->First(), false);
  list->AddTag(CreateHtmlTag(htmldoc::TAG_BODY, true, "", ""));
  Integer bodyStart = -1, bodyEnd = -1;
  const AnsiString html = GenerateCodeToString(*list, "utf-8", false, bodyStart, bodyEnd, true, true);
  // The fragment is the body's content, without the two body tags.
  const Integer first = html.find("<body>") != AnsiString::npos ? static_cast<Integer>(html.find("<body>")) + 1 + 6
                                                                 : bodyStart;
  const Integer last = html.rfind("</body>") != AnsiString::npos ? static_cast<Integer>(html.rfind("</body>"))
                                                                  : bodyEnd;
  TpsClipboard::PutHtml(html, first, last);
}

void TpsHTMLEditBase::CutToClipboard() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow() || !HasTextSelection()) return;
  SaveUndoState();
  CopyToClipboard();
  if (!FReadOnly) DeleteSelection();
}

bool TpsHTMLEditBase::CanPasteFromClipboard() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  IpsClipboardBackend& clipboard = ClipboardBackend();
  bool can = clipboard.HasFormat(CF_TEXT) || clipboard.HasFormat(CF_UNICODETEXT) ||
             clipboard.HasFormat(TpsClipboard::HtmlFormat());
  if (OnCanPasteFromClipboard) OnCanPasteFromClipboard(this, can);
  return can;
}

void TpsHTMLEditBase::PasteFromClipboard() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !FDocument || !RootWindow() || IsCursorInLink() || !CanPasteFromClipboard()) return;
  SaveUndoState();
  FCommandSnapshotCount = FUndoList.Count();
  bool handled = false;
  try {
    if (OnPasteFromClipboard) OnPasteFromClipboard(this, handled);
    if (!handled && !PasteHtml()) PasteText();
  } catch (...) {
    FCommandSnapshotCount = -1;
    throw;
  }
  FCommandSnapshotCount = -1;
}

bool TpsHTMLEditBase::PasteHtml() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!ClipboardBackend().HasFormat(TpsClipboard::HtmlFormat())) return false;
  const AnsiString fragment = TpsClipboard::GetFragment(TpsClipboard::GetHtml());
  htmldoc::TpsDocumentImageTagProcessor images;
  images.OnImageTag = [this](TObjectPtr, TpsMarkupTag& aTag, AnsiString& aText) {
    if (!OnPasteImageFromClipboard) return;
    AnsiString replacement;
    OnPasteImageFromClipboard(this, aTag, replacement);
    aText = replacement.empty() ? aTag.GetText() : replacement;
  };
  AnsiString withImages;
  images.Process(fragment, withImages);
  TpsHtmlImporter importer;
  AnsiString imported;
  importer.Import(withImages, false, imported);
  const TpsCharacterEncoding utf8 = TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  InsertHtmlChunk(imported, &utf8, false, false);
  return true;
}

bool TpsHTMLEditBase::PasteText() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  IpsClipboardBackend& clipboard = ClipboardBackend();
  WideString text;
  if (clipboard.HasFormat(CF_UNICODETEXT)) {
    text = TpsClipboard::GetUnicodeText();
  } else if (clipboard.HasFormat(CF_TEXT)) {
    std::string bytes = clipboard.GetData(CF_TEXT);
    const size_t zero = bytes.find('\0');
    if (zero != std::string::npos) bytes.resize(zero);
    text = rtl::Utf8ToWide(bytes);
  } else {
    return false;
  }
  const auto nbsp = static_cast<htmldoc::WideChar>(htmldoc::HtmlCodeTable().GetNbspChar());
  const WideString tab(static_cast<size_t>(std::max<Integer>(EditingOptions.TabStops, 1)), nbsp);
  WideString expanded;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\t') {
      expanded += tab;
    } else if (c == u' ' && EditingOptions.AllowMultipleSpaces && i + 1 < text.size() && text[i + 1] == u' ') {
      expanded += nbsp;
    } else {
      expanded += c;
    }
  }
  std::vector<WideString> lines;
  TpsClipboard::TextToLines(expanded, lines);
  if (lines.empty() || !RootWindow()) return true;
  const bool selection = HasTextSelection();
  RunCommand(nullptr, [&] {
    if (selection) PostCommand(htmlview::psmDeleteSelection);
    for (const WideString& line : lines) {
      const bool ended = !line.empty() && line.back() == u'\r';
      PostCommand(htmlview::psmInsertText).WideText = ended ? line.substr(0, line.size() - 1) : line;
      if (ended) {
        PostCommand(htmlview::psmInsertMarkerBeforeCursor).SetParam(1, 1);
        PostCommand(htmlview::psmSplitBlockAtMarker).SetParam(1, 1);
      }
    }
  });
  if (FSelection) FSelection->Reset();
  ProcessPendingUpdates();
  return true;
}

}  // namespace htmledit
