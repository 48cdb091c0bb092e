#include "spell/html/psSpellChecker.h"

#include <memory>

#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psHtmlEditSmartTagHost.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psTextWalk.h"
#include "htmledit/view/psWindows.h"
#include "rtl/Exceptions.h"
#include "spell/engine/lx3Text.h"

namespace spell {

// --- The live-spelling handler ---

TpsSmartTagSpellchecker::TpsSmartTagSpellchecker(TLexaSpell3* aSpell, bool aEnabled, htmledit::TColor aColor)
    : htmledit::TpsSmartTagHandler(aEnabled), FSpell(aSpell) {
  RTL_ASSERT(aSpell);
  FMarkColor = aColor;
  FName = "Spellchecker";
  FDescription = "Lexa Live-spellchecker (https://lexa.example.org/)";
  FHasSetup = true;
}

TpsSmartTagSpellchecker::~TpsSmartTagSpellchecker() {
  if (FSpell && !FSpell->Owner()) delete FSpell;
  FSpell = nullptr;
}

bool TpsSmartTagSpellchecker::IsMisspelt(const AnsiString& aWord) { return !FSpell->WordAcceptable(aWord); }

void TpsSmartTagSpellchecker::AnalyzeBlock(htmledit::TpsSmartTagAnalysisBlock& aBlock) {
  const Integer count = aBlock.GetWordCount();
  RTL_ASSERT(count >= 0);
  for (Integer i = 0; i < count; ++i)
    if (IsMisspelt(aBlock.GetWord(i))) MarkWord(aBlock, i, nullptr);
}

htmledit::TpsHTMLEditBase* HandlerEditorControl(htmledit::TpsSmartTagHandler& aHandler) {
  auto* host = dynamic_cast<htmledit::TpsHtmlEditSmartTagHost*>(aHandler.Editor());
  return host ? &host->Editor() : nullptr;
}

void TpsSmartTagSpellchecker::SmartTagClicked(const htmledit::TpsSmartTagInfo& aInfo, const htmledit::TpsPoint2&,
                                              const htmledit::TpsRect2& aFragmentRect) {
  htmledit::TpsHTMLEditBase* editor = HandlerEditorControl(*this);
  RTL_ASSERT(editor);
  AnsiString word = aInfo.Text;
  const vcl::TPoint topLeft = editor->ClientToScreen(vcl::TPoint{aFragmentRect.Left, aFragmentRect.Top});
  const vcl::TPoint bottomRight = editor->ClientToScreen(vcl::TPoint{aFragmentRect.Right, aFragmentRect.Bottom});
  constexpr TSpellPopupOptions kOptions =
      (1u << spCancel) | (1u << spAdd) | (1u << spIgnoreAll) | (1u << spReplace);
  static_assert(kOptions == 177);
  const TSpellPopupOption result =
      FSpell->ShowPopupMenu(static_cast<vcl::TComponent*>(editor), kOptions, topLeft.X, bottomRight.Y + 1, word);
  if (result == spReplace) editor->ReplaceSmartTagText(word);
  RestartAnalysis();
}

void TpsSmartTagSpellchecker::Setup() { FSpell->ShowConfigDialog(); }

// --- The document walker ---

void TpsHtmlEditControlParser::SetNode(htmlview::TpsWindow* aNode) {
  FNode = aNode;
  FNodeId = aNode ? aNode->WindowId : 0;
}

void TpsHtmlEditControlParser::Revalidate() {
  if (!FNode || !FEditor) return;
  htmlview::TpsWindowManager* manager = FEditor->WindowManager();
  if (manager && manager->IsLiveWindowId(FNodeId)) return;
  htmlview::TpsWindow* w = FirstNode();
  for (Integer n = 1; w && n < FNodeNumber; ++n) w = htmlview::FollowingTextNode(w);
  SetNode(w);
  if (!FNode) return;
  const Integer count = CharacterCount();
  if (FIndex > count) FIndex = count;
  if (FState == 1 && FIndex == count) FState = 2;
}

htmldoc::TpsDataChunk* TpsHtmlEditControlParser::Chunk() const {
  auto* line = dynamic_cast<htmlview::TpsTextNode*>(FNode);
  htmldoc::TpsDataChunk* chunk = line ? line->GetLineChunk() : nullptr;
  RTL_ASSERT(chunk);
  return chunk;
}

Integer TpsHtmlEditControlParser::CharacterCount() const { return Chunk()->CountCharacters(true, false); }

bool TpsHtmlEditControlParser::HasCharacterAt(Integer aIndex) const {
  return Chunk()->GetCharacterByIndex(aIndex, true) != nullptr;
}

htmlview::TpsWindow* TpsHtmlEditControlParser::FirstNode() const {
  htmlview::TpsWindow* root = FEditor ? FEditor->RootWindow() : nullptr;
  return root ? htmlview::FollowingTextNode(root) : nullptr;
}

char TpsHtmlEditControlParser::GetChar() {
  Revalidate();
  if (FState != 1) return ' ';
  const htmldoc::TpsChunkElement* e = FNode ? Chunk()->GetCharacterByIndex(FIndex, true) : nullptr;
  if (!e) return static_cast<char>(0x91);
  // A half of a surrogate pair is no character 1252 holds: a blank.
  const char16_t c = e->Char;
  return c >= 0xD800 && c <= 0xDFFF ? ' ' : EngineCharOf(c);
}

bool TpsHtmlEditControlParser::MoveNext() {
  Revalidate();
  if (!FNode) return false;
  switch (FState) {
    case 0:
      if (CharacterCount() == 0) {
        FState = 2;
      } else {
        FState = 1;
        FIndex = 0;
      }
      break;
    case 1:
      ++FIndex;
      if (!HasCharacterAt(FIndex)) FState = 2;
      break;
    default: {
      htmlview::TpsWindow* next = htmlview::FollowingTextNode(FNode);
      if (!next) return false;
      SetNode(next);
      ++FNodeNumber;
      FIndex = 0;
      FState = 0;
      break;
    }
  }
  return true;
}

bool TpsHtmlEditControlParser::MovePrevious() {
  Revalidate();
  if (!FNode) return false;
  switch (FState) {
    case 0: {
      htmlview::TpsWindow* previous = htmlview::PrecedingTextNode(FNode);
      if (!previous) return false;
      SetNode(previous);
      --FNodeNumber;
      FState = 2;
      break;
    }
    case 1:
      --FIndex;
      if (FIndex < 0) {
        FState = 0;
      } else {
        RTL_ASSERT(HasCharacterAt(FIndex));
      }
      break;
    default: {
      const Integer count = CharacterCount();
      if (count > 0) {
        FIndex = count - 1;
        FState = 1;
      } else {
        FState = 0;
      }
      break;
    }
  }
  return true;
}

void TpsHtmlEditControlParser::SetPosition(Integer x, Integer y, Integer kind) {
  RTL_ASSERT(kind == 0);
  Revalidate();
  if ((x == 0 && y == 0) || !FNode) {
    SetNode(FirstNode());
    RTL_ASSERT(FNode);
    FNodeNumber = 1;
    FIndex = 0;
    FState = 0;
    if (x == 0 && y == 0) return;
  }
  while (FNodeNumber < y) {
    htmlview::TpsWindow* next = htmlview::FollowingTextNode(FNode);
    RTL_ASSERT(next);
    SetNode(next);
    ++FNodeNumber;
  }
  while (FNodeNumber > y) {
    htmlview::TpsWindow* previous = htmlview::PrecedingTextNode(FNode);
    RTL_ASSERT(previous);
    SetNode(previous);
    --FNodeNumber;
  }
  const Integer count = CharacterCount();
  if (x == 0) {
    FState = 0;
    FIndex = 0;
  } else if (x == count + 1) {
    FState = 2;
    FIndex = count;
  } else {
    FState = 1;
    FIndex = x - 1;
  }
}

void TpsHtmlEditControlParser::GetPosition(Integer& x, Integer& y) {
  Revalidate();
  RTL_ASSERT(FNode);
  y = FNodeNumber;
  x = FState == 0 ? 0 : FState == 1 ? FIndex + 1 : CharacterCount() + 1;
}

void TpsHtmlEditControlParser::SelectPreviousWord(Integer length) {
  Revalidate();
  if (length <= 0) {
    FEditor->ClearSelection();
    return;
  }
  FPendingLength = length;
  htmldoc::TpsDataChunk* chunk = Chunk();
  const htmldoc::TpsChunkElement* first = chunk->GetCharacterByIndex(FIndex - length, true);
  const htmldoc::TpsChunkElement* last = chunk->GetCharacterByIndex(FIndex - 1, true);
  RTL_ASSERT(first);
  RTL_ASSERT(last);
  auto* line = static_cast<htmlview::TpsTextNode*>(FNode);
  FEditor->SetSelectionRange({line, first->Id, line, last->Id});
  FIndex -= length;
  FState = 1;
}

void TpsHtmlEditControlParser::ReplaceWord(const std::string& word, Integer) {
  FEditor->MoveCursorToSelectionStart();
  FEditor->InsertText(FromEngineText(word), false);
  FEditor->RestartSmartTagAnalysis();
  // The typed text may have laid the line out anew: go on from the caret.
  SetNode(FEditor->WindowManager()->FocusedNode());
  Integer number = 1;
  htmlview::TpsWindow* w = FirstNode();
  while (w && w != FNode) {
    w = htmlview::FollowingTextNode(w);
    ++number;
  }
  FNodeNumber = w ? number : -1;
  htmldoc::TpsDataChunk* chunk = Chunk();
  const Integer before = chunk->CountCharacters(true, true);
  const Integer all = chunk->CountCharacters(true, false);
  RTL_ASSERT(before <= all);
  FIndex = before;
  FState = before == all ? 2 : 1;
}

void TpsHtmlEditControlParser::IgnoreWord(Integer) {
  FIndex += FPendingLength;
  FPendingLength = 0;
}

void TpsHtmlEditControlParser::CenterSelection() { FEditor->ScrollSelectionIntoView(); }

void TpsHtmlEditControlParser::GetCursorPosition(Integer& x, Integer& y) { x = y = 0; }

TParserRect TpsHtmlEditControlParser::GetWordScreenRect() {
  htmldoc::TpsRect r;
  FEditor->GetSelectionRect(r);
  if (r.Left == -1 && r.Top == -1 && r.Right == -1 && r.Bottom == -1) return {};
  // The editor's rectangle is inclusive, a parser's is not.
  const vcl::TPoint topLeft = FEditor->ClientToScreen(vcl::TPoint{r.Left, r.Top});
  const vcl::TPoint bottomRight = FEditor->ClientToScreen(vcl::TPoint{r.Right, r.Bottom});
  return {topLeft.X, topLeft.Y, bottomRight.X + 1, bottomRight.Y + 1};
}

// --- The main window's commands ---

void SpellCheckHtmlEdit(TLexaSpell3* aSpell, htmledit::TpsHTMLEdit* aEditor) {
  auto parser = std::make_unique<TpsHtmlEditControlParser>();
  parser->Initialize(aEditor);
  aSpell->CheckParser(parser.release(), 2, true);
  // A run that goes on without waiting (SynchronousCheck off) is still at
  // its first word, which must stay selected for the dialog's Change; it
  // drops the selection itself when it ends.
  if (!aSpell->Checking()) aEditor->ClearSelection();
}

Integer CountHtmlEditWords(TLexaSpell3* aSpell, htmledit::TpsHTMLEdit* aEditor) {
  auto parser = std::make_unique<TpsHtmlEditControlParser>();
  parser->Initialize(aEditor);
  try {
    return aSpell->WordCount(parser.get(), 2);
  } catch (...) {
    return 0;
  }
}

}  // namespace spell
