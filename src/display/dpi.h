// Measures in 96-dpi units, as the settings and the dialogs give them, made into pixels of a
// monitor at another DPI.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace dpi {

// `value` at 96 dpi, in pixels at `dpi`, rounded half away from zero as MulDiv rounds.
constexpr int64_t scale(int64_t value, uint32_t dpi) {
  const int64_t product = value * dpi;
  const int64_t half = platform::USER_DEFAULT_SCREEN_DPI / 2;
  return (product + (product < 0 ? -half : half)) / platform::USER_DEFAULT_SCREEN_DPI;
}

}  // namespace dpi
