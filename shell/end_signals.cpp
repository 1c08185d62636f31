#include "shell/end_signals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "shell/cab_window.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace velimoro::shell {
namespace {

#ifndef _WIN32
// The signal handler only writes the signal's number here; the event loop reads it.
int g_signalPipe[2] = {-1, -1};

void onSignal(int signal) {
  const int saved = errno;
  const char number = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &number, 1);
  errno = saved;
}

int statusOf(int signal) {
  return signal == SIGHUP ? 128 + SIGHUP : 0;
}
#endif

}  // namespace

void endCleanlyOnSignals(QApplication& app) {
#ifndef _WIN32
  if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
    static bool ending = false;
    char number = 0;
    if (::read(g_signalPipe[0], &number, 1) != 1) return;
    const int status = statusOf(number);
    // A close that waits on something (a message box before a user who is gone) is not
    // waited on twice.
    if (ending) std::_Exit(status);
    ending = true;
    // The cab windows first: closing the title screen would take its cab window with it
    // unclosed, and its settings unwritten.
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (dynamic_cast<CabWindow*>(window) != nullptr && window->isVisible()) window->close();
    }
    QApplication::closeAllWindows();
    app.exit(status);
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    sigaction(signal, &action, nullptr);
#else
  (void)app;
#endif
}

}  // namespace velimoro::shell
