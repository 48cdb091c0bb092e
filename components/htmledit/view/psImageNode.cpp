#include "htmledit/view/psImageNode.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBlending.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psBlockNode.h"
#include "htmledit/view/psImageCache.h"
#include "htmledit/view/psPropertyGroups.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/doc/psTagParser.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"

namespace htmlview {

namespace {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;

Integer RoundEven(double aValue) { return static_cast<Integer>(std::nearbyint(aValue)); }

// A graphic with a zero side is shown as a missing picture: every ratio
// below divides by its sides.
bool UsableGraphic(vcl::TGraphic* aGraphic) {
  return aGraphic && aGraphic->Width() > 0 && aGraphic->Height() > 0;
}

bool ContainsPoint(const TpsRect& r, const TpsPoint& p) {
  return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}

// The element of aChunk that stands for the wrapper (its placeholder).
TpsChunkElement* PlaceholderOf(TpsDataChunk* aChunk, const TpsWindow* aWrapper) {
  if (!aChunk) return nullptr;
  for (TpsChunkElement* e = aChunk->First(); e; e = e->Next)
    if (e->Kind == htmldoc::ceNode && e->Node == aWrapper) return e;
  return nullptr;
}

}  // namespace

TpsImageNode::TpsImageNode(TpsWindow* aWrapper) : TpsDocumentNode(aWrapper) {}

TpsImageNode::~TpsImageNode() = default;

void TpsImageNode::BeforeDestruction() {
  FResizeFeedback.reset();
  if (Dragging) {
    if (TpsWindowManager* manager = GetWindowManager()) {
      manager->RemoveBeforePaintHandler(this);
      manager->RemoveAfterPaintHandler(this);
    }
    FDragFeedback.reset();
    if (FDragDC && Editor) Editor->ReleaseDC(FDragDC);
    FDragDC = nullptr;
  }
  if (Resizing && Editor) Editor->SetMouseAutoScroll(true);
  if (Image)
    if (IpsImageEditing* editing = Editing()) editing->ReleaseImage(Image);
  Image.reset();
  if (TpsImageCache* cache = Editor ? Editor->ImageCache() : nullptr) {
    if (ResizedGraphic) cache->ReleaseResizedGraphic(Source, ResizedWidth, ResizedHeight);
    if (CacheCounted) cache->RemoveUse(Source);
  }
  ResizedGraphic = nullptr;
  htmldoc::FreeElement(ImageElement);
  ImageElement = nullptr;
  TpsDocumentNode::BeforeDestruction();
}

htmldoc::TpsHtmlTag* TpsImageNode::Tag() const {
  const TpsChunkElement* e = ImageElement ? ImageElement : SourceElement;
  PS_ASSERT(e && e->Kind == htmldoc::ceTag);
  return e->Tag;
}

TpsSkinNode* TpsImageNode::CreateImageWrapper(TpsChunkElement* aElement, TpsDocumentNode* aOwner) {
  PS_ASSERT(aElement && aElement->Kind == htmldoc::ceTag);
  TpsWindow* root = aOwner->GetRoot();
  Byte alignment = 5;
  if (IpsEditorHost* editor = aOwner->GetEditor())
    if (htmldoc::TpsStyleSheet* sheet = editor->StyleSheet())
      alignment = htmldoc::GetTagAlignment(*aElement->Tag, *sheet);
  const bool floating = alignment == 0 || alignment == 1;
  TpsWindow* parent = floating ? root : aOwner;
  auto wrapper = NewWindow<TpsSkinNode>(parent);
  wrapper->WindowFlags.SetFlag(wfFloating, floating);
  wrapper->Owner = aOwner;
  auto* skin = static_cast<TpsSkinNode*>(parent->AddChild(std::move(wrapper)));
  auto* image = static_cast<TpsImageNode*>(skin->AddChild(NewWindow<TpsImageNode>(skin)));
  image->SourceElement = aElement;
  return skin;
}

TpsWindow* TpsImageNode::GetImageBlock() {
  TpsWindow* wrapper = Parent;
  return wrapper && wrapper->Owner ? wrapper->Owner->GetParent() : nullptr;
}

void TpsImageNode::GetDisplaySize(Integer& aWidth, Integer& aHeight) {
  htmldoc::TpsHtmlTag* tag = Tag();
  const Integer w = std::max(0, tag->GetWidth()), h = std::max(0, tag->GetHeight());
  if (!UsableGraphic(Graphic)) {
    aWidth = w > 0 ? w : 50;
    aHeight = h > 0 ? h : 50;
  } else {
    const double gw = Graphic->Width(), gh = Graphic->Height();
    if (w > 0) {
      aWidth = w;
      aHeight = h > 0 ? h : RoundEven(gh / gw * w);
    } else if (h <= 0) {
      aWidth = static_cast<Integer>(gw);
      aHeight = static_cast<Integer>(gh);
    } else {
      aWidth = RoundEven(gw / gh * h);
      aHeight = h;
    }
  }
  const double scale = Editor ? Editor->PrintScale() : 1.0;
  if (scale != 1.0) {
    aWidth = RoundEven(aWidth * scale);
    aHeight = RoundEven(aHeight * scale);
  }
  aWidth = std::max(aWidth, 1);
  aHeight = std::max(aHeight, 1);
}

void TpsImageNode::SetDisplayWidth(Integer aWidth) {
  Integer w = 0, h = 0;
  GetDisplaySize(w, h);
  aWidth = std::max(aWidth, 1);
  const Integer height = std::max(1, RoundEven(static_cast<double>(h) / w * aWidth));
  Downsized = aWidth < w;
  Width = aWidth + GetHorizontalInsets();
  Height = height + InsetTop + InsetBottom;
  if (Parent) Parent->SetSize(Width, Height);
}

TpsRect TpsImageNode::GetContentRect() const {
  const TpsRect r = GetAbsoluteRect();
  return {r.Left + InsetLeft, r.Top + InsetTop, r.Right - InsetRight, r.Bottom - InsetBottom};
}

void TpsImageNode::RebuildAltHint() {
  ClearHintAreas();
  const AnsiString alt = Tag()->GetAttribute("alt");
  if (alt.empty()) return;
  const TpsRect content{InsetLeft, InsetTop, Width - 1 - InsetRight, Height - 1 - InsetBottom};
  AddHintArea(std::make_unique<TpsRectangularHintTriggerArea>(this, content, std::make_unique<TpsHintSettings>(), alt));
}

void TpsImageNode::LayoutChunk(TpsDataChunk& aChunk) {
  TpsDocumentNode::LayoutChunk(aChunk);
  PrepareStyleStack();
  StyleStack->BeginLevel();
  InitFromTag(SourceElement ? SourceElement : ImageElement);
  StyleStack->PushSeparator();
  StyleStack->SaveState(1);
  htmldoc::TpsHtmlTag* tag = Tag();
  Source = tag->GetAttribute("src");
  if (TpsImageCache* cache = Editor ? Editor->ImageCache() : nullptr) {
    if (!CacheCounted) cache->AddUse(Source);
    CacheCounted = true;
    Graphic = cache->GetGraphicBySource(Source);
  }
  if (htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr)
    Alignment = htmldoc::GetTagAlignment(*tag, *sheet);
  LoadBoxMetrics(true, true, true);
  Integer w = 0, h = 0;
  GetDisplaySize(w, h);
  Width = GetHorizontalInsets() + w;
  Height = InsetTop + InsetBottom + h;
  RebuildAltHint();
  SaveStyleEndState();
  WindowFlags.SetFlag(wfBeingLaidOut, false);
}

std::unique_ptr<TpsDataChunk> TpsImageNode::GetChunk(bool aAsCopy) {
  auto chunk = std::make_unique<TpsDataChunk>();
  PS_ASSERT(ImageElement);
  if (aAsCopy) {
    chunk->AddElement(htmldoc::CloneElement(ImageElement, false));
  } else {
    chunk->AddElement(ImageElement);
    ImageElement = nullptr;
  }
  return chunk;
}

void TpsImageNode::ReplaceElementWithPlaceholder(TpsDataChunk& aChunk) {
  PS_ASSERT(SourceElement && aChunk.ContainsElement(SourceElement));
  htmldoc::FreeElement(ImageElement);
  ImageElement = htmldoc::CloneElement(SourceElement, false);
  TpsChunkElement* placeholder = htmldoc::NewNodeElement(Parent);
  placeholder->Id = SourceElement->Id;
  aChunk.InsertElement(placeholder, SourceElement, false);
  aChunk.RemoveElement(SourceElement, true);
  SourceElement = nullptr;
}

void TpsImageNode::SetWrapperPosition(Integer aX, Integer aY) {
  if (Parent) Parent->SetPosition(aX, aY);
  Positioned = true;
}

void TpsImageNode::GetSize(Integer& aWidth, Integer& aHeight) const {
  aWidth = Width;
  aHeight = Height;
}

void TpsImageNode::Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) {
  TpsDocumentNode::Paint(aCanvas, aPaintChildren);
  PS_ASSERT(ImageElement || SourceElement);
  const TpsRect content = GetContentRect();
  const Integer cw = content.Right - content.Left + 1, ch = content.Bottom - content.Top + 1;
  const TpsChunkElement* element = ImageElement ? ImageElement : SourceElement;
  if (Dragging && UsableGraphic(Graphic)) {
    if (!FDragBitmap) {
      TImageDragging* options = Editor->ImageDragging();
      FDragBitmap = TintedCopy(Graphic, options ? options->ImageDragGrayoutColor : vcl::clBlack,
                               options ? options->ImageDragGrayoutAlpha() : 25);
    }
    if (FDragBitmap) aCanvas.StretchDraw(content, FDragBitmap.get());
  } else if (UsableGraphic(Graphic)) {
    vcl::TGraphic* shown = Graphic;
    if (element->Selected) {
      if (!SelectedBitmap) SelectedBitmap = TintedCopy(Graphic, Editor->HighlightColor(), 60);
      if (SelectedBitmap) shown = SelectedBitmap.get();
    } else if (TpsImageCache* cache = Editor->ImageCache()) {
      htmldoc::TpsHtmlTag* tag = Tag();
      const Integer tw = tag->GetWidth(), th = tag->GetHeight();
      const bool natural = (tw <= 0 && th <= 0) || (tw == Graphic->Width() && th == Graphic->Height());
      if (!natural) {
        const Integer rw = tw > 0 ? tw : Graphic->Width(), rh = th > 0 ? th : Graphic->Height();
        if (ResizedGraphic && (rw != ResizedWidth || rh != ResizedHeight)) {
          cache->ReleaseResizedGraphic(Source, ResizedWidth, ResizedHeight);
          ResizedGraphic = nullptr;
        }
        if (!ResizedGraphic) {
          ResizedGraphic = cache->GetResizedGraphic(Source, rw, rh);
          ResizedWidth = rw;
          ResizedHeight = rh;
        }
        if (ResizedGraphic) shown = ResizedGraphic;
      }
    }
    if (shown->Width() == cw && shown->Height() == ch)
      aCanvas.Draw(content.Left, content.Top, shown);
    else
      aCanvas.StretchDraw(content, shown);
    vcl::TGraphic* overlay = Editor->ImageDownsizeOverlay();
    if (Downsized && Editor->ShowDownsizeMarks() && overlay && overlay->Width() > 0 && overlay->Height() > 0) {
      const Integer ow = overlay->Width(), oh = overlay->Height();
      if (cw >= ow && ch >= oh) {
        const Integer x = cw >= ow + 10 ? content.Right - ow - 5 : content.Right - ow - (cw - ow) / 2;
        const Integer y = ch >= oh + 10 ? content.Bottom - oh - 5 : content.Bottom - oh - (ch - oh) / 2;
        if (x >= content.Left && y >= content.Top) {
          overlay->SetTransparent(true);
          if (auto* bitmap = dynamic_cast<vcl::TBitmap*>(overlay)) bitmap->SetTransparentColor(0xFF00FF);
          aCanvas.Draw(x, y, overlay);
        }
      }
    }
  } else {
    aCanvas.GetPen()->SetColor(vcl::clBlack);
    aCanvas.GetBrush()->SetColor(vcl::clBlack);
    aCanvas.FrameRect(content.Left, content.Top, content.Right, content.Bottom);
    aCanvas.GetBrush()->SetColor(vcl::clBtnFace);
    aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
    aCanvas.FillBounds(content.Left + 1, content.Top + 1, content.Right - 1, content.Bottom - 1);
    const AnsiString savedName = aCanvas.GetFontName();
    const Integer savedSize = aCanvas.GetFont()->Size();
    const TColor savedColor = aCanvas.GetFontColor();
    aCanvas.SetFontName("Arial");
    aCanvas.GetFont()->SetSize(12);
    aCanvas.SetFontColor(vcl::clBlack);
    const vcl::TSize text = aCanvas.GetTextExtent("Image");
    aCanvas.GetBrush()->SetStyle(vcl::bsClear);
    aCanvas.TextOutW(content.Left + (cw - text.cx) / 2, content.Top + (ch - text.cy) / 2, u"Image");
    aCanvas.SetFontName(savedName);
    aCanvas.GetFont()->SetSize(savedSize);
    aCanvas.SetFontColor(savedColor);
  }
  if (Selected) {
    aCanvas.GetPen()->SetMode(vcl::pmNot);
    aCanvas.GetBrush()->SetStyle(vcl::bsClear);
    aCanvas.DrawOutline(content);
    if (ResizeAllowed) {
      const TpsRect handle = GetResizeHandleRect();
      aCanvas.Rectangle(handle.Left, handle.Top, handle.Right, handle.Bottom);
    }
    aCanvas.GetPen()->SetMode(vcl::pmCopy);
    aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
  }
}

