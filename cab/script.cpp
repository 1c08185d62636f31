#include "cab/script.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "data/numbers.h"
#include "data/rounding.h"

namespace velimoro {
namespace {

struct CommandShape {
  const char* name;
  std::size_t minArgs;
  std::size_t maxArgs;
};

// The commands the driver understands, with how many arguments each takes.
constexpr CommandShape kCommands[] = {
    {"start", 0, 0},  // the Start menu item
    {"set", 2, 2},    // <field> <value>
    {"key", 1, 1},    // <char>, or "space"
    {"vkey", 1, 2},   // <name> [shift]
    {"wheel", 1, 1},  // up | down
    {"quit", 0, 0},
};

const CommandShape* findCommand(const std::string& name) {
  for (const CommandShape& shape : kCommands) {
    if (name == shape.name) return &shape;
  }
  return nullptr;
}

}  // namespace

std::vector<ScriptCommand> parseScript(std::istream& in, const std::string& fileName) {
  std::vector<ScriptCommand> commands;
  std::string text;
  int lineNumber = 0;
  while (std::getline(in, text)) {
    ++lineNumber;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (const std::size_t hash = text.find('#'); hash != std::string::npos) text.resize(hash);
    std::istringstream words(text);
    std::string time;
    if (!(words >> time)) continue;
    const auto fail = [&](const std::string& why) {
      throw std::runtime_error(fileName + ":" + std::to_string(lineNumber) + ": " + why);
    };
    const auto seconds = parseExtended(time);
    if (!seconds || *seconds < 0) fail("expected a time in seconds, found \"" + time + "\"");
    ScriptCommand command;
    command.atMs = roundHalfEven(*seconds * 1000);
    command.line = lineNumber;
    if (!(words >> command.name)) fail("expected a command after the time");
    for (std::string arg; words >> arg;)
      command.args.push_back(arg);
    const CommandShape* shape = findCommand(command.name);
    if (shape == nullptr) fail("unknown command \"" + command.name + "\"");
    if (command.args.size() < shape->minArgs || command.args.size() > shape->maxArgs) {
      fail("wrong number of arguments for \"" + command.name + "\"");
    }
    commands.push_back(std::move(command));
  }
  std::stable_sort(commands.begin(), commands.end(),
                   [](const ScriptCommand& a, const ScriptCommand& b) { return a.atMs < b.atMs; });
  return commands;
}

}  // namespace velimoro
