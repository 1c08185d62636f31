#include "tools/content/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velimoro::content {

float Noise::next() {
  // xorshift32: fixed arithmetic, the same on every compiler.
  m_state ^= m_state << 13;
  m_state ^= m_state >> 17;
  m_state ^= m_state << 5;
  return static_cast<float>(static_cast<double>(m_state) / 2147483647.5 - 1.0);
}

std::size_t sampleCount(double seconds) {
  return static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * kSampleRate));
}

Samples harmonics(double hertz, const std::vector<double>& weights, double seconds) {
  Samples s(sampleCount(seconds));
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    double v = 0;
    for (std::size_t k = 0; k < weights.size(); ++k)
      v += weights[k] * std::sin(2 * std::numbers::pi * hertz * static_cast<double>(k + 1) * t);
    s[i] = static_cast<float>(v);
  }
  return s;
}

Samples filteredNoise(std::uint32_t seed, double smoothing, double seconds) {
  Noise noise(seed);
  Samples s(sampleCount(seconds));
  double y = 0;
  for (float& v : s) {
    y = smoothing * y + (1 - smoothing) * noise.next();
    v = static_cast<float>(y);
  }
  normalise(s, 0.8);
  return s;
}

Samples hiss(std::uint32_t seed, double smoothing, double seconds) {
  Samples s = filteredNoise(seed, smoothing, seconds);
  double low = 0;
  for (float& v : s) {
    low = 0.995 * low + 0.005 * v;
    v = static_cast<float>(v - low);
  }
  normalise(s, 0.8);
  return s;
}

Samples strike(double hertz, double decayPerSecond, double seconds) {
  Samples s = harmonics(hertz, {1.0}, seconds);
  mixIn(s, harmonics(hertz * 2.76, {0.5}, seconds));
  mixIn(s, harmonics(hertz * 5.40, {0.25}, seconds));
  decay(s, decayPerSecond);
  normalise(s, 0.8);
  return s;
}

void scale(Samples& s, double gain) {
  for (float& v : s)
    v = static_cast<float>(v * gain);
}

void fade(Samples& s, double in, double out) {
  const std::size_t inCount = std::min(sampleCount(in), s.size());
  const std::size_t outCount = std::min(sampleCount(out), s.size());
  for (std::size_t i = 0; i < inCount; ++i)
    s[i] = static_cast<float>(s[i] * static_cast<double>(i) / static_cast<double>(inCount));
  for (std::size_t i = 0; i < outCount; ++i) {
    float& v = s[s.size() - 1 - i];
    v = static_cast<float>(v * static_cast<double>(i) / static_cast<double>(outCount));
  }
}

void decay(Samples& s, double perSecond) {
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<float>(s[i] * std::exp(-perSecond * static_cast<double>(i) / kSampleRate));
}

void tremolo(Samples& s, double hertz, double depth) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double m = 1 - depth * 0.5 * (1 - std::cos(2 * std::numbers::pi * hertz * t));
    s[i] = static_cast<float>(s[i] * m);
  }
}

void mixIn(Samples& s, const Samples& other, std::size_t offset, double gain) {
  if (s.size() < offset + other.size()) s.resize(offset + other.size(), 0.0f);
  for (std::size_t i = 0; i < other.size(); ++i)
    s[offset + i] = static_cast<float>(s[offset + i] + other[i] * gain);
}

void append(Samples& s, const Samples& other) {
  s.insert(s.end(), other.begin(), other.end());
}

Samples silence(double seconds) {
  return Samples(sampleCount(seconds), 0.0f);
}

void makeLoop(Samples& s, double overlap) {
  const std::size_t n = std::min(sampleCount(overlap), s.size() / 2);
  if (n == 0) return;
  const std::size_t keep = s.size() - n;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / static_cast<double>(n);
    s[i] = static_cast<float>(s[i] * t + s[keep + i] * (1 - t));
  }
  s.resize(keep);
}

void normalise(Samples& s, double peak) {
  float largest = 0;
  for (float v : s)
    largest = std::max(largest, std::fabs(v));
  if (largest > 0) scale(s, peak / largest);
}

}  // namespace velimoro::content
