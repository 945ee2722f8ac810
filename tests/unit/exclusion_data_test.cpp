#include "detect/exclusion_data.h"

#include <gtest/gtest.h>

#include "platform/sim/cp932.h"

#include <ctime>

#include "platform/sim/sim_desktop.h"
#include "support/log_capture.h"

namespace {

const std::string kFile = "C:\\Programs\\Quillmoor\\ExclusionData.ini";


class ExclusionDataTest : public ::testing::Test {
 protected:
  CExclusionData loaded(const std::string& content) {
    desk->files.writeFile(kFile, content);
    CExclusionData data(desk->platform(), kFile);
    data.loadFile();
    return data;
  }
  std::string file() { return desk->files.readFile(kFile).value_or("<missing>"); }

  std::unique_ptr<sim::SimDesktop> desk = sim::SimDesktop::singleMonitor();
};

ExclusionItem rule(int32_t titleFlag, int32_t pnameFlag, int32_t fullNameFlag,
                   std::string title, std::string pname, std::string tpart) {
  return ExclusionItem{titleFlag, pnameFlag, std::move(title), std::move(pname), fullNameFlag,
                       std::move(tpart)};
}

}  // namespace

TEST(ExclusionMatch, EachSwitchedOnTestMustHold) {
  auto matches = [](const ExclusionItem& item, const std::string& title,
                    const std::string& pname) {
    return matchItem(item, title, pname, sim::isCp932LeadByte);
  };
  const ExclusionItem whole = rule(1, 1, 1, "Untitled - Notepad", "notepad.exe", "");
  EXPECT_TRUE(matches(whole, "Untitled - Notepad", "notepad.exe"));
  EXPECT_FALSE(matches(whole, "Untitled - Notepad", "NOTEPAD.EXE"));
  EXPECT_FALSE(matches(whole, "untitled - notepad", "notepad.exe"));
  EXPECT_FALSE(matches(whole, "Untitled - Notepad ", "notepad.exe"));

  const ExclusionItem part = rule(1, 0, 0, "ignored", "ignored", "Notepad");
  EXPECT_TRUE(matches(part, "a.txt - Notepad", "other.exe"));
  EXPECT_FALSE(matches(part, "a.txt - notepad", "other.exe"));

  // Flags other than exactly 1 are off.
  EXPECT_TRUE(matches(rule(2, -1, 1, "x", "y", "z"), "anything", "any.exe"));
  EXPECT_TRUE(matches(rule(0, 0, 0, "", "", ""), "anything", "any.exe"));
  EXPECT_TRUE(matches(rule(1, 0, 0, "", "", ""), "anything", "any.exe"));  // empty part
  EXPECT_TRUE(matches(rule(0, 1, 1, "x", "any.exe", ""), "anything", "any.exe"));
}

TEST(ExclusionMatch, PartSearchRespectsDoubleByteCharacters) {
  // Title "表示" = 95 5C 8E A6; the part "\" (5C) is only a trail byte there.
  const std::string title = "\x95\x5c\x8e\xa6";
  EXPECT_FALSE(matchItem(rule(1, 0, 0, "", "", "\\"), title, "a.exe", sim::isCp932LeadByte));
  EXPECT_FALSE(matchItem(rule(1, 0, 0, "", "", "\x5c\x8e"), title, "a.exe", sim::isCp932LeadByte));
  EXPECT_TRUE(matchItem(rule(1, 0, 0, "", "", "\x8e\xa6"), title, "a.exe", sim::isCp932LeadByte));
  EXPECT_TRUE(matchItem(rule(1, 0, 0, "", "", "\x95\x5c"), title, "a.exe", sim::isCp932LeadByte));
}

TEST_F(ExclusionDataTest, IsAllowedStopsAtTheFirstMatchingRule) {
  CExclusionData data(desk->platform(), kFile);
  EXPECT_TRUE(data.isAllowed("anything", "any.exe"));
  data.items = {rule(1, 1, 1, "A", "a.exe", ""), rule(0, 1, 0, "", "b.exe", "")};
  EXPECT_FALSE(data.isAllowed("A", "a.exe"));
  EXPECT_TRUE(data.isAllowed("A", "c.exe"));
  EXPECT_FALSE(data.isAllowed("whatever", "b.exe"));
}

