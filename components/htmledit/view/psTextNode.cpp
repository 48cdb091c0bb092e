#include "htmledit/view/psTextNode.h"

#include <algorithm>
#include <climits>

#include "htmledit/control/psSmartTags.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBlockNode.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psDivNodes.h"
#include "htmledit/view/psImageNode.h"
#include "htmledit/doc/psContainers.h"
#include "rtl/Strings.h"

namespace htmlview {

namespace {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;

bool IsHighSurrogate(WideChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WideChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

Integer CascadedLength(const htmldoc::TpsCSSAttributeList* aCss, Integer aId) {
  return aCss && aCss->HasAttribute(aId) ? aCss->GetLengthInPixels(aId) : 0;
}

Integer CascadedEnum(const htmldoc::TpsCSSAttributeList* aCss, Integer aId, Integer aDefault) {
  return aCss && aCss->HasAttribute(aId) ? aCss->GetEnumValue(aId) : aDefault;
}

// Pushes an inline tag's styles as a level of their own.
void PushInlineTag(htmldoc::TpsStyleStack& aStack, TpsChunkElement* e) {
  aStack.BeginLevel();
  htmldoc::TpsHtmlTag& tag = *e->Tag;
  for (Integer id : {tag.GetTagStyleId(), tag.GetClassStyleId(), tag.GetStyleAttributeId()})
    if (id != -1) aStack.PushStyle(id);
  aStack.PushSeparator();
}

bool EndsLineBefore(const TpsChunkElement* e) {
  const Byte code = TpsDataChunk::TagCodeOf(e);
  const Byte type = e->Tag->GetTagType();
  if (type == htmldoc::ttOpening)
    return code == htmldoc::TAG_UL || code == htmldoc::TAG_OL || code == htmldoc::TAG_LI ||
           code == htmldoc::TAG_TABLE;
  if (type == htmldoc::ttClosing) return code == htmldoc::TAG_UL || code == htmldoc::TAG_OL || code == htmldoc::TAG_LI;
  return false;
}

}  // namespace

// --- Finalized floats ---

void TpsFinalizedDockedAdultNodes::Add(TpsWindow* aNode, uint32_t aElementId) {
  FNodes.push_back(aNode);
  FElements.push_back(aElementId);
}

bool TpsFinalizedDockedAdultNodes::ContainsElement(uint32_t aElementId) const {
  return std::find(FElements.begin(), FElements.end(), aElementId) != FElements.end();
}

bool TpsFinalizedDockedAdultNodes::ContainsNode(const TpsWindow* aNode) const {
  return std::find(FNodes.begin(), FNodes.end(), aNode) != FNodes.end();
}

// --- The line ---

TpsTextNode::TpsTextNode(TpsWindow* aParent) : TpsDocumentNode(aParent) { MouseCursor = vcl::crIBeam; }

WideChar TpsTextNode::TransformCharacter(WideChar aChar, Integer aTransform) {
  if (IsHighSurrogate(aChar) || IsLowSurrogate(aChar)) return aChar;
  if (aTransform != 1 && aTransform != 2) return aChar;
  const std::u16string_view one(&aChar, 1);
  // One unit to one: a mapping that would change the length is not taken.
  const WideString mapped = aTransform == 1 ? rtl::WideUpperCase(one) : rtl::WideLowerCase(one);
  return mapped.size() == 1 ? mapped[0] : aChar;
}

htmldoc::TpsDataChunk* TpsTextNode::GetLineChunk() {
  PS_ASSERT(FLineChunk);
  return FLineChunk.get();
}

std::unique_ptr<TpsDataChunk> TpsTextNode::GetChunk(bool aAsCopy) {
  std::unique_ptr<TpsDataChunk> chunk;
  if (!FLineChunk) {
    chunk = std::make_unique<TpsDataChunk>();
  } else if (aAsCopy) {
    chunk = FLineChunk->Clone(false);
  } else {
    chunk = std::move(FLineChunk);
  }
  // An embedded node hands its own elements back in its place.
  for (TpsChunkElement* e = chunk->First(); e;) {
    TpsChunkElement* next = e->Next;
    if (e->Kind == htmldoc::ceNode && e->Node) {
      if (auto* node = dynamic_cast<TpsDocumentNode*>(static_cast<TpsWindow*>(e->Node))) {
        std::unique_ptr<TpsDataChunk> own = node->GetChunk(aAsCopy);
        chunk->InsertChunk(*own, e, false);
        chunk->RemoveElement(e, true);
      }
    }
    e = next;
  }
  return chunk;
}

uint32_t TpsTextNode::GetFirstElementId() {
  return FLineChunk && !FLineChunk->IsEmpty() ? FLineChunk->First()->Id : TpsDocumentNode::GetFirstElementId();
}

std::unique_ptr<TpsDataChunk> TpsTextNode::CopyChunk() {
  return FLineChunk ? FLineChunk->Clone(false) : std::make_unique<TpsDataChunk>();
}

uint32_t TpsTextNode::FindElement(uint32_t aIdA, uint32_t aIdB) {
  return FLineChunk ? FLineChunk->FirstOfIds(aIdA, aIdB) : 0;
}

void TpsTextNode::PrepareLineStyle() {
  // A line continues the inline styles open at the end of the line before
  // it; after a nested block (or as the first line) it starts from its
  // block.
  auto* previous = dynamic_cast<TpsTextNode*>(PreviousSibling());
  TpsDocumentNode* from = previous ? static_cast<TpsDocumentNode*>(previous) : GetParentNode();
  if (from) {
    from->StyleStack->RestoreState(previous ? 2 : 1);
    StyleStack->Assign(*from->StyleStack);
  } else {
    StyleStack->Clear();
  }
  StyleStack->SaveState(1);
}

void TpsTextNode::LoadLineMetrics() {
  const htmldoc::TpsCSSAttributeList* css = StyleStack->ApplyToCanvas();
  TpsAbstractCanvas* canvas = Editor->ScreenCanvas();
  FTextAlign = static_cast<Byte>(css ? css->GetTextAlign() : 0);
  FPlainSpaceWidth = canvas->GetCharExtent(u' ').cx;
  FSpaceWidth = CascadedLength(css, htmldoc::CSS_WORD_SPACING) + FPlainSpaceWidth +
                2 * CascadedLength(css, htmldoc::CSS_LETTER_SPACING);
}

TpsTextNode::Extent TpsTextNode::FullExtent() const {
  Integer top = 0, left = 0, right = -1;
  if (auto* parent = GetParentNode()) parent->GetVerticalRange(top, left, right);
  return {left, right};
}

void TpsTextNode::CollectOverlaps(Extent aFull, bool aExcludeOwn) {
  // Against the line at the full content width: a line already narrowed
  // beside a float no longer meets it, yet must stay beside it.
  const Integer left = Left, width = Width;
  SetExtent(aFull);
  Overlaps->Update(aExcludeOwn);
  Left = left;
  Width = width;
}

TpsTextNode::Extent TpsTextNode::FitBesideFloats(Extent aFull) const {
  Extent e = aFull;
  // The overlap rectangles are relative to the line's absolute top-left
  // as it stood at full width; the extent is in the parent's coordinates.
  for (Integer i = 0; i < Overlaps->Count(); ++i) {
    const htmldoc::TpsRectangleRecord& r = Overlaps->Get(i);
    const Integer fl = r.X + aFull.Left, fr = r.X + r.Width - 1 + aFull.Left;
    if (fr < e.Left || fl > e.Right) continue;
    if (fl <= e.Left && fr >= e.Right) return {0, -1};
    if (fl <= e.Left) {
      e.Left = fr + 1;
    } else if (fr >= e.Right) {
      e.Right = fl - 1;
    } else {
      const Integer leftGap = fl - e.Left, rightGap = e.Right - fr;
      if (leftGap < rightGap)
        e.Left = fr + 1;
      else
        e.Right = fl - 1;
    }
  }
  return e;
}

void TpsTextNode::SetExtent(Extent aExtent) {
  Left = aExtent.Left;
  Width = aExtent.Right - aExtent.Left + 1;
}

Integer TpsTextNode::ParentAvailableWidth() const {
  const Extent full = FullExtent();
  return full.Right - full.Left + 1;
}

namespace {

// A hint area over each link the line holds: the items of the elements
// from its opening tag to its partner (or the line's end), with the text
// and settings the editor's FireQueryLinkHint leaves, unless it refuses.
void BuildLinkHints(TpsTextNode& aLine, IpsEditorHost* aEditor) {
  TpsDataChunk* chunk = aLine.GetLineChunk();
  const TpsLineObjects& items = aLine.Items();
  for (TpsChunkElement* open = chunk->First(); open; open = open->Next) {
    if (TpsDataChunk::TagCodeOf(open) != htmldoc::TAG_A || open->Tag->GetTagType() != htmldoc::ttOpening) continue;
    // The elements the link encloses on this line.
    std::vector<const TpsChunkElement*> inside;
    std::vector<const htmldoc::TpsEmbeddedNode*> nodes;
    Integer depth = 0;
    for (TpsChunkElement* e = open->Next; e; e = e->Next) {
      if (TpsDataChunk::TagCodeOf(e) == htmldoc::TAG_A) {
        if (e->Tag->GetTagType() == htmldoc::ttOpening) ++depth;
        if (e->Tag->GetTagType() == htmldoc::ttClosing && depth-- == 0) break;
      }
      if (e->Kind == htmldoc::ceNode) nodes.push_back(e->Node);
      inside.push_back(e);
    }
    TpsRect area{0, 0, -1, -1};
    bool any = false;
    for (Integer i = 0; i < items.Count(); ++i) {
      const TpsLineItem& item = items.GetItem(i);
      const bool covered =
          item.Kind == loText ? std::find(inside.begin(), inside.end(), item.Element) != inside.end()
                              : item.Node && std::find(nodes.begin(), nodes.end(),
                                                       static_cast<const htmldoc::TpsEmbeddedNode*>(item.Node)) !=
                                                 nodes.end();
      if (!covered) continue;
      const TpsRect r{item.X, item.Y, item.X + item.Width - 1, item.Y + item.Height - 1};
      area = any ? htmldoc::RectUnion(area, r) : r;
      any = true;
    }
    if (!any) continue;
    auto settings = std::make_unique<TpsHintSettings>();
    bool canShow = true;
    AnsiString text = open->Tag->GetAttribute("href");
    if (aEditor) aEditor->QueryLinkHint(open->Tag, canShow, text, *settings);
    if (canShow)
      aLine.AddHintArea(std::make_unique<TpsRectangularHintTriggerArea>(&aLine, area, std::move(settings), text));
  }
}

}  // namespace

void TpsTextNode::LayoutChunk(TpsDataChunk& aChunk) {
  TpsDocumentNode::LayoutChunk(aChunk);
  TpsFinalizedDockedAdultNodes finalized;
  FFinalized = &finalized;
  struct ResetFinalized {
    TpsTextNode* Node;
    ~ResetFinalized() { Node->FFinalized = nullptr; }
  } reset{this};
  StyleStack->SetCanvas(Editor->ScreenCanvas());
  PrepareLineStyle();
  LoadLineMetrics();

  Integer top = 0, left = 0, right = -1;
  if (auto* parent = GetParentNode()) parent->GetVerticalRange(top, left, right);
  const Extent full{left, std::max(right, left - 1)};
  SetBounds(left, top, right - left + 1, 1);

  for (;;) {
    CollectOverlaps(full, false);
    Extent fitted = FitBesideFloats(full);
    if (fitted.Right < fitted.Left) {
      // Only a float beside the line can leave it no room; lower down it
      // ends. A parent with no width at all leaves none at any height, so
      // the line takes that width rather than walk down for ever.
      if (full.Right < full.Left || Overlaps->Count() == 0) {
        fitted = full;
      } else {
        SetBounds(full.Left, Top + 1, full.Right - full.Left + 1, 1);
        continue;
      }
    }
    SetExtent(fitted);
    StyleStack->RestoreState(1);
    StyleStack->ApplyToCanvas();
    bool noRoom = false;
    // A line that takes nothing at the full width with no float beside it
    // would take nothing one pixel lower either: its first element is passed
    // over like any other tag.
    const bool passFirst = fitted.Left == full.Left && fitted.Right == full.Right && Overlaps->Count() == 0;
    if (!LayoutLine(aChunk, noRoom, passFirst)) {
      UndoLine(aChunk);
      SetBounds(full.Left, Top + 1, full.Right - full.Left + 1, 1);
      continue;
    }
    CollectOverlaps(full, true);
    if (noRoom) break;
    const Extent again = FitBesideFloats(full);
    if (again.Left == fitted.Left && again.Right == fitted.Right) break;
    UndoLine(aChunk);
    if (again.Right < again.Left) {
      SetBounds(full.Left, Top + 1, full.Right - full.Left + 1, 1);
    } else {
      SetExtent(again);
      Height = 1;
    }
  }
  PlaceDockedFloats();
  ClearHintAreas();
  BuildLinkHints(*this, Editor);
  SaveStyleEndState();
  WindowFlags.SetFlag(wfBeingLaidOut, false);
}

void TpsTextNode::UndoLine(TpsDataChunk& aChunk) {
  TpsWindow* root = GetRoot();
  for (TpsWindow* f : TpsWindowList(root->FloatingWindows()))
    if (f->Owner == this && !(FFinalized && FFinalized->ContainsNode(f))) root->FreeChild(f);
  // The finalized floats stay docked: later attempts pass their elements
  // over, and the line still binds them.
  htmldoc::TpsDockedAdultNodeList kept;
  for (Integer i = 0; i < FDockedFloats.Count(); ++i) {
    auto* image = static_cast<TpsImageNode*>(FDockedFloats.GetNode(i));
    if (FFinalized && FFinalized->ContainsNode(image->Wrapper())) kept.Add(image);
  }
  FDockedFloats = kept;
  while (ChildCount() > 0) FreeChild(Child(ChildCount() - 1));
  if (FLineChunk) aChunk.PrependChunk(*FLineChunk);
  FLineChunk.reset();
  FItems.Clear();
  FItemSpacing.clear();
}

bool TpsTextNode::LayoutLine(TpsDataChunk& aChunk, bool& aNoRoom, bool aPassFirst) {
  TpsAbstractCanvas* canvas = Editor->ScreenCanvas();
  aNoRoom = false;
  FWordCount = 0;
  FWordsWidth = 0;
  FLeftFloatWidth = 0;
  FRightFloatWidth = 0;
  FImagesWidth = 0;
  FItems.Clear();
  FItemSpacing.clear();
  Integer remaining = Width;
  Integer lineHeight = Height;
  Integer maxOffset = 0;
  const Integer available = ParentAvailableWidth();
  const Integer maxWordWidth = Editor->MaxWordWidth();

  // The word being read.
  TpsChunkElement* wordStart = nullptr;
  Integer wordFirstItem = 0, wordWidth = 0, wordHeight = 0;
  bool forced = false;

  TpsChunkElement* lastTaken = nullptr;  // the line's last element
  bool ended = false;

  const auto commit = [&]() -> bool {
    if (!wordStart) return true;
    const Integer needed = wordWidth + (FWordCount > 0 ? FSpaceWidth : 0);
    bool ok = true;
    if (needed <= remaining || forced) {
      ++FWordCount;
      remaining -= needed;
      FWordsWidth += wordWidth;
      lineHeight = std::max(lineHeight, wordHeight + maxOffset);
    } else {
      StyleStack->RestoreState(3);
      StyleStack->ApplyToCanvas();
      while (FItems.Count() > wordFirstItem) FItems.RemoveItem(FItems.Count() - 1);
      FItemSpacing.resize(static_cast<size_t>(wordFirstItem));
      lastTaken = wordStart->Prev;
      ok = false;
    }
    wordStart = nullptr;
    forced = false;
    return ok;
  };

  TpsChunkElement* e = aChunk.First();
  for (; e && !ended; e = e->Next) {
    if (e->Kind == htmldoc::ceTag) {
      const Byte code = TpsDataChunk::TagCodeOf(e);
      const Byte type = e->Tag->GetTagType();
      if (EndsLineBefore(e) && !(aPassFirst && e == aChunk.First())) {
        lastTaken = e->Prev;
        ended = true;
        break;
      }
      if (htmldoc::IsInlineCode(code) && type == htmldoc::ttOpening) {
        PushInlineTag(*StyleStack, e);
        StyleStack->ApplyToCanvas();
      } else if (htmldoc::IsInlineCode(code) && type == htmldoc::ttClosing) {
        StyleStack->EndLevel();
        StyleStack->ApplyToCanvas();
      } else if (code == htmldoc::TAG_IMG && type != htmldoc::ttClosing) {
        htmldoc::TpsStyleSheet* sheet = Editor->StyleSheet();
        const Byte alignment = sheet ? htmldoc::GetTagAlignment(*e->Tag, *sheet) : 5;
        const bool floating = alignment == 0 || alignment == 1;
        if (floating) {
          if (!FFinalized || !FFinalized->ContainsElement(e->Id)) DockFloat(e, remaining, available);
          lastTaken = e;
          continue;
        }
        if (!commit()) {
          ended = true;
          break;
        }
        const bool firstOfLine = lastTaken == nullptr;
        TpsSkinNode* skin = TpsImageNode::CreateImageWrapper(e, this);
        auto* image = static_cast<TpsImageNode*>(skin->GetImageNode());
        skin->LayoutChunk(aChunk);
        if (image->Width > available && Editor->DownsizingEnabled()) {
          image->SetDisplayWidth(available - image->GetHorizontalInsets());
          skin->SetSize(image->Width, image->Height);
        }
        if (skin->Width > remaining && !firstOfLine) {
          FreeChild(skin);
          ended = true;
          break;
        }
        FItems.AddObjectItem(Width - remaining, 0, skin, skin->Height, skin->Width);
        FItemSpacing.push_back(0);
        remaining -= skin->Width;
        lineHeight = std::max(lineHeight, skin->Height);
        lastTaken = e;
        // An image too wide for any line stands alone on its own.
        if (remaining < 0) {
          ended = true;
          break;
        }
        continue;
      } else if (code == htmldoc::TAG_BR && type != htmldoc::ttClosing) {
        // The break belongs to the line unless the word before it moves on.
        lastTaken = e;
        commit();
        ended = true;
        break;
      }
      lastTaken = e;
      continue;
    }
    if (e->Kind != htmldoc::ceChar) {
      lastTaken = e;
      continue;
    }
    if (TpsDataChunk::IsSpaceOrTab(e)) {
      if (!commit()) {
        ended = true;
        break;
      }
      lastTaken = e;
      continue;
    }
    // A character.
    const htmldoc::TpsCSSAttributeList* css = StyleStack->GetAttributes();
    const Integer transform = CascadedEnum(css, htmldoc::CSS_TEXT_TRANSFORM, 0);
    const Integer letterSpacing = CascadedLength(css, htmldoc::CSS_LETTER_SPACING);
    vcl::TSize size;
    if (IsLowSurrogate(e->Char) && e->Prev && e->Prev->Kind == htmldoc::ceChar && IsHighSurrogate(e->Prev->Char)) {
      // The pair's advance went with its first unit.
      size = {0, canvas->GetCharExtent(u'x').cy};
    } else if (IsHighSurrogate(e->Char) && e->Next && e->Next->Kind == htmldoc::ceChar && IsLowSurrogate(e->Next->Char)) {
      size = canvas->GetCanvas()->TextExtentW(WideString{e->Char, e->Next->Char});
    } else {
      size = canvas->GetCharExtent(TransformCharacter(e->Char, transform));
    }
    Integer offsetY = 0;
    if (StyleStack->GetPosition() == 1) offsetY = StyleStack->GetRelativeTopOffset();
    maxOffset = std::max(maxOffset, std::abs(offsetY));
    const bool first = wordStart == nullptr;
    FItems.AddTextItem(0, 0, e, offsetY, 0, canvas->GetFontDescent(), first, size.cy, size.cx);
    FItemSpacing.push_back(letterSpacing);
    if (first) {
      wordStart = e;
      wordFirstItem = FItems.Count() - 1;
      wordWidth = size.cx;
      wordHeight = size.cy;
      StyleStack->SaveState(3);
      if (FWordCount == 0 && available < size.cx) {
        forced = true;
        aNoRoom = true;
        lastTaken = e;
        ended = true;
        break;
      }
    } else {
      wordWidth += letterSpacing + size.cx;
      wordHeight = std::max(wordHeight, size.cy);
      const Integer needed = wordWidth + (FWordCount > 0 ? FSpaceWidth : 0);
      if (needed > remaining && (wordWidth > available || wordWidth > maxWordWidth)) {
        wordWidth -= letterSpacing + size.cx;
        FItems.RemoveItem(FItems.Count() - 1);
        FItemSpacing.pop_back();
        lastTaken = e->Prev;
        ended = true;
        break;
      }
    }
    lastTaken = e;
  }
  if (!e) ended = true;
  commit();

  // The elements from the first through the last taken become the line.
  if (aChunk.IsEmpty()) {
    // Nothing left to take (an empty block): a line without text.
    FLineChunk = std::make_unique<TpsDataChunk>();
  } else if (!lastTaken) {
    FLineChunk.reset();
    return false;
  } else {
    FLineChunk = aChunk.Extract(aChunk.First(), lastTaken);
  }

  if (const htmldoc::TpsCSSLineHeightAttribute* lh = StyleStack->GetLineHeightAttribute())
    lineHeight = std::max(lineHeight, lh->GetLineHeight(lineHeight, canvas));
  Height = lineHeight;

  FHasText = false;
  for (TpsChunkElement* c = FLineChunk->First(); c; c = c->Next)
    if (TpsDataChunk::IsNonBlankCharacter(c)) FHasText = true;
  PlaceLineItems(aChunk.IsEmpty());
  if (!FHasText) {
    StyleStack->RestoreState(1);
    StyleStack->ApplyToCanvas();
    const Integer textHeight = canvas->GetCharExtent(u' ').cy;
    Height = std::max(Height, textHeight);
    Integer x = 0;
    const Integer rest = Width - FLeftFloatWidth - FRightFloatWidth - FImagesWidth;
    if (FTextAlign == 2) x = FLeftFloatWidth + rest / 2;
    else if (FTextAlign == 3) x = FLeftFloatWidth + rest;
    else x = FLeftFloatWidth;
    const Integer ax = GetParentNode() ? GetParentNode()->GetAbsoluteLeft() + Left : Left;
    const Integer ay = GetParentNode() ? GetParentNode()->GetAbsoluteTop() + Top : Top;
    const Integer gap = (Height - textHeight) / 2;
    FEmptyLineCaret = {ax + x, ay + gap, ax + x + 1, ay + Height - gap - 1};
    if (Width <= 0) aNoRoom = true;
  }
  return true;
}

void TpsTextNode::PlaceLineItems(bool aLastLine) {
  const Integer A = aLastLine ? 1 : FTextAlign;
  // Vertical.
  const Integer M = FItems.MaxTextHeight(), D = FItems.MaxDescent();
  const Integer g = Height - M;
  const Integer topGap = g / 2, bottomGap = g - topGap;
  const Integer baseline = Height - bottomGap - D;
  // Horizontal start.
  const Integer S = FWordCount > 0 ? (FWordCount - 1) * FSpaceWidth : 0;
  Integer I = 0;
  for (Integer i = 0; i < FItems.Count(); ++i)
    if (FItems.GetItem(i).Kind == loObject) I += FItems.GetItem(i).Width;
  FImagesWidth = I;
  const Integer F = FLeftFloatWidth, Fr = FRightFloatWidth, W = FWordsWidth;
  Integer x = F;
  if (FTextAlign == 2) x = F + (Width - F - Fr - S - I - W) / 2;
  else if (FTextAlign == 3) x = F + (Width - F - Fr - S - I - W);
  FWordGap = FSpaceWidth;
  if (A == 4) FWordGap = FWordCount >= 2 ? (Width - I - F - Fr - W) / (FWordCount - 1) : 0;
  for (Integer i = 0; i < FItems.Count(); ++i) {
    TpsLineItem& item = FItems.GetItem(i);
    if (item.Kind == loObject) {
      item.X = x;
      item.Y = std::clamp(baseline - item.Height, 0, std::max(0, Height - item.Height));
      if (item.Node) item.Node->SetPosition(item.X, item.Y);
      x += item.Width;
      continue;
    }
    item.X = x;
    item.Y = baseline - (item.Height - item.Descent) + item.OffsetY;
    x += item.Width;
    if (i + 1 < FItems.Count()) {
      const TpsLineItem& next = FItems.GetItem(i + 1);
      if (next.Kind == loText) x += next.WordStart ? FWordGap : FItemSpacing[static_cast<size_t>(i)];
    }
  }
  if (A == 4 && FItems.Count() > 0) {
    TpsLineItem& last = FItems.GetItem(FItems.Count() - 1);
    if (last.Kind == loObject) {
      last.X = Width - last.Width;
      if (last.Node) last.Node->SetPosition(last.X, last.Y);
    } else if (FWordCount >= 2) {
      Integer start = FItems.Count() - 1;
      while (start > 0 && !FItems.GetItem(start).WordStart) --start;
      const Integer shift = (Width - Fr) - (last.X + last.Width);
      FItems.ShiftX(start, FItems.Count() - 1, shift);
    }
  }
}

void TpsTextNode::DockFloat(TpsChunkElement* aElement, Integer& aRemaining, Integer aAvailable) {
  TpsSkinNode* skin = TpsImageNode::CreateImageWrapper(aElement, this);
  auto* image = static_cast<TpsImageNode*>(skin->GetImageNode());
  FDockedFloats.Add(image);
  image->SetSourceElement(aElement);
  TpsDataChunk none;
  skin->LayoutChunk(none);
  if (image->Width > aAvailable && Editor->DownsizingEnabled()) {
    image->SetDisplayWidth(aAvailable - image->GetHorizontalInsets());
    skin->SetSize(image->Width, image->Height);
  }
  TpsWindow* root = GetRoot();
  const Integer lineLeft = GetAbsoluteLeft() - root->GetAbsoluteLeft();
  const Integer lineTop = GetAbsoluteTop() - root->GetAbsoluteTop();
  const Integer w = skin->Width;
  const bool textBefore = FItems.TextCount() > 0;
  bool placed = false;
  if (image->GetAlignment() == 1) {
    const Integer x = lineLeft + Width - FRightFloatWidth - w;
    if (w > aRemaining || (FWordCount == 0 && textBefore)) {
      skin->SetPosition(x, lineTop);
    } else {
      image->SetWrapperPosition(x, lineTop);
      FRightFloatWidth += w;
      aRemaining -= w;
      placed = true;
    }
  } else {
    const Integer x = lineLeft + FLeftFloatWidth;
    if (textBefore || w > aRemaining) {
      skin->SetPosition(x, lineTop);
    } else {
      image->SetWrapperPosition(x, lineTop);
      FLeftFloatWidth += w;
      aRemaining -= w;
      placed = true;
    }
  }
  skin->WindowFlags.SetFlag(wfFloatPlaced, !placed);
  if (placed && FWordCount == 0 && FFinalized) FFinalized->Add(skin, aElement->Id);
}

void TpsTextNode::FindFreePlace(TpsImageNode* aImage, Integer aY0, bool aLeft, Integer aXMin, Integer aXMax) {
  TpsWindow* root = GetRoot();
  TpsWindow* f = aImage->Wrapper();
  const Integer w = f->Width, h = f->Height;
  f->WindowFlags.SetFlag(wfFloatPlaced, true);
  std::vector<TpsWindow*> placed;
  for (TpsWindow* other : root->FloatingWindows())
    if (!other->WindowFlags.GetFlag(wfFloatPlaced)) placed.push_back(other);
  htmldoc::TpsSortedIntList tops(true, true, 20, 8);
  htmldoc::TpsSortedIntList xs(aLeft, true, 20, 8);
  tops.Add(aY0);
  xs.Add(aLeft ? aXMin : aXMax);
  for (TpsWindow* p : placed) {
    for (Integer t : {p->Top, p->Top + 1, p->Top + p->Height - 1, p->Top + p->Height})
      if (t >= aY0) tops.Add(t);
    for (Integer x : {p->Left - 1, p->Left, p->Left + 1, p->Left + p->Width - 2, p->Left + p->Width - 1,
                      p->Left + p->Width})
      if (x >= aXMin && x <= aXMax) xs.Add(x);
  }
  bool found = false;
  for (Integer i = 0; i < tops.Count() && !found; ++i) {
    const Integer top = tops.GetItem(i);
    for (Integer j = 0; j < xs.Count() && !found; ++j) {
      const Integer left = aLeft ? xs.GetItem(j) : xs.GetItem(j) - w + 1;
      f->SetPosition(left, top);
      if (top < aY0 || left < aXMin || left + w - 1 > aXMax) continue;
      const TpsRect mine{left, top, left + w - 1, top + h - 1};
      bool free = true;
      for (TpsWindow* p : placed) {
        const TpsRect r{p->Left, p->Top, p->Left + p->Width - 1, p->Top + p->Height - 1};
        if (htmldoc::RectsIntersect(mine, r)) {
          free = false;
          break;
        }
      }
      found = free;
    }
  }
  // Without a free place inside the bounds the float goes back to where
  // the line put it first.
  if (!found) f->SetPosition(FProvisionalLeft, FProvisionalTop);
  f->WindowFlags.SetFlag(wfFloatPlaced, false);
}

void TpsTextNode::PlaceDockedFloats() {
  TpsWindow* root = GetRoot();
  auto* block = dynamic_cast<TpsDocumentNode*>(Parent);
  Integer top = 0, left = 0, right = -1;
  if (block) block->GetVerticalRange(top, left, right);
  const Integer parentLeft = Parent ? Parent->GetAbsoluteLeft() - root->GetAbsoluteLeft() : 0;
  const Integer lineBottom = GetAbsoluteBottom() - root->GetAbsoluteTop();
  for (Integer i = 0; i < FDockedFloats.Count(); ++i) {
    auto* image = static_cast<TpsImageNode*>(FDockedFloats.GetNode(i));
    if (!image->IsPositioned()) {
      FProvisionalLeft = image->Wrapper()->Left;
      FProvisionalTop = image->Wrapper()->Top;
      FindFreePlace(image, lineBottom + 1, image->GetAlignment() == 0, parentLeft + left, parentLeft + right);
      image->Positioned = true;
    }
    image->Wrapper()->WindowFlags.SetFlag(wfFloatPlaced, false);
    if (FLineChunk && image->SourceElement) image->ReplaceElementWithPlaceholder(*FLineChunk);
  }
  for (Integer i = 0; i < FItems.Count(); ++i) {
    TpsLineItem& item = FItems.GetItem(i);
    if (item.Kind != loObject || !item.Node) continue;
    auto* image = static_cast<TpsImageNode*>(item.Node->GetImageNode());
    if (FLineChunk && image->SourceElement) image->ReplaceElementWithPlaceholder(*FLineChunk);
  }
  FDockedFloats.Clear();
  FItems.Trim();
}

// --- Painting ---

void TpsTextNode::PaintListMarker(TpsAbstractCanvas& aCanvas) {
  TpsWindow* item = Parent;
  if (!item || !IsListItemNode(item) || TpsListItemNode::GetFirstTextLine(item) != this) return;
  TpsWindow* list = item->GetParent();
  bool ordered = false;
  if (!list || !IsListNode(list, ordered)) return;
  WideString marker;
  const Integer fontHeight = aCanvas.GetFontHeight();
  const AnsiString fontName = aCanvas.GetFontName();
  if (ordered) {
    const AnsiString number = std::to_string(TpsListNode::GetItemNumber(list, item)) + ".";
    marker.assign(number.begin(), number.end());
  } else {
    const htmldoc::TpsCSSAttributeList* css = StyleStack->GetAttributes();
    const Integer type = CascadedEnum(css, htmldoc::CSS_LIST_STYLE_TYPE, 0);
    marker = type == 3 ? u"n" : u"l";
    aCanvas.SetFontName("WINGDINGS");
    aCanvas.SetFontHeight(fontHeight > 0 ? fontHeight - 2 : fontHeight + 2);
  }
  Integer markerWidth = 0, markerHeight = 0;
  for (WideChar c : marker) {
    const vcl::TSize s = aCanvas.GetCharExtent(c);
    markerWidth += s.cx;
    markerHeight = std::max(markerHeight, s.cy);
  }
  auto* itemNode = dynamic_cast<TpsDocumentNode*>(item);
  const Integer firstX = FItems.Count() > 0 ? FItems.GetItem(0).X
                                            : FEmptyLineCaret.Left - GetAbsoluteLeft();
  const Integer inset = itemNode ? itemNode->BorderLeft + itemNode->Padding.Left : 0;
  Integer x = firstX + GetAbsoluteLeft() - inset - markerWidth - 9;
  Integer y = GetAbsoluteTop() + (Height - markerHeight) / 2;
  if (ordered) x -= 3;
  else y += 2;
  if (x >= GetRoot()->GetAbsoluteLeft()) {
    if (ordered) {
      aCanvas.GetBrush()->SetStyle(vcl::bsClear);
      aCanvas.TextOutW(x, y, marker);
    } else {
      // The symbol font's two bullets are drawn as shapes centred in the
      // box measured for them: "l" a filled disc, "n" a filled square. No
      // desktop here carries the symbol font, and a fallback font would
      // draw the letters themselves.
      const Integer side = std::max<Integer>(3, (markerHeight * 2 + 2) / 5);
      const Integer left = x + (markerWidth - side) / 2, top = y + (markerHeight - side) / 2;
      const TColor color = aCanvas.GetFontColor();
      aCanvas.GetBrush()->SetColor(color);
      aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
      aCanvas.GetPen()->SetColor(color);
      if (marker == u"n")
        aCanvas.FillBounds(left, top, left + side - 1, top + side - 1);
      else
        aCanvas.Ellipse(left, top, left + side - 1, top + side - 1);
    }
  }
  aCanvas.SetFontName(fontName);
  aCanvas.SetFontHeight(fontHeight);
  StyleStack->ApplyToCanvas();
}

void TpsTextNode::PaintWords(TpsAbstractCanvas& aCanvas) {
  if (!FLineChunk) return;
  const Integer ax = GetAbsoluteLeft(), ay = GetAbsoluteTop();
  Integer extentTop = 0, extentBottom = -1;
  FItems.GetVerticalExtent(extentTop, extentBottom);
  const TColor highlight = Editor->HighlightColor();
  Integer itemIndex = 0;  // the next text item
  const auto nextTextItem = [this](Integer aFrom) {
    while (aFrom < FItems.Count() && FItems.GetItem(aFrom).Kind != loText) ++aFrom;
    return aFrom;
  };
  auto* block = dynamic_cast<TpsBlockNode*>(Parent);
  const Integer contentRight = block ? block->InsetLeft + block->GetContentWidth() - 1 - Left : Width - 1;

  for (TpsChunkElement* e = FLineChunk->First(); e;) {
    if (e->Kind == htmldoc::ceTag) {
      const Byte code = TpsDataChunk::TagCodeOf(e);
      const Byte type = e->Tag->GetTagType();
      if (htmldoc::IsInlineCode(code) && type == htmldoc::ttOpening) {
        PushInlineTag(*StyleStack, e);
        StyleStack->ApplyToCanvas();
      } else if (htmldoc::IsInlineCode(code) && type == htmldoc::ttClosing) {
        StyleStack->EndLevel();
        StyleStack->ApplyToCanvas();
      }
      e = e->Next;
      continue;
    }
    if (!TpsDataChunk::IsNonBlankCharacter(e)) {
      e = e->Next;
      continue;
    }
    // A word: non-blank characters of one selected state, across no tag.
    const bool selected = e->Selected;
    const htmldoc::TpsCSSAttributeList* css = StyleStack->GetAttributes();
    const Integer transform = CascadedEnum(css, htmldoc::CSS_TEXT_TRANSFORM, 0);
    const Integer spacing = CascadedLength(css, htmldoc::CSS_LETTER_SPACING);
    const Integer decoration = CascadedEnum(css, htmldoc::CSS_TEXT_DECORATION, 0);
    const TColor background =
        css && css->HasAttribute(htmldoc::CSS_BACKGROUND_COLOR) ? css->GetColor(htmldoc::CSS_BACKGROUND_COLOR)
                                                                 : kNoBackground;
    WideString text;
    const Integer firstItem = nextTextItem(itemIndex);
    Integer lastItem = firstItem;
    TpsChunkElement* w = e;
    for (; w && TpsDataChunk::IsNonBlankCharacter(w) && w->Selected == selected; w = w->Next) {
      text += TransformCharacter(w->Char, transform);
      lastItem = nextTextItem(itemIndex);
      itemIndex = lastItem + 1;
    }
    if (firstItem >= FItems.Count()) break;
    const TpsLineItem& a = FItems.GetItem(firstItem);
    const TpsLineItem& b = FItems.GetItem(std::min(lastItem, FItems.Count() - 1));
    aCanvas.SetCharacterExtra(text.size() >= 2 ? spacing : 0);
    const TColor fill = selected ? highlight : background;
    const TColor fontColor = aCanvas.GetFontColor();
    if (fill != kNoBackground && fill != vcl::clNone) {
      aCanvas.GetBrush()->SetColor(fill);
      aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
      aCanvas.FillBounds(ax + a.X, ay + extentTop, ax + b.X + b.Width - 1, ay + extentBottom);
    }
    if (selected) aCanvas.SetFontColor(vcl::clWhite);
    aCanvas.GetBrush()->SetStyle(vcl::bsClear);
    aCanvas.TextOutW(ax + a.X, ay + a.Y, text);
    const TColor lineColor = aCanvas.GetFontColor();
    const auto decorate = [&](Integer aLeft, Integer aRight, TColor aColor) {
      if (decoration == 0 || aRight < aLeft) return;
      const Integer y = decoration == 2 ? ay + a.Y + a.Height - a.Descent + 1 - 1 + 1
                                        : ay + a.Y + (a.Height - a.Descent) / 2 + 1;
      aCanvas.GetPen()->SetColor(aColor);
      aCanvas.MoveTo(aLeft, y);
      aCanvas.LineTo(aRight + 1, y);
    };
    decorate(ax + a.X, ax + b.X + b.Width - 1, lineColor);
    if (selected) aCanvas.SetFontColor(fontColor);
    // The blanks after the word.
    if (w && TpsDataChunk::IsSpaceOrTab(w)) {
      const bool blankSelected = w->Selected;
      const Integer next = nextTextItem(itemIndex);
      const Integer gapLeft = ax + b.X + b.Width;
      Integer gapRight;
      bool atEnd = next >= FItems.Count();
      if (!atEnd) gapRight = ax + FItems.GetItem(next).X - 1;
      else gapRight = ax + std::min(b.X + b.Width - 1 + FPlainSpaceWidth, contentRight);
      if (blankSelected) {
        aCanvas.GetBrush()->SetColor(highlight);
        aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
        aCanvas.FillBounds(gapLeft, ay + extentTop, gapRight, ay + extentBottom);
        decorate(gapLeft, gapRight, vcl::clWhite);
      } else if (!atEnd) {
        if (background != kNoBackground && background != vcl::clNone) {
          aCanvas.GetBrush()->SetColor(background);
          aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
          aCanvas.FillBounds(gapLeft, ay + extentTop, gapRight, ay + extentBottom);
        }
        decorate(gapLeft, gapRight, lineColor);
      }
    }
    e = w;
  }
  aCanvas.SetCharacterExtra(0);
}

namespace {

// The smart-tag marks of a line: each run of consecutive text items whose
// characters carry one mark id is underlined with a zig-zag in the mark
// colour of the handler that set it, at the baseline of the line's first
// text item (at most three pixels above the line's bottom).
void PaintSmartTagMarks(TpsAbstractCanvas& aCanvas, TpsTextNode& aLine) {
  const TpsLineObjects& items = aLine.Items();
  const TpsLineItem* first = nullptr;
  for (Integer i = 0; i < items.Count() && !first; ++i)
    if (items.GetItem(i).Kind == loText) first = &items.GetItem(i);
  if (!first) return;
  const Integer ax = aLine.GetAbsoluteLeft(), ay = aLine.GetAbsoluteTop();
  const Integer baseline = std::min(first->Y + first->Height - first->Descent, aLine.Height - 3) + ay;
  const auto markOf = [](const TpsLineItem& aItem) -> const htmldoc::TpsSmartTagMark* {
    if (aItem.Kind != loText || !aItem.Element || !htmldoc::HasSmartTagMark(aItem.Element->SmartTag)) return nullptr;
    return &aItem.Element->SmartTag;
  };
  for (Integer i = 0; i < items.Count();) {
    const htmldoc::TpsSmartTagMark* mark = markOf(items.GetItem(i));
    if (!mark) {
      ++i;
      continue;
    }
    Integer j = i;
    while (j + 1 < items.Count()) {
      const htmldoc::TpsSmartTagMark* next = markOf(items.GetItem(j + 1));
      if (!next || next->MarkId != mark->MarkId) break;
      ++j;
    }
    const Integer left = ax + items.GetItem(i).X;
    const Integer right = ax + items.GetItem(j).X + items.GetItem(j).Width - 1;
    std::vector<TpsPoint> points{{left, baseline}};
    for (Integer x = left, k = 0; x < right; ++k) {
      x += 2;
      points.push_back({x, k % 2 == 0 ? baseline + 2 : baseline});
    }
    const auto* handler = static_cast<const htmledit::TpsSmartTagHandler*>(mark->Handler);
    aCanvas.GetPen()->SetColor(handler ? handler->MarkColor() : TColor(0x8000));
    aCanvas.GetPen()->SetStyle(vcl::psSolid);
    aCanvas.Polyline(points);
    i = j + 1;
  }
}

}  // namespace

void TpsTextNode::Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) {
  TpsPaintCanvasScope scope(&aCanvas);
  if (auto* parent = dynamic_cast<TpsWindow*>(Parent)) parent->PaintRect(Left, Top, Left + Width - 1, Top + Height - 1);
  StyleStack->RestoreState(1);
  // The stack sets fonts on the surface painted on; measuring stays with
  // the editor's.
  struct StyleCanvasScope {
    htmldoc::TpsStyleStack& Stack;
    htmldoc::TpsStyleCanvas* Saved;
    ~StyleCanvasScope() { Stack.SetCanvas(Saved); }
  } styleCanvas{*StyleStack, StyleStack->Canvas()};
  StyleStack->SetCanvas(&aCanvas);
  StyleStack->ApplyToCanvas();
  PaintListMarker(aCanvas);
  PaintWords(aCanvas);
  if (Editor && Editor->SmartTagsActive()) PaintSmartTagMarks(aCanvas, *this);
  StyleStack->RestoreState(1);
  // The inline images paint themselves.
  TpsWindow::Paint(aCanvas, aPaintChildren);
}

}  // namespace htmlview
