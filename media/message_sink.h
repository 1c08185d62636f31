#pragma once

#include <string>

namespace velimoro::media {

/// Where the core shows a message box to the user (a notice; fatal errors unwind as
/// exceptions instead).
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void show(const std::string& text) = 0;
};

}  // namespace velimoro::media
