#include "core/forms/CustTagEditU.h"

#include "core/forms/FormMessagesU.h"
#include "grid/GridCombo.h"
#include "grid/GridComponent.h"
#include "grid/GridSpin.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace core {

using namespace vcl;
using grid::TEditorType;

namespace {

// The operators a kind-4 drop-down can offer, in offering order, with the
// flag bit that lets each through.
struct TOperatorChoice {
  const char* Text;
  Word Flag;
};
constexpr TOperatorChoice kOperatorChoices[] = {
    {"<", tpfOpLess},         {"=", tpfOpEqual},         {">", tpfOpGreater},
    {"<=", tpfOpLessEqual},   {">=", tpfOpGreaterEqual}, {"!=", tpfOpNotEqual},
};

constexpr char kLowText[] = "Low";
constexpr char kHighText[] = "High";

// The operator number of a drop-down text; a text that is none of the
// first five of the table is the last one.
Integer OperatorNumber(const AnsiString& text) {
  for (Integer i = 0; i < 5; ++i)
    if (text == kOperatorTexts[static_cast<size_t>(i)]) return i;
  return 5;
}

}  // namespace

std::vector<AnsiString> TfrmCustTagEdit::OperatorChoices(Word flags) {
  std::vector<AnsiString> texts;
  for (const auto& c : kOperatorChoices)
    if ((flags & c.Flag) != 0) texts.emplace_back(c.Text);
  return texts;
}

TfrmCustTagEdit::TfrmCustTagEdit(TComponent* owner) : TForm(owner, 0) {
  SetName("frmCustTagEdit");
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetBorderIcons({biSystemMenu});
  SetColor(clBtnFace);
  Font()->SetName("Tahoma");
  Font()->SetHeight(-11);
  SetPosition(poScreenCenter);
  SetClientWidth(621);
  SetClientHeight(297);

  FormatMask = new TLabel(this);
  FormatMask->SetName("FormatMask");
  FormatMask->SetParent(this);
  FormatMask->SetBounds(8, 8, 605, 13);
  FormatMask->Font()->SetStyle({fsBold});
  FormatMask->SetCaption("");

  Desc = new TLabel(this);
  Desc->SetName("Desc");
  Desc->SetParent(this);
  Desc->SetAutoSize(false);
  Desc->SetWordWrap(true);
  Desc->SetBounds(8, 28, 605, 26);  // two lines of the form's font
  Desc->SetCaption("");

  ParamsTable = new grid::TVadOdizadEzev(this);
  ParamsTable->SetName("ParamsTable");
  ParamsTable->SetParent(this);
  ParamsTable->SetBounds(8, 60, 605, 196);
  ParamsTable->SetColCount(3);
  ParamsTable->SetRowCount(2);
  ParamsTable->SetFixedRows(1);
  ParamsTable->SetFixedCols(0);
  ParamsTable->SetDefaultRowHeight(21);
  ParamsTable->SetColWidths(0, 64);
  ParamsTable->SetColWidths(1, 349);
  ParamsTable->SetColWidths(2, 172);
  auto options = ParamsTable->Options();
  options.Include(goEditing);
  ParamsTable->SetOptions(options);
  rtl::TStringList headers;
  for (const char* title : {"Name", "Description", "Value"}) headers.Add(title);
  ParamsTable->SetColumnHeaders(&headers);
  ParamsTable->SetTabOrder(0);
  ParamsTable->OnCanEditCell = [this](TObject* s, Integer r, Integer c, bool& can) {
    ParamsTableCanEditCell(s, r, c, can);
  };
  ParamsTable->OnCellValidate = [this](TObject* s, Integer c, Integer r, AnsiString& v, bool& valid) {
    ParamsTableCellValidate(s, c, r, v, valid);
  };
  ParamsTable->OnEditChange = [this](TObject* s, Integer c, Integer r, const AnsiString& v) {
    ParamsTableEditChange(s, c, r, v);
  };
  ParamsTable->OnGetEditorType = [this](TObject* s, Integer c, Integer r, TEditorType& e) {
    ParamsTableGetEditorType(s, c, r, e);
  };
  ParamsTable->OnHasComboBox = [this](TObject* s, Integer c, Integer r, bool& has) {
    ParamsTableHasComboBox(s, c, r, has);
  };
  ParamsTable->OnEditingDone = [this](TObject* s) { ParamsTableEditingDone(s); };

  OkButt = new TButton(this);
  OkButt->SetName("OkButt");
  OkButt->SetParent(this);
  OkButt->SetBounds(452, 266, 75, 25);
  OkButt->SetCaption("Ok");
  OkButt->SetTabOrder(1);
  // Closing is the handler's decision: a required value may be missing.
  OkButt->OnClick = [this](TObject* s) { OkButtClick(s); };

  Button2 = new TButton(this);
  Button2->SetName("Button2");
  Button2->SetParent(this);
  Button2->SetBounds(538, 266, 75, 25);
  Button2->SetCaption("Cancel");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);
  Button2->SetTabOrder(2);

  SetActiveControl(ParamsTable);
}

