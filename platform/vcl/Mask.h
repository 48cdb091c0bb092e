#pragma once
// TCustomMaskEdit: the edit field that masked input builds on. The spin
// edit and the drop-down edits descend from it. Without an EditMask it is
// a plain edit; with one, the field shows the edit text (one character a
// mask position, blanks and literals in place), typed and pasted
// characters go through the mask (MaskEngine.h), Text reads the text
// without the blanks (and without the literals unless the mask saves
// them), and leaving the field with a required position empty raises
// EDBEditError.
#include "rtl/Exceptions.h"
#include "vcl/MaskEngine.h"
#include "vcl/StdCtrls.h"

namespace vcl {

class EDBEditError : public rtl::Exception {
 public:
  using rtl::Exception::Exception;
  const char* ClassName() const noexcept override { return "EDBEditError"; }
};

class TCustomMaskEdit : public TCustomEdit {
 public:
  explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

  const AnsiString& EditMask() const { return mask_.EditMask(); }
  // The current text is laid out anew under the new mask.
  void SetEditMask(const AnsiString& value);
  bool IsMasked() const { return !mask_.Empty(); }
  const TMaskEngine& MaskEngine() const { return mask_; }
  // What the field shows.
  const AnsiString& EditText() const { return TCustomEdit::GetTextRef(); }
  void SetEditText(const AnsiString& value) { TCustomEdit::SetText(value); }
  // With a mask the text is laid over it.
  void SetText(const AnsiString& value) override;
  // Raises EDBEditError when a required position is empty, with the caret
  // put there.
  void ValidateEdit();

 protected:
  const AnsiString& GetTextRef() const override;
  void KeyPress(WideChar& key) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void DoExit() override;
  void Dispatch(TMessage& message) override;

 private:
  void ApplyMasked(const AnsiString& editText, Integer caret);
  TMaskEngine mask_;
  mutable AnsiString unmasked_;
};

}  // namespace vcl
