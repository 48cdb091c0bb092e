#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>

#include "TempDir.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/StringList.h"

using namespace rtl;

namespace {

const AnsiString kFixture = AnsiString(TOLVANE_TEST_DATA) + "/rtl/windows.ini";

// Both INI classes go through the same checks; the in-memory one writes on
// UpdateFile, the other at once.
struct IniKind {
  const char* name;
  std::function<std::unique_ptr<TCustomIniFile>(const AnsiString&)> open;
};

std::vector<IniKind> Kinds() {
  return {
      {"TMemIniFile", [](const AnsiString& f) { return std::make_unique<TMemIniFile>(f); }},
      {"TIniFile", [](const AnsiString& f) { return std::make_unique<TIniFile>(f); }},
  };
}

std::vector<AnsiString> Lines(const TStrings& s) {
  std::vector<AnsiString> out;
  for (Integer i = 0; i < s.Count(); ++i) out.push_back(s[i]);
  return out;
}

}  // namespace

TEST(IniFiles, ReadsAFileWrittenOnAWindowsDesktop) {
  for (const IniKind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    auto ini = kind.open(kFixture);
    struct Case {
      const char* section;
      const char* key;
      const char* expected;
    };
    const std::vector<Case> strings = {
        {"Main Window", "Left", "120"},
        {"main window", "LEFT", "120"},
        {"MAIN WINDOW", "width", "640"},
        {" Main Window ", " Top ", "80"},
        {"Main Window", "Caption", "Caf\xc3\xa9 du port"},  // Windows-1252 byte
        {"udp.settings", "ANNOUNCE.PORT", "7124"},           // the first of two wins
        {"UDP.SETTINGS", "rcv.announce.port", "7123"},
        {"UDP.Settings", "Empty", ""},
        {"Recent", "file0", "C:\\web\\site\\project1.PJT"},  // "[ Recent ]"
        {"Main Window", "Missing", "<default>"},
        {"No Such Section", "Left", "<default>"},
        {"UDP.Settings", "; ports of discovery", "<default>"},
    };
    for (const Case& c : strings) {
      SCOPED_TRACE(AnsiString(c.section) + "/" + c.key);
      EXPECT_EQ(ini->ReadString(c.section, c.key, "<default>"), c.expected);
    }
    struct IntCase {
      const char* key;
      Integer def;
      Integer expected;
    };
    const std::vector<IntCase> ints = {
        {"Announce.port", 0, 7124}, {"Hex", 0, 31}, {"Bad", -1, -1},
        {"Empty", 42, 42},          {"Absent", 7, 7}, {"Ratio", 3, 3},
    };
    for (const IntCase& c : ints) {
      SCOPED_TRACE(c.key);
      EXPECT_EQ(ini->ReadInteger("UDP.Settings", c.key, c.def), c.expected);
    }
    EXPECT_TRUE(ini->ReadBool("Main Window", "Maximized", false));
    EXPECT_TRUE(ini->ReadBool("Main Window", "Absent", true));
    EXPECT_FALSE(ini->ReadBool("UDP.Settings", "Empty", false));
    EXPECT_DOUBLE_EQ(ini->ReadFloat("UDP.Settings", "Ratio", 0), 2.5);
    EXPECT_DOUBLE_EQ(ini->ReadFloat("UDP.Settings", "Bad", 1.25), 1.25);

    EXPECT_TRUE(ini->SectionExists("recent"));
    EXPECT_FALSE(ini->SectionExists("Recent Files"));
    EXPECT_TRUE(ini->ValueExists("main window", "CAPTION"));
    EXPECT_FALSE(ini->ValueExists("main window", "Nope"));

    TStringList list;
    ini->ReadSections(list);
    EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"Main Window", "UDP.Settings", "Recent"}));
    ini->ReadSection("udp.settings", list);
    EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"Announce.port", "Rcv.Announce.Port", "Empty",
                                                    "Hex", "Bad", "Ratio", "announce.PORT"}));
    ini->ReadSectionValues("Main Window", list);
    EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"Left=120", "Top=80", "Width=640",
                                                    "Caption=Caf\xc3\xa9 du port", "Maximized=1"}));
  }
}

TEST(IniFiles, ReadingCreatesNothing) {
  rtl_test::TempDir dir;
  for (const IniKind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    AnsiString path = dir / "sub/never.ini";
    auto ini = kind.open(path);
    EXPECT_EQ(ini->ReadString("a", "b", "def"), "def");
    EXPECT_FALSE(ini->SectionExists("a"));
    TStringList list;
    ini->ReadSections(list);
    EXPECT_EQ(list.Count(), 0);
    ini->EraseSection("a");
    ini->DeleteKey("a", "b");
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(DirectoryExists(dir / "sub"));
  }
  EXPECT_TRUE(rtl_test::Listing(dir.Path()).empty());
}

