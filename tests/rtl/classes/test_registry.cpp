#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "rtl/Exceptions.h"
#include "rtl/Registry.h"
#include "rtl/StringList.h"

using namespace rtl;

namespace {

std::vector<AnsiString> RegistryLines(const TStrings& s) {
  std::vector<AnsiString> out;
  for (Integer i = 0; i < s.Count(); ++i) out.push_back(s[i]);
  return out;
}

// Each test gets a hive of its own in a scratch folder.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.Valid());
    file_ = dir_ / "hive/registry.ini";
    SetRegistryFile(file_);
  }
  void TearDown() override { SetRegistryFile(""); }
  // What the next process would read: the store forgets and reads the file.
  void Reload() { SetRegistryFile(file_); }

  rtl_test::TempDir dir_;
  AnsiString file_;
};

template <typename F>
AnsiString RaisedMessage(F f) {
  try {
    f();
  } catch (const ERegistryException& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

TEST_F(Registry, ValuesSurviveInTheFileWithTheirTypes) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Vovavovuz Software\\Tolvane", true));
    reg.WriteString("Name", "value with \"quotes\", \\ and  blanks ");
    reg.WriteString("Lines", "one\r\ntwo\nthree");
    reg.WriteInteger("Count", 10);
    reg.WriteInteger("Negative", -2);
    reg.WriteBool("Flag", true);
    reg.WriteString("", "the default");
  }
  EXPECT_EQ(rtl_test::ReadBytes(file_),
            "[Software\\Vovavovuz Software\\Tolvane]\r\n"
            "Name=\"value with \"quotes\", \\\\ and  blanks \"\r\n"
            "Lines=\"one\\r\\ntwo\\nthree\"\r\n"
            "Count=dword:0000000A\r\n"
            "Negative=dword:FFFFFFFE\r\n"
            "Flag=dword:00000001\r\n"
            "@=\"the default\"\r\n");
  Reload();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\software\\VOVAVOVUZ SOFTWARE\\tolvane\\"));
  EXPECT_EQ(reg.ReadString("name"), "value with \"quotes\", \\ and  blanks ");
  EXPECT_EQ(reg.ReadString("Lines"), "one\r\ntwo\nthree");
  EXPECT_EQ(reg.ReadInteger("Count"), 10);
  EXPECT_EQ(reg.ReadInteger("Negative"), -2);
  EXPECT_TRUE(reg.ReadBool("Flag"));
  EXPECT_EQ(reg.ReadString(""), "the default");
  EXPECT_EQ(reg.GetDataType("Count"), TRegDataType::rdInteger);
  EXPECT_EQ(reg.GetDataType("Name"), TRegDataType::rdString);
  EXPECT_EQ(reg.GetDataType("Missing"), TRegDataType::rdUnknown);
  TStringList names;
  reg.GetValueNames(names);
  EXPECT_EQ(RegistryLines(names), (std::vector<AnsiString>{"Name", "Lines", "Count", "Negative", "Flag", ""}));
}

TEST_F(Registry, ReadingTheWrongTypeOrAMissingValue) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\App", true));
  reg.WriteString("Text", "12");
  reg.WriteInteger("Number", 12);
  struct Case {
    const char* what;
    std::function<void()> read;
    const char* message;
  };
  std::vector<Case> cases = {
      {"integer from a string", [&] { reg.ReadInteger("Text"); }, "Invalid data type for 'Text'"},
      {"string from an integer", [&] { reg.ReadString("Number"); }, "Invalid data type for 'Number'"},
      {"missing integer", [&] { reg.ReadInteger("Gone"); }, "Failed to get data for 'Gone'"},
      {"missing bool", [&] { reg.ReadBool("Gone"); }, "Failed to get data for 'Gone'"},
  };
  for (const Case& c : cases) EXPECT_EQ(RaisedMessage(c.read), c.message) << c.what;
  EXPECT_EQ(reg.ReadString("Gone"), "");  // a missing string reads as empty
}

TEST_F(Registry, KeysRelativeAbsoluteListedAndDeleted) {
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("Software\\A", false));  // nothing there yet
  EXPECT_FALSE(reg.KeyExists("Software"));
  ASSERT_TRUE(reg.OpenKey("Software\\A", true));
  ASSERT_TRUE(reg.OpenKey("B\\C", true));  // below the open key
  EXPECT_EQ(reg.CurrentPath(), "Software\\A\\B\\C");
  reg.WriteInteger("x", 1);
  ASSERT_TRUE(reg.OpenKey("\\Software\\A\\D", true));  // from the root
  EXPECT_TRUE(reg.CreateKey("E"));
  EXPECT_TRUE(reg.KeyExists("\\software\\a\\b"));  // a key that only has keys below it
  EXPECT_TRUE(reg.KeyExists("E"));

  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\A"));
  TStringList keys;
  reg.GetKeyNames(keys);
  EXPECT_EQ(RegistryLines(keys), (std::vector<AnsiString>{"B", "D"}));
  EXPECT_TRUE(reg.HasSubKeys());
  EXPECT_THROW(reg.WriteString("v", "read-only key"), ERegistryException);

  EXPECT_TRUE(reg.DeleteKey("\\Software\\A\\B"));  // with everything below it
  EXPECT_FALSE(reg.KeyExists("\\Software\\A\\B\\C"));
  EXPECT_TRUE(reg.KeyExists("\\Software\\A\\D\\E"));
  EXPECT_FALSE(reg.DeleteKey("\\Software\\A\\B"));
  Reload();
  TRegistry again;
  EXPECT_FALSE(again.KeyExists("Software\\A\\B"));
  EXPECT_TRUE(again.KeyExists("Software\\A\\D\\E"));
}