// --- Mouse editing ---

TpsPoint TpsImageNode::ClientPoint(const TpsPoint& aDocumentPoint) {
  if (TpsAbstractCanvas* c = Editor ? Editor->ScreenCanvas() : nullptr) return c->ToDevice(aDocumentPoint);
  return aDocumentPoint;
}

std::unique_ptr<htmldoc::TpsMarkupTag> TpsImageNode::GetCustomTagMarkup() {
  auto* line = dynamic_cast<TpsTextNode*>(Parent ? Parent->Owner : nullptr);
  TpsChunkElement* placeholder = PlaceholderOf(line ? line->GetLineChunk() : nullptr, Parent);
  TpsChunkElement* before = placeholder ? placeholder->Prev : nullptr;
  if (!before || TpsDataChunk::TagCodeOf(before) != htmldoc::TAG_CUST ||
      before->Tag->GetTagType() != htmldoc::ttOpening)
    return nullptr;
  auto markup = std::make_unique<htmldoc::TpsMarkupTag>(before->Tag->CustomSource);
  markup->SetContent(before->Tag->CustomContent);
  return markup;
}

std::unique_ptr<htmldoc::TpsHtmlTag> TpsImageNode::GetLinkTag(uint32_t& aLinkId) {
  aLinkId = 0;
  auto* line = dynamic_cast<TpsTextNode*>(Parent ? Parent->Owner : nullptr);
  TpsChunkElement* placeholder = PlaceholderOf(line ? line->GetLineChunk() : nullptr, Parent);
  // Walking back, a link closed before the image does not enclose it.
  Integer closed = 0;
  for (TpsChunkElement* e = placeholder ? placeholder->Prev : nullptr; e; e = e->Prev) {
    if (TpsDataChunk::TagCodeOf(e) != htmldoc::TAG_A) continue;
    if (e->Tag->GetTagType() == htmldoc::ttClosing) {
      ++closed;
    } else if (e->Tag->GetTagType() == htmldoc::ttOpening) {
      if (closed > 0) {
        --closed;
        continue;
      }
      aLinkId = e->Id;
      return htmldoc::TpsHtmlTag::CreateCopy(*e->Tag);
    }
  }
  return nullptr;
}

