#include "detect/write_ini_file.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile_files.h"
#include "platform/sim/sim_system.h"
#include "support/log_capture.h"

namespace {

const std::string kFile = "C:\\Programs\\Quillmoor\\out.ini";

// Whole files and profile files are the system's: its fakes on their folders, and the clock.
struct SystemFiles {
  SystemFiles() { files.makeDirectory("C:\\Programs\\Quillmoor"); }
  sim::SimClock clock;
  sim::SimFileSystem files;
  sim::SimSystem system{clock, files};
  sim::SimFiles wholeFiles{files, clock.actions};
  sim::SimProfileFiles profile{files};
};

class WriteIniFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<CWriteIniFile> streamWriter() {
    auto writer = std::make_unique<CWriteIniFile>(desk->wholeFiles, desk->profile);
    writer->mode = CWriteIniFile::Mode::Stream;
    return writer;
  }
  std::string file() { return desk->files.readFile(kFile).value_or("<missing>"); }

  std::unique_ptr<SystemFiles> desk = std::make_unique<SystemFiles>();
};

}  // namespace

TEST_F(WriteIniFileTest, StreamModeWritesHeadersOnlyWhenTheSectionChanges) {
  desk->files.writeFile(kFile, "old contents that must go\r\n");
  CWriteIniFile writer(desk->wholeFiles, desk->profile);
  writer.mode = CWriteIniFile::Mode::Stream;
  ASSERT_TRUE(writer.openFile(kFile));
  EXPECT_TRUE(writer.writeString("A", "k1", "1", kFile));
  writer.writeString("A", "k2", " spaced = \"quoted\" ", kFile);
  writer.writeString("B", "k3", "", kFile);
  writer.writeString("A", "k4", "\x95\x5c", kFile);
  EXPECT_TRUE(writer.closeFile());
  EXPECT_EQ(file(),
            "[A]\r\nk1=1\r\nk2= spaced = \"quoted\" \r\n[B]\r\nk3=\r\n[A]\r\nk4=\x95\x5c\r\n");
}

TEST_F(WriteIniFileTest, FirstWriteWithAnEmptySectionWritesNoHeader) {
  auto writer = streamWriter();
  ASSERT_TRUE(writer->openFile(kFile));
  writer->writeString("", "k", "v", kFile);
  writer->writeString("S", "k", "v", kFile);
  ASSERT_TRUE(writer->closeFile());
  EXPECT_EQ(file(), "k=v\r\n[S]\r\nk=v\r\n");
}

TEST_F(WriteIniFileTest, ProfileModeIsTheDefaultAndWritesKeyByKey) {
  desk->files.writeFile(kFile, "[A]\r\nkeep=1\r\n");
  CWriteIniFile writer(desk->wholeFiles, desk->profile);
  EXPECT_TRUE(writer.openFile("C:\\No\\Such\\Folder\\x.ini"));  // touches nothing
  writer.writeString("A", "k1", "v", kFile);
  writer.writeString("A", "k0", "v", kFile);
  EXPECT_TRUE(writer.closeFile());
  EXPECT_EQ(file(), "[A]\r\nkeep=1\r\nk1=v\r\nk0=v\r\n");
}

TEST_F(WriteIniFileTest, FailedOpenIsLoggedAndLaterCallsTouchNoFile) {
  LogCapture log(desk->system);
  desk->files.makeDirectory(kFile + ".new");  // a folder where the new file should go
  desk->files.writeFile(kFile, "previous");
  desk->files.lockedFiles.insert(kFile);  // ... and the file itself held by another program
  auto writer = streamWriter();
  EXPECT_FALSE(writer->openFile(kFile));
  EXPECT_EQ(log.text(), "CWriteIniFile::openFile(" + kFile + ") Error!\n");
  EXPECT_TRUE(writer->writeString("A", "k", "v", kFile));
  EXPECT_FALSE(writer->closeFile());
  EXPECT_EQ(file(), "previous");

  // Let go by the other program, the file itself takes the lines.
  desk->files.lockedFiles.clear();
  ASSERT_TRUE(writer->openFile(kFile));
  writer->writeString("A", "k", "v", kFile);
  EXPECT_TRUE(writer->closeFile());
  EXPECT_EQ(file(), "[A]\r\nk=v\r\n");
  EXPECT_NE(log.text().find(kFile + ".new cannot be created; " + kFile + " is written in place\n"),
            std::string::npos);
}

TEST_F(WriteIniFileTest, AWriteThatFailsHalfwayKeepsTheOldFile) {
  desk->files.writeFile(kFile, "[OLD]\r\nk=1\r\n");
  desk->files.writeBudget = 10;  // the disk fills up after ten bytes
  auto writer = streamWriter();
  ASSERT_TRUE(writer->openFile(kFile));
  writer->writeString("SYSTEM", "EXCLUSIONNUM", "1", kFile);
  writer->writeString("ITEM0", "TITLE", "a long title", kFile);
  EXPECT_FALSE(writer->closeFile());
  EXPECT_EQ(file(), "[OLD]\r\nk=1\r\n");
  EXPECT_FALSE(desk->files.exists(kFile + ".new"));
}

TEST_F(WriteIniFileTest, AWriterDroppedBeforeClosingLeavesTheOldFile) {
  desk->files.writeFile(kFile, "previous");
  {
    auto writer = streamWriter();
    ASSERT_TRUE(writer->openFile(kFile));
    writer->writeString("A", "k", "v", kFile);
  }
  EXPECT_EQ(file(), "previous");
  EXPECT_FALSE(desk->files.exists(kFile + ".new"));
}

TEST_F(WriteIniFileTest, AFolderInThePlaceOfTheFileFailsTheClose) {
  desk->files.makeDirectory(kFile);
  auto writer = streamWriter();
  ASSERT_TRUE(writer->openFile(kFile));
  writer->writeString("A", "k", "v", kFile);
  EXPECT_FALSE(writer->closeFile());
  EXPECT_FALSE(desk->files.exists(kFile + ".new"));
}
