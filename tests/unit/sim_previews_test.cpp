// The simulated desktop on what the live previews rely on: their own plain windows, layered
// alpha, other programs' windows answering (or hanging), hot-keys, image lists and the
// Desktop Window Manager.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "support/logged.h"
#include "support/program_run.h"

namespace {

using namespace platform;
using sim::ForeignWindow;
using sim::SimDesktop;
using sim::SimWindows;

constexpr HResult kCompositionDisabled = static_cast<HResult>(0x80263001u);
constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);

// Records the messages a plain window gets and hands them on to defaultProc.
class Handler : public MessageHandler {
 public:
  explicit Handler(SimWindows& wm) : wm_(wm) {}
  std::function<std::optional<LResult>(Hwnd, uint32_t, WParam)> on;
  std::vector<uint32_t> messages;
  WParam printDc = 0;

  LResult onMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) override {
    messages.push_back(message);
    if (message == WM_PRINTCLIENT) printDc = wParam;
    if (on) {
      if (auto answer = on(window, message, wParam)) return *answer;
    }
    return wm_.defaultProc(window, message, wParam, lParam);
  }
  size_t count(uint32_t message) const {
    return static_cast<size_t>(std::count(messages.begin(), messages.end(), message));
  }

 private:
  SimWindows& wm_;
};

class SimPreviewsTest : public ::testing::Test {
 protected:
  std::unique_ptr<SimDesktop> desk = SimDesktop::singleMonitor();
  SimWindows& wm = desk->windows;

  Hwnd other(Rect rect = {100, 100, 500, 400}) {
    ForeignWindow w;
    w.processId = desk->programs.addProcess("notes.exe", "C:\\Apps\\notes.exe");
    w.title = "Notes";
    w.style |= WS_THICKFRAME;
    w.rect = rect;
    return wm.addWindow(w);
  }
  static std::string name(Hwnd window) {
    char text[16];
    snprintf(text, sizeof text, "h%x", window.value);
    return text;
  }
};

// --- The program's own plain windows -------------------------------------------------------

