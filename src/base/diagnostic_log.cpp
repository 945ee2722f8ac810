#include "base/diagnostic_log.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace diag {

namespace {
platform::System* output = nullptr;
}

void attach(platform::System* system) {
  output = system;
}

void print(const char* format, ...) {
  if (output == nullptr) return;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  char small[512];
  int length = vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) {
    va_end(copy);
    return;
  }
  if (static_cast<size_t>(length) < sizeof small) {
    va_end(copy);
    output->writeStdout(std::string(small, static_cast<size_t>(length)));
    return;
  }
  std::vector<char> large(static_cast<size_t>(length) + 1);
  vsnprintf(large.data(), large.size(), format, copy);
  va_end(copy);
  output->writeStdout(std::string(large.data(), static_cast<size_t>(length)));
}

}  // namespace diag
