// The one code page the simulated desktop knows.
#pragma once

namespace sim {

// A lead byte of a double-byte character in code page 932.
inline bool isCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace sim