TEST_F(ExclusionDataTest, AddExclusionPutsNewRulesFirstAndSkipsIdenticalOnes) {
  CExclusionData data(desk->platform(), kFile);
  EXPECT_TRUE(data.addExclusion("Doc", "word.exe"));
  EXPECT_FALSE(data.addExclusion("Doc", "word.exe"));
  EXPECT_TRUE(data.addExclusion("Other", "word.exe"));
  ASSERT_EQ(data.items.size(), 2u);
  EXPECT_EQ(data.items[0], rule(1, 1, 1, "Other", "word.exe", ""));
  EXPECT_EQ(data.items[1], rule(1, 1, 1, "Doc", "word.exe", ""));
  // A rule no longer fully switched on is not the same as a new exclusion.
  data.items[1].fullNameFlag = 0;
  EXPECT_TRUE(data.addExclusion("Doc", "word.exe"));
  EXPECT_EQ(data.items.size(), 3u);
}

TEST_F(ExclusionDataTest, EmptyListSavesAsTwoLines) {
  CExclusionData data(desk->platform(), kFile);
  ASSERT_TRUE(data.saveFile());
  EXPECT_EQ(file(), "[SYSTEM]\r\nEXCLUSIONNUM=0\r\n");
}

TEST_F(ExclusionDataTest, SaveWritesEveryItemInItsOrder) {
  CExclusionData data(desk->platform(), kFile);
  data.items = {rule(1, 1, 1, "Untitled - Notepad", "notepad.exe", ""),
                rule(7, 0, -2, "", "", "\x95\x5c\x8e\xa6")};
  ASSERT_TRUE(data.saveFile());
  EXPECT_EQ(file(),
            "[SYSTEM]\r\nEXCLUSIONNUM=2\r\n"
            "[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=1\r\n"
            "TITLE=Untitled - Notepad\r\nPNAME=notepad.exe\r\nTPART=\r\n"
            "[ITEM1]\r\nTITLEFLAG=7\r\nPNAMEFLAG=0\r\nFULLNAMEFLAG=-2\r\n"
            "TITLE=\r\nPNAME=\r\nTPART=\x95\x5c\x8e\xa6\r\n");
}

TEST_F(ExclusionDataTest, SaveThenLoadGivesBackTheListByteForByte) {
  CExclusionData data(desk->platform(), kFile);
  data.items = {rule(1, 1, 1, "\x95\x5c\x8e\xa6 - Editor", "ed.exe", ""),
                rule(1, 0, 0, "", "", "Mail"), rule(0, 1, 0, "", "b.exe", ""),
                rule(3, 2, 5, "a=b", "x", "y")};
  ASSERT_TRUE(data.saveFile());
  const std::string bytes = file();
  CExclusionData again(desk->platform(), kFile);
  again.loadFile();
  EXPECT_EQ(again.items, data.items);
  ASSERT_TRUE(again.saveFile());
  EXPECT_EQ(file(), bytes);
}

TEST_F(ExclusionDataTest, MissingSectionsLoadAsDefaultItems) {
  CExclusionData data = loaded("[SYSTEM]\r\nEXCLUSIONNUM=3\r\n[ITEM1]\r\nTITLEFLAG=1\r\n"
                               "FULLNAMEFLAG=1\r\nTITLE=  Only one  \r\n");
  ASSERT_EQ(data.items.size(), 3u);
  EXPECT_EQ(data.items[0], ExclusionItem{});
  EXPECT_EQ(data.items[1], rule(1, 0, 1, "Only one", "", ""));
  EXPECT_EQ(data.items[2], ExclusionItem{});
  EXPECT_FALSE(data.isAllowed("anything", "any.exe"));  // default items match every window
}

