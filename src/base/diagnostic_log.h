// The diagnostic log: printf-style lines on standard output, without time stamp or prefix.
// Start-up points standard output at a console (debug mode) or at the null device.
#pragma once

#include "platform/system.h"

namespace diag {

// Lines go to this system's standard output; with none attached they are dropped.
void attach(platform::System* system);

void print(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace diag
