#pragma once

#include <array>
#include <cstdint>

#include "data/route_data.h"
#include "data/train_record.h"
#include "media/sound_layer.h"

namespace velimoro {

/// Where each kind of sound sits on the sound layer's channels, in this order without gaps:
/// the train's [DriveSound] files on 0 .. T-1, the route's "[SoundData]" files on T .. T+R-1,
/// the [EngineSound1] files on the next A channels, then the [EngineSound3] files. Call-out
/// voices play on channel T+R+A+1, the channel route data sets are written against, and the
/// guidance sound on the channel after it; the [EngineSound3] files step over these two, so a
/// diesel's second engine sound never shares the call-out channel. Channels from 256 on do not
/// exist: a sound that would sit there is not loaded.
struct ChannelLayout {
  int trainSounds = 0;    // T
  int routeSounds = 0;    // R
  int engine1Sounds = 0;  // A
  int engine3Sounds = 0;  // B
  int calloutChannel = 1;
  int guidanceChannel = 2;
};

/// One waiting call-out: a route voice or the sound of an "[OtherImageList]" entry.
struct QueuedCallout {
  int voice = -1;  // voice number, -1 for an other sound
  int other = -1;  // other-sound index when voice is -1
  int sound = -1;  // loaded sound; -1 when the file was empty or failed to load
};

/// The call-out queue: voices play one after another on the call-out channel, so call-outs
/// raised together never talk over each other. Slot 0 is the head.
struct CalloutQueue {
  static constexpr int kSlots = 12;

  std::array<QueuedCallout, kSlots> slots{};
  int count = 0;
  bool queueBusy = false;       // a voice is being added
  bool calloutStarted = false;  // the head has been started on the call-out channel
  bool resumeLoopPending = false;
  int resumeLoopChannel = -1;  // a looping sound restarted once the queue runs dry
};

/// An array of N copies of `value`.
template <std::size_t N>
constexpr std::array<int, N> filledArray(int value) {
  std::array<int, N> values{};
  values.fill(value);
  return values;
}

/// What a pause remembers of a channel.
enum class PausedChannel : std::uint8_t { kSilent = 0, kOnce = 1, kLooped = 2 };

/// The sounds of one drive: where they sit, what was loaded, and the running state of the
/// route sounds, the running sounds and the call-out queue.
struct SoundSystem {
  static constexpr int kChannels = media::SoundLayer::kChannels;
  static constexpr int kNoSound = -1;

  ChannelLayout layout;

  // Loaded sounds. Voices and other sounds are bound to the call-out channel only when they play.
  std::array<int, kChannels> channelSound = filledArray<kChannels>(kNoSound);
  std::array<int, kChannels> channelRate{};  // Hz of the bound sound's file; 0 unknown
  std::array<int, RouteData::kKankoSlots> voiceSound =
      filledArray<RouteData::kKankoSlots>(kNoSound);
  std::array<int, RouteData::kBigTable> otherSound = filledArray<RouteData::kBigTable>(kNoSound);

  // Channel playback as this system started it, for pause and resume.
  std::array<bool, kChannels> startedLooped{};
  std::array<PausedChannel, kChannels> paused{};

  // Route sound triggers, cleared for each run.
  std::array<bool, RouteData::kTable> soundStarted{};      // "[Sound]" record started
  std::array<bool, RouteData::kTable> switchPlayed{};      // "[Switch]" record sounded
  std::array<bool, RouteData::kTable> announceInWindow{};  // "[Announce]" record heard this pass

  // Engine-sound state tables: which running sounds this system keeps looping.
  std::array<bool, TrainSpec::kMaxEngineSounds> engine1On{};
  std::array<bool, TrainSpec::kMaxEngineSounds> engine3On{};

  CalloutQueue callouts;
};

}  // namespace velimoro
