#pragma once
// The windows of the editor's typing aids: the completion list that drops
// down under the caret (a pop-up holding an owner-drawn list box) and the
// parameter hint that floats over the text without taking the focus. The
// rules they follow live in CompletionEntries and ParameterHint; these
// classes are only their windows and hand every decision to the editor.
#include <array>
#include <memory>

#include "memo/CompletionEntries.h"
#include "memo/ParameterHint.h"
#include "vcl/ListBox.h"
#include "vcl/NoActivateForm.h"
#include "vcl/PopupWindow.h"

namespace vcl {
class TBitmap;
class TImageList;
class TControlCanvas;
}  // namespace vcl

namespace memo {

class TLumCustomMemo;
class TAutoCompletion;

// The list inside the completion window. Keys and a released button are
// the editor's to decide (TLumCustomMemo::CompletionListKey); the list only
// moves its selection for the keys the editor leaves to it.
class TAutoCompletionListBox : public vcl::TCustomListBox {
 public:
  TAutoCompletionListBox(vcl::TComponent* owner, TLumCustomMemo* memo);
  ~TAutoCompletionListBox() override;

  // The entry pictures: the editor's own drawings, or pictures 0 to 4 of
  // images (as 24-bit bitmaps) when an image list is given.
  void SetImages(vcl::TImageList* images);
  const TCompletionPictures& Pictures() const { return pictures_; }
  Integer KindColumnWidth() const { return kindColumnWidth_; }
  // The kind column, the item height and the list's width, measured with
  // the list's font over its items; the width is answered, not applied.
  TCompletionMeasures Measure();
  // Forgets the editor (it is going); the list does nothing more.
  void DetachMemo() { memo_ = nullptr; }

 protected:
  void DrawItem(Integer index, const vcl::TRect& rect, vcl::TOwnerDrawState state) override;
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void KeyPress(vcl::WideChar& key) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
 public:
  void Dispatch(vcl::TMessage& message) override;

 private:
  TLumCustomMemo* memo_;
  std::array<std::unique_ptr<vcl::TBitmap>, 5> owned_;
  TCompletionPictures pictures_{};
  Integer kindColumnWidth_ = 0;
};

// The completion window, "_fa", holding the list "_lc". With a sizing frame
// the list sits inside a raised band whose bottom-right corner resizes the
// window; without it the list fills a silver window that casts a shadow.
class TLumAutoform : public vcl::TPopupForm {
 public:
  TLumAutoform(vcl::TComponent* owner, TLumCustomMemo* memo);
  ~TLumAutoform() override;
  TAutoCompletionListBox* List() const { return list_; }
  bool Sizable() const { return sizable_; }
  void SetSizable(bool v);
  // Width of the sizing band (0 without one).
  Integer BandWidth() const { return sizable_ ? kBand : 0; }
  static constexpr Integer kBand = 3;

 protected:
  void Resize() override;
  void PaintWindow() override;
  void Dispatch(vcl::TMessage& message) override;

 private:
  void PlaceList();
  TAutoCompletionListBox* list_;  // owned (a component of this form)
  bool sizable_ = true;
  std::unique_ptr<vcl::TControlCanvas> canvas_;
};

// The parameter-hint window, "_hf": a gray frame filled with the hint's
// background and the call's parameters written in three parts, one bold.
// It never takes the activation; a click on it hands the focus back to its
// editor.
class TLumHintForm : public vcl::TNoActivateForm {
 public:
  TLumHintForm(vcl::TComponent* owner, TLumCustomMemo* memo);
  ~TLumHintForm() override;
  void SetHint(const TParameterHintText& text, vcl::TColor textColour, vcl::TColor background);
  const TParameterHintText& HintText() const { return text_; }
  // The window's canvas, for measuring and painting.
  vcl::TCanvas* Canvas();
  void DetachMemo() { memo_ = nullptr; }

 protected:
  void PaintWindow() override;
  void Dispatch(vcl::TMessage& message) override;

 private:
  TLumCustomMemo* memo_;
  TParameterHintText text_;
  vcl::TColor textColour_ = vcl::clBlack;
  vcl::TColor background_ = vcl::clInfoBk;
  std::unique_ptr<vcl::TControlCanvas> canvas_;
};

}  // namespace memo
