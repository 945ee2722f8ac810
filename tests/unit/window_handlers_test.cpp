// ui::Window's handlers on the simulated desktop: what a handler answers stands, and one that
// asks for the default processing first gets that of its own message.
#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"
#include "ui/window.h"

using namespace platform;

namespace {

class Probe : public ui::Window {
 public:
  using ui::Window::Window;
  LResult nestedAnswer = -1;

 protected:
  // Another message is handled in the middle of this one: its default must not stand in.
  ui::Answer onNcHitTest() override {
    nestedAnswer = sendMessage(WM_SIZE, 0, 0);
    return defaultProcessing() + 100;
  }
  ui::Answer onSize() override { return 7; }
};

}  // namespace

TEST(WindowHandlers, AnswersStandAndDefaultProcessingIsThatOfTheHandledMessage) {
  auto desk = sim::SimDesktop::singleMonitor();
  Probe probe(desk->platform());
  CreateWindowArgs args;
  args.style = WS_POPUP;
  args.rect = {0, 0, 100, 100};
  ASSERT_TRUE(desk->platform().ownWindows.createWindow(args, &probe));
  EXPECT_EQ(probe.sendMessage(WM_NCHITTEST, 0, 0), HTCLIENT + 100);
  EXPECT_EQ(probe.nestedAnswer, 7);
  EXPECT_EQ(probe.sendMessage(WM_SIZE, 0, 0), 7);
}
