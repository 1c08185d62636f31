#pragma once

#include <optional>
#include <string>

#include "media/settings_store.h"
#include "media/translate.h"
#include "sim/sim_drive.h"

namespace velimoro {

// The three save slots: each keeps a state line and a label in the settings store, beside the
// user settings ("Save1" .. "Save3", "Save1Title" .. "Save3Title"). The state line holds, comma
// separated, the route file, the station window last entered, the speed, the frame, the clock,
// the position and the preceding train's frame.

inline constexpr int kSaveSlots = 3;
// The messages of the slots, marked in the context "SaveSlots" and translated where shown.
inline constexpr const char* kSavedMessage =
    VELIMORO_TEXT_NOOP("SaveSlots", "運転状態を保存しました");
inline constexpr const char* kNothingSavedMessage =
    VELIMORO_TEXT_NOOP("SaveSlots", "運転状態が保存されていません");
inline constexpr const char* kOtherRouteMessage =
    VELIMORO_TEXT_NOOP("SaveSlots", "運転状態を保存したダイヤではありません");
inline constexpr const char* kDamagedMessage =
    VELIMORO_TEXT_NOOP("SaveSlots", "保存された運転状態が壊れています");
/// The caption of a slot without a label.
inline constexpr const char* kNoDataCaption = "No Data";

/// What a state line holds besides its route.
struct SavedState {
  int windowStation = 0;
  long double speed = 0;
  int frame = 0;
  int clock = 0;  // fast_tick_count
  long double positionCm = 0;
  int preTrainFrame = 0;
};

/// The route file name a slot names for `drive` (its last path component).
std::string slotRouteName(const SimDrive& drive);

/// The state line of the drive as it stands.
std::string stateLine(const SimDrive& drive);

/// The label of a slot saved at `positionCm`: the second line name and the stations the train
/// stands between; empty before the first station's stop point.
std::string slotLabel(const RouteData& route, long double positionCm);

/// Slot `slot`'s (1 .. 3) label and state line as the store holds them; empty when missing.
std::string storedLabel(media::SettingsStore& store, int slot);
std::string storedLine(media::SettingsStore& store, int slot);

/// Writes the drive's state line and label to slot `slot`. False with the store's message when
/// the store cannot be written; the slot then keeps what it held.
bool saveSlot(media::SettingsStore& store, int slot, const SimDrive& drive, std::string& error);

/// Reads slot `slot` for the drive: the saved state, or nothing with the message to show (an
/// empty slot, one saved on another route, or one damaged: fields that are not numbers, or a
/// station, speed, frame, clock or position the drive cannot have had), and for a damaged slot
/// what is wrong with it in `fault`.
std::optional<SavedState> readSlot(media::SettingsStore& store, int slot, const SimDrive& drive,
                                   std::string& message, std::string& fault);

/// Puts the drive in the saved state: standing or running on from the saved place with the
/// power off and the brake released when it was running, full service when it stood; the run's
/// progress is forgotten and the doors closed. The picture's return to the route video is the
/// caller's.
void restoreState(SimDrive& drive, const SavedState& saved);

}  // namespace velimoro
