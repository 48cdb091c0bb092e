#include "vcl/StdCtrls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "rtl/Strings.h"
#include "vcl/ActnList.h"
#include "vcl/ExtCtrls.h"
#include "vcl/QtCanvas.h"
#include "vcl/QtHost.h"

namespace vcl {

// ------------------------------------------------------------ prefixes

namespace {

// Removes '&' markers; "&&" stays one '&'. Returns where the underlined
// character stands (-1 without one).
AnsiString StripPrefix(const AnsiString& s, Integer& underline) {
  AnsiString out;
  underline = -1;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) {
      ++i;
      if (s[i] != '&' && underline < 0) underline = static_cast<Integer>(out.size());
    }
    out += s[i];
  }
  return out;
}

}  // namespace


// ---------------------------------------------------------------- labels

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_.Include(csOpaque).Exclude(csCaptureMouse);
  SetParentColor(true);
  TControl::SetBounds(0, 0, 65, 17);
}

Cardinal TCustomLabel::TextFlags() const {
  Cardinal f = wordWrap_ ? DT_WORDBREAK : 0;
  if (alignment_ == taCenter) f |= DT_CENTER;
  if (alignment_ == taRightJustify) f |= DT_RIGHT;
  if (!showAccelChar_) f |= DT_NOPREFIX;
  return f;
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!transparent_) {
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(r);
  }
  c->Brush()->SetStyle(bsClear);
  c->SetFont(Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  if (layout_ != tlTop) {
    TRect calc = r;
    c->DrawText(Caption(), calc, TextFlags() | DT_CALCRECT);
    Integer h = calc.Height();
    r.Top = layout_ == tlCenter ? (Height() - h) / 2 : Height() - h;
  }
  c->DrawText(Caption(), r, TextFlags());
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || Loading()) return;
  TCanvas* c = Canvas();
  c->SetFont(Font());
  TRect r = Rect(0, 0, wordWrap_ ? Width() : 0x7FFF, 0);
  AnsiString text = Caption().empty() ? AnsiString(" ") : Caption();
  c->DrawText(text, r, TextFlags() | DT_CALCRECT);
  Integer left = Left();
  // A right-aligned label keeps its right edge.
  if (alignment_ == taRightJustify && !wordWrap_) left = Left() + Width() - r.Width();
  SetBounds(left, Top(), r.Width(), r.Height());
}

void TCustomLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustBounds();
}
void TCustomLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}
void TCustomLabel::SetLayout(TTextLayout l) {
  layout_ = l;
  Invalidate();
}
void TCustomLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool v) {
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetFocusControl(TWinControl* c) {
  focusControl_ = c;
  if (c) c->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      return;
    case CM_DIALOGCHAR: {
      Integer at = -1;
      AnsiString plain = StripPrefix(Caption(), at);
      if (showAccelChar_ && at >= 0 && focusControl_ && focusControl_->CanFocus() &&
          std::toupper(static_cast<unsigned char>(plain[static_cast<size_t>(at)])) ==
              std::toupper(static_cast<int>(m.WParam & 0xFF))) {
        focusControl_->SetFocus();
        m.Result = 1;
      }
      return;
    }
    default: TGraphicControl::Dispatch(m);
  }
}

// --------------------------------------------------------------- buttons

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  // Clicks come from the widget (CN_COMMAND), not from the mouse messages.
  controlStyle_.Exclude(csClickEvents).Exclude(csCaptureMouse);
  tabStop_ = true;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { TControl::SetBounds(0, 0, 75, 25); }

QWidget* TButton::CreateWidget() {
  auto* b = new QPushButton();
  QObject::connect(b, &QPushButton::clicked, b, [this] {
    Guarded(this, [this] { Perform(CN_COMMAND, MakeWParam(0, 0)); });
  });
  return b;
}

void TButton::InitWidget() {
  auto* b = static_cast<QPushButton*>(Widget());
  b->setText(QString::fromStdString(Caption()));
}