TpsRect TpsImageNode::GetResizeHandleRect() {
  PS_ASSERT(Selected && ResizeAllowed);
  const TpsRect c = GetContentRect();
  const Integer left = Alignment == 1 ? c.Left + 1 : c.Right - 6;
  return {left, c.Bottom - 6, left + 5, c.Bottom - 1};
}

TpsRect TpsImageNode::GetResizeRect(Integer aX, Integer aY) {
  const TpsRect c = GetContentRect();
  const double aspect = static_cast<double>(c.Right - c.Left + 1) / std::max(1, c.Bottom - c.Top + 1);
  TpsRect r{c.Left, c.Top, c.Right, c.Bottom};
  // The width a pointer's height gives: that height times the aspect.
  const Integer fromY = RoundEven(aspect * (aY - c.Top + 1));
  if (Alignment == 1) {
    r.Right = c.Right;
    r.Left = aX != -1 ? aX : r.Right - fromY + 1;
  } else {
    r.Left = c.Left;
    r.Right = aX != -1 ? aX : r.Left + fromY - 1;
  }
  r.Bottom = aY != -1 ? aY : c.Top + RoundEven((r.Right - r.Left + 1) / aspect) - 1;
  return r;
}

std::unique_ptr<vcl::TSizeConstraints> TpsImageNode::GetResizeConstraints() {
  TImageResizing fresh;
  IpsImageEditing* editing = Editing();
  TImageResizing* options = editing && editing->ImageResizingOptions() ? editing->ImageResizingOptions() : &fresh;
  const vcl::TSizeConstraints& limits = options->ImageResizeConstraints();
  auto result = std::make_unique<vcl::TSizeConstraints>();
  result->MinWidth = std::max(1, limits.MinWidth);
  result->MinHeight = std::max(1, limits.MinHeight);
  Integer available = limits.MaxWidth > 0 ? limits.MaxWidth : std::numeric_limits<Integer>::max();
  if (auto* block = dynamic_cast<TpsBlockNode*>(GetImageBlock()))
    available = std::min(available, block->GetContentWidth() - GetHorizontalInsets());
  result->MaxWidth = std::max(1, available);
  const TpsRect c = GetContentRect();
  const double aspect = static_cast<double>(c.Right - c.Left + 1) / std::max(1, c.Bottom - c.Top + 1);
  Integer maxHeight = RoundEven(result->MaxWidth / aspect);
  if (limits.MaxHeight > 0) maxHeight = std::min(maxHeight, limits.MaxHeight);
  result->MaxHeight = std::max(1, maxHeight);
  // A block narrower than the minimum: the maximum wins.
  result->MinWidth = std::min(result->MinWidth, result->MaxWidth);
  result->MinHeight = std::min(result->MinHeight, result->MaxHeight);
  return result;
}

