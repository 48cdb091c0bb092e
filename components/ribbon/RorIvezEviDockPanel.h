#pragma once
// The dock panel: a strip along one edge of a form whose toolbars share
// rows (columns on the left and right edges), painted in its styler's
// dock colours, and able to save and restore which toolbar sits in which
// row, where, how large and whether it shows.
#include <map>
#include <memory>
#include <vector>

#include "ribbon/RorIvezEviRecords.h"
#include "ribbon/RorIvezEviToolBar.h"

namespace rtl {
class TCustomIniFile;
}

namespace ribbon {

class TLumDockPanel;
class TRowCollection;

// A position or size read from a store, brought into the range window
// coordinates have (a damaged store must not push sums past an int).
int StoredCoordinate(int Value);

// One row of a dock panel: its toolbars in order along it and its
// rectangle. Along and across below mean x and y of a horizontal panel,
// y and x of a vertical one.
class TRowCollectionItem {
 public:
  explicit TRowCollectionItem(TRowCollection* Collection) : collection_(Collection) {}

  int Index() const;
  int ToolBarCount() const { return static_cast<int>(toolBars_.size()); }
  TLumCustomToolBar* ToolBar(int Index) const { return toolBars_.at(static_cast<size_t>(Index)); }
  int IndexOf(const TLumCustomToolBar* ToolBar) const;
  const vcl::TRect& Rect() const { return rect_; }
  void SetRect(const vcl::TRect& Value) { rect_ = Value; }

  // Whether the row takes the toolbar: its first toolbar is not full-size,
  // and a full-size toolbar only into an empty row.
  bool Accepts(const TLumCustomToolBar* ToolBar) const;
  // Appends (placed after the last one); -1 when listed already or not
  // accepted.
  int AddToolBar(TLumCustomToolBar* ToolBar);
  // Inserts by position along the row.
  void InsertToolBar(TLumCustomToolBar* ToolBar);
  void RemoveToolBar(TLumCustomToolBar* ToolBar, bool DeleteEmpty);
  // Forgets a toolbar without touching it (one being freed).
  void Forget(const vcl::TControl* ToolBar);
  // Places the row's toolbars: spreads them into free space, pushes and
  // squeezes them where they overlap.
  void Arrange();
  bool NeedsArrange() const;
  // The part of a drag or resize along the row: raises "Invalid ToolBar
  // Index" for a toolbar the row does not list; writes back what to apply.
  void MoveAlongRow(TLumCustomToolBar* ToolBar, int& NewLeft, int& NewWidth);
  // The largest thickness of its toolbars, at least 26.
  int Thickness() const;

 private:
  friend class TRowCollection;
  friend class TLumDockPanel;
  bool Vertical() const;
  int RowStart() const;
  int RowEnd() const;
  TRowCollection* collection_;
  std::vector<TLumCustomToolBar*> toolBars_;
  vcl::TRect rect_{0, 0, 0, 0};
};

class TRowCollection {
 public:
  explicit TRowCollection(TLumDockPanel* Panel) : panel_(Panel) {}
  ~TRowCollection();

  TLumDockPanel* GetOwner() const { return panel_; }
  int ToolBarSpacing() const { return 2; }
  int RowSpacing() const { return 1; }
  int Count() const { return static_cast<int>(rows_.size()); }
  TRowCollectionItem* GetRow(int Index) const;
  TRowCollectionItem* AddRow();
  TRowCollectionItem* InsertRow(int Index);
  void DeleteRow(int Index);
  void Clear();
  int RowOf(const TLumCustomToolBar* ToolBar) const;
  // Raises "Invalid Row Index" for an index that names no row.
  void MoveToRow(TLumCustomToolBar* ToolBar, int Index);
  void MakeOwnRow(TLumCustomToolBar* ToolBar);
  void ToolBarVisibilityChanged(TLumCustomToolBar* ToolBar);
  // Lays every row out and sizes the panel.
  void UpdateRows();
  void DeleteRowIfEmpty(TRowCollectionItem* Row);
  void MoveAcrossRows(TLumCustomToolBar* ToolBar, int& NewTop, int& NewHeight);
  // New rows, deleted rows and the panel's own size are allowed.
  bool PanelMayChange() const;

 private:
  friend class TRowCollectionItem;
  void Renumber();
  TLumDockPanel* panel_;
  std::vector<std::unique_ptr<TRowCollectionItem>> rows_;
};

class TLumDockPanel : public vcl::TCustomControl, public IToolBarHost, public IRorIvezEviStylerClient {
 public:
  explicit TLumDockPanel(vcl::TComponent* AOwner);
  ~TLumDockPanel() override;

  // The host side for the toolbars.
  bool DockPanelHost() const override { return true; }
  TCustomRorIvezEviStyler* ParentStylerFor(const TLumCustomToolBar*) const override {
    return Destroying() ? nullptr : CurrentStyler();
  }
  void ToolBarResized(TLumCustomToolBar* ToolBar) override;
  void ToolBarVisibleChanged(TLumCustomToolBar* ToolBar) override;

