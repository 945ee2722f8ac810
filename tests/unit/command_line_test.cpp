#include "base/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, OnlyExactSwitchesCount) {
  Switches nearMisses = parseSwitches({"ZENTA.exe", "-k527", "-K5270", "/K527", "-layered",
                                       "-LAYERED ", "K527", "-LAYEREDX", ""});
  EXPECT_EQ(nearMisses.debugMode, 0);
  EXPECT_EQ(nearMisses.layeredMode, 0);
}

TEST(CommandLine, BothSwitchesInEitherOrderAndRepeated) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"ZENTA.exe", "-K527", "-LAYERED"},
           {"ZENTA.exe", "-LAYERED", "junk", "-K527"},
           {"ZENTA.exe", "-K527", "-K527", "-LAYERED", "-LAYERED"}}) {
    Switches s = parseSwitches(args);
    EXPECT_EQ(s.debugMode, 1);
    EXPECT_EQ(s.layeredMode, 1);
  }
}

TEST(CommandLine, ProgramPathIsNeverASwitch) {
  Switches s = parseSwitches({"-K527"});
  EXPECT_EQ(s.debugMode, 0);
  EXPECT_EQ(parseSwitches({}).layeredMode, 0);
}
