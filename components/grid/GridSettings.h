#pragma once
// The settings objects the grid publishes for its later operations (search
// and floating footers, sorting, drag and drop, drag scrolling, bands and
// background, grouping, balloons, modified-row marks, progress look and the
// filter with its drop-down). Each holds its published values with their
// defaults and copies them with Assign; a source of another class is
// ignored. The operations that read them act on the values as they stand.
#include <cstdint>
#include <functional>
#include <memory>

#include "grid/model/FilterRows.h"
#include "grid/model/GridSort.h"
#include "grid/model/GridTypes.h"
#include "rtl/Collection.h"
#include "vcl/Components.h"
#include "vcl/Graphics.h"

namespace vcl {
class TBitmap;
class TControl;
}  // namespace vcl

namespace grid {

enum class TSearchDirection { sdTopBottom, sdLeftRight };
using enum TSearchDirection;

class TSearchFooter : public vcl::TPersistent {
 public:
  TSearchFooter();
  ~TSearchFooter() override;
  bool Visible = false;
  TColor Color = 0xFFFFFF;
  TColor ColorTo = 0xFF00000F;  // clBtnFace
  vcl::TFont* Font() const { return font_.get(); }
  AnsiString FindNextCaption = "Find &next";
  AnsiString FindPrevCaption = "Find &previous";
  AnsiString HighLightCaption = "Highlight";
  AnsiString MatchCaseCaption = "Match case";
  AnsiString HintFindNext = "Find next occurence";
  AnsiString HintFindPrev = "Find previous occurence";
  AnsiString HintHighlight = "Highlight occurences";
  AnsiString HintClose = "Close";
  bool ShowFindNext = true;
  bool ShowFindPrev = true;
  bool ShowHighLight = true;
  bool ShowMatchCase = true;
  bool ShowClose = true;
  bool AutoSearch = true;
  bool AlwaysHighLight = false;
  bool SearchActiveColumnOnly = false;
  Integer SearchColumn = -1;
  bool SearchMatchStart = false;
  bool SearchFixedCells = false;
  bool SearchHiddenRows = false;
  TSearchDirection SearchDirection = sdTopBottom;
  // The grid's theme-adapt switch as the footer keeps it; a change notifies.
  bool AutoThemeAdapt() const { return autoThemeAdapt_; }
  void SetAutoThemeAdapt(bool v);
  // Copies everything but AutoSearch and SearchFixedCells, then notifies.
  void Assign(const vcl::TPersistent* source) override;
  vcl::TNotifyEvent OnChange;

 private:
  void Changed();
  std::unique_ptr<vcl::TFont> font_;
  bool autoThemeAdapt_ = false;
};

enum class TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview };
using enum TFooterStyle;

class TFloatingFooter : public vcl::TPersistent {
 public:
  TColor BorderColor = clNone;
  bool CalculateHiddenRows = true;
  TColor Color = 0xFF00000F;  // clBtnFace
  Integer Column = 0;
  AnsiString CustomTemplate;
  TFooterStyle FooterStyle = fsFixedLastRow;
  bool ShowHint = false;
  bool Visible = false;
  // The setters that act: each stores and tells the grid (OnChange), which
  // shows, sizes and repaints its footer.
  void SetBorderColor(TColor v);
  void SetColor(TColor v);
  void SetColumn(Integer v);
  void SetCustomTemplate(const AnsiString& v);
  void SetFooterStyle(TFooterStyle v);
  void SetShowHint(bool v);
  void SetVisible(bool v);
  // Copies all but BorderColor (and the unpublished state), then notifies.
  void Assign(const vcl::TPersistent* source) override;
  std::function<void()> OnChange;
  // The custom total of a footer cell when the grid's OnFooterCalc is not
  // assigned.
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value)> OnCalcFooter;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
};

// What the search footer did.
enum class TSearchAction { saFindFirst, saFindPrevious, saFindNext };
using enum TSearchAction;

// TSortStyle, TSortDirection and TSortBlankPosition: grid/model/GridSort.h.
enum class TIndexSortKey { ikShift, ikCtrl };
using enum TIndexSortKey;

