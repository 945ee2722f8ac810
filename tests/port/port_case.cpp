#include "port_case.h"

namespace port_test {

std::vector<Case>& cases() {
  static std::vector<Case> all;
  return all;
}

std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

}  // namespace port_test