TpsRect TpsImageNode::GetResizeReach() {
  const std::unique_ptr<vcl::TSizeConstraints> limits = GetResizeConstraints();
  const TpsRect c = GetContentRect();
  TpsRect reach{c.Left + limits->MinWidth - 1, c.Top + limits->MinHeight - 1, c.Left + limits->MaxWidth - 1,
                c.Top + limits->MaxHeight - 1};
  if (Alignment == 1) {
    reach.Left = c.Right - limits->MaxWidth + 1;
    reach.Right = c.Right - limits->MinWidth + 1;
  }
  return reach;
}

// The platform cannot confine the pointer, so the limits are kept by
// holding the point inside the reach.
TpsPoint TpsImageNode::ClampToReach(const TpsPoint& p) {
  const TpsRect r = GetResizeReach();
  return {std::clamp(p.X, r.Left, r.Right), std::clamp(p.Y, r.Top, r.Bottom)};
}

TpsRect TpsImageNode::ResizeRectForPoint(const TpsPoint& p) {
  TImageResizing fresh;
  IpsImageEditing* editing = Editing();
  TImageResizing* options = editing && editing->ImageResizingOptions() ? editing->ImageResizingOptions() : &fresh;
  if (!options->ImageResizeKeepProportion) return GetResizeRect(p.X, p.Y);
  const TpsRect a = GetResizeRect(p.X, -1), b = GetResizeRect(-1, p.Y);
  const auto area = [](const TpsRect& r) {
    return static_cast<long long>(r.Right - r.Left + 1) * (r.Bottom - r.Top + 1);
  };
  return area(b) > area(a) ? b : a;
}

vcl::TBitmap* TpsImageNode::PreviewBitmap() {
  if (!UsableGraphic(Graphic)) return nullptr;
  if (auto* bitmap = dynamic_cast<vcl::TBitmap*>(Graphic)) return bitmap;
  if (!FPreviewBitmap) {
    FPreviewBitmap = std::make_unique<vcl::TBitmap>(Graphic->Width(), Graphic->Height());
    FPreviewBitmap->Canvas()->Draw(0, 0, Graphic);
  }
  return FPreviewBitmap.get();
}

void TpsImageNode::SelectImage(TpsImageObjectPtr aImage) {
  Selected = true;
  Image = std::move(aImage);
  const bool readOnly = Editor && Editor->ReadOnly();
  ResizeAllowed = DragAllowed = !readOnly;
  if (IpsImageEditing* editing = Editing())
    editing->HandleImageSelect(Image.get(), ResizeAllowed, DragAllowed,
                               TpsMessage::Create(mrCommand, psmLeaveImageMode, this));
  if (readOnly) ResizeAllowed = DragAllowed = false;
  if (Editor) Editor->RequestRepaint();
  if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
  SetFocus();
}

void TpsImageNode::StartHover() {
  if (Hovering) return;
  Hovering = true;
  HoverCursor = Editor ? Editor->Cursor() : vcl::crDefault;
  if (IpsImageEditing* editing = Editing()) {
    uint32_t linkId = 0;
    std::unique_ptr<htmldoc::TpsHtmlTag> link = GetLinkTag(linkId);
    TpsImageObjectPtr image = editing->GetImage(this, GetCustomTagMarkup(), std::move(link), linkId);
    editing->ImageMouseEnter(image.get(), HoverCursor);
    editing->ReleaseImage(image);
  }
  MouseCursor = HoverCursor;
  if (TpsWindowManager* manager = GetWindowManager()) manager->SetHoverWindow(this);
}

void TpsImageNode::EndHover() {
  if (!Hovering) return;
  Hovering = false;
  if (IpsImageEditing* editing = Editing()) {
    uint32_t linkId = 0;
    std::unique_ptr<htmldoc::TpsHtmlTag> link = GetLinkTag(linkId);
    TpsImageObjectPtr image = editing->GetImage(this, GetCustomTagMarkup(), std::move(link), linkId);
    editing->ImageMouseLeave(image.get());
    editing->ReleaseImage(image);
  }
  MouseCursor = Editor ? Editor->Cursor() : vcl::crDefault;
}

void TpsImageNode::LeaveImageMode() {
  EndHover();
  ClearFocus();
  Selected = false;
  ResizeAllowed = false;
  if (Image)
    if (IpsImageEditing* editing = Editing()) editing->ReleaseImage(Image);
  Image.reset();
  if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
  if (Editor) Editor->RequestRepaint();
}

