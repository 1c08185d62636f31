#include "sim/guidance.h"

#include <cmath>
#include <cstdlib>

#include "data/rounding.h"
#include "media/translate.h"

namespace velimoro {
namespace {

constexpr char kSentence = '0';

// The switchback is possible in the last 200 frames before the route's end of line.
constexpr int kSwitchbackFrames = 200;
// The dead-man timer warns from this count on.
constexpr int kDeadManWarningCount = 601;
// Station approach: more than 250 m ahead and within the braking distance plus 125 m.
constexpr long double kApproachMinimumCm = 25000;
constexpr long double kApproachMarginMetres = 125;

// The guidance sentences, each shown after the sentence mark.
const char* const kWaitForRoute =
    VELIMORO_TEXT_NOOP("Guidance", "進路が開通するまでお待ちください。");
const char* const kAtsOff =
    VELIMORO_TEXT_NOOP("Guidance", "ATSが投入されていないため、速度に注意してください。");
const char* const kTurnAround =
    VELIMORO_TEXT_NOOP("Guidance", "BackSpaceキーを押して方向を転換し、発車してください。");
const char* const kAtsWarning =
    VELIMORO_TEXT_NOOP("Guidance", "5秒以内にブレーキをかけ、ATS確認ボタンを押してください");
const char* const kSlowTo55 = VELIMORO_TEXT_NOOP("Guidance", "速度を55km/h以下に落としてください");
const char* const kSlowTo75 = VELIMORO_TEXT_NOOP("Guidance", "速度を75km/h以下に落としてください");
const char* const kSlowTo25 = VELIMORO_TEXT_NOOP("Guidance", "速度を25km/h以下に落としてください");
const char* const kDeadMan = VELIMORO_TEXT_NOOP("Guidance", "5秒以内にEBリセットを行ってください");
const char* const kAtsTripped = VELIMORO_TEXT_NOOP("Guidance", "速度超過によりATSが動作しました");
const char* const kAtsReset =
    VELIMORO_TEXT_NOOP("Guidance", "非常ブレーキを入れ、リセットキーを押してください");
const char* const kEngineStalled = VELIMORO_TEXT_NOOP(
    "Guidance", "エンストしました。変速レバーを変速段に入れてエンジンを再始動してください。");

// A guidance sentence in the chosen language, after the sentence mark.
std::string sentence(const char* text) {
  return kSentence + media::translate("Guidance", text);
}

bool nearReversingFrame(const RouteData& route, int frame) {
  if (route.movieStopCount <= 0) return false;
  const int last = route.movieStop[0];
  return last - kSwitchbackFrames < frame && frame <= last;
}

// The signal ahead asks for a slower speed than the train runs.
const char* signalSpeedText(int aspect, int speed) {
  switch (aspect) {
    case 4:
    case 7:
    case 10:
    case 15:
    case 19:
      return speed > 65 ? kSlowTo55 : nullptr;
    case 11:
    case 20:
      return speed > 95 ? kSlowTo75 : nullptr;
    case 14:
    case 18:
      return speed > 25 ? kSlowTo25 : nullptr;
    default:
      return nullptr;
  }
}

bool approachingStop(const SimState& s) {
  const long double metres = s.remain_cm / 100;
  const long double v = s.speed;
  return metres - kApproachMarginMetres < v / 5 * v / 3.6L && s.remain_cm > kApproachMinimumCm;
}

void runningGuidance(const SimState& s, int speed, std::string& text) {
  if (s.ats_warning && s.ats_active) {
    text = sentence(kAtsWarning);
    return;
  }
  if (s.eb_device_count >= kDeadManWarningCount) {
    text = sentence(kDeadMan);
    return;
  }
  if (const char* slower = signalSpeedText(s.signal_aspect, speed)) text = sentence(slower);
  if (approachingStop(s)) {
    text = text.empty() ? sentence(VELIMORO_TEXT_NOOP("Guidance", "（停車駅接近）"))
                        : media::fill(media::translate("Guidance", "%1（停車駅接近）"), {text});
  }
}

void protectionBrakeGuidance(const SimState& s, int speed, std::string& text) {
  if (s.ats_warning) {
    if (std::abs(speed) > 0 || s.atsp_state == 2) {
      text = sentence(kAtsTripped);
    } else {
      text = sentence(kAtsReset);
    }
    return;
  }
  if (s.atsp_state == 2) {
    text = sentence(kAtsTripped);
  } else if (speed == 0) {
    text = sentence(kAtsReset);
  }
}

}  // namespace

std::string guidanceMessage(const SimDrive& drive) {
  const SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  // The rules compare the speed rounded to whole km/h.
  const int speed = static_cast<int>(roundHalfEven(s.speed));
  std::string text;
  if (s.run_mode == 1 && s.power_handle > 0) text = sentence(kWaitForRoute);
  if (!s.ats_active && !s.beginner_mode && s.power_handle > 1) text = sentence(kAtsOff);
  if (speed == 0 && nearReversingFrame(*drive.route, s.frame)) text = sentence(kTurnAround);
  if (!s.ats_eb) {
    runningGuidance(s, speed, text);
  } else {
    protectionBrakeGuidance(s, speed, text);
  }
  if (s.power_handle > 0 && !s.engine_running && s.gear_index == train.GearCount - 1 &&
      speed == 0) {
    text = sentence(kEngineStalled);
  }
  return text;
}

void useGuidance(SimDrive& drive, const std::string& result) {
  SimState& s = drive.state;
  if (result == s.last_guidance) return;
  if (drive.setup.settings.information == 1) {
    if (result.empty()) {
      s.guidance_shown.clear();
    } else if (result.front() == kSentence) {
      s.guidance_shown = result.substr(1);
      s.guidance_frame = s.frame - 1;
    }
  }
  s.last_guidance = result;
}

void runGuidance(SimDrive& drive) {
  drive.state.guidance_text = guidanceMessage(drive);
  useGuidance(drive, drive.state.guidance_text);
}

}  // namespace velimoro
