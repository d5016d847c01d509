#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

// One QApplication for all the widget tests of this executable, on Qt's
// offscreen platform.
class QtApp : public ::testing::Environment {
 public:
  void SetUp() override {
    // Never a real display, also when run by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "mk_dialogs_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

const auto* const qtApp = ::testing::AddGlobalTestEnvironment(new QtApp);

}  // namespace
