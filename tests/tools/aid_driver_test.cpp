// The driver aids tested by what they are for: a driver that sees only the aid panel's values
// and the speedometer, and acts only through keys, drives every demo route from its first
// station to its last and stops at every stop point within a metre.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "cab/session.h"
#include "media/picture_loader.h"
#include "sim/driver_aids.h"
#include "sim/signal_codes.h"
#include "support/demo_root.h"
#include "tools/content/route_design.h"
#include "tools/drive/event_log.h"

namespace velimoro {
namespace {

constexpr double kBraking = 0.55;      // m/s², the deceleration the driver plans with
constexpr double kTopSpeed = 80;       // km/h where no limit is posted
constexpr long double kLastCm = 5000;  // within 50 m the panel counts tenths

// What the driver reads: the panel's lines and the speedometer.
struct Panel {
  double speed = 0;  // km/h
  bool stopAhead = false;
  double stopM = 0;
  bool stopped = false;
  double resultCm = 0;
  double toleranceCm = 0;
  int aspect = 999;
  double signalM = 0;
  int limit = 0;
  int nextLimit = 0;
  double nextLimitM = 0;
  int cause = 0;

  explicit Panel(const SimState& s)
      : speed(static_cast<double>(s.speed)),
        stopAhead(s.aid_stop_ahead),
        stopM(static_cast<double>(s.aid_stop_cm) / 100),
        stopped(s.aid_stopped),
        resultCm(static_cast<double>(s.aid_stop_result_cm)),
        toleranceCm(static_cast<double>(s.aid_stop_tolerance_cm)),
        aspect(s.aid_signal_aspect),
        signalM(static_cast<double>(s.aid_signal_cm) / 100),
        limit(s.aid_limit),
        nextLimit(s.aid_next_limit),
        nextLimitM(static_cast<double>(s.aid_next_limit_cm) / 100),
        cause(s.brake_cause) {}
};

// The speed from which the planned braking comes to `v` km/h in `metres`.
double approachSpeed(double metres, double v = 0) {
  const double ms = v / 3.6;
  return std::sqrt(std::max(ms * ms + 2 * kBraking * std::max(metres, 0.0), 0.0)) * 3.6;
}

// One drive by the aids: every tick the driver reads the panel and presses at most one key.
struct AidDriver {
  std::ostringstream err;
  headless::EventLog log;
  headless::LoggingSoundLayer sound{log};
  headless::LoggingMessages messages{log, err};
  media::FileCheckPictureLoader pictures;
  CabSession session;
  bool oneMan;
  std::vector<double> stops;  // the stop results, short of the point > 0, in cm
  bool wasAtRest = true;      // the train stands at its first station
  bool sameStop = false;
  std::int64_t restSince = -1;
  bool doorsOpened = false;
  bool doorsClosed = false;
  bool seenStop = false;
  std::vector<double> speeds;  // the last four ticks' speeds
  int sinceChange = 0;         // ticks since the handle last moved in the stop braking

  AidDriver(const std::string& route, const std::string& train)
      : session(setup(route, train), DriveMedia{sound, pictures, messages, nullptr}),
        oneMan(session.drive().route->oneMan == 1),
        doorsOpened(oneMan) {}  // a one-man train stands at its first station with its doors open

  static DriveSetup setup(const std::string& route, const std::string& train) {
    DriveSetup s;
    s.root = testing::demoRoot();
    s.trainFile = train;
    s.routeFile = route;
    return s;
  }

  void key(char c) { session.input("key", {std::string(1, c)}); }

  // The speed the driver wants now.
  double targetSpeed(const Panel& p) const {
    double target = (p.limit > 0 ? p.limit : kTopSpeed) - 3;
    if (p.nextLimitM > 0 && p.nextLimit > 0)
      target = std::min(target, approachSpeed(p.nextLimitM - 10, p.nextLimit - 3));
    if (p.stopAhead) target = std::min(target, approachSpeed(p.stopM - 0.3));
    if (p.aspect != 999 && aspectClass(p.aspect) == AspectClass::kStop)
      target = std::min(target, approachSpeed(p.signalM - 30));
    return target;
  }

