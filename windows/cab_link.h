#pragma once

#include <QKeyEvent>
#include <functional>
#include <string>
#include <vector>

namespace velimoro::windows {

/// What a small window may ask of the cab window: an input of the drive (a script command, so
/// that recordings keep it), the keys typed into it, which drive the train as the cab's own, and
/// a message to the user.
struct CabLink {
  std::function<void(const std::string& name, std::vector<std::string> args)> input;
  std::function<void(QKeyEvent* event)> key;
  /// A message box, or the error stream in a run without a user.
  std::function<void(const std::string& text)> message;
};

}  // namespace velimoro::windows
