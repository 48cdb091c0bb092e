#pragma once
// The ribbon: a pager docked to the top of its form with one tab per page
// and the active page below the tabs, and the pages themselves. This holds
// the page list, the activation protocol with OnChanging and OnChange, the
// styler in force and the geometry of caption, tab area and pages.
#include <functional>
#include <vector>

#include "ribbon/RorIvezEviAppearance.h"
#include "ribbon/RorIvezEviStyler.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Controls.h"

namespace ribbon {

// The pager's packed version, shown as "3.5.4.8".
inline constexpr rtl::Cardinal kPagerVersionNumber = (3u << 24) | (5u << 16) | (4u << 8) | 8u;

class TRorIvezEviPager;

using TPagerChangingEvent =
    std::function<void(vcl::TObject* Sender, int FromPage, int ToPage, bool& AllowChange)>;

class TLumPage : public vcl::TCustomControl, public IToolBarHost {
 public:
  explicit TLumPage(vcl::TComponent* AOwner);
  ~TLumPage() override;

  bool RibbonGroupHost() const override { return true; }

  TRorIvezEviPager* Pager() const { return pager_; }
  // Leaves another pager, takes Pager as parent and joins its list.
  void SetPager(TRorIvezEviPager* Pager);
  void SetParent(vcl::TWinControl* AParent) override;
  // The index in the pager's list (-1 without one); setting moves the
  // page there when the value is in range.
  int PageIndex() const;
  void SetPageIndex(int Value);

  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool Value);
  bool TabEnabled() const { return tabEnabled_; }
  void SetTabEnabled(bool Value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int Value) { imageIndex_ = Value; }
  const rtl::AnsiString& TabHint() const { return tabHint_; }
  void SetTabHint(const rtl::AnsiString& Value) { tabHint_ = Value; }

  // Set by the pager's list only.
  void AttachPager(TRorIvezEviPager* Pager) { pager_ = Pager; }

 private:
  TRorIvezEviPager* pager_ = nullptr;
  bool tabVisible_ = true;
  bool tabEnabled_ = true;
  int imageIndex_ = -1;
  rtl::AnsiString tabHint_;
  bool settingParent_ = false;
};

class TRorIvezEviPager : public vcl::TCustomControl, public IRorIvezEviStylerClient {
 public:
  explicit TRorIvezEviPager(vcl::TComponent* AOwner);
  ~TRorIvezEviPager() override;

  // --- the page list ---
  int AddPage(TLumPage* Page);
  void RemovePage(TLumPage* Page);
  // Raises "Index out of bounds in list read access" outside the list.
  TLumPage* GetPageByIndex(int Index) const;
  int PageCount() const { return static_cast<int>(pages_.size()); }
  int GetActivePageIndex() const { return activePageIndex_; }
  TLumPage* ActivePage() const;
  void SetActivePage(TLumPage* Page);
  void SetActivePageIndex(int Index);
  // The activation protocol: OnChanging may refuse; the old page hides,
  // the new one shows; OnChange.
  void ChangeActivePage(int Index);
  // Cyclically to the next (or previous) page whose tab is visible and
  // enabled.
  void SelectNextPage(bool Forward);
  // As SelectNextPage, stopping at the ends (the wheel).
  void SelectPreviousTab();
  void SelectFollowingTab();
  void MovePage(int FromIndex, int ToIndex);
  void UpdatePageBounds(TLumPage* Page);
  void UpdatePages();

  // --- geometry ---
  // None when the caption is hidden.
  vcl::TRect GetCaptionRect() const;
  vcl::TRect GetTabsArea() const;
  vcl::TRect GetPageRect() const;

  // --- settings ---
  TLumPageCaption* PageCaption() { return &caption_; }
  TRIETabSettings* TabSettings() { return &tabSettings_; }
  int PageLeftMargin() const { return pageLeftMargin_; }
  void SetPageLeftMargin(int Value);
  int PageRightMargin() const { return pageRightMargin_; }
  void SetPageRightMargin(int Value);
  rtl::AnsiString Version() const { return VersionText(kPagerVersionNumber); }
  void SetVersion(const rtl::AnsiString&) {}

  // --- styler ---
  TCustomRorIvezEviStyler* CurrentStyler() const { return toolBarStyler_ ? toolBarStyler_ : internalStyler_; }
  TStylerClientKind StylerClientKind() const override { return TStylerClientKind::sckPager; }
  void StylerChanged(int Code) override;
  TCustomRorIvezEviStyler* ToolBarStyler() const override { return toolBarStyler_; }
  void SetToolBarStyler(TCustomRorIvezEviStyler* Value) override;

  // Refuses a dock panel, a toolbar, a pager or a page: "Invalid Parent".
  void SetParent(vcl::TWinControl* AParent) override;

  TPagerChangingEvent OnChanging;
  vcl::TNotifyEvent OnChange;

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
  void Resize() override;

 private:
  int PageIndexOf(const TLumPage* Page) const;
  bool Selectable(int Index) const;
  // The active index names a shown page of the list, or -1 for none.
  void KeepActivePageShown(int Noted);

  std::vector<TLumPage*> pages_;
  int activePageIndex_ = -1;
  TCustomRorIvezEviStyler* internalStyler_ = nullptr;
  TCustomRorIvezEviStyler* toolBarStyler_ = nullptr;
  TLumPageCaption caption_;
  TRIETabSettings tabSettings_;
  int pageLeftMargin_ = 0, pageRightMargin_ = 0;
};

}  // namespace ribbon
