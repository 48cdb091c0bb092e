#include "grid/model/CellProperties.h"

#include <algorithm>

#include "grid/model/GridModel.h"
#include "rtl/Convert.h"

namespace grid {

namespace {

void FreeObject(const TGraphicObject& o) {
  if (o.Object != nullptr && o.Free != nullptr) o.Free(o.Object);
}

}  // namespace

TCellGraphic::~TCellGraphic() {
  switch (CellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
      if (CellCreated) FreeObject(bitmap_);
      break;
    case ctImages:
    case ctBalloon:
      FreeObject(bitmap_);
      break;
    case ctIcon:
      if (CellCreated) FreeObject(icon_);
      break;
    default:
      break;
  }
}

void TCellGraphic::Assign(const TCellGraphic& s) {
  CellType = s.CellType;
  CellVAlign = s.CellVAlign;
  CellHAlign = s.CellHAlign;
  CellIndex = s.CellIndex;
  CellTransparent = s.CellTransparent;
  CellValue = s.CellValue;
  CellAngle = s.CellAngle;
  CellBoolean = s.CellBoolean;
  CellErrFrom = s.CellErrFrom;
  CellErrLen = s.CellErrLen;
  CellText = s.CellText;
  CellCreated = s.CellCreated;
}

TExtent TCellGraphic::PictureSize(Integer width, Integer height, Integer pictureWidth,
                                  Integer pictureHeight) const {
  const Integer w = width - CellIndex;
  const Integer h = height - CellIndex;
  const bool fits = pictureWidth <= w && pictureHeight <= h;
  auto ratio = [](Integer available, Integer own) {
    return own <= 0 ? 1.0 : static_cast<double>(available) / own;
  };
  auto scaled = [&](double r) {
    return TExtent{static_cast<Integer>(rtl::Round(pictureWidth * r)),
                   static_cast<Integer>(rtl::Round(pictureHeight * r))};
  };
  switch (CellAngle) {
    case 1:
      return {w, h};
    case 2:
      return scaled(std::min(ratio(w, pictureWidth), ratio(h, pictureHeight)));
    case 3:
      return fits ? TExtent{pictureWidth, pictureHeight} : TExtent{w, h};
    case 4:
      if (fits) return {pictureWidth, pictureHeight};
      return scaled(std::min({ratio(w, pictureWidth), ratio(h, pictureHeight), 1.0}));
    default:
      return {pictureWidth, pictureHeight};
  }
}

TCellProperties::TCellProperties(TGridModel* owner, Integer col, Integer row, const TCellDefaults& d)
    : OwnerCol(col), OwnerRow(row), owner_(owner) {
  Alignment = d.Alignment;
  vAlignment_ = d.VAlignment;
  wordWrap_ = d.WordWrap;
  FontName = d.Font.Name;
  FontSize = d.Font.Size;
  FontStyle = d.Font.Style;
  FontColor = d.Font.Color;
  brushColor_ = d.BrushColor;
  brushColorTo_ = d.ColorTo;
  GradientDirection = d.GradientDirection;
  CalcType = 0;
}

TCellProperties::~TCellProperties() {
  if (ownsGraphic_) delete graphic_;
}

void TCellProperties::Repaint() {
  if (owner_ != nullptr) owner_->InvalidateCellRect(OwnerCol, OwnerRow);
}

void TCellProperties::SetBrushColor(TColor value) {
  brushColor_ = value;
  Repaint();
}

void TCellProperties::SetBrushColorTo(TColor value) {
  brushColorTo_ = value;
  Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment value) {
  vAlignment_ = value;
  Repaint();
}

void TCellProperties::SetWordWrap(bool value) {
  wordWrap_ = value;
  Repaint();
}

void TCellProperties::SetGraphic(std::unique_ptr<TCellGraphic> graphic) {
  if (ownsGraphic_) delete graphic_;
  graphic_ = graphic.release();
  ownsGraphic_ = graphic_ != nullptr;
}

void TCellProperties::SetSharedGraphic(TCellGraphic* graphic) {
  if (ownsGraphic_) delete graphic_;
  graphic_ = graphic;
  ownsGraphic_ = false;
}

TCellGraphic* TCellProperties::DetachGraphic() {
  TCellGraphic* g = graphic_;
  graphic_ = nullptr;
  ownsGraphic_ = false;
  return g;
}

void TCellProperties::Assign(const TCellProperties& s) {
  IsBaseCell = s.IsBaseCell;
  CellSpanX = s.CellSpanX;
  CellSpanY = s.CellSpanY;
  OwnerRow = s.OwnerRow;
  OwnerCol = s.OwnerCol;
  Alignment = s.Alignment;
  BorderColor = s.BorderColor;
  BorderWidth = s.BorderWidth;
  brushColor_ = s.brushColor_;
  BrushStyle = s.BrushStyle;
  FontColor = s.FontColor;
  FontStyle = s.FontStyle;
  FontName = s.FontName;
  FontSize = s.FontSize;
  ReadOnly = s.ReadOnly;
  Editor = s.Editor;
  vAlignment_ = s.vAlignment_;
  wordWrap_ = s.wordWrap_;
  NodeLevel = s.NodeLevel;
  Control = s.Control;
}

}  // namespace grid
