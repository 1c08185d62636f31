#include "tools/content/route_sounds.h"

#include <algorithm>
#include <set>

#include "tools/content/callout_voices.h"
#include "tools/content/route_builder.h"
#include "tools/content/synth.h"
#include "tools/content/voices.h"
#include "tools/content/writers.h"

namespace velimoro::content {
namespace {

Samples notes(const std::vector<double>& hertz, double each, double ring) {
  Samples s;
  std::size_t at = 0;
  for (double h : hertz) {
    Samples tone = harmonics(h, {0.6, 0.25, 0.1, 0.05}, each * ring);
    decay(tone, 3.0 / (each * ring));
    fade(tone, 0.004, 0.05);
    mixIn(s, tone, at);
    at += sampleCount(each);
  }
  normalise(s, 0.6);
  return s;
}

Samples chime() {
  return notes({659.3, 523.3, 587.3, 392.0}, 0.32, 2.0);
}

// An announcement: a chime, then the voice.
Samples announcement(const std::string& text) {
  Samples s = chime();
  scale(s, 0.6);
  append(s, silence(0.15));
  Samples voice = speak(text);
  normalise(voice, 0.8);
  append(s, voice);
  append(s, silence(0.2));
  return s;
}

}  // namespace

void writeRouteSounds(const std::string& root) {
  const std::string folder = root + "/sound/route/";
  writeWave(folder + "arrive_chime.wav", chime());
  // A short platform melody that repeats its phrase twice.
  Samples melody = notes({523.3, 659.3, 784.0, 1046.5, 784.0, 659.3, 587.3, 784.0, 523.3, 659.3,
                          784.0, 1046.5, 880.0, 784.0, 1046.5},
                         0.3, 1.6);
  fade(melody, 0, 0.3);
  writeWave(folder + "melody.wav", melody);
  Samples bell = strike(780, 14, 0.5);
  append(bell, strike(740, 14, 0.5));
  normalise(bell, 0.7);
  writeWave(folder + "crossing.wav", bell);
  Samples bridge = filteredNoise(71, 0.97, 1.05);
  mixIn(bridge, harmonics(40, {0.5, 0.3}, 1.05), 0, 0.5);
  makeLoop(bridge, 0.05);
  normalise(bridge, 0.6);
  writeWave(folder + "bridge.wav", bridge);
  writeWave(folder + "standing.wav",
            announcement("ごじょうしゃ ありがとう ございます。この でんしゃは あおばせん です"));
}

int writeStationAnnouncements(const std::vector<RouteDesign>& routes, const std::string& root) {
  std::set<std::string> written;
  for (const RouteDesign& r : routes) {
    for (const StationDesign& s : r.line.stations) {
      if (!written.insert(s.id).second) continue;
      const std::string base = root + "/sound/station/" + s.id;
      writeWave(base + "_arrive.wav", announcement(s.reading + "、" + s.reading + " です"));
      writeWave(base + "_next.wav", announcement("つぎは、" + s.reading + " です"));
    }
  }
  return static_cast<int>(written.size()) * 2;
}

int writeCalloutVoices(const std::string& root) {
  int count = 0;
  for (const auto* list : {&fixedVoices(), &routeVoices()}) {
    for (const VoiceLine& v : *list) {
      Samples s = speak(v.text);
      normalise(s, 0.85);
      writeWave(root + "/sound/voice/" + v.file, s, kSampleRate, 16);
      ++count;
    }
  }
  // The call-outs said on seeing a board of the other-picture list.
  for (BoardKind board : kAllBoards) {
    Samples s = speak(board == BoardKind::kRockfall ? "らくせき ちゅうい" : "けいてき");
    normalise(s, 0.85);
    std::string name = boardSoundName(board);
    std::replace(name.begin(), name.end(), '\\', '/');
    writeWave(root + "/" + name, s, kSampleRate, 16);
    ++count;
  }
  return count;
}

}  // namespace velimoro::content
