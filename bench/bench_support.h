#pragma once

#include <string>

#include "media/message_sink.h"
#include "media/sound_layer.h"

namespace velimoro::bench {

/// A sound layer that plays nothing, so a benchmark measures the simulation alone.
class SilentSound final : public media::SoundLayer {
 public:
  int loadSound(const std::string&, std::string&) override { return 0; }
  void bind(int, int) override {}
  void play(int, bool) override {}
  void stop(int) override {}
  bool isPlaying(int) const override { return false; }
  void setVolume(int, int) override {}
  void setFrequency(int, int) override {}
};

/// Messages nobody reads.
class NoMessages final : public media::MessageSink {
 public:
  void show(const std::string&) override {}
};

}  // namespace velimoro::bench
