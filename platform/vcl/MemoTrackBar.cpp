#include "vcl/MemoTrackBar.h"

#include <QSlider>
#include <algorithm>

#include "vcl/Messages.h"
#include "vcl/QtHost.h"

namespace vcl {

// ---------------------------------------------------------------------------
// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<rtl::TStringList>()) {
  TControl::SetBounds(0, 0, 185, 89);
  lines_->OnChange = [this](rtl::TStrings*) {
    if (syncing_) return;
    AnsiString text = lines_->Text();
    // The list ends every line; the memo's text has no line end after the last.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    syncing_ = true;
    TCustomEdit::SetText(text);
    syncing_ = false;
  };
}

TCustomMemo::~TCustomMemo() { lines_->OnChange = nullptr; }

void TCustomMemo::SetText(const AnsiString& s) {
  TCustomEdit::SetText(s);
  if (syncing_) return;
  syncing_ = true;
  lines_->SetText(Text());
  syncing_ = false;
}

void TCustomMemo::Change() {
  if (!syncing_) {
    syncing_ = true;
    lines_->SetText(Text());
    syncing_ = false;
  }
  TCustomEdit::Change();
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  if (v == scrollBars_) return;
  scrollBars_ = v;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  if (wordWrap_) params.Style &= ~ES_AUTOHSCROLL;
  params.Style |= ES_MULTILINE;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
}

void TCustomMemo::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
    if (wantReturns_) m.Result |= DLGC_WANTALLKEYS;
    return;
  }
  TCustomEdit::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TTrackBar

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  TControl::SetBounds(0, 0, 150, 45);
}

QWidget* TTrackBar::CreateWidget() {
  auto* s = new QSlider(Qt::Horizontal);
  s->setTickPosition(QSlider::TicksBelow);
  QObject::connect(s, &QSlider::valueChanged, s, [this](int v) {
    if (syncing_ || v == position_) return;
    Guarded(this, [&] {
      position_ = v;
      Changed();
    });
  });
  return s;
}

void TTrackBar::InitWidget() { Sync(); }

void TTrackBar::Sync() {
  if (!HandleAllocated()) return;
  auto* s = static_cast<QSlider*>(Widget());
  syncing_ = true;
  s->setRange(min_, max_);
  s->setValue(position_);
  s->setTickInterval(std::max(1, frequency_));
  s->setPageStep(std::max(1, pageSize_));
  s->setSingleStep(1);
  syncing_ = false;
}

void TTrackBar::SetMin(Integer v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  SetPosition(position_);
  Sync();
}

void TTrackBar::SetMax(Integer v) {
  max_ = v;
  if (min_ > max_) min_ = max_;
  SetPosition(position_);
  Sync();
}

void TTrackBar::SetPosition(Integer v) {
  v = std::clamp(v, min_, max_);
  if (v == position_) return;
  position_ = v;
  Sync();
  Changed();
}

void TTrackBar::SetFrequency(Integer v) {
  frequency_ = v;
  Sync();
}

void TTrackBar::SetPageSize(Integer v) {
  pageSize_ = v;
  Sync();
}

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace vcl
