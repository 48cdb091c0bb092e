// The dock panel: its settings, styler, the toolbars it takes and lets go,
// its painting, and the saved layout of its rows.
#include "ribbon/RorIvezEviDockPanel.h"

#include <algorithm>
#include <string>

#include "controls/LumMenus.h"
#include "ribbon/RorIvezEviDraw.h"
#include "rtl/Exceptions.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

namespace ribbon {

namespace {

bool DockSameName(const rtl::AnsiString& a, const rtl::AnsiString& b) { return rtl::SameText(a, b); }

}  // namespace

int StoredCoordinate(int Value) { return std::clamp(Value, -32768, 32767); }

namespace {

}  // namespace

vcl::TAlign TLumDockPanel::ControlAlignOf(TDockAlign Value) {
  switch (Value) {
    case daLeft:
      return vcl::TAlign::alLeft;
    case daRight:
      return vcl::TAlign::alRight;
    case daBottom:
      return vcl::TAlign::alBottom;
    case daTop:
      break;
  }
  return vcl::TAlign::alTop;
}

TLumDockPanel::TLumDockPanel(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {
  vcl::TControlStyle style = ControlStyle();
  style.Exclude(vcl::csCaptureMouse);
  style.Exclude(vcl::csClickEvents);
  style.Exclude(vcl::csOpaque);
  style.Include(vcl::csAcceptsControls);
  SetControlStyle(style);
  SetAlign(vcl::TAlign::alTop);
  internalStyler_ = new TCustomRorIvezEviStyler(this);
  internalStyler_->SetName("InternalStyler");
  internalStyler_->RegisterControl(this);
  rows_ = std::make_unique<TRowCollection>(this);
  persistence_ = new TPersistence(this);
  persistence_->OnChange = [this](vcl::TObject*) { PersistenceChanged(); };
  SetHeight(minimumSize_);
}

void TLumDockPanel::SaveOnTeardown() {
  if (layoutSaved_ || !persistence_->Enabled() || Designing()) return;
  layoutSaved_ = true;
  try {
    SaveLayout();
  } catch (const rtl::Exception&) {
    // A store that cannot be written loses the layout, not the program.
  }
}

TLumDockPanel::~TLumDockPanel() {
  SaveOnTeardown();
  if (toolBarStyler_) {
    toolBarStyler_->UnregisterControl(this);
    toolBarStyler_->RemoveFreeNotification(this);
    toolBarStyler_ = nullptr;
  }
  // The toolbars drawing with the own styler drop it while it stands (a
  // freed styler tells toolbars nothing: they learn it from their parent).
  TCustomRorIvezEviStyler* own = internalStyler_;
  internalStyler_ = nullptr;
  own->UnregisterControl(this);
  const std::vector<vcl::TControl*> users = own->Controls();
  for (vcl::TControl* c : users)
    if (auto* t = dynamic_cast<TLumCustomToolBar*>(c); t && t->ToolBarStyler() == own) t->SetToolBarStyler(nullptr);
  delete own;
  // The toolbars outlive the rows for a moment (they go with the window):
  // they forget the panel now.
  for (TLumCustomToolBar* t : docked_) {
    t->dockPanel_ = nullptr;
    t->rowIndex_ = -1;
    if (t->homeDockPanel_ == this) t->homeDockPanel_ = nullptr;
  }
  docked_.clear();
  hidden_.clear();
  rows_.reset();
  delete persistence_;
  persistence_ = nullptr;
}

void TLumDockPanel::SetParent(vcl::TWinControl* AParent) {
  if (dynamic_cast<TLumDockPanel*>(AParent) || dynamic_cast<TLumCustomToolBar*>(AParent))
    throw rtl::Exception("Invalid Parent");
  vcl::TCustomControl::SetParent(AParent);
}

void TLumDockPanel::SetDockAlign(TDockAlign Value) {
  if (Value == align_) return;
  align_ = Value;
  SetAlign(ControlAlignOf(Value));
  for (TLumCustomToolBar* t : docked_) {
    t->SetBoundsSetByPanel(true);
    t->SetOrientation(Value);
    t->SetBoundsSetByPanel(false);
  }
  ArrangeRows();
}

void TLumDockPanel::SetMinimumSize(int Value) {
  if (Value == minimumSize_ || Value <= 0) return;
  minimumSize_ = Value;
  if (!Designing()) rows_->UpdateRows();
}

void TLumDockPanel::SetUseRunTimeHeight(bool Value) {
  if (Value == useRunTimeHeight_) return;
  useRunTimeHeight_ = Value;
  ArrangeRows();
}

void TLumDockPanel::ApplyMenuStyler() {
  if (auto* menu = dynamic_cast<controls::TLumPopupMenu*>(PopupMenu()))
    if (TCustomRorIvezEviStyler* s = CurrentStyler()) menu->SetMenuStyler(s->CurrentMenuStyler());
}

void TLumDockPanel::SetPopupMenu(vcl::TPopupMenu* Value) {
  vcl::TCustomControl::SetPopupMenu(Value);
  ApplyMenuStyler();
}

void TLumDockPanel::SetToolBarStyler(TCustomRorIvezEviStyler* Value) {
  if (Value && Value == toolBarStyler_) return;
  if (toolBarStyler_ && toolBarStyler_ != internalStyler_) {
    toolBarStyler_->UnregisterControl(this);
    toolBarStyler_->RemoveFreeNotification(this);
  }
  toolBarStyler_ = Value == internalStyler_ ? nullptr : Value;
  if (toolBarStyler_) {
    toolBarStyler_->FreeNotification(this);
    toolBarStyler_->RegisterControl(this);
  }
  if (!Destroying() && !Loading())
    for (TLumCustomToolBar* t : docked_) {
      t->SetParentStyler(t->ParentStyler());
      t->Invalidate();
    }
  ApplyMenuStyler();
  Invalidate();
}

void TLumDockPanel::StylerChanged(int Code) {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  if (!s) return;
  SetColor(s->DockColor()->Color());
  if (Code == scMenuStyler) ApplyMenuStyler();
  Invalidate();
}

void TLumDockPanel::PersistenceChanged() {
  for (int r = 0; r < rows_->Count(); ++r) {
    TRowCollectionItem* row = rows_->GetRow(r);
    for (int i = 0; i < row->ToolBarCount(); ++i) {
      TPersistence* p = row->ToolBar(i)->Persistence();
      p->SetEnabled(persistence_->Enabled());
      p->SetKey(persistence_->Key());
      p->SetLocation(persistence_->Location());
    }
  }
}

bool TLumDockPanel::HasRowFor(const TLumCustomToolBar* ToolBar) const {
  for (int i = 0; i < rows_->Count(); ++i)
    if (rows_->GetRow(i)->Accepts(ToolBar)) return true;
  return false;
}

int TLumDockPanel::DockToolBar(TLumCustomToolBar* ToolBar) {
  int result = 0;
  TRowCollectionItem* lockedRow = nullptr;
  if (lockHeight_ && !Designing() && panelLoaded_) {
    const int n = rows_->Count();
    const bool fromLast = align_ == daLeft || align_ == daTop;
    for (int k = 0; k < n && !lockedRow; ++k) {
      TRowCollectionItem* row = rows_->GetRow(fromLast ? n - 1 - k : k);
      if (row->Accepts(ToolBar)) lockedRow = row;
    }
    if (!lockedRow) return -1;
  }
  ToolBar->dockPanel_ = nullptr;
  ToolBar->SetOrientation(align_);
  ToolBar->dockPanel_ = this;
  if (std::find(docked_.begin(), docked_.end(), ToolBar) == docked_.end()) docked_.push_back(ToolBar);
  ToolBar->FreeNotification(this);
  TPersistence* p = ToolBar->Persistence();
  p->SetEnabled(persistence_->Enabled());
  p->SetKey(persistence_->Key());
  p->SetLocation(persistence_->Location());
  if (lockedRow)
    result = lockedRow->AddToolBar(ToolBar);
  else if (!Loading())
    result = rows_->AddRow()->AddToolBar(ToolBar);
  return result;
}

void TLumDockPanel::UndockToolBar(TLumCustomToolBar* ToolBar) {
  if (!Loading()) {
    const int ri = ToolBar->RowIndex();
    if (ri >= 0 && ri < rows_->Count()) rows_->GetRow(ri)->RemoveToolBar(ToolBar, true);
  }
  for (int i = 0; i < rows_->Count(); ++i) rows_->GetRow(i)->Forget(ToolBar);
  ToolBar->rowIndex_ = -1;
  docked_.erase(std::remove(docked_.begin(), docked_.end(), ToolBar), docked_.end());
  hidden_.erase(std::remove(hidden_.begin(), hidden_.end(), ToolBar), hidden_.end());
  remembered_.erase(ToolBar);
}

void TLumDockPanel::ToolBarMoved(TLumCustomToolBar* ToolBar, int& NewLeft, int& NewTop, int& NewWidth,
                                 int& NewHeight) {
  if (Loading() || !ToolBar->Visible()) return;
  const int ri = ToolBar->RowIndex();
  if (ri < 0 || ri >= rows_->Count()) return;
  const bool v = VerticalPanel();
  const bool alongAsked =
      v ? (NewTop != ToolBar->Top() || NewHeight != ToolBar->Height()) : (NewLeft != ToolBar->Left() || NewWidth != ToolBar->Width());
  const bool acrossAsked =
      v ? (NewLeft != ToolBar->Left() || NewWidth != ToolBar->Width()) : (NewTop != ToolBar->Top() || NewHeight != ToolBar->Height());
  if (acrossAsked) {
    int& across = v ? NewLeft : NewTop;
    int& thick = v ? NewWidth : NewHeight;
    rows_->MoveAcrossRows(ToolBar, across, thick);
    thick = v ? ToolBar->Width() : ToolBar->Height();
  }
  const int now = ToolBar->RowIndex();
  if (alongAsked && now >= 0 && now < rows_->Count()) {
    int& along = v ? NewTop : NewLeft;
    int& len = v ? NewHeight : NewWidth;
    rows_->GetRow(now)->MoveAlongRow(ToolBar, along, len);
  } else {
    (v ? NewTop : NewLeft) = v ? ToolBar->Top() : ToolBar->Left();
    (v ? NewHeight : NewWidth) = v ? ToolBar->Height() : ToolBar->Width();
  }
}

void TLumDockPanel::ToolBarVisibleChanged(TLumCustomToolBar* ToolBar) {
  if (std::find(docked_.begin(), docked_.end(), ToolBar) == docked_.end()) return;
  hidden_.erase(std::remove(hidden_.begin(), hidden_.end(), ToolBar), hidden_.end());
  if (!ToolBar->Visible()) hidden_.push_back(ToolBar);
  if (!Loading() && !loadingLayout_) rows_->ToolBarVisibilityChanged(ToolBar);
}

void TLumDockPanel::ToolBarResized(TLumCustomToolBar* ToolBar) {
  if (ToolBar->BoundsSetByPanel() || Loading()) return;
  ArrangeRows();
}

void TLumDockPanel::ArrangeRows() {
  if (Loading()) return;
  rows_->UpdateRows();
}

void TLumDockPanel::UpdateRowsNeeded() {
  for (int i = 0; i < rows_->Count(); ++i)
    if (rows_->GetRow(i)->NeedsArrange()) rows_->GetRow(i)->Arrange();
}

void TLumDockPanel::ResizeToRows() {
  const bool v = VerticalPanel();
  int size = minimumSize_;
  const int n = rows_->Count();
  if (n > 0) {
    const vcl::TRect& last = rows_->GetRow(n - 1)->Rect();
    size = v ? last.Right + 1 : last.Bottom;
  }
  if (Designing() && !useRunTimeHeight_) size = n > 0 ? size + 13 : (v ? 2 + 13 : 13);
  if (v) {
    if (size == Width()) return;
    if (align_ == daRight && size > Width())
      SetBounds(Left() - (size - Width()), Top(), size, Height());
    else
      SetWidth(size);
  } else {
    if (size == Height()) return;
    if (align_ == daBottom && size > Height())
      SetBounds(Left(), Top() - (size - Height()), Width(), size);
    else
      SetHeight(size);
  }
}

void TLumDockPanel::Loaded() {
  vcl::TCustomControl::Loaded();
  const bool v = VerticalPanel();
  // Stable insertion by position: across first, then along.
  std::vector<TLumCustomToolBar*> sorted;
  for (TLumCustomToolBar* t : docked_) {
    // Toolbars docked before loading began keep their rows.
    if (rows_->RowOf(t) >= 0) continue;
    const int p1 = v ? t->Left() : t->Top(), p2 = v ? t->Top() : t->Left();
    auto at = std::find_if(sorted.begin(), sorted.end(), [&](const TLumCustomToolBar* s) {
      const int q1 = v ? s->Left() : s->Top(), q2 = v ? s->Top() : s->Left();
      return q1 > p1 || (q1 == p1 && q2 > p2);
    });
    sorted.insert(at, t);
  }
  for (TLumCustomToolBar* t : sorted) {
    const int l = t->Left(), tp = t->Top();
    rows_->AddRow()->AddToolBar(t);
    t->SetBoundsSetByPanel(true);
    t->SetBounds(l, tp, t->Width(), t->Height());
    t->SetBoundsSetByPanel(false);
  }
  if (persistence_->Enabled() && !Designing()) {
    try {
      LoadLayout();
    } catch (const rtl::Exception&) {
      // An unreadable store leaves the streamed layout.
    }
  }
  panelLoaded_ = true;
}

void TLumDockPanel::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  vcl::TCustomControl::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove) return;
  if (Destroying()) {
    if (AComponent == toolBarStyler_) toolBarStyler_ = nullptr;
    return;
  }
  if (AComponent == toolBarStyler_) {
    toolBarStyler_ = nullptr;
    SetToolBarStyler(nullptr);
    return;
  }
  // A toolbar freed while docked: forgotten by identity (it is no longer
  // whole).
  for (TLumCustomToolBar* t : docked_) {
    if (static_cast<vcl::TComponent*>(t) != AComponent) continue;
    for (int i = 0; i < rows_->Count(); ++i) rows_->GetRow(i)->Forget(t);
    std::erase(docked_, t);
    std::erase(hidden_, t);
    remembered_.erase(t);
    ArrangeRows();
    break;
  }
}

