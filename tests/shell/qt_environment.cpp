// One Qt application for the whole test program, on the offscreen platform, with silent sound
// and the settings store in a folder of its own.
#include <gtest/gtest.h>
#include <QApplication>

#include <memory>

#include "support/test_support.h"

namespace velimoro {
namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ALSOFT_DRIVERS", "null");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_config.path()));
    static int argc = 1;
    static char name[] = "test_shell";
    static char* argv[] = {name, nullptr};
    m_app = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { m_app.reset(); }

 private:
  testing::TempDir m_config;
  std::unique_ptr<QApplication> m_app;
};
const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
}  // namespace velimoro