void TpsImageNode::MouseDown(TpsMessage& m, const TpsPoint& p) {
  m.MarkHandled(this);
  if (m.Shift & ssDoubleBit) {
    if (Selected) DoubleClickPending = true;
    return;
  }
  EndHover();
  const bool left = m.Buttons && m.Buttons->Left, right = m.Buttons && m.Buttons->Right;
  bool select = left || right;
  IpsImageEditing* editing = Editing();
  TpsImageObjectPtr image;
  if (editing) {
    uint32_t linkId = 0;
    std::unique_ptr<htmldoc::TpsHtmlTag> link = GetLinkTag(linkId);
    image = editing->GetImage(this, GetCustomTagMarkup(), std::move(link), linkId);
    editing->HandleImageClick(image.get(), m.Buttons.get(), ClientPoint(p), select);
  }
  if (select && !Selected)
    SelectImage(std::move(image));
  else if (editing && image)
    editing->ReleaseImage(image);
  const bool readOnly = Editor && Editor->ReadOnly();
  if (readOnly) ResizeAllowed = false;
  if (left && Selected && !readOnly) {
    if (ResizeAllowed && ContainsPoint(GetResizeHandleRect(), p)) {
      StartResize(p);
    } else if (DragAllowed && ContainsPoint(GetContentRect(), p)) {
      SetCapture();
      MouseDownOnImage = true;
      const TpsRect c = GetContentRect();
      DragOffset = {p.X - c.Left, p.Y - c.Top};
      MouseDownPoint = p;
    }
  } else if (right && Selected) {
    HideHint();
    if (TpsWindowManager* manager = GetWindowManager()) manager->PaintInvalidatedWindows();
    if (editing) editing->PopupImageMenu(p);
  }
}

void TpsImageNode::MouseUp(TpsMessage& m, const TpsPoint& p) {
  m.MarkHandled(this);
  ReleaseCapture();
  ClearFocus();
  MouseDownOnImage = false;
  if (DoubleClickPending) {
    DoubleClickPending = false;
    if (IpsImageEditing* editing = Editing()) editing->ImageDoubleClicked(Image.get(), ClientPoint(p));
  } else if (!Dragging && !Resizing) {
    if (IpsImageEditing* editing = Editing()) editing->ScrollIntoView(GetAbsoluteRect());
  } else if (Dragging) {
    DragPoint = p;
    EndDrag(false);  // may free the node
  } else if (Resizing) {
    ResizePoint = ClampToReach(p);
    FinishResize();  // may free the node
  }
}

void TpsImageNode::MouseMove(TpsMessage& m, const TpsPoint& p) {
  m.MarkHandled(this);
  LastMousePos = p;
  const bool buttonHeld = (m.Shift & (ssLeftBit | ssRightBit | ssMiddleBit)) != 0;
  if (!Resizing && !Dragging) {
    const bool onHandle = Selected && ResizeAllowed && ContainsPoint(GetResizeHandleRect(), p);
    if (ContainsPoint(GetContentRect(), p) && !buttonHeld && !onHandle)
      StartHover();
    else
      EndHover();
    if (Selected && ResizeAllowed) {
      if (onHandle) {
        EndHover();
        if (!OverResizeHandle) MouseCursor = Alignment == 1 ? vcl::crSizeNESW : vcl::crSizeNWSE;
        OverResizeHandle = true;
      } else {
        OverResizeHandle = false;
      }
    }
  }
  if (DragAllowed && MouseDownOnImage && !Resizing) {
    if (Dragging)
      DragTo(p);
    else
      StartDrag(p);
  }
  if (Resizing) {
    ResizePoint = ClampToReach(p);
    const TpsRect r = ResizeRectForPoint(ResizePoint);
    if (FResizeFeedback) FResizeFeedback->DrawAt(r);
    if (IpsImageEditing* editing = Editing())
      editing->ImageResizingSizeChanged(Image.get(), r.Right - r.Left + 1, r.Bottom - r.Top + 1);
  }
}

void TpsImageNode::StartResize(const TpsPoint& p) {
  TImageResizing fresh;
  IpsImageEditing* editing = Editing();
  TImageResizing* options = editing && editing->ImageResizingOptions() ? editing->ImageResizingOptions() : &fresh;
  if (Editor) Editor->SetMouseAutoScroll(false);
  HideHint();
  SetCapture();
  SetFocus();
  Resizing = true;
  ResizePoint = ClampToReach(p);
  if (TpsWindowManager* manager = GetWindowManager()) manager->BeginDraw();
  if (TpsAbstractCanvas* surface = Editor ? Editor->ScreenCanvas() : nullptr) {
    vcl::TBitmap* picture =
        options->ImageResizeAlphaBlended && htmldoc::IsWin98OrLater() ? PreviewBitmap() : nullptr;
    FResizeFeedback = std::make_unique<TpsImageResizingObject>(surface, picture, options->ImageResizeAlpha());
    FResizeFeedback->DrawAt(ResizeRectForPoint(ResizePoint));
  }
}

void TpsImageNode::FinishResize() {
  if (Editor) Editor->SetMouseAutoScroll(true);
  const TpsRect r = ResizeRectForPoint(ResizePoint);
  FResizeFeedback.reset();
  TpsWindowManager* manager = GetWindowManager();
  if (manager) manager->EndDraw();
  Resizing = false;
  MouseCursor = Editor ? Editor->Cursor() : vcl::crDefault;
  const std::unique_ptr<vcl::TSizeConstraints> limits = GetResizeConstraints();
  const Integer width = std::clamp(r.Right - r.Left + 1, 1, limits->MaxWidth);
  const Integer height = std::clamp(r.Bottom - r.Top + 1, 1, limits->MaxHeight);
  IpsImageEditing* editing = Editing();
  bool confirm = true;
  if (editing) editing->ImageConfirmResize(Image.get(), width, height, confirm);
  if (!confirm || !manager || !ImageElement) {
    if (manager) manager->InvalidateWindow(this, false);
    return;
  }
  if (Editor) Editor->SaveUndoSnapshot();
  if (editing) editing->DiscardImageUnselectMessage();
  Tag()->SetWidth(width);
  Tag()->SetHeight(height);
  // The relayout frees this node: nothing below may touch it.
  TpsWindow* root = GetRoot();
  const uint32_t id = ImageElement->Id;
  for (Integer messageId : {psmBeginEdit, psmExtractChunk, psmRelayout, psmEndEdit})
    manager->PostMessage(TpsMessage::Create(mrCommand, messageId, root));
  TpsMessagePtr refresh = TpsMessage::Create(mrCommand, psmRefreshImage, root);
  refresh->ElementId = id;
  manager->PostMessage(std::move(refresh));
  manager->PostMessage(TpsMessage::Create(mrCommand, psmDocumentChanged, root));
  manager->ProcessMessages();
}

