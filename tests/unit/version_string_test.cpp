#include "base/version_string.h"

#include <gtest/gtest.h>

#include "support/system_only.h"

using support::SystemOnly;

TEST(VersionString, ProductVersionOfTheFirstTranslation) {
  SystemOnly desk;
  desk.system.versionTranslations = {{0x0411, 0x03a4}, {0x0409, 0x04b0}};
  desk.system.versionStrings = {{"ProductVersion", std::string("1, 0, 0, 1\0junk", 15)}};
  VersionString version(desk.system);
  EXPECT_EQ(version.getVersionString(), "Ver.:1, 0, 0, 1");
}

TEST(VersionString, NothingToReadGivesEmptyTextAndIsTriedAgain) {
  SystemOnly desk;
  desk.system.hasVersionResource = false;
  VersionString version(desk.system);
  EXPECT_EQ(version.getVersionString(), "");
  desk.system.hasVersionResource = true;
  desk.system.versionTranslations.clear();
  EXPECT_EQ(version.getVersionString(), "");
  desk.system.versionTranslations = {{0x0411, 0x04b0}};
  desk.system.versionBlockReadFails = true;
  EXPECT_EQ(version.getVersionString(), "");
  desk.system.versionBlockReadFails = false;
  EXPECT_EQ(version.getVersionString(), "Ver.:1, 0, 0, 1");
}

TEST(VersionString, ComputedTextIsKept) {
  SystemOnly desk;
  VersionString version(desk.system);
  ASSERT_EQ(version.getVersionString(), "Ver.:1, 0, 0, 1");
  desk.system.versionStrings["ProductVersion"] = "2, 0, 0, 0";
  EXPECT_EQ(version.getVersionString(), "Ver.:1, 0, 0, 1");
}
