#pragma once
// File names, files and folders. Native paths use '/' (PathDelim); stored
// files keep relative paths with backslashes, converted at the boundary by
// StoredToNativePath / NativeToStoredPath.
#include <memory>

#include "rtl/Types.h"

namespace rtl {

inline constexpr char PathDelim = '/';
inline constexpr char DriveDelim = '\0';  // no drives here
inline constexpr char PathSep = ':';

// ---- names ----
// Up to and including the last delimiter ("" when there is none).
AnsiString ExtractFilePath(const AnsiString& fileName);
// ExtractFilePath without its trailing delimiter, except for the root "/".
AnsiString ExtractFileDir(const AnsiString& fileName);
// After the last delimiter.
AnsiString ExtractFileName(const AnsiString& fileName);
// From the last '.' of the name part, dot included; "" without one.
AnsiString ExtractFileExt(const AnsiString& fileName);
// Replaces (or adds) the extension; extension includes its dot ("" removes).
AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension);
AnsiString IncludeTrailingPathDelimiter(const AnsiString& path);
// Removes one trailing delimiter ("/" gives "").
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& path);
// destName relative to the folder of baseName (a file name, or a folder
// with a trailing delimiter): "../" per level above, then the rest of
// destName's path and its file name. Both should be absolute.
AnsiString ExtractRelativePath(const AnsiString& baseName, const AnsiString& destName);
// Absolute path against the current folder, "." and ".." folded
// (symbolic links are not resolved).
AnsiString ExpandFileName(const AnsiString& fileName);
// "a\b\c.htm" -> "a/b/c.htm"; an absolute native path stays as it is.
AnsiString StoredToNativePath(const AnsiString& stored);
// "a/b/c.htm" -> "a\b\c.htm".
AnsiString NativeToStoredPath(const AnsiString& native);

// ---- files and folders ----
// True for an existing entry that is not a folder (links followed).
bool FileExists(const AnsiString& fileName);
bool DirectoryExists(const AnsiString& dir);
// Creates dir with every missing parent; true when it exists afterwards.
// An empty dir raises EInOutError "Unable to create directory".
bool ForceDirectories(const AnsiString& dir);
bool CreateDir(const AnsiString& dir);
// Removes an empty folder.
bool RemoveDir(const AnsiString& dir);
bool DeleteFile(const AnsiString& fileName);
// Renames within a file system; fails (false) when newName exists.
bool RenameFile(const AnsiString& oldName, const AnsiString& newName);
// Copies bytes, permission bits and modification time. With failIfExists
// an existing destination makes it fail; otherwise it is replaced
// atomically. False on any failure.
bool CopyFile(const AnsiString& source, const AnsiString& dest, bool failIfExists);
// Moves a file; across file systems by copy and delete. Fails (false) when
// dest exists.
bool MoveFile(const AnsiString& source, const AnsiString& dest);
AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& dir);
// The file's modification time as local TDateTime; false when it is missing.
bool FileAge(const AnsiString& fileName, TDateTime& age);
// Size in bytes, -1 when missing.
Int64 FileSize(const AnsiString& fileName);

// Replaces path with bytes: a temporary file in the same folder, flushed to
// disk, renamed over path. Raises EFCreateError "Cannot create file \"%s\". %s"
// leaving any old file whole. An existing file's permission bits are kept.
void WriteFileAtomically(const AnsiString& path, const AnsiString& bytes);
// The same without raising: answers 0, or the system error number.
Integer TryWriteFileAtomically(const AnsiString& path, const AnsiString& bytes);
// The whole file; raises EFOpenError "Cannot open file \"%s\". %s".
AnsiString ReadFileBytes(const AnsiString& path);

// ---- folder listing ----
inline constexpr Integer faReadOnly = 0x01;
inline constexpr Integer faHidden = 0x02;  // names starting with '.'
inline constexpr Integer faSysFile = 0x04;
inline constexpr Integer faVolumeID = 0x08;
inline constexpr Integer faDirectory = 0x10;
inline constexpr Integer faArchive = 0x20;  // every plain file
inline constexpr Integer faSymLink = 0x40;
inline constexpr Integer faAnyFile = 0x7F;

struct FindState;

struct TSearchRec {
  TDateTime Time = 0;  // modification time, local
  Int64 Size = 0;
  Integer Attr = 0;
  AnsiString Name;  // without folder
  Integer ExcludeAttr = 0;
  std::shared_ptr<FindState> FindHandle;
};

// path is a folder and a name pattern ('*', '?'; "*.*" matches every name).
// Folders are listed only with faDirectory in attr, hidden entries only
// with faHidden ("." and ".." are listed with faDirectory). Answers 0 and
// fills f with the first match, or an errno value (ENOENT when nothing
// matches).
Integer FindFirst(const AnsiString& path, Integer attr, TSearchRec& f);
Integer FindNext(TSearchRec& f);
void FindClose(TSearchRec& f);

// ---- special folders ----
// $TMPDIR, else /tmp; with a trailing delimiter.
AnsiString TempFolder();
// $XDG_CONFIG_HOME, else $HOME/.config; with a trailing delimiter.
AnsiString AppDataFolder();
// The user's documents folder: $XDG_DOCUMENTS_DIR, else the XDG_DOCUMENTS_DIR
// line of the user-dirs file in the configuration folder ("$HOME" expanded),
// else $HOME/Documents when that folder exists; with a trailing delimiter,
// or "" when none of these names one.
AnsiString DocumentsFolder();
// The folder of the running program (/proc/self/exe); trailing delimiter.
AnsiString ProgramFolder();
// The running program's full file name.
AnsiString ProgramFileName();

}  // namespace rtl
