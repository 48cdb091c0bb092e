#include "core/DebugBaseU.h"

#include <cstdio>
#include <string>

#include "rtl/Clock.h"
#include "rtl/Convert.h"
#include "rtl/DateTime.h"
#include "rtl/Files.h"
#include "rtl/Streams.h"
#include "rtl/Version.h"

namespace core {
namespace {

// What the dump header falls back on when the version cannot be read: the
// application title the main block gives the program.
constexpr const char* kApplicationTitle = "Tolvane";

}  // namespace

TDebugLog& TDebugLog::Global() {
  // Never destroyed: listener threads may still log while the process ends.
  static TDebugLog* log = new TDebugLog;
  return *log;
}

void TDebugLog::AddLogLine(const AnsiString& text) {
  std::lock_guard<std::mutex> guard(lock_);
  if (lines_.Count() > kTrimAbove && !keepFullLog_) {
    lines_.BeginUpdate();
    while (lines_.Count() > kTrimTo) lines_.Delete(0);
    lines_.EndUpdate();
  }
  // Stamped under the lock, so the stamps never go back down the list.
  lines_.Add(rtl::IntToHex(rtl::GetTickCount(), 8) + ": " + text);
}

void TDebugLog::SaveLogToFile(const AnsiString& fileName) {
  AddLogLine("Log Dump " + TDebugBase::GetVersionText());
  std::lock_guard<std::mutex> guard(lock_);
  lines_.SaveToFile(fileName);
}

std::vector<AnsiString> TDebugLog::Lines() const {
  std::lock_guard<std::mutex> guard(lock_);
  std::vector<AnsiString> copy;
  copy.reserve(lines_.Count());
  for (rtl::Integer i = 0; i < lines_.Count(); ++i) copy.push_back(lines_.Get(i));
  return copy;
}

rtl::Integer TDebugLog::Count() const {
  std::lock_guard<std::mutex> guard(lock_);
  return lines_.Count();
}

bool TDebugLog::KeepFullLog() const {
  std::lock_guard<std::mutex> guard(lock_);
  return keepFullLog_;
}

void TDebugLog::SetKeepFullLog() {
  std::lock_guard<std::mutex> guard(lock_);
  keepFullLog_ = true;
}

bool TDebugLog::DumpLogAtExit() const {
  std::lock_guard<std::mutex> guard(lock_);
  return dumpLogAtExit_;
}

void TDebugLog::SetDumpLogAtExit() {
  std::lock_guard<std::mutex> guard(lock_);
  dumpLogAtExit_ = true;
}

AnsiString RenderLogBytes(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  AnsiString line;
  line.reserve(size);
  for (size_t i = 0; i < size; ++i) {
    unsigned char b = bytes[i];
    if (b >= 32 && b <= 126)
      line += static_cast<char>(b);
    else
      line += rtl::IntToHex(static_cast<rtl::Integer>(b), 8);
  }
  return line;
}

void TDebugBase::Log(const AnsiString& message) { LogFor(message, ClassName()); }

void TDebugBase::LogStream(rtl::TStream& stream) {
  stream.SetPosition(0);
  const rtl::Int64 size = stream.Size();
  std::string bytes(static_cast<size_t>(size), '\0');
  if (size > 0) stream.ReadBuffer(bytes.data(), static_cast<rtl::Integer>(size));
  AddLogLine(RenderLogBytes(bytes.data(), bytes.size()));
}

void TDebugBase::LogFor(const AnsiString& message, const char* className) {
  AddLogLine(AnsiString(className) + " -> " + message);
}

void TDebugBase::AddLogLine(const AnsiString& text) { TDebugLog::Global().AddLogLine(text); }

void TDebugBase::SaveLogToFile(const AnsiString& fileName) {
  TDebugLog::Global().SaveLogToFile(fileName);
}

AnsiString FormatVersionText(const AnsiString& date, const std::optional<rtl::TFileVersion>& version) {
  return "Version: " + date + " " + (version ? version->ToString() : AnsiString(kApplicationTitle) + " ");
}

AnsiString TDebugBase::GetVersionText() {
  AnsiString date;
  rtl::TDateTime age = 0;
  if (rtl::FileAge(rtl::ProgramFileName(), age)) date = rtl::FormatDateTime("mm/dd/yyyy, HH:MM:SS", age);
  // The version is compiled into the program, so unlike a resource it is
  // always there to read.
  return FormatVersionText(date, rtl::ProgramFileVersion());
}

bool TDebugBase::KeepFullLog() { return TDebugLog::Global().KeepFullLog(); }
void TDebugBase::SetKeepFullLog() { TDebugLog::Global().SetKeepFullLog(); }
bool TDebugBase::DumpLogAtExit() { return TDebugLog::Global().DumpLogAtExit(); }
void TDebugBase::SetDumpLogAtExit() { TDebugLog::Global().SetDumpLogAtExit(); }

}  // namespace core
