// Pages in and out: HTML text (normalised by the importer on request)
// through the parser into a new document and view tree, and the document
// back into HTML text in the output charset.
#include "htmledit/control/psHtmlBeautifier.h"
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psHtmlImporter.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psImageCache.h"
#include "htmledit/view/psWindows.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/Strings.h"
#include "vcl/Pictures.h"

namespace htmledit {

using htmldoc::TpsChunkElement;
using htmlview::TpsMessage;

// --- Parsing ---

namespace {

// Marks the custom pairs whose elements are the element's own content (no
// handler put something else in its place) with that content as the
// elements show it, white space left out (the model does not keep a pre's
// line breaks). A save writes the content the page had while the
// elements still show it, and what stands there now once the user typed
// into it.
constexpr const char* kContentShown = "content-shown";

AnsiString ShownContent(const TpsDataChunk& aChunk, TpsChunkElement* aOpen, TpsChunkElement* aClose) {
  if (!aClose || aOpen->Next == aClose) return AnsiString();
  static const TpsCharacterEncoding utf8 = TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  const AnsiString html = rtl::WideToUtf8(aChunk.GetHtmlText(aOpen->Next, aClose->Prev, AnsiString(), false, utf8));
  AnsiString packed;
  packed.reserve(html.size());
  for (char c : html)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') packed += c;
  return packed;
}

void MarkShownContent(TpsDataChunk* aChunk, const std::vector<bool>& aShown) {
  if (!aChunk) return;
  size_t index = 0;
  for (TpsChunkElement* e = aChunk->First(); e; e = e->Next) {
    if (!TpsDataChunk::IsCustomOpenTag(e)) continue;
    if (index >= aShown.size()) return;
    if (aShown[index++]) e->Tag->SetAttribute(kContentShown, ShownContent(*aChunk, e, aChunk->FindPartnerTag(e, nullptr)));
  }
}

}  // namespace

std::unique_ptr<htmldoc::TpsHtmlParser> TpsHTMLEditBase::MakeParser(bool aForStream) {
  auto parser = std::make_unique<htmldoc::TpsHtmlParser>(CodeGenerator.EditingPositionComment);
  parser->TagEvents = FDocumentEvents;
  FCustomContentShown.clear();
  parser->OnParseCustomTag = [this](TObjectPtr, TpsMarkupTag& aTag, AnsiString& aReplace) {
    const AnsiString offered = aReplace;
    DoParseCustomTag(aTag, aReplace);
    FCustomContentShown.push_back(!aReplace.empty() && aReplace == offered && aReplace == aTag.GetContent());
  };
  if (aForStream && OnParseTag) parser->OnParseTag = [this](TObjectPtr, TpsMarkupTag& aTag) { DoParseTag(aTag); };
  parser->OnParseImageTag = [this](TObjectPtr, TpsMarkupTag& aTag) { DoParseImageTag(aTag); };
  parser->OnMetaTag = [this](TObjectPtr, TpsMarkupTag& aTag) {
    auto copy = TpsMarkupTag::CreateCopy(aTag);
    copy->SetTagType(htmldoc::ttEmpty);
    FMetaTags->Add(copy.release());
  };
  parser->OnLinkTag = [this](TObjectPtr, TpsMarkupTag& aTag) {
    auto copy = TpsMarkupTag::CreateCopy(aTag);
    copy->SetTagType(htmldoc::ttEmpty);
    FLinkTags->Add(copy.release());
  };
  parser->OnParseDocumentRuntimeVariable = [this](TObjectPtr, const AnsiString& aName, AnsiString& aReplace) {
    DoParseDocumentRuntimeVariable(aName, aReplace);
  };
  parser->OnTitle = [this](TObjectPtr, const AnsiString& aTitle) { FTitle = aTitle; };
  parser->OnAbortPoll = [](TObjectPtr) { return false; };
  parser->OnImageTagAdded = [this](TObjectPtr, htmldoc::TpsHtmlTag& aTag) {
    FImageCache->AddImage(aTag.GetAttribute("src"), nullptr, &aTag);
  };
  parser->TabStops = EditingOptions.TabStops < 1 ? 1 : EditingOptions.TabStops;
  return parser;
}

std::unique_ptr<TpsDataChunk> TpsHTMLEditBase::ParseStream(rtl::TStream& aStream, TpsCharacterEncoding& aEncoding) {
  std::unique_ptr<TpsDataChunk> chunk = MakeParser(true)->Parse(aStream, aEncoding, true);
  MarkShownContent(chunk.get(), FCustomContentShown);
  return chunk;
}

std::unique_ptr<TpsDataChunk> TpsHTMLEditBase::ParseString(const AnsiString& aHtml, TpsCharacterEncoding& aEncoding) {
  rtl::TStringStream stream(aHtml);
  std::unique_ptr<TpsDataChunk> chunk = MakeParser(false)->Parse(stream, aEncoding, false);
  MarkShownContent(chunk.get(), FCustomContentShown);
  return chunk;
}

// --- Loading ---

namespace {

AnsiString ReadWholeStream(rtl::TStream& aStream) {
  aStream.SetPosition(0);
  const rtl::Int64 size = aStream.Size();
  AnsiString text(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (!text.empty()) text.resize(static_cast<size_t>(aStream.Read(text.data(), static_cast<Integer>(text.size()))));
  return text;
}

bool OnlySpacesAndTabs(const AnsiString& aText) {
  return aText.find_first_not_of(" \t") == AnsiString::npos;
}

// A blank as the list preparation sees it: space, tab or non-breaking space.
bool IsBlankElement(const TpsChunkElement* e) {
  return e && e->Kind == htmldoc::ceChar && (e->Char == ' ' || e->Char == '\t' || e->Char == 0xA0);
}

bool IsEmptyTag(const TpsChunkElement* e) {
  return TpsDataChunk::IsTagElement(e) && e->Tag->GetTagType() == htmldoc::ttEmpty;
}

// White space as written, not a non-breaking space or a reference.
bool IsLooseBlank(const TpsChunkElement* e) {
  return e && e->Kind == htmldoc::ceChar && !e->FromEntity &&
         (e->Char == ' ' || e->Char == '\t' || e->Char == '\r' || e->Char == '\n');
}

// The loaded list made ready for layout: a blank between a blank and an
// empty tag goes, a blank before a table goes when one follows the table,
// and a non-breaking space that is a block's only content goes.
void PrepareLoadedList(TpsDataChunk& aChunk) {
  for (TpsChunkElement* e = aChunk.First(); e;) {
    TpsChunkElement* next = e->Next;
    if (IsBlankElement(e) && IsBlankElement(e->Prev) && IsEmptyTag(next)) aChunk.RemoveElement(e, true);
    e = next;
  }
  TpsChunkElement* from = aChunk.First();
  while (from) {
    TpsChunkElement* table = aChunk.FindTag(htmldoc::TAG_TABLE, htmldoc::ttOpening, from, true);
    if (!table) break;
    TpsChunkElement* close = aChunk.FindPartnerTag(table, nullptr);
    if (!close) break;
    if (IsBlankElement(table->Prev) && IsBlankElement(close->Next)) aChunk.RemoveElement(table->Prev, true);
    from = close->Next;
  }
  aChunk.RemoveNbspFromEmptyBlocks();
  // White space next to a block boundary shows nothing; they are what
  // the beautifier's line breaks and indentation read back as, so dropping
  // them keeps a saved page the same through the next load and save.
  for (TpsChunkElement* e = aChunk.First(); e;) {
    if (!IsLooseBlank(e)) {
      e = e->Next;
      continue;
    }
    TpsChunkElement* last = e;
    while (IsLooseBlank(last->Next)) last = last->Next;
    TpsChunkElement* after = last->Next;
    const bool blockBefore = !e->Prev || TpsDataChunk::IsBlockTag(e->Prev);
    const bool blockAfter = !after || TpsDataChunk::IsBlockTag(after);
    if (blockBefore || blockAfter) {
      for (TpsChunkElement* x = e; x != after;) {
        TpsChunkElement* next = x->Next;
        aChunk.RemoveElement(x, true);
        x = next;
      }
    }
    e = after;
  }
}

}  // namespace

// One load: parse, make the document and the view, lay the body out and
// place the caret. A failure of the class library's kind leaves an empty
// paragraph and is reported; the recovery itself runs once, so a handler
// that fails the empty paragraph too cannot make it recurse.
class TpsDocumentLoader {
 public:
  TpsDocumentLoader(TpsHTMLEditBase& aEditor, AnsiString aText, bool aKeepStyleSheet)
      : Editor(aEditor), Text(std::move(aText)), KeepStyleSheet(aKeepStyleSheet) {}

