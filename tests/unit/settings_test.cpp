#include "settings/settings.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"
#include "support/log_capture.h"
#include "support/program_run.h"

namespace {

const std::string kFile = "C:\\Programs\\Quillmoor\\QuillmoorForTundra.ini";

class SettingsTest : public ::testing::Test {
 protected:
  SettingsRecord load(const std::string& content) {
    desk->files.writeFile(kFile, content);
    SettingsRecord record;
    record.loadSettings(desk->platform(), kFile);
    return record;
  }
  std::unique_ptr<sim::SimDesktop> desk = sim::SimDesktop::singleMonitor();
};

void expectDefaults(const SettingsRecord& r) {
  EXPECT_EQ(r.location, Left);
  EXPECT_EQ(r.size, Middle);
  EXPECT_EQ(r.thumbWidth, 160);
  EXPECT_EQ(r.thumbHeight, 120);
  EXPECT_EQ(r.topMargin, 10);
  EXPECT_EQ(r.leftMargin, 20);
  EXPECT_EQ(r.rightMargin, 10);
  EXPECT_EQ(r.bottomMargin, 30);
  EXPECT_EQ(r.opacityByte(), 153);
  EXPECT_EQ(r.limit, 16);
  EXPECT_EQ(r.frame, 0);
  EXPECT_EQ(r.hvHotKey, 87);
  EXPECT_EQ(r.hvModifiers, 8);
  EXPECT_EQ(r.updateInterval, 5);
}

}  // namespace

TEST_F(SettingsTest, MissingFileSectionOrKeysGiveTheDefaults) {
  SettingsRecord fromNothing;
  fromNothing.loadSettings(desk->platform(), "C:\\Nowhere\\QuillmoorForTundra.ini");
  expectDefaults(fromNothing);
  expectDefaults(load("[OTHER]\r\nLOCATION=3\r\n"));
  expectDefaults(load(std::string("\0\x01\xff[SYSTEM\r\n\0\0", 11)));
  // A file another program holds: every default, and the log says why.
  desk->files.writeFile(kFile, "[SYSTEM]\r\nLOCATION=3\r\n");
  desk->files.unreadableFiles.insert(kFile);
  LogCapture log(desk->system);
  SettingsRecord held;
  held.loadSettings(desk->platform(), kFile);
  expectDefaults(held);
  EXPECT_EQ(log.text(), kFile + " cannot be read; the default settings are used\n");
}

TEST_F(SettingsTest, ValuesAreReadAsTheProfileFunctionsReadThem) {
  SettingsRecord r = load(
      "[system]\r\nlocation = 3\r\nSIZE=2\r\nTOPMARGIN=abc\r\nLEFTMARGIN=+5\r\n"
      "RIGHTMARGIN=12px\r\nBOTTOMMARGIN=\r\nTRANSPARENT=4294967396\r\nLIMIT=0x10\r\n"
      "FRAME=1\r\nHVHOTKEY=\"65\"\r\nHVMODIFIERS=3\r\n");
  EXPECT_EQ(r.location, Bottom);
  EXPECT_EQ(r.size, Large);
  EXPECT_EQ(r.thumbWidth, 220);
  EXPECT_EQ(r.thumbHeight, 160);
  EXPECT_EQ(r.topMargin, 0);  // not a number: 0, not the default
  EXPECT_EQ(r.leftMargin, 5);
  EXPECT_EQ(r.rightMargin, 12);
  EXPECT_EQ(r.bottomMargin, 30);  // empty: the default
  EXPECT_EQ(r.transparent, 100);  // wraps modulo 2^32
  EXPECT_EQ(r.limit, 16);         // hexadecimal
  EXPECT_EQ(r.frame, 1);
  EXPECT_EQ(r.hvHotKey, 65);
  EXPECT_EQ(r.hvModifiers, 3);
  EXPECT_EQ(support::actionCount(*desk, "file read " + kFile), 1);  // every key from one read
}

