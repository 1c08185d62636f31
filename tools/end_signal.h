#pragma once

#include <csignal>
#include <stdexcept>
#include <string>

namespace velimoro::tools {

/// The end signal received (SIGTERM, SIGINT or SIGHUP), 0 while none is. The command-line
/// programs read it between their steps and end there cleanly, with what they wrote so far.
inline volatile std::sig_atomic_t g_endSignal = 0;

/// From now on SIGTERM, SIGINT and SIGHUP only set g_endSignal.
inline void recordEndSignals() {
  const auto onSignal = [](int signal) { g_endSignal = signal; };
#ifdef _WIN32
  for (const int signal : {SIGTERM, SIGINT})
    std::signal(signal, onSignal);
#else
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP})
    sigaction(signal, &action, nullptr);
#endif
}

/// Thrown where a long piece of work sees the end signal; its work is unfinished.
struct EndedBySignal : std::runtime_error {
  int signal;
  explicit EndedBySignal(int s)
      : std::runtime_error("ended by signal " + std::to_string(s)), signal(s) {}
};

inline void throwOnEndSignal() {
  if (const int signal = g_endSignal; signal != 0) throw EndedBySignal(signal);
}

}  // namespace velimoro::tools