// --- Dragging ---

Byte TpsImageNode::DropZoneInRange(Integer aX, Integer aLeft, Integer aRight,
                                   htmldoc::TpsAllowedDragAlignments aAllowed) {
  using htmldoc::adaCenter;
  using htmldoc::adaLeft;
  using htmldoc::adaRight;
  if (aAllowed.Empty()) aAllowed = {adaLeft, adaCenter, adaRight};
  const Integer l = aLeft, r = aRight, w = r - l + 1;
  struct Zone {
    bool Exists = false;
    Integer From = 0, To = -1;
  } left, flow, right;
  const bool hasLeft = aAllowed.Contains(adaLeft), hasCenter = aAllowed.Contains(adaCenter),
             hasRight = aAllowed.Contains(adaRight);
  if (hasLeft && hasCenter && hasRight) {
    left = {true, l, l + w / 3 - 1};
    flow = {true, l + w / 3, r - w / 3};
    right = {true, r - w / 3 + 1, r};
  } else if (hasLeft && hasRight) {
    left = {true, l, l + w / 2};
    right = {true, l + w / 2 + 1, r};
  } else if (hasCenter && hasRight) {
    flow = {true, l + w / 3, r - w / 3};
    right = {true, r - w / 3 + 1, r};
  } else if (hasLeft && hasCenter) {
    left = {true, l, l + w / 3 - 1};
    flow = {true, l + w / 3, r - w / 3};
  } else if (hasLeft) {
    left = {true, l, r};
  } else if (hasRight) {
    right = {true, l, r};
  } else {
    flow = {true, l, r};
  }
  const auto inside = [aX](const Zone& z) { return z.Exists && aX >= z.From && aX <= z.To; };
  if (inside(left)) return 0;
  if (inside(flow)) return 2;
  if (inside(right)) return 1;
  Byte zone;
  if (left.Exists)
    zone = aX > left.To ? 5 : 0;
  else if (!flow.Exists)
    zone = 1;
  else
    zone = aX > flow.To ? 5 : 2;
  if (zone == 5) {
    if (right.Exists)
      zone = aX >= right.From ? 1 : 5;
    else if (flow.Exists)
      zone = aX >= flow.From ? 2 : 5;
    else
      zone = 0;
  }
  return zone;
}

Byte TpsImageNode::GetDropZone(const TpsPoint& p, TpsWindow*& aBlock) {
  aBlock = nullptr;
  auto* root = dynamic_cast<TpsDocumentNode*>(GetRoot());
  if (!root) return 5;
  TpsWindow* block = root->BlockNodeAt(p.X, p.Y - DragOffset.Y);
  if (!block) block = root->BlockNodeAt(p.X, p.Y);
  auto* node = dynamic_cast<TpsBlockNode*>(block);
  if (!node) return 5;
  aBlock = node;
  const TpsRect c = GetContentRect();
  const Integer left = node->GetAbsoluteLeft() + node->InsetLeft;
  const Integer right = left + node->GetContentWidth() - 1;
  const Integer x = p.X - DragOffset.X + (c.Right - c.Left + 1) / 2;
  return DropZoneInRange(x, left, right, AllowedDragAlignments);
}

bool TpsImageNode::GetDropFeedbackPosition(const TpsPoint& p, TpsPoint& aPosition) {
  TpsWindow* block = nullptr;
  const Byte zone = GetDropZone(p, block);
  auto* node = dynamic_cast<TpsBlockNode*>(block);
  if (zone == 5 || !node) return false;
  const TpsRect c = GetContentRect();
  const Integer cw = c.Right - c.Left + 1, ch = c.Bottom - c.Top + 1;
  const Integer y = p.Y - DragOffset.Y;
  Integer left = node->GetAbsoluteLeft() + node->InsetLeft;
  Integer right = left + node->GetContentWidth() - 1;
  if (zone == 0 || zone == 1) {
    // Past the other floats of that side beside the dragged picture.
    for (TpsWindow* f : GetRoot()->FloatingWindows()) {
      auto* skin = dynamic_cast<TpsSkinNode*>(f);
      if (!skin || f == Parent || skin->GetFloatAlignment() != zone) continue;
      const TpsRect r = f->GetAbsoluteRect();
      if (r.Bottom < y || r.Top > y + ch - 1) continue;
      if (zone == 0)
        left = std::max(left, r.Right + 1);
      else
        right = std::min(right, r.Left - 1);
    }
  }
  if (zone == 0)
    aPosition = {left + InsetLeft, y};
  else if (zone == 1)
    aPosition = {right - cw - InsetRight + 1, y};
  else
    aPosition = {left + (right - left + 1 - Width) / 2 + InsetLeft, y};
  return true;
}

bool TpsImageNode::IsDropAtOrigin(const TpsPoint& p) {
  TpsWindow* block = nullptr;
  const Byte zone = GetDropZone(p, block);
  if (zone == 5) return true;
  // The flow zone stands for every alignment that keeps the picture in
  // the flow.
  const bool sameSide = zone == 2 ? !htmldoc::IsFloatingAlignment(Alignment) : zone == Alignment;
  if (!sameSide) return false;
  TImageDragging* options = Editor ? Editor->ImageDragging() : nullptr;
  const Integer threshold = options ? options->ImageDragTreshold() : 8;
  return std::abs(p.Y - DragOffset.Y - GetContentRect().Top) < threshold;
}

