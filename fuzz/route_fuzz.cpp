// The route data file, read as the checker reads it (every fault noted, never thrown: the drive's
// reading stops at the first of those faults), its distances derived, the Move menu and every
// start point worked out.
#include "data/data_error.h"
#include "data/route_reader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  fuzz::writeScratch("route.dat", data, size);
  fuzz::AnyPictureLoader pictures;
  const fuzz::Fixture<RouteData> fixture;
  RouteData& route = *fixture;
  PictureLists lists;
  ReadLog log;
  readRouteFile(fuzz::scratchRoot(), "route.dat", route, pictures, lists, &log);
  try {
    deriveRouteDistances(route);
    for (const MoveMenuEntry& entry : moveMenuEntries(route))
      routeStartPoint(route, entry.station);
    routeStartPoint(route, 0);
  } catch (const DataError&) {
  }
  return 0;
}
