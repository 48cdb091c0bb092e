#pragma once
// Random editing of well-formed node lists, shared by the model's tests
// (fixed seeds) and a fuzz target (choices from the fuzzer's bytes).
//
// A generated document is blocks (paragraphs, headings, divisions, lists,
// tables) whose text blocks hold words, blanks, non-breaking spaces,
// placeholders, characters from entities, nested inline pairs, images,
// line breaks, custom pairs and verbatim items, and one cursor. Each step
// is one editing operation as the editor makes it: random markers and
// contiguous selections, then formatting, deletion, moves, splits, joins
// or a clean-up pass, each with what it promises checked:
//   - Check() with balanced inline pairs that cross neither each other nor
//     a block boundary;
//   - formatting, moves, splits and joins keep the characters (ids in
//     order where the order stays);
//   - deleting removes exactly the characters it names;
//   - applying a tag leaves every character of the range inside such a
//     tag, removing one leaves none inside it;
//   - a normalising pass run twice equals one run.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStyleSheets.h"
#include "ChunkFixture.h"

namespace htmldoc::testing {

// Where the random choices come from.
class ChoiceSource {
 public:
  virtual ~ChoiceSource() = default;
  // A number below aBound (0 when aBound is 0).
  virtual uint32_t Below(uint32_t aBound) = 0;
  virtual bool Exhausted() const { return false; }
  bool Chance(uint32_t aPercent) { return Below(100) < aPercent; }
};

class SeededChoices final : public ChoiceSource {
 public:
  explicit SeededChoices(uint32_t aSeed) : FEngine(aSeed) {}
  uint32_t Below(uint32_t aBound) override {
    return aBound == 0 ? 0 : std::uniform_int_distribution<uint32_t>(0, aBound - 1)(FEngine);
  }

 private:
  std::mt19937 FEngine;
};

class ByteChoices final : public ChoiceSource {
 public:
  ByteChoices(const uint8_t* aData, size_t aSize) : FData(aData), FSize(aSize) {}
  uint32_t Below(uint32_t aBound) override {
    if (aBound <= 1) return 0;
    uint32_t value = 0;
    for (uint32_t range = 1; range < aBound && range < (1u << 24); range <<= 8)
      value = (value << 8) | (FPos < FSize ? FData[FPos++] : 0);
    return value % aBound;
  }
  bool Exhausted() const override { return FPos >= FSize; }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

class EditScenario {
 public:
  using FailEvent = std::function<void(const std::string& aWhat)>;

  EditScenario(ChoiceSource& aChoices, FailEvent aFail)
      : FChoices(aChoices), FFail(std::move(aFail)), FEvents(SheetEvents(FSheet)) {}

  TpsDataChunk& Chunk() { return *FChunk; }
  const TpsHtmlTagEventsRef& Events() const { return FEvents; }
  TpsStyleSheet& Sheet() { return FSheet; }

  void Generate() {
    FChunk = std::make_unique<TpsDataChunk>();
    AddBlocks(0);
    PlaceCursor();
    Verify("generated");
  }

  // One random operation with its checks; False once a check failed.
  bool Step() {
    if (FFailed) return false;
    const uint32_t operation = FChoices.Below(10);
    switch (operation) {
      case 0: CursorMove(); break;
      case 1: DeleteSelection(); break;
      case 2: case 3: Format(); break;
      case 4: MoveRange(); break;
      case 5: SplitBlock(); break;
      case 6: JoinBlocks(); break;
      case 7: DeleteMarked(); break;
      case 8: CleanUp(); break;
      default: MarkSelectedRuns(); break;
    }
    if (OnTrace) OnTrace(operation, DumpFixture(*FChunk));
    return !FFailed;
  }

  bool Failed() const { return FFailed; }

  // Hears the list after every step (for finding what broke it).
  std::function<void(uint32_t aOperation, const std::string& aList)> OnTrace;

 private:
  using CharIds = std::vector<std::pair<uint32_t, WideChar>>;

  // --- Generating ----------------------------------------------------------

  void AddTag(const AnsiString& aText) { FChunk->AddTag(TpsHtmlTag::CreateFromText(FEvents, aText)); }