void TLumDockPanel::Dispatch(vcl::TMessage& Message) {
  vcl::TCustomControl::Dispatch(Message);
  if (Message.Msg == vcl::WM_SIZE && !Loading() && rows_) rows_->UpdateRows();
}

void TLumDockPanel::Paint() {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  vcl::TCanvas* c = Canvas();
  const vcl::TRect r = ClientRect();
  TGradientBackground* g = s->DockColor();
  if (g->ColorTo() == vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(g->Color());
    c->FillRect(r);
  } else {
    DrawStepGradient(c, g->Color(), g->ColorTo(), g->Steps(), r, g->Direction() == gdHorizontal);
  }
  vcl::TBitmap* picture = s->BackGround();
  if (!picture || picture->Empty()) return;
  switch (s->BackGroundDisplay()) {
    case bdTile:
      for (int y = 1; y < Height() - 2; y += std::max(1, picture->Height()))
        for (int x = 1; x < Width() - 2; x += std::max(1, picture->Width())) c->Draw(x, y, picture);
      break;
    case bdCenter:
      c->Draw((Width() - picture->Width()) / 2, (Height() - picture->Height()) / 2, picture);
      break;
    case bdStretch:
      c->StretchDraw(vcl::TRect{2, 2, Width() - 2, Height() - 2}, picture);
      break;
  }
}

