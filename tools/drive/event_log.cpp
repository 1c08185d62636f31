#include "tools/drive/event_log.h"

#include <filesystem>
#include <fstream>

#include "cab/trace.h"
#include "data/wave_header.h"

namespace velimoro::headless {

void EventLog::add(const std::string& kind, int channel, const std::string& detail) {
  m_rows.push_back({m_clock != nullptr ? *m_clock : 0, kind, channel, detail});
}

void EventLog::write(std::ostream& out) const {
  out << "fast_tick_count,kind,channel,detail\n";
  for (const Row& row : m_rows) {
    out << row.fastTick << ',' << row.kind << ',' << row.channel << ',' << csvQuote(row.detail)
        << '\n';
  }
}

int LoggingSoundLayer::loadSound(const std::string& path, std::string& error) {
  WaveHeader header;
  if (!readWaveHeader(path, header, error) || !header.chunks) {
    error = "Cannot open file \"" + path + "\".";
    return -1;
  }
  m_lengthsMs.push_back(std::max<std::int64_t>(header.durationMs(), 0));
  m_rates.push_back(header.sampleRate);
  m_names.push_back(std::filesystem::path(path).filename().string());
  return static_cast<int>(m_lengthsMs.size()) - 1;
}

int LoggingSoundLayer::soundRateHz(int sound) const {
  if (sound < 0 || sound >= static_cast<int>(m_rates.size())) return 0;
  return m_rates[static_cast<std::size_t>(sound)];
}

void LoggingSoundLayer::bind(int channel, int sound) {
  if (valid(channel) && sound >= 0 && sound < static_cast<int>(m_lengthsMs.size())) {
    m_bound[channel] = sound + 1;
  }
}

void LoggingSoundLayer::play(int channel, bool looped) {
  if (!valid(channel) || m_bound[channel] == 0) return;
  m_playing[channel] = true;
  m_log.add(looped ? "play_loop" : "play_once", channel,
            m_names[static_cast<std::size_t>(m_bound[channel] - 1)]);
}

void LoggingSoundLayer::stop(int channel) {
  if (!valid(channel)) return;
  m_playing[channel] = false;
  m_log.add("stop", channel, "");
}

bool LoggingSoundLayer::isPlaying(int channel) const {
  return valid(channel) && m_playing[channel];
}

std::int64_t LoggingSoundLayer::soundLengthMs(int sound) const {
  if (sound < 0 || sound >= static_cast<int>(m_lengthsMs.size())) return -1;
  return m_lengthsMs[static_cast<std::size_t>(sound)];
}

void LoggingSoundLayer::setVolume(int, int) {}

void LoggingSoundLayer::setFrequency(int, int) {}

void LoggingMessages::show(const std::string& text) {
  m_log.add("message", -1, text);
  m_err << "message: " << text << '\n';
}

std::int64_t waveDurationMs(const std::string& path) {
  WaveHeader header;
  std::string error;
  if (!readWaveHeader(path, header, error) || !header.chunks) return -1;
  return std::max<std::int64_t>(header.durationMs(), 0);
}

}  // namespace velimoro::headless
