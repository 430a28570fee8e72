// test_main.cpp - runs the clser tests on the offscreen Qt platform.

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  // No test may wait for a person: without a platform named by the caller,
  // use the one on which windows are never shown.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
