#include "controller/settings.h"

namespace {

constexpr const char* kSection = "SYSTEM";

int32_t readInt(platform::ProfileFiles& profile, const std::string& file, const char* key,
                int32_t defaultValue) {
  return static_cast<int32_t>(profile.getInt(kSection, key, defaultValue, file));
}

}  // namespace

CellSize cellSizeOf(int32_t sizeClass) {
  switch (sizeClass) {
    case Small:
      return {110, 80};
    case Middle:
      return {160, 120};
    case Large:
      return {220, 160};
    default:
      return {0, 0};
  }
}

const char* locationCaption(int32_t location) {
  switch (location) {
    case Top:
      return "上に並べる";
    case Left:
      return "左に並べる";
    case Right:
      return "右に並べる";
    case Bottom:
      return "下に並べる";
    default:
      return "";
  }
}

const char* sizeWord(int32_t sizeClass) {
  switch (sizeClass) {
    case Small:
      return "SMALL";
    case Middle:
      return "MIDDLE";
    case Large:
      return "LARGE";
    default:
      return "";
  }
}

void SettingsRecord::loadSettings(platform::ProfileFiles& profile, const std::string& file) {
  location = readInt(profile, file, "LOCATION", Left);
  size = readInt(profile, file, "SIZE", Middle);
  updateThumbSize();
  leftMargin = readInt(profile, file, "LEFTMARGIN", 20);
  topMargin = readInt(profile, file, "TOPMARGIN", 10);
  rightMargin = readInt(profile, file, "RIGHTMARGIN", 10);
  bottomMargin = readInt(profile, file, "BOTTOMMARGIN", 30);
  transparent = readInt(profile, file, "TRANSPARENT", 60);
  limit = readInt(profile, file, "LIMIT", 16);
  updateInterval = 5;
  frame = readInt(profile, file, "FRAME", 0);
  hvHotKey = readInt(profile, file, "HVHOTKEY", hvHotKey);
  hvModifiers = readInt(profile, file, "HVMODIFIERS", hvModifiers);
}

void SettingsRecord::saveSettings(platform::ProfileFiles& profile, const std::string& file) const {
  const std::pair<const char*, int32_t> keys[] = {
      {"LOCATION", location},       {"SIZE", size},           {"LEFTMARGIN", leftMargin},
      {"TOPMARGIN", topMargin},     {"RIGHTMARGIN", rightMargin},
      {"BOTTOMMARGIN", bottomMargin}, {"TRANSPARENT", transparent}, {"LIMIT", limit},
      {"FRAME", frame},             {"HVHOTKEY", hvHotKey},   {"HVMODIFIERS", hvModifiers},
  };
  for (const auto& [key, value] : keys) {
    profile.writeString(kSection, key, std::to_string(value), file);
  }
}

void SettingsRecord::updateThumbSize() {
  CellSize cell = cellSizeOf(size);
  if (cell.width == 0) {
    if (thumbWidth > 0 && thumbHeight > 0) return;
    cell = cellSizeOf(Middle);
  }
  thumbWidth = cell.width;
  thumbHeight = cell.height;
}

uint8_t SettingsRecord::opacityByte() const {
  // Wide arithmetic: a damaged TRANSPARENT must not overflow; in-range values are unchanged.
  return static_cast<uint8_t>(static_cast<int64_t>(transparent) * 255 / 100);
}
