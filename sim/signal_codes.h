#pragma once

namespace velimoro {

// A lineside signal shows an aspect code that depends on its lamp type T and its state S (the
// number of clear blocks ahead of it, 0 to 4). Codes 22 to 29 are the cab speed codes of
// cab-signalling routes; 999 means no signal.

/// What an aspect code tells the driver.
enum class AspectClass { kNone, kStop, kRestricting, kCaution, kReducedSpeed, kClear };

/// Lamp type of a cab signal: it has no lamps of its own at the lineside.
inline constexpr int kCabSignalLampType = 6;
/// First and last cab speed code.
inline constexpr int kFirstCabCode = 22;
inline constexpr int kLastCabCode = 29;
/// Highest signal state: four clear blocks.
inline constexpr int kMaxSignalState = 4;

/// The aspect code of lamp type `lampType` in state `state` (both clamped into the table).
int aspectCode(int lampType, int state);

/// The class of aspect code `code`; kNone for codes of no class (1, 2, cab codes, 999).
AspectClass aspectClass(int code);

/// Whether a signal of lamp type `lampType` has lamps, so that a stop-signal beacon guards it.
bool signalHasLamps(int lampType);

}  // namespace velimoro