  void AddBlocks(int aDepth) {
    const uint32_t count = 1 + FChoices.Below(4);
    for (uint32_t i = 0; i < count; ++i) {
      switch (aDepth < 2 ? FChoices.Below(6) : 0) {
        case 1:
          AddTag("<div>");
          AddBlocks(aDepth + 1);
          AddTag("</div>");
          break;
        case 2: {
          AddTag("<ul>");
          for (uint32_t n = 1 + FChoices.Below(3); n > 0; --n) AddTextBlock("li");
          AddTag("</ul>");
          break;
        }
        case 3: {
          AddTag("<table>");
          for (uint32_t r = 1 + FChoices.Below(2); r > 0; --r) {
            AddTag("<tr>");
            for (uint32_t c = 1 + FChoices.Below(2); c > 0; --c) AddTextBlock("td");
            AddTag("</tr>");
          }
          AddTag("</table>");
          break;
        }
        default: {
          static const char* const kNames[] = {"p", "p", "h2", "div", "blockquote"};
          AddTextBlock(kNames[FChoices.Below(5)]);
        }
      }
    }
  }

  void AddTextBlock(const char* aName) {
    AddTag(AnsiString("<") + aName + ">");
    AddInline(0);
    AddTag(AnsiString("</") + aName + ">");
  }

  void AddInline(int aDepth) {
    static const char* const kPairs[] = {"<b>", "<i>", "<u>", "<span class=\"k\">", "<span style=\"color:red\">",
                                         "<a href=\"u\">", "<em>"};
    const uint32_t count = FChoices.Below(aDepth == 0 ? 9 : 4);
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t kind = FChoices.Below(aDepth < 3 ? 12 : 8);
      if (kind <= 2) {
        static const char16_t kLetters[] = u"abcdefgh.,-xyz12";
        for (uint32_t n = 1 + FChoices.Below(5); n > 0; --n) FChunk->AddCharacter(kLetters[FChoices.Below(16)]);
      } else if (kind == 3) {
        FChunk->AddCharacter(FChoices.Chance(70) ? u' ' : u'\t');
      } else if (kind == 4) {
        FChunk->AddCharacter(static_cast<WideChar>(HtmlCodeTable().GetNbspChar()), false, false, FChoices.Chance(50));
      } else if (kind == 5) {
        FChunk->AddCharacter(u'x', false, true);  // a placeholder
      } else if (kind == 6) {
        static const char* const kEmpty[] = {"<img src=\"i\" />", "<br />"};
        AddTag(kEmpty[FChoices.Below(2)]);
      } else if (kind == 7) {
        FChunk->AddIgnoreElement(std::make_unique<TpsCommentIgnoreElement>("<!-- k -->"));
      } else if (kind <= 10) {
        const char* open = kPairs[FChoices.Below(7)];
        AddTag(open);
        AddInline(aDepth + 1);
        std::unique_ptr<TpsHtmlTag> close = TpsHtmlTag::CreateFromText(FEvents, open);
        close->SetTagType(ttClosing);
        close->ClearAttributes();
        FChunk->AddTag(std::move(close));
      } else {
        std::unique_ptr<TpsHtmlTag> open, close;
        CreateCustomTagPair("<mytag n=\"1\">", FEvents, open, close);
        FChunk->AddTag(std::move(open));
        AddInline(aDepth + 1);
        FChunk->AddTag(std::move(close));
      }
    }
  }

  void PlaceCursor() {
    const std::vector<TpsChunkElement*> all = Elements();
    if (all.empty() || FChoices.Chance(10)) return;
    FChunk->InsertCursor(all[FChoices.Below(static_cast<uint32_t>(all.size()))], FChoices.Chance(50));
  }

  // --- Looking at the list ---------------------------------------------------

  std::vector<TpsChunkElement*> Elements() const {
    std::vector<TpsChunkElement*> all;
    for (TpsChunkElement* e = FChunk->First(); e; e = e->Next) all.push_back(e);
    return all;
  }

  CharIds Characters(TpsChunkElement* aFrom = nullptr, TpsChunkElement* aTo = nullptr) const {
    CharIds ids;
    for (TpsChunkElement* e = aFrom ? aFrom : FChunk->First(); e && e != aTo; e = e->Next)
      if (e->Kind == ceChar) ids.emplace_back(e->Id, e->Char);
    return ids;
  }

  static CharIds Sorted(CharIds aIds) {
    std::sort(aIds.begin(), aIds.end());
    return aIds;
  }

