#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "../TestSupport.h"
#include "core/DebugBaseU.h"
#include "rtl/Clock.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "rtl/Version.h"

namespace fs = std::filesystem;
using core::TDebugBase;
using core::TDebugLog;

namespace {

// Stands in for a module connection: logs under its own class name.
class TUDPConnection : public TDebugBase {
 public:
  const char* ClassName() const override { return "TUDPConnection"; }
};

// Not a TDebugBase, but has a class name, like the main window.
struct Tfrm_Main {
  const char* ClassName() const { return "Tfrm_Main"; }
};

using core_test::Slurp;

class DebugLogTest : public ::testing::Test {
 protected:
  std::shared_ptr<rtl::ManualClock> clock_ = std::make_shared<rtl::ManualClock>(0x0001A2F3);
  rtl::ScopedClock scoped_{clock_};
};

}  // namespace

TEST_F(DebugLogTest, LineIsTickCountInEightUpperHexDigitsThenText) {
  struct Case {
    uint64_t tick;
    const char* line;
  } cases[] = {
      {0x0001A2F3, "0001A2F3: hello"},
      {0xABCDEF01, "ABCDEF01: hello"},
      // The tick count is 32 bits: it wraps after about 49.7 days.
      {0x1000000AB, "000000AB: hello"},
  };
  TDebugLog log;
  for (const auto& c : cases) {
    clock_->SetMonotonicMs(c.tick);
    log.AddLogLine("hello");
    EXPECT_EQ(log.Lines().back(), c.line);
  }
}

TEST_F(DebugLogTest, TrimsAboveFiveHundredLinesUnlessFullLogKept) {
  struct Case {
    bool keepFull;
    int appends;
    int count;
    int firstLineNo;  // which append the oldest kept line came from
  } cases[] = {
      {false, 500, 500, 1},
      {false, 501, 501, 1},
      {false, 502, 373, 130},  // trimmed to 372 before the 502nd went in
      {false, 503, 374, 130},
      {true, 502, 502, 1},
      {true, 5000, 5000, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.appends) + (c.keepFull ? " kept" : " trimmed"));
    TDebugLog log;
    if (c.keepFull) log.SetKeepFullLog();
    for (int i = 1; i <= c.appends; ++i) log.AddLogLine("line " + std::to_string(i));
    std::vector<std::string> lines = log.Lines();
    ASSERT_EQ(static_cast<int>(lines.size()), c.count);
    EXPECT_EQ(lines.front(), "0001A2F3: line " + std::to_string(c.firstLineNo));
    EXPECT_EQ(lines.back(), "0001A2F3: line " + std::to_string(c.appends));
  }
}

TEST_F(DebugLogTest, SwitchesStartOffAndOnlyTurnOn) {
  TDebugLog log;
  EXPECT_FALSE(log.KeepFullLog());
  EXPECT_FALSE(log.DumpLogAtExit());
  log.SetKeepFullLog();
  log.SetDumpLogAtExit();
  log.SetKeepFullLog();
  EXPECT_TRUE(log.KeepFullLog());
  EXPECT_TRUE(log.DumpLogAtExit());
}

TEST_F(DebugLogTest, ObjectsLogTheirMostDerivedClassName) {
  TUDPConnection connection;
  TDebugBase& asBase = connection;
  asBase.Log("reply timed out");
  EXPECT_EQ(TDebugLog::Global().Lines().back(), "0001A2F3: TUDPConnection -> reply timed out");

  TDebugBase plain;
  plain.Log("x");
  EXPECT_EQ(TDebugLog::Global().Lines().back(), "0001A2F3: TDebugBase -> x");

  TDebugBase::LogFor("Access violation", Tfrm_Main{});
  EXPECT_EQ(TDebugLog::Global().Lines().back(), "0001A2F3: Tfrm_Main -> Access violation");

  TDebugBase::LogFor("", "cdfsDevice");
  EXPECT_EQ(TDebugLog::Global().Lines().back(), "0001A2F3: cdfsDevice -> ");

  TDebugBase::AddLogLine("plain");
  EXPECT_EQ(TDebugLog::Global().Lines().back(), "0001A2F3: plain");
}

