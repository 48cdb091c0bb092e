#pragma once
// TWexCustomTreeView: the class library's tree view with a custom frame in
// its window border, colours that follow focus and enabled state, an
// outline round the selected node while it has no focus, wheel scrolling by
// the system's step, per-node context menus, a right-click-aware current
// node (GetSelected) and a link to a frame controller.
#include <functional>
#include <memory>

#include "support/FrameController.h"
#include "vcl/Menus.h"
#include "vcl/TreeView.h"

namespace support {

class TWexCustomTreeView;

using TWexNodeContextMenuEvent =
    std::function<void(vcl::TObject* Sender, vcl::TTreeNode* Node, vcl::TPoint& Pos, vcl::TPopupMenu*& Menu)>;

class TWexCustomTreeView : public vcl::TCustomTreeView, public IWexFrameControllerTarget {
 public:
  explicit TWexCustomTreeView(vcl::TComponent* owner);
  ~TWexCustomTreeView() override;

  // Null while there is no window; the right-clicked node while
  // RightClickSelect is on and a node's menu is being shown; else the
  // selected node.
  vcl::TTreeNode* GetSelected();

  bool AutoExpand() const override;
  void SetAutoExpand(bool v) override;
  bool AutoSelect() const { return autoSelect_; }
  virtual void SetAutoSelect(bool v);
  TColor DisabledColor() const { return disabledColor_; }
  virtual void SetDisabledColor(TColor v);
  TColor FocusColor() const { return focusColor_; }
  virtual void SetFocusColor(TColor v);
  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor v);
  TWexFrameController* FrameController() const { return frameController_; }
  virtual void SetFrameController(TWexFrameController* v);
  TWexFrameControllerNotifications FrameControllerNotifications() const override { return notifications_; }
  void SetFrameControllerNotifications(TWexFrameControllerNotifications v) { notifications_ = v; }
  TColor FrameHotColor() const { return frameHotColor_; }
  virtual void SetFrameHotColor(TColor v);
  bool FrameHotTrack() const { return frameHotTrack_; }
  virtual void SetFrameHotTrack(bool v);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  virtual void SetFrameHotStyle(TFrameStyle v);
  TSides FrameSides() const { return frameSides_; }
  virtual void SetFrameSides(TSides v);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  virtual void SetFrameStyle(TFrameStyle v);
  bool FrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool v);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  virtual void SetFramingPreference(TFramingPreference v);
  vcl::TPen* SelectionPen() { return selectionPen_.get(); }
  virtual void SetSelectionPen(const vcl::TPen* pen);
  bool RightClickSelect() const { return rightClickSelect_; }
  void SetRightClickSelect(bool v) { rightClickSelect_ = v; }
  // Kept for the form only; nothing reads it.
  char PathDelimiter() const { return pathDelimiter_; }
  void SetPathDelimiter(char c) { pathDelimiter_ = c; }
  // Whether the frame is left to the visual styles.
  virtual bool UseThemes() const;

  bool SetFrameControllerProperty(TWexFrameControllerProperty property,
                                  const TWexFrameController& controller) override;

  void Dispatch(vcl::TMessage& message) override;

  TWexNodeContextMenuEvent OnNodeContextMenu;

 protected:
  virtual void UpdateColors();
  virtual void UpdateFrame(bool viaMouse, bool inside);
  virtual void RepaintFrame();
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Loaded() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  bool CanCollapse(vcl::TTreeNode* node) override;
  void Expand(vcl::TTreeNode* node) override;
  void KeyDown(rtl::Word& key, vcl::TShiftState shift) override;
  // The menu of a node (or of no node) at a client position.
  void NodeContextMenu(vcl::TTreeNode* node, vcl::TPoint pos);
  // Pops the menu at a client position for this control.
  void PopupAt(vcl::TPopupMenu* menu, vcl::TPoint clientPos);
  bool FrameHot() const;

 private:
  void PaintFrame();
  void RightClickNotified();

  bool colorUpdating_ = false;
  TColor disabledColor_;
  TColor focusColor_;
  TColor normalColor_;
  TColor frameColor_;
  TWexFrameController* frameController_ = nullptr;  // not owned
  TWexFrameControllerNotifications notifications_ = kAllFrameControllerNotifications;
  TColor frameHotColor_;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = kAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  bool autoSelect_ = false;
  std::unique_ptr<vcl::TPen> selectionPen_;
  vcl::TTreeNode* rightClickNode_ = nullptr;  // a node of Items, while its menu shows
  bool nodeMenuShown_ = false;
  char pathDelimiter_ = '\\';
  std::unique_ptr<vcl::TWindowCanvas> frameCanvas_;
  bool mouseOver_ = false;
  bool rightClickSelect_ = false;
};

}  // namespace support