  // Text blocks holding no block: where formatting happens.
  std::vector<std::pair<TpsChunkElement*, TpsChunkElement*>> LeafBlocks() const {
    std::vector<std::pair<TpsChunkElement*, TpsChunkElement*>> blocks;
    for (TpsChunkElement* e = FChunk->First(); e; e = e->Next) {
      if (!TpsDataChunk::IsBlockOpenTag(e) || !IsTextBlockCode(TpsDataChunk::TagCodeOf(e))) continue;
      TpsChunkElement* close = FChunk->FindPartnerTag(e, nullptr);
      bool leaf = close != nullptr;
      for (TpsChunkElement* inner = e->Next; leaf && inner != close; inner = inner->Next)
        leaf = !TpsDataChunk::IsBlockTag(inner);
      if (leaf) blocks.emplace_back(e, close);
    }
    return blocks;
  }

  bool PickLeafBlock(TpsChunkElement*& aOpen, TpsChunkElement*& aClose) {
    const auto blocks = LeafBlocks();
    if (blocks.empty()) return false;
    const auto& block = blocks[FChoices.Below(static_cast<uint32_t>(blocks.size()))];
    aOpen = block.first;
    aClose = block.second;
    return true;
  }

  // Custom pairs stand for elements the editor does not know; the editor
  // never cuts one in two, so neither do the operations here: between
  // aFrom (included) and aTo (not included) they are whole.
  static bool CustomPairsWhole(TpsChunkElement* aFrom, TpsChunkElement* aTo) {
    Integer open = 0;
    for (TpsChunkElement* e = aFrom; e && e != aTo && open >= 0; e = e->Next) {
      if (TpsDataChunk::IsCustomOpenTag(e)) ++open;
      if (TpsDataChunk::IsCustomCloseTag(e)) --open;
    }
    return open == 0;
  }

  // Markers 1 and 2 around a random stretch of a block's content that
  // holds whole custom pairs; with aOutsideCustom no custom pair is open
  // at the markers either.
  void MarkInBlock(TpsChunkElement* aOpen, TpsChunkElement* aClose, bool aOutsideCustom = false) {
    std::vector<TpsChunkElement*> slots;  // a marker goes before one of these
    for (TpsChunkElement* e = aOpen->Next; e; e = e->Next) {
      slots.push_back(e);
      if (e == aClose) break;
    }
    uint32_t a = 0, b = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
      a = FChoices.Below(static_cast<uint32_t>(slots.size()));
      b = FChoices.Below(static_cast<uint32_t>(slots.size()));
      if (a > b) std::swap(a, b);
      if (CustomPairsWhole(slots[a], slots[b]) && (!aOutsideCustom || CustomPairsWhole(aOpen->Next, slots[a])))
        break;
      // An empty range at the block's start always will do.
      a = b = 0;
    }
    FChunk->InsertMarker(1, slots[a], false);
    FChunk->InsertMarker(2, slots[b], false);
  }

  bool MarkRandomRange(bool aOutsideCustom = false) {
    TpsChunkElement *open, *close;
    if (!PickLeafBlock(open, close)) return false;
    MarkInBlock(open, close, aOutsideCustom);
    return true;
  }

  // Every character strictly between the markers.
  std::vector<TpsChunkElement*> CharactersBetweenMarkers() const {
    std::vector<TpsChunkElement*> chars;
    TpsChunkElement* end = FChunk->FindMarker(2);
    for (TpsChunkElement* e = FChunk->FindMarker(1); e && e != end; e = e->Next)
      if (e->Kind == ceChar) chars.push_back(e);
    return chars;
  }

  static bool OpenWithText(TpsDataChunk& aChunk, TpsChunkElement* aAt, const AnsiString& aText, Integer& aCount) {
    aCount = 0;
    aChunk.ForEachInlineTagAround(aAt, [&](Integer, TpsChunkElement* aTag) {
      if (aTag->Tag->GetText() == aText) ++aCount;
    });
    return aCount > 0;
  }

  static bool OpenWithCode(TpsDataChunk& aChunk, TpsChunkElement* aAt, Byte aCode) {
    bool found = false;
    aChunk.ForEachInlineTagAround(aAt, [&](Integer, TpsChunkElement* aTag) {
      found = found || TpsDataChunk::TagCodeOf(aTag) == aCode;
    });
    return found;
  }

  // --- Checks ----------------------------------------------------------------

