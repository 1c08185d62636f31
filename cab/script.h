#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "data/controller_map.h"
#include "input/controls.h"
#include "input/external_controllers.h"
#include "sim/sim_drive.h"

namespace velimoro {

/// One line of a drive script: at `atMs` of simulated time, `name` with its arguments.
struct ScriptCommand {
  std::int64_t atMs = 0;
  std::string name;
  std::vector<std::string> args;
  int line = 0;
  std::string file;  // the script it was read from; empty for an input of the window
};

/// Throws std::runtime_error naming the command's file and line when its arguments name no key,
/// no virtual key, no wheel direction, no settable state field, no save slot or no station index.
void checkCommand(const ScriptCommand& command);

/// The user setting a `setting` command names ("kanko", "information", "ats", "aids"); null for
/// none.
int DriveSettings::*settingField(const std::string& name);
/// The word a `setting` command names `field` by; "" for a field no command sets.
const char* settingWord(int DriveSettings::*field);

/// The save slot (1 .. 3) a `save` or `load` command names, if it names one.
std::optional<int> slotOfCommand(const ScriptCommand& command);

/// The script word of a typed character: itself, "space" for a blank and "hash" for "#".
std::string keyWord(char key);
/// The character of a script word, if it names one.
std::optional<char> keyOfWord(const std::string& word);

/// The script word of a chunk from the serial controller: its bytes, with every byte that is not
/// printable ASCII, and "%" and "#", written as "%XX" (hexadecimal).
std::string serialWord(const std::string& chunk);
/// The text a chunk from the serial controller shows as: its CP932 text (the code page of
/// "mascon.dat"), or its script word when its bytes are no CP932.
std::string serialCaptionText(const std::string& chunk);
/// The bytes of a serial script word, if it is one (not empty, every "%" followed by two
/// hexadecimal digits).
std::optional<std::string> serialChunkOfWord(const std::string& word);

/// The script words of a joystick state: X, Y and the buttons in hexadecimal.
std::vector<std::string> joystickWords(const JoystickState& joystick);
/// The joystick state of `joystick` command words, if they are one (axes within -32768 ..
/// 32767, buttons one to four hexadecimal digits).
std::optional<JoystickState> joystickOfWords(const std::string& x, const std::string& y,
                                             const std::string& buttons);

/// The script words of the button pad's codes: P0 .. P5, B0 .. B8 and EB.
std::vector<std::string> padCodeWords(const ControllerMap& codes);
/// Sets the button pad's codes of `codes` from `padcodes` command words; false, leaving them,
/// unless they are 16 whole numbers.
bool padCodesOfWords(const std::vector<std::string>& words, ControllerMap& codes);

/// The script name of a virtual key ("Enter", "F1", ...).
std::string virtualKeyName(VirtualKey key);
/// The virtual key of a script name, if it names one.
std::optional<VirtualKey> virtualKeyNamed(const std::string& name);

/// Parses "<seconds> <command> [args]" lines ("#" starts a comment) into commands; the times
/// never go back (lines of equal time run in file order). Throws std::runtime_error naming the
/// file and line of the first line that does not parse, names no command or goes back in time.
std::vector<ScriptCommand> parseScript(std::istream& in, const std::string& fileName);

}  // namespace velimoro