TEST_F(SettingsTest, SizeOutsideTheTableStillGivesAUsableCell) {
  for (const char* size : {"3", "-1", "2147483647"}) {
    SettingsRecord r = load(std::string("[SYSTEM]\r\nSIZE=") + size + "\r\n");
    EXPECT_EQ(r.thumbWidth, 160) << size;
    EXPECT_EQ(r.thumbHeight, 120) << size;
    EXPECT_EQ(r.size, Middle) << size;
  }
  // Once a cell exists, a bad size leaves it as it was.
  SettingsRecord r = load("[SYSTEM]\r\nSIZE=0\r\n");
  ASSERT_EQ(r.thumbWidth, 110);
  r.size = 7;
  r.updateThumbSize();
  EXPECT_EQ(r.thumbWidth, 110);
  EXPECT_EQ(r.thumbHeight, 80);
}

TEST_F(SettingsTest, HotKeyDefaultsAreWhatTheRecordHolds) {
  desk->files.writeFile(kFile, "[SYSTEM]\r\nLIMIT=3\r\n");
  SettingsRecord r;
  r.hvHotKey = 0x51;
  r.hvModifiers = 2;
  r.loadSettings(desk->platform(), kFile);
  EXPECT_EQ(r.hvHotKey, 0x51);
  EXPECT_EQ(r.hvModifiers, 2);
}

TEST_F(SettingsTest, OpacityByte) {
  SettingsRecord r;
  auto byteFor = [&](int32_t percent) {
    r.transparent = percent;
    return static_cast<int>(r.opacityByte());
  };
  EXPECT_EQ(byteFor(60), 153);
  EXPECT_EQ(byteFor(100), 255);
  EXPECT_EQ(byteFor(20), 51);
  EXPECT_EQ(byteFor(99), 252);
  EXPECT_EQ(byteFor(1), 2);
  EXPECT_EQ(byteFor(1000), 2550 & 0xFF);
  EXPECT_EQ(byteFor(-10), static_cast<uint8_t>(-25));
  // A damaged value must not overflow the arithmetic.
  EXPECT_EQ(byteFor(INT32_MAX), static_cast<uint8_t>(static_cast<int64_t>(INT32_MAX) * 255 / 100));
}

TEST_F(SettingsTest, SaveWritesAllElevenKeysInOrderAndKeepsOtherSections) {
  SettingsRecord defaults;
  ASSERT_TRUE(defaults.saveSettings(desk->platform(), kFile));
  EXPECT_EQ(*desk->files.readFile(kFile),
            "[SYSTEM]\r\nLOCATION=1\r\nSIZE=1\r\nLEFTMARGIN=20\r\nTOPMARGIN=10\r\n"
            "RIGHTMARGIN=10\r\nBOTTOMMARGIN=30\r\nTRANSPARENT=60\r\nLIMIT=16\r\nFRAME=0\r\n"
            "HVHOTKEY=87\r\nHVMODIFIERS=8\r\n");

  desk->files.writeFile(kFile, "[USER]\r\nNOTE=keep me\r\n[SYSTEM]\r\nTRANSPARENT=60\r\nX=1\r\n");
  SettingsRecord r = load(*desk->files.readFile(kFile));
  r.transparent = 85;
  ASSERT_TRUE(r.saveSettings(desk->platform(), kFile));
  EXPECT_EQ(*desk->files.readFile(kFile),
            "[USER]\r\nNOTE=keep me\r\n[SYSTEM]\r\nTRANSPARENT=85\r\nX=1\r\nLOCATION=1\r\n"
            "SIZE=1\r\nLEFTMARGIN=20\r\nTOPMARGIN=10\r\nRIGHTMARGIN=10\r\nBOTTOMMARGIN=30\r\n"
            "LIMIT=16\r\nFRAME=0\r\nHVHOTKEY=87\r\nHVMODIFIERS=8\r\n");
}

