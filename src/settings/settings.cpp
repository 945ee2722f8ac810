#include "settings/settings.h"

#include "base/diagnostic_log.h"
#include "base/replace_file.h"
#include "text/profile_text.h"

namespace {

constexpr const char* kSection = "SYSTEM";

// A key's value when it lies in [low, high] (the property dialog's range), else the default.
int32_t readInt(platform::ProfileFiles& profile, const std::string& file, const char* key,
                int32_t defaultValue, int32_t low, int32_t high) {
  const auto value = static_cast<int32_t>(profile.getInt(kSection, key, defaultValue, file));
  if (value >= low && value <= high) return value;
  diag::print("%s: %s=%d is outside %d..%d; %d is used\n", kSettingsFileName, key, value, low, high,
              defaultValue);
  return defaultValue;
}

// What the hot-key field can hold: a key that is not itself a modifier, with modifiers within
// MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN.
bool isHotKey(int32_t key, int32_t modifiers) {
  const bool modifierKey = (key >= 0x10 && key <= 0x12) || (key >= 0xA0 && key <= 0xA5) ||
                           key == 0x5B || key == 0x5C || key == 0x5D;
  return key >= 0x01 && key <= 0xFE && !modifierKey && modifiers >= 0 && modifiers <= 0xF;
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
  location = readInt(profile, file, "LOCATION", Left, Top, Bottom);
  size = readInt(profile, file, "SIZE", Middle, Small, Large);
  updateThumbSize();
  leftMargin = readInt(profile, file, "LEFTMARGIN", 20, 0, 200);
  topMargin = readInt(profile, file, "TOPMARGIN", 10, 0, 100);
  rightMargin = readInt(profile, file, "RIGHTMARGIN", 10, 0, 200);
  bottomMargin = readInt(profile, file, "BOTTOMMARGIN", 30, 0, 100);
  transparent = readInt(profile, file, "TRANSPARENT", 60, 20, 100);
  limit = readInt(profile, file, "LIMIT", 16, 1, 50);
  updateInterval = 5;
  frame = readInt(profile, file, "FRAME", 0, 0, 1);
  const auto key = static_cast<int32_t>(profile.getInt(kSection, "HVHOTKEY", hvHotKey, file));
  const auto modifiers =
      static_cast<int32_t>(profile.getInt(kSection, "HVMODIFIERS", hvModifiers, file));
  if (isHotKey(key, modifiers)) {
    hvHotKey = key;
    hvModifiers = modifiers;
  } else {
    diag::print("%s: HVHOTKEY=%d HVMODIFIERS=%d is no hot-key; %d and %d are used\n",
                kSettingsFileName, key, modifiers, hvHotKey, hvModifiers);
  }
}

bool SettingsRecord::saveSettings(const SettingsFilePorts& platform, const std::string& file) const {
  const platform::FileContents old = platform.files.read(file);
  if (old.status == platform::FileContents::Status::Unreadable) {
    diag::print("%s cannot be read; the settings are not saved\n", file.c_str());
    return false;
  }
  text::ProfileText text(old.bytes, [&](unsigned char b) { return platform.system.isLeadByte(b); });
  const std::pair<const char*, int32_t> keys[] = {
      {"LOCATION", location},       {"SIZE", size},           {"LEFTMARGIN", leftMargin},
      {"TOPMARGIN", topMargin},     {"RIGHTMARGIN", rightMargin},
      {"BOTTOMMARGIN", bottomMargin}, {"TRANSPARENT", transparent}, {"LIMIT", limit},
      {"FRAME", frame},             {"HVHOTKEY", hvHotKey},   {"HVMODIFIERS", hvModifiers},
  };
  bool changed = false;
  for (const auto& [key, value] : keys) {
    changed = text.setValue(text::asciiUnits(kSection), text::asciiUnits(key),
                            text::asciiUnits(std::to_string(value))) ||
              changed;
  }
  if (!changed) return true;  // as the profile functions do: an unchanged file is not touched
  if (!replaceFile(platform.files, file, text.bytes())) {
    diag::print("%s could not be written; the settings are not saved\n", file.c_str());
    return false;
  }
  return true;
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
