#pragma once

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <string>

namespace velimoro::testing {

/// One pseudo-terminal pair standing in for a controller on a serial line: the port under test
/// opens the slave by name, the test writes on the master as the hardware would. Tests that
/// include this link libutil.
struct PseudoTerminal {
  int master = -1;
  std::string slaveName;

  PseudoTerminal() {
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
    slaveName = name;
    ::close(slave);
  }
  ~PseudoTerminal() { unplug(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  /// Writes `bytes` whole (waiting while the line's buffer is full).
  void send(const std::string& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
      if (n <= 0) {
        ADD_FAILURE() << "the pseudo-terminal took no more bytes";
        return;
      }
      done += static_cast<std::size_t>(n);
    }
  }
  void unplug() {
    if (master >= 0) ::close(master);
    master = -1;
  }
};

}  // namespace velimoro::testing
