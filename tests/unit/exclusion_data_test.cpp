#include "detect/exclusion_data.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/sim/cp932.h"
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

class NoProfileCalls : public platform::ProfileFiles {
 public:
  uint32_t getInt(const std::string&, const std::string&, int32_t, const std::string&) override {
    ADD_FAILURE() << "profile read";
    return 0;
  }
  std::string getString(const std::string&, const std::string&, const std::string&, size_t,
                        const std::string&) override {
    ADD_FAILURE() << "profile read";
    return {};
  }
  bool writeString(const std::string&, const std::string&, const std::string&,
                   const std::string&) override {
    ADD_FAILURE() << "profile write";
    return false;
  }
};

ExclusionItem rule(int32_t titleFlag, int32_t pnameFlag, int32_t fullNameFlag, std::string title,
                   std::string pname, std::string tpart) {
  return ExclusionItem{titleFlag,        pnameFlag,    std::move(title),
                       std::move(pname), fullNameFlag, std::move(tpart)};
}

}  // namespace

TEST(ExclusionMatch, EachSwitchedOnTestMustHold) {
  auto matches = [](const ExclusionItem& item, const std::string& title, const std::string& pname) {
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

TEST_F(ExclusionDataTest, TextsTheReaderWouldChangeComeBackUnchanged) {
  // Written raw, each of these would come back changed, or add lines to the file.
  const std::vector<std::string> odd = {
      "Mail\r\nPNAME=any.exe",  // line break: a new key after it
      "one\ntwo",
      "cr\r",
      "\r[ITEM0]",                     // ... or a new section
      std::string(254, 'a') + "\x82",  // cut after a lone lead byte
      "R\x99)",                        // lead byte before a byte that is no trail byte
      "'Untitled'",
      "\"Untitled\"",  // outer quotes
      "  blanks  ",
      "tab\t",
      "\x1a",             // blanks at the ends
      "\"C:\\x41\\\\\"",  // the escape characters themselves
      std::string("nul\0byte", 8),
  };
  // ... while these read back as they are and must be written as before.
  const std::vector<std::string> plain = {"Doc - Editor", "\x95\x5c\x8e\xa6", "a=b ; c", "\"half",
                                          "half'",        "in\tside",         "\\x41"};
  CExclusionData data(desk->platform(), kFile);
  for (const auto& texts : {odd, plain}) {
    for (const std::string& text : texts) data.items.push_back(rule(1, 1, 0, text, text, text));
  }
  ASSERT_TRUE(data.saveFile());
  const std::string bytes = file();
  // Exactly the lines written: a header and a count, then seven lines per rule, all CRLF.
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2 + 7 * std::ssize(data.items));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 2 + 7 * std::ssize(data.items));
  EXPECT_EQ(bytes.find('\0'), std::string::npos);
  for (const std::string& text : plain) {
    EXPECT_NE(bytes.find("\r\nTITLE=" + text + "\r\nPNAME=" + text + "\r\n"), std::string::npos)
        << text;
  }
  EXPECT_NE(bytes.find("TITLE=\"Mail\\x0D\\x0APNAME=any.exe\"\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("TITLE=\"'Untitled'\"\r\n"), std::string::npos);

  CExclusionData again(desk->platform(), kFile);
  again.loadFile();
  EXPECT_EQ(again.items, data.items);
  // So each rule matches exactly the windows it matched before.
  for (const std::string& text : odd) EXPECT_FALSE(again.isAllowed(text, text)) << text;
  ASSERT_TRUE(again.saveFile());
  EXPECT_EQ(file(), bytes);

  // Quoted values in a file of the older program read as they always did.
  CExclusionData older = loaded(
      "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLE=\"abc\"\r\n"
      "PNAME='x.exe'\r\nTPART=\"C:\\temp\\\"\r\n");
  ASSERT_EQ(older.items.size(), 1u);
  EXPECT_EQ(older.items[0], rule(0, 0, 0, "abc", "x.exe", "C:\\temp\\"));
}

