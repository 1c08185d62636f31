#pragma once

#include "cab/drive.h"
#include "cab/script.h"

namespace velimoro {

/// The commands of the cab's small windows, checked already: the train settings' "ats on|off"
/// and "engine start|run|stop" and "crewchange N", the value display's "speedunits" and
/// "stopsound N". False when
/// `command` is none of them.
bool executeWindowCommand(Drive& drive, const ScriptCommand& command);

/// The value display's reload of the filming-speed table from the route file, with the distances
/// and signal tables derived again. A table that does not derive is said and the old one kept.
void reloadSpeedUnits(Drive& drive);

}  // namespace velimoro
