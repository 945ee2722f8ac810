// The display settings record and its file "QuillmoorForTundra.ini", section SYSTEM.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/setting_ranges.h"

// What reading and saving the settings need: the file, and the lead bytes of the system's code
// page.
struct SettingsFilePorts {
  SettingsFilePorts(platform::Files& f, platform::System& s) : files(f), system(s) {}
  SettingsFilePorts(
      const platform::Platform& p)  // NOLINT: implicit, so a caller passes its platform
      : SettingsFilePorts(p.files, p.system) {}
  platform::Files& files;
  platform::System& system;
};

struct SettingsRecord {
  // Persistent, in declaration order.
  int32_t location = setting::kLocation.initial;
  int32_t size = setting::kSize.initial;
  int32_t topMargin = setting::kTopMargin.initial;
  int32_t leftMargin = setting::kLeftMargin.initial;
  int32_t rightMargin = setting::kRightMargin.initial;
  int32_t bottomMargin = setting::kBottomMargin.initial;
  int32_t transparent = setting::kTransparent.initial;  // percent
  int32_t limit = setting::kLimit.initial;
  int32_t frame = setting::kFrame.initial;
  int32_t hvHotKey = setting::kHoverKey;
  int32_t hvModifiers = setting::kHoverModifiers;
  // Derived.
  int32_t thumbWidth = 0;
  int32_t thumbHeight = 0;
  int32_t updateInterval = 5;

  // Reads the file once; missing keys give the defaults (the hot-key's default is what the
  // record holds now). Every value is used as written, beyond the dialogs' ranges too, but
  // one the program cannot work with (an edge or size outside its table, a limit below 1, a
  // pair that is no hot-key): its default stands in for this run, with a log line.
  void loadSettings(const SettingsFilePorts& platform, const std::string& file);
  // Sets the eleven keys in section SYSTEM, keeping the rest of the file as it was; a key
  // whose default still stands in keeps what the file holds. The file is replaced whole where
  // a copy can be made beside it, else written in place; false (and logged) when it could not
  // be read or written.
  bool saveSettings(const SettingsFilePorts& platform, const std::string& file);
  // Cell size from `size`. A size outside the table keeps the cell it had, or, while there
  // is none yet, takes the middle one: the arrangement needs a positive cell to end.
  void updateThumbSize();
  // TRANSPARENT * 255 / 100 kept in a byte.
  uint8_t opacityByte() const;

 private:
  // A default standing in for a value of the file that cannot be used. Once the field holds
  // anything else, the user chose it, and it is saved.
  struct StandIn {
    int32_t SettingsRecord::*field;
    int32_t value;
  };
  bool standsIn(int32_t SettingsRecord::*field) const;
  std::vector<StandIn> standIns_;
};

// Cell size of a size class; 0 x 0 for a value outside the table.
struct CellSize {
  int32_t width;
  int32_t height;
};
CellSize cellSizeOf(int32_t sizeClass);

// Caption of a location and word of a size class; empty outside their tables.
const char* locationCaption(int32_t location);
const char* sizeWord(int32_t sizeClass);

constexpr const char* kSettingsFileName = "QuillmoorForTundra.ini";