  // Returns false once no stop lies ahead: the run has ended.
  bool tick() {
    session.runUntil(session.now() + 100);
    const Panel p(session.drive().state);
    if (p.cause != 0) {
      key(std::fabs(p.speed) < 0.1 ? 'r' : '0');
      return true;
    }
    const bool atRest = std::fabs(p.speed) < 0.1;
    const bool nearStop = p.stopAhead && p.stopM * 100 < kLastCm;
    // The panel gives the stop's result once the train is at rest; a stop made again after
    // creeping on to the mark replaces the one before.
    if (atRest && !wasAtRest && p.stopped) {
      if (sameStop) stops.pop_back();
      stops.push_back(p.resultCm);
      sameStop = true;
    }
    wasAtRest = atRest;
    if (!nearStop) sameStop = false;
    // The panel is blank until the first tick; once it has shown a stop, a blank stop line
    // means the run has ended.
    if (!p.stopAhead) return !seenStop;
    seenStop = true;
    if (!atRest) restSince = -1;
    if (atRest && restSince < 0) restSince = session.now();
    // At rest within the stop's tolerance the train is at the platform.
    if (atRest && nearStop && p.stopped &&
        std::fabs(p.stopM) * 100 <= std::max(p.toleranceCm, 100.0)) {
      key('2');  // hold the brake at the stop
      if (oneMan && !doorsOpened) {
        key('d');
        doorsOpened = true;
        doorsClosed = false;
      }
      return true;
    }
    // The one-man driver closes the doors after a while at the platform.
    if (oneMan && doorsOpened && !doorsClosed && atRest) {
      if (session.now() - restSince > 20000) {
        key('d');
        doorsClosed = true;
        doorsOpened = false;
      }
      return true;
    }
    speeds.push_back(p.speed);
    if (speeds.size() > 4) speeds.erase(speeds.begin());
    const SimState& hand = session.drive().state;  // where the driver's hand holds the handle
    const double ms = p.speed / 3.6;
    const double toStop = p.stopM + 0.2;
    if (nearStop || (p.stopAhead && ms * ms / (2 * std::max(toStop, 0.1)) >= kBraking)) {
      // Braking to the mark: where the present deceleration would stop the train, against the
      // distance the panel gives, a notch at a time with a tick between for the brake to answer.
      const double decel = speeds.size() < 4 ? 0 : (speeds.front() - speeds.back()) / 3.6 / 0.3;
      const double stopsIn = decel > 0.02 ? ms * ms / (2 * decel) : 1e9;
      if (++sinceChange < 2) return true;
      if (p.speed < 4 && toStop > 1.5 && decel > 0) {
        if (hand.brake_handle < 0) key('8'), sinceChange = 0;
      } else if (stopsIn > toStop) {
        key('2'), sinceChange = 0;
      } else if (stopsIn < toStop - 0.3 - 0.03 * toStop && hand.brake_handle < 0) {
        key('8'), sinceChange = 0;
      } else if (p.speed < 2 && toStop > 1.0 && hand.brake_handle == 0 && hand.power_handle == 0) {
        key('8'), sinceChange = 0;  // short of the mark and stopping: creep on
      }
      return true;
    }
    const double target = targetSpeed(p);
    if (p.speed > target + 0.5) {
      key('2');
    } else if (p.speed < target - 2) {
      key('8');
    }
    return true;
  }
};

TEST(AidDriver, DrivesEveryDemoRouteByTheAidsAloneAndStopsWithinAMetreAtEveryStop) {
  for (const content::RouteDesign& design : content::demoRoutes()) {
    SCOPED_TRACE(design.file);
    AidDriver driver(design.file, "train_QT600.dat");
    const RouteData& route = *driver.session.drive().route;
    int expected = 0;
    for (int i = 1; i < route.stationCount; ++i) {
      expected += route.stations[static_cast<std::size_t>(i)].kind != 1;
    }
    driver.session.input("start");
    driver.key('f');
    // Three hours of drive time at the most.
    bool running = true;
    for (int t = 0; running && t < 3 * 36000; ++t)
      running = driver.tick();
    EXPECT_FALSE(running) << "the run did not end";
    EXPECT_EQ(static_cast<int>(driver.stops.size()), expected);
    for (const double result : driver.stops)
      EXPECT_LE(std::fabs(result), 100) << result;
  }
}

}  // namespace
}  // namespace velimoro
