#pragma once

// One QApplication for the widget tests. It is made before the first test
// runs, so that tests needing only a QCoreApplication find it there, and on
// the offscreen platform unless another one is asked for. A run without any
// widget test (each test in its own process, as ctest runs them) makes none.

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>
#include <string_view>

namespace wavecrest::testing {

class WidgetsEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance() != nullptr || !AWidgetTestRuns()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  // Gone before the program's static objects are, while Qt's are still there.
  void TearDown() override { app_.reset(); }

 private:
  static bool AWidgetTestRuns() {
    static const char* const kSuites[] = {"Form1Window", "Form2Window", "ProgressBar", "Skins", "ChatRoomWindow", "MarqueeLabel"};
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
      const ::testing::TestSuite& suite = *unit.GetTestSuite(i);
      if (suite.test_to_run_count() == 0) continue;
      for (const char* name : kSuites) {
        if (std::string_view(suite.name()) == name) return true;
      }
    }
    return false;
  }

  int argc_ = 1;
  char name_[16] = "wavecrest_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kWidgetsEnvironment =
    ::testing::AddGlobalTestEnvironment(new WidgetsEnvironment);

}  // namespace wavecrest::testing
