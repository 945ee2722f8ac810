#include "base/program_folder.h"

#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "support/system_only.h"

using support::SystemOnly;

TEST(ProgramFolder, FolderIsEverythingBeforeTheLastRealBackslash) {
  SystemOnly desk;
  platform::System& system = desk.system;
  EXPECT_EQ(programFolder("C:\\Programs\\Quillmoor\\ZENTA.exe", system), "C:\\Programs\\Quillmoor");
  EXPECT_EQ(programFolder("ZENTA.exe", system), "");
  EXPECT_EQ(programFolder("C:\\ZENTA.exe", system), "C:");
  // "表" (0x95 0x5C) ends the folder name: its 0x5C is not a separator.
  EXPECT_EQ(programFolder("C:\\\x95\x5c\\ZENTA.exe", system), "C:\\\x95\x5c");
  EXPECT_EQ(programFolder("C:\\Tools\\\x95\x5cZENTA.exe", system), "C:\\Tools");

  // Paths are in the system's code page: on a Western system é (0xE9) is a letter of its
  // own, though code page 932 would read it and the backslash after it as one character.
  desk.system.systemCodePage = 1252;
  EXPECT_EQ(programFolder("C:\\Caf\xe9\\ZENTA.exe", system), "C:\\Caf\xe9");
}

TEST(ProgramFolder, InitMakesTheFolderCurrentAndLogsIt) {
  SystemOnly desk;
  LogCapture log(desk.system);
  desk.files.makeDirectory("C:\\\x95\x5c");
  initProgramFolder("C:\\\x95\x5c\\ZENTA.exe", desk.system);
  EXPECT_EQ(desk.files.currentDirectory(), "C:\\\x95\x5c");
  EXPECT_EQ(log.text(), "PORTABLE VERSION START\nCurrentDir=C:\\\x95\x5c");
  EXPECT_EQ(pathInCurrentDirectory(desk.system, "a.ini"), "C:\\\x95\x5c\\a.ini");
}

TEST(ProgramFolder, BareNameOrMissingFolderKeepsTheInheritedDirectory) {
  SystemOnly desk;
  desk.files.makeDirectory("C:\\Users\\me");
  ASSERT_TRUE(desk.files.setCurrentDirectory("C:\\Users\\me"));
  initProgramFolder("ZENTA.exe", desk.system);
  EXPECT_EQ(desk.files.currentDirectory(), "C:\\Users\\me");
  initProgramFolder("D:\\Gone\\ZENTA.exe", desk.system);
  EXPECT_EQ(desk.files.currentDirectory(), "C:\\Users\\me");
}
