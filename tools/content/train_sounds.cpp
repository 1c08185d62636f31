#include "tools/content/train_sounds.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "tools/content/writers.h"

namespace velimoro::content {
namespace {

// A tone whose frequency glides from `from` to `to` Hz over the sound.
Samples glide(double from, double to, const std::vector<double>& weights, double seconds) {
  Samples s(sampleCount(seconds));
  double phase = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / static_cast<double>(s.size());
    phase += 2 * std::numbers::pi * (from + (to - from) * t) / kSampleRate;
    double v = 0;
    for (std::size_t k = 0; k < weights.size(); ++k)
      v += weights[k] * std::sin(phase * static_cast<double>(k + 1));
    s[i] = static_cast<float>(v);
  }
  return s;
}

Samples airBurst(std::uint32_t seed, double seconds, double attack, double release) {
  Samples s = hiss(seed, 0.3, seconds);
  fade(s, attack, release);
  return s;
}

Samples motor(bool underPower) {
  // Whole-second loop: every partial completes whole cycles, so the loop has no seam.
  Samples s = harmonics(underPower ? 420 : 300, {0.5, 0.25, 0.15, 0.08}, 1.0);
  mixIn(s, harmonics(underPower ? 1260 : 900, {0.12}, 1.0));
  mixIn(s, filteredNoise(underPower ? 11 : 12, 0.8, 1.0), 0, 0.15);
  normalise(s, underPower ? 0.6 : 0.35);
  return s;
}

Samples rolling() {
  Samples s = filteredNoise(21, 0.93, 2.1);
  normalise(s, 0.4);
  // Rail joints: two pairs of knocks a loop.
  for (double at : {0.2, 0.32, 1.2, 1.32}) {
    Samples knock = strike(70, 25, 0.15);
    mixIn(s, knock, sampleCount(at), 0.5);
  }
  makeLoop(s, 0.1);
  normalise(s, 0.5);
  return s;
}

Samples dieselEngine(double firing, double seconds, double level) {
  Samples s(sampleCount(seconds));
  Noise noise(31);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double cycle = std::fmod(t * firing, 1.0);
    const double pulse = std::exp(-cycle * 9);
    s[i] = static_cast<float>(
        pulse * (0.7 * std::sin(2 * std::numbers::pi * firing * 2 * t) + 0.3 * noise.next()));
  }
  normalise(s, level);
  return s;
}

Samples bellRing(double hertz, double strikesPerSecond, double seconds) {
  Samples s = silence(seconds);
  const Samples one = strike(hertz, 30, 1.0 / strikesPerSecond);
  for (double at = 0; at + 1.0 / strikesPerSecond <= seconds + 1e-9; at += 1.0 / strikesPerSecond)
    mixIn(s, one, sampleCount(at));
  s.resize(sampleCount(seconds));
  normalise(s, 0.7);
  return s;
}

Samples chime(std::initializer_list<double> notes, double each) {
  Samples s;
  std::size_t at = 0;
  for (double note : notes) {
    Samples tone = harmonics(note, {0.6, 0.2, 0.1}, each * 2.5);
    decay(tone, 2.5 / each);
    fade(tone, 0.005, 0.05);
    mixIn(s, tone, at);
    at += sampleCount(each);
  }
  normalise(s, 0.7);
  return s;
}

Samples beeps(double hertz, int count, double on, double off) {
  Samples s;
  for (int i = 0; i < count; ++i) {
    Samples tone = harmonics(hertz, {0.6, 0.0, 0.2}, on);
    fade(tone, 0.005, 0.005);
    append(s, tone);
    append(s, silence(off));
  }
  return s;
}

Samples horn(bool diesel, bool second) {
  if (second) {
    // The quieter electric whistle.
    Samples s = harmonics(diesel ? 740 : 880, {0.6, 0.2, 0.1}, 0.9);
    tremolo(s, 6, 0.15);
    fade(s, 0.04, 0.15);
    return s;
  }
  Samples s = harmonics(diesel ? 294 : 330, {0.5, 0.3, 0.2, 0.12, 0.08}, 1.3);
  mixIn(s, harmonics(diesel ? 370 : 415, {0.4, 0.25, 0.15, 0.1}, 1.3));
  fade(s, 0.06, 0.25);
  normalise(s, 0.75);
  return s;
}

Samples doorSound(bool opening) {
  Samples s = airBurst(opening ? 41 : 42, 0.9, 0.05, 0.4);
  scale(s, 0.5);
  Samples thud = strike(opening ? 90 : 110, 20, 0.25);
  mixIn(s, thud, sampleCount(opening ? 0.7 : 0.8), 0.8);
  if (!opening) mixIn(s, chime({880, 660}, 0.25), 0, 0.5);
  normalise(s, 0.7);
  return s;
}

Samples compressor(int part) {
  if (part == 0) {
    Samples s = glide(20, 48, {0.6, 0.3, 0.1}, 0.8);
    normalise(s, 0.5);
    return s;
  }
  if (part == 2) {
    Samples s = glide(48, 15, {0.6, 0.3, 0.1}, 0.8);
    fade(s, 0, 0.4);
    normalise(s, 0.5);
    return s;
  }
  Samples s = harmonics(48, {0.6, 0.3, 0.2, 0.1}, 1.0);
  tremolo(s, 8, 0.6);
  normalise(s, 0.5);
  return s;
}

}  // namespace

