#include "cab/timed_sound_layer.h"

namespace velimoro {

int TimedSoundLayer::loadSound(const std::string& path, std::string& error) {
  return m_inner.loadSound(path, error);
}

void TimedSoundLayer::bind(int channel, int sound) {
  m_inner.bind(channel, sound);
  if (valid(channel) && sound >= 0) m_bound[static_cast<std::size_t>(channel)] = sound;
}

void TimedSoundLayer::play(int channel, bool looped) {
  m_inner.play(channel, looped);
  if (!valid(channel)) return;
  const auto slot = static_cast<std::size_t>(channel);
  const std::int64_t length = m_bound[slot] >= 0 ? m_inner.soundLengthMs(m_bound[slot]) : -1;
  m_looped[slot] = looped;
  m_timed[slot] = !looped && length >= 0;
  m_endMs[slot] = *m_nowMs + (length > 0 ? length : 0);
}

void TimedSoundLayer::stop(int channel) {
  m_inner.stop(channel);
  if (!valid(channel)) return;
  const auto slot = static_cast<std::size_t>(channel);
  m_looped[slot] = false;
  m_timed[slot] = true;
  m_endMs[slot] = 0;
}

bool TimedSoundLayer::isPlaying(int channel) const {
  if (!valid(channel)) return false;
  const auto slot = static_cast<std::size_t>(channel);
  if (m_looped[slot]) return true;
  if (m_timed[slot]) return *m_nowMs < m_endMs[slot];
  return m_inner.isPlaying(channel);
}

void TimedSoundLayer::setVolume(int channel, int hundredthsOfDecibel) {
  if (valid(channel)) m_volume[static_cast<std::size_t>(channel)] = hundredthsOfDecibel;
  m_inner.setVolume(channel, hundredthsOfDecibel);
}

void TimedSoundLayer::setFrequency(int channel, int hertz) {
  m_inner.setFrequency(channel, hertz);
}

std::int64_t TimedSoundLayer::soundLengthMs(int sound) const {
  return m_inner.soundLengthMs(sound);
}

}  // namespace velimoro
