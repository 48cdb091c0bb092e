#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <set>

#include "TempDir.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"

using namespace rtl;

TEST(Files, NamePartsTable) {
  struct Case {
    AnsiString name, path, dir, file, ext;
  };
  const std::vector<Case> cases = {
      {"/home/u/site/index.htm", "/home/u/site/", "/home/u/site", "index.htm", ".htm"},
      {"/home/u/site/", "/home/u/site/", "/home/u/site", "", ""},
      {"index.htm", "", "", "index.htm", ".htm"},
      {"/a.b/c", "/a.b/", "/a.b", "c", ""},
      {"/x/archive.tar.gz", "/x/", "/x", "archive.tar.gz", ".gz"},
      {"/x/.hidden", "/x/", "/x", ".hidden", ".hidden"},
      {"/top", "/", "/", "top", ""},
      {"name.", "", "", "name.", "."},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractFilePath(c.name), c.path);
    EXPECT_EQ(ExtractFileDir(c.name), c.dir);
    EXPECT_EQ(ExtractFileName(c.name), c.file);
    EXPECT_EQ(ExtractFileExt(c.name), c.ext);
  }
}

TEST(Files, ChangeExtAndTrailingDelimitersTable) {
  struct Ext {
    AnsiString name, ext, expected;
  };
  const std::vector<Ext> exts = {
      {"/p/tolvane", ".ini", "/p/tolvane.ini"},
      {"/p/tolvane.exe", ".ini", "/p/tolvane.ini"},
      {"/p.d/file", ".txt", "/p.d/file.txt"},
      {"a.b.c", "", "a.b"},
      {"page.htm", ".HTM", "page.HTM"},
  };
  for (const Ext& c : exts) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChangeFileExt(c.name, c.ext), c.expected);
  }
  struct Delim {
    AnsiString path, included, excluded;
  };
  const std::vector<Delim> delims = {
      {"/a/b", "/a/b/", "/a/b"},
      {"/a/b/", "/a/b/", "/a/b"},
      {"/", "/", ""},
      {"", "/", ""},
  };
  for (const Delim& c : delims) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(IncludeTrailingPathDelimiter(c.path), c.included);
    EXPECT_EQ(ExcludeTrailingPathDelimiter(c.path), c.excluded);
  }
}

TEST(Files, RelativePathTable) {
  struct Case {
    AnsiString base, dest, expected;
  };
  const std::vector<Case> cases = {
      {"/web/site/project1.PJT", "/web/site/index.htm", "index.htm"},
      {"/web/site/project1.PJT", "/web/site/pages/b.htm", "pages/b.htm"},
      {"/web/site/project1.PJT", "/web/img/a.gif", "../img/a.gif"},
      {"/web/site/", "/web/img/a.gif", "../img/a.gif"},
      {"/web/site", "/web/img/a.gif", "img/a.gif"},  // "site" is a file name here
      {"/web/site/deep/er/p.PJT", "/other/x.htm", "../../../../other/x.htm"},
      {"/web/site/p.PJT", "/web/site/", ""},
      {"/web/Site/p.PJT", "/web/site/a.htm", "../site/a.htm"},  // names keep their case
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.base + " -> " + c.dest);
    EXPECT_EQ(ExtractRelativePath(c.base, c.dest), c.expected);
  }
}

TEST(Files, ExpandAndStoredPathsTable) {
  AnsiString cwd = GetCurrentDir();
  ASSERT_FALSE(cwd.empty());
  AnsiString parent = ExtractFileDir(cwd);
  struct Case {
    AnsiString name, expected;
  };
  const std::vector<Case> cases = {
      {"/a/b/../c/./d.htm", "/a/c/d.htm"},
      {"/a/b/", "/a/b/"},
      {"/a//b", "/a/b"},
      {"/..", "/"},
      {"x.htm", cwd + "/x.htm"},
      {"../y.htm", (parent == "/" ? AnsiString() : parent) + "/y.htm"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExpandFileName(c.name), c.expected);
  }
  struct Stored {
    AnsiString stored, native;
  };
  const std::vector<Stored> stored = {
      {"..\\img\\a.gif", "../img/a.gif"},
      {"pages\\b.htm", "pages/b.htm"},
      {"index.htm", "index.htm"},
      {"", ""},
  };
  for (const Stored& c : stored) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(StoredToNativePath(c.stored), c.native);
    EXPECT_EQ(NativeToStoredPath(c.native), c.stored);
  }
}