TEST_F(ExclusionDataTest, GarbageLoadsWithoutHarm) {
  EXPECT_TRUE(loaded("[SYSTEM]\r\nEXCLUSIONNUM=-5\r\n[ITEM0]\r\nTITLE=x\r\n").items.empty());
  EXPECT_TRUE(loaded("[SYSTEM]\r\nEXCLUSIONNUM=4294967295\r\n").items.empty());
  EXPECT_TRUE(loaded("EXCLUSIONNUM=2\r\n[ITEM0]\r\n").items.empty());  // no SYSTEM section
  EXPECT_TRUE(loaded(std::string("\x00\xff\xfe\x01[SYSTEM]\x00=", 14)).items.empty());
  CExclusionData missing(desk->platform(), "C:\\Nowhere\\ExclusionData.ini");
  missing.loadFile();
  EXPECT_TRUE(missing.items.empty());
  desk->files.makeDirectory("C:\\Folder\\ExclusionData.ini");
  CExclusionData folder(desk->platform(), "C:\\Folder\\ExclusionData.ini");
  folder.loadFile();
  EXPECT_TRUE(folder.items.empty());
}

TEST_F(ExclusionDataTest, OverlongValuesAreCutTo259Bytes) {
  const std::string longPart(400, 'p');
  CExclusionData data = loaded("[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTPART=" + longPart +
                               "\r\nTITLE=" + std::string(5000, 't') + "\r\n");
  ASSERT_EQ(data.items.size(), 1u);
  EXPECT_EQ(data.items[0].tpart, std::string(259, 'p'));
  EXPECT_EQ(data.items[0].title, std::string(259, 't'));
}

TEST_F(ExclusionDataTest, AHugeCountLoadsInBoundedTime) {
  LogCapture log(*desk);
  // <chrono> cannot be compiled with Shift-JIS literals (it holds a "µs"); time() will do.
  const time_t start = time(nullptr);
  CExclusionData data = loaded("[SYSTEM]\r\nEXCLUSIONNUM=2147483647\r\n[ITEM0]\r\nTITLEFLAG=1\r\n");
  EXPECT_LT(time(nullptr) - start, 20);
  EXPECT_EQ(data.items.size(), static_cast<size_t>(CExclusionData::kMaxItems));
  EXPECT_EQ(data.items[0].titleFlag, 1);
  EXPECT_NE(log.text().find("EXCLUSIONNUM=2147483647 is too large"), std::string::npos);
}

TEST_F(ExclusionDataTest, AFailedSaveKeepsThePreviousFile) {
  desk->files.writeFile(kFile, "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLE=keep\r\n");
  CExclusionData data(desk->platform(), kFile);
  data.loadFile();
  data.items.resize(40, rule(1, 1, 1, "a title long enough to fill the disk", "x.exe", ""));
  desk->writeBudget = 200;
  EXPECT_FALSE(data.saveFile());
  EXPECT_EQ(file(), "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLE=keep\r\n");
}

TEST_F(ExclusionDataTest, ProcessWideStoreLoadsFromTheCurrentDirectoryAndSavesOnDelete) {
  ASSERT_TRUE(desk->files.setCurrentDirectory("C:\\Programs\\Quillmoor"));
  desk->files.writeFile(kFile, "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nPNAMEFLAG=1\r\n"
                               "PNAME=a.exe\r\n");
  CExclusionData* store = CExclusionData::getInstance(desk->platform());
  EXPECT_EQ(store->filePath, kFile);
  ASSERT_EQ(store->items.size(), 1u);
  EXPECT_EQ(CExclusionData::getInstance(desk->platform()), store);
  store->addExclusion("T", "t.exe");
  CExclusionData::deleteInstance();
  EXPECT_EQ(CExclusionData::existingInstance(), nullptr);
  EXPECT_EQ(file(),
            "[SYSTEM]\r\nEXCLUSIONNUM=2\r\n"
            "[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=1\r\nTITLE=T\r\nPNAME=t.exe\r\n"
            "TPART=\r\n"
            "[ITEM1]\r\nTITLEFLAG=0\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=0\r\nTITLE=\r\nPNAME=a.exe\r\n"
            "TPART=\r\n");
}