TEST_F(SettingsTest, SaveThenLoadGivesBackTheRecord) {
  SettingsRecord saved;
  saved.location = Top;
  saved.size = Small;
  saved.topMargin = 0;
  saved.leftMargin = 200;
  saved.rightMargin = 3;
  saved.bottomMargin = 100;
  saved.transparent = 20;
  saved.limit = 50;
  saved.frame = 1;
  saved.hvHotKey = 0x70;
  saved.hvModifiers = 6;
  ASSERT_TRUE(saved.saveSettings(desk->platform(), kFile));
  SettingsRecord loaded;
  loaded.loadSettings(desk->platform(), kFile);
  saved.updateThumbSize();
  EXPECT_EQ(
      std::tie(loaded.location, loaded.size, loaded.topMargin, loaded.leftMargin,
               loaded.rightMargin, loaded.bottomMargin, loaded.transparent, loaded.limit,
               loaded.frame, loaded.hvHotKey, loaded.hvModifiers, loaded.thumbWidth,
               loaded.thumbHeight),
      std::tie(saved.location, saved.size, saved.topMargin, saved.leftMargin, saved.rightMargin,
               saved.bottomMargin, saved.transparent, saved.limit, saved.frame, saved.hvHotKey,
               saved.hvModifiers, saved.thumbWidth, saved.thumbHeight));
}

TEST_F(SettingsTest, ValuesAreUsedAsWrittenUnlessTheProgramCannotWorkWithThem) {
  // Beyond what the dialogs offer, but workable: used as written.
  SettingsRecord r = load(
      "[SYSTEM]\r\nTRANSPARENT=10\r\nLIMIT=60\r\nLEFTMARGIN=300\r\nTOPMARGIN=-5\r\n"
      "RIGHTMARGIN=201\r\nBOTTOMMARGIN=101\r\nFRAME=2\r\n");
  EXPECT_EQ(r.opacityByte(), 25);
  EXPECT_EQ(std::tie(r.limit, r.leftMargin, r.topMargin, r.rightMargin, r.bottomMargin, r.frame),
            std::make_tuple(60, 300, -5, 201, 101, 2));

  struct Range {
    const char* key;
    int32_t SettingsRecord::*field;
    int32_t low, high, fallback;
  };
  const Range ranges[] = {
      {"LOCATION", &SettingsRecord::location, 0, 3, 1},
      {"SIZE", &SettingsRecord::size, 0, 2, 1},
      {"LIMIT", &SettingsRecord::limit, 1, INT32_MAX, 16},
      {"HVHOTKEY", &SettingsRecord::hvHotKey, 1, 254, 87},
      {"HVMODIFIERS", &SettingsRecord::hvModifiers, 0, 15, 8},
  };
  for (const Range& r : ranges) {
    auto read = [&](int32_t value) {
      return load("[SYSTEM]\r\n" + std::string(r.key) + "=" + std::to_string(value) + "\r\n").*
             r.field;
    };
    EXPECT_EQ(read(r.low), r.low) << r.key;
    EXPECT_EQ(read(r.high), r.high) << r.key;
    EXPECT_EQ(read(r.low - 1), r.fallback) << r.key;
    if (r.high != INT32_MAX) {
      EXPECT_EQ(read(r.high + 1), r.fallback) << r.key;
    }
  }
  // A modifier key alone is no hot-key.
  EXPECT_EQ(load("[SYSTEM]\r\nHVHOTKEY=16\r\nHVMODIFIERS=2\r\n").hvModifiers, 8);

  LogCapture log(desk->system);
  const std::string outside = "[SYSTEM]\r\nLOCATION=7\r\nHVMODIFIERS=16\r\nLIMIT=0\r\n";
  expectDefaults(load(outside));
  EXPECT_EQ(*desk->files.readFile(kFile), outside);  // left for the user's next save
  EXPECT_EQ(
      log.text(),
      "QuillmoorForTundra.ini: LOCATION=7 is outside 0..3; 1 is used\n"
      "QuillmoorForTundra.ini: LIMIT=0 is below 1; 16 is used\n"
      "QuillmoorForTundra.ini: HVHOTKEY=87 HVMODIFIERS=16 is no hot-key; 87 and 8 are used\n");
}

