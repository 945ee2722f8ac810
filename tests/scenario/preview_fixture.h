// The whole program on the simulated desktop with windows of other programs to preview: the
// fixture the preview scenarios share.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/logged.h"
#include "support/program_run.h"

namespace scenario {

using platform::Hwnd;
using platform::Rect;
using namespace support;

class PreviewTest : public ::testing::Test {
 protected:
  void settingsFile(const std::string& keys) {
    desk->files.writeFile(kFolder + "\\QuillmoorForTundra.ini", "[SYSTEM]\r\n" + keys);
  }
  void run(std::function<void(Hwnd)> script, std::vector<std::string> args = {kExe, "-K527"}) {
    EXPECT_TRUE(runProgram(*desk, std::move(args), [&](Hwnd panel) {
      control = desk->dialogs.findDialog(res::IDD_CONTROL);
      script(panel);
      trayMenu(*desk, panel, res::ID_TRAY_EXIT);
    })) << "the program did not start or its script did not reach its end";
    EXPECT_EQ(count("modal 102 left open"), 0);
    EXPECT_EQ(countPrefix("BLOCKED"), 0);  // nothing ever waited on a hung program
    EXPECT_EQ(countPrefix("paint not validated"), 0);
  }
  Hwnd previewOf(Hwnd target) { return support::previewOf(*desk, target); }
  bool logged(const std::string& text) { return support::loggedOnConsole(*desk, text); }
  // A window of its own class, as a browser's, where browsers' engines are modelled.
  Hwnd addClassWindow(const std::string& title, const std::string& exe,
                      const std::string& className, Rect rect, bool iconic = false) {
    sim::ForeignWindow window;
    window.processId = desk->programs.addProcess(exe, "C:\\Apps\\" + exe);
    window.title = title;
    window.className = className;
    window.rect = rect;
    window.iconic = iconic;
    return desk->windows.addWindow(window);
  }
  const sim::SimThumbnail* thumbnailOf(Hwnd target) {
    for (const auto& [id, thumbnail] : desk->dwm.thumbnails) {
      if (thumbnail.source == target) return &thumbnail;
    }
    return nullptr;
  }
  Rect rectOf(Hwnd window) { return support::rectOf(*desk, window); }
  // Minimised by the user and looked at by the next poll: where the window is then.
  Rect minimiseAndPoll(Hwnd window) {
    desk->windows.userMinimize(window);
    desk->advance(700);
    return rectOf(window);
  }
  uint32_t styleOf(Hwnd window) { return desk->windows.getWindowLong(window, platform::GWL_STYLE); }
  sim::ListViewModel& list() {
    return *desk->dialogs.listView(desk->dialogs.getDlgItem(control, res::IDC_THUMB_LIST));
  }
  std::vector<std::string> listedTitles() {
    std::vector<std::string> titles;
    for (size_t row = 0; row < list().rows.size(); ++row) titles.push_back(list().text(row, 0));
    return titles;
  }
  // A handle in hex after `prefix`, as the desktop's actions and the program's logs name it.
  static std::string hex(const std::string& prefix, Hwnd h) {
    char text[16];
    snprintf(text, sizeof text, "%x", h.value);
    return prefix + text;
  }
  long count(const std::string& action) { return support::actionCount(*desk, action); }
  long countPrefix(const std::string& prefix) {
    return support::actionCountStartingWith(*desk, prefix);
  }
  // Windows reach the controller one per detection tick; a new preview's 200 ms animation
  // delays the next tick.
  void detect(int ticks) { desk->advance(1300 * static_cast<uint32_t>(ticks)); }
  void showPanel(Hwnd panel) { trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL); }
  void select(int32_t row) {
    desk->dialogs.clickListRow(desk->dialogs.getDlgItem(control, res::IDC_THUMB_LIST), row);
  }

  std::unique_ptr<sim::SimDesktop> desk = sim::SimDesktop::singleMonitor();
  Hwnd control;
};

inline constexpr Rect kNormal{100, 100, 900, 500};  // 800 x 400

}  // namespace scenario
