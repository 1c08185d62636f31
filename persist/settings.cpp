#include "persist/settings.h"

#include <optional>

namespace velimoro {
namespace {

struct IntSetting {
  const char* key;
  int DriveSettings::*field;
  int defaultValue;
  bool missingIsFirstRun;  // false for a key later versions added: an older store lacks it
};

constexpr IntSetting kSettings[] = {
    {"Kanko", &DriveSettings::kanko, 0, true},
    {"Information", &DriveSettings::information, 1, true},
    {"ATS", &DriveSettings::ats, 1, true},
    {"DriverAids", &DriveSettings::aids, 1, false},
};

}  // namespace

StoredSettings readSettings(media::SettingsStore& store) {
  StoredSettings stored;
  for (const IntSetting& setting : kSettings) {
    const std::optional<int> value = store.readInt(kSettingsApplication, setting.key);
    stored.settings.*setting.field = value.value_or(setting.defaultValue);
    if (!value && setting.missingIsFirstRun) stored.firstRun = true;
  }
  return stored;
}

bool writeSettings(media::SettingsStore& store, const DriveSettings& settings, std::string& error) {
  for (const IntSetting& setting : kSettings)
    store.writeInt(kSettingsApplication, setting.key, settings.*setting.field);
  return store.flush(kSettingsApplication, error);
}

namespace {

std::string crewChangeKey(const std::string& routeFile) {
  return "CrewChange_" + routeFile;
}

}  // namespace

int readCrewChangeStation(media::SettingsStore& store, const std::string& routeFile) {
  return store.readInt(kSettingsApplication, crewChangeKey(routeFile)).value_or(-1);
}

void writeCrewChangeStation(media::SettingsStore& store, const std::string& routeFile,
                            int station) {
  store.writeInt(kSettingsApplication, crewChangeKey(routeFile), station);
}

std::optional<WindowPlace> readWindowPlace(media::SettingsStore& store, const std::string& name) {
  const auto x = store.readInt(kSettingsApplication, name + "X");
  const auto y = store.readInt(kSettingsApplication, name + "Y");
  const auto width = store.readInt(kSettingsApplication, name + "Width");
  const auto height = store.readInt(kSettingsApplication, name + "Height");
  if (!x || !y || !width || !height || *width <= 0 || *height <= 0) return std::nullopt;
  return WindowPlace{*x, *y, *width, *height};
}

void writeWindowPlace(media::SettingsStore& store, const std::string& name,
                      const WindowPlace& place) {
  store.writeInt(kSettingsApplication, name + "X", place.x);
  store.writeInt(kSettingsApplication, name + "Y", place.y);
  store.writeInt(kSettingsApplication, name + "Width", place.width);
  store.writeInt(kSettingsApplication, name + "Height", place.height);
}

void readControllerCodes(media::SettingsStore& store, ControllerMap& map) {
  const auto read = [&](const std::string& key, int& code) {
    const std::optional<int> value = store.readInt(kControllerApplication, key);
    if (value) code = *value;
    return value.has_value();
  };
  for (std::size_t i = 0; i < map.PowerCode.size(); ++i) {
    if (!read("P" + std::to_string(i), map.PowerCode[i])) return;
  }
  for (std::size_t i = 0; i < map.BrakeCode.size(); ++i) {
    if (!read("B" + std::to_string(i), map.BrakeCode[i])) return;
  }
  read("EB", map.EmergencyCode);
}

bool writeControllerCodes(media::SettingsStore& store, const ControllerMap& map,
                          std::string& error) {
  for (std::size_t i = 0; i < map.PowerCode.size(); ++i)
    store.writeInt(kControllerApplication, "P" + std::to_string(i), map.PowerCode[i]);
  for (std::size_t i = 0; i < map.BrakeCode.size(); ++i)
    store.writeInt(kControllerApplication, "B" + std::to_string(i), map.BrakeCode[i]);
  store.writeInt(kControllerApplication, "EB", map.EmergencyCode);
  return store.flush(kControllerApplication, error);
}

namespace {

constexpr const char* kJoystickKey = "Joystick";
constexpr const char* kLanguageKey = "Language";

}  // namespace

std::string readJoystickChoice(media::SettingsStore& store) {
  return store.readText(kSettingsApplication, kJoystickKey).value_or(std::string());
}

bool writeJoystickChoice(media::SettingsStore& store, const std::string& guid, std::string& error) {
  store.writeText(kSettingsApplication, kJoystickKey, guid);
  return store.flush(kSettingsApplication, error);
}

std::string readLanguage(media::SettingsStore& store) {
  return store.readText(kSettingsApplication, kLanguageKey).value_or(std::string());
}

bool writeLanguage(media::SettingsStore& store, const std::string& code, std::string& error) {
  store.writeText(kSettingsApplication, kLanguageKey, code);
  return store.flush(kSettingsApplication, error);
}

}  // namespace velimoro
