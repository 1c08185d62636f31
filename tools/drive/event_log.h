#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "media/message_sink.h"
#include "media/sound_layer.h"

namespace velimoro::headless {

/// The events of a drive, one CSV row each: fast_tick_count,kind,channel,detail.
class EventLog {
 public:
  /// The clock the rows are stamped with (the drive's fast_tick_count).
  void setClock(const int* fastTickCount) { m_clock = fastTickCount; }
  void add(const std::string& kind, int channel, const std::string& detail);
  void write(std::ostream& out) const;
  std::size_t size() const { return m_rows.size(); }

 private:
  struct Row {
    int fastTick;
    std::string kind;
    int channel;
    std::string detail;
  };
  const int* m_clock = nullptr;
  std::vector<Row> m_rows;
};

/// The sound layer of a headless drive: it logs every play and stop and knows each sound's
/// length from its WAVE header, by which the session times it on drive time.
class LoggingSoundLayer final : public media::SoundLayer {
 public:
  explicit LoggingSoundLayer(EventLog& log) : m_log(log) {}
  int loadSound(const std::string& path, std::string& error) override;
  void bind(int channel, int sound) override;
  void play(int channel, bool looped) override;
  void stop(int channel) override;
  bool isPlaying(int channel) const override;
  void setVolume(int channel, int hundredthsOfDecibel) override;
  void setFrequency(int channel, int hertz) override;
  std::int64_t soundLengthMs(int sound) const override;
  int soundRateHz(int sound) const override;

 private:
  static bool valid(int channel) { return channel >= 0 && channel < kChannels; }

  EventLog& m_log;
  std::vector<std::int64_t> m_lengthsMs;  // per loaded sound
  std::vector<int> m_rates;
  std::vector<std::string> m_names;  // file name of each loaded sound, for the play events
  std::array<int, kChannels> m_bound{};
  std::array<bool, kChannels> m_playing{};
};

/// Playing time in ms of a WAVE file (data chunk size over bytes per second); -1 when the file
/// is not a readable WAVE file.
std::int64_t waveDurationMs(const std::string& path);

/// Messages of a headless drive go to the log and to the error stream.
class LoggingMessages final : public media::MessageSink {
 public:
  LoggingMessages(EventLog& log, std::ostream& err) : m_log(log), m_err(err) {}
  void show(const std::string& text) override;

 private:
  EventLog& m_log;
  std::ostream& m_err;
};

}  // namespace velimoro::headless
