#pragma once

class QApplication;

namespace velimoro::shell {

/// Ends the window program cleanly on SIGTERM, SIGINT and SIGHUP: every cab window closes as
/// its close entry does (the drive stops, the settings are written), then every other window,
/// and the event loop ends with status 0, for SIGHUP 128 + 1. A second signal while that is
/// under way ends the program at once. Call once, before the event loop runs.
void endCleanlyOnSignals(QApplication& app);

}  // namespace velimoro::shell
