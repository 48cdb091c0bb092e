#include "htmledit/view/psImageNode.h"

#include <algorithm>
#include <cmath>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBlending.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psImageCache.h"
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

}  // namespace

TpsImageNode::TpsImageNode(TpsWindow* aWrapper) : TpsDocumentNode(aWrapper) {}

TpsImageNode::~TpsImageNode() = default;

void TpsImageNode::BeforeDestruction() {
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
  if (UsableGraphic(Graphic)) {
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
      const bool right = Alignment == 1;
      const Integer left = right ? content.Left + 1 : content.Right - 6;
      aCanvas.Rectangle(left, content.Bottom - 6, left + 6, content.Bottom);
    }
    aCanvas.GetPen()->SetMode(vcl::pmCopy);
    aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
  }
}

void TpsImageNode::HandleMessage(TpsMessage& m) {
  TpsDocumentNode::HandleMessage(m);
  if (m.IsHandled()) return;
  if (m.Kind == mrCommand && (!m.Target || m.Target == this) && m.Id == psmSetImageSelected) {
    if (ImageElement) ImageElement->Selected = m.Result;
    if (TpsWindowManager* manager = GetWindowManager()) manager->InvalidateWindow(this, false);
    m.MarkHandled(this);
  }
}

}  // namespace htmlview
