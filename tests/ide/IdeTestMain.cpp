// The main of the main window's tests: offscreen Qt, the application
// object, the window libraries started as the program starts them, and
// unhandled exceptions turned into test failures (the window puts its own
// handler in place while it lives).
#include <gtest/gtest.h>

#include <cstdlib>

#include "ide/StartUp.h"
#include "vcl/Forms.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
  vcl::InitApplication();
  vcl::Application->OnException = [](vcl::TObject*, rtl::Exception& e) {
    ADD_FAILURE() << "unhandled exception in an event handler: " << e.Message();
  };
  ide::StartUpLibraries();
  return RUN_ALL_TESTS();
}
