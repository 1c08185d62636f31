#include "cab/script.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "data/numbers.h"
#include "data/rounding.h"
#include "data/text_file.h"
#include "media/sound_layer.h"
#include "media/translate.h"
#include "sim/state_fields.h"

namespace velimoro {
namespace {

struct CommandShape {
  const char* name;
  std::size_t minArgs;
  std::size_t maxArgs;
};

// The commands the driver understands, with how many arguments each takes.
constexpr CommandShape kCommands[] = {
    {"start", 0, 0},       // the Start menu item
    {"set", 2, 2},         // <field> <value>
    {"key", 1, 1},         // <char>, or "space"
    {"vkey", 1, 2},        // <name> [shift]
    {"wheel", 1, 1},       // up | down
    {"setting", 2, 2},     // kanko | information | ats | aids, 0 | 1: a Display menu entry
    {"ats", 1, 1},         // on | off: the train settings' protection
    {"engine", 1, 1},      // start | run | stop: the train settings' engine
    {"speedunits", 0, 0},  // the value display's reload of the filming-speed table
    {"stopsound", 1, 1},   // <channel>: the value display's sound grid
    {"crewchange", 1, 1},  // <station> | -1: the crew-change station of the train settings
    {"save", 1, 1},        // <slot 1 .. 3>: a Save menu entry
    {"load", 1, 1},        // <slot 1 .. 3>: a Load menu entry
    {"jump", 1, 1},        // <station index>: a Move menu entry
    {"serial", 1, 1},      // <chunk>: one chunk from the serial controller (see serialWord)
    {"joystick", 3, 3},    // <x> <y> <buttons-hex>: the game controller's state from now on
    {"controller", 1, 1},  // 0 | 1 | 2: the Controller menu's type
    {"padcodes", 16, 16},  // P0..P5 B0..B8 EB: the button pad's stored codes from now on
    {"quit", 0, 0},
};

const CommandShape* findCommand(const std::string& name) {
  for (const CommandShape& shape : kCommands) {
    if (name == shape.name) return &shape;
  }
  return nullptr;
}

struct VirtualKeyName {
  const char* name;
  VirtualKey key;
};

constexpr VirtualKeyName kVirtualKeys[] = {
    {"Enter", VirtualKey::kEnter},
    {"BackSpace", VirtualKey::kBackSpace},
    {"ScrollLock", VirtualKey::kScrollLock},
    {"PageUp", VirtualKey::kPageUp},
    {"PageDown", VirtualKey::kPageDown},
    {"Left", VirtualKey::kLeft},
    {"Right", VirtualKey::kRight},
    {"F1", VirtualKey::kF1},
    {"F2", VirtualKey::kF2},
    {"F3", VirtualKey::kF3},
    {"F4", VirtualKey::kF4},
    {"F5", VirtualKey::kF5},
    {"F6", VirtualKey::kF6},
    {"F7", VirtualKey::kF7},
    {"F8", VirtualKey::kF8},
    {"F9", VirtualKey::kF9},
    {"F10", VirtualKey::kF10},
    {"F11", VirtualKey::kF11},
    {"F12", VirtualKey::kF12},
};

// The joystick axes as the device layer reports them.
constexpr int kAxisMin = -32768;
constexpr int kAxisMax = 32767;

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

[[noreturn]] void commandFault(const ScriptCommand& command, const std::string& why) {
  const std::string where = command.file.empty() ? "input" : command.file;
  throw std::runtime_error(where + ":" + std::to_string(command.line) + ": " + why);
}

// The fault `text` of the script, with `values` for its %1 ..
[[noreturn]] void commandFault(const ScriptCommand& command, const char* text,
                               std::initializer_list<std::string_view> values) {
  commandFault(command, media::fill(media::translate("Script", text), values));
}

// A state field `set` can write, with a value it takes (checked on a scratch state).
bool settable(const std::string& name, const std::string& value) {
  const StateField* field = findStateField(name);
  SimState scratch;
  return field != nullptr && setStateField(scratch, *field, value);
}

}  // namespace

namespace {

struct SettingWord {
  const char* word;
  int DriveSettings::*field;
};

constexpr SettingWord kSettingWords[] = {
    {"kanko", &DriveSettings::kanko},
    {"information", &DriveSettings::information},
    {"ats", &DriveSettings::ats},
    {"aids", &DriveSettings::aids},
};

}  // namespace

int DriveSettings::*settingField(const std::string& name) {
  for (const SettingWord& setting : kSettingWords) {
    if (name == setting.word) return setting.field;
  }
  return nullptr;
}

const char* settingWord(int DriveSettings::*field) {
  for (const SettingWord& setting : kSettingWords) {
    if (field == setting.field) return setting.word;
  }
  return "";
}

std::optional<int> slotOfCommand(const ScriptCommand& command) {
  if (command.args.empty()) return std::nullopt;
  const std::optional<int> slot = parseInt(command.args[0]);
  if (!slot || *slot < 1 || *slot > 3) return std::nullopt;
  return slot;
}

std::string keyWord(char key) {
  if (key == ' ') return "space";
  if (key == '#') return "hash";
  return std::string(1, key);
}

std::optional<char> keyOfWord(const std::string& word) {
  if (word == "space") return ' ';
  if (word == "hash") return '#';
  if (word.size() == 1) return word[0];
  return std::nullopt;
}

std::string serialWord(const std::string& chunk) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string word;
  for (const char c : chunk) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F && c != '%' && c != '#') {
      word += c;
    } else {
      word += '%';
      word += kHex[byte >> 4];
      word += kHex[byte & 0xF];
    }
  }
  return word;
}

