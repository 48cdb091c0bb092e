#pragma once
// The command-line batch mode: the verbs D (folder -> image), P (project ->
// image) and U (upload) run before, and instead of, any window.
#include <iosfwd>
#include <vector>

#include "rtl/Types.h"

namespace core {

using rtl::AnsiString;

class TcommandLineExec {
 public:
  // At most this many arguments after the program path are looked at.
  static constexpr size_t kMaxArgs = 25;

  // Failures are reported on errorOutput (standard error by default).
  TcommandLineExec();
  explicit TcommandLineExec(std::ostream& errorOutput);
  TcommandLineExec(const TcommandLineExec&) = delete;
  TcommandLineExec& operator=(const TcommandLineExec&) = delete;
  virtual ~TcommandLineExec() = default;
  virtual const char* ClassName() const { return "TcommandLineExec"; }

  // With exactly CR LF as text the process's own arguments are used;
  // otherwise the text is one command line, split by the tokenizer. True
  // when at least one verb was handled (whether or not it could run).
  bool Execute(const AnsiString& text);
  // Splits a command line (the first argument is the program path and is
  // dropped) and runs its verbs.
  bool ProcessArgs(const AnsiString& commandLine);
  // The same for an argument vector as a program receives it (argv[0] the
  // program path). Empty arguments are dropped as the tokenizer drops them.
  bool ProcessArgList(const std::vector<AnsiString>& argv);

  // 0 when every verb that was handled succeeded, 1 otherwise (a verb with
  // missing operands, a failed build or a failed upload).
  int ExitCode() const { return failed_ ? 1 : 0; }

 protected:
  // Verb D: the builder reads the folder as it is; nothing in it changes.
  virtual bool BuildImageFromFolder(const AnsiString& folder, const AnsiString& imageFile);
  // Verb P: the project's active files are staged in the IDE temporary folder.
  virtual bool BuildImageFromProject(const AnsiString& projectFile, const AnsiString& imageFile);
  // Verb U.
  virtual bool UploadImage(const AnsiString& address, const AnsiString& imageFile);
  // Writes one line to the error output and marks the run as failed.
  void Report(const AnsiString& message);

 private:
  bool RunVerbs(const std::vector<AnsiString>& args);

  std::ostream& err_;
  bool failed_ = false;
};

// The tokenizer: reads the argument that starts at or after pos and answers
// the position after it. Blanks, control characters and "" pairs before it
// are skipped; a double quote opens a stretch (to the next double quote or
// the end) in which blanks belong to the argument; the quotes themselves do
// not. The argument is empty only when the text ends first. A NUL byte ends
// the text.
size_t NextCommandLineArg(const AnsiString& text, size_t pos, AnsiString& arg);

// The system's temporary folder followed by "~zelvormek.tmp/ide/", computed
// once per process.
AnsiString GetIdeTempFolder();

}  // namespace core