  void Execute();

 private:
  void Run();

  TpsHTMLEditBase& Editor;
  AnsiString Text;
  bool KeepStyleSheet;
};

void TpsDocumentLoader::Execute() {
  try {
    Run();
  } catch (const rtl::Exception& e) {
    const AnsiString className = e.ClassName();
    const AnsiString message = e.Message();
    // The empty paragraph is loaded once: when it fails as well, the first
    // failure is still reported and the second propagates.
    TpsDocumentLoader empty(Editor, "<p></p>", true);
    try {
      empty.Run();
    } catch (const rtl::Exception&) {
      Editor.DoDocumentLoadingError(className, message);
      throw;
    }
    Editor.DoDocumentLoadingError(className, message);
  }
}

void TpsDocumentLoader::Run() {
  struct Loading {
    TpsHTMLEditBase& E;
    bool Old;
    explicit Loading(TpsHTMLEditBase& aE) : E(aE), Old(aE.FLoadingDocument) { aE.FLoadingDocument = true; }
    ~Loading() { E.FLoadingDocument = Old; }
  } loading(Editor);
  Editor.FTitle.clear();
  Editor.FMetaTags->Clear();
  Editor.FLinkTags->Clear();
  TpsCharacterEncoding encoding(Editor.Charset);
  std::unique_ptr<TpsDataChunk> parsed;
  {
    rtl::TStringStream stream(Text);
    parsed = Editor.ParseStream(stream, encoding);
  }
  if (!parsed) parsed = std::make_unique<TpsDataChunk>();
  for (Integer i = 0; i < Editor.FLinkTags->Count(); ++i) {
    TpsMarkupTag* link = Editor.FLinkTags->GetTag(i);
    if (rtl::LowerCase(link->GetAttribute("rel")) == "stylesheet") {
      Editor.FireLoadExternalStylesheet(*link);
      break;
    }
  }
  std::unique_ptr<TpsDataChunk> body;
  Editor.CreateDocument(std::move(parsed), encoding, body);
  if (!KeepStyleSheet) {
    const AnsiString css = Editor.FDocument->GetStyleSheetText();
    if (!css.empty()) {
      const bool old = Editor.FLoadingStyleSheet;
      Editor.FLoadingStyleSheet = true;
      try {
        Editor.LoadStyleSheetFromString(css, true);
      } catch (...) {
        Editor.FLoadingStyleSheet = old;
        throw;
      }
      Editor.FLoadingStyleSheet = old;
    }
  }
  const bool hasCursor = body->HasCursor();
  Editor.RequestImages();
  {
    vcl::TCanvas* dc = Editor.GetDC();
    Editor.ScreenCanvas()->BeginPaint(dc);
    struct EndPaint {
      TpsHTMLEditBase& E;
      vcl::TCanvas* DC;
      ~EndPaint() {
        E.ScreenCanvas()->EndPaint();
        E.ReleaseDC(DC);
      }
    } endPaint{Editor, dc};
    PrepareLoadedList(*body);
    Editor.RootWindow()->LayoutChunk(*body);
    Editor.VertScrollBar().SetPosition(0);
    if (body->First()) rtl::AssertionFailed("TpsHTMLEditBase.LoadFromStream: Loading error!", __FILE__, __LINE__);
    Editor.ProcessMessages();
    if (hasCursor) {
      Editor.UpdateCaretPosition();
    } else {
      // The first text line in document order takes the cursor (the walk
      // ends at the line that consumed the message).
      TpsMessage place(htmlview::mrCommand, htmlview::psmPlaceInitialCursor, nullptr);
      place.AutoFree = false;
      Editor.FWindowManager->BroadcastMessage(place);
      Editor.ProcessMessages();
    }
  }
}

namespace {

// Blanks between the head's elements carry nothing, but the head is
// rebuilt at every save (meta and link tags written anew), which regroups
// them: the runs a save writes collapse at the next load, so a page would
// change at every save. They go when the page is read.
void DropHeadBlanks(TpsDataChunk& aChunk) {
  TpsChunkElement* head = aChunk.FindTag(htmldoc::TAG_HEAD, htmldoc::ttOpening, nullptr, true);
  if (!head) return;
  bool inTitle = false;
  for (TpsChunkElement* e = head->Next; e;) {
    TpsChunkElement* next = e->Next;
    const Byte code = TpsDataChunk::TagCodeOf(e);
    if (code == htmldoc::TAG_BODY || code == htmldoc::TAG_HEAD) break;
    if (code == htmldoc::TAG_TITLE) inTitle = e->Tag->GetTagType() == htmldoc::ttOpening;
    if (!inTitle && e->Kind == htmldoc::ceChar && (e->Char == ' ' || e->Char == '\t' || e->Char == '\r' || e->Char == '\n'))
      aChunk.RemoveElement(e, true);
    e = next;
  }
}

}  // namespace

void TpsHTMLEditBase::CreateDocument(std::unique_ptr<TpsDataChunk> aChunk, const TpsCharacterEncoding& aEncoding,
                                     std::unique_ptr<TpsDataChunk>& oBody) {
  FreeDocument();
  FEditMode = htmlview::emText;
  FSelection = std::make_unique<TpsTextSelection>(this);
  if (aChunk) DropHeadBlanks(*aChunk);
  FDocument = std::make_unique<htmldoc::TpsDocument>(std::move(aChunk), FStyleSheet.get(), FDocumentEvents, aEncoding);
  InstallRoot();
  oBody = FDocument->ExtractBody();
  if (!oBody) oBody = std::make_unique<TpsDataChunk>();
}

void TpsHTMLEditBase::LoadFromStream(rtl::TStream& aStream, bool aKeepStyleSheet, bool aImport) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  AnsiString text = ReadWholeStream(aStream);
  // Blank text is an empty page before the importer could make loose
  // non-breaking spaces of it.
  if (OnlySpacesAndTabs(text)) text.clear();
  if (aImport && !text.empty()) {
    TpsHtmlImporter importer;
    importer.OnUnknownTag = [this](TObjectPtr, TpsMarkupTag& aTag, bool& aKeep) {
      bool supported = false;
      DoSupportedCustomTag(aTag, supported);
      aKeep = supported;
    };
    AnsiString imported;
    importer.Import(text, true, imported);
    text = std::move(imported);
  }
  if (OnlySpacesAndTabs(text)) text = "<p></p>";
  FWindowManager->ClearQueue();
  TpsDocumentLoader(*this, std::move(text), aKeepStyleSheet).Execute();
  // A load is no edit and fires no caret event, but the caret now stands
  // in another page: a context made for the old one would answer for it.
  if (FCurrentBlock) RefreshCursorContext();
  Invalidate();
  FUndoList.Clear();
  FStateSaved = false;
  ProcessPendingUpdates();
  FDocumentLoaded = true;
}

void TpsHTMLEditBase::LoadFromString(const AnsiString& aHtml, bool aKeepStyleSheet, bool aImport) {
  rtl::TStringStream stream(aHtml);
  LoadFromStream(stream, aKeepStyleSheet, aImport);
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::ImportText(const AnsiString& aText, bool aOnePerLine) {
  AnsiString html;
  TpsPlaintextImporter::Import(aText, aOnePerLine, html);
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  LoadFromString(html, true, true);
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::ImportTextFile(const AnsiString& aFileName, bool aOnePerLine) {
  rtl::TFileStream file(aFileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
  ImportText(ReadWholeStream(file), aOnePerLine);
}

// --- Code generation ---

void TpsHTMLEditBase::SaveToStream(rtl::TStream& aStream, bool aWholeDocument, bool aKeepCustomTags) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!FDocument || !RootWindow()) return;
  std::unique_ptr<TpsDataChunk> copy = RootWindow()->GetChunk(true);
  Integer bodyStart = -1, bodyEnd = -1;
  GenerateCode(*copy, aStream, AnsiString(), true, bodyStart, bodyEnd, aWholeDocument, aKeepCustomTags);
}

AnsiString TpsHTMLEditBase::SaveToString(bool aWholeDocument, bool aKeepCustomTags) {
  rtl::TStringStream stream;
  SaveToStream(stream, aWholeDocument, aKeepCustomTags);
  return stream.DataString();
}

AnsiString TpsHTMLEditBase::GenerateCodeToString(TpsDataChunk& aChunk, const AnsiString& aCharset,
                                                 bool aWriteCharsetMeta, Integer& aBodyStart, Integer& aBodyEnd,
                                                 bool aWholeDocument, bool aKeepCustomTags) {
  rtl::TStringStream stream;
  GenerateCode(aChunk, stream, aCharset, aWriteCharsetMeta, aBodyStart, aBodyEnd, aWholeDocument, aKeepCustomTags);
  return stream.DataString();
}

namespace {

std::string Encoded(const TpsCharacterEncoding& aEncoding, const WideString& aText) {
  return aEncoding.Encode(aText).bytes;
}

std::string WithoutLeadingBlanks(const std::string& aText) {
  const size_t start = aText.find_first_not_of(" \t");
  return start == std::string::npos ? std::string() : aText.substr(start);
}

void WriteBytes(rtl::TStream& aStream, const std::string& aBytes) {
  if (!aBytes.empty()) aStream.WriteBuffer(aBytes.data(), static_cast<Integer>(aBytes.size()));
}

// The first custom opening tag from aFrom up to (not including) aStop.
TpsChunkElement* NextCustomOpen(TpsChunkElement* aFrom, TpsChunkElement* aStop) {
  for (TpsChunkElement* e = aFrom; e && e != aStop; e = e->Next)
    if (TpsDataChunk::IsCustomOpenTag(e)) return e;
  return nullptr;
}

}  // namespace

// A custom pair as the page had it: its stored source tag (rebuilt by the
// application from what stands between the pair), its stored content and
// its closing tag. Everything between the pair is written, nested pairs by
// these same steps, so text a user typed beside a nested pair stays. A
// tag the page gave without a closing tag is written alone; so is a
// stored closing tag, which written as "tag, content, closing tag" would
// double at every save.
void TpsHTMLEditBase::WriteCustomPair(TpsDataChunk& aChunk, TpsChunkElement* aOpen, TpsChunkElement* aClose,
                                      const TpsCharacterEncoding& aEncoding, const AnsiString& aCursorText,
                                      std::string& aOut) {
  std::string inner;
  for (TpsChunkElement* from = aOpen->Next; from && from != aClose;) {
    TpsChunkElement* nested = NextCustomOpen(from, aClose);
    TpsChunkElement* last = nested ? nested->Prev : aClose->Prev;
    if (nested != from && last) inner += Encoded(aEncoding, aChunk.GetHtmlText(from, last, aCursorText, false, aEncoding));
    if (!nested) break;
    TpsChunkElement* nestedClose = aChunk.FindPartnerTag(nested, nullptr);
    RTL_ASSERT_MSG(nestedClose, "Assertion failure");
    WriteCustomPair(aChunk, nested, nestedClose, aEncoding, aCursorText, inner);
    from = nestedClose->Next;
  }
  TpsMarkupTag tag(aOpen->Tag->CustomSource);
  tag.SetContent(aOpen->Tag->CustomContent);
  bool alone = false;
  if (tag.GetTagType() == htmldoc::ttEmpty && !aOpen->Tag->CustomAsWritten) {
    tag.SetTagType(htmldoc::ttOpening);
    alone = true;
  }
  // The application sees the inner text in the program's text.
  const AnsiString stored = tag.GetContent();
  DoRecreateCustomTag(tag, rtl::WideToUtf8(aEncoding.Decode(inner)));
  // An element shown as its own content (pre, code, font and the like) is
  // written with what stands there now, so a user's typing is saved;
  // content an application shows as something else is its to rebuild.
  if (aOpen->Tag->HasAttribute(kContentShown) && tag.GetContent() == stored &&
      aOpen->Tag->GetAttribute(kContentShown) != ShownContent(aChunk, aOpen, aClose))
    tag.SetContent(rtl::WideToUtf8(aEncoding.Decode(inner)));
  const auto out = [&](const AnsiString& aText) { aOut += Encoded(aEncoding, rtl::Utf8ToWide(aText)); };
  if (tag.GetTagType() != htmldoc::ttOpening || alone) {
    out(tag.GetText());
    return;
  }
  out(tag.GetText());
  out(tag.GetContent());
  TpsMarkupTag closing(tag);
  closing.ClearAttributes();
  closing.SetTagType(htmldoc::ttClosing);
  out(closing.GetText());
}

void TpsHTMLEditBase::GenerateCode(TpsDataChunk& aChunk, rtl::TStream& aStream, const AnsiString& aCharset,
                                   bool aWriteCharsetMeta, Integer& aBodyStart, Integer& aBodyEnd,
                                   bool aWholeDocument, bool aKeepCustomTags) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  // 1. The output charset.
  AnsiString charset;
  const auto setMeta = [&](const AnsiString& aName) {
    if (aWriteCharsetMeta) FMetaTags->SetContentByHttpEquiv("content-type", "text/html; charset=" + aName);
  };
  const AnsiString metaCharset =
      TpsCharacterEncoding::ExtractCharset(FMetaTags->GetContentByHttpEquiv("content-type"));
  if (TpsCharacterEncoding::IsKnownCharset(aCharset)) {
    charset = aCharset;
    setMeta(aCharset);
  } else if (TpsCharacterEncoding::IsKnownCharset(metaCharset)) {
    charset = metaCharset;
  } else if (TpsCharacterEncoding::IsKnownCharset(Charset)) {
    charset = Charset;
    setMeta(Charset);
  } else {
    const AnsiString system = htmldoc::CodepageTable().GetCharsetName(rtl::GetACP());
    if (!system.empty()) {
      charset = system;
      setMeta(system);
    } else {
      charset = "UTF-8";
      setMeta("utf-8");
    }
  }
  const TpsCharacterEncoding encoding(charset);
  // 2. Where the caret stands, when asked for.
  const AnsiString cursorText =
      CodeGenerator.SaveLastEditingPosition ? CodeGenerator.EditingPositionComment : AnsiString();
  // 3. The application's say on each tag.
  if (OnSaveTag) {
    for (TpsChunkElement* e = aChunk.First(); e;) {
      TpsChunkElement* next = e->Next;
      if (TpsDataChunk::IsTagElement(e) && TpsDataChunk::TagCodeOf(e) != htmldoc::TAG_CUST) {
        std::unique_ptr<htmldoc::TpsHtmlTag> copy = htmldoc::TpsHtmlTag::CreateCopy(*e->Tag);
        bool remove = false;
        FireSaveTag(*copy, remove);
        if (!remove) aChunk.InsertElement(htmldoc::NewTagElement(htmldoc::TpsHtmlTag::CreateCopy(*copy)), e, true);
        aChunk.RemoveElement(e, true);
      }
      e = next;
    }
  }
  // 4. and 5. The head.
  aBodyStart = -1;
  aBodyEnd = -1;
  const auto writePiece = [&](const WideString& aText) {
    WriteBytes(aStream, WithoutLeadingBlanks(Encoded(encoding, aText)));
  };
  if (aWholeDocument && FDocument) {
    FDocument->KeepEmptyTitle = CodeGenerator.EmptyTitles;
    FDocument->SetTitle(FTitle);
    if (CodeGenerator.GenerateStylesheet) {
      FStyleSheet->Beautify = CodeGenerator.BeautifyCode;
      FDocument->SetStyleSheetText(FStyleSheet->GetAsString());
    } else {
      FDocument->SetStyleSheetText(AnsiString());
    }
    FDocument->SetMetaTags(*FMetaTags);
    FDocument->SetLinkTags(*FLinkTags);
    if (!CodeGenerator.DocType.empty()) writePiece(rtl::Utf8ToWide("<!DOCTYPE " + CodeGenerator.DocType + ">\r\n"));
    writePiece(FDocument->GetHtmlBeforeBody(encoding));
  }
  // 6. and 7.
  if (CodeGenerator.PutNBSPIntoEmptyBlocks) aChunk.PutNbspIntoEmptyBlocks();
  if (!aKeepCustomTags) aChunk.RemoveCustomTags();
  // 8. Only the body's content, unless the whole page is written.
  TpsChunkElement* from = aChunk.First();
  TpsChunkElement* stop = nullptr;
  if (!aWholeDocument) {
    TpsChunkElement* bodyOpen = aChunk.FindTag(htmldoc::TAG_BODY, htmldoc::ttOpening, nullptr, true);
    TpsChunkElement* bodyClose = aChunk.FindTag(htmldoc::TAG_BODY, htmldoc::ttClosing, nullptr, false);
    if (bodyOpen) from = bodyOpen->Next;
    if (bodyClose) stop = bodyClose;
  }
  // 9. The body text, custom pairs by their own rule.
  std::string body;
  while (from && from != stop) {
    TpsChunkElement* custom = NextCustomOpen(from, stop);
    TpsChunkElement* last = custom ? custom->Prev : (stop ? stop->Prev : aChunk.Last());
    if (custom != from && last)
      body += Encoded(encoding, aChunk.GetHtmlText(from, last, cursorText, CodeGenerator.NumericCharRefs, encoding));
    if (!custom) break;
    TpsChunkElement* close = aChunk.FindPartnerTag(custom, stop);
    RTL_ASSERT_MSG(close, "Assertion failure");
    WriteCustomPair(aChunk, custom, close, encoding, cursorText, body);
    from = close->Next;
  }
  // 10. to 12.
  if (CodeGenerator.BeautifyCode) {
    AnsiString pretty;
    BeautifyHtml(body, CodeGenerator.IndentationSize(), CodeGenerator.LineLength(), pretty);
    body = std::move(pretty);
  }
  body = WithoutLeadingBlanks(body);
  aBodyStart = static_cast<Integer>(aStream.Position()) + 1;
  WriteBytes(aStream, body);
  aBodyEnd = static_cast<Integer>(aStream.Position());
  // 13. The tail.
  if (aWholeDocument && FDocument) writePiece(FDocument->GetHtmlAfterBody(encoding));
}

}  // namespace htmledit
