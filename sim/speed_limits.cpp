#include "sim/speed_limits.h"

#include <algorithm>
#include <cmath>

#include "data/rounding.h"

namespace velimoro {
namespace {

// The braking curve of a limit ends 30 m before it and is looked at from 600 m on, with half the
// train's brake rate.
constexpr long double kBrakingPointCm = 3000;
constexpr long double kLookAheadCm = 60000;
constexpr long double kBrakeShare = 0.5L;
// A limit this many frames ahead shows on the sign.
constexpr int kShowAheadFrames = 100;

const SpeedLimitEntry& limitAt(const RouteData& route, int index) {
  return route.speedLimits[static_cast<std::size_t>(index)];
}

int limitCount(const RouteData& route) {
  return std::clamp(route.speedLimitCount, 0, RouteData::kTable);
}

int clampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, -1000000000, 1000000000));
}

// The last limit in list order whose braking curve the train is above; -1 none. Any limit can
// be the one, the first of the list included.
int warnedLimit(const SimDrive& drive) {
  const RouteData& route = *drive.route;
  const SimState& s = drive.state;
  // The brake rate in use: the service rate once the brake has left EB.
  const long double brakeRate = s.brake_rate_first.toLongDouble();
  int warned = -1;
  for (int i = 0; i < limitCount(route); ++i) {
    const SpeedLimitEntry& limit = limitAt(route, i);
    const long double ahead = static_cast<long double>(limit.positionCm) - s.position_cm;
    const long double toBrakingPoint = ahead - kBrakingPointCm;
    if (ahead <= 0 || ahead >= kLookAheadCm || toBrakingPoint <= 0) continue;
    const int curve = brakingCurveSpeed(limit.limit, brakeRate, kBrakeShare, toBrakingPoint / 100);
    if (curve < s.speed) warned = i;
  }
  return warned;
}

int signPicture(const SimDrive& drive, int limit) {
  const int image = limitAt(*drive.route, limit).image;
  return image >= 0 && image < static_cast<int>(drive.pictures.signal2.size()) ? image : -1;
}

void showBlinking(SimDrive& drive, int limit) {
  SimState& s = drive.state;
  s.limit_sign_picture = signPicture(drive, limit);
  s.limit_shown = limit;
  s.limit_sign_blinking = true;
}

void showSteady(SimDrive& drive, int limit) {
  SimState& s = drive.state;
  if (limit != s.limit_shown) {
    s.limit_sign_picture = signPicture(drive, limit);
    s.limit_shown = limit;
  }
  s.limit_sign_blinking = false;
  s.limit_sign_visible = true;
}

}  // namespace

int brakingCurveSpeed(long double target, long double brakeRate, long double share,
                      long double metres) {
  // v² = t² + 2 a d, with a in km/h/s and d in m: 2 × 3.6 = 7.2.
  const long double square = target * target + 7.2L * share * brakeRate * std::max(metres, 0.0L);
  return clampToInt(roundHalfEven(std::sqrt(std::max(square, 0.0L))));
}

void blinkSpeedLimitSign(SimState& s) {
  if (!s.limit_sign_blinking) return;
  if (s.tick_count % 5 == 0 && s.tick_count % 10 != 0) s.limit_sign_visible = false;
  if (s.tick_count % 10 == 0) s.limit_sign_visible = true;
}

void runSpeedLimits(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  s.limit_warned = warnedLimit(drive);
  bool shown = false;
  if (s.limit_warned >= 0) {
    showBlinking(drive, s.limit_warned);
    shown = true;
  } else {
    for (int i = 0; i < limitCount(route); ++i) {
      const SpeedLimitEntry& limit = limitAt(route, i);
      const std::int64_t ahead = static_cast<std::int64_t>(limit.position) - s.frame;
      if (ahead > 0 && ahead < kShowAheadFrames) {
        showBlinking(drive, i);
        shown = true;
      }
      if (limit.position <= s.frame && s.frame < limit.limitE) {
        showSteady(drive, i);
        shown = true;
      }
    }
  }
  if (!shown && !s.limit_sign_blinking) {
    s.limit_sign_picture = -1;
    s.limit_sign_visible = false;
    s.limit_shown = -1;
  }
}

}  // namespace velimoro
