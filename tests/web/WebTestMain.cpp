// The main of the web tests: the web engine's start-up needs, offscreen Qt,
// the application object, and unhandled exceptions turned into failures.
#include <gtest/gtest.h>

#include <cstdlib>

#include "vcl/Forms.h"
#include "web/WebBrowser.h"

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
  ::testing::InitGoogleTest(&argc, argv);
  vcl::InitApplication();
  vcl::Application->OnException = [](vcl::TObject*, rtl::Exception& e) {
    ADD_FAILURE() << "unhandled exception in an event handler: " << e.Message();
  };
  return RUN_ALL_TESTS();
}
