#include "tools/drive/event_log.h"

#include <filesystem>

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
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = "Cannot open file \"" + path + "\".";
    return -1;
  }
  m_sounds.push_back(path);
  return static_cast<int>(m_sounds.size()) - 1;
}

void LoggingSoundLayer::bind(int channel, int sound) {
  if (valid(channel)) m_bound[channel] = sound;
}

void LoggingSoundLayer::play(int channel, bool looped) {
  if (!valid(channel)) return;
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

void LoggingSoundLayer::setVolume(int, int) {}

void LoggingSoundLayer::setFrequency(int, int) {}

void LoggingMessages::show(const std::string& text) {
  m_log.add("message", -1, text);
  m_err << "message: " << text << '\n';
}

std::string csvQuote(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace velimoro::headless
