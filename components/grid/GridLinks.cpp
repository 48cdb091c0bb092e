// Links and form controls in cells: a plain-text link or a mini-HTML
// anchor opened by the desktop (only web and mail links: cell
// texts come from the network, and any other scheme could start a
// program), "CELL://R<row>C<col>" anchors that jump inside the grid, and
// the CHECK, RADIO and BUTTON controls of a cell's mini-HTML.
#include "grid/GridComponent.h"
#include "grid/model/GridUtils.h"
#include "grid/model/HtmlText.h"
#include "dropdown/HtmlText.h"
#include "rtl/Strings.h"
#include "vcl/Shell.h"

namespace grid {

bool TVadOdizadEzev::IsOpenableLink(const AnsiString& link) {
  const AnsiString lower = rtl::LowerCase(rtl::Trim(link));
  return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0 || lower.rfind("mailto:", 0) == 0;
}

bool TVadOdizadEzev::ClickLink(Integer col, Integer row, Integer realCol, Integer x, Integer y) {
  AnsiString text = GetDisplayCell(realCol, row);
  const bool html = GetTextKind(text, EnableHTML) == TTextKind::tkHTML;
  if (!URLShow && !html) return false;
  AnsiString link;
  dropdown::THtmlTextResult hit;
  if (!html) {
    if (text.find("://") != std::string::npos || text.find("mailto:") != std::string::npos) link = text;
  } else {
    vcl::TRect rt = CellRect(col, row);
    rt.Left += 3;
    rt.Top += 3;
    if (CellControlState().IsCheckBoxCell(col, row)) rt.Left += controlLook_->CheckSize();
    vcl::TCanvas* canvas = Canvas();
    vcl::TFont kept;
    kept.Assign(canvas->Font());
    canvas->Font()->Assign(Font());
    dropdown::THtmlTextOptions options;
    options.PointX = x;
    options.PointY = y;
    options.HitTestOnly = true;
    options.LinkColor = URLColor;
    options.Images = gridImages_;
    options.PictureCache = pictureCache_.get();
    if (dropdown::DrawHTMLText(canvas, text, rt, options, hit)) link = hit.HitAnchor;
    canvas->Font()->Assign(&kept);
  }
  if (link.empty()) {
    if (html && rtl::UpperCase(text).find("<CONTROL") != std::string::npos) {
      if (OnClickCell) OnClickCell(this, row, col);
      if (editorActive_) HideCellEditor();
      SelectSingleCell(col, row);
      return true;
    }
    return false;
  }
  bool autoHandle = true;
  bool canControl = Options().Contains(vcl::goEditing);
  if (!hit.ControlId.empty()) CanEditCell(realCol, row, canControl);
  if (!hit.ControlId.empty() && canControl) {
    const AnsiString kind = hit.ControlKind;
    AnsiString value = hit.ControlValue;
    if (kind == "BUTTON") {
      pressedHtmlButton_ = {realCol, row};
      InvalidateCell(col, row);
    } else if (kind == "CHECK") {
      value = rtl::UpperCase(value) == "TRUE" ? "FALSE" : "TRUE";
      SetControlValue(text, hit.ControlId, value);
      Model().SetDisplayCell(realCol, row, text);
    } else if (kind == "RADIO") {
      text = ResetRadioControls(text);
      value = "TRUE";
      SetControlValue(text, hit.ControlId, value);
      Model().SetDisplayCell(realCol, row, text);
    }
    InvalidateCell(col, row);
    if (OnControlClick) OnControlClick(this, row, col, hit.ControlId, kind, value);
    return true;
  }
  if (OnAnchorClick) OnAnchorClick(this, row, col, link, autoHandle);
  if (!autoHandle) return true;
  const AnsiString upper = rtl::UpperCase(link);
  const size_t cellAt = upper.find("CELL://");
  if (cellAt == std::string::npos) {
    if (IsOpenableLink(link)) vcl::OpenURL(rtl::Trim(link));
    return true;
  }
  TCellCoord target;
  if (ParseCellReference(std::string_view(upper).substr(cellAt + 7), target) && target.Y < RowCount() &&
      target.X < ColCount()) {
    SetRow(target.Y);
    SetCol(target.X);
  }
  return true;
}

}  // namespace grid
