#include "core/CommandLineExecU.h"

#include <fstream>
#include <iostream>
#include <iterator>

#include "core/CdfsDataU.h"
#include "core/CdfsDeviceU.h"
#include "core/PrjManagerU.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Strings.h"

namespace core {
namespace {

// The process's own argument vector, program path first.
std::vector<AnsiString> ProcessArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<AnsiString> args;
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    args.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return args;
}

bool IsSpaceOrControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

}  // namespace

size_t NextCommandLineArg(const AnsiString& text, size_t pos, AnsiString& arg) {
  const size_t end = std::min(text.find('\0'), text.size());
  arg.clear();
  for (;;) {
    if (pos < end && IsSpaceOrControl(text[pos])) {
      ++pos;
    } else if (pos + 1 < end && text[pos] == '"' && text[pos + 1] == '"') {
      pos += 2;
    } else {
      break;
    }
  }
  while (pos < end && !IsSpaceOrControl(text[pos])) {
    if (text[pos] == '"') {
      ++pos;
      while (pos < end && text[pos] != '"') arg += text[pos++];
      if (pos < end) ++pos;  // the closing quote
    } else {
      arg += text[pos++];
    }
  }
  return pos;
}

AnsiString GetIdeTempFolder() {
  static const AnsiString folder = rtl::TempFolder() + rtl::StoredToNativePath("~zelvormek.tmp\\ide\\");
  return folder;
}

TcommandLineExec::TcommandLineExec() : err_(std::cerr) {}
TcommandLineExec::TcommandLineExec(std::ostream& errorOutput) : err_(errorOutput) {}

bool TcommandLineExec::Execute(const AnsiString& text) {
  if (text == "\r\n") return ProcessArgList(ProcessArguments());
  return ProcessArgs(text);
}

bool TcommandLineExec::ProcessArgs(const AnsiString& commandLine) {
  if (commandLine.empty()) return false;
  const size_t end = std::min(commandLine.find('\0'), commandLine.size());
  AnsiString arg;
  size_t pos = NextCommandLineArg(commandLine, 0, arg);  // the program path
  std::vector<AnsiString> kept;
  while (kept.size() < kMaxArgs && pos < end) {
    pos = NextCommandLineArg(commandLine, pos, arg);
    if (!arg.empty()) kept.push_back(arg);
  }
  return RunVerbs(kept);
}

bool TcommandLineExec::ProcessArgList(const std::vector<AnsiString>& argv) {
  if (argv.empty()) return false;
  std::vector<AnsiString> kept;
  for (size_t i = 1; i < argv.size() && kept.size() < kMaxArgs; ++i)
    if (!argv[i].empty()) kept.push_back(argv[i]);
  return RunVerbs(kept);
}

bool TcommandLineExec::RunVerbs(const std::vector<AnsiString>& args) {
  auto operand = [&args](size_t i) { return i < args.size() ? args[i] : AnsiString(); };
  bool handled = false;
  size_t j = 0;
  while (j < args.size()) {
    AnsiString verb = args[j];
    if (!verb.empty() && (verb[0] == '+' || verb[0] == '-' || verb[0] == '\\')) verb.erase(0, 1);
    if (verb.empty() || rtl::UpperCase(verb) == "DEBUG_LOG") {
      ++j;
      continue;
    }
    const AnsiString first = operand(j + 1);
    const AnsiString second = operand(j + 2);
    switch (verb[0]) {
      case 'D':
        if (first.empty() || second.empty())
          Report("Verb D needs a folder and an image file name");
        else if (!rtl::DirectoryExists(first))
          Report("Folder not found: " + first);
        else
          BuildImageFromFolder(first, second);
        break;
      case 'P':
        if (first.empty() || second.empty())
          Report("Verb P needs a project file and an image file name");
        else if (!rtl::FileExists(first))
          Report("Project file not found: " + first);
        else
          BuildImageFromProject(first, second);
        break;
      case 'U':
        if (first.empty() || second.empty())
          Report("Verb U needs a module address and an image file name");
        else if (!rtl::FileExists(second))
          Report("Image file not found: " + second);
        else
          UploadImage(first, second);
        break;
      default:
        ++j;
        continue;
    }
    handled = true;
    j += 3;
  }
  return handled;
}

bool TcommandLineExec::BuildImageFromFolder(const AnsiString& folder, const AnsiString& imageFile) {
  TcdfsData build;
  build.SetStagingFolder(folder);
  if (build.RunBuilder(imageFile)) return true;
  Report("Image build from folder " + folder + " failed: " + build.LastError());
  return false;
}

bool TcommandLineExec::BuildImageFromProject(const AnsiString& projectFile, const AnsiString& imageFile) {
  TcdfsData build;
  Tprjmanager project;
  project.SetFileName(projectFile);
  {
    rtl::TMemIniFile ini(projectFile);
    project.LoadFromIni(ini);
  }
  build.SetStagingFolder(GetIdeTempFolder() + rtl::StoredToNativePath("prj_files\\tmp\\"));
  if (build.Build(project, imageFile)) return true;
  Report("Image build from project " + projectFile + " failed: " + build.LastError());
  return false;
}

bool TcommandLineExec::UploadImage(const AnsiString& address, const AnsiString& imageFile) {
  AnsiString failure;
  if (UploadImageFile(address, imageFile, std::cout, failure)) return true;
  Report(failure);
  return false;
}

void TcommandLineExec::Report(const AnsiString& message) {
  failed_ = true;
  err_ << message << '\n';
  err_.flush();
}

}  // namespace core
