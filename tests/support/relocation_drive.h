#pragma once

#include "cab/drive.h"
#include "present/screen_pass.h"
#include "support/test_support.h"

namespace velimoro::testing {

/// A drive on a small hand-made route for putting the train down elsewhere: stations A (stop,
/// frame 100, 100 m), B (passing, frame 500, 500 m), C (stop, frame 1000, 1000 m) and D (the end,
/// frame 2000, 2000 m); arrival announcements of 7 s and departure announcements of 11 s;
/// crossings over frames 100-150, 60-100 and 90-200; a signal in view over frames 900-1100; a
/// preceding train leaving A at 29000 and C at 59000; a video filmed at 108 km/h, a metre a
/// frame, over frames 0-3000. The train has 8 brake positions and a top speed of 120 km/h.
struct RelocationDrive {
  RecordingSound sound;
  RecordingPictures pictures;
  RecordingMessages messages;
  Drive drive{{}, DriveMedia{sound, pictures, messages, nullptr}};
  ScreenPass pass;
  SimState& s = drive.state;

  RelocationDrive() {
    drive.setup.routeFile = "routes/line_test.dat";
    drive.train->Brake = 8;
    drive.train->MaxSpeed = 120;
    RouteData& r = *drive.route;
    r.lineName = "Test line";
    r.lineName2 = "普通";
    r.startPos = 50;
    r.soundDataCount = 3;
    r.soundLength = {5, 7, 11};
    const auto station = [&](const char* name, int kind, int frame, int departTime) {
      StationEntry& e = r.stations[static_cast<std::size_t>(r.stationCount++)];
      e.name = name;
      e.kind = kind;
      e.stopFrame = frame;
      e.stopCm = std::int64_t{frame} * 100;
      e.stopMinCm = e.stopCm - 500;
      e.stopMaxCm = e.stopCm + 500;
      e.departTime = departTime;
      e.departSound1 = 1;
      e.departSound2 = 2;
    };
    station("A", 0, 100, 30000);
    station("B", 1, 500, 0);
    station("C", 0, 1000, 60000);
    station("D", 0, 2000, 90000);
    r.crossings[0] = {0, 0, 100, 150, 0};
    r.crossings[1] = {0, 0, 60, 100, 0};
    r.crossings[2] = {0, 0, 90, 200, 0};
    r.crossingCount = 3;
    r.signals[0].showFrom = 900;
    r.signals[0].showTo = 1100;
    r.signalCount = 1;
    r.preTrains[0] = {0, 60, 29000};
    r.preTrains[1] = {2, 60, 59000};
    r.preTrainCount = 2;
    r.frameSpeeds[0] = {0, 3000, 108, 108, 300000};
    r.frameSpeedCount = 1;
  }
};

}  // namespace velimoro::testing
