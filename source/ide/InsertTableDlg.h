#pragma once
// The insert table dialog: columns, rows, width, cell spacing and padding,
// and the classes and styles of the table and of its cells.
#include "vcl/Forms.h"

namespace vcl {
class TButton;
class TComboBox;
class TLabel;
class TSpinEdit;
}  // namespace vcl

namespace ide {

using rtl::AnsiString;
using rtl::Integer;

class TfrmInsertTable : public vcl::TForm {
 public:
  explicit TfrmInsertTable(vcl::TComponent* owner);

  // Takes the numbers from the boxes as the dialog closes.
  void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);

  Integer Columns() const { return columns_; }
  Integer Rows() const { return rows_; }
  Integer TableWidth() const { return width_; }
  Integer CellSpacing() const { return spacing_; }
  Integer CellPadding() const { return padding_; }
  // The texts as the boxes show them ("None" included).
  AnsiString TableClass() const;
  AnsiString TableStyle() const;
  AnsiString CellClass() const;
  AnsiString CellStyle() const;

  vcl::TSpinEdit* edColumns = nullptr;
  vcl::TSpinEdit* edRows = nullptr;
  vcl::TSpinEdit* edWidth = nullptr;
  vcl::TSpinEdit* edCellSpacing = nullptr;
  vcl::TSpinEdit* edCellPadding = nullptr;
  vcl::TComboBox* cbTableClass = nullptr;
  vcl::TComboBox* cbTableStyle = nullptr;
  vcl::TComboBox* cbCellClass = nullptr;
  vcl::TComboBox* cbCellStyle = nullptr;
  vcl::TButton* btnOk = nullptr;
  vcl::TButton* btnCancel = nullptr;

 private:
  Integer columns_ = 3;
  Integer rows_ = 2;
  Integer width_ = 300;
  Integer spacing_ = 1;
  Integer padding_ = 5;
};

extern TfrmInsertTable* frmInsertTable;

// A class or style box's text as an attribute value: "None" is no value.
AnsiString TableAttributeText(const AnsiString& shown);

}  // namespace ide
