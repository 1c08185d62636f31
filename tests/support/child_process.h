#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace velimoro::testing {

/// A program started in the background with `XDG_CONFIG_HOME` set to `config`, its output
/// streams in files of the test's choosing; ended and reaped by the test.
struct ChildProcess {
  pid_t pid = -1;

  ChildProcess(const std::vector<std::string>& argv, const std::string& config,
               const std::string& outFile, const std::string& errFile) {
    pid = fork();
    if (pid != 0) return;
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (!freopen(outFile.c_str(), "w", stdout) || !freopen(errFile.c_str(), "w", stderr))
      _exit(127);
    std::vector<char*> args;
    for (const std::string& arg : argv)
      args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  ~ChildProcess() {
    if (pid > 0 && waitFor(0) == kRunning) {
      kill(pid, SIGKILL);
      waitFor(5000);
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  static constexpr int kRunning = -1000;
  /// Waits up to `ms` for the program to end: its exit status, 128 + the signal that killed
  /// it, or kRunning.
  int waitFor(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      if (std::chrono::steady_clock::now() >= until) return kRunning;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
};

}  // namespace velimoro::testing