TEST(IniFiles, WriteThenReadRoundTrips) {
  rtl_test::TempDir dir;
  for (const IniKind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    AnsiString path = dir / (AnsiString(kind.name) + ".ini");
    {
      auto ini = kind.open(path);
      ini->WriteString("PROJECT", "NUM.FILES", "2");
      ini->WriteString("FILES", "FILE.0.Name", "..\\img\\a.gif");
      ini->WriteBool("FILES", "FILE.0.ACTIVE", true);
      ini->WriteBool("FILES", "FILE.0.OPEN", false);
      ini->WriteInteger("udp.settings", "Announce.port", -7124);
      ini->WriteFloat("SIM.SECTION", "Volts", 3.3);
      ini->WriteString("SIM.SECTION", "Text", "  padded = value  ");
      ini->WriteString("SIM.SECTION", "Utf8", "\xe2\x82\xac \xc3\xa4");
      ini->WriteString("project", "num.files", "3");  // replaces, whatever the case
      ini->UpdateFile();
    }
    EXPECT_EQ(rtl_test::ReadBytes(path),
              "[PROJECT]\r\n"
              "NUM.FILES=3\r\n"
              "\r\n"
              "[FILES]\r\n"
              "FILE.0.Name=..\\img\\a.gif\r\n"
              "FILE.0.ACTIVE=1\r\n"
              "FILE.0.OPEN=0\r\n"
              "\r\n"
              "[udp.settings]\r\n"
              "Announce.port=-7124\r\n"
              "\r\n"
              "[SIM.SECTION]\r\n"
              "Volts=3.3\r\n"
              "Text=  padded = value  \r\n"
              "Utf8=\xe2\x82\xac \xc3\xa4\r\n");
    for (const IniKind& reader : Kinds()) {
      SCOPED_TRACE(reader.name);
      auto ini = reader.open(path);
      EXPECT_EQ(ini->ReadInteger("Project", "Num.Files", 0), 3);
      EXPECT_EQ(ini->ReadString("files", "file.0.name", ""), "..\\img\\a.gif");
      EXPECT_TRUE(ini->ReadBool("FILES", "FILE.0.ACTIVE", false));
      EXPECT_FALSE(ini->ReadBool("FILES", "FILE.0.OPEN", true));
      EXPECT_EQ(ini->ReadInteger("UDP.Settings", "announce.port", 0), -7124);
      EXPECT_DOUBLE_EQ(ini->ReadFloat("sim.section", "volts", 0), 3.3);
      EXPECT_EQ(ini->ReadString("sim.section", "text", ""), "padded = value");
      EXPECT_EQ(ini->ReadString("sim.section", "utf8", ""), "\xe2\x82\xac \xc3\xa4");
    }
  }
}

TEST(IniFiles, RewriteKeepsCommentsOrderAndUntouchedLines) {
  rtl_test::TempDir dir;
  for (const IniKind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    AnsiString path = dir / "edit.ini";
    rtl_test::WriteBytes(path,
                         "; head comment\n"
                         "[B]\n"
                         "  x = 1\n"
                         "; about y\n"
                         "y=2\n"
                         "\n"
                         "[A]\n"
                         "z=3\n"
                         "[Gone]\n"
                         "q=0\n"
                         "[C]\n"
                         "w = 4\n");
    {
      auto ini = kind.open(path);
      ini->WriteString("b", "Y", "20");     // changed in place
      ini->WriteString("B", "new", "n");    // appended after the last line of [B]
      ini->WriteString("a", "z2", "3b");    // appended to [A]
      ini->EraseSection("GONE");
      ini->DeleteKey("c", "W");
      ini->WriteString("D", "k", "v");      // a new section at the end
      ini->UpdateFile();
    }
    EXPECT_EQ(rtl_test::ReadBytes(path),
              "; head comment\r\n"
              "[B]\r\n"
              "  x = 1\r\n"
              "; about y\r\n"
              "y=20\r\n"
              "new=n\r\n"
              "\r\n"
              "[A]\r\n"
              "z=3\r\n"
              "z2=3b\r\n"
              "[C]\r\n"
              "\r\n"
              "[D]\r\n"
              "k=v\r\n");
  }
}

