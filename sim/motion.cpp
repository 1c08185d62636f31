#include "sim/motion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/rounding.h"
#include "media/translate.h"
#include "sim/train_sounds.h"

namespace velimoro {
namespace {

constexpr long double kGravity = 9.8L;
constexpr long double kTickSeconds = 0.1L;
constexpr int kSilentVolume = -10000;
constexpr int kSquealStopVolume = -5000;

long double massKg(const TrainSpec& train) {
  return train.Tons.toLongDouble() * 1000;
}

void addTo(Fixed& value, long double amount) {
  value = Fixed::fromLongDouble(value.toLongDouble() + amount);
}

bool isEmergency(const SimState& s, const TrainSpec& train) {
  return s.brake_notch == -train.Brake;
}

void updateBrakeRate(SimState& s, const TrainSpec& train) {
  // The first rate acts only until the brake first leaves EB; from then on the second one does.
  if (!isEmergency(s, train)) s.brake_rate_first = train.BrakeRate[1];
  s.brake_rate_now = s.brake_rate_first;
  if (s.speed > 0 && s.speed < train.Lose_elec) {
    // The electric brake has faded out: the brake shoes' friction grows as the train slows.
    const long double k = train.BrakeRate2;
    const long double ratio = brakeShoeFriction(s.speed, k) / brakeShoeFriction(train.Lose_elec, k);
    if (std::isfinite(ratio)) {
      s.brake_rate_now = Fixed::fromLongDouble(s.brake_rate_first.toLongDouble() * ratio);
    }
  }
}

void applyBrakeForce(SimState& s, const TrainSpec& train) {
  if (s.bc <= Fixed()) return;
  const long double brake = brakeForce(train, s.brake_rate_now, s.bc);
  if (s.speed > 0) addTo(s.force, -brake);
  if (s.speed < 0) addTo(s.force, brake);
  if (s.speed > train.Lose_elec && !isEmergency(s, train) && !s.ats_eb) {
    s.last_traction = s.force;  // the ammeter shows the electric brake's current
  }
}

void applyAdhesion(SimState& s, const TrainSpec& train, const RouteData& route) {
  const long double v = std::fabs(s.speed);
  const long double gradient = s.gradient.toLongDouble();
  const long double hypotenuse = std::sqrt(gradient * gradient + 1000 * 1000);
  const long double cosTheta = 1000 / hypotenuse;
  const long double sinTheta = gradient / hypotenuse;
  const long double m = massKg(train);
  const long double mDriven = train.Mt.toLongDouble() * 1000;

  if (s.power_notch >= 1) {
    s.adhesion =
        Fixed::fromLongDouble(route.friction.toLongDouble() * (1 + 0.05L * v) / (1 + 0.1L * v));
    s.adhesion_limit =
        Fixed::fromLongDouble(s.adhesion.toLongDouble() * mDriven * kGravity * cosTheta);
  } else if (s.brake_notch < 0) {
    s.adhesion = Fixed::fromLongDouble(0.2L / (1 + 0.0059L * v));
    s.adhesion_limit = Fixed::fromLongDouble(s.adhesion.toLongDouble() * m * kGravity * cosTheta);
  }
  addTo(s.resistance, -m * kGravity * sinTheta);

  if (s.power_notch >= 1 && s.adhesion_limit < s.force) {
    s.force = Fixed::fromLongDouble(0.5L * s.adhesion.toLongDouble() * mDriven * kGravity);
    s.slip_text = media::translate("Motion", "空転");
  } else if (s.brake_notch < 0 && s.force < -s.adhesion_limit) {
    s.force = Fixed::fromLongDouble(-s.adhesion.toLongDouble() * m * kGravity);
    s.slip_text = media::translate("Motion", "滑走");
  } else {
    s.slip_text.clear();
  }
}

void applyResistance(SimState& s, const TrainSpec& train) {
  const long double v = std::fabs(s.speed);
  const long double tons = train.Tons.toLongDouble();
  if (v < 8 && s.resistance >= Fixed()) {
    // Starting resistance, opposing the motion, fades out at 8 km/h. At a stand it only holds:
    // it takes up the other forces as far as it reaches and never moves the train itself.
    const long double starting = (8 - v) * kGravity * tons;
    const long double others = s.force.toLongDouble() + s.resistance.toLongDouble();
    if (s.speed != 0) {
      addTo(s.resistance, s.speed > 0 ? -starting : starting);
    } else if (std::fabs(others) <= starting) {
      s.resistance = -s.force;
    } else {
      addTo(s.resistance, others > 0 ? -starting : starting);
    }
  }
  if (s.speed > 0.1L || s.speed < -0.1L) {
    const long double speed = static_cast<long double>(s.speed);
    const long double running = kGravity * ((1.32L + 0.0164L * v) * tons +
                                            (0.028L + 0.0078L * (train.Cars - 1)) * speed * speed);
    addTo(s.resistance, s.speed > 0 ? -running : running);
  }
}

void applyHoldAndConstantSpeed(SimState& s) {
  if (s.resistance > Fixed() && s.hold_engaged && s.gradient < Fixed()) s.force -= s.resistance;
  if (s.const_speed) s.force = -s.resistance;
}

// A train held by its brakes, or braking through zero this tick, stands.
void settleStandstill(SimState& s, const TrainSpec& train) {
  const long double force = s.force.toLongDouble();
  const long double resistance = s.resistance.toLongDouble();
  s.projected_speed =
      Fixed::fromLongDouble(s.speed + speedChange(train, force) + speedChange(train, resistance));
  const bool held =
      s.speed == 0 && brakeForce(train, s.brake_rate_now, s.bc) > std::fabs(resistance);
  // Brakes and resistance act against the motion and never reverse it: a train slowing through
  // zero without a force driving it the other way ends the step at a stand.
  const bool stopsForward = s.speed > 0 && force <= 0 && s.projected_speed < Fixed();
  const bool stopsBackward = s.speed < 0 && force >= 0 && s.projected_speed > Fixed();
  if (!held && !stopsForward && !stopsBackward) return;
  s.speed = 0;
  s.force = Fixed();
  s.resistance = Fixed();
}

void integrate(SimState& s, const TrainSpec& train) {
  if (!s.resistance_off) s.speed += speedChange(train, s.resistance.toLongDouble());
  s.speed += speedChange(train, s.force.toLongDouble());
  s.speed_text = speedText(s.speed);
}

void setSquealVolume(SimDrive& drive, int volume) {
  SimState& s = drive.state;
  s.squeal_volume = std::max(volume, kSilentVolume);
  setTrainSoundVolume(drive, drive.train->Sound_squeak, s.squeal_volume);
}

void lowerSqueal(SimDrive& drive, int step) {
  setSquealVolume(drive, drive.state.squeal_volume - step);
  const int squeak = drive.train->Sound_squeak;
  if (drive.state.squeal_volume < kSquealStopVolume && trainSoundPlaying(drive, squeak)) {
    stopTrainSound(drive, squeak);
  }
}

void runBrakeSqueal(SimDrive& drive) {
  const SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  const long double v = std::fabs(s.speed);
  const bool braking = s.bc > Fixed();
  if (braking && v > 3 && v < train.Lose_elec && !trainSoundPlaying(drive, train.Sound_squeak)) {
    playTrainSound(drive, train.Sound_squeak, true);
  }
  if (!braking || v >= 45) lowerSqueal(drive, 100);
  if (v < 1) lowerSqueal(drive, 1000);
  if (braking && v > 1 && v < train.Lose_elec) {
    // Louder as the cylinder pressure rises.
    const long double volume = 500 / s.bc.toLongDouble() * -500;
    setSquealVolume(drive,
                    static_cast<int>(std::max<std::int64_t>(roundHalfEven(volume), kSilentVolume)));
  }
}

}  // namespace

std::string speedText(long double speed) {
  // "%5.1f" and " km/h", from whole tenths: this runs every tick, and printing an 80-bit float
  // costs more than the rest of the tick's motion.
  const std::int64_t tenths = roundHalfEven(speed * 10);
  const std::uint64_t magnitude =
      tenths < 0 ? 0 - static_cast<std::uint64_t>(tenths) : static_cast<std::uint64_t>(tenths);
  std::string digits = std::to_string(magnitude / 10) + '.' + std::to_string(magnitude % 10);
  if (std::signbit(speed)) digits.insert(0, 1, '-');
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), ' ');
  return digits + " km/h";
}

