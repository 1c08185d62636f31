#include "tools/content/callout_voices.h"

namespace velimoro::content {

const std::vector<VoiceLine>& fixedVoices() {
  static const std::vector<VoiceLine> voices = {
      {"k00.wav", "ていし"},         // stop aspects
      {"k01.wav", "けいかい"},       // restricting
      {"k02.wav", "ちゅうい"},       // caution
      {"k03.wav", "げんそく"},       // reduced speed
      {"k04.wav", "しんこう"},       // clear
      {"k05.wav", "しんごう よし"},  // a signal without a shown aspect
      {"k06.wav", "じゅうびょう"},   // time call-outs: 10 .. 90 seconds off
      {"k07.wav", "にじゅうびょう"},
      {"k08.wav", "さんじゅうびょう"},
      {"k09.wav", "よんじゅうびょう"},
      {"k10.wav", "ごじゅうびょう"},
      {"k11.wav", "ろくじゅうびょう"},
      {"k12.wav", "ななじゅうびょう"},
      {"k13.wav", "はちじゅうびょう"},
      {"k14.wav", "きゅうじゅうびょう"},
      {"k15.wav", "じこく よし"},
      {"k16.wav", "おくれ"},  // the time has passed
      {"k17.wav", "はや"},    // the time is still ahead
      {"k18.wav", "ていじ"},  // within ten seconds
      {"k19.wav", "はっしゃ じこく"},
      {"k20.wav", "しゅっぱつ しんこう"},
  };
  return voices;
}

const std::vector<VoiceLine>& routeVoices() {
  static const std::vector<VoiceLine> voices = {
      {"k21.wav", "じょうない"}, {"k22.wav", "しゅっぱつ"},    {"k23.wav", "へいそく"},
      {"k24.wav", "いれかえ"},   {"k25.wav", "ふみきり よし"}, {"k26.wav", "ていしいち よし"},
      {"k27.wav", "つうか"},     {"k28.wav", "じへい よし"},   {"k29.wav", "しょうさ よし"},
  };
  return voices;
}

}  // namespace velimoro::content
