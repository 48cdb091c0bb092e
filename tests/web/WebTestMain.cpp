// The main of the web tests: the web engine's start-up needs, offscreen Qt,
// the application object, and unhandled exceptions turned into failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "vcl/Forms.h"
#include "web/WebBrowser.h"
#ifdef TOLVANE_WEB_TESTS_WITH_IDE
#include "ide/StartUp.h"
#endif

// The web engine's own library (not ours) frees with a size other than it
// allocated, and it, the GUI library and fontconfig keep a few kilobytes
// to the end of the process: only those libraries are excused, so the
// port's code stays fully checked.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0"; }
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libQt6WebEngineCore.so\n"
         "leak:libQt6Gui.so\n"
         "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  web::PrepareWebEngineStartUp();
  // The preview folder lies under the temporary folder: each run takes one
  // of its own, so parallel runs never share it.
  static std::string temp = "/tmp/tolvane-web-tests-" + std::to_string(getpid());
  std::filesystem::create_directories(temp);
  setenv("TMPDIR", temp.c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  vcl::InitApplication();
  vcl::Application->OnException = [](vcl::TObject*, rtl::Exception& e) {
    ADD_FAILURE() << "unhandled exception in an event handler: " << e.Message();
  };
#ifdef TOLVANE_WEB_TESTS_WITH_IDE
  ide::StartUpLibraries();
#endif
  const int result = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::remove_all(temp, ec);
  return result;
}
