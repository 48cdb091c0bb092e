#pragma once
// Internal helpers of the code editor's sources (not part of its interface).
#include "memo/LumCustomMemo.h"
#include "memo/LumMemoUndo.h"

namespace memo {

inline bool HasVert(vcl::TScrollStyle s) { return s == vcl::ssVertical || s == vcl::ssBoth; }
inline bool HasHorz(vcl::TScrollStyle s) { return s == vcl::ssHorizontal || s == vcl::ssBoth; }

// Brackets one editing operation: the line changes it makes are journalled
// and go with the undo record it adds; what it changes after adding the
// record joins that record when the outermost operation ends.
class TEditScope {
 public:
  explicit TEditScope(TLumCustomMemo& memo);
  ~TEditScope();
  TEditScope(const TEditScope&) = delete;
  TEditScope& operator=(const TEditScope&) = delete;

 private:
  TLumCustomMemo& memo_;
  TLumMemoStrings* store_;  // the text the operation began on
};

// Sets a flag for a scope and puts back what was there.
class TFlagScope {
 public:
  TFlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
  ~TFlagScope() { flag_ = old_; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace memo
