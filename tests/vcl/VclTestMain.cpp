// The main of every class-library test program: offscreen Qt, the
// application object, and unhandled exceptions turned into test failures.
#include <gtest/gtest.h>

#include <cstdlib>

#include "vcl/Forms.h"

int main(int argc, char** argv) {
  // The windows of these tests never reach a screen; drawing needs fonts
  // and image readers, not a display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  vcl::InitApplication();
  // An exception that escapes a handler fails the test that caused it
  // instead of opening a message box nobody can close.
  vcl::Application->OnException = [](vcl::TObject*, rtl::Exception& e) {
    ADD_FAILURE() << "unhandled exception in an event handler: " << e.Message();
  };
  return RUN_ALL_TESTS();
}
