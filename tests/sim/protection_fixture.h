#pragma once

#include <gtest/gtest.h>

#include "cab/drive.h"
#include "data/route_reader.h"
#include "support/test_support.h"

namespace velimoro::testing {

// A drive on a route filmed at 108 km/h, where a frame is 1 m (100 cm), with a train of eight
// brake positions whose twenty sounds are numbered like the scenario trains': 1 EB, 3 and 4 the
// ATS alarm and chime, 5 the ATC bell.
struct ProtectionTest : ::testing::Test {
  RecordingSound sound;
  RecordingPictures pictures;
  RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  SimState& s = drive.state;
  RouteData& route = *drive.route;
  TrainSpec& train = *drive.train;

  static constexpr int kEb = 1;
  static constexpr int kAlarm = 3;
  static constexpr int kChime = 4;
  static constexpr int kAtcBell = 5;

  ProtectionTest() {
    route.frameSpeeds[0] = {0, 1000000, 108, 108, 0};
    route.frameSpeedCount = 1;
    for (int k : {0, 25, 45, 75, 110})
      route.speedSignal[static_cast<std::size_t>(route.speedSignalCount++)] = k;
    train.Brake = 8;
    train.DriveSoundCount = 20;
    train.Sound_EB = kEb;
    train.Sound_Ats1 = kAlarm;
    train.Sound_Ats2 = kChime;
    train.Sound_Atc = kAtcBell;
    train.ATS_Time = 5;
    train.BrakeRate[0] = Fixed::fromInt(4);
    drive.pictures.signal.assign(40, 0);
    drive.pictures.signal2.assign(5, 0);
    drive.pictures.trafficSignal.assign(8, 0);
  }

  // A "[Signal]" record by its file fields.
  void addSignal(int mode, int stored, int parameter, int lampType, int showFrom, int showTo,
                 int beacon1, int position, int plate = 0, int left = 0, int right = 0,
                 int cabCode = 0) {
    SignalEntry& e = route.signals[static_cast<std::size_t>(route.signalCount++)];
    e = {mode,   stored,  parameter, lampType, right, cabCode, showFrom,
         showTo, beacon1, position,  plate,    left,  0};
  }
  void addStation(int kind, int stopFrame) {
    StationEntry& e = route.stations[static_cast<std::size_t>(route.stationCount++)];
    e.kind = kind;
    e.stopFrame = stopFrame;
  }
  void addLimit(int limit, int image, int position, int end) {
    route.speedLimits[static_cast<std::size_t>(route.speedLimitCount++)] = {limit,    image, 0,
                                                                            position, end,   0};
  }
  // Derives the distances and the signal tables, as the start of a drive does.
  void prepare() {
    s.brake_rate_first = train.BrakeRate[0];  // as at the start, in EB
    deriveRouteDistances(route);
    prepareSignals(route, drive.signalTables);
  }
  // Puts the train at `frame` with its distance.
  void moveTo(int frame) {
    s.frame = frame;
    s.position_cm = distanceOfFrame(route, frame);
  }
};

}  // namespace velimoro::testing