TEST(Files, FoldersExistenceAndRemoval) {
  rtl_test::TempDir dir;
  ASSERT_TRUE(dir.Valid());
  AnsiString deep = dir / "a/b/c";
  EXPECT_FALSE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep + "/"));  // already there
  EXPECT_FALSE(FileExists(deep));              // a folder is not a file
  EXPECT_THROW(ForceDirectories(""), EInOutError);

  rtl_test::WriteBytes(dir / "a/file", "x");
  EXPECT_TRUE(FileExists(dir / "a/file"));
  EXPECT_FALSE(DirectoryExists(dir / "a/file"));
  EXPECT_FALSE(ForceDirectories(dir / "a/file/sub"));  // a file is in the way

  EXPECT_TRUE(CreateDir(dir / "solo"));
  EXPECT_FALSE(CreateDir(dir / "solo"));
  EXPECT_FALSE(RemoveDir(dir / "a"));  // not empty
  EXPECT_TRUE(RemoveDir(dir / "solo"));
  EXPECT_FALSE(DeleteFile(dir / "a/b"));  // folders are not deleted as files
  EXPECT_TRUE(DeleteFile(dir / "a/file"));
  EXPECT_FALSE(DeleteFile(dir / "a/file"));
  EXPECT_EQ(FileSize(dir / "a/file"), -1);
}

TEST(Files, CopyRenameMove) {
  rtl_test::TempDir dir;
  AnsiString src = dir / "src.htm", dst = dir / "dst.htm";
  rtl_test::WriteBytes(src, "page");
  ::chmod(src.c_str(), 0604);
  struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};  // 2001-09-09
  ::utimensat(AT_FDCWD, src.c_str(), times, 0);

  EXPECT_TRUE(CopyFile(src, dst, true));
  EXPECT_EQ(rtl_test::ReadBytes(dst), "page");
  struct stat st;
  ASSERT_EQ(::stat(dst.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0604u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);

  rtl_test::WriteBytes(src, "newer");
  EXPECT_FALSE(CopyFile(src, dst, true));  // refuses to overwrite
  EXPECT_EQ(rtl_test::ReadBytes(dst), "page");
  EXPECT_TRUE(CopyFile(src, dst, false));
  EXPECT_EQ(rtl_test::ReadBytes(dst), "newer");
  EXPECT_FALSE(CopyFile(dir / "absent", dir / "x", false));
  EXPECT_FALSE(CopyFile(src, dir / "no/folder/x", false));

  EXPECT_FALSE(RenameFile(src, dst));  // target exists
  EXPECT_TRUE(RenameFile(src, dir / "renamed.htm"));
  EXPECT_FALSE(FileExists(src));
  EXPECT_TRUE(MoveFile(dir / "renamed.htm", src));
  EXPECT_FALSE(MoveFile(src, dst));
  EXPECT_EQ(rtl_test::Listing(dir.Path()), (std::vector<std::string>{"dst.htm", "src.htm"}));
}

TEST(Files, MoveAcrossFileSystemsCopiesAndDeletes) {
  // Needs two writable folders on different devices; separate mounts such
  // as the build folder, the temporary folder and /dev/shm usually are.
  std::vector<std::unique_ptr<rtl_test::TempDir>> dirs;
  std::vector<dev_t> devices;
  for (const char* root : {TOLVANE_BIN_DIR, "/dev/shm", "/var/tmp", "/tmp"}) {
    auto d = std::make_unique<rtl_test::TempDir>(root);
    struct stat st;
    if (!d->Valid() || ::stat(d->Path().c_str(), &st) != 0) continue;
    dirs.push_back(std::move(d));
    devices.push_back(st.st_dev);
  }
  const rtl_test::TempDir* first = nullptr;
  const rtl_test::TempDir* second = nullptr;
  for (size_t i = 0; i < dirs.size() && !second; ++i)
    for (size_t j = i + 1; j < dirs.size() && !second; ++j)
      if (devices[i] != devices[j]) {
        first = dirs[i].get();
        second = dirs[j].get();
      }
  if (!second) GTEST_SKIP() << "no two writable folders on different file systems";
  const rtl_test::TempDir& a = *first;
  const rtl_test::TempDir& b = *second;
  rtl_test::WriteBytes(a / "img.bin", "image bytes");
  EXPECT_TRUE(MoveFile(a / "img.bin", b / "img.bin"));
  EXPECT_FALSE(FileExists(a / "img.bin"));
  EXPECT_EQ(rtl_test::ReadBytes(b / "img.bin"), "image bytes");
  rtl_test::WriteBytes(a / "img.bin", "other");
  EXPECT_FALSE(MoveFile(a / "img.bin", b / "img.bin"));  // never overwrites
  EXPECT_EQ(rtl_test::ReadBytes(b / "img.bin"), "image bytes");
  EXPECT_TRUE(FileExists(a / "img.bin"));
}