std::vector<std::string> driveSoundFiles(const TrainDesign& design) {
  std::vector<std::string> files = {
      "brake_apply.wav", "brake_release.wav", "brake_step.wav",    "eb.wav",
      "ats_bell.wav",    "ats_chime.wav",     "atc_bell.wav",      "horn1.wav",
      "horn2.wav",       "door_open.wav",     "door_close.wav",    "eb_ring.wav",
      "squeal.wav",      "cp_start.wav",      "cp_run.wav",        "cp_end.wav",
      "stop_air.wav",    "buzzer.wav",        "depart_signal.wav", "ats_warn.wav",
      "points.wav"};
  if (design.diesel) {
    files.push_back("engine_start.wav");
    files.push_back("engine_stop.wav");
  }
  return files;
}

std::vector<RunningSound> engineSound1(const TrainDesign& design) {
  if (design.diesel)
    return {{"rolling.wav", 0, 0, 0, {1, 50, 100, 0.6, 1.0, 1.4, -2500, -1000, 0}}};
  return {{"motor.wav", 1, 0, 0, {0.5, 50, 120, 0.3, 1.0, 1.9, -1200, -300, 0}},
          {"motor_coast.wav", 2, 0, 0, {5, 50, 120, 0.5, 1.0, 1.8, -2200, -1400, -900}},
          {"rolling.wav", 0, 0, 0, {1, 50, 120, 0.6, 1.0, 1.5, -2500, -1000, 0}}};
}

std::vector<RunningSound> engineSound3(const TrainDesign& design) {
  if (!design.diesel) return {};
  return {{"engine_idle.wav", 0, 0, 0, {-1, 200, 1.0, 1.0, -600, -600}},
          {"engine_run.wav", 0, 1, 4, {-1, 100, 0.8, 1.5, -300, 0}}};
}

Samples trainSound(const std::string& file, bool diesel) {
  if (file == "brake_apply.wav") return airBurst(1, 0.5, 0.03, 0.3);
  if (file == "brake_release.wav") {
    Samples s = airBurst(2, 1.2, 0.01, 1.0);
    decay(s, 1.5);
    return s;
  }
  if (file == "brake_step.wav") return airBurst(3, 0.35, 0.01, 0.25);
  if (file == "eb.wav") {
    Samples s = airBurst(4, 1.6, 0.01, 0.8);
    normalise(s, 0.9);
    return s;
  }
  if (file == "ats_bell.wav") return bellRing(2600, 12, 1.0);
  if (file == "ats_chime.wav") return chime({988, 784}, 0.45);
  if (file == "atc_bell.wav") return chime({1318}, 0.4);
  if (file == "horn1.wav") return horn(diesel, false);
  if (file == "horn2.wav") return horn(diesel, true);
  if (file == "door_open.wav") return doorSound(true);
  if (file == "door_close.wav") return doorSound(false);
  if (file == "eb_ring.wav") return beeps(1500, 2, 0.25, 0.25);
  if (file == "squeal.wav") {
    Samples s = glide(2600, 2400, {0.5, 0.1}, 1.4);
    tremolo(s, 9, 0.5);
    fade(s, 0.2, 0.4);
    return s;
  }
  if (file == "cp_start.wav") return compressor(0);
  if (file == "cp_run.wav") return compressor(1);
  if (file == "cp_end.wav") return compressor(2);
  if (file == "stop_air.wav") {
    Samples s = airBurst(5, 0.8, 0.02, 0.6);
    scale(s, 0.5);
    return s;
  }
  if (file == "buzzer.wav") {
    Samples s = harmonics(440, {0.5, 0.0, 0.3, 0.0, 0.2}, 0.8);
    fade(s, 0.01, 0.01);
    return s;
  }
  if (file == "depart_signal.wav") return beeps(1000, 1, 0.6, 0.05);
  if (file == "ats_warn.wav") return beeps(2000, 3, 0.15, 0.1);
  if (file == "points.wav") {
    Samples s = silence(0.5);
    mixIn(s, strike(90, 25, 0.2), 0);
    mixIn(s, strike(80, 25, 0.2), sampleCount(0.16));
    normalise(s, 0.6);
    return s;
  }
  if (file == "engine_start.wav") {
    Samples s = glide(8, 30, {0.5, 0.3}, 0.6);
    normalise(s, 0.4);
    append(s, dieselEngine(12, 1.2, 0.7));
    fade(s, 0, 0.3);
    return s;
  }
  if (file == "engine_stop.wav") {
    Samples s = dieselEngine(10, 1.2, 0.6);
    decay(s, 2.5);
    fade(s, 0, 0.4);
    return s;
  }
  if (file == "motor.wav") return motor(true);
  if (file == "motor_coast.wav") return motor(false);
  if (file == "rolling.wav") return rolling();
  if (file == "engine_idle.wav") return dieselEngine(10, 1.0, 0.5);
  if (file == "engine_run.wav") return dieselEngine(15, 1.0, 0.8);
  throw std::invalid_argument("no train sound " + file);
}

void writeTrainSounds(const TrainDesign& design, const std::string& root) {
  const std::string folder = root + "/sound/" + design.name + "/";
  std::vector<std::string> files = driveSoundFiles(design);
  for (const RunningSound& s : engineSound1(design))
    files.push_back(s.file);
  for (const RunningSound& s : engineSound3(design))
    files.push_back(s.file);
  for (const std::string& file : files)
    writeWave(folder + file, trainSound(file, design.diesel));
}

}  // namespace velimoro::content
