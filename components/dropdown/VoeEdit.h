#pragma once
// Edits with a push button inside their right edge (TVoeEditBtn), the unit
// edit that shows a unit of measure beside the value and offers the known
// units in a menu (TVoeUnitEditBtn), the container that holds the button
// (TVoeEditButton) and the button (TLumSpeedButton). The wide-string edit
// with button shares the container and the edit's behaviour
// (TEditWithButton).
#include <memory>

#include "rtl/StringList.h"
#include "vcl/Buttons.h"
#include "vcl/StdCtrls.h"

namespace vcl {
class TPopupMenu;
}

namespace dropdown {

using namespace vcl;

class TLumSpeedButton : public TSpeedButton {
 public:
  explicit TLumSpeedButton(TComponent* owner);
  bool IsWinXP() const { return isWinXP_; }
  void SetIsWinXP(bool v);
  // The button's own flat look (a raised or sunken edge around the face).
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool Hot() const { return hot_; }
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;

 private:
  bool isWinXP_ = false;
  bool flat_ = false;
  bool hot_ = false;
};

// The container of the edit's button: one TLumSpeedButton filling it. Its
// OnClick fires when the left button is released after a press on the
// button, wherever the mouse is then, and the focus goes to FocusControl.
class TVoeEditButton : public TWinControl {
 public:
  explicit TVoeEditButton(TComponent* owner);
  TBitmap* Glyph() { return button_->Glyph(); }
  void SetGlyph(const TBitmap* glyph) { button_->SetGlyph(glyph); }
  AnsiString ButtonCaption() const { return button_->Caption(); }
  void SetButtonCaption(const AnsiString& caption) { button_->SetCaption(caption); }
  Integer NumGlyphs() const { return button_->NumGlyphs(); }
  void SetNumGlyphs(Integer v) { button_->SetNumGlyphs(v); }
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  TLumSpeedButton* Button() const { return button_; }
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  void Dispatch(TMessage& message) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void FitButton();
  void ButtonMouseUp(TMouseButton button);
  TLumSpeedButton* button_;            // owned as a component of the container
  TWinControl* focusControl_ = nullptr;  // not owned
  bool flat_ = false;
};

// What the edits with a button share, over the edit class they extend:
// the button container at the right edge, EditorEnabled, RightAlign, the
// button width, the themed-look flag, F4 and OnClickBtn.
template <class Base>
class TEditWithButton : public Base {
 public:
  explicit TEditWithButton(TComponent* owner);
  ~TEditWithButton() override;

  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool v) { editorEnabled_ = v; }
  bool RightAlign() const { return rightAlign_; }
  void SetRightAlign(bool v);
  // The button's width (the container's).
  Integer ButtonWidth() const { return button_ ? button_->Width() : 0; }
  void SetButtonWidth(Integer v);
  bool IsWinXP() const { return isWinXP_; }
  void SetIsWinXP(bool v);
  TBitmap* Glyph() { return button_->Glyph(); }
  void SetGlyph(const TBitmap* glyph) { button_->SetGlyph(glyph); }
  AnsiString ButtonCaption() const { return button_->ButtonCaption(); }
  void SetButtonCaption(const AnsiString& caption) { button_->SetButtonCaption(caption); }
  TVoeEditButton* Button() const { return button_; }
  // Fires OnClickBtn with Sender: the container for a button click, the
  // edit itself for F4.
  virtual void ClickBtn(TObject* Sender);
  void Dispatch(TMessage& message) override;

  TNotifyEvent OnClickBtn;

 protected:
  void CreateParams(TWinControl::TCreateParams& params) override;
  void CreateWnd() override;
  void KeyDown(Word& key, TShiftState shift) override;
  // Sets the formatting rectangle beside the button.
  virtual void UpdateEditRect() = 0;
  // Whether F4 with these modifiers clicks the button.
  virtual bool F4Clicks() const = 0;
  // The smallest height that shows a line of the font.
  Integer MinimumHeight();
  void PlaceButton();

  TVoeEditButton* button_;  // owned as a component of the edit
  bool editorEnabled_ = true;
  bool rightAlign_ = false;
  bool isWinXP_ = false;
};

// The text height of a font, and the smallest edit height for it: H + I div
// 4 with H that height and I the smaller of H and the system font's.
Integer FontTextHeight(const TFont* font);
Integer EditMinimumHeight(const TFont* font);

class TVoeEditBtn : public TEditWithButton<TCustomEdit> {
 public:
  explicit TVoeEditBtn(TComponent* owner);
  // Room kept left of the button for a unit text (0: none).
  Integer UnitSpace() const { return unitSpace_; }
  void SetUnitSpace(Integer v);

 protected:
  void UpdateEditRect() override;
  bool F4Clicks() const override;
  Integer unitSpace_ = 0;
};

// A value with its unit: the edit holds the value, UnitID the unit drawn
// beside it; the button offers the units of Units in a menu.
class TVoeUnitEditBtn : public TVoeEditBtn {
 public:
  explicit TVoeUnitEditBtn(TComponent* owner);
  ~TVoeUnitEditBtn() override;
  rtl::TStringList* Units() { return units_.get(); }
  // Null is ignored.
  void SetUnits(const rtl::TStrings* units);
  const AnsiString& UnitID() const { return unitID_; }
  void SetUnitID(const AnsiString& v);
  // OnClickBtn, then the menu of units below the button.
  void ClickBtn(TObject* Sender) override;
  void Dispatch(TMessage& message) override;
  // The menu while it is open (tests choose from it), else null.
  TPopupMenu* UnitMenu() const { return unitMenu_; }

 private:
  std::unique_ptr<rtl::TStringList> units_;
  AnsiString unitID_;
  TPopupMenu* unitMenu_ = nullptr;  // lives while ClickBtn runs
};

}  // namespace dropdown