void TpsImageNode::StartDrag(const TpsPoint& p) {
  IpsImageEditing* editing = Editing();
  if (editing) editing->SetSuppressedUpdate(0, true);
  HideHint();
  AllowedDragAlignments = {htmldoc::adaLeft, htmldoc::adaCenter, htmldoc::adaRight};
  if (editing) editing->ImageStartDragging(Image.get(), AllowedDragAlignments);
  if (AllowedDragAlignments.Empty())
    AllowedDragAlignments = {htmldoc::adaLeft, htmldoc::adaCenter, htmldoc::adaRight};
  if (TpsWindowManager* manager = GetWindowManager()) {
    // The feedback lies over the page: hidden while the page repaints.
    manager->AddBeforePaintHandler(this, [this](void*) {
      if (FDragFeedback) FDragFeedback->Hide();
    });
    manager->AddAfterPaintHandler(this, [this](void*) { ShowDragFeedback(); });
  }
  SetFocus();
  Dragging = true;
  DragEnded = false;
  DragPoint = p;
  const TpsRect c = GetContentRect();
  const Integer cw = c.Right - c.Left + 1, ch = c.Bottom - c.Top + 1;
  auto picture = std::make_unique<vcl::TBitmap>(cw, ch);
  if (UsableGraphic(Graphic)) picture->Canvas()->StretchDraw(vcl::Rect(0, 0, cw, ch), Graphic);
  FDragDC = Editor ? Editor->GetDC() : nullptr;
  if (FDragDC) {
    if (htmldoc::IsWin98OrLater() && UsableGraphic(Graphic))
      FDragFeedback = std::make_unique<TpsAlphaBlendedMovableBitmap>(FDragDC, std::move(picture));
    else
      FDragFeedback = std::make_unique<TpsSelectionFrameMovableBitmap>(FDragDC, std::move(picture));
  }
  if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
}

void TpsImageNode::SetDropTarget(TpsWindow* aTarget) {
  if (aTarget != DropTarget && DropTarget) {
    TpsMessage hide(mrCommand, psmImageDragHideTarget, DropTarget);
    hide.AutoFree = false;
    DropTarget->HandleMessage(hide);
  }
  DropTarget = aTarget;
  if (!DropTarget) return;
  TpsMessage show(mrCommand, psmImageDragShowTarget, DropTarget);
  show.AutoFree = false;
  show.SetPos(DragPoint);
  DropTarget->HandleMessage(show);
}

void TpsImageNode::ShowDragFeedback() {
  if (!FDragFeedback) return;
  TpsPoint position;
  if (!Dragging || !GetDropFeedbackPosition(DragPoint, position) || IsDropAtOrigin(DragPoint)) {
    FDragFeedback->Hide();
    return;
  }
  if (TpsAbstractCanvas* screen = Editor ? Editor->ScreenCanvas() : nullptr) position = screen->ToDevice(position);
  FDragFeedback->MoveTo(position.X, position.Y);
  if (!FDragFeedback->Shown()) FDragFeedback->Show();
}

void TpsImageNode::DragTo(const TpsPoint& p) {
  DragPoint = p;
  TpsWindow* block = nullptr;
  const Byte zone = GetDropZone(p, block);
  TpsWindowManager* manager = GetWindowManager();
  if (zone != 2 || !manager) {
    SetDropTarget(nullptr);
  } else {
    TpsMessage over(mrCommand, psmImageDragOver, nullptr);
    over.AutoFree = false;
    over.SetPos(p);
    TpsWindow* target = manager->SendToWindowAtPoint(over, p);
    if (!target)
      if (auto* root = dynamic_cast<TpsDocumentNode*>(GetRoot()))
        if (TpsWindow* line = root->NearestTextNodeByY(p.Y - DragOffset.Y)) target = line->GetParent();
    if (target == GetImageBlock() || (target && target->IsRoot())) target = nullptr;
    SetDropTarget(target);
  }
  // The grey copy at the old place, then the feedback over it.
  if (manager) {
    manager->RemoveBeforePaintHandler(this);
    manager->RemoveAfterPaintHandler(this);
    manager->InvalidateWindow(this, false);
    manager->PaintInvalidatedWindows();
    manager->AddBeforePaintHandler(this, [this](void*) {
      if (FDragFeedback) FDragFeedback->Hide();
    });
    manager->AddAfterPaintHandler(this, [this](void*) { ShowDragFeedback(); });
  }
  ShowDragFeedback();
}

void TpsImageNode::EndDrag(bool aCancelled) {
  TpsWindowManager* manager = GetWindowManager();
  if (manager) {
    manager->RemoveBeforePaintHandler(this);
    manager->RemoveAfterPaintHandler(this);
  }
  FDragFeedback.reset();
  if (FDragDC && Editor) Editor->ReleaseDC(FDragDC);
  FDragDC = nullptr;
  Dragging = false;
  DragEnded = false;
  IpsImageEditing* editing = Editing();
  if (editing) editing->SetSuppressedUpdate(0, false);
  TpsWindow* block = nullptr;
  const Byte zone = GetDropZone(DragPoint, block);
  bool possible = !aCancelled && !IsDropAtOrigin(DragPoint) && manager && ImageElement;
  auto* root = dynamic_cast<TpsDocumentNode*>(GetRoot());
  if (possible && zone == 2) possible = DropTarget != nullptr;
  if (possible && zone != 2) possible = root && root->NearestTextNodeByY(DragPoint.Y - DragOffset.Y);
  if (!possible) {
    SetDropTarget(nullptr);
    DragCancelled = false;
    if (manager) {
      manager->InvalidateWindow(this, false);
      manager->PaintInvalidatedWindows();
    }
    return;
  }
  if (Editor) Editor->SaveUndoSnapshot();
  if (htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr)
    htmldoc::SetTagAlignment(*Tag(), zone, *sheet,
                             [this](htmldoc::TpsHtmlTag*, const AnsiString& aText, Integer& aId) {
                               aId = Editor->GetInternalStyleID(aText);
                             });
  if (editing) {
    editing->DiscardImageUnselectMessage();
    editing->HandleImageUnselect(Image.get());
  }
  LeaveImageMode();
  // The drop's relayout frees this node: nothing below may touch it.
  if (DropTarget) {
    TpsMessagePtr here = TpsMessage::Create(mrCommand, psmImageDropHere, this);
    here->ElementId = ImageElement->Id;
    manager->PostAndProcess(std::move(here));
  } else {
    MoveFloatToPoint(DragPoint);
  }
}

