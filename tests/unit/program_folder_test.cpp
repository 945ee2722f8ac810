#include "base/program_folder.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"
#include "support/log_capture.h"

TEST(ProgramFolder, FolderIsEverythingBeforeTheLastRealBackslash) {
  auto desk = sim::SimDesktop::singleMonitor();
  platform::System& system = desk->platform().system;
  EXPECT_EQ(programFolder("C:\\Programs\\Quillmoor\\ZENTA.exe", system), "C:\\Programs\\Quillmoor");
  EXPECT_EQ(programFolder("ZENTA.exe", system), "");
  EXPECT_EQ(programFolder("C:\\ZENTA.exe", system), "C:");
  // "表" (0x95 0x5C) ends the folder name: its 0x5C is not a separator.
  EXPECT_EQ(programFolder("C:\\\x95\x5c\\ZENTA.exe", system), "C:\\\x95\x5c");
  EXPECT_EQ(programFolder("C:\\Tools\\\x95\x5cZENTA.exe", system), "C:\\Tools");

  // Paths are in the system's code page: on a Western system é (0xE9) is a letter of its
  // own, though code page 932 would read it and the backslash after it as one character.
  desk->system.systemCodePage = 1252;
  EXPECT_EQ(programFolder("C:\\Caf\xe9\\ZENTA.exe", system), "C:\\Caf\xe9");
}

TEST(ProgramFolder, InitMakesTheFolderCurrentAndLogsIt) {
  auto desk = sim::SimDesktop::singleMonitor();
  LogCapture log(*desk);
  desk->files.makeDirectory("C:\\\x95\x5c");
  initProgramFolder("C:\\\x95\x5c\\ZENTA.exe", desk->platform().system);
  EXPECT_EQ(desk->files.currentDirectory(), "C:\\\x95\x5c");
  EXPECT_EQ(log.text(), "PORTABLE VERSION START\nCurrentDir=C:\\\x95\x5c");
  EXPECT_EQ(pathInCurrentDirectory(desk->platform().system, "a.ini"), "C:\\\x95\x5c\\a.ini");
}

TEST(ProgramFolder, BareNameOrMissingFolderKeepsTheInheritedDirectory) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->files.makeDirectory("C:\\Users\\me");
  ASSERT_TRUE(desk->files.setCurrentDirectory("C:\\Users\\me"));
  initProgramFolder("ZENTA.exe", desk->platform().system);
  EXPECT_EQ(desk->files.currentDirectory(), "C:\\Users\\me");
  initProgramFolder("D:\\Gone\\ZENTA.exe", desk->platform().system);
  EXPECT_EQ(desk->files.currentDirectory(), "C:\\Users\\me");
}
