// Drives the node list with arbitrary bytes: a generated list, then random
// link primitives, extracts and inserts, nested focuses with deletions and
// insertions inside them, and text in. After every step Check() holds; after
// an unfocus the elements outside the focused range are the ones that were
// there, in their order.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psLookupLists.h"

using namespace htmldoc;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

class Bytes {
 public:
  Bytes(const uint8_t* aData, size_t aSize) : FData(aData), FSize(aSize) {}
  bool Empty() const { return FPos >= FSize; }
  uint8_t Next() { return FPos < FSize ? FData[FPos++] : 0; }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

std::vector<TpsChunkElement*> Elements(const TpsDataChunk& aChunk) {
  std::vector<TpsChunkElement*> all;
  for (TpsChunkElement* e = aChunk.First(); e; e = e->Next) all.push_back(e);
  return all;
}

std::vector<uint32_t> Ids(TpsChunkElement* aFrom, TpsChunkElement* aTo) {
  std::vector<uint32_t> ids;
  for (TpsChunkElement* e = aFrom; e && e != aTo; e = e->Next) ids.push_back(e->Id);
  return ids;
}

std::unique_ptr<TpsHtmlTag> SomeTag(uint8_t aPick) {
  static const char* const kTags[] = {"<p>", "</p>", "<b>", "</b>", "<br />", "<ul>", "</ul>", "<li>", "</li>"};
  return TpsHtmlTag::CreateFromText(nullptr, kTags[aPick % 9]);
}

TpsChunkElement* SomeElement(uint8_t aPick) {
  switch (aPick % 5) {
    case 0: return NewTagElement(SomeTag(aPick / 5));
    case 1: return NewMarkerElement(aPick);
    case 2: return NewIgnoreElement(std::make_unique<TpsCommentIgnoreElement>("<!-- -->"));
    default: return NewCharacterElement(static_cast<WideChar>(u'a' + aPick % 26));
  }
}

TpsChunkElement* Pick(const TpsDataChunk& aChunk, uint8_t aIndex) {
  const std::vector<TpsChunkElement*> all = Elements(aChunk);
  return all.empty() ? nullptr : all[aIndex % all.size()];
}

// Orders two picked elements so the first comes first.
void Order(const TpsDataChunk& aChunk, TpsChunkElement*& a, TpsChunkElement*& b) {
  if (aChunk.FirstOfIds(a->Id, b->Id) != a->Id) std::swap(a, b);
}

void Step(TpsDataChunk& aChunk, Bytes& aBytes, Integer aDepth);

// Focuses a range, works inside it, unfocuses; the outside stays as it was.
void FocusedWork(TpsDataChunk& aChunk, Bytes& aBytes, Integer aDepth) {
  TpsChunkElement* first = Pick(aChunk, aBytes.Next());
  TpsChunkElement* last = Pick(aChunk, aBytes.Next());
  if (!first) return;
  Order(aChunk, first, last);
  const std::vector<uint32_t> before = Ids(aChunk.First(), first);
  const std::vector<uint32_t> after = Ids(last->Next, nullptr);
  Require(aChunk.Focus(first, last));
  aChunk.Check(aDepth + 1);
  for (int i = aBytes.Next() % 4; i > 0 && !aBytes.Empty(); --i) Step(aChunk, aBytes, aDepth + 1);
  // The range may be empty now; the outside is re-linked either way.
  aChunk.Unfocus();
  aChunk.Check(aDepth);
  const std::vector<uint32_t> all = Ids(aChunk.First(), nullptr);
  Require(all.size() >= before.size() + after.size());
  Require(std::equal(before.begin(), before.end(), all.begin()));
  Require(std::equal(after.rbegin(), after.rend(), all.rbegin()));
}

void Step(TpsDataChunk& aChunk, Bytes& aBytes, Integer aDepth) {
  const uint8_t op = aBytes.Next();
  TpsChunkElement* a = Pick(aChunk, aBytes.Next());
  TpsChunkElement* b = Pick(aChunk, aBytes.Next());
  switch (op % 12) {
    case 0:
      if (a) aChunk.RemoveElement(a, true);
      break;
    case 1:
      if (a)
        aChunk.InsertElement(SomeElement(aBytes.Next()), a, op & 0x80);
      else
        aChunk.AddElement(SomeElement(aBytes.Next()));
      break;
    case 2:
      if (a) {
        Order(aChunk, a, b);
        aChunk.DeleteRange(a, b);
      }
      break;
    case 3:
      if (a) {
        Order(aChunk, a, b);
        std::unique_ptr<TpsDataChunk> part = aChunk.Extract(a, b);
        part->Check();
        aChunk.InsertChunk(*part, Pick(aChunk, aBytes.Next()), op & 0x80);
        Require(part->IsEmpty());
      }
      break;
    case 4:
      if (a && b && a != b) {
        TpsChunkElement* target = Pick(aChunk, aBytes.Next());
        Order(aChunk, a, b);
        // The target must lie outside the range.
        bool inside = false;
        for (TpsChunkElement* e = a; e; e = e->Next) {
          inside = inside || e == target;
          if (e == b) break;
        }
        if (!inside) aChunk.MoveRange(a, b, target, op & 0x80);
      }
      break;
    case 5:
      if (a && b) {
        if (op & 0x80)
          aChunk.MoveElementAfter(a, b);
        else
          aChunk.MoveElementBefore(a, b);
      }
      break;
    case 6:
      if (aDepth < 4) FocusedWork(aChunk, aBytes, aDepth);
      break;
    case 7: {
      WideString text;
      for (int i = aBytes.Next() % 12; i > 0; --i) {
        const uint8_t c = aBytes.Next();
        text += c < 0x80 ? static_cast<WideChar>(c) : static_cast<WideChar>(0xD800 + c);  // lone surrogates too
      }
      if (op & 0x80)
        aChunk.AddTextWithEntities(text);
      else
        aChunk.InsertTextAt(text, a, op & 0x40);
      break;
    }
    case 8: {
      std::unique_ptr<TpsDataChunk> copy = aChunk.Clone(op & 0x80);
      copy->Check();
      Require(Ids(copy->First(), nullptr) == Ids(aChunk.First(), nullptr));
      aChunk.AppendCopyOf(TpsDataChunk());
      break;
    }
    case 9:
      // A focused list shows no cursor outside its range: add one only
      // when the whole list is seen.
      if (aDepth == 0 && !aChunk.HasCursor()) {
        if (a)
          aChunk.InsertElement(NewCursorElement(), a, op & 0x80);
        else
          aChunk.AppendCursor();
      } else {
        aChunk.InsertTextAtCursor(u"x\r\ny", op & 0x80);
      }
      break;
    case 10:
      if (a) {
        TpsChunkElement* next = aChunk.RemoveAndNext(a, true);
        if (next) aChunk.InsertCharacter(u'n', next, false);
      }
      break;
    default:
      if (a) {
        // The structural walks answer without touching the list.
        bool sameLevel;
        aChunk.GetBlockStart(a);
        aChunk.FindPartnerTag(a, b);
        aChunk.FindNextBlock(a, sameLevel);
        aChunk.FindPreviousBlock(a);
        aChunk.FindAdjacentBlockBefore(a, TAG_UL);
        aChunk.FindAdjacentBlockAfter(a, TAG_UL);
        aChunk.CountBlockTags({TAG_LI}, op % 3 - 1);
        aChunk.GetHtmlText(nullptr, nullptr, "|", op & 1, TpsCharacterEncoding::CreateFromCodePage(1252));
        aChunk.GetPlainText();
        aChunk.GetCharacters();
        uint32_t start, end;
        aChunk.FindText(u"ab", op & 1, op & 2, start, end);
      }
      break;
  }
  aChunk.Check(aDepth);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes bytes(data, size);
  TpsDataChunk chunk;
  for (int i = bytes.Next() % 24; i > 0; --i) chunk.AddElement(SomeElement(bytes.Next()));
  chunk.Check();
  for (int steps = 0; steps < 64 && !bytes.Empty(); ++steps) Step(chunk, bytes, 0);
  return 0;
}
