#pragma once
// Brackets a change to a list or collection: BeginUpdate now, EndUpdate when
// the scope ends, so the change notification fires once, and still fires
// when the work in between raises.

namespace rtl {

template <class T>
class TUpdateScope {
 public:
  explicit TUpdateScope(T& target) : target_(target) { target_.BeginUpdate(); }
  ~TUpdateScope() { target_.EndUpdate(); }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  T& target_;
};

}  // namespace rtl
