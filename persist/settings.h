#pragma once

#include <optional>
#include <string>

#include "data/controller_map.h"
#include "media/settings_store.h"
#include "media/translate.h"
#include "sim/sim_drive.h"

namespace velimoro {

// The four user settings of the cab window and the game controller's codes, in the settings
// store. Each setting is declared once, with its key and its default.

/// The store's application of the user settings and the save slots.
inline constexpr const char* kSettingsApplication = "velimoro";
/// The store's application of the game controller's codes.
inline constexpr const char* kControllerApplication = "dgcontroller";

/// Shown at start when a user setting is missing (the first run): the drive then starts in the
/// beginner mode. Marked in the context "Settings", translated where it is shown.
inline constexpr const char* kFirstRunMessage = VELIMORO_TEXT_NOOP(
    "Settings",
    "初期状態では、ATSが動作しない設定になっています。\r\n\r\n"
    "実車通りにするには、設定メニューの「入門モード」のチェックを外してください。\r\n"
    "OFFにするとATS確認操作が必要になります。");

/// The user settings as the store holds them.
struct StoredSettings {
  DriveSettings settings;
  bool firstRun = false;  // a setting was missing or unreadable: kFirstRunMessage is due
};

/// Reads "Kanko", "Information", "ATS" and "DriverAids". A value that is missing or not a whole
/// number takes its default (0, 1, 1, 1); one of the first three marks the first run. The values
/// that read are kept.
StoredSettings readSettings(media::SettingsStore& store);

/// Writes the four settings and flushes them; false with the store's message when they could
/// not be written.
bool writeSettings(media::SettingsStore& store, const DriveSettings& settings, std::string& error);

/// The crew-change station chosen for the route file `routeFile`: -1 (none) when unset.
int readCrewChangeStation(media::SettingsStore& store, const std::string& routeFile);
/// Sets the crew-change station of `routeFile`; writeSettings writes it out.
void writeCrewChangeStation(media::SettingsStore& store, const std::string& routeFile, int station);
/// Where a small window of the cab stood and how large it was.
struct WindowPlace {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
/// The place of the window `name` when the store holds all of it with a positive size.
std::optional<WindowPlace> readWindowPlace(media::SettingsStore& store, const std::string& name);
/// Sets the place of the window `name`; writeSettings writes it out.
void writeWindowPlace(media::SettingsStore& store, const std::string& name,
                      const WindowPlace& place);

/// Reads the game controller's codes "P0" .. "P5", "B0" .. "B8", "EB" in that order into `map`,
/// stopping silently at the first that is missing or not a whole number; the rest keep theirs.
void readControllerCodes(media::SettingsStore& store, ControllerMap& map);

/// Writes the game controller's codes "P0" .. "P5", "B0" .. "B8", "EB" of `map` and flushes
/// them; false with the store's message when they could not be written.
bool writeControllerCodes(media::SettingsStore& store, const ControllerMap& map,
                          std::string& error);

/// The joystick the game controllers are read from, by its GUID; empty (the first the system
/// lists) when none is chosen.
std::string readJoystickChoice(media::SettingsStore& store);
/// Keeps the joystick chosen and flushes it; false with the store's message.
bool writeJoystickChoice(media::SettingsStore& store, const std::string& guid, std::string& error);

/// The language the user chose for the program's texts ("ja" or "en" as written; the program
/// checks it); empty when none was chosen, and the system's locale then decides.
std::string readLanguage(media::SettingsStore& store);
/// Keeps the language chosen and flushes it; false with the store's message.
bool writeLanguage(media::SettingsStore& store, const std::string& code, std::string& error);

}  // namespace velimoro
