#pragma once

#include <gtest/gtest.h>

class QApplication;

namespace scorvane::testing {

// The one QApplication of a widget test binary, made on first use and kept until the process ends.
QApplication& EnsureQtApplication();

// Base of widget tests: the application exists before the test body runs.
class QtTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { EnsureQtApplication(); }
};

}  // namespace scorvane::testing
