// Code page 932: the encoding of every text that passes through the port.
#pragma once

namespace platform {

// A lead byte of a double-byte character.
inline bool isCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace platform
