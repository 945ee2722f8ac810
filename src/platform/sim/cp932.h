// The simulated desktop's texts are in code page 932, as the port's are.
#pragma once

#include "platform/cp932.h"

namespace sim {

using platform::isCp932LeadByte;

}  // namespace sim
