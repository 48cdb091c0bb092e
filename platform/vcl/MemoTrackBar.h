#pragma once
// TMemo, a multi-line edit whose Lines follow its text both ways, and
// TTrackBar, a horizontal slider over the desktop's native widgets.
#include <memory>

#include "rtl/StringList.h"
#include "vcl/StdCtrls.h"

namespace vcl {

class TCustomMemo : public TCustomEdit {
 public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  // The text by lines; writing the list writes the text and typing
  // rewrites the list.
  rtl::TStringList* Lines() const { return lines_.get(); }
  void SetLines(const rtl::TStrings* value) { lines_->Assign(*value); }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool v) { wantReturns_ = v; }
  void SetText(const AnsiString& s) override;
  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool MultiLineWindow() const override { return true; }
  void Change() override;

 private:
  std::unique_ptr<rtl::TStringList> lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
  bool syncing_ = false;
};

class TMemo : public TCustomMemo {
 public:
  using TCustomMemo::TCustomMemo;
};

// A horizontal track bar. Position is kept within Min .. Max; a Max set
// below Min moves Min down to it, a Min above Max moves Max up.
class TTrackBar : public TWinControl {
 public:
  explicit TTrackBar(TComponent* owner);
  Integer Min() const { return min_; }
  void SetMin(Integer v);
  Integer Max() const { return max_; }
  void SetMax(Integer v);
  Integer Position() const { return position_; }
  void SetPosition(Integer v);
  // Ticks every Frequency steps; PageSize is the step of Page Up and Page
  // Down and of a click beside the thumb.
  Integer Frequency() const { return frequency_; }
  void SetFrequency(Integer v);
  Integer PageSize() const { return pageSize_; }
  void SetPageSize(Integer v);
  TNotifyEvent OnChange;

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override;
  bool HasSurface() const override { return false; }
  virtual void Changed();

 private:
  void Sync();
  Integer min_ = 0;
  Integer max_ = 10;
  Integer position_ = 0;
  Integer frequency_ = 1;
  Integer pageSize_ = 2;
  bool syncing_ = false;
};

}  // namespace vcl
