#pragma once
// Small objects of the grid: the list of controls shown in cells and a
// picture kept by its file name.
#include <memory>
#include <vector>

#include "grid/model/GridTypes.h"
#include "vcl/Components.h"
#include "vcl/Graphics.h"

namespace vcl {
class TControl;
}

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

}  // namespace grid
