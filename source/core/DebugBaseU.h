#pragma once
// The process-wide debug log: a bounded list of tick-stamped lines that every
// part of the module tooling appends to, and TDebugBase, the base of the
// objects that log under their own class name.
//
// Lines look like "0001A2F3: TUDPConnection -> reply timed out": the 32-bit
// millisecond tick count as eight upper-case hex digits, ": ", the text.
#include <mutex>
#include <optional>
#include <vector>

#include "rtl/StringList.h"
#include "rtl/Types.h"
#include "rtl/Version.h"

namespace rtl {
class TStream;
}

namespace core {

using rtl::AnsiString;

// One log list with its lock and its two switches. The program uses the one
// returned by TDebugLog::Global(); tests may make their own.
class TDebugLog {
 public:
  // Above this many lines an append first trims the list ...
  static constexpr rtl::Integer kTrimAbove = 500;
  // ... down to this many, so that the new line makes it kTrimTo + 1.
  static constexpr rtl::Integer kTrimTo = 372;

  TDebugLog() = default;
  TDebugLog(const TDebugLog&) = delete;
  TDebugLog& operator=(const TDebugLog&) = delete;

  static TDebugLog& Global();

  // Trims (unless the full log is kept), then appends the tick-stamped line.
  void AddLogLine(const AnsiString& text);
  // Appends the "Log Dump " header line, then writes every line, CR LF
  // ended, replacing the file. Raises the string list's file error when the
  // file cannot be written.
  void SaveLogToFile(const AnsiString& fileName);

  // A copy of the lines, taken under the lock.
  std::vector<AnsiString> Lines() const;
  rtl::Integer Count() const;

  // Both switches only ever go from off to on.
  bool KeepFullLog() const;
  void SetKeepFullLog();
  bool DumpLogAtExit() const;
  void SetDumpLogAtExit();

 private:
  mutable std::mutex lock_;
  rtl::TStringList lines_;
  bool keepFullLog_ = false;
  bool dumpLogAtExit_ = false;
};

// Base of the objects that write to the debug log. The class-level
// operations work on the global log and need no instance.
class TDebugBase {
 public:
  TDebugBase() = default;
  virtual ~TDebugBase() = default;

  // The name of the object's most derived class; every descendant overrides it.
  virtual const char* ClassName() const { return "TDebugBase"; }

  // Appends ClassName(), " -> " and the message.
  virtual void Log(const AnsiString& message);
  // Appends the stream's whole content as one line: bytes 32..126 as they
  // are, every other byte as eight upper-case hex digits. Leaves the stream
  // positioned at its end.
  virtual void LogStream(rtl::TStream& stream);

  // Appends className, " -> " and the message; for code that is not a
  // TDebugBase (the main window, the module data module, the module list).
  static void LogFor(const AnsiString& message, const char* className);
  template <typename T>
    requires requires(const T& t) { t.ClassName(); }
  static void LogFor(const AnsiString& message, const T& object) {
    LogFor(message, object.ClassName());
  }

  static void AddLogLine(const AnsiString& text);
  static void SaveLogToFile(const AnsiString& fileName);
  // "Version: " + the program file's date ("mm/dd/yyyy, HH:MM:SS") + " " +
  // the four-number file version, or the application title and a blank when
  // the version cannot be read.
  static AnsiString GetVersionText();

  static bool KeepFullLog();
  static void SetKeepFullLog();
  static bool DumpLogAtExit();
  static void SetDumpLogAtExit();
};

// The line LogStream appends for these bytes.
AnsiString RenderLogBytes(const void* data, size_t size);

// The dump header from its parts: "Version: " + date + " " + the version's
// four numbers, or the application title and one blank without a version.
AnsiString FormatVersionText(const AnsiString& date, const std::optional<rtl::TFileVersion>& version);

}  // namespace core
