#include "cab/window_commands.h"

#include <memory>

#include "data/data_error.h"
#include "data/frame_speed_reload.h"
#include "data/paths.h"
#include "data/route_reader.h"
#include "sim/diesel.h"
#include "sim/signal_tables.h"

namespace velimoro {

void reloadSpeedUnits(Drive& drive) {
  // The new table is derived on a copy, so that a table that does not derive leaves the drive on
  // the old one.
  auto route = std::make_unique<RouteData>(*drive.route);
  if (!reloadFrameSpeeds(resolvePath(drive.setup.root, drive.setup.routeFile), *route)) return;
  SignalTables tables;
  try {
    deriveRouteDistances(*route);
    prepareSignals(*route, tables);
  } catch (const DataError& e) {
    drive.media.messages.show(e.what());
    return;
  }
  *drive.route = std::move(*route);
  drive.signalTables = std::move(tables);
}

bool executeWindowCommand(Drive& drive, const ScriptCommand& command) {
  const std::string& arg = command.args.empty() ? std::string() : command.args[0];
  if (command.name == "ats") {
    // Switching the protection on leaves the beginner mode; switching it off keeps the setting.
    if (arg == "on") {
      drive.setup.settings.ats = 0;
      setBeginnerMode(drive.state, false);
    } else {
      drive.state.ats_active = false;
      drive.state.lamp_ats1 = false;
    }
  } else if (command.name == "engine") {
    if (arg == "start") startEngine(drive);
    if (arg == "run") runEngine(drive);
    if (arg == "stop") stopEngine(drive);
  } else if (command.name == "speedunits") {
    reloadSpeedUnits(drive);
  } else if (command.name == "crewchange") {
    // A station the route does not have is no station.
    const int station = std::stoi(arg);
    drive.setup.settings.crewChangeStation =
        station >= 0 && station < drive.route->stationCount ? station : -1;
  } else if (command.name == "stopsound") {
    drive.media.sound.stop(std::stoi(arg));
  } else {
    return false;
  }
  return true;
}

}  // namespace velimoro
