#include "core/CdfsDataU.h"

#include "core/PrjManagerU.h"
#include "rtl/Clock.h"
#include "rtl/Files.h"
#include "rtl/MessagePump.h"
#include "rtl/Process.h"
#include "rtl/Strings.h"

namespace core {
namespace {

constexpr const char* kBuilderName = "tamblet";
constexpr rtl::Cardinal kPollMs = 50;
constexpr rtl::Cardinal kPumpEveryMs = 3000;

void ClearFolder(const AnsiString& pattern, uint64_t& lastPump) {
  rtl::TSearchRec rec;
  const AnsiString folder = rtl::ExtractFilePath(pattern);
  if (rtl::FindFirst(pattern, rtl::faAnyFile, rec) != 0) return;
  do {
    // A long clearing keeps the window alive.
    if (rtl::GetTickCount64() - lastPump >= kPumpEveryMs) {
      rtl::ProcessMessages();
      lastPump = rtl::GetTickCount64();
    }
    if (rec.Name == "." || rec.Name == "..") continue;
    const AnsiString full = folder + rec.Name;
    if ((rec.Attr & rtl::faDirectory) && !(rec.Attr & rtl::faSymLink))
      ClearFolder(full + rtl::PathDelim + "*.*", lastPump);
    else
      rtl::DeleteFile(full);  // one that cannot be deleted is skipped
  } while (rtl::FindNext(rec) == 0);
  rtl::FindClose(rec);
}

AnsiString LastLine(const AnsiString& text) {
  AnsiString t = rtl::TrimRight(text);
  const auto cut = t.find_last_of('\n');
  return cut == AnsiString::npos ? t : t.substr(cut + 1);
}

}  // namespace

void DeleteFolderContents(const AnsiString& path) {
  AnsiString pattern = path;
  if (pattern.find("*.*") == AnsiString::npos) pattern = rtl::IncludeTrailingPathDelimiter(pattern) + "*.*";
  if (!rtl::DirectoryExists(rtl::ExtractFilePath(pattern)))
    throw EdirNotFound("Directory not found: " + pattern);
  uint64_t lastPump = rtl::GetTickCount64();
  ClearFolder(pattern, lastPump);
}

TcdfsData::TcdfsData()
    : builderPath_(rtl::ProgramFolder() + kBuilderName),
      stagingFolder_(rtl::TempFolder() + rtl::StoredToNativePath("__Tolvane\\IDE\\__tmp__\\")) {}

void TcdfsData::SetStagingFolder(const AnsiString& folder) {
  stagingFolder_ = rtl::IncludeTrailingPathDelimiter(folder);
}

AnsiString TcdfsData::BuilderOutputPath() {
  const AnsiString program = rtl::ChangeFileExt(rtl::ExtractFileName(rtl::ProgramFileName()), "");
  return rtl::TempFolder() + "Zel" + rtl::PathDelim + program + rtl::PathDelim + "image.cds";
}

bool TcdfsData::Build(const Tprjmanager& project, const AnsiString& imageFile) {
  rtl::ForceDirectories(stagingFolder_);
  DeleteFolderContents(stagingFolder_);
  for (rtl::Integer i = 0; i < project.Count(); ++i) {
    const TprjfileCollectionItem* item = project.Item(i);
    if (!item->Active() || !rtl::FileExists(item->Name())) continue;
    // Refusing to overwrite keeps the first of two files with the same name;
    // a file that vanished meanwhile is simply not copied.
    rtl::CopyFile(item->Name(), stagingFolder_ + rtl::ExtractFileName(item->Name()), true);
  }
  return RunBuilder(imageFile) && rtl::FileExists(imageFile);
}

bool TcdfsData::RunBuilder(const AnsiString& imageFile) {
  lastError_.clear();
  const AnsiString output = BuilderOutputPath();
  rtl::ForceDirectories(rtl::ExtractFilePath(output));
  // Left over from an earlier run, it must not pass for this run's output.
  rtl::DeleteFile(output);
  const AnsiString imageFolder = rtl::ExtractFilePath(imageFile);
  if (!imageFolder.empty()) rtl::ForceDirectories(imageFolder);

  rtl::TProcessOptions options;
  options.Program = builderPath_;
  options.Arguments = {rtl::ExcludeTrailingPathDelimiter(stagingFolder_), output};
  options.WorkingFolder = rtl::ExtractFilePath(builderPath_);
  options.CaptureOutput = true;
  rtl::Cardinal exitCode = 0;
  AnsiString builderSays;
  try {
    rtl::TProcess builder(options);
    while ((exitCode = builder.ExitCode()) == rtl::STILL_ACTIVE) {
      rtl::Sleep(kPollMs);
      rtl::ProcessMessages();
    }
    builderSays = LastLine(builder.StdErr());
  } catch (const rtl::Exception& e) {
    lastError_ = "The image builder could not be started: " + e.Message();
    return false;
  }

  if (exitCode != 0) {
    lastError_ = "The image builder failed with exit code " + std::to_string(exitCode);
    if (!builderSays.empty()) lastError_ += ": " + builderSays;
    rtl::DeleteFile(output);
    return false;
  }
  if (!rtl::FileExists(output)) {
    lastError_ = "The image builder wrote no image";
    return false;
  }
  // Copying over the old image replaces it in one step; only then is the
  // builder's output removed.
  if (!rtl::CopyFile(output, imageFile, false)) {
    lastError_ = "Cannot write the image file " + imageFile;
    rtl::DeleteFile(output);
    return false;
  }
  rtl::DeleteFile(output);
  return true;
}

}  // namespace core