std::vector<std::string> padCodeWords(const ControllerMap& codes) {
  std::vector<std::string> words;
  for (const int code : codes.PowerCode)
    words.push_back(std::to_string(code));
  for (const int code : codes.BrakeCode)
    words.push_back(std::to_string(code));
  words.push_back(std::to_string(codes.EmergencyCode));
  return words;
}

bool padCodesOfWords(const std::vector<std::string>& words, ControllerMap& codes) {
  ControllerMap read = codes;
  std::vector<int*> fields;
  for (int& code : read.PowerCode)
    fields.push_back(&code);
  for (int& code : read.BrakeCode)
    fields.push_back(&code);
  fields.push_back(&read.EmergencyCode);
  if (words.size() != fields.size()) return false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::optional<int> value = parseInt(words[i]);
    if (!value) return false;
    *fields[i] = *value;
  }
  codes = read;
  return true;
}

std::string serialCaptionText(const std::string& chunk) {
  std::string text;
  return decodeCp932(chunk, text) ? text : serialWord(chunk);
}

std::optional<std::string> serialChunkOfWord(const std::string& word) {
  std::string chunk;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '%') {
      chunk += word[i];
      continue;
    }
    if (i + 2 >= word.size()) return std::nullopt;
    const int high = hexDigit(word[i + 1]);
    const int low = hexDigit(word[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    chunk += static_cast<char>(high * 16 + low);
    i += 2;
  }
  if (chunk.empty()) return std::nullopt;
  return chunk;
}

std::optional<JoystickState> joystickOfWords(const std::string& x, const std::string& y,
                                             const std::string& buttons) {
  const auto axis = [](const std::string& text) -> std::optional<int> {
    // Within the device layer's axis range, so that the scan sums cannot overflow.
    const std::optional<std::int32_t> value = parseInt(text);
    if (!value || *value < kAxisMin || *value > kAxisMax) return std::nullopt;
    return *value;
  };
  const std::optional<int> ax = axis(x);
  const std::optional<int> ay = axis(y);
  if (!ax || !ay || buttons.empty() || buttons.size() > 4) return std::nullopt;
  unsigned value = 0;
  for (const char c : buttons) {
    const int d = hexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(d);
  }
  return JoystickState{*ax, *ay, static_cast<std::uint16_t>(value)};
}

std::vector<std::string> joystickWords(const JoystickState& joystick) {
  char buttons[8];
  std::snprintf(buttons, sizeof buttons, "%X", static_cast<unsigned>(joystick.buttons));
  return {std::to_string(joystick.x), std::to_string(joystick.y), buttons};
}

std::string virtualKeyName(VirtualKey key) {
  for (const VirtualKeyName& entry : kVirtualKeys) {
    if (entry.key == key) return entry.name;
  }
  return {};
}

std::optional<VirtualKey> virtualKeyNamed(const std::string& name) {
  for (const VirtualKeyName& entry : kVirtualKeys) {
    if (name == entry.name) return entry.key;
  }
  return std::nullopt;
}

