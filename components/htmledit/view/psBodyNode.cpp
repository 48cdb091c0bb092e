#include "htmledit/view/psBodyNode.h"

#include <cmath>
#include <cstdlib>

#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psDivNodes.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"

namespace htmlview {

namespace {

// The editor's layout-running flag, cleared also when the layout raises.
struct LayoutRunningScope {
  explicit LayoutRunningScope(IpsEditorHost* aEditor) : Editor(aEditor) { Editor->SetLayoutRunning(true); }
  ~LayoutRunningScope() { Editor->SetLayoutRunning(false); }
  IpsEditorHost* Editor;
};

}  // namespace

TpsBodyNode::TpsBodyNode(IpsEditorHost* aEditor) : TpsBlockNode(nullptr, aEditor) {
  PS_ASSERT(aEditor);
  RegisterLayoutNodeClasses();
  const Integer clientWidth = aEditor->ClientWidth(), clientHeight = aEditor->ClientHeight();
  const auto ninetyPercent = [clientHeight] { return static_cast<Integer>(std::nearbyint(0.9 * clientHeight)); };
  if (aEditor->IsPrintPreview()) {
    const TpsRect margins = aEditor->PrintMargins();
    SetBounds(margins.Left, margins.Top, aEditor->PageWidth() - margins.Left - margins.Right, ninetyPercent());
  } else if (aEditor->MemoStyle()) {
    SetBounds(0, 0, clientWidth, clientHeight);
  } else {
    const Integer width = aEditor->DocumentWidth(), height = ninetyPercent();
    SetBounds((clientWidth - width) / 2, (clientHeight - height) / 2, width, height);
  }
  if (htmldoc::TpsStyleSheet* sheet = aEditor->StyleSheet()) BodyStyleId = sheet->IndexOfStyle("body");
}

void TpsBodyNode::CenterHorizontally(Integer aClientWidth) {
  PS_ASSERT(!Editor->MemoStyle());
  Left = (aClientWidth - Width) / 2;
}

TpsAbstractCanvas* TpsBodyNode::GetCanvas() const { return Editor->ScreenCanvas(); }

TpsWindow* TpsBodyNode::GetNextFlowSibling(TpsWindow* aParent, TpsWindow* aChild) {
  const Integer index = aParent->IndexOfChild(aChild);
  PS_ASSERT(index >= 0);
  for (Integer i = index + 1; i < aParent->ChildCount(); ++i)
    if (!aParent->Child(i)->WindowFlags.GetFlag(wfFloating)) return aParent->Child(i);
  return nullptr;
}

void TpsBodyNode::LayoutChunk(htmldoc::TpsDataChunk& aChunk) {
  TpsDocumentNode::LayoutChunk(aChunk);
  LayoutRunningScope running(Editor);
  std::unique_ptr<htmldoc::TpsDataChunk> content = SplitBlockChunk(aChunk);
  PrepareStyleStack();
  StyleStack->BeginLevel();
  InitFromTag(OpeningTag);
  StyleStack->PushSeparator();
  StyleStack->SaveState(1);
  LoadBackgroundImage();
  LoadBoxMetrics(true, true, true);
  // The page's place comes from the editor, not from the style sheet.
  MarginLeft = MarginTop = MarginRight = MarginBottom = 0;
  InsetLeft = BorderLeft + Padding.Left;
  InsetTop = BorderTop + Padding.Top;
  InsetRight = BorderRight + Padding.Right;
  InsetBottom = BorderBottom + Padding.Bottom;
  LoadBackgroundColor();
  if (Color == kNoBackground) Color = vcl::clWhite;
  content->RemoveTopLevelCharacters();
  BuildViewNodes(*content, this);
  UpdateHeight();
  if (Height < Editor->GetMinDocumentHeight()) Height = Editor->GetMinDocumentHeight();
  Editor->UpdateScrollRanges();
  SaveStyleEndState();
  WindowFlags.SetFlag(wfBeingLaidOut, false);
  if (!content->IsEmpty())
    throw EpsHtmlEditException("TpsBodyNode.LayoutChunk: document could not be layouted!");
}

void TpsBodyNode::PaintRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) {
  TpsAbstractCanvas* canvas = PaintCanvas();
  if (!canvas) return;
  const Integer ax = GetAbsoluteLeft(), ay = GetAbsoluteTop();
  if (BackgroundGraphic && BackgroundGraphic->Width() > 0 && BackgroundGraphic->Height() > 0) {
    // Over the whole body from its own top-left corner, shown in the
    // rectangle asked for.
    PaintTiles(*canvas, BackgroundGraphic, ax, ay, {aLeft + ax, aTop + ay, aRight + ax, aBottom + ay});
    return;
  }
  canvas->GetBrush()->SetColor(Color);
  canvas->GetBrush()->SetStyle(vcl::bsSolid);
  canvas->FillBounds(aLeft + ax, aTop + ay, aRight + ax, aBottom + ay);
}

