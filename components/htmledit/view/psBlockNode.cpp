#include "htmledit/view/psBlockNode.h"

#include <algorithm>
#include <cmath>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psImageCache.h"
#include "htmledit/view/psPropertyGroups.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"

namespace htmlview {

namespace {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;

bool IsBlankOrKept(const TpsChunkElement* e) {
  return TpsDataChunk::IsBlank(e) || TpsDataChunk::IsIgnoreElement(e);
}

}  // namespace

thread_local TpsAbstractCanvas* TpsPaintCanvasScope::FCurrent = nullptr;

TpsPaintCanvasScope::TpsPaintCanvasScope(TpsAbstractCanvas* aCanvas) : FSaved(FCurrent) { FCurrent = aCanvas; }

TpsPaintCanvasScope::~TpsPaintCanvasScope() { FCurrent = FSaved; }

TpsAbstractCanvas* TpsBlockNode::PaintCanvas() const {
  if (TpsAbstractCanvas* c = TpsPaintCanvasScope::Current()) return c;
  return Editor ? Editor->ScreenCanvas() : nullptr;
}

TpsBlockNode::TpsBlockNode(TpsWindow* aParent, IpsEditorHost* aEditor) : TpsDocumentNode(aParent, aEditor) {
  WindowFlags.SetFlag(wfStyleFromParent, true);
}

htmldoc::TpsHtmlTag* TpsBlockNode::GetBlockTag() {
  PS_ASSERT(OpeningTag && OpeningTag->Kind == htmldoc::ceTag);
  return OpeningTag->Tag;
}

std::unique_ptr<TpsDataChunk> TpsBlockNode::SplitBlockChunk(TpsDataChunk& aChunk) {
  // A list the syntax check never saw may hold a block tag without its
  // partner: that fails the layout as any list it cannot lay out does.
  TpsChunkElement* open = aChunk.FindBlockOpenTag(aChunk.First(), true);
  if (!open) throw EpsHtmlEditException("TpsBlockNode.SplitBlockChunk: no block tag to lay out!");
  TpsChunkElement* close = aChunk.FindPartnerTag(open, nullptr);
  if (!close) throw EpsHtmlEditException("TpsBlockNode.SplitBlockChunk: block tag without its closing tag!");
  TpsChunkElement* leadEnd = open;
  while (leadEnd->Next && leadEnd->Next != close && IsBlankOrKept(leadEnd->Next)) leadEnd = leadEnd->Next;
  TpsChunkElement* trailStart = close;
  while (trailStart->Prev && trailStart->Prev != leadEnd && IsBlankOrKept(trailStart->Prev))
    trailStart = trailStart->Prev;
  TpsChunkElement* trailEnd = close;
  while (trailEnd->Next && IsBlankOrKept(trailEnd->Next)) trailEnd = trailEnd->Next;

  std::unique_ptr<TpsDataChunk> content;
  if (leadEnd->Next != trailStart)
    content = aChunk.Extract(leadEnd->Next, trailStart->Prev);
  else
    content = std::make_unique<TpsDataChunk>();
  LeadingPart = aChunk.Extract(aChunk.First(), leadEnd);
  TrailingPart = aChunk.Extract(trailStart, trailEnd);
  OpeningTag = open;
  ClosingTag = close;
  return content;
}

std::unique_ptr<TpsDataChunk> TpsBlockNode::GetChunk(bool aAsCopy) {
  if (WindowFlags.GetFlag(wfContentTakenOut) && EditChunk) return std::move(EditChunk);
  PrepareChunk();
  auto chunk = std::make_unique<TpsDataChunk>();
  if (LeadingPart) {
    if (aAsCopy) {
      chunk->AppendCopyOf(*LeadingPart);
    } else {
      chunk->InsertChunk(*LeadingPart, nullptr, true);
      LeadingPart.reset();
      OpeningTag = nullptr;
    }
  }
  std::unique_ptr<TpsDataChunk> children = TpsDocumentNode::GetChunk(aAsCopy);
  chunk->InsertChunk(*children, nullptr, true);
  if (TrailingPart) {
    if (aAsCopy) {
      chunk->AppendCopyOf(*TrailingPart);
    } else {
      chunk->InsertChunk(*TrailingPart, nullptr, true);
      TrailingPart.reset();
      ClosingTag = nullptr;
    }
  }
  return chunk;
}

std::unique_ptr<TpsDataChunk> TpsBlockNode::CopyChunk() {
  if (IsRoot()) return TpsDocumentNode::CopyChunk();
  std::unique_ptr<TpsDataChunk> chunk = GetChunk(true);
  chunk->RemoveUnselectedCharacters();
  chunk->RemoveUnselectedEmptyTags();
  chunk->RemoveTagPairsWithoutSelection();
  chunk->RemoveUnselectedBlockTags();
  chunk->RemoveUnselectedCustomTags();
  return chunk;
}

void TpsBlockNode::GetContentMetrics(Integer& aLeft, Integer& aNextTop, Integer& aWidth) {
  aLeft = InsetLeft;
  aNextTop = InsetTop;
  // The last child that is neither floated nor being laid out: a line
  // asking for its place must not see itself.
  for (Integer i = ChildCount() - 1; i >= 0; --i) {
    TpsWindow* c = Child(i);
    if (c->WindowFlags.GetFlag(wfFloating) || c->WindowFlags.GetFlag(wfBeingLaidOut)) continue;
    aNextTop = c->Top + c->Height;
    break;
  }
  aWidth = Width - InsetLeft - InsetRight;
}

void TpsBlockNode::GetVerticalRange(Integer& aTop, Integer& aLeft, Integer& aRight) {
  Integer left, top, width;
  GetContentMetrics(left, top, width);
  aTop = top;
  aLeft = left;
  aRight = left + width - 1;
}

bool TpsBlockNode::OwnsFloat(const TpsWindow* aFloat) const {
  for (const TpsWindow* o = aFloat->Owner; o; o = o->Parent)
    if (o == this) return true;
  return false;
}

void TpsBlockNode::UpdateHeight() {
  const bool countFloats = IsRoot() || ContainsFloats;
  TpsWindow* candidate = nullptr;
  Integer candidateTop = 0, candidateBottom = 0, candidateHeight = 0;
  for (Integer i = ChildCount() - 1; i >= 0; --i) {
    TpsWindow* c = Child(i);
    if (c->WindowFlags.GetFlag(wfFloating) || c->WindowFlags.GetFlag(wfBeingLaidOut)) continue;
    candidate = c;
    candidateTop = c->Top;
    candidateHeight = c->Height;
    candidateBottom = c->Top + c->Height - 1;
    break;
  }
  if (countFloats) {
    TpsWindow* root = GetRoot();
    const Integer offset = GetAbsoluteTop() - root->GetAbsoluteTop();
    for (TpsWindow* f : root->FloatingWindows()) {
      if (f->WindowFlags.GetFlag(wfBeingLaidOut) || !OwnsFloat(f)) continue;
      // Floated windows keep root coordinates.
      const Integer top = f->Top - (IsRoot() ? 0 : offset);
      const Integer bottom = top + f->Height - 1;
      if (!candidate || bottom > candidateBottom) {
        candidate = f;
        candidateTop = top;
        candidateHeight = f->Height;
        candidateBottom = bottom;
      }
    }
  }
  Height = candidate ? candidateTop + candidateHeight + InsetBottom : InsetTop + InsetBottom;
}

void TpsBlockNode::GetBlockRange(TpsSelectionRange&) { PS_ASSERT(false); }

Byte TpsBlockNode::GetTextAlign() {
  htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr;
  if (!sheet || !OpeningTag) return 0;
  htmldoc::TpsHtmlTag* tag = GetBlockTag();
  for (Integer id : {tag->GetStyleAttributeId(), tag->GetTagStyleId(), sheet->IndexOfStyle("body")}) {
    if (id < 0) continue;
    if (htmldoc::TpsStyle* style = sheet->GetStyle(id)) {
      const Integer align = style->GetTextAlign();
      if (align != 0) return static_cast<Byte>(align);
    }
  }
  return 0;
}

AnsiString TpsBlockNode::GetStyleValueText(Integer aAttributeId) {
  htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr;
  if (!sheet || !OpeningTag || aAttributeId < 0) return {};
  htmldoc::TpsHtmlTag* tag = GetBlockTag();
  for (Integer id : {tag->GetStyleAttributeId(), tag->GetClassStyleId(), tag->GetTagStyleId()}) {
    if (id < 0) continue;
    if (htmldoc::TpsStyle* style = sheet->GetStyle(id))
      if (htmldoc::TpsCSSAttribute* a = style->Attributes().GetAttribute(aAttributeId)) return a->GetAsString();
  }
  return {};
}

AnsiString TpsBlockNode::GetInlineStyleText() {
  htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr;
  if (!sheet || !OpeningTag) return {};
  const Integer id = GetBlockTag()->GetStyleAttributeId();
  htmldoc::TpsStyle* style = id >= 0 ? sheet->GetStyle(id) : nullptr;
  return style ? style->GetAttributesAsString() : AnsiString();
}

void TpsBlockNode::LoadBackgroundColor() {
  const htmldoc::TpsCSSAttributeList* css = GetStyleAttributes();
  TColor color = css && css->HasAttribute(htmldoc::CSS_BACKGROUND_COLOR)
                     ? css->GetColor(htmldoc::CSS_BACKGROUND_COLOR)
                     : kNoBackground;
  // Colour text the model keeps without knowing it (rgba() and the like)
  // reads as clNone: painted as is it would come out black.
  if (color == vcl::clNone) color = kNoBackground;
  Color = color;
}

void TpsBlockNode::LoadBackgroundImage() {
  const AnsiString url = htmldoc::ExtractCssUrl(GetStyleValueText(htmldoc::CSS_BACKGROUND_IMAGE));
  TpsImageCache* cache = Editor ? Editor->ImageCache() : nullptr;
  BackgroundImageSource = url;
  BackgroundGraphic = nullptr;
  if (!cache) return;
  if (url != FCountedBackgroundSource) {
    if (!FCountedBackgroundSource.empty()) cache->RemoveUse(FCountedBackgroundSource);
    FCountedBackgroundSource.clear();
  }
  if (url.empty()) return;
  if (FCountedBackgroundSource.empty()) {
    htmldoc::TpsMarkupTag tag("img");
    tag.SetAttribute("src", url);
    tag.SetAttribute("align", "left");
    cache->AddImage(url, nullptr, &tag);
    Editor->LoadImageBySource(url);
    cache->AddUse(url);
    FCountedBackgroundSource = url;
  }
  BackgroundGraphic = cache->GetGraphicBySource(url);
  cache->SetTag(url, nullptr);
}

void TpsBlockNode::BeforeDestruction() {
  if (!FCountedBackgroundSource.empty())
    if (TpsImageCache* cache = Editor ? Editor->ImageCache() : nullptr) cache->RemoveUse(FCountedBackgroundSource);
  FCountedBackgroundSource.clear();
  BackgroundGraphic = nullptr;
  TpsDocumentNode::BeforeDestruction();
}

void TpsBlockNode::PaintTiles(TpsAbstractCanvas& aCanvas, vcl::TGraphic* aGraphic, Integer aOriginX, Integer aOriginY,
                              const TpsRect& aClip) {
  // A side of zero would never advance the tiling.
  if (!aGraphic || aGraphic->Width() <= 0 || aGraphic->Height() <= 0) return;
  const Integer gw = aGraphic->Width(), gh = aGraphic->Height();
  const TpsRect& view = aCanvas.GetViewport();
  // Only the tiles that meet both the clip and the viewport.
  const Integer left = std::max(aClip.Left, view.Left), top = std::max(aClip.Top, view.Top);
  const Integer right = std::min(aClip.Right, view.Right), bottom = std::min(aClip.Bottom, view.Bottom);
  if (left > right || top > bottom) return;
  const auto firstTile = [](Integer aFrom, Integer aOrigin, Integer aSize) {
    const Integer d = aFrom - aOrigin;
    return aOrigin + (d >= 0 ? d / aSize : -((-d + aSize - 1) / aSize)) * aSize;
  };
  aCanvas.PushClipRect(aClip.Left, aClip.Top, aClip.Right, aClip.Bottom);
  try {
    for (Integer y = firstTile(top, aOriginY, gh); y <= bottom; y += gh)
      for (Integer x = firstTile(left, aOriginX, gw); x <= right; x += gw) aCanvas.Draw(x, y, aGraphic);
  } catch (...) {
    aCanvas.PopClipRect();
    throw;
  }
  aCanvas.PopClipRect();
}

void TpsBlockNode::PaintBackground(TpsAbstractCanvas& aCanvas, const TpsRect& aLocal) {
  const Integer ax = GetAbsoluteLeft(), ay = GetAbsoluteTop();
  if (BackgroundGraphic && BackgroundGraphic->Width() > 0 && BackgroundGraphic->Height() > 0) {
    // Laid from the padding box's top-left corner.
    PaintTiles(aCanvas, BackgroundGraphic, ax + MarginLeft + BorderLeft, ay + MarginTop + BorderTop,
               {aLocal.Left + ax, aLocal.Top + ay, aLocal.Right + ax, aLocal.Bottom + ay});
    return;
  }
  if (Color == kNoBackground) {
    if (auto* parent = dynamic_cast<TpsBlockNode*>(Parent)) {
      TpsPaintCanvasScope scope(&aCanvas);
      parent->PaintRect(aLocal.Left + Left, aLocal.Top + Top, aLocal.Right + Left, aLocal.Bottom + Top);
    }
    return;
  }
  aCanvas.GetBrush()->SetColor(Color);
  aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
  aCanvas.FillBounds(aLocal.Left + ax, aLocal.Top + ay, aLocal.Right + ax, aLocal.Bottom + ay);
}

void TpsBlockNode::PaintRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) {
  TpsAbstractCanvas* canvas = PaintCanvas();
  if (!canvas) return;
  // The padding box: margins and borders excluded.
  TpsRect area{std::max(aLeft, MarginLeft + BorderLeft), std::max(aTop, MarginTop + BorderTop),
               std::min(aRight, Width - 1 - MarginRight - BorderRight),
               std::min(aBottom, Height - 1 - MarginBottom - BorderBottom)};
  if (area.Left > area.Right || area.Top > area.Bottom) return;
  PaintBackground(*canvas, area);
}

