#pragma once
// TLumMemo, the code editor as forms use it: the editor's own font, size and
// default handlers, the loading step that attaches its source, the
// clipboard and selection messages, word and token hints, and the
// highlight of the block keywords around the caret.
#include "memo/LumCustomMemo.h"

namespace memo {

using THintForEvent =
    std::function<void(TObject* Sender, Integer X, Integer Y, const AnsiString& AValue, AnsiString& AHint, bool& Show)>;

class TLumMemo : public TLumCustomMemo {
 public:
  explicit TLumMemo(vcl::TComponent* owner);

  // The styler's symbols count as delimiters too.
  bool IsDelimiter(char ch) const override;
  // 2.2.3.1 packed major first.
  virtual rtl::Cardinal GetVersionNumber() const;
  // The four numbers, then the release month.
  virtual AnsiString GetVersionString() const;
  // The four numbers joined by "."; read-only (writing does nothing).
  AnsiString Version() const;
  void SetVersion(const AnsiString&) {}

  THintForEvent OnHintForWord;
  THintForEvent OnHintForToken;

  // What a hint request at a client point offers: false when no hint shows;
  // hint is left alone when no handler is assigned.
  bool HintAt(vcl::TPoint client, AnsiString& hint);

 protected:
  void Loaded() override;
  void Dispatch(vcl::TMessage& message) override;
  void KeyUp(vcl::Word& key, TShiftState shift) override;
  void DoCursorChange() override;
};

}  // namespace memo