void TButton::SetDefault(bool v) {
  default_ = v;
  if (HandleAllocated()) static_cast<QPushButton*>(Widget())->setDefault(v);
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: Click(); return;
    case CM_TEXTCHANGED:
      if (HandleAllocated()) static_cast<QPushButton*>(Widget())->setText(QString::fromStdString(Caption()));
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<Word>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        Click();
        m.Result = 1;
      }
      return;
    case CM_DIALOGKEY: {
      Word vk = static_cast<Word>(m.WParam);
      if (!CanFocus()) return;
      bool focusedButton = false;
      if (TCustomForm* form = GetParentForm(this))
        focusedButton = dynamic_cast<TButton*>(form->ActiveControl()) != nullptr;
      bool take = (vk == VK_RETURN && (Focused() || (default_ && !focusedButton))) || (vk == VK_ESCAPE && cancel_);
      if (take) {
        Click();
        m.Result = 1;
      }
      return;
    }
    default: TButtonControl::Dispatch(m);
  }
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) { TControl::SetBounds(0, 0, 97, 17); }

QWidget* TCheckBox::CreateWidget() {
  auto* b = new QCheckBox();
  QObject::connect(b, &QCheckBox::stateChanged, b, [this](int s) {
    if (syncing_) return;
    Guarded(this, [&] {
      state_ = s == Qt::Checked ? cbChecked : s == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
      Click();
    });
  });
  return b;
}

void TCheckBox::InitWidget() {
  auto* b = static_cast<QCheckBox*>(Widget());
  syncing_ = true;
  b->setText(QString::fromStdString(Caption()));
  b->setTristate(allowGrayed_);
  b->setCheckState(state_ == cbChecked ? Qt::Checked : state_ == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
  syncing_ = false;
}

void TCheckBox::SetState(TCheckBoxState s) {
  if (s == state_) return;
  ShowState(s);
  if (!Loading()) Click();
}

void TCheckBox::ShowState(TCheckBoxState s) {
  if (s == state_) return;
  state_ = s;
  if (HandleAllocated()) {
    syncing_ = true;
    static_cast<QCheckBox*>(Widget())->setCheckState(s == cbChecked ? Qt::Checked
                                                     : s == cbGrayed ? Qt::PartiallyChecked
                                                                     : Qt::Unchecked);
    syncing_ = false;
  }
}

void TCheckBox::ActionChange(TBasicAction* sender) {
  TButtonControl::ActionChange(sender);
  if (auto* a = dynamic_cast<TCustomAction*>(sender)) ShowState(a->Checked() ? cbChecked : cbUnchecked);
}

void TCheckBox::Click() {
  TButtonControl::Click();
  if (auto* a = dynamic_cast<TCustomAction*>(Action())) ShowState(a->Checked() ? cbChecked : cbUnchecked);
}

void TCheckBox::SetAllowGrayed(bool v) {
  allowGrayed_ = v;
  if (HandleAllocated()) static_cast<QCheckBox*>(Widget())->setTristate(v);
}

void TCheckBox::Dispatch(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    if (IsAccel(static_cast<Word>(m.WParam), Caption()) && CanFocus()) {
      SetFocus();
      SetChecked(!Checked());
      m.Result = 1;
    }
    return;
  }
  if (m.Msg == CM_TEXTCHANGED) {
    if (HandleAllocated()) static_cast<QCheckBox*>(Widget())->setText(QString::fromStdString(Caption()));
    return;
  }
  TButtonControl::Dispatch(m);
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { TControl::SetBounds(0, 0, 113, 17); }

QWidget* TRadioButton::CreateWidget() {
  auto* b = new QRadioButton();
  // Grouping is ours: siblings are unchecked by SetChecked.
  b->setAutoExclusive(false);
  QObject::connect(b, &QRadioButton::clicked, b, [this](bool) {
    if (syncing_) return;
    Guarded(this, [&] { SetChecked(true); });
  });
  return b;
}

void TRadioButton::InitWidget() {
  auto* b = static_cast<QRadioButton*>(Widget());
  syncing_ = true;
  b->setText(QString::fromStdString(Caption()));
  b->setChecked(checked_);
  syncing_ = false;
}

void TRadioButton::SetChecked(bool v) {
  if (HandleAllocated()) {
    syncing_ = true;
    static_cast<QRadioButton*>(Widget())->setChecked(v);
    syncing_ = false;
  }
  if (v == checked_) return;
  checked_ = v;
  if (v && Parent())
    for (Integer i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* r = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); r && r != this) r->SetChecked(false);
  if (v && !Loading()) Click();
}

