#pragma once
// The colour picker's pop-up panels: the honeycomb of 127 colour cells and
// the spectrum with its two sample boxes. Both tell a chosen colour through
// OnSelect; the picker then reads SelectedColor.
#include <array>
#include <memory>

#include "vcl/Controls.h"
#include "vcl/Pictures.h"
#include "vcl/Progress.h"

namespace dropdown {

// What the honeycomb, the spectrum and the discrete selector share: a
// notice after a mouse button is released over them.
class TLumCustomColorSelectorPanel : public vcl::TCustomControl {
 public:
  explicit TLumCustomColorSelectorPanel(vcl::TComponent* owner);
  vcl::TNotifyEvent OnRelease;

 protected:
  void NotifyRelease() {
    if (OnRelease) OnRelease(this);
  }
};

struct TCubeCell {
  vcl::Integer X = 0, Y = 0;
  vcl::TColor Color = vcl::clNone;
};

class TLumColorCubePanel : public TLumCustomColorSelectorPanel {
 public:
  static constexpr vcl::Integer CellCount = 127;

  explicit TLumColorCubePanel(vcl::TComponent* owner);

  // Cells 1 to 127; 0 is not used.
  const TCubeCell& Cell(vcl::Integer index) const { return cells_.at(static_cast<size_t>(index)); }
  vcl::Integer HexWidth() const { return hexWidth_; }
  vcl::Integer HexQuarter() const { return hexQuarter_; }
  vcl::Integer HoverIndex() const { return hoverIndex_; }
  vcl::Integer SelectedIndex() const { return selectedIndex_; }
  vcl::TColor SelectedColor() const { return selectedColor_; }
  // The first cell of that exact colour becomes the selected one (-1 for
  // none); nothing is repainted.
  void SetSelectedColor(vcl::TColor c);
  bool ShowRGBHint() const { return showRGBHint_; }
  void SetShowRGBHint(bool v);

  // The 13 rows of cells with their colours and centres.
  void BuildCells();
  // No hover frame, and the honeycomb's own size.
  void ClearHover();
  // The first cell whose centre is at most HexWidth from the point; -1.
  vcl::Integer CellAt(vcl::Integer x, vcl::Integer y) const;
  // A cell's hexagon with its hover and selection frames.
  virtual void DrawCell(vcl::Integer index, vcl::TCanvas* canvas);

  vcl::TNotifyEvent OnSelect;

 protected:
  void Paint() override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseMove(vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;

 private:
  void RedrawCell(vcl::Integer index);
  std::array<TCubeCell, CellCount + 1> cells_{};
  vcl::Integer hexWidth_ = 6;
  vcl::Integer hexQuarter_ = 3;
  vcl::Integer hoverIndex_ = -1;
  vcl::Integer selectedIndex_ = -1;
  vcl::TColor selectedColor_ = vcl::clNone;
  bool showRGBHint_ = false;
};

class TLumColorSpectrumPanel : public TLumCustomColorSelectorPanel {
 public:
  // The screen cursor the spectrum shows: a pointer for picking colours.
  static constexpr vcl::TCursor crColorPointer = 54;

  explicit TLumColorSpectrumPanel(vcl::TComponent* owner);
  ~TLumColorSpectrumPanel() override;

  vcl::TImage* SpectrumImage() const { return image_; }
  // The spectrum's own pixels, which every colour is read from.
  vcl::TBitmap* SpectrumBitmap() const;
  vcl::TColor HotColor() const { return hotColor_; }
  vcl::TColor SelectedColor() const { return selectedColor_; }
  void SetSelectedColor(vcl::TColor c) { selectedColor_ = c; }
  const vcl::TRect& SelectedBox() const { return selectedBox_; }
  const vcl::TRect& HotBox() const { return hotBox_; }
  // 150 x 174, the image centred 10 from the top, the boxes under it, no
  // hot colour.
  void LayoutSpectrum();

  vcl::TNotifyEvent OnSelect;

 protected:
  void Paint() override;

 private:
  // The spectrum's colour at a point of the image; clNone outside it.
  vcl::TColor ColorAt(vcl::Integer x, vcl::Integer y) const;
  void DrawBox(vcl::TCanvas* canvas, const vcl::TRect& box, vcl::TColor color);
  void ImageMove(vcl::Integer x, vcl::Integer y);
  void ImageDown(vcl::Integer x, vcl::Integer y);

  vcl::TImage* image_ = nullptr;  // an owned child
  vcl::TColor hotColor_ = vcl::clNone;
  vcl::TColor selectedColor_ = 0xFFFFFF;
  vcl::TRect selectedBox_{};
  vcl::TRect hotBox_{};
};

}  // namespace dropdown