void TfrmCustTagEdit::LoadParams(const TcustomTagParams& params) {
  FormatMask->SetCaption(params.Syntax);
  Desc->SetCaption(params.Description);
  params_ = params;

  auto& model = ParamsTable->Model();
  for (Integer r = 1; r < model.AllRowCount(); ++r) model.UnHideRow(r);
  ParamsTable->SetRowCount(static_cast<Integer>(params_.Params.size()) + 1);
  for (Integer i = 0; i < static_cast<Integer>(params_.Params.size()); ++i) {
    TcustomTagParam& p = params_.Params[static_cast<size_t>(i)];
    const Integer row = i + 1;
    ParamsTable->SetCells(2, row, p.Default);
    ParamsTable->SetCells(0, row, p.Name);
    ParamsTable->SetCells(1, row, p.Description);
    switch (p.Kind) {
      case tpkOperator: {
        Integer number = 0;
        if (rtl::TryStrToInt(p.Value, number) && number >= 0 && number < kOperatorCount) {
          ParamsTable->SetCells(2, row, kOperatorTexts[static_cast<size_t>(number)]);
        } else {
          // A tag without its operator yet starts at "not equal".
          ParamsTable->SetCells(2, row, kOperatorTexts[kOperatorNotEqual]);
          p.Value = "0";
        }
        break;
      }
      case tpkLowHigh: {
        const Integer state = rtl::StrToInt(p.Value);
        if (state == 0) ParamsTable->SetCells(2, row, kLowText);
        if (state == 1) ParamsTable->SetCells(2, row, kHighText);
        break;
      }
      default:
        if (!p.Value.empty()) ParamsTable->SetCells(2, row, p.Value);
        break;
    }
  }
  // Hidden rows last: hiding renumbers the rows shown below them.
  for (Integer i = static_cast<Integer>(params_.Params.size()) - 1; i >= 0; --i)
    if (params_.Params[static_cast<size_t>(i)].Hidden) model.HideRow(i + 1);
  // The user starts on the first value: typing edits it at once.
  ParamsTable->SetCol(2);
  if (ParamsTable->RowCount() > 1) ParamsTable->SetRow(1);
}

TcustomTagParam* TfrmCustTagEdit::ParamOfRow(Integer displayRow) {
  if (displayRow < 1 || displayRow >= ParamsTable->RowCount()) return nullptr;
  const Integer index = ParamsTable->RealRowIndex(displayRow) - 1;
  if (index < 0 || index >= static_cast<Integer>(params_.Params.size())) return nullptr;
  return &params_.Params[static_cast<size_t>(index)];
}

void TfrmCustTagEdit::OkButtClick(TObject*) {
  for (const auto& p : params_.Params) {
    if (!p.Optional() && p.Value.empty()) {
      BeepAndMessage(MB_ICONHAND, "Value for " + p.Name + " is required.", mtError, {mbOK});
      return;
    }
  }
  SetModalResult(mrOk);
}

void TfrmCustTagEdit::ParamsTableCanEditCell(TObject*, Integer, Integer ACol, bool& CanEdit) { CanEdit = ACol == 2; }