void TpsBodyNode::Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) {
  TpsPaintCanvasScope scope(&aCanvas);
  aCanvas.GetBrush()->SetColor(Color);
  aCanvas.GetBrush()->SetStyle(vcl::bsSolid);
  if (Editor->IsPrintPreview()) {
    const TpsRect& view = aCanvas.GetViewport();
    aCanvas.FillBounds(view.Left, view.Top, view.Right, view.Bottom);
    if (Editor->FramesPrintPage()) aCanvas.DrawDocumentFrame(GetAbsoluteRect());
  } else {
    PaintRect(0, 0, Width - 1, Height - 1);
  }
  PaintBorder(aCanvas);
  if (!aPaintChildren) return;
  for (TpsWindow* c : ChildList())
    if (!c->WindowFlags.GetFlag(wfFloating) && c->IsVisibleOn(aCanvas)) c->Paint(aCanvas, true);
  // Floats last, over the flow's backgrounds.
  for (TpsWindow* f : TpsWindowList(FloatingWindows()))
    if (f->IsVisibleOn(aCanvas)) f->Paint(aCanvas, true);
}

void TpsBodyNode::HandleMessage(TpsMessage& m) {
  if (m.Kind == mrPositional && m.Id == psmMouseDown && !m.IsHandled()) {
    TpsWindow::HandleMessage(m);
    if (m.IsHandled()) return;
    const Integer y = GetAbsoluteTop() + m.Y;
    if (TpsWindow* line = NearestTextNodeByY(y)) {
      TpsMessagePtr copy = m.Clone(line);
      const TpsPoint absolute = LocalToAbsolute(m.GetPos());
      copy->SetPos(line->AbsoluteToLocal(absolute));
      copy->AutoFree = false;
      TpsMessage* sent = copy.get();
      if (TpsWindowManager* manager = GetWindowManager()) {
        manager->PostAndProcess(*sent);
        if (sent->IsHandled()) m.MarkHandled(this);
      }
    }
    return;
  }
  if (m.Kind == mrCommand && (!m.Target || m.Target == this)) {
    if (HandleBodyEdit(m)) return;
    switch (m.Id) {
      case psmPlaceInitialCursor:
      case psmRefreshImage:
      {
        // Offered to every node below until one takes it; floated windows
        // hang off the root's floating list, not its children. A node
        // takes only what is addressed to it or to nobody.
        TpsWindow* target = m.Target;
        m.Target = nullptr;
        Broadcast(m, true);
        if (!m.IsHandled())
          for (TpsWindow* f : TpsWindowList(FloatingWindows())) {
            f->Broadcast(m, false);
            if (m.IsHandled()) break;
          }
        m.Target = target;
        return;
      }
      case psmQueryFirstElement:
      case psmQueryLastElement:
        if (auto* range = static_cast<TpsNodeElement*>(m.Data)) {
          range->Node = this;
          range->ElementId = OpeningTag ? OpeningTag->Id : 0;
        }
        m.MarkHandled(this);
        return;
      default:
        break;
    }
  }
  TpsBlockNode::HandleMessage(m);
}

}  // namespace htmlview
