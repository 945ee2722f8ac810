// The browsers known by their executable's exact name, as the process list gives it: web
// reload reaches their page windows, and a kept one is restored when its preview goes.
#pragma once

#include <string_view>

namespace browsers {

constexpr std::string_view kExplorer = "iexplore.exe";
constexpr std::string_view kFirefox = "firefox.exe";
constexpr std::string_view kChrome = "chrome.exe";

}  // namespace browsers
