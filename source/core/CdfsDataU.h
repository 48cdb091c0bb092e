#pragma once
// One image build: a staging folder filled with the project's active files,
// the image builder run over it, and its output moved to the image file.
#include "rtl/Exceptions.h"
#include "rtl/Types.h"

namespace core {

using rtl::AnsiString;
class Tprjmanager;

// The folder to clear does not exist.
class EdirNotFound : public rtl::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EdirNotFound"; }
};

class TcdfsData {
 public:
  // The builder beside the program, the default staging folder under the
  // system's temporary folder.
  TcdfsData();
  TcdfsData(const TcdfsData&) = delete;
  TcdfsData& operator=(const TcdfsData&) = delete;
  virtual ~TcdfsData() = default;
  virtual const char* ClassName() const { return "TcdfsData"; }

  // Empties the staging folder, copies the project's active files that exist
  // into it by their bare names (the first of two equal names wins), runs
  // the builder. True when the builder succeeded and the image file is there.
  bool Build(const Tprjmanager& project, const AnsiString& imageFile);
  // Runs the builder over the staging folder without changing the folder.
  // The image file is replaced only when the builder exited with 0 and wrote
  // its output; otherwise an existing image stays as it was, the result is
  // false and LastError() says why.
  bool RunBuilder(const AnsiString& imageFile);

  const AnsiString& BuilderPath() const { return builderPath_; }
  // Another builder program (tests, or an installation that keeps it elsewhere).
  void SetBuilderPath(const AnsiString& path) { builderPath_ = path; }
  const AnsiString& StagingFolder() const { return stagingFolder_; }
  // Sets the folder whose content becomes the image (a trailing delimiter
  // is added when missing).
  void SetStagingFolder(const AnsiString& folder);
  // Where the builder writes before the move: the system's temporary folder,
  // "Zel", the program's name without extension, "image.cds".
  static AnsiString BuilderOutputPath();
  // Why the last RunBuilder failed; empty after a success.
  const AnsiString& LastError() const { return lastError_; }

 private:
  AnsiString builderPath_;
  AnsiString stagingFolder_;
  AnsiString lastError_;
};

// Deletes every file in the folder and its subfolders, leaving the
// subfolders. path is a folder, or a folder followed by "*.*". Raises
// EdirNotFound "Directory not found: <path with *.*>" when the folder is
// missing. Files that cannot be deleted are skipped; symbolic links are
// removed, never followed.
void DeleteFolderContents(const AnsiString& path);

}  // namespace core