  // The styler's side.
  TStylerClientKind StylerClientKind() const override { return TStylerClientKind::sckDockPanel; }
  void StylerChanged(int Code) override;
  TCustomRorIvezEviStyler* ToolBarStyler() const override { return toolBarStyler_; }
  void SetToolBarStyler(TCustomRorIvezEviStyler* Value) override;
  TCustomRorIvezEviStyler* CurrentStyler() const { return toolBarStyler_ ? toolBarStyler_ : internalStyler_; }
  TCustomRorIvezEviStyler* InternalStyler() const { return internalStyler_; }

  TDockAlign DockAlign() const { return align_; }
  void SetDockAlign(TDockAlign Value);
  bool VerticalPanel() const { return align_ == daLeft || align_ == daRight; }
  int MinimumSize() const { return minimumSize_; }
  void SetMinimumSize(int Value);
  bool LockHeight() const { return lockHeight_; }
  void SetLockHeight(bool Value) { lockHeight_ = Value; }
  bool UseRunTimeHeight() const { return useRunTimeHeight_; }
  void SetUseRunTimeHeight(bool Value);
  TPersistence* Persistence() const { return persistence_; }
  void SetPersistence(const TPersistence* Value) { persistence_->Assign(Value); }
  void SetPopupMenu(vcl::TPopupMenu* Value);
  rtl::AnsiString Version() const { return VersionText(kToolBarVersionNumber); }
  void SetVersion(const rtl::AnsiString&) {}
  void SetParent(vcl::TWinControl* AParent) override;

  TRowCollection* Rows() const { return rows_.get(); }
  int RowCount() const { return rows_->Count(); }
  int ToolBarCount() const { return static_cast<int>(docked_.size()); }
  TLumCustomToolBar* ToolBar(int Index) const { return docked_.at(static_cast<size_t>(Index)); }
  const std::vector<TLumCustomToolBar*>& HiddenToolBars() const { return hidden_; }
  bool PanelLoaded() const { return panelLoaded_; }
  bool Designing() const { return ComponentState().Contains(vcl::csDesigning); }

  // What the toolbars call.
  // Takes a toolbar whose parent became the panel; -1 when it refuses
  // (LockHeight after loading, and no row takes it).
  int DockToolBar(TLumCustomToolBar* ToolBar);
  void UndockToolBar(TLumCustomToolBar* ToolBar);
  // Whether some row could take the toolbar under LockHeight.
  bool HasRowFor(const TLumCustomToolBar* ToolBar) const;
  // A docked toolbar asked for new bounds (a drag, a resize): the rows
  // move it across rows and along its row and write back what applies.
  void ToolBarMoved(TLumCustomToolBar* ToolBar, int& NewLeft, int& NewTop, int& NewWidth, int& NewHeight);
  void ArrangeRows();
  // Re-lays out every row that needs it.
  void UpdateRowsNeeded();

  // The saved layout, in the store the persistence record names; nothing
  // without a key and a section. The store may be given (tests, the
  // fuzz target); otherwise it is opened from the record.
  void SaveLayout(rtl::TCustomIniFile* Store = nullptr);
  // The save of the panel's end, made once: when its form frees the
  // toolbars before the panel, the first of them to go has it made while
  // all are still there.
  void SaveOnTeardown();
  void LoadLayout(rtl::TCustomIniFile* Store = nullptr);

  // The form's edge a panel of this alignment takes.
  static vcl::TAlign ControlAlignOf(TDockAlign Value);

 protected:
  void Loaded() override;
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
  void Paint() override;
  void Dispatch(vcl::TMessage& Message) override;

 private:
  friend class TRowCollection;
  friend class TRowCollectionItem;
  void ResizeToRows();
  void PersistenceChanged();
  void ApplyMenuStyler();
  // A docked toolbar of that name in another dock panel of the form.
  TLumCustomToolBar* FindToolBarElsewhere(const rtl::AnsiString& Name) const;
  // Empty rows a locked panel keeps from a stored layout, at most.
  static constexpr int kMaxKeptRows = 256;
  bool loadingLayout_ = false;
  bool layoutSaved_ = false;

  TDockAlign align_ = daTop;
  int minimumSize_ = 3;
  bool lockHeight_ = false;
  bool useRunTimeHeight_ = false;
  bool panelLoaded_ = false;
  TCustomRorIvezEviStyler* internalStyler_ = nullptr;
  TCustomRorIvezEviStyler* toolBarStyler_ = nullptr;
  TPersistence* persistence_ = nullptr;
  std::unique_ptr<TRowCollection> rows_;
  std::vector<TLumCustomToolBar*> docked_;
  std::vector<TLumCustomToolBar*> hidden_;
  // The row a toolbar left when it was hidden, for its return.
  std::map<const TLumCustomToolBar*, int> remembered_;
};

}  // namespace ribbon
