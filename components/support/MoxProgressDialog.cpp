#include "support/MoxProgressDialog.h"

#include "vcl/Forms.h"

namespace support {

using namespace vcl;

// --------------------------------------------------------------- window

TfrmProgress::TfrmProgress(TComponent* owner) : TMoxForm(owner, 0) {
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  SetBorderIcons({});
  SetCaption("Caption");
  SetClientWidth(316);
  SetClientHeight(165);

  imProgress = new TImage(this);
  imProgress->SetName("imProgress");
  imProgress->SetBounds(16, 12, 48, 48);
  imProgress->SetAutoSize(true);
  imProgress->SetEnabled(false);
  imProgress->SetVisible(false);  // the form paints its picture
  imProgress->SetParent(this);

  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetBounds(16, 70, 30, 13);
  Label1->SetCaption("Label");
  Label1->SetParent(this);

  pbProgress = new TProgressBar(this);
  pbProgress->SetName("pbProgress");
  pbProgress->SetBounds(16, 88, 284, 16);
  pbProgress->SetAnchors({akLeft, akTop, akRight});
  pbProgress->SetMin(0);
  pbProgress->SetMax(100);
  pbProgress->SetParent(this);

  btnCancel = new TButton(this);
  btnCancel->SetName("btnCancel");
  btnCancel->SetBounds(224, 124, 75, 25);
  btnCancel->SetAnchors({akTop, akRight});
  btnCancel->SetCaption("Cancel");
  btnCancel->SetCancel(true);
  btnCancel->SetParent(this);
  btnCancel->OnClick = [this](TObject*) { CancelProgress(); };

  tmProgress = new TTimer(this);
  tmProgress->SetName("tmProgress");
  tmProgress->SetEnabled(false);
  tmProgress->OnTimer = [this](TObject*) { ProgressStep(); };

  ActionList1 = new TActionList(this);
  ActionList1->SetName("ActionList1");
  Action1 = new TAction(this);
  Action1->SetName("Action1");
  Action1->SetShortCut(ShortCut(VK_F4, TShiftState{ssAlt}));  // 32883
  Action1->SetActionList(ActionList1);
  // Alt+F4 (and the window manager's close request) cancels only while the
  // Cancel button is offered; otherwise it is taken and does nothing.
  Action1->OnExecute = [this](TObject*) {
    if (showCancel_) CancelProgress();
  };
}

TfrmProgress::~TfrmProgress() { tmProgress->OnTimer = nullptr; }

void TfrmProgress::LayoutControls() {
  HandleNeeded();
  // The window manager draws the title bar outside the client area, so the
  // client keeps its size and place when the bar comes or goes.
  const Cardinal style = WindowStyle();
  if (!Caption().empty()) {
    if ((style & WS_CAPTION) == 0) SetBorderStyle(bsToolWindow);
  } else if ((style & WS_CAPTION) == WS_CAPTION) {
    SetBorderStyle(bsDialog);
    SetWindowStyle(WindowStyle() & ~WS_CAPTION);
  }
  Integer labelTop = 12;
  TGraphic* g = imProgress->Picture()->Graphic();
  if (g && !g->Empty()) {
    labelTop = imProgress->Top() + imProgress->Height() + 12;
    const Integer wanted = imProgress->Width() + 2 * imProgress->Left();
    if (ClientWidth() < wanted) SetClientWidth(wanted);
  }
  Label1->SetTop(labelTop);
  pbProgress->SetTop(labelTop + Label1->Height() + 8);
  Integer next = pbProgress->Top() + pbProgress->Height() + 16;
  if (btnCancel->Visible()) {
    btnCancel->SetTop(next);
    next = btnCancel->Top() + btnCancel->Height() + 16;
  }
  SetClientHeight(next);
}

void TfrmProgress::PaintWindow() {
  TGraphic* g = imProgress->Picture()->Graphic();
  if (!g || g->Empty() || !windowCanvas_) return;
  windowCanvas_->Draw(imProgress->Left(), imProgress->Top(), g);
}

void TfrmProgress::ProgressStep() {
  if (cancelled_) return;
  bool goOn = true;
  tmProgress->SetEnabled(false);
  TMoxProgressValues values;
  values.Min = pbProgress->Min();
  values.Max = pbProgress->Max();
  values.Position = pbProgress->Position();
  values.Interval = static_cast<Integer>(tmProgress->Interval());
  values.Caption = Caption();
  values.Text = Label1->Caption();
  values.Picture = imProgress->Picture();
  if (ProgressHook) ProgressHook(values, goOn);
  pbProgress->SetMin(values.Min);
  pbProgress->SetMax(values.Max);
  pbProgress->SetPosition(values.Position);
  tmProgress->SetInterval(static_cast<Cardinal>(std::max<Integer>(values.Interval, 0)));
  tmProgress->SetEnabled(values.Interval > 0);
  SetCaption(values.Caption);
  Label1->SetCaption(values.Text);
  LayoutControls();
  Repaint();
  if (!tmProgress->Enabled() || !goOn) CloseCancelled();
}

void TfrmProgress::CancelProgress() {
  if (closing_) return;
  cancelled_ = true;
  if (CancelHook) CancelHook();
  CloseCancelled();
}

void TfrmProgress::CloseCancelled() {
  if (closing_) return;
  closing_ = true;
  tmProgress->SetEnabled(false);
  SetModalResult(mrCancel);
  if (!Modal() && Visible()) Close();
}

// --------------------------------------------------------------- dialog

TMoxProgressDialog::TMoxProgressDialog(TComponent* owner)
    : TMoxCommonDialogF(owner), image_(std::make_unique<TPicture>()) {}

TMoxProgressDialog::~TMoxProgressDialog() {
  if (form_) {
    // Closing goes through the dialog, which is going: the window is
    // closed without its events reaching the dialog.
    TfrmProgress* form = form_;
    form_ = nullptr;
    form->OnClose = nullptr;
    form->ProgressHook = nullptr;
    form->CancelHook = nullptr;
    form->Close();
    form->Release();
  }
}

void TMoxProgressDialog::TakeSnapshot() {
  snapshot_.Min = min_;
  snapshot_.Max = max_;
  snapshot_.Position = position_;
  snapshot_.Interval = interval_;
  snapshot_.Caption = caption_;
  snapshot_.Text = text_;
  snapshot_.Picture->Assign(image_.get());
}

void TMoxProgressDialog::RestoreSnapshot() {
  SetMin(snapshot_.Min);
  SetMax(snapshot_.Max);
  SetInterval(snapshot_.Interval);
  SetPosition(snapshot_.Position);
  SetCaption(snapshot_.Caption);
  SetText(snapshot_.Text);
  image_->Assign(snapshot_.Picture.get());
}

TfrmProgress* TMoxProgressDialog::MakeForm() {
  auto* form = new TfrmProgress(Application);
  form->SetPosition(screenPosition_);
  return form;
}

void TMoxProgressDialog::ReleaseForm() {
  if (!form_) return;
  TfrmProgress* form = form_;
  form_ = nullptr;
  form->OnClose = nullptr;
  form->ProgressHook = nullptr;
  form->CancelHook = nullptr;
  form->tmProgress->SetEnabled(false);
  form->SetVisible(false);
  form->Release();
}

void TMoxProgressDialog::FillForm(TfrmProgress* form, bool modal) {
  form->SetCaption(caption_);
  form->Label1->SetCaption(text_);
  form->pbProgress->SetMin(min_);
  form->pbProgress->SetMax(max_);
  form->pbProgress->SetPosition(position_);
  form->pbProgress->SetSmooth(smooth_);
  form->ProgressHook = [this](TMoxProgressValues& v, bool& goOn) { StepFromForm(v, goOn); };
  form->imProgress->Picture()->Assign(image_.get());
  form->imProgress->SetTransparent(transparent_);
  form->tmProgress->SetInterval(static_cast<Cardinal>(std::max<Integer>(interval_, 0)));
  form->tmProgress->SetEnabled(interval_ > 0);
  const bool cancel = showCancel_ || (modal && ComponentState().Contains(csDesigning));
  form->btnCancel->SetVisible(cancel);
  form->SetShowCancel(cancel);
  form->btnCancel->SetCaption("Cancel");
  form->CancelHook = [this] {
    if (OnCancel) OnCancel(this);
    cancelled_ = true;
  };
  form->LayoutControls();
}

void TMoxProgressDialog::StepFromForm(TMoxProgressValues& v, bool& goOn) {
  if (!OnProgress) return;
  SetMin(v.Min);
  SetMax(v.Max);
  SetPosition(v.Position);
  SetInterval(v.Interval);
  SetCaption(v.Caption);
  SetText(v.Text);
  if (v.Picture) image_->Assign(v.Picture);
  OnProgress(this, goOn);
  v.Min = min_;
  v.Max = max_;
  v.Position = position_;
  v.Interval = interval_;
  v.Caption = caption_;
  v.Text = text_;
  if (v.Picture) v.Picture->Assign(image_.get());
}

void TMoxProgressDialog::FormClosed(TCloseAction& action) {
  form_ = nullptr;
  action = caFree;
  RestoreSnapshot();
  if (OnClose) OnClose(this);
}

bool TMoxProgressDialog::Show() {
  ReleaseForm();
  TfrmProgress* form = MakeForm();
  form->OnClose = [this](TObject*, TCloseAction& action) { FormClosed(action); };
  form_ = form;
  cancelled_ = false;
  if (TCommonDialog::OnShow) TCommonDialog::OnShow(this);
  TakeSnapshot();
  FillForm(form, false);
  form->Show();
  return false;
}

void TMoxProgressDialog::Hide() {
  if (!form_) return;
  form_->Close();
  Application->ProcessMessages();
}

bool TMoxProgressDialog::Execute() {
  cancelled_ = false;
  ReleaseForm();
  if (TCommonDialog::OnShow) TCommonDialog::OnShow(this);
  TakeSnapshot();
  TfrmProgress* form = MakeForm();
  form_ = form;
  FillForm(form, true);
  TModalResult result = mrNone;
  if (!form->tmProgress->Enabled()) form->ProgressStep();
  // A first step that already ended the display leaves nothing to show.
  if (form->ModalResult() == mrCancel)
    result = mrCancel;
  else
    result = form->ShowModal();
  form_ = nullptr;
  form->ProgressHook = nullptr;
  form->CancelHook = nullptr;
  form->tmProgress->SetEnabled(false);
  form->Release();
  RestoreSnapshot();
  if (OnClose) OnClose(this);
  return result != mrCancel;
}

void TMoxProgressDialog::SetCaption(const AnsiString& v) {
  if (form_) {
    form_->SetCaption(v);
    form_->LayoutControls();
    form_->Repaint();
  }
  caption_ = v;
}

void TMoxProgressDialog::SetText(const AnsiString& v) {
  if (form_) {
    form_->Label1->SetCaption(v);
    form_->Repaint();
  }
  text_ = v;
}

void TMoxProgressDialog::SetPosition(Integer v) {
  if (form_) {
    form_->pbProgress->SetPosition(v);
    form_->Repaint();
  }
  position_ = v;
}

void TMoxProgressDialog::SetMin(Integer v) {
  if (form_) {
    form_->pbProgress->SetMin(v);
    form_->Repaint();
  }
  min_ = v;
}

void TMoxProgressDialog::SetMax(Integer v) {
  if (form_) {
    form_->pbProgress->SetMax(v);
    form_->Repaint();
  }
  max_ = v;
}

void TMoxProgressDialog::SetInterval(Integer v) {
  if (form_) form_->tmProgress->SetInterval(static_cast<Cardinal>(std::max<Integer>(v, 0)));
  interval_ = v;
}

void TMoxProgressDialog::SetShowCancel(bool v) {
  if (form_) {
    form_->btnCancel->SetVisible(v);
    form_->SetShowCancel(v);
    form_->LayoutControls();
    form_->Repaint();
  }
  showCancel_ = v;
}

}  // namespace support
