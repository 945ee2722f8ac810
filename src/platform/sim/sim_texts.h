// How the simulated desktop writes handles and rectangles into its recorded actions, and the
// case-blind comparison of class names, shared by its fakes.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "platform/types.h"

namespace sim {

inline std::string handleText(platform::Hwnd window) {
  char text[24];
  snprintf(text, sizeof text, "h%x", window.value);
  return text;
}

inline std::string rectText(const platform::Rect& r) {
  char text[64];
  snprintf(text, sizeof text, "%d,%d,%d,%d", r.left, r.top, r.right, r.bottom);
  return text;
}

inline bool sameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace sim
