#pragma once
// The spell checker and the HTML editor. Live spelling: TpsSmartTagSpellchecker is a smart-tag
// handler: on the editor's analysis thread it marks every word of a block
// the spell component does not accept, and a click on a marked word opens
// the component's spelling popup there. The words reach the component as
// UTF-8, through its own interface, whose lock keeps the analysis thread
// and the user-interface thread (a check run, the popup, a dialog) apart;
// the handler adds no lock of its own.
//
// TpsHtmlEditControlParser is the text cursor through which a check run or
// a word count reads the editor's page: it walks the view's text lines in
// document order (each line's characters, blanks at its start left out;
// the states before and after a line read as blanks, so no word runs from
// one line into the next), selects words in the editor and replaces them
// there as typed text. Used on the user-interface thread only.
#include "htmledit/control/psSmartTags.h"
#include "spell/engine/lx3ParserBase.h"
#include "spell/lx3Spell.h"

namespace htmledit {
class TpsHTMLEditBase;
class TpsHTMLEdit;
}  // namespace htmledit

namespace htmldoc {
class TpsDataChunk;
}  // namespace htmldoc

namespace htmlview {
class TpsWindow;
}  // namespace htmlview

namespace spell {

class TpsSmartTagSpellchecker : public htmledit::TpsSmartTagHandler {
 public:
  // aSpell is required; the handler frees it only when it has no owner.
  TpsSmartTagSpellchecker(TLexaSpell3* aSpell, bool aEnabled, htmledit::TColor aColor);
  ~TpsSmartTagSpellchecker() override;

  TLexaSpell3* Spell() const { return FSpell; }
  bool IsMisspelt(const AnsiString& aWord);

  // On the analysis thread: each word the component rejects is marked.
  void AnalyzeBlock(htmledit::TpsSmartTagAnalysisBlock& aBlock) override;
  // On the user-interface thread: the popup under the fragment; a chosen
  // suggestion replaces the fragment; every block is analysed again.
  void SmartTagClicked(const htmledit::TpsSmartTagInfo& aInfo, const htmledit::TpsPoint2& aClickPoint,
                       const htmledit::TpsRect2& aFragmentRect) override;
  // The component's options dialog.
  void Setup() override;

 private:
  TLexaSpell3* FSpell;
};

class TpsHtmlEditControlParser : public TControlParser {
 public:
  void Initialize(htmledit::TpsHTMLEditBase* aEditor) { FEditor = aEditor; }

  // The character at the cursor in Windows-1252 (a blank before and after
  // a line, and for a character 1252 cannot hold); 0x91 without a line or
  // a character at the index.
  char GetChar() override;
  std::string GetLine() override { return std::string(); }
  bool MoveNext() override;
  bool MovePrevious() override;
  // (0, 0): the first line's start. Otherwise line Y (from 1): X 0 before
  // its first character, X the count + 1 after its last, else on
  // character X. Only the cursor (kind 0).
  void SetPosition(Integer x, Integer y, Integer kind) override;
  void GetPosition(Integer& x, Integer& y) override;
  // The length characters before the cursor selected in the editor.
  void SelectPreviousWord(Integer length) override;
  // word (engine text) typed over the editor's selection; the cursor
  // follows the caret, behind the new text.
  void ReplaceWord(const std::string& word, Integer state) override;
  void IgnoreWord(Integer state) override;
  void CenterSelection() override;
  // (0, 0): a check from the cursor starts at the page's start.
  void GetCursorPosition(Integer& x, Integer& y) override;
  void GetSelectionPosition(Integer&, Integer&, Integer&, Integer&) override {}
  TParserRect GetControlScreenRect() override { return {}; }
  // The editor's selection rectangle on the screen; no position without a
  // selection.
  TParserRect GetWordScreenRect() override;
  void UndoLast(Integer, TSpellAction, Integer&) override {}

  htmlview::TpsWindow* CurrentNode() const { return FNode; }

 private:
  // The current line again when an edit between two calls laid it out
  // anew (its window gone): found by its number.
  void Revalidate();
  void SetNode(htmlview::TpsWindow* aNode);
  htmldoc::TpsDataChunk* Chunk() const;
  Integer CharacterCount() const;
  bool HasCharacterAt(Integer aIndex) const;
  htmlview::TpsWindow* FirstNode() const;

  htmledit::TpsHTMLEditBase* FEditor = nullptr;
  htmlview::TpsWindow* FNode = nullptr;
  Integer FNodeId = 0;
  Integer FNodeNumber = 0;
  Integer FIndex = 0;
  Integer FPendingLength = 0;
  // 0 before the line's first character, 1 on the character at the index,
  // 2 after its last.
  Integer FState = 0;
};

// The "Spelling..." command: a whole-page check run over the editor, which
// owns the parser; the selection is removed once the run is over.
void SpellCheckHtmlEdit(TLexaSpell3* aSpell, htmledit::TpsHTMLEdit* aEditor);
// The "Word Count" command: the page's words as the component counts
// them; 0 when counting fails.
Integer CountHtmlEditWords(TLexaSpell3* aSpell, htmledit::TpsHTMLEdit* aEditor);

// The editor control a handler registered with it belongs to; nullptr for
// a handler not registered with an editor component.
htmledit::TpsHTMLEditBase* HandlerEditorControl(htmledit::TpsSmartTagHandler& aHandler);

}  // namespace spell