void TpsBlockNode::PaintBorder(TpsAbstractCanvas& aCanvas) {
  if (BorderStyle == 1) return;
  const TpsRect box = GetAbsoluteRect();
  aCanvas.DrawBoxBorder(box, TpsRect{MarginLeft, MarginTop, MarginRight, MarginBottom}, BorderStyle, Color,
                        BorderColor, TpsRect{BorderLeft, BorderTop, BorderRight, BorderBottom});
}

void TpsBlockNode::Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) {
  TpsPaintCanvasScope scope(&aCanvas);
  const auto repaintRows = [this](Integer aTop) { PaintRect(0, aTop, Width - 1, aTop + 1); };
  const auto drawBar = [this, &aCanvas](Integer aTop) {
    TImageDragging* options = Editor ? Editor->ImageDragging() : nullptr;
    const Integer barPercent = options ? options->ImageDragTargetBarWidth() : 100;
    const Integer f = (Width - static_cast<Integer>(std::nearbyint(Width / 100.0 * barPercent))) / 2;
    aCanvas.GetBrush()->SetColor(options ? options->ImageDragTargetBarColor : TColor(255));
    aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
    const Integer ax = GetAbsoluteLeft(), ay = GetAbsoluteTop();
    aCanvas.FillBounds(ax + f, ay + aTop, ax + Width - f - 1, ay + aTop + 1);
  };
  switch (DropBar) {
    case 1:
    case 2:
      TpsWindow::Paint(aCanvas, aPaintChildren);
      drawBar(DropBar == 1 ? 0 : Height - 2);
      repaintRows(DropBar == 1 ? Height - 2 : 0);
      DropBarPainted = true;
      break;
    default:
      if (DropBarPainted) {
        repaintRows(0);
        repaintRows(Height - 2);
        DropBarPainted = false;
      }
      TpsWindow::Paint(aCanvas, aPaintChildren);
      break;
  }
  PaintBorder(aCanvas);
}