TEST_F(SimPreviewsTest, CreationRunsWmCreateThenTheAnimationShowsThePrintedWindow) {
  Handler preview(wm);
  Hwnd during;
  preview.on = [&](Hwnd h, uint32_t message, WParam) -> std::optional<LResult> {
    if (message != WM_CREATE) return std::nullopt;
    during = h;
    EXPECT_FALSE(wm.isWindowVisible(h));  // not shown before WM_CREATE is over
    wm.setWindowLong(h, GWL_EXSTYLE, wm.getWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    wm.setTimer(h, 1, 50);
    desk->ownWindows.animateWindow(h, 200, AW_ACTIVATE | AW_CENTER);
    return 0;
  };
  CreateWindowArgs params;
  params.style = WS_POPUP | WS_VISIBLE;
  params.rect = {10, 20, 330, 260};
  const Hwnd h = desk->ownWindows.createWindow(params, &preview);

  ASSERT_TRUE(h);
  EXPECT_EQ(during, h);
  EXPECT_TRUE(wm.isWindowVisible(h));
  EXPECT_EQ(wm.foreground(), h);
  EXPECT_EQ(wm.getWindowProcessId(h), wm.ownProcessId);
  EXPECT_NE(wm.getWindowLong(h, GWL_EXSTYLE) & WS_EX_LAYERED, 0u);
  // Printed, then shown through the position protocol, once.
  const auto print = std::find(preview.messages.begin(), preview.messages.end(), WM_PRINTCLIENT);
  const auto changing =
      std::find(preview.messages.begin(), preview.messages.end(), WM_WINDOWPOSCHANGING);
  ASSERT_NE(print, preview.messages.end());
  EXPECT_LT(print, changing);
  EXPECT_EQ(preview.count(WM_WINDOWPOSCHANGING), 1u);
  // The animation blocked: the clock moved, the overdue tick waits for the message loop.
  EXPECT_EQ(desk->now, 200u);
  EXPECT_EQ(preview.count(WM_TIMER), 0u);
  desk->advance(0);
  EXPECT_EQ(preview.count(WM_TIMER), 1u);

  // The device context handed over is the one painting is recorded against.
  desk->drawing.fillRect(DeviceContext{preview.printDc}, {0, 0, 320, 240}, rgb(200, 200, 200));
  char line[64];
  snprintf(line, sizeof line, "fill dc%llx 0,0,320,240 c8c8c8",
           static_cast<unsigned long long>(preview.printDc));
  EXPECT_TRUE(support::logged(desk->actions, line));

  // Hiding: no position messages, activation lost; a second hide fails at once.
  preview.messages.clear();
  EXPECT_TRUE(desk->ownWindows.animateWindow(h, 150, AW_HIDE | AW_CENTER));
  EXPECT_FALSE(wm.isWindowVisible(h));
  EXPECT_EQ(wm.foreground(), Hwnd{});
  EXPECT_TRUE(preview.messages.empty());
  EXPECT_EQ(desk->now, 350u);
  EXPECT_FALSE(desk->ownWindows.animateWindow(h, 150, AW_HIDE));
  EXPECT_EQ(desk->now, 350u);
  EXPECT_FALSE(desk->ownWindows.animateWindow(other(), 100, AW_CENTER));  // not our thread's window
}

TEST_F(SimPreviewsTest, FailedCreationLeavesNoWindow) {
  Handler preview(wm);
  preview.on = [](Hwnd, uint32_t message, WParam) -> std::optional<LResult> {
    if (message == WM_CREATE) return -1;
    return std::nullopt;
  };
  CreateWindowArgs params;
  params.style = WS_POPUP | WS_VISIBLE;
  params.rect = {0, 0, 100, 100};
  EXPECT_FALSE(desk->ownWindows.createWindow(params, &preview));
  EXPECT_EQ(preview.count(WM_NCDESTROY), 1u);
  EXPECT_TRUE(wm.enumWindows().empty());
}

TEST_F(SimPreviewsTest, AdjustedRectangleGivesBackTheClientSizeForEveryFrame) {
  const uint32_t styles[] = {WS_POPUP, WS_POPUP | WS_BORDER, WS_POPUP | WS_THICKFRAME,
                             WS_POPUP | WS_CAPTION, WS_POPUP | WS_CAPTION | WS_THICKFRAME};
  for (const uint32_t style : styles) {
    Rect rect{100, 100, 420, 340};
    ASSERT_TRUE(desk->ownWindows.adjustWindowRect(rect, style, 0));
    Handler handler(wm);
    CreateWindowArgs params;
    params.style = style;
    params.rect = rect;
    const Hwnd h = desk->ownWindows.createWindow(params, &handler);
    Rect client;
    ASSERT_TRUE(wm.getClientRect(h, client));
    EXPECT_EQ(client, (Rect{0, 0, 320, 240})) << std::hex << style;
    desk->ownWindows.destroyWindow(h);
  }
  Rect thick{0, 0, 100, 100};
  desk->ownWindows.adjustWindowRect(thick, WS_POPUP | WS_THICKFRAME, 0);
  EXPECT_EQ(thick, (Rect{-4, -4, 104, 104}));

  // An overlapped window always has a caption.
  Handler handler(wm);
  CreateWindowArgs params;
  params.rect = {0, 0, 200, 100};
  const Hwnd overlapped = desk->ownWindows.createWindow(params, &handler);
  EXPECT_EQ(wm.getWindowLong(overlapped, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

// --- Other programs' windows -----------------------------------------------------------------

TEST_F(SimPreviewsTest, LayeredAlphaNeedsTheStyleAndGoesWithIt) {
  const Hwnd h = other();
  EXPECT_FALSE(wm.setLayeredWindowAttributes(h, 0, 0, LWA_ALPHA));
  EXPECT_EQ(wm.layeredAlpha(h), std::nullopt);
  const uint32_t exStyle = wm.getWindowLong(h, GWL_EXSTYLE);
  wm.setWindowLong(h, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  EXPECT_EQ(wm.layeredAlpha(h), std::nullopt);  // layered, but no attributes yet
  EXPECT_TRUE(wm.setLayeredWindowAttributes(h, 0, 0, LWA_ALPHA));
  EXPECT_EQ(wm.layeredAlpha(h), std::optional<uint8_t>(0));
  wm.setWindowLong(h, GWL_EXSTYLE, exStyle);
  EXPECT_EQ(wm.layeredAlpha(h), std::nullopt);
  // Setting the style again does not bring the old alpha back.
  wm.setWindowLong(h, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  EXPECT_EQ(wm.layeredAlpha(h), std::nullopt);
}

TEST_F(SimPreviewsTest, OtherProgramsWindowsMinimiseRestoreAndTakeANewPlacement) {
  desk->windows.workArea = {0, 40, 1920, 1080};  // task bar at the top
  const Hwnd h = other({100, 140, 500, 440});

  // Moving it while restored moves its normal rectangle (workspace coordinates) too.
  wm.moveWindow(h, 200, 240, 400, 300, true);
  WindowPlacement placement;
  ASSERT_TRUE(wm.getWindowPlacement(h, placement));
  EXPECT_EQ(placement.normalPosition, (Rect{200, 200, 600, 500}));

  EXPECT_TRUE(
      wm.sendMessageTimeout(h, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_ABORTIFHUNG, 1000).answered);
  EXPECT_TRUE(wm.isIconic(h));
  // The style cannot lose WS_MINIMIZE behind the window manager's back.
  wm.setWindowLong(h, GWL_STYLE, wm.getWindowLong(h, GWL_STYLE) & ~WS_MINIMIZE);
  EXPECT_TRUE(wm.isIconic(h));

  // A new normal rectangle while it stays minimised; restoring goes there.
  placement.showCmd = SW_SHOWMINNOACTIVE;
  placement.normalPosition = {10, 10, 310, 210};
  ASSERT_TRUE(wm.setWindowPlacement(h, placement));
  EXPECT_TRUE(wm.isIconic(h));
  wm.sendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(wm.isIconic(h));
  Rect rect;
  wm.getWindowRect(h, rect);
  EXPECT_EQ(rect, (Rect{10, 50, 310, 250}));

  // A placement with a minimising command on a restored window.
  placement.showCmd = SW_SHOWMINIMIZED;
  placement.normalPosition = {0, 0, 800, 600};
  ASSERT_TRUE(wm.setWindowPlacement(h, placement));
  EXPECT_TRUE(wm.isIconic(h));
  wm.showWindow(h, SW_SHOWNOACTIVATE);
  wm.getWindowRect(h, rect);
  EXPECT_EQ(rect, (Rect{0, 40, 800, 640}));

  // Disabled windows minimise on Windows.
  wm.setEnabled(h, false);
  wm.sendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(wm.isIconic(h));
}

TEST_F(SimPreviewsTest, WineSwitchesChangeOnlyOtherProgramsWindows) {
  wm.wineForeignPlacementFails = true;
  wm.wineDisabledIgnoresMinimize = true;
  wm.winePlacementReportsCurrentRect = true;
  const Hwnd h = other();

  WindowPlacement placement;
  ASSERT_TRUE(wm.getWindowPlacement(h, placement));
  placement.normalPosition = {0, 0, 50, 50};
  EXPECT_FALSE(wm.setWindowPlacement(h, placement));
  Rect rect;
  wm.getWindowRect(h, rect);
  EXPECT_EQ(rect, (Rect{100, 100, 500, 400}));

  wm.setEnabled(h, false);
  wm.sendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(wm.isIconic(h));
  wm.showWindow(h, SW_MINIMIZE);  // ShowWindow still works
  EXPECT_TRUE(wm.isIconic(h));
  ASSERT_TRUE(wm.getWindowPlacement(h, placement));
  EXPECT_EQ(placement.normalPosition.left, -32000);

  // The program's own windows keep the Windows behaviour.
  Handler handler(wm);
  CreateWindowArgs params;
  params.style = WS_POPUP;
  params.rect = {0, 0, 100, 100};
  const Hwnd own = desk->ownWindows.createWindow(params, &handler);
  ASSERT_TRUE(wm.getWindowPlacement(own, placement));
  placement.normalPosition = {20, 20, 220, 120};
  EXPECT_TRUE(wm.setWindowPlacement(own, placement));
  wm.getWindowRect(own, rect);
  EXPECT_EQ(rect, (Rect{20, 20, 220, 120}));
}

TEST_F(SimPreviewsTest, HungWindowsCostTimeAndNeverAnswer) {
  Handler preview(wm);
  CreateWindowArgs params;
  params.style = WS_POPUP;
  const Hwnd own = desk->ownWindows.createWindow(params, &preview);
  wm.setTimer(own, 1, 100);
  const Hwnd h = other();
  desk->programs.setHung(h, true);

  // Busy a short while: the full timeout is waited out, nothing of ours runs meanwhile.
  TimedResult result =
      wm.sendMessageTimeout(h, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_ABORTIFHUNG, 1000);
  EXPECT_FALSE(result.answered);
  EXPECT_EQ(wm.lastError(), ERROR_TIMEOUT);
  EXPECT_EQ(desk->now, 1000u);
  EXPECT_EQ(preview.count(WM_TIMER), 0u);
  EXPECT_FALSE(wm.isIconic(h));
  EXPECT_TRUE(wm.isWindow(h));
  EXPECT_TRUE(support::logged(desk->actions, "timeout " + name(h) + " 0x112"));

  // Hung for 5 s: SMTO_ABORTIFHUNG gives up at once; without it the wait is still paid.
  desk->advance(4000);
  EXPECT_FALSE(wm.sendMessageTimeout(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000).answered);
  EXPECT_EQ(desk->now, 5000u);
  EXPECT_FALSE(wm.sendMessageTimeout(h, WM_NULL, 0, 0, 0, 1000).answered);
  EXPECT_EQ(desk->now, 6000u);

  // Calls that would hang the program are recorded as such.
  EXPECT_EQ(support::actionCountStartingWith(*desk, "BLOCKED"), 0);
  EXPECT_EQ(wm.sendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0), 0);
  EXPECT_TRUE(support::logged(desk->actions, "BLOCKED send " + name(h) + " 0x112"));
  EXPECT_FALSE(wm.isIconic(h));
  // A change gives up after a second, and is made once the window answers again.
  EXPECT_FALSE(wm.showWindow(h, SW_MINIMIZE));
  EXPECT_EQ(wm.lastError(), ERROR_TIMEOUT);
  EXPECT_TRUE(support::logged(desk->actions, "TIMED OUT show " + name(h)));
  EXPECT_EQ(desk->now, 12000u);
  EXPECT_FALSE(wm.isIconic(h));

  desk->programs.setHung(h, false);
  EXPECT_TRUE(wm.isIconic(h));
  EXPECT_TRUE(
      wm.sendMessageTimeout(h, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, 1000).answered);
  EXPECT_FALSE(wm.isIconic(h));
  EXPECT_EQ(desk->now, 12000u);
  EXPECT_FALSE(wm.sendMessageTimeout({0x7777}, WM_NULL, 0, 0, 0, 1000).answered);
}

// --- Hot-keys --------------------------------------------------------------------------------

TEST_F(SimPreviewsTest, HotKeysHaveOneOwnerAndArriveAsPostedMessages) {
  Handler first(wm);
  Handler second(wm);
  CreateWindowArgs params;
  params.style = WS_POPUP;
  const Hwnd a = desk->ownWindows.createWindow(params, &first);
  const Hwnd b = desk->ownWindows.createWindow(params, &second);
  desk->input.hotKeysHeldElsewhere.insert({MOD_WIN, 'W'});

  EXPECT_FALSE(desk->input.registerHotKey(a, 1, MOD_WIN, 'W'));
  EXPECT_EQ(wm.lastError(), ERROR_HOTKEY_ALREADY_REGISTERED);
  EXPECT_FALSE(desk->input.pressHotKey(MOD_WIN, 'W'));  // another program gets it

  ASSERT_TRUE(desk->input.registerHotKey(a, 1, MOD_CONTROL | MOD_ALT, 'Q'));
  wm.lastErrorValue = 0;
  EXPECT_FALSE(desk->input.registerHotKey(b, 2, MOD_CONTROL | MOD_ALT, 'Q'));
  EXPECT_EQ(wm.lastError(), ERROR_HOTKEY_ALREADY_REGISTERED);
  EXPECT_EQ(desk->input.registeredHotKey(a, 1),
            std::make_pair(MOD_CONTROL | MOD_ALT, uint32_t{'Q'}));
  EXPECT_EQ(desk->input.registeredHotKey(b, 2), std::nullopt);

  ASSERT_TRUE(desk->input.pressHotKey(MOD_CONTROL | MOD_ALT, 'Q'));
  EXPECT_EQ(first.count(WM_HOTKEY), 0u);  // posted
  wm.pumpMessages();
  EXPECT_EQ(first.count(WM_HOTKEY), 1u);
  EXPECT_FALSE(desk->input.pressHotKey(MOD_CONTROL, 'Q'));

  // Freed by unregistering, and by the window going away.
  EXPECT_TRUE(desk->input.unregisterHotKey(a, 1));
  EXPECT_FALSE(desk->input.unregisterHotKey(a, 1));
  ASSERT_TRUE(desk->input.registerHotKey(b, 2, MOD_CONTROL | MOD_ALT, 'Q'));
  desk->ownWindows.destroyWindow(b);
  EXPECT_FALSE(desk->input.pressHotKey(MOD_CONTROL | MOD_ALT, 'Q'));
  EXPECT_TRUE(desk->input.registerHotKey(a, 1, MOD_CONTROL | MOD_ALT, 'Q'));
}

// --- Image lists and icons -------------------------------------------------------------------

TEST_F(SimPreviewsTest, ImageListsCopyIconsAndDieWithTheirListView) {
  const ImageListHandle images = desk->icons.createImageList(16, 16, ILC_COLORDDB, 4, 4);
  EXPECT_NE(images, desk->icons.createImageList(16, 16, ILC_COLORDDB, 4, 4));
  const IconHandle icon = desk->icons.newIcon();
  EXPECT_EQ(desk->icons.imageListAddIcon(images, desk->icons.errorIcon()), 0);
  EXPECT_EQ(desk->icons.imageListAddIcon(images, icon), 1);
  desk->icons.failImageListAdds = 1;
  EXPECT_EQ(desk->icons.imageListAddIcon(images, icon), -1);
  EXPECT_EQ(desk->icons.imageListAddIcon(images, icon), 2);

  // The caller keeps its icon: destroyed once it is, never added again.
  EXPECT_EQ(desk->icons.liveIcons(), 1u);
  desk->icons.destroyIcon(icon);
  EXPECT_EQ(desk->icons.liveIcons(), 0u);
  EXPECT_EQ(desk->icons.imageListAddIcon(images, icon), -1);
  desk->icons.destroyIcon(desk->icons.errorIcon());
  EXPECT_EQ(support::actionCountStartingWith(*desk, "destroy unknown icon"), 1);
  ASSERT_NE(desk->icons.imageList(images), nullptr);
  EXPECT_EQ(desk->icons.imageList(images)->icons.size(), 3u);

  // A list view without LVS_SHAREIMAGELISTS destroys its image list along with itself.
  const DialogTemplate page{300,
                            "",
                            0,
                            0,
                            200,
                            100,
                            WS_POPUP,
                            0,
                            "MS Shell Dlg",
                            9,
                            {{ControlClass::ListView, 10, "", 0, 0, 200, 100, LVS_REPORT}}};
  Handler handler(wm);
  const Hwnd dialog = desk->dialogs.createDialog(page, {}, &handler);
  const Hwnd list = desk->dialogs.getDlgItem(dialog, 10);
  desk->dialogs.listViewSetImageList(list, images, LVSIL_SMALL);
  EXPECT_EQ(desk->dialogs.listView(list)->imageLists.at(LVSIL_SMALL), images);
  desk->ownWindows.destroyWindow(dialog);
  EXPECT_EQ(desk->icons.imageList(images), nullptr);
  desk->icons.destroyImageList(images);
  EXPECT_EQ(support::actionCountStartingWith(*desk, "destroy unknown image list"), 1);
}

// --- Shell icons and the Desktop Window Manager ----------------------------------------------

TEST_F(SimPreviewsTest, FileIconsOnlyForFilesThatExist) {
  desk->programs.addProcess("notes.exe", "C:\\Apps\\Notes.exe");
  desk->shell.fileIcons.insert("C:\\Tools\\tool.exe");
  Shell& shell = desk->platform().shell;
  const auto a = shell.fileSmallIcon("c:\\apps\\notes.EXE");
  const auto b = shell.fileSmallIcon("C:\\Tools\\TOOL.exe");
  ASSERT_TRUE(a && b);
  EXPECT_NE(*a, *b);
  EXPECT_EQ(shell.fileSmallIcon("C:\\Apps\\gone.exe"), std::nullopt);
  EXPECT_EQ(desk->icons.liveIcons(), 2u);
  EXPECT_TRUE(support::logged(desk->actions, "file icon C:\\Apps\\gone.exe"));
}

TEST_F(SimPreviewsTest, ThumbnailsLiveFromRegistrationToUnregistration) {
  Dwm& dwm = desk->platform().dwm;
  Handler handler(wm);
  CreateWindowArgs params;
  params.style = WS_POPUP;
  params.rect = {0, 0, 300, 200};
  const Hwnd preview = desk->ownWindows.createWindow(params, &handler);
  const Hwnd source = other({100, 100, 500, 400});

  ThumbnailId id = 0;
  EXPECT_EQ(dwm.registerThumbnail(source, preview, &id), kInvalidArg);  // not our window
  EXPECT_EQ(dwm.registerThumbnail(preview, Hwnd{0x7777}, &id), kInvalidArg);
  ASSERT_EQ(dwm.registerThumbnail(preview, source, &id), S_OK);
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(support::logged(desk->actions,
                              "dwm thumbnail register " + name(source) + " -> " + name(preview)));

  // Fields merge by flag; fields without their flag are ignored.
  ThumbnailProperties p;
  p.flags = DWM_TNP_RECTDESTINATION | DWM_TNP_VISIBLE;
  p.destination = {0, 0, 300, 200};
  p.visible = true;
  p.opacity = 99;
  ASSERT_EQ(dwm.updateThumbnailProperties(id, p), S_OK);
  p = {};
  p.flags = DWM_TNP_OPACITY;
  p.opacity = 128;
  ASSERT_EQ(dwm.updateThumbnailProperties(id, p), S_OK);
  // Packed fields: read by value.
  const ThumbnailProperties& kept = desk->dwm.thumbnails.at(id).properties;
  EXPECT_EQ(Rect{kept.destination}, (Rect{0, 0, 300, 200}));
  EXPECT_TRUE(kept.visible);
  EXPECT_EQ(kept.opacity, 128);
  EXPECT_EQ(Dword{kept.flags}, DWM_TNP_RECTDESTINATION | DWM_TNP_VISIBLE | DWM_TNP_OPACITY);
  EXPECT_EQ(desk->dwm.thumbnailPropertyUpdates, 2);

  Size size;
  ASSERT_EQ(dwm.querySourceSize(id, &size), S_OK);
  EXPECT_EQ(size, (Size{400, 300}));

  // Composition off: nothing new is reported.
  desk->dwm.compositionEnabled = 0;
  EXPECT_EQ(dwm.updateThumbnailProperties(id, p), kCompositionDisabled);
  EXPECT_EQ(dwm.querySourceSize(id, &size), kCompositionDisabled);
  ThumbnailId refused = 0;
  EXPECT_EQ(dwm.registerThumbnail(preview, source, &refused), kCompositionDisabled);
  desk->dwm.compositionEnabled = 1;

  wm.closeWindow(source);
  EXPECT_EQ(dwm.querySourceSize(id, &size), kInvalidArg);
  EXPECT_EQ(dwm.unregisterThumbnail(id), S_OK);
  EXPECT_EQ(dwm.unregisterThumbnail(id), kInvalidArg);
  EXPECT_TRUE(desk->dwm.thumbnails.empty());
}

TEST_F(SimPreviewsTest, FrameBoundsLeaveOutInvisibleBordersAndCloakingNeedsWindows8) {
  Dwm& dwm = desk->platform().dwm;
  const Hwnd h = other({100, 100, 500, 400});
  Rect bounds;
  ASSERT_EQ(dwm.getWindowAttribute(h, DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof bounds), S_OK);
  EXPECT_EQ(bounds, (Rect{107, 100, 493, 393}));

  Handler handler(wm);
  CreateWindowArgs params;
  params.style = WS_POPUP;
  params.rect = {0, 0, 300, 200};
  const Hwnd own = desk->ownWindows.createWindow(params, &handler);
  ASSERT_EQ(dwm.getWindowAttribute(own, DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof bounds), S_OK);
  EXPECT_EQ(bounds, (Rect{0, 0, 300, 200}));

  desk->dwm.cloaked[h.value] = 2;
  Dword cloaked = 7;
  EXPECT_EQ(dwm.getWindowAttribute(h, DWMWA_CLOAKED, &cloaked, sizeof cloaked), kInvalidArg);
  desk->system.version.minorVersion = 2;
  ASSERT_EQ(dwm.getWindowAttribute(h, DWMWA_CLOAKED, &cloaked, sizeof cloaked), S_OK);
  EXPECT_EQ(cloaked, 2u);
  ASSERT_EQ(dwm.getWindowAttribute(own, DWMWA_CLOAKED, &cloaked, sizeof cloaked), S_OK);
  EXPECT_EQ(cloaked, 0u);

  desk->dwm.compositionEnabled = 0;
  EXPECT_EQ(dwm.getWindowAttribute(h, DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof bounds),
            kCompositionDisabled);
}

}  // namespace