void TRadioButton::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) {
    if (HandleAllocated()) static_cast<QRadioButton*>(Widget())->setText(QString::fromStdString(Caption()));
    return;
  }
  TButtonControl::Dispatch(m);
}

// ------------------------------------------------------------ combo boxes

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  nativeField_ = true;
  SetColor(clWindow);
  TControl::SetBounds(0, 0, 145, 21);
  controlStyle_.Exclude(csSetCaption);
  items_.OnChange = [this](rtl::TStrings*) { ItemsChanged(); };
}

TCustomComboBox::~TCustomComboBox() { items_.OnChange = nullptr; }

// The native combo box; it tells its control when its list drops down and
// closes up, as the desktop's notifications do.
class ComboWidget : public QComboBox {
 public:
  explicit ComboWidget(TCustomComboBox* control) : control_(control) {}
  void showPopup() override {
    Guarded(control_, [&] {
      control_->Perform(CN_COMMAND, MakeWParam(0, CBN_DROPDOWN));
      if (control_->OnDropDown) control_->OnDropDown(control_);
    });
    QComboBox::showPopup();
  }
  void hidePopup() override {
    bool wasShown = view()->isVisible();
    QComboBox::hidePopup();
    if (!wasShown) return;
    Guarded(control_, [&] {
      control_->Perform(CN_COMMAND, MakeWParam(0, CBN_CLOSEUP));
      if (control_->OnCloseUp) control_->OnCloseUp(control_);
    });
  }

 private:
  TCustomComboBox* control_;  // owns the widget's host
};

QWidget* TCustomComboBox::CreateWidget() {
  auto* c = new ComboWidget(this);
  QObject::connect(c, &QComboBox::activated, c, [this](int index) {
    if (syncing_) return;
    Guarded(this, [&] {
      itemIndex_ = index;
      text_ = index >= 0 && index < items_.Count() ? items_[index] : AnsiString();
      Perform(CN_COMMAND, MakeWParam(0, CBN_SELCHANGE));
    });
  });
  QObject::connect(c, &QComboBox::editTextChanged, c, [this](const QString& t) {
    if (syncing_) return;
    Guarded(this, [&] {
      AnsiString s = t.toStdString();
      if (s == text_) return;
      text_ = s;
      itemIndex_ = -1;
      for (Integer i = 0; i < items_.Count(); ++i)
        if (items_[i] == s) itemIndex_ = i;
      Change();
    });
  });
  return c;
}

void TCustomComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HiWord(static_cast<Cardinal>(m.WParam)) == CBN_SELCHANGE) {
        Click();
        Select();
      }
      return;
    case CB_GETDROPPEDSTATE: m.Result = DroppedDown() ? 1 : 0; return;
    case CB_SHOWDROPDOWN:
      SetDroppedDown(m.WParam != 0);
      m.Result = 1;
      return;
    case CB_GETCOUNT: m.Result = items_.Count(); return;
    case CB_GETCURSEL: m.Result = itemIndex_; return;
    case CB_SETDROPPEDWIDTH:
      droppedWidth_ = static_cast<Integer>(m.WParam);
      if (HandleAllocated()) static_cast<QComboBox*>(Widget())->view()->setMinimumWidth(droppedWidth_);
      m.Result = droppedWidth_;
      return;
    case CB_GETDROPPEDWIDTH: m.Result = std::max(droppedWidth_, Width()); return;
    default: TWinControl::Dispatch(m);
  }
}

