#pragma once
// TScrollBar, the stand-alone scroll bar control. The bar keeps its own
// range and position; the Qt slider shows them, with the thumb's last
// position at Max - PageSize + 1 as the desktop places it, while Position
// itself may lie anywhere from Min to Max.
#include <functional>

#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"  // TScrollStyle
#include "vcl/WinApi.h"    // GetSystemMetrics

namespace vcl {

enum class TScrollBarKind { sbHorizontal, sbVertical };
using enum TScrollBarKind;
enum class TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using enum TScrollCode;
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;

class TScrollBar : public TWinControl {
 public:
  explicit TScrollBar(TComponent* owner);

  TScrollBarKind Kind() const { return kind_; }
  // A new kind swaps width and height, as turning the bar would.
  void SetKind(TScrollBarKind kind);
  Integer Min() const { return min_; }
  Integer Max() const { return max_; }
  Integer Position() const { return position_; }
  Integer PageSize() const { return pageSize_; }
  Integer SmallChange() const { return smallChange_; }
  Integer LargeChange() const { return largeChange_; }
  void SetMin(Integer v) { SetParams(position_, v, max_); }
  void SetMax(Integer v) { SetParams(position_, min_, v); }
  // Clamped to Min .. Max; a change fires OnChange.
  void SetPosition(Integer v) { SetParams(v, min_, max_); }
  // Max below Min is taken as Min.
  void SetParams(Integer position, Integer min, Integer max);
  // Negative sizes count as 0 (a thumb of the smallest size).
  void SetPageSize(Integer v);
  void SetSmallChange(Integer v);
  void SetLargeChange(Integer v);

  // What the user's action does: the position the code reaches (from the
  // bar's changes for the line, page, top and bottom codes; pos for the
  // tracking and position codes), OnScroll with it, then the position the
  // handler left. The Qt slider's actions come here.
  void UserScroll(TScrollCode code, Integer pos = 0);

  TScrollEvent OnScroll;
  TNotifyEvent OnChange;

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override;
  virtual void Change();
  virtual void Scroll(TScrollCode code, Integer& pos);

 private:
  void SyncWidget();
  TScrollBarKind kind_ = sbHorizontal;
  Integer min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
  Integer smallChange_ = 1, largeChange_ = 1;
  bool syncing_ = false;
};

}  // namespace vcl
