#pragma once

// One QApplication for the widget tests. It is made before the first test
// runs, so that tests needing only a QCoreApplication find it there, and on
// the offscreen platform unless another one is asked for.

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace wavecrest::testing {

class WidgetsEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  // Gone before the program's static objects are, while Qt's are still there.
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "wavecrest_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kWidgetsEnvironment =
    ::testing::AddGlobalTestEnvironment(new WidgetsEnvironment);

}  // namespace wavecrest::testing
