#pragma once

#include <stdexcept>
#include <string>

namespace velimoro {

/// A fatal fault in a data file. what() is the exact text the user must see; the host shows it
/// and ends the drive.
class DataError : public std::runtime_error {
 public:
  explicit DataError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace velimoro