TEST(IniFiles, UnchangedRewriteKeepsEveryLine) {
  rtl_test::TempDir dir;
  struct Case {
    const char* what;
    AnsiString stored, rewritten;
  };
  const std::vector<Case> cases = {
      {"CR LF kept byte for byte", "; c\r\n[A]\r\n k = v \r\n\r\njunk line\r\n[B]\r\nx=1\r\n",
       "; c\r\n[A]\r\n k = v \r\n\r\njunk line\r\n[B]\r\nx=1\r\n"},
      {"LF becomes CR LF", "[A]\nk=v\n", "[A]\r\nk=v\r\n"},
      {"last line without a line end", "[A]\r\nk=v", "[A]\r\nk=v\r\n"},
      {"Windows-1252 stored as UTF-8", "[A]\r\nk=Caf\xe9\r\n", "[A]\r\nk=Caf\xc3\xa9\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AnsiString path = dir / "same.ini";
    rtl_test::WriteBytes(path, c.stored);
    TMemIniFile ini(path);
    ini.UpdateFile();
    EXPECT_EQ(rtl_test::ReadBytes(path), c.rewritten);
  }
}

TEST(IniFiles, MemIniFileWritesOnlyOnUpdate) {
  rtl_test::TempDir dir;
  AnsiString path = dir / "mem.ini";
  rtl_test::WriteBytes(path, "[s]\r\nk=old\r\n");
  TMemIniFile ini(path);
  ini.WriteString("s", "k", "new");
  EXPECT_EQ(rtl_test::ReadBytes(path), "[s]\r\nk=old\r\n");
  EXPECT_EQ(ini.ReadString("s", "k", ""), "new");
  ini.UpdateFile();
  EXPECT_EQ(rtl_test::ReadBytes(path), "[s]\r\nk=new\r\n");

  TStringList lines;
  ini.GetStrings(lines);
  EXPECT_EQ(Lines(lines), (std::vector<AnsiString>{"[s]", "k=new"}));
  lines.Add("[t]");
  lines.Add("a = b");
  ini.SetStrings(lines);
  EXPECT_EQ(ini.ReadString("T", "A", ""), "b");
  ini.Clear();
  EXPECT_FALSE(ini.SectionExists("s"));
}

TEST(IniFiles, IniFileSeesChangesMadeBehindItsBack) {
  rtl_test::TempDir dir;
  AnsiString path = dir / "shared.ini";
  TIniFile ini(path);
  ini.WriteString("s", "a", "1");
  EXPECT_EQ(rtl_test::ReadBytes(path), "[s]\r\na=1\r\n");
  // Another writer replaces the file; the next read and write see it.
  rtl_test::WriteBytes(path, "[s]\r\na=2\r\nb=x\r\n");
  EXPECT_EQ(ini.ReadString("s", "a", ""), "2");
  ini.WriteString("s", "c", "3");
  EXPECT_EQ(rtl_test::ReadBytes(path), "[s]\r\na=2\r\nb=x\r\nc=3\r\n");
}

TEST(IniFiles, FailedWriteRaisesAndLeavesTheOldFileWhole) {
  // Root ignores permission bits, so the failure is made another way that
  // stops root too: a file-size limit smaller than the new contents, as a
  // full disk would.
  rtl_test::TempDir dir;
  const AnsiString original = "[s]\r\nk=old\r\n";
  const AnsiString longValue(4096, 'v');
  for (const IniKind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    AnsiString path = dir / "guarded.ini";
    rtl_test::WriteBytes(path, original);
    auto ini = kind.open(path);
    {
      rtl_test::FileSizeLimit limit(1024);
      ASSERT_TRUE(limit.Ok());
      try {
        ini->WriteString("s", "k", longValue);
        ini->UpdateFile();
        ADD_FAILURE() << "the write did not raise";
      } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("File too large"), std::string::npos) << e.Message();
        if (AnsiString(kind.name) == "TIniFile")
          EXPECT_STREQ(e.ClassName(), "EIniFileException");
        else
          EXPECT_STREQ(e.ClassName(), "EFCreateError");
      }
    }
    EXPECT_EQ(rtl_test::ReadBytes(path), original);
    // No temporary file is left behind.
    EXPECT_EQ(rtl_test::Listing(dir.Path()), (std::vector<std::string>{"guarded.ini"}));
  }

  // A folder that does not exist: nothing to keep, but the write raises.
  for (const IniKind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    auto ini = kind.open(dir / "missing/x.ini");
    EXPECT_THROW(
        {
          ini->WriteString("s", "k", "v");
          ini->UpdateFile();
        },
        Exception);
  }
}

TEST(IniFiles, WriteIntoReadOnlyFolderRaisesAndLeavesTheOldFileWhole) {
  if (::geteuid() == 0)
    GTEST_SKIP() << "root writes into read-only folders; the file-size limit test covers root";
  rtl_test::TempDir dir;
  const AnsiString original = "[s]\r\nk=old\r\n";
  AnsiString path = dir / "locked.ini";
  for (const IniKind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    rtl_test::WriteBytes(path, original);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    auto ini = kind.open(path);
    try {
      ini->WriteString("s", "k", "new");
      ini->UpdateFile();
      ADD_FAILURE() << "the write did not raise";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find("Permission denied"), std::string::npos) << e.Message();
    }
    ::chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(rtl_test::ReadBytes(path), original);
    EXPECT_EQ(rtl_test::Listing(dir.Path()), (std::vector<std::string>{"locked.ini"}));
  }
}

TEST(IniFiles, WriteKeepsPermissionBits) {
  rtl_test::TempDir dir;
  AnsiString path = dir / "mode.ini";
  rtl_test::WriteBytes(path, "[s]\r\n");
  ::chmod(path.c_str(), 0640);
  TIniFile ini(path);
  ini.WriteString("s", "k", "v");
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}
