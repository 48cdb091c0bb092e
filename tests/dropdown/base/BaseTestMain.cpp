// The main of the drop-down base tests: offscreen Qt, the application
// object, the controls library started as the program starts it, and
// unhandled exceptions turned into test failures.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/ControlsLibrary.h"
#include "vcl/Forms.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  vcl::InitApplication();
  vcl::Application->OnException = [](vcl::TObject*, rtl::Exception& e) {
    ADD_FAILURE() << "unhandled exception in an event handler: " << e.Message();
  };
  controls::StartUpControls();
  int result = RUN_ALL_TESTS();
  controls::ShutDownControls();
  return result;
}
