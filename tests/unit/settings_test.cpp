#include "controller/settings.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"

namespace {

const std::string kFile = "C:\\Programs\\Quillmoor\\QuillmoorForTundra.ini";

class SettingsTest : public ::testing::Test {
 protected:
  SettingsRecord load(const std::string& content) {
    desk->files.writeFile(kFile, content);
    SettingsRecord record;
    record.loadSettings(desk->platform().profile, kFile);
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
  fromNothing.loadSettings(desk->platform().profile, "C:\\Nowhere\\QuillmoorForTundra.ini");
  expectDefaults(fromNothing);
  expectDefaults(load("[OTHER]\r\nLOCATION=3\r\n"));
  expectDefaults(load(std::string("\0\x01\xff[SYSTEM\r\n\0\0", 11)));
}

TEST_F(SettingsTest, ValuesAreReadAsTheProfileFunctionsReadThem) {
  SettingsRecord r = load(
      "[system]\r\nlocation = 3\r\nSIZE=2\r\nTOPMARGIN=abc\r\nLEFTMARGIN=-5\r\n"
      "RIGHTMARGIN=12px\r\nBOTTOMMARGIN=\r\nTRANSPARENT=99999999999\r\nLIMIT=0x10\r\n"
      "FRAME=1\r\nHVHOTKEY=\"65\"\r\nHVMODIFIERS=3\r\n");
  EXPECT_EQ(r.location, Bottom);
  EXPECT_EQ(r.size, Large);
  EXPECT_EQ(r.thumbWidth, 220);
  EXPECT_EQ(r.thumbHeight, 160);
  EXPECT_EQ(r.topMargin, 0);       // not a number: 0, not the default
  EXPECT_EQ(r.leftMargin, -5);
  EXPECT_EQ(r.rightMargin, 12);
  EXPECT_EQ(r.bottomMargin, 30);   // empty: the default
  EXPECT_EQ(r.transparent, static_cast<int32_t>(99999999999LL & 0xFFFFFFFF));  // wraps
  EXPECT_EQ(r.limit, 16);
  EXPECT_EQ(r.frame, 1);
  EXPECT_EQ(r.hvHotKey, 65);
  EXPECT_EQ(r.hvModifiers, 3);
}

TEST_F(SettingsTest, SizeOutsideTheTableStillGivesAUsableCell) {
  for (const char* size : {"3", "-1", "2147483647"}) {
    SettingsRecord r = load(std::string("[SYSTEM]\r\nSIZE=") + size + "\r\n");
    EXPECT_EQ(r.thumbWidth, 160) << size;
    EXPECT_EQ(r.thumbHeight, 120) << size;
    EXPECT_STREQ(sizeWord(r.size), "") << size;
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
  r.loadSettings(desk->platform().profile, kFile);
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
  defaults.saveSettings(desk->platform().profile, kFile);
  EXPECT_EQ(*desk->files.readFile(kFile),
            "[SYSTEM]\r\nLOCATION=1\r\nSIZE=1\r\nLEFTMARGIN=20\r\nTOPMARGIN=10\r\n"
            "RIGHTMARGIN=10\r\nBOTTOMMARGIN=30\r\nTRANSPARENT=60\r\nLIMIT=16\r\nFRAME=0\r\n"
            "HVHOTKEY=87\r\nHVMODIFIERS=8\r\n");

  desk->files.writeFile(kFile, "[USER]\r\nNOTE=keep me\r\n[SYSTEM]\r\nTRANSPARENT=60\r\nX=1\r\n");
  SettingsRecord r = load(*desk->files.readFile(kFile));
  r.transparent = 85;
  r.saveSettings(desk->platform().profile, kFile);
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
  saved.rightMargin = -3;
  saved.bottomMargin = 100;
  saved.transparent = 20;
  saved.limit = 50;
  saved.frame = 1;
  saved.hvHotKey = 0x70;
  saved.hvModifiers = 6;
  saved.saveSettings(desk->platform().profile, kFile);
  SettingsRecord loaded;
  loaded.loadSettings(desk->platform().profile, kFile);
  saved.updateThumbSize();
  EXPECT_EQ(std::tie(loaded.location, loaded.size, loaded.topMargin, loaded.leftMargin,
                     loaded.rightMargin, loaded.bottomMargin, loaded.transparent, loaded.limit,
                     loaded.frame, loaded.hvHotKey, loaded.hvModifiers, loaded.thumbWidth,
                     loaded.thumbHeight),
            std::tie(saved.location, saved.size, saved.topMargin, saved.leftMargin,
                     saved.rightMargin, saved.bottomMargin, saved.transparent, saved.limit,
                     saved.frame, saved.hvHotKey, saved.hvModifiers, saved.thumbWidth,
                     saved.thumbHeight));
}

TEST(SettingsTables, CaptionsAndWords) {
  EXPECT_STREQ(locationCaption(Top), "上に並べる");
  EXPECT_STREQ(locationCaption(Bottom), "下に並べる");
  EXPECT_STREQ(locationCaption(4), "");
  EXPECT_STREQ(sizeWord(Large), "LARGE");
  EXPECT_STREQ(sizeWord(-1), "");
}