TEST_F(ExclusionDataTest, AFileThatMakesNoSenseIsKeptBeforeTheFirstSave) {
  const std::string item = "[ITEM0]\r\nPNAMEFLAG=1\r\nPNAME=a.exe\r\n";
  const std::vector<std::string> damaged = {
      item,                   // no SYSTEM section
      "[SYSTEM]\r\n" + item,  // no count
      "[SYSTEM]\r\nEXCLUSIONNUM=\r\n" + item,
      "[SYSTEM]\r\nEXCLUSIONNUM=-1\r\n" + item,
      "[SYSTEM]\r\nEXCLUSIONNUM=4097\r\n" + item,  // above the cap
      "[SYSTEM]\r\nEXCLUSIONNUM=2\r\n" + item,     // a rule missing
      "[SYSTEM]\r\nEXCLUSIONNUM=0\r\n" + item,     // a rule beyond the count
      "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n" + item + "[NOTES]\r\nmine=1\r\n",
  };
  const std::string backup = kFile + ".bak";
  for (const std::string& original : damaged) {
    LogCapture log(desk->system);
    desk->system.consoleOutput.clear();
    CExclusionData data = loaded(original);
    EXPECT_NE(log.text().find(kFile + " does not make sense"), std::string::npos) << original;
    data.addExclusion("T", "t.exe");
    ASSERT_TRUE(data.saveFile()) << original;
    EXPECT_EQ(desk->files.readFile(backup), original);
    EXPECT_NE(log.text().find(kFile + " kept as " + backup), std::string::npos);
    EXPECT_EQ(file().rfind("[SYSTEM]\r\nEXCLUSIONNUM=", 0), 0u);
    // Only once: the file now is the program's own.
    desk->files.writeFile(backup, "mine");
    ASSERT_TRUE(data.saveFile());
    EXPECT_EQ(desk->files.readFile(backup), "mine");
  }

  // Files that make sense, however written, are saved without a copy.
  desk->files.writeFile(backup, "untouched");
  for (const std::string& fine :
       {std::string(" \r\n"), std::string("[system]\nexclusionnum = 1\n[item0]\npname=a.exe\n")}) {
    CExclusionData data = loaded(fine);
    ASSERT_TRUE(data.saveFile());
    EXPECT_EQ(desk->files.readFile(backup), "untouched") << fine;
  }

  // No copy, no save: the damaged file stays as it was.
  LogCapture log(desk->system);
  desk->files.makeDirectory(backup + ".new");
  desk->files.lockedFiles.insert(backup);  // nor can the backup be written in place
  CExclusionData data = loaded(damaged[0]);
  data.addExclusion("T", "t.exe");
  EXPECT_FALSE(data.saveFile());
  EXPECT_EQ(file(), damaged[0]);
  EXPECT_NE(log.text().find("the rules are not saved over " + kFile), std::string::npos);
}

TEST_F(ExclusionDataTest, AFileThatCannotBeReadIsNeverReplaced) {
  LogCapture log(desk->system);
  desk->files.writeFile(kFile, "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLE=keep\r\n");
  desk->files.unreadableFiles.insert(kFile);
  CExclusionData data(desk->platform(), kFile);
  data.loadFile();
  EXPECT_TRUE(data.items.empty());
  desk->files.unreadableFiles.clear();  // readable again later in the run: still not replaced
  data.addExclusion("T", "t.exe");
  EXPECT_FALSE(data.saveFile());
  EXPECT_EQ(file(), "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLE=keep\r\n");
  EXPECT_NE(log.text().find(kFile + " cannot be read"), std::string::npos);
  EXPECT_NE(log.text().find("the rules are not saved over it"), std::string::npos);
}

TEST_F(ExclusionDataTest, MissingSectionsAreNoRulesButEmptyOnesAre) {
  LogCapture log(desk->system);
  CExclusionData data = loaded(
      "[SYSTEM]\r\nEXCLUSIONNUM=5\r\n[ITEM1]\r\nTITLEFLAG=1\r\n"
      "FULLNAMEFLAG=1\r\nTITLE=  Only one  \r\n[ITEM2]\r\n");
  ASSERT_EQ(data.items.size(), 2u);
  EXPECT_EQ(data.items[0], rule(1, 0, 1, "Only one", "", ""));
  EXPECT_EQ(data.items[1], ExclusionItem{});  // a section with both tests off stays a rule
  EXPECT_NE(log.text().find("[ITEM0] is missing"), std::string::npos);
  EXPECT_NE(log.text().find("[ITEM3] to [ITEM4] are missing"), std::string::npos);
  // Without the empty section no rule matches every window.
  EXPECT_TRUE(loaded("[SYSTEM]\r\nEXCLUSIONNUM=9\r\n[ITEM0]\r\nTITLEFLAG=1\r\nFULLNAMEFLAG=1\r\n"
                     "TITLE=A\r\n")
                  .isAllowed("anything", "any.exe"));
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
  std::string hyo;  // 130 double-byte characters, 260 bytes
  for (int i = 0; i < 130; ++i) hyo += "\x95\x5c";
  CExclusionData data = loaded("[SYSTEM]\r\nEXCLUSIONNUM=2\r\n[ITEM0]\r\nTPART=" + longPart +
                               "\r\nTITLE=" + std::string(5000, 't') + "\r\n" +
                               "[ITEM1]\r\nTITLE=" + std::string(258, 'a') + "\x95\x5c\r\n" +
                               "PNAME=\"" + hyo + "  \"\r\n");
  ASSERT_EQ(data.items.size(), 2u);
  EXPECT_EQ(data.items[0].tpart, std::string(259, 'p'));
  EXPECT_EQ(data.items[0].title, std::string(259, 't'));
  // A character that does not fit is left out whole, and no NUL takes its place.
  EXPECT_EQ(data.items[1].title, std::string(258, 'a'));
  EXPECT_EQ(data.items[1].pname, hyo.substr(0, 258));
  ASSERT_TRUE(data.saveFile());
  EXPECT_EQ(file().find('\0'), std::string::npos);
}

