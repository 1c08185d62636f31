#include "data/controller_map.h"
#include "data/text_file.h"
#include "input/controls.h"
#include "input/external_controllers.h"
#include "sim/air_brakes.h"
#include "sim/handle_steps.h"
#include "sim/handle_texts.h"
#include "sim/sound_actions.h"

namespace velimoro {
namespace {

// The map lines by their place in "mascon.dat" (0-based).
constexpr int kFirstPower = 0;      // P1 .. P6
constexpr int kNeutral = 6;         // power off, brake released
constexpr int kFirstBrake = 7;      // B1 .. B8
constexpr int kEmergency = 15;      // EB
constexpr int kFirstReverser = 16;  // forward, neutral, reverse
constexpr int kFirstButton = 19;    // announcement, horn, door

constexpr int kEmergencyPosition = -9;
constexpr char kButtonKeys[] = {'1', '3', '7'};
constexpr int kReverserPositions[] = {1, 0, -1};

// A chunk spells a map line when its first bytes, read in the code page of the map file, are
// the whole line: a longer code never matches, and neither does a chunk whose first bytes are
// not CP932 or an empty chunk (which would otherwise spell every empty line).
bool spells(const std::string& decodedPrefix, const std::string& line) {
  return !decodedPrefix.empty() && decodedPrefix == line;
}

void setHandles(SimDrive& drive, int power, int brake) {
  SimState& s = drive.state;
  s.power_handle = power;
  s.brake_handle = brake;
  raiseAllPending(s);
}

void actOnLine(SimDrive& drive, ControllerInputs& inputs, int line) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  if (line < kNeutral) {
    setHandles(drive, mapPosition(train, selectedPowerMode(s), line - kFirstPower + 1), 0);
  } else if (line == kNeutral) {
    setHandles(drive, 0, 0);
  } else if (line < kEmergency) {
    setHandles(drive, 0, mapPosition(train, selectedPowerMode(s), -(line - kFirstBrake + 1)));
  } else if (line == kEmergency) {
    setHandles(drive, 0, mapPosition(train, selectedPowerMode(s), kEmergencyPosition));
    // The valve sounds on every receipt of the code, even at EB already.
    restartTrainSound(drive, train.Sound_EB);
  } else if (line < kFirstButton) {
    moveReverser(s, kReverserPositions[line - kFirstReverser]);
  } else {
    inputs.posted.push_back(PostedKey{kButtonKeys[line - kFirstButton], false});
    return;
  }
  masconupdate(drive);
}

}  // namespace

SerialMatch serialChunk(SimDrive& drive, ControllerInputs& inputs, const std::string& chunk) {
  resetDeadManTimer(drive);
  inputs.serialCaption = chunk;
  SerialMatch match;
  const std::string prefix = chunk.substr(0, ControllerMap::kCodeLength);
  std::string decodedPrefix;
  if (!decodeCp932(prefix, decodedPrefix)) decodedPrefix.clear();
  const ControllerMap& map = drive.setup.controllers;
  const int lines = std::min(map.MapLineCount, ControllerMap::kUsedLines);
  for (int line = 0; line < lines; ++line) {
    if (!spells(decodedPrefix, map.MapLines[static_cast<std::size_t>(line)])) {
      continue;
    }
    match.lines.push_back(line);
    actOnLine(drive, inputs, line);
  }
  return match;
}

void handlePostedKeys(SimDrive& drive, ControllerInputs& inputs) {
  // A key handled may post none itself, but take the list first all the same.
  const std::vector<PostedKey> posted = std::move(inputs.posted);
  inputs.posted.clear();
  for (const PostedKey& key : posted) {
    if (key.enter) {
      keyDown(drive, VirtualKey::kEnter, false);
    } else {
      asciiDown(drive, key.character);
    }
  }
}

}  // namespace velimoro