void TfrmCustTagEdit::ParamsTableGetEditorType(TObject*, Integer, Integer ARow, TEditorType& AEditor) {
  const TcustomTagParam* p = ParamOfRow(ARow);
  if (p == nullptr) return;
  auto* spin = dynamic_cast<grid::TGridSpin*>(ParamsTable->EditorControl(grid::ecSpin));
  auto* combo = dynamic_cast<grid::TGridCombo*>(ParamsTable->EditorControl(grid::ecCombo));
  switch (p->Kind) {
    case tpkPin:
      AEditor = grid::edSpinEdit;
      if (spin) {
        spin->SetSpinType(dropdown::sptNormal);
        spin->SetMinValue(1);
        spin->SetMaxValue(17);
      }
      break;
    case tpkNumber:
      AEditor = grid::edSpinEdit;
      if (spin) {
        spin->SetSpinType(dropdown::sptNormal);
        spin->SetMinValue(0);
        spin->SetMaxValue(2147483647);
      }
      break;
    case tpkDecimal:
      AEditor = grid::edFloatSpinEdit;
      if (spin) {
        spin->SetSpinType(dropdown::sptFloat);
        spin->SetPrecision(2);
        spin->SetMinFloatValue(p->Ranged() ? p->Min : 0.0);
        spin->SetMaxFloatValue(p->Ranged() ? p->Max : 999999.0);
      }
      break;
    case tpkText:
      if (p->List.empty()) {
        AEditor = grid::edNormal;
      } else {
        AEditor = grid::edComboEdit;
        if (combo) {
          combo->SetSorted(true);
          combo->Items()->SetText(p->List);
        }
      }
      break;
    case tpkOperator:
    case tpkLowHigh:
      AEditor = grid::edComboList;
      if (combo) {
        // The offered order is the meaning here: never sorted.
        combo->SetSorted(false);
        combo->Items()->Clear();
        if (p->Kind == tpkOperator) {
          for (const auto& text : OperatorChoices(p->Flags)) combo->Items()->Add(text);
        } else {
          combo->Items()->Add(kLowText);
          combo->Items()->Add(kHighText);
        }
      }
      break;
    default:
      break;
  }
}

void TfrmCustTagEdit::ParamsTableHasComboBox(TObject*, Integer ACol, Integer ARow, bool& HasComboBox) {
  const TcustomTagParam* p = ACol == 2 ? ParamOfRow(ARow) : nullptr;
  HasComboBox = p != nullptr && p->Kind == tpkOperator;
}

void TfrmCustTagEdit::ParamsTableEditChange(TObject*, Integer, Integer ARow, const AnsiString& Value) {
  TcustomTagParam* p = ParamOfRow(ARow);
  if (p == nullptr) return;
  switch (p->Kind) {
    case tpkOperator:
      p->Value = rtl::IntToStr(OperatorNumber(Value));
      break;
    case tpkLowHigh:
      p->Value = rtl::AnsiSameText(Value, "high") ? "1" : "0";
      break;
    default:
      p->Value = Value;
      break;
  }
}

void TfrmCustTagEdit::ParamsTableEditingDone(TObject*) {
  // The spin editors write their number back even when the user emptied
  // the field; an optional value left empty shows empty, as the tag will
  // be built without it.
  const Integer row = ParamsTable->Row();
  const TcustomTagParam* p = ParamOfRow(row);
  if (p != nullptr && p->Optional() && p->Value.empty() && !ParamsTable->Cells(2, row).empty())
    ParamsTable->SetCells(2, row, "");
}

void TfrmCustTagEdit::ParamsTableCellValidate(TObject*, Integer, Integer ARow, AnsiString& Value, bool& Valid) {
  const TcustomTagParam* p = ParamOfRow(ARow);
  if (p == nullptr) return;
  if (p->Optional() && Value.empty()) {
    Valid = true;
    return;
  }
  switch (p->Kind) {
    case tpkPin: {
      Integer pin = 0;
      Valid = rtl::TryStrToInt(Value, pin) && pin >= 1 && pin <= 17;
      break;
    }
    case tpkNumber:
    case tpkDecimal: {
      double number = 0;
      Valid = TryFixedTextToFloat(Value, number) && (!p->Ranged() || (number >= p->Min && number <= p->Max));
      break;
    }
    case tpkText:
    case tpkOperator:
      Valid = true;
      break;
    default:
      break;  // low or high: the grid's own verdict
  }
}

bool ShowTagDialog(const AnsiString& title, TcustomTagParams& params) {
  auto* form = vcl::Create<TfrmCustTagEdit>(nullptr);
  struct FreeForm {
    TfrmCustTagEdit* form;
    ~FreeForm() { vcl::Free(form); }
  } guard{form};
  form->LoadParams(params);
  form->SetCaption(title);
  if (form->ShowModal() != mrOk) return false;
  params = form->Params();
  return true;
}

}  // namespace core
