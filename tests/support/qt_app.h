#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <memory>

#include "support/test_support.h"

namespace velimoro::testing {

/// One Qt application for a whole test program, on the offscreen platform, with silent sound and
/// the settings store in a folder of its own. A test program that shows widgets registers it
/// once with ::testing::AddGlobalTestEnvironment.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ALSOFT_DRIVERS", "null");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_config.path()));
    static int argc = 1;
    static char name[] = "velimoro_test";
    static char* argv[] = {name, nullptr};
    m_app = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { m_app.reset(); }

 private:
  TempDir m_config;
  std::unique_ptr<QApplication> m_app;
};

/// Runs the event loop for `ms` milliseconds: timers fire, windows draw.
inline void runEvents(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace velimoro::testing