void checkCommand(const ScriptCommand& command) {
  const CommandShape* shape = findCommand(command.name);
  if (shape == nullptr)
    commandFault(command, VELIMORO_TEXT_NOOP("Script", "不明なコマンド「%1」"), {command.name});
  if (command.args.size() < shape->minArgs || command.args.size() > shape->maxArgs) {
    commandFault(command, VELIMORO_TEXT_NOOP("Script", "「%1」の引数の数が違います"),
                 {command.name});
  }
  const std::vector<std::string>& args = command.args;
  if (command.name == "key" && !keyOfWord(args[0])) {
    commandFault(command, VELIMORO_TEXT_NOOP("Script", "key には1文字を指定します(「%1」ではなく)"),
                 {args[0]});
  }
  if (command.name == "vkey" && !virtualKeyNamed(args[0])) {
    commandFault(command, VELIMORO_TEXT_NOOP("Script", "不明な仮想キー「%1」"), {args[0]});
  }
  if (command.name == "vkey" && args.size() == 2 && args[1] != "shift") {
    commandFault(
        command,
        VELIMORO_TEXT_NOOP("Script", "キーのあとには「shift」を指定します(「%1」ではなく)"),
        {args[1]});
  }
  if (command.name == "wheel" && args[0] != "up" && args[0] != "down") {
    commandFault(command,
                 VELIMORO_TEXT_NOOP("Script", "wheel には up か down を指定します(「%1」ではなく)"),
                 {args[0]});
  }
  if (command.name == "setting" && (!settingField(args[0]) || (args[1] != "0" && args[1] != "1"))) {
    commandFault(command,
                 VELIMORO_TEXT_NOOP(
                     "Script",
                     "setting には kanko、information、ats、aids のどれかと 0 か 1 を指定します"
                     "(「%1 %2」ではなく)"),
                 {args[0], args[1]});
  }
  if (command.name == "ats" && args[0] != "on" && args[0] != "off") {
    commandFault(command,
                 VELIMORO_TEXT_NOOP("Script", "ats には on か off を指定します(「%1」ではなく)"),
                 {args[0]});
  }
  if (command.name == "engine" && args[0] != "start" && args[0] != "run" && args[0] != "stop") {
    commandFault(command,
                 VELIMORO_TEXT_NOOP(
                     "Script", "engine には start、run、stop のどれかを指定します(「%1」ではなく)"),
                 {args[0]});
  }
  if (command.name == "stopsound" &&
      (parseInt(args[0]).value_or(-1) < 0 || *parseInt(args[0]) >= media::SoundLayer::kChannels)) {
    commandFault(command, VELIMORO_TEXT_NOOP("Script", "サウンドチャンネル「%1」はありません"),
                 {args[0]});
  }
  if (command.name == "crewchange" && !parseInt(args[0])) {
    commandFault(
        command,
        VELIMORO_TEXT_NOOP("Script", "crewchange には駅の番号か -1 を指定します(「%1」ではなく)"),
        {args[0]});
  }
  if ((command.name == "save" || command.name == "load") && !slotOfCommand(command)) {
    commandFault(
        command,
        VELIMORO_TEXT_NOOP("Script", "%1 には 1 ～ 3 のスロットを指定します(「%2」ではなく)"),
        {command.name, args[0]});
  }
  if (command.name == "jump" && parseInt(args[0]).value_or(-1) < 0) {
    commandFault(command,
                 VELIMORO_TEXT_NOOP("Script", "jump には駅の番号を指定します(「%1」ではなく)"),
                 {args[0]});
  }
  if (command.name == "serial" && !serialChunkOfWord(args[0])) {
    commandFault(command,
                 VELIMORO_TEXT_NOOP(
                     "Script", "serial には受信したバイトを %XX の形で指定します(「%1」ではなく)"),
                 {args[0]});
  }
  if (command.name == "joystick" && !joystickOfWords(args[0], args[1], args[2])) {
    commandFault(
        command,
        VELIMORO_TEXT_NOOP("Script",
                           "joystick には -32768 ～ 32767 の X と Y、16進数のボタンを指定します"
                           "(「%1 %2 %3」ではなく)"),
        {args[0], args[1], args[2]});
  }
  if (command.name == "padcodes") {
    ControllerMap codes;
    if (!padCodesOfWords(args, codes))
      commandFault(
          command,
          VELIMORO_TEXT_NOOP("Script", "padcodes には16個の整数 (P0..P5, B0..B8, EB) を指定します"),
          {});
  }
  if (command.name == "controller" && args[0] != "0" && args[0] != "1" && args[0] != "2") {
    commandFault(command,
                 VELIMORO_TEXT_NOOP("Script",
                                    "controller には 0、1、2 のどれかを指定します(「%1」ではなく)"),
                 {args[0]});
  }
  if (command.name == "set" && !settable(args[0], args[1])) {
    commandFault(command, VELIMORO_TEXT_NOOP("Script", "「%1」を「%2」にはできません"),
                 {args[0], args[1]});
  }
}

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
    const auto fail = [&](const char* why, std::initializer_list<std::string_view> values) {
      throw std::runtime_error(fileName + ":" + std::to_string(lineNumber) + ": " +
                               media::fill(media::translate("Script", why), values));
    };
    const auto seconds = parseExtended(time);
    if (!seconds || *seconds < 0)
      fail(VELIMORO_TEXT_NOOP("Script", "秒数の時刻がありません(「%1」があります)"), {time});
    ScriptCommand command;
    command.atMs = roundHalfEven(*seconds * 1000);
    command.line = lineNumber;
    if (!(words >> command.name))
      fail(VELIMORO_TEXT_NOOP("Script", "時刻のあとにコマンドがありません"), {});
    for (std::string arg; words >> arg;)
      command.args.push_back(arg);
    if (!commands.empty() && command.atMs < commands.back().atMs) {
      fail(VELIMORO_TEXT_NOOP("Script", "時刻が前の行より戻って %1 秒になっています"), {time});
    }
    command.file = fileName;
    checkCommand(command);
    commands.push_back(std::move(command));
  }
  return commands;
}

}  // namespace velimoro
