// The grid of cells along the chosen screen edge, in the order the previews fill it.
#pragma once

#include <vector>

#include "platform/types.h"
#include "settings/settings.h"

// Slot rectangles for the settings' edge, cell size and margins on screen `screen`, first
// cell first. The first cell is always there, even when it does not fit; a size without area
// or an unknown edge gives none. Sizes and margins are in 96-dpi units: the cells are laid
// out in pixels of a monitor at `dpi`, so the previews keep their size on the glass.
std::vector<platform::Rect> buildSlots(const SettingsRecord& settings, const platform::Rect& screen,
                                       uint32_t dpi = platform::USER_DEFAULT_SCREEN_DPI);

// More cells than this are never laid out: absurd margins must not exhaust memory.
constexpr size_t kMaxSlots = 4096;
