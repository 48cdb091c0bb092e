// The rows of a dock panel: where a toolbar goes in its row, how the row
// spreads its toolbars into free space and squeezes them where they
// overlap, how a dragged toolbar moves along its row and across rows, and
// how the panel's thickness follows the rows.
#include <algorithm>

#include "ribbon/RorIvezEviDockPanel.h"
#include "rtl/Exceptions.h"

namespace ribbon {

namespace {

// Along and across a row: x and y of a horizontal panel, y and x of a
// vertical one.
int RowAlongPos(const TLumCustomToolBar* t, bool v) { return v ? t->Top() : t->Left(); }
int RowAlongLen(const TLumCustomToolBar* t, bool v) { return v ? t->Height() : t->Width(); }
int RowMaxLen(TLumCustomToolBar* t, bool v) {
  const vcl::TSizeConstraints* k = t->Constraints();
  return v ? k->MaxHeight : k->MaxWidth;
}
int RowMinLen(TLumCustomToolBar* t, bool v) {
  const vcl::TSizeConstraints* k = t->Constraints();
  return v ? k->MinHeight : k->MinWidth;
}

// Bounds set by the rows: the toolbar does not ask the rows again.
void RowSetBounds(TLumCustomToolBar* t, int l, int tp, int w, int h) {
  const bool flag = t->BoundsSetByPanel();
  t->SetBoundsSetByPanel(true);
  t->SetBounds(l, tp, w, h);
  t->SetBoundsSetByPanel(flag);
}

void RowPlaceAlong(TLumCustomToolBar* t, bool v, int pos, int len) {
  if (v)
    RowSetBounds(t, t->Left(), pos, t->Width(), len);
  else
    RowSetBounds(t, pos, t->Top(), len, t->Height());
}

void RowPlaceAcross(TLumCustomToolBar* t, bool v, int across) {
  if (v)
    RowSetBounds(t, across, t->Top(), t->Width(), t->Height());
  else
    RowSetBounds(t, t->Left(), across, t->Width(), t->Height());
}

// A full-size toolbar spans its row less the spacing at each end.
void RowMakeFull(TLumCustomToolBar* t, bool v, int start, int end) {
  vcl::TSizeConstraints* k = t->Constraints();
  const int len = end - start - 4;
  if (v) {
    k->MinHeight = 0;
    k->MaxHeight = len;
    k->MinHeight = len;
  } else {
    k->MinWidth = 0;
    k->MaxWidth = len;
    k->MinWidth = len;
  }
  RowPlaceAlong(t, v, start + 2, len);
}

// The positions and lengths of a row's toolbars while a routine works them
// out; applied at the end.
struct RowPlan {
  std::vector<TLumCustomToolBar*> bars;
  std::vector<int> pos, len, maxLen, minLen;
  int start = 0, end = 0;
  bool v = false;
  static constexpr int kSpacing = 2;