// ---------------------------------------------------------------- layout

void TLumDockPanel::SaveLayout(rtl::TCustomIniFile* Store) {
  if (persistence_->Key().empty() || persistence_->Section().empty()) return;
  std::unique_ptr<rtl::TCustomIniFile> own;
  if (!Store) {
    own = persistence_->OpenStore();
    Store = own.get();
  }
  const rtl::AnsiString& sec = persistence_->Section();
  std::vector<TLumCustomToolBar*> order;
  for (int r = 0; r < rows_->Count(); ++r)
    for (int i = 0; i < rows_->GetRow(r)->ToolBarCount(); ++i) order.push_back(rows_->GetRow(r)->ToolBar(i));
  for (TLumCustomToolBar* t : hidden_)
    if (std::find(order.begin(), order.end(), t) == order.end()) order.push_back(t);
  Store->WriteInteger(sec, "ToolBarCount", static_cast<int>(order.size()));
  Store->WriteInteger(sec, "RowCount", rows_->Count());
  int n = 1;
  for (TLumCustomToolBar* t : order) {
    const rtl::AnsiString& name = t->Name();
    Store->WriteString(sec, "Name" + std::to_string(n), name);
    Store->WriteInteger(sec, name + ".Row", t->RowIndex());
    Store->WriteInteger(sec, name + ".Left", t->Left());
    Store->WriteInteger(sec, name + ".Top", t->Top());
    Store->WriteInteger(sec, name + ".Width", t->Width());
    Store->WriteInteger(sec, name + ".Height", t->Height());
    Store->WriteInteger(sec, name + ".Visible", t->Visible() ? 1 : 0);
    ++n;
  }
  // A store handed in is the caller's to write.
  if (own) own->UpdateFile();
}