void TpsImageNode::MoveFloatToPoint(const TpsPoint& p) {
  auto* root = dynamic_cast<TpsDocumentNode*>(GetRoot());
  TpsWindowManager* manager = GetWindowManager();
  const Integer y = p.Y - DragOffset.Y;
  TpsWindow* target = root->NearestTextNodeAtPoint(p.X, y);
  if (!target) target = root->NearestTextNodeByY(y);
  auto* line = dynamic_cast<TpsTextNode*>(target);
  PS_ASSERT(line && line->GetLineChunk());
  auto* block = dynamic_cast<TpsDocumentNode*>(GetImageBlock());
  PS_ASSERT(block);
  const bool inCell = block->IsTableCell();
  TpsDataChunk* lineChunk = line->GetLineChunk();
  if (!inCell) lineChunk->PrependMarker(4);
  lineChunk->PrependMarker(3);
  const uint32_t id = ImageElement->Id;
  const auto post = [manager](TpsWindow* aTarget, Integer aId, Integer a = 0, Integer b = 0, Integer c = 0) {
    TpsMessagePtr m = TpsMessage::Create(mrCommand, aId, aTarget);
    m->SetParam(1, a);
    m->SetParam(2, b);
    m->SetParam(3, c);
    return m;
  };
  manager->PostMessage(post(block, psmExtractChunk));
  TpsMessagePtr mark = post(block, psmMarkElementWithWrappers, 1, 2);
  mark->ElementId = id;
  manager->PostMessage(std::move(mark));
  manager->PostMessage(post(root, psmBeginEdit));
  manager->PostMessage(post(root, psmExtractChunk));
  TpsMessagePtr move = post(root, psmMoveMarkedRange, 1, 2, 3);
  move->Result = true;  // before marker 3
  manager->PostMessage(std::move(move));
  if (!inCell) manager->PostMessage(post(root, psmDeleteMarkedBlock, 1, 4));
  manager->PostMessage(post(root, psmRemoveMarker, 1));
  manager->PostMessage(post(root, psmRemoveMarker, 2));
  // Marker 3 stays in front of the image otherwise.
  manager->PostMessage(post(root, psmRemoveMarker, 3));
  manager->PostMessage(post(root, psmRelayout));
  manager->PostMessage(post(root, psmEndEdit));
  TpsMessagePtr refresh = post(root, psmRefreshImage);
  refresh->ElementId = id;
  manager->PostMessage(std::move(refresh));
  manager->PostMessage(post(root, psmDocumentChanged));
  manager->ProcessMessages();
}

void TpsImageNode::HandleMessage(TpsMessage& m) {
  TpsDocumentNode::HandleMessage(m);
  if (m.IsHandled()) return;
  if (m.Kind == mrPositional) {
    if (m.Id != psmMouseUp) DoubleClickPending = false;
    const TpsPoint p{m.X + GetAbsoluteLeft(), m.Y + GetAbsoluteTop()};
    switch (m.Id) {
      case psmMouseDown:
        MouseDown(m, p);
        return;
      case psmMouseUp:
        MouseUp(m, p);
        return;
      case psmMouseMove:
        MouseMove(m, p);
        return;
      case psmMouseLeave:
        m.MarkHandled(this);
        EndHover();
        return;
      default:
        return;
    }
  }
  if (m.Kind == mrFocused && m.Id == psmKeyEscape) {
    m.MarkHandled(this);
    if (Dragging) {
      ReleaseCapture();
      ClearFocus();
      MouseDownOnImage = false;
      EndDrag(true);
    }
    return;
  }
  if (m.Kind != mrCommand) return;
  switch (m.Id) {
    case psmImageDropHere:
      if (m.Target != this) return;
      m.MarkHandled(this);
      if (TpsWindowManager* manager = GetWindowManager(); manager && DropTarget) {
        TpsMessagePtr drop = TpsMessage::Create(mrCommand, psmImageDrop, DropTarget);
        drop->ElementId = m.ElementId;
        manager->PostMessage(std::move(drop));
      }
      return;
    case psmRefreshImage:
      if (ImageElement && ImageElement->Id == m.ElementId) {
        m.MarkHandled(this);
        TpsImageObjectPtr image;
        if (IpsImageEditing* editing = Editing()) {
          uint32_t linkId = 0;
          std::unique_ptr<htmldoc::TpsHtmlTag> link = GetLinkTag(linkId);
          image = editing->GetImage(this, GetCustomTagMarkup(), std::move(link), linkId);
        }
        SelectImage(std::move(image));
      }
      return;
    case psmSetImageSelected:
      if (m.Target && m.Target != this) return;
      if (ImageElement) ImageElement->Selected = m.Result;
      if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
      m.MarkHandled(this);
      return;
    case psmLeaveImageMode:
      if (m.Target && m.Target != this) return;
      m.MarkHandled(this);
      LeaveImageMode();
      return;
    default:
      return;
  }
}

}  // namespace htmlview
