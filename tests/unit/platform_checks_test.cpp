#include "base/platform_checks.h"

#include <gtest/gtest.h>

#include "base/app_context.h"
#include "platform/sim/sim_desktop.h"

using platform::HResult;

namespace {

PlatformChecks checksOf(sim::SimDesktop& desk) {
  return PlatformChecks(desk.platform().system);
}

void setVersion(sim::SimDesktop& desk, uint32_t major, uint32_t minor) {
  desk.system.version.majorVersion = major;
  desk.system.version.minorVersion = minor;
}

}  // namespace

// The DWM as the program gets it from its context: behind the version guard.
TEST(PlatformChecks, OldSystemNeverTouchesTheDwm) {
  auto desk = sim::SimDesktop::oldSystem();
  AppContext context(desk->platform());
  platform::Dwm& dwm = context.platform.dwm;
  bool enabled = true;
  EXPECT_EQ(dwm.isCompositionEnabled(&enabled), -1);
  EXPECT_FALSE(enabled);
  EXPECT_EQ(dwm.isCompositionEnabled(nullptr), -1);
  platform::Rect rect;
  platform::ThumbnailId id = 0;
  platform::Size size;
  platform::Dword cloaked = 0;
  EXPECT_EQ(getExtendedFrameBounds(dwm, {0x10}, &rect), -1);
  EXPECT_EQ(getCloaked(dwm, {0x10}, &cloaked), -1);
  EXPECT_EQ(dwm.registerThumbnail({0x10}, {0x20}, &id), -1);
  EXPECT_EQ(dwm.unregisterThumbnail(1), -1);
  EXPECT_EQ(dwm.updateThumbnailProperties(1, {}), -1);
  EXPECT_EQ(dwm.querySourceSize(1, &size), -1);
  EXPECT_EQ(dwm.extendFrameIntoClientArea({0x10}, {9, 8, 23, 14}), -1);
  EXPECT_FALSE(desk->dwm.dwmLoaded);
}

TEST(PlatformChecks, CompositionIsAskedOfTheDwmOnVersion6) {
  auto desk = sim::SimDesktop::compositionOff();
  AppContext context(desk->platform());
  platform::Dwm& dwm = context.platform.dwm;
  bool enabled = true;
  EXPECT_EQ(dwm.isCompositionEnabled(&enabled), platform::S_OK);
  EXPECT_FALSE(enabled);
  desk->dwm.compositionEnabled = 1;
  EXPECT_EQ(dwm.isCompositionEnabled(&enabled), platform::S_OK);
  EXPECT_TRUE(enabled);
  EXPECT_TRUE(desk->dwm.dwmLoaded);
  // Entry points pass the DWM's own results through.
  EXPECT_EQ(dwm.extendFrameIntoClientArea({0x10}, {9, 8, 23, 14}), platform::S_OK);
  EXPECT_EQ(desk->dwm.glassFrames.at(0x10), (platform::Margins{9, 8, 23, 14}));
}

TEST(PlatformChecks, VersionIsReadOnceButAFailedReadIsRetried) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->system.versionCallFails = true;
  AppContext context(desk->platform());
  PlatformChecks& checks = context.checks;
  EXPECT_EQ(checks.isVistaOrLater(), 0);
  bool enabled = true;
  EXPECT_EQ(context.platform.dwm.isCompositionEnabled(&enabled), -1);
  EXPECT_FALSE(desk->dwm.dwmLoaded);
  desk->system.versionCallFails = false;
  EXPECT_EQ(checks.isVistaOrLater(), 1);
  const int calls = desk->system.versionCalls;
  EXPECT_EQ(checks.isVistaOrLater(), 1);
  EXPECT_EQ(desk->system.versionCalls, calls);
}

TEST(PlatformChecks, VersionAtLeastComparesMajorMinorThenServicePack) {
  auto desk = sim::SimDesktop::singleMonitor();
  PlatformChecks checks = checksOf(*desk);
  struct Case {
    uint32_t major, minor;
    int32_t expected;
  };
  for (Case c : {Case{5, 1, 0}, Case{5, 2, 0}, Case{6, 0, 1}, Case{6, 1, 1}, Case{6, 2, 1},
                 Case{10, 0, 1}}) {
    setVersion(*desk, c.major, c.minor);
    EXPECT_EQ(checks.isOsVersionAtLeast(6, 0, 0), c.expected) << c.major << "." << c.minor;
  }
  setVersion(*desk, 6, 1);
  EXPECT_EQ(checks.isOsVersionAtLeast(6, 2, 0), 0);
  EXPECT_EQ(checks.isOsVersionAtLeast(5, 9, 0), 1);
}

TEST(PlatformChecks, ServicePackComesFromTheRegistryOnNtOnly) {
  auto desk = sim::SimDesktop::singleMonitor();
  PlatformChecks checks = checksOf(*desk);
  setVersion(*desk, 6, 1);
  const std::string key = "System\\CurrentControlSet\\Control\\Windows";
  desk->system.setRegistryDword(platform::RegistryRoot::LocalMachine, key, "CSDVersion", 0x0201);
  EXPECT_EQ(checks.isOsVersionAtLeast(6, 1, 0x0201), 1);
  EXPECT_EQ(checks.isOsVersionAtLeast(6, 1, 0x0202), 0);
  // Only the low 16 bits count.
  desk->system.setRegistryDword(platform::RegistryRoot::LocalMachine, key, "CSDVersion", 0x70000);
  EXPECT_EQ(checks.isOsVersionAtLeast(6, 1, 1), 0);
  // No value, or a key that cannot be opened: not at least.
  desk->system.registry.clear();
  EXPECT_EQ(checks.isOsVersionAtLeast(6, 1, 1), 0);
  desk->system.deniedKeys.insert(
      {static_cast<uint32_t>(platform::RegistryRoot::LocalMachine), key});
  EXPECT_EQ(checks.isOsVersionAtLeast(6, 1, 1), 0);
  // Outside the NT family the service pack is not asked for.
  desk->system.version.platformId = 1;
  EXPECT_EQ(checks.isOsVersionAtLeast(6, 1, 1), 1);
}