TEST(Files, FindFirstNextWithPatternsAndAttributes) {
  rtl_test::TempDir dir;
  rtl_test::WriteBytes(dir / "index.htm", "12345");
  rtl_test::WriteBytes(dir / "style.css", "");
  rtl_test::WriteBytes(dir / "b.HTM", "");
  rtl_test::WriteBytes(dir / ".hidden.htm", "");
  ForceDirectories(dir / "img");

  auto find = [&](const AnsiString& pattern, Integer attr) {
    std::set<AnsiString> names;
    TSearchRec f;
    if (FindFirst(dir.Path() + pattern, attr, f) == 0) {
      do names.insert(f.Name);
      while (FindNext(f) == 0);
      FindClose(f);
    }
    return names;
  };
  struct Case {
    AnsiString pattern;
    Integer attr;
    std::set<AnsiString> names;
  };
  const std::vector<Case> cases = {
      {"*.*", 0, {"index.htm", "style.css", "b.HTM"}},
      {"*", faAnyFile, {".", "..", "index.htm", "style.css", "b.HTM", ".hidden.htm", "img"}},
      {"*.htm", 0, {"index.htm"}},
      {"*.htm", faHidden, {"index.htm", ".hidden.htm"}},
      {"?????.css", 0, {"style.css"}},
      {"*", faDirectory, {".", "..", "index.htm", "style.css", "b.HTM", "img"}},
      {"*.gif", faAnyFile, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(find(c.pattern, c.attr), c.names);
  }

  TSearchRec f;
  ASSERT_EQ(FindFirst(dir / "index.htm", 0, f), 0);
  EXPECT_EQ(f.Name, "index.htm");
  EXPECT_EQ(f.Size, 5);
  EXPECT_EQ(f.Attr & faDirectory, 0);
  EXPECT_NEAR(f.Time, Now(), 1.0 / 24);  // within the hour
  FindClose(f);
  ASSERT_EQ(FindFirst(dir / "img", faDirectory, f), 0);
  EXPECT_NE(f.Attr & faDirectory, 0);
  FindClose(f);
  EXPECT_NE(FindFirst(dir / "nothing*", faAnyFile, f), 0);
  EXPECT_NE(FindFirst(dir / "no-folder/*", faAnyFile, f), 0);
}

TEST(Files, AtomicWriteAgeAndSize) {
  rtl_test::TempDir dir;
  AnsiString path = dir / "out.bin";
  WriteFileAtomically(path, AnsiString("a\0b", 3));
  EXPECT_EQ(rtl_test::ReadBytes(path), AnsiString("a\0b", 3));
  EXPECT_EQ(FileSize(path), 3);
  EXPECT_EQ(ReadFileBytes(path), AnsiString("a\0b", 3));
  WriteFileAtomically(path, "");
  EXPECT_EQ(FileSize(path), 0);
  TDateTime age = 0;
  EXPECT_TRUE(FileAge(path, age));
  EXPECT_NEAR(age, Now(), 1.0 / 24);
  EXPECT_FALSE(FileAge(dir / "absent", age));

  try {
    WriteFileAtomically(dir.Path(), "x");  // a folder is in the way
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + dir.Path() + "\". Is a directory");
  }
  EXPECT_EQ(TryWriteFileAtomically(dir / "none/x", "x"), ENOENT);
  EXPECT_EQ(rtl_test::Listing(dir.Path()), (std::vector<std::string>{"out.bin"}));

  // Through a symbolic link, the file behind it is replaced and the link stays.
  ASSERT_EQ(::symlink("out.bin", (dir / "link.bin").c_str()), 0);
  WriteFileAtomically(dir / "link.bin", "via link");
  struct stat st;
  ASSERT_EQ(::lstat((dir / "link.bin").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(rtl_test::ReadBytes(path), "via link");
  EXPECT_THROW(ReadFileBytes(dir / "absent"), EFOpenError);
}

TEST(Files, SpecialFolders) {
  auto keep = [](const char* name) {
    const char* v = std::getenv(name);
    return std::make_pair(AnsiString(name), v ? std::optional<AnsiString>(v) : std::nullopt);
  };
  auto restore = [](const std::pair<AnsiString, std::optional<AnsiString>>& e) {
    if (e.second)
      ::setenv(e.first.c_str(), e.second->c_str(), 1);
    else
      ::unsetenv(e.first.c_str());
  };
  auto tmp = keep("TMPDIR"), xdg = keep("XDG_CONFIG_HOME"), home = keep("HOME");

  ::setenv("TMPDIR", "/var/tmp/x", 1);
  EXPECT_EQ(TempFolder(), "/var/tmp/x/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(TempFolder(), "/tmp/");
  ::setenv("XDG_CONFIG_HOME", "/cfg/", 1);
  EXPECT_EQ(AppDataFolder(), "/cfg/");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(AppDataFolder(), "/home/someone/.config/");

  restore(tmp);
  restore(xdg);
  restore(home);

  AnsiString program = ProgramFileName();
  EXPECT_EQ(ExtractFileName(program), "rtl_classes_tests");
  EXPECT_EQ(ProgramFolder(), ExtractFilePath(program));
  EXPECT_TRUE(FileExists(program));
}
