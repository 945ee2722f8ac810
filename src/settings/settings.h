// The display settings record and its file "QuillmoorForTundra.ini", section SYSTEM.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

enum Location : int32_t { Top = 0, Left = 1, Right = 2, Bottom = 3 };
enum SizeClass : int32_t { Small = 0, Middle = 1, Large = 2 };

// What saving the settings needs: the file, and the lead bytes of the system's code page.
struct SettingsFilePorts {
  SettingsFilePorts(platform::Files& f, platform::System& s) : files(f), system(s) {}
  SettingsFilePorts(const platform::Platform& p)  // NOLINT: implicit, so a caller passes its platform
      : SettingsFilePorts(p.files, p.system) {}
  platform::Files& files;
  platform::System& system;
};

struct SettingsRecord {
  // Persistent, in declaration order.
  int32_t location = Left;
  int32_t size = Middle;
  int32_t topMargin = 10;
  int32_t leftMargin = 20;
  int32_t rightMargin = 10;
  int32_t bottomMargin = 30;
  int32_t transparent = 60;  // percent
  int32_t limit = 16;
  int32_t frame = 0;
  int32_t hvHotKey = 87;    // 'W'
  int32_t hvModifiers = 8;  // MOD_WIN
  // Derived.
  int32_t thumbWidth = 0;
  int32_t thumbHeight = 0;
  int32_t updateInterval = 5;

  // Reads the file; missing keys give the defaults (the hot-key's default is what the
  // record holds now). A value the property dialog could not give takes its default too,
  // with a log line; the file itself is left as it is.
  void loadSettings(platform::ProfileFiles& profile, const std::string& file);
  // Sets the eleven keys in section SYSTEM, keeping the rest of the file as it was. The file
  // is replaced whole, so it is the old one or the new one, never a part; false (and logged)
  // when it could not be read or written.
  bool saveSettings(const SettingsFilePorts& platform, const std::string& file) const;
  // Cell size from `size`. A size outside the table keeps the cell it had, or, while there
  // is none yet, takes the middle one: the arrangement needs a positive cell to end.
  void updateThumbSize();
  // TRANSPARENT * 255 / 100 kept in a byte.
  uint8_t opacityByte() const;
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
