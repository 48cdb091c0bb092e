#pragma once
// Small objects of the grid: the list of controls shown in cells and a
// picture kept by its file name.
#include <memory>
#include <vector>

#include "grid/model/GridTypes.h"
#include "vcl/Components.h"
#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Graphics.h"

namespace vcl {
class TControl;
class TImageList;
}  // namespace vcl

namespace grid {

// A control shown in a cell (real column and row); the control is not owned.
struct TControlEntry {
  Integer Col = 0;
  Integer Row = 0;
  vcl::TControl* Control = nullptr;
};

// The controls shown in cells; owns its entries, not the controls.
class TControlList {
 public:
  Integer Count() const { return static_cast<Integer>(entries_.size()); }
  // Index errors raise EListError "List index out of bounds (%d)".
  TControlEntry& Items(Integer index);
  void Add(const TControlEntry& entry) { entries_.push_back(std::make_unique<TControlEntry>(entry)); }
  void DeleteEntry(Integer index);
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::unique_ptr<TControlEntry>> entries_;
};

// A picture named by its file, loaded only to learn its size and to draw.
class TFilePicture : public vcl::TPersistent {
 public:
  const AnsiString& Filename() const { return filename_; }
  // Stores the name, then loads the file (format by extension) for its
  // size; a file that does not load raises the loader's error, the name
  // staying stored and the size as it was.
  void SetFilename(const AnsiString& name);
  Integer Width() const { return width_; }
  Integer Height() const { return height_; }
  // The picture stretched into r; nothing without a file name.
  void Draw(vcl::TCanvas* canvas, const vcl::TRect& r) const;
  void Assign(const vcl::TPersistent* source) override;

 private:
  AnsiString filename_;
  Integer width_ = 0;
  Integer height_ = 0;
};

// The small arrow that shows where a dragged column or row will land: a
// bare pop-up window of the grid in lime, shaped to its arrow.
class TArrowWindow : public vcl::TPanel {
 public:
  enum TDirection { adUp = 0, adDown = 1, adRight = 2, adLeft = 3 };
  // Hidden, parented on and owned by the grid.
  TArrowWindow(vcl::TWinControl* grid, Integer direction);
  Integer Direction() const { return direction_; }
  // The seven corners of the arrow of a direction (0 up, 1 down, 2 right,
  // 3 left), in window coordinates; the window's shape is their polygon.
  static std::vector<vcl::TPoint> ArrowPoints(Integer direction);
  void WndProc(vcl::TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  Integer direction_;
};

// The caption window that floats beside the pointer while columns are
// moved: a disabled, topmost pop-up with a thin border, its face a
// gradient, its caption on one line (cut with an ellipsis) or, holding
// "</", mini-HTML.
class TPopupButton : public vcl::TCustomControl {
 public:
  explicit TPopupButton(vcl::TComponent* owner);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  TColor GradFrom() const { return gradFrom_; }
  void SetGradFrom(TColor v);
  TColor GradTo() const { return gradTo_; }
  void SetGradTo(TColor v);
  TColor GradMirrorFrom() const { return gradMirrorFrom_; }
  void SetGradMirrorFrom(TColor v);
  TColor GradMirrorTo() const { return gradMirrorTo_; }
  void SetGradMirrorTo(TColor v);
  // Pictures of an HTML caption; none at first.
  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* v) { images_ = v; }
  void WndProc(vcl::TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  bool flat_ = false;
  TColor gradFrom_ = clNone;
  TColor gradTo_ = clNone;
  TColor gradMirrorFrom_ = clNone;
  TColor gradMirrorTo_ = clNone;
  vcl::TImageList* images_ = nullptr;
};

// Windows 5.1 (XP) or later.
bool IsWinXPOrLater();
// XP or later, visual themes active and the common controls of version 6
// or later: the look in which the grid draws themed parts.
bool IsThemedXP();

}  // namespace grid
