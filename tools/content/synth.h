#pragma once

#include <cstdint>
#include <vector>

namespace velimoro::content {

/// Samples of one mono sound in -1..1 at kSampleRate.
using Samples = std::vector<float>;
inline constexpr int kSampleRate = 22050;

/// A repeatable noise source: the same seed gives the same samples on every machine.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : m_state(seed == 0 ? 0x9e3779b9u : seed) {}
  /// Next value in -1..1.
  float next();

 private:
  std::uint32_t m_state;
};

/// Number of samples in `seconds`.
std::size_t sampleCount(double seconds);

/// A sum of harmonics of `hertz`: `weights[k]` for harmonic k + 1, over `seconds`.
Samples harmonics(double hertz, const std::vector<double>& weights, double seconds);
/// Noise through a one-pole low-pass (`smoothing` 0..1, higher is darker), over `seconds`.
Samples filteredNoise(std::uint32_t seed, double smoothing, double seconds);
/// Noise with its low part removed: a hiss (`smoothing` as above, applied before the removal).
Samples hiss(std::uint32_t seed, double smoothing, double seconds);
/// A decaying bell-like strike at `hertz` with inharmonic partials.
Samples strike(double hertz, double decayPerSecond, double seconds);

/// Scales every sample by `gain`.
void scale(Samples& s, double gain);
/// Linear fade in over `in` seconds and out over `out` seconds.
void fade(Samples& s, double in, double out);
/// Exponential decay from the start, `perSecond` the rate.
void decay(Samples& s, double perSecond);
/// Amplitude `depth` modulation at `hertz` (0 depth leaves the sound as it is).
void tremolo(Samples& s, double hertz, double depth);
/// Adds `other` into `s` from sample `offset`, growing `s` when needed.
void mixIn(Samples& s, const Samples& other, std::size_t offset = 0, double gain = 1.0);
/// Appends `other` after `s`.
void append(Samples& s, const Samples& other);
/// Silence of `seconds`.
Samples silence(double seconds);
/// Makes a sound loop without a click: its last `overlap` seconds are faded into its start.
void makeLoop(Samples& s, double overlap);
/// Scales the sound so that its largest magnitude is `peak`.
void normalise(Samples& s, double peak);

}  // namespace velimoro::content