void TLumDockPanel::LoadLayout(rtl::TCustomIniFile* Store) {
  if (persistence_->Key().empty() || persistence_->Section().empty()) return;
  std::unique_ptr<rtl::TCustomIniFile> own;
  if (!Store) {
    own = persistence_->OpenStore();
    Store = own.get();
  }
  const rtl::AnsiString& sec = persistence_->Section();
  // Each toolbar's own state first: one saved floating leaves the panel.
  for (const std::vector<TLumCustomToolBar*> docked = docked_; TLumCustomToolBar* t : docked)
    if (!t->StateLoaded() && t->DockPanel() == this) t->LoadFloatingState();
  std::vector<TLumCustomToolBar*> named;
  for (int r = 0; r < rows_->Count(); ++r)
    for (int i = 0; i < rows_->GetRow(r)->ToolBarCount(); ++i) named.push_back(rows_->GetRow(r)->ToolBar(i));
  const int count = Store->ReadInteger(sec, "ToolBarCount", 0);
  if (count <= 0) return;
  const int rowCount = Store->ReadInteger(sec, "RowCount", rows_->Count());
  std::map<const TLumCustomToolBar*, int> oldRow;
  for (TLumCustomToolBar* t : docked_) oldRow[t] = t->RowIndex();
  rows_->Clear();
  // Only the entries that are there can name a toolbar (a missing one
  // names the panel itself, which is no toolbar), so a damaged count is
  // never walked to its end.
  std::vector<int> entries;
  {
    rtl::TStringList keys;
    Store->ReadSection(sec, keys);
    for (int i = 0; i < keys.Count(); ++i) {
      const rtl::AnsiString& k = keys.Strings(i);
      if (k.size() < 5 || k.size() > 14 || !rtl::SameText(k.substr(0, 4), "Name")) continue;
      if (!std::all_of(k.begin() + 4, k.end(), [](char c) { return c >= '0' && c <= '9'; }) || k[4] == '0') continue;
      const long long n = std::stoll(k.substr(4));
      if (n >= 1 && n <= count) entries.push_back(static_cast<int>(n));
    }
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
  }
  std::map<int, std::vector<TLumCustomToolBar*>> byRow;
  std::vector<TLumCustomToolBar*> placeLater;
  loadingLayout_ = true;
  for (const int n : entries) {
    const rtl::AnsiString name = Store->ReadString(sec, "Name" + std::to_string(n), Name());
    TLumCustomToolBar* t = nullptr;
    auto it = std::find_if(named.begin(), named.end(), [&](const TLumCustomToolBar* b) { return DockSameName(b->Name(), name); });
    if (it != named.end()) {
      t = *it;
      named.erase(it);
    } else if ((t = FindToolBarElsewhere(name)) != nullptr) {
      t->SetParent(this);
      if (t->DockPanel() != this) continue;
      const int given = t->RowIndex();
      if (given >= 0 && given < rows_->Count()) {
        rows_->GetRow(given)->RemoveToolBar(t, false);
        if (rows_->GetRow(given)->ToolBarCount() == 0) rows_->DeleteRow(given);
      }
      oldRow[t] = -1;
    }
    if (!t) continue;
    const int row = Store->ReadInteger(sec, name + ".Row", oldRow.count(t) ? oldRow[t] : -1);
    const int l = StoredCoordinate(Store->ReadInteger(sec, name + ".Left", t->Left()));
    const int tp = StoredCoordinate(Store->ReadInteger(sec, name + ".Top", t->Top()));
    const int w = std::max(0, StoredCoordinate(Store->ReadInteger(sec, name + ".Width", t->Width())));
    const int h = std::max(0, StoredCoordinate(Store->ReadInteger(sec, name + ".Height", t->Height())));
    const bool visible = (Store->ReadInteger(sec, name + ".Visible", t->Visible() ? 1 : 0) & 0xFF) != 0;
    for (auto& [index, list] : byRow) std::erase(list, t);
    std::erase(placeLater, t);
    if (row >= 0 && row < rowCount) {
      if (visible)
        byRow[row].push_back(t);
      else
        remembered_[t] = row;
    } else if (visible) {
      placeLater.push_back(t);
    }
    const bool flag = t->BoundsSetByPanel();
    t->SetBoundsSetByPanel(true);
    if (t->Width() != w) t->SetWidth(w);
    if (t->Left() != l) t->SetLeft(l);
    if (t->Top() != tp) t->SetTop(tp);
    if (t->Height() != h) t->SetHeight(h);
    t->SetBoundsSetByPanel(flag);
    if (t->Visible() != visible) t->SetVisible(visible);
  }
  loadingLayout_ = false;
  // The stored rows in their order; empty ones are dropped, except where
  // the panel may not change (then as many as were stored, within reason).
  const bool keepEmpty = panelLoaded_ && lockHeight_ && !Designing();
  const int keep = keepEmpty ? std::min(rowCount, kMaxKeptRows) : 0;
  int made = 0;
  for (int index = 0; index < keep || !byRow.empty(); ++index) {
    auto it = byRow.find(index);
    if (index >= keep && it == byRow.end()) {
      // Skip straight to the next stored row.
      index = byRow.begin()->first - 1;
      continue;
    }
    TRowCollectionItem* r = rows_->AddRow();
    ++made;
    if (it == byRow.end()) continue;
    for (TLumCustomToolBar* t : it->second) {
      if (r->IndexOf(t) >= 0 || !r->Accepts(t)) {
        placeLater.push_back(t);
        continue;
      }
      r->toolBars_.push_back(t);
      t->SetRowIndex(r->Index());
    }
    byRow.erase(it);
  }
  for (TLumCustomToolBar* t : named)
    if (t->Visible()) rows_->AddRow()->AddToolBar(t);
  // A visible toolbar whose stored row is not there goes where a toolbar
  // shown outside every row goes.
  for (TLumCustomToolBar* t : placeLater)
    if (t->Visible() && t->RowIndex() < 0) rows_->ToolBarVisibilityChanged(t);
  rows_->UpdateRows();
  for (TLumCustomToolBar* t : docked_)
    if (t->Visible()) {
      t->PositionControls(true);
      t->Invalidate();
    }
}

TLumCustomToolBar* TLumDockPanel::FindToolBarElsewhere(const rtl::AnsiString& Name) const {
  vcl::TCustomForm* form = vcl::GetParentForm(this);
  if (!form) return nullptr;
  std::vector<vcl::TWinControl*> stack{form};
  while (!stack.empty()) {
    vcl::TWinControl* w = stack.back();
    stack.pop_back();
    for (int i = 0; i < w->ControlCount(); ++i) {
      auto* cw = dynamic_cast<vcl::TWinControl*>(w->Controls(i));
      if (!cw || cw == this) continue;
      if (auto* p = dynamic_cast<TLumDockPanel*>(cw)) {
        for (TLumCustomToolBar* t : p->docked_)
          if (DockSameName(t->Name(), Name)) return t;
        continue;
      }
      stack.push_back(cw);
    }
  }
  return nullptr;
}

}  // namespace ribbon
