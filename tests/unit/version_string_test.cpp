#include "base/version_string.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"

TEST(VersionString, ProductVersionOfTheFirstTranslation) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->system.versionTranslations = {{0x0411, 0x03a4}, {0x0409, 0x04b0}};
  desk->system.versionStrings = {{"ProductVersion", std::string("1, 0, 0, 1\0junk", 15)}};
  VersionString version(desk->platform().system);
  EXPECT_EQ(version.getVersionString(), "Ver.:1, 0, 0, 1");
}

TEST(VersionString, NothingToReadGivesEmptyTextAndIsTriedAgain) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->system.hasVersionResource = false;
  VersionString version(desk->platform().system);
  EXPECT_EQ(version.getVersionString(), "");
  desk->system.hasVersionResource = true;
  desk->system.versionTranslations.clear();
  EXPECT_EQ(version.getVersionString(), "");
  desk->system.versionTranslations = {{0x0411, 0x04b0}};
  desk->system.versionBlockReadFails = true;
  EXPECT_EQ(version.getVersionString(), "");
  desk->system.versionBlockReadFails = false;
  EXPECT_EQ(version.getVersionString(), "Ver.:1, 0, 0, 1");
}

TEST(VersionString, ComputedTextIsKept) {
  auto desk = sim::SimDesktop::singleMonitor();
  VersionString version(desk->platform().system);
  ASSERT_EQ(version.getVersionString(), "Ver.:1, 0, 0, 1");
  desk->system.versionStrings["ProductVersion"] = "2, 0, 0, 0";
  EXPECT_EQ(version.getVersionString(), "Ver.:1, 0, 0, 1");
}
