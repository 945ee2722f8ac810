// Other programs' windows come back as their programs had them, however the program ends: the
// road is cut between every two calls that reach beyond the process, then the next start and
// a clean run must leave each window with its own state.
#include <gtest/gtest.h>

#include "scenario/preview_fixture.h"

using platform::Hwnd;
using platform::Rect;
using sim::SimDesktop;
using namespace support;
using scenario::PreviewTest;

namespace {

struct Own {
  Hwnd window;
  Rect normal;
  uint32_t exStyle = 0;
};

constexpr platform::ColorRef kGlassKey = 0x030201;
constexpr uint8_t kGlassAlpha = 200;
constexpr platform::Dword kGlassFlags = platform::LWA_ALPHA | platform::LWA_COLORKEY;

}  // namespace

class CustodyTest : public PreviewTest, public ::testing::WithParamInterface<bool> {
 protected:
  std::vector<std::string> args() const {
    std::vector<std::string> a{kExe, "-K527"};
    if (GetParam()) a.push_back("-LAYERED");
    return a;
  }
  void minimiseAll(const std::vector<Own>& windows) {
    for (const Own& o : windows) desk->windows.userMinimize(o.window);
    desk->advance(700);
  }
  // The first run keeps, fetches back, keeps again and meets a new monitor (another method);
  // the second starts with what the first left, keeps again and exits.
  void road(const std::vector<Own>& windows, uint64_t cut) {
    const Own& plain = windows[0];
    const Own& glass = windows[1];
    run(
        [&](Hwnd) {
          detect(3);
          // Its program makes it layered once it has its preview (a layered window gets none).
          desk->windows.setWindowLong(glass.window, platform::GWL_EXSTYLE, glass.exStyle);
          desk->windows.setLayeredWindowAttributes(glass.window, kGlassKey, kGlassAlpha,
                                                   kGlassFlags);
          desk->endProcessAfter(cut);  // from here on, ours are the only changes
          minimiseAll(windows);
          desk->windows.sendMessage(previewOf(plain.window), platform::WM_LBUTTONDBLCLK, 0, 0);
          desk->advance(700);
          desk->windows.userMinimize(plain.window);
          desk->advance(700);
          desk->monitors.push_back({{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, false, "B"});
          desk->displayChanged();
          desk->advance(700);
        },
        args());
    run(
        [&](Hwnd) {
          detect(3);
          minimiseAll(windows);
        },
        args());
  }
};

TEST_P(CustodyTest, EveryWindowEndsWithItsOwnStateWhereverTheProgramIsEnded) {
  uint64_t cut = 0;
  for (bool ended = true; ended; ++cut) {
    SCOPED_TRACE("ended before reaching call " + std::to_string(cut + 1));
    desk = SimDesktop::singleMonitor();
    const std::vector<Own> windows{
        {addAppWindow(*desk, "Plain", "plain.exe", {100, 100, 900, 500}), {100, 100, 900, 500}},
        {addAppWindow(*desk, "Glass", "glass.exe", {1000, 100, 1400, 400}),
         {1000, 100, 1400, 400},
         platform::WS_EX_LAYERED},
        {addClassWindow("chrome.exe", "chrome.exe", "Chrome_WidgetWin_1", {200, 150, 900, 650}),
         {200, 150, 900, 650}}};
    road(windows, cut);
    ended = count("terminated") > 0;
    // The next start, whose own put-back finds the windows not answering: the previews made
    // for them must adopt what the journal says, not read our changes as theirs.
    for (const Own& o : windows) desk->windows.setHung(o.window, true);
    run(
        [&](Hwnd) {
          for (const Own& o : windows) desk->windows.setHung(o.window, false);
          desk->advance(3000);
        },
        args());
    EXPECT_FALSE(desk->files.exists(kFolder + "\\KeptWindows.ini"));
    for (const Own& o : windows) {
      SCOPED_TRACE(desk->windows.getWindowText(o.window, 64));
      EXPECT_TRUE(desk->windows.isWindowEnabled(o.window));
      EXPECT_EQ(desk->windows.getWindowLong(o.window, platform::GWL_EXSTYLE), o.exStyle);
      platform::ColorRef key = 0;
      uint8_t alpha = 0;
      platform::Dword flags = 0;
      const bool layered = desk->windows.getLayeredWindowAttributes(o.window, key, alpha, flags);
      if (o.exStyle != 0) {
        EXPECT_TRUE(layered && key == kGlassKey && alpha == kGlassAlpha && flags == kGlassFlags);
      } else {
        EXPECT_FALSE(desk->windows.layeredAlpha(o.window).has_value());
      }
      if (desk->windows.isIconic(o.window)) desk->windows.userRestore(o.window);
      EXPECT_EQ(rectOf(o.window), o.normal);
    }
    if (HasFailure()) break;  // one cut's faults say enough
  }
  EXPECT_GT(cut, 40u) << "the road reached beyond the process too seldom to be a road";
}

INSTANTIATE_TEST_SUITE_P(Methods, CustodyTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Layered" : "OffScreen"; });