TEST_F(DebugLogTest, LogStreamRendersBytesAsPrintableText) {
  struct Case {
    std::string bytes;
    std::string line;
  } cases[] = {
      {"A\r\nB", "A0000000D0000000AB"},
      {std::string("\xff\x00 ~\x7f", 5), std::string("000000FF00000000 ~0000007F")},
      {"", ""},
      {"AT*TFTP?", "AT*TFTP?"},
  };
  TUDPConnection connection;
  for (const auto& c : cases) {
    rtl::TMemoryStream stream;
    if (!c.bytes.empty()) stream.WriteBuffer(c.bytes.data(), static_cast<rtl::Integer>(c.bytes.size()));
    stream.SetPosition(stream.Size() / 2);  // the whole stream is logged wherever it stands
    connection.LogStream(stream);
    // no class-name prefix
    EXPECT_EQ(TDebugLog::Global().Lines().back(), "0001A2F3: " + c.line);
    EXPECT_EQ(stream.Position(), stream.Size());
  }
}

TEST_F(DebugLogTest, DumpWritesEveryLineWithTheHeaderLast) {
  TDebugLog log;
  log.AddLogLine("first");
  clock_->Advance(0x10);
  log.AddLogLine("second");
  clock_->Advance(0x10);

  core_test::ScratchFolder scratch("debuglog");
  const fs::path file = scratch.Path() / "debug.txt";
  std::ofstream(file) << "an older dump that must be replaced\n";
  log.SaveLogToFile(file.string());

  const std::string header = TDebugBase::GetVersionText();
  EXPECT_EQ(Slurp(file), "0001A2F3: first\r\n"
                         "0001A303: second\r\n"
                         "0001A313: Log Dump " + header + "\r\n");
  // The header line stays in the list too.
  EXPECT_EQ(log.Lines().back(), "0001A313: Log Dump " + header);

  // The failure goes to the caller.
  EXPECT_THROW(log.SaveLogToFile((scratch.Path() / "no-such-folder" / "debug.txt").string()), rtl::Exception);
}

TEST_F(DebugLogTest, HeaderShowsProgramDateAndFileVersion) {
  // The program file's date, computed here independently of the log's code.
  struct stat st {};
  ASSERT_EQ(stat("/proc/self/exe", &st), 0);
  std::tm local{};
  localtime_r(&st.st_mtime, &local);
  char date[32];
  std::strftime(date, sizeof date, "%m/%d/%Y, %H:%M:%S", &local);

  const rtl::TFileVersion v = rtl::ProgramFileVersion();
  const std::string version = std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." +
                              std::to_string(v.Release) + "." + std::to_string(v.Build);
  EXPECT_EQ(TDebugBase::GetVersionText(), "Version: " + std::string(date) + " " + version);

  // Without a version the title and one blank stand in.
  EXPECT_EQ(core::FormatVersionText("01/02/2026, 03:04:05", std::nullopt),
            "Version: 01/02/2026, 03:04:05 Tolvane ");
  EXPECT_EQ(core::FormatVersionText("01/02/2026, 03:04:05", rtl::TFileVersion{1, 2, 3, 4}),
            "Version: 01/02/2026, 03:04:05 1.2.3.4");
}

TEST_F(DebugLogTest, FourThreadsAppendingAtOnce) {
  constexpr int kThreads = 4;
  constexpr int kPerThread = 3000;
  for (bool keepFull : {false, true}) {
    SCOPED_TRACE(keepFull ? "full log" : "trimmed log");
    TDebugLog log;
    if (keepFull) log.SetKeepFullLog();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
      threads.emplace_back([&log, t] {
        for (int i = 0; i < kPerThread; ++i) log.AddLogLine("T" + std::to_string(t) + " " + std::to_string(i));
      });
    for (auto& th : threads) th.join();

    std::vector<std::string> lines = log.Lines();
    if (keepFull) {
      EXPECT_EQ(lines.size(), size_t{kThreads * kPerThread});
    } else {
      // The count depends only on the number of appends, never on their order.
      TDebugLog serial;
      for (int i = 0; i < kThreads * kPerThread; ++i) serial.AddLogLine("x");
      EXPECT_EQ(lines.size(), serial.Lines().size());
      EXPECT_LE(lines.size(), 501u);
    }
    // Every line is whole, and each thread's lines keep their order.
    std::regex shape("0001A2F3: T([0-3]) ([0-9]+)");
    int last[kThreads] = {-1, -1, -1, -1};
    for (const auto& line : lines) {
      std::smatch m;
      ASSERT_TRUE(std::regex_match(line, m, shape)) << line;
      int t = std::stoi(m[1]), i = std::stoi(m[2]);
      EXPECT_GT(i, last[t]);
      last[t] = i;
    }
    if (keepFull) {
      for (int t = 0; t < kThreads; ++t) EXPECT_EQ(last[t], kPerThread - 1);
    } else {
      // Trimming may have dropped every line of a thread that ended early,
      // but the newest line is always some thread's last.
      EXPECT_EQ(lines.back().substr(lines.back().size() - 5), " " + std::to_string(kPerThread - 1));
    }
  }
}