TEST_F(ExclusionDataTest, TheLargestFileIsReadOnceWithoutProfileCalls) {
  // Each profile call reads and parses the whole file: loading must not make one per key.
  std::vector<ExclusionItem> many;
  for (int32_t i = 0; i < CExclusionData::kMaxItems; ++i) {
    many.push_back(rule(1, 1, i % 2, std::string(250, 't') + std::to_string(i), "p.exe",
                        "part" + std::to_string(i)));
  }
  CExclusionData saved(desk->platform(), kFile);
  saved.items = many;
  ASSERT_TRUE(saved.saveFile());

  NoProfileCalls noProfile;
  platform::Platform p = desk->platform();
  platform::Platform withoutProfile = p.replacing<platform::ProfileFiles>(noProfile);
  desk->actions.clear();
  CExclusionData data(withoutProfile, kFile);
  data.loadFile();
  EXPECT_EQ(data.items, many);
  EXPECT_EQ(desk->actions, std::vector<std::string>{"file read " + kFile});

  // A count far above the cap reads the sections that exist, still in one read.
  LogCapture log(desk->system);
  desk->actions.clear();
  CExclusionData huge = loaded("[SYSTEM]\r\nEXCLUSIONNUM=2147483647\r\n[ITEM0]\r\nTITLEFLAG=1\r\n");
  ASSERT_EQ(huge.items.size(), 1u);
  EXPECT_EQ(huge.items[0].titleFlag, 1);
  EXPECT_EQ(desk->actions, std::vector<std::string>{"file read " + kFile});
  EXPECT_NE(log.text().find("EXCLUSIONNUM=2147483647 is too large"), std::string::npos);
}

TEST_F(ExclusionDataTest, AFailedSaveKeepsThePreviousFile) {
  desk->files.writeFile(kFile, "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLE=keep\r\n");
  CExclusionData data(desk->platform(), kFile);
  data.loadFile();
  data.items.resize(40, rule(1, 1, 1, "a title long enough to fill the disk", "x.exe", ""));
  desk->files.writeBudget = 200;
  EXPECT_FALSE(data.saveFile());
  EXPECT_EQ(file(), "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLE=keep\r\n");
}

TEST_F(ExclusionDataTest, TheStoreLoadsFromTheCurrentDirectoryAndSavesThere) {
  ASSERT_TRUE(desk->files.setCurrentDirectory("C:\\Programs\\Quillmoor"));
  desk->files.writeFile(kFile,
                        "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nPNAMEFLAG=1\r\n"
                        "PNAME=a.exe\r\n");
  std::unique_ptr<CExclusionData> store = CExclusionData::openStore(desk->platform());
  EXPECT_EQ(store->filePath, kFile);
  ASSERT_EQ(store->items.size(), 1u);
  store->addExclusion("T", "t.exe");
  EXPECT_TRUE(store->saveFile());
  EXPECT_EQ(file(),
            "[SYSTEM]\r\nEXCLUSIONNUM=2\r\n"
            "[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=1\r\nTITLE=T\r\nPNAME=t.exe\r\n"
            "TPART=\r\n"
            "[ITEM1]\r\nTITLEFLAG=0\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=0\r\nTITLE=\r\nPNAME=a.exe\r\n"
            "TPART=\r\n");
}