  void Fail(const std::string& aWhat) {
    if (FFailed) return;
    FFailed = true;
    FFail(aWhat + " in " + DumpFixture(*FChunk));
  }

  void Expect(bool aCondition, const std::string& aWhat) {
    if (!aCondition) Fail(aWhat);
  }

  void Verify(const std::string& aWhat) {
    try {
      FChunk->Check(0, true);
    } catch (const EpsHtmlEditException& e) {
      Fail(aWhat + ": " + e.Message());
    }
  }

  // --- Operations ------------------------------------------------------------

  void CursorMove() {
    const CharIds before = Characters();
    bool moved;
    switch (FChoices.Below(10)) {
      case 0: FChunk->MoveCursorLeft(); break;
      case 1: FChunk->MoveCursorRight(); break;
      case 2: FChunk->MoveCursorWordLeft(); break;
      case 3: FChunk->MoveCursorWordRight(moved); break;
      case 4: FChunk->MoveCursorToStart(); break;
      case 5: FChunk->TryMoveCursorToEnd(); break;
      case 6: FChunk->MoveCursorBackOverCustomTags(); break;
      case 7: FChunk->MoveCursorForwardOverCustomTags(); break;
      case 8: FChunk->EnsureCursorInBlock(FEvents); break;
      default: {
        TpsChunkElement *first, *last;
        if (FChunk->GetWordAtCursor(first, last))
          Expect(FChunk->FirstOfIds(first->Id, last->Id) == first->Id, "a word that ends before it starts");
      }
    }
    Verify("cursor move");
    Expect(Characters() == before, "a cursor move changed the characters");
  }

  void SelectRandomRange() {
    const std::vector<TpsChunkElement*> all = Elements();
    if (all.empty()) return;
    TpsChunkElement* a = all[FChoices.Below(static_cast<uint32_t>(all.size()))];
    TpsChunkElement* b = all[FChoices.Below(static_cast<uint32_t>(all.size()))];
    if (FChunk->FirstOfIds(a->Id, b->Id) != a->Id) std::swap(a, b);
    FChunk->SetSelection(true, a->Id, b->Id, true);
  }

  void DeleteSelection() {
    SelectRandomRange();
    if (!FChunk->HasSelection()) return;
    CharIds kept;
    for (TpsChunkElement* e = FChunk->First(); e; e = e->Next)
      if (e->Kind == ceChar && !e->Selected) kept.emplace_back(e->Id, e->Char);
    FChunk->DeleteSelection(FEvents);
    Verify("delete selection");
    Expect(Characters() == kept, "deleting the selection removed other characters than the selected ones");
    Expect(!FChunk->HasSelection(), "a selected element is left after deleting the selection");
    if (TpsChunkElement* cursor = FChunk->GetCursor())
      Expect(FChunk->IsInTextBlock(cursor), "the cursor is left outside a text block");
  }