TEST_F(Registry, OnlyTheCurrentUserHoldsKeys) {
  TRegistry reg(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg.OpenKeyReadOnly("Software"));
  EXPECT_FALSE(reg.OpenKey("Software\\X", true));
  EXPECT_EQ(RaisedMessage([&] { reg.CreateKey("Software\\X"); }), "Failed to create key Software\\X");
  EXPECT_FALSE(rtl_test::Exists(file_));
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  EXPECT_FALSE(reg.KeyExists("CLSID"));
}

TEST_F(Registry, ValueNamesAnIniLineCannotHoldAreRefused) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("K", true));
  for (const char* name : {"a=b", "line\nbreak", " padded", "[section", ";comment"})
    EXPECT_THROW(reg.WriteString(name, "v"), ERegistryException) << name;
}

TEST_F(Registry, IniViewGathersChangesIntoOneWrite) {
  {
    TRegistryIniFile ini("Software\\Vovavovuz Software\\Tolvane");
    ini.WriteString("Config", "MainDictionaries", "American.adm");
    ini.WriteInteger("Config", "Options", 7);
    ini.WriteBool("Config", "Live", true);
    ini.WriteString("Other", "Number", " 42 ");
    EXPECT_FALSE(rtl_test::Exists(file_));  // nothing written yet
    // ... but every reader in the process sees the changes.
    EXPECT_EQ(ini.ReadString("Config", "MainDictionaries", "?"), "American.adm");
    EXPECT_EQ(ini.ReadString("Config", "Options", "?"), "7");
    EXPECT_EQ(ini.ReadInteger("Other", "Number", -1), 42);
    EXPECT_TRUE(ini.ReadBool("Config", "Live", false));
    EXPECT_EQ(ini.ReadInteger("Config", "Missing", -1), -1);
    EXPECT_EQ(ini.ReadString("Nowhere", "Missing", "def"), "def");
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(RegistryLines(sections), (std::vector<AnsiString>{"Config", "Other"}));
    TStringList values;
    ini.ReadSectionValues("Config", values);
    EXPECT_EQ(RegistryLines(values), (std::vector<AnsiString>{"MainDictionaries=American.adm", "Options=7", "Live=1"}));
    ini.UpdateFile();
    EXPECT_TRUE(rtl_test::Exists(file_));
    ini.EraseSection("Other");
    ini.DeleteKey("Config", "Live");
  }  // the destructor writes what is left
  Reload();
  TRegistryIniFile ini("Software\\Vovavovuz Software\\Tolvane");
  EXPECT_FALSE(ini.SectionExists("Other"));
  EXPECT_FALSE(ini.ValueExists("Config", "Live"));
  EXPECT_EQ(ini.ReadInteger("Config", "Options", -1), 7);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Vovavovuz Software\\Tolvane\\Config"));
  EXPECT_EQ(reg.GetDataType("Options"), TRegDataType::rdInteger);
}

TEST_F(Registry, AFailedWriteRaisesAndLeavesTheOldFileWhole) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteString("v", "old");
  }
  const AnsiString before = rtl_test::ReadBytes(file_);
  TRegistryIniFile ini("K");
  ini.WriteString("S", "big", AnsiString(4096, 'x'));
  {
    rtl_test::FileSizeLimit limit(1024);
    ASSERT_TRUE(limit.Ok());
    AnsiString message = RaisedMessage([&] { ini.UpdateFile(); });
    EXPECT_NE(message.find("Failed to write the registry file"), std::string::npos) << message;
  }
  EXPECT_EQ(rtl_test::ReadBytes(file_), before);
  ini.UpdateFile();  // the changes were kept for another try
  Reload();
  EXPECT_EQ(ini.ReadString("S", "big", "").size(), 4096u);
}

TEST_F(Registry, ChangesMadeByAnotherProcessAreSeen) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteInteger("n", 1);
  }
  // Another program replaces the file (a new inode, as an atomic write makes).
  AnsiString next = file_ + ".new";
  rtl_test::WriteBytes(next, "[K]\r\nn=dword:00000002\r\nhand=edited by hand\r\n");
  ASSERT_EQ(std::rename(next.c_str(), file_.c_str()), 0);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("K"));
  EXPECT_EQ(reg.ReadInteger("n"), 2);
  EXPECT_EQ(reg.ReadString("hand"), "edited by hand");  // an unquoted value is taken as it stands
}

}  // namespace
