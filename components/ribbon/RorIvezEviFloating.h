#pragma once
// The small borderless window a toolbar floats in: it frames the toolbar,
// keeps its size equal to the toolbar's plus the frame, and lets the user
// reshape the toolbar by dragging an edge, which changes the number of
// rows the toolbar arranges its controls in.
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Forms.h"

namespace ribbon {

class TFloatingWindow : public vcl::TCustomForm, public IToolBarHost {
 public:
  explicit TFloatingWindow(vcl::TComponent* AOwner);
  ~TFloatingWindow() override;

  TLumCustomToolBar* LumCustomToolBar() const { return toolBar_; }
  // The toolbar enters: the window fits itself to it.
  void SetLumCustomToolBar(TLumCustomToolBar* Value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int Value);
  vcl::TColor BorderColor() const { return borderColor_; }
  // Stored only; the next paint shows it.
  void SetBorderColor(vcl::TColor Value) { borderColor_ = Value; }
  // Toolbar plus 2 x BorderWidth + 2 each way, the toolbar at
  // (BorderWidth + 1, BorderWidth + 1).
  void FitToToolBar();
  // The toolbar forgets the window (it goes first, or leaves).
  void ForgetToolBar() { toolBar_ = nullptr; }
  bool Resizing() const { return resizing_; }

  // A floating toolbar draws with its home dock panel's styler.
  TCustomRorIvezEviStyler* ParentStylerFor(const TLumCustomToolBar* ToolBar) const override;

 protected:
  void Loaded() override;
  // A stay-on-top tool window.
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
  void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
  void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
  void PaintWindow() override;

 private:
  enum class TEdge : uint8_t { eNone, eLeft, eTop, eRight, eBottom };
  // One step to Rows rows keeping the given edge; answers whether the row
  // count changed.
  bool StepTo(int Rows);
  TLumCustomToolBar* toolBar_ = nullptr;
  int borderWidth_ = 2;
  vcl::TColor borderColor_ = 0x6D6D6D;
  vcl::TCursor defaultCursor_ = vcl::crDefault;
  bool resizing_ = false;
  TEdge edge_ = TEdge::eNone;
  int phase_ = 0;
  int refX_ = 0, refY_ = 0;
};

}  // namespace ribbon
