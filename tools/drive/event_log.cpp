#include "tools/drive/event_log.h"

#include <fstream>

#include "cab/trace.h"

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
  const std::int64_t length = waveDurationMs(path);
  if (length < 0) {
    error = "Cannot open file \"" + path + "\".";
    return -1;
  }
  m_lengthsMs.push_back(length);
  return static_cast<int>(m_lengthsMs.size()) - 1;
}

void LoggingSoundLayer::bind(int channel, int sound) {
  if (valid(channel) && sound >= 0 && sound < static_cast<int>(m_lengthsMs.size())) {
    m_bound[channel] = sound + 1;
  }
}

void LoggingSoundLayer::play(int channel, bool looped) {
  if (!valid(channel) || m_bound[channel] == 0) return;
  m_playing[channel] = true;
  m_log.add(looped ? "play_loop" : "play_once", channel, "");
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
  std::ifstream in(path, std::ios::binary);
  char riff[12];
  if (!in.read(riff, 12) || std::string(riff, 4) != "RIFF" || std::string(riff + 8, 4) != "WAVE") {
    return -1;
  }
  const auto le32 = [](const unsigned char* b) {
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  };
  std::uint32_t bytesPerSecond = 0;
  unsigned char header[8];
  while (in.read(reinterpret_cast<char*>(header), 8)) {
    const std::string id(reinterpret_cast<char*>(header), 4);
    const std::uint32_t size = le32(header + 4);
    if (id == "fmt ") {
      unsigned char fmt[16] = {};
      if (size < 16 || !in.read(reinterpret_cast<char*>(fmt), 16)) return -1;
      bytesPerSecond = le32(fmt + 8);
      in.seekg(size - 16 + (size & 1), std::ios::cur);
    } else if (id == "data") {
      if (bytesPerSecond == 0) return 0;
      return static_cast<std::int64_t>(size) * 1000 / bytesPerSecond;
    } else {
      in.seekg(size + (size & 1), std::ios::cur);
    }
  }
  return -1;
}

}  // namespace velimoro::headless
