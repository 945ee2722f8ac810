#include "base/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, OnlyExactSwitchesCount) {
  Switches nearMisses = parseSwitches(
      {"ZENTA.exe", "-k527", "-K5270", "/K527", "-layered", "-LAYERED ", "K527", "-LAYEREDX", ""});
  EXPECT_FALSE(nearMisses.debugMode);
  EXPECT_FALSE(nearMisses.layeredMode);
}

TEST(CommandLine, BothSwitchesInEitherOrderAndRepeated) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"ZENTA.exe", "-K527", "-LAYERED"},
           {"ZENTA.exe", "-LAYERED", "junk", "-K527"},
           {"ZENTA.exe", "-K527", "-K527", "-LAYERED", "-LAYERED"}}) {
    Switches s = parseSwitches(args);
    EXPECT_TRUE(s.debugMode);
    EXPECT_TRUE(s.layeredMode);
  }
}

TEST(CommandLine, ProgramPathIsNeverASwitch) {
  Switches s = parseSwitches({"-K527"});
  EXPECT_FALSE(s.debugMode);
  EXPECT_FALSE(parseSwitches({}).layeredMode);
}
