// "Ver.:" and the ProductVersion of the executable's own version resource.
#pragma once

#include <string>

#include "platform/system.h"

class VersionString {
 public:
  explicit VersionString(platform::System& system) : system_(system) {}
  // The text, computed once; empty (and tried again next time) without a version resource.
  std::string getVersionString();

 private:
  platform::System& system_;
  std::string text_;
  bool computed_ = false;
};
