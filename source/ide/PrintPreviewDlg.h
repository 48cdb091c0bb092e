#pragma once
// The print preview window: the editor's page as the printer lays it out,
// at a chosen zoom, with "Print" and "Close".
#include "vcl/Forms.h"

namespace vcl {
class TButton;
class TComboBox;
class TPanel;
}  // namespace vcl
namespace htmledit {
class TpsHTMLEditBase;
class TpsPrintPreview;
}  // namespace htmledit

namespace ide {

// The zoom choices, in the box's order.
struct TZoomChoice {
  const char* Caption;
  double Factor;
};
inline constexpr TZoomChoice kZoomChoices[] = {{"500%", 5.0}, {"200%", 2.0}, {"150%", 1.5}, {"100%", 1.0},
                                               {"75%", 0.75}, {"50%", 0.5},  {"25%", 0.25}, {"10%", 0.1}};

class Tfrm_PrintPreview : public vcl::TForm {
 public:
  explicit Tfrm_PrintPreview(vcl::TComponent* owner);
  void SetEditor(htmledit::TpsHTMLEditBase* editor);
  void cb_ZoomChange(vcl::TObject* Sender);

  vcl::TPanel* pnlTop = nullptr;
  vcl::TComboBox* cb_Zoom = nullptr;
  vcl::TButton* btnPrint = nullptr;
  vcl::TButton* btnClose = nullptr;
  htmledit::TpsPrintPreview* he_PrintPreview = nullptr;
};

extern Tfrm_PrintPreview* frm_PrintPreview;

}  // namespace ide
