// The port contract on the simulated desktop: every case is a GoogleTest test of its own.
#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"
#include "port_case.h"

namespace {

class SimFixture : public port_test::Fixture {
 public:
  platform::Platform& platform() override { return desk_->platform(); }
  platform::Hwnd otherProgramWindow(const std::string& title, const platform::Rect& rect) override {
    sim::ForeignWindow window;
    window.processId = desk_->programs.addProcess("other.exe", "C:\\Apps\\other.exe");
    window.title = title;
    window.rect = rect;
    return desk_->windows.addWindow(window);
  }
  void slowStyleChange(platform::Hwnd window, uint32_t ms) override {
    desk_->programs.slowHandler(window, platform::WM_STYLECHANGING, ms);
  }
  std::string otherProgramName() override { return "other.exe"; }
  std::string ownProgramName() override { return "ZENTA.exe"; }
  int layeredAlpha(platform::Hwnd window) override {
    std::optional<uint8_t> alpha = desk_->windows.layeredAlpha(window);
    return alpha ? *alpha : -1;
  }
  void holdFile(const std::string& path, bool held) override {
    if (held) {
      desk_->files.lockedFiles.insert(path);
    } else {
      desk_->files.lockedFiles.erase(path);
    }
  }
  void pumpMessages(uint32_t ms) override { desk_->windows.advance(ms); }
  bool underWine() override { return false; }

 private:
  std::unique_ptr<sim::SimDesktop> desk_ = sim::SimDesktop::singleMonitor();
};

class PortCase : public ::testing::Test {
 public:
  explicit PortCase(port_test::CaseFunction run) : run_(run) {}
  void TestBody() override {
    SimFixture fixture;
    port_test::Checks checks;
    run_(fixture, checks);
    for (const std::string& failure : checks.failures) ADD_FAILURE() << failure;
  }

 private:
  port_test::CaseFunction run_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (const port_test::Case& c : port_test::cases()) {
    ::testing::RegisterTest("PortContract", c.name, nullptr, nullptr, __FILE__, __LINE__,
                            [run = c.run]() -> ::testing::Test* { return new PortCase(run); });
  }
  return RUN_ALL_TESTS();
}
