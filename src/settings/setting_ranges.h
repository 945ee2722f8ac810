// What each display setting may hold, stated once: the range its dialog field offers and the
// value a missing key gives. The loader, the dialogs and the hover-key check all read these.
#pragma once

#include <cstdint>

#include "platform/types.h"

enum Location : int32_t { Top = 0, Left = 1, Right = 2, Bottom = 3 };
enum SizeClass : int32_t { Small = 0, Middle = 1, Large = 2 };

struct SettingRange {
  int32_t lowest;
  int32_t highest;
  int32_t initial;  // what a missing key gives
};

namespace setting {

inline constexpr SettingRange kLocation{Top, Bottom, Left};
inline constexpr SettingRange kSize{Small, Large, Middle};
inline constexpr SettingRange kTopMargin{0, 100, 10};
inline constexpr SettingRange kLeftMargin{0, 200, 20};
inline constexpr SettingRange kRightMargin{0, 200, 10};
inline constexpr SettingRange kBottomMargin{0, 100, 30};
inline constexpr SettingRange kTransparent{20, 100, 60};  // percent
// Beyond the dialog's 50 a limit is still used as written; only below 1 is there no preview.
inline constexpr SettingRange kLimit{1, 50, 16};
inline constexpr SettingRange kFrame{0, 1, 0};
// A browser page's reload interval in seconds (not in the file: one per preview).
inline constexpr SettingRange kReloadInterval{10, 1800, 30};

// The hover key: Windows key + W.
inline constexpr int32_t kHoverKey = 'W';
inline constexpr int32_t kHoverModifiers = static_cast<int32_t>(platform::MOD_WIN);
// Every modifier RegisterHotKey form can hold.
inline constexpr int32_t kAllModifiers = static_cast<int32_t>(
    platform::MOD_ALT | platform::MOD_CONTROL | platform::MOD_SHIFT | platform::MOD_WIN);

}  // namespace setting
