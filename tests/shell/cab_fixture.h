#pragma once

#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>

#include <cstdlib>
#include <memory>
#include <vector>

#include "media/qt_settings_store.h"
#include "persist/settings.h"
#include "shell/cab_window.h"
#include "support/demo_root.h"
#include "support/qt_app.h"

namespace velimoro::testing {

/// How a test opens the cab window.
struct CabSetup {
  const char* train = "train_QT500.dat";  // the demo's diesel railcar
  const char* route = "line_up2.dat";     // the one-man line
  bool band = false;
  bool start = true;  // choose Start once the window shows
};

/// The cab window of a demo drive (without videos) on the offscreen platform, in a run without
/// a user: messages go to the error stream. The driver-aid panel is off, so the picture is the
/// classic screen's.
struct Cab {
  media::QtSettingsStore store;
  std::unique_ptr<shell::CabWindow> window;
  explicit Cab(const CabSetup& how = {}) {
    store.writeInt(kSettingsApplication, "DriverAids", 0);
    DriveSetup setup;
    setup.root = demoRoot();
    setup.trainFile = how.train;
    setup.routeFile = how.route;
    window =
        std::make_unique<shell::CabWindow>(setup, shell::CabOptions{true, how.band, {}}, store);
    window->show();
    if (how.start) window->toggleStart();
  }
  const SimState& state() const { return window->session().drive().state; }
  /// The small window called `name`, as the cab window made it.
  template <typename Window>
  Window& find(const char* name) {
    auto* found = window->findChild<QWidget*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return *static_cast<Window*>(found);
  }
  /// The Move menu's entries, one a stopping station, in the menu's order.
  std::vector<QAction*> moveEntries() const {
    std::vector<QAction*> entries;
    for (QAction* action : window->findChildren<QAction*>()) {
      if (action->objectName().startsWith(QStringLiteral("Sta"))) entries.push_back(action);
    }
    return entries;
  }
  /// Sizes the window to show its picture at exactly twice its logical size, so that a logical
  /// point has a known place in the window.
  void scaleTwice() {
    const QSize logical = window->windowPicture().size();
    window->resize(logical.width() * 2, window->menuBar()->height() + logical.height() * 2);
  }
  /// A left click at logical point (`x`, `y`) of a window scaled twice.
  void click(int x, int y) {
    const QPointF at(x * 2 + 1, window->menuBar()->height() + y * 2 + 1);
    QMouseEvent press(QEvent::MouseButtonPress, at, window->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &press);
  }
};

/// Pixels of `part` that differ from `expected` by more than a rounding's worth in a channel;
/// every pixel when the sizes differ.
inline int differingPixels(const QImage& part, const QImage& expected) {
  const QImage a = part.convertToFormat(QImage::Format_RGB32);
  const QImage b = expected.convertToFormat(QImage::Format_RGB32);
  if (a.size() != b.size()) return a.width() * a.height() + 1;
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      differing += std::abs(qRed(p) - qRed(q)) > 2 || std::abs(qGreen(p) - qGreen(q)) > 2 ||
                   std::abs(qBlue(p) - qBlue(q)) > 2;
    }
  }
  return differing;
}

/// A key typed into `widget`, pressed and released, as the keyboard delivers it there.
inline void typeInto(QWidget& widget, int key, const char* text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromUtf8(text));
  QCoreApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString::fromUtf8(text));
  QCoreApplication::sendEvent(&widget, &release);
}

}  // namespace velimoro::testing
