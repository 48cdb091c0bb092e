#pragma once
// The dialog that edits the parameters of one module tag: the kind's syntax
// and description above a grid with one row per parameter, each edited with
// the editor its kind asks for (pin number, number, decimal number, text
// with proposals, comparison operator, low or high). Every change is stored
// at once in the parameter's Value; "Ok" refuses to close while a required
// value is empty.
#include <vector>

#include "core/ZelWebCmdU.h"
#include "grid/model/GridTypes.h"
#include "vcl/Forms.h"

namespace grid {
class TVadOdizadEzev;
}
namespace vcl {
class TButton;
class TLabel;
}  // namespace vcl

namespace core {

class TfrmCustTagEdit : public vcl::TForm {
 public:
  explicit TfrmCustTagEdit(vcl::TComponent* owner);

  // Fills the form from params (syntax, description, one row each).
  // Raises EConvertError for a low-or-high value that is not an integer.
  void LoadParams(const TcustomTagParams& params);
  // The parameters as edited so far.
  const TcustomTagParams& Params() const { return params_; }

  // The texts the operator drop-down of a kind-4 parameter offers, in order.
  static std::vector<AnsiString> OperatorChoices(Word flags);

  vcl::TLabel* FormatMask = nullptr;
  vcl::TLabel* Desc = nullptr;
  grid::TVadOdizadEzev* ParamsTable = nullptr;
  vcl::TButton* OkButt = nullptr;
  vcl::TButton* Button2 = nullptr;

  void OkButtClick(vcl::TObject* Sender);
  void ParamsTableCanEditCell(vcl::TObject* Sender, Integer ARow, Integer ACol, bool& CanEdit);
  void ParamsTableCellValidate(vcl::TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value, bool& Valid);
  void ParamsTableEditChange(vcl::TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value);
  void ParamsTableGetEditorType(vcl::TObject* Sender, Integer ACol, Integer ARow, grid::TEditorType& AEditor);
  void ParamsTableEditingDone(vcl::TObject* Sender);
  void ParamsTableHasComboBox(vcl::TObject* Sender, Integer ACol, Integer ARow, bool& HasComboBox);

 private:
  // The parameter a shown grid row stands for (rows of hidden parameters
  // are left out of the shown rows); null for the title row.
  TcustomTagParam* ParamOfRow(Integer displayRow);

  TcustomTagParams params_;
};

// Shows the dialog modally under title; on "Ok" the edited parameters are
// copied back into params. True when confirmed.
bool ShowTagDialog(const AnsiString& title, TcustomTagParams& params);

}  // namespace core