void TpsBlockNode::SetDropBar(Byte aState) {
  if (aState == DropBar) return;
  DropBar = aState;
  if (TpsWindowManager* m = GetWindowManager()) {
    m->InvalidateWindow(this, false);
    m->PaintInvalidatedWindows();
  }
}

std::vector<TpsRect> TpsBlockNode::RecordFloats() {
  std::vector<TpsRect> rects;
  TpsWindow* root = GetRoot();
  for (TpsWindow* f : root->FloatingWindows())
    if (OwnsFloat(f)) rects.push_back(f->GetAbsoluteRect());
  return rects;
}

TpsBlockNode* TpsBlockNode::FindAdjacentBlock(bool aBackward) {
  TpsMessage query(mrCommand, psmQueryBlockNode, nullptr);
  query.AutoFree = false;
  if (aBackward)
    SendToPrecedingWindows(query);
  else
    SendToFollowingWindows(query);
  return dynamic_cast<TpsBlockNode*>(query.Answer);
}

void TpsBlockNode::EndTransaction() {
  bool local = Height == HeightBeforeRelayout;
  if (local) {
    std::vector<TpsRect> after = RecordFloats();
    std::vector<TpsRect> before = FloatsBefore;
    for (const TpsRect& r : after) {
      auto it = std::find_if(before.begin(), before.end(), [&r](const TpsRect& b) {
        return b.Left == r.Left && b.Top == r.Top && b.Right == r.Right && b.Bottom == r.Bottom;
      });
      if (it == before.end()) {
        local = false;
        break;
      }
      before.erase(it);
    }
    if (!before.empty()) local = false;
  }
  if (local) {
    ClearDeferredMessages();
  } else {
    // Queued, not processed here: the root's relayout frees this node.
    RepostDeferredMessages(GetRoot(), false);
  }
}

