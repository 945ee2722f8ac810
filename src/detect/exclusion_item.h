// One exclusion rule.
#pragma once

#include <cstdint>
#include <string>

struct ExclusionItem {
  int32_t titleFlag = 0;     // title test on when exactly 1
  int32_t pnameFlag = 0;     // process test on when exactly 1
  std::string title;         // a whole window title
  std::string pname;         // an executable base name
  int32_t fullNameFlag = 0;  // exactly 1: compare the whole title; otherwise look for tpart
  std::string tpart;         // part of a title
  friend bool operator==(const ExclusionItem&, const ExclusionItem&) = default;
};
