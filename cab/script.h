#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace velimoro {

/// One line of a drive script: at `atMs` of simulated time, `name` with its arguments.
struct ScriptCommand {
  std::int64_t atMs = 0;
  std::string name;
  std::vector<std::string> args;
  int line = 0;
};

/// Parses "<seconds> <command> [args]" lines ("#" starts a comment) into commands in time order
/// (lines of equal time keep their order). Throws std::runtime_error naming the file and line.
std::vector<ScriptCommand> parseScript(std::istream& in, const std::string& fileName);

}  // namespace velimoro
