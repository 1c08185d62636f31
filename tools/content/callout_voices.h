#pragma once

#include <string>
#include <vector>

namespace velimoro::content {

/// A call-out voice: its file name below the voice folder and the kana it says.
struct VoiceLine {
  std::string file;
  std::string text;
};

/// Voices 0..20 with their fixed roles (aspects, time call-outs, departure).
const std::vector<VoiceLine>& fixedVoices();

/// Voices from 21 on, named by the routes' call-out tables.
enum RouteVoice : int {
  kVoiceHomeSignal = 21,
  kVoiceStartingSignal,
  kVoiceBlockSignal,
  kVoiceShuntingSignal,
  kVoiceCrossing,
  kVoiceStopPosition,
  kVoicePassing,
  kVoiceDoorsClosed,
  kVoiceSpeedCheck,
};
const std::vector<VoiceLine>& routeVoices();

}  // namespace velimoro::content