class TSortSettings : public vcl::TPersistent {
 public:
  TSortSettings();
  ~TSortSettings() override;
  bool AutoSortForGrouping = true;
  bool AutoColumnMerge = false;
  Integer Column = -1;
  bool Show = false;
  bool IndexShow = false;
  TColor IndexColor = 0x00FFFF;
  TIndexSortKey IndexSortKey = ikShift;
  bool Full = true;
  bool SingleColumn = false;
  bool IgnoreBlanks = false;
  TSortBlankPosition BlankPos = blFirst;
  bool AutoFormat = true;
  TSortDirection Direction = sdAscending;
  bool IgnoreCase = false;
  TSortDirection InitSortDirection = sdAscending;
  bool FixedCols = false;
  bool NormalCellsOnly = false;
  Integer Row = 0;
  bool UndoSort = false;
  bool SortOnVirtualCells = true;
  TColor HeaderColor = clNone;
  TColor HeaderColorTo = clNone;
  TColor HeaderMirrorColor = clNone;
  TColor HeaderMirrorColorTo = clNone;
  // The indicator pictures; the setters copy the picture.
  vcl::TBitmap* UpGlyph() const { return upGlyph_.get(); }
  void SetUpGlyph(const vcl::TBitmap* v);
  vcl::TBitmap* DownGlyph() const { return downGlyph_.get(); }
  void SetDownGlyph(const vcl::TBitmap* v);
  vcl::TBitmap* IndexUpGlyph() const { return indexUpGlyph_.get(); }
  void SetIndexUpGlyph(const vcl::TBitmap* v);
  vcl::TBitmap* IndexDownGlyph() const { return indexDownGlyph_.get(); }
  void SetIndexDownGlyph(const vcl::TBitmap* v);
  // Copies all but IgnoreCase and SortOnVirtualCells; pictures by value.
  void Assign(const vcl::TPersistent* source) override;

 private:
  std::unique_ptr<vcl::TBitmap> upGlyph_, downGlyph_, indexUpGlyph_, indexDownGlyph_;
};

class TDragDropSettings : public vcl::TPersistent {
 public:
  bool ShowCells = true;
  bool OleAcceptFiles = true;
  bool OleAcceptText = true;
  bool OleAcceptURLs = true;
  bool OleCopyAlways = false;
  bool OleDropTarget = false;
  bool OleDropSource = false;
  bool OleEntireRows = false;
  bool OleInsertRows = false;
  bool OleRemoveRows = false;
  bool OleDropRTF = false;
  bool OleColumnDragDrop = false;
  // All twelve, field by field (nothing is registered).
  void Assign(const vcl::TPersistent* source) override;
};

class TDragScrollDelays : public vcl::TPersistent {
 public:
  Integer InitialDelay = 1000;
  Integer RepeatDelay = 250;
  void Assign(const vcl::TPersistent* source) override;
};

class TDragScrollMargins : public vcl::TPersistent {
 public:
  Integer TopMargin = 50;
  Integer BottomMargin = 50;
  Integer LeftMargin = 50;
  Integer RightMargin = 50;
  void Assign(const vcl::TPersistent* source) override;
};

class TDragScrollOptions : public vcl::TPersistent {
 public:
  TDragScrollOptions();
  ~TDragScrollOptions() override;
  bool Active = false;
  TDragScrollDelays* Delays() const { return delays_.get(); }
  TDragScrollMargins* Margins() const { return margins_.get(); }
  // Margins, then Delays, through their own Assign, then Active.
  void Assign(const vcl::TPersistent* source) override;

 private:
  std::unique_ptr<TDragScrollDelays> delays_;
  std::unique_ptr<TDragScrollMargins> margins_;
};

class TBands : public vcl::TPersistent {
 public:
  // grid: repainted by the setters that change the look (not owned; may be null).
  explicit TBands(vcl::TControl* grid = nullptr) : grid_(grid) {}
  bool Active() const { return active_; }
  void SetActive(bool v);
  TColor PrimaryColor() const { return primaryColor_; }
  void SetPrimaryColor(TColor v);
  Integer PrimaryLength() const { return primaryLength_; }
  void SetPrimaryLength(Integer v);
  TColor SecondaryColor() const { return secondaryColor_; }
  void SetSecondaryColor(TColor v);
  Integer SecondaryLength() const { return secondaryLength_; }
  void SetSecondaryLength(Integer v);
  bool Print = false;
  // Rows per period: always the two lengths together.
  Integer TotalLength() const { return totalLength_; }
  // Copies the six values and the period; no repaint.
  void Assign(const vcl::TPersistent* source) override;

 private:
  void Repaint();
  vcl::TControl* grid_;
  bool active_ = false;
  TColor primaryColor_ = 0xFF000018;  // clInfoBk
  Integer primaryLength_ = 1;
  TColor secondaryColor_ = 0xFF000005;  // clWindow
  Integer secondaryLength_ = 1;
  Integer totalLength_ = 2;
};

enum class TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
using enum TBackGroundDisplay;
enum class TBackGroundCells { bcNormal, bcFixed, bcAll };
using enum TBackGroundCells;

