#pragma once

#include "cab/drive.h"

namespace velimoro {

/// One 100 ms simulation tick of the drive, its steps in their fixed order: the models of the
/// simulation, with the panel and the sounds following them.
void simulationTick(Drive& drive);

}  // namespace velimoro