  void Format() {
    static const char* const kTags[] = {"<b>", "<i>", "<u>", "<span class=\"k\">", "<span style=\"color:red\">",
                                        "<a href=\"u\">", "<span style=\"color:red;font-weight:bold\">"};
    if (!MarkRandomRange()) return;
    const CharIds before = Characters();
    const AnsiString tag = kTags[FChoices.Below(7)];
    const AnsiString text = TpsMarkupTag(tag).GetText();
    const Byte code = TagNameToCode(TpsMarkupTag(tag).GetName());
    const uint32_t operation = FChoices.Below(6);
    // Whether removal can promise that nothing in the range keeps the tag:
    // only when no two such tags are open at a marker (removal splits up
    // to the first one it finds there).
    Integer atStart = 0, atEnd = 0;
    OpenWithText(*FChunk, FChunk->FindMarker(1), text, atStart);
    OpenWithText(*FChunk, FChunk->FindMarker(2), text, atEnd);
    switch (operation) {
      case 0:
        FChunk->ApplyTagToMarkedRange(FEvents, 1, 2, tag, &FSheet, FEvents->OnStyleAttributeToId);
        break;
      case 1: FChunk->RemoveTagFromMarkedRange(1, 2, tag, &FSheet); break;
      case 2: FChunk->WrapMarkedRange(FEvents, 1, 2, tag, &FSheet, nullptr); break;
      case 3: FChunk->WrapMarkedRangeInCustomTag(1, 2, "<mytag n=\"2\">", FEvents); break;
      case 4: FChunk->SplitCrossingTags(1, 2); break;
      default: FChunk->SplitInlineTagsAtMarker(FChoices.Chance(50) ? 1 : 2);
    }
    Verify("formatting");
    Expect(Characters() == before, "formatting changed the characters");
    Expect(FChunk->FirstOfIds(FChunk->FindMarker(1)->Id, FChunk->FindMarker(2)->Id) == FChunk->FindMarker(1)->Id,
           "the markers changed places");
    for (TpsChunkElement* c : CharactersBetweenMarkers()) {
      Integer count;
      if (operation == 0 || operation == 2)
        Expect(OpenWithCode(*FChunk, c, code), "a character of the range is outside the applied tag");
      if (operation == 1 && atStart <= 1 && atEnd <= 1)
        Expect(!OpenWithText(*FChunk, c, text, count), "a character of the range keeps the removed tag");
    }
    if (operation != 1 && operation != 5) {
      // Pairs lie wholly inside or wholly outside the range (removal
      // splits only up to the tag it removes).
      TpsChunkElement* start = FChunk->FindMarker(1);
      TpsChunkElement* end = FChunk->FindMarker(2);
      for (TpsChunkElement* e = start->Next; e != end; e = e->Next) {
        if (TpsDataChunk::IsInlineOpenTag(e))
          Expect(FChunk->FindPartnerTag(e, end) != nullptr, "an inline pair crosses the end of the range");
        if (TpsDataChunk::IsInlineCloseTag(e))
          Expect(FChunk->FindPartnerTag(e, start) != nullptr, "an inline pair crosses the start of the range");
      }
    }
    FChunk->RemoveMarkers(1, 2);
  }

  void MoveRange() {
    const auto blocks = LeafBlocks();
    if (blocks.size() < 2) return;
    const uint32_t from = FChoices.Below(static_cast<uint32_t>(blocks.size()));
    uint32_t to = FChoices.Below(static_cast<uint32_t>(blocks.size() - 1));
    if (to >= from) ++to;
    MarkInBlock(blocks[from].first, blocks[from].second);
    // The target: anywhere inside the other block.
    std::vector<TpsChunkElement*> slots;
    for (TpsChunkElement* e = blocks[to].first->Next; e; e = e->Next) {
      slots.push_back(e);
      if (e == blocks[to].second) break;
    }
    FChunk->InsertMarker(3, slots[FChoices.Below(static_cast<uint32_t>(slots.size()))], false);
    FChunk->SplitCrossingTags(1, 2);
    const CharIds before = Sorted(Characters());
    FChunk->MoveMarkedRange(1, 2, 3, FChoices.Chance(50), true, true);
    Verify("move");
    Expect(Sorted(Characters()) == before, "moving lost or made characters");
    Expect(!FChunk->FindMarker(1) && !FChunk->FindMarker(2) && !FChunk->FindMarker(3), "a marker of a move is left");
  }

  void SplitBlock() {
    if (!MarkRandomRange(true)) return;
    const CharIds before = Characters();
    FChunk->SplitInlineTagsAtMarker(1);
    FChunk->SplitInlineTagsAtMarker(2);
    // The stretch taken out becomes a block of its own, as the editor's
    // commands that split a block make it.
    FChunk->InsertMarker(3, FChunk->FindMarker(1), true);
    FChunk->InsertMarker(4, FChunk->FindMarker(2), false);
    FChunk->SplitBlockAroundMarkers(1, 2, false);
    FChunk->InsertTagAtMarker(TpsHtmlTag::CreateFromText(FEvents, "<div>"), 3, false, true);
    FChunk->InsertTagAtMarker(TpsHtmlTag::CreateFromText(FEvents, "</div>"), 4, true, true);
    Verify("split block");
    // Only blanks next to a removed edge may have gone with it.
    const CharIds after = Characters();
    const CharIds sortedBefore = Sorted(before), sortedAfter = Sorted(after);
    Expect(std::includes(sortedBefore.begin(), sortedBefore.end(), sortedAfter.begin(), sortedAfter.end()),
           "splitting a block made characters");
    for (const auto& gone : before)
      if (std::find(after.begin(), after.end(), gone) == after.end())
        Expect(gone.second == u' ' || gone.second == u'\t' || gone.second == HtmlCodeTable().GetNbspChar(),
               "splitting a block removed a character that is no blank");
    Expect(!FChunk->FindMarker(1) && !FChunk->FindMarker(2), "a marker of a split is left");
  }