TEST_F(SettingsTest, ASaveKeepsTheValuesThatStoodInForTheFilesUntilTheyAreChanged) {
  const std::string before =
      "[SYSTEM]\r\nLOCATION=7\r\nSIZE=5\r\nLIMIT=-2\r\nHVHOTKEY=0\r\nHVMODIFIERS=8\r\n"
      "TRANSPARENT=10\r\n";
  SettingsRecord r = load(before);
  r.transparent = 30;  // another key is saved
  ASSERT_TRUE(r.saveSettings(desk->platform(), kFile));
  EXPECT_EQ(*desk->files.readFile(kFile),
            "[SYSTEM]\r\nLOCATION=7\r\nSIZE=5\r\nLIMIT=-2\r\nHVHOTKEY=0\r\nHVMODIFIERS=8\r\n"
            "TRANSPARENT=30\r\nLEFTMARGIN=20\r\nTOPMARGIN=10\r\nRIGHTMARGIN=10\r\n"
            "BOTTOMMARGIN=30\r\nFRAME=0\r\n");
  // Chosen values are written, the hot-key's two keys together; a choice stays a choice,
  // also when it is later set back to what stood in.
  r.location = Top;
  r.hvHotKey = 'Q';
  r.limit = 4;
  ASSERT_TRUE(r.saveSettings(desk->platform(), kFile));
  r.location = Left;
  ASSERT_TRUE(r.saveSettings(desk->platform(), kFile));
  SettingsRecord again = load(*desk->files.readFile(kFile));
  EXPECT_EQ(std::tie(again.location, again.size, again.limit, again.hvHotKey, again.hvModifiers),
            std::make_tuple(Left, Middle, 4, 'Q', 8));
  EXPECT_NE(desk->files.readFile(kFile)->find("SIZE=5\r\n"), std::string::npos);
}

TEST_F(SettingsTest, AFailedSaveLeavesTheOldFileWholeAndIsLogged) {
  LogCapture log(desk->system);
  const std::string before =
      "[USER]\r\nNOTE=" + std::string(200, 'n') + "\r\n[SYSTEM]\r\nLIMIT=3\r\n";
  desk->files.writeFile(kFile, before);
  SettingsRecord r = load(before);
  r.limit = 9;
  desk->files.writeBudget = 100;  // the disk fills up part-way through the new file
  EXPECT_FALSE(r.saveSettings(desk->platform(), kFile));
  EXPECT_EQ(*desk->files.readFile(kFile), before);
  EXPECT_FALSE(desk->files.exists(kFile + ".new"));
  EXPECT_NE(log.text().find(kFile + " could not be written; the settings are not saved\n"),
            std::string::npos);

  desk->files.writeBudget = -1;
  desk->files.unreadableFiles.insert(kFile);  // held by another program: never written over
  EXPECT_FALSE(r.saveSettings(desk->platform(), kFile));
  EXPECT_EQ(*desk->files.readFile(kFile), before);
  EXPECT_NE(log.text().find(kFile + " cannot be read; the settings are not saved\n"),
            std::string::npos);

  desk->files.unreadableFiles.clear();
  desk->files.lockedFiles.insert(kFile);  // read, written and replaced by nobody else meanwhile
  EXPECT_FALSE(r.saveSettings(desk->platform(), kFile));
  desk->files.lockedFiles.clear();
  EXPECT_EQ(*desk->files.readFile(kFile), before);

  desk->actions.clear();
  EXPECT_TRUE(r.saveSettings(desk->platform(), kFile));
  EXPECT_NE(desk->files.readFile(kFile)->find("[SYSTEM]\r\nLIMIT=9\r\n"), std::string::npos);
  // Written beside the file and moved over it.
  EXPECT_EQ(desk->actions,
            (std::vector<std::string>{"file read " + kFile, "file create " + kFile + ".new",
                                      "file replace " + kFile + ".new -> " + kFile}));

  // Where no file can be created, the file itself is written.
  desk->files.closedFolders.insert("C:\\Programs\\Quillmoor");
  desk->actions.clear();
  r.limit = 12;
  EXPECT_TRUE(r.saveSettings(desk->platform(), kFile));
  EXPECT_NE(desk->files.readFile(kFile)->find("[SYSTEM]\r\nLIMIT=12\r\n"), std::string::npos);
  EXPECT_EQ(desk->actions,
            (std::vector<std::string>{"file read " + kFile, "file create " + kFile + ".new",
                                      "file create " + kFile}));
}

TEST(SettingsTables, CaptionsAndWords) {
  EXPECT_STREQ(locationCaption(Top), "上に並べる");
  EXPECT_STREQ(locationCaption(Bottom), "下に並べる");
  EXPECT_STREQ(locationCaption(4), "");
  EXPECT_STREQ(sizeWord(Large), "LARGE");
  EXPECT_STREQ(sizeWord(-1), "");
}
