// The main of the renderer tests: offscreen Qt and the application object,
// which fonts and the image readers need.
#include <gtest/gtest.h>

#include <cstdlib>

#include "vcl/Forms.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  vcl::InitApplication();
  return RUN_ALL_TESTS();
}
