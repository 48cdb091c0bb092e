#include <gtest/gtest.h>

#include <cstdlib>

#include "vcl/Forms.h"

int main(int argc, char** argv) {
  // Drawing needs fonts and image readers, and a few tests put controls on
  // forms; none of it needs a screen.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  vcl::InitApplication();
  vcl::Application->OnException = [](vcl::TObject*, rtl::Exception& e) {
    ADD_FAILURE() << "unhandled exception in an event handler: " << e.Message();
  };
  return RUN_ALL_TESTS();
}
