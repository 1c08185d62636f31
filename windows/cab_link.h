#pragma once

#include <QKeyEvent>
#include <functional>
#include <string>
#include <vector>

namespace velimoro::windows {

/// What a small window may ask of the cab window: an input of the drive (a script command, so
/// that recordings keep it) and the keys typed into it, which drive the train as the cab's own.
struct CabLink {
  std::function<void(const std::string& name, std::vector<std::string> args)> input;
  std::function<void(QKeyEvent* event)> key;
};

}  // namespace velimoro::windows
