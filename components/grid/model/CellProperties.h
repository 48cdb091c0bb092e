#pragma once
// What a cell may carry beside its text: TCellProperties (colours, font,
// alignment, editor, read-only flag, merge spans, node level and the cell's
// graphic) and TCellGraphic (check box, picture, progress bar and the other
// cell graphics). Properties are made only for cells that need them; the
// store owns them (GridModel.h).
#include <memory>
#include <optional>

#include "grid/model/GridTypes.h"

namespace grid {

class TGridModel;

// An object a graphic may hold that belongs to the window layer (a bitmap,
// picture or icon) or to the model (an image-index list, radio captions),
// with the routine that frees it. The graphic frees it only where its type
// says it owns it.
struct TGraphicObject {
  void* Object = nullptr;
  void (*Free)(void*) = nullptr;
};

class TCellGraphic {
 public:
  TCellGraphic() = default;
  TCellGraphic(const TCellGraphic&) = delete;
  TCellGraphic& operator=(const TCellGraphic&) = delete;
  // Frees the bitmap object for bitmaps, radio groups, pictures, file
  // pictures and bit buttons it created, always for image lists and
  // balloons, and the icon of an icon it created.
  ~TCellGraphic();

  TCellType CellType = ctNone;
  TCellVAlign CellVAlign = vaTop;
  TCellHAlign CellHAlign = haLeft;
  Integer CellIndex = 0;
  bool CellTransparent = false;
  // The graphic made its bitmap or icon itself (and frees it).
  bool CellCreated = false;
  bool CellBoolean = false;
  Integer CellAngle = 0;
  double CellValue = 0;
  Integer CellErrFrom = 0;
  Integer CellErrLen = 0;
  AnsiString CellText;
  // The variant slot; unassigned until a graphic operation stores a number.
  std::optional<Integer> CellVar;

  void* CellBitmap() const { return bitmap_.Object; }
  void* CellIcon() const { return icon_.Object; }
  // Replaces the object without freeing the old one (as the field would).
  void SetCellBitmap(TGraphicObject object) { bitmap_ = object; }
  void SetCellIcon(TGraphicObject icon) { icon_ = icon; }

  // Copies the values (not the bitmap or icon).
  void Assign(const TCellGraphic& source);

  // The size a picture of the given size is drawn at in the available room
  // (first reduced by the CellIndex margin), by the stretch mode in
  // CellAngle: 1 stretch, 2 fit keeping the aspect, 3 stretch unless it
  // fits, 4 fit without enlarging when it does not fit, else its own size.
  TExtent PictureSize(Integer width, Integer height, Integer pictureWidth, Integer pictureHeight) const;

 private:
  TGraphicObject bitmap_;
  TGraphicObject icon_;
};

// The appearance of a cell at the moment its properties are made.
struct TCellDefaults {
  TFontSpec Font;
  TColor BrushColor = clWindow;
  TColor ColorTo = clNone;
  TColor MirrorColor = clNone;
  TColor MirrorColorTo = clNone;
  TAlignment Alignment = taLeftJustify;
  TVAlignment VAlignment = vtaTop;
  bool WordWrap = true;
  TCellGradientDirection GradientDirection = GradientVertical;
};

class TCellProperties {
 public:
  // Starts as a picture of the defaults; the store passes the cell.
  TCellProperties(TGridModel* owner, Integer col, Integer row, const TCellDefaults& defaults);
  TCellProperties(const TCellProperties&) = delete;
  TCellProperties& operator=(const TCellProperties&) = delete;
  ~TCellProperties();

  TGridModel* Owner() const { return owner_; }
  // The cell the object was made for (it does not follow row moves).
  Integer OwnerCol = 0;
  Integer OwnerRow = 0;
  // A user object; not owned.
  void* CellObject = nullptr;

  TBrushStyle BrushStyle = bsSolid;
  TColor BrushColor() const { return brushColor_; }
  TColor BrushColorTo() const { return brushColorTo_; }
  void SetBrushColor(TColor value);
  void SetBrushColorTo(TColor value);
  Integer FontSize = 0;
  TColor FontColor = clNone;
  TFontStyles FontStyle;
  AnsiString FontName;
  // Base cell: further columns/rows of the block; covered cell: offset from
  // the base cell; -1 and -1: a plain cell.
  Integer CellSpanX = -1;
  Integer CellSpanY = -1;
  Integer BorderWidth = 0;
  TColor BorderColor = 0;
  TAlignment Alignment = taLeftJustify;
  TVAlignment VAlignment() const { return vAlignment_; }
  void SetVAlignment(TVAlignment value);
  // The pass in which a merged block was last painted.
  Integer PaintPass = 0;
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool IsBaseCell = true;
  Byte CalcType = 0;
  void* CalcObject = nullptr;
  Integer NodeLevel = 0;
  TEditorType Editor = edNormal;
  bool ReadOnly = false;
  TCellGradientDirection GradientDirection = GradientVertical;
  // A control shown in the cell (a window-layer control); not owned.
  void* Control = nullptr;

  // The graphic, owned unless it was set as shared.
  TCellGraphic* Graphic() const { return graphic_; }
  void SetGraphic(std::unique_ptr<TCellGraphic> graphic);
  // A graphic that others own (the grid's spare graphic of virtual and
  // row check boxes): held, never freed.
  void SetSharedGraphic(TCellGraphic* graphic);
  bool OwnsGraphic() const { return ownsGraphic_; }
  // Hands the graphic out: the caller frees an owned one.
  TCellGraphic* DetachGraphic();

  // Copies the spans, owner cell, alignment, border, brush colour and style,
  // font, read-only, editor, vertical alignment, word wrap, node level and
  // control; not the colour-to, gradient, user object or graphic.
  void Assign(const TCellProperties& source);

 private:
  void Repaint();

  TGridModel* owner_;
  TColor brushColor_ = clWindow;
  TColor brushColorTo_ = clNone;
  TVAlignment vAlignment_ = vtaTop;
  bool wordWrap_ = true;
  TCellGraphic* graphic_ = nullptr;
  bool ownsGraphic_ = false;
};

}  // namespace grid
