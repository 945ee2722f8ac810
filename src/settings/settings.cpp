#include "settings/settings.h"

#include "base/diagnostic_log.h"
#include "base/replace_file.h"
#include "text/profile_text.h"

namespace {

constexpr const char* kSection = "SYSTEM";

// What the hot-key field can hold: a key that is not itself a modifier (the application key
// counts as a Windows key), with modifiers within setting::kAllModifiers.
bool isHotKey(int32_t key, int32_t modifiers) {
  using namespace platform;
  const bool modifierKey = (key >= VK_SHIFT && key <= VK_MENU) ||
                           (key >= VK_LSHIFT && key <= VK_RMENU) || key == VK_LWIN ||
                           key == VK_RWIN || key == VK_APPS;
  return key >= 0x01 && key <= 0xFE && !modifierKey && modifiers >= 0 &&
         (modifiers & ~setting::kAllModifiers) == 0;
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

void SettingsRecord::loadSettings(const SettingsFilePorts& platform, const std::string& file) {
  standIns_.clear();
  // One read of the whole file; each key is then taken as GetPrivateProfileIntA would take it.
  // A file that cannot be read gives every default, as the profile functions do.
  const platform::FileContents contents = platform.files.read(file);
  if (contents.status == platform::FileContents::Status::Unreadable) {
    diag::print("%s cannot be read; the default settings are used\n", file.c_str());
  }
  const text::ProfileText text(contents.bytes,
                               [&](unsigned char b) { return platform.system.isLeadByte(b); });
  auto readInt = [&](const char* key, int32_t defaultValue) {
    return static_cast<int32_t>(text::profileInt(
        text.storedValue(text::asciiUnits(kSection), text::asciiUnits(key)), defaultValue));
  };
  // A value without which there is no grid or no preview: its default, for this run only.
  auto usable = [&](int32_t SettingsRecord::*field, const char* key, int32_t value, int32_t low,
                    int32_t high) {
    const int32_t fallback = SettingsRecord{}.*field;
    if (value >= low && value <= high) {
      this->*field = value;
      return;
    }
    if (high == INT32_MAX) {
      diag::print("%s: %s=%d is below %d; %d is used\n", kSettingsFileName, key, value, low,
                  fallback);
    } else {
      diag::print("%s: %s=%d is outside %d..%d; %d is used\n", kSettingsFileName, key, value, low,
                  high, fallback);
    }
    this->*field = fallback;
    standIns_.push_back({field, fallback});
  };
  using namespace setting;
  // The tables' ends: an edge or a size outside them has no cell to lay out.
  usable(&SettingsRecord::location, "LOCATION", readInt("LOCATION", kLocation.initial),
         kLocation.lowest, kLocation.highest);
  usable(&SettingsRecord::size, "SIZE", readInt("SIZE", kSize.initial), kSize.lowest,
         kSize.highest);
  updateThumbSize();
  leftMargin = readInt("LEFTMARGIN", kLeftMargin.initial);
  topMargin = readInt("TOPMARGIN", kTopMargin.initial);
  rightMargin = readInt("RIGHTMARGIN", kRightMargin.initial);
  bottomMargin = readInt("BOTTOMMARGIN", kBottomMargin.initial);
  transparent = readInt("TRANSPARENT", kTransparent.initial);
  usable(&SettingsRecord::limit, "LIMIT", readInt("LIMIT", kLimit.initial), kLimit.lowest,
         INT32_MAX);
  updateInterval = 5;
  frame = readInt("FRAME", kFrame.initial);
  const int32_t key = readInt("HVHOTKEY", hvHotKey);
  const int32_t modifiers = readInt("HVMODIFIERS", hvModifiers);
  if (isHotKey(key, modifiers)) {
    hvHotKey = key;
    hvModifiers = modifiers;
  } else {
    diag::print("%s: HVHOTKEY=%d HVMODIFIERS=%d is no hot-key; %d and %d are used\n",
                kSettingsFileName, key, modifiers, hvHotKey, hvModifiers);
    standIns_.push_back({&SettingsRecord::hvHotKey, hvHotKey});
    standIns_.push_back({&SettingsRecord::hvModifiers, hvModifiers});
  }
}

bool SettingsRecord::standsIn(int32_t SettingsRecord::*field) const {
  for (const StandIn& standIn : standIns_) {
    if (standIn.field == field) return this->*field == standIn.value;
  }
  return false;
}

bool SettingsRecord::saveSettings(const SettingsFilePorts& platform, const std::string& file) {
  const platform::FileContents old = platform.files.read(file);
  if (old.status == platform::FileContents::Status::Unreadable) {
    diag::print("%s cannot be read; the settings are not saved\n", file.c_str());
    return false;
  }
  text::ProfileText text(old.bytes, [&](unsigned char b) { return platform.system.isLeadByte(b); });
  using Field = int32_t SettingsRecord::*;
  const std::pair<const char*, Field> keys[] = {
      {"LOCATION", &SettingsRecord::location},
      {"SIZE", &SettingsRecord::size},
      {"LEFTMARGIN", &SettingsRecord::leftMargin},
      {"TOPMARGIN", &SettingsRecord::topMargin},
      {"RIGHTMARGIN", &SettingsRecord::rightMargin},
      {"BOTTOMMARGIN", &SettingsRecord::bottomMargin},
      {"TRANSPARENT", &SettingsRecord::transparent},
      {"LIMIT", &SettingsRecord::limit},
      {"FRAME", &SettingsRecord::frame},
      {"HVHOTKEY", &SettingsRecord::hvHotKey},
      {"HVMODIFIERS", &SettingsRecord::hvModifiers},
  };
  // The hot-key's two keys go together: half of a new pair beside half of an old one could
  // be no hot-key.
  const bool keepHotKey =
      standsIn(&SettingsRecord::hvHotKey) && standsIn(&SettingsRecord::hvModifiers);
  bool changed = false;
  for (const auto& [key, field] : keys) {
    const bool hotKeyField =
        field == &SettingsRecord::hvHotKey || field == &SettingsRecord::hvModifiers;
    if (hotKeyField ? keepHotKey : standsIn(field)) continue;  // the file keeps the user's value
    changed = text.setValue(text::asciiUnits(kSection), text::asciiUnits(key),
                            text::asciiUnits(std::to_string(this->*field))) ||
              changed;
  }
  // A stand-in the user replaced is a choice from now on, whatever it is later set to.
  std::erase_if(standIns_, [&](const StandIn& s) {
    const bool hotKeyField =
        s.field == &SettingsRecord::hvHotKey || s.field == &SettingsRecord::hvModifiers;
    return hotKeyField ? !keepHotKey : this->*s.field != s.value;
  });
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
