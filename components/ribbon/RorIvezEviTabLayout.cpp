// The pager's tab geometry: measuring, fitting, hit testing (see
// RorIvezEviPager.h).
#include <algorithm>
#include <climits>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "rtl/CodePages.h"
#include "vcl/ImgList.h"

namespace ribbon {

namespace {
constexpr int kTabFloor = 24;  // a tab is never squeezed below this
constexpr int kTabStep = 5;    // squeezing and widening step
}  // namespace

void TRorIvezEviPager::Loaded() {
  vcl::TCustomControl::Loaded();
  UpdateCaptionButtons(true);
  UpdateHelpButton();
  loadedFlag_ = true;
  InitTabWidths();
  FitTabs();
  ResetTabScroll();
  InstallKeyHook();
  LoadPersistence();
}

void TRorIvezEviPager::SetAntiAlias(controls::TAntiAlias Value) {
  antiAlias_ = Value;
  Invalidate();
}

void TRorIvezEviPager::SetImages(vcl::TImageList* Value) {
  images_ = Value;
  Invalidate();
}

void TRorIvezEviPager::SetDisabledImages(vcl::TImageList* Value) {
  disabledImages_ = Value;
  Invalidate();
}

void TRorIvezEviPager::SetAutoMDIButtons(bool Value) {
  autoMDIButtons_ = Value;
  Invalidate();
}

int TRorIvezEviPager::CurrentMargin(bool Grouped, bool Left) const {
  if (Grouped) return Left ? groupMarginLeft_ : groupMarginRight_;
  return Left ? marginLeft_ : marginRight_;
}

vcl::TRect TRorIvezEviPager::GetHelpButtonRect() const {
  if (!showHelpButton_) return vcl::TRect{-1, -1, -1, -1};
  const vcl::TRect a = GetTabsArea();
  vcl::TRect r;
  r.Top = a.Top + (a.Height() - 20) / 2 + 1;
  r.Bottom = r.Top + 20;
  r.Right = a.Right - RibbonPageMargin() - 2;
  r.Left = a.Right - RibbonPageMargin() - 22;
  return r;
}

vcl::TRect TRorIvezEviPager::GetTabsRect() const {
  vcl::TRect r = ClientRect();
  if (caption_.Visible()) r.Top += caption_.Height();
  r.Top += 4;
  r.Bottom = r.Top + tabSettings_.Height();
  const int client = r.Left;
  r.Left = client + RibbonPageMargin() + tabSettings_.StartMargin() + pageLeftMargin_;
  r.Right = r.Right - tabSettings_.EndMargin() - pageRightMargin_ - RibbonPageMargin();
  if (showHelpButton_) r.Right = GetHelpButtonRect().Left - 2 - tabSettings_.EndMargin();
  if (autoMDIButtons_ && !ComponentState().Contains(vcl::csDesigning)) r.Right -= (16 + 2) * 3 + 5;
  return r;
}

int TRorIvezEviPager::TabWidth(int Index) const {
  const TLumPage* p = pages_[static_cast<size_t>(Index)];
  const bool g = Grouped(Index);
  return p->ContentWidth + CurrentMargin(g, true) + CurrentMargin(g, false);
}

vcl::TRect TRorIvezEviPager::GetTabRect(int Index) const {
  if (Index < 0 || Index >= PageCount() || !TabVisibleAt(Index)) return vcl::TRect{-1, -1, -1, -1};
  const vcl::TRect strip = GetTabsRect();
  const int left = pages_[Index]->TabLeft;
  return vcl::TRect{left, strip.Top, left + TabWidth(Index), strip.Bottom};
}

int TRorIvezEviPager::TabAtPos(int X, int Y) const {
  for (int i = 0; i < PageCount(); ++i) {
    const vcl::TRect r = GetTabRect(i);
    if (r.Left != -1 && X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
  }
  return -1;
}

int TRorIvezEviPager::TabGroupOfPage(int Index) const {
  if (Index < 0 || Index >= PageCount()) return -1;
  for (int g = 0; g < tabGroups_.Count(); ++g) {
    const TTabGroupItem* item = tabGroups_.Items(g);
    if (item->TabIndexStart() <= Index && Index <= item->TabIndexEnd()) return g;
  }
  return -1;
}

vcl::TRect TRorIvezEviPager::GetTabGroupRect(int Group, bool& LeftEdge, bool& RightEdge) const {
  LeftEdge = RightEdge = false;
  const vcl::TRect none{-1, -1, -1, -1};
  if (Group < 0 || Group >= tabGroups_.Count()) return none;
  const TTabGroupItem* item = tabGroups_.Items(Group);
  const int start = item->TabIndexStart(), end = item->TabIndexEnd();
  if (start < 0 || end < 0 || end < start || end >= PageCount()) return none;
  vcl::TRect r = none;
  bool any = false;
  for (int i = start; i <= end; ++i) {
    const vcl::TRect t = GetTabRect(i);
    if (t.Left == -1) continue;
    if (!any) {
      r = t;
      LeftEdge = RightEdge = true;
      any = true;
    }
    r.Right = t.Right;
  }
  if (!any) return none;
  r.Top = caption_.Visible() ? GetCaptionRect().Top : -1;
  if (tabSettings_.Spacing() > 2) {
    r.Left -= tabSettings_.Spacing() / 2;
    r.Right += tabSettings_.Spacing() / 2;
  }
  return r;
}

int TRorIvezEviPager::TabGroupAtPos(int X, int Y) const {
  for (int g = 0; g < tabGroups_.Count(); ++g) {
    bool l = false, r = false;
    const vcl::TRect rect = GetTabGroupRect(g, l, r);
    if (rect.Left != -1 && X >= rect.Left && X < rect.Right && Y >= rect.Top && Y < rect.Bottom) return g;
  }
  return -1;
}

int TRorIvezEviPager::MeasureTab(int Index, int& ContentWidth) {
  ContentWidth = 0;
  if (Index < 0 || Index >= PageCount()) return 0;
  TLumPage* page = pages_[Index];
  TCustomRorIvezEviStyler* s = CurrentStyler();
  vcl::TFont* font = s->TabAppearance()->Font();
  const int group = TabGroupOfPage(Index);
  if (group >= 0) {
    const TTabGroupItem* item = tabGroups_.Items(group);
    font = item->DefaultAppearance() ? s->GroupAppearance()->TabAppearance()->Font()
                                     : item->GroupAppearance()->TabAppearance()->Font();
  }
  vcl::TCanvas* c = TabMeasureCanvas();
  vcl::TFont saved;
  saved.Assign(c->Font());
  c->Font()->Assign(font);
  // 8-bit text is UTF-8; a wide caption stands in for an empty one.
  const rtl::AnsiString text = page->Caption().empty() ? rtl::WideToUtf8(page->WideCaption()) : page->Caption();
  int textWidth = 0, length = 5;
  if (!text.empty()) {
    vcl::TRect m{0, 0, 1000, 100};
    c->DrawText(text, m, vcl::DT_CALCRECT | vcl::DT_SINGLELINE);
    textWidth = m.Width();
    length = std::max(5, static_cast<int>(page->Caption().empty() ? page->WideCaption().size() : text.size()));
  }
  c->Font()->Assign(&saved);
  const int allowance = antiAlias_ == controls::aaNone ? 2 : length + std::max(0, font->Size() - 8);
  int content = allowance + textWidth;
  if ((images_ || disabledImages_) && page->ImageIndex() >= 0) {
    vcl::TImageList* list = images_;
    if (!page->TabEnabled() && disabledImages_) list = disabledImages_;
    if (list) content += list->Width() + 2;
  }
  ContentWidth = content;
  return content + tabSettings_.LeftMargin() + tabSettings_.RightMargin();
}

void TRorIvezEviPager::InitTabWidths() {
  spacing_ = tabSettings_.Spacing();
  marginLeft_ = groupMarginLeft_ = tabSettings_.LeftMargin();
  marginRight_ = groupMarginRight_ = tabSettings_.RightMargin();
  for (int i = 0; i < PageCount(); ++i) {
    int content = 0;
    MeasureTab(i, content);
    pages_[i]->ContentWidth = pages_[i]->NaturalWidth = content;
  }
  ResetTabScroll();
}

int TRorIvezEviPager::TotalTabWidth(int From, int To) const {
  if (From < 0 || To >= PageCount() || From > To) return 0;
  int total = 0;
  for (int i = From; i <= To; ++i) {
    if (!TabVisibleAt(i)) continue;
    total += TabWidth(i);
    if (i < PageCount() - 1) total += spacing_;
  }
  return total;
}

void TRorIvezEviPager::ArrangeTabs() {
  int x = GetTabsRect().Left;
  for (int i = 0; i < PageCount(); ++i)
    if (TabVisibleAt(i)) {
      pages_[i]->TabLeft = x;
      x += TabWidth(i) + spacing_;
    }
}

void TRorIvezEviPager::ShiftTabs(int From, int To) {
  int previous = -1;
  for (int i = std::max(0, From); i <= std::min(To, PageCount() - 1); ++i) {
    if (!TabVisibleAt(i)) continue;
    if (previous >= 0) pages_[i]->TabLeft = pages_[previous]->TabLeft + TabWidth(previous) + spacing_;
    previous = i;
  }
}

int TRorIvezEviPager::StripExcess() const {
  const vcl::TRect strip = GetTabsRect();
  return TotalTabWidth(0, PageCount() - 1) - (strip.Right - strip.Left);
}

void TRorIvezEviPager::FitTabs() {
  if (!loadedFlag_ || pages_.empty()) return;
  const int last = PageCount() - 1;
  const vcl::TRect strip = GetTabsRect();
  int avail = strip.Right - strip.Left;
  int total = TotalTabWidth(0, last);
  int groupedShrink = 0;
  for (int i = 0; i <= last; ++i)
    if (TabVisibleAt(i) && Grouped(i)) groupedShrink += pages_[i]->NaturalWidth - pages_[i]->ContentWidth;
  if (total == avail && groupedShrink > 0) avail += std::min(kTabStep, groupedShrink);
  auto recompute = [&] { return TotalTabWidth(0, last) - avail; };

  if (avail < total) {
    int excess = total - avail;
    while (spacing_ > tabSettings_.SpacingLimit()) {
      --spacing_;
      excess = recompute();
      if (excess < 1) {
        excess = 0;
        break;
      }
    }
    ShiftTabs(0, last);
    for (int* pair : {&marginLeft_, &groupMarginLeft_}) {
      int* left = pair;
      int* right = pair == &marginLeft_ ? &marginRight_ : &groupMarginRight_;
      while (excess > 0 && (*left > tabSettings_.MarginLimit() || *right > tabSettings_.MarginLimit())) {
        if (*left > tabSettings_.MarginLimit()) {
          --*left;
          excess = std::max(0, recompute());
          if (excess == 0) break;
        }
        if (*right > tabSettings_.MarginLimit()) {
          --*right;
          excess = std::max(0, recompute());
          if (excess == 0) break;
        }
      }
      ShiftTabs(0, last);
    }
    if (excess > 0) {
      auto widest = [&](bool ungroupedOnly) {
        int best = -1;
        for (int i = 0; i <= last; ++i) {
          if (!TabVisibleAt(i) || (ungroupedOnly && Grouped(i))) continue;
          if (best < 0 || TabWidth(i) > TabWidth(best)) best = i;
        }
        return best;
      };
      bool ungroupedWide = false;
      for (int i = 0; i <= last; ++i)
        if (TabVisibleAt(i) && !Grouped(i) && TabWidth(i) > kTabFloor) ungroupedWide = true;
      const bool onlyUngrouped = ungroupedWide;
      if (!ungroupedWide) excess -= kTabStep;
      for (int rounds = 0; excess > 0 && rounds <= total; ++rounds) {
        const int t = widest(onlyUngrouped);
        if (t < 0 || TabWidth(t) <= kTabFloor) break;
        if (!onlyUngrouped && !Grouped(t)) break;
        const int d = std::min({kTabStep, excess, TabWidth(t) - kTabFloor});
        pages_[t]->ContentWidth -= d;
        excess -= d;
      }
      ShiftTabs(0, last);
    }
    Invalidate();
    return;
  }
  if (avail > total) {
    int spare = avail - total;
    bool shrunk = false;
    for (int i = 0; i <= last; ++i)
      if (TabVisibleAt(i) && pages_[i]->ContentWidth < pages_[i]->NaturalWidth) shrunk = true;
    if (shrunk) {
      if (groupedShrink > 0 && spare < groupedShrink) spare += std::min(kTabStep, groupedShrink - spare);
      while (spare > 0) {
        int pick = -1;
        for (bool grouped : {true, false}) {
          for (int i = 0; i <= last; ++i) {
            TLumPage* p = pages_[i];
            if (!TabVisibleAt(i) || Grouped(i) != grouped || p->ContentWidth >= p->NaturalWidth ||
                p->ContentWidth >= 1500)
              continue;
            if (pick < 0 || p->ContentWidth < pages_[pick]->ContentWidth) pick = i;
          }
          if (pick >= 0) break;
        }
        if (pick < 0) break;
        const int d = std::min({pages_[pick]->NaturalWidth - pages_[pick]->ContentWidth, kTabStep, spare});
        pages_[pick]->ContentWidth += d;
        spare -= d;
      }
      ShiftTabs(0, last);
      for (int i = 0; i <= last; ++i)
        if (TabVisibleAt(i) && pages_[i]->ContentWidth < pages_[i]->NaturalWidth) {
          Invalidate();
          return;
        }
    }
    auto spareNow = [&] { return avail - TotalTabWidth(0, last); };
    while (spare > 0 && spacing_ < tabSettings_.Spacing()) {
      ++spacing_;
      spare = spareNow();
      if (spare < 0) {
        --spacing_;
        break;
      }
      if (spare <= 0) break;
    }
    ShiftTabs(0, last);
    for (int* left : {&groupMarginLeft_, &marginLeft_}) {
      int* right = left == &marginLeft_ ? &marginRight_ : &groupMarginRight_;
      bool stop = false;
      while (!stop && (*left < tabSettings_.LeftMargin() || *right < tabSettings_.RightMargin())) {
        if (*left < tabSettings_.LeftMargin()) {
          ++*left;
          if (spareNow() < 0) {
            --*left;
            stop = true;
            break;
          }
        }
        if (*right < tabSettings_.RightMargin()) {
          ++*right;
          if (spareNow() < 0) {
            --*right;
            stop = true;
          }
        }
      }
      ShiftTabs(0, last);
    }
  }
  Invalidate();
}

void TRorIvezEviPager::ResetTabScroll() {
  firstTab_ = 0;
  scroller_.SetScrollMin(0);
  scroller_.SetScrollMax(0);
  scroller_.SetScrollMin(0);
  scroller_.SetScrollPosition(0);
  ArrangeTabs();
  UpdateTabScrollButtons();
}

TLumPageScrollButton* TRorIvezEviPager::ScrollButton(bool Right) {
  TLumPageScrollButton*& b = Right ? rightButton_ : leftButton_;
  if (!b) {
    b = new TLumPageScrollButton(this);
    b->SetParent(this);
    b->SetCornerStyle(Right ? 3 : 1);
    b->SetArrowDirection(Right ? 2 : 0);
    b->OnClick = [this, Right](vcl::TObject*) { ScrollTabs(Right ? 1 : -1); };
  }
  return b;
}

void TRorIvezEviPager::UpdateTabScrollButtons() {
  if (pages_.empty() || Loading() || ComponentState().Contains(vcl::csDesigning)) return;
  const vcl::TRect strip = GetTabsRect();
  int positions = 0;
  if (strip.Width() < TotalTabWidth(0, PageCount() - 1)) {
    int start = 0, sum = 0;
    const int visible = VisibleTabCount(0, PageCount() - 1);
    for (int round = 0; round < PageCount(); ++round) {
      int last = start;
      sum += std::max(1, TabsFitting(start, true, last));
      if (sum >= visible) break;
      start = last + 1;
      ++positions;
    }
  }
  scroller_.SetScrollMax(positions);
  scroller_.SetScrollPosition(std::clamp(scroller_.ScrollPosition(), scroller_.ScrollMin(), scroller_.ScrollMax()));
  for (bool right : {false, true}) {
    const bool need = right ? scroller_.CanScrollForward() : scroller_.CanScrollBack();
    TLumPageScrollButton* existing = right ? rightButton_ : leftButton_;
    if (!need) {
      if (existing) existing->SetVisible(false);
      continue;
    }
    TLumPageScrollButton* b = ScrollButton(right);
    const int w = 12, h = strip.Height() - 5;
    b->SetBounds(right ? strip.Right - w : strip.Left, strip.Top, w, h);
    b->Appearance()->Assign(CurrentStyler()->GlowButtonAppearance());
    b->SetVisible(true);
    b->BringToFront();
  }
}

void TRorIvezEviPager::ScrollTabsTo(int Index) {
  if (Index < 0 || Index >= PageCount()) return;
  const vcl::TRect strip = GetTabsRect();
  int target = Index;
  const int first = firstTab_;
  auto shiftAll = [&](int by) {
    for (TLumPage* p : pages_) p->TabLeft += by;
    Invalidate();
  };
  if (first < target) {
    while (target > 0) {
      int l1 = 0, l2 = 0;
      if (TabsFitting(target - 1, true, l1) > TabsFitting(target, true, l2))
        --target;
      else
        break;
    }
    if (first >= target) return;
    const int lastVisible = LastVisibleTab();
    for (int guard = 0; guard < 100000; ++guard) {
      int step = 5;
      bool end = false;
      const int right = pages_[lastVisible]->TabLeft + TabWidth(lastVisible);
      if (right - step <= strip.Right) {
        step = right - strip.Right;
        end = true;
      }
      if (pages_[target]->TabLeft - step <= strip.Left) {
        step = pages_[target]->TabLeft - strip.Left;
        end = true;
      }
      shiftAll(-step);
      if (end) break;
    }
  } else if (Index < first) {
    for (int guard = 0; guard < 100000; ++guard) {
      int step = 5;
      bool end = false;
      if (pages_[target]->TabLeft + step >= strip.Left) {
        step = strip.Left - pages_[target]->TabLeft;
        end = true;
      }
      shiftAll(step);
      if (end) break;
    }
  }
  firstTab_ = target;
  UpdateTabScrollButtons();
}

int TRorIvezEviPager::ScrollTabs(int Count) {
  if (Count < 0) {
    Count = std::max(Count, -(scroller_.ScrollPosition() - scroller_.ScrollMin()));
    if (!scroller_.CanScrollBack() || firstTab_ <= 0) return Count;
    scroller_.SetScrollPosition(scroller_.ScrollPosition() + Count);
    int start = firstTab_ - 1;
    for (int k = 0; k < -Count; ++k) {
      int last = start;
      TabsFitting(start, false, last);
      if (last < 2) {
        start = 0;
        break;
      }
      start = last - 1;
    }
    ScrollTabsTo(start);
  } else if (Count > 0) {
    Count = std::min(Count, scroller_.ScrollMax() - scroller_.ScrollPosition());
    if (!scroller_.CanScrollForward()) return Count;
    scroller_.SetScrollPosition(scroller_.ScrollPosition() + Count);
    int start = firstTab_, last = firstTab_;
    for (int k = 0; k < Count && start < PageCount(); ++k) {
      TabsFitting(start, true, last);
      start = last + 1;
    }
    ScrollTabsTo(std::min(last + 1, PageCount() - 1));
  }
  if (TLumPage* page = ActivePage()) page->Invalidate();
  return Count;
}

int TRorIvezEviPager::TabsFitting(int Index, bool Forward, int& Last) const {
  if (Index < 0 || Index >= PageCount()) return 0;
  const vcl::TRect strip = GetTabsRect();
  int x = strip.Left, count = 0;
  for (int i = Index; Forward ? i < PageCount() : i >= 0; i += Forward ? 1 : -1) {
    if (!TabVisibleAt(i)) continue;
    if (x + TabWidth(i) >= strip.Right) break;
    ++count;
    Last = i;
    x += TabWidth(i) + spacing_;
  }
  return count;
}

int TRorIvezEviPager::FirstVisibleTab() const {
  for (int i = 0; i < PageCount(); ++i)
    if (TabVisibleAt(i)) return i;
  return -1;
}

int TRorIvezEviPager::LastVisibleTab() const {
  for (int i = PageCount() - 1; i >= 0; --i)
    if (TabVisibleAt(i)) return i;
  return -1;
}

int TRorIvezEviPager::VisibleTabCount(int From, int To) const {
  int n = 0;
  for (int i = std::max(0, From); i <= std::min(To, PageCount() - 1); ++i) n += TabVisibleAt(i);
  return n;
}

bool TRorIvezEviPager::ShowTabSeparator(int Index) const {
  return spacing_ <= tabSettings_.SpacingLimit() && marginLeft_ <= tabSettings_.LeftMargin() &&
         marginRight_ <= tabSettings_.RightMargin() && Index >= 0 && Index < PageCount() &&
         Index != FirstVisibleTab();
}

}  // namespace ribbon
