#include "tools/content/title_art.h"
#include "tools/content/title_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <sstream>
#include <stdexcept>

#include "tools/content/glyphs.h"
#include "tools/content/route_builder.h"
#include "tools/content/route_design.h"
#include "tools/content/train_design.h"
#include "tools/content/video_render.h"
#include "tools/content/writers.h"

namespace velimoro::content::title_art {

// The title screen's music: tunes written as notes and chords, played on built instruments.

namespace {

double hertzOf(int midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

int pitchClass(char letter) {
  switch (letter) {
    case 'c':
      return 0;
    case 'd':
      return 2;
    case 'e':
      return 4;
    case 'f':
      return 5;
    case 'g':
      return 7;
    case 'a':
      return 9;
    case 'b':
      return 11;
    default:
      throw std::invalid_argument(std::string("no note ") + letter);
  }
}

struct Note {
  double beat;    // start, in beats from the song's start
  double length;  // beats
  int midi;       // 0: a rest
};

// "f#5:1.5 r:1 bb4:0.5 | ..." → notes one after another; "|" marks bars and is skipped.
std::vector<Note> notes(const std::string& text) {
  std::vector<Note> out;
  std::istringstream in(text);
  std::string token;
  double beat = 0;
  while (in >> token) {
    if (token == "|") continue;
    const auto colon = token.find(':');
    const std::string name = token.substr(0, colon);
    const double length = colon == std::string::npos ? 1.0 : std::stod(token.substr(colon + 1));
    int midi = 0;
    if (name != "r") {
      std::size_t at = 1;
      int pc = pitchClass(name.at(0));
      if (name.size() > 2 && name[1] == '#') {
        ++pc;
        ++at;
      } else if (name.size() > 2 && name[1] == 'b') {
        --pc;
        ++at;
      }
      midi = 12 * (std::stoi(name.substr(at)) + 1) + pc;
    }
    out.push_back({beat, length, midi});
    beat += length;
  }
  return out;
}

struct Chord {
  double beat;
  double length;
  int root;  // pitch class
  bool minor;
};

// "D A Bm F#m:2 ..." → chords, four beats each unless given.
std::vector<Chord> chords(const std::string& text) {
  std::vector<Chord> out;
  std::istringstream in(text);
  std::string token;
  double beat = 0;
  while (in >> token) {
    if (token == "|") continue;
    const auto colon = token.find(':');
    std::string name = token.substr(0, colon);
    const double length = colon == std::string::npos ? 4.0 : std::stod(token.substr(colon + 1));
    const bool minor = name.size() > 1 && name.back() == 'm';
    if (minor) name.pop_back();
    int root = pitchClass(static_cast<char>(name.at(0) - 'A' + 'a'));
    if (name.size() > 1) root += name[1] == '#' ? 1 : -1;
    out.push_back({beat, length, (root + 12) % 12, minor});
    beat += length;
  }
  return out;
}

double beatsOf(const std::vector<Note>& n) {
  return n.empty() ? 0 : n.back().beat + n.back().length;
}

double beatsOf(const std::vector<Chord>& c) {
  return c.empty() ? 0 : c.back().beat + c.back().length;
}

// The three notes of a chord near middle C.
std::array<int, 3> triad(const Chord& c) {
  int root = 60 + c.root;
  if (root > 66) root -= 12;
  return {root, root + (c.minor ? 3 : 4), root + 7};
}

// A note of `seconds` (then `release` seconds dying away) built of the harmonic `weights`,
// rising over `attack` and decaying at `decay` per second.
Samples tone(double hertz, double seconds, const std::vector<double>& weights, double attack,
             double decayRate, double release) {
  Samples s = harmonics(hertz, weights, seconds + release);
  const std::size_t rise = std::max<std::size_t>(1, sampleCount(attack));
  const std::size_t held = std::min(sampleCount(seconds), s.size());
  const std::size_t fall = std::max<std::size_t>(1, s.size() - held);
  for (std::size_t i = 0; i < s.size(); ++i) {
    double env = i < rise ? static_cast<double>(i) / static_cast<double>(rise) : 1.0;
    env *= std::exp(-decayRate * static_cast<double>(i) / kSampleRate);
    if (i >= held) env *= 1.0 - static_cast<double>(i - held) / static_cast<double>(fall);
    s[i] = static_cast<float>(s[i] * env);
  }
  return s;
}

// A feedback delay mixed in: a little room around the instruments.
void echo(Samples& s, double delay, double feedback, double wet) {
  const std::size_t d = sampleCount(delay);
  Samples y = s;
  for (std::size_t i = d; i < y.size(); ++i)
    y[i] = static_cast<float>(y[i] + feedback * y[i - d]);
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<float>(s[i] + wet * (y[i] - s[i]));
}

class Song {
 public:
  explicit Song(double bpm, double beats, double tail)
      : m_beat(60.0 / bpm), m_samples(silence(beats * 60.0 / bpm + tail)) {}

  double seconds(double beats) const { return beats * m_beat; }

  void add(const Samples& sound, double beat, double gain) {
    mixIn(m_samples, sound, sampleCount(seconds(beat)), gain);
  }

  Samples finish(double length, double fadeOut) {
    m_samples.resize(sampleCount(length), 0.0f);
    normalise(m_samples, 0.85);
    fade(m_samples, 0.01, fadeOut);
    return m_samples;
  }

  Samples& samples() { return m_samples; }

 private:
  double m_beat;
  Samples m_samples;
};

void checkBars(const std::vector<Note>& melody, const std::vector<Chord>& harmony) {
  if (std::fabs(beatsOf(melody) - beatsOf(harmony)) > 1e-9)
    throw std::logic_error("the melody and its chords differ in length");
}

}  // namespace

Samples openingMusic() {
  // A bright march in D major, 132 beats a minute: two bars of introduction, two eight-bar
  // phrases and a four-bar close; 22 bars, 40 seconds.
  const std::vector<Chord> harmony =
      chords("D A | D A Bm F#m G D G A | G A F#m Bm Em A D D | G A D D");
  const std::vector<Note> melody = notes(
      "r:8 | a4 d5 f#5 a5 | g5 f#5 e5:2 | f#5 d5 b4 d5 | c#5:2 e5 a4 | b4 d5 g5 b5 |"
      " a5:1.5 f#5:0.5 d5:2 | e5 g5 b5 a5 | g5 f#5 e5:2 |"
      " b5:1.5 a5:0.5 g5 d5 | c#6:1.5 b5:0.5 a5:2 | a5 f#5 c#6 a5 | b5:2 f#5:2 | g5 b5 e6 d6 |"
      " c#6 b5 a5 c#6 | d6:3 a5 | f#5 a5 d6:2 | b5:2 a5:2 | g5 f#5 e5 c#5 | d5:4 | r:4");
  checkBars(melody, harmony);
  const double bpm = 132;
  Song song(bpm, beatsOf(harmony), 3.0);
  const double beat = 60.0 / bpm;
  for (const Note& n : melody) {
    if (n.midi == 0) continue;
    const double hz = hertzOf(n.midi);
    song.add(tone(hz, n.length * beat * 0.92, {1.0, 0.0, 0.25, 0.0, 0.1}, 0.012, 1.0, 0.08), n.beat,
             0.30);
    song.add(tone(hz * 2, n.length * beat * 0.9, {1.0}, 0.02, 2.0, 0.08), n.beat, 0.05);
  }
  const Samples kick = [] {
    Samples k = harmonics(58, {1.0, 0.3}, 0.22);
    decay(k, 22);
    return k;
  }();
  const Samples hat = [] {
    Samples h = hiss(7, 0.1, 0.05);
    decay(h, 70);
    return h;
  }();
  for (std::size_t i = 0; i < harmony.size(); ++i) {
    const Chord& c = harmony[i];
    const auto notesOf = triad(c);
    const bool last = i + 1 == harmony.size();  // the closing chord rings on
    for (int m : notesOf)
      song.add(tone(hertzOf(m), c.length * beat, {1.0, 0.3}, 0.25, 0.2, last ? 2.0 : 0.4), c.beat,
               0.05);
    if (last) {
      for (int m : notesOf)
        song.add(tone(hertzOf(m), beat, {1.0, 0.0, 0.2}, 0.01, 1.5, 1.5), c.beat, 0.10);
      song.add(tone(hertzOf(36 + c.root + (c.root < 2 ? 12 : 0)), 2 * beat, {1.0, 0.5, 0.2}, 0.01,
                    1.0, 1.5),
               c.beat, 0.28);
      song.add(kick, c.beat, 0.35);
      continue;
    }
    const int bass = 36 + c.root + (c.root < 2 ? 12 : 0);
    const std::array<std::pair<double, int>, 4> bassLine{
        {{0.0, bass}, {1.5, bass}, {2.0, bass + 7}, {3.5, bass + 12}}};
    for (const auto& [at, m] : bassLine)
      song.add(tone(hertzOf(m), (at == 0.0 || at == 2.0 ? 0.9 : 0.45) * beat, {1.0, 0.5, 0.2},
                    0.008, 1.5, 0.05),
               c.beat + at, 0.28);
    for (double at : {1.0, 3.0}) {
      for (int m : notesOf)
        song.add(tone(hertzOf(m), 0.4 * beat, {1.0, 0.0, 0.2}, 0.006, 3.0, 0.05), c.beat + at,
                 0.09);
      song.add(kick, c.beat + at - 1, 0.35);
    }
    for (int k = 0; k < 8; ++k)
      song.add(hat, c.beat + k * 0.5, k % 2 == 1 ? 0.05 : 0.025);
  }
  echo(song.samples(), 0.33, 0.28, 0.25);
  return song.finish(song.seconds(beatsOf(harmony)) + 1.5, 1.5);
}

Samples endingMusic() {
  // A slow song in F major for the evening, 80 beats a minute: two bars of introduction, two
  // eight-bar phrases on a falling progression and a two-bar close; 20 bars, 60 seconds.
  const std::vector<Chord> harmony =
      chords("F Bb | Bb C Am Dm Bb C F F | Bb C Am Dm Gm C F F | Bb:2 C:2 F");
  const std::vector<Note> melody = notes(
      "r:8 | f5:1.5 e5:0.5 d5 c5 | e5:1.5 d5:0.5 c5 g4 | a4 c5 e5 a5 | f5:2 e5 d5 |"
      " d5:1.5 c5:0.5 bb4 d5 | c5 d5 e5 g5 | f5:4 | a5 g5 f5 c5 |"
      " d6:1.5 c6:0.5 bb5 a5 | g5:1.5 a5:0.5 bb5 c6 | c6 a5 e5 a5 | a5:2 f5 d5 |"
      " g5 a5 bb5 d6 | c6:2 bb5 g5 | a5:4 | f5 g5 a5 c6 | bb5:2 g5:2 | f5:4");
  checkBars(melody, harmony);
  const double bpm = 80;
  Song song(bpm, beatsOf(harmony), 4.0);
  const double beat = 60.0 / bpm;
  for (const Note& n : melody) {
    if (n.midi == 0) continue;
    song.add(tone(hertzOf(n.midi), n.length * beat * 0.95, {1.0, 0.22, 0.06}, 0.06, 0.35, 0.25),
             n.beat, 0.32);
  }
  for (std::size_t i = 0; i < harmony.size(); ++i) {
    const Chord& c = harmony[i];
    const bool last = i + 1 == harmony.size();
    for (int m : triad(c))
      song.add(tone(hertzOf(m), c.length * beat, {1.0, 0.5, 0.3, 0.15}, 0.5, 0.1, last ? 3.0 : 0.6),
               c.beat, 0.045);
    const int bass = 36 + c.root + (c.root < 5 ? 12 : 0);
    song.add(tone(hertzOf(bass), c.length * beat * 0.95, {1.0, 0.4}, 0.02, 0.5, last ? 2.5 : 0.2),
             c.beat, 0.26);
    // Broken chords in eighths, rising and falling.
    int root = 48 + c.root;
    if (root > 55) root -= 12;
    const int third = c.minor ? 15 : 16;
    const std::array<int, 8> pattern{0, 7, 12, third, 19, third, 12, 7};
    const int eighths = last ? 1 : static_cast<int>(c.length * 2);
    for (int k = 0; k < eighths; ++k)
      song.add(tone(hertzOf(root + pattern[static_cast<std::size_t>(k % 8)]), 0.5 * beat,
                    {1.0, 0.35, 0.12}, 0.004, 2.5, last ? 2.5 : 0.3),
               c.beat + k * 0.5, 0.11);
  }
  echo(song.samples(), 0.29, 0.35, 0.3);
  return song.finish(song.seconds(beatsOf(harmony)) + 2.5, 3.0);
}

Samples startJingle() {
  // A rising arpeggio on C and its chord, like a departure chime; 1.5 seconds.
  Song song(240, 6, 0.5);  // a beat of 0.25 s
  const std::array<int, 3> run{72, 76, 79};
  for (std::size_t i = 0; i < run.size(); ++i)
    song.add(tone(hertzOf(run[i]), 0.2, {1.0, 0.4, 0.15}, 0.004, 4.0, 0.1),
             static_cast<double>(i) * 0.4, 0.3);
  for (int m : {72, 76, 79, 84})
    song.add(tone(hertzOf(m), 0.9, {1.0, 0.4, 0.15, 0.05}, 0.005, 2.2, 0.15), 1.3, 0.22);
  song.add(strike(hertzOf(84), 3.0, 0.9), 1.3, 0.2);
  return song.finish(1.5, 0.25);
}

}  // namespace velimoro::content::title_art