long double brakeShoeFriction(long double speed, long double k) {
  return 0.32L * (1 + 0.01L * speed) / (1 + k * speed);
}

long double brakeForce(const TrainSpec& train, Fixed rate, Fixed bc) {
  if (train.EBPress <= 0) return 0;
  return rate.toLongDouble() * (bc.toLongDouble() / train.EBPress) / 3.6L * massKg(train);
}

long double speedChange(const TrainSpec& train, long double force) {
  const long double m = massKg(train);
  if (m <= 0) return 0;
  return force / m * 3.6L * kTickSeconds;
}

void runMotion(SimDrive& drive) {
  SimState& s = drive.state;
  const TrainSpec& train = *drive.train;
  updateBrakeRate(s, train);
  applyBrakeForce(s, train);
  applyAdhesion(s, train, *drive.route);
  applyResistance(s, train);
  applyHoldAndConstantSpeed(s);
  settleStandstill(s, train);
  integrate(s, train);
  runBrakeSqueal(drive);
}

void sampleGradient(SimDrive& drive) {
  SimState& s = drive.state;
  const RouteData& route = *drive.route;
  for (int i = 0; i < route.slopeCount; ++i) {
    const SlopeEntry& slope = route.slopes[i];
    if (slope.from < s.frame && s.frame < slope.to) {
      s.gradient_post = slope.gradient;
      char text[32];
      std::snprintf(text, sizeof text, "%.2f", std::fabs(slope.gradient.toDouble()));
      s.slope_text = text;
      s.slope_image = slope.gradient > Fixed() ? 1 : slope.gradient < Fixed() ? 2 : 0;
    }
  }
  if (std::fabs(s.position_cm - s.gradient_mark_cm) <= 2000) return;
  s.gradient_mark_cm = s.position_cm;
  // The samples walk back along the train, one car each 20 m.
  const int cars = std::clamp(drive.train->Cars, 1, SimState::kMaxCars);
  for (int i = cars - 1; i > 0; --i)
    s.car_gradient[i] = s.car_gradient[i - 1];
  s.car_gradient[0] = static_cast<int>(roundHalfEven(s.gradient_post.toLongDouble()));
  long double sum = 0;
  for (int i = 0; i < cars; ++i)
    sum += s.car_gradient[i];
  s.gradient = Fixed::fromLongDouble(sum / cars);
}

}  // namespace velimoro