  RowPlan(const std::vector<TLumCustomToolBar*>& b, bool vertical, int s, int e) : bars(b), start(s), end(e), v(vertical) {
    for (TLumCustomToolBar* t : bars) {
      pos.push_back(RowAlongPos(t, v));
      len.push_back(RowAlongLen(t, v));
      maxLen.push_back(RowMaxLen(t, v));
      minLen.push_back(RowMinLen(t, v));
    }
  }
  int n() const { return static_cast<int>(bars.size()); }
  int GapAfter(int k) const {
    return k + 1 < n() ? pos[k + 1] - pos[k] - len[k] - kSpacing : end - pos[k] - len[k] - kSpacing;
  }
  int GapBefore(int j) const {
    return j == 0 ? pos[0] - start - kSpacing : pos[j] - pos[j - 1] - len[j - 1] - kSpacing;
  }
  int Grow(int j) const { return maxLen[j] > 0 ? std::max(0, maxLen[j] - len[j]) : 0; }
  int Shrink(int j) const { return std::max(0, len[j] - minLen[j]); }
  void Shift(int from, int to, int d) {
    for (int i = from; i <= to; ++i) pos[i] += d;
  }
  // An overlap o after toolbar k: the gaps before k and the toolbars
  // before it take it, then the toolbars shrink. Answers what is left.
  int Squeeze(int k, int o) {
    for (int j = k; j >= 0 && o > 0; --j) {
      const int gb = GapBefore(j);
      if (gb <= 0) continue;
      const int m = std::min(gb, o);
      Shift(j, k, -m);
      o -= m;
    }
    for (int j = k; j >= 0 && o > 0; --j) {
      const int s = std::min(Shrink(j), o);
      if (s <= 0) continue;
      len[j] -= s;
      Shift(j + 1, k, -s);
      o -= s;
    }
    return o;
  }
  void Apply(const TLumCustomToolBar* except = nullptr) const {
    for (int i = 0; i < n(); ++i) {
      if (bars[i] == except) continue;
      if (pos[i] != RowAlongPos(bars[i], v) || len[i] != RowAlongLen(bars[i], v))
        RowPlaceAlong(bars[i], v, pos[i], len[i]);
    }
  }
};

}  // namespace

// ------------------------------------------------------------------ row

int TRowCollectionItem::Index() const {
  for (int i = 0; i < collection_->Count(); ++i)
    if (collection_->rows_[static_cast<size_t>(i)].get() == this) return i;
  return -1;
}

int TRowCollectionItem::IndexOf(const TLumCustomToolBar* ToolBar) const {
  auto it = std::find(toolBars_.begin(), toolBars_.end(), ToolBar);
  return it == toolBars_.end() ? -1 : static_cast<int>(it - toolBars_.begin());
}

bool TRowCollectionItem::Vertical() const { return collection_->panel_->VerticalPanel(); }
int TRowCollectionItem::RowStart() const { return Vertical() ? rect_.Top : rect_.Left; }
int TRowCollectionItem::RowEnd() const { return Vertical() ? rect_.Bottom : rect_.Right; }

bool TRowCollectionItem::Accepts(const TLumCustomToolBar* ToolBar) const {
  if (!toolBars_.empty() && toolBars_.front()->FullSize()) return false;
  return !ToolBar->FullSize() || toolBars_.empty();
}

int TRowCollectionItem::Thickness() const {
  int t = 26;
  for (TLumCustomToolBar* b : toolBars_) t = std::max(t, Vertical() ? b->Width() : b->Height());
  return t;
}

int TRowCollectionItem::AddToolBar(TLumCustomToolBar* ToolBar) {
  if (IndexOf(ToolBar) >= 0 || !Accepts(ToolBar)) return -1;
  const bool v = Vertical();
  if (ToolBar->FullSize()) {
    RowMakeFull(ToolBar, v, RowStart(), RowEnd());
    ToolBar->UpdateOverflow();
  } else if (toolBars_.empty()) {
    RowPlaceAlong(ToolBar, v, v ? RowEnd() - 2 - ToolBar->Height() : RowStart() + 2, RowAlongLen(ToolBar, v));
  } else {
    const TLumCustomToolBar* prev = toolBars_.back();
    RowPlaceAlong(ToolBar, v, RowAlongPos(prev, v) + RowAlongLen(prev, v) + 2, RowAlongLen(ToolBar, v));
  }
  toolBars_.push_back(ToolBar);
  ToolBar->SetRowIndex(Index());
  collection_->UpdateRows();
  return ToolBar->RowIndex();
}

void TRowCollectionItem::InsertToolBar(TLumCustomToolBar* ToolBar) {
  if (IndexOf(ToolBar) >= 0 || ToolBar->FullSize() || !Accepts(ToolBar)) return;
  const bool v = Vertical();
  auto at = std::find_if(toolBars_.begin(), toolBars_.end(), [&](const TLumCustomToolBar* t) {
    return RowAlongPos(t, v) > RowAlongPos(ToolBar, v);
  });
  toolBars_.insert(at, ToolBar);
  ToolBar->SetRowIndex(Index());
  collection_->UpdateRows();
}

void TRowCollectionItem::RemoveToolBar(TLumCustomToolBar* ToolBar, bool DeleteEmpty) {
  const int at = IndexOf(ToolBar);
  if (at < 0) return;
  toolBars_.erase(toolBars_.begin() + at);
  ToolBar->SetRowIndex(-1);
  Arrange();
  if (DeleteEmpty) collection_->DeleteRowIfEmpty(this);
}

void TRowCollectionItem::Forget(const vcl::TControl* ToolBar) {
  toolBars_.erase(std::remove_if(toolBars_.begin(), toolBars_.end(),
                                 [&](const TLumCustomToolBar* t) { return static_cast<const vcl::TControl*>(t) == ToolBar; }),
                  toolBars_.end());
}

void TRowCollectionItem::Arrange() {
  if (toolBars_.empty()) return;
  const bool v = Vertical();
  const int index = Index();
  const int across = v ? rect_.Left : rect_.Top;
  for (TLumCustomToolBar* t : toolBars_) {
    if ((v ? t->Left() : t->Top()) != across) RowPlaceAcross(t, v, across);
    t->SetRowIndex(index);
  }
  if (toolBars_.front()->FullSize()) {
    TLumCustomToolBar* t = toolBars_.front();
    if (RowAlongPos(t, v) != RowStart() + 2 || RowAlongLen(t, v) != RowEnd() - RowStart() - 4)
      RowMakeFull(t, v, RowStart(), RowEnd());
    return;
  }
  RowPlan p(toolBars_, v, RowStart(), RowEnd());
  const int n = p.n();
  for (int k = 0; k < n; ++k) {
    int g = p.GapAfter(k);
    if (g > 0) {
      // The toolbars up to k grow into the gap after k, the later ones
      // moving along; then the next one grows back into what is left.
      for (int j = k; j >= 0 && g > 0; --j) {
        const int gr = std::min(p.Grow(j), g);
        if (gr <= 0) continue;
        p.len[j] += gr;
        p.Shift(j + 1, k, gr);
        g -= gr;
      }
      if (g > 0 && k + 1 < n) {
        const int gr = std::min(p.Grow(k + 1), g);
        p.pos[k + 1] -= gr;
        p.len[k + 1] += gr;
      }
    } else if (g < 0) {
      p.Squeeze(k, -g);
    }
    // Toolbar k takes its full length from free space before it.
    int d = p.Grow(k);
    for (int j = k; j >= 0 && d > 0; --j) {
      const int gb = p.GapBefore(j);
      if (gb <= 0) continue;
      const int m = std::min(gb, d);
      p.Shift(j, k, -m);
      p.len[k] += m;
      d -= m;
    }
  }
  if (p.pos[0] < p.start + RowPlan::kSpacing) p.pos[0] = p.start + RowPlan::kSpacing;
  for (int j = 0; j + 1 < n; ++j) {
    const int ov = p.pos[j] + p.len[j] + RowPlan::kSpacing - p.pos[j + 1];
    if (ov > 0) p.pos[j + 1] += ov;
  }
  if (const int ov = -p.GapAfter(n - 1); ov > 0) p.Squeeze(n - 1, ov);
  p.Apply();
}

bool TRowCollectionItem::NeedsArrange() const {
  if (toolBars_.empty()) return false;
  const bool v = Vertical();
  if (toolBars_.front()->FullSize()) {
    const TLumCustomToolBar* t = toolBars_.front();
    return RowAlongPos(t, v) != RowStart() + 2 || RowAlongLen(t, v) != RowEnd() - RowStart() - 4;
  }
  RowPlan p(toolBars_, v, RowStart(), RowEnd());
  int sum = 0;
  bool canGrow = false;
  for (int k = 0; k < p.n(); ++k) {
    const int g = p.GapAfter(k);
    if (g < 0) return true;
    sum += g;
    canGrow = canGrow || p.Grow(k) > 0;
  }
  return sum > 0 && canGrow;
}

void TRowCollectionItem::MoveAlongRow(TLumCustomToolBar* ToolBar, int& NewLeft, int& NewWidth) {
  const int i = IndexOf(ToolBar);
  if (i < 0) throw rtl::Exception("Invalid ToolBar Index");
  const bool v = Vertical();
  RowPlan p(toolBars_, v, RowStart(), RowEnd());
  const int n = p.n();
  const int cur = p.pos[i];
  if (NewLeft < cur) {
    NewLeft = std::max(NewLeft, p.start + 2);
    int s = cur - NewLeft;
    if (i == 0) {
      p.pos[0] = NewLeft;
      s = 0;
    }
    for (int j = i; j >= 0 && s > 0; --j) {
      const int gb = p.GapBefore(j);
      if (gb <= 0) continue;
      const int m = std::min(gb, s);
      p.Shift(j, i, -m);
      s -= m;
    }
    if (s > 0 && p.GapAfter(n - 1) <= 0) {
      // The toolbars before it give up length to it and those after it.
      int growable = 0;
      for (int t = i; t < n; ++t) growable += p.Grow(t);
      for (int j = i - 1; j >= 0 && s > 0 && growable > 0; --j) {
        const int sh = std::min({p.Shrink(j), s, growable});
        if (sh <= 0) continue;
        p.len[j] -= sh;
        p.Shift(j + 1, i - 1, -sh);
        int shift = sh;
        for (int t = i; t < n; ++t) {
          p.pos[t] -= shift;
          const int take = std::min(p.Grow(t), shift);
          p.len[t] += take;
          shift -= take;
        }
        growable -= sh;
        s -= sh;
      }
    }
    if (s > 0 && i > 0 && !collection_->panel_->Loading() && p.pos[i - 1] + 5 >= p.pos[i] - s) {
      // Close enough to its predecessor: the two change places.
      p.Apply(ToolBar);
      const int at = p.pos[i - 1];
      std::swap(toolBars_[i], toolBars_[i - 1]);
      RowPlaceAlong(ToolBar, v, at, p.len[i]);
      Arrange();
      NewLeft = RowAlongPos(ToolBar, v);
      NewWidth = RowAlongLen(ToolBar, v);
      return;
    }
    p.Apply(ToolBar);
    NewLeft = p.pos[i];
    NewWidth = p.len[i];
    return;
  }
  if (NewLeft > cur) {
    int s = NewLeft - cur;
    for (int j = i; j < n && s > 0; ++j) {
      const int ga = p.GapAfter(j);
      if (ga <= 0) continue;
      const int m = std::min(ga, s);
      p.Shift(i, j, m);
      s -= m;
    }
    int freeBefore = 0;
    for (int j = 0; j <= i; ++j) freeBefore += std::max(0, p.GapBefore(j));
    if (s > 0 && freeBefore <= 0) {
      // The toolbars after it give up length, those before it take it.
      int growable = 0;
      for (int t = 0; t < i; ++t) growable += p.Grow(t);
      for (int j = n - 1; j > i && s > 0 && growable > 0; --j) {
        const int sh = std::min({p.Shrink(j), s, growable});
        if (sh <= 0) continue;
        p.len[j] -= sh;
        p.pos[j] += sh;
        p.Shift(i, j - 1, sh);
        int extra = 0, rest = sh;
        for (int t = 0; t < i; ++t) {
          p.pos[t] += extra;
          const int take = std::min(p.Grow(t), rest);
          p.len[t] += take;
          rest -= take;
          extra += take;
        }
        growable -= sh;
        s -= sh;
      }
    }
    p.Apply(ToolBar);
    NewLeft = p.pos[i];
    NewWidth = p.len[i];
    return;
  }
  if (NewWidth < p.len[i]) {
    if (n == 1) {
      RowPlaceAlong(ToolBar, v, cur, NewWidth);
      Arrange();
    }
    NewLeft = RowAlongPos(ToolBar, v);
    NewWidth = n == 1 ? RowAlongLen(ToolBar, v) : NewWidth;
    return;
  }
  if (NewWidth > p.len[i]) {
    int e = NewWidth - p.len[i];
    for (int j = i; j < n && e > 0; ++j) {
      const int ga = p.GapAfter(j);
      if (ga <= 0) continue;
      const int m = std::min(ga, e);
      p.Shift(i + 1, j, m);
      p.len[i] += m;
      e -= m;
    }
    for (int j = i; j >= 0 && e > 0; --j) {
      const int gb = p.GapBefore(j);
      if (gb <= 0) continue;
      const int m = std::min(gb, e);
      p.Shift(j, i, -m);
      p.len[i] += m;
      e -= m;
    }
    p.Apply(ToolBar);
    NewLeft = p.pos[i];
    NewWidth = p.len[i];
    return;
  }
  NewWidth = p.len[i];
}

// ------------------------------------------------------------ collection

TRowCollection::~TRowCollection() {
  for (auto& r : rows_)
    for (TLumCustomToolBar* t : r->toolBars_) t->SetRowIndex(-1);
}

TRowCollectionItem* TRowCollection::GetRow(int Index) const {
  if (Index < 0 || Index >= Count()) throw rtl::Exception("Invalid Row Index");
  return rows_[static_cast<size_t>(Index)].get();
}

void TRowCollection::Renumber() {
  for (int i = 0; i < Count(); ++i)
    for (TLumCustomToolBar* t : rows_[static_cast<size_t>(i)]->toolBars_) t->SetRowIndex(i);
}

TRowCollectionItem* TRowCollection::AddRow() { return InsertRow(Count()); }

TRowCollectionItem* TRowCollection::InsertRow(int Index) {
  Index = std::clamp(Index, 0, Count());
  auto* row = new TRowCollectionItem(this);
  rows_.insert(rows_.begin() + Index, std::unique_ptr<TRowCollectionItem>(row));
  Renumber();
  UpdateRows();
  return row;
}

void TRowCollection::DeleteRow(int Index) {
  if (Index < 0 || Index >= Count()) throw rtl::Exception("Invalid Row Index");
  for (TLumCustomToolBar* t : rows_[static_cast<size_t>(Index)]->toolBars_) t->SetRowIndex(-1);
  rows_.erase(rows_.begin() + Index);
  Renumber();
}

void TRowCollection::Clear() {
  while (Count() > 0) DeleteRow(Count() - 1);
}

int TRowCollection::RowOf(const TLumCustomToolBar* ToolBar) const {
  for (int i = 0; i < Count(); ++i)
    if (rows_[static_cast<size_t>(i)]->IndexOf(ToolBar) >= 0) return i;
  return -1;
}

bool TRowCollection::PanelMayChange() const {
  return !(panel_->LockHeight() && panel_->PanelLoaded() && !panel_->Designing());
}

void TRowCollection::MoveToRow(TLumCustomToolBar* ToolBar, int Index) {
  TRowCollectionItem* target = GetRow(Index);
  const int from = RowOf(ToolBar);
  if (from == Index || !target->Accepts(ToolBar)) return;
  TRowCollectionItem* old = from >= 0 ? GetRow(from) : nullptr;
  if (old) old->RemoveToolBar(ToolBar, false);
  target->AddToolBar(ToolBar);
  if (old) DeleteRowIfEmpty(old);
}

void TRowCollection::MakeOwnRow(TLumCustomToolBar* ToolBar) {
  const int from = RowOf(ToolBar);
  int at = from >= 0 ? from : Count();
  if (from >= 0) {
    TRowCollectionItem* old = GetRow(from);
    old->RemoveToolBar(ToolBar, false);
    if (old->ToolBarCount() == 0 && PanelMayChange()) DeleteRow(from);
  }
  TRowCollectionItem* row = InsertRow(at);
  row->AddToolBar(ToolBar);
  row->Arrange();
}

void TRowCollection::DeleteRowIfEmpty(TRowCollectionItem* Row) {
  if (!Row || Row->ToolBarCount() > 0 || !PanelMayChange()) return;
  const int at = Row->Index();
  if (at < 0) return;
  DeleteRow(at);
  UpdateRows();
}

void TRowCollection::UpdateRows() {
  const bool v = panel_->VerticalPanel();
  int y = 1;
  for (auto& r : rows_) {
    const int t = r->Thickness();
    r->rect_ = v ? vcl::TRect{y, 1, y + t + 1, panel_->Height() - 1} : vcl::TRect{1, y, panel_->Width() - 1, y + t + 1};
    r->Arrange();
    y += t + 1;
  }
  if (PanelMayChange()) panel_->ResizeToRows();
}

void TRowCollection::MoveAcrossRows(TLumCustomToolBar* ToolBar, int& NewTop, int& NewHeight) {
  const bool v = panel_->VerticalPanel();
  const int ri = RowOf(ToolBar);
  if (ri < 0) return;
  TRowCollectionItem* r = GetRow(ri);
  const int top = v ? r->rect_.Left : r->rect_.Top;
  bool moved = false;
  // Into row `at` when it takes the toolbar, else a new row there.
  auto takeInto = [&](int at, int newRowAt) {
    if (GetRow(at)->Accepts(ToolBar)) {
      MoveToRow(ToolBar, at);
      moved = true;
    } else if (PanelMayChange()) {
      r->RemoveToolBar(ToolBar, false);
      const int old = r->Index();
      TRowCollectionItem* row = InsertRow(newRowAt);
      row->AddToolBar(ToolBar);
      DeleteRowIfEmpty(GetRow(old >= newRowAt ? old + 1 : old));
      moved = true;
    }
  };
  if (NewTop >= top - 5 && NewTop <= top - 3 && r->ToolBarCount() >= 2) {
    if (PanelMayChange()) {
      r->RemoveToolBar(ToolBar, false);
      InsertRow(ri)->AddToolBar(ToolBar);
      moved = true;
    }
  } else if (NewTop < top - 6 && ri > 0) {
    for (int i = 0; i < Count(); ++i) {
      if (i == ri) continue;
      const vcl::TRect& rc = GetRow(i)->rect_;
      const int rt = v ? rc.Left : rc.Top, rb = v ? rc.Right : rc.Bottom;
      if (rt <= NewTop && NewTop < rb) {
        takeInto(i, i);
        break;
      }
    }
  } else if (NewTop >= top + 3 && NewTop <= top + 5 && r->ToolBarCount() >= 2) {
    if (PanelMayChange()) {
      r->RemoveToolBar(ToolBar, false);
      InsertRow(ri + 1)->AddToolBar(ToolBar);
      moved = true;
    }
  } else if (NewTop > top + 5 && ri < Count() - 1) {
    for (int i = ri + 1; i < Count(); ++i) {
      const vcl::TRect& rc = GetRow(i)->rect_;
      if (NewTop < (v ? rc.Right : rc.Bottom)) {
        takeInto(i, i + 1);
        break;
      }
    }
  } else if (NewTop > top + 5 && panel_->Designing() && r->ToolBarCount() > 1) {
    r->RemoveToolBar(ToolBar, false);
    AddRow()->AddToolBar(ToolBar);
    moved = true;
  }
  NewTop = moved ? (v ? ToolBar->Left() : ToolBar->Top()) : top;
  const int thick = v ? ToolBar->Width() : ToolBar->Height();
  if (NewHeight != thick) {
    if (v)
      RowSetBounds(ToolBar, ToolBar->Left(), ToolBar->Top(), NewHeight, ToolBar->Height());
    else
      RowSetBounds(ToolBar, ToolBar->Left(), ToolBar->Top(), ToolBar->Width(), NewHeight);
    UpdateRows();
  }
}

void TRowCollection::ToolBarVisibilityChanged(TLumCustomToolBar* ToolBar) {
  const int ri = ToolBar->RowIndex();
  if (!ToolBar->Visible()) {
    if (ri >= 0 && ri < Count()) {
      panel_->remembered_[ToolBar] = ri;
      GetRow(ri)->RemoveToolBar(ToolBar, true);
    }
    return;
  }
  if (RowOf(ToolBar) >= 0) return;
  auto it = panel_->remembered_.find(ToolBar);
  const int was = it == panel_->remembered_.end() ? -1 : it->second;
  const bool valid = was >= 0 && was < Count();
  if (!panel_->LockHeight()) {
    if (valid && !panel_->Designing() && GetRow(was)->Accepts(ToolBar) && !ToolBar->FullSize()) {
      GetRow(was)->InsertToolBar(ToolBar);
      return;
    }
    AddRow()->AddToolBar(ToolBar);
    return;
  }
  if (Count() > 0) {
    if (valid && GetRow(was)->Accepts(ToolBar) && !ToolBar->FullSize())
      GetRow(was)->InsertToolBar(ToolBar);
    else
      GetRow(Count() - 1)->AddToolBar(ToolBar);
    return;
  }
  AddRow()->AddToolBar(ToolBar);
}

}  // namespace ribbon