  void JoinBlocks() {
    const auto blocks = LeafBlocks();
    if (blocks.size() < 2) return;
    uint32_t target = FChoices.Below(static_cast<uint32_t>(blocks.size()));
    uint32_t source = FChoices.Below(static_cast<uint32_t>(blocks.size() - 1));
    if (source >= target) ++source;
    FChunk->InsertMarker(2, blocks[target].second, false);
    FChunk->InsertMarker(1, blocks[source].first, true);
    const CharIds before = Sorted(Characters());
    FChunk->MoveBlockContentToMarker(1, 2);
    Verify("join blocks");
    Expect(Sorted(Characters()) == before, "joining blocks lost or made characters");
    Expect(!FChunk->FindMarker(1) && !FChunk->FindMarker(2), "a marker of a join is left");
  }

  void DeleteMarked() {
    if (!MarkRandomRange()) return;
    FChunk->SplitCrossingTags(1, 2);
    CharIds kept = Characters(nullptr, FChunk->FindMarker(1));
    const CharIds tail = Characters(FChunk->FindMarker(2));
    kept.insert(kept.end(), tail.begin(), tail.end());
    FChunk->DeleteBetweenMarkers(1, 2, true);
    Verify("delete between markers");
    Expect(Characters() == kept, "deleting between markers removed other characters");
  }

  void CleanUp() {
    const uint32_t pass = FChoices.Below(12);
    const Byte code = static_cast<Byte>(FChoices.Below(TAG_UNKNOWN));
    const Byte type = static_cast<Byte>(FChoices.Below(3));
    const auto run = [&](TpsDataChunk& aChunk) {
      switch (pass) {
        case 0: aChunk.CollapseBlanks(); break;
        case 1: aChunk.TrimBlanks(false); break;
        case 2: aChunk.TrimBlanks(true); break;
        case 3: aChunk.RemoveLeadingBlanks(); break;
        case 4: aChunk.RemovePlaceholders(); break;
        case 5: aChunk.RemoveEmptyInlineTagPairs(nullptr); break;
        case 6: aChunk.RemoveBlankInlineTagPairs(nullptr); break;
        case 7: aChunk.RemoveInlineTagPairsWithoutText(); break;
        case 8: aChunk.RemoveInlineTags(type == 0); break;
        case 9: aChunk.RemoveCustomTags(); break;
        case 10: aChunk.RemoveTagPairsWithoutSelection(); break;
        default:
          // Removing one half of a pair would unbalance the list.
          if (type == ttEmpty || (!IsInlineCode(code) && !IsBlockCode(code) && code != TAG_CUST))
            aChunk.RemoveTags(code, type);
      }
    };
    const CharIds before = Characters();
    run(*FChunk);
    Verify("clean-up pass");
    const std::string once = DumpFixture(*FChunk);
    run(*FChunk);
    Verify("clean-up pass run again");
    Expect(DumpFixture(*FChunk) == once, "a clean-up pass run twice differs from one run");
    if (pass >= 5)
      Expect(Characters() == before, "a pass over tags changed the characters");
  }

  void MarkSelectedRuns() {
    SelectRandomRange();
    const std::string before = DumpFixture(*FChunk);
    Integer marker = 100;
    for (TpsChunkElement* e = FChunk->First(); e && (e = FChunk->MarkNextSelectedRun(e, marker));) {
    }
    Verify("marking selected runs");
    // Each pair of markers holds a selected stretch.
    for (Integer m = 100; m < marker; m += 2) {
      TpsChunkElement* start = FChunk->FindMarker(m);
      TpsChunkElement* end = FChunk->FindMarker(m + 1);
      Expect(start && end && start->Next != end && start->Next->Selected && end->Prev->Selected,
             "a marker pair holds no selected stretch");
    }
    FChunk->RemoveMarkers(100, INT_MAX);
    Expect(DumpFixture(*FChunk) == before, "marking selected runs changed more than markers");
    FChunk->SetSelection(false, 0, 0, true);
  }

  ChoiceSource& FChoices;
  FailEvent FFail;
  TpsStyleSheet FSheet;
  TpsHtmlTagEventsRef FEvents;
  std::unique_ptr<TpsDataChunk> FChunk;
  bool FFailed = false;
};

}  // namespace htmldoc::testing