class TBackGround : public vcl::TPersistent {
 public:
  explicit TBackGround(vcl::TControl* grid = nullptr);
  ~TBackGround() override;
  Integer Top() const { return top_; }
  void SetTop(Integer v);
  Integer Left() const { return left_; }
  void SetLeft(Integer v);
  TBackGroundDisplay Display() const { return display_; }
  void SetDisplay(TBackGroundDisplay v);
  vcl::TBitmap* Bitmap() const { return bitmap_.get(); }
  // Copies the picture into the owned bitmap.
  void SetBitmap(const vcl::TBitmap* v);
  TBackGroundCells Cells() const { return cells_; }
  void SetCells(TBackGroundCells v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TColor ColorTo() const { return colorTo_; }
  void SetColorTo(TColor v);
  void Assign(const vcl::TPersistent* source) override;

 private:
  void Repaint();
  vcl::TControl* grid_;
  Integer top_ = 0;
  Integer left_ = 0;
  TBackGroundDisplay display_ = bdTile;
  std::unique_ptr<vcl::TBitmap> bitmap_;
  TBackGroundCells cells_ = bcNormal;
  TColor color_ = 0xFF000005;     // clWindow
  TColor colorTo_ = 0xFF00000F;   // clBtnFace
};

class TGrouping : public vcl::TPersistent {
 public:
  bool AutoSelectGroup = false;
  AnsiString GroupCountFormat;
  TColor HeaderColor = clNone;
  TColor HeaderColorTo = clNone;
  TColor HeaderTextColor = clNone;
  bool HeaderUnderline = false;
  TColor HeaderLineColor = 0xFF0000;
  Integer HeaderLineWidth = 2;
  bool MergeHeader = false;
  bool MergeSummary = false;
  bool ShowGroupCount = false;
  bool Summary = false;
  TColor SummaryColor = clNone;
  TColor SummaryColorTo = clNone;
  TColor SummaryTextColor = clNone;
  bool SummaryLine = false;
  TColor SummaryLineColor = 0xFF0000;
  Integer SummaryLineWidth = 2;
  // Not AutoSelectGroup, Summary, or the line colours and widths.
  void Assign(const vcl::TPersistent* source) override;
};

class TBalloonSettings : public vcl::TPersistent {
 public:
  Integer AutoHideDelay = -1;
  TColor BackgroundColor = clNone;
  bool Enable() const { return enable_; }
  // Stores it and fires OnEnableChange.
  void SetEnable(bool v);
  Integer InitialDelay = -1;
  Integer ReshowDelay = -1;
  TColor TextColor = clNone;
  Byte Transparency = 0;
  // The colours, the three delays and Enable (the field, without the event);
  // not Transparency.
  void Assign(const vcl::TPersistent* source) override;
  vcl::TNotifyEvent OnEnableChange;

 private:
  bool enable_ = false;
};

class TShowModified : public vcl::TPersistent {
 public:
  bool Enabled = false;
  TColor Color() const { return color_; }
  // Stores it and notifies.
  void SetColor(TColor v);
  void Assign(const vcl::TPersistent* source) override;
  vcl::TNotifyEvent OnChange;

 private:
  TColor color_ = 0x00FFFF;
};

// The look of the progress bars of cells; every change notifies (the grid
// repaints).
class TGridProgressAppearance : public vcl::TPersistent {
 public:
  TColor CompleteColor = 0x0000FF;
  TColor CompleteFontColor = 0xFF0000;
  TColor UnCompleteColor = clNone;
  TColor UnCompleteFontColor = 0xFF000008;  // clWindowText
  TColor Level0Color = 0x00FF00;
  TColor Level0ColorTo = 0xE1FFE1;
  TColor Level1Color = 0x00FFFF;
  TColor Level1ColorTo = 0xCAFFFF;
  TColor Level2Color = 0x53A9FF;
  TColor Level2ColorTo = 0xA8D3FF;
  TColor Level3Color = 0x0000FF;
  TColor Level3ColorTo = 0xCACAFF;
  Integer Level1Perc = 70;
  Integer Level2Perc = 90;
  TColor BorderColor = 0x000000;
  bool ShowBorder = false;
  bool Stacked = false;
  bool ShowPercentage = true;
  bool CompletionSmooth = true;
  bool ShowGradient = true;
  Integer Steps = 11;
  // Tells the owner of a change made through the fields.
  void Changed();
  // Copies all values, then notifies.
  void Assign(const vcl::TPersistent* source) override;
  vcl::TNotifyEvent OnChange;
};

// The look of the filter drop-down's value list.
class TFilterDropDown : public vcl::TPersistent {
 public:
  TFilterDropDown();
  ~TFilterDropDown() override;
  bool AutoSize = false;
  TColor Color = 0xFF000005;  // clWindow
  bool ColumnWidth = false;
  vcl::TFont* Font() const { return font_.get(); }
  void SetFont(const vcl::TFont* v);
  Integer Height = 150;
  Integer Width = 150;
  // A change of the picture notifies.
  vcl::TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(const vcl::TBitmap* v);
  // Color, ColumnWidth, Font, Height and Width.
  void Assign(const vcl::TPersistent* source) override;
  vcl::TNotifyEvent OnChange;

 private:
  std::unique_ptr<vcl::TFont> font_;
  std::unique_ptr<vcl::TBitmap> glyph_;
};

}  // namespace grid