void TCustomComboBox::InitWidget() {
  auto* c = static_cast<QComboBox*>(Widget());
  c->setEditable(style_ == csDropDown || style_ == csSimple);
  if (c->lineEdit()) {
    c->setInsertPolicy(QComboBox::NoInsert);
    Host()->Watch(c->lineEdit());
  }
  c->setMaxVisibleItems(dropDownCount_);
  if (droppedWidth_ > 0) c->view()->setMinimumWidth(droppedWidth_);
  SyncWidget();
}

void TCustomComboBox::SyncWidget() {
  if (!HandleAllocated()) return;
  auto* c = static_cast<QComboBox*>(Widget());
  syncing_ = true;
  c->clear();
  for (Integer i = 0; i < items_.Count(); ++i) c->addItem(QString::fromStdString(items_[i]));
  c->setCurrentIndex(itemIndex_);
  if (c->isEditable()) c->setEditText(QString::fromStdString(text_));
  syncing_ = false;
}

void TCustomComboBox::ItemsChanged() {
  if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
  // Sorting or inserting moves items: keep the chosen text chosen.
  if (itemIndex_ >= 0 && items_[itemIndex_] != text_) {
    itemIndex_ = -1;
    for (Integer i = 0; i < items_.Count(); ++i)
      if (items_[i] == text_) itemIndex_ = i;
  }
  if (style_ == csDropDownList && itemIndex_ < 0) text_.clear();
  SyncWidget();
}

void TCustomComboBox::SetItemIndex(Integer v) {
  if (v < -1 || v >= items_.Count()) v = -1;
  itemIndex_ = v;
  text_ = v >= 0 ? items_[v] : AnsiString();
  SyncWidget();
}

void TCustomComboBox::SetText(const AnsiString& s) {
  Integer found = -1;
  for (Integer i = 0; i < items_.Count() && found < 0; ++i)
    if (style_ == csDropDownList ? rtl::SameText(items_[i], s) : items_[i] == s) found = i;
  if (style_ == csDropDownList) {
    SetItemIndex(found);
    return;
  }
  text_ = s;
  itemIndex_ = found;
  SyncWidget();
}

void TCustomComboBox::SetStyle(TComboBoxStyle s) {
  style_ = s;
  if (HandleAllocated()) InitWidget();
}

void TCustomComboBox::SetDropDownCount(Integer v) {
  dropDownCount_ = v;
  if (HandleAllocated()) static_cast<QComboBox*>(Widget())->setMaxVisibleItems(v);
}

bool TCustomComboBox::DroppedDown() const {
  return HandleAllocated() && static_cast<QComboBox*>(Host()->widget.data())->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool v) {
  auto* c = static_cast<QComboBox*>(Widget());
  if (v)
    c->showPopup();
  else
    c->hidePopup();
}

void TCustomComboBox::Clear() {
  items_.Clear();
  SetItemIndex(-1);
  text_.clear();
  SyncWidget();
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

// ------------------------------------------------------------ group boxes

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetParentColor(true);
  TControl::SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
  TCanvas measure;
  measure.SetFont(const_cast<TCustomGroupBox*>(this)->Font());
  rect.Top += measure.TextHeight("0");
  InflateRect(rect, -2, -2);
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  Integer th = c->TextHeight("0");
  TRect r = Rect(0, th / 2, Width(), Height());
  Frame3D(c, r, ColorToRGB(clBtnShadow), ColorToRGB(clBtnHighlight), 1);
  Frame3D(c, r, ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow), 1);
  if (!Caption().empty()) {
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    Integer underline = -1;
    c->TextOut(8, 0, " " + StripPrefix(Caption(), underline) + " ");
  }
}

}  // namespace vcl