void TpsBlockNode::HandleMessage(TpsMessage& m) {
  const bool root = IsRoot();
  // While a transaction runs, what the root would need to redo it is kept;
  // the edits themselves (document-changing) are not. Nor is the change
  // notice: the block has asked for it already, and a root replaying it
  // would fire the editor's change events twice for one edit.
  if (!root && HasDeferredMessages() && m.Kind == mrCommand && (!m.Target || m.Target == this) &&
      m.Id != psmUpdateCaret && m.Id != psmEndEdit && m.Id != psmDocumentChanged &&
      !(m.Flags && m.Flags->GetFlag(mfChangesDocument)))
    DeferMessage(m, false);
  if (m.Kind == mrCommand && (!m.Target || m.Target == this)) {
    if (HandleBlockEdit(m)) return;
    switch (m.Id) {
      case psmGetBlockRange:
        if (m.Data) GetBlockRange(*static_cast<TpsSelectionRange*>(m.Data));
        m.MarkHandled(this);
        return;
      case psmMergeBlocks:
        m.MarkHandled(this);
        if (!root) MergeIntoPreviousBlock();
        return;
      case psmQueryBlockNode:
        if (!root) {
          m.Answer = this;
          m.Result = true;
          m.MarkHandled(this);
          return;
        }
        break;
      case psmInsertMarkerInBlock: {
        RequireContentOut();
        htmldoc::TpsChunkElement* marker = htmldoc::NewMarkerElement(m.GetParam(1));
        EditChunk->InsertElement(marker, EditChunk->Last(), false);
        m.MarkHandled(this);
        return;
      }
      case psmBeginEdit:
        if (!root) {
          if (!HasDeferredMessages()) DeferMessage(m, true);
          else m.MarkHandled(this);
          return;
        }
        break;
      case psmEndEdit:
        if (!root && HasDeferredMessages()) {
          m.MarkHandled(this);
          EndTransaction();
          return;
        }
        break;
      case psmExtractChunk:
        if (!root) FloatsBefore = RecordFloats();
        break;
      case psmRelayout:
        HeightBeforeRelayout = Height;
        break;
      case psmCursorAtMarker: {
        RequireContentOut();
        htmldoc::TpsChunkElement* marker = EditChunk->FindMarker(m.GetParam(1));
        if (!marker) throw EpsHtmlEditException("TpsBlockNode: marker not found");
        if (htmldoc::TpsChunkElement* cursor = EditChunk->GetCursor()) EditChunk->RemoveElement(cursor, true);
        EditChunk->InsertCursor(marker, true);
        EditChunk->RemoveElement(marker, true);
        m.MarkHandled(this);
        return;
      }
      case psmMarkerAtCursor: {
        RequireContentOut();
        htmldoc::TpsChunkElement* cursor = EditChunk->GetCursor();
        if (!cursor) throw EpsHtmlEditException("TpsBlockNode: no cursor");
        EditChunk->InsertElement(htmldoc::NewMarkerElement(m.GetParam(1)), cursor, true);
        EditChunk->RemoveElement(cursor, true);
        m.MarkHandled(this);
        return;
      }
      case psmIsBlockNode:
        m.Result = true;
        m.MarkHandled(this);
        return;
      case psmImageDragOver:
        if (!root) {
          m.MarkHandled(this);
          return;
        }
        break;
      case psmImageDragShowTarget: {
        const TpsPoint p = AbsoluteToLocal(m.GetPos());
        SetDropBar(p.Y < Height / 2 ? 1 : 2);
        m.MarkHandled(this);
        return;
      }
      case psmImageDrop:
        m.MarkHandled(this);
        DropImage(m.ElementId);
        return;
      case psmImageDragHideTarget:
        SetDropBar(0);
        m.MarkHandled(this);
        return;
      default:
        break;
    }
  }
  TpsDocumentNode::HandleMessage(m);
}

}  // namespace htmlview
