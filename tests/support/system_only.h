// The system's fake alone, on the clock and the folders it stands on: for code that needs only
// the system (the program's folder, its version resource, the log's console).
#pragma once

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_system.h"

namespace support {

struct SystemOnly {
  sim::SimClock clock;
  sim::SimFileSystem files;
  sim::SimSystem system{clock, files};
};

}  // namespace support
