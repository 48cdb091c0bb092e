#include "ide/InsertTableDlg.h"

#include "ide/DialogParts.h"
#include "vcl/Spin.h"
#include "vcl/StdCtrls.h"

namespace ide {

using namespace vcl;

TfrmInsertTable* frmInsertTable = nullptr;

AnsiString TableAttributeText(const AnsiString& shown) { return shown == "None" ? AnsiString() : shown; }

TfrmInsertTable::TfrmInsertTable(TComponent* owner) : TForm(owner) {
  SetUpDialog(this, "frmInsertTable", "Insert Table", 420, 228);
  const auto number = [this](const char* name, const char* caption, Integer top, Integer value, Integer min) {
    PlaceLabel(this, (std::string("lbl") + (name + 2)).c_str(), caption, 8, top + 4, 110);
    auto* e = PlaceControl<TSpinEdit>(this, name, 124, top, 72, 22);
    e->SetMinValue(min);
    e->SetMaxValue(9999);
    e->SetValue(value);
    return e;
  };
  edColumns = number("edColumns", "Number of Columns", 8, 3, 1);
  edRows = number("edRows", "Number of Rows", 36, 2, 1);
  edWidth = number("edWidth", "Width", 64, 300, 0);
  edCellSpacing = number("edCellSpacing", "Cell Spacing", 92, 1, 0);
  edCellPadding = number("edCellPadding", "Cell Padding", 120, 5, 0);

  const auto box = [this](const char* name, const char* caption, Integer top,
                          std::initializer_list<const char*> items) {
    PlaceLabel(this, (std::string("lbl") + (name + 2)).c_str(), caption, 208, top - 14, 110);
    auto* c = PlaceControl<TComboBox>(this, name, 208, top, 204, 21);
    for (const char* i : items) c->Items()->Add(i);
    c->SetText("None");
    return c;
  };
  cbTableClass = box("cbTableClass", "Table class", 22, {"None"});
  cbTableStyle = box("cbTableStyle", "Table style", 64, {"None", "border-collapse:collapse;border-width:1px"});
  cbCellClass = box("cbCellClass", "Cell class", 106, {"None"});
  cbCellStyle = box("cbCellStyle", "Cell style", 148,
                    {"None", "background-color:#81cefc", "background-color:#81fcce"});

  PlaceOkCancel(this, 253, 194, btnOk, btnCancel);
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

void TfrmInsertTable::FormClose(TObject*, TCloseAction&) {
  columns_ = edColumns->Value();
  rows_ = edRows->Value();
  width_ = edWidth->Value();
  spacing_ = edCellSpacing->Value();
  padding_ = edCellPadding->Value();
}

AnsiString TfrmInsertTable::TableClass() const { return cbTableClass->Text(); }
AnsiString TfrmInsertTable::TableStyle() const { return cbTableStyle->Text(); }
AnsiString TfrmInsertTable::CellClass() const { return cbCellClass->Text(); }
AnsiString TfrmInsertTable::CellStyle() const { return cbCellStyle->Text(); }

}  // namespace ide
