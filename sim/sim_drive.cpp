#include "sim/sim_drive.h"

#include "data/route_reader.h"

namespace velimoro {

SimDrive::SimDrive(const DriveSetup& driveSetup, DriveMedia driveMedia)
    : setup(driveSetup), media(std::move(driveMedia)) {}

int routeEndFrame(const SimDrive& drive) {
  if (drive.state.video_end_frame > 0) return drive.state.video_end_frame;
  if (drive.route->movieStopCount > 0) return drive.route->movieStop[0];
  return 0;
}

long double distanceOfFrame(const RouteData& route, int frame) {
  // A frame on the boundary of two segments takes the later segment's distance, as the route's
  // derived distances do.
  long double distance = 0;
  std::int64_t acc = 0;
  for (int i = 0; i < route.frameSpeedCount; ++i) {
    const FrameSpeedEntry& segment = route.frameSpeeds[i];
    if (segment.fromFrame <= frame && frame <= segment.toFrame) {
      distance = static_cast<long double>(segmentDistanceCm(segment, acc, frame));
    }
    acc = segment.endCm;
  }
  return distance;
}

}  // namespace velimoro
